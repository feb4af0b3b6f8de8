#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

// The two ways of spelling SQL the program knows: SQL Server's, in which every text is written,
// and SQLite's, which the SQLite dialect rewrites those texts into.
enum class TSqlDialectKind { SqlServer, SQLite };

// One statement as the engine runs it. On SQLite a guarded "add column" becomes a statement that
// only runs while the column is missing.
struct TSqlStep {
    QString Sql;
    QString GuardTable; // non-empty: run only when GuardTable has no column GuardColumn
    QString GuardColumn;
    // A later statement of a batch: SQL Server gets the whole batch in one round trip, so the
    // program's count of round trips counts the batch once, whatever the engine runs it as.
    bool LaterInBatch = false;
};

// A statement in the text SQL Server runs and, where SQLite cannot take that text even after the
// dialect's rewriting, the text SQLite runs instead.
struct SqlText {
    QString MsSql;
    QString Sqlite;
};

// Everything the engines spell differently, in one place. Each engine has one dialect; which one
// does not depend on the driver that carries the statements.
//
// SQL texts are written for SQL Server. A dialect turns such a text into the steps its engine
// runs, and gives the expression pieces of the few texts that are composed rather than written
// out per engine.
class SqlDialect {
public:
    virtual ~SqlDialect() = default;

    virtual TSqlDialectKind Kind() const = 0;
    bool IsSqlite() const { return Kind() == TSqlDialectKind::SQLite; }

    // The steps that run `sql` on this engine.
    virtual QList<TSqlStep> Steps(const QString& sql) const = 0;
    // The text of `sql` this engine takes, as steps.
    QList<TSqlStep> Steps(const SqlText& sql) const;

    virtual QString Today() const = 0;                          // the server's date, no time
    virtual QString DateText104(const QString& expr) const = 0; // dd.mm.yyyy
    virtual QString Top(int n) const = 0;                       // "TOP n " or ""
    virtual QString Limit(int n) const = 0;                     // "" or " LIMIT n"
    // A time as a parameter compared with stored times: SQLite keeps them as
    // "yyyy-MM-dd HH:mm:ss" text, which only a text of the same shape compares with.
    virtual QVariant TimeValue(const QDateTime& time) const = 0;
};
