#include "ui/BaseWindow.h"

#include "ui/POSButton.h"
#include "ui/WindowMover.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

namespace {
Qt::WindowFlags FlagsOf(TWindowKind kind, const TWindowLayout& layout)
{
    const Qt::WindowFlags type = kind == TWindowKind::Dialog ? Qt::Dialog : Qt::Window;
    if (layout.SystemFrame)
        return type | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    return type | Qt::FramelessWindowHint;
}

QWidget* MakeBand(QWidget* window, const char* name)
{
    auto* band = new QWidget(window);
    band->setObjectName(QLatin1String(name));
    return band;
}
} // namespace

TBaseWindow::TBaseWindow(QWidget* parent, TWindowKind kind, const TWindowLayout& layout)
    : QDialog(parent, FlagsOf(kind, layout))
    , FKind(kind)
{
    setModal(kind == TWindowKind::Dialog);
    TPOSUITheme::StyleForm(this);
    if (layout.FillsScreen) {
        FillScreen(layout.Size);
        return;
    }
    setFixedSize(layout.Size);
    SetFrame(POSPalette::Header, layout.Frame);
    if (layout.Header)
        SetUpBands(layout);
}

void TBaseWindow::SetUpBands(const TWindowLayout& layout)
{
    FHeader = MakeBand(this, layout.Header);
    FContent = MakeBand(this, layout.Content);
    FFooter = MakeBand(this, layout.Footer);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(FHeader);
    column->addWidget(FContent, 1);
    column->addWidget(FFooter);
    FHeader->setFixedHeight(layout.HeaderHeight);
    FFooter->setFixedHeight(layout.FooterHeight);
    TPOSUITheme::StyleHeaderPanel(FHeader);
    TPOSUITheme::StyleLightPanel(FContent);
    TPOSUITheme::StyleFooterPanel(FFooter);
    AddDragHandle(FHeader);
}

void TBaseWindow::FillScreen(QSize designSize)
{
    resize(designSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);
}

int TBaseWindow::ShowModal()
{
    return RunModal(*this);
}

QWidget* TBaseWindow::DialogOwner()
{
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    return QApplication::activeWindow();
}

void TBaseWindow::SetFrame(const QColor& color, int width)
{
    FFrameColor = color;
    FFrameWidth = width;
    setContentsMargins(width, width, width, width);
    update();
}

void TBaseWindow::AddDragHandle(QWidget* handle)
{
    TWindowMover::Attach(handle, this);
}

QLabel* TBaseWindow::CreateTitle(const char* name)
{
    auto* title = new QLabel(FHeader);
    title->setObjectName(QLatin1String(name));
    title->setTextFormat(Qt::PlainText);
    QFont font = TPOSUITheme::TextFont(10);
    font.setPixelSize(16);
    font.setBold(true);
    title->setFont(font);
    title->setStyleSheet(QStringLiteral("color: %1;").arg(POSPalette::HeaderText.name()));
    title->setGeometry(15, 0, width() - 2 * FFrameWidth - 30, FHeader->height());
    title->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return title;
}

QLabel* TBaseWindow::CreateScreenTitle(const char* name)
{
    return TPOSUITheme::CreateLabel(FHeader, name, 18, true, POSPalette::HeaderText);
}

QLabel* TBaseWindow::CreateSubTitle(const char* name)
{
    return TPOSUITheme::CreateLabel(FHeader, name, 10, false, POSPalette::HeaderSubText);
}

TPOSButton* TBaseWindow::CreateButton(QWidget* band, const char* name, const QString& caption,
                                      TGlyph glyph, TButtonVariant variant)
{
    auto* button = new TPOSButton(band);
    button->setObjectName(QLatin1String(name));
    TPOSUITheme::StyleButton(button, caption, glyph, variant == TButtonVariant::Primary,
                             variant == TButtonVariant::Danger);
    button->setAutoDefault(false);
    return button;
}

void TBaseWindow::CentreOnOwner()
{
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner)
        return;
    const QRect area = owner->frameGeometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void TBaseWindow::CentreOnScreen()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

bool TBaseWindow::PassScanToOwner(QKeyEvent* event)
{
    if (!FScanPassing) {
        const QString text = event->text();
        const bool printable = text.size() == 1 && text.at(0).unicode() >= 32 &&
                               text.at(0).unicode() <= 126 &&
                               !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (!printable)
            return false;
        FScanPassing = true;
    }
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner)
        return true;
    QWidget* target = owner->focusWidget() ? owner->focusWidget() : owner;
    QKeyEvent passed(event->type(), event->key(), event->modifiers(), event->text(),
                     event->isAutoRepeat(), event->count());
    QCoreApplication::sendEvent(target, &passed);
    return true;
}

void TBaseWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (FKind == TWindowKind::Dialog)
        CentreOnOwner();
}

void TBaseWindow::keyPressEvent(QKeyEvent* event)
{
    if (FKind == TWindowKind::Main && event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TBaseWindow::paintEvent(QPaintEvent* event)
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
