#pragma once

#include <QHash>
#include <QList>
#include <QString>

enum class TDbEngine { SQLite, SqlServer };

// One statement as the engine runs it. On SQLite a guarded "add column" becomes a statement that
// only runs while the column is missing.
struct TSqlStep {
    QString Sql;
    QString GuardTable; // non-empty: run only when GuardTable has no column GuardColumn
    QString GuardColumn;
};

// A statement in the text SQL Server runs and, where SQLite cannot take that text even after the
// dialect's rewriting, the text SQLite runs instead.
struct SqlText {
    QString MsSql;
    QString Sqlite;
};

// Everything the two engines spell differently, in one place.
//
// SQL texts are written for SQL Server. On SQLite the dialect rewrites the few constructs that
// have one obvious equivalent: the "dbo." schema qualifier is dropped, ISNULL( becomes IFNULL(,
// T-SQL session options (SET NOCOUNT/QUOTED_IDENTIFIER ...) are skipped, a batch is split into
// its statements, a leading "SELECT TOP n" becomes a trailing "LIMIT n", and the three guarded
// DDL shapes (IF OBJECT_ID ... CREATE TABLE, IF NOT EXISTS sys.indexes ... CREATE INDEX,
// IF COL_LENGTH ... ALTER TABLE ADD) become their SQLite forms. GETDATE(), SCOPE_IDENTITY(),
// OBJECT_ID() and COL_LENGTH() exist on SQLite as user functions. Anything else gets its own
// SQLite text through SqlText.
class SqlDialect {
public:
    explicit SqlDialect(TDbEngine engine);

    TDbEngine Engine() const { return FEngine; }
    bool IsSqlite() const { return FEngine == TDbEngine::SQLite; }

    // The steps that run `sql` on this engine.
    QList<TSqlStep> Steps(const QString& sql) const;
    QList<TSqlStep> Steps(const SqlText& sql) const;

    // Expression pieces for texts that are composed rather than written out per engine.
    QString Today() const;                          // the server's date, no time
    QString Now() const;                            // the server's date and time
    QString DateText104(const QString& expr) const; // dd.mm.yyyy
    QString Concat(const QStringList& parts) const; // string concatenation
    QString Top(int n) const;                       // "TOP n " or ""
    QString Limit(int n) const;                     // "" or " LIMIT n"

    // Exposed for tests: the SQLite steps for one SQL Server batch.
    static QList<TSqlStep> TranslateForSqlite(const QString& tsql);

private:
    TDbEngine FEngine;
    mutable QHash<QString, QList<TSqlStep>> FCache;
};
