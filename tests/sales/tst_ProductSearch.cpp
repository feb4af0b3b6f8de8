#include "core/DataModule.h"
#include "core/SessionManager.h"
#include "database/SqliteProductIndex.h"
#include "sales/ProductSearch.h"
#include "support/ShopFixture.h"

#include <QtTest>

namespace {
struct TProduct {
    const char* Name;
    bool Active = true;
    bool Deleted = false;
};

// Names chosen for Turkish letter case, SQL metacharacters and the order of equal-looking
// names; the last two are never sold.
const TProduct kProducts[] = {{"SÜT 1 L"},         {"Süt Tozu"},
                              {"Yayla süt"},       {"IRMAK Su"},
                              {"ılık Çay"},        {"İNCİR Reçeli"},
                              {"incir kuru"},      {"Irmik"},
                              {"Kutu [Büyük]"},    {"O'Neil Sos"},
                              {"100% Meyve Suyu"}, {"a_b Kalem"},
                              {"Sut Kremasi"},     {"SİLİNMİŞ Süt", true, true},
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

// The shop's products: the first `built` of them in the index, the others waiting in its queue.
void AddProducts(TShopFixture& shop, int built)
{
    for (int i = 0; i < int(std::size(kProducts)); ++i) {
        if (i == built)
            TSqliteProductIndex::Rebuild();
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
    return {"100% Meyve Suyu", "IRMAK Su",     "Irmik",    "Kutu [Büyük]", "O'Neil Sos",
            "Sut Kremasi",     "SÜT 1 L",      "Süt Tozu", "Yayla süt",    "a_b Kalem",
            "incir kuru",      "İNCİR Reçeli", "ılık Çay"};
}
} // namespace

// The product search on the embedded engine: the statement comparing folded texts, and the
// engine's index with products built into it, waiting in its queue, or both.
class TestProductSearch : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { UseTurkishLocale(); }
    void turkishFoldingAndMetacharacters_data();
    void turkishFoldingAndMetacharacters();
    void serverLikeValue_data();
    void serverLikeValue();
    void rowsCarryPriceAndBranchStock();
    void indexFollowsChanges();
    void largeCatalogueAgreesWithStatement();
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
    const QStringList dotted{"Irmik", "O'Neil Sos", "Sut Kremasi", "incir kuru", "İNCİR Reçeli"};
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
    QTest::newRow("deleted never, by barcode") << Barcode(13) << QStringList{};
    QTest::newRow("passive never, by barcode") << Barcode(14) << QStringList{};
}

// Every road gives the same rows in the same order: the statement, the index with half of the
// products built in and half queued, and the index built whole.
void TestProductSearch::turkishFoldingAndMetacharacters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, names);
    TShopFixture shop;
    AddProducts(shop, int(std::size(kProducts)) / 2);
    const int sube = shop.SubeID();
    QCOMPARE(Names(TProductSearch::SearchByStatement(filter, sube)), names);
    QCOMPARE(Names(TProductSearch::Search(filter, sube)), names);
    TSqliteProductIndex::Rebuild();
    QCOMPARE(Names(TProductSearch::Search(filter, sube)), names);
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
    for (bool built : {false, true}) {
        if (built)
            TSqliteProductIndex::Rebuild();
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

// Products changed after the index was built are found as they are now, merged by name.
void TestProductSearch::indexFollowsChanges()
{
    TShopFixture shop;
    const int milk = shop.AddProduct("Süt", "8690000000001", 10, 1);
    const int yoghurt = shop.AddProduct("Yoğurt", "8690000000002", 10, 1);
    const int cheese = shop.AddProduct("Peynir", "8690000000003", 10, 1);
    TSqliteProductIndex::Rebuild();
    QCOMPARE(TSqliteProductIndex::QueuedChanges(), 0);
    const int sube = shop.SubeID();
    shop.Exec(QString("UPDATE Stok SET StokAdi = 'Ayran' WHERE StokID = %1").arg(yoghurt));
    shop.Exec(QString("UPDATE Stok SET IsDeleted = 1 WHERE StokID = %1").arg(milk));
    shop.Exec(QString("UPDATE Stok SET SatisFiyati = 12 WHERE StokID = %1").arg(cheese));
    QCOMPARE(TSqliteProductIndex::QueuedChanges(), 2);
    shop.AddProduct("Beyaz Peynir", "8690000000004", 10, 1);
    QCOMPARE(Names(TProductSearch::Search("", sube)),
             (QStringList{"Ayran", "Beyaz Peynir", "Peynir"}));
    QCOMPARE(Names(TProductSearch::Search("yoğ", sube)), QStringList{});
    QCOMPARE(Names(TProductSearch::Search("peynir", sube)),
             (QStringList{"Beyaz Peynir", "Peynir"}));
    shop.Exec(QString("UPDATE Stok SET IsDeleted = 0 WHERE StokID = %1").arg(milk));
    QCOMPARE(Names(TProductSearch::Search("", sube)),
             (QStringList{"Ayran", "Beyaz Peynir", "Peynir", "Süt"}));
    shop.Exec(QString("DELETE FROM Stok WHERE StokID = %1").arg(cheese));
    QCOMPARE(Names(TProductSearch::Search("peynir", sube)), QStringList{"Beyaz Peynir"});
}

// A catalogue larger than the index's short lists and than the 250 rows of a search: every road
// of the index (three-letter pieces, the lists of one- and two-letter pieces and the reading on
// past them, wildcards) against the statement, with changes waiting in the queue.
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
                if (n == 1200)
                    TSqliteProductIndex::Rebuild();
            }
        }
    }
    shop.Exec("UPDATE Stok SET StokAdi = StokAdi || ' Yeni' WHERE StokID % 41 = 0");
    shop.Exec("UPDATE Stok SET IsActive = 0 WHERE StokID % 37 = 0");
    shop.Exec("UPDATE Stok SET IsDeleted = 1 WHERE StokID % 43 = 0");
    const int sube = shop.SubeID();
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
        const QList<TProductSearchRow> expected = TProductSearch::SearchByStatement(filter, sube);
        QVERIFY2(Ids(TProductSearch::Search(filter, sube)) == Ids(expected), qPrintable(filter));
        QVERIFY(expected.size() <= TProductSearch::MaxRows);
    }
    QCOMPARE(TProductSearch::Search("s", sube).size(), TProductSearch::MaxRows);
}

QTEST_GUILESS_MAIN(TestProductSearch)
#include "tst_ProductSearch.moc"
