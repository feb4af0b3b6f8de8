#include "core/AppPaths.h"
#include "core/SessionManager.h"
#include "sales/SalesScreenRules.h"
#include "sales/Till.h"
#include "support/ShopFixture.h"

#include <QDir>
#include <QtTest>

#include <memory>

namespace {
const QString kWater = "8690000000001";
const QString kCola = "8690000000002";

// Answers every quantity prompt with `typed`, or cancels it when `typed` is empty.
TQuantityPrompt Answer(const QString& typed)
{
    return [typed](const QString&, const QString&, const QString&, QString& value) {
        value = typed;
        return !typed.isEmpty();
    };
}
} // namespace

// The sales screen's state and operations without a window: a whole sale, a shift opened and
// closed, and every refusal the screen shows, on a real SQLite shop.
class TestTill : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void wholeSaleThroughTheTill();
    void scanOutcomes_data();
    void scanOutcomes();
    void lineEntries_data();
    void lineEntries();
    void quantityBoundsOnEveryRoad_data();
    void quantityBoundsOnEveryRoad();
    void lineActionsNeedALine();
    void payRefusals();
    void failedSaleKeepsCartAndCustomer();
    void changeKeptUntilTheNextLine();
    void changeRows_data();
    void changeRows();
    void shiftClosedThroughTheTill();
    void closeRefusedKeepsTheShift();
    void shiftChecks();

private:
    std::unique_ptr<TShopFixture> FShop;
    std::unique_ptr<TTill> FTill;
};

void TestTill::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
}

void TestTill::init()
{
    FShop = std::make_unique<TShopFixture>();
    FShop->AddProduct("SU 0,5 L", kWater, 10, 10, 100);
    FShop->AddProduct("KOLA 1 L", kCola, 36, 20, 50);
    FShop->AddProduct("DOMATES", "12345", 25, 1, 50, true);
    FShop->LoginCashier();
    QDir(AppPaths::ReportsFolder()).removeRecursively();
    FTill = std::make_unique<TTill>();
    FTill->LoadOpenShift();
}

void TestTill::cleanup()
{
    FTill.reset();
    FShop.reset();
    TSessionManager::Instance().Logout();
}

void TestTill::wholeSaleThroughTheTill()
{
    TTill& till = *FTill;
    QCOMPARE(till.VardiyaID(), FShop->VardiyaID());
    QCOMPARE(till.ShiftCaption(), QString("Vardiya: Açık (ID: %1)").arg(FShop->VardiyaID()));
    QCOMPARE(till.UserCaption(), QString("Kullanıcı : KASA SORUMLUSU (Kasiyer)  |  Şube : MERKEZ"));
    QVERIFY(!till.PayEnabled());

    QVERIFY(till.Scan(" 2*" + kCola + " ", Answer({})).Done());
    QVERIFY(till.Scan("12345", Answer("0,5")).Done());
    QVERIFY(till.Scan(kWater, Answer({})).Done());
    QCOMPARE(till.Cart().Count(), 3);
    QVERIFY(till.ApplyDiscount(0, "50").Done());
    QVERIFY(till.ChangeQuantity(2, "3").Done());
    till.DeleteLine(1);
    QCOMPARE(till.Cart().Count(), 2);
    QCOMPARE(till.Cart().GenelToplam(), 36.0 + 30.0);
    QVERIFY(till.PayEnabled());
    QCOMPARE(till.PayCaption(), QString("Ödeme Al  -  66,00 TL"));
    QVERIFY(till.CheckPayable().Done());

    const TSaleResult sale = till.CompleteSale("KARMA", 40, 26);
    QVERIFY2(sale.Success, qPrintable(sale.Message));
    QCOMPARE(sale.FisNo, QString("FIS-%1").arg(sale.FisID));
    QCOMPARE(till.Cart().Count(), 0);
    QCOMPARE(till.PayCaption(), QString("ÖDEME AL"));
    QCOMPARE(FShop->Count(QString("SatisFis WHERE FisID = %1 AND VardiyaID = %2 AND OdemeTipi = "
                                  "'KARMA' AND GenelToplam = 66")
                              .arg(sale.FisID)
                              .arg(FShop->VardiyaID())),
             1);
    QCOMPARE(FShop->Count(QString("SatisFisSatir WHERE FisID = %1").arg(sale.FisID)), 2);
    QCOMPARE(FShop->Count(QString("SatisOdeme WHERE FisID = %1").arg(sale.FisID)), 2);
    QVERIFY(QFile::exists(AppPaths::ReportsFolder() + "Receipt_" + sale.FisNo + ".txt"));
}

void TestTill::scanOutcomes_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("weight"); // answer to the weight prompt; empty cancels
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("lines");

    QTest::newRow("blank") << "   "
                           << "" << int(TTillStatus::Refused) << "Barkod giriniz!" << 0;
    QTest::newRow("unknown") << "8690000009999"
                             << "" << int(TTillStatus::NotFound)
                             << "Barkod bulunamadı: 8690000009999" << 0;
    QTest::newRow("weight cancelled") << "12345"
                                      << "" << int(TTillStatus::Nothing) << "" << 0;
    QTest::newRow("weight refused") << "12345"
                                    << "0" << int(TTillStatus::Refused) << "Geçersiz miktar!" << 0;
    QTest::newRow("scale label") << "2712345012508"
                                 << "" << int(TTillStatus::Done) << "" << 1;
}

void TestTill::scanOutcomes()
{
    QFETCH(QString, code);
    QFETCH(QString, weight);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(int, lines);
    const TTillOutcome outcome = FTill->Scan(code, Answer(weight));
    QCOMPARE(int(outcome.Status), status);
    QCOMPARE(outcome.Message, message);
    QCOMPARE(FTill->Cart().Count(), lines);
}

void TestTill::lineEntries_data()
{
    QTest::addColumn<bool>("discount"); // false: quantity
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("message"); // empty: accepted
    QTest::addColumn<double>("quantity");
    QTest::addColumn<double>("rate");

    QTest::newRow("quantity comma") << false << "2,5"
                                    << "" << 2.5 << 0.0;
    QTest::newRow("quantity point") << false << "2.5"
                                    << "" << 2.5 << 0.0;
    QTest::newRow("quantity zero") << false << "0"
                                   << "Geçersiz miktar!" << 1.0 << 0.0;
    QTest::newRow("quantity inf") << false << "inf"
                                  << "Geçersiz miktar!" << 1.0 << 0.0;
    QTest::newRow("quantity grouped") << false << "1.500"
                                      << "" << 1500.0 << 0.0;
    QTest::newRow("quantity with an exponent") << false << "1e2"
                                               << "Geçersiz miktar!" << 1.0 << 0.0;
    QTest::newRow("discount 100") << true << "100"
                                  << "" << 1.0 << 100.0;
    QTest::newRow("discount over 100") << true << "100,01"
                                       << "Geçersiz indirim oranı!" << 1.0 << 0.0;
    QTest::newRow("discount negative") << true << "-1"
                                       << "Geçersiz indirim oranı!" << 1.0 << 0.0;
}

void TestTill::lineEntries()
{
    QFETCH(bool, discount);
    QFETCH(QString, entry);
    QFETCH(QString, message);
    QFETCH(double, quantity);
    QFETCH(double, rate);
    QVERIFY(FTill->Scan(kWater, Answer({})).Done());
    QCOMPARE(FTill->QuantityText(0), QString("1"));
    const TTillOutcome outcome =
        discount ? FTill->ApplyDiscount(0, entry) : FTill->ChangeQuantity(0, entry);
    QCOMPARE(outcome.Done(), message.isEmpty());
    QCOMPARE(outcome.Message, message);
    QCOMPARE(FTill->Cart().Items(0).Miktar(), quantity);
    QCOMPARE(FTill->Cart().Items(0).IndirimOrani(), rate);
}

// Every road a quantity takes into the cart asks before a quantity above its bound enters and
// refuses one above the hard limit: n*code, the weight prompt, a tile (and the search, which
// takes the same road) and a quantity change.
void TestTill::quantityBoundsOnEveryRoad_data()
{
    QTest::addColumn<QString>("road");   // scan, tile (the tomato) or change (of a water line)
    QTest::addColumn<QString>("entry");  // the code scanned, or the quantity typed on a change
    QTest::addColumn<QString>("weight"); // answer to a weight prompt
    QTest::addColumn<bool>("confirm");   // the cashier's answer, where asked
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("asked");   // the confirmation question, empty when none
    QTest::addColumn<double>("quantity"); // of the first line; 0: none

    const int done = int(TTillStatus::Done);
    const int nothing = int(TTillStatus::Nothing);
    const int refused = int(TTillStatus::Refused);
    const QString water = "Yüksek miktar: 10.000 ADET SU 0,5 L. Devam edilsin mi?";
    const QString tomato = "Yüksek miktar: 5.000 KG DOMATES. Devam edilsin mi?";

    QTest::newRow("n*code confirmed")
        << "scan"
        << "10000*" + kWater << "" << true << done << "" << water << 10000.0;
    QTest::newRow("n*code declined")
        << "scan"
        << "10.000*" + kWater << "" << false << nothing << "" << water << 0.0;
    QTest::newRow("n*code within the bound") << "scan"
                                             << "9.999*" + kWater << "" << false << done << ""
                                             << "" << 9999.0;
    QTest::newRow("10^11 units refused")
        << "scan"
        << "99999999999*" + kWater << "" << true << refused
        << "Miktar çok yüksek: 99.999.999.999 ADET SU 0,5 L. Bir satırda en fazla 1.000.000 "
           "olabilir."
        << "" << 0.0;
    QTest::newRow("weight confirmed") << "scan"
                                      << "12345"
                                      << "5000" << true << done << "" << tomato << 5000.0;
    QTest::newRow("weight typed the Turkish way")
        << "scan"
        << "12345"
        << "5.000" << false << nothing << "" << tomato << 0.0;
    QTest::newRow("weighed n*code") << "scan"
                                    << "5000*12345"
                                    << "" << false << nothing << "" << tomato << 0.0;
    QTest::newRow("tile weight confirmed") << "tile"
                                           << ""
                                           << "5000" << true << done << "" << tomato << 5000.0;
    QTest::newRow("tile weight declined") << "tile"
                                          << ""
                                          << "5000" << false << nothing << "" << tomato << 0.0;
    QTest::newRow("tile weight x") << "tile"
                                   << ""
                                   << "x" << true << refused << "Geçersiz miktar!"
                                   << "" << 0.0;
    QTest::newRow("tile weight above the hard limit")
        << "tile"
        << ""
        << "2000000" << true << refused
        << "Miktar çok yüksek: 2.000.000 KG DOMATES. Bir satırda en fazla 1.000.000 olabilir."
        << "" << 0.0;
    QTest::newRow("change confirmed") << "change"
                                      << "10.000"
                                      << "" << true << done << "" << water << 10000.0;
    QTest::newRow("change declined keeps the line") << "change"
                                                    << "10000"
                                                    << "" << false << nothing << "" << water << 1.0;
    QTest::newRow("change above the hard limit")
        << "change"
        << "1.000.001"
        << "" << true << refused
        << "Miktar çok yüksek: 1.000.001 ADET SU 0,5 L. Bir satırda en fazla 1.000.000 olabilir."
        << "" << 1.0;
}

void TestTill::quantityBoundsOnEveryRoad()
{
    QFETCH(QString, road);
    QFETCH(QString, entry);
    QFETCH(QString, weight);
    QFETCH(bool, confirm);
    QFETCH(int, status);
    QFETCH(QString, message);
    QFETCH(QString, asked);
    QFETCH(double, quantity);
    QStringList questions;
    const TQuantityConfirm answer = [&](const QString& question) {
        questions << question;
        return confirm;
    };
    TTillOutcome outcome;
    if (road == "scan") {
        outcome = FTill->Scan(entry, Answer(weight), answer);
    } else if (road == "tile") {
        const int tomato = FShop->Scalar("SELECT StokID FROM Stok WHERE Barkod = '12345'").toInt();
        outcome = FTill->AddProduct(tomato, Answer(weight), answer);
    } else {
        QVERIFY(FTill->Scan(kWater, Answer({})).Done());
        outcome = FTill->ChangeQuantity(0, entry, answer);
    }
    QCOMPARE(int(outcome.Status), status);
    QCOMPARE(outcome.Message, message);
    QCOMPARE(questions, asked.isEmpty() ? QStringList() : QStringList{asked});
    QCOMPARE(FTill->Cart().Count(), quantity > 0 ? 1 : 0);
    if (quantity > 0)
        QCOMPARE(FTill->Cart().Items(0).Miktar(), quantity);
}

void TestTill::lineActionsNeedALine()
{
    QCOMPARE(FTill->CheckLineToEdit(-1).Message, QString("Satır seçiniz!"));
    QCOMPARE(FTill->CheckLineToDelete(-1).Message, QString("Silinecek satırı seçiniz!"));
    QVERIFY(FTill->Scan(kWater, Answer({})).Done());
    QVERIFY(FTill->CheckLineToEdit(0).Done());
    QCOMPARE(FTill->CheckLineToEdit(1).Status, TTillStatus::Refused);
    // A line that no longer exists (deleted meanwhile) is refused and changes nothing.
    QCOMPARE(FTill->ChangeQuantity(5, "3").Message, QString("Satır seçiniz!"));
    QCOMPARE(FTill->ApplyDiscount(5, "10").Message, QString("Satır seçiniz!"));
    FTill->DeleteLine(5);
    QCOMPARE(FTill->Cart().Count(), 1);
    QCOMPARE(FTill->Cart().Items(0).Miktar(), 1.0);
    QCOMPARE(FTill->Cart().Items(0).IndirimOrani(), 0.0);
}

void TestTill::payRefusals()
{
    QCOMPARE(FTill->CheckPayable().Message, QString("Sepet boş!"));
    QVERIFY(FTill->Scan(kWater, Answer({})).Done());
    FShop->Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'");
    FTill->LoadOpenShift();
    QCOMPARE(FTill->VardiyaID(), -1);
    QCOMPARE(FTill->CheckPayable().Message, QString("Vardiya açık değil!"));
    QVERIFY(!FTill->PayEnabled());
}

void TestTill::failedSaleKeepsCartAndCustomer()
{
    QVERIFY(FTill->Scan(kCola, Answer({})).Done());
    FTill->Cart().SetMusteriNo(7);
    FTill->Cart().SetMusteriIsmi("AHMET YILMAZ");
    QCOMPARE(FTill->CustomerName(), QString("AHMET YILMAZ"));
    // Closed on another till after this one found it open.
    FShop->Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'");
    const TSaleResult sale = FTill->CompleteSale("NAKIT", 36, 0);
    QVERIFY(!sale.Success);
    QCOMPARE(sale.Message, QString("Satış hatası: Vardiya kapalı veya bulunamadı."));
    QCOMPARE(FTill->Cart().Count(), 1);
    QCOMPARE(FTill->CustomerName(), QString("AHMET YILMAZ"));
    QCOMPARE(FShop->Count("SatisFis"), 0);

    FTill->ClearCart();
    QCOMPARE(FTill->Cart().Count(), 0);
    QVERIFY(FTill->CustomerName().isEmpty());
}

// The sale just completed stays with the till, for its change, until a line enters the cart by
// a scan or by a product's id; what adds nothing leaves it, and a failed sale sets none.
void TestTill::changeKeptUntilTheNextLine()
{
    QVERIFY(!FTill->LastSale());
    QVERIFY(FTill->Scan(kWater, Answer({})).Done());
    const TSaleResult sale = FTill->CompleteSale("NAKIT", 50, 0);
    QVERIFY(sale.Success);
    QVERIFY(FTill->LastSale());
    QCOMPARE(FTill->LastSale()->FisNo, sale.FisNo);
    QCOMPARE(FTill->LastSale()->ParaUstu(), 40.0);
    QCOMPARE(FTill->Scan("8690000009999", Answer({})).Status, TTillStatus::NotFound);
    QVERIFY(!FTill->Scan(" ", Answer({})).Done());
    QVERIFY(FTill->LastSale());
    QVERIFY(FTill->Scan(kWater, Answer({})).Done());
    QVERIFY(!FTill->LastSale());

    QVERIFY(FTill->CompleteSale("NAKIT", 20, 0).Success);
    const int water =
        FShop->Scalar(QString("SELECT StokID FROM Stok WHERE Barkod = '%1'").arg(kWater)).toInt();
    QVERIFY(FTill->AddProduct(water, Answer({})).Done());
    QVERIFY(!FTill->LastSale());

    FShop->Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'");
    QVERIFY(!FTill->CompleteSale("NAKIT", 20, 0).Success);
    QVERIFY(!FTill->LastSale());
}

void TestTill::changeRows_data()
{
    QTest::addColumn<double>("nakit");
    QTest::addColumn<double>("kart");
    QTest::addColumn<double>("verilen");
    QTest::addColumn<QStringList>("rows");
    QTest::newRow("cash with change")
        << 87.5 << 0.0 << 100.0
        << QStringList{"Fiş:|FIS-7  87,50 TL", "Verilen:|100,00 TL", "Para Üstü:|12,50 TL"};
    QTest::newRow("cash exactly") << 87.5 << 0.0 << 87.5
                                  << QStringList{"Fiş:|FIS-7  87,50 TL", "Verilen:|87,50 TL",
                                                 "Para Üstü:|0,00 TL"};
    QTest::newRow("split") << 27.5 << 60.0 << 50.0
                           << QStringList{"Fiş:|FIS-7  87,50 TL", "Kart:|60,00 TL",
                                          "Verilen:|50,00 TL", "Para Üstü:|22,50 TL"};
    QTest::newRow("card: no change to hand over") << 0.0 << 87.5 << 0.0 << QStringList{};
    QTest::newRow("millions") << 1234567.5 << 0.0 << 2000000.0
                              << QStringList{"Fiş:|FIS-7  1.234.567,50 TL",
                                             "Verilen:|2.000.000,00 TL",
                                             "Para Üstü:|765.432,50 TL"};
}

void TestTill::changeRows()
{
    QFETCH(double, nakit);
    QFETCH(double, kart);
    QFETCH(double, verilen);
    QFETCH(QStringList, rows);
    TSaleResult sale;
    sale.Success = true;
    sale.FisNo = "FIS-7";
    sale.GenelToplam = nakit + kart;
    sale.Nakit = nakit;
    sale.Kart = kart;
    sale.VerilenNakit = verilen;
    QStringList shown;
    for (const TCaptionRow& row : TSalesScreenRules::ChangeRows(sale))
        shown << row.Caption + '|' + row.Value;
    QCOMPARE(shown, rows);
}

void TestTill::shiftClosedThroughTheTill()
{
    const int shift = FShop->VardiyaID();
    QVERIFY(FTill->Scan(kWater, Answer({})).Done());
    QVERIFY(FTill->CompleteSale("NAKIT", 10, 0).Success);
    QVERIFY(FTill->CheckCanCloseShift().Done());

    const TCloseShiftResult closed = FTill->CloseShift(110);
    QVERIFY2(closed.Success, qPrintable(closed.Message));
    QCOMPARE(closed.NakitSatis, 10.0);
    QCOMPARE(FTill->ClosedVardiyaID(), shift);
    QCOMPARE(FTill->VardiyaID(), -1);
    QCOMPARE(FTill->ShiftCaption(), QString("Vardiya: Kapalı"));
    QCOMPARE(TSessionManager::Instance().GetSessionInfo().VardiyaID, -1);
    QVERIFY(!TSessionManager::Instance().GetSessionInfo().VardiyaAcik);
    QCOMPARE(FShop->Count(QString("Vardiya WHERE VardiyaID = %1 AND VardiyaDurumu = 'KAPALI' AND "
                                  "KapanisTutar = 110 AND KapatanKullaniciID = %2")
                              .arg(shift)
                              .arg(FShop->KullaniciID())),
             1);
    QCOMPARE(FTill->CheckCanCloseShift().Message, QString("Açık vardiya yok!"));

    const int reopened = FShop->OpenShift();
    FTill->ShiftOpened(reopened);
    QCOMPARE(FTill->VardiyaID(), reopened);
    QCOMPARE(TSessionManager::Instance().GetSessionInfo().VardiyaID, reopened);
    QVERIFY(TSessionManager::Instance().GetSessionInfo().VardiyaAcik);
}

void TestTill::closeRefusedKeepsTheShift()
{
    const int shift = FShop->VardiyaID();
    // Another till of the same cashier closed it in the meantime.
    FShop->Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), KapanisTutar = 5, VardiyaDurumu "
                "= 'KAPALI'");
    const TCloseShiftResult closed = FTill->CloseShift(100);
    QVERIFY(!closed.Success);
    QCOMPARE(closed.Message, QString("Vardiya zaten kapatılmış."));
    QCOMPARE(FTill->VardiyaID(), shift);
    QCOMPARE(FTill->ClosedVardiyaID(), -1);
    QCOMPARE(FShop->Scalar("SELECT KapanisTutar FROM Vardiya").toDouble(), 5.0);
}

void TestTill::shiftChecks()
{
    QCOMPARE(FTill->CheckCanOpenShift().Message,
             QString("Açık vardiya bulunuyor. Önce vardiya kapatma işlemini gerçekleştiriniz."));
    QVERIFY(FTill->CheckShiftForReports().Done());
    FShop->Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'");
    FTill->LoadOpenShift();
    QVERIFY(FTill->CheckCanOpenShift().Done());
    QCOMPARE(FTill->CheckShiftForReports().Message, QString("Aktif vardiya bulunmuyor."));
    QCOMPARE(FTill->CheckCanCloseShift().Message, QString("Açık vardiya yok!"));
}

QTEST_MAIN(TestTill)
#include "tst_Till.moc"
