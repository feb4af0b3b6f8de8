#include "sales/SalesScreenRules.h"

#include "core/DbQuery.h"
#include "core/Money.h"
#include "core/POSTextUtils.h"
#include "core/SessionManager.h"
#include "printing/PrintService.h"
#include "sales/CartManager.h"
#include "sales/InvoiceDocument.h"

#include <QLocale>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
constexpr int kHeaderButtonWidth = 124;
constexpr int kHeaderButtons = 8;

const QString kOpenShift = QStringLiteral("SELECT TOP 1 VardiyaID FROM Vardiya WHERE KullaniciID = "
                                          ":KullaniciID   AND SubeID = :SubeID   AND "
                                          "KapanisZamani IS NULL   AND ISNULL(VardiyaDurumu, "
                                          "'ACIK') = 'ACIK' ORDER BY AcilisZamani DESC");

// Text that is not a number is refused, not read as 0; "inf" and "nan" read as numbers but are
// no quantity or rate either.
std::optional<double> FiniteEntry(const QString& text)
{
    const double value = ParseDecimalText(text, std::numeric_limits<double>::quiet_NaN());
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

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
            FormatFloat(QStringLiteral("0.00 TL"), Item.NetBirimFiyat()),
            FormatFloat(QStringLiteral("0.00"), Item.IndirimOrani()),
            FormatFloat(QStringLiteral("0.00"), Item.KDVOrani()),
            FormatFloat(QStringLiteral("0.00 TL"), Item.SatirToplam())};
}

bool TSalesScreenRules::PayEnabled(const TCartManager& Cart, int VardiyaID)
{
    return Cart.Count() > 0 && VardiyaID > 0;
}

QString TSalesScreenRules::PayCaption(const TCartManager& Cart)
{
    if (Cart.Count() == 0)
        return QStringLiteral("ÖDEME AL");
    return QStringLiteral("Ödeme Al  -  ") +
           FormatFloat(QStringLiteral("0.00 TL"), Cart.GenelToplam());
}

QString TSalesScreenRules::QuantityText(double Miktar)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(Miktar, 'g', 15);
}

TEntryCheck TSalesScreenRules::CheckQuantityEntry(const QString& Text)
{
    const std::optional<double> value = FiniteEntry(Text);
    if (!value || !(*value > 0))
        return {std::nullopt, QStringLiteral("Geçersiz miktar!")};
    return {value, {}};
}

TEntryCheck TSalesScreenRules::CheckDiscountEntry(const QString& Text)
{
    const std::optional<double> value = FiniteEntry(Text);
    if (!value || *value < 0 || *value > 100)
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
