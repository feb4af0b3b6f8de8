#include "reports/PastShiftReports.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/POSTextUtils.h"

#include <QRegularExpression>

namespace {
// Every statement here finds a shift's receipts by its id and keeps those of the branch. SQLite
// without statistics would rather walk the branch's index (every receipt of the branch, to
// spare itself a sort) than the shift's; a unary plus on the branch column leaves it only the
// shift's index, and means nothing else.
QString OnShiftIndex(const QString& sql)
{
    static const QRegularExpression branch(QStringLiteral("\\b(F[A-Z0-9]*)\\.SubeID\\b"));
    QString sqlite = sql;
    return sqlite.replace(branch, QStringLiteral("+\\1.SubeID"));
}

// A text with an SQLite twin of its own spells the unary plus there.
SqlText OnShiftIndex(const SqlText& sql)
{
    return {sql.MsSql, sql.Sqlite.isEmpty() ? OnShiftIndex(sql.MsSql) : sql.Sqlite};
}

// SQLite has no OUTER APPLY; its texts take the same sums in correlated sub-selects, which the
// receipts' shift index answers per listed shift.
const SqlText kShiftsSql = OnShiftIndex(SqlText{
    QStringLiteral(
        "SELECT V.VardiyaID, V.AcilisZamani, V.KapanisZamani, V.VardiyaDurumu,        K.AdSoyad "
        "AS Kasiyer, ISNULL(V.AcilisTutar, 0) AS AcilisTutar,        ISNULL(FS.FisSayisi, 0) AS "
        "FisSayisi,        ISNULL(FS.AktifToplam, 0) - ISNULL(FS.IadeToplam, 0) AS NetCiro FROM "
        "Vardiya V INNER JOIN Kullanici K ON K.KullaniciID = V.KullaniciID OUTER APPLY (   SELECT "
        "COUNT(*) AS FisSayisi,          ISNULL(SUM(CASE WHEN ISNULL(F.FisDurumu, 'AKTIF') = "
        "'AKTIF' THEN F.GenelToplam ELSE 0 END), 0) AS AktifToplam,          ABS(ISNULL(SUM(CASE "
        "WHEN ISNULL(F.FisDurumu, 'AKTIF') = 'IADE' THEN F.GenelToplam ELSE 0 END), 0)) AS "
        "IadeToplam   FROM SatisFis F WHERE F.VardiyaID = V.VardiyaID AND F.SubeID = V.SubeID ) FS "
        "WHERE V.SubeID = :SubeID AND ((V.AcilisZamani >= :StartDate AND V.AcilisZamani < "
        ":EndDate)      OR (ISNULL(V.VardiyaDurumu, '') = 'ACIK' AND V.KapanisZamani IS NULL)) "
        "ORDER BY CASE WHEN ISNULL(V.VardiyaDurumu, '') = 'ACIK' AND V.KapanisZamani IS NULL THEN "
        "0 "
        "ELSE 1 END, V.AcilisZamani DESC, V.VardiyaID DESC"),
    QStringLiteral(
        "SELECT V.VardiyaID, V.AcilisZamani, V.KapanisZamani, V.VardiyaDurumu, K.AdSoyad AS "
        "Kasiyer, ISNULL(V.AcilisTutar, 0) AS AcilisTutar, (SELECT COUNT(*) FROM SatisFis F "
        "WHERE F.VardiyaID = V.VardiyaID AND +F.SubeID = V.SubeID) AS FisSayisi, (SELECT "
        "ISNULL(SUM(CASE WHEN ISNULL(F.FisDurumu, 'AKTIF') = 'AKTIF' THEN F.GenelToplam ELSE 0 "
        "END), 0) - ABS(ISNULL(SUM(CASE WHEN ISNULL(F.FisDurumu, 'AKTIF') = 'IADE' THEN "
        "F.GenelToplam ELSE 0 END), 0)) FROM SatisFis F WHERE F.VardiyaID = V.VardiyaID AND "
        "+F.SubeID = V.SubeID) AS NetCiro FROM Vardiya V INNER JOIN Kullanici K ON K.KullaniciID = "
        "V.KullaniciID WHERE V.SubeID = :SubeID AND ((V.AcilisZamani >= :StartDate AND "
        "V.AcilisZamani < :EndDate) OR (ISNULL(V.VardiyaDurumu, '') = 'ACIK' AND V.KapanisZamani "
        "IS NULL)) ORDER BY CASE WHEN ISNULL(V.VardiyaDurumu, '') = 'ACIK' AND V.KapanisZamani IS "
        "NULL THEN 0 ELSE 1 END, V.AcilisZamani DESC, V.VardiyaID DESC")});

const SqlText kTotalsSql = OnShiftIndex(SqlText{
    QStringLiteral(
        "SELECT   ISNULL((SELECT COUNT(*) FROM SatisFis F0 WHERE F0.VardiyaID = V.VardiyaID AND "
        "F0.SubeID = V.SubeID), 0) AS FisSayisi,   ISNULL((SELECT SUM(O1.Tutar) FROM SatisOdeme O1 "
        "INNER JOIN SatisFis F1 ON O1.FisID = F1.FisID           WHERE F1.VardiyaID = V.VardiyaID "
        "AND F1.SubeID = V.SubeID AND F1.FisDurumu = 'AKTIF' AND UPPER(O1.OdemeTipi) = 'NAKIT'), "
        "0) "
        "+   ISNULL((SELECT SUM(FN.GenelToplam) FROM SatisFis FN           WHERE FN.VardiyaID = "
        "V.VardiyaID AND FN.SubeID = V.SubeID AND FN.FisDurumu = 'AKTIF'             AND "
        "UPPER(ISNULL(FN.OdemeTipi, '')) = 'NAKIT'             AND NOT EXISTS (SELECT 1 FROM "
        "SatisOdeme OO WHERE OO.FisID = FN.FisID)), 0) AS NakitToplam,   ISNULL((SELECT "
        "SUM(O2.Tutar) FROM SatisOdeme O2 INNER JOIN SatisFis F2 ON O2.FisID = F2.FisID           "
        "WHERE F2.VardiyaID = V.VardiyaID AND F2.SubeID = V.SubeID AND F2.FisDurumu = 'AKTIF' AND "
        "UPPER(O2.OdemeTipi) = 'KART'), 0) +   ISNULL((SELECT SUM(FK.GenelToplam) FROM SatisFis FK "
        " "
        "         WHERE FK.VardiyaID = V.VardiyaID AND FK.SubeID = V.SubeID AND FK.FisDurumu = "
        "'AKTIF'             AND UPPER(ISNULL(FK.OdemeTipi, '')) = 'KART'             AND NOT "
        "EXISTS (SELECT 1 FROM SatisOdeme OO2 WHERE OO2.FisID = FK.FisID)), 0) AS KartToplam,   "
        "ISNULL((SELECT ABS(SUM(FI.GenelToplam)) FROM SatisFis FI           WHERE FI.VardiyaID = "
        "V.VardiyaID AND FI.SubeID = V.SubeID AND FI.FisDurumu = 'IADE'), 0) AS IadeToplam FROM "
        "Vardiya V WHERE V.VardiyaID = :VardiyaID AND V.SubeID = :SubeID"),
    {}});

// The grid reads the receipt id too; the listing ignores it.
const SqlText kReceiptsSql = OnShiftIndex(SqlText{
    QStringLiteral(
        "SELECT F.FisID, F.FisNo, F.Tarih, F.OdemeTipi, F.FisDurumu,        ISNULL(F.AraToplam, 0) "
        "AS AraToplam, ISNULL(F.ToplamKDV, 0) AS ToplamKDV,        ISNULL(F.Indirim, 0) AS "
        "Indirim, ISNULL(F.GenelToplam, 0) AS GenelToplam,        ISNULL((SELECT "
        "SUM(ABS(S.Miktar)) "
        "FROM SatisFisSatir S WHERE S.FisID = F.FisID), 0) AS UrunAdedi FROM SatisFis F WHERE "
        "F.VardiyaID = :VardiyaID AND F.SubeID = :SubeID ORDER BY F.Tarih ASC, F.FisID ASC"),
    {}});

const SqlText kListingHeadSql = OnShiftIndex(SqlText{
    QStringLiteral(
        "SELECT V.VardiyaID, V.AcilisZamani, V.KapanisZamani, V.VardiyaDurumu,        "
        "ISNULL(S.SubeAdi, '') AS SubeAdi, K.AdSoyad AS Kasiyer,        ISNULL(V.AcilisTutar, 0) "
        "AS AcilisTutar, ISNULL(V.KapanisTutar, 0) AS KapanisTutar,        ISNULL(FS.FisSayisi, "
        "0) AS FisSayisi, ISNULL(FS.AktifToplam, 0) AS AktifToplam,        "
        "ISNULL(FS.IadeToplam, 0) AS IadeToplam FROM Vardiya V INNER JOIN Kullanici K ON "
        "K.KullaniciID = V.KullaniciID LEFT JOIN Sube S ON S.SubeID = V.SubeID OUTER APPLY (   "
        "SELECT COUNT(*) AS FisSayisi,          ISNULL(SUM(CASE WHEN ISNULL(F.FisDurumu, 'AKTIF') "
        "= 'AKTIF' THEN F.GenelToplam ELSE 0 END), 0) AS AktifToplam,          "
        "ABS(ISNULL(SUM(CASE WHEN ISNULL(F.FisDurumu, 'AKTIF') = 'IADE' THEN F.GenelToplam ELSE 0 "
        "END), 0)) AS IadeToplam   FROM SatisFis F WHERE F.VardiyaID = V.VardiyaID AND F.SubeID = "
        "V.SubeID ) FS WHERE V.VardiyaID = :VardiyaID AND V.SubeID = :SubeID"),
    QStringLiteral(
        "SELECT V.VardiyaID, V.AcilisZamani, V.KapanisZamani, V.VardiyaDurumu, ISNULL(S.SubeAdi, "
        "'') AS SubeAdi, K.AdSoyad AS Kasiyer, ISNULL(V.AcilisTutar, 0) AS AcilisTutar, "
        "ISNULL(V.KapanisTutar, 0) AS KapanisTutar, ISNULL(FS.FisSayisi, 0) AS FisSayisi, "
        "ISNULL(FS.AktifToplam, 0) AS AktifToplam, ISNULL(FS.IadeToplam, 0) AS IadeToplam FROM "
        "Vardiya V INNER JOIN Kullanici K ON K.KullaniciID = V.KullaniciID LEFT JOIN Sube S ON "
        "S.SubeID = V.SubeID LEFT JOIN (SELECT COUNT(*) AS FisSayisi, ISNULL(SUM(CASE WHEN "
        "ISNULL(F.FisDurumu, 'AKTIF') = 'AKTIF' THEN F.GenelToplam ELSE 0 END), 0) AS "
        "AktifToplam, ABS(ISNULL(SUM(CASE WHEN ISNULL(F.FisDurumu, 'AKTIF') = 'IADE' THEN "
        "F.GenelToplam ELSE 0 END), 0)) AS IadeToplam FROM SatisFis F WHERE F.VardiyaID = "
        ":VardiyaID AND +F.SubeID = :SubeID) FS ON 1 = 1 WHERE V.VardiyaID = :VardiyaID AND "
        "V.SubeID = :SubeID")});

QString DateOrDash(const QDateTime& time, const QString& format)
{
    return time.isValid() ? time.toString(format) : QStringLiteral("-");
}

QString TimeOrDash(const QDateTime& time)
{
    return time.isValid() ? TReportText::DateTime(time) : QStringLiteral("-");
}

QDateTime TimeField(const TDbQuery& q, const char* field)
{
    return TReportText::StoredTime(q.Value(QString::fromLatin1(field)));
}
} // namespace

QStringList TPastShiftRow::Cells() const
{
    const QString date = QStringLiteral("dd.MM.yyyy");
    const QString time = QStringLiteral("HH:mm:ss");
    return {QString::number(VardiyaID),         DateOrDash(AcilisZamani, date),
            DateOrDash(AcilisZamani, time),     DateOrDash(KapanisZamani, date),
            DateOrDash(KapanisZamani, time),    Kasiyer,
            StatusDisplay(VardiyaDurumu, true), QString::number(FisSayisi),
            TReportText::Money(AcilisTutar),    TReportText::Money(NetCiro)};
}

QList<TPastShiftRow> TPastShiftReports::LoadShifts(int SubeID, const QDate& Start, const QDate& End)
{
    const SqlDialect& dialect = dmMain->Dialect();
    TDbQuery q(kShiftsSql);
    q.Param(QStringLiteral("SubeID"), SubeID)
        .Param(QStringLiteral("StartDate"), dialect.TimeValue(QDateTime(Start, QTime(0, 0))))
        .Param(QStringLiteral("EndDate"), dialect.TimeValue(QDateTime(End.addDays(1), QTime(0, 0))))
        .Exec();
    QList<TPastShiftRow> rows;
    while (q.Next()) {
        TPastShiftRow r;
        r.VardiyaID = q.Value(QStringLiteral("VardiyaID")).toInt();
        r.AcilisZamani = TimeField(q, "AcilisZamani");
        r.KapanisZamani = TimeField(q, "KapanisZamani");
        r.VardiyaDurumu = q.Value(QStringLiteral("VardiyaDurumu")).toString();
        r.Kasiyer = q.Value(QStringLiteral("Kasiyer")).toString();
        r.AcilisTutar = FieldToFloatDef(q, QStringLiteral("AcilisTutar"), 0);
        r.FisSayisi = q.Value(QStringLiteral("FisSayisi")).toInt();
        r.NetCiro = FieldToFloatDef(q, QStringLiteral("NetCiro"), 0);
        rows << r;
    }
    return rows;
}

std::optional<TPastShiftTotals> TPastShiftReports::LoadShiftTotals(int VardiyaID, int SubeID)
{
    if (VardiyaID <= 0)
        return std::nullopt;
    TDbQuery q(kTotalsSql);
    q.Param(QStringLiteral("VardiyaID"), VardiyaID).Param(QStringLiteral("SubeID"), SubeID).Exec();
    if (!q.Next())
        return std::nullopt;
    TPastShiftTotals t;
    t.FisSayisi = q.Value(QStringLiteral("FisSayisi")).toInt();
    t.Nakit = FieldToFloatDef(q, QStringLiteral("NakitToplam"), 0);
    t.Kart = FieldToFloatDef(q, QStringLiteral("KartToplam"), 0);
    t.Iade = FieldToFloatDef(q, QStringLiteral("IadeToplam"), 0);
    return t;
}

QList<TReportReceipt> TPastShiftReports::LoadReceipts(int VardiyaID, int SubeID)
{
    QList<TReportReceipt> receipts;
    TDbQuery q(kReceiptsSql);
    q.Param(QStringLiteral("VardiyaID"), VardiyaID).Param(QStringLiteral("SubeID"), SubeID).Exec();
    while (q.Next())
        receipts << TReportReceipt::FromQuery(q);
    return receipts;
}

TShiftListingHead TPastShiftReports::LoadListingHead(int VardiyaID, int SubeID)
{
    TDbQuery q(kListingHeadSql);
    q.Param(QStringLiteral("VardiyaID"), VardiyaID).Param(QStringLiteral("SubeID"), SubeID).Exec();
    if (!q.Next())
        throw ERefusal(QStringLiteral("Vardiya bulunamadı."));
    TShiftListingHead h;
    h.VardiyaID = q.Value(QStringLiteral("VardiyaID")).toInt();
    h.SubeAdi = q.Value(QStringLiteral("SubeAdi")).toString();
    h.Kasiyer = q.Value(QStringLiteral("Kasiyer")).toString();
    h.AcilisZamani = TimeField(q, "AcilisZamani");
    h.KapanisZamani = TimeField(q, "KapanisZamani");
    h.VardiyaDurumu = q.Value(QStringLiteral("VardiyaDurumu")).toString();
    h.AcilisTutar = FieldToFloatDef(q, QStringLiteral("AcilisTutar"), 0);
    h.KapanisTutar = FieldToFloatDef(q, QStringLiteral("KapanisTutar"), 0);
    h.FisSayisi = q.Value(QStringLiteral("FisSayisi")).toInt();
    h.AktifToplam = FieldToFloatDef(q, QStringLiteral("AktifToplam"), 0);
    h.IadeToplam = FieldToFloatDef(q, QStringLiteral("IadeToplam"), 0);
    return h;
}

QStringList TPastShiftReports::BuildShiftListing(const TShiftListingHead& Head,
                                                 const QList<TReportReceipt>& Receipts,
                                                 const QDateTime& ReportTime)
{
    QStringList lines;
    lines.reserve(int(Receipts.size()) + 20);
    lines << QStringLiteral("KIRVELO - GEÇMİŞ VARDİYA DÖKÜMÜ") << TReportText::DoubleRule()
          << QStringLiteral("Vardiya  : ") + QString::number(Head.VardiyaID)
          << QStringLiteral("Şube     : ") + Head.SubeAdi
          << QStringLiteral("Kasiyer  : ") + Head.Kasiyer
          << QStringLiteral("Açılış   : ") + TimeOrDash(Head.AcilisZamani)
          << QStringLiteral("Kapanış  : ") + TimeOrDash(Head.KapanisZamani)
          << QStringLiteral("Durum    : ") + StatusDisplay(Head.VardiyaDurumu, true)
          << QStringLiteral("Rapor    : ") + TReportText::DateTime(ReportTime)
          << TReportText::SingleRule()
          << TReportText::Cells(
                 {{QStringLiteral("Fiş Sayısı : ") + QString::number(Head.FisSayisi), 32},
                  {QStringLiteral("Açılış Tutarı : ") + TReportText::Money(Head.AcilisTutar), 42},
                  {QStringLiteral("Kapanış Tutarı : ") + TReportText::Money(Head.KapanisTutar),
                   42}})
          << TReportText::Cells(
                 {{QStringLiteral("Satış Toplamı : ") + TReportText::Money(Head.AktifToplam), 38},
                  {QStringLiteral("İade Toplamı : ") + TReportText::Money(Head.IadeToplam), 38},
                  {QStringLiteral("Net Ciro : ") +
                       TReportText::Money(Head.AktifToplam - Head.IadeToplam),
                   38}})
          << TReportText::DoubleRule() << TReceiptListText::HeaderLine()
          << TReportText::SingleRule();
    for (const TReportReceipt& receipt : Receipts)
        lines << TReceiptListText::Lines(receipt);
    if (Receipts.isEmpty())
        lines << QStringLiteral("Bu vardiyada satış bulunamadı.");
    lines << TReportText::DoubleRule()
          << QStringLiteral("Toplam kayıt: ") + QString::number(Receipts.size());
    return lines;
}

QStringList TPastShiftReports::BuildShiftListing(int VardiyaID, int SubeID,
                                                 const QDateTime& ReportTime)
{
    // The head's statement is finished before the receipts are asked for (a SQL Server
    // connection without multiple active result sets refuses a second open one).
    const TShiftListingHead head = LoadListingHead(VardiyaID, SubeID);
    return BuildShiftListing(head, LoadReceipts(VardiyaID, SubeID), ReportTime);
}
