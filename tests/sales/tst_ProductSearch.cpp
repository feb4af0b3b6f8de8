#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/SessionManager.h"
#include "database/SqliteSearchKey.h"
#include "sales/ProductSearch.h"
#include "support/ShopFixture.h"

#include <QSqlQuery>
#include <QtTest>

namespace {
struct TProduct {
    const char* Name;
    bool Active = true;
    bool Deleted = false;
};

// Names chosen for Turkish letter case, SQL metacharacters and the order of equal-looking
// names; the last two are never sold.
const TProduct kProducts[] = {
    {"SÜT 1 L"},         {"Süt Tozu"},        {"Yayla süt"},
    {"IRMAK Su"},        {"ılık Çay"},        {"İNCİR Reçeli"},
    {"incir kuru"},      {"Irmik"},           {"Kutu [Büyük]"},
    {"O'Neil Sos"},      {"100% Meyve Suyu"}, {"a_b Kalem"},
    {"Sut Kremasi"},     {"Éclair Kek"},      {"SİLİNMİŞ Süt", true, true},
    {"PASİF Süt", false}};

QString Barcode(int i)
{
    return QString("86990000000%1").arg(i + 1, 2, 10, QLatin1Char('0'));
}

QStringList Names(const QList<TProductSearchRow>& rows)
{
    QStringList names;
    for (const TProductSearchRow& row : rows)
        names << row.StokAdi;
    return names;
}

QList<int> Ids(const QList<TProductSearchRow>& rows)
{
    QList<int> ids;
    for (const TProductSearchRow& row : rows)
        ids << row.StokID;
    return ids;
}

// Leaves the products to the search key's fill, as in a file that held them before the key:
// the fill has not begun, the triggers key none of them, those keyed so far keep their pieces.
void LeaveTheRestToTheFill(TShopFixture& shop)
{
    shop.Exec("UPDATE AramaDurum SET DoluAd = '', DoluID = 0 WHERE Tablo = 'Stok'");
}

bool KeyComplete(TShopFixture& shop)
{
    return shop.Scalar("SELECT DoluID FROM AramaDurum WHERE Tablo = 'Stok'").isNull();
}

// The key's rows as text, to compare the triggers' work with the fill's.
QString KeyRows()
{
    QString rows;
    TDbQuery pieces("SELECT Parca, hex(Kova), StokID FROM StokParca ORDER BY 1, 2, 3");
    pieces.Exec();
    while (pieces.Next())
        rows += QString("%1|%2|%3\n")
                    .arg(pieces.Value(0).toString(), pieces.Value(1).toString(),
                         pieces.Value(2).toString());
    TDbQuery counts("SELECT Parca, Adet FROM StokParcaAdet ORDER BY 1");
    counts.Exec();
    while (counts.Next())
        rows += QString("%1=%2\n").arg(counts.Value(0).toString(), counts.Value(1).toString());
    return rows;
}

// The key as the fill writes it from the catalogue as it stands.
QString FilledKeyRows(TShopFixture& shop)
{
    shop.Exec("DELETE FROM StokParca");
    shop.Exec("DELETE FROM StokParcaAdet");
    LeaveTheRestToTheFill(shop);
    SqliteSearchKey::FillNow();
    return KeyRows();
}

// The shop's products: the first `keyed` of them keyed by the triggers, the others left to the
// search key's fill.
void AddProducts(TShopFixture& shop, int keyed)
{
    for (int i = 0; i < int(std::size(kProducts)); ++i) {
        if (i == keyed)
            LeaveTheRestToTheFill(shop);
        const int id = shop.AddProduct(QString::fromUtf8(kProducts[i].Name), Barcode(i), 10, 20);
        if (!kProducts[i].Active || kProducts[i].Deleted)
            shop.Exec(QString("UPDATE Stok SET IsActive = %1, IsDeleted = %2 WHERE StokID = %3")
                          .arg(kProducts[i].Active ? 1 : 0)
                          .arg(kProducts[i].Deleted ? 1 : 0)
                          .arg(id));
    }
}

QStringList AllSold()
{
    return {"100% Meyve Suyu", "IRMAK Su",   "Irmik",        "Kutu [Büyük]", "O'Neil Sos",
            "Sut Kremasi",     "SÜT 1 L",    "Süt Tozu",     "Yayla süt",    "a_b Kalem",
            "incir kuru",      "Éclair Kek", "İNCİR Reçeli", "ılık Çay"};
}
} // namespace

// The product search on the embedded engines: the plain statement comparing folded texts, and
// the search key with products kept by its triggers, left to its fill, or both.
class TestProductSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { UseTurkishLocale(); }
    void turkishFoldingAndMetacharacters_data();
    void turkishFoldingAndMetacharacters();
    void serverLikeValue_data();
    void serverLikeValue();
    void rowsCarryPriceAndBranchStock();
    void keyFollowsChanges();
    void largeCatalogueAgreesWithStatement();
    void namesThatBeginAlike();
    void openingLeavesALongFillToTheFiller();
    void earlierIndexGoes();
};

void TestProductSearch::turkishFoldingAndMetacharacters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("süt") << "süt" << QStringList{"SÜT 1 L", "Süt Tozu", "Yayla süt"};
    QTest::newRow("SÜT") << "SÜT" << QStringList{"SÜT 1 L", "Süt Tozu", "Yayla süt"};
    QTest::newRow("blanks round it") << "  Süt " << QStringList{"SÜT 1 L", "Süt Tozu", "Yayla süt"};
    QTest::newRow("u is not ü") << "sut" << QStringList{"Sut Kremasi"};
    QTest::newRow("ı finds I") << "ı" << QStringList{"IRMAK Su", "Irmik", "ılık Çay"};
    QTest::newRow("I finds ı") << "I" << QStringList{"IRMAK Su", "Irmik", "ılık Çay"};
    const QStringList dotted{"Irmik",      "O'Neil Sos", "Sut Kremasi",
                             "incir kuru", "Éclair Kek", "İNCİR Reçeli"};
    QTest::newRow("i finds İ") << "i" << dotted;
    QTest::newRow("İ finds i") << "İ" << dotted;
    QTest::newRow("irmak is not ırmak") << "irmak" << QStringList{};
    QTest::newRow("ırmak") << "ırmak" << QStringList{"IRMAK Su"};
    QTest::newRow("ÇAY") << "ÇAY" << QStringList{"ılık Çay"};
    QTest::newRow("empty lists all") << "" << AllSold();
    QTest::newRow("percent lists all") << "%" << AllSold();
    QTest::newRow("underscore lists all") << "_" << AllSold();
    QTest::newRow("underscore is one letter")
        << "s_t" << QStringList{"Sut Kremasi", "SÜT 1 L", "Süt Tozu", "Yayla süt"};
    QTest::newRow("percent joins") << "yay%süt" << QStringList{"Yayla süt"};
    QTest::newRow("percent typed") << "100%" << QStringList{"100% Meyve Suyu"};
    QTest::newRow("underscore typed") << "a_b" << QStringList{"a_b Kalem"};
    QTest::newRow("opening bracket") << "[" << QStringList{"Kutu [Büyük]"};
    QTest::newRow("brackets") << "[BÜYÜK]" << QStringList{"Kutu [Büyük]"};
    QTest::newRow("bracket class is text") << "[a]" << QStringList{};
    QTest::newRow("quote") << "o'n" << QStringList{"O'Neil Sos"};
    QTest::newRow("double quote") << "\"" << QStringList{};
    QTest::newRow("statement breaker") << "'; DROP TABLE Stok; --" << QStringList{};
    QTest::newRow("full barcode") << Barcode(2) << QStringList{"Yayla süt"};
    QTest::newRow("stock code, other case") << "k-" + Barcode(3) << QStringList{"IRMAK Su"};
    QTest::newRow("deleted never, by barcode") << Barcode(14) << QStringList{};
    QTest::newRow("passive never, by barcode") << Barcode(15) << QStringList{};
    // "É" is a capital the key keeps as it is: such letters are looked for through other pieces.
    QTest::newRow("accented capital, small") << "é" << QStringList{"Éclair Kek"};
    QTest::newRow("accented capital, word") << "éclair kek" << QStringList{"Éclair Kek"};
    QTest::newRow("accented capital, capitals") << "ÉCLAİR" << QStringList{"Éclair Kek"};
    QTest::newRow("I is not i after é") << "ÉCLAIR" << QStringList{};
}

// Every road gives the same rows in the same order, each search one statement: the plain
// statement, the key with half of the products kept by its triggers and half left to its fill,
// and the key filled.
void TestProductSearch::turkishFoldingAndMetacharacters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, names);
    TShopFixture shop;
    AddProducts(shop, int(std::size(kProducts)) / 2);
    const int sube = shop.SubeID();
    QCOMPARE(Names(TProductSearch::SearchByStatement(filter, sube)), names);
    QCOMPARE(Names(TProductSearch::Search(filter, sube)), names);
    SqliteSearchKey::FillNow();
    QVERIFY(KeyComplete(shop));
    const int before = dmMain->RoundTrips().Count();
    QCOMPARE(Names(TProductSearch::Search(filter, sube)), names);
    QCOMPARE(dmMain->RoundTrips().Count() - before, 1);
    QCOMPARE(shop.Count("Stok"), int(std::size(kProducts)));
}

void TestProductSearch::serverLikeValue_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("server");
    QTest::addColumn<QString>("sqlite");
    QTest::newRow("collation folds on the server") << "SÜT"
                                                   << "%SÜT%"
                                                   << "%süt%";
    QTest::newRow("bracket is the bracket") << "[a]"
                                            << "%[[]a]%"
                                            << "%[a]%";
    QTest::newRow("wildcards stay") << "a_b%"
                                    << "%a_b%%"
                                    << "%a_b%%";
    QTest::newRow("quote stays a value") << "o'n"
                                         << "%o'n%"
                                         << "%o'n%";
}

void TestProductSearch::serverLikeValue()
{
    QFETCH(QString, filter);
    QFETCH(QString, server);
    QFETCH(QString, sqlite);
    QCOMPARE(TProductSearch::StatementLikeValue(filter, false), server);
    QCOMPARE(TProductSearch::StatementLikeValue(filter, true), sqlite);
}

void TestProductSearch::rowsCarryPriceAndBranchStock()
{
    TShopFixture shop;
    const int id = shop.AddProduct("Yayla Süt", "8690000000001", 32.5, 1, 0);
    const int other = shop.AddBranch("KADIKÖY");
    shop.Exec(QString("INSERT INTO SubeStok (SubeID, StokID, MevcutStok) VALUES (%1, %2, 12.5), "
                      "(%3, %2, 7)")
                  .arg(shop.SubeID())
                  .arg(id)
                  .arg(other));
    LeaveTheRestToTheFill(shop);
    for (bool filled : {false, true}) {
        if (filled)
            SqliteSearchKey::FillNow();
        const QList<TProductSearchRow> rows = TProductSearch::Search("süt", shop.SubeID());
        QCOMPARE(rows.size(), 1);
        QCOMPARE(rows[0].StokID, id);
        QCOMPARE(rows[0].Barkod, QString("8690000000001"));
        QCOMPARE(rows[0].StokKodu, QString("K-8690000000001"));
        QCOMPARE(rows[0].Birim, QString("ADET"));
        QCOMPARE(rows[0].SatisFiyati, 32.5);
        QCOMPARE(rows[0].MevcutStok, 12.5);
    }
}

// Products added, renamed, deleted, revived and removed are found as they are now, and the
// triggers keep the key exactly as the fill would write it from the catalogue as it stands.
void TestProductSearch::keyFollowsChanges()
{
    TShopFixture shop;
    const int milk = shop.AddProduct("Süt", "8690000000001", 10, 1);
    const int yoghurt = shop.AddProduct("Yoğurt", "8690000000002", 10, 1);
    const int cheese = shop.AddProduct("Peynir", "8690000000003", 10, 1);
    QVERIFY(KeyComplete(shop));
    const int sube = shop.SubeID();
    shop.Exec(QString("UPDATE Stok SET StokAdi = 'Ayran' WHERE StokID = %1").arg(yoghurt));
    shop.Exec(QString("UPDATE Stok SET IsDeleted = 1 WHERE StokID = %1").arg(milk));
    shop.Exec(QString("UPDATE Stok SET SatisFiyati = 12 WHERE StokID = %1").arg(cheese));
    shop.AddProduct("Beyaz Peynir", "8690000000004", 10, 1);
    QCOMPARE(Names(TProductSearch::Search("", sube)),
             (QStringList{"Ayran", "Beyaz Peynir", "Peynir"}));
    QCOMPARE(Names(TProductSearch::Search("yoğ", sube)), QStringList{});
    QCOMPARE(Names(TProductSearch::Search("ayr", sube)), QStringList{"Ayran"});
    QCOMPARE(Names(TProductSearch::Search("peynir", sube)),
             (QStringList{"Beyaz Peynir", "Peynir"}));
    shop.Exec(QString("UPDATE Stok SET IsDeleted = 0 WHERE StokID = %1").arg(milk));
    QCOMPARE(Names(TProductSearch::Search("süt", sube)), QStringList{"Süt"});
    shop.Exec(QString("DELETE FROM Stok WHERE StokID = %1").arg(cheese));
    QCOMPARE(Names(TProductSearch::Search("peynir", sube)), QStringList{"Beyaz Peynir"});
    shop.Exec(QString("UPDATE Stok SET Barkod = NULL, StokKodu = 'X' WHERE StokID = %1").arg(milk));
    QCOMPARE(Names(TProductSearch::Search("x", sube)), QStringList{"Süt"});
    QCOMPARE(Names(TProductSearch::Search("8690000000001", sube)), QStringList{});
    shop.Exec(QString("UPDATE Stok SET StokID = 900 WHERE StokID = %1").arg(yoghurt));
    QCOMPARE(Ids(TProductSearch::Search("ayran", sube)), QList<int>{900});
    const QString kept = KeyRows();
    QCOMPARE(kept, FilledKeyRows(shop));
    QVERIFY(!kept.contains(QString("|%1\n").arg(cheese)));
}

// A catalogue larger than the 250 rows of a search and with names that begin alike: every road
// of the key (three-letter pieces read in name order with the names that begin as the last one
// read, one- and two-letter terms through the pieces that hold them or the plain statement,
// wildcards) against the plain statement, while more products than the earlier index rebuilt
// for (1,000 and a hundredth of the catalogue) wait for the fill, and once it is done.
void TestProductSearch::largeCatalogueAgreesWithStatement()
{
    TShopFixture shop;
    const QStringList brands{"Yayla", "Ilgaz", "Çamlık", "İpek", "Ova", "Gündoğdu"};
    const QStringList kinds{"Süt", "Irmik", "Çay", "İncir", "Yoğurt", "Su", "Şeker", "Kek"};
    int n = 0;
    for (int round = 0; round < 30; ++round) {
        for (const QString& brand : brands) {
            for (const QString& kind : kinds) {
                ++n;
                shop.AddProduct(QString("%1 %2 %3").arg(brand, kind).arg(round % 7 + 1),
                                QString("8690%1").arg(n, 9, 10, QLatin1Char('0')), 10, 1);
                if (n == 200)
                    LeaveTheRestToTheFill(shop);
            }
        }
    }
    shop.Exec("UPDATE Stok SET StokAdi = StokAdi || ' Yeni' WHERE StokID % 41 = 0");
    shop.Exec("UPDATE Stok SET IsActive = 0 WHERE StokID % 37 = 0");
    shop.Exec("UPDATE Stok SET IsDeleted = 1 WHERE StokID % 43 = 0");
    const int sube = shop.SubeID();
    QCOMPARE(shop.Count("Stok WHERE StokID > 200"), 1240);
    for (bool filled : {false, true}) {
        if (filled)
            SqliteSearchKey::FillNow();
        for (const QString& filter : QStringList{"",
                                                 "s",
                                                 "ü",
                                                 "I",
                                                 "i",
                                                 "yo",
                                                 "ça",
                                                 "süt",
                                                 "ILGAZ ÇAY",
                                                 "ipek",
                                                 "İNCİR 7",
                                                 "yeni",
                                                 "gündoğdu su 3",
                                                 "k_k",
                                                 "y%t",
                                                 "%",
                                                 "__",
                                                 "8690000001",
                                                 "qq",
                                                 "zzz"}) {
            const QList<TProductSearchRow> expected =
                TProductSearch::SearchByStatement(filter, sube);
            QVERIFY2(Ids(TProductSearch::Search(filter, sube)) == Ids(expected),
                     qPrintable(filter));
            QVERIFY(expected.size() <= TProductSearch::MaxRows);
        }
    }
    QCOMPARE(TProductSearch::Search("s", sube).size(), TProductSearch::MaxRows);
    QCOMPARE(KeyRows(), FilledKeyRows(shop));
}

// More than 250 matches whose names agree in their first 16 bytes, added in the reverse order of
// their names: the key reads them in the order it keeps for equal beginnings (their ids), so the
// first 250 by name are found only with the rest of those names read too.
void TestProductSearch::namesThatBeginAlike()
{
    TShopFixture shop;
    for (int i = 300; i >= 1; --i)
        shop.AddProduct(QString("Çamlık Şeker Küp %1").arg(i, 3, 10, QLatin1Char('0')),
                        QString("8695%1").arg(i, 9, 10, QLatin1Char('0')), 10, 1);
    const int sube = shop.SubeID();
    for (const QString& filter : {QString("şeker"), QString("küp"), QString("ÇAMLIK")}) {
        const QList<TProductSearchRow> rows = TProductSearch::Search(filter, sube);
        QCOMPARE(Ids(rows), Ids(TProductSearch::SearchByStatement(filter, sube)));
        QCOMPARE(rows.size(), TProductSearch::MaxRows);
        QCOMPARE(rows.first().StokAdi, QString("Çamlık Şeker Küp 001"));
    }
}

// Opening a file whose key has a long fill left neither fills it nor waits for it: the filler
// does it on its own connection, away from the window, and the searches stay exact meanwhile.
void TestProductSearch::openingLeavesALongFillToTheFiller()
{
    TShopFixture shop;
    LeaveTheRestToTheFill(shop);
    shop.Exec("WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < 3000) "
              "INSERT INTO Stok (StokKodu, StokAdi, Barkod) SELECT 'K' || I, 'Ürün ' || I, "
              "'8691' || I FROM N");
    QVERIFY(SqliteSearchKey::Prepare());
    QCOMPARE(shop.Scalar("SELECT DoluAd || '|' || DoluID FROM AramaDurum WHERE Tablo = 'Stok'"),
             QVariant("|0"));
    QCOMPARE(shop.Count("StokParca"), 0);
    const int sube = shop.SubeID();
    QCOMPARE(Names(TProductSearch::Search("ürün 2999", sube)), QStringList{"Ürün 2999"});
    shop.Database().Db().Disconnect();
    shop.Database().Db().Connect();
    QTRY_VERIFY_WITH_TIMEOUT(KeyComplete(shop), 30000);
    QCOMPARE(Names(TProductSearch::Search("ürün 2999", sube)), QStringList{"Ürün 2999"});
    QCOMPARE(KeyRows(), FilledKeyRows(shop));
}

// A file of the earlier product index loses its triggers when it opens, its tables with the
// fill.
void TestProductSearch::earlierIndexGoes()
{
    TShopFixture shop;
    shop.AddProduct("Süt", "8690000000001", 10, 1);
    shop.Exec("CREATE TABLE StokAramaKuyruk (KuyrukID INTEGER PRIMARY KEY, StokID INTEGER NOT "
              "NULL)");
    shop.Exec("CREATE TABLE StokArama (Sira INTEGER PRIMARY KEY, StokID INTEGER NOT NULL)");
    // As SQLite takes it: the dialect would split the trigger's body at its semicolon.
    QVERIFY(QSqlQuery(dmMain->Database())
                .exec("CREATE TRIGGER trg_StokArama_Ekle AFTER INSERT ON Stok BEGIN INSERT INTO "
                      "StokAramaKuyruk (StokID) VALUES (NEW.StokID); END"));
    shop.Database().Db().Disconnect();
    shop.Database().Db().Connect();
    QVERIFY(shop.Scalar("SELECT 1 FROM sqlite_master WHERE name = 'trg_StokArama_Ekle'").isNull());
    QTRY_VERIFY_WITH_TIMEOUT(
        shop.Scalar("SELECT 1 FROM sqlite_master WHERE name LIKE 'StokArama%'").isNull(), 30000);
    QCOMPARE(Names(TProductSearch::Search("süt", shop.SubeID())), QStringList{"Süt"});
}

QTEST_GUILESS_MAIN(TestProductSearch)
#include "tst_ProductSearch.moc"
