#pragma once

#include "core/DbEngine.h"
#include "core/SqlServerDialect.h"

#include <QList>
#include <QSqlQuery>

// Microsoft SQL Server through ODBC (QODBC): the shops' shared server. Every connection gets
// SET QUOTED_IDENTIFIER ON; server routines are stored procedures, called in a batch that hands
// their outputs back as a row.
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
    // The batch that runs a routine: it declares the outputs, runs EXEC with them as OUTPUT and
    // the inputs as ":Name" placeholders, and selects the outputs as its last row. No output is
    // ever bound as a parameter, so no driver can turn a long text output into the ntext SQL
    // Server refuses, nor lose an output behind a result set.
    static QString RoutineBatch(const TRoutineCall& call);
    // Reads what the routine batch returned into the call: the rows of the routine's own result
    // sets, then its outputs from the last row, each as the call declared it.
    static void ReadRoutineResults(QSqlQuery& query, TRoutineCall& call);

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
