#include "refunds/RefundManager.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/Money.h"
#include "core/OwnedSchema.h"
#include "core/POSTextUtils.h"
#include "core/StoredProc.h"
#include "core/TypedNumber.h"
#include "customers/CustomerList.h"
#include "printing/PrintService.h"

#include <QHash>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {
// The receipt's lines in the branch with its head, and per product what the receipt's earlier
// refunds took back and paid back, in one statement. Status words compare as on the server:
// letter case and trailing blanks do not count.
const QString kReceiptSql = QStringLiteral(
    "SELECT F.FisNo, F.Tarih, ISNULL(C.CariAdi, '-') AS Musteri, F.FisDurumu, F.GenelToplam, "
    "SF.SatirID, SF.StokID, S.StokAdi, SF.Miktar, SF.SatirToplam, CAST(ISNULL(P.Iade, 0) AS "
    "FLOAT) AS Iade, CAST(ISNULL(P.IadeTutar, 0) AS FLOAT) AS IadeTutar "
    "FROM SatisFisSatir SF INNER JOIN SatisFis F ON F.FisID = SF.FisID JOIN Stok S ON SF.StokID "
    "= S.StokID LEFT JOIN CariKart C ON C.CariID = F.MusteriID LEFT JOIN (SELECT R.StokID, "
    "SUM(ABS(R.Miktar)) AS Iade, SUM(ABS(R.SatirToplam)) AS IadeTutar FROM SatisFisSatir R "
    "INNER JOIN SatisFis I ON I.FisID = R.FisID WHERE I.OrijinalFisID = :FisID AND "
    "UPPER(RTRIM(I.FisDurumu)) = 'IADE' GROUP BY R.StokID) P ON P.StokID = SF.StokID WHERE "
    "SF.FisID = :FisID AND F.SubeID = :SubeID ORDER BY SF.SiraNo, SF.SatirID");

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

// Earlier refunds count against the product's lines in line order; the unit refund is the
// product's.
void SpreadProductFigures(QList<TRefundLine>& Lines, const QList<TRefundProduct>& Products)
{
    QHash<int, TRefundProduct> products;
    for (const TRefundProduct& product : Products)
        products.insert(product.StokID, product);
    for (TRefundLine& line : Lines) {
        TRefundProduct& product = products[line.StokID];
        const double taken = qBound(0.0, product.IadeMiktar, line.Miktar);
        product.IadeMiktar -= taken;
        line.Kalan = TMoney::RoundQuantity(line.Miktar - taken);
        line.UrunMiktar = product.Miktar;
        line.UrunToplam = product.SatirToplam;
    }
}

// The product's entry in the receipt's products, which keep the order of their first lines.
TRefundProduct& ProductOf(QList<TRefundProduct>& Products, int StokID)
{
    for (TRefundProduct& product : Products)
        if (product.StokID == StokID)
            return product;
    Products.append(TRefundProduct{StokID});
    return Products.last();
}
} // namespace

double TRefundLine::BirimIade() const
{
    return UrunMiktar > 0 ? UrunToplam / UrunMiktar : 0;
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
    QList<TRefundProduct> products;
    double genelToplam = 0;
    while (query.Next()) {
        if (loaded.Lines.isEmpty()) {
            if (!IsSaleStatus(query.Value(QStringLiteral("FisDurumu"))))
                throw ERefusal(QStringLiteral("Bu fiş bir satış fişi değil (%1), iade alınamaz.")
                                   .arg(query.Value(QStringLiteral("FisDurumu")).toString()));
            loaded.FisID = FisID;
            const QString fisNo = query.Value(QStringLiteral("FisNo")).toString().trimmed();
            loaded.FisNo = fisNo.isEmpty() ? QStringLiteral("FIS-%1").arg(FisID) : fisNo;
            const QDateTime tarih = VariantToDateTime(query.Value(QStringLiteral("Tarih")));
            loaded.Tarih = tarih.isValid() ? tarih.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"))
                                           : QStringLiteral("-");
            const QString musteri = query.Value(QStringLiteral("Musteri")).toString().trimmed();
            loaded.Musteri = musteri.isEmpty() ? QStringLiteral("-") : musteri;
            genelToplam = FieldToFloatDef(query, QStringLiteral("GenelToplam"), 0);
        }
        TRefundLine line;
        line.SatirID = query.Value(QStringLiteral("SatirID")).toInt();
        line.StokID = query.Value(QStringLiteral("StokID")).toInt();
        line.StokAdi = query.Value(QStringLiteral("StokAdi")).toString();
        line.Miktar = FieldToFloatDef(query, QStringLiteral("Miktar"), 0);
        TRefundProduct& product = ProductOf(products, line.StokID);
        product.Miktar += line.Miktar;
        product.SatirToplam += FieldToFloatDef(query, QStringLiteral("SatirToplam"), 0);
        product.IadeMiktar = FieldToFloatDef(query, QStringLiteral("Iade"), 0);
        product.IadeTutar = FieldToFloatDef(query, QStringLiteral("IadeTutar"), 0);
        loaded.Lines << line;
    }
    if (loaded.Lines.isEmpty())
        return false;
    SpreadProductFigures(loaded.Lines, products);
    loaded.Amounts = TRefundAmounts(genelToplam, products);
    Receipt = loaded;
    return true;
}

double TRefundManager::ParseQuantity(const QString& Text)
{
    const std::optional<double> value = ReadTypedNumber(Text, TNumberRules::Plain());
    return value ? TMoney::RoundQuantity(*value) : 0;
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

void TRefundManager::Price(const TRefundAmounts& Amounts, QList<TRefundLine>& Lines)
{
    QList<TRefundQuantity> items;
    for (const TRefundLine& line : Lines)
        if (line.IadeMiktar > 0)
            items << TRefundQuantity{line.StokID, line.IadeMiktar};
    const QList<double> amounts = Amounts.Amounts(items);
    qsizetype item = 0;
    for (TRefundLine& line : Lines)
        line.IadeTutar = line.IadeMiktar > 0 ? amounts.at(item++) : 0;
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
        total += line.IadeMiktar > 0 ? line.IadeTutar : 0;
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

int TRefundManager::LastRefundReceipt(int FisID, int VardiyaID)
{
    TDbQuery q(QStringLiteral("SELECT TOP 1 FisID FROM SatisFis WHERE OrijinalFisID = :FisID AND "
                              "VardiyaID = :VardiyaID AND FisDurumu = 'IADE' ORDER BY FisID DESC"));
    q.Param(QStringLiteral("FisID"), FisID).Param(QStringLiteral("VardiyaID"), VardiyaID).Exec();
    return q.Next() ? q.Value(0).toInt() : 0;
}

TRefundResult TRefundManager::CompleteRefund(int FisID, int KullaniciID, int VardiyaID,
                                             const QList<TRefundLine>& Lines)
{
    TRefundResult result = Book(FisID, KullaniciID, VardiyaID, Lines);
    if (!result.Success)
        return result;
    try {
        result.IadeFisID = LastRefundReceipt(FisID, VardiyaID);
        if (result.IadeFisID > 0)
            TPrintService::PrintSaleReceipt(result.IadeFisID);
    } catch (const std::exception&) {
        // The files are a copy of what is booked; the refund is not undone for them.
    }
    return result;
}
