#include "core/Exceptions.h"
#include "reports/OpenShiftSales.h"
#include "reports/PastShiftReports.h"
#include "shifts/ShiftFixture.h"

#include <QtTest>

namespace {
// The fixture's closed shift (ShiftFixture.h): nine receipts with a split sale, a cash and a
// card refund, sales without payment lines, an 'IPTAL' receipt and columns too wide for the
// list. Written out by hand; a line's trailing spaces run up to its "|".
const char* const kPastListing = R"(
KIRVELO - GEÇMİŞ VARDİYA DÖKÜMÜ|
======================================================================================================================|
Vardiya  : 1|
Şube     : MERKEZ|
Kasiyer  : KASA SORUMLUSU|
Açılış   : 05.03.2025 08:30:00|
Kapanış  : 05.03.2025 18:00:00|
Durum    : KAPALI|
Rapor    : 05.03.2025 20:00:00|
----------------------------------------------------------------------------------------------------------------------|
Fiş Sayısı : 9                  Açılış Tutarı : 250,00 TL                 Kapanış Tutarı : 460,49 TL                |
Satış Toplamı : 7.409.128,29 TL       İade Toplamı : 30,00 TL               Net Ciro : 7.409.098,29 TL            |
======================================================================================================================|
Tarih-Saat          Fiş No       Durum   Ödeme        Ürün      Ara Toplam           KDV       İndirim    Genel Toplam|
----------------------------------------------------------------------------------------------------------------------|
05.03.2025 08:55:00 FIS-9        İADE    KART         1,00        -8,33 TL      -1,67 TL       0,00 TL       -10,00 TL|
05.03.2025 09:15:00 FIS-1        AKTİF   NAKİT        3,50       100,42 TL      20,08 TL       0,00 TL       120,50 TL|
05.03.2025 09:40:00 FIS-2        AKTİF   PARÇALI      3,00       255,00 TL      51,00 TL       6,00 TL       300,00 TL|
05.03.2025 10:05:00 FIS-3        AKTİF   KART         1,00        38,25 TL       7,65 TL       0,00 TL        45,90 TL|
05.03.2025 10:30:00 FIS-4        AKTİF   NAKİT        0,75        16,66 TL       3,33 TL       0,00 TL        19,99 TL|
05.03.2025 11:00:00 FIS-5        İADE    NAKİT        1,00       -16,67 TL      -3,33 TL       0,00 TL       -20,00 TL|
05.03.2025 11:30:00 FIS-6        İPTAL   NAKİT        2,00        62,50 TL      12,50 TL       0,00 TL        75,00 TL|
05.03.2025 12:00:00 FIS-20250305 AKTİF   KART        12,00     1.028,80 TL     205,76 TL       0,00 TL     1.234,56 TL|
05.03.2025 12:00:00 FIS-8        AKTİF   KART         1,00 6.172.839,45 TL 1.234.567,89 TL     0,00 TL 7.407.407,34 TL|
======================================================================================================================|
Toplam kayıt: 9|
)";

const char* const kEmptyPastListing = R"(
KIRVELO - GEÇMİŞ VARDİYA DÖKÜMÜ|
======================================================================================================================|
Vardiya  : 2|
Şube     : MERKEZ|
Kasiyer  : KASA SORUMLUSU|
Açılış   : 06.03.2025 08:00:00|
Kapanış  : -|
Durum    : AÇIK|
Rapor    : 05.03.2025 20:00:00|
----------------------------------------------------------------------------------------------------------------------|
Fiş Sayısı : 0                  Açılış Tutarı : 100,00 TL                 Kapanış Tutarı : 0,00 TL                  |
Satış Toplamı : 0,00 TL               İade Toplamı : 0,00 TL                Net Ciro : 0,00 TL                    |
======================================================================================================================|
Tarih-Saat          Fiş No       Durum   Ödeme        Ürün      Ara Toplam           KDV       İndirim    Genel Toplam|
----------------------------------------------------------------------------------------------------------------------|
Bu vardiyada satış bulunamadı.|
======================================================================================================================|
Toplam kayıt: 0|
)";

const char* const kOpenShiftReport = R"(
KIRVELO - AÇIK VARDİYA SATIŞ RAPORU|
======================================================================================================================|
Vardiya : 1|
Kasiyer : KASA SORUMLUSU|
Açılış : 05.03.2025 08:30:00|
Rapor  : 05.03.2025 20:00:00|
----------------------------------------------------------------------------------------------------------------------|
Fiş Sayısı : 9                        Nakit Satış : 240,49 TL               |
Kart Satış : 7.408.887,80 TL          İade Toplamı : 30,00 TL               |
Net Ciro          : 7.409.098,29 TL|
======================================================================================================================|
Tarih-Saat          Fiş No       Durum   Ödeme        Ürün      Ara Toplam           KDV       İndirim    Genel Toplam|
----------------------------------------------------------------------------------------------------------------------|
05.03.2025 08:55:00 FIS-9        İADE    KART         1,00        -8,33 TL      -1,67 TL       0,00 TL       -10,00 TL|
05.03.2025 09:15:00 FIS-1        AKTİF   NAKİT        3,50       100,42 TL      20,08 TL       0,00 TL       120,50 TL|
05.03.2025 09:40:00 FIS-2        AKTİF   PARÇALI      3,00       255,00 TL      51,00 TL       6,00 TL       300,00 TL|
05.03.2025 10:05:00 FIS-3        AKTİF   KART         1,00        38,25 TL       7,65 TL       0,00 TL        45,90 TL|
05.03.2025 10:30:00 FIS-4        AKTİF   NAKİT        0,75        16,66 TL       3,33 TL       0,00 TL        19,99 TL|
05.03.2025 11:00:00 FIS-5        İADE    NAKİT        1,00       -16,67 TL      -3,33 TL       0,00 TL       -20,00 TL|
05.03.2025 11:30:00 FIS-6        İPTAL   NAKİT        2,00        62,50 TL      12,50 TL       0,00 TL        75,00 TL|
05.03.2025 12:00:00 FIS-20250305 AKTİF   KART        12,00     1.028,80 TL     205,76 TL       0,00 TL     1.234,56 TL|
05.03.2025 12:00:00 FIS-8        AKTİF   KART         1,00 6.172.839,45 TL 1.234.567,89 TL     0,00 TL 7.407.407,34 TL|
======================================================================================================================|
Toplam kayıt: 9|
)";

const char* const kEmptyOpenShiftReport = R"(
KIRVELO - AÇIK VARDİYA SATIŞ RAPORU|
======================================================================================================================|
Vardiya : 2|
Kasiyer : KASA SORUMLUSU|
Açılış : 06.03.2025 08:00:00|
Rapor  : 05.03.2025 20:00:00|
----------------------------------------------------------------------------------------------------------------------|
Fiş Sayısı : 0                        Nakit Satış : 0,00 TL                 |
Kart Satış : 0,00 TL                  İade Toplamı : 0,00 TL                |
Net Ciro          : 0,00 TL|
======================================================================================================================|
Tarih-Saat          Fiş No       Durum   Ödeme        Ürün      Ara Toplam           KDV       İndirim    Genel Toplam|
----------------------------------------------------------------------------------------------------------------------|
Bu açık vardiyada henüz satış yok.|
======================================================================================================================|
Toplam kayıt: 0|
)";

QStringList Lines(const char* text)
{
    QStringList lines;
    for (const QString& line : QString::fromUtf8(text).split(u'\n', Qt::SkipEmptyParts)) {
        Q_ASSERT(line.endsWith(u'|'));
        lines << line.chopped(1);
    }
    return lines;
}
} // namespace

// The 118-column listings of the past-shift and open-shift windows, compared whole.
class TestReportListings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void listingWhole_data();
    void listingWhole();
    void everyLineKeepsTheWidth();
    void cardsKeepAmountsWhole();
    void nullStatusCountsInListingNotInCards();
    void pastShiftOfAnotherBranchIsNotFound();
    void openShiftOfAnyBranch();
    void missingShiftIsReported();

private:
    static void CompareLines(const QStringList& actual, const QStringList& expected);
    std::unique_ptr<TShiftReportFixture> F;
};

void TestReportListings::initTestCase()
{
    UseTurkishLocale();
}

void TestReportListings::init()
{
    F = std::make_unique<TShiftReportFixture>();
}

void TestReportListings::cleanup()
{
    F.reset();
}

void TestReportListings::CompareLines(const QStringList& actual, const QStringList& expected)
{
    for (int i = 0; i < std::min(actual.size(), expected.size()); ++i)
        QVERIFY2(actual.at(i) == expected.at(i),
                 qPrintable(
                     QString("line %1:\n[%2]\n[%3]").arg(i + 1).arg(actual.at(i), expected.at(i))));
    QCOMPARE(actual.size(), expected.size());
}

void TestReportListings::listingWhole_data()
{
    QTest::addColumn<bool>("past");
    QTest::addColumn<bool>("closed");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("past shift") << true << true << Lines(kPastListing);
    QTest::newRow("past shift without receipts") << true << false << Lines(kEmptyPastListing);
    QTest::newRow("open shift") << false << true << Lines(kOpenShiftReport);
    QTest::newRow("open shift without receipts") << false << false << Lines(kEmptyOpenShiftReport);
}

void TestReportListings::listingWhole()
{
    QFETCH(bool, past);
    QFETCH(bool, closed);
    QFETCH(QStringList, expected);
    const int vardiya = closed ? F->ClosedID : F->OpenID;
    const QDateTime now = TShiftReportFixture::ReportTime();
    const QStringList actual =
        past ? TPastShiftReports::BuildShiftListing(vardiya, F->Shop.SubeID(), now)
             : TOpenShiftSales::BuildReport(TOpenShiftSales::LoadShift(vardiya),
                                            TOpenShiftSales::LoadReceipts(vardiya), now);
    CompareLines(actual, expected);
}

void TestReportListings::everyLineKeepsTheWidth()
{
    const QDateTime now = TShiftReportFixture::ReportTime();
    for (const QString& line :
         TPastShiftReports::BuildShiftListing(F->ClosedID, F->Shop.SubeID(), now) +
             TOpenShiftSales::BuildReport(TOpenShiftSales::LoadShift(F->ClosedID),
                                          TOpenShiftSales::LoadReceipts(F->ClosedID), now))
        QVERIFY2(line.size() <= 118, qPrintable(line));
}

// The figures above the receipt list are never cut: a long one takes the blanks of its
// neighbours, or a line of its own.
void TestReportListings::cardsKeepAmountsWhole()
{
    TShiftListingHead head;
    head.VardiyaID = 1;
    head.FisSayisi = 3;
    head.AcilisTutar = -1234567890123456;
    head.KapanisTutar = 250;
    head.AktifToplam = 1234567890123.45;
    head.IadeToplam = -1234567890123.45;
    const QStringList past = TPastShiftReports::BuildShiftListing(head, {}, QDateTime());
    CompareLines(
        past.mid(10, 3),
        {"Fiş Sayısı : 3                  Açılış Tutarı : -1.234.567.890.123.460,00 TL "
         "Kapanış Tutarı : 250,00 TL             ",
         QString(76, u' ') + QString("Net Ciro : 2.469.135.780.246,90 TL").leftJustified(38),
         QString("Satış Toplamı : 1.234.567.890.123,45 TL İade Toplamı : "
                 "-1.234.567.890.123,45 TL")
             .leftJustified(114)});

    TOpenShiftData open;
    open.VardiyaID = 2;
    open.BrutNakit = 123456789012345.67;
    open.BrutKart = 1;
    const QStringList report = TOpenShiftSales::BuildReport(open, {}, QDateTime());
    CompareLines(report.mid(7, 3), {QString("Fiş Sayısı : 0").leftJustified(37) +
                                        "Nakit Satış : 123.456.789.012.346,00 TL",
                                    QString("Kart Satış : 1,00 TL").leftJustified(38) +
                                        QString("İade Toplamı : 0,00 TL").leftJustified(38),
                                    "Net Ciro          : 123.456.789.012.347,00 TL"});
    for (const QString& line : past + report)
        QVERIFY2(line.size() <= 118, qPrintable(line));
}

// The listing and the shift list count 'AKTIF' or NULL-status receipts; the cards, by the
// shared shift rules, only 'AKTIF'.
void TestReportListings::nullStatusCountsInListingNotInCards()
{
    F->Shop.Exec("UPDATE SatisFis SET FisDurumu = NULL WHERE FisNo = 'FIS-3'");
    const QStringList listing = TPastShiftReports::BuildShiftListing(
        F->ClosedID, F->Shop.SubeID(), TShiftReportFixture::ReportTime());
    QVERIFY(listing.at(11).startsWith("Satış Toplamı : 7.409.128,29 TL"));
    const auto totals = TPastShiftReports::LoadShiftTotals(F->ClosedID, F->Shop.SubeID());
    QVERIFY(totals);
    QCOMPARE(totals->FisSayisi, 9);
    QCOMPARE(TReportText::Money(totals->Nakit), QString("240,49 TL"));
    QCOMPARE(TReportText::Money(totals->Kart), QString("7.408.841,90 TL"));
    QCOMPARE(TReportText::Money(totals->Iade), QString("30,00 TL"));
    QCOMPARE(TReportText::Money(totals->Toplam()), QString("7.409.052,39 TL"));
    const QList<TPastShiftRow> rows =
        TPastShiftReports::LoadShifts(F->Shop.SubeID(), QDate(2025, 3, 5), QDate(2025, 3, 5));
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows.at(1).VardiyaID, F->ClosedID);
    QCOMPARE(TReportText::Money(rows.at(1).NetCiro), QString("7.409.098,29 TL"));
    QCOMPARE(rows.at(1).FisSayisi, 9);
}

void TestReportListings::pastShiftOfAnotherBranchIsNotFound()
{
    const int other = F->Shop.AddBranch("KADIKÖY");
    QVERIFY_THROWS_EXCEPTION(Exception,
                             TPastShiftReports::BuildShiftListing(F->ClosedID, other, QDateTime()));
    QVERIFY(!TPastShiftReports::LoadShiftTotals(F->ClosedID, other));
    QVERIFY(TPastShiftReports::LoadReceipts(F->ClosedID, other).isEmpty());
}

// The open-shift windows select by the shift alone: a receipt booked at another branch is in.
void TestReportListings::openShiftOfAnyBranch()
{
    const int other = F->Shop.AddBranch("KADIKÖY");
    F->Shop.Exec(QString("UPDATE SatisFis SET SubeID = %1 WHERE FisNo = 'FIS-1'").arg(other));
    QCOMPARE(TOpenShiftSales::LoadReceipts(F->ClosedID).size(), 9);
    QCOMPARE(TOpenShiftSales::LoadShift(F->ClosedID).FisSayisi, 9);
    QCOMPARE(TPastShiftReports::LoadReceipts(F->ClosedID, F->Shop.SubeID()).size(), 8);
}

void TestReportListings::missingShiftIsReported()
{
    try {
        TOpenShiftSales::LoadShift(999);
        QFAIL("no error");
    } catch (const Exception& e) {
        QCOMPARE(ErrorMessage(e), QString("Vardiya bulunamadı."));
    }
    try {
        TPastShiftReports::LoadListingHead(999, F->Shop.SubeID());
        QFAIL("no error");
    } catch (const Exception& e) {
        QCOMPARE(ErrorMessage(e), QString("Vardiya bulunamadı."));
    }
}

QTEST_GUILESS_MAIN(TestReportListings)
#include "tst_ReportListings.moc"
