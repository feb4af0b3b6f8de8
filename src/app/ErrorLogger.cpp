#include "app/ErrorLogger.h"

#include "core/Exceptions.h"
#include "ui/CustomDialogForm.h"
#include "ui/SlotGuard.h"

const QString kApplicationTitle = QStringLiteral("KIRVELO - Perakende Satış Sistemi");

void TAppExceptionLogger::AppException(QObject*, const std::exception& e)
{
    ReportHandlerError(e);
}

void TAppExceptionLogger::AppException(QObject*, const QString& className, const QString& message)
{
    ReportUnhandledError(className, message);
}

TKirveloApplication::TKirveloApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
    // Qt would end the event loop when the last visible window without an owner closes. The
    // sales screen runs under the hidden login window, so it is no such window, and closing a
    // message box over it would end the program with the shift and the cart on the screen.
    // The program ends only where it says so (the login's EndProgramRequested).
    setQuitOnLastWindowClosed(false);
}

bool TKirveloApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& e) {
        if (!FLogger)
            throw;
        FLogger->AppException(receiver, e);
    } catch (...) {
        if (!FLogger)
            throw;
        FLogger->AppException(receiver, QStringLiteral("Exception"),
                              QStringLiteral("Bilinmeyen hata"));
    }
    return false;
}

int RunGuarded(const std::function<int()>& startup)
{
    try {
        return startup();
    } catch (const std::exception& e) {
        WriteErrorLog(QStringLiteral("Startup exception"), e);
        ShowErrorBox(kApplicationTitle, ErrorMessage(e));
        return 1;
    }
}
