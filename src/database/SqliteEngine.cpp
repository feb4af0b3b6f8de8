#include "database/SqliteEngine.h"

#include "core/Clock.h"
#include "core/DataModule.h"
#include "core/DbErrors.h"
#include "core/Exceptions.h"
#include "database/EmbeddedDatabase.h"
#include "database/SqliteFunctions.h"

#include <QDir>
#include <QFile>
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

// An SQLite file begins with these 16 bytes; an empty file is a database not yet written.
bool HoldsSqliteDatabase(const QString& path)
{
    QFile file(path);
    return file.size() == 0 ||
           (file.open(QIODevice::ReadOnly) && file.read(16) == QByteArray("SQLite format 3", 16));
}

// Why the file at `path` cannot serve as the database, when the file system or the file shows it.
QString FileProblem(const QString& path)
{
    const QFileInfo file(path);
    const QString folder = QDir::toNativeSeparators(file.absolutePath());
    if (path.trimmed().isEmpty())
        return QStringLiteral("dosya adı verilmedi");
    if (file.isDir())
        return QStringLiteral("bu bir klasör, veritabanı dosyası değil");
    if (!QFileInfo::exists(file.absolutePath()))
        return QStringLiteral("%1 klasörü yok").arg(folder);
    if (!file.exists())
        return QFileInfo(file.absolutePath()).isWritable()
                   ? QString()
                   : QStringLiteral("%1 klasörüne yazma izni yok").arg(folder);
    if (!file.isReadable())
        return QStringLiteral("dosyayı okuma izni yok");
    if (!file.isWritable())
        return QStringLiteral("dosyaya yazma izni yok");
    if (!HoldsSqliteDatabase(path))
        return QStringLiteral("dosya bir SQLite veritabanı değil ya da bozuk");
    return {};
}

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
    PrepareFile(db, connectionString, connectionString == TdmMain::EmbeddedDatabasePath());
}

void TSqliteEngine::PrepareFile(QSqlDatabase& db, const QString& file, bool withDemoData)
{
    Exec(db, QStringLiteral("PRAGMA journal_mode=WAL"));
    Exec(db, QStringLiteral("PRAGMA synchronous=FULL"));
    Exec(db, QStringLiteral("PRAGMA foreign_keys=ON"));
    if (!EmbeddedDatabase::Prepare(withDemoData))
        return;
    FFiller = std::make_unique<TSearchKeyFiller>(file);
    FFiller->start(QThread::LowPriority);
}

QString TSqliteEngine::Remembered(const QString& connectionString) const
{
    return connectionString;
}

QString TSqliteEngine::Description(const QString& remembered) const
{
    return QStringLiteral("SQLite: ") + QFileInfo(remembered).absoluteFilePath();
}

QString TSqliteEngine::OpenFailure(const QString& connectionString, const QString& driverText) const
{
    const QString path = FileOf(connectionString);
    const QString problem = FileProblem(path);
    return QStringLiteral("Veritabanı dosyası açılamadı: %1 (%2)")
        .arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()),
             problem.isEmpty() ? driverText : problem);
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
