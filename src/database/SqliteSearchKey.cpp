#include "database/SqliteSearchKey.h"

#include "core/DataModule.h"
#include "core/DbErrors.h"
#include "core/DbTransaction.h"
#include "core/ErrorLog.h"
#include "core/Exceptions.h"
#include "core/OwnedSchema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace {
// Raised when the way the key is kept changes: an older key is dropped and made again.
constexpr int kBuild = 2;
// Rows keyed by one step of the fill: a transaction of about a tenth of a second.
constexpr int kProductsPerStep = 250;
constexpr int kReceiptsPerStep = 10000;
// A receipt table this large gets its search indexes from the fill, not at the opening.
constexpr int kReceiptsIndexedAtOnce = 100000;

// The statements of the key are SQLite's own and run as written: trigger bodies hold semicolons
// that the dialect's batch splitting must not see.
QSqlQuery Run(QSqlDatabase& db, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery query(db);
    if (!query.prepare(sql))
        throw EDatabaseError(DbErrors::StatementText(query.lastError()));
    for (const QVariant& value : values)
        query.addBindValue(value);
    if (!query.exec())
        throw EDatabaseError(DbErrors::StatementText(query.lastError()));
    return query;
}

QVariant Value(QSqlDatabase& db, const QString& sql, const QVariantList& values = {})
{
    QSqlQuery query = Run(db, sql, values);
    return query.next() ? query.value(0) : QVariant();
}

bool Exists(QSqlDatabase& db, const QString& name)
{
    return Value(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = ?"), {name})
        .isValid();
}

// SearchText::KeyFold in SQL: replace() and SQLite's lower(), which folds A to Z only.
QString Fold(const QString& text)
{
    return QStringLiteral(
               "lower(replace(replace(replace(replace(replace(replace(replace(replace(") +
           text +
           QStringLiteral(", 'I', 'ı'), 'İ', 'i'), 'Ç', 'ç'), 'Ğ', 'ğ'), 'Ö', 'ö'), 'Ş', 'ş'), "
                          "'Ü', 'ü'), char(8490), 'k'))");
}

// The first 16 bytes of a name: products holding a piece are read in this order, which is the
// order of their names up to equal beginnings.
QString Kova(const QString& row)
{
    return QStringLiteral("substr(CAST(%1.StokAdi AS BLOB), 1, 16)").arg(row);
}

// The distinct pieces of one product (`row` is NEW or OLD).
QString Pieces(const QString& row)
{
    return QStringLiteral("WITH RECURSIVE M(Metin) AS (SELECT %1 UNION ALL SELECT %2 UNION ALL "
                          "SELECT %3), N(Metin, I) AS (SELECT Metin, 1 FROM M WHERE Metin <> '' "
                          "UNION ALL SELECT Metin, I + 1 FROM N WHERE I + 3 <= length(Metin)) "
                          "SELECT DISTINCT substr(Metin, I, 3) AS Parca FROM N")
        .arg(Fold(row + QStringLiteral(".StokAdi")), Fold(row + QStringLiteral(".Barkod")),
             Fold(row + QStringLiteral(".StokKodu")));
}

// Whether the triggers keep the key of a product: the fill goes through the catalogue in the
// order of the names, and has reached it.
QString ProductKeyed(const QString& row)
{
    return QStringLiteral("(SELECT DoluID IS NULL OR %1.StokAdi < DoluAd OR (%1.StokAdi = DoluAd "
                          "AND %1.StokID <= DoluID) FROM AramaDurum WHERE Tablo = 'Stok')")
        .arg(row);
}

// Whether the triggers keep the key of a receipt: the fill goes through them by id.
QString ReceiptKeyed(const QString& row)
{
    return QStringLiteral("(SELECT DoluID IS NULL OR DoluID >= %1.FisID FROM AramaDurum WHERE "
                          "Tablo = 'SatisFis')")
        .arg(row);
}

QString AddProduct(const QString& row)
{
    const QString keyed = ProductKeyed(row);
    return QStringLiteral("INSERT OR IGNORE INTO StokParca (Parca, Kova, StokID) SELECT Parca, "
                          "%1, %2.StokID FROM (%3) WHERE %4; INSERT INTO StokParcaAdet (Parca, "
                          "Adet) SELECT Parca, 1 FROM (%3) WHERE %4 ON CONFLICT (Parca) DO UPDATE "
                          "SET Adet = Adet + 1;")
        .arg(Kova(row), row, Pieces(row), keyed);
}

QString RemoveProduct(const QString& row)
{
    const QString keyed = ProductKeyed(row);
    return QStringLiteral("DELETE FROM StokParca WHERE StokID = %1.StokID AND Kova = %2 AND Parca "
                          "IN (%3) AND %4; UPDATE StokParcaAdet SET Adet = Adet - 1 WHERE Parca IN "
                          "(%3) AND %4; DELETE FROM StokParcaAdet WHERE Adet <= 0 AND Parca IN "
                          "(%3);")
        .arg(row, Kova(row), Pieces(row), keyed);
}

// A receipt whose number is not the one the program gives every sale, as listed: its number
// trimmed, when it has one, is not "FIS-" and its id.
QString OtherNumber(const QString& row)
{
    return QStringLiteral("NULLIF(RTRIM(%1.FisNo), '') IS NOT NULL AND RTRIM(%1.FisNo) <> 'FIS-' "
                          "|| %1.FisID")
        .arg(row);
}

QString AddReceipt(const QString& row)
{
    return QStringLiteral("INSERT OR IGNORE INTO SatisFisNo (FisID) SELECT %1.FisID WHERE %2 AND "
                          "%3;")
        .arg(row, OtherNumber(row), ReceiptKeyed(row));
}

struct TObject {
    QString Name;
    QString Sql;
};

QList<TObject> TableObjects()
{
    return {
        {QStringLiteral("AramaDurum"),
         QStringLiteral("CREATE TABLE AramaDurum (Tablo TEXT NOT "
                        "NULL PRIMARY KEY, DoluAd TEXT NULL, DoluID INTEGER NULL)")},
        {QStringLiteral("StokParca"),
         QStringLiteral("CREATE TABLE StokParca (Parca TEXT NOT NULL, Kova BLOB NOT NULL, StokID "
                        "INTEGER NOT NULL, PRIMARY KEY (Parca, Kova, StokID)) WITHOUT ROWID")},
        {QStringLiteral("StokParcaAdet"),
         QStringLiteral("CREATE TABLE StokParcaAdet (Parca TEXT NOT NULL PRIMARY KEY, Adet INTEGER "
                        "NOT NULL) WITHOUT ROWID")},
        {QStringLiteral("SatisFisNo"),
         QStringLiteral("CREATE TABLE SatisFisNo (FisID INTEGER NOT NULL PRIMARY KEY)")},
    };
}

QList<TObject> Triggers()
{
    return {
        {QStringLiteral("trg_StokParca_Ekle"),
         QStringLiteral("CREATE TRIGGER trg_StokParca_Ekle AFTER INSERT ON Stok BEGIN ") +
             AddProduct(QStringLiteral("NEW")) + QStringLiteral(" END")},
        {QStringLiteral("trg_StokParca_Degistir"),
         QStringLiteral("CREATE TRIGGER trg_StokParca_Degistir AFTER UPDATE OF StokID, StokAdi, "
                        "Barkod, StokKodu ON Stok BEGIN ") +
             RemoveProduct(QStringLiteral("OLD")) + u' ' + AddProduct(QStringLiteral("NEW")) +
             QStringLiteral(" END")},
        {QStringLiteral("trg_StokParca_Sil"),
         QStringLiteral("CREATE TRIGGER trg_StokParca_Sil AFTER DELETE ON Stok BEGIN ") +
             RemoveProduct(QStringLiteral("OLD")) + QStringLiteral(" END")},
        {QStringLiteral("trg_SatisFisNo_Ekle"),
         QStringLiteral("CREATE TRIGGER trg_SatisFisNo_Ekle AFTER INSERT ON SatisFis BEGIN ") +
             AddReceipt(QStringLiteral("NEW")) + QStringLiteral(" END")},
        {QStringLiteral("trg_SatisFisNo_Degistir"),
         QStringLiteral("CREATE TRIGGER trg_SatisFisNo_Degistir AFTER UPDATE OF FisID, FisNo ON "
                        "SatisFis BEGIN DELETE FROM SatisFisNo WHERE FisID = OLD.FisID; ") +
             AddReceipt(QStringLiteral("NEW")) + QStringLiteral(" END")},
        {QStringLiteral("trg_SatisFisNo_Sil"),
         QStringLiteral("CREATE TRIGGER trg_SatisFisNo_Sil AFTER DELETE ON SatisFis BEGIN DELETE "
                        "FROM SatisFisNo WHERE FisID = OLD.FisID; END")},
    };
}

// The receipt search reads a customer's and a cashier's receipts of a branch through these.
QList<TObject> ReceiptIndexes()
{
    return {{QStringLiteral("IX_SatisFis_SubeID_MusteriID"),
             QStringLiteral("CREATE INDEX IF NOT EXISTS IX_SatisFis_SubeID_MusteriID ON "
                            "SatisFis(SubeID, MusteriID)")},
            {QStringLiteral("IX_SatisFis_SubeID_KullaniciID"),
             QStringLiteral("CREATE INDEX IF NOT EXISTS IX_SatisFis_SubeID_KullaniciID ON "
                            "SatisFis(SubeID, KullaniciID)")}};
}

// The product search index this key replaces: its triggers go when a file opens, its tables
// (large on a large catalogue) with the fill.
const QStringList kOldTriggers{QStringLiteral("trg_StokArama_Ekle"),
                               QStringLiteral("trg_StokArama_Degistir"),
                               QStringLiteral("trg_StokArama_Sil")};
const QStringList kOldTables{QStringLiteral("StokAramaFts"),    QStringLiteral("StokArama"),
                             QStringLiteral("StokAramaParca"),  QStringLiteral("StokAramaKisa"),
                             QStringLiteral("StokAramaKuyruk"), QStringLiteral("StokAramaDurum")};

bool Current(QSqlDatabase& db)
{
    if (!Exists(db, QStringLiteral("AramaDurum")) ||
        Value(db, QStringLiteral("SELECT DoluID FROM AramaDurum WHERE Tablo = 'Surum'")).toInt() !=
            kBuild)
        return false;
    for (const TObject& object : TableObjects() + Triggers()) {
        if (!Exists(db, object.Name))
            return false;
    }
    return true;
}

// The key made anew: empty, and every row of a table that has rows left to the fill.
void Create(QSqlDatabase& db)
{
    for (const TObject& object : Triggers())
        Run(db, QStringLiteral("DROP TRIGGER IF EXISTS ") + object.Name);
    for (const TObject& object : TableObjects())
        Run(db, QStringLiteral("DROP TABLE IF EXISTS ") + object.Name);
    for (const TObject& object : TableObjects())
        Run(db, object.Sql);
    Run(db, QStringLiteral("INSERT INTO AramaDurum (Tablo, DoluID) VALUES ('Surum', ?)"), {kBuild});
    Run(db, QStringLiteral("INSERT INTO AramaDurum (Tablo, DoluAd, DoluID) SELECT 'Stok', CASE "
                           "WHEN EXISTS (SELECT 1 FROM Stok) THEN '' END, CASE WHEN EXISTS "
                           "(SELECT 1 FROM Stok) THEN 0 END"));
    Run(db, QStringLiteral("INSERT INTO AramaDurum (Tablo, DoluID) SELECT 'SatisFis', CASE WHEN "
                           "EXISTS (SELECT 1 FROM SatisFis) THEN 0 END"));
    for (const TObject& object : Triggers())
        Run(db, object.Sql);
}

bool FillProducts(QSqlDatabase& db)
{
    QSqlQuery mark = Run(db, QStringLiteral("SELECT DoluAd, DoluID FROM AramaDurum WHERE Tablo = "
                                            "'Stok' AND DoluID IS NOT NULL"));
    if (!mark.next())
        return false;
    const QVariantList from{mark.value(0), mark.value(0), mark.value(1)};
    // The products after the mark in name order, a step's worth; to the end when it is the last.
    const QString after = QStringLiteral("StokAdi >= ? AND (StokAdi > ? OR StokID > ?)");
    QSqlQuery end = Run(db,
                        QStringLiteral("SELECT StokAdi, StokID FROM Stok WHERE ") + after +
                            QStringLiteral(" ORDER BY StokAdi, StokID LIMIT 1 OFFSET ?"),
                        from + QVariantList{kProductsPerStep - 1});
    const bool last = !end.next();
    const QVariantList upTo =
        last ? QVariantList{} : QVariantList{end.value(0), end.value(0), end.value(1)};
    const QString range =
        QStringLiteral(" FROM Stok S WHERE ") + after +
        (last ? QString() : QStringLiteral(" AND (StokAdi < ? OR (StokAdi = ? AND StokID <= ?))"));
    Run(db, QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS StokParcaYeni (Parca TEXT, Kova BLOB, "
                           "StokID INTEGER)"));
    Run(db,
        QStringLiteral(
            "INSERT INTO temp.StokParcaYeni (Parca, Kova, StokID) WITH RECURSIVE "
            "M(StokID, Kova, Metin) AS (SELECT StokID, %1, %2%5 UNION ALL SELECT StokID, "
            "%1, %3%5 UNION ALL SELECT StokID, %1, %4%5), N(StokID, Kova, Metin, I) AS "
            "(SELECT StokID, Kova, Metin, 1 FROM M WHERE Metin <> '' UNION ALL SELECT "
            "StokID, Kova, Metin, I + 1 FROM N WHERE I + 3 <= length(Metin)) SELECT "
            "DISTINCT substr(Metin, I, 3), Kova, StokID FROM N")
            .arg(Kova(QStringLiteral("S")), Fold(QStringLiteral("S.StokAdi")),
                 Fold(QStringLiteral("S.Barkod")), Fold(QStringLiteral("S.StokKodu")), range),
        from + upTo + from + upTo + from + upTo);
    // Counted before they go in: a product the triggers keyed meanwhile is counted once.
    Run(db, QStringLiteral("INSERT INTO StokParcaAdet (Parca, Adet) SELECT Parca, COUNT(*) FROM "
                           "temp.StokParcaYeni Y WHERE NOT EXISTS (SELECT 1 FROM StokParca P "
                           "WHERE P.Parca = Y.Parca AND P.Kova = Y.Kova AND P.StokID = Y.StokID) "
                           "GROUP BY Parca ON CONFLICT (Parca) DO UPDATE SET Adet = Adet + "
                           "excluded.Adet"));
    // In the order of the key, which is nearly the order of the names: each step adds to the
    // end of each piece's products, a page or so apiece.
    Run(db, QStringLiteral("INSERT OR IGNORE INTO StokParca (Parca, Kova, StokID) SELECT Parca, "
                           "Kova, StokID FROM temp.StokParcaYeni ORDER BY Parca, Kova, StokID"));
    Run(db, QStringLiteral("DELETE FROM temp.StokParcaYeni"));
    const QVariant none(QMetaType::fromType<QString>());
    Run(db, QStringLiteral("UPDATE AramaDurum SET DoluAd = ?, DoluID = ? WHERE Tablo = 'Stok'"),
        last ? QVariantList{none, QVariant(QMetaType::fromType<qlonglong>())}
             : QVariantList{end.value(0), end.value(1)});
    return true;
}

bool FillReceipts(QSqlDatabase& db)
{
    const QVariant done =
        Value(db, QStringLiteral("SELECT DoluID FROM AramaDurum WHERE Tablo = 'SatisFis'"));
    if (done.isNull())
        return false;
    const QVariant last = Value(db,
                                QStringLiteral("SELECT MAX(FisID) FROM (SELECT FisID FROM "
                                               "SatisFis WHERE FisID > ? ORDER BY FisID LIMIT "
                                               "?)"),
                                {done, kReceiptsPerStep});
    if (!last.isNull())
        Run(db,
            QStringLiteral("INSERT OR IGNORE INTO SatisFisNo (FisID) SELECT FisID FROM SatisFis F "
                           "WHERE FisID > ? AND FisID <= ? AND ") +
                OtherNumber(QStringLiteral("F")),
            {done, last});
    const bool complete =
        last.isNull() ||
        last.toLongLong() >=
            Value(db, QStringLiteral("SELECT IFNULL(MAX(FisID), 0) FROM SatisFis")).toLongLong();
    Run(db, QStringLiteral("UPDATE AramaDurum SET DoluID = ? WHERE Tablo = 'SatisFis'"),
        {complete ? QVariant(QMetaType::fromType<qlonglong>()) : last});
    return true;
}

// The next piece of work of the fill, in one transaction; false when none is left.
bool Step(QSqlDatabase& db)
{
    for (const QString& table : kOldTables) {
        if (Exists(db, table)) {
            Run(db, QStringLiteral("DROP TABLE ") + table);
            return true;
        }
    }
    if (FillProducts(db) || FillReceipts(db))
        return true;
    for (const TObject& index : ReceiptIndexes()) {
        if (!Exists(db, index.Name)) {
            Run(db, index.Sql);
            return true;
        }
    }
    return false;
}

bool WorkLeft(QSqlDatabase& db)
{
    for (const QString& table : kOldTables) {
        if (Exists(db, table))
            return true;
    }
    for (const TObject& index : ReceiptIndexes()) {
        if (!Exists(db, index.Name))
            return true;
    }
    return Value(db, QStringLiteral("SELECT COUNT(*) FROM AramaDurum WHERE Tablo IN ('Stok', "
                                    "'SatisFis') AND DoluID IS NOT NULL"))
               .toInt() > 0;
}
} // namespace

namespace SqliteSearchKey {
QStringList Tables()
{
    QStringList names;
    for (const TObject& table : TableObjects())
        names << table.Name;
    return names;
}

bool Prepare()
{
    QSqlDatabase db = dmMain->Database();
    for (const QString& trigger : kOldTriggers)
        Run(db, QStringLiteral("DROP TRIGGER IF EXISTS ") + trigger);
    if (!Current(db)) {
        TDbTransaction transaction;
        Create(db);
        transaction.Commit();
    }
    const bool fewReceipts =
        Value(db, QStringLiteral("SELECT COUNT(*) FROM (SELECT 1 FROM SatisFis LIMIT ?)"),
              {kReceiptsIndexedAtOnce + 1})
            .toInt() <= kReceiptsIndexedAtOnce;
    for (const TObject& index : fewReceipts ? ReceiptIndexes() : QList<TObject>())
        Run(db, index.Sql);
    dmMain->SchemaEnsured(OwnedSchema::SearchKeyStatements());
    return WorkLeft(db);
}

bool FillStep(QSqlDatabase& db)
{
    Run(db, QStringLiteral("BEGIN IMMEDIATE"));
    try {
        const bool worked = Step(db);
        Run(db, QStringLiteral("COMMIT"));
        return worked;
    } catch (...) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        throw;
    }
}

void FillNow()
{
    TSearchKeyFiller filler(
        dmMain
            ->GetScalar(QStringLiteral("SELECT file FROM pragma_database_list WHERE name = 'main'"))
            .toString());
    filler.start();
    filler.wait();
    if (!filler.Failure().isEmpty())
        throw EDatabaseError(filler.Failure());
}

void LeaveToFill()
{
    QSqlDatabase db = dmMain->Database();
    Run(db, QStringLiteral("UPDATE AramaDurum SET DoluAd = CASE WHEN Tablo = 'Stok' THEN '' END, "
                           "DoluID = 0 WHERE Tablo IN ('Stok', 'SatisFis')"));
}
} // namespace SqliteSearchKey

TSearchKeyFiller::TSearchKeyFiller(QString file)
    : FFile(std::move(file))
{
}

TSearchKeyFiller::~TSearchKeyFiller()
{
    Stop();
    wait();
}

void TSearchKeyFiller::run()
{
    const QString name = QStringLiteral("KIRVELO-fill-") + QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(FFile);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        try {
            if (!db.open())
                throw EDatabaseError(db.lastError().text());
            // Its own pages cached while it runs; the log copied into the file after each step
            // by the filler itself, so that no till's next commit has to.
            Run(db, QStringLiteral("PRAGMA cache_size = -65536"));
            Run(db, QStringLiteral("PRAGMA wal_autocheckpoint = 0"));
            while (!FStop && SqliteSearchKey::FillStep(db))
                Run(db, QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
        } catch (const std::exception& e) {
            // The searches stay exact without the rest of the key; the next opening goes on.
            FFailure = ErrorMessage(e);
            WriteErrorLog(QStringLiteral("Arama anahtarı"), e);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}
