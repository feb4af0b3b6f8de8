#include "refunds/RefundManager.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/Money.h"
#include "core/OwnedSchema.h"
#include "core/POSTextUtils.h"
#include "core/StoredProc.h"
#include "customers/CustomerList.h"

#include <QHash>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {
// The receipt's lines in the branch with its head, and per product what the receipt's earlier
// refunds took back, in one statement. Status words compare as on the server: letter case and
// trailing blanks do not count.
const QString kReceiptSql = QStringLiteral(
    "SELECT F.FisNo, F.Tarih, ISNULL(C.CariAdi, '-') AS Musteri, F.FisDurumu, SF.SatirID, "
    "SF.StokID, S.StokAdi, SF.Miktar, SF.SatirToplam, CAST(ISNULL(P.Iade, 0) AS "
    "FLOAT) AS Iade "
    "FROM SatisFisSatir SF INNER JOIN SatisFis F ON F.FisID = SF.FisID JOIN Stok S ON SF.StokID "
    "= S.StokID LEFT JOIN CariKart C ON C.CariID = F.MusteriID LEFT JOIN (SELECT R.StokID, "
    "SUM(ABS(R.Miktar)) AS Iade FROM SatisFisSatir R INNER JOIN SatisFis I ON I.FisID = R.FisID "
    "WHERE I.OrijinalFisID = :FisID AND UPPER(RTRIM(I.FisDurumu)) = 'IADE' GROUP BY R.StokID) P "
    "ON P.StokID = SF.StokID WHERE SF.FisID = :FisID AND F.SubeID = :SubeID ORDER BY SF.SiraNo, "
    "SF.SatirID");

bool IsSaleStatus(const QVariant& Durum)
{
    if (Durum.isNull())
        return true;
    QString word = Durum.toString();
    while (word.endsWith(u' '))
        word.chop(1);
    return word.compare(QStringLiteral("AKTIF"), Qt::CaseInsensitive) == 0;
}

// General number format: up to 15 significant digits, no thousands separator.
QString GeneralNumber(double Value, const QLocale& Locale)
{
    QLocale locale = Locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(Value, 'g', 15);
}

struct TProductTotals {
    double Miktar = 0;
    double SatirToplam = 0;
    double Iade = 0;
};

// Earlier refunds count against the product's lines in line order; the unit refund is the
// product's, as the routine values it.
void SpreadProductFigures(QList<TRefundLine>& Lines, QHash<int, TProductTotals>& Products)
{
    for (TRefundLine& line : Lines) {
        TProductTotals& product = Products[line.StokID];
        const double taken = qBound(0.0, product.Iade, line.Miktar);
        product.Iade -= taken;
        line.Kalan = TMoney::RoundQuantity(line.Miktar - taken);
    }
    for (TRefundLine& line : Lines) {
        const TProductTotals& product = Products[line.StokID];
        line.UrunMiktar = product.Miktar;
        line.UrunToplam = product.SatirToplam;
    }
}
} // namespace

double TRefundLine::BirimIade() const
{
    return UrunMiktar > 0 ? UrunToplam / UrunMiktar : 0;
}

double TRefundLine::IadeTutar() const
{
    if (IadeMiktar <= 0 || UrunMiktar <= 0)
        return 0;
    return TMoney::RoundLineAmount(UrunToplam * (IadeMiktar / UrunMiktar));
}

int TRefundManager::ResolveFisID(const QString& Text, int SubeID)
{
    const QString text = Text.trimmed();
    if (text.isEmpty())
        return 0;
    TDbQuery exact(QStringLiteral("SELECT TOP 1 FisID FROM SatisFis WHERE SubeID = :SubeID AND "
                                  "FisNo = :FisNo ORDER BY FisID DESC"));
    exact.Param(QStringLiteral("SubeID"), SubeID).Param(QStringLiteral("FisNo"), text).Exec();
    if (exact.Next() && exact.Value(0).toInt() > 0)
        return exact.Value(0).toInt();
    QString number = text;
    const qsizetype prefix = number.indexOf(QStringLiteral("FIS-"), 0, Qt::CaseInsensitive);
    if (prefix >= 0)
        number.remove(prefix, 4);
    bool ok = false;
    const int id = number.toInt(&ok);
    return ok && id > 0 ? id : 0;
}

bool TRefundManager::LoadReceipt(int FisID, int SubeID, TRefundReceipt& Receipt)
{
    OwnedSchema::Run(OwnedSchema::RefundStatements());
    TCustomerList::EnsureCariKartTable();
    TDbQuery query(kReceiptSql);
    query.Param(QStringLiteral("FisID"), FisID).Param(QStringLiteral("SubeID"), SubeID).Exec();
    TRefundReceipt loaded;
    QHash<int, TProductTotals> products;
    while (query.Next()) {
        if (loaded.Lines.isEmpty()) {
            if (!IsSaleStatus(query.Value(QStringLiteral("FisDurumu"))))
                throw Exception(QStringLiteral("Bu fiş bir satış fişi değil (%1), iade alınamaz.")
                                    .arg(query.Value(QStringLiteral("FisDurumu")).toString()));
            loaded.FisID = FisID;
            const QString fisNo = query.Value(QStringLiteral("FisNo")).toString().trimmed();
            loaded.FisNo = fisNo.isEmpty() ? QStringLiteral("FIS-%1").arg(FisID) : fisNo;
            const QDateTime tarih = VariantToDateTime(query.Value(QStringLiteral("Tarih")));
            loaded.Tarih = tarih.isValid() ? tarih.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))
                                           : QStringLiteral("-");
            const QString musteri = query.Value(QStringLiteral("Musteri")).toString().trimmed();
            loaded.Musteri = musteri.isEmpty() ? QStringLiteral("-") : musteri;
        }
        TRefundLine line;
        line.SatirID = query.Value(QStringLiteral("SatirID")).toInt();
        line.StokID = query.Value(QStringLiteral("StokID")).toInt();
        line.StokAdi = query.Value(QStringLiteral("StokAdi")).toString();
        line.Miktar = FieldToFloatDef(query, QStringLiteral("Miktar"), 0);
        TProductTotals& product = products[line.StokID];
        product.Miktar += line.Miktar;
        product.SatirToplam += FieldToFloatDef(query, QStringLiteral("SatirToplam"), 0);
        product.Iade = FieldToFloatDef(query, QStringLiteral("Iade"), 0);
        loaded.Lines << line;
    }
    if (loaded.Lines.isEmpty())
        return false;
    SpreadProductFigures(loaded.Lines, products);
    Receipt = loaded;
    return true;
}

double TRefundManager::ParseQuantity(const QString& Text)
{
    QString text = Text.trimmed();
    text.replace(u',', u'.');
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? TMoney::RoundQuantity(value) : 0;
}

bool TRefundManager::QuantityAllowed(double Quantity, double Limit)
{
    return Quantity > 0 && Quantity <= Limit + TMoney::RefundQuantityTolerance;
}

QString TRefundManager::QuantityPrompt(double Limit)
{
    return QStringLiteral("İade edilecek miktar (Max: ") + GeneralNumber(Limit, QLocale()) +
           QStringLiteral("):");
}

int TRefundManager::ChosenCount(const QList<TRefundLine>& Lines)
{
    return int(std::count_if(Lines.cbegin(), Lines.cend(),
                             [](const TRefundLine& line) { return line.IadeMiktar > 0; }));
}

double TRefundManager::RefundTotal(const QList<TRefundLine>& Lines)
{
    double total = 0;
    for (const TRefundLine& line : Lines)
        total += line.IadeTutar();
    return TMoney::RoundKurus(total);
}

QString TRefundManager::ItemsXml(const QList<TRefundLine>& Lines)
{
    QString xml = QStringLiteral("<Items>");
    for (const TRefundLine& line : Lines) {
        if (line.IadeMiktar <= 0)
            continue;
        xml += QStringLiteral("<Item StokID=\"%1\" Miktar=\"%2\"/>")
                   .arg(QString::number(line.StokID), GeneralNumber(line.IadeMiktar, QLocale::c()));
    }
    return xml + QStringLiteral("</Items>");
}

TRefundResult TRefundManager::Book(int FisID, int KullaniciID, int VardiyaID,
                                   const QList<TRefundLine>& Lines)
{
    if (VardiyaID <= 0)
        return {false, MsgNoShift};
    dmMain->ExecSql(QStringLiteral("SET QUOTED_IDENTIFIER ON"));
    TStoredProc call(QStringLiteral("sp_ProcessRefund"));
    call.In(QStringLiteral("@OriginalFisID"), FisID)
        .In(QStringLiteral("@KullaniciID"), KullaniciID)
        .In(QStringLiteral("@VardiyaID"), VardiyaID)
        .In(QStringLiteral("@RefundItemsXML"), ItemsXml(Lines))
        .Out(QStringLiteral("@Success"), QMetaType::Bool)
        .Out(QStringLiteral("@Message"), QMetaType::QString, 500);
    call.Exec();
    return {call.Value(QStringLiteral("@Success")).toBool(),
            call.Value(QStringLiteral("@Message")).toString()};
}
