#include "reports/OpenShiftSales.h"

#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/POSTextUtils.h"

namespace {
const QString kShiftSql = QStringLiteral(
    "SELECT   V.VardiyaID, V.AcilisZamani, K.AdSoyad AS Kasiyer,   ISNULL((SELECT COUNT(*) FROM "
    "SatisFis F0 WHERE F0.VardiyaID = V.VardiyaID), 0) AS FisSayisi,   ISNULL((SELECT "
    "SUM(O1.Tutar) FROM SatisOdeme O1 INNER JOIN SatisFis F1 ON O1.FisID = F1.FisID           "
    "WHERE F1.VardiyaID = V.VardiyaID AND F1.FisDurumu = 'AKTIF' AND UPPER(O1.OdemeTipi) = "
    "'NAKIT'), 0) +   ISNULL((SELECT SUM(FN.GenelToplam) FROM SatisFis FN           WHERE "
    "FN.VardiyaID = V.VardiyaID AND FN.FisDurumu = 'AKTIF' AND UPPER(ISNULL(FN.OdemeTipi, '')) = "
    "'NAKIT'             AND NOT EXISTS (SELECT 1 FROM SatisOdeme OO WHERE OO.FisID = "
    "FN.FisID)), 0) AS BrutNakit,   ISNULL((SELECT SUM(O2.Tutar) FROM SatisOdeme O2 INNER JOIN "
    "SatisFis F2 ON O2.FisID = F2.FisID           WHERE F2.VardiyaID = V.VardiyaID AND "
    "F2.FisDurumu = 'AKTIF' AND UPPER(O2.OdemeTipi) = 'KART'), 0) +   ISNULL((SELECT "
    "SUM(FK.GenelToplam) FROM SatisFis FK           WHERE FK.VardiyaID = V.VardiyaID AND "
    "FK.FisDurumu = 'AKTIF' AND UPPER(ISNULL(FK.OdemeTipi, '')) = 'KART'             AND NOT "
    "EXISTS (SELECT 1 FROM SatisOdeme OO2 WHERE OO2.FisID = FK.FisID)), 0) AS BrutKart,   "
    "ISNULL((SELECT ABS(SUM(FI.GenelToplam)) FROM SatisFis FI WHERE FI.VardiyaID = V.VardiyaID "
    "AND FI.FisDurumu = 'IADE'), 0) AS IadeToplam FROM Vardiya V INNER JOIN Kullanici K ON "
    "K.KullaniciID = V.KullaniciID WHERE V.VardiyaID = :VardiyaID");

// The window's grid reads the receipt id too; the report ignores it.
const QString kReceiptsSql = QStringLiteral(
    "SELECT   F.FisID, F.FisNo, F.Tarih, F.OdemeTipi, F.FisDurumu,   ISNULL(F.AraToplam, 0) AS "
    "AraToplam, ISNULL(F.ToplamKDV, 0) AS ToplamKDV,   ISNULL(F.Indirim, 0) AS Indirim, "
    "ISNULL(F.GenelToplam, 0) AS GenelToplam,   ISNULL((SELECT SUM(ABS(S.Miktar)) FROM "
    "SatisFisSatir S WHERE S.FisID = F.FisID), 0) AS UrunAdedi FROM SatisFis F WHERE F.VardiyaID "
    "= :VardiyaID ORDER BY F.Tarih ASC, F.FisID ASC");

QString L(const QString& text, int width)
{
    return TReportText::PadRight(text, width);
}
} // namespace

TOpenShiftData TOpenShiftSales::LoadShift(int VardiyaID)
{
    TDbQuery q(kShiftSql);
    q.Param(QStringLiteral("VardiyaID"), VardiyaID).Exec();
    if (!q.Next())
        throw ERefusal(QStringLiteral("Vardiya bulunamadı."));
    TOpenShiftData d;
    d.VardiyaID = q.Value(QStringLiteral("VardiyaID")).toInt();
    d.AcilisZamani = TReportText::StoredTime(q.Value(QStringLiteral("AcilisZamani")));
    d.Kasiyer = q.Value(QStringLiteral("Kasiyer")).toString();
    d.FisSayisi = q.Value(QStringLiteral("FisSayisi")).toInt();
    d.BrutNakit = FieldToFloatDef(q, QStringLiteral("BrutNakit"), 0);
    d.BrutKart = FieldToFloatDef(q, QStringLiteral("BrutKart"), 0);
    d.IadeToplam = FieldToFloatDef(q, QStringLiteral("IadeToplam"), 0);
    return d;
}

QList<TReportReceipt> TOpenShiftSales::LoadReceipts(int VardiyaID)
{
    QList<TReportReceipt> receipts;
    TDbQuery q(kReceiptsSql);
    q.Param(QStringLiteral("VardiyaID"), VardiyaID).Exec();
    while (q.Next())
        receipts << TReportReceipt::FromQuery(q);
    return receipts;
}

QStringList TOpenShiftSales::BuildReport(const TOpenShiftData& Shift,
                                         const QList<TReportReceipt>& Receipts,
                                         const QDateTime& ReportTime)
{
    QStringList lines;
    lines.reserve(int(Receipts.size()) + 16);
    lines << QStringLiteral("KIRVELO - AÇIK VARDİYA SATIŞ RAPORU") << TReportText::DoubleRule()
          << QStringLiteral("Vardiya : ") + QString::number(Shift.VardiyaID)
          << QStringLiteral("Kasiyer : ") + Shift.Kasiyer
          << QStringLiteral("Açılış : ") + TReportText::DateTime(Shift.AcilisZamani)
          << QStringLiteral("Rapor  : ") + TReportText::DateTime(ReportTime)
          << TReportText::SingleRule()
          << TReportText::Cells(
                 {{QStringLiteral("Fiş Sayısı : ") + QString::number(Shift.FisSayisi), 38},
                  {QStringLiteral("Nakit Satış : ") + TReportText::Money(Shift.BrutNakit), 38}})
          << TReportText::Cells(
                 {{QStringLiteral("Kart Satış : ") + TReportText::Money(Shift.BrutKart), 38},
                  {QStringLiteral("İade Toplamı : ") + TReportText::Money(Shift.IadeToplam), 38}})
          << L(QStringLiteral("Net Ciro"), 18) + QStringLiteral(": ") +
                 TReportText::Money(Shift.NetCiro())
          << TReportText::DoubleRule() << TReceiptListText::HeaderLine()
          << TReportText::SingleRule();
    for (const TReportReceipt& receipt : Receipts)
        lines << TReceiptListText::Lines(receipt);
    if (Receipts.isEmpty())
        lines << QStringLiteral("Bu açık vardiyada henüz satış yok.");
    lines << TReportText::DoubleRule()
          << QStringLiteral("Toplam kayıt: ") + QString::number(Receipts.size());
    return lines;
}
