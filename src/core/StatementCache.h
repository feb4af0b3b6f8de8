#pragma once

#include <QCache>
#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

// Named values for the ":Name" placeholders of a statement; names match without regard to case.
using TSqlParams = QList<QPair<QString, QVariant>>;

// A prepared statement with the ":Name" placeholders of its text.
struct TPreparedStatement {
    QSqlQuery Query;
    QStringList Placeholders;
    bool InUse = false;
    // Rows the statement changed, kept when it ran: the ODBC driver forgets the count once the
    // query moves past it to a later result.
    int RowsAffected = -1;

    // Binds each placeholder to the value of the same name; placeholders without one keep
    // their last value.
    void Bind(const TSqlParams& params);
};

// Prepared statements of one connection, kept by their text. The scan and the sale run the same
// statements again and again; preparing each once saves most of their cost on SQLite. The
// statements used least recently make way when MaxStatements are kept.
class TStatementCache {
public:
    // A prepared statement for `sql`, marked in use until Release. A text already in use (a
    // statement run inside the reading of its own result) gets a statement of its own.
    std::shared_ptr<TPreparedStatement> Acquire(const QSqlDatabase& db, const QString& sql);
    static void Release(TPreparedStatement& statement);
    void Clear();

    qsizetype Size() const { return FStatements.size(); }
    bool Contains(const QString& sql) const { return FStatements.contains(sql); }
    static constexpr qsizetype MaxStatements = 256;

    // The ":Name" placeholders of a statement, outside quoted literals.
    static QStringList PlaceholdersOf(const QString& sql);

private:
    QCache<QString, std::shared_ptr<TPreparedStatement>> FStatements{MaxStatements};
};
