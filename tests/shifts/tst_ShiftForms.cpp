#include "ShiftFixture.h"

#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/SessionManager.h"
#include "printing/PrintService.h"
#include "shifts/ShiftSummaryForm.h"
#include "shifts/VardiyaForm.h"
#include "shifts/ZReportPreviewForm.h"
#include "support/DialogTestHooks.h"
#include "support/FixedClock.h"
#include "support/WidgetTestSupport.h"
#include "ui/CustomDialogForm.h"
#include "ui/POSButton.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QtTest>

namespace {
QColor TextColor(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

// A window's controls, found by their object names.
QLabel* Label(QWidget& window, const char* name)
{
    return Child<QLabel>(&window, name);
}

TPOSButton* Button(QWidget& window, const char* name)
{
    return Child<TPOSButton>(&window, name);
}

QLineEdit* Amount(QWidget& window)
{
    return Child<QLineEdit>(&window, "edtAmount");
}

QPlainTextEdit* Report(QWidget& window)
{
    return Child<QPlainTextEdit>(&window, "memReport");
}

void LogIn(TShopFixture& shop)
{
    TSessionInfo session;
    session.KullaniciID = shop.KullaniciID();
    session.SubeID = shop.SubeID();
    session.TerminalID = shop.TerminalID();
    TSessionManager::Instance().Login(session);
}

// Types `text` key by key; letters outside ASCII arrive as a keyboard with that layout sends
// them, as key events carrying the character.
void Type(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128) {
            QTest::keyClick(widget, char(c.unicode()));
            continue;
        }
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QApplication::sendEvent(widget, &release);
    }
}

int OpenShifts(TShopFixture& shop)
{
    return shop.Count("Vardiya WHERE KapanisZamani IS NULL");
}

// A printer that keeps the lines it was given, refuses to exist or is cancelled by its user.
class TFakePrinter : public TPrinterDevice {
public:
    enum TBehaviour { Prints, Missing, Cancelled };
    explicit TFakePrinter(TBehaviour behaviour, QStringList* printed)
        : FBehaviour(behaviour)
        , FPrinted(printed)
    {
    }
    bool HasPrinter() const override { return FBehaviour != Missing; }
    TPrinterOrientation Orientation() const override { return FOrientation; }
    void SetOrientation(TPrinterOrientation o) override { FOrientation = o; }
    void SetTitle(const QString&) override {}
    void BeginDoc() override
    {
        if (FBehaviour == Cancelled)
            throw EPrinterError("Yazdırma kullanıcı tarafından iptal edildi.");
        FPrinting = true;
    }
    void SetFont(const QString&, int) override {}
    int TextHeight(const QString&) override { return 10; }
    int PageHeight() const override { return 100000; }
    void NewPage() override {}
    void TextOut(int, int, const QString& text) override { *FPrinted << text; }
    void EndDoc() override { FPrinting = false; }
    void Abort() override { FPrinting = false; }
    bool Printing() const override { return FPrinting; }

private:
    TBehaviour FBehaviour;
    QStringList* FPrinted;
    TPrinterOrientation FOrientation = TPrinterOrientation::Portrait;
    bool FPrinting = false;
};
} // namespace

// The shift dialog in both modes, the Z report preview and the shift summary, driven through
// their handlers against real shifts.
class TestShiftForms : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanup();

    void modeTexts_data();
    void modeTexts();
    void closeModeShowsTheViewSummary();
    void closeModeOfAMissingShiftKeepsTheCard();
    void keyFilter_data();
    void keyFilter();
    void enterActsLikeTheActionButton();
    void invalidAmountKeepsTheDialogOpen_data();
    void invalidAmountKeepsTheDialogOpen();
    void closeModeWritesNothing();
    void openModeOpensAShift();
    void typedOpeningCash_data();
    void typedOpeningCash();
    void openModeRefusalKeepsTheDialogOpen();
    void executeCancelled_data();
    void executeCancelled();
    void executeOpens();
    void executeCloseHandsBackTheCount_data();
    void executeCloseHandsBackTheCount();
    void closeWithADifferenceAsksFirst_data();
    void closeWithADifferenceAsksFirst();
    void executeCloseRefusedOrCancelledKeepsTheCount();

    void previewOfAShift();
    void previewWithoutAShift();
    void previewOfAMissingShift();
    void previewPrints_data();
    void previewPrints();
    void previewClosesOnEscape();

    void summaryFigures();
    void summaryEqualsTheZReport_data();
    void summaryEqualsTheZReport();
    void summaryOfAMissingShiftIsNotShown();
};

void TestShiftForms::initTestCase()
{
    UseTurkishLocale();
    UseTestPaths();
}

void TestShiftForms::cleanup()
{
    TSessionManager::Instance().Logout();
    TPrintService::SetPrinterDevice(nullptr);
}

void TestShiftForms::modeTexts_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("subTitle");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QColor>("statusColor");
    QTest::addColumn<QString>("details");
    QTest::addColumn<QString>("inputTitle");
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("card");
    QTest::newRow("open") << int(vmOpen) << "Vardiya Açılışı"
                          << "Kasayı satışa hazırlama"
                          << "Durum: Kapalı" << QColor(0xFF, 0, 0)
                          << "Vardiyayı açmadan satış yapılamaz. Kasadaki başlangıç nakdini girin."
                          << "Açılış Tutarı (TL):"
                          << "Vardiyayı Aç" << false;
    QTest::newRow("close") << int(vmClose) << "Vardiya Kapanış"
                           << "Gün sonu nakit ve satış kontrolü"
                           << "Durum: Açık (ID: 2)" << QColor(0, 0x80, 0)
                           << "Beklenen kasa tutarını kontrol edin ve sayılan nakdi girerek "
                              "vardiyayı kapatın."
                           << "Kapanış Sayımı (Nakit TL):"
                           << "Vardiyayı Kapat" << true;
}

void TestShiftForms::modeTexts()
{
    QFETCH(int, mode);
    QFETCH(QString, title);
    QFETCH(QString, subTitle);
    QFETCH(QString, status);
    QFETCH(QColor, statusColor);
    QFETCH(QString, details);
    QFETCH(QString, inputTitle);
    QFETCH(QString, action);
    QFETCH(bool, card);
    TShiftReportFixture fixture;
    TfrmVardiya form;
    form.FVardiyaID = fixture.OpenID;
    Amount(form)->setText("55");
    form.SetMode(TVardiyaMode(mode));
    QCOMPARE(form.windowTitle(), QString("Vardiya İşlemleri"));
    QCOMPARE(Label(form, "lblTitle")->text(), title);
    QCOMPARE(Label(form, "lblSubTitle")->text(), subTitle);
    QCOMPARE(Label(form, "lblStatus")->text(), status);
    QCOMPARE(TextColor(Label(form, "lblStatus")), statusColor);
    QCOMPARE(Label(form, "lblDetails")->text(), details);
    QCOMPARE(Label(form, "lblInputTitle")->text(), inputTitle);
    QCOMPARE(Button(form, "btnAction")->text(), action);
    QCOMPARE(Button(form, "btnCancel")->text(), QString("İptal"));
    QCOMPARE(Child<QWidget>(&form, "pnlStatsCard")->isVisibleTo(&form), card);
    QVERIFY(Child<QWidget>(&form, "pnlInput")->isVisibleTo(&form));
    QCOMPARE(Amount(form)->text(), QString("0,00"));
    // Open mode shows zeros; close mode the shift's own opening cash.
    QCOMPARE(Label(form, "lblAcilisValue")->text(), QString(card ? "100,00 TL" : "0,00 TL"));
    QCOMPARE(form.size(), QSize(640, 560));
}

void TestShiftForms::closeModeShowsTheViewSummary()
{
    TShiftReportFixture fixture;
    TfrmVardiya form;
    form.FVardiyaID = fixture.ClosedID;
    form.SetMode(vmClose);
    QCOMPARE(Label(form, "lblAcilisValue")->text(), QString("250,00 TL"));
    QCOMPARE(Label(form, "lblNakitValue")->text(), QString("240,49 TL"));
    QCOMPARE(Label(form, "lblKartValue")->text(), QString("7.408.887,80 TL"));
    QCOMPARE(Label(form, "lblIadeValue")->text(), QString("30,00 TL"));
    QCOMPARE(Label(form, "lblBeklenenValue")->text(), QString("470,49 TL"));
    QCOMPARE(TextColor(Label(form, "lblBeklenenValue")), QColor(0x34, 0x8B, 0x66));
    QCOMPARE(Label(form, "lblBeklenenTitle")->text(), QString("Kasadaki Nakit"));
}

void TestShiftForms::closeModeOfAMissingShiftKeepsTheCard()
{
    TShiftReportFixture fixture;
    TfrmVardiya form;
    form.FVardiyaID = fixture.ClosedID;
    form.SetMode(vmClose);
    form.FVardiyaID = 404;
    form.SetMode(vmClose);
    QCOMPARE(Label(form, "lblAcilisValue")->text(), QString("250,00 TL"));
    QCOMPARE(Label(form, "lblStatus")->text(), QString("Durum: Açık (ID: 404)"));
}

void TestShiftForms::keyFilter_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("digits and both separators") << "150,5.2"
                                                << "150,5.2";
    QTest::newRow("letters stay as typed") << "1a2bİ3"
                                           << "1a2bİ3";
    QTest::newRow("signs and spaces stay as typed") << "-1 +2*"
                                                    << "-1 +2*";
}

void TestShiftForms::keyFilter()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    TShiftReportFixture fixture;
    TfrmVardiya form;
    form.FVardiyaID = fixture.OpenID;
    form.SetMode(vmClose);
    Amount(form)->clear();
    Type(Amount(form), typed);
    QCOMPARE(Amount(form)->text(), shown);
    QTest::keyClick(Amount(form), Qt::Key_Backspace);
    QCOMPARE(Amount(form)->text(), shown.chopped(1));
    QCOMPARE(form.result(), 0);
}

void TestShiftForms::enterActsLikeTheActionButton()
{
    TShiftReportFixture fixture;
    TDialogAnswers answers;
    TfrmVardiya form;
    form.FVardiyaID = fixture.OpenID;
    form.SetMode(vmClose);
    // The count the drawer should hold, so no difference is asked about.
    Amount(form)->setText("100,00");
    QTest::keyClick(Amount(form), Qt::Key_Return);
    QCOMPARE(form.result(), int(mrOk));
    QCOMPARE(Amount(form)->text(), QString("100,00"));
    QCOMPARE(answers.Count(), 0);
}

void TestShiftForms::invalidAmountKeepsTheDialogOpen_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("text");
    QTest::newRow("open, letters, sign and exponent") << int(vmOpen) << "abc-1e5";
    QTest::newRow("open, misplaced grouping") << int(vmOpen) << "1.50.000";
    QTest::newRow("open, empty") << int(vmOpen) << "";
    QTest::newRow("close, only a separator") << int(vmClose) << ",";
    QTest::newRow("close, a third decimal") << int(vmClose) << "1.280,005";
}

void TestShiftForms::invalidAmountKeepsTheDialogOpen()
{
    QFETCH(int, mode);
    QFETCH(QString, text);
    TShiftReportFixture fixture;
    fixture.Shop.Exec("UPDATE Vardiya SET KapanisZamani = GETDATE()");
    LogIn(fixture.Shop);
    TDialogAnswers answers;
    TfrmVardiya form;
    form.FVardiyaID = fixture.OpenID;
    form.SetMode(TVardiyaMode(mode));
    Amount(form)->setText(text);
    form.btnActionClick();
    QCOMPARE(form.result(), 0);
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().Text, QString("Lütfen geçerli bir tutar giriniz!"));
    QCOMPARE(answers.Last().DlgType, int(dtError));
    QCOMPARE(OpenShifts(fixture.Shop), 0);
}

void TestShiftForms::closeModeWritesNothing()
{
    TShiftReportFixture fixture;
    LogIn(fixture.Shop);
    const QString before =
        fixture.Shop
            .Scalar("SELECT GROUP_CONCAT(VardiyaID || ':' || IFNULL(KapanisZamani, '-') "
                    "|| ':' || IFNULL(KapanisTutar, '-')) FROM Vardiya")
            .toString();
    TDialogAnswers answers;
    answers.Ok(); // the surplus is confirmed
    TfrmVardiya form;
    form.FVardiyaID = fixture.OpenID;
    form.SetMode(vmClose);
    Amount(form)->setText("1500.75");
    form.btnActionClick();
    QCOMPARE(form.result(), int(mrOk));
    QCOMPARE(Amount(form)->text(), QString("1500.75"));
    QCOMPARE(fixture.Shop
                 .Scalar("SELECT GROUP_CONCAT(VardiyaID || ':' || IFNULL(KapanisZamani, "
                         "'-') || ':' || IFNULL(KapanisTutar, '-')) FROM Vardiya")
                 .toString(),
             before);
}

void TestShiftForms::openModeOpensAShift()
{
    TShopFixture shop;
    shop.Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'");
    LogIn(shop);
    TDialogAnswers answers;
    TfrmVardiya form;
    form.SetMode(vmOpen);
    Amount(form)->setText("150,5");
    form.btnActionClick();
    QCOMPARE(form.result(), int(mrOk));
    QVERIFY(form.FVardiyaID > shop.VardiyaID());
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Title, QString("Bilgi"));
    QCOMPARE(answers.Last().Text, QString("Vardiya açıldı. KASA SORUMLUSU - MERKEZ - KASA-1"));
    QCOMPARE(answers.Last().DlgType, int(dtInfo));
    QCOMPARE(answers.Last().AutoCloseMs, 1500);
    QCOMPARE(shop.Scalar(QString("SELECT AcilisTutar FROM Vardiya WHERE VardiyaID = %1 AND "
                                 "KapanisZamani IS NULL")
                             .arg(form.FVardiyaID))
                 .toDouble(),
             150.5);
    QVERIFY(!QGuiApplication::overrideCursor());
}

// Typed key by key and confirmed with Enter, as a cashier does: "1.500" opens the shift with one
// thousand five hundred; "abc-1e5" stays in the box as typed and opens nothing.
void TestShiftForms::typedOpeningCash_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("opening"); // -1: refused
    QTest::newRow("thousands mark") << "1.500" << 1500.0;
    QTest::newRow("thousands and decimals") << "1.500,00" << 1500.0;
    QTest::newRow("decimal comma") << "1,5" << 1.5;
    QTest::newRow("decimal point") << "1.5" << 1.5;
    QTest::newRow("letters, sign and exponent") << "abc-1e5" << -1.0;
}

void TestShiftForms::typedOpeningCash()
{
    QFETCH(QString, typed);
    QFETCH(double, opening);
    TShopFixture shop;
    shop.Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'");
    LogIn(shop);
    TDialogAnswers answers;
    TfrmVardiya form;
    form.SetMode(vmOpen);
    Amount(form)->clear();
    Type(Amount(form), typed);
    QCOMPARE(Amount(form)->text(), typed);
    QTest::keyClick(Amount(form), Qt::Key_Return);
    QCOMPARE(answers.Count(), 1);
    if (opening < 0) {
        QCOMPARE(form.result(), 0);
        QCOMPARE(answers.Last().Text, QString("Lütfen geçerli bir tutar giriniz!"));
        QCOMPARE(OpenShifts(shop), 0);
        return;
    }
    QCOMPARE(form.result(), int(mrOk));
    QCOMPARE(answers.Last().Title, QString("Bilgi"));
    QCOMPARE(shop.Scalar(QString("SELECT AcilisTutar FROM Vardiya WHERE VardiyaID = %1")
                             .arg(form.FVardiyaID))
                 .toDouble(),
             opening);
}

void TestShiftForms::openModeRefusalKeepsTheDialogOpen()
{
    TShopFixture shop; // its shift is still open
    LogIn(shop);
    TDialogAnswers answers;
    TfrmVardiya form;
    form.SetMode(vmOpen);
    Amount(form)->setText("10");
    form.btnActionClick();
    QCOMPARE(form.result(), 0);
    QCOMPARE(form.FVardiyaID, 0);
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().Text,
             QString("Kullanıcının zaten açık bir vardiyası var. Aynı kullanıcı birden fazla "
                     "şubede kasa açamaz. Şube: MERKEZ - Vardiya ID: 1"));
    QCOMPARE(shop.Count("Vardiya"), 1);
    QVERIFY(!QGuiApplication::overrideCursor());
}

void TestShiftForms::executeCancelled_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("byEscape");
    QTest::newRow("open, cancel button") << int(vmOpen) << false;
    QTest::newRow("close, cancel button") << int(vmClose) << false;
    QTest::newRow("open, Esc") << int(vmOpen) << true;
}

void TestShiftForms::executeCancelled()
{
    QFETCH(int, mode);
    QFETCH(bool, byEscape);
    TShiftReportFixture fixture;
    int vardiyaID = mode == vmOpen ? 0 : fixture.OpenID;
    const int given = vardiyaID;
    bool focused = false;
    WhenModalOpens([&](QWidget* modal) {
        auto* form = qobject_cast<TfrmVardiya*>(modal);
        QVERIFY(form);
        focused = QApplication::focusWidget() == Amount(*form) &&
                  Amount(*form)->selectedText() == Amount(*form)->text();
        if (byEscape)
            QTest::keyClick(Amount(*form), Qt::Key_Escape);
        else
            Button(*form, "btnCancel")->click();
    });
    QVERIFY(!TfrmVardiya::Execute(TVardiyaMode(mode), vardiyaID));
    QCOMPARE(vardiyaID, given);
    QVERIFY(focused);
}

void TestShiftForms::executeOpens()
{
    TShopFixture shop;
    shop.Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), VardiyaDurumu = 'KAPALI'");
    LogIn(shop);
    TDialogAnswers answers;
    answers.Step([](QDialog& dialog) {
        QVERIFY(qobject_cast<TfrmVardiya*>(&dialog));
        Amount(dialog)->setText("0");
        Button(dialog, "btnAction")->click();
    });
    int vardiyaID = 0;
    QVERIFY(TfrmVardiya::Execute(vmOpen, vardiyaID));
    QCOMPARE(vardiyaID, shop.Scalar("SELECT MAX(VardiyaID) FROM Vardiya").toInt());
    QVERIFY(vardiyaID > shop.VardiyaID());
    QCOMPARE(answers.Count(), 2);
    QCOMPARE(answers.Shown().at(0).Form, QString("TfrmVardiya"));
    QCOMPARE(answers.Shown().at(0).Title, QString("Vardiya Açılışı"));
    QCOMPARE(answers.Last().Title, QString("Bilgi"));
}

void TestShiftForms::executeCloseHandsBackTheCount_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<double>("counted");
    QTest::newRow("comma") << "1500,75" << 1500.75;
    QTest::newRow("dot") << "1500.75" << 1500.75;
    QTest::newRow("nothing in the drawer") << "0" << 0.0;
    QTest::newRow("as amounts are shown") << "1.280,00" << 1280.0;
    QTest::newRow("as amounts are shown, with TL") << "1.280,00 TL" << 1280.0;
    QTest::newRow("thousands mark") << "1.500" << 1500.0;
}

void TestShiftForms::executeCloseHandsBackTheCount()
{
    QFETCH(QString, typed);
    QFETCH(double, counted);
    TShiftReportFixture fixture;
    const int open = OpenShifts(fixture.Shop);
    TDialogAnswers answers;
    answers.Step([typed](QDialog& dialog) {
        QCOMPARE(qobject_cast<TfrmVardiya*>(&dialog)->Mode(), vmClose);
        Amount(dialog)->setText(typed);
        Button(dialog, "btnAction")->click();
    });
    answers.Ok(); // the difference to the 100,00 expected is confirmed
    double count = -1;
    QVERIFY(TfrmVardiya::ExecuteClose(fixture.OpenID, count));
    QCOMPARE(count, counted);
    QCOMPARE(answers.Count(), 2);
    QCOMPARE(answers.Shown().at(0).Title, QString("Vardiya Kapanış"));
    QCOMPARE(answers.Last().Title, QString("Kasa Farkı"));
    QCOMPARE(OpenShifts(fixture.Shop), open); // the dialog writes nothing
}

void TestShiftForms::closeWithADifferenceAsksFirst_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("consent");
    const QString shortBy = "Sayılan nakit beklenenden %1 eksik. Vardiya yine de kapatılsın mı?";
    const QString overBy = "Sayılan nakit beklenenden %1 fazla. Vardiya yine de kapatılsın mı?";
    QTest::newRow("agrees") << "100" << QString() << false;
    QTest::newRow("agrees, as amounts are shown") << "100,00" << QString() << false;
    QTest::newRow("short, back to recount") << "87,5" << shortBy.arg("12,50 TL") << false;
    QTest::newRow("short, closed anyway") << "87,5" << shortBy.arg("12,50 TL") << true;
    QTest::newRow("one kuruş over") << "100.01" << overBy.arg("0,01 TL") << true;
    QTest::newRow("surplus in thousands") << "1334,5" << overBy.arg("1.234,50 TL") << false;
}

// A count that is not the 100,00 the drawer should hold is confirmed first; "Hayır" keeps the
// dialog open with the count selected, so the cashier counts again.
void TestShiftForms::closeWithADifferenceAsksFirst()
{
    QFETCH(QString, typed);
    QFETCH(QString, question);
    QFETCH(bool, consent);
    TShiftReportFixture fixture;
    TDialogAnswers answers;
    if (consent)
        answers.Ok();
    TfrmVardiya form;
    form.FVardiyaID = fixture.OpenID;
    form.SetMode(vmClose);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    Amount(form)->setText(typed);
    form.btnActionClick();
    const bool asked = !question.isEmpty();
    QCOMPARE(answers.Count(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(answers.Last().Title, QString("Kasa Farkı"));
        QCOMPARE(answers.Last().Text, question);
        QCOMPARE(answers.Last().DlgType, int(dtConfirmation));
        QCOMPARE(answers.Last().Buttons, QStringList({"Evet", "Hayır"}));
    }
    const bool closes = !asked || consent;
    QCOMPARE(form.result(), closes ? int(mrOk) : 0);
    QCOMPARE(Amount(form)->text(), typed);
    if (!closes) {
        QVERIFY(form.isVisible());
        QVERIFY(Amount(form)->hasFocus());
        QCOMPARE(Amount(form)->selectedText(), typed);
    }
}

void TestShiftForms::executeCloseRefusedOrCancelledKeepsTheCount()
{
    TShiftReportFixture fixture;
    TDialogAnswers answers;
    answers.Step([](QDialog& dialog) {
        Amount(dialog)->setText(",");
        Button(dialog, "btnAction")->click(); // refused: the dialog stays open
        QCOMPARE(dialog.result(), 0);
        Amount(dialog)->setText("100");
        Button(dialog, "btnCancel")->click();
    });
    double count = 42.5;
    QVERIFY(!TfrmVardiya::ExecuteClose(fixture.OpenID, count));
    QCOMPARE(count, 42.5);
    QCOMPARE(answers.Count(), 2);
    QCOMPARE(answers.Last().Text, QString("Lütfen geçerli bir tutar giriniz!"));
}

void TestShiftForms::previewOfAShift()
{
    const TFixedClock clock(TShiftReportFixture::ReportTime());
    TShiftReportFixture fixture;
    TfrmZReportPreview preview;
    preview.SetVardiyaID(fixture.ClosedID);
    QCOMPARE(Label(preview, "lblVardiyaValue")->text(), QString("1"));
    QCOMPARE(Label(preview, "lblKasiyerValue")->text(), QString("KASA SORUMLUSU"));
    QCOMPARE(Label(preview, "lblKapanisValue")->text(), QString("05.03.2025 18:00:00"));
    QCOMPARE(Label(preview, "lblDurumValue")->text(), QString("KAPALI"));
    QCOMPARE(TextColor(Label(preview, "lblDurumValue")), QColor(0xE3, 0xBE, 0x3E));
    const QStringList lines = preview.ReportLines();
    QVERIFY(lines.at(7).startsWith("Rapor Zamanı     : "));
    QCOMPARE(lines, TShiftReportFixture::ExpectedClosedReport());
    QVERIFY(Button(preview, "btnPrint")->isEnabled());
    QCOMPARE(Report(preview)->font().family(), QString("Consolas"));
    QCOMPARE(Report(preview)->lineWrapMode(), QPlainTextEdit::NoWrap);
    QVERIFY(Report(preview)->isReadOnly());
    QCOMPARE(preview.size(), QSize(984, 724));
}

void TestShiftForms::previewWithoutAShift()
{
    TShiftReportFixture fixture;
    TDialogAnswers answers;
    TfrmZReportPreview preview;
    preview.SetVardiyaID(0);
    QVERIFY(preview.ReportLines().isEmpty());
    for (QLabel* value : {Label(preview, "lblVardiyaValue"), Label(preview, "lblKasiyerValue"),
                          Label(preview, "lblKapanisValue"), Label(preview, "lblDurumValue")})
        QCOMPARE(value->text(), QString("-"));
    QVERIFY(!Button(preview, "btnPrint")->isEnabled());
    preview.btnPrintClick();
    QCOMPARE(answers.Count(), 0);
}

void TestShiftForms::previewOfAMissingShift()
{
    TShiftReportFixture fixture;
    TDialogAnswers answers;
    QStringList printed;
    TPrintService::SetPrinterDevice(std::make_unique<TFakePrinter>(TFakePrinter::Prints, &printed));
    TfrmZReportPreview preview;
    preview.SetVardiyaID(404);
    const QString text = "Z raporu oluşturulamadı: Vardiya bulunamadı.";
    QCOMPARE(Report(preview)->toPlainText(), text);
    QVERIFY(!Button(preview, "btnPrint")->isEnabled());
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().Text, text);
    preview.btnPrintClick();
    QVERIFY(printed.isEmpty());
    QVERIFY(ZReportFiles(404).isEmpty());
}

void TestShiftForms::previewPrints_data()
{
    QTest::addColumn<int>("behaviour");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::newRow("printed") << int(TFakePrinter::Prints) << "Bilgi"
                             << "Z raporu yazdırıldı.";
    QTest::newRow("cancelled") << int(TFakePrinter::Cancelled) << ""
                               << "";
    QTest::newRow("no printer") << int(TFakePrinter::Missing) << "Hata"
                                << "Z raporu yazdırılamadı: Tanımlı yazıcı bulunamadı.";
}

void TestShiftForms::previewPrints()
{
    QFETCH(int, behaviour);
    QFETCH(QString, title);
    QFETCH(QString, text);
    TShiftReportFixture fixture;
    RemoveZReportFiles(fixture.ClosedID);
    QStringList printed;
    TPrintService::SetPrinterDevice(
        std::make_unique<TFakePrinter>(TFakePrinter::TBehaviour(behaviour), &printed));
    TDialogAnswers answers;
    TfrmZReportPreview preview;
    preview.SetVardiyaID(fixture.ClosedID);
    preview.btnPrintClick();
    QCOMPARE(answers.Count(), title.isEmpty() ? 0 : 1);
    QCOMPARE(answers.Last().Title, title);
    QCOMPARE(answers.Last().Text, text);
    QCOMPARE(printed, behaviour == TFakePrinter::Prints ? preview.ReportLines() : QStringList());
    QCOMPARE(ZReportFiles(fixture.ClosedID).size(), 1);
    RemoveZReportFiles(fixture.ClosedID);
}

void TestShiftForms::previewClosesOnEscape()
{
    TShiftReportFixture fixture;
    WhenModalOpens([](QWidget* modal) {
        QVERIFY(qobject_cast<TfrmZReportPreview*>(modal));
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    TfrmZReportPreview::Execute(fixture.OpenID);
    QVERIFY(!QApplication::activeModalWidget());
}

void TestShiftForms::summaryFigures()
{
    TShiftReportFixture fixture;
    TfrmShiftSummary summary;
    summary.SetVardiyaID(fixture.ClosedID);
    QCOMPARE(summary.windowTitle(), QString("Vardiya İcmali"));
    QCOMPARE(Label(summary, "lblTitle")->text(), QString("VARDİYA İCMALİ"));
    QCOMPARE(Label(summary, "lblVardiyaValue")->text(), QString("1"));
    QCOMPARE(Label(summary, "lblKasiyerValue")->text(), QString("KASA SORUMLUSU"));
    QCOMPARE(Label(summary, "lblAcilisValue")->text(), QString("250,00 TL"));
    QCOMPARE(Label(summary, "lblBrutNakitValue")->text(), QString("240,49 TL"));
    QCOMPARE(Label(summary, "lblBrutKartValue")->text(), QString("7.408.887,80 TL"));
    QCOMPARE(Label(summary, "lblIadeNakitValue")->text(), QString("20,00 TL"));
    QCOMPARE(Label(summary, "lblIadeToplamValue")->text(), QString("30,00 TL"));
    QCOMPARE(Label(summary, "lblKasaTeslimValue")->text(), QString("470,49 TL"));
    QCOMPARE(Label(summary, "lblNetCiroValue")->text(), QString("7.409.098,29 TL"));
    QCOMPARE(Label(summary, "lblAktifFisValue")->text(), QString("6"));
    QCOMPARE(Label(summary, "lblIadeFisValue")->text(), QString("2"));
    QCOMPARE(TextColor(Label(summary, "lblKasaTeslimValue")), QColor(0xDD, 0x73, 0xC8));
    QCOMPARE(TextColor(Label(summary, "lblNetCiroValue")), QColor(0x34, 0x8B, 0x66));
    QCOMPARE(summary.size(), QSize(560, 640));
}

void TestShiftForms::summaryEqualsTheZReport_data()
{
    QTest::addColumn<bool>("open");
    QTest::newRow("closed shift") << false;
    QTest::newRow("open shift without receipts") << true;
}

void TestShiftForms::summaryEqualsTheZReport()
{
    QFETCH(bool, open);
    TShiftReportFixture fixture;
    const int id = open ? fixture.OpenID : fixture.ClosedID;
    TfrmShiftSummary summary;
    summary.SetVardiyaID(id);
    TfrmZReportPreview preview;
    preview.SetVardiyaID(id);
    const QStringList z = preview.ReportLines();
    const auto money = [&](int line) {
        return z.at(line).mid(26).trimmed();
    };
    QCOMPARE(Label(summary, "lblKasaTeslimValue")->text(), money(24));
    QCOMPARE(Label(summary, "lblNetCiroValue")->text(), money(20));
    QCOMPARE(Label(summary, "lblAcilisValue")->text(), money(23));
    QCOMPARE(Label(summary, "lblBrutNakitValue")->text(), money(16));
    QCOMPARE(Label(summary, "lblBrutKartValue")->text(), money(17));
    QCOMPARE(Label(summary, "lblIadeNakitValue")->text(), money(18));
    QCOMPARE(Label(summary, "lblIadeToplamValue")->text(), money(19));
    QCOMPARE(Label(summary, "lblAktifFisValue")->text(), money(10));
    QCOMPARE(Label(summary, "lblIadeFisValue")->text(), money(11));
}

void TestShiftForms::summaryOfAMissingShiftIsNotShown()
{
    TShiftReportFixture fixture;
    bool shown = false;
    WhenModalOpens([&](QWidget* modal) {
        shown = true;
        modal->close();
    });
    try {
        TfrmShiftSummary::Execute(404);
        QFAIL("no error");
    } catch (const Exception& e) {
        QCOMPARE(e.Message(), QString("Vardiya özeti bulunamadi."));
    }
    QTest::qWait(50);
    QVERIFY(!shown);
}

QTEST_MAIN(TestShiftForms)
#include "tst_ShiftForms.moc"
