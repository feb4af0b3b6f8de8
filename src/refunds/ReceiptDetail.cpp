#include "refunds/ReceiptDetail.h"

#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/POSTextUtils.h"
#include "printing/PrintService.h"

#include <cmath>

namespace {
const QString kNotFound = QStringLiteral("Fiş bulunamadı.");
}

TReceiptDetail TReceiptDetail::Load(int FisID)
{
    TDbQuery header(QStringLiteral(
        "SELECT F.FisNo, F.Tarih, K.AdSoyad AS Kasiyer, F.OdemeTipi, F.FisDurumu,        "
        "ISNULL(F.AraToplam,0) AS AraToplam, ISNULL(F.ToplamKDV,0) AS ToplamKDV,        "
        "ISNULL(F.Indirim,0) AS Indirim, ISNULL(F.GenelToplam,0) AS GenelToplam FROM SatisFis F "
        "INNER JOIN Kullanici K ON K.KullaniciID = F.KullaniciID WHERE F.FisID = :FisID"));
    header.Param(QStringLiteral("FisID"), FisID).Exec();
    if (!header.Next())
        throw ERefusal(kNotFound);
    TReceiptDetail detail;
    detail.FisID = FisID;
    detail.FisNo = header.Value(QStringLiteral("FisNo")).toString();
    detail.Tarih = VariantToDateTime(header.Value(QStringLiteral("Tarih")))
                       .toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
    detail.Kasiyer = header.Value(QStringLiteral("Kasiyer")).toString();
    detail.OdemeTipi =
        PaymentTypeDisplay(header.Value(QStringLiteral("OdemeTipi")).toString(), false);
    detail.FisDurumu = StatusDisplay(header.Value(QStringLiteral("FisDurumu")).toString(), false);
    detail.AraToplam = FieldToFloatDef(header, QStringLiteral("AraToplam"), 0);
    detail.ToplamKDV = FieldToFloatDef(header, QStringLiteral("ToplamKDV"), 0);
    detail.Indirim = FieldToFloatDef(header, QStringLiteral("Indirim"), 0);
    detail.GenelToplam = FieldToFloatDef(header, QStringLiteral("GenelToplam"), 0);

    TDbQuery lines(QStringLiteral(
        "SELECT SiraNo, StokAdi, Miktar, Birim, BirimFiyat, KDVTutari, IndirimTutari, SatirToplam "
        "FROM SatisFisSatir WHERE FisID = :FisID ORDER BY SiraNo"));
    lines.Param(QStringLiteral("FisID"), FisID).Exec();
    while (lines.Next()) {
        TReceiptDetailLine line;
        line.SiraNo = lines.Value(QStringLiteral("SiraNo")).toInt();
        line.StokAdi = lines.Value(QStringLiteral("StokAdi")).toString();
        line.Miktar = FieldToFloatDef(lines, QStringLiteral("Miktar"), 0);
        line.Birim = lines.Value(QStringLiteral("Birim")).toString();
        line.BirimFiyat = FieldToFloatDef(lines, QStringLiteral("BirimFiyat"), 0);
        line.KDVTutari = FieldToFloatDef(lines, QStringLiteral("KDVTutari"), 0);
        line.IndirimTutari = FieldToFloatDef(lines, QStringLiteral("IndirimTutari"), 0);
        line.SatirToplam = FieldToFloatDef(lines, QStringLiteral("SatirToplam"), 0);
        detail.Lines << line;
    }
    return detail;
}

QList<int> TReceiptDetail::ColumnWidths(int Available)
{
    if (Available <= 0)
        return {};
    QList<int> widths;
    int used = 0;
    for (const int weight : {50, 320, 92, 74, 112, 96, 104}) {
        widths << int(std::lround(double(weight) * Available / 980));
        used += widths.last();
    }
    widths << qMax(0, Available - used);
    return widths;
}

QStringList TReceiptPrinting::BuildText(int FisID, QString& FisNo)
{
    QStringList lines;
    if (!TPrintService::BuildSaleReceipt(FisID, lines, FisNo))
        throw ERefusal(kNotFound);
    return lines;
}

TReceiptPrint TReceiptPrinting::Print(const QString& FisNo, const QStringList& Lines)
{
    try {
        TPrintService::SaveSaleReceipt(FisNo, Lines);
        const bool printed =
            TPrintService::PrintReceiptLines(Lines, QStringLiteral("KIRVELO ") + FisNo);
        return {printed ? TPrintOutcome::Printed : TPrintOutcome::Cancelled, {}};
    } catch (const std::exception& e) {
        return {TPrintOutcome::Failed, ErrorMessage(e)};
    }
}
