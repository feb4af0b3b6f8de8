#include "support/DialogTestHooks.h"
#include "support/TestDatabase.h"
#include "support/WidgetTestSupport.h"
#include "ui/CustomDialogForm.h"
#include "ui/CustomInputForm.h"
#include "ui/FittedText.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/PaymentForm.h"
#include "ui/SaleSuccessDialogForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

#include <functional>

Q_DECLARE_METATYPE(TDialogType)

namespace {
void Key(QWidget* window, Qt::Key key)
{
    QTest::keyClick(window, key);
}

TPOSButton* Button(QWidget* window, const char* name)
{
    return Child<TPOSButton>(window, name);
}

QLabel* Label(QWidget* window, const char* name)
{
    return Child<QLabel>(window, name);
}
} // namespace

// The message, input and sale-completed dialogs, run for real and through the test hook.
class TestDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();

    void messageKinds_data();
    void messageKinds();
    void messageLayout();
    void buttonPlacement();
    void escape_data();
    void escape();
    void enterAcknowledgesButNeverConsents();
    void buttonsAnswer_data();
    void buttonsAnswer();
    void autoCloseReturnsOk();
    void hookRecordsAndAnswers();
    void hookNormalisesOneButtonAnswers();
    void longTextStaysInMessageArea();
    void dialogsCentreOnOwner_data();
    void dialogsCentreOnOwner();
    void enterAloneLeavesTimedNoticesOpen();
    void scanPassesThroughNotices_data();
    void scanPassesThroughNotices();

    void inputLayout();
    void inputLongPromptKeepsItsMargin();
    void inputConfirmedWithEnterKeepsTextAsTyped();
    void inputEnterOnEmptyEditGivesEmptyValue();
    void inputCancelLeavesValue();
    void inputEscapeMeansNothing();
    void inputDefaultSelectedAndFocused();
    void inputHook();

    void saleTexts_data();
    void saleTexts();
    void saleCountdownTicks();
    void saleWithoutAutoCloseHasNoBar();
    void saleClosesByItself();
    void saleEscapeClosesAtOnce();
    void saleHook();
};

void TestDialogs::initTestCase()
{
    UseTurkishLocale();
    UseTestPaths();
    RegisterFontSubstitutions();
}

void TestDialogs::messageKinds_data()
{
    QTest::addColumn<TDialogType>("type");
    QTest::addColumn<int>("header");
    QTest::addColumn<QString>("okCaption");
    QTest::addColumn<bool>("cancelShown");
    QTest::newRow("info") << dtInfo << 0x1A3A5F << "Tamam" << false;
    QTest::newRow("error") << dtError << 0xFF0000 << "Kapat" << false;
    QTest::newRow("confirmation") << dtConfirmation << 0x1A3A5F << "Evet" << true;
    QTest::newRow("warning") << dtWarning << 0xFF8000 << "Tamam" << false;
}

void TestDialogs::messageKinds()
{
    QFETCH(TDialogType, type);
    QFETCH(int, header);
    QFETCH(QString, okCaption);
    QFETCH(bool, cancelShown);
    TfrmCustomDialog dialog;
    dialog.Setup("Başlık", "İleti", type, 0);
    const QColor expected = QColor(QRgb(0xFF000000u | unsigned(header)));
    QCOMPARE(Child<QWidget>(&dialog, "pnlTop")->palette().color(QPalette::Window), expected);
    QCOMPARE(dialog.FrameColor(), expected);
    QCOMPARE(dialog.FrameWidth(), 2);
    QCOMPARE(Button(&dialog, "btnOk")->text(), okCaption);
    QCOMPARE(Button(&dialog, "btnCancel")->isVisibleTo(&dialog), cancelShown);
    QCOMPARE(Button(&dialog, "btnCancel")->text(), QString("Hayır"));
    // "Evet"/"Tamam"/"Kapat" in the primary style, "Hayır" in the normal one.
    QCOMPARE(Button(&dialog, "btnOk")->Look().Fill, POSPalette::Primary);
    QCOMPARE(Button(&dialog, "btnCancel")->Look().Fill, POSPalette::Content);
    QCOMPARE(Label(&dialog, "lblTitle")->text(), QString("Başlık"));
    QCOMPARE(Label(&dialog, "lblMessage")->text(), QString("İleti"));
    // The header is painted in its colour.
    dialog.show();
    QCOMPARE(dialog.grab().toImage().pixelColor(200, 3).rgb(), expected.rgb());
    QCOMPARE(dialog.grab().toImage().pixelColor(0, 120).rgb(), expected.rgb());
}

void TestDialogs::messageLayout()
{
    TfrmCustomDialog dialog;
    dialog.Setup("Hata", "x", dtError, 0);
    dialog.layout()->activate();
    QCOMPARE(dialog.size(), QSize(450, 250));
    QVERIFY(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
    const QLabel* message = Label(&dialog, "lblMessage");
    const QLabel* title = Label(&dialog, "lblTitle");
    QCOMPARE(Child<QWidget>(&dialog, "pnlTop")->height(), 40);
    // No icon place: the message fills the body, 24 px in from the frame on both sides and
    // 16 px below the header and above the footer.
    const QWidget* body = Child<QWidget>(&dialog, "pnlContent");
    QCOMPARE(body->size(), QSize(446, 146));
    QCOMPARE(message->geometry(), QRect(24, 16, 398, 114));
    QVERIFY(!Child<QWidget>(&dialog, "imgIcon"));
    QVERIFY(message->wordWrap());
    QVERIFY(message->alignment().testFlag(Qt::AlignVCenter));
    QCOMPARE(message->font().pixelSize(), 15);
    QCOMPARE(title->font().pixelSize(), 16);
    QVERIFY(title->font().bold());
    QCOMPARE(Button(&dialog, "btnOk")->size(), QSize(112, 40));
    QCOMPARE(Button(&dialog, "btnCancel")->size(), QSize(112, 40));
}

void TestDialogs::buttonPlacement()
{
    TfrmCustomDialog confirmation;
    confirmation.Setup("Satır Sil", "Emin misiniz?", dtConfirmation, 0);
    confirmation.show();
    const int footer = Child<QWidget>(&confirmation, "pnlBottom")->width();
    const TPOSButton* cancel = Button(&confirmation, "btnCancel");
    QCOMPARE(cancel->geometry().right() + 1, footer - 20);
    QCOMPARE(Button(&confirmation, "btnOk")->geometry().right() + 1, cancel->x() - 10);

    TfrmCustomDialog info;
    info.Setup("Bilgi", "Tamam", dtInfo, 0);
    info.show();
    QCOMPARE(Button(&info, "btnOk")->x(), (Child<QWidget>(&info, "pnlBottom")->width() - 112) / 2);
}

void TestDialogs::escape_data()
{
    QTest::addColumn<TDialogType>("type");
    QTest::addColumn<int>("expected");
    QTest::newRow("confirmation: Hayır") << dtConfirmation << int(mrCancel);
    QTest::newRow("error: as Kapat") << dtError << int(mrOk);
    QTest::newRow("info") << dtInfo << int(mrOk);
    QTest::newRow("warning") << dtWarning << int(mrOk);
}

void TestDialogs::escape()
{
    QFETCH(TDialogType, type);
    QFETCH(int, expected);
    QString okCaption;
    WhenModalOpens([&okCaption](QWidget* modal) {
        okCaption = Child<TPOSButton>(modal, "btnOk")->text();
        Key(modal, Qt::Key_Escape);
    });
    QCOMPARE(TfrmCustomDialog::ShowDialog("Başlık", "İleti", type, 0), expected);
    if (type == dtError)
        QCOMPARE(okCaption, QString("Kapat"));
}

void TestDialogs::enterAcknowledgesButNeverConsents()
{
    WhenModalOpens([](QWidget* modal) { Key(modal, Qt::Key_Return); });
    QCOMPARE(TfrmCustomDialog::ShowDialog("Hata", "Barkod bulunamadı", dtError, 0), int(mrOk));

    bool stillOpen = false;
    WhenModalOpens([&stillOpen](QWidget* modal) {
        Key(modal, Qt::Key_Return);
        Key(modal, Qt::Key_Enter);
        stillOpen = QApplication::activeModalWidget() == modal && modal->isVisible();
        Key(modal, Qt::Key_Escape);
    });
    QCOMPARE(TfrmCustomDialog::ShowDialog("Sepeti Temizle", "Emin misiniz?", dtConfirmation, 0),
             int(mrCancel));
    QVERIFY(stillOpen);
}

void TestDialogs::buttonsAnswer_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("expected");
    QTest::newRow("Evet") << "btnOk" << int(mrOk);
    QTest::newRow("Hayır") << "btnCancel" << int(mrCancel);
}

void TestDialogs::buttonsAnswer()
{
    QFETCH(QString, button);
    QFETCH(int, expected);
    WhenModalOpens([button](QWidget* modal) {
        QTest::mouseClick(modal->findChild<TPOSButton*>(button), Qt::LeftButton);
    });
    QCOMPARE(TfrmCustomDialog::ShowDialog("Soru", "Devam?", dtConfirmation, 5000), expected);
}

void TestDialogs::autoCloseReturnsOk()
{
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(TfrmCustomDialog::ShowDialog("Hata", "Barkod bulunamadı", dtError, 2000), int(mrOk));
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 1900 && elapsed < 5000, qPrintable(QString::number(elapsed)));

    // A confirmation that closes by itself also answers OK.
    QCOMPARE(TfrmCustomDialog::ShowDialog("Soru", "Devam?", dtConfirmation, 100), int(mrOk));
}

void TestDialogs::hookRecordsAndAnswers()
{
    TDialogAnswers answers;
    answers.Ok().Cancel();
    QCOMPARE(TfrmCustomDialog::ShowDialog("Satır Sil", "Silinsin mi?", dtConfirmation), int(mrOk));
    QCOMPARE(TfrmCustomDialog::ShowDialog("Satır Sil", "Silinsin mi?", dtConfirmation),
             int(mrCancel));
    // Nothing queued: a confirmation is refused, never accepted by accident.
    QCOMPARE(TfrmCustomDialog::ShowDialog("Sepeti Temizle", "Emin?", dtConfirmation),
             int(mrCancel));
    QCOMPARE(TfrmCustomDialog::ShowDialog("Hata", "Barkod yok", dtError, 3000), int(mrOk));
    QCOMPARE(answers.Count(), 4);
    QCOMPARE(answers.Pending(), 0);
    const TShownDialog first = answers.Shown().at(0);
    QCOMPARE(first.Form, QString("TfrmCustomDialog"));
    QCOMPARE(first.Title, QString("Satır Sil"));
    QCOMPARE(first.Text, QString("Silinsin mi?"));
    QCOMPARE(first.DlgType, int(dtConfirmation));
    QCOMPARE(first.Buttons, QStringList({"Evet", "Hayır"}));
    const TShownDialog last = answers.Last();
    QCOMPARE(last.DlgType, int(dtError));
    QCOMPARE(last.AutoCloseMs, 3000);
    QCOMPARE(last.Buttons, QStringList({"Kapat"}));
}

void TestDialogs::hookNormalisesOneButtonAnswers()
{
    {
        TDialogAnswers answers;
        answers.Cancel();
        QCOMPARE(TfrmCustomDialog::ShowDialog("Bilgi", "Kaydedildi", dtInfo), int(mrOk));
        QCOMPARE(answers.Pending(), 0);
    }
    QVERIFY(!TDialogTestHooks::Intercepting());
    QVERIFY(TDialogTestHooks::Shown().isEmpty());
}

// A 300-digit code neither runs past the edge nor is cut there: it wraps inside the word and
// fills the message area, its end elided, and keeps its margin to the frame.
void TestDialogs::longTextStaysInMessageArea()
{
    const QString text = "Barkod bulunamadı: " + QString(300, u'8');
    TfrmCustomDialog dialog;
    dialog.Setup("Hata", text, dtError, 0);
    dialog.show();
    QLabel* message = Label(&dialog, "lblMessage");
    QCOMPARE(message->text(), text);

    // Painted: the digits reach the lowest lines of the area.
    const QImage image = message->grab().toImage();
    auto inkInRows = [&image](int from, int to) {
        for (int y = from; y < to; ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y).lightness() < 128)
                    return true;
        return false;
    };
    QVERIFY(inkInRows(image.height() * 4 / 5, image.height()));

    const QFontMetrics metrics(message->font());
    const QStringList lines = TFittedText::Lines(text, message->font(), message->size());
    QVERIFY(lines.size() >= 4);
    QVERIFY(lines.size() * metrics.lineSpacing() <= message->height());
    for (const QString& line : lines)
        QVERIFY2(metrics.horizontalAdvance(line) <= message->width(), qPrintable(line));
    QCOMPARE(lines.first(), QString("Barkod bulunamadı:"));
    QVERIFY(lines.last().endsWith(QChar(0x2026)));

    // On the window: the digits come within 40 px of the frame on the right, never within 20,
    // and start within 30 px of it on the left, where an empty icon place stood.
    const QImage window = dialog.grab().toImage();
    int left = window.width();
    int right = 0;
    for (int y = 42; y < 42 + 146; ++y)
        for (int x = 2; x < window.width() - 2; ++x)
            if (window.pixelColor(x, y).lightness() < 128) {
                left = qMin(left, x);
                right = qMax(right, x);
            }
    const int frameRight = window.width() - 2;
    QVERIFY2(frameRight - right >= 20, qPrintable(QString::number(frameRight - right)));
    QVERIFY2(frameRight - right <= 40, qPrintable(QString::number(frameRight - right)));
    QVERIFY2(left - 2 <= 30, qPrintable(QString::number(left)));
}

void TestDialogs::dialogsCentreOnOwner_data()
{
    QTest::addColumn<QString>("form");
    QTest::newRow("message") << "message";
    QTest::newRow("input") << "input";
    QTest::newRow("sale") << "sale";
    QTest::newRow("payment") << "payment";
}

void TestDialogs::dialogsCentreOnOwner()
{
    QFETCH(QString, form);
    QWidget owner;
    owner.setGeometry(0, 0, 1366, 768);
    owner.show();
    QApplication::setActiveWindow(&owner);
    QVERIFY(QTest::qWaitForWindowActive(&owner));
    QRect shown;
    WhenModalOpens([&shown](QWidget* modal) {
        shown = modal->frameGeometry();
        static_cast<QDialog*>(modal)->reject();
    });
    QString value;
    if (form == "message")
        TfrmCustomDialog::ShowDialog("Hata", "Barkod bulunamadı: 1", dtError, 0);
    else if (form == "input")
        TfrmCustomInput::ShowInput("Miktar", "Yeni miktar:", "1", value);
    else if (form == "sale")
        TfrmSaleSuccessDialog::ShowSale("FIS-1", 10, "NAKIT", 0);
    else
        TfrmPayment::Execute(10);
    const QPoint offset = shown.center() - owner.frameGeometry().center();
    QVERIFY2(qAbs(offset.x()) <= 1 && qAbs(offset.y()) <= 1,
             qPrintable(QString("%1,%2 off the centre").arg(offset.x()).arg(offset.y())));
    if (form == "message")
        QCOMPARE(shown.topLeft() - owner.geometry().topLeft(), QPoint(458, 259));
}

// A scanner ends every code with Enter: alone it closes neither the message that closes by
// itself nor the sale notice, which would vanish before the cashier saw them.
void TestDialogs::enterAloneLeavesTimedNoticesOpen()
{
    for (const QString& notice : {QString("message"), QString("sale")}) {
        bool open = false;
        WhenModalOpens([&open](QWidget* modal) {
            Key(modal, Qt::Key_Return);
            Key(modal, Qt::Key_Enter);
            open = modal->isVisible();
            Key(modal, Qt::Key_Escape);
        });
        if (notice == "message")
            QCOMPARE(TfrmCustomDialog::ShowDialog("Hata", "Barkod bulunamadı: 1", dtError, 60000),
                     int(mrOk));
        else
            TfrmSaleSuccessDialog::ShowSale("FIS-1", 10, "NAKIT", 60000);
        QVERIFY2(open, qPrintable(notice));
    }
}

// A scan typed into a notice closes it and reaches the focused field of the window below,
// its Enter included. An untimed message or a confirmation lets nothing through.
void TestDialogs::scanPassesThroughNotices_data()
{
    QTest::addColumn<QString>("notice");
    QTest::addColumn<bool>("passes");
    QTest::newRow("timed message") << "timed" << true;
    QTest::newRow("sale notice") << "sale" << true;
    QTest::newRow("sale notice without countdown") << "sale, untimed" << true;
    QTest::newRow("untimed message") << "untimed" << false;
    QTest::newRow("timed confirmation") << "confirmation" << false;
}

void TestDialogs::scanPassesThroughNotices()
{
    QFETCH(QString, notice);
    QFETCH(bool, passes);
    QWidget owner;
    auto* field = new QLineEdit(&owner);
    owner.show();
    QApplication::setActiveWindow(&owner);
    QVERIFY(QTest::qWaitForWindowActive(&owner));
    field->setFocus();
    int entered = 0;
    connect(field, &QLineEdit::returnPressed, this, [&entered] { ++entered; });
    bool closed = false;
    WhenModalOpens([&closed](QWidget* modal) {
        QTest::keyClicks(modal, "8690");
        QTest::keyClick(modal, Qt::Key_Return);
        closed = !modal->isVisible();
        if (!closed)
            static_cast<QDialog*>(modal)->reject();
    });
    if (notice == "timed")
        TfrmCustomDialog::ShowDialog("Hata", "Barkod bulunamadı: 1", dtError, 60000);
    else if (notice == "untimed")
        TfrmCustomDialog::ShowDialog("Hata", "Sepet boş!", dtError, 0);
    else if (notice == "confirmation")
        QCOMPARE(TfrmCustomDialog::ShowDialog("Soru", "Devam?", dtConfirmation, 60000),
                 int(mrCancel));
    else
        TfrmSaleSuccessDialog::ShowSale("FIS-1", 10, "NAKIT", notice == "sale" ? 60000 : 0);
    QCOMPARE(field->text(), passes ? QString("8690") : QString());
    QCOMPARE(entered, passes ? 1 : 0);
    if (passes)
        QVERIFY(closed);
}

void TestDialogs::inputLayout()
{
    TfrmCustomInput dialog;
    dialog.Setup("Miktar Değiştir", "Yeni miktar:", "1");
    const QLineEdit* edit = Child<QLineEdit>(&dialog, "edtInput");
    QCOMPARE(dialog.size(), QSize(400, 220));
    QCOMPARE(edit->size(), QSize(360, 45));
    QCOMPARE(edit->font().pixelSize(), 27);
    QCOMPARE(Label(&dialog, "lblPrompt")->text(), QString("Yeni miktar:"));
    QCOMPARE(Button(&dialog, "btnOk")->text(), QString("Tamam"));
    QCOMPARE(Button(&dialog, "btnCancel")->text(), QString("İptal"));
    QCOMPARE(Button(&dialog, "btnOk")->Look().Fill, POSPalette::Primary);
    TfrmCustomInput plain;
    plain.Setup("Giriş", "", "");
    QCOMPARE(Label(&plain, "lblPrompt")->text(), QString("Lütfen değer giriniz:"));
}

// The prompt of a weight names the product: a long name takes a second line inside the prompt's
// box, 18 px in from the frame, and above the entry box.
void TestDialogs::inputLongPromptKeepsItsMargin()
{
    const QString prompt = "Domates Salkım Yerli Organik Sera Ürünü Kg. Miktarı (KG):";
    TfrmCustomInput dialog;
    dialog.Setup("Tartım", prompt, "1");
    dialog.show();
    QLabel* label = Label(&dialog, "lblPrompt");
    QCOMPARE(label->text(), prompt);
    const QStringList lines = TFittedText::Lines(prompt, label->font(), label->size());
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines.join(' '), prompt);
    const QWidget* body = Child<QWidget>(&dialog, "pnlContent");
    QVERIFY(label->geometry().right() < body->width() - 18);
    QVERIFY(label->geometry().bottom() < Child<QLineEdit>(&dialog, "edtInput")->y());
}

void TestDialogs::inputConfirmedWithEnterKeepsTextAsTyped()
{
    WhenModalOpens([](QWidget* modal) {
        auto* edit = Child<QLineEdit>(modal, "edtInput");
        edit->clear();
        QTest::keyClicks(edit, " 2,5 ");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QString value = "eski";
    QVERIFY(TfrmCustomInput::ShowInput("Miktar Değiştir", "Yeni miktar:", "1", value));
    QCOMPARE(value, QString(" 2,5 "));
}

void TestDialogs::inputEnterOnEmptyEditGivesEmptyValue()
{
    WhenModalOpens([](QWidget* modal) {
        auto* edit = Child<QLineEdit>(modal, "edtInput");
        edit->clear();
        QTest::keyClick(edit, Qt::Key_Return);
    });
    QString value = "eski";
    QVERIFY(TfrmCustomInput::ShowInput("İndirim Yap", "İndirim oranı (%):", "0", value));
    QCOMPARE(value, QString());
}

void TestDialogs::inputCancelLeavesValue()
{
    WhenModalOpens([](QWidget* modal) {
        QTest::keyClicks(Child<QLineEdit>(modal, "edtInput"), "99");
        QTest::mouseClick(Child<TPOSButton>(modal, "btnCancel"), Qt::LeftButton);
    });
    QString value = "eski";
    QVERIFY(!TfrmCustomInput::ShowInput("Miktar Değiştir", "Yeni miktar:", "1", value));
    QCOMPARE(value, QString("eski"));
}

void TestDialogs::inputEscapeMeansNothing()
{
    bool stillOpen = false;
    WhenModalOpens([&stillOpen](QWidget* modal) {
        Key(Child<QLineEdit>(modal, "edtInput"), Qt::Key_Escape);
        Key(modal, Qt::Key_Escape);
        stillOpen = QApplication::activeModalWidget() == modal && modal->isVisible();
        QTest::mouseClick(Child<TPOSButton>(modal, "btnOk"), Qt::LeftButton);
    });
    QString value;
    QVERIFY(TfrmCustomInput::ShowInput("Giriş", "Değer:", "7", value));
    QVERIFY(stillOpen);
    QCOMPARE(value, QString("7"));
}

void TestDialogs::inputDefaultSelectedAndFocused()
{
    QString selected;
    QWidget* focused = nullptr;
    QWidget* edit = nullptr;
    WhenModalOpens([&](QWidget* modal) {
        auto* input = Child<QLineEdit>(modal, "edtInput");
        edit = input;
        selected = input->selectedText();
        focused = modal->focusWidget();
        // Typing replaces the selected default.
        QTest::keyClicks(input, "3");
        QTest::keyClick(input, Qt::Key_Enter);
    });
    QString value;
    QVERIFY(TfrmCustomInput::ShowInput("Miktar Değiştir", "Yeni miktar:", "1,5", value));
    QCOMPARE(selected, QString("1,5"));
    QCOMPARE(focused, edit);
    QCOMPARE(value, QString("3"));
}

void TestDialogs::inputHook()
{
    TDialogAnswers answers;
    answers.Input("2.5").AcceptDefault().Cancel();
    QString value = "x";
    QVERIFY(TfrmCustomInput::ShowInput("Miktar Değiştir", "Yeni miktar:", "1", value));
    QCOMPARE(value, QString("2.5"));
    QVERIFY(TfrmCustomInput::ShowInput("İndirim Yap", "İndirim oranı (%):", "0", value));
    QCOMPARE(value, QString("0"));
    value = "x";
    QVERIFY(!TfrmCustomInput::ShowInput("Miktar Değiştir", "Yeni miktar:", "1", value));
    QCOMPARE(value, QString("x"));
    // Nothing queued: cancelled.
    QVERIFY(!TfrmCustomInput::ShowInput("Miktar Değiştir", "Yeni miktar:", "1", value));
    QCOMPARE(value, QString("x"));
    QCOMPARE(answers.Count(), 4);
    const TShownDialog shown = answers.Shown().at(1);
    QCOMPARE(shown.Form, QString("TfrmCustomInput"));
    QCOMPARE(shown.Title, QString("İndirim Yap"));
    QCOMPARE(shown.Text, QString("İndirim oranı (%):"));
    QCOMPARE(shown.DefaultValue, QString("0"));
}

void TestDialogs::saleTexts_data()
{
    QTest::addColumn<QString>("payment");
    QTest::addColumn<QString>("shown");
    QTest::newRow("nakit") << "nakit"
                           << "NAKİT";
    QTest::newRow("NaKiT") << "NaKiT"
                           << "NAKİT";
    QTest::newRow("KART") << "KART"
                          << "KART";
    QTest::newRow("parçalı") << "parçalı"
                             << "PARÇALI";
    QTest::newRow("split as stored") << "KARMA"
                                     << "PARÇALI";
}

void TestDialogs::saleTexts()
{
    QFETCH(QString, payment);
    QFETCH(QString, shown);
    TfrmSaleSuccessDialog dialog;
    dialog.Setup("FIS-42", 1234.5, payment, 0);
    QCOMPARE(dialog.size(), QSize(474, 333));
    QCOMPARE(dialog.FrameWidth(), 2);
    QCOMPARE(Label(&dialog, "lblHeaderTitle")->text(), QString("SATIŞ TAMAMLANDI"));
    QCOMPARE(Label(&dialog, "lblHeaderSubtitle")->text(), QString("İşlem başarıyla kaydedildi"));
    QCOMPARE(Label(&dialog, "lblSuccessText")->text(), QString("Fiş başarıyla oluşturuldu"));
    QCOMPARE(Label(&dialog, "lblFisCaption")->text(), QString("Fiş No"));
    QCOMPARE(Label(&dialog, "lblPaymentCaption")->text(), QString("Ödeme"));
    QCOMPARE(Label(&dialog, "lblFisValue")->text(), QString("FIS-42"));
    QCOMPARE(Label(&dialog, "lblAmount")->text(), QString("1.234,50 TL"));
    QCOMPARE(Label(&dialog, "lblPaymentValue")->text(), shown);
    QCOMPARE(Button(&dialog, "btnOk")->text(), QString("Tamam"));
}

void TestDialogs::saleCountdownTicks()
{
    TfrmSaleSuccessDialog dialog;
    dialog.Setup("FIS-1", 10, "NAKIT", 3000);
    const TCountdownBar* bar = Child<TCountdownBar>(&dialog, "pbCountdown");
    QVERIFY(bar->isVisibleTo(&dialog));
    QCOMPARE(bar->width(), 284);
    QCOMPARE(bar->height(), 4);
    QVERIFY(dialog.CountdownActive());
    QCOMPARE(dialog.ProgressFillWidth(), 284);
    int ticks = 0;
    while (dialog.result() != mrOk && ticks < 100) {
        dialog.tmrCountdownTimer();
        ++ticks;
        if (ticks == 30)
            QCOMPARE(bar->FillWidth(), 142);
        if (ticks == 1)
            QCOMPARE(bar->FillWidth(), 279); // 284 * 2950 / 3000 = 279.27
    }
    QCOMPARE(ticks, 60);
    QCOMPARE(dialog.ElapsedMs(), 3000);
    QCOMPARE(bar->FillWidth(), 0);
    QVERIFY(!dialog.CountdownActive());
}

void TestDialogs::saleWithoutAutoCloseHasNoBar()
{
    TfrmSaleSuccessDialog dialog;
    dialog.Setup("FIS-1", 10, "KART", 0);
    QVERIFY(!Child<TCountdownBar>(&dialog, "pbCountdown")->isVisibleTo(&dialog));
    QVERIFY(!dialog.CountdownActive());
    QCOMPARE(dialog.ProgressFillWidth(), 284);
}

void TestDialogs::saleClosesByItself()
{
    QElapsedTimer clock;
    clock.start();
    TfrmSaleSuccessDialog::ShowSale("FIS-7", 25, "NAKIT", 500);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(elapsed >= 450 && elapsed < 3000, qPrintable(QString::number(elapsed)));
}

void TestDialogs::saleEscapeClosesAtOnce()
{
    bool open = false;
    WhenModalOpens([&open](QWidget* modal) {
        open = Child<QLabel>(modal, "lblFisValue")->text() == "FIS-8";
        Key(modal, Qt::Key_Escape);
    });
    QElapsedTimer clock;
    clock.start();
    TfrmSaleSuccessDialog::ShowSale("FIS-8", 25, "NAKIT", 60000);
    QVERIFY(open);
    QVERIFY(clock.elapsed() < 5000);

    WhenModalOpens([](QWidget* modal) {
        QTest::mouseClick(Child<TPOSButton>(modal, "btnOk"), Qt::LeftButton);
    });
    TfrmSaleSuccessDialog::ShowSale("FIS-9", 25, "KART", 0);
}

void TestDialogs::saleHook()
{
    TDialogAnswers answers;
    TfrmSaleSuccessDialog::ShowSale("FIS-12", 99.9, "KARMA", 3000);
    QCOMPARE(answers.Count(), 1);
    const TShownDialog shown = answers.Last();
    QCOMPARE(shown.Form, QString("TfrmSaleSuccessDialog"));
    QCOMPARE(shown.Title, QString("SATIŞ TAMAMLANDI"));
    QCOMPARE(shown.Text, QString("FIS-12"));
    QCOMPARE(shown.Amount, QString("99,90 TL"));
    QCOMPARE(shown.Payment, QString("PARÇALI"));
    QCOMPARE(shown.AutoCloseMs, 3000);
}

QTEST_MAIN(TestDialogs)
#include "tst_Dialogs.moc"
