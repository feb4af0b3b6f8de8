#include "core/AppSettingsManager.h"
#include "core/DbQuery.h"
#include "sales/QuantityRules.h"
#include "support/TestDatabase.h"

#include <QtTest>

Q_DECLARE_METATYPE(TQuantityVerdict)

namespace {
void Store(const QString& key, const QString& value)
{
    if (value.isNull())
        return;
    TDbQuery q("INSERT INTO SistemParametre (ParamKey, ParamValue) VALUES (:K, :V)");
    q.Param("K", key).Param("V", value).Exec();
}
} // namespace

// How large a quantity a cart line takes, with the bounds as a shop may have stored them.
class TestQuantityRules : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { UseTurkishLocale(); }
    void bounds_data();
    void bounds();
    void confirmation();
    void smallQuantitiesReadNoParameter();
};

void TestQuantityRules::bounds_data()
{
    QTest::addColumn<QString>("units"); // stored MaxQuantityUnits; null: no row
    QTest::addColumn<QString>("kg");    // stored MaxQuantityKg; null: no row
    QTest::addColumn<double>("entered");
    QTest::addColumn<double>("line");
    QTest::addColumn<bool>("weighed");
    QTest::addColumn<TQuantityVerdict>("verdict");
    QTest::addColumn<QString>("message");

    const QString none;
    const auto ok = TQuantityVerdict::Accepted;
    const auto ask = TQuantityVerdict::Confirm;
    const auto no = TQuantityVerdict::Refused;
    const auto askUnits = [](const char* quantity) {
        return QString("Yüksek miktar: %1 ADET KOLA. Devam edilsin mi?").arg(quantity);
    };
    const auto askKg = [](const char* quantity) {
        return QString("Yüksek miktar: %1 KG DOMATES. Devam edilsin mi?").arg(quantity);
    };

    QTest::newRow("units at the default bound")
        << none << none << 9999.0 << 9999.0 << false << ok << "";
    QTest::newRow("units above the default bound")
        << none << none << 10000.0 << 10000.0 << false << ask << askUnits("10.000");
    QTest::newRow("kg at the default bound") << none << none << 999.0 << 999.0 << true << ok << "";
    QTest::newRow("kg above the default bound")
        << none << none << 999.5 << 999.5 << true << ask << askKg("999,5");
    QTest::newRow("5000 kg of 17,75 in stock")
        << none << none << 5000.0 << 5000.0 << true << ask << askKg("5.000");
    QTest::newRow("kg bound is not the units bound")
        << none << none << 5000.0 << 5000.0 << false << ok << "";
    QTest::newRow("at the hard limit asks")
        << none << none << 1000000.0 << 1000000.0 << false << ask << askUnits("1.000.000");
    QTest::newRow("above the hard limit refused")
        << none << none << 1000000.001 << 1000000.001 << true << no
        << "Miktar çok yüksek: 1.000.000,001 KG DOMATES. Bir satırda en fazla 1.000.000 olabilir.";
    QTest::newRow("10^11 units refused")
        << none << none << 99999999999.0 << 99999999999.0 << false << no
        << "Miktar çok yüksek: 99.999.999.999 ADET KOLA. Bir satırda en fazla 1.000.000 "
           "olabilir.";
    QTest::newRow("a scan that takes its line above the hard limit")
        << none << none << 2.0 << 1000001.0 << false << no
        << "Miktar çok yüksek: 1.000.001 ADET KOLA. Bir satırda en fazla 1.000.000 olabilir.";
    QTest::newRow("a scan onto a large line asks nothing")
        << none << none << 1.0 << 20000.0 << false << ok << "";
    QTest::newRow("stored bound") << "50000"
                                  << "20" << 20000.0 << 20000.0 << false << ok << "";
    QTest::newRow("stored bound passed")
        << "500" << none << 501.0 << 501.0 << false << ask << askUnits("501");
    QTest::newRow("stored the Turkish way")
        << "1.500" << none << 1501.0 << 1501.0 << false << ask << askUnits("1.501");
    QTest::newRow("stored below the floor counts as the floor")
        << "5"
        << "5" << 100.0 << 100.0 << true << ok << "";
    QTest::newRow("the floor passed") << "5"
                                      << "5" << 100.5 << 100.5 << true << ask << askKg("100,5");
    QTest::newRow("stored text that is no number is the default")
        << "çok"
        << "1e3" << 999.0 << 999.0 << true << ok << "";
    QTest::newRow("stored above the hard limit counts as the limit")
        << "5000000" << none << 1000000.0 << 1000000.0 << false << ok << "";
}

void TestQuantityRules::bounds()
{
    QFETCH(QString, units);
    QFETCH(QString, kg);
    QFETCH(double, entered);
    QFETCH(double, line);
    QFETCH(bool, weighed);
    QFETCH(TQuantityVerdict, verdict);
    QFETCH(QString, message);
    TTestDatabase db;
    TAppSettingsManager::EnsureSchema();
    Store(TQuantityRules::MaxUnitsKey, units);
    Store(TQuantityRules::MaxKgKey, kg);
    const TQuantityCheck check = TQuantityRules::Check(
        entered, line, weighed, weighed ? "KG" : "ADET", weighed ? "DOMATES" : "KOLA");
    QCOMPARE(check.Verdict, verdict);
    QCOMPARE(check.Message, message);
}

void TestQuantityRules::confirmation()
{
    const TQuantityCheck ask{TQuantityVerdict::Confirm, "Devam edilsin mi?"};
    QStringList asked;
    const TQuantityConfirm yes = [&](const QString& m) {
        asked << m;
        return true;
    };
    const TQuantityConfirm no = [&](const QString& m) {
        asked << m;
        return false;
    };
    QVERIFY(TQuantityRules::Confirmed({}, {}));
    QVERIFY(TQuantityRules::Confirmed(ask, yes));
    QVERIFY(!TQuantityRules::Confirmed(ask, no));
    QVERIFY(!TQuantityRules::Confirmed(ask, {})); // nobody to ask: not taken
    QVERIFY(!TQuantityRules::Confirmed({TQuantityVerdict::Refused, "x"}, yes));
    QCOMPARE(asked, QStringList({"Devam edilsin mi?", "Devam edilsin mi?"}));
}

// The bounds are never set below the floor, so an ordinary quantity costs no statement.
void TestQuantityRules::smallQuantitiesReadNoParameter()
{
    TTestDatabase db;
    TAppSettingsManager::EnsureSchema();
    const qint64 before = db.Db().RoundTrips().Count();
    QCOMPARE(TQuantityRules::Check(100, 5000, true, "KG", "DOMATES").Verdict,
             TQuantityVerdict::Accepted);
    QCOMPARE(TQuantityRules::Check(24, 24, false, "ADET", "SU").Verdict,
             TQuantityVerdict::Accepted);
    QCOMPARE(db.Db().RoundTrips().Count(), before);
    QCOMPARE(TQuantityRules::Check(101, 101, false, "ADET", "SU").Verdict,
             TQuantityVerdict::Accepted);
    QVERIFY(db.Db().RoundTrips().Count() > before);
}

QTEST_GUILESS_MAIN(TestQuantityRules)
#include "tst_QuantityRules.moc"
