#include "sales/SalesScreenRules.h"

#include "core/DbQuery.h"
#include "core/Money.h"
#include "core/POSTextUtils.h"
#include "core/SessionManager.h"
#include "core/TypedNumber.h"
#include "printing/PrintService.h"
#include "sales/CartManager.h"
#include "sales/InvoiceDocument.h"
#include "sales/QuantityRules.h"

#include <QLocale>

#include <algorithm>

namespace {
constexpr int kHeaderButtonWidth = 124;
constexpr int kHeaderButtons = 8;

const QString kOpenShift = QStringLiteral("SELECT TOP 1 VardiyaID FROM Vardiya WHERE KullaniciID = "
                                          ":KullaniciID   AND SubeID = :SubeID   AND "
                                          "KapanisZamani IS NULL   AND ISNULL(VardiyaDurumu, "
                                          "'ACIK') = 'ACIK' ORDER BY AcilisZamani DESC");

template <typename Step> void IgnoringErrors(Step step)
{
    try {
        step();
    } catch (const std::exception&) {
    }
}
} // namespace

int TSalesScreenRules::CartPanelWidth(int ClientWidth)
{
    return std::clamp(ClientWidth * 34 / 100, 520, 650);
}

QList<int> TSalesScreenRules::HeaderButtonLefts(int TopWidth)
{
    QList<int> lefts{TopWidth - 132};
    while (lefts.size() < kHeaderButtons)
        lefts << lefts.last() - kHeaderButtonWidth;
    return lefts;
}

QStringList TSalesScreenRules::CartRowTexts(const TCartItem& Item, int Index)
{
    return {QString::number(Index + 1),
            Item.StokAdi(),
            FormatFloat(QStringLiteral("0.000"), Item.Miktar()) + u' ' + Item.Birim(),
            FormatMoney(Item.NetBirimFiyat()),
            FormatFloat(QStringLiteral("0.00"), Item.IndirimOrani()),
            FormatFloat(QStringLiteral("0.00"), Item.KDVOrani()),
            FormatMoney(Item.SatirToplam())};
}

bool TSalesScreenRules::PayEnabled(const TCartManager& Cart, int VardiyaID)
{
    return Cart.Count() > 0 && VardiyaID > 0;
}

QString TSalesScreenRules::PayCaption(const TCartManager& Cart)
{
    if (Cart.Count() == 0)
        return QStringLiteral("ÖDEME AL");
    return QStringLiteral("Ödeme Al  -  ") + FormatMoney(Cart.GenelToplam());
}

QString TSalesScreenRules::QuantityText(double Miktar)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(Miktar, 'g', 15);
}

TEntryCheck TSalesScreenRules::CheckQuantityEntry(const QString& Text)
{
    const std::optional<double> value = TQuantityRules::ReadQuantity(Text);
    if (!value)
        return {std::nullopt, TQuantityRules::MsgInvalidQuantity};
    return {value, {}};
}

TEntryCheck TSalesScreenRules::CheckDiscountEntry(const QString& Text)
{
    const std::optional<double> value = ReadTypedNumber(Text, TNumberRules::Plain());
    if (!value || *value > 100)
        return {std::nullopt, QStringLiteral("Geçersiz indirim oranı!")};
    return {value, {}};
}

QString TSalesScreenRules::UserCaption(const TSessionInfo& Session)
{
    return QStringLiteral("Kullanıcı : ") + Session.AdSoyad + QStringLiteral(" (") +
           Session.RolAdi + QStringLiteral(")  |  Şube : ") + Session.SubeAdi;
}

QString TSalesScreenRules::ShiftCaption(int VardiyaID)
{
    if (VardiyaID <= 0)
        return QStringLiteral("Vardiya: Kapalı");
    return QStringLiteral("Vardiya: Açık (ID: ") + QString::number(VardiyaID) + u')';
}

int TSalesScreenRules::FindOpenShift(int KullaniciID, int SubeID)
{
    TDbQuery shift(kOpenShift);
    shift.Param(QStringLiteral("KullaniciID"), KullaniciID)
        .Param(QStringLiteral("SubeID"), SubeID)
        .Exec();
    return shift.Next() ? shift.Value(0).toInt() : -1;
}

TSaleResult TSalesScreenRules::CompleteSale(TCartManager& Cart, const TSessionInfo& Session,
                                            int VardiyaID, const QString& PaymentType,
                                            double NakitTutar, double KartTutar)
{
    const TSaleResult result =
        TSaleManager::CreateSale(Session.SubeID, Session.KullaniciID, Session.TerminalID, VardiyaID,
                                 PaymentType, Cart, NakitTutar, KartTutar);
    if (!result.Success)
        return result;
    IgnoringErrors([&] { TPrintService::PrintSaleReceipt(result.FisID); });
    IgnoringErrors([&] { TInvoiceDocument::CreateInvoiceDocument(result.FisID); });
    Cart.Clear();
    return result;
}

QList<TCaptionRow> TSalesScreenRules::ChangeRows(const TSaleResult& Sale)
{
    if (!Sale.Success || Sale.VerilenNakit <= TMoney::Tolerance)
        return {};
    QList<TCaptionRow> rows{{QStringLiteral("Fiş:"),
                             Sale.FisNo + QStringLiteral("  ") + FormatMoney(Sale.GenelToplam)}};
    if (Sale.Kart > TMoney::Tolerance)
        rows << TCaptionRow{QStringLiteral("Kart:"), FormatMoney(Sale.Kart)};
    rows << TCaptionRow{QStringLiteral("Verilen:"), FormatMoney(Sale.VerilenNakit)}
         << TCaptionRow{QStringLiteral("Para Üstü:"), FormatMoney(Sale.ParaUstu())};
    return rows;
}
