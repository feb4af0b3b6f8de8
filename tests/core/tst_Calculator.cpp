#include "core/Calculator.h"
#include "support/TestDatabase.h"

#include <QtTest>

namespace {
// Presses the keys of `keys` in turn: "~" is "±", "<" is "⌫", "E" is Enter, every other
// character the key of that character.
void Press(TCalculator& calculator, const QString& keys)
{
    for (const QChar key : keys) {
        if (key == u'~')
            calculator.ToggleSign();
        else if (key == u'<')
            calculator.Backspace();
        else if (key == u'E')
            calculator.Equals();
        else
            QVERIFY2(calculator.Key(key), qPrintable(QString("not a key: ") + key));
    }
}
} // namespace

// The calculator's key sequences, under Turkish settings (decimal comma).
class TestCalculator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { UseTurkishLocale(); }
    void keySequences_data();
    void keySequences();
    void otherKeysAreNotTaken();
};

void TestCalculator::keySequences_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("display");
    QTest::newRow("no precedence") << "2+3*4="
                                   << "20";
    QTest::newRow("x multiplies") << "6x7="
                                  << "42";
    QTest::newRow("enter is equals") << "9-4E"
                                     << "5";
    QTest::newRow("divide by zero shows 0") << "7/0="
                                            << "0";
    QTest::newRow("after division by zero from 0") << "7/0=+5="
                                                   << "5";
    QTest::newRow("separator on empty") << ","
                                        << "0,";
    QTest::newRow("point is the separator") << "."
                                            << "0,";
    QTest::newRow("one separator only") << "1,,5,."
                                        << "1,5";
    QTest::newRow("decimal sum") << "0,1+0,2="
                                 << "0,3";
    QTest::newRow("thirds with 15 digits") << "2/3="
                                           << "0,666666666666667";
    QTest::newRow("small result keeps 15 digits") << "1/8192="
                                                  << "0,0001220703125";
    QTest::newRow("sign on empty") << "~"
                                   << "-";
    QTest::newRow("minus alone reads 0") << "~+5="
                                         << "5";
    QTest::newRow("sign twice") << "5~~"
                                << "5";
    QTest::newRow("negative operand") << "5*3~="
                                      << "-15";
    QTest::newRow("empty operand keeps the total") << "5+="
                                                   << "5";
    QTest::newRow("digit after result starts anew") << "2+2=7"
                                                    << "7";
    QTest::newRow("operator after result goes on") << "2+2=*3="
                                                   << "12";
    QTest::newRow("leading zeros stay") << "007"
                                        << "007";
    QTest::newRow("backspace") << "123<"
                               << "12";
    QTest::newRow("clear") << "12+3C"
                           << "";
    QTest::newRow("clear then digit") << "12+3C4+1="
                                      << "5";
    QTest::newRow("15 digits at most") << "1234567890123456789"
                                       << "123456789012345";
    QTest::newRow("overflow shows 0, never inf")
        << "999999999999999*999999999999999*999999999999999="
        << "0";
    QTest::newRow("too large to hold shows 0") << "99999999*99999999="
                                               << "0";
    QTest::newRow("largest that holds") << "99999999*9999999="
                                        << "999999890000001";
    QTest::newRow("tiny shows 0, never an exponent") << "1/999999999999999/999999999999999="
                                                     << "0";
    QTest::newRow("negative result") << "3-8="
                                     << "-5";
}

void TestCalculator::keySequences()
{
    QFETCH(QString, keys);
    QFETCH(QString, display);
    TCalculator calculator;
    Press(calculator, keys);
    QCOMPARE(calculator.Display(), display);
    QVERIFY(!calculator.Display().contains(u'e', Qt::CaseInsensitive));
}

void TestCalculator::otherKeysAreNotTaken()
{
    TCalculator calculator;
    for (const QChar key : QStringLiteral("a%( "))
        QVERIFY(!calculator.Key(key));
    QCOMPARE(calculator.Display(), QString());
}

QTEST_GUILESS_MAIN(TestCalculator)
#include "tst_Calculator.moc"
