#include "core/DataModule.h"
#include "core/Exceptions.h"
#include "core/SessionManager.h"
#include "sales/SaleManager.h"
#include "sales/Till.h"
#include "shifts/ShiftManager.h"
#include "shifts/ZReport.h"
#include "support/ShopFixture.h"

#include <QtTest>

#include <memory>

namespace {
const QString kBread = "8690000000011";
const QString kCheese = "8690000000042";
const QString kOldMilk = "8690000000059";
const QString kTomato = "12345";
const QString kBreadCase = "8690000000998";

TQuantityPrompt Answer(const QString& typed)
{
    return [typed](const QString&, const QString&, const QString&, QString& value) {
        value = typed;
        return true;
    };
}
} // namespace

// The round trips of each operation of the till, as a branch far from its server pays for them.
// A scan after the first is one statement, a sale one routine call after the branch check
// whatever its number of lines, and opening a shift, closing it and the Z report stay within a
// few. The counts are exact, so any statement an operation gains shows here.
class TestTillRoundTrips : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void tillOpeningSeedsTheBranchOnce();
    void firstScanProbesTheOptionalTables();
    void scanAfterTheFirst_data();
    void scanAfterTheFirst();
    void saleWhateverItsLines_data();
    void saleWhateverItsLines();
    void saleWithItsReceipt();
    void refusedSale();
    void openingAShift();
    void refusedOpening();
    void closingAShift();
    void zReport();

private:
    static qint64 Count() { return dmMain->RoundTrips().Count(); }
    void Scan(const QString& code);
    std::unique_ptr<TShopFixture> FShop;
    std::unique_ptr<TTill> FTill;
    QList<int> FProducts;
};

void TestTillRoundTrips::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
}

void TestTillRoundTrips::init()
{
    FShop = std::make_unique<TShopFixture>();
    FProducts = {FShop->AddProduct("EKMEK", kBread, 10, 10, 50),
                 FShop->AddProduct("PEYNIR", kCheese, 55, 10, 50),
                 FShop->AddProduct("SUT", kOldMilk, 20, 10, 50),
                 FShop->AddProduct("DOMATES", kTomato, 20, 1, 50, true)};
    FShop->TrackExpiry(FProducts[1], false);
    FShop->AddLot(FProducts[1], 1000, QDate::currentDate().addDays(30));
    FShop->TrackExpiry(FProducts[2], true);
    FShop->AddLot(FProducts[2], 5, QDate::currentDate().addDays(-3));
    FShop->Exec(QString("INSERT INTO StokBirimDonusum (StokID, KoliBarkod, CevrimKatsayi) VALUES "
                        "(%1, '%2', 12)")
                    .arg(FProducts[0])
                    .arg(kBreadCase));
    for (int i = 0; i < 20; ++i)
        FProducts << FShop->AddProduct(QString("URUN %1").arg(i),
                                       QString("86901%1").arg(i, 8, 10, QChar('0')), 5 + i, 20,
                                       100);
    FShop->LoginCashier();
    FTill = std::make_unique<TTill>();
}

void TestTillRoundTrips::cleanup()
{
    FTill.reset();
    TSessionManager::Instance().Logout();
    FShop.reset();
}

void TestTillRoundTrips::Scan(const QString& code)
{
    FTill->Scan(code, Answer("1"));
}

// The pass over the catalogue belongs to the till's opening: one batch (the rows and the
// highest product id), then nothing.
void TestTillRoundTrips::tillOpeningSeedsTheBranchOnce()
{
    qint64 before = Count();
    FTill->PrepareBranchStock();
    QCOMPARE(Count() - before, 1);
    QCOMPARE(FShop->Count(QString("SubeStok WHERE SubeID = %1").arg(FShop->SubeID())),
             int(FProducts.size()));
    before = Count();
    FTill->PrepareBranchStock();
    QCOMPARE(Count() - before, 0);
}

// The first scan asks once whether the case barcode and lot tables exist.
void TestTillRoundTrips::firstScanProbesTheOptionalTables()
{
    FTill->PrepareBranchStock();
    const qint64 before = Count();
    Scan(kBread);
    QCOMPARE(Count() - before, 3);
    QCOMPARE(FTill->Cart().Count(), 1);
}

void TestTillRoundTrips::scanAfterTheFirst_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("lines");
    QTest::newRow("plain barcode") << kBread << 1;
    QTest::newRow("case barcode") << kBreadCase << 1;
    QTest::newRow("lot-tracked product") << kCheese << 1;
    QTest::newRow("expired lot refused") << kOldMilk << 0;
    QTest::newRow("not found") << "8690000000000" << 0;
    QTest::newRow("quantity and code") << "3*" + kBread << 1;
    QTest::newRow("scale label") << "2712345012508" << 1;
    QTest::newRow("weighed, weight asked") << kTomato << 1;
}

void TestTillRoundTrips::scanAfterTheFirst()
{
    QFETCH(QString, code);
    QFETCH(int, lines);
    FTill->PrepareBranchStock();
    Scan(kCheese);
    FTill->ClearCart();
    const qint64 before = Count();
    Scan(code);
    QCOMPARE(Count() - before, 1);
    QCOMPARE(FTill->Cart().Count(), lines);
}

void TestTillRoundTrips::saleWhateverItsLines_data()
{
    QTest::addColumn<int>("lines");
    QTest::newRow("1 line") << 1;
    QTest::newRow("5 lines") << 5;
    QTest::newRow("21 lines, one lot-tracked") << 21;
}

// The branch check and the routine call; inside the database the routine writes every line,
// lot and stock movement.
void TestTillRoundTrips::saleWhateverItsLines()
{
    QFETCH(int, lines);
    FTill->PrepareBranchStock();
    FTill->LoadOpenShift();
    TCartManager& cart = FTill->Cart();
    cart.AddItem(FProducts[1], "PEYNIR", kCheese, "ADET", 55, 2, 10, false);
    for (int i = 1; i < lines; ++i)
        cart.AddItem(FProducts[4 + i - 1], "URUN", "8690100000000", "ADET", 5, 1, 20, false);
    const qint64 before = Count();
    const TSaleResult sale =
        TSaleManager::CreateSale(FShop->SubeID(), FShop->KullaniciID(), FShop->TerminalID(),
                                 FTill->VardiyaID(), "NAKIT", cart, cart.GenelToplam(), 0);
    QVERIFY2(sale.Success, qPrintable(sale.Message));
    QCOMPARE(Count() - before, 2);
    QCOMPARE(FShop->Count(QString("SatisFisSatir WHERE FisID = %1").arg(sale.FisID)), lines);
}

// The till's whole sale: the branch check and the routine, the receipt's header (with the firm
// and the payments) and its lines, and the look-up of the invoice document's customer.
void TestTillRoundTrips::saleWithItsReceipt()
{
    FTill->PrepareBranchStock();
    FTill->LoadOpenShift();
    Scan(kCheese);
    Scan(kBread);
    const qint64 before = Count();
    const TSaleResult sale = FTill->CompleteSale("NAKIT", 200, 0);
    QVERIFY2(sale.Success, qPrintable(sale.Message));
    QCOMPARE(Count() - before, 5);
}

void TestTillRoundTrips::refusedSale()
{
    FTill->PrepareBranchStock();
    TCartManager cart;
    cart.AddItem(FProducts[1], "PEYNIR", kCheese, "ADET", 55, 5000, 10, false);
    const qint64 before = Count();
    const TSaleResult sale =
        TSaleManager::CreateSale(FShop->SubeID(), FShop->KullaniciID(), FShop->TerminalID(),
                                 FShop->VardiyaID(), "NAKIT", cart, cart.GenelToplam(), 0);
    QCOMPARE(sale.Message, QString("Satış hatası: Lot bazli stok yetersiz: PEYNIR"));
    QCOMPARE(Count() - before, 2);
}

// The transaction's beginning and end, the checks in one statement, the insert with its id.
void TestTillRoundTrips::openingAShift()
{
    FShop->Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'");
    const qint64 before = Count();
    const TOpenedShift opened = TShiftManager::OpenShift(FShop->CashierSession(), 100);
    QVERIFY(opened.VardiyaID > 0);
    QCOMPARE(Count() - before, 4);
}

void TestTillRoundTrips::refusedOpening()
{
    const qint64 before = Count();
    QVERIFY_THROWS_EXCEPTION(Exception, TShiftManager::OpenShift(FShop->CashierSession(), 100));
    QCOMPARE(Count() - before, 3);
}

// The close dialog's summary card, then the routine.
void TestTillRoundTrips::closingAShift()
{
    FTill->LoadOpenShift();
    const qint64 before = Count();
    TVardiyaOzet ozet;
    QVERIFY(TShiftManager::LoadVardiyaOzet(FTill->VardiyaID(), ozet));
    QVERIFY(FTill->CloseShift(ozet.BeklenenNakit).Success);
    QCOMPARE(Count() - before, 2);
}

void TestTillRoundTrips::zReport()
{
    FTill->LoadOpenShift();
    QVERIFY(FTill->CloseShift(100).Success);
    const qint64 before = Count();
    const QStringList report = TZReport::BuildReport(TZReport::Load(FTill->ClosedVardiyaID()),
                                                     QDateTime::currentDateTime());
    QVERIFY(!report.isEmpty());
    QCOMPARE(Count() - before, 2);
}

QTEST_GUILESS_MAIN(TestTillRoundTrips)
#include "tst_TillRoundTrips.moc"
