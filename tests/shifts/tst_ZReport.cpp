#include "ShiftFixture.h"

#include "core/Exceptions.h"
#include "shifts/ShiftReport.h"
#include "shifts/ZReport.h"

#include <QtTest>

#include <cmath>

Q_DECLARE_METATYPE(TReportReceipt)

// The shared report text rules and the whole Z report text of fixture shifts.
class TestZReport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();

    void columns_data();
    void columns();
    void money_data();
    void money();
    void dateTime();
    void receiptListIsExactlyTheWidth_data();
    void receiptListIsExactlyTheWidth();
    void receiptListKeepsAmountsWhole_data();
    void receiptListKeepsAmountsWhole();
    void figureLinesKeepAmountsWhole();

    void closedShiftReportWhole();
    void openShiftWithoutReceiptsReportWhole();
    void figuresFollowTheShiftRules();
    void drawerDifferenceFollowsTheCount_data();
    void drawerDifferenceFollowsTheCount();
    void missingShiftIsReported();
    void shiftWithoutCashierRowIsMissing();

private:
    static void CompareLines(const QStringList& actual, const QStringList& expected);
};

void TestZReport::initTestCase()
{
    UseTurkishLocale();
}

void TestZReport::CompareLines(const QStringList& actual, const QStringList& expected)
{
    for (int i = 0; i < std::min(actual.size(), expected.size()); ++i)
        QVERIFY2(actual.at(i) == expected.at(i),
                 qPrintable(
                     QString("line %1:\n[%2]\n[%3]").arg(i + 1).arg(actual.at(i), expected.at(i))));
    QCOMPARE(actual.size(), expected.size());
}

void TestZReport::columns_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("right");
    QTest::newRow("shorter") << "ab" << 5 << "ab   "
                             << "   ab";
    QTest::newRow("exact") << "abcde" << 5 << "abcde"
                           << "abcde";
    QTest::newRow("longer cuts, never wraps") << "FIS-2025030512345" << 12 << "FIS-20250305"
                                              << "025030512345";
    QTest::newRow("money keeps its last characters") << "1.234.567,89 TL" << 13 << "1.234.567,89 "
                                                     << "234.567,89 TL";
    QTest::newRow("empty") << "" << 3 << "   "
                           << "   ";
    QTest::newRow("Turkish letters count as one") << "İĞÜŞ" << 6 << "İĞÜŞ  "
                                                  << "  İĞÜŞ";
}

void TestZReport::columns()
{
    QFETCH(QString, text);
    QFETCH(int, width);
    QFETCH(QString, left);
    QFETCH(QString, right);
    QCOMPARE(TReportText::PadRight(text, width), left);
    QCOMPARE(TReportText::PadLeft(text, width), right);
}

void TestZReport::money_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("grouped") << 1234.5 << "1.234,50 TL";
    QTest::newRow("zero") << 0.0 << "0,00 TL";
    QTest::newRow("negative") << -10.0 << "-10,00 TL";
    QTest::newRow("negative below a cent is zero") << -0.001 << "0,00 TL";
    QTest::newRow("half cent rounds up") << 2.675 << "2,68 TL";
    QTest::newRow("millions") << 7407407.34 << "7.407.407,34 TL";
}

void TestZReport::money()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(TReportText::Money(value), text);
}

void TestZReport::dateTime()
{
    QCOMPARE(TReportText::DateTime(QDateTime(QDate(2025, 1, 2), QTime(3, 4, 5))),
             QString("02.01.2025 03:04:05"));
    QCOMPARE(TReportText::DateTime(QDateTime()), QString());
    // Stored times print with the digits the database holds, whichever way they arrive.
    for (const QVariant& stored : {QVariant("2025-03-05 09:15:07"), QVariant("2025-03-05T09:15:07"),
                                   QVariant("2025-03-05 09:15:07.250"),
                                   QVariant(QDateTime(QDate(2025, 3, 5), QTime(9, 15, 7)))})
        QCOMPARE(TReportText::DateTime(TReportText::StoredTime(stored)),
                 QString("05.03.2025 09:15:07"));
    QCOMPARE(TReportText::DateTime(TReportText::StoredTime(QVariant("2025-03-05"))),
             QString("05.03.2025 00:00:00"));
    for (const QVariant& none : {QVariant(), QVariant("dün"), QVariant("2025-13-45 99:99:99")})
        QVERIFY(!TReportText::StoredTime(none).isValid());
    QCOMPARE(TReportText::DoubleRule(), QString(118, '='));
    QCOMPARE(TReportText::SingleRule(), QString(118, '-'));
}

void TestZReport::receiptListIsExactlyTheWidth_data()
{
    QTest::addColumn<TReportReceipt>("receipt");
    TReportReceipt plain;
    plain.Tarih = QDateTime(QDate(2025, 3, 5), QTime(9, 0));
    plain.FisNo = "FIS-1";
    plain.FisDurumu = "AKTIF";
    plain.OdemeTipi = "NAKIT";
    QTest::newRow("plain") << plain;
    TReportReceipt wide = plain;
    wide.FisNo = QString(40, 'X');
    wide.FisDurumu = "BILINMEYEN DURUM";
    wide.OdemeTipi = "HEDIYE CEKI";
    wide.UrunAdedi = 123456789;
    wide.AraToplam = wide.ToplamKDV = wide.Indirim = wide.GenelToplam = -123456789012.34;
    QTest::newRow("every column too wide") << wide;
    QTest::newRow("nothing at all") << TReportReceipt();
}

void TestZReport::receiptListIsExactlyTheWidth()
{
    QFETCH(TReportReceipt, receipt);
    for (const QString& line : TReceiptListText::Lines(receipt))
        QCOMPARE(line.size(), 118);
    QCOMPARE(TReceiptListText::HeaderLine().size(), 118);
}

// An amount of the receipt list is never cut: it takes the blanks beside it, and where they are
// not enough the amounts take a second line, under their columns.
void TestZReport::receiptListKeepsAmountsWhole_data()
{
    QTest::addColumn<TReportReceipt>("receipt");
    QTest::addColumn<QStringList>("lines");
    TReportReceipt plain;
    plain.Tarih = QDateTime(QDate(2025, 3, 5), QTime(9, 0));
    plain.FisNo = "FIS-1";
    plain.FisDurumu = "AKTIF";
    plain.OdemeTipi = "NAKIT";
    plain.UrunAdedi = 1;
    plain.AraToplam = plain.ToplamKDV = plain.GenelToplam = 1;
    const QString head = "05.03.2025 09:00:00 FIS-1        AKTİF   NAKİT";
    const auto row = [](const char* name, const TReportReceipt& r, const QStringList& lines) {
        QTest::newRow(name) << r << lines;
    };
    TReportReceipt r = plain;
    row("fits", r,
        {head + "        1,00         1,00 TL       1,00 TL       0,00 TL         1,00 TL"});
    r = plain;
    r.GenelToplam = 12345678901.23;
    row("Genel Toplam takes the blanks of İndirim", r,
        {head + "        1,00         1,00 TL       1,00 TL  0,00 TL 12.345.678.901,23 TL"});
    r = plain;
    r.AraToplam = -12345678901.23;
    row("Ara Toplam takes the blanks of Ürün, then of KDV", r,
        {head + "    1,00 -12.345.678.901,23 TL     1,00 TL       0,00 TL         1,00 TL"});
    r = plain;
    r.ToplamKDV = 12345678901.23;
    row("KDV takes the blanks of Ara Toplam", r,
        {head + "        1,00  1,00 TL 12.345.678.901,23 TL       0,00 TL         1,00 TL"});
    r = plain;
    r.Indirim = 12345678901.23;
    row("İndirim takes the blanks of KDV, then of Genel Toplam", r,
        {head + "        1,00         1,00 TL 1,00 TL 12.345.678.901,23 TL        1,00 TL"});
    r = plain;
    r.UrunAdedi = 123456789;
    row("Ürün takes the blanks of Ödeme, then of Ara Toplam", r,
        {head + " 123.456.789,00      1,00 TL       1,00 TL       0,00 TL         1,00 TL"});
    r = plain;
    r.UrunAdedi = 123456789;
    r.AraToplam = r.ToplamKDV = r.Indirim = r.GenelToplam = -123456789012.34;
    row("all of them: a second line", r,
        {head.leftJustified(118),
         "            123.456.789,00 -123.456.789.012,34 TL -123.456.789.012,34 TL "
         "-123.456.789.012,34 TL -123.456.789.012,34 TL"});
}

void TestZReport::receiptListKeepsAmountsWhole()
{
    QFETCH(TReportReceipt, receipt);
    QFETCH(QStringList, lines);
    CompareLines(TReceiptListText::Lines(receipt), lines);
}

// The figures of the Z report keep their ":" column; a long amount goes on to the right.
void TestZReport::figureLinesKeepAmountsWhole()
{
    TZReportData data;
    data.VardiyaID = 7;
    data.Figures.BrutNakit = 12345678901234.5;
    data.Figures.BrutKart = 1;
    data.Figures.AcilisTutar = -9999999999999.99;
    const QStringList lines = TZReport::BuildReport(data, TShiftReportFixture::ReportTime());
    QCOMPARE(lines.at(16), QString("Nakit Satış             : 12.345.678.901.234,50 TL"));
    QCOMPARE(lines.at(17), QString("Kredi Kartı Satış       :            1,00 TL"));
    QCOMPARE(lines.at(20), QString("Net Ciro                : 12.345.678.901.235,50 TL"));
    QCOMPARE(lines.at(23), QString("Açılış Tutarı           : -9.999.999.999.999,99 TL"));
    for (const QString& line : lines)
        QVERIFY(line.size() <= 118);
}

void TestZReport::closedShiftReportWhole()
{
    TShiftReportFixture fixture;
    const TZReportData data = TZReport::Load(fixture.ClosedID);
    CompareLines(TZReport::BuildReport(data, TShiftReportFixture::ReportTime()),
                 TShiftReportFixture::ExpectedClosedReport());
    QCOMPARE(data.DurumText(), QString("KAPALI"));
    QCOMPARE(data.KapanisText(), QString("05.03.2025 18:00:00"));
    QCOMPARE(data.Kasiyer, QString("KASA SORUMLUSU"));
}

void TestZReport::openShiftWithoutReceiptsReportWhole()
{
    TShiftReportFixture fixture;
    const TZReportData data = TZReport::Load(fixture.OpenID);
    CompareLines(TZReport::BuildReport(data, TShiftReportFixture::ReportTime()),
                 TShiftReportFixture::ExpectedOpenReport());
    QCOMPARE(data.DurumText(), QString("AÇIK"));
    QCOMPARE(data.KapanisText(), QString("Henüz kapanmadı"));
}

void TestZReport::figuresFollowTheShiftRules()
{
    TShiftReportFixture fixture;
    const TShiftFigures f = TZReport::Load(fixture.ClosedID).Figures;
    QCOMPARE(f.AktifFis, 6);
    QCOMPARE(f.IadeFis, 2);
    QCOMPARE(f.NakitAdet, 3); // the split receipt counts under both types
    QCOMPARE(f.KartAdet, 4);
    QVERIFY(qAbs(f.BrutNakit - 240.49) < 0.001);
    QVERIFY(qAbs(f.BrutKart - 7408887.80) < 0.001);
    QVERIFY(qAbs(f.IadeNakit - 20) < 0.001); // the card refund is not cash
    QVERIFY(qAbs(f.IadeToplam - 30) < 0.001);
    QVERIFY(qAbs(f.KasadaOlmasiGereken() - 470.49) < 0.001);
    QVERIFY(qAbs(f.NetCiro() - 7409098.29) < 0.001);
}

void TestZReport::drawerDifferenceFollowsTheCount_data()
{
    QTest::addColumn<QString>("closedAt");
    QTest::addColumn<double>("counted");
    QTest::addColumn<QString>("line");
    QTest::newRow("exact") << "'2025-03-05 18:00:00'" << 470.49
                           << "Kasa Farkı              :            0,00 TL";
    QTest::newRow("surplus") << "'2025-03-05 18:00:00'" << 500.0
                             << "Kasa Farkı              :           29,51 TL";
    QTest::newRow("open shift with a stale count")
        << "NULL" << 999.0 << "Kasa Farkı              :            0,00 TL";
}

void TestZReport::drawerDifferenceFollowsTheCount()
{
    QFETCH(QString, closedAt);
    QFETCH(double, counted);
    QFETCH(QString, line);
    TShiftReportFixture fixture;
    fixture.Shop.Exec(QString("UPDATE Vardiya SET KapanisZamani = %1, KapanisTutar = %2 WHERE "
                              "VardiyaID = %3")
                          .arg(closedAt)
                          .arg(counted)
                          .arg(fixture.ClosedID));
    const QStringList lines =
        TZReport::BuildReport(TZReport::Load(fixture.ClosedID), TShiftReportFixture::ReportTime());
    QCOMPARE(lines.at(26), line);
}

void TestZReport::missingShiftIsReported()
{
    TShiftReportFixture fixture;
    try {
        TZReport::Load(77);
        QFAIL("no error");
    } catch (const Exception& e) {
        QCOMPARE(e.Message(), QString("Vardiya bulunamadı."));
    }
}

void TestZReport::shiftWithoutCashierRowIsMissing()
{
    // The report joins the cashier; a shift whose user row is gone has nobody to report.
    TShiftReportFixture fixture;
    fixture.Shop.Exec("PRAGMA foreign_keys=OFF");
    fixture.Shop.Exec(
        QString("UPDATE Vardiya SET KullaniciID = 999 WHERE VardiyaID = %1").arg(fixture.OpenID));
    QVERIFY_THROWS_EXCEPTION(Exception, TZReport::Load(fixture.OpenID));
}

QTEST_GUILESS_MAIN(TestZReport)
#include "tst_ZReport.moc"
