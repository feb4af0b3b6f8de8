#include "database/SqliteOdbcEngine.h"

#include "core/Clock.h"
#include "core/DbErrors.h"
#include "core/Exceptions.h"
#include "database/SqlFunctionsExtension.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace {
QString OdbcValue(const QString& connectionString, const QString& key)
{
    for (const QString& piece : connectionString.split(u';')) {
        const qsizetype eq = piece.indexOf(u'=');
        if (eq > 0 && piece.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return piece.mid(eq + 1).trimmed();
    }
    return {};
}

// The extension the driver loaded lives in this process: GETDATE() is pointed at the program's
// clock there, so both roads stamp the same time.
void HandClockToExtension(const QString& connectionString)
{
    const QString extension = OdbcValue(connectionString, QStringLiteral("LoadExt"));
    void* handle = extension.isEmpty()
                       ? nullptr
                       : dlopen(QFile::encodeName(extension).constData(), RTLD_NOW | RTLD_NOLOAD);
    const auto useClock =
        handle ? reinterpret_cast<TUseClock>(dlsym(handle, SqlFunctionsUseClockSymbol)) : nullptr;
    if (useClock)
        useClock(&TClock::Now);
    if (handle)
        dlclose(handle);
    if (!useClock)
        throw EDatabaseError(
            QStringLiteral("SQL Server işlevleri ODBC bağlantısına yüklenmedi (LoadExt=%1).")
                .arg(extension));
}

void RequireConnectionStep(bool done, const QSqlDatabase& db)
{
    if (!done)
        throw EDatabaseError(DbErrors::ConnectionText(db.lastError()));
}
} // namespace

void TSqliteOdbcEngine::Register()
{
    TDbEngine::Register(Name, QString(), []() -> std::unique_ptr<TDbEngine> {
        return std::make_unique<TSqliteOdbcEngine>();
    });
}

QString TSqliteOdbcEngine::ConnectionString(const QString& file, const QString& driver,
                                            const QString& extension)
{
    return QStringLiteral("DRIVER=%1;Database=%2;LoadExt=%3;Timeout=10000;")
        .arg(driver, file, extension);
}

void TSqliteOdbcEngine::Configure(QSqlDatabase& db, const QString& connectionString) const
{
    db.setDatabaseName(connectionString);
}

void TSqliteOdbcEngine::Prepare(QSqlDatabase& db, const QString& connectionString)
{
    HandClockToExtension(connectionString);
    PrepareFile(db, FileOf(connectionString), false);
}

QString TSqliteOdbcEngine::Description(const QString& remembered) const
{
    return QStringLiteral("SQLite (ODBC): ") + QFileInfo(FileOf(remembered)).absoluteFilePath();
}

QString TSqliteOdbcEngine::FileOf(const QString& connectionString) const
{
    return OdbcValue(connectionString, QStringLiteral("Database"));
}

void TSqliteOdbcEngine::BeginTransaction(QSqlDatabase& db)
{
    RequireConnectionStep(db.transaction(), db);
}

void TSqliteOdbcEngine::Commit(QSqlDatabase& db)
{
    RequireConnectionStep(db.commit(), db);
}

void TSqliteOdbcEngine::Rollback(QSqlDatabase& db)
{
    db.rollback();
}
