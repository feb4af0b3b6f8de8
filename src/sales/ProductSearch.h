#pragma once

#include <QList>
#include <QString>

// One product of the search list with this branch's stock.
struct TProductSearchRow {
    int StokID = 0;
    QString Barkod;
    QString StokKodu;
    QString StokAdi;
    QString Birim;
    double SatisFiyati = 0;
    double MevcutStok = 0;
};

// Finding a product by part of its name, barcode or stock code: the first 250 active, not
// deleted products whose name, barcode or stock code holds the trimmed filter (all of them for
// an empty one), in the order of their names, each with its price and this branch's stock.
// Letter case is ignored the Turkish way on both engines; "%" and "_" in the filter keep their
// LIKE meaning; quotes, brackets and every other character are plain text.
//
// The rows are the plain statement's (SearchByStatement), found through the search key that the
// database keeps (OwnedSchema::SearchKeyStatements, database/SqliteSearchKey): one statement per
// search on either engine, which reads the products holding the term's rarest piece in the
// order of their names and stops at 250 matches, instead of testing the whole catalogue.
class TProductSearch {
public:
    TProductSearch() = delete;

    static constexpr int MaxRows = 250;

    static QList<TProductSearchRow> Search(const QString& Filter, int SubeID);
    // The same rows through the plain statement, which tests every product.
    static QList<TProductSearchRow> SearchByStatement(const QString& Filter, int SubeID);
    // The LIKE value the statement binds for a trimmed filter. SQL Server reads "[" as the start
    // of a character class, so it gets "[[]", the bracket itself; SQLite compares folded texts.
    static QString StatementLikeValue(const QString& TrimmedFilter, bool Sqlite);
};
