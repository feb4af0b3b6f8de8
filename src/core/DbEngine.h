#pragma once

#include "core/SqlDialect.h"

#include <QLatin1String>
#include <QSqlDatabase>
#include <QString>

#include <memory>

class TRoutineCall;

// The names by which an attempt asks for an engine.
namespace DbEngineName {
inline constexpr QLatin1String SqlServer{"mssql"};
inline constexpr QLatin1String Sqlite{"sqlite"};
} // namespace DbEngineName

// One way of reaching the database: a Qt SQL driver, what it opens (QSQLITE: the path of the
// database file; QODBC: an ODBC connection string) and the engine that speaks through it. An
// attempt without an engine name gets the engine registered for its driver.
struct TConnectionAttempt {
    TConnectionAttempt() = default;
    TConnectionAttempt(QString driver, QString connectionString, QString engine = {})
        : Driver(std::move(driver))
        , ConnectionString(std::move(connectionString))
        , Engine(std::move(engine))
    {
    }

    QString Driver;
    QString ConnectionString;
    QString Engine;
};

// What the program's connection needs from one kind of database: setting the connection up,
// its transactions, its dialect and its server routines. TdmMain holds one engine per open
// connection and reaches the database only through it, so no caller asks which engine it is.
//
// Engines are registered by name with the driver they speak through by default. SQL Server's
// engine is part of core; the embedded SQLite engine is registered by the program (and by tests
// and tools) from its own library.
class TDbEngine {
public:
    using TFactory = std::unique_ptr<TDbEngine> (*)();

    virtual ~TDbEngine() = default;

    virtual const SqlDialect& Dialect() const = 0;

    // Gives the connection, already made with the attempt's driver, what it opens and its options.
    // Raises EDatabaseError when the attempt cannot be tried.
    virtual void Configure(QSqlDatabase& db, const QString& connectionString) const = 0;
    // Runs once on the opened connection, before any statement of the program.
    virtual void Prepare(QSqlDatabase& db, const QString& connectionString) = 0;
    // The connection string as it may be kept and shown.
    virtual QString Remembered(const QString& connectionString) const = 0;
    // What the connection is, for the user: engine and file, or server and database.
    virtual QString Description(const QString& remembered) const = 0;
    // An error text of this engine as it may reach a message or the log.
    virtual QString Shown(const QString& errorText) const { return errorText; }
    // Why opening an attempt's connection string failed, for the user: the driver's text, or
    // the engine's own account of it (an embedded file names the file and the reason).
    virtual QString OpenFailure(const QString&, const QString& driverText) const
    {
        return driverText;
    }

    virtual void BeginTransaction(QSqlDatabase& db) = 0;
    virtual void Commit(QSqlDatabase& db) = 0;
    virtual void Rollback(QSqlDatabase& db) = 0;

    // Runs the server routine named by the call; raises EDatabaseError when there is none.
    virtual void CallRoutine(QSqlDatabase& db, TRoutineCall& call) = 0;

    // Makes the engine `name` available, by default for attempts through `driver`. Registering a
    // name again replaces its factory.
    static void Register(const QString& name, const QString& driver, TFactory factory);
    // A new engine for the attempt, or null when no engine is registered for it.
    static std::unique_ptr<TDbEngine> Create(const TConnectionAttempt& attempt);
    // The name of the engine registered for the attempt, empty when there is none.
    static QString NameFor(const TConnectionAttempt& attempt);
};
