#pragma once

#include "core/DbEngine.h"
#include "core/RoundTrips.h"
#include "core/SqlDialect.h"
#include "core/StatementCache.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QSet>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <memory>

class TRoutineCall;

// The one database connection of the program. Opening tries each attempt in order and either
// connects or raises one error that lists every attempt's failure. Everything that depends on
// the kind of database (setting the connection up, transactions, the dialect, server routines)
// is left to the engine of the attempt that opened.
class TdmMain : public QObject {
    Q_OBJECT
public:
    explicit TdmMain(QObject* parent = nullptr);
    ~TdmMain() override;

    bool Connect();
    void Disconnect();
    bool Connected() const { return FConnected; }

    // First field of the first row, or a null QVariant. Errors pass to the caller.
    QVariant GetScalar(const QString& sql, const TSqlParams& params = {});
    // Runs a command; its ":Name" placeholders take the values of `params`.
    void ExecSql(const QString& sql, const TSqlParams& params = {});
    // Runs one step of a statement and returns its prepared statement, in use until released;
    // null when the step's guard skips it.
    std::shared_ptr<TPreparedStatement> ExecStep(const TSqlStep& step, const TSqlParams& params);

    // Probes an optional table with "SELECT OBJECT_ID('dbo.<table>', 'U')", once per connection:
    // the answer is kept until the connection closes or the program changes the schema itself.
    bool TableExists(const QString& table);
    // Runs the guarded schema statements (each creates what is missing) that have not run on
    // this connection yet; a table dropped through the program makes them run again.
    void EnsureSchema(const QStringList& statements);
    // Notes guarded statements whose objects the engine's own set-up has just made sure of.
    void SchemaEnsured(const QStringList& statements);
    // Tells this open database apart from any other the process has opened.
    QString Identity() const { return FConnectionName + u'|' + FOpenedWith; }

    bool TryConnectWith(const TConnectionAttempt& attempt, QString& errorText);

    // The attempts that KIRVELO_DATABASE asks for: empty for the embedded file, "sqlite:PATH",
    // "mssql" for the built-in server attempts, "mssql:ODBC-CONNECTION-STRING" for one.
    static QList<TConnectionAttempt> AttemptsFor(const QString& setting);
    static QString EmbeddedDatabasePath();
    void SetAttempts(QList<TConnectionAttempt> attempts) { FAttempts = std::move(attempts); }
    const QList<TConnectionAttempt>& Attempts() const { return FAttempts; }

    QSqlDatabase Database() const;
    // Prepared statements of this connection.
    TStatementCache& Statements() { return FStatements; }
    // The dialect of the open engine; SQL Server's, untranslated, while none is open.
    const SqlDialect& Dialect() const;
    // What the connection is, for the user: engine and file, or server and database.
    QString Description() const;

    // Write transactions, begun as the engine begins them (IMMEDIATE on SQLite, so two tills on
    // one file queue up instead of failing halfway).
    void BeginTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const { return FInTransaction; }

    // Runs a server routine: reads the call's in-values, sets its out-values.
    void CallRoutine(TRoutineCall& call);

    // Every statement and routine call of this module leaves through one place, which counts it.
    TRoundTrips& RoundTrips() { return FRoundTrips; }

private:
    void NoteRoundTrip();
    void ForgetSchemaAfter(const QString& statement);
    bool OpenAttempt(const TConnectionAttempt& attempt, QString& errorText);
    std::shared_ptr<TPreparedStatement> Run(const QString& sql, const TSqlParams& params);
    bool ColumnMissing(const QString& table, const QString& column);
    TDbEngine& OpenEngine();
    void CloseConnection();

    QString FConnectionName;
    TStatementCache FStatements;
    QList<TConnectionAttempt> FAttempts;
    QString FOpenedWith;
    std::unique_ptr<TDbEngine> FEngine;
    bool FConnected = false;
    bool FInTransaction = false;
    TRoundTrips FRoundTrips;
    QHash<QString, bool> FTablesProbed;
    QSet<QString> FSchemaEnsured;
};

// The program's data module; set while a TdmMain exists.
extern TdmMain* dmMain;
