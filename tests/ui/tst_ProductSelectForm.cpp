#include "core/DataModule.h"
#include "core/SessionManager.h"
#include "support/DialogTestHooks.h"
#include "support/ShopFixture.h"
#include "support/WidgetTestSupport.h"
#include "ui/CalculatorForm.h"
#include "ui/MainPOSForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/ProductSelectForm.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QtTest>

#include <memory>

namespace {
QStringList Column(const QTableWidget* grid, int col)
{
    QStringList texts;
    for (int row = 0; row < grid->rowCount(); ++row)
        texts << (grid->item(row, col) ? grid->item(row, col)->text() : QString());
    return texts;
}

// Types `text` into `widget` key by key, letters outside ASCII too.
void Type(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(widget, c.toLatin1());
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

// Answers the next window, the product search, by typing `typed` key by key and then `key`.
std::function<void(QDialog&)> SearchAndPress(const QString& typed, Qt::Key key)
{
    return [typed, key](QDialog& dialog) {
        dialog.show();
        auto* search = Named<QLineEdit>(&dialog, "edtSearch");
        Type(search, typed);
        QTest::keyClick(search, key);
    };
}
} // namespace

// The product search window and the calculator, alone and opened from the sales screen.
class TestProductSelectForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void layout();
    void searchFollowsEveryKey();
    void keysTypedAheadAreSearchedOnce();
    void keysDuringASearchAreSearchedNext();
    void nothingFound();
    void keys_data();
    void keys();
    void invalidRow();
    void searchButtonMovesToTheList();
    void salesScreenAddsTheChoice_data();
    void salesScreenAddsTheChoice();
    void calculatorKeys();
    void calculatorFromSalesScreen_data();
    void calculatorFromSalesScreen();

private:
    std::unique_ptr<TfrmProductSelect> NewDialog();

    std::unique_ptr<TShopFixture> FShop;
    int FYayla = 0;
};

void TestProductSelectForm::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
    RegisterFontSubstitutions();
}

void TestProductSelectForm::init()
{
    FShop = std::make_unique<TShopFixture>();
    FYayla = FShop->AddProduct("Yayla SÜT 1 L", "8690000000001", 1234.5, 1, 0);
    FShop->AddProduct("Süt Tozu", "8690000000002", 80, 1, 0);
    FShop->AddProduct("IRMAK Su", "8690000000003", 7.25, 1, 0);
    FShop->AddProduct("Peynir", "8690000000004", 150, 1, 0);
    FShop->Exec(QString("INSERT INTO SubeStok (SubeID, StokID, MevcutStok) VALUES (%1, %2, 1234.5)")
                    .arg(FShop->SubeID())
                    .arg(FYayla));
    FShop->LoginCashier();
}

void TestProductSelectForm::cleanup()
{
    FShop.reset();
    TSessionManager::Instance().Logout();
}

std::unique_ptr<TfrmProductSelect> TestProductSelectForm::NewDialog()
{
    auto form = std::make_unique<TfrmProductSelect>();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get()))
        qFatal("the product search did not show");
    return form;
}

void TestProductSelectForm::layout()
{
    const auto form = NewDialog();
    QCOMPARE(form->windowTitle(), QString("Ürün Seç"));
    QCOMPARE(form->size(), QSize(1066, 722));
    QCOMPARE(Named<QWidget>(form.get(), "pnlTop")->height(), 128);
    QCOMPARE(Named<QWidget>(form.get(), "pnlBottom")->height(), 72);
    QCOMPARE(Named<QLabel>(form.get(), "lblTitle")->text(), QString("ÜRÜN SEÇ"));
    QCOMPARE(Named<QLineEdit>(form.get(), "edtSearch")->placeholderText(),
             QString("Ürün adı, barkod veya stok kodu ara..."));
    auto* search = Named<TPOSButton>(form.get(), "btnSearch");
    auto* cancel = Named<TPOSButton>(form.get(), "btnCancel");
    QCOMPARE(search->size(), cancel->size());
    QCOMPARE(cancel->size(), QSize(130, 40));
    QCOMPARE(search->x() + search->width() + 34, Named<QWidget>(form.get(), "pnlTop")->width());
    auto* edit = Named<QLineEdit>(form.get(), "edtSearch");
    QCOMPARE(edit->x() + edit->width() + 12, search->x());
    QCOMPARE(Named<TPOSButton>(form.get(), "btnSelect")->text(), QString("Seç"));
    QCOMPARE(cancel->text(), QString("İptal"));
    auto* grid = Named<QTableWidget>(form.get(), "gridProducts");
    QStringList titles;
    QList<int> widths;
    for (int col = 0; col < grid->columnCount(); ++col) {
        titles << grid->horizontalHeaderItem(col)->text();
        widths << grid->columnWidth(col);
    }
    QCOMPARE(titles,
             (QStringList{"ID", "Barkod", "Stok Kodu", "Ürün Adı", "Birim", "Fiyat", "Stok"}));
    QCOMPARE(widths, (QList<int>{0, 130, 100, 320, 70, 100, 80}));
    QVERIFY(grid->isColumnHidden(0));
    QCOMPARE(form->focusWidget(), edit);
    // Opened with every product, by name, with price and this branch's stock.
    QCOMPARE(Column(grid, 3), (QStringList{"IRMAK Su", "Peynir", "Süt Tozu", "Yayla SÜT 1 L"}));
    QCOMPARE(grid->item(3, 5)->text(), QString("1.234,50 TL"));
    QCOMPARE(grid->item(3, 6)->text(), QString("1.234,5"));
    QCOMPARE(grid->item(0, 6)->text(), QString("0"));
    QCOMPARE(Named<QLabel>(form.get(), "lblCount")->text(), QString("4 Ürün listeleniyor"));
}

void TestProductSelectForm::searchFollowsEveryKey()
{
    const auto form = NewDialog();
    auto* search = Named<QLineEdit>(form.get(), "edtSearch");
    auto* grid = Named<QTableWidget>(form.get(), "gridProducts");
    const QList<QPair<QChar, QStringList>> steps{{u's', {"IRMAK Su", "Süt Tozu", "Yayla SÜT 1 L"}},
                                                 {u'ü', {"Süt Tozu", "Yayla SÜT 1 L"}},
                                                 {u't', {"Süt Tozu", "Yayla SÜT 1 L"}},
                                                 {u' ', {"Süt Tozu", "Yayla SÜT 1 L"}},
                                                 {u'1', {"Yayla SÜT 1 L"}}};
    for (const auto& [key, names] : steps) {
        Type(search, QString(key));
        QTRY_COMPARE(Column(grid, 3), names);
        QCOMPARE(grid->currentRow(), 0);
    }
}

// Keys that arrive together (typed ahead while the window was busy) are searched once, as the
// text stands after the last of them.
void TestProductSelectForm::keysTypedAheadAreSearchedOnce()
{
    const auto form = NewDialog();
    auto* search = Named<QLineEdit>(form.get(), "edtSearch");
    auto* grid = Named<QTableWidget>(form.get(), "gridProducts");
    const int before = dmMain->RoundTrips().Count();
    Type(search, "süt 1");
    QCOMPARE(dmMain->RoundTrips().Count(), before);
    QTRY_COMPARE(Column(grid, 3), QStringList{"Yayla SÜT 1 L"});
    QCoreApplication::processEvents();
    QCOMPARE(dmMain->RoundTrips().Count() - before, 1);
}

// A key that arrives while a search runs is not searched on its own: the search under way ends,
// then the text as it is by then is searched, once.
void TestProductSelectForm::keysDuringASearchAreSearchedNext()
{
    const auto form = NewDialog();
    auto* search = Named<QLineEdit>(form.get(), "edtSearch");
    auto* grid = Named<QTableWidget>(form.get(), "gridProducts");
    QStringList searched;
    dmMain->SetStatementHook([&](const QString& sql) {
        if (!sql.contains("StokParca") && !sql.contains("FROM Stok S"))
            return;
        searched << search->text();
        if (search->text() == "s") {
            search->setText("sü");
            search->setText("süt");
        }
    });
    Type(search, "s");
    QTRY_COMPARE(Column(grid, 3), (QStringList{"Süt Tozu", "Yayla SÜT 1 L"}));
    QCoreApplication::processEvents();
    dmMain->SetStatementHook({});
    QCOMPARE(searched, (QStringList{"s", "süt"}));
}

void TestProductSelectForm::nothingFound()
{
    const auto form = NewDialog();
    TDialogAnswers answers;
    auto* search = Named<QLineEdit>(form.get(), "edtSearch");
    Type(search, "zzz");
    auto* grid = Named<QTableWidget>(form.get(), "gridProducts");
    QTRY_COMPARE(grid->rowCount(), 1);
    QCOMPARE(Column(grid, 0), QStringList{""});
    QCOMPARE(Named<QLabel>(form.get(), "lblCount")->text(), QString("0 Ürün listeleniyor"));
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().Text, QString("Lütfen bir ürün seçiniz."));
    QCOMPARE(answers.Last().AutoCloseMs, 1500);
    QVERIFY(form->isVisible());
    QCOMPARE(form->SelectedStokID, -1);
}

void TestProductSelectForm::keys_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("fromList");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("chosen");
    QTest::newRow("Enter in the search box picks the first row")
        << "yayla" << int(Qt::Key_Return) << false << int(mrOk) << "Yayla SÜT 1 L";
    QTest::newRow("keypad Enter") << "süt" << int(Qt::Key_Enter) << false << int(mrOk)
                                  << "Süt Tozu";
    QTest::newRow("Enter in the list")
        << "su" << int(Qt::Key_Return) << true << int(mrOk) << "IRMAK Su";
    QTest::newRow("Esc in the search box")
        << "süt" << int(Qt::Key_Escape) << false << int(mrCancel) << "";
    QTest::newRow("Esc in the list") << "süt" << int(Qt::Key_Escape) << true << int(mrCancel) << "";
}

void TestProductSelectForm::keys()
{
    QFETCH(QString, typed);
    QFETCH(int, key);
    QFETCH(bool, fromList);
    QFETCH(int, result);
    QFETCH(QString, chosen);
    const auto form = NewDialog();
    auto* search = Named<QLineEdit>(form.get(), "edtSearch");
    auto* grid = Named<QTableWidget>(form.get(), "gridProducts");
    Type(search, typed);
    if (fromList) {
        QTest::keyClick(search, Qt::Key_Down);
        QCOMPARE(form->focusWidget(), grid);
        QCOMPARE(grid->currentRow(), 0);
        QCOMPARE(search->text(), typed);
    }
    QTest::keyClick(form->focusWidget(), Qt::Key(key));
    QCOMPARE(form->result(), result);
    QCOMPARE(form->isVisible(), false);
    const int expected =
        chosen.isEmpty()
            ? -1
            : FShop->Scalar("SELECT StokID FROM Stok WHERE StokAdi = '" + chosen + "'").toInt();
    QCOMPARE(form->SelectedStokID, expected);
}

void TestProductSelectForm::invalidRow()
{
    const auto form = NewDialog();
    TDialogAnswers answers;
    auto* grid = Named<QTableWidget>(form.get(), "gridProducts");
    grid->item(0, 0)->setText("abc");
    Named<TPOSButton>(form.get(), "btnSelect")->click();
    QCOMPARE(answers.Last().Text, QString("Seçilen ürün geçersiz."));
    QCOMPARE(answers.Last().AutoCloseMs, 1500);
    QCOMPARE(form->SelectedStokID, -1);
    QVERIFY(form->isVisible());
}

void TestProductSelectForm::searchButtonMovesToTheList()
{
    const auto form = NewDialog();
    auto* grid = Named<QTableWidget>(form.get(), "gridProducts");
    Named<QLineEdit>(form.get(), "edtSearch")->setText("peynir");
    Named<TPOSButton>(form.get(), "btnSearch")->click();
    QCOMPARE(Column(grid, 3), QStringList{"Peynir"});
    QCOMPARE(form->focusWidget(), grid);
    const QRect cell = grid->visualRect(grid->model()->index(0, 3));
    // A double-click as the window system delivers it: a click, then the second press.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QCOMPARE(form->result(), int(mrOk));
}

void TestProductSelectForm::salesScreenAddsTheChoice_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("lines");
    QTest::newRow("F8, Enter") << true << int(Qt::Key_Return) << 1;
    QTest::newRow("Seç, Enter") << false << int(Qt::Key_Return) << 1;
    QTest::newRow("F8, Esc") << true << int(Qt::Key_Escape) << 0;
}

void TestProductSelectForm::salesScreenAddsTheChoice()
{
    QFETCH(bool, byKey);
    QFETCH(int, key);
    QFETCH(int, lines);
    TfrmMainPOS screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    TDialogAnswers answers;
    answers.Step(SearchAndPress("yayla", Qt::Key(key)));
    if (byKey)
        QTest::keyClick(screen.focusWidget(), Qt::Key_F8);
    else
        Named<TPOSButton>(&screen, "btnStokSec")->click();
    QCOMPARE(answers.Last().Form, QString("TfrmProductSelect"));
    QCOMPARE(screen.Cart().Count(), lines);
    if (lines > 0)
        QCOMPARE(screen.Cart().Items(0).StokID(), FYayla);
    QCOMPARE(screen.focusWidget(), Named<QLineEdit>(&screen, "edtBarkod"));
}

void TestProductSelectForm::calculatorKeys()
{
    TfrmCalculator form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QCOMPARE(form.size(), QSize(336, 556));
    auto* screen = Named<QLineEdit>(&form, "screen");
    QVERIFY(screen->isReadOnly());
    QCOMPARE(screen->alignment() & Qt::AlignRight, Qt::AlignRight);
    QTest::keyClicks(&form, "12x3");
    QCOMPARE(screen->text(), QString("3"));
    QTest::keyClick(&form, Qt::Key_Return);
    QCOMPARE(screen->text(), QString("36"));
    Named<TPOSButton>(&form, "btnDivide")->click();
    Named<TPOSButton>(&form, "btn8")->click();
    Named<TPOSButton>(&form, "btnEquals")->click();
    QCOMPARE(screen->text(), QString("4,5"));
    QTest::keyClick(&form, Qt::Key_Backspace);
    QCOMPARE(screen->text(), QString("4,"));
    Named<TPOSButton>(&form, "btnClear")->click();
    QCOMPARE(screen->text(), QString());
    QCOMPARE(Named<TPOSButton>(&form, "btnClear")->width(), 2 * 75 + 6);
    QCOMPARE(Named<TPOSButton>(&form, "btn7")->size(), QSize(75, 73));
    for (auto* key : form.findChildren<TPOSButton*>())
        QCOMPARE(key->focusPolicy(), Qt::NoFocus);
    QTest::keyClick(&form, Qt::Key_Escape);
    QVERIFY(!form.isVisible());
}

void TestProductSelectForm::calculatorFromSalesScreen_data()
{
    QTest::addColumn<bool>("byKey");
    QTest::newRow("Ctrl+H") << true;
    QTest::newRow("Hesap") << false;
}

void TestProductSelectForm::calculatorFromSalesScreen()
{
    QFETCH(bool, byKey);
    TfrmMainPOS screen;
    screen.show();
    QVERIFY(QTest::qWaitForWindowExposed(&screen));
    TDialogAnswers answers;
    QString shown;
    answers.Step([&shown](QDialog& dialog) {
        QTest::keyClicks(&dialog, "2+3*4=");
        shown = Named<QLineEdit>(&dialog, "screen")->text();
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    if (byKey)
        QTest::keyClick(screen.focusWidget(), Qt::Key_H, Qt::ControlModifier);
    else
        Named<TPOSButton>(&screen, "btnHesapMakinesi")->click();
    QCOMPARE(answers.Last().Form, QString("TfrmCalculator"));
    QCOMPARE(shown, QString("20"));
    QVERIFY(Named<QLineEdit>(&screen, "edtBarkod")->text().isEmpty());
    QCOMPARE(screen.focusWidget(), Named<QLineEdit>(&screen, "edtBarkod"));
}

QTEST_MAIN(TestProductSelectForm)
#include "tst_ProductSelectForm.moc"
