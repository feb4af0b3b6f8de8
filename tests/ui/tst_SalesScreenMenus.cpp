#include "core/SessionManager.h"
#include "support/DialogTestHooks.h"
#include "support/ShopFixture.h"
#include "support/WidgetTestSupport.h"
#include "ui/CustomDialogForm.h"
#include "ui/MainPOSForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/ReportMenuForm.h"
#include "ui/VardiyeMenuForm.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QtTest>

#include <memory>

namespace {
// The menu's list and title, found by their object names.
QListWidget* List(const TPopupMenuForm& menu)
{
    return menu.findChild<QListWidget*>("scAdvancedListBox1");
}

QLabel* Title(const TPopupMenuForm& menu)
{
    return menu.findChild<QLabel*>("scLabel1");
}
} // namespace

// The sales screen's "Vardiya" and "Rapor" buttons with their drop-down menus, on a real
// SQLite shop; messages answered through the test hook.
class TestSalesScreenMenus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void shiftMenuDropsDownFromItsButton();
    void escapeLeavesScreenUnchanged();
    void refusalsShowAfterTheMenuClosed_data();
    void refusalsShowAfterTheMenuClosed();
    void reportMenuMadeOnceOnFirstUse();
    void lastReceiptWithoutShiftDoesNothing();
    void lastReceiptWithShiftAndNoReceipt();
    void withoutShiftMenuButtonDoesNothing();
    void choiceAfterScreenClosedRunsNothing();

private:
    void CloseShift();
    void NewForm();
    void Choose(TPopupMenuForm* menu, int row);

    std::unique_ptr<TShopFixture> FShop;
    std::unique_ptr<QWidget> FLogin; // owns the shift menu, as the login window does
    template <typename T> T* Find(const char* name) { return Named<T>(FForm.get(), name); }

    std::unique_ptr<TfrmMainPOS> FForm;
};

void TestSalesScreenMenus::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
    RegisterFontSubstitutions();
}

void TestSalesScreenMenus::init()
{
    FShop = std::make_unique<TShopFixture>();
    FShop->AddProduct("SU 0,5 L", "8690000000001", 10, 10, 100);
    FShop->LoginCashier();
    FLogin = std::make_unique<QWidget>();
    new TMenuPopupForm(FLogin.get());
}

void TestSalesScreenMenus::cleanup()
{
    FForm.reset();
    FLogin.reset();
    FShop.reset();
    TSessionManager::Instance().Logout();
}

void TestSalesScreenMenus::CloseShift()
{
    FShop->Exec("UPDATE Vardiya SET VardiyaDurumu = 'KAPALI', KapanisZamani = GETDATE()");
}

void TestSalesScreenMenus::NewForm()
{
    FForm = std::make_unique<TfrmMainPOS>();
    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
}

void TestSalesScreenMenus::Choose(TPopupMenuForm* menu, int row)
{
    List(*menu)->setCurrentRow(row);
    QTest::keyClick(List(*menu), Qt::Key_Return);
}

void TestSalesScreenMenus::shiftMenuDropsDownFromItsButton()
{
    NewForm();
    TMenuPopupForm* menu = TMenuPopupForm::Instance();
    QVERIFY(menu);
    QTest::mouseClick(Find<TPOSButton>("btnMenuVardiya"), Qt::LeftButton);
    QVERIFY(menu->isVisible());
    QCOMPARE(menu->pos(),
             Find<TPOSButton>("btnMenuVardiya")
                 ->mapToGlobal(QPoint(0, Find<TPOSButton>("btnMenuVardiya")->height())));
    QCOMPARE(Title(*menu)->text(), QString("Vardiye İşlemleri"));
}

void TestSalesScreenMenus::escapeLeavesScreenUnchanged()
{
    NewForm();
    Find<QLineEdit>("edtBarkod")->setText("8690000000001");
    FForm->btnBarkodOkuClick();
    const QString shift = Find<QLabel>("lblVardiya")->text();
    TDialogAnswers answers;
    for (TPOSButton* button :
         {Find<TPOSButton>("btnMenuVardiya"), Find<TPOSButton>("btnMenuRapor")}) {
        QTest::mouseClick(button, Qt::LeftButton);
        QWidget* menu = QApplication::activePopupWidget();
        QVERIFY(menu);
        QTest::keyClick(menu->focusWidget(), Qt::Key_Escape);
        QVERIFY(!menu->isVisible());
    }
    QCOMPARE(FForm->Cart().Count(), 1);
    QCOMPARE(Find<QLabel>("lblVardiya")->text(), shift);
    QCOMPARE(answers.Count(), 0);
}

void TestSalesScreenMenus::refusalsShowAfterTheMenuClosed_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<bool>("shiftOpen");
    QTest::addColumn<QString>("text");
    QTest::newRow("Vardiye Aç with a shift open")
        << 0 << true << "Açık vardiya bulunuyor. Önce vardiya kapatma işlemini gerçekleştiriniz.";
    QTest::newRow("Vardiye Kapat without a shift") << 1 << false << "Açık vardiya yok!";
    QTest::newRow("Vardiye İcmal without a shift") << 2 << false << "Aktif vardiya bulunmuyor.";
}

void TestSalesScreenMenus::refusalsShowAfterTheMenuClosed()
{
    QFETCH(int, row);
    QFETCH(bool, shiftOpen);
    QFETCH(QString, text);
    if (!shiftOpen)
        CloseShift();
    NewForm();
    TMenuPopupForm* menu = TMenuPopupForm::Instance();
    TDialogAnswers answers;
    bool closedFirst = false;
    connect(menu, &TPopupMenuForm::ItemChosen, this,
            [&closedFirst, menu] { closedFirst = !menu->isVisible(); });
    QTest::mouseClick(Find<TPOSButton>("btnMenuVardiya"), Qt::LeftButton);
    Choose(menu, row);
    QVERIFY(closedFirst);
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Text, text);
    QCOMPARE(answers.Last().DlgType, int(dtError));
    QCOMPARE(FForm->VardiyaID() > 0, shiftOpen);
}

void TestSalesScreenMenus::reportMenuMadeOnceOnFirstUse()
{
    NewForm();
    QVERIFY(!TReportMenuPopupForm::Existing());
    QTest::mouseClick(Find<TPOSButton>("btnMenuRapor"), Qt::LeftButton);
    TReportMenuPopupForm* first = TReportMenuPopupForm::Existing();
    QVERIFY(first && first->isVisible());
    QCOMPARE(first->pos(),
             Find<TPOSButton>("btnMenuRapor")
                 ->mapToGlobal(QPoint(0, Find<TPOSButton>("btnMenuRapor")->height())));
    QTest::keyClick(List(*first), Qt::Key_Escape);
    QTest::mouseClick(Find<TPOSButton>("btnMenuRapor"), Qt::LeftButton);
    QCOMPARE(TReportMenuPopupForm::Existing(), first);
    QCOMPARE(FForm->findChildren<TReportMenuPopupForm*>().size(), 1);
    QVERIFY(first->isVisible());
}

void TestSalesScreenMenus::lastReceiptWithoutShiftDoesNothing()
{
    CloseShift();
    NewForm();
    TDialogAnswers answers;
    QTest::mouseClick(Find<TPOSButton>("btnMenuRapor"), Qt::LeftButton);
    TReportMenuPopupForm* menu = TReportMenuPopupForm::Existing();
    Choose(menu, 1); // "Son Fiş Dökümü"
    QVERIFY(!menu->isVisible());
    QCOMPARE(answers.Count(), 0);
    QVERIFY(!QApplication::activeModalWidget() || QApplication::activeModalWidget() == FForm.get());
}

void TestSalesScreenMenus::lastReceiptWithShiftAndNoReceipt()
{
    NewForm();
    QVERIFY(FForm->VardiyaID() > 0);
    TDialogAnswers answers;
    QTest::mouseClick(Find<TPOSButton>("btnMenuRapor"), Qt::LeftButton);
    TReportMenuPopupForm* menu = TReportMenuPopupForm::Existing();
    Choose(menu, 1); // "Son Fiş Dökümü"
    QVERIFY(!menu->isVisible());
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Text, QString("Yazdırılacak fiş bulunamadı."));
    QCOMPARE(answers.Last().DlgType, int(dtInfo));
}

void TestSalesScreenMenus::withoutShiftMenuButtonDoesNothing()
{
    FLogin.reset();
    QVERIFY(!TMenuPopupForm::Instance());
    NewForm();
    QTest::mouseClick(Find<TPOSButton>("btnMenuVardiya"), Qt::LeftButton);
    QVERIFY(!QApplication::activePopupWidget());
}

void TestSalesScreenMenus::choiceAfterScreenClosedRunsNothing()
{
    NewForm();
    TMenuPopupForm* menu = TMenuPopupForm::Instance();
    QTest::mouseClick(Find<TPOSButton>("btnMenuVardiya"), Qt::LeftButton);
    QTest::keyClick(List(*menu), Qt::Key_Escape);
    FForm.reset();
    TDialogAnswers answers;
    QWidget anchor;
    anchor.show();
    menu->DropDown(&anchor);
    Choose(menu, 2);
    QVERIFY(menu->isVisible()); // no sales screen: the menu stays open and nothing runs
    QCOMPARE(answers.Count(), 0);
    QTest::keyClick(List(*menu), Qt::Key_Escape);
}

QTEST_MAIN(TestSalesScreenMenus)
#include "tst_SalesScreenMenus.moc"
