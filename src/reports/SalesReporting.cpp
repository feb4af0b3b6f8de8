#include "reports/SalesReporting.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/POSTextUtils.h"
#include "shifts/ShiftReport.h"

#include <QHash>

namespace {
// The takings of the range by shift and day in one pass over the branch's receipts and their
// payment lines, which the shift figures and the days' turnover both add up from. A receipt
// without payment lines adds nothing, so the inner join loses nothing.
const SqlText kTakingsSql{
    QStringLiteral(
        "SELECT F.VardiyaID, CAST(F.Tarih AS DATE) AS Gun, SUM(CASE WHEN F.FisDurumu = 'AKTIF' "
        "AND O.OdemeTipi = 'NAKIT' THEN O.Tutar ELSE 0 END) AS BrutNakit, SUM(CASE WHEN "
        "F.FisDurumu = 'AKTIF' AND O.OdemeTipi = 'KART' THEN O.Tutar ELSE 0 END) AS BrutKart, "
        "SUM(CASE WHEN F.FisDurumu = 'IADE' AND O.OdemeTipi = 'NAKIT' THEN ABS(O.Tutar) ELSE 0 "
        "END) AS IadeNakit, SUM(CASE WHEN F.FisDurumu = 'IADE' AND O.OdemeTipi = 'KART' THEN "
        "ABS(O.Tutar) ELSE 0 END) AS IadeKart FROM SatisFis F INNER JOIN SatisOdeme O ON O.FisID = "
        "F.FisID WHERE "
        "F.Tarih >= :Start AND F.Tarih < :End AND F.SubeID = :SubeID GROUP BY F.VardiyaID, "
        "CAST(F.Tarih AS DATE)"),
    QStringLiteral(
        "SELECT F.VardiyaID, substr(F.Tarih, 1, 10) AS Gun, SUM(CASE WHEN F.FisDurumu = 'AKTIF' "
        "AND O.OdemeTipi = 'NAKIT' THEN O.Tutar ELSE 0 END) AS BrutNakit, SUM(CASE WHEN "
        "F.FisDurumu = 'AKTIF' AND O.OdemeTipi = 'KART' THEN O.Tutar ELSE 0 END) AS BrutKart, "
        "SUM(CASE WHEN F.FisDurumu = 'IADE' AND O.OdemeTipi = 'NAKIT' THEN ABS(O.Tutar) ELSE 0 "
        "END) AS IadeNakit, SUM(CASE WHEN F.FisDurumu = 'IADE' AND O.OdemeTipi = 'KART' THEN "
        "ABS(O.Tutar) ELSE 0 END) AS IadeKart FROM SatisFis F INNER JOIN SatisOdeme O ON O.FisID = "
        "F.FisID WHERE "
        "F.Tarih >= :Start AND F.Tarih < :End AND F.SubeID = :SubeID GROUP BY F.VardiyaID, "
        "substr(F.Tarih, 1, 10)")};

const QString kShiftsSql = QStringLiteral(
    "SELECT V.VardiyaID, V.AcilisZamani, V.KapanisZamani, K.AdSoyad AS Kasiyer, "
    "ISNULL(V.AcilisTutar, 0) AS AcilisTutar, ISNULL(V.KapanisTutar, 0) AS SayilanKasa, "
    "V.VardiyaDurumu FROM Vardiya V INNER JOIN Kullanici K ON V.KullaniciID = K.KullaniciID "
    "WHERE V.SubeID = :SubeID AND ((V.AcilisZamani >= :Start AND V.AcilisZamani < :End) OR "
    "(V.KapanisZamani IS NOT NULL AND V.KapanisZamani >= :Start AND V.KapanisZamani < :End) OR "
    "V.VardiyaID IN (SELECT F.VardiyaID FROM SatisFis F WHERE F.SubeID = :SubeID AND F.Tarih >= "
    ":Start AND F.Tarih < :End)) ORDER BY V.AcilisZamani DESC, V.VardiyaID DESC");

QString SalesSql(const SqlDialect& dialect, bool after, int pageSize)
{
    return QStringLiteral("SELECT ") + dialect.Top(pageSize) +
           QStringLiteral(
               "F.FisID, F.FisNo, F.Tarih, K.AdSoyad AS Kasiyer, F.OdemeTipi, F.FisDurumu, "
               "ISNULL(F.VardiyaID, 0) AS VardiyaID, F.GenelToplam FROM SatisFis F INNER JOIN "
               "Kullanici K ON K.KullaniciID = F.KullaniciID WHERE F.Tarih >= :Start AND F.Tarih "
               "< :End AND F.SubeID = :SubeID") +
           (after ? QStringLiteral(" AND F.Tarih <= :LastTarih AND (F.Tarih < :LastTarih OR "
                                   "F.FisID < :LastFisID)")
                  : QString()) +
           QStringLiteral(" ORDER BY F.Tarih DESC, F.FisID DESC") + dialect.Limit(pageSize);
}

QString Minutes(const QDateTime& time)
{
    return time.toString(QStringLiteral("dd.MM.yyyy HH:mm"));
}

TDbQuery& RangeParams(TDbQuery& q, const TReportRange& range, int subeID)
{
    const SqlDialect& dialect = dmMain->Dialect();
    return q.Param(QStringLiteral("Start"), dialect.TimeValue(range.Start))
        .Param(QStringLiteral("End"), dialect.TimeValue(range.End))
        .Param(QStringLiteral("SubeID"), subeID);
}

struct TTakings {
    double BrutNakit = 0;
    double BrutKart = 0;
    double IadeNakit = 0;
    double IadeKart = 0;
};

// Reads the takings by shift and adds each day's into `days`.
QHash<int, TTakings> ReadTakings(const TReportRange& range, int subeID, QList<TDayTurnover>& days)
{
    QHash<QDate, int> dayIndex;
    for (int i = 0; i < days.size(); ++i)
        dayIndex.insert(days.at(i).Gun, i);
    QHash<int, TTakings> byShift;
    TDbQuery q(kTakingsSql);
    RangeParams(q, range, subeID).Exec();
    while (q.Next()) {
        const double nakit = FieldToFloatDef(q, QStringLiteral("BrutNakit"), 0);
        const double kart = FieldToFloatDef(q, QStringLiteral("BrutKart"), 0);
        const double iade = FieldToFloatDef(q, QStringLiteral("IadeNakit"), 0);
        const double iadeKart = FieldToFloatDef(q, QStringLiteral("IadeKart"), 0);
        const QVariant shift = q.Value(QStringLiteral("VardiyaID"));
        if (!shift.isNull()) {
            TTakings& t = byShift[shift.toInt()];
            t.BrutNakit += nakit;
            t.BrutKart += kart;
            t.IadeNakit += iade;
            t.IadeKart += iadeKart;
        }
        const auto day = dayIndex.constFind(q.Value(QStringLiteral("Gun")).toDate());
        if (day != dayIndex.constEnd())
            days[*day].NetCiro += nakit - iade + kart - iadeKart;
    }
    return byShift;
}
} // namespace

TReportRange TReportRange::Days(const QDate& First, const QDate& Last)
{
    return {QDateTime(First, QTime(0, 0)), QDateTime(Last.addDays(1), QTime(0, 0))};
}

QList<QDate> TReportRange::DayList() const
{
    QList<QDate> days;
    for (QDate d = Start.date(); QDateTime(d, QTime(0, 0)) < End; d = d.addDays(1))
        days << d;
    return days;
}

QStringList TReportingShiftRow::Cells() const
{
    return {QString::number(VardiyaID),
            Minutes(AcilisZamani),
            Closed() ? Minutes(KapanisZamani) : StatusDisplay(QStringLiteral("ACIK"), true),
            Kasiyer,
            TReportText::Money(BeklenenNakit()),
            TReportText::Money(SayilanKasa),
            TReportText::Money(Fark()),
            TReportText::Money(NetNakit()),
            TReportText::Money(NetKart()),
            StatusDisplay(VardiyaDurumu, true)};
}

QStringList TReportingSaleRow::Cells() const
{
    return {QString::number(FisID),
            FisNo,
            Minutes(Tarih),
            Kasiyer,
            PaymentTypeDisplay(OdemeTipi, true),
            StatusDisplay(FisDurumu, true),
            QString::number(VardiyaID),
            TReportText::Money(GenelToplam)};
}

TReportingShifts TSalesReporting::LoadShifts(const TReportRange& Range, int SubeID)
{
    TReportingShifts result;
    for (const QDate& day : Range.DayList())
        result.Days << TDayTurnover{day, 0};
    const QHash<int, TTakings> takings = ReadTakings(Range, SubeID, result.Days);

    TDbQuery q(kShiftsSql);
    RangeParams(q, Range, SubeID).Exec();
    while (q.Next()) {
        TReportingShiftRow r;
        r.VardiyaID = q.Value(QStringLiteral("VardiyaID")).toInt();
        r.AcilisZamani = TReportText::StoredTime(q.Value(QStringLiteral("AcilisZamani")));
        r.KapanisZamani = TReportText::StoredTime(q.Value(QStringLiteral("KapanisZamani")));
        r.Kasiyer = q.Value(QStringLiteral("Kasiyer")).toString();
        r.VardiyaDurumu = q.Value(QStringLiteral("VardiyaDurumu")).toString();
        r.AcilisTutar = FieldToFloatDef(q, QStringLiteral("AcilisTutar"), 0);
        r.SayilanKasa = FieldToFloatDef(q, QStringLiteral("SayilanKasa"), 0);
        const TTakings t = takings.value(r.VardiyaID);
        r.BrutNakit = t.BrutNakit;
        r.BrutKart = t.BrutKart;
        r.IadeNakit = t.IadeNakit;
        r.IadeKart = t.IadeKart;
        result.Shifts << r;
    }
    return result;
}

TSalesPage TSalesReporting::LoadSalesPage(const TReportRange& Range, int SubeID,
                                          const TSalesPage* After, int PageSize)
{
    const bool after = After != nullptr;
    TDbQuery q(dmMain->Composed([after, PageSize](const SqlDialect& dialect) {
        return SalesSql(dialect, after, PageSize);
    }));
    RangeParams(q, Range, SubeID);
    if (After)
        q.Param(QStringLiteral("LastTarih"), After->LastTarih)
            .Param(QStringLiteral("LastFisID"), After->LastFisID);
    q.Exec();
    TSalesPage page;
    while (q.Next()) {
        TReportingSaleRow r;
        r.FisID = q.Value(0).toInt();
        r.FisNo = q.Value(1).toString();
        page.LastTarih = q.Value(2);
        r.Tarih = TReportText::StoredTime(page.LastTarih);
        r.Kasiyer = q.Value(3).toString();
        r.OdemeTipi = q.Value(4).toString();
        r.FisDurumu = q.Value(5).toString();
        r.VardiyaID = q.Value(6).toInt();
        r.GenelToplam = VariantToFloatDef(q.Value(7), 0);
        page.LastFisID = r.FisID;
        page.Rows << r;
    }
    page.More = page.Rows.size() >= PageSize;
    return page;
}
