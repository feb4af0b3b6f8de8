#include "support/WidgetTestSupport.h"

#include <QApplication>
#include <QTimer>

void WhenModalOpens(std::function<void(QWidget*)> step)
{
    auto* poll = new QTimer(qApp);
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, step = std::move(step)] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        step(modal);
    });
    poll->start();
}
