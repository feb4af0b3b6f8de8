#include "core/AppPaths.h"
#include "core/SessionManager.h"
#include "sales/Catalogue.h"
#include "sales/CatalogueRules.h"
#include "support/DialogTestHooks.h"
#include "support/FixedClock.h"
#include "support/ShopFixture.h"
#include "support/WidgetTestSupport.h"
#include "ui/CatalogueIcons.h"
#include "ui/CategoryButton.h"
#include "ui/MainPOSForm.h"
#include "ui/POSUITheme.h"
#include "ui/ProductTileView.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
using TPlaceholder = CatalogueRules::TPlaceholder;

void Touch(const QString& path)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

QStringList TileNames(const TProductTileView& tiles)
{
    QStringList names;
    for (int i = 0; i < tiles.TileCount(); ++i)
        names << tiles.Tile(i).StokAdi;
    return names;
}

void ClickTile(TProductTileView& tiles, int index)
{
    // Any part of the tile: its price, near the bottom edge.
    const QRect tile = tiles.TileRect(index);
    QTest::mouseClick(&tiles, Qt::LeftButton, Qt::NoModifier,
                      QPoint(tile.center().x(), tile.bottom() - 20));
}
} // namespace

Q_DECLARE_METATYPE(TPlaceholder)

// The catalogue of the sales screen: its keyword rules, where pictures and the icon font are
// found, the tile queries and a touch on a tile, through the screen.
class TestProductCatalogue : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void keywordRules_data();
    void keywordRules();
    void iconCodepoints();
    void imagePlaces_data();
    void imagePlaces();
    void iconFontPlaces();
    void tileQueriesLeaveOutDeleted();
    void categoryIsReadInParts();
    void tileTouch_data();
    void tileTouch();
    void tileWeight_data();
    void tileWeight();
    void categoriesOnScreen();
    void iconFontLoadedForTheScreen();

private:
    std::unique_ptr<TShopFixture> FShop;
};

void TestProductCatalogue::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
    RegisterFontSubstitutions();
}

void TestProductCatalogue::cleanup()
{
    FShop.reset();
    TSessionManager::Instance().Logout();
}

void TestProductCatalogue::keywordRules_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isAll");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QColor>("iconColor");
    QTest::addColumn<QColor>("badgeColor");
    QTest::addColumn<TPlaceholder>("placeholder");
    using P = TPlaceholder;
    QTest::newRow("all products") << "TÜMÜ" << true << "grid-dots" << QColor("#FFC107")
                                  << QColor("#5D7DA4") << P::Objects;
    QTest::newRow("dairy") << "Süt Ürünleri" << false << "milk" << QColor("#3A5D87")
                           << QColor("#5DA0DE") << P::ColorMarker;
    QTest::newRow("drink words first") << "Su & İçecek" << false << "bottle" << QColor("#DE3239")
                                       << QColor("#D64148") << P::ColorMarker;
    QTest::newRow("water") << "Maden Suyu" << false << "droplet" << QColor("#2D9CDB")
                           << QColor("#5DA0DE") << P::ColorMarker;
    QTest::newRow("juice") << "Meyve Suyu" << false << "bottle" << QColor("#DE3239")
                           << QColor("#5DA0DE") << P::ColorMarker;
    QTest::newRow("meat") << "Et ve Tavuk" << false << "sausage" << QColor("#D82030")
                          << QColor("#5D7DA4") << P::Flag;
    QTest::newRow("personal care")
        << "Kişisel Bakım" << false << "user" << QColor("#14AEA6") << QColor("#9A5887") << P::User;
    QTest::newRow("cleaning") << "TEMİZLİK" << false << "spray" << QColor("#3A84D2")
                              << QColor("#458BD7") << P::Clear;
    QTest::newRow("spices") << "Baharat" << false << "pepper" << QColor("#44A062")
                            << QColor("#4EA267") << P::InBoxTray;
    QTest::newRow("pulses") << "Bakliyat" << false << "bowl" << QColor("#AD672D")
                            << QColor("#B27A4A") << P::InBoxTray;
    QTest::newRow("groceries") << "Temel Gıda" << false << "basket" << QColor("#44A062")
                               << QColor("#4EA267") << P::InBoxTray;
    QTest::newRow("seeds") << "Çekirdek" << false << "seeding" << QColor("#E07E1E")
                           << QColor("#DD932A") << P::Star;
    QTest::newRow("nuts") << "Kuruyemiş" << false << "brand-peanut" << QColor("#E07E1E")
                          << QColor("#DD932A") << P::Star;
    QTest::newRow("hazelnut badge")
        << "Fındık" << false << "brand-peanut" << QColor("#E07E1E") << QColor("#5D7DA4") << P::Star;
    QTest::newRow("bakery") << "Unlu Mamuller" << false << "bread" << QColor("#8B582B")
                            << QColor("#5D7DA4") << P::ShoppingBasket;
    QTest::newRow("delicatessen") << "Şarküteri" << false << "sausage" << QColor("#D82030")
                                  << QColor("#5D7DA4") << P::Flag;
    QTest::newRow("nothing matches") << "Kırtasiye" << false << "package" << QColor("#3A5D87")
                                     << QColor("#5D7DA4") << P::Objects;
    QTest::newRow("blanks and case") << "  İÇECEK  " << false << "bottle" << QColor("#DE3239")
                                     << QColor("#D64148") << P::ColorMarker;
}

void TestProductCatalogue::keywordRules()
{
    QFETCH(QString, name);
    QFETCH(bool, isAll);
    QFETCH(QString, icon);
    QFETCH(QColor, iconColor);
    QFETCH(QColor, badgeColor);
    QFETCH(TPlaceholder, placeholder);
    QCOMPARE(CatalogueRules::CategoryIconName(name, isAll), icon);
    QCOMPARE(CatalogueIcons::CategoryIconColor(name, isAll), iconColor);
    QCOMPARE(CatalogueIcons::CategoryBadgeColor(name), badgeColor);
    QCOMPARE(CatalogueRules::PlaceholderGlyph(name), placeholder);
}

// The code points of the pinned tabler-icons release (3.35.0), checked against its style sheet.
void TestProductCatalogue::iconCodepoints()
{
    const QList<QPair<const char*, char16_t>> codes{
        {"grid-dots", 0xEABA}, {"user", 0xEB4D},    {"spray", 0xF50B},
        {"bottle", 0xEF0B},    {"droplet", 0xEA97}, {"pepper", 0xEF15},
        {"bowl", 0xF4FA},      {"basket", 0xEBE1},  {"brand-peanut", 0xF39B},
        {"star", 0xEB2E},      {"seeding", 0xED51}, {"sausage", 0xEF17},
        {"bread", 0xEFA3},     {"milk", 0xEF13},    {"cup", 0xEF28},
        {"package", 0xEAFF},   {"leaf", 0},         {"", 0}};
    for (const auto& [name, code] : codes)
        QCOMPARE(CatalogueRules::IconCodepoint(QString::fromLatin1(name)), code);
}

void TestProductCatalogue::imagePlaces_data()
{
    QTest::addColumn<QString>("resim");
    QTest::addColumn<QString>("stokAdi");
    QTest::addColumn<QStringList>("files"); // relative to the shop folder; the program is in app/
    QTest::addColumn<QString>("expected");
    QTest::newRow("as it stands") << "{root}/pics/a.png"
                                  << "X" << QStringList{"pics/a.png", "app/pics/a.png"}
                                  << "pics/a.png";
    QTest::newRow("beside the program")
        << "pics/a.png"
        << "X" << QStringList{"app/pics/a.png", "pics/a.png"} << "app/pics/a.png";
    QTest::newRow("one folder up")
        << "pics/a.png"
        << "X" << QStringList{"pics/a.png", "app/Images/a.png"} << "pics/a.png";
    QTest::newRow("name in Images beside the program")
        << "C:\\Resimler\\a.png"
        << "X" << QStringList{"app/Images/a.png", "Images/a.png"} << "app/Images/a.png";
    QTest::newRow("name in Images up") << "x/a.png"
                                       << "X" << QStringList{"Images/a.png"} << "Images/a.png";
    QTest::newRow("name in Images two up")
        << "a.png"
        << "X" << QStringList{"../Images/a.png"} << "../Images/a.png";
    QTest::newRow("missing, no fallback") << "a.png"
                                          << "Süt" << QStringList{} << "";
    QTest::newRow("fallback by name")
        << ""
        << "AYRAN 200 ml" << QStringList{"Images/ayran.jpg"} << "Images/ayran.jpg";
    QTest::newRow("fallback two up")
        << "yok.png"
        << "Coca Cola" << QStringList{"../Images/coca_cola.jpg"} << "../Images/coca_cola.jpg";
    QTest::newRow("fallback pistachio")
        << ""
        << "Antep Fıstığı" << QStringList{"Images/pistachios.jpg"} << "Images/pistachios.jpg";
    QTest::newRow("blank resim") << "   "
                                 << "Su" << QStringList{} << "";
}

void TestProductCatalogue::imagePlaces()
{
    QFETCH(QString, resim);
    QFETCH(QString, stokAdi);
    QFETCH(QStringList, files);
    QFETCH(QString, expected);
    QTemporaryDir top;
    const QString root = top.filePath("shop");
    for (const QString& file : files)
        Touch(QDir::cleanPath(root + '/' + file));
    resim.replace("{root}", root);
    const QString found = CatalogueRules::ResolveImagePath(resim, stokAdi, root + "/app/");
    QCOMPARE(found.isEmpty() ? QString() : QDir::cleanPath(found),
             expected.isEmpty() ? QString() : QDir::cleanPath(root + '/' + expected));
}

void TestProductCatalogue::iconFontPlaces()
{
    QTemporaryDir top;
    const QString program = top.filePath("build/app/");
    const QString current = top.filePath("work/");
    const QString font = "Assets/TablerIcons/fonts/tabler-icons.ttf";
    const QStringList places = CatalogueRules::IconFontCandidates(program, current);
    QCOMPARE(places, (QStringList{program + font, top.filePath("build/" + font),
                                  program + "Source/" + font, top.filePath("build/Source/" + font),
                                  current + font, current + "Source/" + font}));
    QCOMPARE(CatalogueRules::FindIconFontFile(program, current), QString());
    for (qsizetype i = places.size() - 1; i >= 0; --i) {
        Touch(places.at(i));
        QCOMPARE(CatalogueRules::FindIconFontFile(program, current), places.at(i));
    }
}

// "TÜMÜ" shows the first 50 by name of 60; neither it nor a category shows deleted products.
void TestProductCatalogue::tileQueriesLeaveOutDeleted()
{
    FShop = std::make_unique<TShopFixture>();
    FShop->Exec("INSERT INTO Kategori (KategoriAdi, Sira) VALUES ('İçecek', 1)");
    const int category = FShop->Scalar("SELECT MAX(KategoriID) FROM Kategori").toInt();
    for (int i = 1; i <= 61; ++i) {
        const int id =
            FShop->AddProduct(QString("Ürün %1").arg(i, 2, 10, QLatin1Char('0')),
                              QString("86900000000%1").arg(i, 2, 10, QLatin1Char('0')), 10, 20);
        FShop->Exec(
            QString("UPDATE Stok SET KategoriID = %1 WHERE StokID = %2").arg(category).arg(id));
    }
    FShop->Exec("UPDATE Stok SET IsDeleted = 1 WHERE StokAdi = 'Ürün 01'");
    FShop->Exec("UPDATE Stok SET IsActive = 0 WHERE StokAdi = 'Ürün 02'");
    const QList<TCatalogueTile> all = TCatalogue::LoadAllProducts();
    QCOMPARE(all.size(), 50);
    QCOMPARE(all.first().StokAdi, QString("Ürün 03"));
    QCOMPARE(all.last().StokAdi, QString("Ürün 52"));
    QCOMPARE(all.first().KategoriAdi, QString("İçecek"));
    TTileCursor cursor;
    const QList<TCatalogueTile> part = TCatalogue::LoadCategoryPart(category, cursor);
    QCOMPARE(part.size(), 59);
    QCOMPARE(part.first().StokAdi, QString("Ürün 03"));
    QVERIFY(cursor.Done);
}

// A category larger than one part comes whole, in name order, once its parts are read.
void TestProductCatalogue::categoryIsReadInParts()
{
    FShop = std::make_unique<TShopFixture>();
    FShop->LoginCashier();
    FShop->Exec("INSERT INTO Kategori (KategoriAdi, Sira) VALUES ('Temizlik', 1)");
    const int category = FShop->Scalar("SELECT MAX(KategoriID) FROM Kategori").toInt();
    const int count = TCatalogue::PartSize * 2 + 7;
    FShop->Exec("WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < " +
                QString::number(count) +
                ") INSERT INTO Stok (StokKodu, StokAdi, Barkod, KategoriID) SELECT 'K' || I, "
                "'Deterjan ' || (I % 3), 'B' || I, " +
                QString::number(category) + " FROM N");
    TfrmMainPOS form;
    form.resize(1366, 768);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* tiles = Named<TProductTileView>(&form, "flowProducts");
    const auto buttons = form.findChildren<TCategoryGPButton*>();
    const auto button = std::find_if(buttons.begin(), buttons.end(),
                                     [category](auto* b) { return b->Tag == category; });
    QVERIFY(button != buttons.end());
    QTest::mouseClick(*button, Qt::LeftButton);
    QCOMPARE(tiles->TileCount(), TCatalogue::PartSize);
    QTRY_COMPARE(tiles->TileCount(), count);
    for (int i = 1; i < count; ++i) {
        const TCatalogueTile& a = tiles->Tile(i - 1);
        const TCatalogueTile& b = tiles->Tile(i);
        QVERIFY(a.StokAdi < b.StokAdi || (a.StokAdi == b.StokAdi && a.StokID < b.StokID));
    }
}

void TestProductCatalogue::tileTouch_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("lines");
    QTest::newRow("sold") << ""
                          << "" << 1;
    QTest::newRow("deleted after the tiles were drawn") << "UPDATE Stok SET IsDeleted = 1"
                                                        << "Ürün satıştan kaldırılmış: Ayran" << 0;
    QTest::newRow("closed for sale after the tiles were drawn") << "UPDATE Stok SET IsActive = 0"
                                                                << "Ürün satışa kapalı: Ayran" << 0;
    QTest::newRow("expired lot in stock")
        << "expired"
        << "Dikkat! Bu urunun son kullanma tarihi 01.03.2025 tarihinde gecmistir, "
           "islem yapilamaz!"
        << 0;
    QTest::newRow("weighed: the weight is asked") << "UPDATE Stok SET TartimliMi = 1, Birim = 'KG'"
                                                  << "Miktar giriniz (KG):" << 1;
}

void TestProductCatalogue::tileTouch()
{
    QFETCH(QString, change);
    QFETCH(QString, message);
    QFETCH(int, lines);
    const TFixedClock clock(QDateTime(QDate(2025, 3, 10), QTime(12, 0)));
    FShop = std::make_unique<TShopFixture>();
    const int ayran = FShop->AddProduct("Ayran", "8690000000001", 8, 1);
    FShop->LoginCashier();
    TfrmMainPOS form;
    form.resize(1366, 768);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* tiles = Named<TProductTileView>(&form, "flowProducts");
    QCOMPARE(TileNames(*tiles), QStringList{"Ayran"});

    if (change == "expired") {
        FShop->TrackExpiry(ayran, true);
        FShop->AddLot(ayran, 5, QDate(2025, 3, 1));
    } else if (!change.isEmpty()) {
        FShop->Exec(change + QString(" WHERE StokID = %1").arg(ayran));
    }
    TDialogAnswers answers;
    answers.Input("2,5");
    ClickTile(*tiles, 0);
    QCOMPARE(form.Cart().Count(), lines);
    QCOMPARE(answers.Count(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty())
        QCOMPARE(answers.Last().Text, message);
    if (change.contains("TartimliMi"))
        QCOMPARE(form.Cart().Items(0).Miktar(), 2.5);
}

// The weight of a touched tile is read as the barcode road reads it: "x" is refused with
// "Geçersiz miktar!", and a weight above its bound is confirmed before it enters the cart.
void TestProductCatalogue::tileWeight_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QString>("message"); // the window after the weight prompt; empty: none
    QTest::addColumn<double>("quantity"); // 0: no line
    QTest::newRow("a letter") << "x" << true << "Geçersiz miktar!" << 0.0;
    QTest::newRow("zero") << "0" << true << "Geçersiz miktar!" << 0.0;
    QTest::newRow("grouped") << "1.250" << true
                             << "Yüksek miktar: 1.250 KG Ayran. Devam edilsin mi?" << 1250.0;
    QTest::newRow("above the bound, declined")
        << "5000" << false << "Yüksek miktar: 5.000 KG Ayran. Devam edilsin mi?" << 0.0;
    QTest::newRow("decimal point") << "1.5" << false << "" << 1.5;
}

void TestProductCatalogue::tileWeight()
{
    QFETCH(QString, typed);
    QFETCH(bool, confirm);
    QFETCH(QString, message);
    QFETCH(double, quantity);
    FShop = std::make_unique<TShopFixture>();
    FShop->AddProduct("Ayran", "8690000000001", 8, 1, 17.75, true);
    FShop->LoginCashier();
    TfrmMainPOS form;
    form.resize(1366, 768);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* tiles = Named<TProductTileView>(&form, "flowProducts");
    TDialogAnswers answers;
    answers.Input(typed);
    if (confirm)
        answers.Ok();
    ClickTile(*tiles, 0);
    QCOMPARE(answers.Shown().first().Title, QString("Miktar"));
    QCOMPARE(answers.Count(), message.isEmpty() ? 1 : 2);
    if (!message.isEmpty())
        QCOMPARE(answers.Last().Text, message);
    QCOMPARE(form.Cart().Count(), quantity > 0 ? 1 : 0);
    if (quantity > 0)
        QCOMPARE(form.Cart().Items(0).Miktar(), quantity);
}

void TestProductCatalogue::categoriesOnScreen()
{
    FShop = std::make_unique<TShopFixture>();
    FShop->Exec("INSERT INTO Kategori (KategoriAdi, Sira) VALUES ('Süt Ürünleri', 2), "
                "('Temizlik_ve  Kağıt , Ürünleri Büyük Paketler Dahil', 1), ('Pasif', 3)");
    FShop->Exec("UPDATE Kategori SET IsActive = 0 WHERE KategoriAdi = 'Pasif'");
    FShop->AddProduct("Süt", "8690000000001", 20, 1);
    FShop->AddProduct("Deterjan", "8690000000002", 90, 20);
    FShop->Exec("UPDATE Stok SET KategoriID = (SELECT KategoriID FROM Kategori WHERE KategoriAdi "
                "= 'Süt Ürünleri') WHERE StokAdi = 'Süt'");
    FShop->LoginCashier();
    TfrmMainPOS form;
    form.resize(1366, 768);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(Named<QWidget>(&form, "pnlCategoryContainer")->width(), 213);
    QList<TCategoryGPButton*> buttons =
        Named<QWidget>(&form, "pnlCategoryList")->findChildren<TCategoryGPButton*>();
    std::sort(buttons.begin(), buttons.end(), [](auto* a, auto* b) { return a->y() < b->y(); });
    QCOMPARE(buttons.size(), 3);
    QCOMPARE(buttons[0]->text(), QString("TÜMÜ"));
    QCOMPARE(buttons[0]->Tag, 0);
    QCOMPARE(buttons[0]->geometry(), QRect(6, 6, 200, 48));
    QCOMPARE(buttons[1]->geometry(), QRect(6, 61, 200, 48));
    // The long name: blanks and "_" tidied, size 7, cut with "..."; the tooltip keeps it whole.
    QCOMPARE(buttons[1]->toolTip(), QString("Temizlik_ve  Kağıt , Ürünleri Büyük Paketler Dahil"));
    QCOMPARE(buttons[1]->font().pointSize(), 7);
    QVERIFY(buttons[1]->text().startsWith("Temizlik ve Kağıt, Ürünleri"));
    QVERIFY(buttons[1]->text().endsWith("..."));
    QCOMPARE(buttons[2]->text(), QString("Süt Ürünleri"));
    QCOMPARE(buttons[2]->font().pointSize(), 9);

    auto* tiles = Named<TProductTileView>(&form, "flowProducts");
    QCOMPARE(TileNames(*tiles), (QStringList{"Deterjan", "Süt"}));
    QTest::mouseClick(buttons[2], Qt::LeftButton);
    QCOMPARE(TileNames(*tiles), QStringList{"Süt"});
    QVERIFY(buttons[2]->font().bold());
    QVERIFY(!buttons[0]->font().bold());
    QTest::mouseClick(buttons[0], Qt::LeftButton);
    QCOMPARE(TileNames(*tiles), (QStringList{"Deterjan", "Süt"}));
    QTRY_VERIFY(tiles->PictureSettled(0));
    QVERIFY(!tiles->HasPicture(0));
}

// A font file in one of the six places is loaded for this process only, and unloaded with the
// screen.
void TestProductCatalogue::iconFontLoadedForTheScreen()
{
    FShop = std::make_unique<TShopFixture>();
    FShop->LoginCashier();
    QTemporaryDir work;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(work.path());
    const auto back = qScopeGuard([&previous] { QDir::setCurrent(previous); });
    {
        TfrmMainPOS form;
        QVERIFY(!form.TablerIconsFontLoaded());
    }
    const QString font = work.filePath("Source/Assets/TablerIcons/fonts/tabler-icons.ttf");
    QDir().mkpath(QFileInfo(font).path());
    QVERIFY(QFile::copy("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", font));
    {
        TfrmMainPOS form;
        QVERIFY(form.TablerIconsFontLoaded());
        QVERIFY(TIconFont::Loaded());
    }
    QVERIFY(!TIconFont::Loaded());
}

QTEST_MAIN(TestProductCatalogue)
#include "tst_ProductCatalogue.moc"
