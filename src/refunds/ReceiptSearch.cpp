#include "refunds/ReceiptSearch.h"

#include "core/DbQuery.h"
#include "core/POSTextUtils.h"
#include "core/SearchText.h"
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
// The same receipts where the filter occurs in the number as listed, the id's digits, the
// customer's or the cashier's name, matched by the database so that a filter that few receipts
// meet costs one pass there, not the branch's whole history shipped to the till. The typed text
// is a LIKE pattern with every special character escaped ("!" is the escape). SQL Server folds
// letter case by its collation; SQLite's LIKE folds only ASCII letters, so its text also compares
// the Turkish folding of both sides (TRFOLD and the folded pattern).
const SqlText kFilteredSql{
    QStringLiteral(
        "SELECT TOP 500 F.FisID, F.FisNo, F.Tarih, C.CariAdi AS Musteri, K.AdSoyad AS Kasiyer, "
        "ISNULL(F.GenelToplam, 0) AS GenelToplam, ISNULL(F.OdemeTipi, '') AS OdemeTipi, "
        "ISNULL(F.FisDurumu, 'AKTIF') AS FisDurumu FROM SatisFis F LEFT JOIN CariKart C ON "
        "C.CariID = F.MusteriID LEFT JOIN Kullanici K ON K.KullaniciID = F.KullaniciID WHERE "
        "F.SubeID = :SubeID AND UPPER(RTRIM(ISNULL(F.FisDurumu, 'AKTIF'))) = 'AKTIF' AND "
        "(ISNULL(NULLIF(RTRIM(F.FisNo), ''), 'FIS-' + CAST(F.FisID AS NVARCHAR(20))) LIKE :P1 "
        "ESCAPE '!' OR CAST(F.FisID AS NVARCHAR(20)) LIKE :P2 ESCAPE '!' OR ISNULL(C.CariAdi, "
        "'') LIKE :P3 ESCAPE '!' OR ISNULL(K.AdSoyad, '') LIKE :P4 ESCAPE '!') ORDER BY F.Tarih "
        "DESC, F.FisID DESC"),
    QStringLiteral(
        "SELECT F.FisID, F.FisNo, F.Tarih, C.CariAdi AS Musteri, K.AdSoyad AS Kasiyer, "
        "IFNULL(F.GenelToplam, 0) AS GenelToplam, IFNULL(F.OdemeTipi, '') AS OdemeTipi, "
        "IFNULL(F.FisDurumu, 'AKTIF') AS FisDurumu FROM SatisFis F LEFT JOIN CariKart C ON "
        "C.CariID = F.MusteriID LEFT JOIN Kullanici K ON K.KullaniciID = F.KullaniciID WHERE "
        "F.SubeID = :SubeID AND UPPER(RTRIM(IFNULL(F.FisDurumu, 'AKTIF'))) = 'AKTIF' AND "
        "(IFNULL(NULLIF(RTRIM(F.FisNo), ''), 'FIS-' || F.FisID) LIKE :P1 ESCAPE '!' OR "
        "CAST(F.FisID AS TEXT) LIKE :P2 ESCAPE '!' OR IFNULL(C.CariAdi, '') LIKE :P3 ESCAPE '!' "
        "OR IFNULL(K.AdSoyad, '') LIKE :P4 ESCAPE '!' OR TRFOLD(IFNULL(NULLIF(RTRIM(F.FisNo), "
        "''), 'FIS-' || F.FisID)) LIKE :T1 ESCAPE '!' OR TRFOLD(IFNULL(C.CariAdi, '')) LIKE :T2 "
        "ESCAPE '!' OR TRFOLD(IFNULL(K.AdSoyad, '')) LIKE :T3 ESCAPE '!') ORDER BY F.Tarih DESC, "
        "F.FisID DESC LIMIT 500")};

// "%" + the text with "!", "%", "_" and "[" escaped by "!" + "%".
QString ContainsPattern(const QString& text)
{
    QString pattern(u'%');
    for (const QChar c : text) {
        if (c == u'!' || c == u'%' || c == u'_' || c == u'[')
            pattern += u'!';
        pattern += c;
    }
    return pattern + u'%';
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
    TDbQuery query(filter.isEmpty() ? SqlText{kNewestSql, {}} : kFilteredSql);
    query.Param(QStringLiteral("SubeID"), SubeID);
    if (!filter.isEmpty()) {
        const QString plain = ContainsPattern(filter);
        const QString folded = ContainsPattern(SearchText::Fold(filter));
        for (const char* name : {"P1", "P2", "P3", "P4"})
            query.Param(QString::fromLatin1(name), plain);
        for (const char* name : {"T1", "T2", "T3"})
            query.Param(QString::fromLatin1(name), folded);
    }
    query.Exec();
    QList<TReceiptRow> rows;
    while (rows.size() < MaxRows && query.Next()) {
        TReceiptRow row;
        row.FisID = query.Value(QStringLiteral("FisID")).toInt();
        const QString fisNo = query.Value(QStringLiteral("FisNo")).toString().trimmed();
        row.FisNo = fisNo.isEmpty() ? QStringLiteral("FIS-%1").arg(row.FisID) : fisNo;
        row.Tarih = VariantToDateTime(query.Value(QStringLiteral("Tarih")));
        row.Musteri = OrDash(query.Value(QStringLiteral("Musteri")).toString());
        row.Kasiyer = OrDash(query.Value(QStringLiteral("Kasiyer")).toString());
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
