#include "CustomerFixture.h"

#include "core/AppPaths.h"
#include "core/SessionManager.h"
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
#include <QSqlQuery>
#include <QTableWidget>
#include <QtTest>

#include <memory>

using CustomerFixture::AddAccount;

namespace {
const QString kWater = "8690000000001";

// Answers the customer list by taking the account named `name`.
std::function<void(QDialog&)> Choose(const QString& name)
{
    return [name](QDialog& list) {
        list.show();
        auto* grid = Named<QTableWidget>(&list, "gridCustomers");
        for (int row = 0; row < grid->rowCount(); ++row) {
            if (grid->item(row, 2) && grid->item(row, 2)->text() == name)
                grid->setCurrentCell(row, 0);
        }
        Named<TPOSButton>(&list, "btnSelect")->click();
    };
}

void CancelList(QDialog& list)
{
    list.show();
    Named<TPOSButton>(&list, "btnCancel")->click();
}
} // namespace

// The sale's customer on the sales screen: chosen through the customer list, shown in the
// header, removed on request, stored with the sale and turned into its invoice document.
class TestSalesCustomer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void chooseShowsTheName();
    void cancelWithCustomerAsksToRemove_data();
    void cancelWithCustomerAsksToRemove();
    void cancelWithoutCustomerAsksNothing();
    void saleWithCustomerMakesOneDocument();
    void failedDocumentLeavesTheSale();

private:
    void NewForm();
    void SellWater(TDialogAnswers& answers);
    QLabel* CustomerLabel() { return Named<QLabel>(FForm.get(), "lblMusteri"); }

    std::unique_ptr<TShopFixture> FShop;
    std::unique_ptr<TfrmMainPOS> FForm;
    int FAyse = -1;
};

void TestSalesCustomer::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
    RegisterFontSubstitutions();
}

void TestSalesCustomer::init()
{
    FShop = std::make_unique<TShopFixture>();
    FShop->AddProduct("SU 0,5 L", kWater, 10, 10, 100);
    AddAccount({"C00001", "Ali Veli"});
    FAyse = AddAccount({"C00002", "Ayşe Yılmaz"});
    FShop->LoginCashier();
    QDir(AppPaths::ReportsFolder()).removeRecursively();
}

void TestSalesCustomer::cleanup()
{
    FForm.reset();
    FShop.reset();
    TSessionManager::Instance().Logout();
}

void TestSalesCustomer::NewForm()
{
    FForm = std::make_unique<TfrmMainPOS>();
    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
}

void TestSalesCustomer::SellWater(TDialogAnswers& answers)
{
    auto* barcode = Named<QLineEdit>(FForm.get(), "edtBarkod");
    barcode->setText(kWater);
    FForm->btnBarkodOkuClick();
    answers.Ok();
    FForm->btnOdemeAlClick();
}

void TestSalesCustomer::chooseShowsTheName()
{
    TDialogAnswers answers;
    NewForm();
    QVERIFY(CustomerLabel()->isHidden());
    answers.Step(Choose("Ayşe Yılmaz"));
    FForm->btnMusteriSecClick();
    QCOMPARE(answers.Last().Form, QString("TfrmCustomerList"));
    QCOMPARE(FForm->Cart().MusteriNo(), FAyse);
    QCOMPARE(FForm->Cart().MusteriIsmi(), QString("Ayşe Yılmaz"));
    QVERIFY(CustomerLabel()->isVisible());
    QCOMPARE(CustomerLabel()->text(), QString("Müşteri: Ayşe Yılmaz"));

    // Choosing another customer replaces the first without asking.
    answers.Step(Choose("Ali Veli"));
    FForm->btnMusteriSecClick();
    QCOMPARE(answers.Count(), 2);
    QCOMPARE(CustomerLabel()->text(), QString("Müşteri: Ali Veli"));
}

void TestSalesCustomer::cancelWithCustomerAsksToRemove_data()
{
    QTest::addColumn<bool>("consent");
    QTest::newRow("removed") << true;
    QTest::newRow("kept") << false;
}

void TestSalesCustomer::cancelWithCustomerAsksToRemove()
{
    QFETCH(bool, consent);
    TDialogAnswers answers;
    NewForm();
    answers.Step(Choose("Ayşe Yılmaz"));
    FForm->btnMusteriSecClick();
    answers.Step(CancelList);
    if (consent)
        answers.Ok();
    else
        answers.Cancel();
    FForm->btnMusteriSecClick();
    QCOMPARE(answers.Last().Title, QString("Müşteri İptal"));
    QCOMPARE(answers.Last().Text, QString("Seçili müşteriyi kaldırmak istiyor musunuz?"));
    QCOMPARE(FForm->Cart().MusteriNo(), consent ? -1 : FAyse);
    QCOMPARE(CustomerLabel()->isVisible(), !consent);
}

void TestSalesCustomer::cancelWithoutCustomerAsksNothing()
{
    TDialogAnswers answers;
    NewForm();
    answers.Step(CancelList);
    FForm->btnMusteriSecClick();
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(FForm->Cart().MusteriNo(), -1);
    QVERIFY(CustomerLabel()->isHidden());
}

void TestSalesCustomer::saleWithCustomerMakesOneDocument()
{
    TDialogAnswers answers;
    NewForm();
    answers.Step(Choose("Ayşe Yılmaz"));
    FForm->btnMusteriSecClick();
    SellWater(answers);
    QCOMPARE(answers.Last().Form, QString("TfrmSaleSuccessDialog"));
    QCOMPARE(FShop->Scalar("SELECT MusteriID FROM SatisFis WHERE FisID = 1").toInt(), FAyse);
    QCOMPARE(FShop->Count(
                 QString("BelgeBaslik WHERE BelgeNo = 'FATURA-POS-1' AND CariID = %1").arg(FAyse)),
             1);
    QCOMPARE(FShop->Count("BelgeBaslik"), 1);
    QCOMPARE(FShop->Count("BelgeSatir WHERE StokAdi = 'SU 0,5 L'"), 1);
    QCOMPARE(FForm->Cart().MusteriNo(), -1);
    QVERIFY(CustomerLabel()->isHidden());
    QFile receipt(AppPaths::ReportsFolder() + "Receipt_FIS-1.txt");
    QVERIFY(receipt.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(receipt.readAll()).split("\r\n");
    // The receipt keeps its one layout: the customer is on the invoice document, not on it.
    const qsizetype kasiyer = lines.indexOf(QString("Kasiyer: KASA SORUMLUSU"));
    QVERIFY(kasiyer > 0);
    QCOMPARE(lines.at(kasiyer - 1), QString("Fis No: FIS-1"));
    QVERIFY(lines.at(kasiyer + 1).startsWith("-----"));
    QVERIFY(!lines.join('\n').contains("Ayşe"));

    // The next sale is anonymous: no document.
    SellWater(answers);
    QVERIFY(FShop->Scalar("SELECT MusteriID FROM SatisFis WHERE FisID = 2").isNull());
    QCOMPARE(FShop->Count("BelgeBaslik"), 1);
}

void TestSalesCustomer::failedDocumentLeavesTheSale()
{
    QSqlQuery trigger(FShop->Database().Db().Database());
    QVERIFY(trigger.exec("CREATE TRIGGER BelgeSatirBozuk BEFORE INSERT ON BelgeSatir BEGIN "
                         "SELECT RAISE(ABORT, 'disk dolu'); END"));
    TDialogAnswers answers;
    NewForm();
    answers.Step(Choose("Ayşe Yılmaz"));
    FForm->btnMusteriSecClick();
    SellWater(answers);
    QCOMPARE(answers.Last().Form, QString("TfrmSaleSuccessDialog"));
    QCOMPARE(answers.Last().Text, QString("FIS-1"));
    QCOMPARE(FShop->Count(QString("SatisFis WHERE FisID = 1 AND MusteriID = %1").arg(FAyse)), 1);
    QCOMPARE(FShop->Count("SatisFisSatir WHERE FisID = 1"), 1);
    QCOMPARE(FShop->Count("SatisOdeme WHERE FisID = 1"), 1);
    QCOMPARE(FShop->Count("BelgeBaslik"), 0);
    QCOMPARE(FForm->Cart().Count(), 0);
    QCOMPARE(FForm->Cart().MusteriNo(), -1);
    QVERIFY(CustomerLabel()->isHidden());
    QVERIFY(!FShop->Database().Db().InTransaction());
}

QTEST_MAIN(TestSalesCustomer)
#include "tst_SalesCustomer.moc"
