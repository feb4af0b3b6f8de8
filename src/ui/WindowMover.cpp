#include "ui/WindowMover.h"

#include <QMouseEvent>
#include <QWidget>

TWindowMover::TWindowMover(QWidget* handle, QWidget* window)
    : QObject(handle)
    , FWindow(window)
{
}

void TWindowMover::Attach(QWidget* handle, QWidget* window)
{
    if (!handle || !window)
        return;
    handle->installEventFilter(new TWindowMover(handle, window));
}

bool TWindowMover::eventFilter(QObject* watched, QEvent* event)
{
    if (!FWindow)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        FDragging = true;
        FGrabOffset = mouse->globalPosition().toPoint() - FWindow->frameGeometry().topLeft();
        return true;
    }
    case QEvent::MouseMove: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (!FDragging || !(mouse->buttons() & Qt::LeftButton))
            break;
        FWindow->move(mouse->globalPosition().toPoint() - FGrabOffset);
        return true;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            FDragging = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
