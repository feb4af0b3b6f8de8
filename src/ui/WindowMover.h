#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>

class QWidget;

// Lets a borderless window be moved by dragging one of its parts (the header, a logo) with the
// left mouse button. The mover is owned by the handle it watches.
class TWindowMover : public QObject {
    Q_OBJECT
public:
    static void Attach(QWidget* handle, QWidget* window);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TWindowMover(QWidget* handle, QWidget* window);

    QPointer<QWidget> FWindow;
    QPoint FGrabOffset;
    bool FDragging = false;
};
