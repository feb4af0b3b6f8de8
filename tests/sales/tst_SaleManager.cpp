#include "core/DbQuery.h"
#include "sales/CartManager.h"
#include "sales/SaleManager.h"
#include "support/ShopFixture.h"

#include <QSqlQuery>
#include <QtTest>

// The sale transaction: what a committed sale writes, and that a failed one writes nothing.
class TestSaleManager : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { UseTurkishLocale(); }
    void emptyCartTouchesNothing();
    void writesHeaderLinesLotsStockAndPayment();
    void payments_data();
    void payments();
    void customerIsStoredOrNull();
    void failureInLastStockMoveLeavesNothing();
    void shiftMustBeOpen_data();
    void shiftMustBeOpen();
    void lotShortageFailsTheSale();

private:
    static TSaleResult Sell(TShopFixture& shop, const TCartManager& cart, const QString& type,
                            double cash, double card);
    static QString Snapshot(TShopFixture& shop);
};

TSaleResult TestSaleManager::Sell(TShopFixture& shop, const TCartManager& cart, const QString& type,
                                  double cash, double card)
{
    return TSaleManager::CreateSale(shop.SubeID(), shop.KullaniciID(), shop.TerminalID(),
                                    shop.VardiyaID(), type, cart, cash, card);
}

// Everything a sale may change, as one comparable text.
QString TestSaleManager::Snapshot(TShopFixture& shop)
{
    QStringList parts;
    for (const char* sql : {"SELECT COUNT(*) FROM SatisFis", "SELECT COUNT(*) FROM SatisFisSatir",
                            "SELECT COUNT(*) FROM SatisOdeme", "SELECT COUNT(*) FROM SatisFisLot",
                            "SELECT group_concat(MevcutMiktar) FROM StokLotDetay",
                            "SELECT group_concat(MevcutStok) FROM SubeStok",
                            "SELECT group_concat(MevcutStok) FROM Stok"})
        parts << shop.Scalar(sql).toString();
    return parts.join('|');
}

void TestSaleManager::emptyCartTouchesNothing()
{
    TShopFixture shop;
    TCartManager cart;
    const TSaleResult result = Sell(shop, cart, "NAKIT", 10, 0);
    QVERIFY(!result.Success);
    QCOMPARE(result.Message, QString("Sepet boş!"));
    QCOMPARE(shop.Count("SatisFis"), 0);
    QVERIFY(shop.Scalar("SELECT OBJECT_ID('dbo.SatisFisLot', 'U')").isNull() ||
            shop.Count("SatisFisLot") == 0);
}

void TestSaleManager::writesHeaderLinesLotsStockAndPayment()
{
    TShopFixture shop;
    const int cheese = shop.AddProduct("PEYNIR", "8690000000042", 55, 10, 20);
    const int bread = shop.AddProduct("EKMEK", "8690000000011", 10, 10, 30);
    const int water = shop.AddProduct("SU", "8690000000059", 120, 20, 40);
    shop.TrackExpiry(cheese, true);
    const int lot = shop.AddLot(cheese, 5, QDate::currentDate().addDays(10));
    TCartManager cart;
    cart.AddItem(cheese, "PEYNIR", "8690000000042", "ADET", 55, 2, 10, false);
    cart.AddItem(bread, "EKMEK", "8690000000011", "ADET", 10, 3, 10, false);
    cart.AddItem(water, "SU", "8690000000059", "ADET", 120, 1, 20, false);
    cart.UpdateDiscount(1, 10);

    const TSaleResult result = Sell(shop, cart, "NAKIT", cart.GenelToplam(), 0);
    QVERIFY2(result.Success, qPrintable(result.Message));
    QVERIFY(result.Message.isEmpty());
    QCOMPARE(result.FisNo, "FIS-" + QString::number(result.FisID));
    QCOMPARE(result.GenelToplam, cart.GenelToplam());

    TDbQuery header("SELECT * FROM SatisFis WHERE FisID = :F");
    header.Param("F", result.FisID).Exec();
    QVERIFY(header.Next());
    QCOMPARE(header.Value("FisNo").toString(), result.FisNo);
    QCOMPARE(header.Value("FisDurumu").toString(), QString("AKTIF"));
    QCOMPARE(header.Value("VardiyaID").toInt(), shop.VardiyaID());
    QCOMPARE(header.Value("OdemeTipi").toString(), QString("NAKIT"));
    QVERIFY(header.Value("MusteriID").isNull());
    QVERIFY(qAbs(header.Value("GenelToplam").toDouble() - cart.GenelToplam()) < 1e-9);
    QVERIFY(qAbs(header.Value("Indirim").toDouble() - cart.ToplamIndirim()) < 1e-9);
    QVERIFY(QDateTime::fromString(StoredTimeText(header.Value("Tarih")), "yyyy-MM-dd HH:mm:ss")
                .isValid());

    TDbQuery lines("SELECT SiraNo, StokID, BirimFiyat, IndirimOrani FROM SatisFisSatir WHERE FisID "
                   "= :F ORDER BY SiraNo");
    lines.Param("F", result.FisID).Exec();
    QList<int> order;
    while (lines.Next()) {
        order << lines.Value("StokID").toInt();
        QCOMPARE(lines.Value("SiraNo").toInt(), int(order.size()));
        if (lines.Value("StokID").toInt() == water)
            QVERIFY(qAbs(lines.Value("BirimFiyat").toDouble() - 100.0) < 1e-9); // net of 20 % VAT
    }
    QCOMPARE(order, (QList<int>{cheese, bread, water}));
    QCOMPARE(shop.Count("SatisFisLot WHERE SatirSiraNo = 1"), 1);
    QCOMPARE(shop.Count("SatisFisLot"), 1);
    QCOMPARE(shop.LotQuantity(lot), 3.0);
    QCOMPARE(shop.BranchStock(shop.SubeID(), cheese), 18.0);
    QCOMPARE(shop.BranchStock(shop.SubeID(), bread), 27.0);
    QCOMPARE(shop.ProductStock(water), 39.0);
    QCOMPARE(shop.Count("SatisOdeme"), 1);
}

void TestSaleManager::payments_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<double>("cash");
    QTest::addColumn<double>("card");
    QTest::addColumn<QString>("rows");
    QTest::newRow("cash") << "NAKIT" << 100.0 << 0.0 << "NAKIT=100";
    QTest::newRow("card") << "KART" << 0.0 << 100.0 << "KART=100";
    QTest::newRow("split") << "KARMA" << 30.0 << 70.0 << "KART=70,NAKIT=30";
    QTest::newRow("amounts below tolerance") << "NAKIT" << 0.001 << 0.0005 << "";
}

void TestSaleManager::payments()
{
    QFETCH(QString, type);
    QFETCH(double, cash);
    QFETCH(double, card);
    QFETCH(QString, rows);
    TShopFixture shop;
    const int product = shop.AddProduct("KAHVE", "8690000000066", 100, 20);
    TCartManager cart;
    cart.AddItem(product, "KAHVE", "8690000000066", "ADET", 100, 1, 20, false);
    const TSaleResult result = Sell(shop, cart, type, cash, card);
    QVERIFY2(result.Success, qPrintable(result.Message));
    QCOMPARE(
        shop.Scalar(QString("SELECT OdemeTipi FROM SatisFis WHERE FisID = %1").arg(result.FisID))
            .toString(),
        type);
    const QString stored =
        shop.Scalar(QString("SELECT group_concat(OdemeTipi || '=' || CAST(Tutar AS INTEGER)) FROM "
                            "(SELECT * FROM SatisOdeme WHERE FisID = %1 ORDER BY OdemeTipi)")
                        .arg(result.FisID))
            .toString();
    QCOMPARE(stored, rows);
}

void TestSaleManager::customerIsStoredOrNull()
{
    TShopFixture shop;
    const int product = shop.AddProduct("KAHVE", "8690000000066", 100, 20);
    TCartManager cart;
    cart.AddItem(product, "KAHVE", "8690000000066", "ADET", 100, 1, 20, false);
    cart.SetMusteriNo(7);
    const TSaleResult named = Sell(shop, cart, "NAKIT", 100, 0);
    QVERIFY2(named.Success, qPrintable(named.Message));
    QCOMPARE(
        shop.Scalar(QString("SELECT MusteriID FROM SatisFis WHERE FisID = %1").arg(named.FisID))
            .toInt(),
        7);
    cart.SetMusteriNo(0);
    const TSaleResult anonymous = Sell(shop, cart, "NAKIT", 100, 0);
    QVERIFY(
        shop.Scalar(QString("SELECT MusteriID FROM SatisFis WHERE FisID = %1").arg(anonymous.FisID))
            .isNull());
}

void TestSaleManager::failureInLastStockMoveLeavesNothing()
{
    TShopFixture shop;
    const int cheese = shop.AddProduct("PEYNIR", "8690000000042", 55, 10, 20);
    const int bread = shop.AddProduct("EKMEK", "8690000000011", 10, 10, 30);
    const int water = shop.AddProduct("SU", "8690000000059", 12, 20, 40);
    shop.TrackExpiry(cheese, true);
    shop.AddLot(cheese, 5, QDate::currentDate().addDays(10));
    TCartManager cart;
    cart.AddItem(cheese, "PEYNIR", "8690000000042", "ADET", 55, 2, 10, false);
    cart.AddItem(bread, "EKMEK", "8690000000011", "ADET", 10, 1, 10, false);
    cart.AddItem(water, "SU", "8690000000059", "ADET", 12, 1, 20, false);
    // Seed the branch first so the snapshot below already holds its stock rows.
    QVERIFY(Sell(shop, cart, "NAKIT", 0, 0).Success);
    // Raw SQLite text: the trigger body holds a semicolon that a statement batch would split at.
    QSqlQuery trigger(shop.Database().Db().Database());
    QVERIFY(trigger.exec(
        QString("CREATE TRIGGER FailWater BEFORE UPDATE ON SubeStok WHEN NEW.StokID = %1 "
                "BEGIN SELECT RAISE(ABORT, 'depo kilitli'); END")
            .arg(water)));
    const QString before = Snapshot(shop);
    const TSaleResult result = Sell(shop, cart, "NAKIT", 132, 0);
    QVERIFY(!result.Success);
    QCOMPARE(result.FisID, 0);
    QVERIFY2(result.Message.startsWith("Satış hatası: ") && result.Message.contains("depo kilitli"),
             qPrintable(result.Message));
    QCOMPARE(Snapshot(shop), before);
    QVERIFY(!shop.Database().Db().InTransaction());
    QCOMPARE(cart.Count(), 3);
}

void TestSaleManager::shiftMustBeOpen_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("closed shift")
        << "UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'";
    QTest::newRow("closed status only") << "UPDATE Vardiya SET VardiyaDurumu = 'KAPALI'";
    QTest::newRow("missing shift") << "UPDATE Vardiya SET VardiyaID = VardiyaID + 1000";
}

void TestSaleManager::shiftMustBeOpen()
{
    QFETCH(QString, change);
    TShopFixture shop;
    const int product = shop.AddProduct("KAHVE", "8690000000066", 100, 20);
    TCartManager cart;
    cart.AddItem(product, "KAHVE", "8690000000066", "ADET", 100, 1, 20, false);
    shop.Exec(change);
    const TSaleResult result = Sell(shop, cart, "NAKIT", 100, 0);
    QVERIFY(!result.Success);
    QCOMPARE(result.Message, QString("Satış hatası: Vardiya kapalı veya bulunamadı."));
    QCOMPARE(shop.Count("SatisFis"), 0);
    QCOMPARE(shop.ProductStock(product), 10.0);
}

void TestSaleManager::lotShortageFailsTheSale()
{
    TShopFixture shop;
    const int cheese = shop.AddProduct("PEYNIR", "8690000000042", 55, 10, 20);
    shop.TrackExpiry(cheese, true);
    shop.AddLot(cheese, 1.5, QDate::currentDate().addDays(10));
    TCartManager cart;
    cart.AddItem(cheese, "PEYNIR", "8690000000042", "ADET", 55, 2, 10, false);
    const TSaleResult result = Sell(shop, cart, "NAKIT", 110, 0);
    QCOMPARE(result.Message, QString("Satış hatası: Lot bazli stok yetersiz: PEYNIR"));
    QCOMPARE(shop.Count("SatisFis"), 0);
}

QTEST_GUILESS_MAIN(TestSaleManager)
#include "tst_SaleManager.moc"
