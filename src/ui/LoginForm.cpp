#include "ui/LoginForm.h"

#include "core/DataModule.h"
#include "core/Exceptions.h"
#include "core/LoginManager.h"
#include "core/SessionManager.h"
#include "ui/CustomDialogForm.h"
#include "ui/Glyphs.h"
#include "ui/POSButton.h"
#include "ui/POSUITheme.h"
#include "ui/SlotGuard.h"
#include "ui/WaitCursor.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QTimer>

#include <tuple>

namespace {
constexpr int kWidth = 442;
constexpr int kHeight = 626;
constexpr int kHeaderHeight = 170;
constexpr int kFooterHeight = 40;
constexpr int kFieldLeft = 55;
constexpr int kFieldWidth = kWidth - 2 * kFieldLeft;
constexpr int kFieldHeight = 42;
constexpr int kLogoSize = 72;
constexpr int kFadeStep = 18;
constexpr int kFadeIntervalMs = 15;

QPixmap LogoPixmap()
{
    QPixmap pixmap(kLogoSize * 2, kLogoSize * 2);
    pixmap.setDevicePixelRatio(2);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(POSPalette::LogoBackdrop);
    painter.drawRoundedRect(QRectF(0, 0, kLogoSize, kLogoSize), 18, 18);
    painter.setBrush(POSPalette::LogoTile);
    painter.drawRoundedRect(QRectF(8, 8, kLogoSize - 16, kLogoSize - 16), 13, 13);
    Glyphs::Paint(painter, QRectF(18, 18, kLogoSize - 36, kLogoSize - 36), TGlyph::Cart,
                  POSPalette::Header, 2.6);
    return pixmap;
}

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, int pixelSize,
                  bool semibold, const QColor& color)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    QFont font = semibold ? TPOSUITheme::SemiboldFont(10) : TPOSUITheme::TextFont(10);
    font.setPixelSize(pixelSize);
    label->setFont(font);
    TPOSUITheme::SetLabelColor(label, color);
    return label;
}

// The login's glyph buttons over the theme's style: caption "Segoe UI Semibold" 10 bold, glyph
// 14, or 18 on buttons 38 pixels high or more.
void SetLoginButtonLook(TPOSButton* button)
{
    QFont font = TPOSUITheme::SemiboldFont(10);
    font.setBold(true);
    button->setFont(font);
    TButtonLook look = button->Look();
    look.GlyphSize = button->height() >= 38 ? 18 : 14;
    button->SetLook(look);
}
} // namespace

TfrmLogin::TfrmLogin(QWidget* parent, const QString& prefsPath)
    : TBaseWindow(parent, TWindowKind::Main,
                  {{kWidth, kHeight},
                   0,
                   "pnlHeader",
                   kHeaderHeight,
                   "pnlLogin",
                   "pnlFooter",
                   kFooterHeight})
    , imgLogo(new QLabel(Header()))
    , lblTitle(MakeLabel(Header(), QStringLiteral("lblTitle"), QStringLiteral("KIRVELO"), 32, true,
                         POSPalette::HeaderText))
    , lblSubtitle(MakeLabel(Content(), QStringLiteral("lblSubtitle"),
                            QStringLiteral("Perakende Satış Sistemi"), 17, true,
                            POSPalette::Header))
    , lblUsername(MakeLabel(Content(), QStringLiteral("lblUsername"), QStringLiteral("Kullanıcı"),
                            13, true, POSPalette::Header))
    , lblPassword(MakeLabel(Content(), QStringLiteral("lblPassword"), QStringLiteral("Şifre"), 13,
                            true, POSPalette::Header))
    , lblBranch(MakeLabel(Content(), QStringLiteral("lblBranch"), QStringLiteral("Şube"), 13, true,
                          POSPalette::Header))
    , pnlUsernameFrame(new QWidget(Content()))
    , shpUsername(new TRoundShape(pnlUsernameFrame))
    , lblUsernameIcon(new TGlyphLabel(Glyphs::FromMdl2(0xE77B), pnlUsernameFrame))
    , edtUsername(new QLineEdit(pnlUsernameFrame))
    , pnlPasswordFrame(new QWidget(Content()))
    , shpPassword(new TRoundShape(pnlPasswordFrame))
    , lblPasswordIcon(new TGlyphLabel(Glyphs::FromMdl2(0xE72E), pnlPasswordFrame))
    , edtPassword(new QLineEdit(pnlPasswordFrame))
    , scGPComboBox1(new QComboBox(Content()))
    , cmbBranch(new QComboBox(Content()))
    , FRememberMeCheck(new QCheckBox(QStringLiteral("Beni Hatırla"), Content()))
    , btnLogin(CreateButton(Content(), "btnLogin", QStringLiteral("Sistem Girişi"),
                            Glyphs::FromMdl2(0xE77B), TButtonVariant::Primary))
    , btnExit(CreateButton(Content(), "btnExit", QStringLiteral("Çıkış"), Glyphs::FromMdl2(0xE7E8),
                           TButtonVariant::Default))
    , lblVersion(
          MakeLabel(Footer(), QStringLiteral("lblVersion"), {}, 12, false, POSPalette::MutedText))
    , tmrFadeIn(new QTimer(this))
    , FPrefsPath(prefsPath.isEmpty() ? TLoginManager::LoginPrefsPath() : prefsPath)
{
    FormCreate();
}

TfrmLogin::~TfrmLogin() = default;

void TfrmLogin::FormCreate()
{
    FTerminalID = -1;
    FRememberedSubeID = 0;
    FAlpha = 0;
    setWindowOpacity(0);
    SetupControls();
    LoadLoginPrefs();
    lblVersion->setText(TLoginManager::VersionText(QCoreApplication::applicationVersion()));
    const bool rememberedUser =
        FRememberMeCheck->isChecked() && !edtUsername->text().trimmed().isEmpty();
    FInitialFocus = rememberedUser ? edtPassword : edtUsername;
    FInitialFocus->setFocus();
}

void TfrmLogin::SetupControls()
{
    setObjectName(QStringLiteral("frmLogin"));
    setWindowTitle(QStringLiteral("KIRVELO"));
    CentreOnScreen();

    imgLogo->setObjectName(QStringLiteral("imgLogo"));
    imgLogo->setGeometry((kWidth - kLogoSize) / 2, 24, kLogoSize, kLogoSize);
    imgLogo->setPixmap(LogoPixmap());
    lblTitle->setGeometry(0, 104, kWidth, 44);
    lblTitle->setAlignment(Qt::AlignCenter);

    lblSubtitle->setGeometry(kFieldLeft, 6, kFieldWidth, 26);
    lblSubtitle->setAlignment(Qt::AlignCenter);

    lblUsername->setGeometry(kFieldLeft + 2, 40, kFieldWidth, 18);
    lblPassword->setGeometry(kFieldLeft + 2, 110, kFieldWidth, 18);
    lblBranch->setGeometry(kFieldLeft + 2, 180, kFieldWidth, 18);

    const QString editStyle =
        QStringLiteral("QLineEdit { border: none; background: transparent; color: %1;"
                       " lineedit-password-character: 42; }")
            .arg(POSPalette::Text.name());
    for (auto [frame, shape, icon, edit, top, name] :
         {std::tuple{pnlUsernameFrame, shpUsername, lblUsernameIcon, edtUsername, 60,
                     QStringLiteral("Username")},
          std::tuple{pnlPasswordFrame, shpPassword, lblPasswordIcon, edtPassword, 130,
                     QStringLiteral("Password")}}) {
        frame->setObjectName(QStringLiteral("pnl") + name + QStringLiteral("Frame"));
        shape->setObjectName(QStringLiteral("shp") + name);
        icon->setObjectName(QStringLiteral("lbl") + name + QStringLiteral("Icon"));
        edit->setObjectName(QStringLiteral("edt") + name);
        frame->setGeometry(kFieldLeft, top, kFieldWidth, kFieldHeight);
        TPOSUITheme::StyleRoundFrame(frame, 8);
        shape->setGeometry(0, 0, kFieldWidth, kFieldHeight);
        TPOSUITheme::StyleRoundShape(shape);
        icon->setGeometry(10, 0, 26, kFieldHeight);
        icon->SetGlyphSize(18);
        icon->SetColors(POSPalette::FieldGlyph, POSPalette::DisabledText);
        TPOSUITheme::StyleEdit(edit);
        edit->setStyleSheet(editStyle);
        edit->setGeometry(44, 4, kFieldWidth - 54, kFieldHeight - 8);
    }
    edtUsername->setPlaceholderText(QStringLiteral("Kullanıcı adınızı girin"));
    edtPassword->setPlaceholderText(QStringLiteral("Şifrenizi girin"));
    edtPassword->setEchoMode(QLineEdit::Password);

    scGPComboBox1->setObjectName(QStringLiteral("scGPComboBox1"));
    scGPComboBox1->setGeometry(kFieldLeft, 200, kFieldWidth, kFieldHeight);
    scGPComboBox1->setFont(TPOSUITheme::TextFont(11));
    scGPComboBox1->setMaxVisibleItems(7);
    auto* branchList = new QListView(scGPComboBox1);
    scGPComboBox1->setView(branchList);
    scGPComboBox1->setStyleSheet(
        QStringLiteral(
            "QComboBox { background: %1; color: %2; border: 2px solid %3;"
            " border-radius: 8px; padding-left: 12px; }"
            "QComboBox:focus { border-color: %6; }"
            "QComboBox::drop-down { border: none; width: 30px; }"
            "QComboBox QAbstractItemView { background: %1; color: %2;"
            " selection-background-color: %4; selection-color: %5; outline: 0; }"
            "QComboBox QAbstractItemView::item { min-height: 30px; padding-left: 10px; }")
            .arg(POSPalette::Content.name(), POSPalette::Text.name(), POSPalette::FrameLight.name(),
                 POSPalette::Selected.name(), POSPalette::Header.name(),
                 POSPalette::FocusFrame.name()));
    auto* arrow = new TGlyphLabel(TGlyph::ChevronDown, scGPComboBox1);
    arrow->setObjectName(QStringLiteral("lblBranchArrow"));
    arrow->setGeometry(kFieldWidth - 36, 0, 30, kFieldHeight);
    arrow->SetGlyphSize(18);
    arrow->SetColors(POSPalette::FieldGlyph, POSPalette::DisabledText);
    cmbBranch->setObjectName(QStringLiteral("cmbBranch"));
    cmbBranch->hide();
    connect(scGPComboBox1, &QComboBox::currentIndexChanged, cmbBranch, &QComboBox::setCurrentIndex);
    connect(scGPComboBox1, &QComboBox::activated, this, [this] { FBranchChosen = true; });

    FRememberMeCheck->setObjectName(QStringLiteral("FRememberMeCheck"));
    FRememberMeCheck->move(59, 253);
    FRememberMeCheck->setFont(TPOSUITheme::TextFont(10));
    FRememberMeCheck->setStyleSheet(
        QStringLiteral("QCheckBox { color: %1; }").arg(POSPalette::Header.name()));
    FRememberMeCheck->adjustSize();

    btnLogin->setGeometry(kFieldLeft, 290, kFieldWidth, 46);
    SetLoginButtonLook(btnLogin);
    btnExit->setGeometry(kFieldLeft, 346, kFieldWidth, 40);
    SetLoginButtonLook(btnExit);

    lblVersion->setGeometry(0, 0, kWidth, kFooterHeight);
    lblVersion->setAlignment(Qt::AlignCenter);

    setTabOrder(edtUsername, edtPassword);
    setTabOrder(edtPassword, scGPComboBox1);
    setTabOrder(scGPComboBox1, FRememberMeCheck);
    setTabOrder(FRememberMeCheck, btnLogin);
    setTabOrder(btnLogin, btnExit);

    tmrFadeIn->setObjectName(QStringLiteral("tmrFadeIn"));
    tmrFadeIn->setInterval(kFadeIntervalMs);
    GuardedConnect(tmrFadeIn, &QTimer::timeout, this, &TfrmLogin::tmrFadeInTimer);
    GuardedConnect(btnLogin, &QPushButton::clicked, this, &TfrmLogin::btnLoginClick);
    GuardedConnect(btnExit, &QPushButton::clicked, this, &TfrmLogin::btnExitClick);
    GuardedConnect(edtPassword, &QLineEdit::returnPressed, this, &TfrmLogin::btnLoginClick);
    GuardedConnect(edtUsername, &QLineEdit::editingFinished, this, &TfrmLogin::ProposeHomeBranch);
}

void TfrmLogin::LoadLoginPrefs()
{
    const TLoginPrefs prefs = TLoginManager::LoadLoginPrefs(FPrefsPath);
    FRememberMeCheck->setChecked(prefs.RememberMe);
    FRememberedSubeID = prefs.SubeID;
    edtUsername->setText(prefs.RememberMe ? prefs.Username : QString());
}

void TfrmLogin::showEvent(QShowEvent* event)
{
    TBaseWindow::showEvent(event);
    if (FInitialFocus)
        FInitialFocus->setFocus();
    if (FShownOnce)
        return;
    FShownOnce = true;
    // Connecting waits until the event loop runs, so that a failure can end the program.
    QTimer::singleShot(0, this, [this] { CallGuarded([this] { FormShow(); }); });
}

bool TfrmLogin::FormShow()
{
    if (!ConnectDatabase())
        return false;
    FAlpha = 0;
    setWindowOpacity(0);
    tmrFadeIn->start();
    // Past the connection an error is not fatal: it reaches the application-wide handler and
    // the window stays open.
    const QString prefsPath = TLoginManager::TerminalPrefsPath();
    const TTerminalChoice terminal =
        TLoginManager::ResolveTerminal(prefsPath, TLoginManager::ComputerName());
    FTerminalID = terminal.TerminalID;
    LoadBranches();
    ProposeHomeBranch();
    const QString notice = TLoginManager::TerminalNotice(terminal, prefsPath);
    if (!notice.isEmpty())
        TfrmCustomDialog::ShowDialog(QStringLiteral("Uyarı"), notice, dtWarning, 0);
    return true;
}

bool TfrmLogin::ConnectDatabase()
{
    try {
        TWaitCursor wait;
        if (!dmMain)
            throw EDatabaseError(QStringLiteral("Veritabanı modülü oluşturulmadı."));
        dmMain->Connect();
        return true;
    } catch (const Exception& e) {
        ShowErrorBox(QGuiApplication::applicationDisplayName(),
                     QStringLiteral("Kritik Bağlantı Hatası: ") + e.Message());
        EndProgram(1);
        return false;
    }
}

bool TfrmLogin::FadeInRunning() const
{
    return tmrFadeIn->isActive();
}

void TfrmLogin::tmrFadeInTimer()
{
    if (FAlpha < 245) {
        FAlpha += kFadeStep;
    } else {
        FAlpha = 255;
        tmrFadeIn->stop();
    }
    setWindowOpacity(FAlpha / 255.0);
    // A frame flushed to the display carries the step with it; without one the window system
    // may only learn of it with the next input event, and the window stays faint until then.
    // The header band is repainted: the window itself lies under its bands and paints nothing.
    Header()->repaint();
}

void TfrmLogin::LoadBranches()
{
    const int wanted = FRememberedSubeID;
    const QSignalBlocker block(scGPComboBox1);
    scGPComboBox1->clear();
    cmbBranch->clear();
    const QList<TBranchEntry> branches = TLoginManager::LoadBranches();
    for (const TBranchEntry& branch : branches) {
        scGPComboBox1->addItem(branch.Text);
        cmbBranch->addItem(branch.Text, branch.SubeID);
    }
    const int index = TLoginManager::BranchToSelect(branches, wanted);
    scGPComboBox1->setCurrentIndex(index);
    cmbBranch->setCurrentIndex(index);
    FBranchRemembered = index >= 0 && wanted > 0 && branches.at(index).SubeID == wanted;
    if (branches.isEmpty())
        TfrmCustomDialog::ShowDialog(QStringLiteral("Bilgi"), TLoginManager::MsgNoBranches, dtInfo,
                                     0);
}

void TfrmLogin::ProposeHomeBranch()
{
    if (FBranchRemembered || FBranchChosen)
        return;
    const int index = cmbBranch->findData(TLoginManager::HomeBranch(edtUsername->text()));
    if (index >= 0)
        scGPComboBox1->setCurrentIndex(index);
}

int TfrmLogin::SelectedSubeID() const
{
    return cmbBranch->currentIndex() < 0 ? 0 : cmbBranch->currentData().toInt();
}

void TfrmLogin::btnLoginClick()
{
    if (!AuthenticateUser())
        return;
    SaveLoginPrefs();
    OpenSession();
}

void TfrmLogin::ShowError(const QString& text)
{
    TfrmCustomDialog::ShowDialog(QStringLiteral("Hata"), text, dtError, 0);
}

bool TfrmLogin::AuthenticateUser()
{
    TAuthResult result;
    {
        TWaitCursor wait;
        result = TLoginManager::AuthenticateUser(edtUsername->text(), edtPassword->text(),
                                                 SelectedSubeID());
    }
    switch (result.Check) {
    case TLoginCheck::Ok:
        FKullaniciID = result.KullaniciID;
        return true;
    case TLoginCheck::NoUsername:
        ShowError(result.Message);
        edtUsername->setFocus();
        break;
    case TLoginCheck::NoPassword:
        ShowError(result.Message);
        edtPassword->setFocus();
        break;
    case TLoginCheck::NoBranch:
        ShowError(result.Message);
        scGPComboBox1->setFocus();
        break;
    case TLoginCheck::WrongCredentials:
        ShowError(result.Message);
        edtPassword->clear();
        edtPassword->setFocus();
        break;
    }
    return false;
}

void TfrmLogin::SaveLoginPrefs()
{
    TLoginManager::SaveLoginPrefs(FPrefsPath, FRememberMeCheck->isChecked(), SelectedSubeID(),
                                  edtUsername->text());
}

void TfrmLogin::OpenSession()
{
    const int subeID = SelectedSubeID();
    if (subeID <= 0)
        return;
    const std::optional<TSessionInfo> session = TLoginManager::BuildSession(
        FKullaniciID, subeID, FTerminalID, TLoginManager::ComputerName());
    if (!session)
        return;
    TSessionManager::Instance().Login(*session);
    std::unique_ptr<QDialog> mainScreen = FMainScreenFactory ? FMainScreenFactory(this) : nullptr;
    hide();
    if (mainScreen)
        RunModal(*mainScreen);
    EndProgram(0);
}

void TfrmLogin::btnExitClick()
{
    EndProgram(0);
}

void TfrmLogin::closeEvent(QCloseEvent* event)
{
    TBaseWindow::closeEvent(event);
    if (event->isAccepted())
        EndProgram(0);
}

void TfrmLogin::EndProgram(int exitCode)
{
    Q_EMIT EndProgramRequested(exitCode);
}
