#include "core/DataModule.h"

#include "core/AppPaths.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/SqlServerBrowser.h"
#include "core/SqliteFunctions.h"
#include "core/StatementCache.h"
#include "database/EmbeddedDatabase.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

#include <sqlite3.h>

TdmMain* dmMain = nullptr;

namespace {
const QString kDriverSqlite = QStringLiteral("QSQLITE");
const QString kDriverOdbc = QStringLiteral("QODBC");
const QString kServerPassword = QStringLiteral("7HVN4KTR");
const QString kCrLf = QStringLiteral("\r\n");

QString ErrorText(const QSqlError& error)
{
    QString text = error.databaseText().trimmed();
    if (text.isEmpty())
        text = error.driverText().trimmed();
    if (text.isEmpty())
        text = error.text().trimmed();
    return text;
}

// Driver messages must never carry the password into a message box or the log.
QString WithoutPassword(QString text)
{
    return text.replace(kServerPassword, QStringLiteral("***"));
}

QString OdbcValue(const QString& connectionString, const QString& key)
{
    for (const QString& piece : connectionString.split(u';')) {
        const int eq = piece.indexOf(u'=');
        if (eq > 0 && piece.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return piece.mid(eq + 1).trimmed();
    }
    return {};
}

QString WithOdbcValue(const QString& connectionString, const QString& key, const QString& value)
{
    QStringList pieces;
    for (const QString& piece : connectionString.split(u';', Qt::SkipEmptyParts)) {
        const int eq = piece.indexOf(u'=');
        const QString pieceKey = eq > 0 ? piece.left(eq).trimmed() : piece.trimmed();
        pieces << (pieceKey.compare(key, Qt::CaseInsensitive) == 0 ? key + u'=' + value : piece);
    }
    return pieces.join(u';') + u';';
}

bool IsFreeTds(const QString& connectionString)
{
    return OdbcValue(connectionString, QStringLiteral("DRIVER"))
        .contains(QStringLiteral("FreeTDS"), Qt::CaseInsensitive);
}

// FreeTDS looks a named instance up over UDP with retries that no login time-out bounds, so the
// instance's port is asked of SQL Server Browser here, within a short time, and the attempt
// connects by port.
QString ResolveFreeTdsInstance(const QString& connectionString)
{
    const QString server = OdbcValue(connectionString, QStringLiteral("SERVER"));
    const int slash = server.indexOf(u'\\');
    if (!IsFreeTds(connectionString) || slash < 0)
        return connectionString;
    const QString host = server.left(slash);
    const QString instance = server.mid(slash + 1);
    const int port = SqlServerBrowser::InstancePort(host, instance, 1500);
    if (port <= 0)
        throw EDatabaseError(
            QStringLiteral("SQL Server Browser %1 örneğinin portunu bildirmedi (UDP 1434).")
                .arg(server));
    return WithOdbcValue(connectionString, QStringLiteral("SERVER"), host) +
           QStringLiteral("Port=%1;").arg(port);
}
} // namespace

TdmMain::TdmMain(QObject* parent)
    : QObject(parent)
    , FConnectionName(QStringLiteral("KIRVELO-") +
                      QUuid::createUuid().toString(QUuid::WithoutBraces))
    , FStatements(std::make_unique<TStatementCache>())
    , FAttempts(AttemptsFor(qEnvironmentVariable("KIRVELO_DATABASE")))
{
    dmMain = this;
}

TdmMain::~TdmMain()
{
    Disconnect();
    QSqlDatabase::removeDatabase(FConnectionName);
    if (dmMain == this)
        dmMain = nullptr;
}

QString TdmMain::EmbeddedDatabasePath()
{
    return AppPaths::UserDataFolder() + QStringLiteral("kirvelo.db");
}

QList<TConnectionAttempt> TdmMain::AttemptsFor(const QString& setting)
{
    const QString value = setting.trimmed();
    if (value.isEmpty())
        return {{kDriverSqlite, EmbeddedDatabasePath()}};
    if (value.startsWith(QStringLiteral("sqlite:"), Qt::CaseInsensitive))
        return {{kDriverSqlite, value.mid(7)}};
    if (value.compare(QStringLiteral("mssql"), Qt::CaseInsensitive) == 0)
        return BuiltInSqlServerAttempts();
    if (value.startsWith(QStringLiteral("mssql:"), Qt::CaseInsensitive))
        return {{kDriverOdbc, value.mid(6)}};
    return {{kDriverSqlite, value}};
}

// Newest Microsoft driver first, FreeTDS (the driver Debian ships) last.
QList<TConnectionAttempt> TdmMain::BuiltInSqlServerAttempts()
{
    // Screens read a second result while the first is still open (a receipt's header and its
    // lines); over ODBC that needs multiple active result sets on the one connection.
    const QString tail = QStringLiteral("DATABASE=KIRVELO;UID=sa;PWD=") + kServerPassword +
                         QStringLiteral(";MARS_Connection=yes;");
    const QString msEncrypt = QStringLiteral("Encrypt=Optional;TrustServerCertificate=yes;");
    const QString ms17Encrypt = QStringLiteral("Encrypt=no;TrustServerCertificate=yes;");
    return {
        {kDriverOdbc,
         QStringLiteral("DRIVER={ODBC Driver 18 for SQL Server};SERVER=localhost\\TALVIRON;") +
             tail + msEncrypt},
        {kDriverOdbc,
         QStringLiteral("DRIVER={ODBC Driver 18 for SQL Server};SERVER=127.0.0.1\\TALVIRON;") +
             tail + msEncrypt},
        {kDriverOdbc,
         QStringLiteral("DRIVER={ODBC Driver 17 for SQL Server};SERVER=localhost\\TALVIRON;") +
             tail + ms17Encrypt},
        {kDriverOdbc,
         QStringLiteral("DRIVER={ODBC Driver 17 for SQL Server};SERVER=127.0.0.1\\TALVIRON;") +
             tail + ms17Encrypt},
        {kDriverOdbc,
         QStringLiteral(
             "DRIVER={FreeTDS};SERVER=localhost\\TALVIRON;TDS_Version=7.4;ClientCharset=UTF-8;") +
             tail},
    };
}

bool TdmMain::Connect()
{
    if (FConnected)
        return true;
    CloseConnection();
    QString failures;
    for (int i = 0; i < FAttempts.size(); ++i) {
        QString errorText;
        if (TryConnectWith(FAttempts.at(i), errorText)) {
            FConnected = true;
            return true;
        }
        failures += QStringLiteral("%1) %2").arg(i + 1).arg(errorText) + kCrLf;
    }
    FConnected = false;
    throw EDatabaseError(QStringLiteral("Veritabanı Erişim Hatası!") + kCrLf +
                         QStringLiteral("KIRVELO, SQL Server TALVIRON instance'ına bağlanamadı.") +
                         kCrLf + QStringLiteral("Denenen baglantı hataları:") + kCrLf + failures);
}

bool TdmMain::TryConnectWith(const TConnectionAttempt& attempt, QString& errorText)
{
    errorText.clear();
    CloseConnection();
    try {
        if (!OpenAttempt(attempt, errorText)) {
            CloseConnection();
            return false;
        }
        FOpenedWith = attempt.Driver == kDriverSqlite
                          ? attempt.ConnectionString
                          : SanitizeConnectionString(attempt.ConnectionString);
        return true;
    } catch (const std::exception& e) {
        errorText = WithoutPassword(ErrorMessage(e));
        CloseConnection();
        return false;
    }
}

bool TdmMain::OpenAttempt(const TConnectionAttempt& attempt, QString& errorText)
{
    const bool sqlite = attempt.Driver == kDriverSqlite;
    FDialect = SqlDialect(sqlite ? TDbEngine::SQLite : TDbEngine::SqlServer);
    QSqlDatabase db = QSqlDatabase::addDatabase(attempt.Driver, FConnectionName);
    if (!db.isValid()) {
        errorText = QStringLiteral("%1 sürücüsü yüklenemedi.").arg(attempt.Driver);
        return false;
    }
    if (sqlite) {
        db.setDatabaseName(attempt.ConnectionString);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
    } else {
        db.setDatabaseName(
            ResolveFreeTdsInstance(SanitizeConnectionString(attempt.ConnectionString)));
        db.setConnectOptions(
            QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1")
                .arg(LoginTimeoutSeconds));
    }
    if (!db.open()) {
        errorText = WithoutPassword(ErrorText(db.lastError()));
        return false;
    }
    if (sqlite)
        PrepareSqlite();
    else
        ExecSql(QStringLiteral("SET QUOTED_IDENTIFIER ON"));
    if (sqlite)
        EmbeddedDatabase::Prepare(*this, attempt.ConnectionString == EmbeddedDatabasePath());
    return true;
}

void TdmMain::PrepareSqlite()
{
    QSqlDatabase db = Database();
    const QVariant handle = db.driver()->handle();
    auto* raw = handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0
                    ? *static_cast<sqlite3* const*>(handle.constData())
                    : nullptr;
    if (!raw || !RegisterSqlServerFunctions(raw))
        throw EDatabaseError(QStringLiteral("SQLite işlevleri kaydedilemedi."));
    ExecSql(QStringLiteral("PRAGMA journal_mode=WAL"));
    ExecSql(QStringLiteral("PRAGMA synchronous=NORMAL"));
    ExecSql(QStringLiteral("PRAGMA foreign_keys=ON"));
}

void TdmMain::CloseConnection()
{
    FStatements->Clear();
    if (!QSqlDatabase::contains(FConnectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(FConnectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(FConnectionName);
    FInTransaction = false;
}

void TdmMain::Disconnect()
{
    CloseConnection();
    FConnected = false;
}

QSqlDatabase TdmMain::Database() const
{
    return QSqlDatabase::database(FConnectionName, false);
}

QString TdmMain::Description() const
{
    if (Engine() == TDbEngine::SQLite)
        return QStringLiteral("SQLite: ") + QFileInfo(FOpenedWith).absoluteFilePath();
    return QStringLiteral("SQL Server: %1 / %2")
        .arg(OdbcValue(FOpenedWith, QStringLiteral("SERVER")),
             OdbcValue(FOpenedWith, QStringLiteral("DATABASE")));
}

QVariant TdmMain::GetScalar(const QString& sql)
{
    TDbQuery query(sql);
    query.Exec();
    return query.Next() ? query.Value(0) : QVariant();
}

bool TdmMain::TableExists(const QString& table)
{
    const QVariant id = GetScalar(QStringLiteral("SELECT OBJECT_ID('dbo.%1', 'U')").arg(table));
    bool ok = false;
    return !id.isNull() && id.toString().toLongLong(&ok) != 0 && ok;
}

void TdmMain::ExecSql(const QString& sql)
{
    TDbQuery(sql).Exec();
}

QString TdmMain::SanitizeConnectionString(const QString& text)
{
    QString result;
    for (const QString& raw : text.split(u';')) {
        const QString piece = raw.trimmed();
        if (piece.isEmpty())
            continue;
        const QString key = piece.section(u'=', 0, 0).trimmed();
        if (key.compare(QStringLiteral("Server Certificate"), Qt::CaseInsensitive) == 0 ||
            key.compare(QStringLiteral("Host Name In Certificate"), Qt::CaseInsensitive) == 0)
            continue;
        result += piece + u';';
    }
    return result;
}

void TdmMain::BeginTransaction()
{
    if (FDialect.IsSqlite())
        ExecSql(QStringLiteral("BEGIN IMMEDIATE"));
    else if (!Database().transaction())
        throw EDatabaseError(ErrorText(Database().lastError()));
    FInTransaction = true;
}

void TdmMain::Commit()
{
    if (FDialect.IsSqlite())
        ExecSql(QStringLiteral("COMMIT"));
    else if (!Database().commit())
        throw EDatabaseError(ErrorText(Database().lastError()));
    FInTransaction = false;
}

void TdmMain::Rollback()
{
    if (!FInTransaction)
        return;
    FInTransaction = false;
    if (FDialect.IsSqlite())
        QSqlQuery(Database()).exec(QStringLiteral("ROLLBACK"));
    else
        Database().rollback();
}
