#pragma once

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>

#include <memory>

// A prepared statement with the ":Name" placeholders of its text.
struct TPreparedStatement {
    QSqlQuery Query;
    QStringList Placeholders;
    bool InUse = false;
};

// Prepared statements of one connection, kept by their text. The scan and the sale run the same
// statements again and again; preparing each once saves most of their cost on SQLite.
class TStatementCache {
public:
    // A prepared statement for `sql`, marked in use until Release. A text already in use (a
    // statement run inside the reading of its own result) gets a statement of its own.
    std::shared_ptr<TPreparedStatement> Acquire(const QSqlDatabase& db, const QString& sql);
    static void Release(TPreparedStatement& statement);
    void Clear();

    // The ":Name" placeholders of a statement, outside quoted literals.
    static QStringList PlaceholdersOf(const QString& sql);

private:
    static constexpr int MaxStatements = 256;
    QHash<QString, std::shared_ptr<TPreparedStatement>> FStatements;
};
