#pragma once

#include <QEvent>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

// Runs `step` on the next modal window once it is open, so a test can answer a window that
// runs for real (its own event loop) from inside that loop.
void WhenModalOpens(std::function<void(QWidget*)> step);
// Runs `step` on the next modal window that `which` accepts, once it is the open modal window
// (a window under it, such as the sales screen that runs modally, is passed over).
void WhenModalOpens(std::function<bool(QWidget*)> which, std::function<void(QWidget*)> step);

// The child of `window` with the object name `name`, or nullptr.
template <typename T> T* Child(QWidget* window, const char* name)
{
    return window->findChild<T*>(QString::fromLatin1(name));
}

// The child of `window` named `name`. A test that names a control the window does not have
// stops here with the name, rather than crashing on a null pointer later.
template <typename T> T* Named(QWidget* window, const char* name)
{
    T* child = Child<T>(window, name);
    if (!child)
        qFatal("%s has no %s named %s", qPrintable(window->objectName()),
               T::staticMetaObject.className(), name);
    return child;
}

// Runs `seen` each time `watched` receives an event of `type`, while the object lives.
class TEventWatch : public QObject {
public:
    TEventWatch(QObject* watched, QEvent::Type type, std::function<void()> seen);
    ~TEventWatch() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<QObject> FWatched;
    QEvent::Type FType;
    std::function<void()> FSeen;
};
