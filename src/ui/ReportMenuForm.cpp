#include "ui/ReportMenuForm.h"

#include <QPointer>

namespace {
QPointer<TReportMenuPopupForm>& TheMenu()
{
    static QPointer<TReportMenuPopupForm> menu;
    return menu;
}
} // namespace

TReportMenuPopupForm::TReportMenuPopupForm(QWidget* parent)
    : TPopupMenuForm(parent, {497, 122}, QStringLiteral("Rapor İşlemleri"),
                     {{QStringLiteral("Raporlar"), QStringLiteral("Vardiye Raporlama ve Geçmişi")},
                      {QStringLiteral("Son Fiş Dökümü"), QStringLiteral("Son Satış Fişi İzleme")}})
{
    setObjectName(QStringLiteral("ReportMenuPopupForm"));
}

TReportMenuPopupForm::~TReportMenuPopupForm() = default;

TReportMenuPopupForm* TReportMenuPopupForm::Instance(QWidget* owner)
{
    if (!TheMenu())
        TheMenu() = new TReportMenuPopupForm(owner); // owned by `owner`
    return TheMenu();
}

TReportMenuPopupForm* TReportMenuPopupForm::Existing()
{
    return TheMenu();
}

void TReportMenuPopupForm::SetSalesScreen(QObject* salesScreen, const TReportMenuHandlers& handlers)
{
    SetHandlers(salesScreen, {handlers.btnReportingClick, handlers.btnSonFisClick});
}
