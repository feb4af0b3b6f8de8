#include "core/DataModule.h"

#include "core/AppPaths.h"
#include "core/DbErrors.h"
#include "core/Exceptions.h"
#include "core/RoutineCall.h"
#include "core/SqlServerDialect.h"
#include "core/SqlServerEngine.h"
#include "core/SqlTextLog.h"

#include <QUuid>

#include <algorithm>

TdmMain* dmMain = nullptr;

namespace {
const QString kDriverSqlite = QStringLiteral("QSQLITE");
const QString kDriverOdbc = QStringLiteral("QODBC");
const QString kCrLf = QStringLiteral("\r\n");
const QString kLinkLost = QStringLiteral(
    "Veritabanı bağlantısı koptu, işlem tamamlanamadı. Yarım kalan işlem kaydedilmedi; bağlantı "
    "bir sonraki işlemde yeniden kurulacak, lütfen tekrar deneyin.");
const QString kReconnectFailed = QStringLiteral(
    "Veritabanı bağlantısı yeniden kurulamadı. Bağlantıyı kontrol edip tekrar deneyin.");

// The texts of a module without an open engine are run as written; the driver's error follows.
const SqlDialect& UnopenedDialect()
{
    static const TSqlServerDialect dialect;
    return dialect;
}

QString EngineNameOf(const TConnectionAttempt& attempt)
{
    return attempt.Engine.isEmpty() ? attempt.Driver : attempt.Engine;
}

// Whether `sql` begins with the keyword `word`; read at the start of every statement sent, so it
// only compares a few characters.
bool BeginsWith(const QString& sql, QLatin1String word)
{
    qsizetype start = 0;
    while (start < sql.size() && sql.at(start).isSpace())
        ++start;
    const qsizetype end = start + word.size();
    return end < sql.size() && sql.at(end).isSpace() &&
           QStringView(sql).mid(start, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}
} // namespace

TdmMain::TdmMain(QObject* parent)
    : QObject(parent)
    , FConnectionName(QStringLiteral("KIRVELO-") +
                      QUuid::createUuid().toString(QUuid::WithoutBraces))
    , FAttempts(AttemptsFor(qEnvironmentVariable("KIRVELO_DATABASE")))
{
    TSqlServerEngine::Register();
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
    const QString sqlite = DbEngineName::Sqlite;
    if (value.isEmpty())
        return {{kDriverSqlite, EmbeddedDatabasePath(), sqlite}};
    if (value.startsWith(QStringLiteral("sqlite:"), Qt::CaseInsensitive))
        return {{kDriverSqlite, value.mid(7), sqlite}};
    if (value.compare(QStringLiteral("mssql"), Qt::CaseInsensitive) == 0)
        return TSqlServerEngine::BuiltInAttempts();
    if (value.startsWith(QStringLiteral("mssql:"), Qt::CaseInsensitive))
        return {{kDriverOdbc, value.mid(6), DbEngineName::SqlServer}};
    return {{kDriverSqlite, value, sqlite}};
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
            FLinkLost = false;
            return true;
        }
        failures += QStringLiteral("%1) %2").arg(i + 1).arg(errorText) + kCrLf;
    }
    FConnected = false;
    throw EDatabaseError(QStringLiteral("Veritabanı Erişim Hatası!") + kCrLf + FailureHeadline() +
                         kCrLf + QStringLiteral("Denenen baglantı hataları:") + kCrLf + failures);
}

// SQL Server is named only when one of the attempts was SQL Server.
QString TdmMain::FailureHeadline() const
{
    const bool triedSqlServer =
        std::any_of(FAttempts.cbegin(), FAttempts.cend(), [](const TConnectionAttempt& attempt) {
            return TDbEngine::NameFor(attempt) == DbEngineName::SqlServer;
        });
    return triedSqlServer ? QStringLiteral("KIRVELO, SQL Server TALVIRON instance'ına bağlanamadı.")
                          : QStringLiteral("KIRVELO, veritabanına bağlanamadı.");
}

bool TdmMain::TryConnectWith(const TConnectionAttempt& attempt, QString& errorText)
{
    errorText.clear();
    CloseConnection();
    FEngine = TDbEngine::Create(attempt);
    if (!FEngine) {
        errorText =
            QStringLiteral("%1 için kayıtlı bir veritabanı motoru yok.").arg(EngineNameOf(attempt));
        return false;
    }
    try {
        if (!OpenAttempt(attempt, errorText)) {
            errorText = FEngine->Shown(FEngine->OpenFailure(attempt.ConnectionString, errorText));
            CloseConnection();
            return false;
        }
        FOpenedWith = FEngine->Remembered(attempt.ConnectionString);
        return true;
    } catch (const std::exception& e) {
        errorText = FEngine->Shown(FEngine->OpenFailure(attempt.ConnectionString, ErrorMessage(e)));
        CloseConnection();
        return false;
    }
}

bool TdmMain::OpenAttempt(const TConnectionAttempt& attempt, QString& errorText)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(attempt.Driver, FConnectionName);
    if (!db.isValid()) {
        errorText = QStringLiteral("%1 sürücüsü yüklenemedi.").arg(attempt.Driver);
        return false;
    }
    FEngine->Configure(db, attempt.ConnectionString);
    if (!db.open()) {
        errorText = DbErrors::ConnectionText(db.lastError());
        return false;
    }
    FEngine->Prepare(db, attempt.ConnectionString);
    return true;
}

void TdmMain::CloseConnection()
{
    FStatements.Clear();
    FTablesProbed.clear();
    FSchemaEnsured.clear();
    FInTransaction = false;
    FEngine.reset();
    if (!QSqlDatabase::contains(FConnectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(FConnectionName, false);
        if (db.isOpen())
            db.close();
    }
    QSqlDatabase::removeDatabase(FConnectionName);
}

void TdmMain::Disconnect()
{
    CloseConnection();
    FConnected = false;
    FLinkLost = false;
}

void TdmMain::EnsureLink()
{
    if (FConnected && !FLinkLost && !Database().isOpen())
        FLinkLost = true;
    if (!FLinkLost)
        return;
    if (FInTransaction)
        throw EDatabaseError(kLinkLost);
    // Connecting runs statements of its own, which must not come back here.
    FLinkLost = false;
    FConnected = false;
    try {
        Connect();
    } catch (const EDatabaseError& e) {
        FLinkLost = true;
        throw EDatabaseError(kReconnectFailed + kCrLf + e.Message());
    }
}

bool TdmMain::LinkDropped()
{
    QSqlDatabase db = Database();
    if (!db.isOpen())
        return true;
    const QString probe = QStringLiteral("SELECT 1");
    SqlTextLog::Record(probe, {}, std::source_location::current());
    return !QSqlQuery(db).exec(probe);
}

void TdmMain::Fail(const QString& text)
{
    if (FConnected && !FLinkLost && LinkDropped())
        FLinkLost = true;
    if (!FLinkLost)
        throw EDatabaseError(text);
    throw EDatabaseError(text.isEmpty() ? kLinkLost : kLinkLost + kCrLf + text);
}

QSqlDatabase TdmMain::Database() const
{
    return QSqlDatabase::database(FConnectionName, false);
}

const SqlDialect& TdmMain::Dialect() const
{
    return FEngine ? FEngine->Dialect() : UnopenedDialect();
}

SqlText TdmMain::Composed(const std::function<QString(const SqlDialect&)>& compose) const
{
    const QString sqlServer = compose(UnopenedDialect());
    return Dialect().IsSqlite() ? SqlText{sqlServer, compose(Dialect())} : SqlText{sqlServer, {}};
}

QString TdmMain::Description() const
{
    return FEngine ? FEngine->Description(FOpenedWith) : QString();
}

TDbEngine& TdmMain::OpenEngine()
{
    if (!FEngine)
        throw EDatabaseError(QStringLiteral("Veritabanı bağlantısı açık değil."));
    return *FEngine;
}

bool TdmMain::ColumnMissing(const QString& table, const QString& column)
{
    const QString sql = QStringLiteral("SELECT COL_LENGTH(:T, :C)");
    SqlTextLog::Record(sql, {}, std::source_location::current());
    QSqlQuery probe(Database());
    probe.prepare(sql);
    probe.bindValue(QStringLiteral(":T"), table);
    probe.bindValue(QStringLiteral(":C"), column);
    if (!probe.exec())
        Fail(DbErrors::StatementText(probe.lastError()));
    return !probe.next() || probe.value(0).isNull();
}

std::shared_ptr<TPreparedStatement> TdmMain::ExecStep(const TSqlStep& step,
                                                      const TSqlParams& params)
{
    EnsureLink();
    // A text is one round trip, as SQL Server takes a batch; SQLite's guard of a new column and
    // the later statements of a batch go with it.
    if (!step.LaterInBatch)
        NoteRoundTrip();
    if (!step.GuardTable.isEmpty() && !ColumnMissing(step.GuardTable, step.GuardColumn))
        return nullptr;
    if (FStatementHook) {
        const TStatementHook hook = FStatementHook; // the hook may replace itself
        hook(step.Sql);
    }
    std::shared_ptr<TPreparedStatement> statement;
    try {
        statement = FStatements.Acquire(Database(), step.Sql);
    } catch (const EDatabaseError& e) {
        Fail(e.Message());
    }
    statement->Bind(params);
    QSqlQuery& query = statement->Query;
    ForgetSchemaAfter(step.Sql);
    if (!query.exec()) {
        const QString text = DbErrors::StatementText(query.lastError());
        TStatementCache::Release(*statement);
        Fail(text);
    }
    // A SQL Server batch may report row counts before the result set it ends with. Moving on to
    // the next result leaves an ODBC query inactive, where its count reads -1, so each count is
    // read before; the statement's count is the last one the batch reported.
    statement->RowsAffected = query.numRowsAffected();
    while (!query.isSelect() && query.nextResult()) {
        if (!query.isSelect() && query.numRowsAffected() >= 0)
            statement->RowsAffected = query.numRowsAffected();
    }
    return statement;
}

// Runs every step of `sql`; the last statement that ran stays in use for its result.
std::shared_ptr<TPreparedStatement> TdmMain::Run(const QString& sql, const TSqlParams& params)
{
    std::shared_ptr<TPreparedStatement> last;
    try {
        for (const TSqlStep& step : Dialect().Steps(sql)) {
            std::shared_ptr<TPreparedStatement> statement = ExecStep(step, params);
            if (!statement)
                continue;
            if (last)
                TStatementCache::Release(*last);
            last = std::move(statement);
        }
    } catch (...) {
        if (last)
            TStatementCache::Release(*last);
        throw;
    }
    return last;
}

QVariant TdmMain::GetScalar(const QString& sql, const TSqlParams& params,
                            std::source_location origin)
{
    SqlTextLog::Record(sql, {}, origin);
    const std::shared_ptr<TPreparedStatement> statement = Run(sql, params);
    if (!statement)
        return {};
    QSqlQuery& query = statement->Query;
    const QVariant value =
        query.isActive() && query.isSelect() && query.next() ? query.value(0) : QVariant();
    TStatementCache::Release(*statement);
    return value;
}

void TdmMain::ExecSql(const QString& sql, const TSqlParams& params, std::source_location origin)
{
    SqlTextLog::Record(sql, {}, origin);
    if (const std::shared_ptr<TPreparedStatement> statement = Run(sql, params))
        TStatementCache::Release(*statement);
}

bool TdmMain::TableExists(const QString& table)
{
    const QString key = table.toLower();
    if (const auto known = FTablesProbed.constFind(key); known != FTablesProbed.constEnd())
        return *known;
    const QVariant id =
        GetScalar(QStringLiteral("SELECT OBJECT_ID(:Name, 'U')"),
                  {{QStringLiteral("Name"), QString(QStringLiteral("dbo.") + table)}});
    bool ok = false;
    const bool exists = !id.isNull() && id.toString().toLongLong(&ok) != 0 && ok;
    FTablesProbed.insert(key, exists);
    return exists;
}

// What a transaction creates may still be rolled back, so only statements run outside one are
// remembered.
void TdmMain::EnsureSchema(const QStringList& statements)
{
    for (const QString& statement : statements) {
        if (FSchemaEnsured.contains(statement)) {
            // Written down all the same: SQL Server gets it where this engine has made sure of it.
            SqlTextLog::Record(statement, {}, std::source_location::current());
            continue;
        }
        ExecSql(statement);
        if (!FInTransaction)
            FSchemaEnsured.insert(statement);
    }
}

void TdmMain::SchemaEnsured(const QStringList& statements)
{
    for (const QString& statement : statements)
        FSchemaEnsured.insert(statement);
}

// A statement that creates, alters or drops may change which optional tables exist (a guarded
// statement of SQL Server's begins with IF); one that drops may take an owned object with it.
void TdmMain::ForgetSchemaAfter(const QString& statement)
{
    const bool drops = BeginsWith(statement, QLatin1String("DROP"));
    if (drops || BeginsWith(statement, QLatin1String("CREATE")) ||
        BeginsWith(statement, QLatin1String("ALTER")) || BeginsWith(statement, QLatin1String("IF")))
        FTablesProbed.clear();
    if (drops)
        FSchemaEnsured.clear();
}

void TdmMain::NoteRoundTrip()
{
    FRoundTrips.Note();
}

void TdmMain::BeginTransaction()
{
    EnsureLink();
    QSqlDatabase db = Database();
    try {
        TDbEngine& engine = OpenEngine();
        NoteRoundTrip();
        engine.BeginTransaction(db);
    } catch (const EDatabaseError& e) {
        Fail(e.Message());
    }
    FInTransaction = true;
}

void TdmMain::Commit()
{
    QSqlDatabase db = Database();
    try {
        TDbEngine& engine = OpenEngine();
        NoteRoundTrip();
        engine.Commit(db);
    } catch (const EDatabaseError& e) {
        Fail(e.Message());
    }
    FInTransaction = false;
}

// A transaction whose link broke is gone with it; there is nothing left to roll back.
void TdmMain::Rollback()
{
    if (!FInTransaction || !FEngine)
        return;
    FInTransaction = false;
    if (FLinkLost)
        return;
    QSqlDatabase db = Database();
    NoteRoundTrip();
    FEngine->Rollback(db);
}

// The call is one round trip; what the routine does inside the database is the database's work.
void TdmMain::CallRoutine(TRoutineCall& call)
{
    EnsureLink();
    QSqlDatabase db = Database();
    TDbEngine& engine = OpenEngine();
    NoteRoundTrip();
    if (FStatementHook) {
        const TStatementHook hook = FStatementHook;
        hook(call.Name());
    }
    try {
        const TRoundTrips::TRoutineScope inside(FRoundTrips);
        engine.CallRoutine(db, call);
    } catch (const EDatabaseError& e) {
        Fail(e.Message());
    }
}
