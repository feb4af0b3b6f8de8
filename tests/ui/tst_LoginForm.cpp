#include "core/LoginManager.h"
#include "core/SessionManager.h"
#include "support/DialogTestHooks.h"
#include "support/LoginFixture.h"
#include "support/TestDatabase.h"
#include "support/WidgetTestSupport.h"
#include "ui/CustomDialogForm.h"
#include "ui/Glyphs.h"
#include "ui/LoginForm.h"
#include "ui/MainPOSForm.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {
void WriteFile(const QString& path, const QString& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text.toUtf8());
}

QString ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

// The window's controls, found by their object names.
struct TLoginControls {
    explicit TLoginControls(QWidget* form)
        : pnlHeader(Child<QWidget>(form, "pnlHeader"))
        , lblTitle(Child<QLabel>(form, "lblTitle"))
        , lblSubtitle(Child<QLabel>(form, "lblSubtitle"))
        , lblUsername(Child<QLabel>(form, "lblUsername"))
        , lblPassword(Child<QLabel>(form, "lblPassword"))
        , lblBranch(Child<QLabel>(form, "lblBranch"))
        , lblUsernameIcon(Child<TGlyphLabel>(form, "lblUsernameIcon"))
        , lblPasswordIcon(Child<TGlyphLabel>(form, "lblPasswordIcon"))
        , edtUsername(Child<QLineEdit>(form, "edtUsername"))
        , edtPassword(Child<QLineEdit>(form, "edtPassword"))
        , scGPComboBox1(Child<QComboBox>(form, "scGPComboBox1"))
        , cmbBranch(Child<QComboBox>(form, "cmbBranch"))
        , FRememberMeCheck(Child<QCheckBox>(form, "FRememberMeCheck"))
        , btnLogin(Child<TPOSButton>(form, "btnLogin"))
        , btnExit(Child<TPOSButton>(form, "btnExit"))
        , lblVersion(Child<QLabel>(form, "lblVersion"))
        , tmrFadeIn(form->findChild<QTimer*>("tmrFadeIn"))
    {
    }
    QWidget* pnlHeader;
    QLabel* lblTitle;
    QLabel* lblSubtitle;
    QLabel* lblUsername;
    QLabel* lblPassword;
    QLabel* lblBranch;
    TGlyphLabel* lblUsernameIcon;
    TGlyphLabel* lblPasswordIcon;
    QLineEdit* edtUsername;
    QLineEdit* edtPassword;
    QComboBox* scGPComboBox1;
    QComboBox* cmbBranch;
    QCheckBox* FRememberMeCheck;
    TPOSButton* btnLogin;
    TPOSButton* btnExit;
    QLabel* lblVersion;
    QTimer* tmrFadeIn;
};

QStringList Items(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}
} // namespace

// The login window on a real SQLite file, its dialogs answered through the test hook.
class TestLoginForm : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void controls();
    void tabOrder();
    void startsTransparentAndFadesIn();
    void fadeInFinishesWithoutInput();
    void branchPickerShowsFocus();
    void rememberedUser_data();
    void rememberedUser();
    void firstShowConnectsAndListsBranches();
    void rememberedBranch_data();
    void rememberedBranch();
    void homeBranchProposed_data();
    void homeBranchProposed();
    void homeBranchProposedWhenTheNameIsLeft();
    void pickerKeepsHiddenListInStep();
    void noActiveBranch();
    void loginFailures_data();
    void loginFailures();
    void successFillsSessionAndRunsMainScreen();
    void loginToSalesScreenRoundTrips();
    void enterInPasswordBoxLogsIn();
    void uncheckedRememberMeDropsUsername();
    void namesakeCannotTakeOverTheSession();
    void exitEndsProgram();
    void closingTheLoginEndsProgram();
    void connectionFailureEndsProgram();
    void connectionFailureBoxRunsThroughTheSeam();
    void queryErrorAfterConnectionKeepsLoginOpen();
    void terminalNoticeOfSeveralTills_data();
    void terminalNoticeOfSeveralTills();
    void mainScreenRunsThroughTheSeam();

private:
    std::unique_ptr<TfrmLogin> NewForm();

    std::unique_ptr<TTestDatabase> FDb;
    std::unique_ptr<QTemporaryDir> FDir;
    QString FPrefs;
};

void TestLoginForm::initTestCase()
{
    UseTestPaths();
    UseTurkishLocale();
    RegisterFontSubstitutions();
    QCoreApplication::setApplicationVersion("1.0.0.1");
    qputenv("COMPUTERNAME", "testhost");
}

void TestLoginForm::init()
{
    QFile::remove(TLoginManager::TerminalPrefsPath());
    FDir = std::make_unique<QTemporaryDir>();
    FPrefs = FDir->filePath("login.ini");
    TSessionManager::Instance().Logout();
    if (QByteArray(QTest::currentTestFunction()).startsWith("connectionFailure"))
        return;
    FDb = std::make_unique<TTestDatabase>();
    LoginFixture::Fill();
}

void TestLoginForm::cleanup()
{
    FDb.reset();
    FDir.reset();
}

std::unique_ptr<TfrmLogin> TestLoginForm::NewForm()
{
    return std::make_unique<TfrmLogin>(nullptr, FPrefs);
}

void TestLoginForm::controls()
{
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QCOMPARE(form->size(), QSize(442, 626));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QVERIFY(form->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(ui.lblTitle->text(), QString("KIRVELO"));
    QCOMPARE(ui.lblSubtitle->text(), QString("Perakende Satış Sistemi"));
    QCOMPARE(ui.lblUsername->text(), QString("Kullanıcı"));
    QCOMPARE(ui.lblPassword->text(), QString("Şifre"));
    QCOMPARE(ui.lblBranch->text(), QString("Şube"));
    QCOMPARE(ui.edtUsername->placeholderText(), QString("Kullanıcı adınızı girin"));
    QCOMPARE(ui.edtPassword->placeholderText(), QString("Şifrenizi girin"));
    QCOMPARE(ui.edtPassword->echoMode(), QLineEdit::Password);
    QCOMPARE(ui.lblUsernameIcon->Glyph(), TGlyph::User);
    QCOMPARE(ui.lblPasswordIcon->Glyph(), TGlyph::Lock);
    QCOMPARE(ui.FRememberMeCheck->text(), QString("Beni Hatırla"));
    QCOMPARE(ui.FRememberMeCheck->pos(), QPoint(59, 253));
    QCOMPARE(ui.scGPComboBox1->maxVisibleItems(), 7);
    QVERIFY(ui.cmbBranch->isHidden());
    QCOMPARE(ui.lblVersion->text(), QString("Versiyon 1.0.0.1"));

    QCOMPARE(ui.btnLogin->text(), QString("Sistem Girişi"));
    QCOMPARE(ui.btnLogin->Glyph(), TGlyph::User);
    QCOMPARE(ui.btnLogin->Look().Fill, POSPalette::Primary);
    QCOMPARE(ui.btnLogin->Look().Text, QColor(Qt::white));
    QCOMPARE(ui.btnExit->text(), QString("Çıkış"));
    QCOMPARE(ui.btnExit->Glyph(), TGlyph::Power);
    QCOMPARE(ui.btnExit->Look().Fill, POSPalette::Content);
    for (const TPOSButton* button : {ui.btnLogin, ui.btnExit}) {
        QCOMPARE(button->font().family(), QString("Segoe UI Semibold"));
        QCOMPARE(button->font().pointSize(), 10);
        QVERIFY(button->font().bold());
        QVERIFY(button->height() >= 38);
        QCOMPARE(button->Look().GlyphSize, 18);
    }
    QCOMPARE(ui.pnlHeader->palette().color(QPalette::Window), POSPalette::Header);
}

void TestLoginForm::tabOrder()
{
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QList<QWidget*> chain;
    QWidget* next = ui.edtUsername;
    for (int i = 0; i < 6; ++i) {
        chain << next;
        do
            next = next->nextInFocusChain();
        while (next != ui.edtPassword && next != ui.scGPComboBox1 && next != ui.FRememberMeCheck &&
               next != ui.btnLogin && next != ui.btnExit && next != ui.edtUsername);
    }
    const QList<QWidget*> expected = {ui.edtUsername,      ui.edtPassword, ui.scGPComboBox1,
                                      ui.FRememberMeCheck, ui.btnLogin,    ui.btnExit};
    QCOMPARE(chain, expected);
}

void TestLoginForm::startsTransparentAndFadesIn()
{
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QCOMPARE(form->windowOpacity(), 0.0);
    QVERIFY(form->FormShow());
    QVERIFY(form->FadeInRunning());
    QCOMPARE(ui.tmrFadeIn->interval(), 15);
    int ticks = 0;
    QList<int> alphas;
    while (form->FadeInRunning() && ticks < 50) {
        form->tmrFadeInTimer();
        alphas << form->Alpha();
        ++ticks;
    }
    QCOMPARE(ticks, 15);
    QCOMPARE(alphas.first(), 18);
    QCOMPARE(alphas.at(13), 252);
    QCOMPARE(form->Alpha(), 255);
    QCOMPARE(form->windowOpacity(), 1.0);

    // The real timer gets there too.
    const auto shown = NewForm();
    shown->show();
    QTRY_COMPARE_WITH_TIMEOUT(shown->Alpha(), 255, 3000);
    QVERIFY(!shown->FadeInRunning());
}

// Each step of the fade reaches the display in a frame of its own: a window system that is told
// of an opacity change only by the next input event leaves the window faint until the cashier
// moves the mouse. Shown and left alone, the window is opaque within about a quarter second.
void TestLoginForm::fadeInFinishesWithoutInput()
{
    const auto form = NewForm();
    QList<int> paintedAlphas;
    TEventWatch paints(Child<QWidget>(form.get(), "pnlHeader"), QEvent::Paint,
                       [&] { paintedAlphas << form->Alpha(); });
    QElapsedTimer clock;
    form->show();
    QTRY_VERIFY(form->FadeInRunning());
    clock.start();
    QTRY_COMPARE_WITH_TIMEOUT(form->Alpha(), 255, 2000);
    const qint64 fadeMs = clock.elapsed();
    QTest::qWait(100);
    QCOMPARE(form->windowOpacity(), 1.0);
    QVERIFY(!form->FadeInRunning());
    QVERIFY2(fadeMs < 1000, qPrintable(QString::number(fadeMs)));
    QVERIFY2(paintedAlphas.contains(255), qPrintable(QString::number(paintedAlphas.size())));
    QVERIFY(paintedAlphas.size() >= 15);
}

void TestLoginForm::branchPickerShowsFocus()
{
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    form->show();
    QApplication::setActiveWindow(form.get());
    ui.edtUsername->setFocus();
    QTRY_VERIFY(!ui.scGPComboBox1->hasFocus());
    const QImage unfocused = ui.scGPComboBox1->grab().toImage();
    ui.scGPComboBox1->setFocus();
    QTRY_VERIFY(ui.scGPComboBox1->hasFocus());
    const QImage focused = ui.scGPComboBox1->grab().toImage();
    QVERIFY(focused != unfocused);
    // The mark is the frame in the focus colour.
    QCOMPARE(focused.pixelColor(focused.width() / 2, 0), POSPalette::FocusFrame);
}

void TestLoginForm::rememberedUser_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<bool>("checked");
    QTest::addColumn<QString>("user");
    QTest::addColumn<bool>("passwordFocused");
    QTest::newRow("remembered user") << "[Login]\nRememberMe=1\nSubeID=1\nUsername=kasiyer\n"
                                     << true << "kasiyer" << true;
    QTest::newRow("box unticked: name ignored")
        << "[Login]\nRememberMe=0\nSubeID=1\nUsername=kasiyer\n"
        << false << "" << false;
    QTest::newRow("ticked without a name") << "[Login]\nRememberMe=1\nUsername=  \n"
                                           << true << "" << false;
    QTest::newRow("no file") << "" << false << "" << false;
}

void TestLoginForm::rememberedUser()
{
    QFETCH(QString, ini);
    QFETCH(bool, checked);
    QFETCH(QString, user);
    QFETCH(bool, passwordFocused);
    if (!ini.isEmpty())
        WriteFile(FPrefs, ini);
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QCOMPARE(ui.FRememberMeCheck->isChecked(), checked);
    QCOMPARE(ui.edtUsername->text(), user);
    QWidget* expected = passwordFocused ? static_cast<QWidget*>(ui.edtPassword)
                                        : static_cast<QWidget*>(ui.edtUsername);
    QCOMPARE(form->InitialFocus(), expected);
    form->show();
    QApplication::setActiveWindow(form.get());
    QTRY_COMPARE(QApplication::focusWidget(), expected);
}

void TestLoginForm::firstShowConnectsAndListsBranches()
{
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QCOMPARE(form->TerminalID(), -1);
    form->show();
    QTRY_VERIFY(form->FadeInRunning() || form->Alpha() == 255);
    QCOMPARE(Items(ui.scGPComboBox1),
             QStringList({"Depo", "Kadıköy - Kırvelo Gıda A.Ş.", "Merkez - Kırvelo Gıda A.Ş."}));
    QCOMPARE(Items(ui.cmbBranch), Items(ui.scGPComboBox1));
    QCOMPARE(ui.cmbBranch->itemData(2).toInt(), 1);
    // The terminal named like this computer (COMPUTERNAME=testhost).
    QCOMPARE(form->TerminalID(), 3);
}

void TestLoginForm::rememberedBranch_data()
{
    QTest::addColumn<int>("remembered");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("subeID");
    QTest::newRow("remembered and active") << 2 << 1 << 2;
    QTest::newRow("remembered but inactive: first") << 3 << 0 << 5;
    QTest::newRow("none remembered: first") << 0 << 0 << 5;
}

void TestLoginForm::rememberedBranch()
{
    QFETCH(int, remembered);
    QFETCH(int, index);
    QFETCH(int, subeID);
    WriteFile(FPrefs, QString("[Login]\nRememberMe=0\nSubeID=%1\n").arg(remembered));
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QVERIFY(form->FormShow());
    QCOMPARE(ui.scGPComboBox1->currentIndex(), index);
    QCOMPARE(ui.cmbBranch->currentIndex(), index);
    QCOMPARE(form->SelectedSubeID(), subeID);
}

void TestLoginForm::homeBranchProposed_data()
{
    QTest::addColumn<QString>("ini");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("pickFirst");
    QTest::addColumn<int>("subeID");
    QTest::newRow("nothing remembered: the cashier's branch") << ""
                                                              << "kasiyer" << false << 1;
    QTest::newRow("nothing remembered: the manager's branch") << ""
                                                              << "yonetici" << false << 2;
    QTest::newRow("unknown user: the first branch") << ""
                                                    << "kimse" << false << 5;
    QTest::newRow("own branch not listed: the first branch") << ""
                                                             << "diger" << false << 5;
    QTest::newRow("remembered branch stays") << "[Login]\nRememberMe=0\nSubeID=2\n"
                                             << "kasiyer" << false << 2;
    QTest::newRow("remembered branch gone: the cashier's branch")
        << "[Login]\nRememberMe=0\nSubeID=3\n"
        << "kasiyer" << false << 1;
    QTest::newRow("picked by hand stays") << ""
                                          << "kasiyer" << true << 2;
    QTest::newRow("remembered name without a branch")
        << "[Login]\nRememberMe=1\nUsername=yonetici\n"
        << "" << false << 2;
}

// With no usable branch remembered, the first login offers the branch of the user whose name is
// typed (the list opens on "Depo" otherwise), unless the cashier picked one.
void TestLoginForm::homeBranchProposed()
{
    QFETCH(QString, ini);
    QFETCH(QString, typed);
    QFETCH(bool, pickFirst);
    QFETCH(int, subeID);
    if (!ini.isEmpty())
        WriteFile(FPrefs, ini);
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QVERIFY(form->FormShow());
    if (pickFirst)
        QTest::keyClick(ui.scGPComboBox1, Qt::Key_Down);
    if (!typed.isEmpty()) {
        QTest::keyClicks(ui.edtUsername, typed);
        QTest::keyClick(ui.edtUsername, Qt::Key_Return);
    }
    QCOMPARE(form->SelectedSubeID(), subeID);
    QCOMPARE(ui.scGPComboBox1->currentIndex(), ui.cmbBranch->currentIndex());
}

// Leaving the name field for the password proposes the branch as Enter does.
void TestLoginForm::homeBranchProposedWhenTheNameIsLeft()
{
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    form->show();
    QApplication::setActiveWindow(form.get());
    QVERIFY(form->FormShow());
    ui.edtUsername->setFocus();
    QTRY_VERIFY(ui.edtUsername->hasFocus());
    QCOMPARE(form->SelectedSubeID(), 5);
    QTest::keyClicks(ui.edtUsername, "yonetici");
    ui.edtPassword->setFocus();
    QTRY_VERIFY(ui.edtPassword->hasFocus());
    QCOMPARE(form->SelectedSubeID(), 2);
}

void TestLoginForm::pickerKeepsHiddenListInStep()
{
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QVERIFY(form->FormShow());
    ui.scGPComboBox1->setCurrentIndex(2);
    QCOMPARE(ui.cmbBranch->currentIndex(), 2);
    QCOMPARE(form->SelectedSubeID(), 1);
}

void TestLoginForm::noActiveBranch()
{
    FDb->Exec("UPDATE Sube SET IsActive = 0");
    TDialogAnswers answers;
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QVERIFY(form->FormShow());
    QCOMPARE(ui.scGPComboBox1->count(), 0);
    QCOMPARE(form->SelectedSubeID(), 0);
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Text, QString("Aktif şube kaydı bulunamadı."));

    // Logging in then asks for a branch.
    ui.edtUsername->setText("kasiyer");
    ui.edtPassword->setText("1234");
    form->btnLoginClick();
    QCOMPARE(answers.Last().Text, QString("Şube seçiniz!"));
    QCOMPARE(form->focusWidget(), ui.scGPComboBox1);
}

void TestLoginForm::loginFailures_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("branchIndex");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::addColumn<bool>("passwordCleared");
    QTest::newRow("no user") << "  "
                             << "1234" << 2 << "Kullanıcı Adı Giriniz!"
                             << "edtUsername" << false;
    QTest::newRow("no password") << "kasiyer"
                                 << "" << 2 << "Şifre Giriniz!"
                                 << "edtPassword" << false;
    QTest::newRow("spaces-only password") << "kasiyer"
                                          << "   " << 2 << "Şifre Giriniz!"
                                          << "edtPassword" << false;
    QTest::newRow("wrong password")
        << "kasiyer"
        << "4321" << 2 << "Kullanıcı adı, Şifre veya Şube seçimi hatalı!"
        << "edtPassword" << true;
    QTest::newRow("trailing space differs")
        << "kasiyer"
        << "1234 " << 2 << "Kullanıcı adı, Şifre veya Şube seçimi hatalı!"
        << "edtPassword" << true;
    QTest::newRow("branch of a firm without title")
        << "kasiyer"
        << "1234" << 0 << "Kullanıcı adı, Şifre veya Şube seçimi hatalı!"
        << "edtPassword" << true;
    QTest::newRow("unknown user") << "yok"
                                  << "1234" << 2 << "Kullanıcı adı, Şifre veya Şube seçimi hatalı!"
                                  << "edtPassword" << true;
}

void TestLoginForm::loginFailures()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(int, branchIndex);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    QFETCH(bool, passwordCleared);
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QVERIFY(form->FormShow());
    QSignalSpy ended(form.get(), &TfrmLogin::EndProgramRequested);
    TDialogAnswers answers;
    ui.edtUsername->setText(user);
    ui.edtPassword->setText(password);
    ui.scGPComboBox1->setCurrentIndex(branchIndex);
    form->btnLoginClick();
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Title, QString("Hata"));
    QCOMPARE(answers.Last().DlgType, int(dtError));
    QCOMPARE(answers.Last().Text, message);
    QCOMPARE(form->focusWidget()->objectName(), focus);
    QCOMPARE(ui.edtPassword->text().isEmpty(), passwordCleared || password.isEmpty());
    QVERIFY(!TSessionManager::Instance().GetIsLoggedIn());
    QCOMPARE(ended.count(), 0);
    QVERIFY(!QFile::exists(FPrefs));
}

void TestLoginForm::successFillsSessionAndRunsMainScreen()
{
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    form->show();
    QTRY_COMPARE(ui.scGPComboBox1->count(), 3);
    QSignalSpy ended(form.get(), &TfrmLogin::EndProgramRequested);
    bool loginHiddenDuringRun = false;
    int endedDuringRun = -1;
    TSessionInfo seen;
    form->SetMainScreenFactory([&](QWidget* owner) {
        seen = TSessionManager::Instance().GetSessionInfo();
        auto screen = std::make_unique<QDialog>(owner);
        QTimer::singleShot(50, screen.get(), [&, dialog = screen.get()] {
            loginHiddenDuringRun = form->isHidden();
            endedDuringRun = int(ended.count());
            dialog->reject();
        });
        return screen;
    });
    ui.edtUsername->setText(" kasiyer ");
    ui.edtPassword->setText("1234");
    ui.FRememberMeCheck->setChecked(true);
    ui.scGPComboBox1->setCurrentIndex(1);
    TDialogAnswers answers;
    form->btnLoginClick();
    QCOMPARE(answers.Count(), 0);
    QVERIFY(TSessionManager::Instance().GetIsLoggedIn());
    QCOMPARE(seen.KullaniciID, 3);
    QCOMPARE(seen.AdSoyad, QString("Ayşe Kasiyer"));
    QCOMPARE(seen.SubeID, 2);
    QCOMPARE(seen.SubeAdi, QString("Kadıköy"));
    QCOMPARE(seen.TerminalID, 3);
    QCOMPARE(seen.TerminalAdi, QString("testhost"));
    QCOMPARE(seen.VardiyaID, -1);
    QVERIFY(loginHiddenDuringRun);
    QCOMPARE(endedDuringRun, 0);
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).toInt(), 0);
    const QString prefs = ReadFile(FPrefs);
    QVERIFY2(prefs.contains("RememberMe=1"), qPrintable(prefs));
    QVERIFY2(prefs.contains("SubeID=2"), qPrintable(prefs));
    QVERIFY2(prefs.contains("Username=kasiyer\n"), qPrintable(prefs));
}

// From "Giriş" to the sales screen shown, a till far from its server waits for the password
// check, the last-login stamp, the session, the branch's stock rows and the open shift, and the
// catalogue's categories and first products, read once, when the screen shows.
void TestLoginForm::loginToSalesScreenRoundTrips()
{
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QVERIFY(form->FormShow());
    form->SetMainScreenFactory([](QWidget* owner) { return std::make_unique<TfrmMainPOS>(owner); });
    TDialogAnswers answers;
    qint64 shownAfter = -1;
    // The screen shows as its own modal loop would show it.
    answers.Step([&](QDialog& screen) {
        screen.show();
        shownAfter = dmMain->RoundTrips().Count();
        screen.reject();
    });
    ui.edtUsername->setText("kasiyer");
    ui.edtPassword->setText("1234");
    ui.scGPComboBox1->setCurrentIndex(1);
    const qint64 before = dmMain->RoundTrips().Count();
    form->btnLoginClick();
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Form, QString("TfrmMainPOS"));
    QCOMPARE(shownAfter - before, 5 + 2);
}

void TestLoginForm::enterInPasswordBoxLogsIn()
{
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QVERIFY(form->FormShow());
    form->SetMainScreenFactory([](QWidget*) { return nullptr; });
    QSignalSpy ended(form.get(), &TfrmLogin::EndProgramRequested);
    TDialogAnswers answers;
    ui.scGPComboBox1->setCurrentIndex(1);
    ui.edtUsername->setText("yonetici");
    QTest::keyClicks(ui.edtPassword, "Admin!");
    QTest::keyClick(ui.edtPassword, Qt::Key_Return);
    QVERIFY(TSessionManager::Instance().GetIsLoggedIn());
    QCOMPARE(TSessionManager::Instance().GetSessionInfo().RolAdi, QString("Yönetici"));
    QCOMPARE(ended.count(), 1);
    QCOMPARE(answers.Count(), 0);
}

void TestLoginForm::uncheckedRememberMeDropsUsername()
{
    WriteFile(FPrefs, "[Login]\nRememberMe=1\nSubeID=5\nUsername=kasiyer\n");
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QVERIFY(form->FormShow());
    QCOMPARE(form->SelectedSubeID(), 5);
    form->SetMainScreenFactory([](QWidget*) { return nullptr; });
    TDialogAnswers answers;
    ui.FRememberMeCheck->setChecked(false);
    ui.scGPComboBox1->setCurrentIndex(2);
    ui.edtPassword->setText("1234");
    form->btnLoginClick();
    QVERIFY(TSessionManager::Instance().GetIsLoggedIn());
    const QString prefs = ReadFile(FPrefs);
    QVERIFY2(!prefs.contains("Username"), qPrintable(prefs));
    QVERIFY2(prefs.contains("RememberMe=0"), qPrintable(prefs));
    QVERIFY2(prefs.contains("SubeID=1"), qPrintable(prefs));
}

void TestLoginForm::namesakeCannotTakeOverTheSession()
{
    // The deleted and the inactive namesake (users 1 and 2) come first in the table: chosen by
    // name alone, either would fill the session.
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QVERIFY(form->FormShow());
    form->SetMainScreenFactory([](QWidget*) { return nullptr; });
    TDialogAnswers answers;
    ui.edtUsername->setText("kasiyer");
    ui.edtPassword->setText("1234");
    ui.scGPComboBox1->setCurrentIndex(2);
    form->btnLoginClick();
    const TSessionInfo session = TSessionManager::Instance().GetSessionInfo();
    QCOMPARE(session.KullaniciID, 3);
    QCOMPARE(session.RolAdi, QString("Kasiyer"));
}

void TestLoginForm::exitEndsProgram()
{
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QSignalSpy ended(form.get(), &TfrmLogin::EndProgramRequested);
    QTest::mouseClick(ui.btnExit, Qt::LeftButton);
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).toInt(), 0);
}

// Closing a window never ends the program by itself (TKirveloApplication): closing the login
// window without logging in ends it as "Çıkış" does.
void TestLoginForm::closingTheLoginEndsProgram()
{
    TDialogAnswers answers;
    const auto form = NewForm();
    QSignalSpy ended(form.get(), &TfrmLogin::EndProgramRequested);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    QVERIFY(form->close());
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).toInt(), 0);
}

void TestLoginForm::connectionFailureEndsProgram()
{
    TdmMain unreachable;
    unreachable.SetAttempts({{"QSQLITE", FDir->filePath("yok/olmayan/klasor/x.db")}});
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QSignalSpy ended(form.get(), &TfrmLogin::EndProgramRequested);
    QString shown;
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* box = qobject_cast<TfrmCustomDialog*>(QApplication::activeModalWidget());
        if (!box)
            return;
        shown = Named<QLabel>(box, "lblMessage")->text();
        Named<QAbstractButton>(box, "btnOk")->click();
    });
    poll.start();
    form->show();
    QTRY_COMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).toInt(), 1);
    QVERIFY2(shown.startsWith("Kritik Bağlantı Hatası: Veritabanı Erişim Hatası!"),
             qPrintable(shown));
    QCOMPARE(ui.scGPComboBox1->count(), 0);
    QVERIFY(!form->FadeInRunning());
}

void TestLoginForm::connectionFailureBoxRunsThroughTheSeam()
{
    TdmMain unreachable;
    unreachable.SetAttempts({{"QSQLITE", FDir->filePath("yok/olmayan/klasor/x.db")}});
    const auto form = NewForm();
    QSignalSpy ended(form.get(), &TfrmLogin::EndProgramRequested);
    TDialogAnswers answers;
    QVERIFY(!form->FormShow());
    QCOMPARE(ended.count(), 1);
    QCOMPARE(ended.at(0).at(0).toInt(), 1);
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Form, QString("TfrmCustomDialog"));
    QCOMPARE(answers.Last().DlgType, int(dtError));
    QCOMPARE(answers.Last().Title, QGuiApplication::applicationDisplayName());
    QVERIFY2(answers.Last().Text.startsWith("Kritik Bağlantı Hatası: Veritabanı Erişim Hatası!"),
             qPrintable(answers.Last().Text));
}

// Only a failed connection ends the program. A query that fails once the connection is up
// reaches the application-wide handler, and the login window stays open and visible.
void TestLoginForm::queryErrorAfterConnectionKeepsLoginOpen()
{
    FDb->Exec("DROP TABLE Terminal");
    const auto form = NewForm();
    QSignalSpy ended(form.get(), &TfrmLogin::EndProgramRequested);
    TDialogAnswers answers;
    form->show();
    QTRY_COMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Form, QString("TfrmCustomDialog"));
    QVERIFY2(!answers.Last().Text.contains("Kritik Bağlantı Hatası"),
             qPrintable(answers.Last().Text));
    QVERIFY2(answers.Last().Text.contains("Terminal"), qPrintable(answers.Last().Text));
    QTRY_COMPARE(form->Alpha(), 255);
    QCOMPARE(ended.count(), 0);
    QVERIFY(form->isVisible());
}

void TestLoginForm::terminalNoticeOfSeveralTills_data()
{
    QTest::addColumn<QString>("computer");
    QTest::addColumn<bool>("oneTerminal");
    QTest::addColumn<bool>("notice");
    QTest::newRow("several, none named like the computer") << "BILINMEYEN" << false << true;
    QTest::newRow("several, one named like the computer") << "testhost" << false << false;
    QTest::newRow("one terminal") << "BILINMEYEN" << true << false;
}

void TestLoginForm::terminalNoticeOfSeveralTills()
{
    QFETCH(QString, computer);
    QFETCH(bool, oneTerminal);
    QFETCH(bool, notice);
    if (oneTerminal)
        FDb->Exec("UPDATE Terminal SET IsDeleted = 1 WHERE TerminalID <> 1");
    qputenv("COMPUTERNAME", computer.toUtf8());
    const auto form = NewForm();
    TDialogAnswers answers;
    const bool shown = form->FormShow();
    qputenv("COMPUTERNAME", "testhost");
    QVERIFY(shown);
    QCOMPARE(answers.Count(), notice ? 1 : 0);
    if (!notice)
        return;
    QCOMPARE(form->TerminalID(), 1);
    QCOMPARE(answers.Last().DlgType, int(dtWarning));
    QVERIFY2(answers.Last().Text.contains("KASA-01 (ID: 1)"), qPrintable(answers.Last().Text));
    QVERIFY2(answers.Last().Text.contains("[Terminal] TerminalID="),
             qPrintable(answers.Last().Text));
    // Said once: logging in does not repeat it.
    form->SetMainScreenFactory([](QWidget*) { return std::unique_ptr<QDialog>(); });
    Child<QLineEdit>(form.get(), "edtUsername")->setText("kasiyer");
    Child<QLineEdit>(form.get(), "edtPassword")->setText("1234");
    Child<QComboBox>(form.get(), "scGPComboBox1")->setCurrentIndex(2);
    form->btnLoginClick();
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(TSessionManager::Instance().GetSessionInfo().TerminalID, 1);
}

void TestLoginForm::mainScreenRunsThroughTheSeam()
{
    const auto form = NewForm();
    const TLoginControls ui(form.get());
    QVERIFY(form->FormShow());
    form->SetMainScreenFactory([](QWidget* owner) {
        auto screen = std::make_unique<QDialog>(owner);
        screen->setWindowTitle("Satış Ekranı");
        return screen;
    });
    QSignalSpy ended(form.get(), &TfrmLogin::EndProgramRequested);
    TDialogAnswers answers;
    bool loginHidden = false;
    answers.Step([&](QDialog& screen) {
        loginHidden = form->isHidden();
        screen.reject();
    });
    ui.edtUsername->setText("kasiyer");
    ui.edtPassword->setText("1234");
    ui.scGPComboBox1->setCurrentIndex(2);
    form->btnLoginClick();
    QCOMPARE(answers.Count(), 1);
    QCOMPARE(answers.Last().Form, QString("QDialog"));
    QCOMPARE(answers.Last().Title, QString("Satış Ekranı"));
    QVERIFY(loginHidden);
    QCOMPARE(ended.count(), 1);
}

QTEST_MAIN(TestLoginForm)
#include "tst_LoginForm.moc"
