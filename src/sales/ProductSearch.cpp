#include "sales/ProductSearch.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/POSTextUtils.h"
#include "core/ProductIndex.h"
#include "core/SearchText.h"

#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>

namespace {
const QString kColumns = QStringLiteral(
    "S.StokID, ISNULL(S.Barkod, '') AS Barkod, ISNULL(S.StokKodu, '') AS StokKodu, S.StokAdi, "
    "S.Birim, CAST(S.SatisFiyati AS FLOAT) AS SatisFiyati, CAST(ISNULL(SS.MevcutStok, 0) AS "
    "FLOAT) AS MevcutStok FROM Stok S LEFT JOIN SubeStok SS ON SS.StokID = S.StokID AND "
    "SS.SubeID = :SubeID ");
const QString kSellable = QStringLiteral("WHERE S.IsActive = 1 AND ISNULL(S.IsDeleted, 0) = 0 ");

// SQLite compares the folded texts with a folded pattern; the ties of equal names keep one
// order on SQLite, where the server's own order of them is its business.
SqlText SearchStatement(bool filtered)
{
    const QString select = QStringLiteral("SELECT TOP 250 ") + kColumns + kSellable;
    if (!filtered)
        return {select + QStringLiteral("ORDER BY S.StokAdi"),
                select + QStringLiteral("ORDER BY S.StokAdi, S.StokID")};
    return {select + QStringLiteral("AND (S.StokAdi LIKE :F1 OR S.Barkod LIKE :F2 OR S.StokKodu "
                                    "LIKE :F3) ORDER BY S.StokAdi"),
            select + QStringLiteral("AND (TRFOLD(S.StokAdi) LIKE :F1 OR TRFOLD(S.Barkod) LIKE :F2 "
                                    "OR TRFOLD(S.StokKodu) LIKE :F3) ORDER BY S.StokAdi, "
                                    "S.StokID")};
}

// The rows of products already found, by their ids.
const SqlText kRowsByID{
    QStringLiteral("SELECT ") + kColumns +
        QStringLiteral("WHERE S.StokID IN (SELECT CAST(value AS INT) FROM OPENJSON(:Ids))"),
    QStringLiteral("SELECT ") + kColumns +
        QStringLiteral("WHERE S.StokID IN (SELECT value FROM json_each(:Ids))")};

TProductSearchRow ReadRow(const TDbQuery& query)
{
    TProductSearchRow row;
    row.StokID = query.Value(QStringLiteral("StokID")).toInt();
    row.Barkod = query.Value(QStringLiteral("Barkod")).toString();
    row.StokKodu = query.Value(QStringLiteral("StokKodu")).toString();
    row.StokAdi = query.Value(QStringLiteral("StokAdi")).toString();
    row.Birim = query.Value(QStringLiteral("Birim")).toString();
    row.SatisFiyati = FieldToFloatDef(query, QStringLiteral("SatisFiyati"), 0);
    row.MevcutStok = FieldToFloatDef(query, QStringLiteral("MevcutStok"), 0);
    return row;
}

QList<TProductSearchRow> RowsOf(const QList<int>& ids, int SubeID)
{
    QList<TProductSearchRow> rows;
    if (ids.isEmpty())
        return rows;
    QJsonArray array;
    for (const int id : ids)
        array.append(id);
    TDbQuery query(kRowsByID);
    query.Param(QStringLiteral("SubeID"), SubeID)
        .Param(QStringLiteral("Ids"),
               QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)))
        .Exec();
    QHash<int, TProductSearchRow> byID;
    while (query.Next()) {
        const TProductSearchRow row = ReadRow(query);
        byID.insert(row.StokID, row);
    }
    for (const int id : ids) {
        if (byID.contains(id))
            rows << byID.value(id);
    }
    return rows;
}
} // namespace

QList<TProductSearchRow> TProductSearch::Search(const QString& Filter, int SubeID)
{
    TProductIndex* index = dmMain ? dmMain->ProductIndex() : nullptr;
    if (!index)
        return SearchByStatement(Filter, SubeID);
    return RowsOf(index->FindProducts(SearchText::Fold(Filter.trimmed()), MaxRows), SubeID);
}

QList<TProductSearchRow> TProductSearch::SearchByStatement(const QString& Filter, int SubeID)
{
    const QString filter = Filter.trimmed();
    TDbQuery query(SearchStatement(!filter.isEmpty()));
    query.Param(QStringLiteral("SubeID"), SubeID);
    if (!filter.isEmpty()) {
        const QString value = StatementLikeValue(filter, dmMain->Dialect().IsSqlite());
        query.Param(QStringLiteral("F1"), value)
            .Param(QStringLiteral("F2"), value)
            .Param(QStringLiteral("F3"), value);
    }
    query.Exec();
    QList<TProductSearchRow> rows;
    while (query.Next())
        rows << ReadRow(query);
    return rows;
}

QString TProductSearch::StatementLikeValue(const QString& TrimmedFilter, bool Sqlite)
{
    if (Sqlite)
        return u'%' + SearchText::Fold(TrimmedFilter) + u'%';
    QString plain = TrimmedFilter;
    plain.replace(u'[', QStringLiteral("[[]"));
    return u'%' + plain + u'%';
}
