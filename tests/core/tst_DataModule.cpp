#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/DbTransaction.h"
#include "core/Exceptions.h"
#include "core/SqlServerBrowser.h"
#include "core/SqlServerEngine.h"
#include "support/TestDatabase.h"

#include <QElapsedTimer>
#include <QTcpServer>
#include <QtTest>

// The database module against real SQLite files and real ODBC drivers.
class TestDataModule : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void sanitize_data();
    void sanitize();
    void attemptsFromSetting_data();
    void attemptsFromSetting();
    void connectTwiceKeepsTheConnection();
    void laterAttemptWinsSilently();
    void failureListsEveryAttemptInOrder();
    void builtInServerAttemptsFailWithinSeconds();
    void embeddedFileFailureNamesTheFile_data();
    void embeddedFileFailureNamesTheFile();
    void passwordNeverShown();
    void getScalar();
    void namedParametersRepeatAndBindByName();
    void rowsAffectedOfAStatement_data();
    void rowsAffectedOfAStatement();
    void transactionRollsBackUnlessCommitted();
    void writeTransactionIsImmediate();
    void commitsAreSynchronisedToTheDisk();
    void sqlServerFunctionsOnSqlite();
    void databaseErrorCarriesDriverText();
    void browserResponse();
    void sameStatementInsideItsOwnResult();
    void abandonedResultHoldsNoSnapshot();
    void preparedStatementsStayBounded();
    void lockHintedTextRunsOnSqlite();
};

void TestDataModule::initTestCase()
{
    UseTestPaths();
}

void TestDataModule::sanitize_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("expected");
    QTest::newRow("normalised") << " A = 1 ; B=2"
                                << "A = 1;B=2;";
    QTest::newRow("empty pieces dropped") << ";;A=1;;"
                                          << "A=1;";
    QTest::newRow("server certificate dropped") << "A=1; Server Certificate = x.cer ;B=2"
                                                << "A=1;B=2;";
    QTest::newRow("key case ignored") << "server certificate=x;host name in certificate=h;C=3"
                                      << "C=3;";
    QTest::newRow("piece without value kept") << "Flag;A=1"
                                              << "Flag;A=1;";
    QTest::newRow("similar key kept") << "Trust Server Certificate=True"
                                      << "Trust Server Certificate=True;";
}

void TestDataModule::sanitize()
{
    QFETCH(QString, input);
    QFETCH(QString, expected);
    QCOMPARE(TSqlServerEngine::SanitizeConnectionString(input), expected);
}

void TestDataModule::attemptsFromSetting_data()
{
    QTest::addColumn<QString>("setting");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("driver");
    QTest::addColumn<QString>("engine");
    QTest::newRow("embedded") << "" << 1 << "QSQLITE"
                              << "sqlite";
    QTest::newRow("sqlite file") << "sqlite:/tmp/x.db" << 1 << "QSQLITE"
                                 << "sqlite";
    QTest::newRow("built-in server") << "mssql" << 5 << "QODBC"
                                     << "mssql";
    QTest::newRow("one server string") << "mssql:DRIVER={FreeTDS};SERVER=h,1433;" << 1 << "QODBC"
                                       << "mssql";
}

void TestDataModule::attemptsFromSetting()
{
    QFETCH(QString, setting);
    QFETCH(int, count);
    QFETCH(QString, driver);
    QFETCH(QString, engine);
    const auto attempts = TdmMain::AttemptsFor(setting);
    QCOMPARE(attempts.size(), count);
    QCOMPARE(attempts.first().Driver, driver);
    for (const auto& a : attempts)
        QCOMPARE(a.Engine, engine);
    if (setting == "mssql") {
        QVERIFY(attempts.first().ConnectionString.contains("ODBC Driver 18"));
        QVERIFY(attempts.last().ConnectionString.contains("FreeTDS"));
        for (const auto& a : attempts) {
            QVERIFY(a.ConnectionString.contains("TALVIRON"));
            QVERIFY(a.ConnectionString.contains("DATABASE=KIRVELO"));
            QVERIFY(a.ConnectionString.contains("UID=sa"));
            QVERIFY(a.ConnectionString.contains("MARS_Connection=yes"));
        }
    }
    if (setting.startsWith("sqlite:"))
        QCOMPARE(attempts.first().ConnectionString, QString("/tmp/x.db"));
}

void TestDataModule::connectTwiceKeepsTheConnection()
{
    TTestDatabase db;
    db.Exec("CREATE TEMP TABLE Marker (A INT)");
    QVERIFY(db.Db().Connect());
    QVERIFY(db.Db().Connected());
    // A reopened connection would have lost its temporary table.
    QCOMPARE(db.Count("Marker"), 0);
}

void TestDataModule::laterAttemptWinsSilently()
{
    QTemporaryDir dir;
    TdmMain db;
    db.SetAttempts(
        {{"QODBC", "DRIVER={No Such Driver};SERVER=x;"}, {"QSQLITE", dir.filePath("k.db")}});
    QVERIFY(db.Connect());
    QVERIFY(db.Connected());
    QCOMPARE(db.Dialect().Kind(), TSqlDialectKind::SQLite);
    QVERIFY(db.Description().endsWith("k.db"));
}

static QString FailureOf(TdmMain& db)
{
    try {
        db.Connect();
    } catch (const EDatabaseError& e) {
        return e.Message();
    }
    return {};
}

void TestDataModule::failureListsEveryAttemptInOrder()
{
    // A port that accepted nothing: reserve it, then close it again.
    quint16 port = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    QList<TConnectionAttempt> attempts;
    for (int i = 0; i < 5; ++i)
        attempts << TConnectionAttempt{
            "QODBC",
            QString(
                "DRIVER={FreeTDS};SERVER=127.0.0.1;Port=%1;DATABASE=KIRVELO;UID=sa;PWD=7HVN4KTR;")
                .arg(port)};
    TdmMain db;
    db.SetAttempts(attempts);
    QElapsedTimer clock;
    clock.start();
    const QString message = FailureOf(db);
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!db.Connected());
    const QStringList lines = message.split("\r\n");
    QCOMPARE(lines.at(0), QString("Veritabanı Erişim Hatası!"));
    QCOMPARE(lines.at(1), QString("KIRVELO, SQL Server TALVIRON instance'ına bağlanamadı."));
    QCOMPARE(lines.at(2), QString("Denenen baglantı hataları:"));
    QCOMPARE(lines.size(), 3 + 5 + 1);
    QCOMPARE(lines.last(), QString());
    for (int i = 1; i <= 5; ++i) {
        const QString line = lines.at(2 + i);
        QVERIFY2(line.startsWith(QString("%1) ").arg(i)), qPrintable(line));
        QVERIFY2(line.size() > 4, qPrintable(line));
    }
}

void TestDataModule::embeddedFileFailureNamesTheFile_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing folder") << "nowhere/kirvelo.db"
                                    << "%1/nowhere klasörü yok";
    QTest::newRow("a folder") << "folder"
                              << "bu bir klasör, veritabanı dosyası değil";
    QTest::newRow("not a database") << "notes.db"
                                    << "dosya bir SQLite veritabanı değil ya da bozuk";
}

// Only the embedded file was tried: the message does not speak of SQL Server, and its line
// names the file and why it would not open.
void TestDataModule::embeddedFileFailureNamesTheFile()
{
    QFETCH(QString, file);
    QFETCH(QString, reason);
    if (TestRoad() == TTestRoad::SqlServer)
        QSKIP("The SQL Server road opens no file.");
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder"));
    QFile notes(dir.filePath("notes.db"));
    QVERIFY(notes.open(QIODevice::WriteOnly));
    notes.write(QByteArray("Kasa notları: bu dosya bir veritabanı değil.\n").repeated(200));
    notes.close();
    const QString path = dir.filePath(file);
    TdmMain db;
    db.SetAttempts({SqliteFileAttempt(path)});
    const QStringList lines = FailureOf(db).split("\r\n");
    QCOMPARE(lines.size(), 3 + 1 + 1);
    QCOMPARE(lines.at(0), QString("Veritabanı Erişim Hatası!"));
    QCOMPARE(lines.at(1), QString("KIRVELO, veritabanına bağlanamadı."));
    QCOMPARE(lines.at(2), QString("Denenen baglantı hataları:"));
    QCOMPARE(lines.at(3), QString("1) Veritabanı dosyası açılamadı: %1 (%2)")
                              .arg(QFileInfo(path).absoluteFilePath(),
                                   reason.contains("%1") ? reason.arg(dir.path()) : reason));
    QVERIFY(!db.Connected());
}

void TestDataModule::builtInServerAttemptsFailWithinSeconds()
{
    TdmMain db;
    db.SetAttempts(TSqlServerEngine::BuiltInAttempts());
    QElapsedTimer clock;
    clock.start();
    const QString message = FailureOf(db);
    QVERIFY2(clock.elapsed() < 15000, qPrintable(QString::number(clock.elapsed())));
    const QStringList lines = message.split("\r\n", Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 8);
    QVERIFY2(lines.at(3).contains("ODBC Driver 18"), qPrintable(lines.at(3)));
    QVERIFY2(lines.at(7).startsWith("5) "), qPrintable(lines.at(7)));
}

void TestDataModule::passwordNeverShown()
{
    TdmMain db;
    db.SetAttempts(TSqlServerEngine::BuiltInAttempts());
    QVERIFY(!FailureOf(db).contains("7HVN4KTR"));
}

void TestDataModule::getScalar()
{
    TTestDatabase db;
    db.Exec("CREATE TABLE T (A INT, B TEXT)");
    QVERIFY(db.Scalar("SELECT A FROM T").isNull());
    db.Exec("INSERT INTO T (A, B) VALUES (NULL, 'x')");
    QVERIFY(db.Scalar("SELECT A FROM T").isNull());
    QCOMPARE(db.Scalar("SELECT B FROM T").toString(), QString("x"));
}

void TestDataModule::namedParametersRepeatAndBindByName()
{
    TTestDatabase db;
    db.Exec("CREATE TABLE T (A INT, B TEXT, C TEXT)");
    TDbQuery insert("INSERT INTO T (A, B, C) VALUES (:A, :B, :B)");
    insert.Param("B", "iki").Param("A", 2).Exec();
    TDbQuery nullInsert("INSERT INTO T (A, B) VALUES (:A, :B)");
    nullInsert.Param("A", TDbQuery::NullInt()).Param("B", "bos").Exec();
    TDbQuery select("SELECT A, C FROM T WHERE B = :B");
    select.Param("B", "iki").Exec();
    QVERIFY(select.Next());
    QCOMPARE(select.Value("A").toInt(), 2);
    QCOMPARE(select.Value("c").toString(), QString("iki"));
    QVERIFY(select.Value("Missing").isNull());
    QVERIFY(!select.Next());
    QVERIFY(db.Scalar("SELECT A FROM T WHERE B = 'bos'").isNull());
}

void TestDataModule::rowsAffectedOfAStatement_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("rows");
    QTest::newRow("update of two rows") << "UPDATE T SET A = A + :Step WHERE A <= 2" << 2;
    QTest::newRow("update of no row") << "UPDATE T SET A = A + :Step WHERE A > 9" << 0;
    QTest::newRow("insert") << "INSERT INTO T (A) VALUES (:Step)" << 1;
    QTest::newRow("delete") << "DELETE FROM T WHERE A <> :Step" << 3;
}

// The count of the rows a statement changed is what a lot taking and a stock movement decide
// by; it must survive the step past the statement's results that every statement takes.
void TestDataModule::rowsAffectedOfAStatement()
{
    QFETCH(QString, sql);
    QFETCH(int, rows);
    TTestDatabase db;
    db.Exec("CREATE TABLE T (A INT)");
    db.Exec("INSERT INTO T (A) VALUES (1), (2), (3)");
    TDbQuery statement(sql);
    statement.Param("Step", 10).Exec();
    QCOMPARE(statement.RowsAffected(), rows);
}

void TestDataModule::transactionRollsBackUnlessCommitted()
{
    TTestDatabase db;
    db.Exec("CREATE TABLE T (A INT)");
    try {
        TDbTransaction tx;
        db.Exec("INSERT INTO T VALUES (1)");
        throw EDatabaseError("test");
    } catch (const EDatabaseError&) {
    }
    QCOMPARE(db.Count("T"), 0);
    QVERIFY(!db.Db().InTransaction());
    {
        TDbTransaction tx;
        db.Exec("INSERT INTO T VALUES (2)");
        tx.Commit();
    }
    QCOMPARE(db.Count("T"), 1);
}

void TestDataModule::writeTransactionIsImmediate()
{
    if (TestRoad() != TTestRoad::Sqlite)
        QSKIP("Through ODBC the write transactions are the driver's, as on SQL Server.");
    TTestDatabase db;
    db.Exec("CREATE TABLE T (A INT)");
    TDbTransaction tx;
    // A second connection must not get the write lock while ours is held, even before we write.
    TdmMain other;
    other.SetAttempts({{"QSQLITE", db.Path()}});
    other.Connect();
    QSqlQuery q(other.Database());
    q.exec("PRAGMA busy_timeout = 50");
    QVERIFY(!q.exec("BEGIN IMMEDIATE"));
    dmMain = &db.Db();
    tx.Commit();
    QVERIFY(q.exec("BEGIN IMMEDIATE"));
    q.exec("ROLLBACK");
}

// A sale the cashier was told is complete must survive a power cut: in WAL mode only FULL syncs
// the log on every commit, NORMAL may lose the last ones.
void TestDataModule::commitsAreSynchronisedToTheDisk()
{
    if (TestRoad() == TTestRoad::SqlServer)
        QSKIP("The server keeps its own log.");
    TTestDatabase db;
    QCOMPARE(db.Scalar("PRAGMA journal_mode").toString(), QString("wal"));
    QCOMPARE(db.Scalar("PRAGMA synchronous").toInt(), 2);
}

void TestDataModule::sqlServerFunctionsOnSqlite()
{
    TTestDatabase db;
    db.Exec("CREATE TABLE T (ID INTEGER PRIMARY KEY AUTOINCREMENT, A NVARCHAR(10))");
    QVERIFY(!db.Scalar("SELECT OBJECT_ID('dbo.T', 'U')").isNull());
    QVERIFY(db.Scalar("SELECT OBJECT_ID('dbo.Missing', 'U')").isNull());
    QVERIFY(!db.Scalar("SELECT COL_LENGTH('dbo.T', 'A')").isNull());
    QVERIFY(db.Scalar("SELECT COL_LENGTH('dbo.T', 'B')").isNull());
    QCOMPARE(db.Scalar("SELECT ISNULL(NULL, 7)").toInt(), 7);
    QCOMPARE(db.Scalar("SELECT LEN('ab  ')").toInt(), 2);
    QVERIFY(QDateTime::fromString(db.Scalar("SELECT GETDATE()").toString(), "yyyy-MM-dd HH:mm:ss")
                .isValid());
    TDbQuery insert("SET NOCOUNT ON; INSERT INTO dbo.T (A) VALUES (:A); SELECT SCOPE_IDENTITY();");
    insert.Param("A", "x").Exec();
    QVERIFY(insert.Next());
    QCOMPARE(insert.Value(0).toInt(), 1);
}

void TestDataModule::databaseErrorCarriesDriverText()
{
    TTestDatabase db;
    try {
        db.Exec("SELECT * FROM NoSuchTable");
        QFAIL("no error");
    } catch (const EDatabaseError& e) {
        QVERIFY2(e.Message().contains("NoSuchTable"), qPrintable(e.Message()));
        QCOMPARE(e.ClassName(), QString("EDatabaseError"));
    }
}

void TestDataModule::browserResponse()
{
    const QByteArray body =
        "ServerName;PC;InstanceName;SQLEXPRESS;IsClustered;No;Version;15.0;tcp;1433;;"
        "ServerName;PC;InstanceName;TALVIRON;IsClustered;No;Version;16.0;tcp;49712;;";
    QByteArray answer = QByteArray(1, 0x05) + QByteArray(2, 0) + body;
    QCOMPARE(SqlServerBrowser::PortFromResponse(answer, "talviron"), 49712);
    QCOMPARE(SqlServerBrowser::PortFromResponse(answer, "OTHER"), 0);
    QCOMPARE(SqlServerBrowser::PortFromResponse(QByteArray("x"), "TALVIRON"), 0);
}

void TestDataModule::sameStatementInsideItsOwnResult()
{
    TTestDatabase db;
    db.Exec("CREATE TABLE T (A INT)");
    db.Exec("INSERT INTO T VALUES (1)");
    db.Exec("INSERT INTO T VALUES (2)");
    const QString sql = "SELECT A FROM T WHERE A >= :Min ORDER BY A";
    TDbQuery outer(sql);
    outer.Param("Min", 1).Exec();
    QList<int> seen;
    while (outer.Next()) {
        TDbQuery inner(sql);
        inner.Param("Min", 2).Exec();
        QVERIFY(inner.Next());
        QCOMPARE(inner.Value("A").toInt(), 2);
        seen << outer.Value("A").toInt();
    }
    QCOMPARE(seen, (QList<int>{1, 2}));
}

void TestDataModule::abandonedResultHoldsNoSnapshot()
{
    TTestDatabase db;
    db.Exec("CREATE TABLE T (A INT)");
    db.Exec("INSERT INTO T VALUES (1)");
    db.Exec("INSERT INTO T VALUES (2)");
    {
        TDbQuery reading("SELECT A FROM T");
        reading.Exec();
        QVERIFY(reading.Next()); // left before its last row
    }
    QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other-writer");
    other.setDatabaseName(db.Path());
    QVERIFY(other.open());
    QVERIFY(QSqlQuery(other).exec("INSERT INTO T VALUES (3)"));
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase("other-writer");
    // A statement still open on an old snapshot would make this write fail at once.
    TDbTransaction tx;
    db.Exec("INSERT INTO T VALUES (4)");
    tx.Commit();
    QCOMPARE(db.Count("T"), 4);
}

// Many different texts, as a program that wrote its values into the text would run: the
// connection keeps no more prepared statements than its bound, every result is still right, and
// a statement in steady use stays prepared.
void TestDataModule::preparedStatementsStayBounded()
{
    TTestDatabase db;
    db.Exec("CREATE TABLE T (A INT)");
    db.Exec("INSERT INTO T VALUES (5)");
    const QString steady = "SELECT A + :Add FROM T";
    const int texts = int(TStatementCache::MaxStatements) * 3;
    for (int i = 0; i < texts; ++i) {
        TDbQuery distinct(QString("SELECT A + %1 FROM T").arg(i));
        distinct.Exec();
        QVERIFY(distinct.Next());
        QCOMPARE(distinct.Value(0).toInt(), 5 + i);
        if (i % 16 == 0) {
            TDbQuery repeated(steady);
            repeated.Param("Add", i).Exec();
            QVERIFY(repeated.Next());
            QCOMPARE(repeated.Value(0).toInt(), 5 + i);
        }
        QVERIFY(db.Db().Statements().Size() <= TStatementCache::MaxStatements);
    }
    QCOMPARE(db.Db().Statements().Size(), TStatementCache::MaxStatements);
    QVERIFY(db.Db().Statements().Contains(steady));
    QVERIFY(!db.Db().Statements().Contains("SELECT A + 0 FROM T"));
}

// SQL Server's lock hints keep the shift row locked until a sale or a shift opening commits; on
// SQLite the same text runs without them inside the IMMEDIATE write transaction.
void TestDataModule::lockHintedTextRunsOnSqlite()
{
    TTestDatabase db;
    db.Exec("CREATE TABLE Kasa (KasaID INTEGER PRIMARY KEY, KapanisZamani TEXT, Durum TEXT)");
    db.Exec("INSERT INTO Kasa VALUES (1, NULL, NULL), (2, '2024-01-01 10:00:00', 'KAPALI')");
    TDbTransaction tx;
    TDbQuery open("SELECT TOP 1 K.KasaID FROM dbo.Kasa K WITH (UPDLOCK, HOLDLOCK) WHERE "
                  "K.KapanisZamani IS NULL AND ISNULL(K.Durum, 'ACIK') = 'ACIK' ORDER BY "
                  "K.KasaID DESC");
    open.Exec();
    QVERIFY(open.Next());
    QCOMPARE(open.Value("KasaID").toInt(), 1);
    QVERIFY(!open.Next());
    tx.Commit();
}

QTEST_GUILESS_MAIN(TestDataModule)
#include "tst_DataModule.moc"
