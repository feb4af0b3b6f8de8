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

#include <functional>
#include <memory>
#include <source_location>

class TRoutineCall;

// The one database connection of the program. Opening tries each attempt in order and either
// connects or raises one error that lists every attempt's failure. Everything that depends on
// the kind of database (setting the connection up, transactions, the dialect, server routines)
// is left to the engine of the attempt that opened.
//
// A link that breaks (a VPN blip to the server) fails the operation under way with one Turkish
// message; its transaction is lost with the link, so nothing of it is written. The next
// operation connects again by itself, never in the middle of a transaction: the statements of
// a transaction that lost its link all fail until it has been rolled back.
class TdmMain : public QObject {
    Q_OBJECT
public:
    explicit TdmMain(QObject* parent = nullptr);
    ~TdmMain() override;

    bool Connect();
    void Disconnect();
    bool Connected() const { return FConnected; }
    // True from a broken link until the connection is made again.
    bool LinkLost() const { return FLinkLost; }
    // Connects again when the link was found broken and no transaction is open; inside one it
    // raises the lost-link error. Every statement and routine call begins with it.
    void EnsureLink();
    // Called with each statement's text (a routine's name) just before it runs; tests break
    // the link there.
    using TStatementHook = std::function<void(const QString& sql)>;
    void SetStatementHook(TStatementHook hook) { FStatementHook = std::move(hook); }

    // First field of the first row, or a null QVariant. Errors pass to the caller. `origin` is
    // where the text is sent from, for the SQL text log.
    QVariant GetScalar(const QString& sql, const TSqlParams& params = {},
                       std::source_location origin = std::source_location::current());
    // Runs a command; its ":Name" placeholders take the values of `params`.
    void ExecSql(const QString& sql, const TSqlParams& params = {},
                 std::source_location origin = std::source_location::current());
    // Runs one step of a statement and returns its prepared statement, in use until released;
    // null when the step's guard skips it.
    std::shared_ptr<TPreparedStatement> ExecStep(const TSqlStep& step, const TSqlParams& params);

    // Probes an optional table with "SELECT OBJECT_ID('dbo.<table>', 'U')", once per connection:
    // the answer is kept until the connection closes or the program changes the schema itself.
    bool TableExists(const QString& table);
    // Runs the guarded schema statements (each creates what is missing) that have not run on
    // this connection yet; a table dropped through the program makes them run again. The SQL
    // text log notes every one of them, also those this connection had made sure of.
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
    // A text made of dialect pieces (Today(), Top(n) ...), composed for SQL Server and for the
    // open engine: SQL Server's composition is the text SQL Server gets and the log notes.
    SqlText Composed(const std::function<QString(const SqlDialect&)>& compose) const;
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
    QString FailureHeadline() const;
    std::shared_ptr<TPreparedStatement> Run(const QString& sql, const TSqlParams& params);
    bool ColumnMissing(const QString& table, const QString& column);
    TDbEngine& OpenEngine();
    void CloseConnection();
    bool LinkDropped();
    // Raises the error of a failed statement or connection step: the lost-link error when the
    // connection no longer answers, else `text`.
    [[noreturn]] void Fail(const QString& text);

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
    bool FLinkLost = false;
    TStatementHook FStatementHook;
};

// The program's data module; set while a TdmMain exists.
extern TdmMain* dmMain;
