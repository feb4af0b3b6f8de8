#include "ui/VardiyeMenuForm.h"

#include <QPointer>

namespace {
QPointer<TMenuPopupForm>& TheMenu()
{
    static QPointer<TMenuPopupForm> menu;
    return menu;
}
} // namespace

TMenuPopupForm::TMenuPopupForm(QWidget* parent)
    : TPopupMenuForm(
          parent, {497, 208}, QStringLiteral("Vardiye İşlemleri"),
          {{QStringLiteral("Vardiye Aç"), QStringLiteral("Vardiye Açılış İşlemleri")},
           {QStringLiteral("Vardiye Kapat"), QStringLiteral("Vardiye Kapanış İşlemleri")},
           {QStringLiteral("Vardiye İcmal"), QStringLiteral("Vardiye İcmal İşlemleri")},
           {QStringLiteral("Geçmiş Vardiye Raporları"),
            QStringLiteral("Vardiye geçmişi ve satış dökümü")}})
{
    setObjectName(QStringLiteral("MenuPopupForm"));
    if (!TheMenu())
        TheMenu() = this;
}

TMenuPopupForm::~TMenuPopupForm() = default;

TMenuPopupForm* TMenuPopupForm::Instance()
{
    return TheMenu();
}

void TMenuPopupForm::SetSalesScreen(QObject* salesScreen, const TShiftMenuHandlers& handlers)
{
    SetHandlers(salesScreen, {handlers.btnVardiyaAcClick, handlers.btnVardiyaKapatClick,
                              handlers.btnIcmalClick, handlers.btnPastShiftReportsClick});
}
