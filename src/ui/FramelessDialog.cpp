#include "ui/FramelessDialog.h"

#include "ui/POSUITheme.h"
#include "ui/WindowMover.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

TFramelessDialog::TFramelessDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setModal(true);
}

QWidget* TFramelessDialog::DialogOwner()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

void TFramelessDialog::SetFrame(const QColor& color, int width)
{
    FFrameColor = color;
    FFrameWidth = width;
    setContentsMargins(width, width, width, width);
    update();
}

void TFramelessDialog::AddDragHandle(QWidget* handle)
{
    TWindowMover::Attach(handle, this);
}

void TFramelessDialog::SetUpBands(QSize size, int frame, const TBands& bands)
{
    setFixedSize(size);
    TPOSUITheme::StyleForm(this);
    SetFrame(POSPalette::Header, frame);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bands.Header);
    layout->addWidget(bands.Content, 1);
    layout->addWidget(bands.Footer);
    bands.Header->setFixedHeight(bands.HeaderHeight);
    bands.Footer->setFixedHeight(bands.FooterHeight);
    TPOSUITheme::StyleHeaderPanel(bands.Header);
    TPOSUITheme::StyleLightPanel(bands.Content);
    TPOSUITheme::StyleFooterPanel(bands.Footer);
    AddDragHandle(bands.Header);
}

void TFramelessDialog::StyleHeaderTitle(QLabel* title, int headerHeight)
{
    QFont font = TPOSUITheme::TextFont(10);
    font.setPixelSize(16);
    font.setBold(true);
    title->setFont(font);
    title->setStyleSheet(QStringLiteral("color: #FFFFFF;"));
    title->setGeometry(15, 0, width() - 2 * FFrameWidth - 30, headerHeight);
    title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void TFramelessDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (FFrameWidth <= 0)
        return;
    QPainter painter(this);
    const QRect outer = rect();
    const QRect inner = outer.adjusted(FFrameWidth, FFrameWidth, -FFrameWidth, -FFrameWidth);
    painter.setClipRegion(QRegion(outer).subtracted(QRegion(inner)));
    painter.fillRect(outer, FFrameColor);
}
