#include "sales/ProductSearch.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/OwnedSchema.h"
#include "core/POSTextUtils.h"
#include "core/SearchText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {
// How the two engines spell what the search statements share. SQLite compares the folded
// texts with a folded pattern (TRFOLD); SQL Server's Turkish case-insensitive collation folds
// letter case by itself. The ties of equal names keep one order on SQLite, where the server's
// own order of them is its business.
struct TSpelling {
    explicit TSpelling(const SqlDialect& dialect)
        : Sqlite(dialect.IsSqlite())
        , Dialect(dialect)
    {
    }

    QString IsNull() const { return Sqlite ? QStringLiteral("IFNULL") : QStringLiteral("ISNULL"); }
    QString Columns() const
    {
        return QStringLiteral("S.StokID, %1(S.Barkod, '') AS Barkod, %1(S.StokKodu, '') AS "
                              "StokKodu, S.StokAdi, S.Birim, CAST(S.SatisFiyati AS FLOAT) AS "
                              "SatisFiyati, CAST(%1(SS.MevcutStok, 0) AS FLOAT) AS MevcutStok "
                              "FROM Stok S LEFT JOIN SubeStok SS ON SS.StokID = S.StokID AND "
                              "SS.SubeID = :SubeID ")
            .arg(IsNull());
    }
    QString Sellable() const
    {
        return QStringLiteral("S.IsActive = 1 AND %1(S.IsDeleted, 0) = 0").arg(IsNull());
    }
    QString NameOrder() const
    {
        return Sqlite ? QStringLiteral("S.StokAdi, S.StokID") : QStringLiteral("S.StokAdi");
    }
    // The statement's own test of a product, with the LIKE values :F<first>.. :F<first + 2>.
    QString Matches(int first) const
    {
        const QString open = Sqlite ? QStringLiteral("TRFOLD(") : QString();
        const QString close = Sqlite ? QStringLiteral(")") : QString();
        return Sellable() +
               QStringLiteral(" AND (%1S.StokAdi%2 LIKE :F%3 OR %1S.Barkod%2 LIKE :F%4 OR "
                              "%1S.StokKodu%2 LIKE :F%5)")
                   .arg(open, close)
                   .arg(first)
                   .arg(first + 1)
                   .arg(first + 2);
    }
    // The products whose key the triggers do not keep yet, read as they are: those after the
    // fill's mark in the order of the names, none once the key is complete.
    QString Unkeyed() const
    {
        const QString mark = QStringLiteral("(SELECT %1 FROM AramaDurum WHERE Tablo = 'Stok')");
        return QStringLiteral("S.StokAdi >= %1 AND (S.StokAdi > %1 OR S.StokID > %2)")
            .arg(mark.arg(QStringLiteral("DoluAd")), mark.arg(QStringLiteral("DoluID")));
    }

    bool Sqlite;
    const SqlDialect& Dialect;
};

QString Top(const TSpelling& s, int n)
{
    return s.Dialect.Top(n);
}

QString Limit(const TSpelling& s, int n)
{
    return s.Dialect.Limit(n);
}

// The plain statement: every product read and tested, in the order of the names.
QString PlainText(const TSpelling& s, bool filtered)
{
    return QStringLiteral("SELECT ") + Top(s, 250) + s.Columns() + QStringLiteral("WHERE ") +
           (filtered ? s.Matches(1) : s.Sellable()) + QStringLiteral(" ORDER BY ") + s.NameOrder() +
           Limit(s, 250);
}

// A term with three-letter pieces (:Parcalar, a JSON array of {"n": number, "b": where it
// starts, "p": piece}). Its rarest piece by StokParcaAdet is read in the order of the names
// (Kova), each candidate tested for the two rarest pieces that overlap neither it nor each
// other and by the statement's own test, until 250 match (M). Products whose names begin as
// the last of those does may still sort before it by their whole names: they are read too (T),
// and so are the products the key does not hold yet (U). The first 250 of them all by name are
// the plain statement's rows.
QString PieceText(const TSpelling& s)
{
    const QString pieces =
        s.Sqlite ? QStringLiteral("SELECT json_extract(value, '$.n') AS No, json_extract(value, "
                                  "'$.b') AS Bas, json_extract(value, '$.p') AS Parca FROM "
                                  "json_each(:Parcalar)")
                 : QStringLiteral("SELECT No, Bas, Parca FROM OPENJSON(:Parcalar) WITH (No INT "
                                  "'$.n', Bas INT '$.b', Parca NVARCHAR(3) '$.p')");
    // SQLite is told to read the pieces first: its planner would rather walk the catalogue in
    // name order.
    const QString join = s.Sqlite ? QStringLiteral("CROSS JOIN") : QStringLiteral("JOIN");
    const QString probes = QStringLiteral(
        "NOT EXISTS (SELECT 1 FROM R2 WHERE NOT EXISTS (SELECT 1 FROM StokParca X WHERE X.Parca = "
        "R2.Parca AND X.Kova = P.Kova AND X.StokID = P.StokID)) AND NOT EXISTS (SELECT 1 FROM R3 "
        "WHERE NOT EXISTS (SELECT 1 FROM StokParca X WHERE X.Parca = R3.Parca AND X.Kova = "
        "P.Kova AND X.StokID = P.StokID))");
    const QString rarest = QStringLiteral("SELECT %1A.Bas, A.Parca FROM A%2 ORDER BY A.Adet, "
                                          "A.No%3");
    return QStringLiteral("WITH Q AS (%1), A AS (SELECT Q.No, Q.Bas, Q.Parca, %2(C.Adet, 0) AS "
                          "Adet FROM Q LEFT JOIN StokParcaAdet C ON C.Parca = Q.Parca), ")
               .arg(pieces, s.IsNull()) +
           QStringLiteral("R1 AS (%1), R2 AS (%2), R3 AS (%3), ")
               .arg(rarest.arg(Top(s, 1), QString(), Limit(s, 1)),
                    rarest.arg(Top(s, 1),
                               QStringLiteral(" CROSS JOIN R1 WHERE ABS(A.Bas - R1.Bas) >= 3"),
                               Limit(s, 1)),
                    rarest.arg(Top(s, 1),
                               QStringLiteral(" CROSS JOIN R1 CROSS JOIN R2 WHERE ABS(A.Bas - "
                                              "R1.Bas) >= 3 AND ABS(A.Bas - R2.Bas) >= 3"),
                               Limit(s, 1))) +
           QStringLiteral("M AS (SELECT %1P.Kova, P.StokID FROM StokParca P %2 Stok S ON "
                          "S.StokID = P.StokID WHERE P.Parca = (SELECT Parca FROM R1) AND %3 AND "
                          "%4 ORDER BY P.Kova, P.StokID%5), ")
               .arg(Top(s, 250), join, probes, s.Matches(1), Limit(s, 250)) +
           QStringLiteral("T AS (SELECT P.StokID FROM StokParca P %1 Stok S ON S.StokID = "
                          "P.StokID WHERE P.Parca = (SELECT Parca FROM R1) AND P.Kova = (SELECT "
                          "MAX(Kova) FROM M) AND %2 AND %3), ")
               .arg(join, probes, s.Matches(4)) +
           QStringLiteral("U AS (SELECT S.StokID FROM Stok S WHERE %1 AND %2) ")
               .arg(s.Unkeyed(), s.Matches(7)) +
           QStringLiteral("SELECT %1%2WHERE S.StokID IN (SELECT StokID FROM M UNION SELECT StokID "
                          "FROM T UNION SELECT StokID FROM U) ORDER BY %3%4")
               .arg(Top(s, 250), s.Columns(), s.NameOrder(), Limit(s, 250));
}

// A term of one or two letters in a row, or of letters the key cannot be asked for by piece
// (:Kisa, its run as a LIKE value): the stored pieces holding the run (V) tell how many
// products may hold it. When they are few, their products are read and tested; when they are
// many, the plain statement finds 250 of them early in the order of the names.
QString ShortText(const TSpelling& s)
{
    const QString fold = s.Sqlite ? QStringLiteral("TRFOLD(C.Parca)") : QStringLiteral("C.Parca");
    const QString read = QStringLiteral("SELECT * FROM (SELECT %1%2WHERE %3%4)");
    const QString candidates = QStringLiteral(
        "S.StokID IN (SELECT P.StokID FROM StokParca P WHERE P.Parca IN (SELECT Parca FROM V) "
        "UNION SELECT S.StokID FROM Stok S WHERE %1) AND ");
    const QString ordered = QStringLiteral(" ORDER BY ") + s.NameOrder();
    const QString few = s.Sqlite ? QStringLiteral(" LIMIT (SELECT Seyrek FROM K)") : QString();
    const QString many =
        s.Sqlite ? QStringLiteral(" LIMIT (SELECT 250 - Seyrek FROM K)") : QString();
    return QStringLiteral("WITH V AS (SELECT C.Parca, C.Adet FROM StokParcaAdet C WHERE %1 LIKE "
                          ":Kisa), K AS (SELECT CASE WHEN CAST(%2(SUM(Adet), 0) AS FLOAT) * "
                          "%2(SUM(Adet), 0) <= 250.0 * %2((SELECT MAX(StokID) FROM Stok), 0) "
                          "THEN 250 ELSE 0 END AS Seyrek FROM V) ")
               .arg(fold, s.IsNull()) +
           read.arg(s.Sqlite ? QString() : QStringLiteral("TOP ((SELECT Seyrek FROM K)) "),
                    s.Columns(), candidates.arg(s.Unkeyed()) + s.Matches(1), ordered + few) +
           QStringLiteral(" A UNION ALL ") +
           read.arg(s.Sqlite ? QString() : QStringLiteral("TOP ((SELECT 250 - Seyrek FROM K)) "),
                    s.Columns(), s.Matches(4), ordered + many) +
           QStringLiteral(" B ORDER BY ") +
           (s.Sqlite ? QStringLiteral("StokAdi, StokID") : QStringLiteral("StokAdi"));
}

QString PiecesJson(const QList<TKeyPiece>& pieces)
{
    QJsonArray array;
    for (qsizetype i = 0; i < pieces.size(); ++i)
        array.append(QJsonObject{{QStringLiteral("n"), int(i)},
                                 {QStringLiteral("b"), pieces.at(i).Start},
                                 {QStringLiteral("p"), pieces.at(i).Text}});
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

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

QList<TProductSearchRow> Rows(TDbQuery& query)
{
    query.Exec();
    QList<TProductSearchRow> rows;
    while (query.Next())
        rows << ReadRow(query);
    return rows;
}

void BindMatches(TDbQuery& query, const QString& value, int count)
{
    for (int i = 1; i <= count; ++i)
        query.Param(QStringLiteral("F%1").arg(i), value);
}
} // namespace

QList<TProductSearchRow> TProductSearch::Search(const QString& Filter, int SubeID)
{
    const QString filter = Filter.trimmed();
    const QString folded = SearchText::Fold(filter);
    const QList<TKeyPiece> pieces = SearchText::KeyPieces(folded);
    const QString run = SearchText::ShortRun(folded);
    if (run.isEmpty())
        return SearchByStatement(Filter, SubeID);
    OwnedSchema::Run(OwnedSchema::SearchKeyStatements());
    const bool sqlite = dmMain->Dialect().IsSqlite();
    const QString value = StatementLikeValue(filter, sqlite);
    if (!pieces.isEmpty()) {
        TDbQuery query(
            dmMain->Composed([](const SqlDialect& d) { return PieceText(TSpelling(d)); }));
        query.Param(QStringLiteral("SubeID"), SubeID)
            .Param(QStringLiteral("Parcalar"), PiecesJson(pieces));
        BindMatches(query, value, 9);
        return Rows(query);
    }
    TDbQuery query(dmMain->Composed([](const SqlDialect& d) { return ShortText(TSpelling(d)); }));
    query.Param(QStringLiteral("SubeID"), SubeID)
        .Param(QStringLiteral("Kisa"), StatementLikeValue(run, sqlite));
    BindMatches(query, value, 6);
    return Rows(query);
}

QList<TProductSearchRow> TProductSearch::SearchByStatement(const QString& Filter, int SubeID)
{
    const QString filter = Filter.trimmed();
    TDbQuery query(dmMain->Composed(
        [&](const SqlDialect& d) { return PlainText(TSpelling(d), !filter.isEmpty()); }));
    query.Param(QStringLiteral("SubeID"), SubeID);
    if (!filter.isEmpty())
        BindMatches(query, StatementLikeValue(filter, dmMain->Dialect().IsSqlite()), 3);
    return Rows(query);
}

QString TProductSearch::StatementLikeValue(const QString& TrimmedFilter, bool Sqlite)
{
    if (Sqlite)
        return u'%' + SearchText::Fold(TrimmedFilter) + u'%';
    QString plain = TrimmedFilter;
    plain.replace(u'[', QStringLiteral("[[]"));
    return u'%' + plain + u'%';
}
