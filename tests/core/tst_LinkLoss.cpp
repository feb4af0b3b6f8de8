#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/DbTransaction.h"
#include "core/Exceptions.h"
#include "sales/BranchStockManager.h"
#include "sales/CartManager.h"
#include "sales/SaleManager.h"
#include "shifts/ShiftManager.h"
#include "support/ShopFixture.h"

#include <QDir>
#include <QSqlDriver>
#include <QtTest>

#include <sql.h>

// A link that breaks under the program and comes back: the operation under way fails with one
// Turkish message and leaves nothing half-written, and the next operation connects again by
// itself. The test closes the connection under the program; through ODBC it also cuts an idle
// connection at the driver manager, which Qt does not notice until a statement fails.
class TestLinkLoss : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void idleLinkIsMadeAgain();
    void transactionNeverContinuesOnANewLink();
    void saleCutShortWritesNothingAndCanBeRetried();
    void shiftCloseCutShortKeepsTheShiftOpen();
    void linkThatStaysDownIsTriedAgain();

private:
    static void BreakLink(TdmMain& db);
    static void CutOdbcLink(TdmMain& db);
    static SQLHDBC OdbcHandle(TdmMain& db);
    static void BreakLinkAt(TdmMain& db, const QString& statementPart);
    static QString Failure(const std::function<void()>& operation);
    static QString Snapshot(TShopFixture& shop);
};

namespace {
const QString kLinkLost = QStringLiteral("Veritabanı bağlantısı koptu, işlem tamamlanamadı.");
const QString kReconnectFailed = QStringLiteral("Veritabanı bağlantısı yeniden kurulamadı.");
} // namespace

void TestLinkLoss::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
}

// Closes the connection under the program. Through ODBC what the connection had begun is rolled
// back at the driver manager first, as a server does when its client vanishes.
void TestLinkLoss::BreakLink(TdmMain& db)
{
    QSqlDatabase connection = db.Database();
    if (connection.driverName() == QStringLiteral("QODBC"))
        SQLEndTran(SQL_HANDLE_DBC, OdbcHandle(db), SQL_ROLLBACK);
    db.Statements().Clear();
    connection.close();
}

// Cuts an idle ODBC connection at the driver manager while Qt still takes it for open, as after
// a VPN blip: only a statement that fails tells. The driver lets go only of a connection
// without prepared statements, so the program's are dropped first.
void TestLinkLoss::CutOdbcLink(TdmMain& db)
{
    db.Statements().Clear();
    QVERIFY(SQL_SUCCEEDED(SQLDisconnect(OdbcHandle(db))));
    QVERIFY(db.Database().isOpen());
}

SQLHDBC TestLinkLoss::OdbcHandle(TdmMain& db)
{
    const QVariant handle = db.Database().driver()->handle();
    return *static_cast<const SQLHDBC*>(handle.constData());
}

// Breaks the link just before the first statement whose text holds `statementPart` runs.
void TestLinkLoss::BreakLinkAt(TdmMain& db, const QString& statementPart)
{
    db.SetStatementHook([&db, statementPart](const QString& sql) {
        if (!sql.contains(statementPart, Qt::CaseInsensitive))
            return;
        TdmMain& module = db;
        module.SetStatementHook({});
        BreakLink(module);
    });
}

QString TestLinkLoss::Failure(const std::function<void()>& operation)
{
    try {
        operation();
    } catch (const std::exception& e) {
        return ErrorMessage(e);
    }
    return {};
}

// Everything a sale may change, as one comparable text.
QString TestLinkLoss::Snapshot(TShopFixture& shop)
{
    QStringList parts;
    for (const char* sql :
         {"SELECT COUNT(*) FROM SatisFis", "SELECT COUNT(*) FROM SatisFisSatir",
          "SELECT COUNT(*) FROM SatisOdeme", "SELECT COUNT(*) FROM SatisFisLot",
          "SELECT SUM(MevcutMiktar) FROM StokLotDetay", "SELECT SUM(MevcutStok) FROM SubeStok",
          "SELECT SUM(MevcutStok) FROM Stok"})
        parts << shop.Scalar(sql).toString();
    return parts.join(u'|');
}

// Broken while nothing ran. A connection known to be closed is made again before the next
// statement; one cut unnoticed fails that statement with the lost link, and the statement after
// runs on a new connection.
void TestLinkLoss::idleLinkIsMadeAgain()
{
    TTestDatabase db;
    db.Exec("CREATE TABLE T (A INT)");
    db.Exec("INSERT INTO T (A) VALUES (7)");
    BreakLink(db.Db());
    QCOMPARE(db.Scalar("SELECT A FROM T").toInt(), 7);
    if (db.Db().Database().driverName() != QStringLiteral("QODBC"))
        return;
    CutOdbcLink(db.Db());
    const QString first = Failure([&] { db.Scalar("SELECT A FROM T"); });
    QVERIFY2(first.startsWith(kLinkLost), qPrintable(first));
    QVERIFY(db.Db().LinkLost());
    QCOMPARE(db.Scalar("SELECT A FROM T").toInt(), 7);
    QVERIFY(!db.Db().LinkLost());
    QVERIFY(db.Db().Connected());
}

// The statements of a transaction that lost its link fail, however many follow: a new link
// would run them outside the transaction. Once it is rolled back the next statement reconnects,
// and what the transaction wrote is not there.
void TestLinkLoss::transactionNeverContinuesOnANewLink()
{
    TTestDatabase db;
    db.Exec("CREATE TABLE T (A INT)");
    {
        TDbTransaction transaction;
        db.Exec("INSERT INTO T (A) VALUES (1)");
        BreakLink(db.Db());
        const QString first = Failure([&] { db.Exec("INSERT INTO T (A) VALUES (2)"); });
        QVERIFY2(first.startsWith(kLinkLost), qPrintable(first));
        const QString second = Failure([&] { db.Exec("INSERT INTO T (A) VALUES (3)"); });
        QVERIFY2(second.startsWith(kLinkLost), qPrintable(second));
        const QString commit = Failure([&] { transaction.Commit(); });
        QVERIFY2(commit.startsWith(kLinkLost), qPrintable(commit));
    }
    QVERIFY(!db.Db().InTransaction());
    QCOMPARE(db.Count("T"), 0);
    db.Exec("INSERT INTO T (A) VALUES (4)");
    QCOMPARE(db.Count("T"), 1);
}

// The link breaks as the sale writes its payment, after its header, lines, lots and stock: the
// sale reports the lost link, nothing of it is written, the cart is as it was, and the same
// cart sells on the next try.
void TestLinkLoss::saleCutShortWritesNothingAndCanBeRetried()
{
    TShopFixture shop;
    const int cheese = shop.AddProduct("PEYNIR", "8690000000042", 55, 10, 20);
    const int bread = shop.AddProduct("EKMEK", "8690000000011", 10, 10, 30);
    shop.TrackExpiry(cheese, true);
    shop.AddLot(cheese, 5, QDate::currentDate().addDays(10));
    TCartManager cart;
    cart.AddItem(cheese, "PEYNIR", "8690000000042", "ADET", 55, 2, 10, false);
    cart.AddItem(bread, "EKMEK", "8690000000011", "ADET", 10, 3, 10, false);
    const double total = cart.GenelToplam();
    // The branch's stock rows are made before a sale's transaction; made here, the snapshot
    // holds them.
    TBranchStockManager::EnsureBranchStockRows(shop.SubeID());
    const QString before = Snapshot(shop);

    BreakLinkAt(shop.Database().Db(), "INSERT INTO SatisOdeme");
    const auto sell = [&] {
        return TSaleManager::CreateSale(shop.SubeID(), shop.KullaniciID(), shop.TerminalID(),
                                        shop.VardiyaID(), "NAKIT", cart, total, 0);
    };
    const TSaleResult cut = sell();
    QVERIFY(!cut.Success);
    QCOMPARE(cut.FisID, 0);
    QVERIFY2(cut.Message.startsWith("Satış hatası: " + kLinkLost), qPrintable(cut.Message));
    QCOMPARE(cart.Count(), 2);
    QCOMPARE(cart.GenelToplam(), total);
    QCOMPARE(Snapshot(shop), before);

    const TSaleResult retried = sell();
    QVERIFY2(retried.Success, qPrintable(retried.Message));
    QCOMPARE(shop.Count("SatisFis"), 1);
    QCOMPARE(shop.Count("SatisFisSatir"), 2);
    QCOMPARE(shop.Count("SatisOdeme"), 1);
    QCOMPARE(shop.Count("SatisFisLot"), 1);
    QCOMPARE(shop.BranchStock(shop.SubeID(), bread), 27.0);
}

// The link breaks as the routine closing the shift writes the closing time: the close reports
// the lost link, the shift stays open, and it closes on the next try.
void TestLinkLoss::shiftCloseCutShortKeepsTheShiftOpen()
{
    TShopFixture shop;
    BreakLinkAt(shop.Database().Db(), "UPDATE Vardiya SET KapanisZamani");
    const QString cut =
        Failure([&] { TShiftManager::CloseShift(shop.VardiyaID(), 100, shop.KullaniciID()); });
    QVERIFY2(cut.startsWith(kLinkLost), qPrintable(cut));
    QVERIFY(shop.Scalar(QString("SELECT KapanisZamani FROM Vardiya WHERE VardiyaID = %1")
                            .arg(shop.VardiyaID()))
                .isNull());
    const TCloseShiftResult closed =
        TShiftManager::CloseShift(shop.VardiyaID(), 100, shop.KullaniciID());
    QVERIFY2(closed.Success, qPrintable(closed.Message));
    QCOMPARE(shop.Scalar(QString("SELECT VardiyaDurumu FROM Vardiya WHERE VardiyaID = %1")
                             .arg(shop.VardiyaID()))
                 .toString(),
             QString("KAPALI"));
}

// The database file's folder goes away with the link and comes back later: every operation in
// between fails with a clear message and tries again, the first after its return reconnects.
void TestLinkLoss::linkThatStaysDownIsTriedAgain()
{
    if (TestRoad() == TTestRoad::SqlServer)
        QSKIP("The server's database is not a file the test can take away.");
    TTestDatabase db;
    db.Exec("CREATE TABLE T (A INT)");
    db.Exec("INSERT INTO T (A) VALUES (5)");
    const QString folder = db.Folder();
    const QString away = folder + "-away";
    BreakLink(db.Db());
    QVERIFY(QDir().rename(folder, away));
    QStringList failures;
    for (int i = 0; i < 3; ++i)
        failures << Failure([&] { db.Scalar("SELECT A FROM T"); });
    QVERIFY(QDir().rename(away, folder));
    for (const QString& failure : failures)
        QVERIFY2(failure.startsWith(kLinkLost) || failure.startsWith(kReconnectFailed),
                 qPrintable(failure));
    QVERIFY2(failures.last().startsWith(kReconnectFailed), qPrintable(failures.last()));
    QVERIFY(failures.last().contains("Veritabanı Erişim Hatası!"));
    QCOMPARE(db.Scalar("SELECT A FROM T").toInt(), 5);
    QVERIFY(db.Db().Connected());
}

QTEST_GUILESS_MAIN(TestLinkLoss)
#include "tst_LinkLoss.moc"
