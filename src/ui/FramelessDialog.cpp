#include "ui/FramelessDialog.h"

#include "ui/WindowMover.h"

#include <QApplication>
#include <QPainter>

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
