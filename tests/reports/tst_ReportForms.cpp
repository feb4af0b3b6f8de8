#include "core/Exceptions.h"
#include "printing/PrinterLayer.h"
#include "reports/OpenShiftSales.h"
#include "reports/OpenShiftSalesForm.h"
#include "reports/OpenShiftSalesReportForm.h"
#include "reports/PastShiftReports.h"
#include "reports/PastShiftReportsForm.h"
#include "reports/ReportGrid.h"
#include "reports/ReportingForm.h"
#include "shifts/ShiftFixture.h"
#include "shifts/ZReportPreviewForm.h"
#include "support/DialogTestHooks.h"
#include "support/FixedClock.h"
#include "support/WidgetTestSupport.h"
#include "ui/MainPOSForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString PdfInfo(const QString& pdf, const QString& key)
{
    const QRegularExpression line("^" + key + ":\\s*(.*)$", QRegularExpression::MultilineOption);
    return line.match(Run("pdfinfo", {pdf})).captured(1).trimmed();
}

bool Landscape(const QString& pdf)
{
    const QRegularExpression size("([\\d.]+) x ([\\d.]+) pts");
    const auto m = size.match(PdfInfo(pdf, "Page size"));
    return m.hasMatch() && m.captured(1).toDouble() > m.captured(2).toDouble();
}

// Every page's text lines, spacing runs folded to one space.
QStringList PdfLines(const QString& pdf)
{
    QStringList lines;
    for (const QString& line : Run("pdftotext", {"-layout", pdf, "-"}).split(u'\n')) {
        if (!line.simplified().isEmpty())
            lines << line.simplified();
    }
    return lines;
}

QStringList Simplified(const QStringList& lines)
{
    QStringList result;
    for (const QString& line : lines)
        result << line.simplified();
    return result;
}

// A printer that is missing or whose job its user cancels.
class TFailingPrinter : public TPrinterDevice {
public:
    explicit TFailingPrinter(bool exists)
        : FExists(exists)
    {
    }
    bool HasPrinter() const override { return FExists; }
    TPrinterOrientation Orientation() const override { return FOrientation; }
    void SetOrientation(TPrinterOrientation o) override { FOrientation = o; }
    void SetTitle(const QString&) override {}
    void BeginDoc() override { throw EPrinterError("Yazdırma kullanıcı tarafından iptal edildi."); }
    void SetFont(const QString&, int) override {}
    int TextHeight(const QString&) override { return 10; }
    int PageHeight() const override { return 1000; }
    void NewPage() override {}
    void TextOut(int, int, const QString&) override {}
    void EndDoc() override {}
    void Abort() override {}
    bool Printing() const override { return false; }

private:
    bool FExists;
    TPrinterOrientation FOrientation = TPrinterOrientation::Portrait;
};

QString Text(QWidget* window, const char* label)
{
    return Named<QLabel>(window, label)->text();
}

QTableView* Grid(QWidget* window, const char* name)
{
    return Named<QTableView>(window, name);
}
} // namespace

// The report windows with the fixture's shifts (ShiftFixture.h), printing into PDF files that
// are read back, and the sales screen opening them.
class TestReportForms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void pastShiftsListAndPrintInLandscape();
    void pastShiftPrintFailures_data();
    void pastShiftPrintFailures();
    void pastShiftsRefuseAnEndBeforeTheStart();
    void openShiftSalesCardsAndGrid();
    void openShiftReportPrintsInLandscape();
    void openShiftReportCancelIsAnError();
    void reportingListsTheLastWeekToItsLastSecond();
    void salesScreenOpensTheReports();
    void columnWidths_data();
    void columnWidths();

private:
    std::unique_ptr<TFixedClock> FClock;
    std::unique_ptr<TShiftReportFixture> F;
    QTemporaryDir FDir;
};

void TestReportForms::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
    RegisterFontSubstitutions();
    QVERIFY(FDir.isValid());
}

void TestReportForms::init()
{
    FClock = std::make_unique<TFixedClock>(TShiftReportFixture::ReportTime());
    F = std::make_unique<TShiftReportFixture>();
    F->Shop.LoginCashier();
}

void TestReportForms::cleanup()
{
    TPrintService::SetPrinterDevice(nullptr);
    F.reset();
    FClock.reset();
    TSessionManager::Instance().Logout();
}

void TestReportForms::pastShiftsListAndPrintInLandscape()
{
    const QString pdf = FDir.filePath("past.pdf");
    const TPrinterLayer layer(pdf);
    TDialogAnswers answers;
    TfrmPastShiftReports form;
    QCOMPARE(Named<QDateEdit>(&form, "dtpStart")->date(), QDate(2025, 2, 26));
    QCOMPARE(Named<QDateEdit>(&form, "dtpEnd")->date(), QDate(2025, 3, 5));
    // The open shift comes first and is shown at once; it has no receipts.
    QCOMPARE(Grid(&form, "gridShifts")->model()->rowCount(), 2);
    QCOMPARE(form.SelectedVardiyaID(), F->OpenID);
    QCOMPARE(Text(&form, "lblHint"), QString("Seçili vardiyada satış bulunamadı."));

    Grid(&form, "gridShifts")->selectRow(1);
    QTest::keyClick(Grid(&form, "gridShifts"), Qt::Key_Return);
    QCOMPARE(form.SelectedVardiyaID(), F->ClosedID);
    QCOMPARE(Text(&form, "lblSalesTitle"), QString("Vardiya #1 Satışları"));
    QCOMPARE(Text(&form, "lblCountValue"), QString("9"));
    QCOMPARE(Text(&form, "lblCashValue"), QString("240,49 TL"));
    QCOMPARE(Text(&form, "lblCardValue"), QString("7.408.887,80 TL"));
    QCOMPARE(Text(&form, "lblRefundValue"), QString("30,00 TL"));
    QCOMPARE(Text(&form, "lblTotalValue"), QString("7.409.098,29 TL"));
    QCOMPARE(Grid(&form, "gridSales")->model()->rowCount(), 9);
    QCOMPARE(Text(&form, "lblHint"),
             QString("9 satış listelendi. Fiş detayı için satıra çift tıklayabilirsiniz."));

    QTest::mouseClick(Named<TPOSButton>(&form, "btnPrint"), Qt::LeftButton);
    QCOMPARE(answers.Last().Title, QString("Bilgi"));
    QCOMPARE(answers.Last().Text, QString("Vardiya dökümü yazdırıldı."));
    QCOMPARE(PdfInfo(pdf, "Title"), QString("Geçmiş Vardiya Dökümü"));
    QVERIFY(Landscape(pdf));
    QCOMPARE(layer.Device().Orientation(), TPrinterOrientation::Portrait);
    QCOMPARE(PdfLines(pdf), Simplified(TPastShiftReports::BuildShiftListing(
                                F->ClosedID, F->Shop.SubeID(), TShiftReportFixture::ReportTime())));
}

void TestReportForms::pastShiftPrintFailures_data()
{
    QTest::addColumn<bool>("printerExists");
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("hint");
    QTest::newRow("cancelled") << true << QString() << "Yazdırma iptal edildi.";
    QTest::newRow("no printer") << false << "Vardiya dökümü alınamadı: Tanımlı yazıcı bulunamadı."
                                << "Seçili vardiyada satış bulunamadı.";
}

void TestReportForms::pastShiftPrintFailures()
{
    QFETCH(bool, printerExists);
    QFETCH(QString, dialog);
    QFETCH(QString, hint);
    TPrintService::SetPrinterDevice(std::make_unique<TFailingPrinter>(printerExists));
    TDialogAnswers answers;
    TfrmPastShiftReports form;
    QTest::mouseClick(Named<TPOSButton>(&form, "btnPrint"), Qt::LeftButton);
    QCOMPARE(answers.Count(), dialog.isEmpty() ? 0 : 1);
    QCOMPARE(answers.Last().Text, dialog);
    QCOMPARE(Text(&form, "lblHint"), hint);
}

void TestReportForms::pastShiftsRefuseAnEndBeforeTheStart()
{
    TDialogAnswers answers;
    TfrmPastShiftReports form;
    Named<QDateEdit>(&form, "dtpEnd")->setDate(QDate(2025, 2, 1));
    QTest::keyClick(&form, Qt::Key_F5);
    QCOMPARE(answers.Last().Title, QString("Uyarı"));
    QCOMPARE(answers.Last().Text, QString("Bitiş tarihi başlangıç tarihinden küçük olamaz."));
    QCOMPARE(Grid(&form, "gridShifts")->model()->rowCount(), 2);
}

void TestReportForms::openShiftSalesCardsAndGrid()
{
    TfrmOpenShiftSales form;
    form.SetVardiyaID(F->ClosedID);
    QCOMPARE(Text(&form, "lblVardiyaValue"), QString("1"));
    QCOMPARE(Text(&form, "lblKasiyerValue"), QString("KASA SORUMLUSU"));
    QCOMPARE(Text(&form, "lblAcilisValue"), QString("05.03.2025 08:30:00"));
    QCOMPARE(Text(&form, "lblCountValue"), QString("9"));
    QCOMPARE(Text(&form, "lblCashValue"), QString("240,49 TL"));
    QCOMPARE(Text(&form, "lblCardValue"), QString("7.408.887,80 TL"));
    QCOMPARE(Text(&form, "lblRefundValue"), QString("30,00 TL"));
    QCOMPARE(Text(&form, "lblNetValue"), QString("7.409.098,29 TL"));
    QAbstractItemModel* model = Grid(&form, "gridSales")->model();
    QCOMPARE(model->rowCount(), 9);
    QCOMPARE(model->index(6, 3).data().toString(), QString("İPTAL"));
    QCOMPARE(form.SelectedFisID(), 9);
    QVERIFY(Named<TPOSButton>(&form, "btnDetail")->isEnabled());

    form.SetVardiyaID(F->OpenID);
    QCOMPARE(Text(&form, "lblHint"), QString("Bu açık vardiyada henüz satış yok."));
    QVERIFY(!Named<TPOSButton>(&form, "btnDetail")->isEnabled());
    QCOMPARE(Grid(&form, "gridSales")->model()->rowCount(), 1);
    QVERIFY_THROWS_EXCEPTION(Exception, TfrmOpenShiftSales::Execute(404));
}

void TestReportForms::openShiftReportPrintsInLandscape()
{
    const QString pdf = FDir.filePath("open.pdf");
    const TPrinterLayer layer(pdf);
    TDialogAnswers answers;
    TfrmOpenShiftSalesReport form;
    form.SetVardiyaID(F->ClosedID);
    QCOMPARE(form.ReportLines(),
             TOpenShiftSales::BuildReport(TOpenShiftSales::LoadShift(F->ClosedID),
                                          TOpenShiftSales::LoadReceipts(F->ClosedID),
                                          TShiftReportFixture::ReportTime()));
    QTest::mouseClick(Named<TPOSButton>(&form, "btnPrint"), Qt::LeftButton);
    QCOMPARE(answers.Last().Title, QString("Bilgi"));
    QCOMPARE(answers.Last().Text, QString("Açık vardiya satış raporu yazdırıldı."));
    QCOMPARE(PdfInfo(pdf, "Title"), QString("Açık Vardiya Satış Raporu"));
    QVERIFY(Landscape(pdf));
    QCOMPARE(PdfLines(pdf), Simplified(form.ReportLines()));
}

void TestReportForms::openShiftReportCancelIsAnError()
{
    TPrintService::SetPrinterDevice(std::make_unique<TFailingPrinter>(true));
    TDialogAnswers answers;
    TfrmOpenShiftSalesReport form;
    form.SetVardiyaID(F->OpenID);
    QTest::mouseClick(Named<TPOSButton>(&form, "btnPrint"), Qt::LeftButton);
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().Text,
             QString("Rapor yazdırılamadı : Yazdırma kullanıcı tarafından iptal edildi."));
    QCOMPARE(TPrintService::PrinterDevice()->Orientation(), TPrinterOrientation::Portrait);
}

// Opening lists the last seven days and today to its last second; the chart has a bar for each.
void TestReportForms::reportingListsTheLastWeekToItsLastSecond()
{
    F->Shop.Exec("UPDATE SatisFis SET Tarih = '2025-03-05 23:59:59' WHERE FisNo = 'FIS-1'");
    F->Shop.Exec("UPDATE SatisFis SET Tarih = '2025-02-26 00:00:00' WHERE FisNo = 'FIS-3'");
    TDialogAnswers answers;
    TfrmReporting form;
    QCOMPARE(Named<QDateEdit>(&form, "dtpStart")->date(), QDate(2025, 2, 26));
    QCOMPARE(Named<QDateEdit>(&form, "dtpEnd")->date(), QDate(2025, 3, 5));
    QAbstractItemModel* sales = Grid(&form, "gridSales")->model();
    QCOMPARE(sales->rowCount(), 9);
    QCOMPARE(sales->index(0, 1).data().toString(), QString("FIS-1"));
    QCOMPARE(sales->index(0, 2).data().toString(), QString("05.03.2025 23:59"));
    QCOMPARE(sales->index(8, 1).data().toString(), QString("FIS-3"));
    QAbstractItemModel* shifts = Grid(&form, "gridVardiya")->model();
    // The open shift opened the day after the range and is not listed.
    QCOMPARE(shifts->rowCount(), 1);
    QCOMPARE(shifts->index(0, 0).data().toString(), QString("1"));
    // Payment lines only, as stored: FIS-1 and FIS-2's cash, less FIS-5's cash refund; the card
    // lines of FIS-2, FIS-7 and FIS-8.
    QCOMPARE(shifts->index(0, 7).data().toString(), QString("200,50 TL"));
    QCOMPARE(shifts->index(0, 8).data().toString(), QString("7.408.841,90 TL"));
    QCOMPARE(Text(&form, "lblNetNakitValue"), QString("200,50 TL"));
    QCOMPARE(Text(&form, "lblDurumValue"), QString("KAPALI"));

    const QList<TDayTurnover>& days = form.ChartDays();
    QCOMPARE(days.size(), 8);
    QCOMPARE(days.first().Gun, QDate(2025, 2, 26));
    QCOMPARE(days.last().Gun, QDate(2025, 3, 5));
    QCOMPARE(TReportText::Money(days.last().NetCiro), QString("7.409.042,40 TL"));

    int reported = 0;
    answers.Step([&reported](QDialog& window) {
        if (auto* preview = qobject_cast<TfrmZReportPreview*>(&window))
            reported = preview->VardiyaID();
    });
    Grid(&form, "gridVardiya")->clearSelection();
    QTest::mouseClick(Named<TPOSButton>(&form, "btnPrintZ"), Qt::LeftButton);
    QCOMPARE(reported, F->ClosedID);
}

void TestReportForms::salesScreenOpensTheReports()
{
    TfrmMainPOS screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    TDialogAnswers answers;
    QStringList opened;
    const auto record = [&opened](QDialog& window) {
        opened << window.objectName();
        if (auto* sales = qobject_cast<TfrmOpenShiftSales*>(&window))
            opened << Text(sales, "lblVardiyaValue");
    };
    answers.Step(record).Step(record).Step(record);
    QTest::mouseClick(Named<TPOSButton>(&screen, "btnMenuSatislar"), Qt::LeftButton);
    screen.btnReportingClick();
    screen.btnPastShiftReportsClick();
    QCOMPARE(opened, (QStringList{"frmOpenShiftSales", QString::number(screen.VardiyaID()),
                                  "frmReporting", "frmPastShiftReports"}));

    F->Shop.Exec("UPDATE Vardiya SET VardiyaDurumu = 'KAPALI', KapanisZamani = GETDATE()");
    screen.LoadOpenShift();
    QTest::mouseClick(Named<TPOSButton>(&screen, "btnMenuSatislar"), Qt::LeftButton);
    QCOMPARE(answers.Last().Text, QString("Aktif vardiya bulunmuyor."));
}

void TestReportForms::columnWidths_data()
{
    QTest::addColumn<int>("usable");
    QTest::addColumn<QList<int>>("weights");
    QTest::addColumn<QList<int>>("needed");
    QTest::addColumn<QList<int>>("widths");
    QTest::newRow("by weight, the last takes the rest")
        << 100 << QList<int>{1, 1, 1} << QList<int>{0, 0, 0} << QList<int>{33, 33, 34};
    QTest::newRow("a hidden column")
        << 90 << QList<int>{0, 1, 2} << QList<int>{50, 0, 0} << QList<int>{0, 30, 60};
    QTest::newRow("a cut amount widens, the roomy column gives")
        << 300 << QList<int>{1, 1, 1} << QList<int>{20, 150, 20} << QList<int>{75, 150, 75};
    QTest::newRow("no room: every column as it needs")
        << 100 << QList<int>{1, 1} << QList<int>{80, 80} << QList<int>{80, 80};
    QTest::newRow("nothing while there is no width")
        << 0 << QList<int>{1, 1} << QList<int>{10, 10} << QList<int>{};
}

void TestReportForms::columnWidths()
{
    QFETCH(int, usable);
    QFETCH(QList<int>, weights);
    QFETCH(QList<int>, needed);
    QFETCH(QList<int>, widths);
    const QList<int> shared = ShareColumnWidths(usable, weights);
    QCOMPARE(shared.isEmpty() ? shared : FitColumnWidths(shared, needed), widths);
}

QTEST_MAIN(TestReportForms)
#include "tst_ReportForms.moc"
