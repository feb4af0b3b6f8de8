#include "core/DbQuery.h"
#include "core/POSTextUtils.h"
#include "support/TestDatabase.h"

#include <QtTest>

// Number reading, folding, display words and number patterns under Turkish settings.
class TestPOSTextUtils : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { UseTurkishLocale(); }
    void variantToFloat_data();
    void variantToFloat();
    void fieldToFloat();
    void parseDecimalText_data();
    void parseDecimalText();
    void foldKey_data();
    void foldKey();
    void displayWords_data();
    void displayWords();
    void formatFloat_data();
    void formatFloat();
    void otherLocaleSeparators();
    void dateTimeFromStoredText();
};

void TestPOSTextUtils::variantToFloat_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<double>("expected");
    QTest::newRow("null") << QVariant() << -1.0;
    QTest::newRow("typed null") << QVariant(QMetaType::fromType<double>()) << -1.0;
    QTest::newRow("int") << QVariant(7) << 7.0;
    QTest::newRow("longlong") << QVariant(qlonglong(9000000000)) << 9000000000.0;
    QTest::newRow("double") << QVariant(2.5) << 2.5;
    QTest::newRow("dot text") << QVariant("12.5") << 12.5;
    QTest::newRow("comma text") << QVariant("12,5") << 12.5;
    QTest::newRow("padded text") << QVariant(" 12,5 ") << 12.5;
    QTest::newRow("trailing point") << QVariant("7.") << 7.0;
    QTest::newRow("exponent") << QVariant("1.5e3") << 1500.0;
    QTest::newRow("negative") << QVariant("-0,25") << -0.25;
    QTest::newRow("grouped text") << QVariant("1.234,56") << -1.0;
    QTest::newRow("letters") << QVariant("abc") << -1.0;
    QTest::newRow("empty") << QVariant("") << -1.0;
    QTest::newRow("spaces") << QVariant("   ") << -1.0;
    QTest::newRow("boolean") << QVariant(true) << -1.0;
    QTest::newRow("date") << QVariant(QDate(2025, 3, 5)) << -1.0;
}

void TestPOSTextUtils::variantToFloat()
{
    QFETCH(QVariant, value);
    QFETCH(double, expected);
    QCOMPARE(VariantToFloatDef(value, -1.0), expected);
}

void TestPOSTextUtils::fieldToFloat()
{
    TTestDatabase db;
    db.Exec("CREATE TABLE T (A REAL, B REAL, C TEXT)");
    db.Exec("INSERT INTO T VALUES (1.5, NULL, '2,25')");
    TDbQuery q("SELECT A, B, C FROM T");
    q.Exec();
    QVERIFY(q.Next());
    QCOMPARE(FieldToFloatDef(q, "A", 0), 1.5);
    QCOMPARE(FieldToFloatDef(q, "B", 9), 9.0);
    QCOMPARE(FieldToFloatDef(q, "C", 0), 2.25);
    QCOMPARE(FieldToFloatDef(q, "Missing", 4), 4.0);
}

void TestPOSTextUtils::parseDecimalText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("expected");
    QTest::newRow("comma decimals") << "12,345" << 12.345;
    QTest::newRow("dot decimals") << "12.34" << 12.34;
    QTest::newRow("a point before three digits groups") << "12.345" << 12345.0;
    QTest::newRow("grouped") << "1.000,00" << 1000.0;
    QTest::newRow("negative") << "-2,5" << -2.5;
    QTest::newRow("empty") << "" << -1.0;
    QTest::newRow("letters") << "abc" << -1.0;
    QTest::newRow("exponent") << "1e3" << -1.0;
    QTest::newRow("whole") << "250" << 250.0;
}

void TestPOSTextUtils::parseDecimalText()
{
    QFETCH(QString, text);
    QFETCH(double, expected);
    QCOMPARE(ParseDecimalText(text, -1.0), expected);
}

void TestPOSTextUtils::foldKey_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("split word") << "Parçalı"
                                << "PARCALI";
    QTest::newRow("trailing space") << "nakit "
                                    << "NAKIT";
    QTest::newRow("capital dotted I") << "İade"
                                      << "IADE";
    QTest::newRow("hyphen and dotless i") << "Kredi-Kartı"
                                          << "KREDIKARTI";
    QTest::newRow("drops separators") << "  çay-şeker_ "
                                      << "CAYSEKER";
    QTest::newRow("all Turkish letters") << "ÇçÖöÜüĞğİıŞş"
                                         << "CCOOUUGGIISS";
    QTest::newRow("others unchanged") << "â.1"
                                      << "â.1";
    QTest::newRow("empty") << ""
                           << "";
}

void TestPOSTextUtils::foldKey()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(FoldKey(text), expected);
}

void TestPOSTextUtils::displayWords_data()
{
    QTest::addColumn<bool>("payment");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("upper");
    QTest::addColumn<QString>("expected");
    QTest::newRow("cash upper") << true << "NAKIT" << true << "NAKİT";
    QTest::newRow("cash mixed") << true << "nakit" << false << "Nakit";
    QTest::newRow("card") << true << "KART" << false << "Kart";
    QTest::newRow("split folded") << true << "parçalı" << false << "Parçalı";
    QTest::newRow("split upper") << true << "PARCALI" << true << "PARÇALI";
    QTest::newRow("split as the till stores it") << true << "KARMA" << false << "Parçalı";
    QTest::newRow("split as the till stores it, upper") << true << "karma" << true << "PARÇALI";
    QTest::newRow("unknown trimmed") << true << " Havale " << true << "Havale";
    QTest::newRow("open upper") << false << "Açık" << true << "AÇIK";
    QTest::newRow("open mixed") << false << "ACIK" << false << "Açık";
    QTest::newRow("closed") << false << "KAPALI" << false << "Kapalı";
    QTest::newRow("active") << false << "AKTIF" << true << "AKTİF";
    QTest::newRow("passive") << false << "pasif" << false << "Pasif";
    QTest::newRow("refund") << false << "IADE" << true << "İADE";
    QTest::newRow("void") << false << "IPTAL" << false << "İptal";
    QTest::newRow("other status") << false << " BEKLEMEDE " << false << "BEKLEMEDE";
}

void TestPOSTextUtils::displayWords()
{
    QFETCH(bool, payment);
    QFETCH(QString, value);
    QFETCH(bool, upper);
    QFETCH(QString, expected);
    QCOMPARE(payment ? PaymentTypeDisplay(value, upper) : StatusDisplay(value, upper), expected);
}

void TestPOSTextUtils::formatFloat_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("expected");
    QTest::newRow("money") << "#,##0.00 TL" << 1234.5 << "1.234,50 TL";
    QTest::newRow("money zero") << "#,##0.00 TL" << 0.0 << "0,00 TL";
    QTest::newRow("money millions") << "#,##0.00 TL" << 1234567.891 << "1.234.567,89 TL";
    QTest::newRow("money negative") << "#,##0.00 TL" << -1234.5 << "-1.234,50 TL";
    QTest::newRow("no negative zero") << "#,##0.00 TL" << -0.004 << "0,00 TL";
    QTest::newRow("grid money") << "0.00 TL" << 1234.5 << "1234,50 TL";
    QTest::newRow("entry text") << "0.00" << 1234.5 << "1234,50";
    QTest::newRow("half away from zero") << "0.00" << 0.125 << "0,13";
    QTest::newRow("negative half") << "0.00" << -0.125 << "-0,13";
    QTest::newRow("decimal half") << "0.00" << 2.675 << "2,68";
    QTest::newRow("carry") << "0.00" << 9.999 << "10,00";
    QTest::newRow("worked cart total") << "0.00" << 21.240000000000006 << "21,24";
    QTest::newRow("receipt quantity") << "0.##" << 1234.5 << "1234,5";
    QTest::newRow("receipt whole quantity") << "0.##" << 2.0 << "2";
    QTest::newRow("receipt quantity rounded") << "0.##" << 1.255 << "1,26";
    QTest::newRow("search quantity") << "#,##0.###" << 1234.5 << "1.234,5";
    QTest::newRow("search fraction") << "#,##0.###" << 0.0005 << "0,001";
    QTest::newRow("grid quantity") << "0.000" << 1234.5 << "1234,500";
    QTest::newRow("count") << "#,##0" << 1234.5 << "1.235";
    QTest::newRow("small count") << "#,##0" << 12.0 << "12";
    QTest::newRow("unit price") << "#,##0.00" << 9.090909 << "9,09";
    QTest::newRow("tiny") << "0.00" << 1e-20 << "0,00";
}

void TestPOSTextUtils::formatFloat()
{
    QFETCH(QString, pattern);
    QFETCH(double, value);
    QFETCH(QString, expected);
    QCOMPARE(FormatFloat(pattern, value), expected);
}

void TestPOSTextUtils::otherLocaleSeparators()
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(FormatFloat("#,##0.00 TL", 1234.5), QString("1,234.50 TL"));
    QCOMPARE(ParseDecimalText("12,5", 0), 12.5);
    QCOMPARE(VariantToFloatDef("1.234,56", -1), -1.0);
    UseTurkishLocale();
}

void TestPOSTextUtils::dateTimeFromStoredText()
{
    QCOMPARE(VariantToDateTime("2025-03-05 14:30:12"),
             QDateTime(QDate(2025, 3, 5), QTime(14, 30, 12)));
    QCOMPARE(VariantToDateTime("2025-03-05"), QDateTime(QDate(2025, 3, 5), QTime(0, 0)));
    QCOMPARE(VariantToDateTime(QDateTime(QDate(2025, 1, 2), QTime(3, 4))),
             QDateTime(QDate(2025, 1, 2), QTime(3, 4)));
    QVERIFY(!VariantToDateTime("dün").isValid());
    QVERIFY(!VariantToDateTime(QVariant()).isValid());
}

QTEST_GUILESS_MAIN(TestPOSTextUtils)
#include "tst_POSTextUtils.moc"
