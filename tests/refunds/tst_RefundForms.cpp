#include "core/AppPaths.h"
#include "core/Exceptions.h"
#include "core/SessionManager.h"
#include "printing/PrintService.h"
#include "printing/PrinterLayer.h"
#include "refunds/ReceiptPreviewForm.h"
#include "refunds/ReceiptSelectForm.h"
#include "refunds/RefundForm.h"
#include "refunds/RefundGrid.h"
#include "refunds/SaleReceiptViewForm.h"
#include "reports/ReportGrid.h"
#include "sales/CartManager.h"
#include "sales/SaleManager.h"
#include "support/DialogTestHooks.h"
#include "support/ShopFixture.h"
#include "support/WidgetTestSupport.h"
#include "ui/MainPOSForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
QString Cell(QWidget* window, const char* grid, int row, int col)
{
    const QTableWidgetItem* item = Named<QTableWidget>(window, grid)->item(row, col);
    return item ? item->text() : QString();
}

QString Text(QWidget* window, const char* label)
{
    return Named<QLabel>(window, label)->text();
}

void TypeInto(QWidget* window, const char* name, const QString& text)
{
    auto* edit = Named<QLineEdit>(window, name);
    edit->selectAll();
    edit->insert(text);
}

// A printer whose every job the user cancels.
class TCancellingPrinter : public TPrinterDevice {
public:
    bool HasPrinter() const override { return true; }
    TPrinterOrientation Orientation() const override { return TPrinterOrientation::Portrait; }
    void SetOrientation(TPrinterOrientation) override {}
    void SetTitle(const QString&) override {}
    void BeginDoc() override { throw EPrinterError(QStringLiteral("Yazdırma işi iptal edildi.")); }
    void SetFont(const QString&, int) override {}
    int TextHeight(const QString&) override { return 10; }
    int PageHeight() const override { return 1000; }
    void NewPage() override {}
    void TextOut(int, int, const QString&) override {}
    void EndDoc() override {}
    void Abort() override {}
    bool Printing() const override { return false; }
};
} // namespace

// The refund screen, the receipt search, the receipt viewer and preview as windows, answered
// through the modal seam, and the ways the sales screen and the report lists open them.
class TestRefundForms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void refundScreenBooksOnce();
    void refundScreenWritesTheRefundReceipt();
    void refundScreenRefusals_data();
    void refundScreenRefusals();
    void successReportThatFailsStillCloses();
    void refundGridFitsItsColumns();
    void amountsCountOnFromTheLinesAbove();
    void restoredWindowsKeepTheirState();
    void receiptSearchKeys();
    void receiptSearchFromTheRefundScreen();
    void viewerShowsTheReceipt();
    void previewPrintOutcomes();
    void salesScreenAndReportsOpenThem();

private:
    int Sell();
    void ShowRefund();
    void LoadOnRefund(const QString& typed);
    void Choose(int row, const QString& typed, TDialogAnswers& answers);
    int Refunds() { return FShop->Count("SatisFis WHERE FisDurumu = 'IADE'"); }

    std::unique_ptr<TShopFixture> FShop;
    std::unique_ptr<TfrmRefund> FRefund;
    int FKola = 0, FDomates = 0;
};

void TestRefundForms::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
    RegisterFontSubstitutions();
}

void TestRefundForms::init()
{
    FShop = std::make_unique<TShopFixture>();
    FKola = FShop->AddProduct("KOLA 1 L", "8690000000002", 36, 20, 50);
    FDomates = FShop->AddProduct("DOMATES", "12345", 25, 1, 20, true);
    FShop->LoginCashier();
    TSessionManager::Instance().UpdateVardiyaInfo(FShop->VardiyaID(), true);
}

void TestRefundForms::cleanup()
{
    FRefund.reset();
    FShop.reset();
    TSessionManager::Instance().Logout();
}

// KOLA 3 less 10 % (97,20) and DOMATES 1.5 kg (37,50).
int TestRefundForms::Sell()
{
    TCartManager cart;
    cart.AddItem(FKola, "KOLA 1 L", "8690000000002", "ADET", 36, 3, 20, false).SetIndirimOrani(10);
    cart.AddItem(FDomates, "DOMATES", "12345", "KG", 25, 1.5, 1, true);
    const TSaleResult sale =
        TSaleManager::CreateSale(FShop->SubeID(), FShop->KullaniciID(), FShop->TerminalID(),
                                 FShop->VardiyaID(), "NAKIT", cart, cart.GenelToplam(), 0);
    if (!sale.Success)
        qFatal("%s", qPrintable(sale.Message));
    return sale.FisID;
}

void TestRefundForms::ShowRefund()
{
    FRefund = std::make_unique<TfrmRefund>();
    FRefund->show();
    QVERIFY(QTest::qWaitForWindowExposed(FRefund.get()));
}

void TestRefundForms::LoadOnRefund(const QString& typed)
{
    TypeInto(FRefund.get(), "edtFisNo", typed);
    QTest::keyClick(Named<QLineEdit>(FRefund.get(), "edtFisNo"), Qt::Key_Return);
}

void TestRefundForms::Choose(int row, const QString& typed, TDialogAnswers& answers)
{
    answers.Input(typed);
    Named<QTableWidget>(FRefund.get(), "gridItems")->setCurrentCell(row, 1);
    FRefund->gridItemsDblClick();
}

void TestRefundForms::refundScreenBooksOnce()
{
    const int fisID = Sell();
    ShowRefund();
    QCOMPARE(FRefund->windowTitle(), QString("Ürün İade"));
    QCOMPARE(FRefund->size(), QSize(932, 691));
    QCOMPARE(Text(FRefund.get(), "lblReceiptValue"), QString("-"));
    QCOMPARE(Text(FRefund.get(), "lblSelectedCount"), QString("Seçili ürün: 0"));
    QCOMPARE(Text(FRefund.get(), "lblRefundTotal"), QString("İade Toplamı: 0,00 TL"));

    TDialogAnswers answers;
    LoadOnRefund(QString("fis-%1").arg(fisID));
    QCOMPARE(answers.Count(), 0);
    QCOMPARE(Text(FRefund.get(), "lblReceiptValue"), QString("FIS-%1").arg(fisID));
    QCOMPARE(Text(FRefund.get(), "lblCustomerValue"), QString("-"));
    QCOMPARE(Cell(FRefund.get(), "gridItems", 0, TRefundGrid::ColStokAdi), QString("KOLA 1 L"));
    // The unit the customer paid, VAT included and after the 10 % discount (not the net 30,00),
    // and the weighed line with its decimals.
    QCOMPARE(Cell(FRefund.get(), "gridItems", 0, TRefundGrid::ColBirimFiyat), QString("32,40 TL"));
    QCOMPARE(Cell(FRefund.get(), "gridItems", 1, TRefundGrid::ColSatilan), QString("1,5"));
    QCOMPARE(Cell(FRefund.get(), "gridItems", 1, TRefundGrid::ColKalan), QString("1,5"));
    QCOMPARE(Cell(FRefund.get(), "gridItems", 0, TRefundGrid::ColIadeMiktar), QString("0"));

    // The amount is what the drawer pays: 32,40 × 2.
    Choose(0, "2", answers);
    QCOMPARE(answers.Last().Title, QString("İade Miktarı"));
    QCOMPARE(answers.Last().Text, QString("İade edilecek miktar (Max: 3):"));
    QCOMPARE(answers.Last().DefaultValue, QString("1"));
    QCOMPARE(Cell(FRefund.get(), "gridItems", 0, TRefundGrid::ColIadeMiktar), QString("2"));
    QCOMPARE(Cell(FRefund.get(), "gridItems", 0, TRefundGrid::ColTutar), QString("64,80 TL"));
    Choose(1, "0,5", answers);
    QCOMPARE(Cell(FRefund.get(), "gridItems", 1, TRefundGrid::ColTutar), QString("12,50 TL"));
    QCOMPARE(Text(FRefund.get(), "lblSelectedCount"), QString("Seçili ürün: 2"));
    QCOMPARE(Text(FRefund.get(), "lblRefundTotal"), QString("İade Toplamı: 77,30 TL"));

    const double stock = FShop->BranchStock(FShop->SubeID(), FKola);
    answers.Ok().Ok();
    FRefund->btnRefundClick();
    QCOMPARE(answers.Shown().at(answers.Count() - 2).Text,
             QString("İade işlemini onaylıyor musunuz?"));
    QCOMPARE(answers.Last().Title, QString("Başarılı"));
    QVERIFY(answers.Last().Text.startsWith("İade işlemi tamamlandı. İade fiş no: FIS-"));
    QCOMPARE(FRefund->result(), int(mrOk));
    QCOMPARE(Refunds(), 1);
    QCOMPARE(FShop->BranchStock(FShop->SubeID(), FKola), stock + 2);
    QCOMPARE(FShop->Scalar("SELECT GenelToplam FROM SatisFis WHERE FisDurumu = 'IADE'").toDouble(),
             -77.3);

    // "İADE AL" again books nothing and asks nothing.
    const int shown = answers.Count();
    FRefund->btnRefundClick();
    QCOMPARE(answers.Count(), shown);
    QCOMPARE(Refunds(), 1);
    QVERIFY(!Named<TPOSButton>(FRefund.get(), "btnRefund")->isEnabled());

    // A fresh screen shows what is left beside what was sold, and takes it as the limit.
    ShowRefund();
    LoadOnRefund(QString::number(fisID));
    QCOMPARE(Cell(FRefund.get(), "gridItems", 0, TRefundGrid::ColSatilan), QString("3"));
    QCOMPARE(Cell(FRefund.get(), "gridItems", 0, TRefundGrid::ColKalan), QString("1"));
    QCOMPARE(Cell(FRefund.get(), "gridItems", 1, TRefundGrid::ColKalan), QString("1"));
    Choose(0, "2", answers);
    QCOMPARE(answers.Last().Text, QString("Geçersiz miktar!"));
    QCOMPARE(answers.Shown().at(answers.Count() - 2).Text,
             QString("İade edilecek miktar (Max: 1):"));
    QCOMPARE(Cell(FRefund.get(), "gridItems", 0, TRefundGrid::ColIadeMiktar), QString("0"));
}

// The refund booked on the screen leaves its receipt as a sale does, the last receipt too.
void TestRefundForms::refundScreenWritesTheRefundReceipt()
{
    const int fisID = Sell();
    QDir(AppPaths::ReportsFolder()).removeRecursively();
    ShowRefund();
    TDialogAnswers answers;
    LoadOnRefund(QString::number(fisID));
    Choose(1, "1,5", answers);
    answers.Ok().Ok();
    FRefund->btnRefundClick();
    QCOMPARE(answers.Last().Title, QString("Başarılı"));
    const QString refundNo = answers.Last().Text.section(' ', -1);
    QFile file(AppPaths::ReportsFolder() + "Receipt_" + refundNo + ".txt");
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
    const QString text = QString::fromUtf8(file.readAll());
    for (const QString& part : QStringList{
             "İADE FİŞİ", "Fis No: " + refundNo, "Orijinal Fiş: FIS-" + QString::number(fisID),
             "DOMATES", QString("IADE TOPLAMI").leftJustified(34) + "      37,50 TL"})
        QVERIFY2(text.contains(part), qPrintable(part + "\n" + text));
    QFile last(AppPaths::ReportsFolder() + "LastReceipt.txt");
    QVERIFY(last.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(last.readAll()), text);
}

void TestRefundForms::refundScreenRefusals_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("message");
    QTest::newRow("no receipt id") << "garbage"
                                   << "Hata"
                                   << "Geçersiz Fiş No!";
    QTest::newRow("not in the branch") << "missing"
                                       << "Bilgi"
                                       << "Kayıt bulunamadı.";
    QTest::newRow("refund receipt") << "refund"
                                    << "Hata"
                                    << "Bu fiş bir satış fişi değil (IADE), iade alınamaz.";
    QTest::newRow("nothing chosen") << "nothing"
                                    << "Uyarı"
                                    << "Lütfen iade edilecek ürünleri seçin (çift tıklayarak).";
    QTest::newRow("no open shift") << "noshift"
                                   << "Hata"
                                   << "Açık vardiya bulunamadı. İade için önce vardiya açınız.";
    QTest::newRow("shift closed meanwhile")
        << "closed"
        << "Hata"
        << "Açık vardiya bulunamadı. İade için önce vardiya açınız.";
    QTest::newRow("refunded meanwhile elsewhere")
        << "elsewhere"
        << "Hata"
        << "İade miktarı fişte kalan miktarı aşıyor: KOLA 1 L (kalan: 1)";
}

void TestRefundForms::refundScreenRefusals()
{
    QFETCH(QString, kind);
    QFETCH(QString, title);
    QFETCH(QString, message);
    const int fisID = Sell();
    ShowRefund();
    TDialogAnswers answers;
    LoadOnRefund(QString::number(fisID));
    if (kind == "garbage")
        LoadOnRefund("FIS-x");
    if (kind == "missing")
        LoadOnRefund(QString::number(fisID + 50));
    if (kind == "refund") {
        TRefundReceipt receipt;
        TRefundManager::LoadReceipt(fisID, FShop->SubeID(), receipt);
        receipt.Lines[0].IadeMiktar = 1;
        TRefundManager::Book(fisID, FShop->KullaniciID(), FShop->VardiyaID(), receipt.Lines);
        LoadOnRefund(QString::number(fisID + 1));
    }
    if (kind != "nothing" && kind != "garbage" && kind != "missing" && kind != "refund")
        Choose(0, "2", answers);
    if (kind == "noshift")
        TSessionManager::Instance().UpdateVardiyaInfo(-1, false);
    if (kind == "closed")
        FShop->Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'");
    if (kind == "elsewhere") {
        TRefundReceipt receipt;
        TRefundManager::LoadReceipt(fisID, FShop->SubeID(), receipt);
        receipt.Lines[0].IadeMiktar = 2;
        TRefundManager::Book(fisID, FShop->KullaniciID(), FShop->VardiyaID(), receipt.Lines);
    }
    const int refunds = Refunds();
    answers.Ok();
    if (kind != "garbage" && kind != "missing" && kind != "refund")
        FRefund->btnRefundClick();
    QCOMPARE(answers.Last().Title, title);
    QCOMPARE(answers.Last().Text, message);
    QCOMPARE(Refunds(), refunds);
    QCOMPARE(FRefund->result(), 0);
    // The loaded receipt and its choices stay for another try.
    QCOMPARE(Text(FRefund.get(), "lblReceiptValue"), QString("FIS-%1").arg(fisID));
    if (kind != "nothing" && kind != "garbage" && kind != "missing" && kind != "refund")
        QCOMPARE(Cell(FRefund.get(), "gridItems", 0, TRefundGrid::ColIadeMiktar), QString("2"));
}

// The refund is booked once the routine says so: a report that fails still closes the screen.
void TestRefundForms::successReportThatFailsStillCloses()
{
    const int fisID = Sell();
    ShowRefund();
    TDialogAnswers answers;
    LoadOnRefund(QString::number(fisID));
    Choose(0, "1", answers);
    answers.Ok().Step([](QDialog&) { throw Exception("Ekran hatası"); });
    QVERIFY_THROWS_EXCEPTION(Exception, FRefund->btnRefundClick());
    QCOMPARE(Refunds(), 1);
    QCOMPARE(FRefund->result(), int(mrOk));
    answers.Ok().Ok();
    FRefund->btnRefundClick();
    QCOMPARE(Refunds(), 1);
}

// Every title and the widest figures a shop meets stay inside their columns, with the window at
// its size on a 1366 × 768 screen; the ids stay hidden.
void TestRefundForms::refundGridFitsItsColumns()
{
    const int fisID = Sell();
    ShowRefund();
    LoadOnRefund(QString::number(fisID));
    auto* grid = Named<QTableWidget>(FRefund.get(), "gridItems");
    QVERIFY(FRefund->frameGeometry().width() <= 1366 && FRefund->frameGeometry().height() <= 768);
    QCOMPARE(grid->columnCount(), int(TRefundGrid::ColumnCount));
    QCOMPARE(grid->columnWidth(TRefundGrid::ColSatirID), 0);
    QCOMPARE(grid->columnWidth(TRefundGrid::ColStokID), 0);
    int visible = 0;
    for (int col = 0; col < grid->columnCount(); ++col)
        visible += grid->columnWidth(col);
    QVERIFY(visible <= grid->viewport()->width());

    TRefundLine widest;
    widest.StokAdi = "BEYAZ PEYNİR TAM YAĞLI 1 KG";
    widest.Miktar = 999999.999;
    widest.Kalan = 999999.999;
    widest.UrunMiktar = 3;
    widest.UrunToplam = 3703.7034;
    widest.IadeMiktar = 99.999;
    widest.IadeTutar = 123455.75;
    QList<QStringList> rows{TRefundGrid::Titles(), TRefundGrid::Cells(widest)};
    for (int row = 0; row < grid->rowCount(); ++row) {
        QStringList texts;
        for (int col = 0; col < grid->columnCount(); ++col)
            texts << Cell(FRefund.get(), "gridItems", row, col);
        rows << texts;
    }
    QFont bold = grid->font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    for (const QStringList& texts : rows)
        for (int col = TRefundGrid::ColStokAdi; col < TRefundGrid::ColStokID; ++col) {
            const QRect cell(0, 0, grid->columnWidth(col), grid->rowHeight(0));
            QVERIFY2(metrics.horizontalAdvance(texts.at(col)) <=
                         TPOSUITheme::GridCellTextRect(cell).width(),
                     qPrintable(texts.at(col)));
        }
}

// ZEYTİN weighed at 3,35 less 10 % on two lines, 1 and 2 kg (9,045 together, 9,05 paid): the
// refund takes a product's lines in line order, so choosing the upper line changes what the
// lower one pays.
void TestRefundForms::amountsCountOnFromTheLinesAbove()
{
    const int zeytin = FShop->AddProduct("ZEYTİN", "23458", 3.35, 1, 10, true);
    TCartManager cart;
    cart.AddItem(zeytin, "ZEYTİN", "23458", "KG", 3.35, 1, 1, true).SetIndirimOrani(10);
    cart.AddItem(zeytin, "ZEYTİN", "23458", "KG", 3.35, 2, 1, true).SetIndirimOrani(10);
    const TSaleResult sale =
        TSaleManager::CreateSale(FShop->SubeID(), FShop->KullaniciID(), FShop->TerminalID(),
                                 FShop->VardiyaID(), "NAKIT", cart, cart.GenelToplam(), 0);
    QVERIFY2(sale.Success, qPrintable(sale.Message));
    ShowRefund();
    TDialogAnswers answers;
    LoadOnRefund(QString::number(sale.FisID));
    Choose(1, "1", answers);
    QCOMPARE(Cell(FRefund.get(), "gridItems", 1, TRefundGrid::ColTutar), QString("3,02 TL"));
    Choose(0, "1", answers);
    QCOMPARE(Cell(FRefund.get(), "gridItems", 0, TRefundGrid::ColTutar), QString("3,02 TL"));
    QCOMPARE(Cell(FRefund.get(), "gridItems", 1, TRefundGrid::ColTutar), QString("3,01 TL"));
    Choose(1, "2", answers);
    QCOMPARE(Cell(FRefund.get(), "gridItems", 1, TRefundGrid::ColTutar), QString("6,03 TL"));
    QCOMPARE(Text(FRefund.get(), "lblRefundTotal"), QString("İade Toplamı: 9,05 TL"));
    answers.Ok().Ok();
    FRefund->btnRefundClick();
    QCOMPARE(FShop->Scalar("SELECT GenelToplam FROM SatisFis WHERE FisDurumu = 'IADE'").toDouble(),
             -9.05);
}

// Minimising and restoring (or hiding and showing) a window shows it again: the loaded receipt,
// the chosen quantities and the search's filter stay as the cashier left them.
void TestRefundForms::restoredWindowsKeepTheirState()
{
    const int fisID = Sell();
    ShowRefund();
    TDialogAnswers answers;
    LoadOnRefund(QString::number(fisID));
    Choose(0, "2", answers);
    for (const bool minimise : {true, false}) {
        if (minimise) {
            FRefund->showMinimized();
            FRefund->showNormal();
        } else {
            FRefund->hide();
            FRefund->show();
        }
        QVERIFY(QTest::qWaitForWindowExposed(FRefund.get()));
        QCOMPARE(Text(FRefund.get(), "lblReceiptValue"), QString("FIS-%1").arg(fisID));
        QCOMPARE(Named<QLineEdit>(FRefund.get(), "edtFisNo")->text(), QString::number(fisID));
        QCOMPARE(Cell(FRefund.get(), "gridItems", 0, TRefundGrid::ColIadeMiktar), QString("2"));
        QCOMPARE(Text(FRefund.get(), "lblRefundTotal"), QString("İade Toplamı: 64,80 TL"));
    }
    answers.Ok().Ok();
    FRefund->btnRefundClick();
    QCOMPARE(FShop->Scalar("SELECT GenelToplam FROM SatisFis WHERE FisDurumu = 'IADE'").toDouble(),
             -64.8);

    Sell();
    TfrmReceiptSelect select;
    select.show();
    QVERIFY(QTest::qWaitForWindowExposed(&select));
    TypeInto(&select, "edtSearch", QString("FIS-%1").arg(fisID));
    QCOMPARE(Text(&select, "lblCount"), QString("1 fiş listeleniyor"));
    select.hide();
    select.show();
    QVERIFY(QTest::qWaitForWindowExposed(&select));
    QCOMPARE(Named<QLineEdit>(&select, "edtSearch")->text(), QString("FIS-%1").arg(fisID));
    QCOMPARE(Text(&select, "lblCount"), QString("1 fiş listeleniyor"));
    QCOMPARE(Cell(&select, "gridReceipts", 0, 1), QString("FIS-%1").arg(fisID));
}

void TestRefundForms::receiptSearchKeys()
{
    const int first = Sell();
    const int second = Sell();
    FShop->Exec(QString("UPDATE SatisFis SET FisNo = 'A%_[x]''', OdemeTipi = 'KARMA' WHERE "
                        "FisID = %1")
                    .arg(first));
    TfrmReceiptSelect select;
    select.show();
    QVERIFY(QTest::qWaitForWindowExposed(&select));
    QCOMPARE(select.windowTitle(), QString("Fiş Seçimi"));
    QCOMPARE(select.size(), QSize(984, 684));
    QCOMPARE(Text(&select, "lblCount"), QString("2 fiş listeleniyor"));
    QCOMPARE(Cell(&select, "gridReceipts", 0, 1), QString("FIS-%1").arg(second));
    QCOMPARE(Cell(&select, "gridReceipts", 0, 5), QString("134,70 TL"));
    QCOMPARE(Cell(&select, "gridReceipts", 0, 6), QString("Nakit"));
    QCOMPARE(Cell(&select, "gridReceipts", 0, 7), QString("Aktif"));
    // A split payment reads as the other payment words do.
    QCOMPARE(Cell(&select, "gridReceipts", 1, 6), QString("Parçalı"));
    QVERIFY(Named<QLineEdit>(&select, "edtSearch")->hasFocus());

    TDialogAnswers answers;
    TypeInto(&select, "edtSearch", "%_[x]'");
    QCOMPARE(Text(&select, "lblCount"), QString("1 fiş listeleniyor"));
    TypeInto(&select, "edtSearch", "%_[y]");
    QCOMPARE(Text(&select, "lblCount"), QString("0 fiş listeleniyor"));
    QTest::keyClick(Named<QLineEdit>(&select, "edtSearch"), Qt::Key_Return);
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Text, QString("Lütfen bir fiş seçiniz."));
    QCOMPARE(answers.Last().AutoCloseMs, 1500);
    QVERIFY(select.isVisible());

    TypeInto(&select, "edtSearch", "");
    QTest::keyClick(Named<QLineEdit>(&select, "edtSearch"), Qt::Key_Down);
    QVERIFY(Named<QTableWidget>(&select, "gridReceipts")->hasFocus());
    QCOMPARE(Named<QTableWidget>(&select, "gridReceipts")->currentRow(), 0);
    QTest::keyClick(Named<QTableWidget>(&select, "gridReceipts"), Qt::Key_Down);
    QTest::keyClick(Named<QTableWidget>(&select, "gridReceipts"), Qt::Key_Return);
    QCOMPARE(answers.Count(), 1); // Enter taken once, without a message
    QCOMPARE(select.result(), int(mrOk));
    QCOMPARE(select.SelectedFisID(), first);
    QCOMPARE(select.SelectedFisNo(), QString("A%_[x]'"));
}

// The search only fills the number box; nothing loads until Enter or "Ara".
void TestRefundForms::receiptSearchFromTheRefundScreen()
{
    const int fisID = Sell();
    FShop->Exec(QString("UPDATE SatisFis SET FisNo = '' WHERE FisID = %1").arg(fisID));
    ShowRefund();
    TDialogAnswers answers;
    answers.Step([](QDialog& dialog) {
        dialog.show();
        QTest::keyClick(Named<QLineEdit>(&dialog, "edtSearch"), Qt::Key_Return);
    });
    FRefund->btnReceiptsClick();
    QCOMPARE(Named<QLineEdit>(FRefund.get(), "edtFisNo")->text(), QString("FIS-%1").arg(fisID));
    QCOMPARE(Text(FRefund.get(), "lblReceiptValue"), QString("-"));
    answers.Step([](QDialog& dialog) {
        dialog.show();
        QTest::keyClick(Named<QLineEdit>(&dialog, "edtSearch"), Qt::Key_Escape);
    });
    FRefund->btnReceiptsClick();
    QCOMPARE(Named<QLineEdit>(FRefund.get(), "edtFisNo")->text(), QString("FIS-%1").arg(fisID));
    FRefund->btnSearchClick();
    QCOMPARE(Text(FRefund.get(), "lblReceiptValue"), QString("FIS-%1").arg(fisID));
}

void TestRefundForms::viewerShowsTheReceipt()
{
    const int fisID = Sell();
    TfrmSaleReceiptView view;
    view.SetFisID(fisID);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.size(), QSize(1104, 724));
    QCOMPARE(Text(&view, "lblFisNoValue"), QString("FIS-%1").arg(fisID));
    QCOMPARE(Text(&view, "lblKasiyerValue"), QString("KASA SORUMLUSU"));
    QCOMPARE(Text(&view, "lblOdemeValue"), QString("Nakit"));
    QCOMPARE(Text(&view, "lblDurumValue"), QString("Aktif"));
    QCOMPARE(Text(&view, "lblGenelToplamValue"), QString("134,70 TL"));
    QCOMPARE(Cell(&view, "gridItems", 0, 1), QString("KOLA 1 L"));
    QCOMPARE(Cell(&view, "gridItems", 1, 2), QString("1,500"));
    QCOMPARE(Cell(&view, "gridItems", 0, 6), QString("9,00 TL"));
    QCOMPARE(Cell(&view, "gridItems", 0, 7), QString("97,20 TL"));

    FShop->Exec(QString("DELETE FROM SatisFisSatir WHERE FisID = %1").arg(fisID));
    view.SetFisID(fisID);
    QCOMPARE(Named<QTableWidget>(&view, "gridItems")->rowCount(), 1);
    QCOMPARE(Cell(&view, "gridItems", 0, 1), QString());

    TfrmSaleReceiptView missing;
    QVERIFY_THROWS_EXCEPTION(Exception, missing.SetFisID(fisID + 99));
}

// Printed, cancelled and failed, each in the status line; the printed text reads back.
void TestRefundForms::previewPrintOutcomes()
{
    QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(), "pdftotext is needed");
    const int fisID = Sell();
    TfrmReceiptPreview preview;
    preview.SetFisID(fisID);
    preview.show();
    QVERIFY(QTest::qWaitForWindowExposed(&preview));
    QCOMPARE(preview.size(), QSize(524, 624));
    QCOMPARE(Text(&preview, "lblTitle"), QString("Fiş Önizleme - FIS-%1").arg(fisID));
    QCOMPARE(Text(&preview, "lblStatus"), QString("Fiş ekranda görüntüleniyor."));
    QStringList lines;
    QString fisNo;
    QVERIFY(TPrintService::BuildSaleReceipt(fisID, lines, fisNo));
    QCOMPARE(Named<QPlainTextEdit>(&preview, "memReceipt")->toPlainText(), lines.join('\n'));

    QTemporaryDir dir;
    const QString pdf = dir.filePath("receipt.pdf");
    {
        const TPrinterLayer layer(pdf);
        preview.btnPrintClick();
        QCOMPARE(Text(&preview, "lblStatus"), QString("Yazdırma komutu yazıcıya gönderildi."));
    }
    QProcess text;
    text.start("pdftotext", {"-layout", pdf, "-"});
    QVERIFY(text.waitForFinished());
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(printed.contains(QString("FIS-%1").arg(fisID)), qPrintable(printed));
    QVERIFY2(printed.contains("KOLA 1 L"), qPrintable(printed));

    TPrintService::SetPrinterDevice(std::make_unique<TCancellingPrinter>());
    preview.btnPrintClick();
    QCOMPARE(Text(&preview, "lblStatus"), QString("Yazdırma iptal edildi."));
    TPrintService::SetPrinterDevice(nullptr);

    {
        const TPrinterLayer layer(dir.filePath("missing-folder/out.pdf"));
        preview.btnPrintClick();
        QVERIFY(Text(&preview, "lblStatus").startsWith("Yazdırma hatası : "));
        QVERIFY(Text(&preview, "lblStatus").size() > QString("Yazdırma hatası : ").size());
    }
    QVERIFY(preview.isVisible());
    QTest::keyClick(&preview, Qt::Key_Escape);
    QVERIFY(!preview.isVisible());

    TfrmReceiptPreview missing;
    QVERIFY_THROWS_EXCEPTION(Exception, missing.SetFisID(fisID + 99));
}

void TestRefundForms::salesScreenAndReportsOpenThem()
{
    const int fisID = Sell();
    TfrmMainPOS form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    TDialogAnswers answers;
    QString opened;
    answers.Step([&opened](QDialog& dialog) {
        opened = dialog.objectName();
        dialog.done(mrCancel);
    });
    Named<TPOSButton>(&form, "btnIade")->click();
    QCOMPARE(opened, QString("frmRefund"));

    answers.Step([&opened](QDialog& dialog) {
        opened = Named<QLabel>(&dialog, "lblTitle")->text();
        dialog.done(mrCancel);
    });
    form.btnSonFisClick();
    QCOMPARE(opened, QString("Fiş Önizleme - FIS-%1").arg(fisID));

    // A receipt double-clicked in a report list opens in the viewer.
    answers.Step([&opened](QDialog& dialog) {
        opened = Named<QLabel>(&dialog, "lblFisNoValue")->text();
        dialog.done(mrCancel);
    });
    OpenReceiptViewer(fisID);
    QCOMPARE(opened, QString("FIS-%1").arg(fisID));
}

QTEST_MAIN(TestRefundForms)
#include "tst_RefundForms.moc"
