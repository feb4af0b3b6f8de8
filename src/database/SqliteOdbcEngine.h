#pragma once

#include "database/SqliteEngine.h"

#include <QLatin1String>

// The embedded engine's SQLite file reached through Qt's ODBC driver (QODBC) and the SQLite ODBC
// driver, with the SQLite dialect. Its statements, placeholders, row counts, results and
// transactions travel the same QODBC road as SQL Server's, which the tests exercise through it.
// The SQL Server functions come from the loadable extension kirvelo_sqlfunctions, which the
// connection string names with "LoadExt="; its GETDATE() is handed the program's clock. Write
// transactions are the driver's, as on SQL Server. The file gets the same settings and schema
// as through QSQLITE, and the routines run as their C++ versions.
class TSqliteOdbcEngine final : public TSqliteEngine {
public:
    // Makes the engine available as "sqlite-odbc"; an attempt asks for it by name.
    static void Register();
    static constexpr QLatin1String Name{"sqlite-odbc"};

    // An ODBC connection string for `file` through `driver` (a registered driver's name in
    // braces, or the driver library's path) loading the functions from `extension`.
    static QString ConnectionString(const QString& file, const QString& driver,
                                    const QString& extension);

    void Configure(QSqlDatabase& db, const QString& connectionString) const override;
    void Prepare(QSqlDatabase& db, const QString& connectionString) override;
    QString Description(const QString& remembered) const override;
    void BeginTransaction(QSqlDatabase& db) override;
    void Commit(QSqlDatabase& db) override;
    void Rollback(QSqlDatabase& db) override;

protected:
    QString FileOf(const QString& connectionString) const override;
};
