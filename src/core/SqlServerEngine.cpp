#include "core/SqlServerEngine.h"

#include "core/DbErrors.h"
#include "core/Exceptions.h"
#include "core/RoutineCall.h"
#include "core/SqlServerBrowser.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <algorithm>

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

// "@Message" is declared, passed and selected as @Message and bound as :Message.
QString Bare(const QString& parameter)
{
    return parameter.startsWith(u'@') ? parameter.mid(1) : parameter;
}

QString DeclaredType(const TRoutineParam& param)
{
    switch (param.Type) {
    case QMetaType::Bool:
        return QStringLiteral("BIT");
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::UInt:
        return QStringLiteral("INT");
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QStringLiteral("BIGINT");
    case QMetaType::Float:
    case QMetaType::Double:
        return QStringLiteral("FLOAT");
    case QMetaType::QDateTime:
        return QStringLiteral("DATETIME");
    case QMetaType::QDate:
        return QStringLiteral("DATE");
    case QMetaType::QTime:
        return QStringLiteral("TIME");
    case QMetaType::QByteArray:
        return QStringLiteral("VARBINARY(MAX)");
    case QMetaType::QString:
        return param.Size > 0 ? QStringLiteral("NVARCHAR(%1)").arg(param.Size)
                              : QStringLiteral("NVARCHAR(MAX)");
    default:
        return QStringLiteral("SQL_VARIANT");
    }
}

QString QualifiedRoutine(const QString& name)
{
    return name.contains(u'.') ? name : QStringLiteral("dbo.") + name;
}

QList<QSqlRecord> ReadRows(QSqlQuery& query)
{
    QList<QSqlRecord> rows;
    while (query.next())
        rows << query.record();
    return rows;
}

// An output as the call declared it: the driver may hand a BIT back as a number, a MONEY as text.
QVariant OutputValue(const TRoutineParam& param, const QVariant& value)
{
    if (value.isNull())
        return QVariant(QMetaType(param.Type));
    QVariant converted = value;
    return converted.convert(QMetaType(param.Type)) ? converted : value;
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

QString TSqlServerEngine::RoutineBatch(const TRoutineCall& call)
{
    QStringList declared;
    QStringList arguments;
    QStringList selected;
    for (const TRoutineParam& param : call.Params()) {
        const QString name = Bare(param.Name);
        if (!param.Output) {
            arguments << QStringLiteral("@%1 = :%1").arg(name);
            continue;
        }
        declared << QStringLiteral("@%1 %2").arg(name, DeclaredType(param));
        arguments << QStringLiteral("@%1 = @%1 OUTPUT").arg(name);
        selected << QStringLiteral("@%1 AS %1").arg(name);
    }
    QString batch;
    if (!declared.isEmpty())
        batch +=
            QStringLiteral("DECLARE ") + declared.join(QStringLiteral(", ")) + QStringLiteral("; ");
    batch += QStringLiteral("EXEC ") + QualifiedRoutine(call.Name());
    if (!arguments.isEmpty())
        batch += u' ' + arguments.join(QStringLiteral(", "));
    batch += u';';
    if (!selected.isEmpty())
        batch += QStringLiteral(" SELECT ") + selected.join(QStringLiteral(", ")) + u';';
    return batch;
}

void TSqlServerEngine::CallRoutine(QSqlDatabase& db, TRoutineCall& call)
{
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (!query.prepare(RoutineBatch(call)))
        throw EDatabaseError(DbErrors::StatementText(query.lastError()));
    for (const TRoutineParam& param : call.Params()) {
        if (!param.Output)
            query.bindValue(u':' + Bare(param.Name), param.Value);
    }
    if (!query.exec())
        throw EDatabaseError(DbErrors::StatementText(query.lastError()));
    ReadRoutineResults(query, call);
}

void TSqlServerEngine::ReadRoutineResults(QSqlQuery& query, TRoutineCall& call)
{
    // Every result set the routine returns comes first; the batch's own row of outputs is last.
    QList<QSqlRecord> last;
    bool selected = false;
    do {
        if (!query.isSelect())
            continue;
        for (const QSqlRecord& row : std::as_const(last))
            call.AddRow(row);
        last = ReadRows(query);
        selected = true;
    } while (query.nextResult());
    // A routine that fails after its first result reports the error on the step to the next.
    if (query.lastError().isValid())
        throw EDatabaseError(DbErrors::StatementText(query.lastError()));
    const bool hasOutputs = std::any_of(call.Params().cbegin(), call.Params().cend(),
                                        [](const TRoutineParam& param) { return param.Output; });
    if (!hasOutputs) {
        for (const QSqlRecord& row : std::as_const(last))
            call.AddRow(row);
        return;
    }
    if (!selected || last.isEmpty())
        throw EDatabaseError(
            QStringLiteral("%1 yordamının çıkış değerleri okunamadı.").arg(call.Name()));
    const QSqlRecord& outputs = last.first();
    for (const TRoutineParam& param : call.Params()) {
        if (param.Output)
            call.SetValue(param.Name, OutputValue(param, outputs.value(Bare(param.Name))));
    }
}
