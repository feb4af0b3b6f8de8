#include "database/SqliteEngine.h"

#include "core/Clock.h"
#include "core/DataModule.h"
#include "core/DbErrors.h"
#include "core/Exceptions.h"
#include "database/EmbeddedDatabase.h"
#include "database/SqliteFunctions.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlQuery>

#include <sqlite3.h>

namespace {
void Exec(QSqlDatabase& db, const QString& sql)
{
    QSqlQuery query(db);
    if (!query.exec(sql))
        throw EDatabaseError(DbErrors::StatementText(query.lastError()));
}

// GETDATE() on the program's own connections reads the program's clock.
const TSqlClock programClock = &TClock::Now;

sqlite3* Handle(const QSqlDatabase& db)
{
    const QVariant handle = db.driver()->handle();
    return handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0
               ? *static_cast<sqlite3* const*>(handle.constData())
               : nullptr;
}
} // namespace

void TSqliteEngine::Register()
{
    TDbEngine::Register(
        DbEngineName::Sqlite, QStringLiteral("QSQLITE"),
        []() -> std::unique_ptr<TDbEngine> { return std::make_unique<TSqliteEngine>(); });
}

void TSqliteEngine::Configure(QSqlDatabase& db, const QString& connectionString) const
{
    db.setDatabaseName(connectionString);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
}

void TSqliteEngine::Prepare(QSqlDatabase& db, const QString& connectionString)
{
    sqlite3* raw = Handle(db);
    if (!raw || !RegisterSqlServerFunctions(raw, &programClock))
        throw EDatabaseError(QStringLiteral("SQLite işlevleri kaydedilemedi."));
    PrepareFile(db, connectionString == TdmMain::EmbeddedDatabasePath());
}

void TSqliteEngine::PrepareFile(QSqlDatabase& db, bool withDemoData)
{
    Exec(db, QStringLiteral("PRAGMA journal_mode=WAL"));
    Exec(db, QStringLiteral("PRAGMA synchronous=FULL"));
    Exec(db, QStringLiteral("PRAGMA foreign_keys=ON"));
    EmbeddedDatabase::Prepare(withDemoData);
}

QString TSqliteEngine::Remembered(const QString& connectionString) const
{
    return connectionString;
}

QString TSqliteEngine::Description(const QString& remembered) const
{
    return QStringLiteral("SQLite: ") + QFileInfo(remembered).absoluteFilePath();
}

void TSqliteEngine::BeginTransaction(QSqlDatabase& db)
{
    Exec(db, QStringLiteral("BEGIN IMMEDIATE"));
}

void TSqliteEngine::Commit(QSqlDatabase& db)
{
    Exec(db, QStringLiteral("COMMIT"));
}

void TSqliteEngine::Rollback(QSqlDatabase& db)
{
    QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
}

void TSqliteEngine::CallRoutine(QSqlDatabase&, TRoutineCall& call)
{
    EmbeddedDatabase::RunProcedure(call);
}
