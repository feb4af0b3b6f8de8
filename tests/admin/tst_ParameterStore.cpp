#include "admin/ParameterStore.h"
#include "core/AppSettingsManager.h"
#include "core/Exceptions.h"
#include "support/TestDatabase.h"

#include <QtTest>

namespace {
using TRows = QList<TParameterRow>;

QString Stored(TTestDatabase& db, const QString& key)
{
    return db
        .Scalar(QString("SELECT ParamValue FROM SistemParametre WHERE ParamKey = '%1'").arg(key))
        .toString();
}
} // namespace

// What the parameters editor stores: the seconds box, the rows it skips, and the values it
// refuses because the program would not read them as the number typed.
class TestParameterStore : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        UseTestPaths();
        UseTurkishLocale();
    }
    void secondsFromText_data();
    void secondsFromText();
    void numberValues_data();
    void numberValues();
    void numbersStoredAsDigits();
    void refusedSaveStoresNothing();
    void saveSkipsEmptyAndBoxKeys();
    void loadSortsByKey();
};

void TestParameterStore::secondsFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("seconds");
    QTest::newRow("0 stores 1") << "0" << 1;
    QTest::newRow("500 stores 60") << "500" << 60;
    QTest::newRow("abc stores 3") << "abc" << 3;
    QTest::newRow("empty stores 3") << "" << 3;
    QTest::newRow("blanks around") << " 7 " << 7;
    QTest::newRow("negative") << "-5" << 1;
}

void TestParameterStore::secondsFromText()
{
    QFETCH(QString, text);
    QFETCH(int, seconds);
    QCOMPARE(TParameterStore::SecondsFromText(text), seconds);
}

void TestParameterStore::numberValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("accepted");
    const QString sale = "SaleSuccessMessageSeconds";
    QTest::newRow("in range") << sale << "15" << true;
    QTest::newRow("lowest") << sale << "1" << true;
    QTest::newRow("highest, blanks around") << sale << " 60 " << true;
    QTest::newRow("not a number") << sale << "abc" << false;
    QTest::newRow("empty") << sale << "" << false;
    QTest::newRow("decimal") << sale << "2,5" << false;
    QTest::newRow("below range") << sale << "0" << false;
    QTest::newRow("above range") << sale << "61" << false;
    QTest::newRow("key in other letter case") << " salesuccessmessageseconds "
                                              << "x" << false;
    QTest::newRow("box key is the box's business") << "BarcodeNotFoundMessageSeconds"
                                                   << "x" << true;
    QTest::newRow("other keys are text") << "YaziciAdi"
                                         << "abc" << true;
    const QString units = "MaxQuantityUnits";
    const QString kg = "MaxQuantityKg";
    QTest::newRow("units bound") << units << "9999" << true;
    QTest::newRow("units bound typed the Turkish way") << units << "1.500" << true;
    QTest::newRow("units bound at the hard limit") << units << "1.000.000" << true;
    QTest::newRow("units bound above the hard limit") << units << "1000001" << false;
    QTest::newRow("units bound below the floor") << units << "99" << false;
    QTest::newRow("kg bound with decimals") << kg << "999,5" << false;
    QTest::newRow("kg bound with an exponent") << kg << "1e3" << false;
    QTest::newRow("kg bound") << kg << "250" << true;
}

void TestParameterStore::numberValues()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, accepted);
    const QString refusal = TParameterStore::CheckRows({{"Baska", "x", ""}, {key, value, ""}});
    QCOMPARE(refusal.isEmpty(), accepted);
    if (!accepted) {
        const TNumberParameter parameter = TAppSettingsManager::FindNumberParameter(key).value();
        QVERIFY2(refusal.contains(parameter.Key), qPrintable(refusal));
        QVERIFY2(refusal.contains(QString("%1 ile %2").arg(parameter.Min).arg(parameter.Max)),
                 qPrintable(refusal));
    }
}

// A number typed the Turkish way is stored in plain digits, so a till with other regional
// settings reads the same number.
void TestParameterStore::numbersStoredAsDigits()
{
    TTestDatabase db;
    TParameterStore::Save(5, {{"MaxQuantityUnits", "1.500", ""},
                              {"SaleSuccessMessageSeconds", " 08 ", ""},
                              {"YaziciAdi", "1.500", ""}});
    QCOMPARE(Stored(db, "MaxQuantityUnits"), QString("1500"));
    QCOMPARE(Stored(db, "SaleSuccessMessageSeconds"), QString("8"));
    QCOMPARE(Stored(db, "YaziciAdi"), QString("1.500"));
    QLocale::setDefault(QLocale::c());
    QCOMPARE(TAppSettingsManager::GetInt("MaxQuantityUnits", 9999, 100, 1000000), 1500);
    UseTurkishLocale();
}

void TestParameterStore::refusedSaveStoresNothing()
{
    TTestDatabase db;
    TAppSettingsManager::EnsureDefaults();
    const int before = db.Count("SistemParametre");
    QVERIFY_THROWS_EXCEPTION(ERefusal,
                             TParameterStore::Save(9, {{"YeniAnahtar", "1", ""},
                                                       {"SaleSuccessMessageSeconds", "abc", ""}}));
    QCOMPARE(db.Count("SistemParametre"), before);
    QCOMPARE(Stored(db, "BarcodeNotFoundMessageSeconds"), QString("3"));
    QCOMPARE(Stored(db, "SaleSuccessMessageSeconds"), QString("3"));
    QCOMPARE(TAppSettingsManager::GetInt("SaleSuccessMessageSeconds", 3, 1, 60), 3);
}

void TestParameterStore::saveSkipsEmptyAndBoxKeys()
{
    TTestDatabase db;
    TAppSettingsManager::EnsureDefaults();
    TParameterStore::Save(4, {{"  ", "x", "y"},
                              {"BarcodeNotFoundMessageSeconds", "9", ""},
                              {"barcodenotfoundmessageseconds", "12", ""},
                              {" YeniAnahtar ", "", " Açıklama "},
                              {"SaleSuccessMessageSeconds", " 8 ", "d"}});
    QCOMPARE(Stored(db, "BarcodeNotFoundMessageSeconds"), QString("4"));
    QCOMPARE(db.Count("SistemParametre WHERE lower(ParamKey) = 'barcodenotfoundmessageseconds'"),
             1);
    QCOMPARE(Stored(db, "YeniAnahtar"), QString(""));
    QCOMPARE(db.Scalar("SELECT Description FROM SistemParametre WHERE ParamKey = 'YeniAnahtar'")
                 .toString(),
             QString("Açıklama"));
    QCOMPARE(Stored(db, "SaleSuccessMessageSeconds"), QString("8"));
    QCOMPARE(db.Count("SistemParametre"), 5);
}

void TestParameterStore::loadSortsByKey()
{
    TTestDatabase db;
    TAppSettingsManager::EnsureDefaults();
    db.Exec("INSERT INTO SistemParametre (ParamKey, ParamValue, Description) "
            "VALUES ('AAA', NULL, NULL)");
    const TRows rows = TParameterStore::Load();
    QCOMPARE(rows.size(), 5);
    QCOMPARE(rows.at(0).Key, QString("AAA"));
    QCOMPARE(rows.at(0).Value, QString());
    QCOMPARE(rows.at(0).Description, QString());
    QCOMPARE(rows.at(1).Key, QString("BarcodeNotFoundMessageSeconds"));
    QCOMPARE(rows.at(2).Key, QString("MaxQuantityKg"));
    QCOMPARE(rows.at(3).Key, QString("MaxQuantityUnits"));
    QCOMPARE(rows.at(4).Key, QString("SaleSuccessMessageSeconds"));
}

QTEST_GUILESS_MAIN(TestParameterStore)
#include "tst_ParameterStore.moc"
