#include "core/SessionManager.h"
#include "shifts/ShiftSummaryForm.h"
#include "shifts/VardiyaForm.h"
#include "shifts/ZReportPreviewForm.h"
#include "support/DialogTestHooks.h"
#include "support/ShopFixture.h"
#include "support/WidgetTestSupport.h"
#include "ui/CustomDialogForm.h"
#include "ui/MainPOSForm.h"
#include "ui/POSButton.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

#include <functional>
#include <memory>

namespace {
// Types the amount into the shift dialog and presses its action or cancel button.
void TypeAndPress(QWidget* dialog, const QString& amount, const char* button)
{
    Child<QLineEdit>(dialog, "edtAmount")->setText(amount);
    Child<TPOSButton>(dialog, button)->click();
}

// Answers the close-mode dialog with a counted amount.
std::function<void(QDialog&)> CountCash(const QString& amount)
{
    return [amount](QDialog& dialog) {
        QCOMPARE(qobject_cast<TfrmVardiya*>(&dialog)->Mode(), vmClose);
        TypeAndPress(&dialog, amount, "btnAction");
    };
}
} // namespace

// Opening and closing a shift from the sales screen: the shift dialog, the closing routine, the
// Z report shown before the label changes, and the shift summary.
class TestSalesScreenShift : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void openThroughTheScreen();
    void openWhileOpenIsRefused();
    void openCancelledChangesNothing();
    void closeWithoutShiftIsRefused();
    void closeCancelledWritesNothing();
    void closeRefusedByTheRoutine();
    void closeSucceeds_data();
    void closeSucceeds();
    void closeWithShortageGoesBackToRecount();
    void summaryOfTheShift();
    void summaryWithoutShift();

private:
    void NewForm();
    QString ShiftState();

    std::unique_ptr<TShopFixture> FShop;
    template <typename T> T* Find(const char* name) { return Named<T>(FForm.get(), name); }

    std::unique_ptr<TfrmMainPOS> FForm;
};

void TestSalesScreenShift::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
}

void TestSalesScreenShift::init()
{
    FShop = std::make_unique<TShopFixture>();
    FShop->LoginCashier();
}

void TestSalesScreenShift::cleanup()
{
    FForm.reset();
    FShop.reset();
    TSessionManager::Instance().Logout();
}

void TestSalesScreenShift::NewForm()
{
    FForm = std::make_unique<TfrmMainPOS>();
    FForm->show();
    QVERIFY(QTest::qWaitForWindowExposed(FForm.get()));
}

QString TestSalesScreenShift::ShiftState()
{
    return FShop
        ->Scalar("SELECT GROUP_CONCAT(VardiyaID || ':' || IFNULL(VardiyaDurumu, '-') || ':' || "
                 "IFNULL(KapanisZamani, '-') || ':' || IFNULL(KapanisTutar, '-'), ';') FROM "
                 "Vardiya")
        .toString();
}

void TestSalesScreenShift::openThroughTheScreen()
{
    FShop->Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'");
    NewForm();
    QCOMPARE(Find<QLabel>("lblVardiya")->text(), QString("Vardiya: Kapalı"));
    TDialogAnswers answers;
    answers.Step([](QDialog& dialog) {
        QCOMPARE(qobject_cast<TfrmVardiya*>(&dialog)->Mode(), vmOpen);
        TypeAndPress(&dialog, "150,5", "btnAction");
    });
    FForm->btnVardiyaAcClick();
    const int opened = FShop->Scalar("SELECT MAX(VardiyaID) FROM Vardiya").toInt();
    QVERIFY(opened > FShop->VardiyaID());
    QCOMPARE(FForm->VardiyaID(), opened);
    QCOMPARE(Find<QLabel>("lblVardiya")->text(), QString("Vardiya: Açık (ID: %1)").arg(opened));
    QCOMPARE(TSessionManager::Instance().GetSessionInfo().VardiyaID, opened);
    QVERIFY(TSessionManager::Instance().GetSessionInfo().VardiyaAcik);
    QCOMPARE(answers.Last().Title, QString("Bilgi"));
}

void TestSalesScreenShift::openWhileOpenIsRefused()
{
    NewForm();
    TDialogAnswers answers;
    FForm->btnVardiyaAcClick();
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().Text, QString("Açık vardiya bulunuyor. Önce vardiya kapatma işlemini "
                                          "gerçekleştiriniz."));
    QCOMPARE(FForm->VardiyaID(), FShop->VardiyaID());
    QCOMPARE(FShop->Count("Vardiya"), 1);
}

void TestSalesScreenShift::openCancelledChangesNothing()
{
    FShop->Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'");
    NewForm();
    TDialogAnswers answers;
    answers.Step([](QDialog& dialog) { Child<TPOSButton>(&dialog, "btnCancel")->click(); });
    FForm->btnVardiyaAcClick();
    QCOMPARE(FForm->VardiyaID(), -1);
    QCOMPARE(Find<QLabel>("lblVardiya")->text(), QString("Vardiya: Kapalı"));
    QCOMPARE(FShop->Count("Vardiya"), 1);
}

void TestSalesScreenShift::closeWithoutShiftIsRefused()
{
    FShop->Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'");
    NewForm();
    TDialogAnswers answers;
    FForm->btnVardiyaKapatClick();
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().Text, QString("Açık vardiya yok!"));
}

void TestSalesScreenShift::closeCancelledWritesNothing()
{
    NewForm();
    const QString before = ShiftState();
    TDialogAnswers answers;
    answers.Step([](QDialog& dialog) { TypeAndPress(&dialog, "100", "btnCancel"); });
    FForm->btnVardiyaKapatClick();
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(ShiftState(), before);
    QCOMPARE(FForm->VardiyaID(), FShop->VardiyaID());
}

void TestSalesScreenShift::closeRefusedByTheRoutine()
{
    NewForm();
    // Another till of the same cashier closed the shift in the meantime.
    FShop->Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), KapanisTutar = 5, VardiyaDurumu "
                "= 'KAPALI'");
    const QString before = ShiftState();
    TDialogAnswers answers;
    // Whatever follows the count is closed; a Z report among it would be recorded.
    answers.Step(CountCash("100")).Step([](QDialog& dialog) { dialog.reject(); });
    FForm->btnVardiyaKapatClick();
    QCOMPARE(answers.Count(), 2);
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().Text, QString("Vardiya zaten kapatılmış."));
    QCOMPARE(Find<QLabel>("lblVardiya")->text(),
             QString("Vardiya: Açık (ID: %1)").arg(FShop->VardiyaID()));
    QCOMPARE(FForm->VardiyaID(), FShop->VardiyaID());
    QCOMPARE(ShiftState(), before);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestSalesScreenShift::closeSucceeds_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("comma") << "1500,75";
    QTest::newRow("dot") << "1500.75";
}

void TestSalesScreenShift::closeSucceeds()
{
    QFETCH(QString, typed);
    FShop->AddProduct("SU", "8690000000001", 10, 10, 100);
    NewForm();
    FForm->Cart().AddItem(1, "SU", "8690000000001", "ADET", 10, 1, 10, false);
    const int shift = FShop->VardiyaID();
    QString labelWhileReport;
    QStringList report;
    TDialogAnswers answers;
    // The count, the surplus over the 100,00 expected confirmed, the Z report.
    answers.Step(CountCash(typed)).Ok().Step([&](QDialog& dialog) {
        labelWhileReport = Find<QLabel>("lblVardiya")->text();
        report = qobject_cast<TfrmZReportPreview*>(&dialog)->ReportLines();
        Child<TPOSButton>(&dialog, "btnClose")->click();
    });
    FForm->btnVardiyaKapatClick();
    QCOMPARE(answers.Shown().at(1).Text, QString("Sayılan nakit beklenenden 1.400,75 TL fazla. "
                                                 "Vardiya yine de kapatılsın mı?"));
    QCOMPARE(answers.Shown().at(2).Form, QString("TfrmZReportPreview"));
    QCOMPARE(labelWhileReport, QString("Vardiya: Açık (ID: %1)").arg(shift));
    QVERIFY(report.size() > 28);
    QCOMPARE(report.at(2), QString("Vardiya ID       : %1").arg(shift));
    QCOMPARE(report.at(4), QString("Durum            : KAPALI"));
    QVERIFY(!report.at(6).endsWith("Henüz kapanmadı"));
    QCOMPARE(report.at(25), QString("Gerçekleşen Sayım       :        1.500,75 TL"));
    QCOMPARE(Find<QLabel>("lblVardiya")->text(), QString("Vardiya: Kapalı"));
    QCOMPARE(FForm->VardiyaID(), -1);
    QCOMPARE(TSessionManager::Instance().GetSessionInfo().VardiyaID, -1);
    QVERIFY(!TSessionManager::Instance().GetSessionInfo().VardiyaAcik);
    QCOMPARE(FShop
                 ->Scalar(QString("SELECT KapanisTutar FROM Vardiya WHERE VardiyaID = %1 AND "
                                  "VardiyaDurumu = 'KAPALI' AND KapanisZamani IS NOT NULL AND "
                                  "KapatanKullaniciID = %2")
                              .arg(shift)
                              .arg(FShop->KullaniciID()))
                 .toDouble(),
             1500.75);
    QCOMPARE(FForm->Cart().Count(), 1); // closing leaves the cart alone
    QVERIFY(!QGuiApplication::overrideCursor());
}

// A shortage is asked about; "Hayır" goes back to the count, and the recount that agrees
// closes the shift without a question.
void TestSalesScreenShift::closeWithShortageGoesBackToRecount()
{
    NewForm();
    const int shift = FShop->VardiyaID();
    TDialogAnswers answers;
    answers
        .Step([](QDialog& dialog) {
            TypeAndPress(&dialog, "87,50", "btnAction");
            QCOMPARE(dialog.result(), 0); // back to the count
            TypeAndPress(&dialog, "100,00", "btnAction");
        })
        .Cancel()
        .Step([](QDialog& dialog) { Child<TPOSButton>(&dialog, "btnClose")->click(); });
    FForm->btnVardiyaKapatClick();
    QCOMPARE(answers.Count(), 3);
    QCOMPARE(answers.Shown().at(1).Title, QString("Kasa Farkı"));
    QCOMPARE(answers.Shown().at(1).Text, QString("Sayılan nakit beklenenden 12,50 TL eksik. "
                                                 "Vardiya yine de kapatılsın mı?"));
    QCOMPARE(answers.Shown().at(2).Form, QString("TfrmZReportPreview"));
    QCOMPARE(FForm->VardiyaID(), -1);
    QCOMPARE(FShop
                 ->Scalar(QString("SELECT KapanisTutar FROM Vardiya WHERE VardiyaID = %1 AND "
                                  "VardiyaDurumu = 'KAPALI'")
                              .arg(shift))
                 .toDouble(),
             100.0);
}

void TestSalesScreenShift::summaryOfTheShift()
{
    NewForm();
    QString shown;
    TDialogAnswers answers;
    answers.Step([&](QDialog& summary) {
        shown = Child<QLabel>(&summary, "lblVardiyaValue")->text() + '|' +
                Child<QLabel>(&summary, "lblKasaTeslimValue")->text();
        Child<TPOSButton>(&summary, "btnClose")->click();
    });
    FForm->btnIcmalClick();
    QCOMPARE(answers.Last().Form, QString("TfrmShiftSummary"));
    QCOMPARE(shown, QString("%1|100,00 TL").arg(FShop->VardiyaID()));
}

void TestSalesScreenShift::summaryWithoutShift()
{
    FShop->Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'");
    NewForm();
    TDialogAnswers answers;
    FForm->btnIcmalClick();
    QCOMPARE(answers.Last().Text, QString("Aktif vardiya bulunmuyor."));
}

QTEST_MAIN(TestSalesScreenShift)
#include "tst_SalesScreenShift.moc"
