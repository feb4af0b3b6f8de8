#pragma once

#include "core/SqlDialect.h"

#include <QList>
#include <QObject>
#include <QSqlDatabase>
#include <QString>
#include <QVariant>

#include <memory>

// One way of reaching the database: a Qt SQL driver and what it opens.
// QSQLITE: the path of the database file. QODBC: an ODBC connection string.
struct TConnectionAttempt {
    QString Driver;
    QString ConnectionString;
};

// The one database connection of the program. Opening tries each attempt in order and either
// connects or raises one error that lists every attempt's failure.
class TStatementCache;

class TdmMain : public QObject {
    Q_OBJECT
public:
    explicit TdmMain(QObject* parent = nullptr);
    ~TdmMain() override;

    bool Connect();
    void Disconnect();
    bool Connected() const { return FConnected; }

    // First field of the first row, or a null QVariant. Errors pass to the caller.
    QVariant GetScalar(const QString& sql);
    // Runs a plain text command without parameters.
    void ExecSql(const QString& sql);

    // Probes an optional table with "SELECT OBJECT_ID('dbo.<table>', 'U')".
    bool TableExists(const QString& table);
    // Tells this open database apart from any other the process has opened.
    QString Identity() const { return FConnectionName + u'|' + FOpenedWith; }

    static QString SanitizeConnectionString(const QString& text);
    bool TryConnectWith(const TConnectionAttempt& attempt, QString& errorText);

    // The attempts that KIRVELO_DATABASE asks for: empty for the embedded file, "sqlite:PATH",
    // "mssql" for the built-in server attempts, "mssql:ODBC-CONNECTION-STRING" for one.
    static QList<TConnectionAttempt> AttemptsFor(const QString& setting);
    static QList<TConnectionAttempt> BuiltInSqlServerAttempts();
    static QString EmbeddedDatabasePath();
    void SetAttempts(QList<TConnectionAttempt> attempts) { FAttempts = std::move(attempts); }
    const QList<TConnectionAttempt>& Attempts() const { return FAttempts; }

    QSqlDatabase Database() const;
    // Prepared statements of this connection, for TDbQuery.
    TStatementCache& Statements() { return *FStatements; }
    TDbEngine Engine() const { return FDialect.Engine(); }
    const SqlDialect& Dialect() const { return FDialect; }
    // What the connection is, for the user: engine and file, or server and database.
    QString Description() const;

    // Write transactions. On SQLite they begin IMMEDIATE, so two tills on one file queue up
    // instead of failing halfway.
    void BeginTransaction();
    void Commit();
    void Rollback();
    bool InTransaction() const { return FInTransaction; }

    // Login time-out of every server attempt, in seconds.
    static constexpr int LoginTimeoutSeconds = 3;

private:
    bool OpenAttempt(const TConnectionAttempt& attempt, QString& errorText);
    void PrepareSqlite();
    void CloseConnection();

    QString FConnectionName;
    std::unique_ptr<TStatementCache> FStatements;
    QList<TConnectionAttempt> FAttempts;
    QString FOpenedWith;
    SqlDialect FDialect{TDbEngine::SQLite};
    bool FConnected = false;
    bool FInTransaction = false;
};

// The program's data module; set while a TdmMain exists.
extern TdmMain* dmMain;
