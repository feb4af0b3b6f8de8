#include "shifts/ZReport.h"

#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/POSTextUtils.h"

namespace {
// Both statements run on SQLite as the dialect rewrites them (ISNULL becomes IFNULL); every
// other construct they use means the same on both engines.
const SqlText kShiftSql{
    QStringLiteral(
        "SELECT   V.VardiyaID, V.AcilisZamani, V.KapanisZamani, V.AcilisTutar,   V.KapanisTutar, "
        "V.VardiyaDurumu, K.AdSoyad AS Kasiyer,   ISNULL((SELECT COUNT(*) FROM SatisFis "
        "F0 WHERE F0.VardiyaID = V.VardiyaID AND F0.FisDurumu = 'AKTIF'), 0) AS AktifFis,   "
        "ISNULL((SELECT COUNT(*) FROM SatisFis F0 WHERE F0.VardiyaID = V.VardiyaID "
        "AND F0.FisDurumu = 'IADE'), 0) AS IadeFis,   ISNULL((SELECT COUNT(DISTINCT "
        "F1.FisID) FROM SatisFis F1 LEFT JOIN SatisOdeme O1 ON O1.FisID = F1.FisID           "
        "WHERE F1.VardiyaID = V.VardiyaID AND F1.FisDurumu = 'AKTIF' AND "
        "UPPER(ISNULL(O1.OdemeTipi, "
        "F1.OdemeTipi)) = 'NAKIT'), 0) AS NakitAdet,   ISNULL((SELECT COUNT(DISTINCT "
        "F2.FisID) FROM SatisFis F2 LEFT JOIN SatisOdeme O2 ON O2.FisID = F2.FisID           "
        "WHERE F2.VardiyaID = V.VardiyaID AND F2.FisDurumu = 'AKTIF' AND "
        "UPPER(ISNULL(O2.OdemeTipi, "
        "F2.OdemeTipi)) = 'KART'), 0) AS KartAdet,   ISNULL((SELECT SUM(O3.Tutar) FROM "
        "SatisOdeme O3 INNER JOIN SatisFis F3 ON O3.FisID = F3.FisID           WHERE "
        "F3.VardiyaID = V.VardiyaID AND F3.FisDurumu = 'AKTIF' AND UPPER(O3.OdemeTipi) "
        "= 'NAKIT'), 0) +   ISNULL((SELECT SUM(FN.GenelToplam) FROM SatisFis FN           "
        "WHERE FN.VardiyaID = V.VardiyaID AND FN.FisDurumu = 'AKTIF' AND "
        "UPPER(ISNULL(FN.OdemeTipi, "
        "'')) = 'NAKIT'             AND NOT EXISTS (SELECT 1 FROM SatisOdeme OO WHERE "
        "OO.FisID = FN.FisID)), 0) AS BrutNakit,   ISNULL((SELECT SUM(O4.Tutar) FROM "
        "SatisOdeme O4 INNER JOIN SatisFis F4 ON O4.FisID = F4.FisID           WHERE "
        "F4.VardiyaID = V.VardiyaID AND F4.FisDurumu = 'AKTIF' AND UPPER(O4.OdemeTipi) "
        "= 'KART'), 0) +   ISNULL((SELECT SUM(FK.GenelToplam) FROM SatisFis FK           "
        "WHERE FK.VardiyaID = V.VardiyaID AND FK.FisDurumu = 'AKTIF' AND "
        "UPPER(ISNULL(FK.OdemeTipi, "
        "'')) = 'KART'             AND NOT EXISTS (SELECT 1 FROM SatisOdeme OO2 WHERE "
        "OO2.FisID = FK.FisID)), 0) AS BrutKart,   ISNULL((SELECT ABS(SUM(O5.Tutar)) "
        "FROM SatisOdeme O5 INNER JOIN SatisFis F5 ON O5.FisID = F5.FisID           "
        "WHERE F5.VardiyaID = V.VardiyaID AND F5.FisDurumu = 'IADE' AND UPPER(O5.OdemeTipi) "
        "= 'NAKIT'), 0) +   ISNULL((SELECT ABS(SUM(FI.GenelToplam)) FROM SatisFis FI           "
        "WHERE FI.VardiyaID = V.VardiyaID AND FI.FisDurumu = 'IADE' AND UPPER(ISNULL(FI.OdemeTipi, "
        "'')) = 'NAKIT'             AND NOT EXISTS (SELECT 1 FROM SatisOdeme OO3 WHERE "
        "OO3.FisID = FI.FisID)), 0) AS IadeNakit,   ISNULL((SELECT ABS(SUM(F6.GenelToplam)) "
        "FROM SatisFis F6 WHERE F6.VardiyaID = V.VardiyaID AND F6.FisDurumu = 'IADE'), "
        "0) AS IadeToplam FROM Vardiya V INNER JOIN Kullanici K ON K.KullaniciID = "
        "V.KullaniciID WHERE V.VardiyaID = :VardiyaID"),
    {}};

const SqlText kReceiptsSql{
    QStringLiteral(
        "SELECT F.FisNo, F.Tarih, F.OdemeTipi, F.FisDurumu,        ISNULL(F.AraToplam, "
        "0) AS AraToplam, ISNULL(F.ToplamKDV, 0) AS ToplamKDV,        ISNULL(F.Indirim, "
        "0) AS Indirim, ISNULL(F.GenelToplam, 0) AS GenelToplam,        ISNULL((SELECT "
        "SUM(ABS(S.Miktar)) FROM SatisFisSatir S WHERE S.FisID = F.FisID), 0) AS UrunAdedi "
        "FROM SatisFis F WHERE F.VardiyaID = :VardiyaID ORDER BY F.Tarih ASC, F.FisID "
        "ASC"),
    {}};

QString Label(const QString& text)
{
    return TReportText::PadRight(text, 24) + QStringLiteral(": ");
}

QString MoneyLine(const QString& label, double value)
{
    return Label(label) + TReportText::AmountColumn(TReportText::Money(value), 18);
}

QString CountLine(const QString& label, int value)
{
    return Label(label) + QString::number(value);
}

void AddSummaryLines(QStringList& lines, const TZReportData& data, const QDateTime& reportTime)
{
    const TShiftFigures& f = data.Figures;
    lines << QStringLiteral("KIRVELO - Z RAPORU") << TReportText::DoubleRule()
          << QStringLiteral("Vardiya ID       : ") + QString::number(data.VardiyaID)
          << QStringLiteral("Kasiyer          : ") + data.Kasiyer
          << QStringLiteral("Durum            : ") + data.DurumText()
          << QStringLiteral("Açılış Zamanı    : ") + TReportText::DateTime(data.AcilisZamani)
          << QStringLiteral("Kapanış Zamanı   : ") + data.KapanisText()
          << QStringLiteral("Rapor Zamanı     : ") + TReportText::DateTime(reportTime)
          << TReportText::SingleRule() << QStringLiteral("FİŞ ÖZETİ")
          << CountLine(QStringLiteral("Toplam Aktif Fiş"), f.AktifFis)
          << CountLine(QStringLiteral("İade Fiş"), f.IadeFis)
          << CountLine(QStringLiteral("Nakit İşlem"), f.NakitAdet)
          << CountLine(QStringLiteral("Kart İşlem"), f.KartAdet) << TReportText::SingleRule()
          << QStringLiteral("SATIŞ VE İADE ÖZETİ")
          << MoneyLine(QStringLiteral("Nakit Satış"), f.BrutNakit)
          << MoneyLine(QStringLiteral("Kredi Kartı Satış"), f.BrutKart)
          << MoneyLine(QStringLiteral("İade Nakit"), f.IadeNakit)
          << MoneyLine(QStringLiteral("İade Toplamı"), f.IadeToplam)
          << MoneyLine(QStringLiteral("Net Ciro"), f.NetCiro()) << TReportText::SingleRule()
          << QStringLiteral("KASA DURUMU")
          << MoneyLine(QStringLiteral("Açılış Tutarı"), f.AcilisTutar)
          << MoneyLine(QStringLiteral("Kasada Olması Gereken"), f.KasadaOlmasiGereken())
          << MoneyLine(QStringLiteral("Gerçekleşen Sayım"), f.KapanisTutar)
          << MoneyLine(QStringLiteral("Kasa Farkı"), f.KasaFarki()) << TReportText::DoubleRule();
}

void AddReceiptList(QStringList& lines, const QList<TReportReceipt>& receipts)
{
    lines << QStringLiteral("FİŞ LİSTESİ") << TReceiptListText::HeaderLine()
          << TReportText::SingleRule();
    for (const TReportReceipt& receipt : receipts)
        lines << TReceiptListText::Lines(receipt);
    if (receipts.isEmpty())
        lines << QStringLiteral("Bu vardiyada fiş kaydı bulunamadı.");
    lines << TReportText::DoubleRule()
          << QStringLiteral("Toplam kayıt: ") + QString::number(receipts.size());
}
} // namespace

QString TZReportData::DurumText() const
{
    return StatusDisplay(VardiyaDurumu, true);
}

QString TZReportData::KapanisText() const
{
    return Figures.Closed ? TReportText::DateTime(KapanisZamani)
                          : QStringLiteral("Henüz kapanmadı");
}

const SqlText& TZReport::ShiftSql()
{
    return kShiftSql;
}

const SqlText& TZReport::ReceiptsSql()
{
    return kReceiptsSql;
}

namespace {
void LoadShift(int vardiyaID, TZReportData& data)
{
    TDbQuery shift(kShiftSql);
    shift.Param(QStringLiteral("VardiyaID"), vardiyaID).Exec();
    if (!shift.Next())
        throw ERefusal(QStringLiteral("Vardiya bulunamadı."));
    data.VardiyaID = shift.Value(QStringLiteral("VardiyaID")).toInt();
    data.Kasiyer = shift.Value(QStringLiteral("Kasiyer")).toString();
    data.VardiyaDurumu = shift.Value(QStringLiteral("VardiyaDurumu")).toString();
    data.AcilisZamani = TReportText::StoredTime(shift.Value(QStringLiteral("AcilisZamani")));
    const QVariant closedAt = shift.Value(QStringLiteral("KapanisZamani"));
    data.KapanisZamani = TReportText::StoredTime(closedAt);
    data.Figures = TShiftFigures::FromQuery(shift);
    data.Figures.Closed = !closedAt.isNull();
}
} // namespace

TZReportData TZReport::Load(int VardiyaID)
{
    TZReportData data;
    // The shift's statement is finished before the receipts are asked for: a SQL Server
    // connection without multiple active result sets refuses a second statement while the
    // first one still has rows pending.
    LoadShift(VardiyaID, data);

    TDbQuery receipts(kReceiptsSql);
    receipts.Param(QStringLiteral("VardiyaID"), VardiyaID).Exec();
    while (receipts.Next())
        data.Receipts << TReportReceipt::FromQuery(receipts);
    return data;
}

QStringList TZReport::BuildReport(const TZReportData& Data, const QDateTime& ReportTime)
{
    QStringList lines;
    lines.reserve(int(Data.Receipts.size()) + 40);
    AddSummaryLines(lines, Data, ReportTime);
    AddReceiptList(lines, Data.Receipts);
    return lines;
}
