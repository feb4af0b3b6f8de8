#include "app/ErrorLogger.h"

#include "core/Exceptions.h"
#include "ui/ModalRunner.h"
#include "ui/SlotGuard.h"

const QString kApplicationTitle = QStringLiteral("KIRVELO - Perakende Satış Sistemi");

void TAppExceptionLogger::AppException(QObject* sender, const std::exception& e)
{
    AppException(sender, ErrorClassName(e), ErrorMessage(e));
}

void TAppExceptionLogger::AppException(QObject*, const QString& className, const QString& message)
{
    ReportUnhandledError(className, message);
}

TKirveloApplication::TKirveloApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
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
