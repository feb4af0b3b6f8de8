#include "core/AppPaths.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/POSTextUtils.h"
#include "printing/PrintService.h"
#include "refunds/RefundGrid.h"
#include "refunds/RefundManager.h"
#include "reports/OpenShiftSales.h"
#include "reports/PastShiftReports.h"
#include "reports/SalesReporting.h"
#include "sales/CartManager.h"
#include "sales/SaleManager.h"
#include "shifts/ShiftManager.h"
#include "shifts/ZReport.h"
#include "support/ShopFixture.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QtTest>

#include <algorithm>
#include <memory>

// The refund screen's road without its window, on a real shop: a sale written by the sale
// routine (lots taken), the receipt found and loaded, quantities chosen and booked, and what
// the books read back afterwards.
class TestRefundManager : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void refundRoadEndToEnd();
    void refundTenderInEveryFigure_data();
    void refundTenderInEveryFigure();
    void resolveFisID_data();
    void resolveFisID();
    void loadOnlyTheBranchesSales();
    void amountsAreWhatTheRoutinePays();
    void remainderAcrossRefunds();
    void gridFiguresAddUp_data();
    void gridFiguresAddUp();
    void screenShowsWhatIsBooked_data();
    void screenShowsWhatIsBooked();
    void refusals_data();
    void refusals();
    void quantityEntry_data();
    void quantityEntry();
    void itemsDocument();
    void roundTrips();
    void refundWritesItsReceipt();
    void refundAndSaleAtOnceReturnStockOnce();
    void refundAndShiftCloseAtOnce();
    void olderDatabaseGainsTheRefundLink();

private:
    int Sell();
    static qint64 Trips() { return dmMain->RoundTrips().Count(); }
    static QList<TRefundLine> Choose(const TRefundReceipt& receipt, QList<double> quantities);

    std::unique_ptr<TShopFixture> FShop;
    int FKola = 0, FDomates = 0, FSut = 0;
    int FLotEarly = 0, FLotLate = 0;
};

void TestRefundManager::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
}

// KOLA 36 TL at 20 % VAT, DOMATES weighed at 25 TL and 1 %, SÜT 30 TL at 10 % tracked by lots:
// 2 in a lot expiring in 5 days, 10 in one expiring in 50.
void TestRefundManager::init()
{
    FShop = std::make_unique<TShopFixture>();
    FKola = FShop->AddProduct("KOLA 1 L", "8690000000002", 36, 20, 50);
    FDomates = FShop->AddProduct("DOMATES", "12345", 25, 1, 20, true);
    FSut = FShop->AddProduct("SÜT 1 L", "8690000000019", 30, 10, 12);
    FShop->TrackExpiry(FSut, true);
    FLotEarly = FShop->AddLot(FSut, 2, QDate::currentDate().addDays(5));
    FLotLate = FShop->AddLot(FSut, 10, QDate::currentDate().addDays(50));
    FShop->LoginCashier();
}

void TestRefundManager::cleanup()
{
    FShop.reset();
}

// Lines: KOLA 3 less 10 % (97,20), DOMATES 1.5 kg (37,50), SÜT 4 (120,00: 2 from the early lot,
// then 2 from the late one), DOMATES 0.5 kg (12,50). Paid 267,20 in cash.
int TestRefundManager::Sell()
{
    TCartManager cart;
    cart.AddItem(FKola, "KOLA 1 L", "8690000000002", "ADET", 36, 3, 20, false).SetIndirimOrani(10);
    cart.AddItem(FDomates, "DOMATES", "12345", "KG", 25, 1.5, 1, true);
    cart.AddItem(FSut, "SÜT 1 L", "8690000000019", "ADET", 30, 4, 10, false);
    cart.AddItem(FDomates, "DOMATES", "12345", "KG", 25, 0.5, 1, true);
    const TSaleResult sale =
        TSaleManager::CreateSale(FShop->SubeID(), FShop->KullaniciID(), FShop->TerminalID(),
                                 FShop->VardiyaID(), "NAKIT", cart, cart.GenelToplam(), 0);
    if (!sale.Success)
        qFatal("%s", qPrintable(sale.Message));
    return sale.FisID;
}

QList<TRefundLine> TestRefundManager::Choose(const TRefundReceipt& receipt,
                                             QList<double> quantities)
{
    QList<TRefundLine> lines = receipt.Lines;
    for (qsizetype i = 0; i < lines.size() && i < quantities.size(); ++i)
        lines[i].IadeMiktar = quantities.at(i);
    TRefundManager::Price(receipt.Amounts, lines);
    return lines;
}

void TestRefundManager::refundRoadEndToEnd()
{
    const int fisID = Sell();
    const double kolaBefore = FShop->BranchStock(FShop->SubeID(), FKola);
    const double sutBefore = FShop->BranchStock(FShop->SubeID(), FSut);
    QCOMPARE(FShop->LotQuantity(FLotEarly), 0.0);
    QCOMPARE(FShop->LotQuantity(FLotLate), 8.0);

    const int found = TRefundManager::ResolveFisID(QString("FIS-%1").arg(fisID), FShop->SubeID());
    QCOMPARE(found, fisID);
    TRefundReceipt receipt;
    QVERIFY(TRefundManager::LoadReceipt(found, FShop->SubeID(), receipt));
    QCOMPARE(receipt.FisNo, QString("FIS-%1").arg(fisID));
    QCOMPARE(receipt.Musteri, QString("-"));
    QCOMPARE(receipt.Lines.size(), 4);
    QCOMPARE(receipt.Lines.at(0).StokAdi, QString("KOLA 1 L"));
    QCOMPARE(receipt.Lines.at(0).Kalan, 3.0);
    QCOMPARE(receipt.Lines.at(2).Kalan, 4.0);

    // KOLA 2 of 3 (97,20 / 3 × 2 = 64,80) and SÜT 3 of 4 (120 / 4 × 3 = 90,00).
    const QList<TRefundLine> chosen = Choose(receipt, {2, 0, 3, 0});
    QCOMPARE(TRefundManager::ChosenCount(chosen), 2);
    QCOMPARE(chosen.at(0).IadeTutar, 64.8);
    QCOMPARE(chosen.at(2).IadeTutar, 90.0);
    QCOMPARE(TRefundManager::RefundTotal(chosen), 154.8);

    const TRefundResult result =
        TRefundManager::Book(fisID, FShop->KullaniciID(), FShop->VardiyaID(), chosen);
    QVERIFY2(result.Success, qPrintable(result.Message));
    const int refundID = FShop->Scalar("SELECT MAX(FisID) FROM SatisFis").toInt();
    QCOMPARE(result.Message, QString("İade işlemi tamamlandı. İade fiş no: FIS-%1").arg(refundID));

    // The refund receipt and its payment: what the screen showed, paid out in cash.
    QCOMPARE(
        FShop->Scalar(QString("SELECT GenelToplam FROM SatisFis WHERE FisID = %1").arg(refundID))
            .toDouble(),
        -154.8);
    QCOMPARE(
        FShop->Scalar(QString("SELECT OrijinalFisID FROM SatisFis WHERE FisID = %1").arg(refundID))
            .toInt(),
        fisID);
    QCOMPARE(FShop
                 ->Scalar(QString("SELECT SUM(Tutar) FROM SatisOdeme WHERE FisID = %1 AND "
                                  "OdemeTipi = 'NAKIT'")
                              .arg(refundID))
                 .toDouble(),
             -154.8);

    // Goods back once; SÜT into the lot taken last first: 2 into the late lot, 1 into the early.
    QCOMPARE(FShop->BranchStock(FShop->SubeID(), FKola), kolaBefore + 2);
    QCOMPARE(FShop->BranchStock(FShop->SubeID(), FSut), sutBefore + 3);
    QCOMPARE(FShop->ProductStock(FSut), sutBefore + 3);
    QCOMPARE(FShop->LotQuantity(FLotLate), 10.0);
    QCOMPARE(FShop->LotQuantity(FLotEarly), 1.0);

    // The Z report, the shift summary and the drawer read the refund back.
    const TZReportData z = TZReport::Load(FShop->VardiyaID());
    QCOMPARE(z.Figures.IadeFis, 1);
    QCOMPARE(z.Figures.AktifFis, 1);
    QCOMPARE(z.Figures.IadeToplam, 154.8);
    QCOMPARE(z.Figures.IadeNakit, 154.8);
    QCOMPARE(z.Figures.BrutNakit, 267.2);
    QCOMPARE(z.Figures.KasadaOlmasiGereken(), 100 + 267.2 - 154.8);
    QCOMPARE(z.Figures.NetCiro(), 267.2 - 154.8);
    QCOMPARE(z.Receipts.size(), 2);
    const TShiftSummaryData summary = TShiftManager::LoadShiftSummary(FShop->VardiyaID());
    QCOMPARE(summary.Figures.IadeToplam, 154.8);
    QCOMPARE(summary.Figures.IadeFis, 1);
    QCOMPARE(summary.Figures.KasadaOlmasiGereken(), 100 + 267.2 - 154.8);
    QCOMPARE(FShop
                 ->Scalar(QString("SELECT BeklenenNakit FROM vw_VardiyaOzet WHERE VardiyaID = %1")
                              .arg(FShop->VardiyaID()))
                 .toDouble(),
             100 + 267.2 - 154.8);

    // What is left shows as the limit when the receipt is loaded again.
    QVERIFY(TRefundManager::LoadReceipt(fisID, FShop->SubeID(), receipt));
    QCOMPARE(receipt.Lines.at(0).Kalan, 1.0);
    QCOMPARE(receipt.Lines.at(1).Kalan, 1.5);
    QCOMPARE(receipt.Lines.at(2).Kalan, 1.0);
}

void TestRefundManager::refundTenderInEveryFigure_data()
{
    QTest::addColumn<double>("nakit"); // what the sale of 5 KOLA (180,00) took in cash
    QTest::addColumn<double>("kart");  // and by card
    QTest::addColumn<double>("refunded");
    QTest::addColumn<QString>("tender"); // the refund receipt's payment word
    QTest::addColumn<double>("iadeNakit");
    QTest::addColumn<double>("iadeKart");
    QTest::newRow("card refund of a card sale") << 0.0 << 180.0 << 2.0 << "KART" << 0.0 << 72.0;
    // 3 back (108,00) of 100 in cash and 80 by card: the card's 80, then 28 in cash.
    QTest::newRow("split refund of a split sale")
        << 100.0 << 80.0 << 3.0 << "KARMA" << 28.0 << 80.0;
    QTest::newRow("cash refund of a cash sale") << 180.0 << 0.0 << 1.0 << "NAKIT" << 36.0 << 0.0;
}

// A sale, a refund of it, and then every figure that reads the shift: the refund is paid back
// the way the sale was paid, and only the cash paid out comes off the drawer.
void TestRefundManager::refundTenderInEveryFigure()
{
    QFETCH(double, nakit);
    QFETCH(double, kart);
    QFETCH(double, refunded);
    QFETCH(QString, tender);
    QFETCH(double, iadeNakit);
    QFETCH(double, iadeKart);
    const int vardiya = FShop->VardiyaID();
    const double opening = 100;
    const double iade = iadeNakit + iadeKart;
    TCartManager cart;
    cart.AddItem(FKola, "KOLA 1 L", "8690000000002", "ADET", 36, 5, 20, false);
    const QString paymentType = nakit > 0 && kart > 0 ? "KARMA" : kart > 0 ? "KART" : "NAKIT";
    const TSaleResult sale =
        TSaleManager::CreateSale(FShop->SubeID(), FShop->KullaniciID(), FShop->TerminalID(),
                                 vardiya, paymentType, cart, nakit, kart);
    QVERIFY2(sale.Success, qPrintable(sale.Message));
    TRefundReceipt receipt;
    QVERIFY(TRefundManager::LoadReceipt(sale.FisID, FShop->SubeID(), receipt));
    const TRefundResult result = TRefundManager::Book(sale.FisID, FShop->KullaniciID(), vardiya,
                                                      Choose(receipt, {refunded}));
    QVERIFY2(result.Success, qPrintable(result.Message));
    const int refundID = FShop->Scalar("SELECT MAX(FisID) FROM SatisFis").toInt();
    QCOMPARE(FShop->Scalar(QString("SELECT OdemeTipi FROM SatisFis WHERE FisID = %1").arg(refundID))
                 .toString(),
             tender);
    const auto paidBack = [&](const char* type) {
        return -FShop
                    ->Scalar(QString("SELECT ISNULL(SUM(Tutar), 0) FROM SatisOdeme WHERE FisID = "
                                     "%1 AND OdemeTipi = '%2'")
                                 .arg(refundID)
                                 .arg(type))
                    .toDouble();
    };
    QCOMPARE(paidBack("NAKIT"), iadeNakit);
    QCOMPARE(paidBack("KART"), iadeKart);

    const double drawer = opening + nakit - iadeNakit;
    // Takings in cash and by card, refunds in cash and in all, the drawer, the net turnover.
    const auto figures = [](const TShiftFigures& f) {
        return QStringList{TReportText::Money(f.BrutNakit),
                           TReportText::Money(f.BrutKart),
                           TReportText::Money(f.IadeNakit),
                           TReportText::Money(f.IadeToplam),
                           TReportText::Money(f.KasadaOlmasiGereken()),
                           TReportText::Money(f.NetCiro())}
            .join(" | ");
    };
    const QString expected =
        QStringList{TReportText::Money(nakit),     TReportText::Money(kart),
                    TReportText::Money(iadeNakit), TReportText::Money(iade),
                    TReportText::Money(drawer),    TReportText::Money(nakit + kart - iade)}
            .join(" | ");
    const TZReportData z = TZReport::Load(vardiya);
    QCOMPARE(figures(z.Figures), expected);
    const QStringList zLines = TZReport::BuildReport(z, QDateTime::currentDateTime());
    QVERIFY(zLines.filter("İade Nakit").value(0).contains(TReportText::Money(iadeNakit)));
    QCOMPARE(figures(TShiftManager::LoadShiftSummary(vardiya).Figures), expected);

    TVardiyaOzet ozet;
    QVERIFY(TShiftManager::LoadVardiyaOzet(vardiya, ozet));
    QCOMPARE(ozet.NakitSatis, nakit);
    QCOMPARE(ozet.KartSatis, kart);
    QCOMPARE(ozet.IadeToplam, iade);
    QCOMPARE(ozet.BeklenenNakit, drawer);

    const TOpenShiftData open = TOpenShiftSales::LoadShift(vardiya);
    QCOMPARE(open.BrutNakit, nakit);
    QCOMPARE(open.BrutKart, kart);
    QCOMPARE(open.IadeToplam, iade);
    const std::optional<TPastShiftTotals> past =
        TPastShiftReports::LoadShiftTotals(vardiya, FShop->SubeID());
    QVERIFY(past);
    QCOMPARE(past->Nakit, nakit);
    QCOMPARE(past->Kart, kart);
    QCOMPARE(past->Iade, iade);

    const TReportingShifts reporting = TSalesReporting::LoadShifts(
        TReportRange::Days(QDate::currentDate(), QDate::currentDate()), FShop->SubeID());
    QCOMPARE(reporting.Shifts.size(), 1);
    const TReportingShiftRow& row = reporting.Shifts.first();
    QCOMPARE(row.BeklenenNakit(), drawer);
    QCOMPARE(row.NetNakit(), nakit - iadeNakit);
    QCOMPARE(row.NetKart(), kart - iadeKart);
    QCOMPARE(reporting.Days.first().NetCiro, nakit + kart - iade);

    // The close counts the drawer against the cash it took, and nothing else.
    const TCloseShiftResult closed =
        TShiftManager::CloseShift(vardiya, drawer, FShop->KullaniciID());
    QVERIFY2(closed.Success, qPrintable(closed.Message));
    QCOMPARE(closed.SistemTutar, drawer);
    QCOMPARE(closed.Fark, 0.0);
    QCOMPARE(closed.IadeToplam, iade);
}

void TestRefundManager::resolveFisID_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected"); // "sale", "exact", "other" or a number
    QTest::newRow("receipt number") << "FIS-%1"
                                    << "sale";
    QTest::newRow("lower case") << "fis-%1"
                                << "sale";
    QTest::newRow("the id alone") << "%1"
                                  << "sale";
    QTest::newRow("blanks around") << "  FIS-%1 "
                                   << "sale";
    QTest::newRow("an exact number wins") << "OZEL-7"
                                          << "exact";
    QTest::newRow("not a number") << "FIS-abc"
                                  << "0";
    QTest::newRow("empty") << "   "
                           << "0";
    QTest::newRow("negative") << "-5"
                              << "0";
    QTest::newRow("quote and percent") << "FIS-1' OR '1'='1%"
                                       << "0";
}

void TestRefundManager::resolveFisID()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    const int sale = Sell();
    const int exact = Sell();
    FShop->Exec(QString("UPDATE SatisFis SET FisNo = 'OZEL-7' WHERE FisID = %1").arg(exact));
    const QString text = typed.contains("%1") ? typed.arg(sale) : typed;
    const int id = TRefundManager::ResolveFisID(text, FShop->SubeID());
    const int want = expected == "sale" ? sale : expected == "exact" ? exact : expected.toInt();
    QCOMPARE(id, want);
}

void TestRefundManager::loadOnlyTheBranchesSales()
{
    const int fisID = Sell();
    TRefundReceipt receipt;
    QVERIFY(TRefundManager::LoadReceipt(fisID, FShop->SubeID(), receipt));
    const int other = FShop->AddBranch("KADIKÖY");
    // Another branch's receipt, an id that does not exist: nothing, and the loaded one stays.
    QVERIFY(!TRefundManager::LoadReceipt(fisID, other, receipt));
    QVERIFY(!TRefundManager::LoadReceipt(fisID + 100, FShop->SubeID(), receipt));
    QCOMPARE(receipt.FisID, fisID);
    QCOMPARE(receipt.Lines.size(), 4);

    // A customer named on the sale is shown by name.
    FShop->Exec("INSERT INTO CariKart (CariKodu, CariAdi, CariTipi) VALUES ('C00001', 'Şule "
                "Işık', 'MUSTERI')");
    FShop->Exec(QString("UPDATE SatisFis SET MusteriID = (SELECT MAX(CariID) FROM CariKart), "
                        "FisNo = ' ' WHERE FisID = %1")
                    .arg(fisID));
    QVERIFY(TRefundManager::LoadReceipt(fisID, FShop->SubeID(), receipt));
    QCOMPARE(receipt.Musteri, QString("Şule Işık"));
    QCOMPARE(receipt.FisNo, QString("FIS-%1").arg(fisID));
    QVERIFY(QDateTime::fromString(receipt.Tarih, "dd.MM.yyyy HH:mm:ss").isValid());
}

// Each line shows what the drawer pays: the product's line totals over its quantity, VAT
// included and after the discount, rounded as the routine rounds its lines and its total.
void TestRefundManager::amountsAreWhatTheRoutinePays()
{
    const int fisID = Sell();
    TRefundReceipt receipt;
    QVERIFY(TRefundManager::LoadReceipt(fisID, FShop->SubeID(), receipt));
    const QList<TRefundLine> chosen = Choose(receipt, {1, 0.333, 0, 0.1});
    QCOMPARE(chosen.at(0).BirimIade(), 32.4);
    QCOMPARE(chosen.at(1).BirimIade(), 25.0);
    const double total = TRefundManager::RefundTotal(chosen);
    const TRefundResult result =
        TRefundManager::Book(fisID, FShop->KullaniciID(), FShop->VardiyaID(), chosen);
    QVERIFY2(result.Success, qPrintable(result.Message));
    TDbQuery lines("SELECT SatirToplam FROM SatisFisSatir WHERE FisID = (SELECT MAX(FisID) FROM "
                   "SatisFis) ORDER BY SiraNo");
    lines.Exec();
    for (const int row : {0, 1, 3}) {
        QVERIFY(lines.Next());
        QCOMPARE(-lines.Value(0).toDouble(), chosen.at(row).IadeTutar);
    }
    QCOMPARE(-FShop
                  ->Scalar("SELECT GenelToplam FROM SatisFis WHERE FisID = (SELECT MAX(FisID) "
                           "FROM SatisFis)")
                  .toDouble(),
             total);
}

// Earlier refunds take from a product's lines in line order; the limit shown is what is left.
void TestRefundManager::remainderAcrossRefunds()
{
    const int fisID = Sell();
    TRefundReceipt receipt;
    QVERIFY(TRefundManager::LoadReceipt(fisID, FShop->SubeID(), receipt));
    QVERIFY(TRefundManager::Book(fisID, FShop->KullaniciID(), FShop->VardiyaID(),
                                 Choose(receipt, {0, 1.2}))
                .Success);
    QVERIFY(TRefundManager::LoadReceipt(fisID, FShop->SubeID(), receipt));
    QCOMPARE(receipt.Lines.at(1).Kalan, 0.3);
    QCOMPARE(receipt.Lines.at(3).Kalan, 0.5);
    QVERIFY(TRefundManager::Book(fisID, FShop->KullaniciID(), FShop->VardiyaID(),
                                 Choose(receipt, {0, 0.3, 0, 0.2}))
                .Success);
    QVERIFY(TRefundManager::LoadReceipt(fisID, FShop->SubeID(), receipt));
    QCOMPARE(receipt.Lines.at(1).Kalan, 0.0);
    QCOMPARE(receipt.Lines.at(3).Kalan, 0.3);
}

void TestRefundManager::gridFiguresAddUp_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("sold");
    QTest::addColumn<QString>("left");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<double>("chosen");
    QTest::addColumn<QString>("chosenText");
    QTest::addColumn<QString>("amount");
    QTest::newRow("weighed 1,25 kg") << 0 << "1,25"
                                     << "1,25"
                                     << "25,00 TL" << 1.25 << "1,25"
                                     << "31,25 TL";
    QTest::newRow("weighed 0,5 kg") << 1 << "0,5"
                                    << "0,5"
                                    << "180,00 TL" << 0.25 << "0,25"
                                    << "45,00 TL";
    QTest::newRow("5 of 25 refunded before, price with VAT") << 2 << "25"
                                                             << "20"
                                                             << "7,50 TL" << 5.0 << "5"
                                                             << "37,50 TL";
    QTest::newRow("15 % discount, a unit below the kuruş") << 3 << "4"
                                                           << "4"
                                                           << "6,375 TL" << 2.0 << "2"
                                                           << "12,75 TL";
    QTest::newRow("a thousand units") << 4 << "1.200"
                                      << "1.200"
                                      << "2,20 TL" << 1000.0 << "1.000"
                                      << "2.200,00 TL";
}

// What the refund screen shows of a line: the sold quantity and what is left with their
// decimals, the unit the customer paid, and an amount that is that unit times the chosen
// quantity and is what the routine then books.
void TestRefundManager::gridFiguresAddUp()
{
    QFETCH(int, row);
    QFETCH(QString, sold);
    QFETCH(QString, left);
    QFETCH(QString, unit);
    QFETCH(double, chosen);
    QFETCH(QString, chosenText);
    QFETCH(QString, amount);
    const int peynir = FShop->AddProduct("BEYAZ PEYNİR", "23456", 180, 8, 10, true);
    const int ekmek = FShop->AddProduct("EKMEK", "8690000000026", 7.5, 1, 50);
    const int ayran = FShop->AddProduct("AYRAN", "8690000000033", 7.5, 1, 50);
    const int su = FShop->AddProduct("SU 0,5 L", "8690000000040", 2.2, 1, 2000);
    TCartManager cart;
    cart.AddItem(FDomates, "DOMATES", "12345", "KG", 25, 1.25, 1, true);
    cart.AddItem(peynir, "BEYAZ PEYNİR", "23456", "KG", 180, 0.5, 8, true);
    cart.AddItem(ekmek, "EKMEK", "8690000000026", "ADET", 7.5, 25, 1, false);
    cart.AddItem(ayran, "AYRAN", "8690000000033", "ADET", 7.5, 4, 1, false).SetIndirimOrani(15);
    cart.AddItem(su, "SU 0,5 L", "8690000000040", "ADET", 2.2, 1200, 1, false);
    const TSaleResult sale =
        TSaleManager::CreateSale(FShop->SubeID(), FShop->KullaniciID(), FShop->TerminalID(),
                                 FShop->VardiyaID(), "NAKIT", cart, cart.GenelToplam(), 0);
    QVERIFY2(sale.Success, qPrintable(sale.Message));
    TRefundReceipt receipt;
    QVERIFY(TRefundManager::LoadReceipt(sale.FisID, FShop->SubeID(), receipt));
    QVERIFY(TRefundManager::Book(sale.FisID, FShop->KullaniciID(), FShop->VardiyaID(),
                                 Choose(receipt, {0, 0, 5}))
                .Success);

    QVERIFY(TRefundManager::LoadReceipt(sale.FisID, FShop->SubeID(), receipt));
    QList<TRefundLine> lines = receipt.Lines;
    QStringList cells = TRefundGrid::Cells(lines.at(row));
    QCOMPARE(cells.size(), int(TRefundGrid::ColumnCount));
    QCOMPARE(cells.at(TRefundGrid::ColSatilan), sold);
    QCOMPARE(cells.at(TRefundGrid::ColKalan), left);
    QCOMPARE(cells.at(TRefundGrid::ColBirimFiyat), unit);
    QCOMPARE(cells.at(TRefundGrid::ColIadeMiktar), QString("0"));
    QCOMPARE(cells.at(TRefundGrid::ColTutar), QString("0,00 TL"));

    lines[row].IadeMiktar = chosen;
    TRefundManager::Price(receipt.Amounts, lines);
    cells = TRefundGrid::Cells(lines.at(row));
    QCOMPARE(cells.at(TRefundGrid::ColIadeMiktar), chosenText);
    QCOMPARE(cells.at(TRefundGrid::ColTutar), amount);
    const double shownUnit = QLocale().toDouble(QString(unit).remove(" TL"));
    QCOMPARE(FormatMoney(shownUnit * chosen), amount);

    const TRefundResult result =
        TRefundManager::Book(sale.FisID, FShop->KullaniciID(), FShop->VardiyaID(), lines);
    QVERIFY2(result.Success, qPrintable(result.Message));
    QCOMPARE(FormatMoney(-FShop
                              ->Scalar("SELECT GenelToplam FROM SatisFis WHERE FisID = (SELECT "
                                       "MAX(FisID) FROM SatisFis)")
                              .toDouble()),
             amount);
}

void TestRefundManager::screenShowsWhatIsBooked_data()
{
    QTest::addColumn<QString>("cart");
    QTest::addColumn<QStringList>("steps"); // one per refund: row:quantity;...
    QTest::addColumn<QStringList>("shown"); // per refund: the chosen rows' "Tutar"
    // 3 × 3,35 less 10 % is 9,045 on the line, 9,05 paid.
    QTest::newRow("thirds of a discounted price") << "discount" << QStringList{"0:1", "0:1", "0:1"}
                                                  << QStringList{"3,02 TL", "3,01 TL", "3,02 TL"};
    // 0,333 kg at 25,00 is 8,325, 8,33 paid.
    QTest::newRow("weighed goods in thirds")
        << "weighed" << QStringList{"0:0,111", "0:0,111", "0:0,111"}
        << QStringList{"2,78 TL", "2,77 TL", "2,78 TL"};
    // 0,75 and 0,5 kg at 19,99 on two lines (24,9875) beside bread for 10,00, 34,99 paid.
    QTest::newRow("one product on two lines, then another")
        << "two lines" << QStringList{"0:0,75;2:0,5", "1:1"}
        << QStringList{"14,99 TL + 10,00 TL", "10,00 TL"};
}

// What the screen shows for each chosen line is what the routine books for it, refund after
// refund, the last one's remainder included; together they pay back what the customer paid.
void TestRefundManager::screenShowsWhatIsBooked()
{
    QFETCH(QString, cart);
    QFETCH(QStringList, steps);
    QFETCH(QStringList, shown);
    TCartManager items;
    if (cart == "discount") {
        const int gazoz = FShop->AddProduct("GAZOZ", "8690000000057", 3.35, 1, 10);
        items.AddItem(gazoz, "GAZOZ", "8690000000057", "ADET", 3.35, 3, 1, false)
            .SetIndirimOrani(10);
    } else if (cart == "weighed") {
        items.AddItem(FDomates, "DOMATES", "12345", "KG", 25, 0.333, 1, true);
    } else {
        const int biber = FShop->AddProduct("BİBER", "23457", 19.99, 1, 10, true);
        const int ekmek = FShop->AddProduct("EKMEK", "8690000000026", 10, 1, 10);
        items.AddItem(biber, "BİBER", "23457", "KG", 19.99, 0.75, 1, true);
        items.AddItem(ekmek, "EKMEK", "8690000000026", "ADET", 10, 1, 1, false);
        items.AddItem(biber, "BİBER", "23457", "KG", 19.99, 0.5, 1, true);
    }
    const TSaleResult sale =
        TSaleManager::CreateSale(FShop->SubeID(), FShop->KullaniciID(), FShop->TerminalID(),
                                 FShop->VardiyaID(), "NAKIT", items, items.GenelToplam(), 0);
    QVERIFY2(sale.Success, qPrintable(sale.Message));

    for (qsizetype step = 0; step < steps.size(); ++step) {
        TRefundReceipt receipt;
        QVERIFY(TRefundManager::LoadReceipt(sale.FisID, FShop->SubeID(), receipt));
        QList<TRefundLine> lines = receipt.Lines;
        QList<int> rows;
        for (const QString& choice : steps.at(step).split(';')) {
            rows << choice.section(':', 0, 0).toInt();
            lines[rows.last()].IadeMiktar = TRefundManager::ParseQuantity(choice.section(':', 1));
        }
        TRefundManager::Price(receipt.Amounts, lines);
        QStringList amounts;
        for (const int row : rows)
            amounts << TRefundGrid::Cells(lines.at(row)).at(TRefundGrid::ColTutar);
        QCOMPARE(amounts.join(" + "), shown.at(step));
        const QString total = FormatMoney(TRefundManager::RefundTotal(lines));

        const TRefundResult result =
            TRefundManager::Book(sale.FisID, FShop->KullaniciID(), FShop->VardiyaID(), lines);
        QVERIFY2(result.Success, qPrintable(result.Message));
        TDbQuery booked("SELECT SatirToplam FROM SatisFisSatir WHERE FisID = (SELECT MAX(FisID) "
                        "FROM SatisFis) ORDER BY SiraNo");
        booked.Exec();
        QStringList bookedAmounts;
        while (booked.Next())
            bookedAmounts << FormatMoney(-booked.Value(0).toDouble());
        QCOMPARE(bookedAmounts.join(" + "), shown.at(step));
        QCOMPARE(FormatMoney(-FShop
                                  ->Scalar("SELECT GenelToplam FROM SatisFis WHERE FisID = "
                                           "(SELECT MAX(FisID) FROM SatisFis)")
                                  .toDouble()),
                 total);
    }
    QCOMPARE(FShop
                 ->Scalar(QString("SELECT -SUM(GenelToplam) FROM SatisFis WHERE OrijinalFisID = %1")
                              .arg(sale.FisID))
                 .toDouble(),
             sale.GenelToplam);
}

void TestRefundManager::refusals_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("no open shift") << "noshift"
                                   << "Açık vardiya bulunamadı. İade için önce vardiya açınız.";
    QTest::newRow("shift closed meanwhile")
        << "closed"
        << "Açık vardiya bulunamadı. İade için önce vardiya açınız.";
    QTest::newRow("the same refund twice")
        << "twice"
        << "İade miktarı fişte kalan miktarı aşıyor: KOLA 1 L (kalan: 1)";
    QTest::newRow("beyond what is left over two lines")
        << "beyond"
        << "İade miktarı fişte kalan miktarı aşıyor: DOMATES (kalan: 2)";
}

void TestRefundManager::refusals()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    const int fisID = Sell();
    TRefundReceipt receipt;
    QVERIFY(TRefundManager::LoadReceipt(fisID, FShop->SubeID(), receipt));
    int vardiya = FShop->VardiyaID();
    QList<TRefundLine> chosen = Choose(receipt, {2});
    if (kind == "noshift")
        vardiya = 0;
    if (kind == "closed")
        FShop->Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'");
    if (kind == "twice")
        QVERIFY(TRefundManager::Book(fisID, FShop->KullaniciID(), vardiya, chosen).Success);
    if (kind == "beyond")
        chosen = Choose(receipt, {0, 1.5, 0, 0.6});
    const int receipts = FShop->Count("SatisFis");
    const double stock = FShop->BranchStock(FShop->SubeID(), FKola);
    const TRefundResult result = TRefundManager::Book(fisID, FShop->KullaniciID(), vardiya, chosen);
    QVERIFY(!result.Success);
    QCOMPARE(result.Message, message);
    QCOMPARE(FShop->Count("SatisFis"), receipts);
    QCOMPARE(FShop->BranchStock(FShop->SubeID(), FKola), stock);

    // A refund receipt is never loaded for a refund.
    if (kind == "twice") {
        const int refundID = FShop->Scalar("SELECT MAX(FisID) FROM SatisFis").toInt();
        try {
            TRefundManager::LoadReceipt(refundID, FShop->SubeID(), receipt);
            QFAIL("a refund receipt was loaded");
        } catch (const Exception& e) {
            QCOMPARE(e.Message(), QString("Bu fiş bir satış fişi değil (IADE), iade alınamaz."));
        }
        QCOMPARE(receipt.FisID, fisID);
    }
}

void TestRefundManager::quantityEntry_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("quantity");
    QTest::addColumn<double>("limit");
    QTest::addColumn<bool>("allowed");
    QTest::newRow("comma") << "2,5" << 2.5 << 3.0 << true;
    QTest::newRow("point") << "2.5" << 2.5 << 3.0 << true;
    QTest::newRow("grouped") << "1.234,5" << 1234.5 << 5000.0 << true;
    QTest::newRow("a point before three digits groups") << "1.500" << 1500.0 << 3.0 << false;
    QTest::newRow("letters, sign and exponent") << "abc-1e5" << 0.0 << 3.0 << false;
    QTest::newRow("exponent") << "1e0" << 0.0 << 3.0 << false;
    QTest::newRow("text") << "iki" << 0.0 << 3.0 << false;
    QTest::newRow("the whole limit") << "0,4" << 0.4 << 0.4 << true;
    QTest::newRow("above the limit") << "3,001" << 3.001 << 3.0 << false;
    QTest::newRow("below a thousandth") << "0.0004" << 0.0 << 3.0 << false;
    QTest::newRow("negative") << "-1" << 0.0 << 3.0 << false;
    QTest::newRow("nothing left") << "1" << 1.0 << 0.0 << false;
    QTest::newRow("infinity") << "inf" << 0.0 << 3.0 << false;
}

void TestRefundManager::quantityEntry()
{
    QFETCH(QString, typed);
    QFETCH(double, quantity);
    QFETCH(double, limit);
    QFETCH(bool, allowed);
    QCOMPARE(TRefundManager::ParseQuantity(typed), quantity);
    QCOMPARE(TRefundManager::QuantityAllowed(quantity, limit), allowed);
}

void TestRefundManager::itemsDocument()
{
    QList<TRefundLine> lines(4);
    lines[0].StokID = 12;
    lines[0].IadeMiktar = 2;
    lines[1].StokID = 7;
    lines[2].StokID = 7;
    lines[2].IadeMiktar = 0.5;
    lines[3].StokID = 7;
    lines[3].IadeMiktar = 1234;
    QCOMPARE(TRefundManager::ItemsXml(lines),
             QString("<Items><Item StokID=\"12\" Miktar=\"2\"/><Item StokID=\"7\" "
                     "Miktar=\"0.5\"/><Item StokID=\"7\" Miktar=\"1234\"/></Items>"));
    QCOMPARE(TRefundManager::QuantityPrompt(0.4), QString("İade edilecek miktar (Max: 0,4):"));
    QCOMPARE(TRefundManager::QuantityPrompt(1234), QString("İade edilecek miktar (Max: 1234):"));
}

// Finding and loading a receipt are one statement each; booking is the session option and the
// routine call.
void TestRefundManager::roundTrips()
{
    const int fisID = Sell();
    TRefundReceipt receipt;
    TRefundManager::LoadReceipt(fisID, FShop->SubeID(), receipt);
    qint64 before = Trips();
    TRefundManager::ResolveFisID(QString::number(fisID), FShop->SubeID());
    QCOMPARE(Trips() - before, 1);
    before = Trips();
    QVERIFY(TRefundManager::LoadReceipt(fisID, FShop->SubeID(), receipt));
    QCOMPARE(Trips() - before, 1);
    before = Trips();
    QVERIFY(
        TRefundManager::Book(fisID, FShop->KullaniciID(), FShop->VardiyaID(), Choose(receipt, {1}))
            .Success);
    QVERIFY(Trips() - before <= 2);
}

// A booked refund stores its receipt as a sale's: titled, naming the receipt it refunds, its
// lines and what was paid back; the same text a reprint builds. A refused one writes nothing.
void TestRefundManager::refundWritesItsReceipt()
{
    QDir(AppPaths::ReportsFolder()).removeRecursively();
    const int fisID = Sell();
    TRefundReceipt receipt;
    QVERIFY(TRefundManager::LoadReceipt(fisID, FShop->SubeID(), receipt));
    const TRefundResult refused =
        TRefundManager::CompleteRefund(fisID, FShop->KullaniciID(), 0, Choose(receipt, {2}));
    QVERIFY(!refused.Success);
    QVERIFY(!QFile::exists(AppPaths::ReportsFolder() + "LastReceipt.txt"));

    const TRefundResult booked = TRefundManager::CompleteRefund(
        fisID, FShop->KullaniciID(), FShop->VardiyaID(), Choose(receipt, {2, 0, 0, 0.5}));
    QVERIFY2(booked.Success, qPrintable(booked.Message));
    QVERIFY(booked.IadeFisID > fisID);
    const QString fisNo = "FIS-" + QString::number(booked.IadeFisID);
    QVERIFY(booked.Message.endsWith(fisNo));
    QFile file(AppPaths::ReportsFolder() + "Receipt_" + fisNo + ".txt");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QFile last(AppPaths::ReportsFolder() + "LastReceipt.txt");
    QVERIFY(last.open(QIODevice::ReadOnly));
    QCOMPARE(last.readAll(), bytes);

    QStringList lines;
    QString builtNo;
    QVERIFY(TPrintService::BuildSaleReceipt(booked.IadeFisID, lines, builtNo));
    QCOMPARE(builtNo, fisNo);
    QCOMPARE(bytes, "\xEF\xBB\xBF" + QString(lines.join("\r\n") + "\r\n").toUtf8());
    const auto line = [](const QString& label, const QString& amount) -> QString {
        return label.leftJustified(34) + amount.rightJustified(14);
    };
    const int title = int(lines.indexOf(QString("İADE FİŞİ").rightJustified(28).leftJustified(48)));
    QVERIFY2(title > 0, qPrintable(lines.join('\n')));
    QCOMPARE(lines.mid(title + 2, 2),
             QStringList({"Fis No: " + fisNo, "Orijinal Fiş: FIS-" + QString::number(fisID)}));
    for (const QString& expected :
         {QString("KOLA 1 L").leftJustified(48), line("  2 x 30,00", "64,80 TL"),
          QString("DOMATES").leftJustified(48), line("  0,5 x 24,75", "12,50 TL"),
          line("IADE TOPLAMI", "77,30 TL"), line("NAKIT IADE", "77,30 TL")})
        QVERIFY2(lines.contains(expected), qPrintable(expected + "\n" + lines.join('\n')));
}

// Two tills on one file: one refunds SÜT from the receipt one unit at a time while the other
// sells it one unit at a time. Every unit refunded comes back once, the lots move with the
// branch stock, and nothing is lost.
void TestRefundManager::refundAndSaleAtOnceReturnStockOnce()
{
    if (TestRoad() == TTestRoad::SqlServer)
        QSKIP("the workers open SQLite files");
    FShop->Exec(
        QString("UPDATE StokLotDetay SET MevcutMiktar = 100 WHERE LotID = %1").arg(FLotLate));
    FShop->Exec(QString("UPDATE Stok SET MevcutStok = 102 WHERE StokID = %1").arg(FSut));
    TCartManager cart;
    cart.AddItem(FSut, "SÜT 1 L", "8690000000019", "ADET", 30, 40, 10, false);
    const TSaleResult sale =
        TSaleManager::CreateSale(FShop->SubeID(), FShop->KullaniciID(), FShop->TerminalID(),
                                 FShop->VardiyaID(), "NAKIT", cart, cart.GenelToplam(), 0);
    QVERIFY2(sale.Success, qPrintable(sale.Message));
    const double stockBefore = FShop->BranchStock(FShop->SubeID(), FSut);
    QCOMPARE(stockBefore, 62.0);

    const QString worker = QCoreApplication::applicationDirPath() + "/refund_worker";
    QProcess refunds, sales;
    refunds.start(worker, {FShop->Database().Path(), "refund", QString::number(sale.FisID),
                           QString::number(FSut), "30"});
    sales.start(worker, {FShop->Database().Path(), "sell", QString::number(sale.FisID),
                         QString::number(FSut), "30"});
    QVERIFY(refunds.waitForFinished(120000));
    QVERIFY(sales.waitForFinished(120000));
    const QString refundOut = QString::fromUtf8(refunds.readAllStandardOutput());
    const QString saleOut = QString::fromUtf8(sales.readAllStandardOutput());
    QCOMPARE(refunds.exitCode(), 0);
    QCOMPARE(sales.exitCode(), 0);
    const int refunded = int(refundOut.count("OK "));
    const int sold = int(saleOut.count("OK "));
    QVERIFY2(refunded == 30, qPrintable(refundOut));
    QVERIFY2(sold == 30, qPrintable(saleOut));

    QCOMPARE(FShop->BranchStock(FShop->SubeID(), FSut), stockBefore - sold + refunded);
    QCOMPARE(FShop->ProductStock(FSut), stockBefore - sold + refunded);
    QCOMPARE(
        FShop
            ->Scalar(
                QString("SELECT SUM(MevcutMiktar) FROM StokLotDetay WHERE StokID = %1").arg(FSut))
            .toDouble(),
        stockBefore - sold + refunded);
    QCOMPARE(FShop->Count(QString("SatisFis WHERE OrijinalFisID = %1").arg(sale.FisID)), 30);
}

// Two tills on one file: one refunds KOLA from a receipt one unit at a time while the other
// closes the shift once the first refunds are in. Every refund lands before the close, and is
// in the figures the close returned, or is refused afterwards; none lands in the closed shift.
void TestRefundManager::refundAndShiftCloseAtOnce()
{
    if (TestRoad() == TTestRoad::SqlServer)
        QSKIP("the workers open SQLite files");
    TCartManager cart;
    cart.AddItem(FKola, "KOLA 1 L", "8690000000002", "ADET", 36, 40, 20, false);
    const TSaleResult sale =
        TSaleManager::CreateSale(FShop->SubeID(), FShop->KullaniciID(), FShop->TerminalID(),
                                 FShop->VardiyaID(), "NAKIT", cart, cart.GenelToplam(), 0);
    QVERIFY2(sale.Success, qPrintable(sale.Message));

    const QString worker = QCoreApplication::applicationDirPath() + "/refund_worker";
    QProcess refunds, close;
    refunds.start(worker, {FShop->Database().Path(), "refund", QString::number(sale.FisID),
                           QString::number(FKola), "40", "5"});
    close.start(worker, {FShop->Database().Path(), "close", QString::number(sale.FisID),
                         QString::number(FKola), "3"});
    QVERIFY(refunds.waitForFinished(120000));
    QVERIFY(close.waitForFinished(120000));
    QCOMPARE(refunds.exitCode(), 0);
    QCOMPARE(close.exitCode(), 0);
    const QStringList refundOut =
        QString::fromUtf8(refunds.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    const QString closeOut = QString::fromUtf8(close.readAllStandardOutput()).trimmed();
    QCOMPARE(refundOut.size(), 40);
    const qsizetype booked =
        std::count_if(refundOut.cbegin(), refundOut.cend(),
                      [](const QString& line) { return line.startsWith("OK "); });
    QVERIFY2(booked >= 3 && booked < 40, qPrintable(refundOut.join('\n')));
    for (qsizetype i = booked; i < refundOut.size(); ++i)
        QCOMPARE(refundOut.at(i), "FAIL " + TRefundManager::MsgNoShift);

    QCOMPARE(closeOut, QString("OK %1 %2").arg(booked).arg(booked * 36.0));
    QCOMPARE(FShop->Count(QString("SatisFis WHERE OrijinalFisID = %1").arg(sale.FisID)),
             int(booked));
    QCOMPARE(FShop
                 ->Scalar(QString("SELECT IadeFis FROM vw_VardiyaOzet WHERE VardiyaID = %1")
                              .arg(FShop->VardiyaID()))
                 .toInt(),
             int(booked));
    QCOMPARE(FShop->Count(QString("SatisFis F INNER JOIN Vardiya V ON V.VardiyaID = F.VardiyaID "
                                  "WHERE F.Tarih > V.KapanisZamani")),
             0);
}

// A database made before refund receipts recorded their sale has no SatisFis.OrijinalFisID.
// Loading a receipt for a refund brings the column and its index in, and so does the routine
// when it is called first; the refunds then count as usual.
void TestRefundManager::olderDatabaseGainsTheRefundLink()
{
    const auto dropLink = [this] {
        FShop->Exec("DROP INDEX IX_SatisFis_OrijinalFisID");
        FShop->Exec("ALTER TABLE SatisFis DROP COLUMN OrijinalFisID");
        QVERIFY(FShop->Scalar("SELECT COL_LENGTH('SatisFis', 'OrijinalFisID')").isNull());
    };
    const int fisID = Sell();
    dropLink();
    TRefundReceipt receipt;
    QVERIFY(TRefundManager::LoadReceipt(fisID, FShop->SubeID(), receipt));
    QVERIFY(!FShop->Scalar("SELECT COL_LENGTH('SatisFis', 'OrijinalFisID')").isNull());
    QCOMPARE(receipt.Lines.at(0).Kalan, 3.0);
    const TRefundResult first =
        TRefundManager::Book(fisID, FShop->KullaniciID(), FShop->VardiyaID(), Choose(receipt, {1}));
    QVERIFY2(first.Success, qPrintable(first.Message));

    dropLink();
    const TRefundResult second =
        TRefundManager::Book(fisID, FShop->KullaniciID(), FShop->VardiyaID(), Choose(receipt, {1}));
    QVERIFY2(second.Success, qPrintable(second.Message));
    QCOMPARE(FShop->Count(QString("SatisFis WHERE OrijinalFisID = %1").arg(fisID)), 1);
    QVERIFY(!FShop->Scalar("SELECT 1 FROM sqlite_master WHERE name = 'IX_SatisFis_OrijinalFisID'")
                 .isNull());
    QVERIFY(TRefundManager::LoadReceipt(fisID, FShop->SubeID(), receipt));
    QCOMPARE(receipt.Lines.at(0).Kalan, 2.0);
}

QTEST_MAIN(TestRefundManager)
#include "tst_RefundManager.moc"
