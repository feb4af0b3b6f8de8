#pragma once

#include "core/DbEngine.h"
#include "core/SqlServerDialect.h"

#include <QList>

// Microsoft SQL Server through ODBC (QODBC): the shops' shared server. Every connection gets
// SET QUOTED_IDENTIFIER ON; server routines are stored procedures called as {CALL ...}.
class TSqlServerEngine final : public TDbEngine {
public:
    // Makes the engine available as "mssql", by default for QODBC attempts.
    static void Register();

    // The built-in attempts: ODBC Driver 18, then 17 (each on localhost\TALVIRON, then
    // 127.0.0.1\TALVIRON), then FreeTDS.
    static QList<TConnectionAttempt> BuiltInAttempts();
    // Drops the "Server Certificate" and "Host Name In Certificate" pairs and ends every pair
    // with ";".
    static QString SanitizeConnectionString(const QString& text);
    // Login time-out of every attempt, in seconds.
    static constexpr int LoginTimeoutSeconds = 3;

    const SqlDialect& Dialect() const override { return FDialect; }
    void Configure(QSqlDatabase& db, const QString& connectionString) const override;
    void Prepare(QSqlDatabase& db, const QString& connectionString) override;
    QString Remembered(const QString& connectionString) const override;
    QString Description(const QString& remembered) const override;
    QString Shown(const QString& errorText) const override;
    void BeginTransaction(QSqlDatabase& db) override;
    void Commit(QSqlDatabase& db) override;
    void Rollback(QSqlDatabase& db) override;
    void CallRoutine(QSqlDatabase& db, TRoutineCall& call) override;

private:
    TSqlServerDialect FDialect;
};
