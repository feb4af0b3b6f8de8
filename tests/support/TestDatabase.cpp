#include "support/TestDatabase.h"

#include "core/AppPaths.h"
#include "core/DbErrors.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "database/SqliteEngine.h"
#include "database/SqliteOdbcEngine.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QUuid>
#include <QtTest>

namespace {
const QString kRoadVariable = QStringLiteral("KIRVELO_TEST_DATABASE");

QString RoadSetting()
{
    return qEnvironmentVariable("KIRVELO_TEST_DATABASE").trimmed();
}

QString ServerConnectionString()
{
    return qEnvironmentVariable("KIRVELO_TEST_SERVER").trimmed();
}

// The SQLite ODBC driver by its registered name when the driver manager knows it, else by its
// library, which the driver manager loads all the same: a machine without the odbcinst.ini entry
// needs no set-up. Asked once per process.
QString SqliteOdbcDriver()
{
    static const QString driver = [] {
        const QString registered = QStringLiteral("{SQLite3}");
        const QString name = QStringLiteral("sqlite-odbc-probe");
        bool known = false;
        {
            QSqlDatabase probe = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), name);
            probe.setDatabaseName(QStringLiteral("DRIVER=") + registered +
                                  QStringLiteral(";Database=:memory:;"));
            known = probe.open();
            probe.close();
        }
        QSqlDatabase::removeDatabase(name);
        return known ? registered : QStringLiteral(KIRVELO_SQLITE_ODBC_DRIVER);
    }();
    return driver;
}

// A connection of its own to the server of the SQL Server road, for making and dropping the
// test databases.
class TServerSession {
public:
    explicit TServerSession(const QString& connectionString)
        : FName(QStringLiteral("kirvelo-test-server-") + QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QODBC"), FName);
        db.setDatabaseName(connectionString);
        if (!db.open())
            throw EDatabaseError(DbErrors::ConnectionText(db.lastError()));
    }
    ~TServerSession() { QSqlDatabase::removeDatabase(FName); }

    void Run(const QString& sql)
    {
        QSqlDatabase db = QSqlDatabase::database(FName, false);
        QSqlQuery query(db);
        if (!query.exec(sql))
            throw EDatabaseError(DbErrors::StatementText(query.lastError()) + QStringLiteral("\n") +
                                 sql.left(300));
        while (query.nextResult()) {
        }
    }

private:
    QString FName;
};

QString WithDatabase(const QString& connectionString, const QString& database)
{
    QStringList pieces;
    for (const QString& piece : connectionString.split(u';', Qt::SkipEmptyParts)) {
        const QString key = piece.section(u'=', 0, 0).trimmed();
        if (key.compare(QStringLiteral("DATABASE"), Qt::CaseInsensitive) != 0)
            pieces << piece;
    }
    return pieces.join(u';') + QStringLiteral(";DATABASE=") + database + u';';
}

// The batches of the set-up script, split at its "GO" lines, as sqlcmd runs them.
QStringList SetupScriptBatches()
{
    QFile script(QStringLiteral(KIRVELO_SOURCE_DIR "/database/kirvelo_sqlserver.sql"));
    if (!script.open(QIODevice::ReadOnly | QIODevice::Text))
        throw EDatabaseError(script.fileName() + QStringLiteral(" okunamadı."));
    QStringList batches;
    QString current;
    for (const QString& line : QString::fromUtf8(script.readAll()).split(u'\n')) {
        if (line.trimmed().compare(QStringLiteral("GO"), Qt::CaseInsensitive) == 0) {
            batches << current;
            current.clear();
            continue;
        }
        current += line + u'\n';
    }
    batches << current;
    return batches;
}

// A new database on the server, set up as an administrator sets up a shop's.
QString CreateServerDatabase()
{
    const QString name = QStringLiteral("KIRVELO_TEST_") +
                         QUuid::createUuid().toString(QUuid::Id128).left(16).toUpper();
    TServerSession(ServerConnectionString()).Run(QStringLiteral("CREATE DATABASE [%1]").arg(name));
    TServerSession session(WithDatabase(ServerConnectionString(), name));
    for (const QString& batch : SetupScriptBatches()) {
        if (!batch.trimmed().isEmpty())
            session.Run(batch);
    }
    return name;
}

void DropServerDatabase(const QString& name)
{
    TServerSession session(ServerConnectionString());
    session.Run(
        QStringLiteral("ALTER DATABASE [%1] SET SINGLE_USER WITH ROLLBACK IMMEDIATE").arg(name));
    session.Run(QStringLiteral("DROP DATABASE [%1]").arg(name));
}
} // namespace

TTestRoad TestRoad()
{
    const QString road = RoadSetting();
    if (road.compare(QStringLiteral("odbc"), Qt::CaseInsensitive) == 0)
        return ServerConnectionString().isEmpty() ? TTestRoad::Odbc : TTestRoad::SqlServer;
    if (!road.isEmpty() && road.compare(QStringLiteral("sqlite"), Qt::CaseInsensitive) != 0)
        qFatal("%s: unknown road \"%s\" (sqlite or odbc)", qPrintable(kRoadVariable),
               qPrintable(road));
    return TTestRoad::Sqlite;
}

QString TestRoadName()
{
    switch (TestRoad()) {
    case TTestRoad::Odbc:
        return QStringLiteral("odbc");
    case TTestRoad::SqlServer:
        return QStringLiteral("mssql");
    case TTestRoad::Sqlite:
        break;
    }
    return QStringLiteral("sqlite");
}

TConnectionAttempt SqliteOdbcAttempt(const QString& path)
{
    return {QStringLiteral("QODBC"),
            TSqliteOdbcEngine::ConnectionString(path, SqliteOdbcDriver(),
                                                QStringLiteral(KIRVELO_SQLFUNCTIONS_EXTENSION)),
            TSqliteOdbcEngine::Name};
}

TConnectionAttempt SqliteFileAttempt(const QString& path)
{
    return TestRoad() == TTestRoad::Odbc ? SqliteOdbcAttempt(path)
                                         : TConnectionAttempt{QStringLiteral("QSQLITE"), path};
}

TTestDatabase::TTestDatabase(const QString& fileName)
    : FFileName(fileName)
{
    UseEmbeddedEngine();
    switch (TestRoad()) {
    case TTestRoad::Sqlite:
    case TTestRoad::Odbc:
        FAttempt = SqliteFileAttempt(Path());
        break;
    case TTestRoad::SqlServer:
        FServerDatabase = CreateServerDatabase();
        FAttempt = {QStringLiteral("QODBC"),
                    WithDatabase(ServerConnectionString(), FServerDatabase),
                    DbEngineName::SqlServer};
        break;
    }
    FDb = std::make_unique<TdmMain>();
    FDb->SetAttempts({FAttempt});
    FDb->Connect();
}

TTestDatabase::~TTestDatabase()
{
    FDb.reset();
    if (!FServerDatabase.isEmpty())
        DropServerDatabase(FServerDatabase);
}

void TTestDatabase::Exec(const QString& sql)
{
    FDb->ExecSql(sql);
}

QVariant TTestDatabase::Scalar(const QString& sql)
{
    return FDb->GetScalar(sql);
}

int TTestDatabase::Count(const QString& table)
{
    return Scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt();
}

void UseTurkishLocale()
{
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
}

void UseTestPaths()
{
    QStandardPaths::setTestModeEnabled(true);
    UseEmbeddedEngine();
}

void UseEmbeddedEngine()
{
    TSqliteEngine::Register();
    TSqliteOdbcEngine::Register();
}

QString StoredTimeText(const QVariant& value)
{
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    return value.toString();
}

QStringList ZReportFiles(int vardiyaId)
{
    return QDir(AppPaths::ReportsFolder())
        .entryList({QStringLiteral("Z_Report_V%1_*.txt").arg(vardiyaId)}, QDir::Files);
}

void RemoveZReportFiles(int vardiyaId)
{
    for (const QString& name : ZReportFiles(vardiyaId))
        QFile::remove(AppPaths::ReportsFolder() + name);
}
