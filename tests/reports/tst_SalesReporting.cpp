#include "core/DbQuery.h"
#include "reports/SalesReporting.h"
#include "support/ShopFixture.h"

#include <QtTest>

namespace {
struct TPay {
    QString Tip;
    double Tutar;
};
} // namespace

// The reporting screen's reads: the range of days, the shifts and their takings inside it, each
// day's turnover and the receipts page by page.
class TestSalesReporting : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void rangeEndsAtTheNextDay();
    void rangeEdges_data();
    void rangeEdges();
    void rangeOverMonthEnd();
    void shiftFiguresAndDays();
    void openShiftHasNoDifference();
    void salesPagesNewestFirst();

private:
    int Shift(const QString& opened, const QString& closed, double opening, const QVariant& counted,
              const QString& status);
    int Receipt(int vardiya, const QString& tarih, const QString& durum, const QString& odeme,
                double genel, const QList<TPay>& payments, int subeID = 0);
    QList<TReportingSaleRow> AllSales(const TReportRange& range, int pageSize);

    std::unique_ptr<TShopFixture> F;
    int FNextFis = 1;
};

void TestSalesReporting::initTestCase()
{
    UseTurkishLocale();
}

void TestSalesReporting::init()
{
    F = std::make_unique<TShopFixture>();
    // The fixture's own open shift stays out of the ranges below.
    F->Exec(QString("UPDATE Vardiya SET AcilisZamani = '2020-01-01 08:00:00' WHERE VardiyaID = %1")
                .arg(F->VardiyaID()));
    FNextFis = 1;
}

void TestSalesReporting::cleanup()
{
    F.reset();
}

int TestSalesReporting::Shift(const QString& opened, const QString& closed, double opening,
                              const QVariant& counted, const QString& status)
{
    TDbQuery q("INSERT INTO Vardiya (KullaniciID, TerminalID, SubeID, AcilisZamani, AcilisTutar, "
               "KapanisZamani, KapanisTutar, VardiyaDurumu) VALUES (:K, :T, :S, :A, :AT, :KZ, "
               ":KT, :D)");
    q.Param("K", F->KullaniciID())
        .Param("T", F->TerminalID())
        .Param("S", F->SubeID())
        .Param("A", opened)
        .Param("AT", opening)
        .Param("KZ", closed.isEmpty() ? TDbQuery::NullText() : QVariant(closed))
        .Param("KT", counted)
        .Param("D", status)
        .Exec();
    return F->Scalar("SELECT MAX(VardiyaID) FROM Vardiya").toInt();
}

int TestSalesReporting::Receipt(int vardiya, const QString& tarih, const QString& durum,
                                const QString& odeme, double genel, const QList<TPay>& payments,
                                int subeID)
{
    const int fisID = FNextFis++;
    TDbQuery q("INSERT INTO SatisFis (FisID, FisNo, SubeID, KullaniciID, TerminalID, VardiyaID, "
               "Tarih, GenelToplam, OdemeTipi, FisDurumu) VALUES (:F, :No, :S, :K, :T, :V, "
               ":Tarih, :G, :O, :D)");
    q.Param("F", fisID)
        .Param("No", QString("FIS-%1").arg(fisID))
        .Param("S", subeID > 0 ? subeID : F->SubeID())
        .Param("K", F->KullaniciID())
        .Param("T", F->TerminalID())
        .Param("V", vardiya)
        .Param("Tarih", tarih)
        .Param("G", genel)
        .Param("O", odeme)
        .Param("D", durum)
        .Exec();
    for (const TPay& p : payments) {
        TDbQuery pay("INSERT INTO SatisOdeme (FisID, OdemeTipi, Tutar) VALUES (:F, :O, :T)");
        pay.Param("F", fisID).Param("O", p.Tip).Param("T", p.Tutar).Exec();
    }
    return fisID;
}

QList<TReportingSaleRow> TestSalesReporting::AllSales(const TReportRange& range, int pageSize)
{
    QList<TReportingSaleRow> rows;
    TSalesPage page = TSalesReporting::LoadSalesPage(range, F->SubeID(), nullptr, pageSize);
    rows += page.Rows;
    while (page.More) {
        page = TSalesReporting::LoadSalesPage(range, F->SubeID(), &page, pageSize);
        rows += page.Rows;
    }
    return rows;
}

void TestSalesReporting::rangeEndsAtTheNextDay()
{
    const TReportRange range = TReportRange::Days(QDate(2025, 3, 1), QDate(2025, 3, 7));
    QCOMPARE(range.Start, QDateTime(QDate(2025, 3, 1), QTime(0, 0)));
    QCOMPARE(range.End, QDateTime(QDate(2025, 3, 8), QTime(0, 0)));
    QCOMPARE(range.DayList().size(), 7);
    QVERIFY(TReportRange::Days(QDate(2025, 3, 7), QDate(2025, 3, 1)).DayList().isEmpty());
}

void TestSalesReporting::rangeEdges_data()
{
    QTest::addColumn<QString>("tarih");
    QTest::addColumn<bool>("in");
    QTest::newRow("first second of the range") << "2025-03-01 00:00:00" << true;
    QTest::newRow("last second of the end date") << "2025-03-07 23:59:59" << true;
    QTest::newRow("within the last second") << "2025-03-07 23:59:59.870" << true;
    QTest::newRow("first second of the next day") << "2025-03-08 00:00:00" << false;
    QTest::newRow("last second before the range") << "2025-02-28 23:59:59" << false;
}

// A receipt counts wherever its second falls in the days: in the sales list, in its shift's
// takings (the shift opened and closed outside the range is listed for it) and in its day.
void TestSalesReporting::rangeEdges()
{
    QFETCH(QString, tarih);
    QFETCH(bool, in);
    const int vardiya = Shift("2025-02-20 08:00:00", "2025-03-20 08:00:00", 0, 0, "KAPALI");
    Receipt(vardiya, tarih, "AKTIF", "NAKIT", 40, {{"NAKIT", 40}});
    const TReportRange range = TReportRange::Days(QDate(2025, 3, 1), QDate(2025, 3, 7));

    QCOMPARE(AllSales(range, 10).size(), in ? 1 : 0);
    const TReportingShifts shifts = TSalesReporting::LoadShifts(range, F->SubeID());
    QCOMPARE(shifts.Shifts.size(), in ? 1 : 0);
    if (in)
        QCOMPARE(shifts.Shifts.first().NetNakit(), 40.0);
    double days = 0;
    for (const TDayTurnover& d : shifts.Days)
        days += d.NetCiro;
    QCOMPARE(days, in ? 40.0 : 0.0);
}

void TestSalesReporting::rangeOverMonthEnd()
{
    const int vardiya = Shift("2025-04-30 20:00:00", "2025-05-02 04:00:00", 50, 50, "KAPALI");
    Receipt(vardiya, "2025-04-30 23:59:59", "AKTIF", "NAKIT", 10, {{"NAKIT", 10}});
    Receipt(vardiya, "2025-05-01 00:00:00", "AKTIF", "KART", 20, {{"KART", 20}});
    Receipt(vardiya, "2025-05-01 23:59:59", "AKTIF", "PARCALI", 30, {{"NAKIT", 5}, {"KART", 25}});
    Receipt(vardiya, "2025-05-02 00:00:00", "AKTIF", "NAKIT", 70, {{"NAKIT", 70}});
    const TReportRange range = TReportRange::Days(QDate(2025, 4, 30), QDate(2025, 5, 1));

    const TReportingShifts loaded = TSalesReporting::LoadShifts(range, F->SubeID());
    QCOMPARE(loaded.Days.size(), 2);
    QCOMPARE(loaded.Days.at(0).Gun, QDate(2025, 4, 30));
    QCOMPARE(loaded.Days.at(0).NetCiro, 10.0);
    QCOMPARE(loaded.Days.at(1).Gun, QDate(2025, 5, 1));
    QCOMPARE(loaded.Days.at(1).NetCiro, 50.0);
    QCOMPARE(loaded.Shifts.size(), 1);
    QCOMPARE(loaded.Shifts.first().NetNakit(), 15.0);
    QCOMPARE(loaded.Shifts.first().NetKart(), 45.0);
    QCOMPARE(AllSales(range, 10).size(), 3);
}

// Only this branch's payment lines of receipts dated in the range count; a cash refund lowers
// the cash and a card refund the card takings, each by its absolute value, a receipt without
// payment lines and a cancelled one add nothing.
void TestSalesReporting::shiftFiguresAndDays()
{
    const int other = F->AddBranch("KADIKÖY");
    const int vardiya = Shift("2025-03-04 20:00:00", "2025-03-05 10:00:00", 100, 125, "KAPALI");
    Receipt(vardiya, "2025-03-04 22:00:00", "AKTIF", "NAKIT", 50, {{"NAKIT", 50}});
    Receipt(vardiya, "2025-03-05 09:00:00", "AKTIF", "PARCALI", 100, {{"NAKIT", 30}, {"KART", 70}});
    Receipt(vardiya, "2025-03-05 09:10:00", "IADE", "NAKIT", -20, {{"NAKIT", -20}});
    Receipt(vardiya, "2025-03-05 09:20:00", "IADE", "KART", -15, {{"KART", -15}});
    Receipt(vardiya, "2025-03-05 09:30:00", "AKTIF", "NAKIT", 40, {});
    Receipt(vardiya, "2025-03-05 09:40:00", "IPTAL", "NAKIT", 99, {{"NAKIT", 99}});
    Receipt(vardiya, "2025-03-05 09:50:00", "AKTIF", "NAKIT", 500, {{"NAKIT", 500}}, other);
    const TReportRange range = TReportRange::Days(QDate(2025, 3, 5), QDate(2025, 3, 6));

    const TReportingShifts loaded = TSalesReporting::LoadShifts(range, F->SubeID());
    QCOMPARE(loaded.Shifts.size(), 1);
    QCOMPARE(loaded.Shifts.first().Cells(),
             (QStringList{QString::number(vardiya), "04.03.2025 20:00", "05.03.2025 10:00",
                          "KASA SORUMLUSU", "110,00 TL", "125,00 TL", "15,00 TL", "10,00 TL",
                          "55,00 TL", "KAPALI"}));
    QCOMPARE(loaded.Days.size(), 2);
    QCOMPARE(loaded.Days.at(0).NetCiro, 65.0);
    QCOMPARE(loaded.Days.at(1).NetCiro, 0.0);

    const QList<TReportingSaleRow> sales = AllSales(range, 10);
    QCOMPARE(sales.size(), 5);
    QCOMPARE(sales.first().Cells(),
             (QStringList{"6", "FIS-6", "05.03.2025 09:40", "KASA SORUMLUSU", "NAKİT", "İPTAL",
                          QString::number(vardiya), "99,00 TL"}));
    QCOMPARE(sales.at(4).Cells().at(4), QString("PARÇALI"));
}

void TestSalesReporting::openShiftHasNoDifference()
{
    const int vardiya = Shift("2025-03-05 08:00:00", QString(), 100, QVariant(), "ACIK");
    Receipt(vardiya, "2025-03-05 09:00:00", "AKTIF", "NAKIT", 25, {{"NAKIT", 25}});
    const TReportingShifts loaded = TSalesReporting::LoadShifts(
        TReportRange::Days(QDate(2025, 3, 5), QDate(2025, 3, 5)), F->SubeID());
    QCOMPARE(loaded.Shifts.size(), 1);
    const QStringList cells = loaded.Shifts.first().Cells();
    QCOMPARE(cells.at(2), QString("AÇIK"));
    QCOMPARE(cells.at(4), QString("125,00 TL"));
    QCOMPARE(cells.at(5), QString("0,00 TL"));
    QCOMPARE(cells.at(6), QString("0,00 TL"));
    QCOMPARE(cells.at(9), QString("AÇIK"));
}

// Pages follow each other without a gap or a repeat, also through receipts of one second.
void TestSalesReporting::salesPagesNewestFirst()
{
    const int vardiya = Shift("2025-03-05 08:00:00", "2025-03-05 20:00:00", 0, 0, "KAPALI");
    for (const char* t :
         {"09:00:00", "09:05:00", "09:05:00", "09:05:00", "10:00:00", "11:00:00", "11:00:00"})
        Receipt(vardiya, QString("2025-03-05 ") + t, "AKTIF", "NAKIT", 1, {{"NAKIT", 1}});
    const TReportRange range = TReportRange::Days(QDate(2025, 3, 5), QDate(2025, 3, 5));
    QList<int> ids;
    for (const TReportingSaleRow& row : AllSales(range, 3))
        ids << row.FisID;
    QCOMPARE(ids, (QList<int>{7, 6, 5, 4, 3, 2, 1}));
    const TSalesPage first = TSalesReporting::LoadSalesPage(range, F->SubeID(), nullptr, 3);
    QVERIFY(first.More);
    const TSalesPage all = TSalesReporting::LoadSalesPage(range, F->SubeID(), nullptr, 10);
    QVERIFY(!all.More);
}

QTEST_GUILESS_MAIN(TestSalesReporting)
#include "tst_SalesReporting.moc"
