#include "core/DbQuery.h"
#include "sales/CartManager.h"
#include "sales/InvoiceDocument.h"
#include "sales/SaleManager.h"
#include "support/ShopFixture.h"

#include "core/Exceptions.h"

#include <QSqlQuery>
#include <QtTest>

// The invoice document made after a sale to a named customer.
class TestInvoiceDocument : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void anonymousSaleWritesNothing();
    void documentCopiesTheSale();
    void secondRunAddsNothing();
    void oldCustomerIsCarriedOver_data();
    void oldCustomerIsCarriedOver();
    void unknownCustomerGetsNoDocument();
    void failedLinesLeaveNoHeaderNorAccount();

private:
    static int Sell(TShopFixture& shop, int customer);
};

int TestInvoiceDocument::Sell(TShopFixture& shop, int customer)
{
    const int bread =
        shop.AddProduct("EKMEK", QString("869000000%1").arg(1000 + shop.Count("Stok")), 10, 10);
    const int water =
        shop.AddProduct("SU", QString("869000000%1").arg(2000 + shop.Count("Stok")), 12, 20);
    TCartManager cart;
    cart.AddItem(bread, "EKMEK", "8690000000011", "ADET", 10, 2, 10, false);
    cart.AddItem(water, "SU", "8690000000059", "ADET", 12, 1, 20, false);
    cart.SetMusteriNo(customer);
    const TSaleResult sale =
        TSaleManager::CreateSale(shop.SubeID(), shop.KullaniciID(), shop.TerminalID(),
                                 shop.VardiyaID(), "NAKIT", cart, cart.GenelToplam(), 0);
    if (!sale.Success)
        qFatal("%s", qPrintable(sale.Message));
    return sale.FisID;
}

static int AddAccount(const QString& code, const QString& name, bool deleted = false)
{
    TDbQuery q("INSERT INTO CariKart (CariKodu, CariAdi, CariTipi, IsActive, IsDeleted) VALUES "
               "(:K, :A, 'MUSTERI', 1, "
               ":D); SELECT SCOPE_IDENTITY()");
    q.Param("K", code).Param("A", name).Param("D", deleted ? 1 : 0).Exec();
    q.Next();
    return q.Value(0).toInt();
}

void TestInvoiceDocument::anonymousSaleWritesNothing()
{
    TShopFixture shop;
    TInvoiceDocument::CreateInvoiceDocument(Sell(shop, -1));
    QCOMPARE(shop.Count("BelgeBaslik"), 0);
    QCOMPARE(shop.Count("CariKart"), 0);
}

void TestInvoiceDocument::documentCopiesTheSale()
{
    TShopFixture shop;
    const int cari = AddAccount("C-1", "Ayşe Yılmaz");
    const int fis = Sell(shop, cari);
    TInvoiceDocument::CreateInvoiceDocument(fis);
    TDbQuery doc("SELECT B.*, F.Tarih AS SatisTarihi, F.GenelToplam AS SatisToplam FROM "
                 "BelgeBaslik B, SatisFis F "
                 "WHERE F.FisID = :F");
    doc.Param("F", fis).Exec();
    QVERIFY(doc.Next());
    QCOMPARE(doc.Value("BelgeNo").toString(), "FATURA-POS-" + QString::number(fis));
    QCOMPARE(doc.Value("BelgeTuru").toString(), QString("FATURA"));
    QCOMPARE(doc.Value("CariID").toInt(), cari);
    QCOMPARE(doc.Value("KullaniciID").toInt(), shop.KullaniciID());
    QCOMPARE(doc.Value("BelgeTarihi").toString(), doc.Value("SatisTarihi").toString());
    QCOMPARE(doc.Value("GenelToplam").toDouble(), doc.Value("SatisToplam").toDouble());
    QCOMPARE(doc.Value("Aciklama").toString(), QString("POS otomatik belge"));
    QCOMPARE(doc.Value("Durum").toString(), QString("AKTIF"));
    QCOMPARE(
        shop.Scalar(
                "SELECT group_concat(SiraNo || ':' || StokAdi || ':' || Miktar) FROM BelgeSatir")
            .toString(),
        QString("1:EKMEK:2.0,2:SU:1.0"));
}

void TestInvoiceDocument::secondRunAddsNothing()
{
    TShopFixture shop;
    const int fis = Sell(shop, AddAccount("C-1", "Ayşe Yılmaz"));
    TInvoiceDocument::CreateInvoiceDocument(fis);
    TInvoiceDocument::CreateInvoiceDocument(fis);
    QCOMPARE(shop.Count("BelgeBaslik"), 1);
    QCOMPARE(shop.Count("BelgeSatir"), 2);
}

void TestInvoiceDocument::oldCustomerIsCarriedOver_data()
{
    QTest::addColumn<QString>("adSoyad");
    QTest::addColumn<QString>("expected");
    QTest::newRow("person") << "Mehmet Demir"
                            << "Mehmet Demir";
    QTest::newRow("firm") << ""
                          << "Demir Ltd.";
}

void TestInvoiceDocument::oldCustomerIsCarriedOver()
{
    QFETCH(QString, adSoyad);
    QFETCH(QString, expected);
    TShopFixture shop;
    shop.Exec("INSERT INTO Musteri (MusteriID, AdSoyad, FirmaUnvan) VALUES (12, '" + adSoyad +
              "', 'Demir Ltd.')");
    // Account 12 exists but is deleted, so the old customer 12 is looked up instead.
    for (int i = 1; i <= 12; ++i)
        AddAccount(QString("C-%1").arg(i), "Eski", i == 12);
    const int fis = Sell(shop, 12);
    TInvoiceDocument::CreateInvoiceDocument(fis);
    const QVariant account = shop.Scalar("SELECT CariID FROM CariKart WHERE CariKodu = 'MUS-12'");
    QVERIFY(!account.isNull());
    QCOMPARE(shop.Scalar("SELECT CariAdi FROM CariKart WHERE CariKodu = 'MUS-12'").toString(),
             expected);
    QCOMPARE(shop.Scalar("SELECT CariID FROM BelgeBaslik").toInt(), account.toInt());

    // The next sale of the same customer finds the carried-over account by its code.
    TInvoiceDocument::CreateInvoiceDocument(Sell(shop, 12));
    QCOMPARE(shop.Count("CariKart WHERE CariKodu = 'MUS-12'"), 1);
    QCOMPARE(shop.Count("BelgeBaslik"), 2);
}

void TestInvoiceDocument::unknownCustomerGetsNoDocument()
{
    TShopFixture shop;
    TInvoiceDocument::CreateInvoiceDocument(Sell(shop, 99));
    QCOMPARE(shop.Count("BelgeBaslik"), 0);
    QCOMPARE(shop.Count("CariKart"), 0);
    TInvoiceDocument::CreateInvoiceDocument(123456);
    QCOMPARE(shop.Count("BelgeBaslik"), 0);
}

void TestInvoiceDocument::failedLinesLeaveNoHeaderNorAccount()
{
    TShopFixture shop;
    shop.Exec(
        "INSERT INTO Musteri (MusteriID, AdSoyad, FirmaUnvan) VALUES (5, 'Mehmet Demir', '')");
    const int fis = Sell(shop, 5);
    QSqlQuery trigger(shop.Database().Db().Database());
    QVERIFY(trigger.exec("CREATE TRIGGER FailLines BEFORE INSERT ON BelgeSatir BEGIN SELECT "
                         "RAISE(ABORT, 'disk dolu'); END"));
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, TInvoiceDocument::CreateInvoiceDocument(fis));
    QCOMPARE(shop.Count("BelgeBaslik"), 0);
    QCOMPARE(shop.Count("CariKart"), 0);
    QVERIFY(!shop.Database().Db().InTransaction());
}

QTEST_GUILESS_MAIN(TestInvoiceDocument)
#include "tst_InvoiceDocument.moc"
