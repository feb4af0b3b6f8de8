#include "admin/ParameterStore.h"
#include "core/AppSettingsManager.h"
#include "core/TypedNumber.h"
#include "customers/CariCard.h"
#include "refunds/RefundManager.h"
#include "sales/BarcodeResolver.h"
#include "sales/PaymentCalculator.h"
#include "sales/QuantityRules.h"
#include "sales/SalesScreenRules.h"
#include "shifts/ShiftManager.h"
#include "support/TestDatabase.h"

#include <QtTest>

#include <functional>
#include <optional>

namespace {
using TReading = std::optional<double>;
const TReading kRefused;

TNumberRules RulesNamed(const QString& name)
{
    if (name == "money")
        return TNumberRules::Money();
    if (name == "whole")
        return TNumberRules::Whole();
    if (name == "signed")
        return TNumberRules::SignedDecimal();
    return TNumberRules::Plain();
}

TReading FromInt(const std::optional<int>& value)
{
    return value ? TReading(*value) : kRefused;
}

TReading FromEntry(const TEntryCheck& check)
{
    return check.Value;
}

// The core function each entry field of the program calls on what the cashier typed, with its
// answer as a reading: the number taken, or none where the field refuses the text.
const QHash<QString, std::function<TReading(const QString&)>>& FieldReaders()
{
    static const QHash<QString, std::function<TReading(const QString&)>> readers{
        {"shift cash",
         [](const QString& t) {
             return TShiftManager::ReadAmount(t);
         }},
        {"payment",
         [](const QString& t) {
             return TPaymentCalculator::ReadAmount(t);
         }},
        {"risk limit",
         [](const QString& t) {
             return TCariCard::ParseMoney(t);
         }},
        {"due days",
         [](const QString& t) {
             return FromInt(TCariCard::ParseVadeGunu(t));
         }},
        {"parameter",
         [](const QString& t) {
             return FromInt(TAppSettingsManager::ReadWholeNumber(t));
         }},
        {"refund quantity",
         [](const QString& t) {
             const double quantity = TRefundManager::ParseQuantity(t);
             return quantity > 0 ? TReading(quantity) : kRefused;
         }},
        {"weight",
         [](const QString& t) {
             return TQuantityRules::ReadQuantity(t);
         }},
        {"quantity change",
         [](const QString& t) {
             return FromEntry(TSalesScreenRules::CheckQuantityEntry(t));
         }},
        {"discount",
         [](const QString& t) {
             return FromEntry(TSalesScreenRules::CheckDiscountEntry(t));
         }},
        {"n*code",
         [](const QString& t) {
             const TScannedCode code = TBarcodeResolver::SplitScannedCode(t + "*8690000000001");
             return code.PresetQty > 0 && !code.InvalidQuantity ? TReading(code.PresetQty)
                                                                : kRefused;
         }},
    };
    return readers;
}

// What a field does with each entry of the table in entriesThroughEveryField, in its order.
struct TFieldExpectations {
    const char* Field;
    QList<TReading> Readings;
};
} // namespace

// The one reading of a typed number: the rule on Turkish and on English settings, and the
// entries of a till day through the parser of every field that takes a typed number.
class TestTypedNumber : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { UseTurkishLocale(); }
    void turkishSettings_data();
    void turkishSettings();
    void englishSettings_data();
    void englishSettings();
    void entriesThroughEveryField_data();
    void entriesThroughEveryField();
};

void TestTypedNumber::turkishSettings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("rules");
    QTest::addColumn<TReading>("expected");

    QTest::newRow("thousands mark") << "1.500"
                                    << "plain" << TReading(1500);
    QTest::newRow("thousands and decimal comma") << "1.500,00"
                                                 << "plain" << TReading(1500);
    QTest::newRow("decimal comma") << "1,5"
                                   << "plain" << TReading(1.5);
    QTest::newRow("decimal point") << "1.5"
                                   << "plain" << TReading(1.5);
    QTest::newRow("comma and three digits is decimal") << "1,500"
                                                       << "plain" << TReading(1.5);
    QTest::newRow("point with two digits is decimal") << "12.50"
                                                      << "plain" << TReading(12.5);
    QTest::newRow("point with four digits is decimal") << "1.5000"
                                                       << "plain" << TReading(1.5);
    QTest::newRow("leading zero group is decimal") << "0.500"
                                                   << "plain" << TReading(0.5);
    QTest::newRow("four digits before is decimal") << "1234.500"
                                                   << "plain" << TReading(1234.5);
    QTest::newRow("millions") << "1.234.567"
                              << "plain" << TReading(1234567);
    QTest::newRow("millions with decimals") << "1.234.567,89"
                                            << "plain" << TReading(1234567.89);
    QTest::newRow("English grouping") << "1,234.5"
                                      << "plain" << TReading(1234.5);
    QTest::newRow("commas grouping") << "1,000,000"
                                     << "plain" << TReading(1000000);
    QTest::newRow("blanks around") << "  42,5 "
                                   << "plain" << TReading(42.5);
    QTest::newRow("decimal mark first") << ",5"
                                        << "plain" << TReading(0.5);
    QTest::newRow("decimal mark last") << "7,"
                                       << "plain" << TReading(7);
    QTest::newRow("zero") << "0"
                          << "plain" << TReading(0);
    QTest::newRow("many digits") << "99999999999"
                                 << "plain" << TReading(99999999999.0);

    QTest::newRow("empty") << ""
                           << "plain" << kRefused;
    QTest::newRow("blanks") << "   "
                            << "plain" << kRefused;
    QTest::newRow("a mark alone") << ","
                                  << "plain" << kRefused;
    QTest::newRow("exponent") << "1e3"
                              << "plain" << kRefused;
    QTest::newRow("letters around a number") << "abc-1e5"
                                             << "plain" << kRefused;
    QTest::newRow("letter after") << "12a"
                                  << "plain" << kRefused;
    QTest::newRow("infinity") << "inf"
                              << "plain" << kRefused;
    QTest::newRow("not a number") << "nan"
                                  << "plain" << kRefused;
    QTest::newRow("hex") << "0x10"
                         << "plain" << kRefused;
    QTest::newRow("blank inside") << "1 500"
                                  << "plain" << kRefused;
    QTest::newRow("sign where none is taken") << "-5"
                                              << "plain" << kRefused;
    QTest::newRow("plus sign") << "+5"
                               << "plain" << kRefused;
    QTest::newRow("two decimal commas") << "1,2,3"
                                        << "plain" << kRefused;
    QTest::newRow("two decimal points after grouping") << "1.5.0"
                                                       << "plain" << kRefused;
    QTest::newRow("group of two") << "1.50.000"
                                  << "plain" << kRefused;
    QTest::newRow("group of four before the decimal") << "12.5000,00"
                                                      << "plain" << kRefused;
    QTest::newRow("first group of four") << "1234.567.890"
                                         << "plain" << kRefused;
    QTest::newRow("first group with a leading zero") << "0.500.000"
                                                     << "plain" << kRefused;
    QTest::newRow("decimal mark used twice with grouping") << "1.500,0,0"
                                                           << "plain" << kRefused;
    QTest::newRow("grouping after the decimal") << "1,5.000"
                                                << "plain" << kRefused;
    QTest::newRow("Arabic-Indic digit") << QString(QChar(0x0663)) << "plain" << kRefused;

    QTest::newRow("money to the kuruş") << "1.280,00"
                                        << "money" << TReading(1280);
    QTest::newRow("money as shown") << "1.280,00 TL"
                                    << "money" << TReading(1280);
    QTest::newRow("money unit in any case") << "15tl"
                                            << "money" << TReading(15);
    QTest::newRow("money, third decimal") << "12,345"
                                          << "money" << kRefused;
    QTest::newRow("money, unit alone") << "TL"
                                       << "money" << kRefused;
    QTest::newRow("unit where none is taken") << "15 TL"
                                              << "plain" << kRefused;
    QTest::newRow("whole, grouped") << "1.500"
                                    << "whole" << TReading(1500);
    QTest::newRow("whole, decimals") << "2,5"
                                     << "whole" << kRefused;
    QTest::newRow("whole, comma and three digits") << "1,000"
                                                   << "whole" << kRefused;
    QTest::newRow("signed") << "-0,25"
                            << "signed" << TReading(-0.25);
    QTest::newRow("signed grouped") << "-1.500"
                                    << "signed" << TReading(-1500);
    QTest::newRow("signed zero") << "-0"
                                 << "signed" << TReading(0);
    QTest::newRow("sign alone") << "-"
                                << "signed" << kRefused;
    QTest::newRow("two signs") << "--5"
                               << "signed" << kRefused;
}

void TestTypedNumber::turkishSettings()
{
    QFETCH(QString, text);
    QFETCH(QString, rules);
    QFETCH(TReading, expected);
    const TReading read = ReadTypedNumber(text, RulesNamed(rules));
    QCOMPARE(read, expected);
    if (read && *read == 0)
        QVERIFY(!std::signbit(*read));
}

void TestTypedNumber::englishSettings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TReading>("expected");
    QTest::newRow("thousands mark") << "1,500" << TReading(1500);
    QTest::newRow("point is decimal") << "1.500" << TReading(1.5);
    QTest::newRow("comma with one digit is decimal") << "1,5" << TReading(1.5);
    QTest::newRow("grouped with decimals") << "1,500.25" << TReading(1500.25);
    QTest::newRow("Turkish grouping") << "1.500,25" << TReading(1500.25);
    QTest::newRow("exponent") << "1e3" << kRefused;
}

void TestTypedNumber::englishSettings()
{
    QFETCH(QString, text);
    QFETCH(TReading, expected);
    QCOMPARE(ReadTypedNumber(text, {}, QLocale(QLocale::English, QLocale::UnitedStates)), expected);
}

// The day's entries through every field: money fields take "1.500,00 TL" and two decimals,
// quantities any decimals, whole numbers none; nothing takes an exponent, letters or a sign
// (parameters aside), and nothing is read in part.
void TestTypedNumber::entriesThroughEveryField_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<TReading>("expected");

    const QStringList entries{"1.500",       "1.500,00", "1,5", "1.5",
                              "1.280,00 TL", "12,345",   "1e3", "abc-1e5",
                              "-5",          "0",        "",    "x"};
    const TReading no = kRefused;
    const auto n = [](double v) {
        return TReading(v);
    };
    const QList<TFieldExpectations> fields{
        {"shift cash", {n(1500), n(1500), n(1.5), n(1.5), n(1280), no, no, no, no, n(0), no, no}},
        {"payment", {n(1500), n(1500), n(1.5), n(1.5), n(1280), no, no, no, no, n(0), n(0), no}},
        {"risk limit", {n(1500), n(1500), n(1.5), n(1.5), n(1280), no, no, no, no, n(0), n(0), no}},
        {"due days", {n(1500), no, no, no, no, no, no, no, no, n(0), n(0), no}},
        {"parameter", {n(1500), no, no, no, no, no, no, no, n(-5), n(0), no, no}},
        {"refund quantity",
         {n(1500), n(1500), n(1.5), n(1.5), no, n(12.345), no, no, no, no, no, no}},
        {"weight", {n(1500), n(1500), n(1.5), n(1.5), no, n(12.345), no, no, no, no, no, no}},
        {"quantity change",
         {n(1500), n(1500), n(1.5), n(1.5), no, n(12.345), no, no, no, no, no, no}},
        {"discount", {no, no, n(1.5), n(1.5), no, n(12.345), no, no, no, n(0), no, no}},
        {"n*code", {n(1500), n(1500), n(1.5), n(1.5), no, n(12.345), no, no, no, no, no, no}},
    };
    for (const TFieldExpectations& f : fields) {
        QCOMPARE(f.Readings.size(), entries.size());
        for (int i = 0; i < entries.size(); ++i)
            QTest::addRow("%s: \"%s\"", f.Field, qPrintable(entries.at(i)))
                << QString(f.Field) << entries.at(i) << f.Readings.at(i);
    }
}

void TestTypedNumber::entriesThroughEveryField()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(TReading, expected);
    QVERIFY(FieldReaders().contains(field));
    QCOMPARE(FieldReaders().value(field)(text), expected);
}

QTEST_GUILESS_MAIN(TestTypedNumber)
#include "tst_TypedNumber.moc"
