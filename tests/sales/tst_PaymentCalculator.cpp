#include "sales/PaymentCalculator.h"
#include "support/TestDatabase.h"

#include <QtTest>

#include <tuple>

// The payment arithmetic under Turkish settings: reading the boxes, summary, completion and type
// word.
class TestPaymentCalculator : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { UseTurkishLocale(); }
    void readAmount_data();
    void readAmount();
    void summary_data();
    void summary();
    void complete_data();
    void complete();
    void shortPaymentRefused();
    void cashHandedOverComesWithTheOutcome();
    void paidAmountsAreWholeKurus_data();
    void paidAmountsAreWholeKurus();
    void paymentTypeWord_data();
    void paymentTypeWord();
    void restOfTotal_data();
    void restOfTotal();
    void normalisedEntry_data();
    void normalisedEntry();
    void textThatIsNoAmountBlocks();
};

void TestPaymentCalculator::readAmount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<std::optional<double>>("expected");
    const std::optional<double> none;
    QTest::newRow("comma") << "87,50" << std::optional(87.5);
    QTest::newRow("point") << "87.50" << std::optional(87.5);
    QTest::newRow("empty box is nothing paid") << "" << std::optional(0.0);
    QTest::newRow("thousands mark") << "1.500" << std::optional(1500.0);
    QTest::newRow("grouped with decimals") << "1.000,00" << std::optional(1000.0);
    QTest::newRow("as amounts are shown") << "1.280,00 TL" << std::optional(1280.0);
    QTest::newRow("letters") << "abc" << none;
    QTest::newRow("letters around a number") << "abc-1e5" << none;
    QTest::newRow("negative") << "-50,00" << none;
    QTest::newRow("a third decimal is no amount of money") << "12,345" << none;
}

void TestPaymentCalculator::readAmount()
{
    QFETCH(QString, text);
    QFETCH(std::optional<double>, expected);
    QCOMPARE(TPaymentCalculator::ReadAmount(text), expected);
}

void TestPaymentCalculator::summary_data()
{
    QTest::addColumn<double>("total");
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("card");
    QTest::addColumn<double>("paid");
    QTest::addColumn<double>("change");
    QTest::addColumn<double>("remaining");
    QTest::addColumn<bool>("due");
    QTest::addColumn<bool>("canComplete");

    QTest::newRow("exact cash") << 87.5 << "87,50"
                                << "0,00" << 87.5 << 0.0 << 0.0 << false << true;
    QTest::newRow("cash over total gives change")
        << 87.5 << "100"
        << "0,00" << 100.0 << 12.5 << 0.0 << false << true;
    QTest::newRow("cash short") << 100.0 << "60,00"
                                << "0,00" << 60.0 << 0.0 << 40.0 << true << false;
    QTest::newRow("split covered") << 100.0 << "40,00"
                                   << "60,00" << 40.0 << 0.0 << 0.0 << false << true;
    QTest::newRow("split short") << 100.0 << "30"
                                 << "60" << 30.0 << 0.0 << 10.0 << true << false;
    QTest::newRow("split with change: cash covers what the card leaves")
        << 100.0 << "50"
        << "60" << 50.0 << 10.0 << 0.0 << false << true;
    QTest::newRow("card over total: no negative remainder, no change")
        << 100.0 << "0"
        << "150" << 0.0 << 0.0 << 0.0 << false << true;
    QTest::newRow("nothing typed") << 100.0 << ""
                                   << "" << 0.0 << 0.0 << 100.0 << true << false;
    QTest::newRow("zero total, nothing paid") << 0.0 << "0,00"
                                              << "0,00" << 0.0 << 0.0 << 0.0 << false << true;
    QTest::newRow("remaining within the tolerance enables")
        << 100.0005 << "100"
        << "0" << 100.0 << 0.0 << 0.0 << false << true;
    QTest::newRow("one kuruş short is due") << 100.0 << "99,99"
                                            << "0" << 99.99 << 0.0 << 0.01 << true << false;
    QTest::newRow("text that is no amount counts as 0 and blocks")
        << 20.0 << "abc"
        << "20" << 0.0 << 0.0 << 0.0 << false << false;
    QTest::newRow("grouped thousands") << 1200.0 << "1.500"
                                       << "0" << 1500.0 << 300.0 << 0.0 << false << true;
    // A weighed line can leave fractions of a kuruş: the shown and proposed 4,47 settles it.
    QTest::newRow("total below half a kuruş settles by what is shown")
        << 4.4737 << "4,47"
        << "0,00" << 4.47 << 0.0 << 0.0 << false << true;
    QTest::newRow("total above half a kuruş rounds up")
        << 4.4763 << "4,48"
        << "0,00" << 4.48 << 0.0 << 0.0 << false << true;
    QTest::newRow("change from the shown total") << 4.4737 << "5"
                                                 << "0" << 5.0 << 0.53 << 0.0 << false << true;
}

void TestPaymentCalculator::summary()
{
    QFETCH(double, total);
    QFETCH(QString, cash);
    QFETCH(QString, card);
    QFETCH(double, paid);
    QFETCH(double, change);
    QFETCH(double, remaining);
    QFETCH(bool, due);
    QFETCH(bool, canComplete);
    const TPaymentSummary s = TPaymentCalculator::Summarize(total, cash, card);
    QCOMPARE(s.Cash, paid);
    QVERIFY2(qAbs(s.Change - change) < 1e-9, qPrintable(QString::number(s.Change, 'f', 6)));
    QVERIFY2(qAbs(s.Remaining - remaining) < 1e-9,
             qPrintable(QString::number(s.Remaining, 'f', 6)));
    QCOMPARE(s.Due, due);
    QCOMPARE(s.CanComplete, canComplete);
}

void TestPaymentCalculator::complete_data()
{
    QTest::addColumn<double>("total");
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("card");
    QTest::addColumn<double>("nakit");
    QTest::addColumn<double>("kart");
    QTest::addColumn<QString>("type");

    QTest::newRow("cash with change stores the total") << 87.5 << "100"
                                                       << "0,00" << 87.5 << 0.0 << "NAKIT";
    QTest::newRow("split") << 100.0 << "40,00"
                           << "60,00" << 40.0 << 60.0 << "KARMA";
    QTest::newRow("card over total capped") << 100.0 << "0"
                                            << "150" << 0.0 << 100.0 << "KART";
    QTest::newRow("card over total drops cash") << 100.0 << "30"
                                                << "150" << 0.0 << 100.0 << "KART";
    QTest::newRow("split with change keeps only the cash due") << 100.0 << "50"
                                                               << "60" << 40.0 << 60.0 << "KARMA";
    QTest::newRow("card only") << 100.0 << "0,00"
                               << "100,00" << 0.0 << 100.0 << "KART";
    QTest::newRow("nothing paid on a zero total") << 0.0 << "0"
                                                  << "0" << 0.0 << 0.0 << "KART";
    QTest::newRow("grouped as shown") << 1280.0 << "1.280,00 TL"
                                      << "0" << 1280.0 << 0.0 << "NAKIT";
    QTest::newRow("fractions of a kuruş paid as shown") << 4.4737 << "4,47"
                                                        << "0,00" << 4.47 << 0.0 << "NAKIT";
    QTest::newRow("fractions of a kuruş, change not stored") << 4.4763 << "10"
                                                             << "0,00" << 4.48 << 0.0 << "NAKIT";
}

void TestPaymentCalculator::complete()
{
    QFETCH(double, total);
    QFETCH(QString, cash);
    QFETCH(QString, card);
    QFETCH(double, nakit);
    QFETCH(double, kart);
    QFETCH(QString, type);
    const TPaymentOutcome o = TPaymentCalculator::Complete(total, cash, card);
    QVERIFY(!o.Short);
    QVERIFY2(qAbs(o.PaymentNakit - nakit) < 1e-9,
             qPrintable(QString::number(o.PaymentNakit, 'f', 6)));
    QVERIFY2(qAbs(o.PaymentKart - kart) < 1e-9, qPrintable(QString::number(o.PaymentKart, 'f', 6)));
    QCOMPARE(o.PaymentType, type);
}

// What the cash box holds, change included, goes to the sale beside the cash part of the total.
void TestPaymentCalculator::cashHandedOverComesWithTheOutcome()
{
    for (const auto& [total, cash, card, nakit, verilen] :
         {std::tuple{87.5, "100", "0", 87.5, 100.0}, std::tuple{100.0, "50", "60", 40.0, 50.0},
          std::tuple{100.0, "0", "100", 0.0, 0.0}, std::tuple{100.0, "100", "0", 100.0, 100.0}}) {
        const TPaymentOutcome o = TPaymentCalculator::Complete(total, cash, card);
        QCOMPARE(o.PaymentNakit, nakit);
        QCOMPARE(o.VerilenNakit, verilen);
    }
}

void TestPaymentCalculator::shortPaymentRefused()
{
    const TPaymentOutcome o = TPaymentCalculator::Complete(100.0, "60", "30");
    QVERIFY(o.Short);
    QVERIFY(o.PaymentType.isEmpty());
    QVERIFY(TPaymentCalculator::Complete(100.0, "99,98", "0").Short);
    QVERIFY(!TPaymentCalculator::Complete(100.004, "100", "0").Short);
}

void TestPaymentCalculator::paidAmountsAreWholeKurus_data()
{
    QTest::addColumn<double>("total");
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("card");
    QTest::addColumn<double>("nakit");
    QTest::addColumn<double>("kart");

    // 312,30 and 200,00 at 20 % VAT: the cart adds up to 512.3000000000001.
    const double noisy = 512.3000000000001;
    QTest::newRow("split: 200 cash on a total with binary noise") << noisy << "200"
                                                                  << "312,30" << 200.0 << 312.3;
    QTest::newRow("split: cash over what the card leaves") << noisy << "250"
                                                           << "312,30" << 200.0 << 312.3;
    QTest::newRow("split: fractions of a kuruş in the total") << 256.0213 << "500"
                                                              << "56,02" << 200.0 << 56.02;
}

// Exact equality on purpose: the sale stores these amounts, and the cash that the card leaves
// must be the kuruş amount the cashier sees, not the difference of two doubles.
void TestPaymentCalculator::paidAmountsAreWholeKurus()
{
    QFETCH(double, total);
    QFETCH(QString, cash);
    QFETCH(QString, card);
    QFETCH(double, nakit);
    QFETCH(double, kart);
    const TPaymentOutcome o = TPaymentCalculator::Complete(total, cash, card);
    QVERIFY(!o.Short);
    QVERIFY2(o.PaymentNakit == nakit, qPrintable(QString::number(o.PaymentNakit, 'g', 17)));
    QVERIFY2(o.PaymentKart == kart, qPrintable(QString::number(o.PaymentKart, 'g', 17)));
    QCOMPARE(o.PaymentType, QString("KARMA"));
}

void TestPaymentCalculator::paymentTypeWord_data()
{
    QTest::addColumn<double>("nakit");
    QTest::addColumn<double>("kart");
    QTest::addColumn<QString>("word");
    QTest::newRow("both") << 10.0 << 5.0 << "KARMA";
    QTest::newRow("cash") << 10.0 << 0.0 << "NAKIT";
    QTest::newRow("card") << 0.0 << 10.0 << "KART";
    QTest::newRow("neither") << 0.0 << 0.0 << "KART";
    QTest::newRow("cash at the tolerance does not count") << 0.001 << 10.0 << "KART";
    QTest::newRow("card at the tolerance does not count") << 10.0 << 0.001 << "NAKIT";
    QTest::newRow("both just above") << 0.0011 << 0.0011 << "KARMA";
}

void TestPaymentCalculator::paymentTypeWord()
{
    QFETCH(double, nakit);
    QFETCH(double, kart);
    QFETCH(QString, word);
    QCOMPARE(TPaymentCalculator::PaymentTypeWord(nakit, kart), word);
}

void TestPaymentCalculator::restOfTotal_data()
{
    QTest::addColumn<double>("total");
    QTest::addColumn<QString>("other");
    QTest::addColumn<QString>("expected");
    QTest::newRow("card 60 of 100") << 100.0 << "60"
                                    << "40,00";
    QTest::newRow("other empty") << 87.5 << ""
                                 << "87,50";
    QTest::newRow("limited at 0") << 100.0 << "150"
                                  << "0,00";
    QTest::newRow("other box no amount") << 100.0 << "abc"
                                         << "100,00";
    QTest::newRow("no grouping") << 12345.6 << "0"
                                 << "12345,60";
}

void TestPaymentCalculator::restOfTotal()
{
    QFETCH(double, total);
    QFETCH(QString, other);
    QFETCH(QString, expected);
    QCOMPARE(TPaymentCalculator::RestOfTotal(total, other), expected);
}

void TestPaymentCalculator::normalisedEntry_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("whole") << "100"
                           << "100,00";
    QTest::newRow("one decimal") << "12,5"
                                 << "12,50";
    QTest::newRow("trailing separator") << "7,"
                                        << "7,00";
    QTest::newRow("empty") << ""
                           << "0,00";
    QTest::newRow("grouped") << "1.500"
                             << "1500,00";
    QTest::newRow("as shown") << "1.280,50 TL"
                              << "1280,50";
    QTest::newRow("negative stays for the cashier to mend") << "-5"
                                                            << "-5";
    QTest::newRow("text that is no amount stays") << "12a"
                                                  << "12a";
    QTest::newRow("a third decimal stays") << "12,345"
                                           << "12,345";
}

void TestPaymentCalculator::normalisedEntry()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(TPaymentCalculator::NormalisedEntry(text), expected);
}

// A box that is no amount is never read as 0 paid: the payment cannot complete, and completing
// says so instead of booking the other box alone.
void TestPaymentCalculator::textThatIsNoAmountBlocks()
{
    for (const auto& [cash, card] :
         {std::pair<QString, QString>{"abc-1e5", "100"}, {"100", "1e3"}, {"99,995", "0"}}) {
        const TPaymentSummary summary = TPaymentCalculator::Summarize(100, cash, card);
        QVERIFY(summary.Invalid);
        QVERIFY(!summary.CanComplete);
        const TPaymentOutcome outcome = TPaymentCalculator::Complete(100, cash, card);
        QVERIFY(outcome.Invalid);
        QVERIFY(outcome.PaymentType.isEmpty());
    }
    QVERIFY(!TPaymentCalculator::Summarize(100, "100", "").Invalid);
    QVERIFY(!TPaymentCalculator::Complete(100, "100", "").Invalid);
}

QTEST_GUILESS_MAIN(TestPaymentCalculator)
#include "tst_PaymentCalculator.moc"
