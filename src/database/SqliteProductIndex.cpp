#include "database/SqliteProductIndex.h"

#include "core/DataModule.h"
#include "core/DbErrors.h"
#include "core/DbQuery.h"
#include "core/DbTransaction.h"
#include "core/Exceptions.h"
#include "core/SearchText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>
#include <unordered_map>

namespace {
// Raised when the way the index is built changes: an older build is dropped and made again.
constexpr int kBuild = 1;

// The statements of the index are SQLite's own and run as written: trigger bodies hold
// semicolons that the dialect's batch splitting must not see.
void Run(const QString& sql)
{
    QSqlQuery query(dmMain->Database());
    if (!query.exec(sql))
        throw EDatabaseError(DbErrors::StatementText(query.lastError()));
}

qint64 Number(const QString& sql)
{
    QSqlQuery query(dmMain->Database());
    if (!query.exec(sql))
        throw EDatabaseError(DbErrors::StatementText(query.lastError()));
    return query.next() ? query.value(0).toLongLong() : 0;
}

bool Exists(const QString& name)
{
    QSqlQuery query(dmMain->Database());
    query.prepare(QStringLiteral("SELECT 1 FROM sqlite_master WHERE name = ?"));
    query.addBindValue(name);
    if (!query.exec())
        throw EDatabaseError(DbErrors::StatementText(query.lastError()));
    return query.next();
}

const QStringList kTriggers{QStringLiteral("trg_StokArama_Ekle"),
                            QStringLiteral("trg_StokArama_Degistir"),
                            QStringLiteral("trg_StokArama_Sil")};
const QStringList kTables{QStringLiteral("StokAramaFts"),    QStringLiteral("StokArama"),
                          QStringLiteral("StokAramaParca"),  QStringLiteral("StokAramaKisa"),
                          QStringLiteral("StokAramaKuyruk"), QStringLiteral("StokAramaDurum")};

void DropObjects()
{
    for (const QString& trigger : kTriggers)
        Run(QStringLiteral("DROP TRIGGER IF EXISTS ") + trigger);
    for (const QString& table : kTables)
        Run(QStringLiteral("DROP TABLE IF EXISTS ") + table);
}

void CreateObjects()
{
    Run(QStringLiteral("CREATE TABLE StokAramaDurum (Surum INTEGER NOT NULL, Nesil INTEGER NOT "
                       "NULL)"));
    Run(QStringLiteral("INSERT INTO StokAramaDurum (Surum, Nesil) VALUES (%1, 0)").arg(kBuild));
    Run(QStringLiteral("CREATE TABLE StokAramaKuyruk (KuyrukID INTEGER PRIMARY KEY, StokID "
                       "INTEGER NOT NULL)"));
    Run(QStringLiteral("CREATE TABLE StokArama (Sira INTEGER PRIMARY KEY, StokID INTEGER NOT "
                       "NULL, Ad TEXT NOT NULL, Barkod TEXT NOT NULL, Kod TEXT NOT NULL)"));
    Run(QStringLiteral("CREATE VIRTUAL TABLE StokAramaFts USING fts5(Ad, Barkod, Kod, "
                       "tokenize = 'trigram case_sensitive 1', detail = none, content = '')"));
    Run(QStringLiteral("CREATE TABLE StokAramaParca (Parca TEXT PRIMARY KEY, Adet INTEGER NOT "
                       "NULL) WITHOUT ROWID"));
    Run(QStringLiteral("CREATE TABLE StokAramaKisa (Parca TEXT NOT NULL, Sira INTEGER NOT NULL, "
                       "PRIMARY KEY (Parca, Sira)) WITHOUT ROWID"));
    Run(QStringLiteral("CREATE TRIGGER trg_StokArama_Ekle AFTER INSERT ON Stok BEGIN INSERT INTO "
                       "StokAramaKuyruk (StokID) VALUES (NEW.StokID); END"));
    Run(QStringLiteral(
        "CREATE TRIGGER trg_StokArama_Degistir AFTER UPDATE OF StokID, StokAdi, Barkod, StokKodu, "
        "IsActive, IsDeleted ON Stok BEGIN INSERT INTO StokAramaKuyruk (StokID) VALUES "
        "(OLD.StokID); INSERT INTO StokAramaKuyruk (StokID) SELECT NEW.StokID WHERE NEW.StokID <> "
        "OLD.StokID; END"));
    Run(QStringLiteral("CREATE TRIGGER trg_StokArama_Sil AFTER DELETE ON Stok BEGIN INSERT INTO "
                       "StokAramaKuyruk (StokID) VALUES (OLD.StokID); END"));
    // A catalogue that was there before the index waits for the first build.
    Run(QStringLiteral("INSERT INTO StokAramaKuyruk (StokID) SELECT StokID FROM Stok"));
}

QString FromPoints(const uint* points, qsizetype length)
{
    QString text;
    for (qsizetype i = 0; i < length; ++i)
        text += QChar::fromUcs4(points[i]);
    return text;
}

// Pieces of one, two and three letters as numbers: 21 bits a code point.
using TPieceKey = quint64;

QString PieceText(TPieceKey key, int length)
{
    uint points[3];
    for (int i = length - 1; i >= 0; --i) {
        points[i] = uint(key & 0x1FFFFF);
        key >>= 21;
    }
    return FromPoints(points, length);
}

// The distinct pieces of one product's three texts, by length.
struct TProductPieces {
    std::vector<TPieceKey> ByLength[3];

    void Add(const QString& text)
    {
        const QList<uint> points = text.toUcs4();
        for (qsizetype i = 0; i < points.size(); ++i) {
            TPieceKey key = 0;
            for (int length = 1; length <= 3 && i + length <= points.size(); ++length) {
                key = (key << 21) | points[i + length - 1];
                ByLength[length - 1].push_back(key);
            }
        }
    }

    void Distinct()
    {
        for (auto& keys : ByLength) {
            std::sort(keys.begin(), keys.end());
            keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
        }
    }

    void Clear()
    {
        for (auto& keys : ByLength)
            keys.clear();
    }
};

// Counts of every piece, and for the short ones the first products in order.
void WritePieces()
{
    std::unordered_map<TPieceKey, int> counts[3];
    std::unordered_map<TPieceKey, std::vector<qint64>> lists[2];
    QSqlQuery rows(dmMain->Database());
    rows.setForwardOnly(true);
    if (!rows.exec(QStringLiteral("SELECT Sira, Ad, Barkod, Kod FROM StokArama ORDER BY Sira")))
        throw EDatabaseError(DbErrors::StatementText(rows.lastError()));
    TProductPieces pieces;
    while (rows.next()) {
        pieces.Clear();
        for (int column = 1; column <= 3; ++column)
            pieces.Add(rows.value(column).toString());
        pieces.Distinct();
        const qint64 sira = rows.value(0).toLongLong();
        for (int length = 0; length < 3; ++length) {
            for (const TPieceKey key : pieces.ByLength[length]) {
                ++counts[length][key];
                if (length < 2) {
                    std::vector<qint64>& list = lists[length][key];
                    if (list.size() < size_t(TSqliteProductIndex::ListLength))
                        list.push_back(sira);
                }
            }
        }
    }
    QSqlQuery count(dmMain->Database());
    count.prepare(QStringLiteral("INSERT INTO StokAramaParca (Parca, Adet) VALUES (?, ?)"));
    QSqlQuery first(dmMain->Database());
    first.prepare(QStringLiteral("INSERT INTO StokAramaKisa (Parca, Sira) VALUES (?, ?)"));
    for (int length = 0; length < 3; ++length) {
        for (const auto& [key, n] : counts[length]) {
            const QString piece = PieceText(key, length + 1);
            count.addBindValue(piece);
            count.addBindValue(n);
            if (!count.exec())
                throw EDatabaseError(DbErrors::StatementText(count.lastError()));
            if (length == 2)
                continue;
            for (const qint64 sira : lists[length][key]) {
                first.addBindValue(piece);
                first.addBindValue(sira);
                if (!first.exec())
                    throw EDatabaseError(DbErrors::StatementText(first.lastError()));
            }
        }
    }
}

// The literal runs of a folded term between its wildcards, as code points.
QList<QList<uint>> LiteralRuns(const QString& folded)
{
    QList<QList<uint>> runs;
    QList<uint> run;
    for (const uint point : folded.toUcs4()) {
        if (point == u'%' || point == u'_') {
            if (!run.isEmpty())
                runs << run;
            run.clear();
            continue;
        }
        run << point;
    }
    if (!run.isEmpty())
        runs << run;
    return runs;
}

QStringList PiecesOf(const QList<QList<uint>>& runs, int length)
{
    QStringList pieces;
    for (const QList<uint>& run : runs) {
        for (qsizetype i = 0; i + length <= run.size(); ++i) {
            const QString piece = FromPoints(run.constData() + i, length);
            if (!pieces.contains(piece))
                pieces << piece;
        }
    }
    return pieces;
}

QString JsonList(const QStringList& texts)
{
    return QString::fromUtf8(
        QJsonDocument(QJsonArray::fromStringList(texts)).toJson(QJsonDocument::Compact));
}

QString JsonList(const QList<int>& ids)
{
    QJsonArray array;
    for (const int id : ids)
        array.append(id);
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact));
}

// How many products hold each piece; a piece that no product holds is missing.
QList<QPair<QString, qint64>> PieceCounts(const QStringList& pieces)
{
    TDbQuery query(QStringLiteral("SELECT Parca, Adet FROM StokAramaParca WHERE Parca IN (SELECT "
                                  "value FROM json_each(:Parcalar))"));
    query.Param(QStringLiteral("Parcalar"), JsonList(pieces)).Exec();
    QList<QPair<QString, qint64>> counts;
    while (query.Next())
        counts.append({query.Value(0).toString(), query.Value(1).toLongLong()});
    std::sort(counts.begin(), counts.end(),
              [](const auto& a, const auto& b) { return a.second < b.second; });
    return counts;
}

// A full-text query holding every one of `pieces`: each a quoted string of three letters.
QString AllOf(const QList<QPair<QString, qint64>>& pieces)
{
    QStringList quoted;
    for (const auto& piece : pieces) {
        QString text = piece.first;
        quoted << u'"' + text.replace(u'"', QStringLiteral("\"\"")) + u'"';
    }
    return quoted.join(u' ');
}

bool Before(const QByteArray& nameA, int idA, const QByteArray& nameB, int idB)
{
    const int order = nameA.compare(nameB);
    return order != 0 ? order < 0 : idA < idB;
}
} // namespace

void TSqliteProductIndex::Prepare()
{
    if (!Exists(QStringLiteral("StokAramaDurum")) ||
        Number(QStringLiteral("SELECT Surum FROM StokAramaDurum")) != kBuild) {
        TDbTransaction transaction;
        DropObjects();
        CreateObjects();
        transaction.Commit();
    }
    const qint64 indexed = Number(QStringLiteral("SELECT IFNULL(MAX(Sira), 0) FROM StokArama"));
    if (QueuedChanges() > 1000 + indexed / 100)
        Rebuild();
}

int TSqliteProductIndex::QueuedChanges()
{
    return int(Number(QStringLiteral(
        "SELECT IFNULL(MAX(KuyrukID) - MIN(KuyrukID) + 1, 0) FROM StokAramaKuyruk")));
}

void TSqliteProductIndex::Rebuild()
{
    TDbTransaction transaction;
    Run(QStringLiteral("DELETE FROM StokArama"));
    Run(QStringLiteral("INSERT INTO StokAramaFts (StokAramaFts) VALUES ('delete-all')"));
    Run(QStringLiteral("DELETE FROM StokAramaParca"));
    Run(QStringLiteral("DELETE FROM StokAramaKisa"));
    Run(QStringLiteral("DELETE FROM StokAramaKuyruk"));
    Run(QStringLiteral(
        "INSERT INTO StokArama (Sira, StokID, Ad, Barkod, Kod) SELECT ROW_NUMBER() OVER (ORDER "
        "BY StokAdi, StokID), StokID, TRFOLD(StokAdi), TRFOLD(IFNULL(Barkod, '')), "
        "TRFOLD(IFNULL(StokKodu, '')) FROM Stok WHERE IsActive = 1 AND IFNULL(IsDeleted, 0) = 0"));
    Run(QStringLiteral("INSERT INTO StokAramaFts (rowid, Ad, Barkod, Kod) SELECT Sira, Ad, "
                       "Barkod, Kod FROM StokArama"));
    WritePieces();
    Run(QStringLiteral("UPDATE StokAramaDurum SET Nesil = Nesil + 1"));
    transaction.Commit();
}

void TSqliteProductIndex::RefreshQueue()
{
    TDbQuery state(QStringLiteral("SELECT (SELECT Nesil FROM StokAramaDurum), (SELECT "
                                  "IFNULL(MAX(KuyrukID), 0) FROM StokAramaKuyruk)"));
    state.Exec();
    state.Next();
    const qint64 generation = state.Value(0).toLongLong();
    const qint64 queueEnd = state.Value(1).toLongLong();
    if (generation == FGeneration && queueEnd == FQueueEnd)
        return;
    FQueued.clear();
    FQueuedIDs.clear();
    TDbQuery rows(QStringLiteral(
        "SELECT K.StokID, S.StokAdi, S.Barkod, S.StokKodu, CASE WHEN S.IsActive = 1 AND "
        "IFNULL(S.IsDeleted, 0) = 0 THEN 1 ELSE 0 END AS Satilir FROM (SELECT DISTINCT StokID "
        "FROM StokAramaKuyruk) K LEFT JOIN Stok S ON S.StokID = K.StokID"));
    rows.Exec();
    while (rows.Next()) {
        TQueued queued;
        queued.StokID = rows.Value(0).toInt();
        queued.Sellable = rows.Value(4).toInt() == 1;
        if (queued.Sellable) {
            const QString name = rows.Value(1).toString();
            queued.Name = name.toUtf8();
            queued.Ad = SearchText::Fold(name);
            queued.Barkod = SearchText::Fold(rows.Value(2).toString());
            queued.Kod = SearchText::Fold(rows.Value(3).toString());
        }
        FQueuedIDs.insert(queued.StokID);
        FQueued.push_back(std::move(queued));
    }
    FGeneration = generation;
    FQueueEnd = queueEnd;
}

QList<int> TSqliteProductIndex::FindProducts(const QString& foldedFilter, int limit)
{
    RefreshQueue();
    const TLikePattern pattern(u'%' + foldedFilter + u'%');
    const QList<int> indexed = IndexedMatches(foldedFilter, pattern, limit);
    QList<TCandidate> queued = QueuedMatches(pattern);
    if (queued.isEmpty())
        return indexed;
    QList<TCandidate> all = Named(indexed) + queued;
    std::sort(all.begin(), all.end(), [](const TCandidate& a, const TCandidate& b) {
        return Before(a.Name, a.StokID, b.Name, b.StokID);
    });
    QList<int> ids;
    for (qsizetype i = 0; i < all.size() && i < limit; ++i)
        ids << all.at(i).StokID;
    return ids;
}

// Chooses the reading that ends soonest: the rarest three-letter pieces through the full-text
// index; for a term without three letters in a row the list of its rarest short piece, read on
// in name order when the list was cut; for a term of wildcards only the index in order.
QList<int> TSqliteProductIndex::IndexedMatches(const QString& folded, const TLikePattern& pattern,
                                               int limit) const
{
    QList<int> found;
    qint64 last = 0;
    const QList<QList<uint>> runs = LiteralRuns(folded);
    const QStringList trigrams = PiecesOf(runs, 3);
    if (!trigrams.isEmpty()) {
        const QList<QPair<QString, qint64>> counts = PieceCounts(trigrams);
        if (counts.size() < trigrams.size())
            return found;
        TDbQuery rows(QStringLiteral(
            "SELECT A.Sira, A.StokID, A.Ad, A.Barkod, A.Kod FROM StokAramaFts F JOIN StokArama A "
            "ON A.Sira = F.rowid WHERE StokAramaFts MATCH :Parcalar ORDER BY F.rowid"));
        rows.Param(QStringLiteral("Parcalar"), AllOf(counts.mid(0, 3))).Exec();
        Collect(rows, pattern, limit, found, last);
        return found;
    }
    QStringList shortPieces;
    for (const QList<uint>& run : runs) {
        const QString piece = FromPoints(run.constData(), run.size());
        if (!shortPieces.contains(piece))
            shortPieces << piece;
    }
    if (!shortPieces.isEmpty()) {
        const QList<QPair<QString, qint64>> counts = PieceCounts(shortPieces);
        if (counts.size() < shortPieces.size())
            return found;
        TDbQuery rows(QStringLiteral(
            "SELECT A.Sira, A.StokID, A.Ad, A.Barkod, A.Kod FROM StokAramaKisa P JOIN StokArama A "
            "ON A.Sira = P.Sira WHERE P.Parca = :Parca ORDER BY P.Sira"));
        rows.Param(QStringLiteral("Parca"), counts.first().first).Exec();
        if (!Collect(rows, pattern, limit, found, last) || counts.first().second <= ListLength)
            return found;
    }
    TDbQuery rows(QStringLiteral("SELECT Sira, StokID, Ad, Barkod, Kod FROM StokArama WHERE Sira "
                                 "> :Sira ORDER BY Sira"));
    rows.Param(QStringLiteral("Sira"), last).Exec();
    Collect(rows, pattern, limit, found, last);
    return found;
}

bool TSqliteProductIndex::Collect(TDbQuery& rows, const TLikePattern& pattern, int limit,
                                  QList<int>& found, qint64& last) const
{
    while (found.size() < limit) {
        if (!rows.Next())
            return true;
        last = rows.Value(0).toLongLong();
        const int stokID = rows.Value(1).toInt();
        if (FQueuedIDs.contains(stokID))
            continue;
        if (pattern.Matches(rows.Value(2).toString()) ||
            pattern.Matches(rows.Value(3).toString()) || pattern.Matches(rows.Value(4).toString()))
            found << stokID;
    }
    return false;
}

QList<TSqliteProductIndex::TCandidate>
TSqliteProductIndex::QueuedMatches(const TLikePattern& pattern) const
{
    QList<TCandidate> matches;
    for (const TQueued& queued : FQueued) {
        if (queued.Sellable && (pattern.Matches(queued.Ad) || pattern.Matches(queued.Barkod) ||
                                pattern.Matches(queued.Kod)))
            matches.append({queued.StokID, queued.Name});
    }
    return matches;
}

QList<TSqliteProductIndex::TCandidate> TSqliteProductIndex::Named(const QList<int>& ids)
{
    QList<TCandidate> named;
    if (ids.isEmpty())
        return named;
    TDbQuery rows(QStringLiteral(
        "SELECT StokID, StokAdi FROM Stok WHERE StokID IN (SELECT value FROM json_each(:Ids))"));
    rows.Param(QStringLiteral("Ids"), JsonList(ids)).Exec();
    while (rows.Next())
        named.append({rows.Value(0).toInt(), rows.Value(1).toString().toUtf8()});
    return named;
}
