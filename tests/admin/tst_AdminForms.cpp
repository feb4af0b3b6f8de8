#include "LocalHttpsServer.h"
#include "admin/ParametersForm.h"
#include "admin/PosStockImageGeneratorForm.h"
#include "core/DbQuery.h"
#include "core/SessionManager.h"
#include "support/DialogTestHooks.h"
#include "support/ShopFixture.h"
#include "support/WidgetTestSupport.h"
#include "ui/CustomDialogForm.h"
#include "ui/MainPOSForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"

#include <QAction>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTableWidget>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {
QString Cell(QTableWidget* grid, int row, int col)
{
    const QTableWidgetItem* item = grid->item(row, col);
    return item ? item->text() : QString();
}

// Types into a cell as the grid's own editor would leave it.
void SetCell(QTableWidget* grid, int row, int col, const QString& text)
{
    grid->setItem(row, col, new QTableWidgetItem(text));
}

int RowOf(QTableWidget* grid, const QString& key)
{
    for (int row = 0; row < grid->rowCount(); ++row)
        if (Cell(grid, row, 0) == key)
            return row;
    return -1;
}

QString Stored(TTestDatabase& db, const QString& key)
{
    return db
        .Scalar(QString("SELECT ParamValue FROM SistemParametre WHERE ParamKey = '%1'").arg(key))
        .toString();
}

QStringList LogLines(QWidget* form)
{
    return Named<QPlainTextEdit>(form, "memLog")->toPlainText().split('\n');
}
} // namespace

// The parameters editor and the stock image generator as windows, and how the sales screen
// opens them; messages are answered through the test hook.
class TestAdminForms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void parametersListsTable();
    void secondsBoxCorrectedAndShown_data();
    void secondsBoxCorrectedAndShown();
    void gridCannotChangeBoxKey();
    void newRowStoredEmptyKeyDropped();
    void badNumberRefusedNamingKey_data();
    void badNumberRefusedNamingKey();
    void valueInOpenEditorIsSaved();
    void closeStoresNothing();

    void generatorWindow();
    void generatorRunShowsProgress();
    void generatorStopsOnDurdurAndEscape_data();
    void generatorStopsOnDurdurAndEscape();
    void generatorErrorReportedWindowUsable();

    void salesScreenOpensBoth();

private:
    std::unique_ptr<TTestDatabase> FDb;
};

void TestAdminForms::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
    RegisterFontSubstitutions();
}

void TestAdminForms::cleanup()
{
    FDb.reset();
}

void TestAdminForms::parametersListsTable()
{
    FDb = std::make_unique<TTestDatabase>();
    FDb->Exec("INSERT INTO SistemParametre (ParamKey, ParamValue, Description) "
              "VALUES ('BarcodeNotFoundMessageSeconds', '7', NULL)");
    TfrmParameters form;
    auto* grid = Named<QTableWidget>(&form, "gridParams");
    QCOMPARE(form.size(), QSize(916, 662));
    QCOMPARE(Named<QLineEdit>(&form, "edtMsgSeconds")->text(), QString("7"));
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(Cell(grid, 0, 0), QString("BarcodeNotFoundMessageSeconds"));
    QCOMPARE(Cell(grid, 0, 1), QString("7"));
    QCOMPARE(Cell(grid, 0, 2),
             QString("Barkod bulunamadı mesajının ekranda kalma süresi (saniye)"));
    QCOMPARE(Cell(grid, 1, 0), QString("MaxQuantityKg"));
    QCOMPARE(Cell(grid, 1, 1), QString("999"));
    QCOMPARE(Cell(grid, 2, 0), QString("MaxQuantityUnits"));
    QCOMPARE(Cell(grid, 2, 1), QString("9999"));
    QCOMPARE(Cell(grid, 3, 0), QString("SaleSuccessMessageSeconds"));
    const QStringList titles{"Anahtar", "Değer", "Açıklama"};
    const QList<int> widths{220, 160, 320};
    for (int col = 0; col < 3; ++col) {
        QCOMPARE(grid->horizontalHeaderItem(col)->text(), titles.at(col));
        QCOMPARE(grid->columnWidth(col), widths.at(col));
    }
}

void TestAdminForms::secondsBoxCorrectedAndShown_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("0") << "0"
                       << "1";
    QTest::newRow("500") << "500"
                         << "60";
    QTest::newRow("abc") << "abc"
                         << "3";
    QTest::newRow("12") << "12"
                        << "12";
}

void TestAdminForms::secondsBoxCorrectedAndShown()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    FDb = std::make_unique<TTestDatabase>();
    TDialogAnswers answers;
    TfrmParameters form;
    auto* box = Named<QLineEdit>(&form, "edtMsgSeconds");
    box->setText(typed);
    form.btnKaydetClick();
    QCOMPARE(Stored(*FDb, "BarcodeNotFoundMessageSeconds"), stored);
    QCOMPARE(box->text(), stored);
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Title, QString("Bilgi"));
    QCOMPARE(answers.Last().Text, QString("Parametreler kaydedildi."));
    QCOMPARE(answers.Last().DlgType, int(dtInfo));
    QCOMPARE(answers.Last().AutoCloseMs, 1500);
}

void TestAdminForms::gridCannotChangeBoxKey()
{
    FDb = std::make_unique<TTestDatabase>();
    TDialogAnswers answers;
    TfrmParameters form;
    auto* grid = Named<QTableWidget>(&form, "gridParams");
    Named<QLineEdit>(&form, "edtMsgSeconds")->setText("4");
    SetCell(grid, RowOf(grid, "BarcodeNotFoundMessageSeconds"), 1, "9");
    form.btnYeniClick();
    SetCell(grid, grid->rowCount() - 1, 0, "barcodenotfoundmessageseconds");
    SetCell(grid, grid->rowCount() - 1, 1, "12");
    form.btnKaydetClick();
    QCOMPARE(Stored(*FDb, "BarcodeNotFoundMessageSeconds"), QString("4"));
    QCOMPARE(FDb->Count("SistemParametre"), 4);
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(Cell(grid, RowOf(grid, "BarcodeNotFoundMessageSeconds"), 1), QString("4"));
}

void TestAdminForms::newRowStoredEmptyKeyDropped()
{
    FDb = std::make_unique<TTestDatabase>();
    TDialogAnswers answers;
    TfrmParameters form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* grid = Named<QTableWidget>(&form, "gridParams");
    QTest::mouseClick(Named<TPOSButton>(&form, "btnYeni"), Qt::LeftButton);
    QCOMPARE(grid->rowCount(), 5);
    QCOMPARE(grid->currentRow(), 4);
    QCOMPARE(grid->currentColumn(), 0);
    QVERIFY(grid->hasFocus());
    SetCell(grid, 4, 0, " AAnahtar ");
    SetCell(grid, 4, 2, " Yeni açıklama ");
    form.btnYeniClick();
    SetCell(grid, 5, 1, "anahtarsız değer");
    QTest::mouseClick(Named<TPOSButton>(&form, "btnKaydet"), Qt::LeftButton);
    QCOMPARE(FDb->Count("SistemParametre"), 5);
    QCOMPARE(Stored(*FDb, "AAnahtar"), QString(""));
    QCOMPARE(grid->rowCount(), 5);
    QCOMPARE(Cell(grid, 0, 0), QString("AAnahtar"));
    QCOMPARE(Cell(grid, 0, 2), QString("Yeni açıklama"));
}

void TestAdminForms::badNumberRefusedNamingKey_data()
{
    QTest::addColumn<QString>("value");
    QTest::newRow("not a number") << "abc";
    QTest::newRow("empty") << "";
    QTest::newRow("above the range") << "61";
}

void TestAdminForms::badNumberRefusedNamingKey()
{
    QFETCH(QString, value);
    FDb = std::make_unique<TTestDatabase>();
    TDialogAnswers answers;
    TfrmParameters form;
    auto* grid = Named<QTableWidget>(&form, "gridParams");
    Named<QLineEdit>(&form, "edtMsgSeconds")->setText("9");
    const int row = RowOf(grid, "SaleSuccessMessageSeconds");
    SetCell(grid, row, 1, value);
    form.btnKaydetClick();
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().DlgType, int(dtError));
    QVERIFY2(answers.Last().Text.contains("SaleSuccessMessageSeconds"),
             qPrintable(answers.Last().Text));
    QCOMPARE(Stored(*FDb, "SaleSuccessMessageSeconds"), QString("3"));
    QCOMPARE(Stored(*FDb, "BarcodeNotFoundMessageSeconds"), QString("3"));
    // What was typed stays, to be put right.
    QCOMPARE(Cell(grid, row, 1), value);
    QCOMPARE(Named<QLineEdit>(&form, "edtMsgSeconds")->text(), QString("9"));
}

void TestAdminForms::valueInOpenEditorIsSaved()
{
    FDb = std::make_unique<TTestDatabase>();
    TDialogAnswers answers;
    TfrmParameters form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto* grid = Named<QTableWidget>(&form, "gridParams");
    const int row = RowOf(grid, "SaleSuccessMessageSeconds");
    grid->setCurrentCell(row, 1);
    grid->edit(grid->model()->index(row, 1));
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, "12");
    QTest::mouseClick(Named<TPOSButton>(&form, "btnKaydet"), Qt::LeftButton);
    QCOMPARE(Stored(*FDb, "SaleSuccessMessageSeconds"), QString("12"));
    QCOMPARE(answers.Last().Text, QString("Parametreler kaydedildi."));
}

void TestAdminForms::closeStoresNothing()
{
    FDb = std::make_unique<TTestDatabase>();
    TfrmParameters form;
    form.show();
    auto* grid = Named<QTableWidget>(&form, "gridParams");
    SetCell(grid, RowOf(grid, "SaleSuccessMessageSeconds"), 1, "20");
    Named<QLineEdit>(&form, "edtMsgSeconds")->setText("20");
    QTest::mouseClick(Named<TPOSButton>(&form, "btnKapat"), Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QCOMPARE(Stored(*FDb, "SaleSuccessMessageSeconds"), QString("3"));
    QCOMPARE(Stored(*FDb, "BarcodeNotFoundMessageSeconds"), QString("3"));
}

void TestAdminForms::generatorWindow()
{
    FDb = std::make_unique<TTestDatabase>();
    QTemporaryDir folder;
    TfrmPosStockImageGenerator form(nullptr, TProductImageSettings::Defaults(), folder.path());
    QVERIFY(!(form.windowFlags() & Qt::FramelessWindowHint));
    QVERIFY(form.windowFlags() & Qt::WindowTitleHint);
    QCOMPARE(form.windowTitle(), QString("Stok Gorsel Tamamlama (POS)"));
    QCOMPARE(form.size(), QSize(856, 559));
    QCOMPARE(Named<QLabel>(&form, "lblTitle")->text(),
             QString("POS - EKSIK STOK GORSELLERINI TAMAMLA"));
    QCOMPARE(LogLines(&form),
             QStringList({"Hazır. Eksik stok görselleri barkoddan aranır, bulunursa şeffaf PNG "
                          "olarak kaydedilir.",
                          "Online görsel bulunamazsa mevcut otomatik POS stok kartı görseli "
                          "üretilir."}));
    QCOMPARE(Named<TPOSButton>(&form, "btnUret")->text(), QString("Eksik Gorselleri Tamamla"));
    QCOMPARE(Named<TPOSButton>(&form, "btnKapat")->text(), QString("Kapat"));
    QVERIFY(!Named<TPOSButton>(&form, "btnDurdur")->isVisibleTo(&form));
}

void TestAdminForms::generatorRunShowsProgress()
{
    FDb = std::make_unique<TTestDatabase>("KIRVELO.db");
    for (const char* kod : {"K1", "K2", "K3"})
        FDb->Exec(QString("INSERT INTO Stok (StokKodu, StokAdi) VALUES ('%1', 'Tuz')").arg(kod));
    QTemporaryDir folder;
    TfrmPosStockImageGenerator form(nullptr, TProductImageSettings::Defaults(), folder.path());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    // Seen from inside the run, at its first repaint.
    bool uretEnabled = true;
    bool kapatEnabled = true;
    bool durdurShown = false;
    QTimer::singleShot(0, &form, [&] {
        uretEnabled = Named<TPOSButton>(&form, "btnUret")->isEnabled();
        kapatEnabled = Named<TPOSButton>(&form, "btnKapat")->isEnabled();
        durdurShown = Named<TPOSButton>(&form, "btnDurdur")->isVisible();
    });
    QTest::mouseClick(Named<TPOSButton>(&form, "btnUret"), Qt::LeftButton);
    QVERIFY(!uretEnabled);
    QVERIFY(!kapatEnabled);
    QVERIFY(durdurShown);
    const QStringList log = LogLines(&form);
    QCOMPARE(log.mid(2), QStringList({"Klasor: " + QDir::toNativeSeparators(folder.path()),
                                      "1) FALLBACK K1 -> K1.png", "2) FALLBACK K2 -> K2.png",
                                      "3) FALLBACK K3 -> K3.png",
                                      "Tamamlandı. Taranan: 3, Kaydedilen: 3 / 3, Online: 0, "
                                      "Fallback: 3"}));
    auto* bar = Named<QProgressBar>(&form, "prgIlerleme");
    QCOMPARE(bar->maximum(), 3);
    QCOMPARE(bar->value(), 3);
    QVERIFY(Named<TPOSButton>(&form, "btnUret")->isEnabled());
    QVERIFY(!Named<TPOSButton>(&form, "btnDurdur")->isVisible());
}

void TestAdminForms::generatorStopsOnDurdurAndEscape_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("Durdur") << false;
    QTest::newRow("Esc stops and keeps the window") << true;
}

void TestAdminForms::generatorStopsOnDurdurAndEscape()
{
    QFETCH(bool, escape);
    TTestCertificate certificate;
    QVERIFY2(certificate.Valid(), qPrintable(certificate.Error()));
    TLocalHttpsServer server(certificate);
    server.Answer("/api/v2/product/8690000000001.json?fields=status,product,image_url,"
                  "image_front_url",
                  NoAnswer());
    TProductImageSettings settings;
    settings.Hosts = {server.Host()};
    settings.LookupTimeoutMs = 20000;
    settings.Tls = certificate.ClientConfiguration();
    FDb = std::make_unique<TTestDatabase>("KIRVELO.db");
    FDb->Exec("INSERT INTO Stok (StokKodu, StokAdi, Barkod) VALUES ('K1', 'Tuz', "
              "'8690000000001')");
    QTemporaryDir folder;
    TfrmPosStockImageGenerator form(nullptr, settings, folder.path());
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTimer::singleShot(300, &form, [&] {
        if (escape)
            QTest::keyClick(&form, Qt::Key_Escape);
        else
            QTest::mouseClick(Named<TPOSButton>(&form, "btnDurdur"), Qt::LeftButton);
    });
    QElapsedTimer clock;
    clock.start();
    form.btnUretClick();
    QVERIFY(clock.elapsed() < 5000);
    QVERIFY(LogLines(&form).last().startsWith("Durduruldu."));
    QVERIFY(form.isVisible());
    QVERIFY(!form.Running());
    QCOMPARE(FDb->Scalar("SELECT Resim FROM Stok").toString(), QString());
}

void TestAdminForms::generatorErrorReportedWindowUsable()
{
    FDb = std::make_unique<TTestDatabase>("KIRVELO.db");
    FDb->Exec("INSERT INTO Stok (StokKodu, StokAdi) VALUES ('K1', 'Tuz')");
    QTemporaryDir folder;
    QFile blocker(folder.filePath("not-a-folder"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    TfrmPosStockImageGenerator form(nullptr, TProductImageSettings::Defaults(),
                                    blocker.fileName() + "/StockImages");
    TDialogAnswers answers;
    QTest::mouseClick(Named<TPOSButton>(&form, "btnUret"), Qt::LeftButton);
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Form, QString("TfrmCustomDialog"));
    QCOMPARE(answers.Last().DlgType, int(dtError));
    QVERIFY2(answers.Last().Text.contains("Stok görseli kaydedilemedi"),
             qPrintable(answers.Last().Text));
    QVERIFY(Named<TPOSButton>(&form, "btnUret")->isEnabled());
    QVERIFY(Named<TPOSButton>(&form, "btnKapat")->isEnabled());
    QVERIFY(!form.Running());
}

void TestAdminForms::salesScreenOpensBoth()
{
    TShopFixture shop;
    shop.LoginCashier();
    TfrmMainPOS screen;
    TDialogAnswers answers;
    const auto close = [](QDialog& window) {
        window.reject();
    };
    answers.Step(close).Step(close).Step(close);
    Named<QAction>(&screen, "miParametreler")->trigger();
    QCOMPARE(answers.Last().Form, QString("TfrmParameters"));
    screen.miParametrelerClick();
    QCOMPARE(answers.Last().Form, QString("TfrmParameters"));
    auto* hidden = Named<QMenu>(&screen, "pmStokGorsel");
    Named<QAction>(&screen, "miStokGorselUret")->trigger();
    QCOMPARE(answers.Last().Form, QString("TfrmPosStockImageGenerator"));
    QCOMPARE(answers.Count(), 3);
    QCOMPARE(Named<QAction>(&screen, "miStokGorselUret")->text(), QString("Stok Gorsel Uret"));
    for (const QPushButton* button : screen.findChildren<QPushButton*>())
        QVERIFY(button->menu() != hidden);
    QVERIFY(!hidden->isVisible());
    TSessionManager::Instance().Logout();
}

QTEST_MAIN(TestAdminForms)
#include "tst_AdminForms.moc"
