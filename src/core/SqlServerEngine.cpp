#include "core/SqlServerEngine.h"

#include "core/DbErrors.h"
#include "core/Exceptions.h"
#include "core/RoutineCall.h"
#include "core/SqlServerBrowser.h"

#include <QSqlQuery>
#include <QStringList>

namespace {
const QString kDriverOdbc = QStringLiteral("QODBC");
const QString kServerPassword = QStringLiteral("7HVN4KTR");

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

void RequireConnectionStep(bool done, const QSqlDatabase& db)
{
    if (!done)
        throw EDatabaseError(DbErrors::ConnectionText(db.lastError()));
}
} // namespace

void TSqlServerEngine::Register()
{
    TDbEngine::Register(DbEngineName::SqlServer, kDriverOdbc, []() -> std::unique_ptr<TDbEngine> {
        return std::make_unique<TSqlServerEngine>();
    });
}

// Newest Microsoft driver first, FreeTDS (the driver Debian ships) last.
QList<TConnectionAttempt> TSqlServerEngine::BuiltInAttempts()
{
    // Screens read a second result while the first is still open (a receipt's header and its
    // lines); over ODBC that needs multiple active result sets on the one connection.
    const QString tail = QStringLiteral("DATABASE=KIRVELO;UID=sa;PWD=") + kServerPassword +
                         QStringLiteral(";MARS_Connection=yes;");
    const QString msEncrypt = QStringLiteral("Encrypt=Optional;TrustServerCertificate=yes;");
    const QString ms17Encrypt = QStringLiteral("Encrypt=no;TrustServerCertificate=yes;");
    const QString engine = DbEngineName::SqlServer;
    return {
        {kDriverOdbc,
         QStringLiteral("DRIVER={ODBC Driver 18 for SQL Server};SERVER=localhost\\TALVIRON;") +
             tail + msEncrypt,
         engine},
        {kDriverOdbc,
         QStringLiteral("DRIVER={ODBC Driver 18 for SQL Server};SERVER=127.0.0.1\\TALVIRON;") +
             tail + msEncrypt,
         engine},
        {kDriverOdbc,
         QStringLiteral("DRIVER={ODBC Driver 17 for SQL Server};SERVER=localhost\\TALVIRON;") +
             tail + ms17Encrypt,
         engine},
        {kDriverOdbc,
         QStringLiteral("DRIVER={ODBC Driver 17 for SQL Server};SERVER=127.0.0.1\\TALVIRON;") +
             tail + ms17Encrypt,
         engine},
        {kDriverOdbc,
         QStringLiteral(
             "DRIVER={FreeTDS};SERVER=localhost\\TALVIRON;TDS_Version=7.4;ClientCharset=UTF-8;") +
             tail,
         engine},
    };
}

QString TSqlServerEngine::SanitizeConnectionString(const QString& text)
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

void TSqlServerEngine::Configure(QSqlDatabase& db, const QString& connectionString) const
{
    db.setDatabaseName(ResolveFreeTdsInstance(SanitizeConnectionString(connectionString)));
    db.setConnectOptions(QStringLiteral("SQL_ATTR_LOGIN_TIMEOUT=%1;SQL_ATTR_CONNECTION_TIMEOUT=%1")
                             .arg(LoginTimeoutSeconds));
}

void TSqlServerEngine::Prepare(QSqlDatabase& db, const QString&)
{
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("SET QUOTED_IDENTIFIER ON")))
        throw EDatabaseError(DbErrors::StatementText(query.lastError()));
}

QString TSqlServerEngine::Remembered(const QString& connectionString) const
{
    return SanitizeConnectionString(connectionString);
}

QString TSqlServerEngine::Description(const QString& remembered) const
{
    return QStringLiteral("SQL Server: %1 / %2")
        .arg(OdbcValue(remembered, QStringLiteral("SERVER")),
             OdbcValue(remembered, QStringLiteral("DATABASE")));
}

// Driver messages must never carry the password into a message box or the log.
QString TSqlServerEngine::Shown(const QString& errorText) const
{
    QString text = errorText;
    return text.replace(kServerPassword, QStringLiteral("***"));
}

void TSqlServerEngine::BeginTransaction(QSqlDatabase& db)
{
    RequireConnectionStep(db.transaction(), db);
}

void TSqlServerEngine::Commit(QSqlDatabase& db)
{
    RequireConnectionStep(db.commit(), db);
}

void TSqlServerEngine::Rollback(QSqlDatabase& db)
{
    db.rollback();
}

void TSqlServerEngine::CallRoutine(QSqlDatabase& db, TRoutineCall& call)
{
    const QList<TRoutineParam> params = call.Params();
    QStringList marks;
    for (qsizetype i = 0; i < params.size(); ++i)
        marks << QStringLiteral("?");
    QSqlQuery query(db);
    if (!query.prepare(QStringLiteral("{CALL %1(%2)}").arg(call.Name(), marks.join(u','))))
        throw EDatabaseError(query.lastError().text());
    for (qsizetype i = 0; i < params.size(); ++i)
        query.bindValue(int(i), params.at(i).Value, params.at(i).Output ? QSql::Out : QSql::In);
    if (!query.exec())
        throw EDatabaseError(query.lastError().databaseText().isEmpty()
                                 ? query.lastError().text()
                                 : query.lastError().databaseText());
    // Output parameters arrive only after every result set has been read.
    while (query.nextResult()) {
    }
    for (qsizetype i = 0; i < params.size(); ++i) {
        const TRoutineParam& param = params.at(i);
        if (!param.Output)
            continue;
        QVariant v = query.boundValue(int(i));
        if (param.Type == QMetaType::QString)
            v = v.toString().trimmed();
        call.SetValue(param.Name, v);
    }
}
