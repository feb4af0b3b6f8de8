#include "support/WidgetTestSupport.h"

#include <QApplication>
#include <QTimer>

void WhenModalOpens(std::function<void(QWidget*)> step)
{
    WhenModalOpens([](QWidget*) { return true; }, std::move(step));
}

void WhenModalOpens(std::function<bool(QWidget*)> which, std::function<void(QWidget*)> step)
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll,
                     [poll, which = std::move(which), step = std::move(step)] {
                         QWidget* modal = QApplication::activeModalWidget();
                         if (!modal || !modal->isVisible() || !which(modal))
                             return;
                         poll->stop();
                         poll->deleteLater();
                         step(modal);
                     });
    poll->start();
}

TEventWatch::TEventWatch(QObject* watched, QEvent::Type type, std::function<void()> seen)
    : FWatched(watched)
    , FType(type)
    , FSeen(std::move(seen))
{
    watched->installEventFilter(this);
}

TEventWatch::~TEventWatch()
{
    if (FWatched)
        FWatched->removeEventFilter(this);
}

bool TEventWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FWatched && event->type() == FType)
        FSeen();
    return false;
}
