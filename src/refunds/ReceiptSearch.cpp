#include "refunds/ReceiptSearch.h"

#include "core/DbQuery.h"
#include "core/POSTextUtils.h"
#include "core/TurkishText.h"
#include "customers/CustomerList.h"

#include <cmath>

namespace {
// Status words compare as on the server: letter case and trailing blanks do not count.
const QString kNewestSql = QStringLiteral(
    "SELECT TOP 500 F.FisID, F.FisNo, F.Tarih, C.CariAdi AS Musteri, K.AdSoyad AS Kasiyer, "
    "ISNULL(F.GenelToplam, 0) AS GenelToplam, ISNULL(F.OdemeTipi, '') AS OdemeTipi, "
    "ISNULL(F.FisDurumu, 'AKTIF') AS FisDurumu FROM SatisFis F LEFT JOIN CariKart C ON C.CariID "
    "= F.MusteriID LEFT JOIN Kullanici K ON K.KullaniciID = F.KullaniciID WHERE F.SubeID = "
    ":SubeID AND UPPER(RTRIM(ISNULL(F.FisDurumu, 'AKTIF'))) = 'AKTIF' ORDER BY F.Tarih DESC, "
    "F.FisID DESC");
// The same receipts without a bound, read newest first until enough of them match.
const QString kAllSql = QStringLiteral(
    "SELECT F.FisID, F.FisNo, F.Tarih, C.CariAdi AS Musteri, K.AdSoyad AS Kasiyer, "
    "ISNULL(F.GenelToplam, 0) AS GenelToplam, ISNULL(F.OdemeTipi, '') AS OdemeTipi, "
    "ISNULL(F.FisDurumu, 'AKTIF') AS FisDurumu FROM SatisFis F LEFT JOIN CariKart C ON C.CariID "
    "= F.MusteriID LEFT JOIN Kullanici K ON K.KullaniciID = F.KullaniciID WHERE F.SubeID = "
    ":SubeID AND UPPER(RTRIM(ISNULL(F.FisDurumu, 'AKTIF'))) = 'AKTIF' ORDER BY F.Tarih DESC, "
    "F.FisID DESC");

bool Occurs(const QString& Text, const QString& Filter)
{
    return Text.contains(Filter, Qt::CaseInsensitive) || TurkishContains(Text, Filter);
}

QString OrDash(const QString& Text)
{
    const QString trimmed = Text.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("-") : trimmed;
}
} // namespace

QList<TReceiptRow> TReceiptSearch::LoadReceipts(const QString& Filter, int SubeID)
{
    TCustomerList::EnsureCariKartTable();
    const QString filter = Filter.trimmed();
    TDbQuery query(filter.isEmpty() ? kNewestSql : kAllSql);
    query.Param(QStringLiteral("SubeID"), SubeID).Exec();
    QList<TReceiptRow> rows;
    while (rows.size() < MaxRows && query.Next()) {
        TReceiptRow row;
        row.FisID = query.Value(QStringLiteral("FisID")).toInt();
        const QString fisNo = query.Value(QStringLiteral("FisNo")).toString().trimmed();
        row.FisNo = fisNo.isEmpty() ? QStringLiteral("FIS-%1").arg(row.FisID) : fisNo;
        const QString musteri = query.Value(QStringLiteral("Musteri")).toString();
        const QString kasiyer = query.Value(QStringLiteral("Kasiyer")).toString();
        if (!filter.isEmpty() && !Occurs(row.FisNo, filter) &&
            !Occurs(QString::number(row.FisID), filter) && !Occurs(musteri, filter) &&
            !Occurs(kasiyer, filter))
            continue;
        row.Tarih = VariantToDateTime(query.Value(QStringLiteral("Tarih")));
        row.Musteri = OrDash(musteri);
        row.Kasiyer = OrDash(kasiyer);
        row.GenelToplam = FieldToFloatDef(query, QStringLiteral("GenelToplam"), 0);
        row.OdemeTipi = query.Value(QStringLiteral("OdemeTipi")).toString();
        row.FisDurumu = query.Value(QStringLiteral("FisDurumu")).toString();
        rows << row;
    }
    return rows;
}

QList<int> TReceiptSearch::ColumnWidths(int Available)
{
    if (Available <= 0)
        return {};
    QList<int> widths{0};
    int used = 0;
    for (const int weight : {120, 150, 250, 160, 120, 100}) {
        widths << int(std::lround(double(weight) * Available / 990));
        used += widths.last();
    }
    widths << qMax(0, Available - used);
    return widths;
}
