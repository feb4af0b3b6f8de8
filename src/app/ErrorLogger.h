#pragma once

#include <QApplication>
#include <QString>

#include <exception>
#include <functional>

// The application's error log, "KIRVELO_error.log" beside the program (or in the per-user data
// folder when the program's folder is not writable). One entry per error:
//   [yyyy-MM-dd HH:mm:ss] context
//   ClassName: message
//   (empty line)
QString ErrorLogPath();
void WriteErrorLog(const QString& context, const std::exception& e);
void WriteErrorLog(const QString& context, const QString& className, const QString& message);

// Handles errors that no screen caught: logs them and shows them in the standard error box.
class TAppExceptionLogger {
public:
    void AppException(QObject* sender, const std::exception& e);
    void AppException(QObject* sender, const QString& className, const QString& message);
};

// Routes every error that escapes an event handler to the logger, after which the event loop
// carries on with the next event.
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
