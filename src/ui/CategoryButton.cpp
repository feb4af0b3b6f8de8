#include "ui/CategoryButton.h"

#include <QPainter>

TCategoryGPButton::TCategoryGPButton(QWidget* parent, TPainter painter)
    : QPushButton(parent)
    , FPainter(std::move(painter))
{
    setAttribute(Qt::WA_Hover);
}

TButtonState TCategoryGPButton::State() const
{
    if (!isEnabled())
        return TButtonState::Disabled;
    if (isDown())
        return TButtonState::Pressed;
    if (underMouse())
        return TButtonState::Hot;
    if (hasFocus())
        return TButtonState::Focused;
    return TButtonState::Normal;
}

void TCategoryGPButton::paintEvent(QPaintEvent* event)
{
    if (!FPainter) {
        QPushButton::paintEvent(event);
        return;
    }
    QPainter painter(this);
    FPainter(*this, painter, State());
}

void TCategoryGPButton::enterEvent(QEnterEvent* event)
{
    QPushButton::enterEvent(event);
    update();
}

void TCategoryGPButton::leaveEvent(QEvent* event)
{
    QPushButton::leaveEvent(event);
    update();
}
