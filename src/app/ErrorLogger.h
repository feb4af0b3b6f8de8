#pragma once

#include "core/ErrorLog.h"

#include <QApplication>
#include <QString>

#include <exception>
#include <functional>

// Handles errors that no screen caught: logs them under "Application.OnException" and shows
// them in the error box, as the handlers' guard (ui/SlotGuard) does for the errors of the
// handlers themselves; a refusal (ERefusal) is shown as "Hata" and not logged.
class TAppExceptionLogger {
public:
    void AppException(QObject* sender, const std::exception& e);
    void AppException(QObject* sender, const QString& className, const QString& message);
};

// The last resort for an error that escapes an event handler (the signal handlers have their
// own guard): it goes to the logger, after which the event loop carries on with the next event.
// Closing a window never ends the program by itself: the program ends when the login window
// asks for it (EndProgramRequested), after the sales screen or without a login.
class TKirveloApplication : public QApplication {
public:
    TKirveloApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    void SetExceptionLogger(TAppExceptionLogger* logger) { FLogger = logger; }

private:
    TAppExceptionLogger* FLogger = nullptr;
};

// Runs the start-up and the event loop; an error that escapes is logged as "Startup exception",
// shown, and ends the program with exit code 1.
int RunGuarded(const std::function<int()>& startup);

extern const QString kApplicationTitle;
