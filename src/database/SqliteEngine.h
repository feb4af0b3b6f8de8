#pragma once

#include "core/DbEngine.h"
#include "database/SqliteDialect.h"
#include "database/SqliteSearchKey.h"

#include <memory>

// The embedded engine: an SQLite file through Qt's SQLite driver (QSQLITE). WAL journal with
// every commit synchronised to the disk, a 10 s busy time-out, foreign keys on, write
// transactions begun IMMEDIATE; the SQL Server functions the statements share are registered on
// every connection, the schema is completed when anything is missing, and the server routines
// run as their C++ versions.
class TSqliteEngine : public TDbEngine {
public:
    // Makes the engine available as "sqlite", by default for QSQLITE attempts. The program,
    // its tools and its tests call this once before they connect.
    static void Register();

    const SqlDialect& Dialect() const override { return FDialect; }
    void Configure(QSqlDatabase& db, const QString& connectionString) const override;
    void Prepare(QSqlDatabase& db, const QString& connectionString) override;
    QString Remembered(const QString& connectionString) const override;
    QString Description(const QString& remembered) const override;
    // "Veritabanı dosyası açılamadı: PATH (reason)", the reason in the user's words where the
    // file system or the file shows it, else the driver's text.
    QString OpenFailure(const QString& connectionString, const QString& driverText) const override;
    void BeginTransaction(QSqlDatabase& db) override;
    void Commit(QSqlDatabase& db) override;
    void Rollback(QSqlDatabase& db) override;
    void CallRoutine(QSqlDatabase& db, TRoutineCall& call) override;

protected:
    // The database file an attempt's connection string names.
    virtual QString FileOf(const QString& connectionString) const { return connectionString; }
    // What every connection to an SQLite file gets once it is open, whichever driver carries it:
    // WAL journal, FULL synchronisation (a sale the cashier was told is complete survives a
    // power cut: in WAL mode NORMAL may lose the last commits), foreign keys on, the schema
    // completed, and the search key: made when missing, its fill (an older file's rows) started
    // on a thread of its own.
    void PrepareFile(QSqlDatabase& db, const QString& file, bool withDemoData);

private:
    TSqliteDialect FDialect;
    std::unique_ptr<TSearchKeyFiller> FFiller;
};
