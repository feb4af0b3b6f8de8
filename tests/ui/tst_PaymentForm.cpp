#include "support/DialogTestHooks.h"
#include "support/TestDatabase.h"
#include "support/WidgetTestSupport.h"
#include "ui/CustomDialogForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/PaymentForm.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QtTest>

#include <functional>

namespace {
// Replaces a box's whole text by typing, as a cashier does after the box was entered.
void TypeInto(QLineEdit* edit, const QString& keys)
{
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, keys);
}

// The window's controls, found by their object names.
struct TPaymentControls {
    explicit TPaymentControls(QWidget* form)
        : pnlTop(Child<QWidget>(form, "pnlTop"))
        , pnlInput(Child<QWidget>(form, "pnlInput"))
        , pnlBottom(Child<QWidget>(form, "pnlBottom"))
        , lblTotalTitle(Child<QLabel>(form, "lblTotalTitle"))
        , lblTotalAmount(Child<QLabel>(form, "lblTotalAmount"))
        , lblNakit(Child<QLabel>(form, "lblNakit"))
        , lblKart(Child<QLabel>(form, "lblKart"))
        , lblPaidTitle(Child<QLabel>(form, "lblPaidTitle"))
        , lblPaidAmount(Child<QLabel>(form, "lblPaidAmount"))
        , lblChangeTitle(Child<QLabel>(form, "lblChangeTitle"))
        , lblChangeAmount(Child<QLabel>(form, "lblChangeAmount"))
        , lblRemaining(Child<QLabel>(form, "lblRemaining"))
        , lblRemainingAmount(Child<QLabel>(form, "lblRemainingAmount"))
        , edtNakit(Child<QLineEdit>(form, "edtNakit"))
        , edtKart(Child<QLineEdit>(form, "edtKart"))
        , btnNakitTam(Child<TPOSButton>(form, "btnNakitTam"))
        , btnKartTam(Child<TPOSButton>(form, "btnKartTam"))
        , btnCancel(Child<TPOSButton>(form, "btnCancel"))
        , btnComplete(Child<TPOSButton>(form, "btnComplete"))
    {
    }
    QWidget* pnlTop;
    QWidget* pnlInput;
    QWidget* pnlBottom;
    QLabel* lblTotalTitle;
    QLabel* lblTotalAmount;
    QLabel* lblNakit;
    QLabel* lblKart;
    QLabel* lblPaidTitle;
    QLabel* lblPaidAmount;
    QLabel* lblChangeTitle;
    QLabel* lblChangeAmount;
    QLabel* lblRemaining;
    QLabel* lblRemainingAmount;
    QLineEdit* edtNakit;
    QLineEdit* edtKart;
    TPOSButton* btnNakitTam;
    TPOSButton* btnKartTam;
    TPOSButton* btnCancel;
    TPOSButton* btnComplete;
};

QString LabelColor(const QLabel* label)
{
    const QString sheet = label->styleSheet();
    const qsizetype at = sheet.indexOf(QLatin1String("color: #"));
    return at < 0 ? QString() : sheet.mid(at + 7, 7).toUpper();
}
} // namespace

// The payment window: its layout, its boxes read whole, summary, "Tümü" buttons and results,
// run as a window and through Execute (modally and with the test hook).
class TestPaymentForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();

    void layoutAndTexts();
    void setTotalFillsBoxes();
    void showingSelectsCash();

    void textThatIsNoAmountIsKeptAndRefused_data();
    void textThatIsNoAmountIsKeptAndRefused();
    void typingOverSelectedDecimals();
    void groupedAmountsTyped();
    void leavingBoxRewritesTwoDecimals();

    void summaryLabels_data();
    void summaryLabels();
    void summaryFitsMillions();
    void allButtons();
    void enterCompletesOnlyWhenEnabled();
    void shortPaymentShowsError();

    void executeResults_data();
    void executeResults();
    void executeCancelled_data();
    void executeCancelled();
    void hookAnswers_data();
    void hookAnswers();
    void hookRecordsWindow();
};

void TestPaymentForm::initTestCase()
{
    UseTurkishLocale();
    UseTestPaths();
    RegisterFontSubstitutions();
}

void TestPaymentForm::layoutAndTexts()
{
    TfrmPayment form;
    const TPaymentControls ui(&form);
    form.layout()->activate();
    QCOMPARE(form.size(), QSize(499, 448));
    QVERIFY(form.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(ui.lblTotalTitle->text(), QString("TOPLAM TUTAR"));
    QCOMPARE(ui.lblNakit->text(), QString("ALINAN NAKİT"));
    QCOMPARE(ui.lblKart->text(), QString("KREDİ KARTI"));
    QCOMPARE(ui.btnNakitTam->text(), QString("Tümü"));
    QCOMPARE(ui.btnKartTam->text(), QString("Tümü"));
    QCOMPARE(ui.lblPaidTitle->text(), QString("ALINAN NAKİT"));
    QCOMPARE(ui.lblChangeTitle->text(), QString("PARA ÜSTÜ"));
    QCOMPARE(ui.lblRemaining->text(), QString("KALAN"));
    QCOMPARE(ui.btnCancel->text(), QString("İptal"));
    QCOMPARE(ui.btnComplete->text(), QString("Satışı Tamamla"));
    QCOMPARE(ui.btnComplete->Look().Fill, POSPalette::Primary);
    QCOMPARE(ui.btnCancel->Look().Fill, POSPalette::Content);
    QCOMPARE(ui.edtNakit->text(), QString("0.00"));
    QCOMPARE(ui.edtKart->text(), QString("0.00"));
    QVERIFY(ui.edtNakit->alignment().testFlag(Qt::AlignRight));
    QVERIFY(ui.edtNakit->font().pixelSize() >= 20);
    QCOMPARE(ui.pnlTop->palette().color(QPalette::Window), POSPalette::Header);
    QCOMPARE(ui.pnlBottom->palette().color(QPalette::Window), POSPalette::Footer);
    QCOMPARE(ui.pnlInput->palette().color(QPalette::Window), POSPalette::Content);
    QCOMPARE(LabelColor(ui.lblChangeAmount), QString("#1E6FD0")); // change in blue
}

void TestPaymentForm::setTotalFillsBoxes()
{
    TfrmPayment form;
    const TPaymentControls ui(&form);
    form.SetTotal(1234.5);
    QCOMPARE(form.TotalAmount(), 1234.5);
    QCOMPARE(ui.lblTotalAmount->text(), QString("1.234,50 TL"));
    QCOMPARE(ui.edtNakit->text(), QString("1234,50"));
    QCOMPARE(ui.edtKart->text(), QString("0,00"));
    QCOMPARE(ui.lblPaidAmount->text(), QString("1.234,50 TL"));
    QCOMPARE(ui.lblChangeAmount->text(), QString("0,00 TL"));
    QCOMPARE(ui.lblRemainingAmount->text(), QString("0,00 TL"));
    QVERIFY(ui.btnComplete->isEnabled());
}

void TestPaymentForm::showingSelectsCash()
{
    TfrmPayment form;
    const TPaymentControls ui(&form);
    form.SetTotal(87.5);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QCOMPARE(QApplication::focusWidget(), ui.edtNakit);
    QCOMPARE(ui.edtNakit->selectedText(), QString("87,50"));
    QTest::keyClicks(ui.edtNakit, "100");
    QCOMPARE(ui.edtNakit->text(), QString("100"));
}

// The boxes keep what is typed; what is no amount of money is refused whole on Enter, never
// read in part ("abc-1e5" is not 15, "12,345" is not 12,34) and never completes the payment.
void TestPaymentForm::textThatIsNoAmountIsKeptAndRefused_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("letters, sign and exponent") << "abc-1e5";
    QTest::newRow("a third decimal") << "12,345";
    QTest::newRow("misplaced grouping") << "1.50.000";
}

void TestPaymentForm::textThatIsNoAmountIsKeptAndRefused()
{
    QFETCH(QString, typed);
    TDialogAnswers answers;
    TfrmPayment form;
    const TPaymentControls ui(&form);
    form.SetTotal(10);
    TypeInto(ui.edtKart, "10");
    TypeInto(ui.edtNakit, typed);
    QCOMPARE(ui.edtNakit->text(), typed);
    QVERIFY(!ui.btnComplete->isEnabled());
    QTest::keyClick(ui.edtNakit, Qt::Key_Return);
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().Text, QString("Geçersiz tutar!"));
    QCOMPARE(answers.Last().DlgType, int(dtError));
    form.btnCompleteClick();
    QCOMPARE(answers.Count(), 2);
    QCOMPARE(answers.Last().Text, QString("Geçersiz tutar!"));
    QCOMPARE(form.result(), int(mrNone));
    QVERIFY(form.PaymentType.isEmpty());
}

void TestPaymentForm::typingOverSelectedDecimals()
{
    TfrmPayment form;
    const TPaymentControls ui(&form);
    form.SetTotal(50);
    ui.edtKart->setText("12,34");
    ui.edtKart->setSelection(3, 2);
    QTest::keyClicks(ui.edtKart, "7");
    QCOMPARE(ui.edtKart->text(), QString("12,7"));
    QTest::keyClicks(ui.edtKart, "5");
    QCOMPARE(ui.edtKart->text(), QString("12,75"));
    QTest::keyClick(ui.edtKart, Qt::Key_Backspace);
    QTest::keyClicks(ui.edtKart, "1");
    QCOMPARE(ui.edtKart->text(), QString("12,71"));
}

// "1.500" typed the Turkish way is one thousand five hundred, not 1,50.
void TestPaymentForm::groupedAmountsTyped()
{
    TfrmPayment form;
    const TPaymentControls ui(&form);
    form.SetTotal(1234.5);
    TypeInto(ui.edtNakit, "1.500");
    QCOMPARE(ui.edtNakit->text(), QString("1.500"));
    QCOMPARE(ui.lblPaidAmount->text(), QString("1.500,00 TL"));
    QCOMPARE(ui.lblChangeAmount->text(), QString("265,50 TL"));
    TypeInto(ui.edtNakit, "1.234,5");
    QCOMPARE(ui.lblChangeAmount->text(), QString("0,00 TL"));
    QVERIFY(ui.btnComplete->isEnabled());
    TypeInto(ui.edtKart, "3,");
    QCOMPARE(ui.edtKart->text(), QString("3,"));
}

void TestPaymentForm::leavingBoxRewritesTwoDecimals()
{
    TfrmPayment form;
    const TPaymentControls ui(&form);
    form.SetTotal(50);
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    TypeInto(ui.edtNakit, "12,5");
    ui.edtKart->setFocus();
    QCOMPARE(ui.edtNakit->text(), QString("12,50"));
    TypeInto(ui.edtKart, "7,");
    ui.edtNakit->setFocus();
    QCOMPARE(ui.edtKart->text(), QString("7,00"));
    TypeInto(ui.edtNakit, "");
    QTest::keyClick(ui.edtNakit, Qt::Key_Backspace);
    ui.edtKart->setFocus();
    QCOMPARE(ui.edtNakit->text(), QString("0,00"));
    TypeInto(ui.edtNakit, "1.500");
    ui.edtKart->setFocus();
    QCOMPARE(ui.edtNakit->text(), QString("1500,00"));
    TypeInto(ui.edtNakit, "15a");
    ui.edtKart->setFocus();
    QCOMPARE(ui.edtNakit->text(), QString("15a"));
}

void TestPaymentForm::summaryLabels_data()
{
    QTest::addColumn<double>("total");
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("paid");
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("remaining");
    QTest::addColumn<bool>("due");

    QTest::newRow("cash with change") << 87.5 << "100"
                                      << "0,00"
                                      << "100,00 TL"
                                      << "12,50 TL"
                                      << "0,00 TL" << false;
    QTest::newRow("cash short") << 100.0 << "60"
                                << "0,00"
                                << "60,00 TL"
                                << "0,00 TL"
                                << "40,00 TL" << true;
    QTest::newRow("card over total") << 100.0 << "0,00"
                                     << "150"
                                     << "0,00 TL"
                                     << "0,00 TL"
                                     << "0,00 TL" << false;
    QTest::newRow("large amounts grouped") << 2500.0 << "1000"
                                           << "0"
                                           << "1.000,00 TL"
                                           << "0,00 TL"
                                           << "1.500,00 TL" << true;
}

void TestPaymentForm::summaryLabels()
{
    QFETCH(double, total);
    QFETCH(QString, cash);
    QFETCH(QString, card);
    QFETCH(QString, paid);
    QFETCH(QString, change);
    QFETCH(QString, remaining);
    QFETCH(bool, due);
    TfrmPayment form;
    const TPaymentControls ui(&form);
    form.SetTotal(total);
    TypeInto(ui.edtNakit, cash);
    TypeInto(ui.edtKart, card);
    QCOMPARE(ui.lblPaidAmount->text(), paid);
    QCOMPARE(ui.lblChangeAmount->text(), change);
    QCOMPARE(ui.lblRemainingAmount->text(), remaining);
    QCOMPARE(LabelColor(ui.lblRemainingAmount), due ? QString("#D8353C") : QString("#167840"));
    QCOMPARE(ui.btnComplete->isEnabled(), !due);
}

// Seven-digit totals: every summary amount stays whole inside its own column, clear of the
// next one.
void TestPaymentForm::summaryFitsMillions()
{
    TfrmPayment form;
    const TPaymentControls ui(&form);
    form.SetTotal(1234567.89);
    form.show();
    TypeInto(ui.edtNakit, "2000000");
    QCOMPARE(ui.lblPaidAmount->text(), QString("2.000.000,00 TL"));
    QCOMPARE(ui.lblChangeAmount->text(), QString("765.432,11 TL"));
    const QList<QLabel*> columns{ui.lblPaidAmount, ui.lblChangeAmount, ui.lblRemainingAmount};
    const QList<QLabel*> nextTitles{ui.lblChangeTitle, ui.lblRemaining};
    for (int i = 0; i < columns.size(); ++i) {
        const QLabel* amount = columns.at(i);
        const int width = QFontMetrics(amount->font()).horizontalAdvance(amount->text());
        QVERIFY2(width <= amount->contentsRect().width(), qPrintable(amount->objectName()));
        if (i < nextTitles.size())
            QVERIFY(amount->x() + width + 8 <= nextTitles.at(i)->x());
    }
    // Small amounts keep the large figures.
    TypeInto(ui.edtNakit, "10");
    QCOMPARE(ui.lblPaidAmount->font().pixelSize(), 18);
}

void TestPaymentForm::allButtons()
{
    TfrmPayment form;
    const TPaymentControls ui(&form);
    form.SetTotal(100);
    TypeInto(ui.edtKart, "60");
    QCOMPARE(ui.btnComplete->isEnabled(), true); // 100 cash + 60 card is covered
    QTest::mouseClick(ui.btnNakitTam, Qt::LeftButton);
    QCOMPARE(ui.edtNakit->text(), QString("40,00"));
    TypeInto(ui.edtNakit, "25");
    QTest::mouseClick(ui.btnKartTam, Qt::LeftButton);
    QCOMPARE(ui.edtKart->text(), QString("75,00"));
    QCOMPARE(ui.lblRemainingAmount->text(), QString("0,00 TL"));
    // A card amount above the total leaves no cash to take, never a negative amount.
    TypeInto(ui.edtKart, "150");
    QTest::mouseClick(ui.btnNakitTam, Qt::LeftButton);
    QCOMPARE(ui.edtNakit->text(), QString("0,00"));
    QCOMPARE(ui.lblPaidAmount->text(), QString("0,00 TL"));
    QVERIFY(ui.btnComplete->isEnabled());
}

void TestPaymentForm::enterCompletesOnlyWhenEnabled()
{
    TfrmPayment form;
    const TPaymentControls ui(&form);
    form.SetTotal(100);
    TypeInto(ui.edtNakit, "50");
    QTest::keyClick(ui.edtNakit, Qt::Key_Return);
    QCOMPARE(form.result(), int(mrNone));
    QCOMPARE(ui.edtNakit->text(), QString("50"));
    TypeInto(ui.edtKart, "50");
    QTest::keyClick(ui.edtKart, Qt::Key_Enter);
    QCOMPARE(form.result(), int(mrOk));
    QCOMPARE(form.PaymentType, QString("KARMA"));
    QCOMPARE(form.PaymentNakit, 50.0);
    QCOMPARE(form.PaymentKart, 50.0);
}

void TestPaymentForm::shortPaymentShowsError()
{
    TDialogAnswers answers;
    TfrmPayment form;
    const TPaymentControls ui(&form);
    form.SetTotal(100);
    TypeInto(ui.edtNakit, "60");
    form.btnCompleteClick();
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Title, QString("Eksik Tutar"));
    QCOMPARE(answers.Last().Text, QString("Ödeme tutarı eksik!"));
    QCOMPARE(answers.Last().DlgType, int(dtError));
    QCOMPARE(form.result(), int(mrNone));
    QVERIFY(form.PaymentType.isEmpty());
}

void TestPaymentForm::executeResults_data()
{
    QTest::addColumn<double>("total");
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("card");
    QTest::addColumn<bool>("cashAll");
    QTest::addColumn<double>("nakit");
    QTest::addColumn<double>("kart");
    QTest::addColumn<QString>("type");

    QTest::newRow("cash with change") << 87.5 << "100"
                                      << "" << false << 87.5 << 0.0 << "NAKIT";
    QTest::newRow("default whole total in cash") << 42.9 << ""
                                                 << "" << false << 42.9 << 0.0 << "NAKIT";
    QTest::newRow("card") << 100.0 << "0"
                          << "100" << false << 0.0 << 100.0 << "KART";
    QTest::newRow("card over total") << 100.0 << "0"
                                     << "150" << false << 0.0 << 100.0 << "KART";
    QTest::newRow("split with Tümü") << 100.0 << ""
                                     << "60" << true << 40.0 << 60.0 << "KARMA";
}

void TestPaymentForm::executeResults()
{
    QFETCH(double, total);
    QFETCH(QString, cash);
    QFETCH(QString, card);
    QFETCH(bool, cashAll);
    QFETCH(double, nakit);
    QFETCH(double, kart);
    QFETCH(QString, type);
    WhenModalOpens([=](QWidget* modal) {
        auto* edtNakit = Child<QLineEdit>(modal, "edtNakit");
        auto* edtKart = Child<QLineEdit>(modal, "edtKart");
        if (!card.isEmpty())
            TypeInto(edtKart, card);
        if (!cash.isEmpty())
            TypeInto(edtNakit, cash);
        if (cashAll)
            QTest::mouseClick(Child<TPOSButton>(modal, "btnNakitTam"), Qt::LeftButton);
        QTest::keyClick(edtNakit, Qt::Key_Return);
    });
    const TPaymentResult paid = TfrmPayment::Execute(total);
    QVERIFY(paid.Accepted);
    QCOMPARE(paid.PaymentNakit, nakit);
    QCOMPARE(paid.PaymentKart, kart);
    QCOMPARE(paid.PaymentType, type);
}

void TestPaymentForm::executeCancelled_data()
{
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("İptal") << false;
    QTest::newRow("Esc") << true;
}

void TestPaymentForm::executeCancelled()
{
    QFETCH(bool, byEscape);
    WhenModalOpens([byEscape](QWidget* modal) {
        if (byEscape)
            QTest::keyClick(Child<QLineEdit>(modal, "edtNakit"), Qt::Key_Escape);
        else
            QTest::mouseClick(Child<TPOSButton>(modal, "btnCancel"), Qt::LeftButton);
    });
    const TPaymentResult paid = TfrmPayment::Execute(25);
    QVERIFY(!paid.Accepted);
    QVERIFY(paid.PaymentType.isEmpty());
}

void TestPaymentForm::hookAnswers_data()
{
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("card");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<double>("nakit");
    QTest::addColumn<double>("kart");
    QTest::addColumn<QString>("type");

    QTest::newRow("Ok pays all in cash") << int(mrOk) << ""
                                         << "" << true << 87.5 << 0.0 << "NAKIT";
    QTest::newRow("Pay split") << int(mrOk) << "30"
                               << "57,5" << true << 30.0 << 57.5 << "KARMA";
    QTest::newRow("Pay card") << int(mrOk) << "0"
                              << "87,50" << true << 0.0 << 87.5 << "KART";
    QTest::newRow("Pay short cannot complete") << int(mrOk) << "10"
                                               << "0" << false << 0.0 << 0.0 << "";
    QTest::newRow("Cancel") << int(mrCancel) << ""
                            << "" << false << 0.0 << 0.0 << "";
}

void TestPaymentForm::hookAnswers()
{
    QFETCH(int, result);
    QFETCH(QString, cash);
    QFETCH(QString, card);
    QFETCH(bool, accepted);
    QFETCH(double, nakit);
    QFETCH(double, kart);
    QFETCH(QString, type);
    TDialogAnswers answers;
    if (result == mrCancel)
        answers.Cancel();
    else if (cash.isEmpty())
        answers.Ok();
    else
        answers.Pay(cash, card);
    const TPaymentResult paid = TfrmPayment::Execute(87.5);
    QCOMPARE(paid.Accepted, accepted);
    QCOMPARE(paid.PaymentNakit, nakit);
    QCOMPARE(paid.PaymentKart, kart);
    QCOMPARE(paid.PaymentType, type);
    QCOMPARE(answers.Pending(), 0);
    QCOMPARE(answers.Count(), 1); // the payment window only, no error message
}

void TestPaymentForm::hookRecordsWindow()
{
    TDialogAnswers answers;
    const TPaymentResult paid = TfrmPayment::Execute(1234.5); // nothing queued: cancelled
    QVERIFY(!paid.Accepted);
    QCOMPARE(answers.Count(), 1);
    const TShownDialog shown = answers.Last();
    QCOMPARE(shown.Form, QString("TfrmPayment"));
    QCOMPARE(shown.Title, QString("TOPLAM TUTAR"));
    QCOMPARE(shown.Amount, QString("1.234,50 TL"));
    QCOMPARE(shown.DefaultValue, QString("1234,50"));
    QCOMPARE(shown.Buttons, QStringList({"İptal", "Satışı Tamamla"}));
}

QTEST_MAIN(TestPaymentForm)
#include "tst_PaymentForm.moc"
