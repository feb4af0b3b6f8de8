#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "sales/BranchStockManager.h"
#include "sales/CartManager.h"
#include "support/FixedClock.h"
#include "support/ShopFixture.h"

#include <QtTest>

// Branch stock rows, stock movements and lot allocation on a real SQLite database.
class TestBranchStockManager : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { UseTurkishLocale(); }
    void floatToSqlText_data();
    void floatToSqlText();
    void firstBranchInheritsLaterBranchesStartAtZero();
    void seedingTwiceAddsNothing();
    void productAddedLaterGetsItsRow();
    void revivedProductGetsRowWhenStockMoves();
    void revivedProductReadsItsInheritedStock();
    void moveResumsProductStock();
    void movesKeepThreePlaces_data();
    void movesKeepThreePlaces();
    void idsNotPositiveDoNothing();
    void allocatesEarliestExpiryFirst();
    void expiredStockBlocksOrIsIgnored();
    void unsetBlockFlagBlocksAndNamesEarliestExpiry();
    void availabilityTolerance_data();
    void availabilityTolerance();
    void untrackedProductWritesNoLots();
    void noLotTableSkipsLots();
};

void TestBranchStockManager::floatToSqlText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("negative whole") << -2.0 << "-2";
    QTest::newRow("fraction") << 0.25 << "0.25";
    QTest::newRow("negative fraction") << -0.25 << "-0.25";
    QTest::newRow("fifteen digits") << 1.0 / 3 << "0.333333333333333";
    QTest::newRow("large") << 1e20 << "1e+20";
    QTest::newRow("zero") << 0.0 << "0";
}

void TestBranchStockManager::floatToSqlText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(TBranchStockManager::FloatToSqlText(value), text);
}

void TestBranchStockManager::firstBranchInheritsLaterBranchesStartAtZero()
{
    TShopFixture shop;
    const int bread = shop.AddProduct("EKMEK", "8690000000011", 10, 10, 25);
    const int gone = shop.AddProduct("SILINMIS", "8690000000028", 5, 10, 3);
    shop.Exec(QString("UPDATE Stok SET IsDeleted = 1 WHERE StokID = %1").arg(gone));
    TBranchStockManager::EnsureBranchStockRows(shop.SubeID());
    QCOMPARE(shop.BranchStock(shop.SubeID(), bread), 25.0);
    QCOMPARE(shop.Count(QString("SubeStok WHERE StokID = %1").arg(gone)), 0);

    const int second = shop.AddBranch("KADIKOY");
    TBranchStockManager::EnsureBranchStockRows(second);
    QCOMPARE(shop.BranchStock(second, bread), 0.0);
    QCOMPARE(TBranchStockManager::GetBranchStock(second, bread), 0.0);
}

void TestBranchStockManager::seedingTwiceAddsNothing()
{
    TShopFixture shop;
    shop.AddProduct("EKMEK", "8690000000011", 10, 10);
    TBranchStockManager::EnsureBranchStockRows(shop.SubeID());
    TBranchStockManager::EnsureBranchStockRows(shop.SubeID());
    QCOMPARE(shop.Count("SubeStok"), 1);
}

void TestBranchStockManager::productAddedLaterGetsItsRow()
{
    TShopFixture shop;
    shop.AddProduct("EKMEK", "8690000000011", 10, 10);
    TBranchStockManager::EnsureBranchStockRows(shop.SubeID());
    const int added = shop.AddProduct("SUT", "8690000000035", 20, 1, 4);
    TBranchStockManager::EnsureBranchStockRows(shop.SubeID());
    QCOMPARE(shop.BranchStock(shop.SubeID(), added), 4.0);
}

void TestBranchStockManager::revivedProductGetsRowWhenStockMoves()
{
    TShopFixture shop;
    const int product = shop.AddProduct("EKMEK", "8690000000011", 10, 10, 6);
    shop.Exec(QString("UPDATE Stok SET IsDeleted = 1 WHERE StokID = %1").arg(product));
    TBranchStockManager::EnsureBranchStockRows(shop.SubeID());
    shop.Exec(QString("UPDATE Stok SET IsDeleted = 0 WHERE StokID = %1").arg(product));
    TBranchStockManager::MoveBranchStock(shop.SubeID(), product, -1);
    QCOMPARE(shop.BranchStock(shop.SubeID(), product), 5.0);
    QCOMPARE(shop.ProductStock(product), 5.0);
}

void TestBranchStockManager::revivedProductReadsItsInheritedStock()
{
    TShopFixture shop;
    const int product = shop.AddProduct("EKMEK", "8690000000011", 10, 10, 6);
    shop.Exec(QString("UPDATE Stok SET IsDeleted = 1 WHERE StokID = %1").arg(product));
    TBranchStockManager::EnsureBranchStockRows(shop.SubeID());
    shop.Exec(QString("UPDATE Stok SET IsDeleted = 0 WHERE StokID = %1").arg(product));
    QCOMPARE(TBranchStockManager::GetBranchStock(shop.SubeID(), product), 6.0);
    TBranchStockManager::MoveBranchStock(shop.SubeID(), product, 2);
    QCOMPARE(TBranchStockManager::GetBranchStock(shop.SubeID(), product), 8.0);
    QCOMPARE(shop.ProductStock(product), 8.0);
}

void TestBranchStockManager::moveResumsProductStock()
{
    TShopFixture shop;
    const int product = shop.AddProduct("EKMEK", "8690000000011", 10, 10, 10);
    const int second = shop.AddBranch("KADIKOY");
    TBranchStockManager::EnsureBranchStockRows(shop.SubeID());
    TBranchStockManager::MoveBranchStock(second, product, 3);
    TBranchStockManager::MoveBranchStock(shop.SubeID(), product, -2);
    TBranchStockManager::MoveBranchStock(shop.SubeID(), product, -0.25);
    QCOMPARE(shop.BranchStock(shop.SubeID(), product), 7.75);
    QCOMPARE(shop.BranchStock(second, product), 3.0);
    QCOMPARE(shop.ProductStock(product), 10.75);
}

void TestBranchStockManager::movesKeepThreePlaces_data()
{
    QTest::addColumn<QList<double>>("moves");
    QTest::addColumn<QString>("branch");
    QTest::addColumn<QString>("product");
    QTest::addColumn<double>("read");
    QTest::newRow("0.1 then 0.2 out") << QList<double>{-0.1, -0.2} << "9.7"
                                      << "12.7" << 9.7;
    QTest::newRow("a move beyond three places") << QList<double>{0.005, -0.0004} << "10.005"
                                                << "13.005" << 10.005;
}

// Branch stock and the product's summed stock are kept as DECIMAL(18,3) keeps them: the
// decimal result of the moves, not what adding doubles leaves behind.
void TestBranchStockManager::movesKeepThreePlaces()
{
    QFETCH(QList<double>, moves);
    QFETCH(QString, branch);
    QFETCH(QString, product);
    QFETCH(double, read);
    TShopFixture shop;
    const int cheese = shop.AddProduct("PEYNIR", "8690000000042", 50, 10, 10);
    const int second = shop.AddBranch("KADIKOY");
    TBranchStockManager::EnsureBranchStockRows(shop.SubeID());
    TBranchStockManager::MoveBranchStock(second, cheese, 0.1 + 0.2 + 2.7);
    for (const double move : moves)
        TBranchStockManager::MoveBranchStock(shop.SubeID(), cheese, move);
    // Compared in the database, on the stored doubles themselves.
    QCOMPARE(shop.Count(QString("SubeStok WHERE SubeID = %1 AND StokID = %2 AND MevcutStok = %3")
                            .arg(shop.SubeID())
                            .arg(cheese)
                            .arg(branch)),
             1);
    QCOMPARE(shop.Count(QString("SubeStok WHERE SubeID = %1 AND MevcutStok = 3").arg(second)), 1);
    QCOMPARE(
        shop.Count(QString("Stok WHERE StokID = %1 AND MevcutStok = %2").arg(cheese).arg(product)),
        1);
    QCOMPARE(TBranchStockManager::GetBranchStock(shop.SubeID(), cheese), read);
}

void TestBranchStockManager::idsNotPositiveDoNothing()
{
    TShopFixture shop;
    const int product = shop.AddProduct("EKMEK", "8690000000011", 10, 10, 10);
    TBranchStockManager::EnsureBranchStockRows(0);
    TBranchStockManager::MoveBranchStock(0, product, -1);
    TBranchStockManager::MoveBranchStock(shop.SubeID(), -1, -1);
    QCOMPARE(shop.Count("SubeStok"), 0);
    QCOMPARE(TBranchStockManager::GetBranchStock(shop.SubeID(), 0), 0.0);
    QCOMPARE(shop.ProductStock(product), 10.0);
}

// The lot tests hold the clock at a second to midnight: a lot that expires today still sells.
static const QDateTime kNow(QDate(2025, 3, 5), QTime(23, 59, 59));

static TCartItem Line(int stokID, double quantity)
{
    return TCartItem(stokID, "PEYNIR", "8690000000042", "ADET", 50, quantity, 10, false);
}

void TestBranchStockManager::allocatesEarliestExpiryFirst()
{
    const TFixedClock clock(kNow);
    TShopFixture shop;
    const int cheese = shop.AddProduct("PEYNIR", "8690000000042", 50, 10);
    shop.TrackExpiry(cheese, true);
    const QDate today = clock.Today();
    const int undated = shop.AddLot(cheese, 3, QDate());
    const int later = shop.AddLot(cheese, 10, today.addDays(60));
    const int sooner = shop.AddLot(cheese, 5, today.addDays(30));
    TBranchStockManager::EnsureSaleLotSchema();
    TBranchStockManager::AllocateLots(77, 2, Line(cheese, 7));
    QCOMPARE(shop.LotQuantity(sooner), 0.0);
    QCOMPARE(shop.LotQuantity(later), 8.0);
    QCOMPARE(shop.LotQuantity(undated), 3.0);
    TDbQuery rows("SELECT FisID, SatirSiraNo, LotID, Miktar, SonKullanmaTarihi FROM SatisFisLot "
                  "ORDER BY SatisFisLotID");
    rows.Exec();
    QVERIFY(rows.Next());
    QCOMPARE(rows.Value("FisID").toInt(), 77);
    QCOMPARE(rows.Value("SatirSiraNo").toInt(), 2);
    QCOMPARE(rows.Value("LotID").toInt(), sooner);
    QCOMPARE(rows.Value("Miktar").toDouble(), 5.0);
    QCOMPARE(rows.Value("SonKullanmaTarihi").toString(), today.addDays(30).toString("yyyy-MM-dd"));
    QVERIFY(rows.Next());
    QCOMPARE(rows.Value("LotID").toInt(), later);
    QCOMPARE(rows.Value("Miktar").toDouble(), 2.0);
    QVERIFY(!rows.Next());

    // The undated lot comes last and its row carries no date.
    TBranchStockManager::AllocateLots(78, 1, Line(cheese, 9));
    QCOMPARE(shop.LotQuantity(undated), 2.0);
    QVERIFY(
        shop.Scalar(
                QString("SELECT SonKullanmaTarihi FROM SatisFisLot WHERE LotID = %1").arg(undated))
            .isNull());
}

void TestBranchStockManager::expiredStockBlocksOrIsIgnored()
{
    const TFixedClock clock(kNow);
    TShopFixture shop;
    const int cheese = shop.AddProduct("PEYNIR", "8690000000042", 50, 10);
    const QDate expired = clock.Today().addDays(-3);
    shop.AddLot(cheese, 4, expired);
    const int valid = shop.AddLot(cheese, 4, clock.Today());
    TBranchStockManager::EnsureSaleLotSchema();

    shop.TrackExpiry(cheese, true);
    try {
        TBranchStockManager::AllocateLots(1, 1, Line(cheese, 1));
        QFAIL("expired stock was sold");
    } catch (const Exception& e) {
        QCOMPARE(e.Message(), "Dikkat! Bu urunun son kullanma tarihi " +
                                  expired.toString("dd.MM.yyyy") +
                                  " tarihinde gecmistir, islem yapilamaz!");
    }

    shop.TrackExpiry(cheese, false);
    TBranchStockManager::AllocateLots(1, 1, Line(cheese, 4));
    QCOMPARE(shop.LotQuantity(valid), 0.0);
    QCOMPARE(shop.Count("SatisFisLot"), 1);
}

// A product whose block flag was never set counts as blocking, and of several expired lots the
// message names the one that expired first.
void TestBranchStockManager::unsetBlockFlagBlocksAndNamesEarliestExpiry()
{
    const TFixedClock clock(kNow);
    TShopFixture shop;
    const int cheese = shop.AddProduct("PEYNIR", "8690000000042", 50, 10);
    shop.Exec(QString("UPDATE Stok SET IsSKTTakibi = 1, IsSatisEngelle = NULL WHERE StokID = %1")
                  .arg(cheese));
    const QDate today = clock.Today();
    shop.AddLot(cheese, 2, today.addDays(-3));
    shop.AddLot(cheese, 0, today.addDays(-20));
    const QDate earliest = today.addDays(-10);
    shop.AddLot(cheese, 1, earliest);
    const int valid = shop.AddLot(cheese, 9, today.addDays(30));
    TBranchStockManager::EnsureSaleLotSchema();
    try {
        TBranchStockManager::AllocateLots(1, 1, Line(cheese, 1));
        QFAIL("expired stock was sold");
    } catch (const Exception& e) {
        QCOMPARE(e.Message(), "Dikkat! Bu urunun son kullanma tarihi " +
                                  earliest.toString("dd.MM.yyyy") +
                                  " tarihinde gecmistir, islem yapilamaz!");
    }
    QCOMPARE(shop.LotQuantity(valid), 9.0);
    QCOMPARE(shop.Count("SatisFisLot"), 0);
}

void TestBranchStockManager::availabilityTolerance_data()
{
    QTest::addColumn<double>("inLots");
    QTest::addColumn<bool>("passes");
    QTest::newRow("within tolerance") << 9.9999995 << true;
    QTest::newRow("short") << 9.999998 << false;
}

void TestBranchStockManager::availabilityTolerance()
{
    const TFixedClock clock(kNow);
    QFETCH(double, inLots);
    QFETCH(bool, passes);
    TShopFixture shop;
    const int cheese = shop.AddProduct("PEYNIR", "8690000000042", 50, 10);
    shop.TrackExpiry(cheese, true);
    shop.AddLot(cheese, inLots, clock.Today().addDays(5));
    TBranchStockManager::EnsureSaleLotSchema();
    try {
        TBranchStockManager::AllocateLots(1, 1, Line(cheese, 10));
        QVERIFY(passes);
    } catch (const Exception& e) {
        QVERIFY(!passes);
        QCOMPARE(e.Message(), QString("Lot bazli stok yetersiz: PEYNIR"));
    }
}

void TestBranchStockManager::untrackedProductWritesNoLots()
{
    const TFixedClock clock(kNow);
    TShopFixture shop;
    const int cheese = shop.AddProduct("PEYNIR", "8690000000042", 50, 10);
    const int lot = shop.AddLot(cheese, 5, clock.Today().addDays(-1));
    TBranchStockManager::EnsureSaleLotSchema();
    TBranchStockManager::AllocateLots(1, 1, Line(cheese, 20));
    QCOMPARE(shop.LotQuantity(lot), 5.0);
    QCOMPARE(shop.Count("SatisFisLot"), 0);
}

void TestBranchStockManager::noLotTableSkipsLots()
{
    TShopFixture shop;
    const int cheese = shop.AddProduct("PEYNIR", "8690000000042", 50, 10);
    shop.TrackExpiry(cheese, true);
    shop.Exec("DROP TABLE StokLotDetay");
    TBranchStockManager::EnsureSaleLotSchema();
    TBranchStockManager::AllocateLots(1, 1, Line(cheese, 3));
    QCOMPARE(shop.Count("SatisFisLot"), 0);
}

QTEST_GUILESS_MAIN(TestBranchStockManager)
#include "tst_BranchStockManager.moc"
