#include "ui/SlotGuard.h"

#include "core/ErrorLog.h"
#include "core/Exceptions.h"
#include "ui/ModalRunner.h"

#include <QGuiApplication>

void ReportUnhandledError(const QString& className, const QString& message)
{
    WriteErrorLog(QStringLiteral("Application.OnException"), className, message);
    ShowErrorBox(QGuiApplication::applicationDisplayName(), message);
}

void ReportUnhandledError(const std::exception& e)
{
    ReportUnhandledError(ErrorClassName(e), ErrorMessage(e));
}

void ReportUnknownError()
{
    ReportUnhandledError(QStringLiteral("Exception"), QStringLiteral("Bilinmeyen hata"));
}
