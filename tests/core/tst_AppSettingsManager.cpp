#include "core/AppSettingsManager.h"
#include "core/DbQuery.h"
#include "support/TestDatabase.h"

#include <QtTest>

// Parameters against a real SQLite file.
class TestAppSettingsManager : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void getIntClamps_data();
    void getIntClamps();
    void defaultOutsideRangeIsClamped();
    void readersNeverRaise();
    void missingTableIsCreated();
    void ensureDefaultsKeepsExistingValue();
    void setValueInsertsThenUpdates();
};

static void Store(const QString& key, const QVariant& value)
{
    TDbQuery q("INSERT INTO SistemParametre (ParamKey, ParamValue) VALUES (:K, :V)");
    q.Param("K", key).Param("V", value).Exec();
}

void TestAppSettingsManager::getIntClamps_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("hasRow");
    QTest::addColumn<int>("expected");
    QTest::newRow("below minimum") << QVariant("0") << true << 1;
    QTest::newRow("above maximum") << QVariant("120") << true << 60;
    QTest::newRow("not a number") << QVariant("abc") << true << 3;
    QTest::newRow("empty text") << QVariant("") << true << 3;
    QTest::newRow("null") << TDbQuery::NullText() << true << 3;
    QTest::newRow("no row") << QVariant() << false << 3;
    QTest::newRow("in range") << QVariant("7") << true << 7;
    QTest::newRow("blanks around") << QVariant(" 7 ") << true << 7;
    QTest::newRow("negative") << QVariant("-5") << true << 1;
    QTest::newRow("decimals are no whole number") << QVariant("7,5") << true << 3;
    QTest::newRow("exponent") << QVariant("1e1") << true << 3;
}

void TestAppSettingsManager::getIntClamps()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, hasRow);
    QFETCH(int, expected);
    TTestDatabase db;
    TAppSettingsManager::EnsureSchema();
    if (hasRow)
        Store("SaleSuccessMessageSeconds", stored);
    QCOMPARE(TAppSettingsManager::GetInt("SaleSuccessMessageSeconds", 3, 1, 60), expected);
}

void TestAppSettingsManager::defaultOutsideRangeIsClamped()
{
    TTestDatabase db;
    QCOMPARE(TAppSettingsManager::GetInt("Yok", 0, 1, 60), 1);
}

void TestAppSettingsManager::readersNeverRaise()
{
    TTestDatabase db;
    // A view of the same name makes the table impossible to create or read as expected.
    db.Exec("DROP TABLE IF EXISTS SistemParametre");
    db.Exec("CREATE VIEW SistemParametre AS SELECT 1 AS X");
    QCOMPARE(TAppSettingsManager::GetValue("A", "varsayilan"), QString("varsayilan"));
    QCOMPARE(TAppSettingsManager::GetInt("A", 5, 1, 60), 5);
    QVERIFY_THROWS_EXCEPTION(std::exception, TAppSettingsManager::SetValue("A", "1", ""));
}

void TestAppSettingsManager::missingTableIsCreated()
{
    TTestDatabase db;
    db.Exec("DROP TABLE IF EXISTS SistemParametre");
    QCOMPARE(TAppSettingsManager::GetValue("A", "x"), QString("x"));
    QVERIFY(!db.Scalar("SELECT OBJECT_ID('dbo.SistemParametre', 'U')").isNull());
}

void TestAppSettingsManager::ensureDefaultsKeepsExistingValue()
{
    TTestDatabase db;
    TAppSettingsManager::EnsureSchema();
    db.Exec("INSERT INTO SistemParametre (ParamKey, ParamValue, Description, UpdatedAt) "
            "VALUES ('BarcodeNotFoundMessageSeconds', '7', 'eski', '2001-01-01 00:00:00')");
    TAppSettingsManager::EnsureDefaults();
    TAppSettingsManager::EnsureDefaults();
    QCOMPARE(db.Count("SistemParametre"), 4);
    QCOMPARE(TAppSettingsManager::GetValue("BarcodeNotFoundMessageSeconds", ""), QString("7"));
    QCOMPARE(db.Scalar("SELECT Description FROM SistemParametre WHERE ParamKey = "
                       "'BarcodeNotFoundMessageSeconds'")
                 .toString(),
             QString("Barkod bulunamadı mesajının ekranda kalma süresi (saniye)"));
    QVERIFY(db.Scalar("SELECT UpdatedAt FROM SistemParametre WHERE ParamKey = "
                      "'BarcodeNotFoundMessageSeconds'")
                .toString() > "2001");
    QVERIFY(db.Scalar("SELECT UpdatedAt FROM SistemParametre WHERE ParamKey = "
                      "'BarcodeNotFoundMessageSeconds'")
                .toString() != "2001-01-01 00:00:00");
    QCOMPARE(TAppSettingsManager::GetValue("SaleSuccessMessageSeconds", ""), QString("3"));
    // Every known key is seeded with its own default.
    QCOMPARE(TAppSettingsManager::GetValue("MaxQuantityUnits", ""), QString("9999"));
    QCOMPARE(TAppSettingsManager::GetValue("MaxQuantityKg", ""), QString("999"));
    QCOMPARE(db.Scalar("SELECT Description FROM SistemParametre WHERE ParamKey = "
                       "'MaxQuantityKg'")
                 .toString(),
             QString("Onay sorulmadan bir satıra girilen en yüksek tartı (kg)"));
}

void TestAppSettingsManager::setValueInsertsThenUpdates()
{
    TTestDatabase db;
    TAppSettingsManager::SetValue("Yeni", "1", "ilk");
    QCOMPARE(db.Count("SistemParametre WHERE ParamKey = 'Yeni'"), 1);
    QVERIFY(!db.Scalar("SELECT UpdatedAt FROM SistemParametre WHERE ParamKey = 'Yeni'").isNull());
    TAppSettingsManager::SetValue("Yeni", "2", "ikinci");
    QCOMPARE(db.Count("SistemParametre WHERE ParamKey = 'Yeni'"), 1);
    QCOMPARE(TAppSettingsManager::GetValue("Yeni", ""), QString("2"));
    QCOMPARE(
        db.Scalar("SELECT Description FROM SistemParametre WHERE ParamKey = 'Yeni'").toString(),
        QString("ikinci"));
}

QTEST_GUILESS_MAIN(TestAppSettingsManager)
#include "tst_AppSettingsManager.moc"
