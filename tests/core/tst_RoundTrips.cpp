#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/DbTransaction.h"
#include "core/StoredProc.h"
#include "sales/BranchStockManager.h"
#include "support/TestDatabase.h"

#include <QElapsedTimer>
#include <QtTest>

#include <chrono>

// How the data module counts the round trips it makes, and what it keeps per connection so
// that it makes fewer.
class TestRoundTrips : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { UseTestPaths(); }
    void textCountsOnce_data();
    void textCountsOnce();
    void transactionStepsCount();
    void routineCallCountsOnceWhateverItRuns();
    void latencyMakesEveryRoundTripWait();
    void tableProbesOncePerConnection();
    void ownedSchemaOncePerConnection();

private:
    static qint64 Count() { return dmMain->RoundTrips().Count(); }
    static void OpenShift();
};

void TestRoundTrips::OpenShift()
{
    TDbQuery("INSERT INTO Firma (FirmaID, Unvan) VALUES (1, 'F')").Exec();
    TDbQuery("INSERT INTO Sube (SubeID, SubeAdi, FirmaID) VALUES (1, 'MERKEZ', 1)").Exec();
    TDbQuery("INSERT INTO Rol (RolID, RolAdi) VALUES (1, 'Kasiyer')").Exec();
    TDbQuery("INSERT INTO Kullanici (KullaniciID, KullaniciAdi, SifreHash, AdSoyad, RolID, SubeID) "
             "VALUES (1, 'kasa', 'h', 'Ayşe', 1, 1)")
        .Exec();
    TDbQuery("INSERT INTO Terminal (TerminalID, TerminalAdi) VALUES (1, 'KASA-1')").Exec();
    TDbQuery("INSERT INTO Vardiya (VardiyaID, KullaniciID, TerminalID, SubeID, AcilisZamani, "
             "AcilisTutar, VardiyaDurumu) VALUES (1, 1, 1, 1, GETDATE(), 100, 'ACIK')")
        .Exec();
}

// A text is one round trip however the engine runs it: SQL Server takes a batch in one
// exchange, and SQLite's guard of a new column goes with the statement it guards. A session
// option alone sends nothing to SQLite.
void TestRoundTrips::textCountsOnce_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("roundTrips");
    QTest::newRow("statement") << "SELECT COUNT(*) FROM Stok" << 1;
    QTest::newRow("batch with its identity")
        << "SET NOCOUNT ON; INSERT INTO Kategori (KategoriAdi) VALUES ('A'); SELECT "
           "SCOPE_IDENTITY()"
        << 1;
    QTest::newRow("two statements")
        << "UPDATE Stok SET MevcutStok = 0; SELECT MAX(StokID) FROM Stok" << 1;
    QTest::newRow("guarded column, added")
        << "IF COL_LENGTH('dbo.Kategori', 'Renk') IS NULL ALTER TABLE dbo.Kategori ADD Renk "
           "NVARCHAR(10) NULL"
        << 1;
    QTest::newRow("guarded column, present")
        << "IF COL_LENGTH('dbo.Kategori', 'KategoriAdi') IS NULL ALTER TABLE dbo.Kategori ADD "
           "KategoriAdi NVARCHAR(10) NULL"
        << 1;
    QTest::newRow("session option alone") << "SET QUOTED_IDENTIFIER ON" << 0;
}

void TestRoundTrips::textCountsOnce()
{
    QFETCH(QString, sql);
    QFETCH(int, roundTrips);
    TTestDatabase db;
    qint64 before = Count();
    TDbQuery(sql).Exec();
    QCOMPARE(Count() - before, roundTrips);
    before = Count();
    db.Db().GetScalar(sql);
    QCOMPARE(Count() - before, roundTrips);
}

void TestRoundTrips::transactionStepsCount()
{
    TTestDatabase db;
    qint64 before = Count();
    {
        TDbTransaction transaction;
        transaction.Commit();
    }
    QCOMPARE(Count() - before, 2);
    before = Count();
    {
        TDbTransaction abandoned;
    }
    QCOMPARE(Count() - before, 2);
}

// On SQL Server the routine is a stored procedure; the embedded engine runs its C++ version
// through the same connection, and what it sends there is the database's own work.
void TestRoundTrips::routineCallCountsOnceWhateverItRuns()
{
    TTestDatabase db;
    OpenShift();
    const qint64 before = Count();
    TStoredProc close("sp_CloseVardiya");
    close.In("@VardiyaID", 1)
        .In("@KapanisTutar", 100.0)
        .In("@KapatanKullaniciID", 1)
        .Out("@Success", QMetaType::Bool)
        .Out("@Message", QMetaType::QString, 500);
    close.Exec();
    QVERIFY(close.Value("@Success").toBool());
    QCOMPARE(Count() - before, 1);
    QVERIFY(!db.Db().InTransaction());
}

void TestRoundTrips::latencyMakesEveryRoundTripWait()
{
    TTestDatabase db;
    OpenShift();
    db.Db().RoundTrips().SetLatency(std::chrono::milliseconds(40));
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < 3; ++i)
        db.Scalar("SELECT COUNT(*) FROM Stok");
    QVERIFY2(clock.elapsed() >= 120, qPrintable(QString::number(clock.elapsed())));

    // The routine's own statements (its transaction, reads and writes: six or more) do not wait.
    clock.restart();
    TStoredProc close("sp_CloseVardiya");
    close.In("@VardiyaID", 1)
        .In("@KapanisTutar", 100.0)
        .In("@KapatanKullaniciID", 1)
        .Out("@Success", QMetaType::Bool)
        .Out("@Message", QMetaType::QString, 500);
    close.Exec();
    QVERIFY(close.Value("@Success").toBool());
    QVERIFY2(clock.elapsed() >= 40 && clock.elapsed() < 200,
             qPrintable(QString::number(clock.elapsed())));
    db.Db().RoundTrips().SetLatency(std::chrono::milliseconds(0));
}

// An optional table is probed once per connection. A table the program drops or creates makes
// it ask again, and so does a new connection.
void TestRoundTrips::tableProbesOncePerConnection()
{
    TTestDatabase db;
    TdmMain& module = db.Db();
    qint64 before = Count();
    QVERIFY(module.TableExists("StokLotDetay"));
    QVERIFY(module.TableExists("stoklotdetay"));
    QVERIFY(!module.TableExists("YokTablo"));
    QVERIFY(!module.TableExists("YokTablo"));
    QCOMPARE(Count() - before, 2);

    db.Exec("DROP TABLE StokLotDetay");
    QVERIFY(!module.TableExists("StokLotDetay"));
    db.Exec("CREATE TABLE YokTablo (A INT)");
    QVERIFY(module.TableExists("YokTablo"));

    module.Disconnect();
    module.Connect();
    before = Count();
    QVERIFY(module.TableExists("YokTablo"));
    QCOMPARE(Count() - before, 1);
}

// The embedded engine makes the owned tables when it opens a file, so their owners send nothing;
// a table dropped through the program is made again by its owner.
void TestRoundTrips::ownedSchemaOncePerConnection()
{
    TTestDatabase db;
    qint64 before = Count();
    TBranchStockManager::EnsureSaleLotSchema();
    TBranchStockManager::EnsureBranchStockSchema();
    QCOMPARE(Count() - before, 0);

    db.Exec("DROP TABLE SatisFisLot");
    before = Count();
    TBranchStockManager::EnsureSaleLotSchema();
    QCOMPARE(Count() - before, 1);
    QVERIFY(db.Db().TableExists("SatisFisLot"));
    before = Count();
    TBranchStockManager::EnsureSaleLotSchema();
    QCOMPARE(Count() - before, 0);
}

QTEST_GUILESS_MAIN(TestRoundTrips)
#include "tst_RoundTrips.moc"
