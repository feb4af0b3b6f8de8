#pragma once

#include <QString>
#include <QWidget>

#include <functional>

// Runs `step` on the next modal window once it is open, so a test can answer a window that
// runs for real (its own event loop) from inside that loop.
void WhenModalOpens(std::function<void(QWidget*)> step);

// The child of `window` with the object name `name`, or nullptr.
template <typename T> T* Child(QWidget* window, const char* name)
{
    return window->findChild<T*>(QString::fromLatin1(name));
}
