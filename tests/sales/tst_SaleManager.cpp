#include "core/DbQuery.h"
#include "sales/CartManager.h"
#include "sales/PaymentCalculator.h"
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
    void cashHandedOverIsKept_data();
    void cashHandedOverIsKept();
    void paidAmountsAddUpToTheStoredTotal_data();
    void paidAmountsAddUpToTheStoredTotal();
    void figuresStoredAtTheirColumnsScale();
    void stockAndLotsAfterFractionalSales_data();
    void stockAndLotsAfterFractionalSales();

private:
    static TSaleResult Sell(TShopFixture& shop, const TCartManager& cart, const QString& type,
                            double cash, double card);
    static QString Snapshot(TShopFixture& shop);
    // Whether exactly one row of the table matches; the condition compares the stored doubles
    // themselves, inside the database, where a text or a driver could round them first.
    static bool Holds(TShopFixture& shop, const QString& table, const QString& condition);
};

bool TestSaleManager::Holds(TShopFixture& shop, const QString& table, const QString& condition)
{
    return shop.Count(table + " WHERE " + condition) == 1;
}

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
    // The head keeps money to the kuruş.
    QCOMPARE(header.Value("GenelToplam").toDouble(), 257.0);
    QVERIFY(qAbs(header.Value("GenelToplam").toDouble() - cart.GenelToplam()) < 1e-9);
    QCOMPARE(header.Value("Indirim").toDouble(), 2.73);
    QVERIFY(qAbs(header.Value("Indirim").toDouble() - cart.ToplamIndirim()) < 0.005);
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

void TestSaleManager::paidAmountsAddUpToTheStoredTotal_data()
{
    QTest::addColumn<QString>("cart");
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("nakit");
    QTest::addColumn<QString>("kart");
    // 312,30 and 200,00 at 20 % VAT add up to 512.3000000000001.
    QTest::newRow("split: 200 cash on a total with binary noise") << "noisy"
                                                                  << "200"
                                                                  << "312,30"
                                                                  << "512.3"
                                                                  << "200"
                                                                  << "312.3";
    // 0.333 kg at 29,99 is 9.98667: the cashier is asked for 9,99.
    QTest::newRow("cash with change on a weighed total") << "weighed"
                                                         << "20"
                                                         << "0"
                                                         << "9.99"
                                                         << "9.99" << QString();
    // Six at 7,333 less 3,33 %: 42.53...
    QTest::newRow("card on a discounted total") << "discounted"
                                                << "0"
                                                << "42,53"
                                                << "42.53" << QString() << "42.53";
    // 3 x 12,10 and 0,10 add up to 36.39999999999999.
    QTest::newRow("split with change on a total below its kuruş") << "below"
                                                                  << "20"
                                                                  << "20,15"
                                                                  << "36.4"
                                                                  << "16.25"
                                                                  << "20.15";
}

// The cash handed over is kept on the cash payment, so a receipt printed again shows the change;
// the payments themselves stay what the total needs.
void TestSaleManager::cashHandedOverIsKept_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<double>("cash");
    QTest::addColumn<double>("card");
    QTest::addColumn<QString>("rows");
    QTest::addColumn<double>("paraUstu");
    QTest::newRow("cash with change") << "NAKIT" << 150.0 << 0.0 << "NAKIT=100/150" << 50.0;
    QTest::newRow("cash exactly") << "NAKIT" << 100.0 << 0.0 << "NAKIT=100/100" << 0.0;
    QTest::newRow("split with change")
        << "KARMA" << 50.0 << 60.0 << "KART=60/NULL,NAKIT=40/50" << 10.0;
    QTest::newRow("card") << "KART" << 0.0 << 100.0 << "KART=100/NULL" << 0.0;
    QTest::newRow("kuruş of the cash handed over")
        << "NAKIT" << 100.004 << 0.0 << "NAKIT=100/100" << 0.0;
}

void TestSaleManager::cashHandedOverIsKept()
{
    QFETCH(QString, type);
    QFETCH(double, cash);
    QFETCH(double, card);
    QFETCH(QString, rows);
    QFETCH(double, paraUstu);
    TShopFixture shop;
    const int product = shop.AddProduct("KAHVE", "8690000000066", 100, 20);
    TCartManager cart;
    cart.AddItem(product, "KAHVE", "8690000000066", "ADET", 100, 1, 20, false);
    const TSaleResult result = Sell(shop, cart, type, cash, card);
    QVERIFY2(result.Success, qPrintable(result.Message));
    QStringList stored;
    TDbQuery q("SELECT OdemeTipi, Tutar, VerilenTutar FROM SatisOdeme WHERE FisID = :Fis ORDER "
               "BY OdemeTipi");
    q.Param("Fis", result.FisID).Exec();
    while (q.Next())
        stored << q.Value(0).toString() + '=' + QString::number(q.Value(1).toDouble()) + '/' +
                      (q.Value(2).isNull() ? QString("NULL")
                                           : QString::number(q.Value(2).toDouble()));
    QCOMPARE(stored.join(','), rows);
    QCOMPARE(result.ParaUstu(), paraUstu);
    QCOMPARE(result.Nakit + result.Kart, 100.0);
}

// The sale stores the total the cashier was asked for, and what cash and card paid of it, each
// to the kuruş, so the payments add up to the receipt's total as the server's decimals do.
void TestSaleManager::paidAmountsAddUpToTheStoredTotal()
{
    QFETCH(QString, cart);
    QFETCH(QString, cash);
    QFETCH(QString, card);
    QFETCH(QString, total);
    QFETCH(QString, nakit);
    QFETCH(QString, kart);
    TShopFixture shop;
    const int a = shop.AddProduct("KAHVE", "8690000000066", 312.3, 20);
    const int b = shop.AddProduct("DOMATES", "8690000000073", 29.99, 1, 10, true);
    TCartManager c;
    if (cart == "noisy") {
        c.AddItem(a, "KAHVE", "8690000000066", "ADET", 312.3, 1, 20, false);
        c.AddItem(b, "DEMLIK", "8690000000073", "ADET", 200, 1, 20, false);
    } else if (cart == "weighed") {
        c.AddItem(b, "DOMATES", "8690000000073", "KG", 29.99, 0.333, 1, true);
    } else if (cart == "discounted") {
        c.AddItem(a, "SU", "8690000000066", "ADET", 7.333, 6, 20, false);
        c.UpdateDiscount(0, 3.33);
    } else {
        c.AddItem(a, "EKMEK", "8690000000066", "ADET", 12.1, 3, 10, false);
        c.AddItem(b, "POSET", "8690000000073", "ADET", 0.1, 1, 20, false);
    }
    const TPaymentOutcome paid = TPaymentCalculator::Complete(c.GenelToplam(), cash, card);
    QVERIFY(!paid.Short);
    const TSaleResult result = Sell(shop, c, paid.PaymentType, paid.PaymentNakit, paid.PaymentKart);
    QVERIFY2(result.Success, qPrintable(result.Message));

    const QString fis = QString("FisID = %1").arg(result.FisID);
    QVERIFY2(Holds(shop, "SatisFis", fis + " AND GenelToplam = " + total),
             qPrintable(shop.Scalar("SELECT GenelToplam FROM SatisFis").toString()));
    QCOMPARE(result.GenelToplam, total.toDouble());
    for (const auto& [type, amount] : {std::pair{"NAKIT", nakit}, std::pair{"KART", kart}}) {
        const QString row = fis + QString(" AND OdemeTipi = '%1'").arg(type);
        if (amount.isEmpty())
            QCOMPARE(shop.Count("SatisOdeme WHERE " + row), 0);
        else
            QVERIFY2(Holds(shop, "SatisOdeme", row + " AND Tutar = " + amount), type);
    }
    QVERIFY(Holds(shop, "SatisFis",
                  fis + " AND AraToplam = ROUND(AraToplam, 2) AND ToplamKDV = ROUND(ToplamKDV, "
                        "2) AND Indirim = ROUND(Indirim, 2)"));
}

// Lines keep quantities to three places, prices and amounts to four and rates to two, as the
// server's columns do: a weight of 0.1 + 0.2 kg is 0.3 kg.
void TestSaleManager::figuresStoredAtTheirColumnsScale()
{
    TShopFixture shop;
    const int tomato = shop.AddProduct("DOMATES", "8690000000073", 29.99, 1, 10, true);
    const int water = shop.AddProduct("SU", "8690000000059", 7.333, 20);
    TCartManager cart;
    cart.AddItem(tomato, "DOMATES", "8690000000073", "KG", 29.99, 0.1 + 0.2, 1, true);
    cart.AddItem(water, "SU", "8690000000059", "ADET", 7.333, 6, 20, false);
    cart.UpdateDiscount(1, 100.0 / 3);
    const TSaleResult result = Sell(shop, cart, "NAKIT", cart.GenelToplam(), 0);
    QVERIFY2(result.Success, qPrintable(result.Message));

    const QString fis = QString("FisID = %1").arg(result.FisID);
    QVERIFY(Holds(shop, "SatisFisSatir", fis + " AND SiraNo = 1 AND Miktar = 0.3"));
    QVERIFY(Holds(shop, "SatisFisSatir",
                  fis + " AND SiraNo = 2 AND IndirimOrani = 33.33 AND BirimFiyat = 6.1108"));
    QCOMPARE(shop.Count("SatisFisSatir WHERE " + fis +
                        " AND Miktar = ROUND(Miktar, 3) AND BirimFiyat = ROUND(BirimFiyat, 4) AND "
                        "KDVOrani = ROUND(KDVOrani, 2) AND KDVTutari = ROUND(KDVTutari, 4) AND "
                        "IndirimOrani = ROUND(IndirimOrani, 2) AND IndirimTutari = "
                        "ROUND(IndirimTutari, 4) AND AraToplam = ROUND(AraToplam, 4) AND "
                        "SatirToplam = ROUND(SatirToplam, 4)"),
             2);
    QVERIFY(Holds(shop, "SubeStok", QString("StokID = %1 AND MevcutStok = 9.7").arg(tomato)));
    QVERIFY(Holds(shop, "Stok", QString("StokID = %1 AND MevcutStok = 9.7").arg(tomato)));
    QVERIFY(Holds(shop, "SatisOdeme", fis + " AND Tutar = ROUND(Tutar, 2)"));
}

void TestSaleManager::stockAndLotsAfterFractionalSales_data()
{
    QTest::addColumn<QList<double>>("weights");
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("sooner");
    QTest::addColumn<QString>("later");
    QTest::addColumn<QStringList>("taken");
    QTest::newRow("four weighings, the last across two lots")
        << QList<double>{0.1, 0.2, 0.3, 0.7} << "8.7"
        << "0"
        << "4.7" << QStringList{"0.1", "0.2", "0.3", "0.4", "0.3"};
    QTest::newRow("weights that are sums of weighings")
        << QList<double>{0.1 + 0.2, 0.1 + 0.7, 0.15 + 0.15} << "8.6"
        << "0"
        << "4.6" << QStringList{"0.3", "0.7", "0.1", "0.3"};
}

// Branch stock, overall stock, lots and the lots' sale rows after several sales of a weighed,
// lot-tracked product hold the decimal quantities, not what adding doubles leaves behind.
void TestSaleManager::stockAndLotsAfterFractionalSales()
{
    QFETCH(QList<double>, weights);
    QFETCH(QString, stock);
    QFETCH(QString, sooner);
    QFETCH(QString, later);
    QFETCH(QStringList, taken);
    TShopFixture shop;
    const int cheese = shop.AddProduct("PEYNIR", "8690000000042", 240, 10, 10, true);
    shop.TrackExpiry(cheese, true);
    const int first = shop.AddLot(cheese, 1, QDate::currentDate().addDays(10));
    const int second = shop.AddLot(cheese, 5, QDate::currentDate().addDays(20));
    for (const double weight : weights) {
        TCartManager cart;
        cart.AddItem(cheese, "PEYNIR", "8690000000042", "KG", 240, weight, 10, true);
        const TSaleResult result = Sell(shop, cart, "NAKIT", cart.GenelToplam(), 0);
        QVERIFY2(result.Success, qPrintable(result.Message));
    }
    const QString product = QString("StokID = %1 AND MevcutStok = ").arg(cheese);
    QVERIFY2(Holds(shop, "SubeStok", product + stock),
             qPrintable(QString::number(shop.BranchStock(shop.SubeID(), cheese), 'g', 17)));
    QVERIFY(Holds(shop, "Stok", product + stock));
    QVERIFY2(Holds(shop, "StokLotDetay",
                   QString("LotID = %1 AND MevcutMiktar = %2").arg(first).arg(sooner)),
             qPrintable(QString::number(shop.LotQuantity(first), 'g', 17)));
    QVERIFY2(Holds(shop, "StokLotDetay",
                   QString("LotID = %1 AND MevcutMiktar = %2").arg(second).arg(later)),
             qPrintable(QString::number(shop.LotQuantity(second), 'g', 17)));
    QCOMPARE(shop.Count("SatisFisLot"), int(taken.size()));
    for (qsizetype i = 0; i < taken.size(); ++i)
        QVERIFY2(Holds(shop, "SatisFisLot",
                       QString("SatisFisLotID = (SELECT MIN(SatisFisLotID) + %1 FROM SatisFisLot) "
                               "AND Miktar = %2")
                           .arg(i)
                           .arg(taken.at(i))),
                 qPrintable(taken.at(i)));
}

QTEST_GUILESS_MAIN(TestSaleManager)
#include "tst_SaleManager.moc"
