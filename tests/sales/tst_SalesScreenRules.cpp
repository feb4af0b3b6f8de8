#include "core/AppPaths.h"
#include "core/SessionManager.h"
#include "sales/CartManager.h"
#include "sales/SalesScreenRules.h"
#include "support/ShopFixture.h"

#include <QDir>
#include <QFile>
#include <QtTest>

#include <limits>

namespace {
TSessionInfo SessionOf(TShopFixture& shop)
{
    TSessionInfo session;
    session.KullaniciID = shop.KullaniciID();
    session.SubeID = shop.SubeID();
    session.TerminalID = shop.TerminalID();
    return session;
}

void RemoveReceiptFiles(int fisID)
{
    const QString folder = AppPaths::ReportsFolder();
    QDir(folder + "Receipt_FIS-" + QString::number(fisID) + ".txt").removeRecursively();
    QFile::remove(folder + "Receipt_FIS-" + QString::number(fisID) + ".txt");
    QFile::remove(folder + "LastReceipt.txt");
}
} // namespace

// The sales screen's figures and texts, its typed entries, the cashier's open shift and what
// follows a written sale, without a window.
class TestSalesScreenRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { UseTurkishLocale(); }
    void cartPanelWidth_data();
    void cartPanelWidth();
    void headerButtonsPackedRight();
    void rowTexts_data();
    void rowTexts();
    void payButton();
    void quantityText_data();
    void quantityText();
    void quantityEntry_data();
    void quantityEntry();
    void discountEntry_data();
    void discountEntry();
    void captions();
    void openShift();
    void completeSaleStoresFilesAndClears();
    void completeSaleWithCustomerMakesDocument();
    void failedSaleKeepsCart();
    void receiptFileErrorDoesNotUndoSale();
};

void TestSalesScreenRules::cartPanelWidth_data()
{
    QTest::addColumn<int>("client");
    QTest::addColumn<int>("width");
    QTest::newRow("1000") << 1000 << 520;
    QTest::newRow("1314") << 1314 << 520;
    QTest::newRow("1600") << 1600 << 544;
    QTest::newRow("1911") << 1911 << 649;
    QTest::newRow("2000") << 2000 << 650;
}

void TestSalesScreenRules::cartPanelWidth()
{
    QFETCH(int, client);
    QFETCH(int, width);
    QCOMPARE(TSalesScreenRules::CartPanelWidth(client), width);
}

void TestSalesScreenRules::headerButtonsPackedRight()
{
    QCOMPARE(TSalesScreenRules::HeaderButtonLefts(1314),
             (QList<int>{1182, 1058, 934, 810, 686, 562, 438, 314}));
}

void TestSalesScreenRules::rowTexts_data()
{
    QTest::addColumn<double>("price");
    QTest::addColumn<double>("quantity");
    QTest::addColumn<double>("vat");
    QTest::addColumn<double>("discount");
    QTest::addColumn<QStringList>("texts");

    QTest::newRow("price without VAT")
        << 118.0 << 1.0 << 18.0 << 0.0
        << QStringList{"3", "ÜRÜN", "1,000 ADET", "100,00 TL", "0,00", "18,00", "118,00 TL"};
    QTest::newRow("weighed, discounted")
        << 25.0 << 1.255 << 1.0 << 10.0
        << QStringList{"3", "ÜRÜN", "1,255 ADET", "24,75 TL", "10,00", "1,00", "28,24 TL"};
    QTest::newRow("amounts grouped by thousands")
        << 1180.0 << 2.0 << 18.0 << 0.0
        << QStringList{"3", "ÜRÜN", "2,000 ADET", "1.000,00 TL", "0,00", "18,00", "2.360,00 TL"};
    QTest::newRow("VAT -100 keeps the price")
        << 50.0 << 1.0 << -100.0 << 0.0
        << QStringList{"3", "ÜRÜN", "1,000 ADET", "50,00 TL", "0,00", "-100,00", "0,00 TL"};
}

void TestSalesScreenRules::rowTexts()
{
    QFETCH(double, price);
    QFETCH(double, quantity);
    QFETCH(double, vat);
    QFETCH(double, discount);
    QFETCH(QStringList, texts);
    TCartItem item(1, "ÜRÜN", "1", "ADET", price, quantity, vat, false);
    item.SetIndirimOrani(discount);
    QCOMPARE(TSalesScreenRules::CartRowTexts(item, 2), texts);
}

void TestSalesScreenRules::payButton()
{
    TCartManager cart;
    QCOMPARE(TSalesScreenRules::PayCaption(cart), QString("ÖDEME AL"));
    QVERIFY(!TSalesScreenRules::PayEnabled(cart, 5));
    cart.AddItem(1, "SU", "1", "ADET", 1234.5, 1, 10, false);
    QCOMPARE(TSalesScreenRules::PayCaption(cart), QString("Ödeme Al  -  1.234,50 TL"));
    QVERIFY(!TSalesScreenRules::PayEnabled(cart, -1));
    QVERIFY(!TSalesScreenRules::PayEnabled(cart, 0));
    QVERIFY(TSalesScreenRules::PayEnabled(cart, 5));
}

void TestSalesScreenRules::quantityText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("whole") << 1.0 << "1";
    QTest::newRow("decimal") << 2.5 << "2,5";
    QTest::newRow("thousands") << 1234.5 << "1234,5";
    QTest::newRow("binary noise") << 0.1 + 0.2 << "0,3";
    QTest::newRow("weight") << 0.755 << "0,755";
}

void TestSalesScreenRules::quantityText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(TSalesScreenRules::QuantityText(value), text);
}

void TestSalesScreenRules::quantityEntry_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value"); // -1: refused
    QTest::newRow("comma") << "2,5" << 2.5;
    QTest::newRow("point") << "2.5" << 2.5;
    QTest::newRow("whole") << "3" << 3.0;
    QTest::newRow("zero") << "0" << -1.0;
    QTest::newRow("negative") << "-1" << -1.0;
    QTest::newRow("not a number") << "abc" << -1.0;
    QTest::newRow("empty") << "" << -1.0;
    QTest::newRow("infinite") << "inf" << -1.0;
    QTest::newRow("nan") << "nan" << -1.0;
    QTest::newRow("thousands mark") << "1.500" << 1500.0;
    QTest::newRow("grouped with decimals") << "1.500,250" << 1500.25;
    QTest::newRow("exponent") << "1e3" << -1.0;
    QTest::newRow("letters around a number") << "abc-1e5" << -1.0;
}

void TestSalesScreenRules::quantityEntry()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    const TEntryCheck check = TSalesScreenRules::CheckQuantityEntry(text);
    if (value < 0) {
        QVERIFY(!check.Value);
        QCOMPARE(check.Message, QString("Geçersiz miktar!"));
        return;
    }
    QCOMPARE(check.Value.value_or(-1), value);
    QVERIFY(check.Message.isEmpty());
}

void TestSalesScreenRules::discountEntry_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("value"); // -1: refused
    QTest::newRow("100") << "100" << 100.0;
    QTest::newRow("0") << "0" << 0.0;
    QTest::newRow("12,5") << "12,5" << 12.5;
    QTest::newRow("12.5") << "12.5" << 12.5;
    QTest::newRow("not a number") << "xyz" << -1.0;
    QTest::newRow("empty") << "" << -1.0;
    QTest::newRow("100.01") << "100.01" << -1.0;
    QTest::newRow("-1") << "-1" << -1.0;
    QTest::newRow("nan") << "nan" << -1.0;
    QTest::newRow("inf") << "inf" << -1.0;
    QTest::newRow("exponent") << "1e1" << -1.0;
    QTest::newRow("a point before three digits groups") << "1.000" << -1.0;
    QTest::newRow("a comma before three digits is decimal") << "12,125" << 12.125;
}

void TestSalesScreenRules::discountEntry()
{
    QFETCH(QString, text);
    QFETCH(double, value);
    const TEntryCheck check = TSalesScreenRules::CheckDiscountEntry(text);
    if (value < 0) {
        QVERIFY(!check.Value);
        QCOMPARE(check.Message, QString("Geçersiz indirim oranı!"));
        return;
    }
    QCOMPARE(check.Value.value_or(-1), value);
}

void TestSalesScreenRules::captions()
{
    TSessionInfo session;
    session.AdSoyad = "Ayşe Yılmaz";
    session.RolAdi = "Kasiyer";
    session.SubeAdi = "KADIKÖY";
    QCOMPARE(TSalesScreenRules::UserCaption(session),
             QString("Kullanıcı : Ayşe Yılmaz (Kasiyer)  |  Şube : KADIKÖY"));
    QCOMPARE(TSalesScreenRules::ShiftCaption(-1), QString("Vardiya: Kapalı"));
    QCOMPARE(TSalesScreenRules::ShiftCaption(0), QString("Vardiya: Kapalı"));
    QCOMPARE(TSalesScreenRules::ShiftCaption(17), QString("Vardiya: Açık (ID: 17)"));
}

void TestSalesScreenRules::openShift()
{
    TShopFixture shop;
    const int user = shop.KullaniciID();
    const int sube = shop.SubeID();
    QCOMPARE(TSalesScreenRules::FindOpenShift(user, sube), shop.VardiyaID());
    QCOMPARE(TSalesScreenRules::FindOpenShift(user + 1, sube), -1);

    const int other = shop.AddBranch("KADIKÖY");
    QCOMPARE(TSalesScreenRules::FindOpenShift(user, other), -1);

    // Opened later on another till of the branch: that one is taken over.
    const int terminal =
        shop.Scalar("INSERT INTO Terminal (TerminalAdi, IsDeleted) VALUES ('KASA-2', 0); "
                    "SELECT SCOPE_IDENTITY()")
            .toInt();
    shop.Exec(
        QString("INSERT INTO Vardiya (KullaniciID, TerminalID, SubeID, AcilisZamani, AcilisTutar, "
                "VardiyaDurumu) VALUES (%1, %2, %3, datetime('now', 'localtime', '+1 minute'), 0, "
                "NULL)")
            .arg(user)
            .arg(terminal)
            .arg(sube));
    const int later = shop.Scalar("SELECT MAX(VardiyaID) FROM Vardiya").toInt();
    QCOMPARE(TSalesScreenRules::FindOpenShift(user, sube), later);

    shop.Exec(
        QString("UPDATE Vardiya SET VardiyaDurumu = 'KAPALI' WHERE VardiyaID = %1").arg(later));
    QCOMPARE(TSalesScreenRules::FindOpenShift(user, sube), shop.VardiyaID());
    shop.Exec(QString("UPDATE Vardiya SET KapanisZamani = GETDATE() WHERE VardiyaID = %1")
                  .arg(shop.VardiyaID()));
    QCOMPARE(TSalesScreenRules::FindOpenShift(user, sube), -1);
}

void TestSalesScreenRules::completeSaleStoresFilesAndClears()
{
    TShopFixture shop;
    RemoveReceiptFiles(1);
    const int water = shop.AddProduct("SU", "8690000000001", 10, 10);
    TCartManager cart;
    cart.AddItem(water, "SU", "8690000000001", "ADET", 10, 3, 10, false);
    const TSaleResult result =
        TSalesScreenRules::CompleteSale(cart, SessionOf(shop), shop.VardiyaID(), "NAKIT", 30, 0);
    QVERIFY2(result.Success, qPrintable(result.Message));
    QCOMPARE(result.FisNo, QString("FIS-1"));
    QCOMPARE(result.GenelToplam, 30.0);
    QCOMPARE(cart.Count(), 0);
    QCOMPARE(shop.Count("SatisFis WHERE FisID = 1 AND OdemeTipi = 'NAKIT'"), 1);
    QCOMPARE(shop.Count("BelgeBaslik"), 0);
    QFile receipt(AppPaths::ReportsFolder() + "Receipt_FIS-1.txt");
    QVERIFY(receipt.open(QIODevice::ReadOnly));
    QVERIFY(QString::fromUtf8(receipt.readAll()).contains("FIS-1"));
    QVERIFY(QFile::exists(AppPaths::ReportsFolder() + "LastReceipt.txt"));
    RemoveReceiptFiles(1);
}

void TestSalesScreenRules::completeSaleWithCustomerMakesDocument()
{
    TShopFixture shop;
    RemoveReceiptFiles(1);
    const int cari =
        shop.Scalar("INSERT INTO CariKart (CariKodu, CariAdi, CariTipi) VALUES ('C-1', 'ALICI', "
                    "'MUSTERI'); SELECT SCOPE_IDENTITY()")
            .toInt();
    const int water = shop.AddProduct("SU", "8690000000001", 10, 10);
    TCartManager cart;
    cart.AddItem(water, "SU", "8690000000001", "ADET", 10, 2, 10, false);
    cart.SetMusteriNo(cari);
    cart.SetMusteriIsmi("ALICI");
    const TSaleResult result =
        TSalesScreenRules::CompleteSale(cart, SessionOf(shop), shop.VardiyaID(), "KART", 0, 20);
    QVERIFY2(result.Success, qPrintable(result.Message));
    QCOMPARE(shop.Count(QString("BelgeBaslik WHERE BelgeNo = 'FATURA-POS-%1' AND CariID = %2")
                            .arg(result.FisID)
                            .arg(cari)),
             1);
    QCOMPARE(shop.Count("BelgeSatir"), 1);
    QCOMPARE(cart.Count(), 0);
    QCOMPARE(cart.MusteriNo(), -1);
    QVERIFY(cart.MusteriIsmi().isEmpty());
    RemoveReceiptFiles(1);
}

void TestSalesScreenRules::failedSaleKeepsCart()
{
    TShopFixture shop;
    const int water = shop.AddProduct("SU", "8690000000001", 10, 10);
    shop.Exec(QString("UPDATE Vardiya SET KapanisZamani = GETDATE() WHERE VardiyaID = %1")
                  .arg(shop.VardiyaID()));
    TCartManager cart;
    cart.AddItem(water, "SU", "8690000000001", "ADET", 10, 2, 10, false);
    cart.SetMusteriNo(4);
    const TSaleResult result =
        TSalesScreenRules::CompleteSale(cart, SessionOf(shop), shop.VardiyaID(), "NAKIT", 20, 0);
    QVERIFY(!result.Success);
    QCOMPARE(result.Message, QString("Satış hatası: Vardiya kapalı veya bulunamadı."));
    QCOMPARE(cart.Count(), 1);
    QCOMPARE(cart.MusteriNo(), 4);
    QCOMPARE(shop.Count("SatisFis"), 0);
}

void TestSalesScreenRules::receiptFileErrorDoesNotUndoSale()
{
    TShopFixture shop;
    RemoveReceiptFiles(1);
    // A folder where the receipt file should go cannot be replaced by the file.
    QVERIFY(QDir().mkpath(AppPaths::ReportsFolder() + "Receipt_FIS-1.txt"));
    const int water = shop.AddProduct("SU", "8690000000001", 10, 10);
    TCartManager cart;
    cart.AddItem(water, "SU", "8690000000001", "ADET", 10, 1, 10, false);
    const TSaleResult result =
        TSalesScreenRules::CompleteSale(cart, SessionOf(shop), shop.VardiyaID(), "NAKIT", 10, 0);
    RemoveReceiptFiles(1);
    QVERIFY2(result.Success, qPrintable(result.Message));
    QCOMPARE(shop.Count("SatisFis"), 1);
    QCOMPARE(cart.Count(), 0);
}

QTEST_GUILESS_MAIN(TestSalesScreenRules)
#include "tst_SalesScreenRules.moc"
