#include "core/DataModule.h"
#include "core/Exceptions.h"
#include "core/SqlServerEngine.h"
#include "core/StoredProc.h"
#include "database/SqliteOdbcEngine.h"
#include "shifts/ShiftManager.h"
#include "support/ShopFixture.h"

#include <QFile>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {
// One parameter binding as the ODBC driver manager was asked for it.
struct TBinding {
    int Direction = 0; // SQL_PARAM_INPUT 1, SQL_PARAM_INPUT_OUTPUT 2, SQL_PARAM_OUTPUT 4
    int SqlType = 0;   // SQL_WLONGVARCHAR -10 is what SQL Server takes as ntext
};

QString& TracePath()
{
    static QString path;
    return path;
}

// A test database on the ODBC road whose routines are called as SQL Server's are: every
// statement goes to the SQLite file through QODBC and the SQLite ODBC driver, except the routine
// calls, which the SQL Server engine sends. The driver manager traces every call into TracePath.
class TServerRoutinesEngine final : public TDbEngine {
public:
    static constexpr QLatin1String Name{"test-server-routines"};

    const SqlDialect& Dialect() const override { return FFile.Dialect(); }
    void Configure(QSqlDatabase& db, const QString& connectionString) const override
    {
        FFile.Configure(db, connectionString);
        db.setConnectOptions(QStringLiteral("SQL_ATTR_TRACEFILE=%1;SQL_ATTR_TRACE=SQL_OPT_TRACE_ON")
                                 .arg(TracePath()));
    }
    void Prepare(QSqlDatabase& db, const QString& connectionString) override
    {
        FFile.Prepare(db, connectionString);
    }
    QString Remembered(const QString& connectionString) const override
    {
        return FFile.Remembered(connectionString);
    }
    QString Description(const QString& remembered) const override
    {
        return FFile.Description(remembered);
    }
    void BeginTransaction(QSqlDatabase& db) override { FFile.BeginTransaction(db); }
    void Commit(QSqlDatabase& db) override { FFile.Commit(db); }
    void Rollback(QSqlDatabase& db) override { FFile.Rollback(db); }
    void CallRoutine(QSqlDatabase& db, TRoutineCall& call) override
    {
        FServer.CallRoutine(db, call);
    }

private:
    TSqliteOdbcEngine FFile;
    TSqlServerEngine FServer;
};

// The entries of the driver manager's trace for `function` ("SQLBindParameter") written after
// `offset`, each the text of its "Entry:" block.
QStringList TraceEntriesAfter(qint64 offset, const QString& function)
{
    QFile trace(TracePath());
    if (!trace.open(QIODevice::ReadOnly | QIODevice::Text) || !trace.seek(offset))
        return {};
    const QRegularExpression entry(
        QStringLiteral(R"(\[%1W?\.c\]\[\d+\]\s*Entry:(.*?)(?=\[ODBC\]))").arg(function),
        QRegularExpression::DotMatchesEverythingOption);
    QStringList entries;
    const QString text = QString::fromUtf8(trace.readAll()) + QStringLiteral("[ODBC]");
    for (auto it = entry.globalMatch(text); it.hasNext();)
        entries << it.next().captured(1);
    return entries;
}

QList<TBinding> BindingsAfter(qint64 offset)
{
    static const QRegularExpression direction(QStringLiteral(R"(Param Type = (-?\d+))"));
    static const QRegularExpression sqlType(QStringLiteral(R"(SQL Type = (-?\d+))"));
    QList<TBinding> bindings;
    for (const QString& block : TraceEntriesAfter(offset, QStringLiteral("SQLBindParameter")))
        bindings << TBinding{direction.match(block).captured(1).toInt(),
                             sqlType.match(block).captured(1).toInt()};
    return bindings;
}

// The statement texts handed to SQLPrepare after `offset` (the trace keeps their beginning).
QStringList PreparedAfter(qint64 offset)
{
    static const QRegularExpression sql(QStringLiteral(R"(SQL = \[(.*?)(?:\.\.\.)?\])"));
    QStringList texts;
    for (const QString& block : TraceEntriesAfter(offset, QStringLiteral("SQLPrepare")))
        texts << sql.match(block).captured(1);
    return texts;
}

qint64 TraceSize()
{
    return QFileInfo(TracePath()).size();
}
} // namespace

// The SQL Server engine's routine calls on the ODBC road. Qt's ODBC driver binds an output text
// longer than 254 bytes as a long text, which SQL Server receives as ntext and refuses as an
// output, and a driver hands outputs back only once every result is read; so a call binds its
// inputs only and the outputs come back as the last row of its batch.
//
// The SQLite ODBC driver cannot run T-SQL: a call reaches it and fails there. What the driver
// manager was handed is read from its trace (unixODBC logs every call with its arguments: each
// binding with its direction and SQL type, each prepared text). The reading of the outputs is
// run through the same road on a row SQLite can give.
class TestSqlServerEngine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void closingAShiftBindsNoOutput();
    void refundBindsNoOutput();
    void outputsAreReadFromTheLastRow();

private:
    static void ConnectServerRoutines(TdmMain& server, TShopFixture& shop);
    QTemporaryDir FDir;
};

void TestSqlServerEngine::initTestCase()
{
    UseTestPaths();
    QVERIFY(FDir.isValid());
    TracePath() = FDir.filePath(QStringLiteral("odbc.trace"));
    TDbEngine::Register(TServerRoutinesEngine::Name, QString(), []() -> std::unique_ptr<TDbEngine> {
        return std::make_unique<TServerRoutinesEngine>();
    });
}

void TestSqlServerEngine::ConnectServerRoutines(TdmMain& server, TShopFixture& shop)
{
    TConnectionAttempt attempt = SqliteOdbcAttempt(shop.Database().Path());
    attempt.Engine = TServerRoutinesEngine::Name;
    server.SetAttempts({attempt});
    server.Connect();
}

// The closing of a shift as the program calls it, with all thirteen outputs.
void TestSqlServerEngine::closingAShiftBindsNoOutput()
{
    TShopFixture shop;
    TdmMain server;
    ConnectServerRoutines(server, shop);
    const qint64 before = TraceSize();
    QVERIFY_THROWS_EXCEPTION(
        EDatabaseError, TShiftManager::CloseShift(shop.VardiyaID(), 120.5, shop.KullaniciID()));
    for (const TBinding& binding : BindingsAfter(before))
        QCOMPARE(binding.Direction, 1);
    const QStringList prepared = PreparedAfter(before);
    QCOMPARE(prepared.size(), 1);
    QVERIFY2(prepared.first().startsWith(
                 "DECLARE @Success BIT, @Message NVARCHAR(500), @SistemTutar FLOAT"),
             qPrintable(prepared.first()));
}

// A refund whose item list is longer than 254 characters: a long input is bound as an input.
void TestSqlServerEngine::refundBindsNoOutput()
{
    TShopFixture shop;
    TdmMain server;
    ConnectServerRoutines(server, shop);
    QString items = QStringLiteral("<Items>");
    for (int i = 1; i <= 12; ++i)
        items += QStringLiteral(R"(<Item StokID="%1" Miktar="1.5"/>)").arg(i);
    items += QStringLiteral("</Items>");
    QVERIFY(items.size() > 254);
    const qint64 before = TraceSize();
    TStoredProc refund(QStringLiteral("sp_ProcessRefund"));
    refund.In(QStringLiteral("@OriginalFisID"), 1)
        .In(QStringLiteral("@KullaniciID"), shop.KullaniciID())
        .In(QStringLiteral("@VardiyaID"), shop.VardiyaID())
        .In(QStringLiteral("@RefundItemsXML"), items)
        .Out(QStringLiteral("@Success"), QMetaType::Bool)
        .Out(QStringLiteral("@Message"), QMetaType::QString, 500);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, refund.Exec());
    for (const TBinding& binding : BindingsAfter(before))
        QCOMPARE(binding.Direction, 1);
    const QStringList prepared = PreparedAfter(before);
    QCOMPARE(prepared.size(), 1);
    QVERIFY2(prepared.first().startsWith("DECLARE @Success BIT, @Message NVARCHAR(500); EXEC "
                                         "dbo.sp_ProcessRefund @OriginalFisID = ?"),
             qPrintable(prepared.first()));
}

// The outputs of a routine are the batch's last row; each comes back as the call declared it,
// a message of 600 characters whole, a NULL as a null of its type.
void TestSqlServerEngine::outputsAreReadFromTheLastRow()
{
    TShopFixture shop;
    TdmMain odbc;
    odbc.SetAttempts({SqliteOdbcAttempt(shop.Database().Path())});
    odbc.Connect();
    const QString message = QString(600, u'ş');
    QSqlQuery row(odbc.Database());
    QVERIFY(row.prepare("SELECT 1 AS Success, :Message AS Message, 730.25 AS SistemTutar, 4 AS "
                        "ToplamSatis, '2025-03-05 23:59:59' AS KapanisZamaniOut, NULL AS Fark"));
    row.bindValue(":Message", message);
    QVERIFY(row.exec());
    TRoutineCall call(QStringLiteral("sp_CloseVardiya"));
    call.Add({"@VardiyaID", 1, false, QMetaType::Int, 0});
    call.Add({"@Success", {}, true, QMetaType::Bool, 0});
    call.Add({"@Message", {}, true, QMetaType::QString, 500});
    call.Add({"@SistemTutar", {}, true, QMetaType::Double, 0});
    call.Add({"@ToplamSatis", {}, true, QMetaType::Int, 0});
    call.Add({"@KapanisZamaniOut", {}, true, QMetaType::QDateTime, 0});
    call.Add({"@Fark", {}, true, QMetaType::Double, 0});
    TSqlServerEngine::ReadRoutineResults(row, call);
    QCOMPARE(call.Value("@Success"), QVariant(true));
    QCOMPARE(call.Value("@Message").toString(), message);
    QCOMPARE(call.Value("@SistemTutar"), QVariant(730.25));
    QCOMPARE(call.Value("@ToplamSatis"), QVariant(4));
    QCOMPARE(call.Value("@KapanisZamaniOut"),
             QVariant(QDateTime(QDate(2025, 3, 5), QTime(23, 59, 59))));
    QVERIFY(call.Value("@Fark").isNull());
    QCOMPARE(call.Value("@Fark").metaType(), QMetaType::fromType<double>());
    QCOMPARE(call.Value("@VardiyaID"), QVariant(1));
    QVERIFY(call.Rows().isEmpty());
}

QTEST_GUILESS_MAIN(TestSqlServerEngine)
#include "tst_SqlServerEngine.moc"
