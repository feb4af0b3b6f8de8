#include "sales/CartManager.h"

#include <QtTest>

#include <cmath>
#include <functional>
#include <stdexcept>

Q_DECLARE_METATYPE(std::function<void(TCartManager&)>)

namespace {
void VerifyNear(double actual, double expected, const char* what)
{
    QVERIFY2(std::abs(actual - expected) < 1e-9, qPrintable(QStringLiteral("%1: %2, beklenen %3")
                                                                .arg(QLatin1String(what))
                                                                .arg(actual, 0, 'g', 17)
                                                                .arg(expected, 0, 'g', 17)));
}

QString Exact(double value)
{
    return QString::number(value, 'g', 17);
}
} // namespace

// Line arithmetic, merging of scanned products and the editing operations of the cart.
class TestCartManager : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lineAmounts_data();
    void lineAmounts();
    void workedExampleKeepsFullPrecision();
    void netUnitPrice_data();
    void netUnitPrice();
    void countedProductMergesIntoFirstLine();
    void weighedItemAlwaysMakesNewLine();
    void addItemReturnsTheLineItself();
    void updateQuantity_data();
    void updateQuantity();
    void removeItem_data();
    void removeItem();
    void updateDiscount_data();
    void updateDiscount();
    void totalsSumTheLines();
    void emptyCart();
    void clearForgetsLinesAndCustomer();
    void itemsOutOfRangeRaises();
    void lastChangedLine_data();
    void lastChangedLine();
};

void TestCartManager::netUnitPrice_data()
{
    QTest::addColumn<double>("price");
    QTest::addColumn<double>("vat");
    QTest::addColumn<double>("net");
    QTest::newRow("20 %") << 120.0 << 20.0 << 100.0;
    QTest::newRow("no VAT") << 7.5 << 0.0 << 7.5;
    QTest::newRow("rate at -99.99 % keeps the price") << 5.0 << -99.99 << 5.0;
    QTest::newRow("rate just above -99.99 %") << 5.0 << -99.0 << 500.0;
}

void TestCartManager::netUnitPrice()
{
    QFETCH(double, price);
    QFETCH(double, vat);
    QFETCH(double, net);
    const TCartItem line(1, QStringLiteral("Ürün"), {}, QStringLiteral("ADET"), price, 1, vat,
                         false);
    QCOMPARE(line.NetBirimFiyat(), net);
}

void TestCartManager::lineAmounts_data()
{
    QTest::addColumn<double>("price");
    QTest::addColumn<double>("quantity");
    QTest::addColumn<double>("vat");
    QTest::addColumn<double>("discount");
    QTest::addColumn<double>("net");
    QTest::addColumn<double>("discountAmount");
    QTest::addColumn<double>("vatAmount");
    QTest::addColumn<double>("total");
    QTest::newRow("worked example") << 11.80 << 2.0 << 18.0 << 10.0 << 20.0 << 2.0 << 3.24 << 21.24;
    QTest::newRow("no discount pays gross")
        << 120.0 << 1.0 << 20.0 << 0.0 << 100.0 << 0.0 << 20.0 << 120.0;
    QTest::newRow("fractional quantity")
        << 50.0 << 0.75 << 1.0 << 0.0 << 37.5 / 1.01 << 0.0 << 37.5 / 1.01 * 0.01 << 37.5;
    QTest::newRow("discount off the net, VAT on the rest")
        << 118.0 << 1.0 << 18.0 << 50.0 << 100.0 << 50.0 << 9.0 << 59.0;
    QTest::newRow("full discount")
        << 10.0 << 3.0 << 10.0 << 100.0 << 30.0 / 1.1 << 30.0 / 1.1 << 0.0 << 0.0;
    QTest::newRow("no VAT") << 7.5 << 4.0 << 0.0 << 0.0 << 30.0 << 0.0 << 0.0 << 30.0;
    QTest::newRow("VAT -100 keeps gross")
        << 7.5 << 4.0 << -100.0 << 0.0 << 30.0 << 0.0 << -30.0 << 0.0;
    QTest::newRow("VAT below -100 keeps gross")
        << 10.0 << 1.0 << -150.0 << 0.0 << 10.0 << 0.0 << -15.0 << -5.0;
}

void TestCartManager::lineAmounts()
{
    QFETCH(double, price);
    QFETCH(double, quantity);
    QFETCH(double, vat);
    QFETCH(double, discount);
    QFETCH(double, net);
    QFETCH(double, discountAmount);
    QFETCH(double, vatAmount);
    QFETCH(double, total);
    TCartManager cart;
    cart.AddItem(1, "URUN", "869", "ADET", price, quantity, vat, false);
    cart.UpdateDiscount(0, discount);
    const TCartItem& line = cart.Items(0);
    VerifyNear(line.AraToplam(), net, "AraToplam");
    VerifyNear(line.IndirimTutari(), discountAmount, "IndirimTutari");
    VerifyNear(line.KDVTutari(), vatAmount, "KDVTutari");
    VerifyNear(line.SatirToplam(), total, "SatirToplam");
    VerifyNear(cart.GenelToplam(), total, "GenelToplam");
}

void TestCartManager::workedExampleKeepsFullPrecision()
{
    TCartManager cart;
    cart.AddItem(5, "SUT", "8690001", "ADET", 11.80, 2, 18, false);
    cart.UpdateDiscount(0, 10);
    // Bit for bit: any rounding or reordering of the steps shows up in the last digits.
    QCOMPARE(Exact(cart.Items(0).SatirToplam()), QStringLiteral("21.240000000000006"));
    QCOMPARE(Exact(cart.GenelToplam()), QStringLiteral("21.240000000000006"));
    QCOMPARE(Exact(cart.AraToplam()), Exact(2 * 11.80 / 1.18));
}

void TestCartManager::countedProductMergesIntoFirstLine()
{
    TCartManager cart;
    for (int i = 0; i < 3; ++i)
        cart.AddItem(7, "EKMEK", "111", "ADET", 10.0, 1, 10, false);
    QCOMPARE(cart.Count(), 1);
    QCOMPARE(cart.Items(0).Miktar(), 3.0);

    cart.UpdateDiscount(0, 5);
    TCartItem& merged = cart.AddItem(7, "BASKA AD", "222", "KG", 99.0, 1.5, 20, false);
    QCOMPARE(&merged, &cart.Items(0));
    QCOMPARE(cart.Count(), 1);
    QCOMPARE(merged.Miktar(), 4.5);
    QCOMPARE(merged.BirimFiyat(), 10.0);
    QCOMPARE(merged.StokAdi(), QStringLiteral("EKMEK"));
    QCOMPARE(merged.Barkod(), QStringLiteral("111"));
    QCOMPARE(merged.Birim(), QStringLiteral("ADET"));
    QCOMPARE(merged.KDVOrani(), 10.0);
    QCOMPARE(merged.IndirimOrani(), 5.0);
    QVERIFY(!merged.Tartimli());

    cart.AddItem(8, "SU", "333", "ADET", 5.0, 1, 10, false);
    cart.AddItem(7, "EKMEK", "111", "ADET", 10.0, 1, 10, false);
    QCOMPARE(cart.Count(), 2);
    QCOMPARE(cart.Items(0).Miktar(), 5.5);
    QCOMPARE(cart.Items(1).StokID(), 8);
}

void TestCartManager::weighedItemAlwaysMakesNewLine()
{
    TCartManager cart;
    cart.AddItem(3, "DOMATES", "2700001012345", "KG", 30.0, 1.25, 1, true);
    cart.AddItem(4, "SU", "333", "ADET", 5.0, 1, 10, false);
    cart.AddItem(3, "DOMATES", "2700001008001", "KG", 30.0, 0.8, 1, true);
    QCOMPARE(cart.Count(), 3);
    QCOMPARE(cart.FindByStokID(3), 0);
    QCOMPARE(cart.Items(0).Miktar(), 1.25);
    QCOMPARE(cart.Items(2).Miktar(), 0.8);
    QCOMPARE(cart.Items(2).Barkod(), QStringLiteral("2700001008001"));
    QVERIFY(cart.Items(2).Tartimli());
    QCOMPARE(cart.Items(2).IndirimOrani(), 0.0);
    QCOMPARE(cart.FindByStokID(4), 1);
    QCOMPARE(cart.FindByStokID(99), -1);
}

void TestCartManager::addItemReturnsTheLineItself()
{
    TCartManager cart;
    TCartItem& line = cart.AddItem(1, "CAY", "1", "ADET", 40.0, 1, 20, false);
    line.SetBirimFiyat(50.0);
    line.SetStokAdi("ÇAY 1 KG");
    QCOMPARE(cart.Items(0).BirimFiyat(), 50.0);
    QCOMPARE(cart.Items(0).StokAdi(), QStringLiteral("ÇAY 1 KG"));
    VerifyNear(cart.GenelToplam(), 50.0, "GenelToplam");
}

void TestCartManager::updateQuantity_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("quantity");
    QTest::addColumn<QList<double>>("expected");
    QTest::newRow("new quantity") << 1 << 2.5 << QList<double>{1, 2.5, 3};
    QTest::newRow("zero removes") << 1 << 0.0 << QList<double>{1, 3};
    QTest::newRow("negative removes") << 0 << -1.0 << QList<double>{2, 3};
    QTest::newRow("index = Count ignored") << 3 << 5.0 << QList<double>{1, 2, 3};
    QTest::newRow("negative index ignored") << -1 << 0.0 << QList<double>{1, 2, 3};
}

void TestCartManager::updateQuantity()
{
    QFETCH(int, index);
    QFETCH(double, quantity);
    QFETCH(QList<double>, expected);
    TCartManager cart;
    for (int i = 1; i <= 3; ++i)
        cart.AddItem(i, "URUN", "", "ADET", 1.0, i, 0, false);
    cart.UpdateQuantity(index, quantity);
    QList<double> actual;
    for (int i = 0; i < cart.Count(); ++i)
        actual << cart.Items(i).Miktar();
    QCOMPARE(actual, expected);
}

void TestCartManager::removeItem_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QList<int>>("expected");
    QTest::newRow("first") << 0 << QList<int>{20, 30};
    QTest::newRow("middle") << 1 << QList<int>{10, 30};
    QTest::newRow("last") << 2 << QList<int>{10, 20};
    QTest::newRow("index = Count ignored") << 3 << QList<int>{10, 20, 30};
    QTest::newRow("negative ignored") << -1 << QList<int>{10, 20, 30};
}

void TestCartManager::removeItem()
{
    QFETCH(int, index);
    QFETCH(QList<int>, expected);
    TCartManager cart;
    for (int id : {10, 20, 30})
        cart.AddItem(id, "URUN", "", "ADET", 1.0, 1, 0, false);
    cart.RemoveItem(index);
    QList<int> actual;
    for (int i = 0; i < cart.Count(); ++i)
        actual << cart.Items(i).StokID();
    QCOMPARE(actual, expected);
}

void TestCartManager::updateDiscount_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QList<double>>("expected");
    QTest::newRow("first") << 0 << QList<double>{25, 0};
    QTest::newRow("second") << 1 << QList<double>{0, 25};
    QTest::newRow("index = Count ignored") << 2 << QList<double>{0, 0};
    QTest::newRow("negative ignored") << -1 << QList<double>{0, 0};
}

void TestCartManager::updateDiscount()
{
    QFETCH(int, index);
    QFETCH(QList<double>, expected);
    TCartManager cart;
    cart.AddItem(1, "A", "", "ADET", 10.0, 1, 10, false);
    cart.AddItem(2, "B", "", "ADET", 10.0, 1, 10, false);
    cart.UpdateDiscount(index, 25);
    QCOMPARE((QList<double>{cart.Items(0).IndirimOrani(), cart.Items(1).IndirimOrani()}), expected);
}

void TestCartManager::totalsSumTheLines()
{
    TCartManager cart;
    cart.AddItem(1, "A", "", "ADET", 11.80, 2, 18, false);
    cart.AddItem(2, "B", "", "KG", 24.90, 0.735, 1, true);
    cart.AddItem(3, "C", "", "ADET", 120.0, 3, 20, false);
    cart.UpdateDiscount(0, 10);
    cart.UpdateDiscount(2, 15);

    double ara = 0, indirim = 0, kdv = 0, genel = 0;
    for (int i = 0; i < cart.Count(); ++i) {
        ara += cart.Items(i).AraToplam();
        indirim += cart.Items(i).IndirimTutari();
        kdv += cart.Items(i).KDVTutari();
        genel += cart.Items(i).SatirToplam();
    }
    // Same order of summation, so the same bits.
    QCOMPARE(Exact(cart.AraToplam()), Exact(ara));
    QCOMPARE(Exact(cart.ToplamIndirim()), Exact(indirim));
    QCOMPARE(Exact(cart.ToplamKDV()), Exact(kdv));
    QCOMPARE(Exact(cart.GenelToplam()), Exact(genel));
    VerifyNear(cart.GenelToplam(), cart.AraToplam() - cart.ToplamIndirim() + cart.ToplamKDV(),
               "GenelToplam");
    VerifyNear(cart.GenelToplam(), 21.24 + 24.90 * 0.735 + 360.0 * 0.85, "GenelToplam");
}

void TestCartManager::emptyCart()
{
    const TCartManager cart;
    QCOMPARE(cart.Count(), 0);
    QCOMPARE(cart.GetCount(), 0);
    QCOMPARE(cart.AraToplam(), 0.0);
    QCOMPARE(cart.ToplamIndirim(), 0.0);
    QCOMPARE(cart.ToplamKDV(), 0.0);
    QCOMPARE(cart.GenelToplam(), 0.0);
    QCOMPARE(cart.MusteriNo(), -1);
    QVERIFY(cart.MusteriIsmi().isEmpty());
    QCOMPARE(cart.FindByStokID(1), -1);
}

void TestCartManager::clearForgetsLinesAndCustomer()
{
    TCartManager cart;
    cart.AddItem(1, "A", "", "ADET", 10.0, 1, 10, false);
    cart.AddItem(2, "B", "", "KG", 10.0, 0.5, 10, true);
    cart.SetMusteriNo(7);
    cart.SetMusteriIsmi("AYŞE YILMAZ");
    cart.Clear();
    QCOMPARE(cart.Count(), 0);
    QCOMPARE(cart.GenelToplam(), 0.0);
    QCOMPARE(cart.MusteriNo(), -1);
    QVERIFY(cart.MusteriIsmi().isEmpty());

    // The cart is reused for the next sale.
    cart.AddItem(1, "A", "", "ADET", 10.0, 1, 10, false);
    QCOMPARE(cart.Count(), 1);
    QCOMPARE(cart.Items(0).Miktar(), 1.0);
}

void TestCartManager::itemsOutOfRangeRaises()
{
    TCartManager cart;
    cart.AddItem(1, "A", "", "ADET", 10.0, 1, 10, false);
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, cart.Items(1));
    QVERIFY_THROWS_EXCEPTION(std::out_of_range, cart.GetItem(-1));
    QCOMPARE(cart.GetItem(0).StokID(), 1);
}

// Each step on a cart of three counted lines (10, 20, 30), then the line last added or changed.
void TestCartManager::lastChangedLine_data()
{
    QTest::addColumn<std::function<void(TCartManager&)>>("step");
    QTest::addColumn<int>("line");
    using TStep = std::function<void(TCartManager&)>;
    QTest::newRow("line added") << TStep([](TCartManager& c) {
        c.AddItem(40, "URUN", "", "ADET", 1, 1, 0, false);
    }) << 3;
    QTest::newRow("quantity added to an earlier line")
        << TStep([](TCartManager& c) { c.AddItem(10, "URUN", "", "ADET", 1, 2, 0, false); }) << 0;
    QTest::newRow("weighed item on a line of its own")
        << TStep([](TCartManager& c) { c.AddItem(10, "URUN", "", "KG", 1, 0.5, 0, true); }) << 3;
    QTest::newRow("quantity changed")
        << TStep([](TCartManager& c) { c.UpdateQuantity(1, 4); }) << 1;
    QTest::newRow("discount given") << TStep([](TCartManager& c) { c.UpdateDiscount(0, 10); }) << 0;
    QTest::newRow("out of range changes nothing")
        << TStep([](TCartManager& c) { c.UpdateDiscount(7, 10); }) << 2;
    QTest::newRow("a line before it removed")
        << TStep([](TCartManager& c) { c.RemoveItem(0); }) << 1;
    QTest::newRow("a line after it removed") << TStep([](TCartManager& c) {
        c.UpdateQuantity(0, 2);
        c.RemoveItem(2);
    }) << 0;
    QTest::newRow("the line itself removed")
        << TStep([](TCartManager& c) { c.RemoveItem(2); }) << -1;
    QTest::newRow("quantity 0 removes it")
        << TStep([](TCartManager& c) { c.UpdateQuantity(2, 0); }) << -1;
    QTest::newRow("cleared") << TStep([](TCartManager& c) { c.Clear(); }) << -1;
}

void TestCartManager::lastChangedLine()
{
    QFETCH(std::function<void(TCartManager&)>, step);
    QFETCH(int, line);
    TCartManager cart;
    QCOMPARE(cart.LastChangedLine(), -1);
    for (int id : {10, 20, 30})
        cart.AddItem(id, "URUN", "", "ADET", 1.0, 1, 0, false);
    QCOMPARE(cart.LastChangedLine(), 2);
    step(cart);
    QCOMPARE(cart.LastChangedLine(), line);
}

QTEST_GUILESS_MAIN(TestCartManager)
#include "tst_CartManager.moc"
