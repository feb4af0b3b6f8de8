#include "core/Money.h"

#include <QtTest>

#include <limits>

// The rounding rules, on the values where a wrong rule shows: exact halves (banker's rounding
// goes to even), negative amounts (rounding up is not rounding away from zero), decimals that a
// double holds just below the half (1.005 is 1.00499..., so plain rounding loses the kuruş),
// and amounts too large for a 32-bit integer of kuruş.
class TestMoney : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rounding_data();
    void rounding();
};

namespace {
enum TRule { Kurus, LineAmount, Quantity, KurusAsShown };

double Apply(int rule, double value)
{
    switch (rule) {
    case Kurus:
        return TMoney::RoundKurus(value);
    case LineAmount:
        return TMoney::RoundLineAmount(value);
    case Quantity:
        return TMoney::RoundQuantity(value);
    default:
        return TMoney::KurusAsShown(value);
    }
}
} // namespace

void TestMoney::rounding_data()
{
    QTest::addColumn<int>("rule");
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("expected");
    const auto row = [](const char* name, int rule, double value, double expected) {
        QTest::newRow(name) << rule << value << expected;
    };

    row("kuruş: a half rounds up, not to even", Kurus, 0.125, 0.13);
    row("kuruş: a negative half rounds away from zero", Kurus, -0.125, -0.13);
    row("kuruş: 1.005 held below the half", Kurus, 1.005, 1.01);
    row("kuruş: 2.675 held below the half", Kurus, 2.675, 2.68);
    row("kuruş: -2.675 held below the half", Kurus, -2.675, -2.68);
    row("kuruş: 10.075 held below the half", Kurus, 10.075, 10.08);
    row("kuruş: a hair below the half counts as the half", Kurus, 2.6749999999999, 2.68);
    row("kuruş: below the half", Kurus, 2.674, 2.67);
    row("kuruş: below half a kuruş is nothing", Kurus, -0.004, 0.0);
    row("kuruş: beyond a 32-bit count of kuruş", Kurus, 21474836.485, 21474836.49);
    row("kuruş: negative, beyond a 32-bit count", Kurus, -21474836.485, -21474836.49);
    row("kuruş: millions held below the half", Kurus, 1234567.005, 1234567.01);
    row("kuruş: a hundred billion", Kurus, 98765432109.875, 98765432109.88);

    row("line: 12.34565 held below the half", LineAmount, 12.34565, 12.3457);
    row("line: negative, held below the half", LineAmount, -0.00145, -0.0015);
    row("line: a half rounds up, not to even", LineAmount, 4.00005, 4.0001);
    row("line: the noise of 11.80 x 2 - 10 % + 18 % VAT", LineAmount, 21.240000000000006, 21.24);
    row("line: carries into the whole number", LineAmount, 99999999.99995, 100000000.0);

    row("quantity: 0.5005 held below the half", Quantity, 0.5005, 0.501);
    row("quantity: negative, held below the half", Quantity, -0.5005, -0.501);
    row("quantity: 1.2345 held below the half", Quantity, 1.2345, 1.235);
    row("quantity: carries into the whole number", Quantity, 999999.9995, 1000000.0);
    row("quantity: below half a gram is nothing", Quantity, 0.0004, 0.0);

    row("shown: 2.675 as 2,68", KurusAsShown, 2.675, 2.68);
    row("shown: 1.005 as 1,01", KurusAsShown, 1.005, 1.01);
    row("shown: -1.005 as -1,01", KurusAsShown, -1.005, -1.01);
    row("shown: a half rounds up, not to even", KurusAsShown, 0.125, 0.13);
    row("shown: 7407407.345 as 7.407.407,35", KurusAsShown, 7407407.345, 7407407.35);
    row("shown: beyond a 32-bit count of kuruş", KurusAsShown, 21474836.485, 21474836.49);
    row("shown: a hundred billion", KurusAsShown, 123456789012.345, 123456789012.35);
    // The display rule reads 15 significant digits: what lies beyond them is not a hair.
    row("shown: 2.6749999999999 stays below the half", KurusAsShown, 2.6749999999999, 2.67);
    row("shown: below half a kuruş is nothing", KurusAsShown, -0.004, 0.0);
    row("shown: infinity is nothing", KurusAsShown, std::numeric_limits<double>::infinity(), 0.0);
    row("shown: not a number is nothing", KurusAsShown, std::numeric_limits<double>::quiet_NaN(),
        0.0);
}

void TestMoney::rounding()
{
    QFETCH(int, rule);
    QFETCH(double, value);
    QFETCH(double, expected);
    const double actual = Apply(rule, value);
    // Exactly the double the decimal stands for: QCOMPARE would forgive a last-bit difference.
    QVERIFY2(actual == expected, qPrintable(QString::number(actual, 'g', 17)));
}

QTEST_APPLESS_MAIN(TestMoney)
#include "tst_Money.moc"
