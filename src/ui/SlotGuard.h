#pragma once

#include <QObject>
#include <QString>

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

// Reports an error that no handler caught, as the application-wide handler does: one entry
// under "Application.OnException" in the error log, then the error box (ShowErrorBox) with the
// application's title, run through the modal seam. The program carries on.
void ReportUnhandledError(const QString& className, const QString& message);
void ReportUnhandledError(const std::exception& e);
// An error that is no std::exception ("Exception: Bilinmeyen hata").
void ReportUnknownError();
// Reports what a handler raised. A refusal (ERefusal) is shown as "Hata" in the program's
// message dialog, as a screen shows the refusals it expects, and is not logged; anything else
// is an unhandled error (ReportUnhandledError).
void ReportHandlerError(const std::exception& e);

// Runs `handler`; whatever it throws is reported here and goes no further.
template <typename Handler> void CallGuarded(Handler&& handler)
{
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& e) {
        ReportHandlerError(e);
    } catch (...) {
        ReportUnknownError();
    }
}

namespace SlotGuardDetail {
// Calls a member handler of `receiver` or any callable, with the signal's arguments when it
// takes them, else with none.
template <typename Receiver, typename Handler, typename... Args>
void Invoke(Receiver* receiver, const Handler& handler, Args&&... args)
{
    if constexpr (std::is_member_function_pointer_v<Handler>) {
        if constexpr (std::is_invocable_v<const Handler&, Receiver*, Args...>)
            std::invoke(handler, receiver, std::forward<Args>(args)...);
        else
            std::invoke(handler, receiver);
    } else if constexpr (std::is_invocable_v<const Handler&, Args...>) {
        std::invoke(handler, std::forward<Args>(args)...);
    } else {
        std::invoke(handler);
    }
}
} // namespace SlotGuardDetail

// Connects `signal` of `sender` to `handler`, a member function of `receiver` or a callable,
// and runs the handler inside CallGuarded. An error thrown in a handler would otherwise travel
// through Qt's signal emission, which Qt does not allow; here it is shown (and, unless it is a
// refusal, logged) where it happens and the window stays usable. The connection ends with
// `receiver`.
//
//   GuardedConnect(btnOk, &QPushButton::clicked, this, &TfrmExample::btnOkClick);
template <typename Sender, typename Signal, typename Receiver, typename Handler>
QMetaObject::Connection GuardedConnect(const Sender* sender, Signal signal, Receiver* receiver,
                                       Handler handler)
{
    return QObject::connect(sender, signal, receiver, [receiver, handler](auto&&... args) {
        CallGuarded([&] { SlotGuardDetail::Invoke(receiver, handler, args...); });
    });
}
