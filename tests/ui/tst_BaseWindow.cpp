#include "core/ErrorLog.h"
#include "core/Exceptions.h"
#include "shifts/ShiftSummaryForm.h"
#include "shifts/VardiyaForm.h"
#include "shifts/ZReportPreviewForm.h"
#include "support/DialogTestHooks.h"
#include "support/TestDatabase.h"
#include "support/WidgetTestSupport.h"
#include "ui/BaseWindow.h"
#include "ui/CustomDialogForm.h"
#include "ui/CustomInputForm.h"
#include "ui/LoginForm.h"
#include "ui/POSButton.h"
#include "ui/PaymentForm.h"
#include "ui/ReportMenuForm.h"
#include "ui/SaleSuccessDialogForm.h"
#include "ui/SlotGuard.h"
#include "ui/VardiyeMenuForm.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>
#include <stdexcept>

namespace {
const TWindowLayout kLayout{{300, 200}, 3, "pnlHead", 40, "pnlBody", "pnlFoot", 50};

// A window made of the base alone, with its protected parts opened for the tests.
class TTestWindow : public TBaseWindow {
public:
    explicit TTestWindow(TWindowKind kind = TWindowKind::Dialog,
                         const TWindowLayout& layout = kLayout, QWidget* parent = nullptr)
        : TBaseWindow(parent, kind, layout)
    {
    }
    using TBaseWindow::CentreOnOwner;
    using TBaseWindow::Content;
    using TBaseWindow::CreateButton;
    using TBaseWindow::CreateTitle;
    using TBaseWindow::Footer;
    using TBaseWindow::Header;
};

// Records the windows it is given and answers each with a fixed result.
class TRecordingRunner : public TModalRunner {
public:
    int Run(QDialog& dialog) override
    {
        Seen << dialog.objectName();
        return 7;
    }
    QStringList Seen;
};

using TWindowFactory = std::function<std::unique_ptr<QWidget>()>;

std::unique_ptr<QWidget> MakeLogin(const QString& prefs)
{
    return std::make_unique<TfrmLogin>(nullptr, prefs);
}

// Every window of the program, by name, with the object name of its header band.
struct TWindowEntry {
    const char* Name;
    const char* Header;
    TWindowFactory Make;
};

QList<TWindowEntry> Windows(const QString& prefs)
{
    return {
        {"message", "pnlTop",
         [] {
             auto dialog = std::make_unique<TfrmCustomDialog>();
             dialog->Setup("Soru", "Devam?", dtConfirmation, 0);
             return std::unique_ptr<QWidget>(std::move(dialog));
         }},
        {"input", "pnlTop",
         [] {
             return std::make_unique<TfrmCustomInput>();
         }},
        {"sale", "pnlHeader",
         [] {
             return std::make_unique<TfrmSaleSuccessDialog>();
         }},
        {"payment", "pnlTop",
         [] {
             return std::make_unique<TfrmPayment>();
         }},
        {"shift", "pnlTop",
         [] {
             return std::make_unique<TfrmVardiya>();
         }},
        {"z report", "pnlTop",
         [] {
             return std::make_unique<TfrmZReportPreview>();
         }},
        {"shift summary", "pnlTop",
         [] {
             return std::make_unique<TfrmShiftSummary>();
         }},
        {"login", "pnlHeader",
         [prefs] {
             return MakeLogin(prefs);
         }},
    };
}

// Presses the left button at `at` of `handle`, moves it by `by` and releases it.
void Drag(QWidget* handle, QPoint at, QPoint by)
{
    const QPoint global = handle->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(handle, &press);
    QMouseEvent move(QEvent::MouseMove, at + by, global + by, Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(handle, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, at + by, global + by, Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(handle, &release);
}

QStringList LogLines()
{
    QFile file(ErrorLogPath());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()).split(u'\n')
                                          : QStringList();
}

const QRegularExpression kStamp(R"(^\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] )");
} // namespace

Q_DECLARE_METATYPE(std::function<void()>)
Q_DECLARE_METATYPE(TWindowFactory)

// The base of the windows (bands, frame, dragging, title, buttons, kinds), the modal seam and
// the guard that keeps an error of a handler from travelling through Qt.
class TestBaseWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();

    void bandsAndFrame();
    void titleAndButtons();
    void escapeClosesOnlyADialog_data();
    void escapeClosesOnlyADialog();
    void centresOnItsOwner();
    void fillsTheScreen();
    void everyWindowDragsByItsHeader_data();
    void everyWindowDragsByItsHeader();
    void objectNamesAreUniqueInEveryWindow_data();
    void objectNamesAreUniqueInEveryWindow();

    void installedRunnerTakesEveryModalRun();
    void withoutARunnerAWindowRunsItself();
    void unknownWindowWithoutAStepRunsForReal();

    void throwingHandlerIsLoggedShownAndTheWindowStaysUsable_data();
    void throwingHandlerIsLoggedShownAndTheWindowStaysUsable();
    void errorBoxIsTheProgramsDialog();
    void refusalIsShownAsHataAndNotLogged();
    void handlersTakeTheSignalsArguments();

private:
    QTemporaryDir FDir;
};

void TestBaseWindow::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
    RegisterFontSubstitutions();
    QGuiApplication::setApplicationDisplayName("KIRVELO - Perakende Satış Sistemi");
}

void TestBaseWindow::init()
{
    QFile::remove(ErrorLogPath());
}

void TestBaseWindow::bandsAndFrame()
{
    TTestWindow window;
    window.layout()->activate();
    QVERIFY(window.windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(window.windowType(), Qt::Dialog);
    QVERIFY(window.isModal());
    QCOMPARE(window.size(), QSize(300, 200));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QCOMPARE(window.FrameWidth(), 3);
    QCOMPARE(window.FrameColor(), POSPalette::Header);
    QCOMPARE(window.Header()->objectName(), QString("pnlHead"));
    QCOMPARE(window.Header()->geometry(), QRect(3, 3, 294, 40));
    QCOMPARE(window.Content()->geometry(), QRect(3, 43, 294, 104));
    QCOMPARE(window.Footer()->geometry(), QRect(3, 147, 294, 50));
    QCOMPARE(window.Header()->palette().color(QPalette::Window), POSPalette::Header);
    QCOMPARE(window.Content()->palette().color(QPalette::Window), POSPalette::Content);
    QCOMPARE(window.Footer()->palette().color(QPalette::Window), POSPalette::Footer);
    QCOMPARE(window.font().family(), QString("Segoe UI"));

    window.SetFrame(POSPalette::ErrorHeader, 2);
    window.show();
    const QImage image = window.grab().toImage();
    QCOMPARE(image.pixelColor(0, 100), POSPalette::ErrorHeader);
    QCOMPARE(image.pixelColor(1, 100), POSPalette::ErrorHeader);
    QCOMPARE(image.pixelColor(299, 199), POSPalette::ErrorHeader);
    QCOMPARE(image.pixelColor(150, 20), POSPalette::Header);
    QCOMPARE(image.pixelColor(150, 100), POSPalette::Content);
}

void TestBaseWindow::titleAndButtons()
{
    TTestWindow window;
    QLabel* title = window.CreateTitle("lblTitle");
    QCOMPARE(title->parentWidget(), window.Header());
    QCOMPARE(title->geometry(), QRect(15, 0, 264, 40));
    QCOMPARE(title->font().pixelSize(), 16);
    QVERIFY(title->font().bold());
    QVERIFY(title->alignment().testFlag(Qt::AlignVCenter));

    TPOSButton* ok = window.CreateButton(window.Footer(), "btnOk", "Tamam", TGlyph::CheckMark,
                                         TButtonVariant::Primary);
    TPOSButton* no = window.CreateButton(window.Footer(), "btnNo", "Hayır", TGlyph::Close,
                                         TButtonVariant::Danger);
    QCOMPARE(ok->objectName(), QString("btnOk"));
    QCOMPARE(ok->text(), QString("Tamam"));
    QCOMPARE(ok->Glyph(), TGlyph::CheckMark);
    QCOMPARE(ok->Look().Fill, POSPalette::Primary);
    QCOMPARE(no->Look().Text, POSPalette::Danger);
    for (const TPOSButton* button : {ok, no}) {
        QCOMPARE(button->focusPolicy(), Qt::NoFocus);
        QVERIFY(!button->autoDefault());
    }
}

void TestBaseWindow::escapeClosesOnlyADialog_data()
{
    QTest::addColumn<bool>("main");
    QTest::newRow("dialog") << false;
    QTest::newRow("main window") << true;
}

void TestBaseWindow::escapeClosesOnlyADialog()
{
    QFETCH(bool, main);
    TTestWindow window(main ? TWindowKind::Main : TWindowKind::Dialog);
    QCOMPARE(window.windowType(), main ? Qt::Window : Qt::Dialog);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&window, Qt::Key_Escape);
    QCOMPARE(window.isVisible(), main);
}

void TestBaseWindow::centresOnItsOwner()
{
    QWidget owner;
    owner.setGeometry(100, 80, 800, 600);
    TTestWindow window(TWindowKind::Dialog, kLayout, &owner);
    window.CentreOnOwner();
    QCOMPARE(window.pos(), QPoint(100 + 250, 80 + 200));
}

void TestBaseWindow::fillsTheScreen()
{
    TTestWindow screen(TWindowKind::Main, TWindowLayout::Screen({1314, 752}));
    QCOMPARE(screen.windowType(), Qt::Window);
    QVERIFY(screen.windowFlags().testFlag(Qt::FramelessWindowHint));
    QVERIFY(!screen.isModal());
    QVERIFY(screen.windowState().testFlag(Qt::WindowMaximized));
    QCOMPARE(screen.geometry(), QGuiApplication::primaryScreen()->availableGeometry());
    QCOMPARE(screen.FrameWidth(), 0);
    QVERIFY(!screen.Header());
    QVERIFY(!screen.layout());
    QCOMPARE(screen.minimumSize(), QSize(0, 0));
}

void TestBaseWindow::everyWindowDragsByItsHeader_data()
{
    QTest::addColumn<TWindowFactory>("make");
    QTest::addColumn<QString>("header");
    for (const TWindowEntry& entry : Windows(FDir.filePath("login.ini")))
        QTest::newRow(entry.Name) << entry.Make << QString(entry.Header);
}

void TestBaseWindow::everyWindowDragsByItsHeader()
{
    QFETCH(TWindowFactory, make);
    QFETCH(QString, header);
    TDialogAnswers answers; // the login's connection error, without a database
    const std::unique_ptr<QWidget> window = make();
    window->move(40, 30);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    auto* band = window->findChild<QWidget*>(header);
    QVERIFY(band);
    QList<QWidget*> handles{band};
    for (QLabel* label : band->findChildren<QLabel*>())
        handles << label;
    QPoint expected = window->pos();
    for (QWidget* handle : handles) {
        Drag(handle, QPoint(2, 2), QPoint(7, 5));
        expected += QPoint(7, 5);
        QVERIFY2(window->pos() == expected, qPrintable(handle->objectName()));
    }
}

void TestBaseWindow::objectNamesAreUniqueInEveryWindow_data()
{
    QTest::addColumn<TWindowFactory>("make");
    for (const TWindowEntry& entry : Windows(FDir.filePath("login.ini")))
        QTest::newRow(entry.Name) << entry.Make;
    QTest::newRow("shift menu") << TWindowFactory(
        [] { return std::unique_ptr<QWidget>(std::make_unique<TMenuPopupForm>()); });
    QTest::newRow("report menu") << TWindowFactory(
        [] { return std::unique_ptr<QWidget>(std::make_unique<TReportMenuPopupForm>()); });
}

void TestBaseWindow::objectNamesAreUniqueInEveryWindow()
{
    QFETCH(TWindowFactory, make);
    const std::unique_ptr<QWidget> window = make();
    QStringList names;
    for (const QObject* child : window->findChildren<QObject*>()) {
        if (child->objectName().isEmpty() || child->objectName().startsWith("qt_"))
            continue;
        QVERIFY2(!names.contains(child->objectName()), qPrintable(child->objectName()));
        names << child->objectName();
    }
    QVERIFY(names.size() > 2);
}

void TestBaseWindow::installedRunnerTakesEveryModalRun()
{
    TRecordingRunner runner;
    TModalRunner* before = InstallModalRunner(&runner);
    QCOMPARE(TfrmCustomDialog::ShowDialog("Bilgi", "Kaydedildi", dtInfo), 7);
    QString value = "eski";
    QVERIFY(!TfrmCustomInput::ShowInput("Giriş", "Değer:", "1", value));
    QCOMPARE(value, QString("eski"));
    QVERIFY(!TfrmPayment::Execute(10).Accepted);
    TfrmSaleSuccessDialog::ShowSale("FIS-1", 10, "NAKIT", 0);
    TfrmZReportPreview::Execute(0);
    ShowErrorBox("Başlık", "Hata");
    QCOMPARE(InstallModalRunner(before), &runner);
    QCOMPARE(runner.Seen,
             QStringList({"frmCustomDialog", "frmCustomInput", "frmPayment", "frmSaleSuccessDialog",
                          "frmZReportPreview", "frmCustomDialog"}));
}

void TestBaseWindow::withoutARunnerAWindowRunsItself()
{
    bool ranModally = false;
    WhenModalOpens([&ranModally](QWidget* modal) {
        ranModally = modal->isVisible();
        static_cast<QDialog*>(modal)->done(5);
    });
    TTestWindow window;
    QCOMPARE(window.ShowModal(), 5);
    QVERIFY(ranModally);
}

void TestBaseWindow::unknownWindowWithoutAStepRunsForReal()
{
    TDialogAnswers answers;
    answers.Ok();
    WhenModalOpens([](QWidget* modal) { static_cast<QDialog*>(modal)->done(4); });
    TTestWindow window;
    QCOMPARE(window.ShowModal(), 4);
    QCOMPARE(answers.Count(), 0);
    QCOMPARE(answers.Pending(), 1); // kept for the next window the runner knows
    QCOMPARE(TfrmCustomDialog::ShowDialog("Soru", "Devam?", dtConfirmation), int(mrOk));

    // A step answers any window, and the window is recorded.
    answers.Step([](QDialog& dialog) { dialog.done(9); });
    window.setWindowTitle("Pencere");
    QCOMPARE(window.ShowModal(), 9);
    QCOMPARE(answers.Count(), 2);
    QCOMPARE(answers.Last().Form, QString("TBaseWindow"));
    QCOMPARE(answers.Last().Title, QString("Pencere"));
}

void TestBaseWindow::throwingHandlerIsLoggedShownAndTheWindowStaysUsable_data()
{
    QTest::addColumn<std::function<void()>>("fail");
    QTest::addColumn<QString>("logged");
    QTest::addColumn<QString>("shown");
    QTest::newRow("program error")
        << std::function<void()>([] { throw EDatabaseError("Bağlantı koptu"); })
        << "EDatabaseError: Bağlantı koptu"
        << "Bağlantı koptu";
    QTest::newRow("library error")
        << std::function<void()>([] { throw std::runtime_error("Tanımsız durum"); })
        << "Exception: Tanımsız durum"
        << "Tanımsız durum";
    QTest::newRow("not an exception")
        << std::function<void()>([] { throw 42; }) << "Exception: Bilinmeyen hata"
        << "Bilinmeyen hata";
}

void TestBaseWindow::throwingHandlerIsLoggedShownAndTheWindowStaysUsable()
{
    QFETCH(std::function<void()>, fail);
    QFETCH(QString, logged);
    QFETCH(QString, shown);
    TTestWindow window;
    TPOSButton* failing = window.CreateButton(window.Footer(), "btnFail", "Dene", TGlyph::None,
                                              TButtonVariant::Primary);
    TPOSButton* other = window.CreateButton(window.Footer(), "btnOther", "Başka", TGlyph::None,
                                            TButtonVariant::Default);
    failing->setGeometry(10, 5, 100, 40);
    other->setGeometry(120, 5, 100, 40);
    int failures = 0;
    int others = 0;
    GuardedConnect(failing, &QPushButton::clicked, &window, [&] {
        ++failures;
        fail();
    });
    GuardedConnect(other, &QPushButton::clicked, &window, [&] { ++others; });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    TDialogAnswers answers;

    QTest::mouseClick(failing, Qt::LeftButton);
    QCOMPARE(failures, 1);
    const QStringList lines = LogLines();
    QCOMPARE(lines.size(), 4); // one entry of three lines, the last empty
    QVERIFY2(kStamp.match(lines[0]).hasMatch(), qPrintable(lines[0]));
    QVERIFY(lines[0].endsWith("] Application.OnException"));
    QCOMPARE(lines[1], logged);
    QCOMPARE(lines[2], QString());
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Form, QString("TfrmCustomDialog"));
    QCOMPARE(answers.Last().DlgType, int(dtError));
    QCOMPARE(answers.Last().Title, QString("KIRVELO - Perakende Satış Sistemi"));
    QCOMPARE(answers.Last().Text, shown);
    QCOMPARE(answers.Last().Buttons, QStringList({"Kapat"}));

    // The window goes on: the same button runs its handler again, the others answer.
    QVERIFY(window.isVisible());
    QTest::mouseClick(failing, Qt::LeftButton);
    QCOMPARE(failures, 2);
    QCOMPARE(LogLines().size(), 7);
    QCOMPARE(answers.Count(), 2);
    QTest::mouseClick(other, Qt::LeftButton);
    QCOMPARE(others, 1);
    QCOMPARE(answers.Count(), 2);
}

// The box of an unhandled error is the program's error dialog over the window it came from:
// the application's title, the message and one "Kapat".
void TestBaseWindow::errorBoxIsTheProgramsDialog()
{
    TTestWindow window;
    TPOSButton* failing = window.CreateButton(window.Footer(), "btnFail", "Dene", TGlyph::None,
                                              TButtonVariant::Primary);
    GuardedConnect(failing, &QPushButton::clicked, &window,
                   [] { throw EConvertError("Geçersiz sayı"); });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QString title;
    QString text;
    QString ok;
    bool cancelShown = true;
    QColor header;
    QWidget* owner = nullptr;
    WhenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<TfrmCustomDialog*>(modal);
        QVERIFY(box);
        title = Named<QLabel>(box, "lblTitle")->text();
        text = Named<QLabel>(box, "lblMessage")->text();
        ok = Named<TPOSButton>(box, "btnOk")->text();
        cancelShown = Named<TPOSButton>(box, "btnCancel")->isVisible();
        header = box->FrameColor();
        owner = box->parentWidget();
        Named<TPOSButton>(box, "btnOk")->click();
    });
    failing->click();
    QCOMPARE(title, QString("KIRVELO - Perakende Satış Sistemi"));
    QCOMPARE(text, QString("Geçersiz sayı"));
    QCOMPARE(ok, QString("Kapat"));
    QVERIFY(!cancelShown);
    QCOMPARE(header, POSPalette::ErrorHeader);
    QCOMPARE(owner, &window);
    QCOMPARE(LogLines().value(1), QString("EConvertError: Geçersiz sayı"));
}

// A refusal raised in a handler is no unhandled error: "Hata" in the program's dialog, nothing
// in the error log, and the window goes on.
void TestBaseWindow::refusalIsShownAsHataAndNotLogged()
{
    TTestWindow window;
    TPOSButton* refusing = window.CreateButton(window.Footer(), "btnRefuse", "Dene", TGlyph::None,
                                               TButtonVariant::Primary);
    GuardedConnect(refusing, &QPushButton::clicked, &window,
                   [] { throw ERefusal("Cari adi zorunludur."); });
    TDialogAnswers answers;
    refusing->click();
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Form, QString("TfrmCustomDialog"));
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().DlgType, int(dtError));
    QCOMPARE(answers.Last().Text, QString("Cari adi zorunludur."));
    QVERIFY(!QFile::exists(ErrorLogPath()));
    refusing->click();
    QCOMPARE(answers.Count(), 2);
}

void TestBaseWindow::handlersTakeTheSignalsArguments()
{
    TTestWindow window;
    auto* edit = new QLineEdit(window.Content());
    QString typed;
    int changes = 0;
    GuardedConnect(edit, &QLineEdit::textChanged, &window,
                   [&typed](const QString& text) { typed = text; });
    GuardedConnect(edit, &QLineEdit::textChanged, &window, [&changes] { ++changes; });
    GuardedConnect(edit, &QLineEdit::textChanged, &window, &QWidget::setWindowTitle);
    edit->setText("12,5");
    QCOMPARE(typed, QString("12,5"));
    QCOMPARE(changes, 1);
    QCOMPARE(window.windowTitle(), QString("12,5"));
}

QTEST_MAIN(TestBaseWindow)
#include "tst_BaseWindow.moc"
