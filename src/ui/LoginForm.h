#pragma once

#include "ui/BaseWindow.h"

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;
class TGlyphLabel;
class TPOSButton;
class TRoundShape;

// The login window, the program's main window. On its first showing it connects to the
// database (a failure shows "Kritik Bağlantı Hatası: " + the message and ends the program),
// fades in, learns the workstation's terminal (telling a shop of several tills when the first
// terminal was taken) and lists the branches, proposing the remembered branch, else the
// branch of the user whose name is typed. A successful login
// remembers user and branch in "login.ini", fills the session and runs the sales screen
// modally; when that returns, the program ends.
//
// The sales screen comes from SetMainScreenFactory, so the program plugs it in and tests can
// stand in for it. Ending the program is announced by EndProgramRequested(exitCode); the
// program connects it to QCoreApplication::exit.
class TfrmLogin : public TBaseWindow {
    Q_OBJECT
public:
    using TMainScreenFactory = std::function<std::unique_ptr<QDialog>(QWidget* owner)>;

    // `prefsPath`: the login preferences file; empty for "login.ini" in the per-user
    // configuration folder.
    explicit TfrmLogin(QWidget* parent = nullptr, const QString& prefsPath = {});
    ~TfrmLogin() override;

    void SetMainScreenFactory(TMainScreenFactory factory)
    {
        FMainScreenFactory = std::move(factory);
    }
    QString PrefsPath() const { return FPrefsPath; }

    // The handlers, public so that the program's start and tests can drive the same road.
    bool FormShow();
    void LoadBranches();
    // With no usable branch remembered and none chosen by hand, the branch list follows the
    // user name: it selects the user's own branch (once the name is typed and the field left).
    void ProposeHomeBranch();
    void btnLoginClick();
    bool AuthenticateUser();
    void SaveLoginPrefs();
    void OpenSession();
    void btnExitClick();
    void tmrFadeInTimer();

    int SelectedSubeID() const;
    int TerminalID() const { return FTerminalID; }
    int Alpha() const { return FAlpha; }
    bool FadeInRunning() const;
    // The control that gets the keyboard focus when the window opens.
    QWidget* InitialFocus() const { return FInitialFocus; }

Q_SIGNALS:
    void EndProgramRequested(int exitCode);

protected:
    void showEvent(QShowEvent* event) override;
    // Closing the window before a login ends the program, as "Çıkış" does.
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    // Opens the database; a failure is shown and ends the program.
    bool ConnectDatabase();
    void SetupControls();
    void LoadLoginPrefs();
    void ShowError(const QString& text);
    void EndProgram(int exitCode);

    QLabel* imgLogo;
    QLabel* lblTitle;
    QLabel* lblSubtitle;
    QLabel* lblUsername;
    QLabel* lblPassword;
    QLabel* lblBranch;
    QWidget* pnlUsernameFrame;
    TRoundShape* shpUsername;
    TGlyphLabel* lblUsernameIcon;
    QLineEdit* edtUsername;
    QWidget* pnlPasswordFrame;
    TRoundShape* shpPassword;
    TGlyphLabel* lblPasswordIcon;
    QLineEdit* edtPassword;
    QComboBox* scGPComboBox1;
    QComboBox* cmbBranch;
    QCheckBox* FRememberMeCheck;
    TPOSButton* btnLogin;
    TPOSButton* btnExit;
    QLabel* lblVersion;
    QTimer* tmrFadeIn;

    TMainScreenFactory FMainScreenFactory;
    QString FPrefsPath;
    QWidget* FInitialFocus = nullptr;
    int FTerminalID = -1;
    int FRememberedSubeID = 0;
    int FKullaniciID = 0;
    int FAlpha = 0;
    bool FShownOnce = false;
    bool FBranchRemembered = false; // the branch of "login.ini" is in the list
    bool FBranchChosen = false;     // the cashier picked a branch in the list
};
