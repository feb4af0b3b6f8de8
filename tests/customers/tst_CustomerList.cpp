#include "CustomerFixture.h"

#include "core/OwnedSchema.h"
#include "customers/CustomerList.h"
#include "support/ShopFixture.h"

#include <QtTest>

#include <memory>

using CustomerFixture::AddAccount;

namespace {
QStringList Codes(const QList<TCustomerRow>& rows)
{
    QStringList codes;
    for (const TCustomerRow& row : rows)
        codes << row.CariKodu;
    return codes;
}
} // namespace

// The accounts the customer list offers, its table and its column widths.
class TestCustomerList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void tableBroughtInOnce();
    void shortTableGainsTheCardColumns();
    void leavesOutSuppliersDeletedAndPassive();
    void filter_data();
    void filter();
    void turkishNameOrder();
    void columnWidths_data();
    void columnWidths();

private:
    std::unique_ptr<TShopFixture> FShop;
};

void TestCustomerList::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
}

void TestCustomerList::init()
{
    FShop = std::make_unique<TShopFixture>();
}

void TestCustomerList::cleanup()
{
    FShop.reset();
}

void TestCustomerList::tableBroughtInOnce()
{
    FShop->Exec("DROP TABLE CariKart");
    TCustomerList::EnsureCariKartTable();
    QVERIFY(TCustomerList::LoadCustomers("").isEmpty());
    const QString schema = "SELECT group_concat(name || ':' || IFNULL(sql, ''), ';') FROM "
                           "sqlite_master WHERE tbl_name = 'CariKart'";
    const QString first = FShop->Scalar(schema).toString();
    QVERIFY(first.contains("UX_CariKart_CariKodu"));
    for (const QString& column : OwnedSchema::CariKartListColumns())
        QVERIFY2(FShop->Count(
                     QString("pragma_table_info('CariKart') WHERE name = '%1'").arg(column)) == 1,
                 qPrintable(column));
    TCustomerList::EnsureCariKartTable();
    QCOMPARE(FShop->Scalar(schema).toString(), first);

    AddAccount({"C00001", "Ayşe Yılmaz"});
    QVERIFY_THROWS_EXCEPTION(std::exception, AddAccount({"C00001", "İkinci"}));
}

void TestCustomerList::shortTableGainsTheCardColumns()
{
    FShop->Exec("DROP TABLE CariKart");
    OwnedSchema::Run({OwnedSchema::CariKartShortTable});
    FShop->Exec("INSERT INTO CariKart (CariKodu, CariAdi, CariTipi) VALUES ('MUS-3', 'Eski', "
                "'MUSTERI')");
    TCustomerList::EnsureCariKartTable();
    QCOMPARE(FShop
                 ->Scalar("SELECT ParaBirimi || ':' || RiskLimiti || ':' || VadeGunu FROM "
                          "CariKart")
                 .toString(),
             QString("TRY:0.0:0"));
    QCOMPARE(Codes(TCustomerList::LoadCustomers("")), QStringList{"MUS-3"});
}

void TestCustomerList::leavesOutSuppliersDeletedAndPassive()
{
    CustomerFixture::UseLooseCariKart();
    TCustomerList::EnsureCariKartTable();
    AddAccount({"A1", "Alıcı"});
    AddAccount(TAccountRow("A2", "Tip yok").Tipi(QVariant()));
    AddAccount(TAccountRow("A3", "Aktiflik yok").Tipi("BAYI").Active(QVariant()));
    AddAccount(TAccountRow("T1", "Tedarik 1").Tipi("TEDARIKCI"));
    AddAccount(TAccountRow("T2", "Tedarik 2").Tipi("tedarikci"));
    AddAccount(TAccountRow("T3", "Tedarik 3").Tipi("Tedarikçi"));
    AddAccount(TAccountRow("T4", "Tedarik 4").Tipi("TEDARİKCİ"));
    AddAccount(TAccountRow("P1", "Pasif").Passive());
    AddAccount(TAccountRow("D1", "Silinmiş").Deleted());
    QCOMPARE(Codes(TCustomerList::LoadCustomers("")), (QStringList{"A3", "A1", "A2"}));
}

void TestCustomerList::filter_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("empty lists all") << "   " << QStringList{"C1", "C2", "C3", "C4", "C5", "C6"};
    QTest::newRow("code") << "c3" << QStringList{"C3"};
    QTest::newRow("name, Turkish i") << "istanbul" << QStringList{"C1"};
    QTest::newRow("name, Turkish dotless ı") << "IŞIK" << QStringList{"C2"};
    QTest::newRow("dotless ı is not i") << "isik" << QStringList{};
    QTest::newRow("ş and ğ fold by case only") << "ŞAHİN DAĞ" << QStringList{"C4"};
    QTest::newRow("phone fragment") << "555 12" << QStringList{"C2"};
    QTest::newRow("tax number fragment") << "405369" << QStringList{"C3"};
    QTest::newRow("national id fragment") << "0000146" << QStringList{"C4"};
    QTest::newRow("contact person") << "mehmet" << QStringList{"C1"};
    QTest::newRow("percent is a percent") << "%" << QStringList{"C5"};
    QTest::newRow("underscore is an underscore") << "a_b" << QStringList{"C6"};
    QTest::newRow("quote") << "O'Neil" << QStringList{"C5"};
    QTest::newRow("brackets") << "[x]" << QStringList{"C6"};
    QTest::newRow("statement text") << "'; DROP TABLE CariKart; --" << QStringList{};
    QTest::newRow("bracket pattern") << "[C]%" << QStringList{};
}

void TestCustomerList::filter()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, codes);
    AddAccount(TAccountRow("C1", "İSTANBUL GIDA").Telefon("0212 444 00 00").Yetkili("Mehmet Can"));
    AddAccount(TAccountRow("C2", "ışık market").Telefon("0555 123 45 67"));
    AddAccount(TAccountRow("C3", "Deniz Ltd.").Tipi("BAYI").VKN("4540536920"));
    AddAccount(TAccountRow("C4", "Şahin Dağ").TCKN("10000000146"));
    AddAccount({"C5", "O'Neil %10 İndirim"});
    AddAccount({"C6", "a_b [x] Ticaret"});
    QStringList found = Codes(TCustomerList::LoadCustomers(filter));
    found.sort();
    QCOMPARE(found, codes);
    QCOMPARE(FShop->Count("CariKart"), 6);
}

void TestCustomerList::turkishNameOrder()
{
    const QStringList shuffled{"Zeynep", "Çelik", "Cem",   "Işık", "İnci",
                               "Demir",  "Şahin", "Sevgi", "Ömer", "Oya"};
    for (const QString& name : shuffled)
        AddAccount({name.left(3), name});
    QStringList names;
    for (const TCustomerRow& row : TCustomerList::LoadCustomers(""))
        names << row.CariAdi;
    QCOMPARE(names, (QStringList{"Cem", "Çelik", "Demir", "Işık", "İnci", "Oya", "Ömer", "Sevgi",
                                 "Şahin", "Zeynep"}));
}

void TestCustomerList::columnWidths_data()
{
    QTest::addColumn<int>("available");
    QTest::addColumn<QList<int>>("widths");
    QTest::newRow("the weights") << 930 << QList<int>{70, 130, 430, 170, 130};
    QTest::newRow("rounded, rest to the balance") << 881 << QList<int>{66, 123, 407, 161, 124};
    QTest::newRow("no room") << 0 << QList<int>{};
    QTest::newRow("less than none") << -20 << QList<int>{};
}

void TestCustomerList::columnWidths()
{
    QFETCH(int, available);
    QFETCH(QList<int>, widths);
    QCOMPARE(TCustomerList::ColumnWidths(available), widths);
}

QTEST_GUILESS_MAIN(TestCustomerList)
#include "tst_CustomerList.moc"
