#include "core/DataModule.h"
#include "sales/BarcodeResolver.h"
#include "sales/CartManager.h"
#include "support/FixedClock.h"
#include "support/ShopFixture.h"

#include <QtTest>

#include <memory>
#include <optional>

Q_DECLARE_METATYPE(TAddStatus)

namespace {
// Answers the quantity prompt like a cashier would, and remembers what was asked.
struct TPromptStub {
    std::optional<QString> Answer; // nullopt: the cashier cancels
    QStringList Asked;             // title | prompt | default of every prompt

    TQuantityPrompt Prompt()
    {
        return [this](const QString& title, const QString& prompt, const QString& def,
                      QString& value) {
            Asked << title + '|' + prompt + '|' + def;
            if (!Answer)
                return false;
            value = *Answer;
            return true;
        };
    }
};

const QString kWater = "8690000000001";
const QString kWaterCase = "8690000000999";
// A second to midnight: a lot that expires today is still sold.
const QDateTime kNow(QDate(2025, 3, 5), QTime(23, 59, 59));
const QDate kToday = kNow.date();
} // namespace

// From a scanned or typed code to a cart line, on a small shop: scale labels, quantity*code,
// case barcodes, the weight prompt, and the refusals of inactive, deleted and expired goods.
class TestBarcodeResolver : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase()
    {
        FShop.reset();
        FClock.reset();
    }
    // A test with a database of its own leaves the program without one when it ends.
    void cleanup() { dmMain = &FShop->Database().Db(); }
    void splitsCodes_data();
    void splitsCodes();
    void scans_data();
    void scans();
    void packBarcode_data();
    void packBarcode();
    void expiredLotMessageNamesOldestDate();
    void optionalTablesMissing();
    void byStokID_data();
    void byStokID();
    void tileWithoutShiftRefusedScanAdds();
    void productStatementFinishedBeforePrompt();

private:
    std::optional<TFixedClock> FClock;
    std::unique_ptr<TShopFixture> FShop;
    QHash<QString, int> FIds;
};

void TestBarcodeResolver::initTestCase()
{
    UseTurkishLocale();
    FClock.emplace(kNow);
    FShop = std::make_unique<TShopFixture>();
    TShopFixture& shop = *FShop;
    FIds["water"] = shop.AddProduct("SU 0,5 L", kWater, 10, 10, 100);
    shop.Exec(QString("INSERT INTO StokBirimDonusum (StokID, KoliBarkod, CevrimKatsayi) VALUES "
                      "(%1, '%2', 24)")
                  .arg(FIds["water"])
                  .arg(kWaterCase));
    FIds["cola"] = shop.AddProduct("KOLA", "8690000000002", 30, 20, 0);
    shop.Exec(QString("INSERT INTO StokBirimDonusum (StokID, KoliBarkod, CevrimKatsayi) VALUES "
                      "(%1, '8690000000990', 0)")
                  .arg(FIds["cola"]));
    FIds["tomato"] = shop.AddProduct("DOMATES", "12345", 25, 1, 50, true);
    FIds["counted"] = shop.AddProduct("YUMURTA", "54321", 4, 1, -5);
    FIds["short"] = shop.AddProduct("KISA BARKOD", "2712345", 7, 20);
    FIds["battery"] = shop.AddProduct("KALEM PIL", "8690000000003", 50, 20);
    shop.Exec(QString("UPDATE Stok SET IsActive = 0 WHERE StokID = %1").arg(FIds["battery"]));
    shop.Exec(QString("INSERT INTO StokBirimDonusum (StokID, KoliBarkod, CevrimKatsayi) VALUES "
                      "(%1, '8690000000993', 12)")
                  .arg(FIds["battery"]));
    FIds["deleted"] = shop.AddProduct("ESKI PAKET", "8690000000004", 99, 20);
    shop.Exec(QString("UPDATE Stok SET IsDeleted = 1 WHERE StokID = %1").arg(FIds["deleted"]));
    FIds["reused"] = shop.AddProduct("ESKI KAMPANYA", "8690000000005", 1, 20);
    shop.Exec(QString("UPDATE Stok SET IsDeleted = 1 WHERE StokID = %1").arg(FIds["reused"]));
    FIds["successor"] = shop.AddProduct("YENI KAMPANYA", "8690000000005", 2, 20);
    FIds["noBarcode"] = shop.AddProduct("BARKODSUZ", "", 3, 20);

    FIds["yogurt"] = shop.AddProduct("YOGURT", "8690000000010", 40, 1);
    shop.TrackExpiry(FIds["yogurt"], true);
    shop.AddLot(FIds["yogurt"], 3, kToday.addDays(-2));
    shop.AddLot(FIds["yogurt"], 5, kToday.addDays(20));
    FIds["emptyLot"] = shop.AddProduct("PEYNIR", "8690000000011", 80, 1);
    shop.TrackExpiry(FIds["emptyLot"], true);
    shop.AddLot(FIds["emptyLot"], 0, kToday.addDays(-30));
    shop.AddLot(FIds["emptyLot"], 4, kToday.addDays(30));
    FIds["notBlocking"] = shop.AddProduct("SUT", "8690000000012", 20, 1);
    shop.TrackExpiry(FIds["notBlocking"], false);
    shop.AddLot(FIds["notBlocking"], 6, kToday.addDays(-1));
    FIds["nullFlag"] = shop.AddProduct("AYRAN", "8690000000013", 8, 1);
    shop.TrackExpiry(FIds["nullFlag"], true);
    shop.Exec(
        QString("UPDATE Stok SET IsSatisEngelle = NULL WHERE StokID = %1").arg(FIds["nullFlag"]));
    shop.AddLot(FIds["nullFlag"], 2, kToday.addDays(-1));
    FIds["untracked"] = shop.AddProduct("KEFIR", "8690000000014", 15, 1);
    shop.AddLot(FIds["untracked"], 2, kToday.addDays(-10));
    FIds["today"] = shop.AddProduct("TAZE SIKMA", "8690000000015", 12, 1);
    shop.TrackExpiry(FIds["today"], true);
    shop.AddLot(FIds["today"], 2, kToday);
    shop.AddLot(FIds["today"], 2, QDate());
}

void TestBarcodeResolver::splitsCodes_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("lookup");
    QTest::addColumn<double>("quantity"); // -1: an n that is no quantity

    QTest::newRow("scale 27") << "2712345012508"
                              << "12345" << 1.25;
    QTest::newRow("scale 28") << "2812345007502"
                              << "12345" << 0.75;
    QTest::newRow("scale, weight not digits") << "27123450A2508"
                                              << "12345" << 0.0;
    QTest::newRow("27 but 7 long") << "2712345"
                                   << "2712345" << 0.0;
    QTest::newRow("27 but 14 long") << "27123450125081"
                                    << "27123450125081" << 0.0;
    QTest::newRow("29 prefix") << "2912345012508"
                               << "2912345012508" << 0.0;
    QTest::newRow("quantity") << "3*" + kWater << kWater << 3.0;
    QTest::newRow("decimal comma") << "2,5*" + kWater << kWater << 2.5;
    QTest::newRow("decimal point") << "2.5*" + kWater << kWater << 2.5;
    QTest::newRow("thousands mark") << "1.000*" + kWater << kWater << 1000.0;
    QTest::newRow("grouped with decimals") << "1.000,5*" + kWater << kWater << 1000.5;
    QTest::newRow("letters are no quantity") << "abc*" + kWater << kWater << -1.0;
    QTest::newRow("exponent is no quantity") << "1e3*" + kWater << kWater << -1.0;
    QTest::newRow("zero is no quantity") << "0*" + kWater << kWater << -1.0;
    QTest::newRow("leading star not split") << "*" + kWater << "*" + kWater << 0.0;
    QTest::newRow("first star counts") << "1*2*" + kWater << "2*" + kWater << 1.0;
    QTest::newRow("nothing after star") << "3*"
                                        << "" << 3.0;
    QTest::newRow("negative is no quantity") << "-2*" + kWater << kWater << -1.0;
    QTest::newRow("infinite is no quantity") << "inf*" + kWater << kWater << -1.0;
    QTest::newRow("13 long with star is a scale label") << "27123*5012508"
                                                        << "123*5" << 1.25;
    QTest::newRow("plain") << kWater << kWater << 0.0;
}

void TestBarcodeResolver::splitsCodes()
{
    QFETCH(QString, code);
    QFETCH(QString, lookup);
    QFETCH(double, quantity);
    const TScannedCode parsed = TBarcodeResolver::SplitScannedCode(code);
    QCOMPARE(parsed.LookupCode, lookup);
    QCOMPARE(parsed.InvalidQuantity, quantity < 0);
    QCOMPARE(parsed.PresetQty, qMax(quantity, 0.0));
}

void TestBarcodeResolver::scans_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("answer"); // typed at the prompt; "<cancel>" cancels
    QTest::addColumn<TAddStatus>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("product"); // StokAdi of the line, empty when none
    QTest::addColumn<double>("quantity");
    QTest::addColumn<QString>("lineBarcode");
    QTest::addColumn<QString>("asked"); // the prompt shown, empty when none

    const auto added = TAddStatus::Added;
    const auto notFound = TAddStatus::NotFound;
    const auto refused = TAddStatus::Refused;
    const auto nothing = TAddStatus::NothingAdded;
    const QString weight = "Tartım|DOMATES Miktarı (KG):|1";

    QTest::newRow("plain") << kWater << "" << added << ""
                           << "SU 0,5 L" << 1.0 << kWater << "";
    QTest::newRow("n*code") << "3*" + kWater << "" << added << ""
                            << "SU 0,5 L" << 3.0 << kWater << "";
    QTest::newRow("2,5*code") << "2,5*" + kWater << "" << added << ""
                              << "SU 0,5 L" << 2.5 << kWater << "";
    QTest::newRow("2.5*code") << "2.5*" + kWater << "" << added << ""
                              << "SU 0,5 L" << 2.5 << kWater << "";
    QTest::newRow("1.000*code") << "1.000*" + kWater << "" << added << ""
                                << "SU 0,5 L" << 1000.0 << kWater << "";
    QTest::newRow("-2*code refused") << "-2*" + kWater << "" << refused << "Geçersiz miktar!"
                                     << "" << 0.0 << ""
                                     << "";
    QTest::newRow("inf*code refused") << "inf*" + kWater << "" << refused << "Geçersiz miktar!"
                                      << "" << 0.0 << ""
                                      << "";
    QTest::newRow("abc*code refused") << "abc*" + kWater << "" << refused << "Geçersiz miktar!"
                                      << "" << 0.0 << ""
                                      << "";
    QTest::newRow("0*code refused") << "0*" + kWater << "" << refused << "Geçersiz miktar!"
                                    << "" << 0.0 << ""
                                    << "";
    QTest::newRow("abc* of an unknown code refused") << "abc*8690000009999"
                                                     << "" << refused << "Geçersiz miktar!"
                                                     << "" << 0.0 << ""
                                                     << "";
    QTest::newRow("*code not found")
        << "*" + kWater << "" << notFound << "Barkod bulunamadı: *" + kWater << "" << 0.0 << ""
        << "";
    QTest::newRow("3* not found") << "3*"
                                  << "" << notFound << "Barkod bulunamadı: "
                                  << "" << 0.0 << ""
                                  << "";
    QTest::newRow("case") << kWaterCase << "" << added << ""
                          << "SU 0,5 L" << 24.0 << kWaterCase << "";
    QTest::newRow("2*case") << "2*" + kWaterCase << "" << added << ""
                            << "SU 0,5 L" << 48.0 << kWaterCase << "";
    QTest::newRow("case with factor 0") << "8690000000990"
                                        << "" << added << ""
                                        << "KOLA" << 1.0 << "8690000000990"
                                        << "";
    QTest::newRow("case of inactive product")
        << "8690000000993"
        << "" << notFound << "Barkod bulunamadı: 8690000000993"
        << "" << 0.0 << ""
        << "";
    QTest::newRow("scale 28 weighed, no prompt") << "2812345007502"
                                                 << "" << added << ""
                                                 << "DOMATES" << 0.75 << "12345"
                                                 << "";
    QTest::newRow("scale 27") << "2712345012508"
                              << "" << added << ""
                              << "DOMATES" << 1.25 << "12345"
                              << "";
    QTest::newRow("scale label of counted goods") << "2854321020005"
                                                  << "" << added << ""
                                                  << "YUMURTA" << 2.0 << "54321"
                                                  << "";
    QTest::newRow("scale label without weight asks") << "2712345000000"
                                                     << "0,4" << added << ""
                                                     << "DOMATES" << 0.4 << "12345" << weight;
    QTest::newRow("7 long 27 code is a barcode") << "2712345"
                                                 << "" << added << ""
                                                 << "KISA BARKOD" << 1.0 << "2712345"
                                                 << "";
    QTest::newRow("14 long 27 code") << "27123450125081"
                                     << "" << notFound << "Barkod bulunamadı: 27123450125081"
                                     << "" << 0.0 << ""
                                     << "";
    QTest::newRow("weighed asks") << "12345"
                                  << "1,5" << added << ""
                                  << "DOMATES" << 1.5 << "12345" << weight;
    QTest::newRow("weight with point") << "12345"
                                       << "1.5" << added << ""
                                       << "DOMATES" << 1.5 << "12345" << weight;
    QTest::newRow("weight abc refused") << "12345"
                                        << "abc" << refused << "Geçersiz miktar!"
                                        << "" << 0.0 << "" << weight;
    QTest::newRow("weight empty refused") << "12345"
                                          << "" << refused << "Geçersiz miktar!"
                                          << "" << 0.0 << "" << weight;
    QTest::newRow("weight 0") << "12345"
                              << "0" << refused << "Geçersiz miktar!"
                              << "" << 0.0 << "" << weight;
    QTest::newRow("weight negative") << "12345"
                                     << "-1" << refused << "Geçersiz miktar!"
                                     << "" << 0.0 << "" << weight;
    QTest::newRow("weight inf") << "12345"
                                << "inf" << refused << "Geçersiz miktar!"
                                << "" << 0.0 << "" << weight;
    QTest::newRow("weight with an exponent") << "12345"
                                             << "1e1" << refused << "Geçersiz miktar!"
                                             << "" << 0.0 << "" << weight;
    QTest::newRow("weight grouped") << "12345"
                                    << "0.750" << added << ""
                                    << "DOMATES" << 0.75 << "12345" << weight;
    QTest::newRow("weight cancelled") << "12345"
                                      << "<cancel>" << nothing << ""
                                      << "" << 0.0 << "" << weight;
    QTest::newRow("weighed with n*code, no prompt") << "3*12345"
                                                    << "" << added << ""
                                                    << "DOMATES" << 3.0 << "12345"
                                                    << "";
    QTest::newRow("no stock") << "8690000000002"
                              << "" << added << ""
                              << "KOLA" << 1.0 << "8690000000002"
                              << "";
    QTest::newRow("negative stock") << "54321"
                                    << "" << added << ""
                                    << "YUMURTA" << 1.0 << "54321"
                                    << "";
    QTest::newRow("unknown") << "8690000009999"
                             << "" << notFound << "Barkod bulunamadı: 8690000009999"
                             << "" << 0.0 << ""
                             << "";
    QTest::newRow("inactive") << "8690000000003"
                              << "" << refused << "Ürün satışa kapalı: KALEM PIL"
                              << "" << 0.0 << ""
                              << "";
    QTest::newRow("deleted") << "8690000000004"
                             << "" << notFound << "Barkod bulunamadı: 8690000000004"
                             << "" << 0.0 << ""
                             << "";
    QTest::newRow("barcode of a deleted product reused")
        << "8690000000005"
        << "" << added << ""
        << "YENI KAMPANYA" << 1.0 << "8690000000005"
        << "";
    const QString expired = "Dikkat! Bu urunun son kullanma tarihi " +
                            kToday.addDays(-2).toString("dd.MM.yyyy") +
                            " tarihinde gecmistir, islem yapilamaz!";
    QTest::newRow("expired lot blocks") << "8690000000010"
                                        << "" << refused << expired << "" << 0.0 << ""
                                        << "";
    QTest::newRow("expired lot empty") << "8690000000011"
                                       << "" << added << ""
                                       << "PEYNIR" << 1.0 << "8690000000011"
                                       << "";
    QTest::newRow("expired, not blocking") << "8690000000012"
                                           << "" << added << ""
                                           << "SUT" << 1.0 << "8690000000012"
                                           << "";
    QTest::newRow("expired, block flag NULL")
        << "8690000000013"
        << "" << refused
        << "Dikkat! Bu urunun son kullanma tarihi " + kToday.addDays(-1).toString("dd.MM.yyyy") +
               " tarihinde gecmistir, islem yapilamaz!"
        << "" << 0.0 << ""
        << "";
    QTest::newRow("expired, not tracked") << "8690000000014"
                                          << "" << added << ""
                                          << "KEFIR" << 1.0 << "8690000000014"
                                          << "";
    QTest::newRow("expires today, no date") << "8690000000015"
                                            << "" << added << ""
                                            << "TAZE SIKMA" << 1.0 << "8690000000015"
                                            << "";
}

void TestBarcodeResolver::scans()
{
    QFETCH(QString, code);
    QFETCH(QString, answer);
    QFETCH(TAddStatus, status);
    QFETCH(QString, message);
    QFETCH(QString, product);
    QFETCH(double, quantity);
    QFETCH(QString, lineBarcode);
    QFETCH(QString, asked);

    TPromptStub prompt;
    if (answer != "<cancel>")
        prompt.Answer = answer;
    TCartManager cart;
    const TAddResult result =
        TBarcodeResolver::ParseScannedCode(cart, FShop->SubeID(), code, prompt.Prompt());
    QCOMPARE(result.Status, status);
    QCOMPARE(result.Message, message);
    QCOMPARE(prompt.Asked, asked.isEmpty() ? QStringList() : QStringList{asked});
    if (product.isEmpty()) {
        QCOMPARE(cart.Count(), 0);
        return;
    }
    QCOMPARE(cart.Count(), 1);
    const TCartItem& line = cart.Items(0);
    QCOMPARE(line.StokAdi(), product);
    QCOMPARE(line.Miktar(), quantity);
    QCOMPARE(line.Barkod(), lineBarcode);
}

void TestBarcodeResolver::expiredLotMessageNamesOldestDate()
{
    TShopFixture shop;
    const int cheese = shop.AddProduct("KASAR", "8690000000020", 90, 1, 10);
    shop.TrackExpiry(cheese, true);
    shop.AddLot(cheese, 1, kToday.addDays(-3));
    shop.AddLot(cheese, 1, kToday.addDays(-40));
    shop.AddLot(cheese, 0, kToday.addDays(-90));
    const TExpiryBlock block = TBarcodeResolver::CheckExpiryBlock(cheese);
    QVERIFY(block.Blocked);
    QCOMPARE(block.Message, "Dikkat! Bu urunun son kullanma tarihi " +
                                kToday.addDays(-40).toString("dd.MM.yyyy") +
                                " tarihinde gecmistir, islem yapilamaz!");
    QVERIFY(!TBarcodeResolver::CheckExpiryBlock(cheese + 100).Blocked);
}

void TestBarcodeResolver::packBarcode_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("base");
    QTest::addColumn<double>("factor");
    QTest::newRow("case of 24") << kWaterCase << true << kWater << 24.0;
    QTest::newRow("factor 0 counts as 1") << "8690000000990" << true << "8690000000002" << 1.0;
    QTest::newRow("inactive product's case") << "8690000000993" << false << "8690000000993" << 1.0;
    QTest::newRow("plain barcode") << kWater << false << kWater << 1.0;
}

void TestBarcodeResolver::packBarcode()
{
    QFETCH(QString, code);
    QFETCH(bool, found);
    QFETCH(QString, base);
    QFETCH(double, factor);
    const TPackBarcode pack = TBarcodeResolver::ResolvePackBarcode(code);
    QCOMPARE(pack.Found, found);
    QCOMPARE(pack.BaseBarcode, base);
    QCOMPARE(pack.Factor, factor);
}

void TestBarcodeResolver::optionalTablesMissing()
{
    TShopFixture shop;
    const int water = shop.AddProduct("SU", kWater, 10, 10);
    shop.Exec(QString("INSERT INTO StokBirimDonusum (StokID, KoliBarkod, CevrimKatsayi) VALUES "
                      "(%1, '%2', 24)")
                  .arg(water)
                  .arg(kWaterCase));
    const int yogurt = shop.AddProduct("YOGURT", "8690000000010", 40, 1);
    shop.TrackExpiry(yogurt, true);
    shop.AddLot(yogurt, 3, kToday.addDays(-2));
    shop.Exec("DROP TABLE StokBirimDonusum");
    shop.Exec("DROP TABLE StokLotDetay");

    TPromptStub prompt;
    TCartManager cart;
    QCOMPARE(TBarcodeResolver::ResolvePackBarcode(kWaterCase).Found, false);
    QCOMPARE(TBarcodeResolver::ParseScannedCode(cart, shop.SubeID(), kWaterCase, prompt.Prompt())
                 .Message,
             "Barkod bulunamadı: " + kWaterCase);
    QVERIFY(TBarcodeResolver::ParseScannedCode(cart, shop.SubeID(), "2*" + kWater, prompt.Prompt())
                .Added());
    QVERIFY(
        TBarcodeResolver::ParseScannedCode(cart, shop.SubeID(), "8690000000010", prompt.Prompt())
            .Added());
    QVERIFY(TBarcodeResolver::AddProductByStokID(cart, shop.VardiyaID(), yogurt, prompt.Prompt())
                .Added());
    QCOMPARE(cart.Count(), 2);
    QCOMPARE(cart.Items(0).Miktar(), 2.0);
    QCOMPARE(cart.Items(1).Miktar(), 2.0);
}

void TestBarcodeResolver::byStokID_data()
{
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("answer");
    QTest::addColumn<TAddStatus>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<double>("quantity"); // 0: no line
    QTest::addColumn<QString>("asked");

    const auto added = TAddStatus::Added;
    const auto refused = TAddStatus::Refused;
    const auto nothing = TAddStatus::NothingAdded;
    const QString weight = "Miktar|Miktar giriniz (KG):|1";

    QTest::newRow("counted") << "water"
                             << "" << added << "" << 1.0 << "";
    QTest::newRow("no stock") << "cola"
                              << "" << added << "" << 1.0 << "";
    QTest::newRow("without barcode") << "noBarcode"
                                     << "" << added << "" << 1.0 << "";
    QTest::newRow("weighed") << "tomato"
                             << "2,5" << added << "" << 2.5 << weight;
    QTest::newRow("weighed x") << "tomato"
                               << "x" << refused << "Geçersiz miktar!" << 0.0 << weight;
    QTest::newRow("weighed abc") << "tomato"
                                 << "abc" << refused << "Geçersiz miktar!" << 0.0 << weight;
    QTest::newRow("weighed 0") << "tomato"
                               << "0" << refused << "Geçersiz miktar!" << 0.0 << weight;
    QTest::newRow("weighed inf") << "tomato"
                                 << "inf" << refused << "Geçersiz miktar!" << 0.0 << weight;
    QTest::newRow("weighed, decimal point") << "tomato"
                                            << "1.5" << added << "" << 1.5 << weight;
    QTest::newRow("weighed cancelled") << "tomato"
                                       << "<cancel>" << nothing << "" << 0.0 << weight;
    QTest::newRow("unknown") << "none"
                             << "" << nothing << "" << 0.0 << "";
    QTest::newRow("inactive") << "battery"
                              << "" << refused << "Ürün satışa kapalı: KALEM PIL" << 0.0 << "";
    QTest::newRow("deleted") << "deleted"
                             << "" << refused << "Ürün satıştan kaldırılmış: ESKI PAKET" << 0.0
                             << "";
    QTest::newRow("expired") << "yogurt"
                             << "" << refused
                             << "Dikkat! Bu urunun son kullanma tarihi " +
                                    kToday.addDays(-2).toString("dd.MM.yyyy") +
                                    " tarihinde gecmistir, islem yapilamaz!"
                             << 0.0 << "";
    QTest::newRow("expired, not blocking") << "notBlocking"
                                           << "" << added << "" << 1.0 << "";
}

void TestBarcodeResolver::byStokID()
{
    QFETCH(QString, product);
    QFETCH(QString, answer);
    QFETCH(TAddStatus, status);
    QFETCH(QString, message);
    QFETCH(double, quantity);
    QFETCH(QString, asked);

    TPromptStub prompt;
    if (answer != "<cancel>")
        prompt.Answer = answer;
    TCartManager cart;
    const int stokID = FIds.value(product, 100000);
    const TAddResult result =
        TBarcodeResolver::AddProductByStokID(cart, FShop->VardiyaID(), stokID, prompt.Prompt());
    QCOMPARE(result.Status, status);
    QCOMPARE(result.Message, message);
    QCOMPARE(prompt.Asked, asked.isEmpty() ? QStringList() : QStringList{asked});
    QCOMPARE(cart.Count(), quantity > 0 ? 1 : 0);
    if (quantity <= 0)
        return;
    const TCartItem& line = cart.Items(0);
    QCOMPARE(line.StokID(), stokID);
    QCOMPARE(line.Miktar(), quantity);
    QCOMPARE(
        line.Barkod(),
        FShop->Scalar(QString("SELECT Barkod FROM Stok WHERE StokID = %1").arg(stokID)).toString());
    QCOMPARE(line.BirimFiyat(),
             FShop->Scalar(QString("SELECT SatisFiyati FROM Stok WHERE StokID = %1").arg(stokID))
                 .toDouble());
}

void TestBarcodeResolver::tileWithoutShiftRefusedScanAdds()
{
    TPromptStub prompt;
    TCartManager cart;
    const TAddResult tile =
        TBarcodeResolver::AddProductByStokID(cart, -1, FIds["water"], prompt.Prompt());
    QCOMPARE(tile.Status, TAddStatus::Refused);
    QCOMPARE(tile.Message, QString("Lütfen önce vardiya açınız!"));
    QCOMPARE(cart.Count(), 0);
    QVERIFY(
        TBarcodeResolver::ParseScannedCode(cart, FShop->SubeID(), kWater, prompt.Prompt()).Added());
    QCOMPARE(cart.Count(), 1);
    QCOMPARE(cart.Items(0).KDVOrani(), 10.0);
    QCOMPARE(cart.Items(0).BirimFiyat(), 10.0);
}

// A server connection without multiple active result sets refuses every statement while another
// one's result is still being read, and the weight prompt may stay open for long: the product's
// statement must be finished before the prompt and the checks that run queries of their own.
void TestBarcodeResolver::productStatementFinishedBeforePrompt()
{
    QStringList open;
    const TQuantityPrompt prompt = [&](const QString&, const QString&, const QString&,
                                       QString& value) {
        open << FShop
                    ->Scalar("SELECT COUNT(*) FROM sqlite_stmt WHERE busy = 1 AND sql NOT LIKE "
                             "'%sqlite_stmt%'")
                    .toString();
        value = "1,5";
        return true;
    };
    TCartManager cart;
    QVERIFY(TBarcodeResolver::ParseScannedCode(cart, FShop->SubeID(), "12345", prompt).Added());
    QVERIFY(TBarcodeResolver::AddProductByStokID(cart, FShop->VardiyaID(), FIds["tomato"], prompt)
                .Added());
    QCOMPARE(open, (QStringList{"0", "0"}));
}

QTEST_GUILESS_MAIN(TestBarcodeResolver)
#include "tst_BarcodeResolver.moc"
