#include "database/EmbeddedProcedures.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/DbTransaction.h"
#include "core/Money.h"
#include "core/OwnedSchema.h"
#include "core/RoutineCall.h"
#include "refunds/RefundAmounts.h"

#include <QDateTime>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <cmath>

namespace EmbeddedProcedures {
namespace {
void Refuse(TRoutineCall& call, const QString& message)
{
    call.SetValue(QStringLiteral("@Success"), false);
    call.SetValue(QStringLiteral("@Message"), message);
}

// ---- sp_CloseVardiya ----

void ResetCloseOutputs(TRoutineCall& call)
{
    call.SetValue(QStringLiteral("@Success"), false);
    call.SetValue(QStringLiteral("@Message"), QString());
    for (const char* name :
         {"@SistemTutar", "@Fark", "@NakitSatis", "@KartSatis", "@IadeToplam", "@AcilisTutarOut"})
        call.SetValue(QLatin1String(name), 0.0);
    for (const char* name : {"@ToplamSatis", "@NakitAdet", "@KartAdet", "@IadeAdet"})
        call.SetValue(QLatin1String(name), 0);
    call.SetValue(QStringLiteral("@KapanisZamaniOut"), QVariant(QMetaType::fromType<QDateTime>()));
}

bool IsNonNegativeAmount(const QVariant& value, double& amount)
{
    bool ok = false;
    amount = value.toDouble(&ok);
    return !value.isNull() && ok && std::isfinite(amount) && amount >= 0;
}

// ---- sp_ProcessRefund ----

// The goods go back into the stock of the branch that sold them, and the money out of a drawer
// of that branch: a receipt is refunded in a shift of its own branch only.
const QString kOtherBranch =
    QStringLiteral("Bu fiş başka bir şubenin satışı, bu vardiyada iade alınamaz.");

// What the original receipt sold of one product, summed over its lines; name, barcode, unit,
// prices and rates come from the first of those lines. Refunded and RefundedAmount are what the
// receipt's earlier refunds took back and paid for it.
struct TSold {
    QString StokAdi;
    QVariant Barkod;
    QVariant Birim;
    double BirimFiyat = 0;
    double KDVOrani = 0;
    double IndirimOrani = 0;
    double Miktar = 0;
    double AraToplam = 0;
    double IndirimTutari = 0;
    double KDVTutari = 0;
    double SatirToplam = 0;
    double Refunded = 0;
    double RefundedAmount = 0;
};

struct TSoldOn {
    QList<int> Order; // the products in the order of their first lines
    QHash<int, TSold> Products;

    TRefundAmounts Amounts(double genelToplam) const
    {
        QList<TRefundProduct> products;
        for (const int stokID : Order) {
            const TSold& s = Products[stokID];
            products << TRefundProduct{stokID, s.Miktar, s.SatirToplam, s.Refunded,
                                       s.RefundedAmount};
        }
        return {genelToplam, products};
    }
};

struct TRefundLine {
    int StokID = 0;
    double Miktar = 0;
    double AraToplam = 0;
    double IndirimTutari = 0;
    double KDVTutari = 0;
    double SatirToplam = 0;
};

TSoldOn SoldOn(int fisID)
{
    TSoldOn soldOn;
    QHash<int, TSold>& sold = soldOn.Products;
    TDbQuery lines(QStringLiteral(
        "SELECT StokID, StokAdi, Barkod, Birim, BirimFiyat, KDVOrani, IndirimOrani, Miktar, "
        "AraToplam, IndirimTutari, KDVTutari, SatirToplam FROM SatisFisSatir WHERE FisID = :F "
        "ORDER BY SiraNo, SatirID"));
    lines.Param(QStringLiteral("F"), fisID).Exec();
    while (lines.Next()) {
        const int stokID = lines.Value(QStringLiteral("StokID")).toInt();
        const bool first = !sold.contains(stokID);
        TSold& s = sold[stokID];
        if (first) {
            soldOn.Order << stokID;
            s.StokAdi = lines.Value(QStringLiteral("StokAdi")).toString();
            s.Barkod = lines.Value(QStringLiteral("Barkod"));
            s.Birim = lines.Value(QStringLiteral("Birim"));
            s.BirimFiyat = lines.Value(QStringLiteral("BirimFiyat")).toDouble();
            s.KDVOrani = lines.Value(QStringLiteral("KDVOrani")).toDouble();
            s.IndirimOrani = lines.Value(QStringLiteral("IndirimOrani")).toDouble();
        }
        s.Miktar += lines.Value(QStringLiteral("Miktar")).toDouble();
        s.AraToplam += lines.Value(QStringLiteral("AraToplam")).toDouble();
        s.IndirimTutari += lines.Value(QStringLiteral("IndirimTutari")).toDouble();
        s.KDVTutari += lines.Value(QStringLiteral("KDVTutari")).toDouble();
        s.SatirToplam += lines.Value(QStringLiteral("SatirToplam")).toDouble();
    }
    // Status words compare as on the server: letter case and trailing blanks do not count. The
    // casts keep the ODBC driver from reading a sum as a whole number.
    TDbQuery refunded(QStringLiteral(
        "SELECT R.StokID, CAST(SUM(ABS(R.Miktar)) AS FLOAT) AS Miktar, "
        "CAST(SUM(ABS(R.SatirToplam)) "
        "AS FLOAT) AS Tutar FROM SatisFisSatir R INNER JOIN SatisFis F ON F.FisID = R.FisID WHERE "
        "F.OrijinalFisID = :F AND UPPER(RTRIM(F.FisDurumu)) = 'IADE' GROUP BY R.StokID"));
    refunded.Param(QStringLiteral("F"), fisID).Exec();
    while (refunded.Next()) {
        auto it = sold.find(refunded.Value(0).toInt());
        if (it == sold.end())
            continue;
        it->Refunded = refunded.Value(1).toDouble();
        it->RefundedAmount = refunded.Value(2).toDouble();
    }
    return soldOn;
}

// What the receipt took by card and what its earlier refunds gave back to the card, by the
// shared shift rules: a receipt's payment lines, or its own OdemeTipi and GenelToplam when it
// has none.
struct TCardTaken {
    double Kart = 0;
    double KartIade = 0;
};

TCardTaken CardTakenOn(int fisID)
{
    // The casts keep the ODBC driver from reading a sum as a whole number.
    TDbQuery card(QStringLiteral(
        "SELECT CAST(ISNULL((SELECT SUM(O.Tutar) FROM SatisOdeme O WHERE O.FisID = F.FisID AND "
        "UPPER(RTRIM(O.OdemeTipi)) = 'KART'), 0) + CASE WHEN UPPER(RTRIM(ISNULL(F.OdemeTipi, "
        "''))) = 'KART' AND NOT EXISTS (SELECT 1 FROM SatisOdeme O WHERE O.FisID = F.FisID) THEN "
        "F.GenelToplam ELSE 0 END AS FLOAT) AS Kart, CAST(ISNULL((SELECT SUM(ABS(O.Tutar)) FROM "
        "SatisOdeme O INNER JOIN SatisFis R ON R.FisID = O.FisID WHERE R.OrijinalFisID = "
        "F.FisID AND UPPER(RTRIM(R.FisDurumu)) = 'IADE' AND UPPER(RTRIM(O.OdemeTipi)) = 'KART'), "
        "0) + ISNULL((SELECT SUM(ABS(R.GenelToplam)) FROM SatisFis R WHERE R.OrijinalFisID = "
        "F.FisID AND UPPER(RTRIM(R.FisDurumu)) = 'IADE' AND UPPER(RTRIM(ISNULL(R.OdemeTipi, "
        "''))) = 'KART' AND NOT EXISTS (SELECT 1 FROM SatisOdeme O WHERE O.FisID = R.FisID)), 0) "
        "AS FLOAT) AS KartIade FROM SatisFis F WHERE F.FisID = :F"));
    card.Param(QStringLiteral("F"), fisID).Exec();
    if (!card.Next())
        return {};
    return {card.Value(0).toDouble(), card.Value(1).toDouble()};
}

// A quantity as the server's FORMAT(value, '0.###', 'tr-TR') writes it: up to three decimals
// after a comma, no grouping, no trailing zeros.
QString QuantityText(double quantity)
{
    QLocale turkish(QLocale::Turkish, QLocale::Turkey);
    turkish.setNumberOptions(QLocale::OmitGroupSeparator);
    QString text = turkish.toString(TMoney::RoundQuantity(quantity), 'f', 3);
    while (text.endsWith(u'0'))
        text.chop(1);
    if (text.endsWith(u','))
        text.chop(1);
    return text == QStringLiteral("-0") ? QStringLiteral("0") : text;
}

// The first reason, in document order, why the items cannot be refunded; empty when they can.
QString CheckItems(const QList<TRefundItem>& items, const QHash<int, TSold>& sold)
{
    if (items.isEmpty())
        return QStringLiteral("İade edilecek ürün seçilmedi.");
    QList<int> order;
    QHash<int, double> requested;
    for (const TRefundItem& item : items) {
        const auto it = sold.constFind(item.StokID);
        if (item.StokID == 0 || it == sold.constEnd())
            return QStringLiteral("Ürün bu fişte bulunmuyor (StokID: %1).").arg(item.StokText);
        if (!item.MiktarOk || item.Miktar <= 0)
            return QStringLiteral("Geçersiz iade miktarı: ") + it->StokAdi;
        if (!requested.contains(item.StokID))
            order << item.StokID;
        requested[item.StokID] += item.Miktar;
    }
    for (const int stokID : order) {
        const TSold& s = sold[stokID];
        const double left = s.Miktar - s.Refunded;
        if (requested[stokID] > left + TMoney::RefundQuantityTolerance)
            return QStringLiteral("İade miktarı fişte kalan miktarı aşıyor: %1 (kalan: %2)")
                .arg(s.StokAdi, QuantityText(qMax(0.0, left)));
    }
    return {};
}

// A refund line pays back `amount`, what TRefundAmounts gives its item; its net, discount and
// VAT are the original lines' in proportion to the quantity. Refund amounts are stored negative,
// rounded as the server's decimal columns round them, so both engines store the same figures.
TRefundLine RefundLineFor(const TRefundItem& item, const TSold& s, double amount)
{
    const double share = item.Miktar / s.Miktar;
    return {item.StokID,
            -item.Miktar,
            -TMoney::RoundLineAmount(s.AraToplam * share),
            -TMoney::RoundLineAmount(s.IndirimTutari * share),
            -TMoney::RoundLineAmount(s.KDVTutari * share),
            -amount};
}

// The refund's payment lines, negative, cash first: a line for each part that is not zero, and
// one cash line of 0 for a refund that pays nothing back.
void WriteRefundPayments(int fisID, const TRefundTender& tender)
{
    TDbQuery payment(
        QStringLiteral("INSERT INTO SatisOdeme (FisID, OdemeTipi, Tutar) VALUES (:F, :O, :T)"));
    const bool kart = tender.Kart > TMoney::Tolerance;
    if (tender.Nakit > TMoney::Tolerance || !kart)
        payment.Param(QStringLiteral("F"), fisID)
            .Param(QStringLiteral("O"), QStringLiteral("NAKIT"))
            .Param(QStringLiteral("T"), tender.Nakit > TMoney::Tolerance ? -tender.Nakit : 0.0)
            .Exec();
    if (kart)
        payment.Param(QStringLiteral("F"), fisID)
            .Param(QStringLiteral("O"), QStringLiteral("KART"))
            .Param(QStringLiteral("T"), -tender.Kart)
            .Exec();
}

// Seeds a missing branch row the way the branch stock routines do: the first branch of a
// product inherits its overall stock, a later one starts at zero.
void ReturnToBranchStock(int subeID, int stokID, double miktar)
{
    OwnedSchema::Run(OwnedSchema::BranchStockStatements());
    TDbQuery(
        QStringLiteral(
            "INSERT INTO SubeStok (SubeID, StokID, MevcutStok, MinStok, MaxStok) SELECT :S, "
            "S.StokID, CASE WHEN NOT EXISTS (SELECT 1 FROM SubeStok SS0 WHERE SS0.StokID = "
            "S.StokID) THEN ISNULL(S.MevcutStok, 0) ELSE 0 END, S.MinStok, S.MaxStok FROM Stok "
            "S WHERE S.StokID = :P AND NOT EXISTS (SELECT 1 FROM SubeStok SS WHERE SS.SubeID = "
            ":S AND SS.StokID = S.StokID)"))
        .Param(QStringLiteral("S"), subeID)
        .Param(QStringLiteral("P"), stokID)
        .Exec();
    TDbQuery(QStringLiteral("UPDATE SubeStok SET MevcutStok = MevcutStok + :Q, UpdatedAt = "
                            "GETDATE() WHERE SubeID = :S AND StokID = :P"))
        .Param(QStringLiteral("Q"), miktar)
        .Param(QStringLiteral("S"), subeID)
        .Param(QStringLiteral("P"), stokID)
        .Exec();
    TDbQuery(QStringLiteral("UPDATE Stok SET MevcutStok = ISNULL((SELECT SUM(MevcutStok) FROM "
                            "SubeStok WHERE StokID = :P), 0), UpdatedAt = GETDATE() WHERE StokID = "
                            ":P"))
        .Param(QStringLiteral("P"), stokID)
        .Exec();
}

// Puts a product's refunded goods back into the lots its sale took them from, the lot taken
// last first. The earlier refunds of the receipt gave back the first `earlier` units of that
// order, so this one gives back the next `miktar`: each lot row of the sale gets what of its
// stretch of that order falls between the two marks.
void ReturnToLots(int originalID, int stokID, double earlier, double miktar)
{
    OwnedSchema::Run(OwnedSchema::SaleLotStatements());
    if (!dmMain->TableExists(QStringLiteral("StokLotDetay")))
        return;
    TDbQuery taken(QStringLiteral("SELECT LotID, Miktar FROM SatisFisLot WHERE FisID = :F AND "
                                  "StokID = :P ORDER BY SatisFisLotID DESC"));
    taken.Param(QStringLiteral("F"), originalID).Param(QStringLiteral("P"), stokID).Exec();
    QList<QPair<int, double>> back;
    double before = 0;
    while (taken.Next()) {
        const double after = before + taken.Value(1).toDouble();
        const double share = qMin(after, earlier + miktar) - qMax(before, earlier);
        if (share > TMoney::LotQuantityTolerance)
            back.append({taken.Value(0).toInt(), TMoney::RoundQuantity(share)});
        before = after;
    }
    for (const auto& [lotID, share] : back)
        TDbQuery(QStringLiteral(
                     "UPDATE StokLotDetay SET MevcutMiktar = MevcutMiktar + :Q WHERE LotID = :L"))
            .Param(QStringLiteral("Q"), share)
            .Param(QStringLiteral("L"), lotID)
            .Exec();
}
} // namespace

bool SameStatusWord(const QString& stored, const QString& word)
{
    QStringView text(stored);
    while (text.endsWith(u' '))
        text.chop(1);
    return text.compare(word, Qt::CaseInsensitive) == 0;
}

bool ParseRefundItems(const QString& xml, QList<TRefundItem>& items)
{
    static const QRegularExpression plainDecimal(
        QStringLiteral(R"(^\s*[+-]?(\d+(\.\d*)?|\.\d+)\s*$)"));
    items.clear();
    if (xml.trimmed().isEmpty())
        return true;
    QXmlStreamReader reader(xml);
    int depth = 0;
    bool inItems = false;
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement()) {
            ++depth;
            if (depth == 1)
                inItems = reader.name() == u"Items";
            if (depth != 2 || !inItems || reader.name() != u"Item")
                continue;
            TRefundItem item;
            const auto attributes = reader.attributes();
            item.StokText = attributes.value(QStringLiteral("StokID")).toString();
            bool ok = false;
            const int stokID = item.StokText.trimmed().toInt(&ok);
            item.StokID = ok ? stokID : 0;
            const QString miktar = attributes.value(QStringLiteral("Miktar")).toString();
            item.MiktarOk = plainDecimal.match(miktar).hasMatch();
            item.Miktar = item.MiktarOk ? TMoney::RoundQuantity(miktar.trimmed().toDouble()) : 0;
            items << item;
        } else if (reader.isEndElement()) {
            --depth;
        }
    }
    return !reader.hasError();
}

void CloseVardiya(TRoutineCall& call)
{
    ResetCloseOutputs(call);
    const int vardiyaID = call.Value(QStringLiteral("@VardiyaID")).toInt();
    const int kapatan = call.Value(QStringLiteral("@KapatanKullaniciID")).toInt();
    TDbTransaction transaction;
    TDbQuery shift(
        QStringLiteral("SELECT KapanisZamani, VardiyaDurumu FROM Vardiya WHERE VardiyaID = :V"));
    shift.Param(QStringLiteral("V"), vardiyaID).Exec();
    if (!shift.Next())
        return Refuse(call, QStringLiteral("Vardiya bulunamadı."));
    const QString durum =
        shift.Value(1).isNull() ? QStringLiteral("ACIK") : shift.Value(1).toString();
    if (!shift.Value(0).isNull() || !SameStatusWord(durum, QStringLiteral("ACIK")))
        return Refuse(call, QStringLiteral("Vardiya zaten kapatılmış."));
    double amount = 0;
    if (!IsNonNegativeAmount(call.Value(QStringLiteral("@KapanisTutar")), amount))
        return Refuse(call,
                      QStringLiteral("Kapanış tutarı geçersiz. Sayılan nakit negatif olamaz."));

    const QString closedAt = dmMain->GetScalar(QStringLiteral("SELECT GETDATE()")).toString();
    TDbQuery(
        QStringLiteral("UPDATE Vardiya SET KapanisZamani = :Z, KapanisTutar = :T, "
                       "VardiyaDurumu = 'KAPALI', KapatanKullaniciID = :K WHERE VardiyaID = :V"))
        .Param(QStringLiteral("Z"), closedAt)
        .Param(QStringLiteral("T"), TMoney::RoundKurus(amount))
        .Param(QStringLiteral("K"), kapatan > 0 ? QVariant(kapatan) : TDbQuery::NullInt())
        .Param(QStringLiteral("V"), vardiyaID)
        .Exec();

    TDbQuery summary(QStringLiteral("SELECT * FROM vw_VardiyaOzet WHERE VardiyaID = :V"));
    summary.Param(QStringLiteral("V"), vardiyaID).Exec();
    summary.Next();
    const auto money = [&](const char* field) {
        return summary.Value(QLatin1String(field)).toDouble();
    };
    const auto count = [&](const char* field) {
        return summary.Value(QLatin1String(field)).toInt();
    };
    call.SetValue(QStringLiteral("@SistemTutar"), money("BeklenenNakit"));
    call.SetValue(QStringLiteral("@Fark"), money("Fark"));
    call.SetValue(QStringLiteral("@ToplamSatis"), count("AktifFis"));
    call.SetValue(QStringLiteral("@NakitSatis"), money("NakitSatis"));
    call.SetValue(QStringLiteral("@KartSatis"), money("KartSatis"));
    call.SetValue(QStringLiteral("@NakitAdet"), count("NakitAdet"));
    call.SetValue(QStringLiteral("@KartAdet"), count("KartAdet"));
    call.SetValue(QStringLiteral("@IadeToplam"), money("IadeToplam"));
    call.SetValue(QStringLiteral("@IadeAdet"), count("IadeFis"));
    call.SetValue(QStringLiteral("@AcilisTutarOut"), money("AcilisTutar"));
    transaction.Commit();
    call.SetValue(QStringLiteral("@KapanisZamaniOut"),
                  QDateTime::fromString(closedAt, QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    call.SetValue(QStringLiteral("@Success"), true);
    call.SetValue(QStringLiteral("@Message"), QStringLiteral("Vardiya kapatıldı."));
}

void ProcessRefund(TRoutineCall& call)
{
    Refuse(call, QString());
    const int originalID = call.Value(QStringLiteral("@OriginalFisID")).toInt();
    const int kullaniciID = call.Value(QStringLiteral("@KullaniciID")).toInt();
    const int vardiyaID = call.Value(QStringLiteral("@VardiyaID")).toInt();
    QList<TRefundItem> items;
    const bool wellFormed =
        ParseRefundItems(call.Value(QStringLiteral("@RefundItemsXML")).toString(), items);

    OwnedSchema::Run(OwnedSchema::RefundStatements());
    TDbTransaction transaction;
    TDbQuery original(QStringLiteral(
        "SELECT SubeID, FisDurumu, MusteriID, GenelToplam FROM SatisFis WHERE FisID = :F"));
    original.Param(QStringLiteral("F"), originalID).Exec();
    if (!original.Next())
        return Refuse(call, QStringLiteral("İade edilecek fiş bulunamadı."));
    const int originalSube = original.Value(0).toInt();
    const QString durum =
        original.Value(1).isNull() ? QStringLiteral("AKTIF") : original.Value(1).toString();
    const QVariant musteriID = original.Value(2);
    const double originalToplam = original.Value(3).toDouble();
    if (!SameStatusWord(durum, QStringLiteral("AKTIF")))
        return Refuse(
            call, QStringLiteral("Bu fiş bir satış fişi değil (%1), iade alınamaz.").arg(durum));

    TDbQuery shift(QStringLiteral(
        "SELECT SubeID, TerminalID FROM Vardiya WHERE VardiyaID = :V AND KapanisZamani IS NULL "
        "AND UPPER(RTRIM(ISNULL(VardiyaDurumu, 'ACIK'))) = 'ACIK'"));
    shift.Param(QStringLiteral("V"), vardiyaID).Exec();
    if (!shift.Next())
        return Refuse(call,
                      QStringLiteral("Açık vardiya bulunamadı. İade için önce vardiya açınız."));
    const QVariant shiftSube = shift.Value(0);
    const QVariant shiftTerminal = shift.Value(1);
    if (shiftSube.toInt() != originalSube)
        return Refuse(call, kOtherBranch);

    TDbQuery user(QStringLiteral("SELECT 1 FROM Kullanici WHERE KullaniciID = :K"));
    user.Param(QStringLiteral("K"), kullaniciID).Exec();
    if (!user.Next())
        return Refuse(call, QStringLiteral("Kullanıcı bulunamadı."));
    if (!wellFormed)
        return Refuse(call, QStringLiteral("İade listesi okunamadı."));

    const TSoldOn soldOn = SoldOn(originalID);
    const QHash<int, TSold>& sold = soldOn.Products;
    if (const QString reason = CheckItems(items, sold); !reason.isEmpty())
        return Refuse(call, reason);

    QList<TRefundQuantity> quantities;
    for (const TRefundItem& item : items)
        quantities << TRefundQuantity{item.StokID, item.Miktar};
    const QList<double> amounts = soldOn.Amounts(originalToplam).Amounts(quantities);
    QList<TRefundLine> lines;
    double ara = 0, indirim = 0, kdv = 0, toplam = 0;
    for (qsizetype i = 0; i < items.size(); ++i) {
        lines << RefundLineFor(items.at(i), sold[items.at(i).StokID], amounts.at(i));
        ara += lines.last().AraToplam;
        indirim += lines.last().IndirimTutari;
        kdv += lines.last().KDVTutari;
        toplam += lines.last().SatirToplam;
    }
    const double genelToplam = TMoney::RoundKurus(toplam);
    const TCardTaken card = CardTakenOn(originalID);
    const TRefundTender tender = TRefundTender::Split(-genelToplam, card.Kart, card.KartIade);

    TDbQuery head(QStringLiteral(
        "INSERT INTO SatisFis (FisNo, SubeID, KullaniciID, TerminalID, VardiyaID, Tarih, "
        "AraToplam, "
        "ToplamKDV, Indirim, GenelToplam, OdemeTipi, MusteriID, FisDurumu, OrijinalFisID) VALUES "
        "('', :Sube, :Kul, :Term, :Var, GETDATE(), :Ara, :KDV, :Ind, :Gen, :Odeme, :Mus, 'IADE', "
        ":Orj); SELECT SCOPE_IDENTITY()"));
    head.Param(QStringLiteral("Sube"), shiftSube)
        .Param(QStringLiteral("Kul"), kullaniciID)
        .Param(QStringLiteral("Term"), shiftTerminal)
        .Param(QStringLiteral("Var"), vardiyaID)
        .Param(QStringLiteral("Ara"), TMoney::RoundKurus(ara))
        .Param(QStringLiteral("KDV"), TMoney::RoundKurus(kdv))
        .Param(QStringLiteral("Ind"), TMoney::RoundKurus(indirim))
        .Param(QStringLiteral("Gen"), genelToplam)
        .Param(QStringLiteral("Odeme"), tender.OdemeTipi())
        .Param(QStringLiteral("Mus"), musteriID)
        .Param(QStringLiteral("Orj"), originalID)
        .Exec();
    head.Next();
    const int fisID = head.Value(0).toInt();
    const QString fisNo = QStringLiteral("FIS-%1").arg(fisID);
    TDbQuery(QStringLiteral("UPDATE SatisFis SET FisNo = :No WHERE FisID = :F"))
        .Param(QStringLiteral("No"), fisNo)
        .Param(QStringLiteral("F"), fisID)
        .Exec();

    TDbQuery insertLine(QStringLiteral(
        "INSERT INTO SatisFisSatir (FisID, SiraNo, StokID, StokAdi, Barkod, Miktar, Birim, "
        "BirimFiyat, KDVOrani, KDVTutari, IndirimOrani, IndirimTutari, AraToplam, SatirToplam) "
        "VALUES (:Fis, :Sira, :Stok, :Ad, :Bar, :Mik, :Bir, :Fiyat, :KDV, :KDVT, :IndO, :IndT, "
        ":Ara, :Top)"));
    QList<int> stockOrder;
    QHash<int, double> stockBack;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const TRefundLine& line = lines.at(i);
        const TSold& s = sold[line.StokID];
        insertLine.Param(QStringLiteral("Fis"), fisID)
            .Param(QStringLiteral("Sira"), int(i + 1))
            .Param(QStringLiteral("Stok"), line.StokID)
            .Param(QStringLiteral("Ad"), s.StokAdi)
            .Param(QStringLiteral("Bar"), s.Barkod)
            .Param(QStringLiteral("Mik"), line.Miktar)
            .Param(QStringLiteral("Bir"), s.Birim)
            .Param(QStringLiteral("Fiyat"), s.BirimFiyat)
            .Param(QStringLiteral("KDV"), s.KDVOrani)
            .Param(QStringLiteral("KDVT"), line.KDVTutari)
            .Param(QStringLiteral("IndO"), s.IndirimOrani)
            .Param(QStringLiteral("IndT"), line.IndirimTutari)
            .Param(QStringLiteral("Ara"), line.AraToplam)
            .Param(QStringLiteral("Top"), line.SatirToplam)
            .Exec();
        if (!stockBack.contains(line.StokID))
            stockOrder << line.StokID;
        stockBack[line.StokID] -= line.Miktar;
    }
    WriteRefundPayments(fisID, tender);
    for (const int stokID : stockOrder) {
        ReturnToBranchStock(originalSube, stokID, stockBack[stokID]);
        ReturnToLots(originalID, stokID, sold[stokID].Refunded, stockBack[stokID]);
    }
    transaction.Commit();
    call.SetValue(QStringLiteral("@Success"), true);
    call.SetValue(QStringLiteral("@Message"),
                  QString(QStringLiteral("İade işlemi tamamlandı. İade fiş no: ") + fisNo));
}
} // namespace EmbeddedProcedures
