#include "ui/SlotGuard.h"

#include "core/ErrorLog.h"
#include "core/Exceptions.h"
#include "ui/CustomDialogForm.h"

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

void ReportHandlerError(const std::exception& e)
{
    if (const auto* refusal = dynamic_cast<const ERefusal*>(&e)) {
        TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), refusal->Message(), dtError);
        return;
    }
    ReportUnhandledError(e);
}
