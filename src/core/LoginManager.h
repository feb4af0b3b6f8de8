#pragma once

#include "core/SessionManager.h"

#include <QList>
#include <QString>

#include <optional>

// One row of the login screen's branch list.
struct TBranchEntry {
    int SubeID = 0;
    QString Text; // SubeAdi, or SubeAdi + " - " + the firm's title
};

// What "login.ini" remembers (section "Login").
struct TLoginPrefs {
    bool RememberMe = false;
    int SubeID = 0;
    QString Username;
};

// How the workstation's terminal was found (see TLoginManager).
enum class TTerminalSource { Configured, ComputerName, First, None };

struct TTerminalChoice {
    int TerminalID = -1;
    TTerminalSource Source = TTerminalSource::None;
    QString TerminalAdi;
    int Terminals = 0; // Terminal rows that are not deleted
};

enum class TLoginCheck { Ok, NoUsername, NoPassword, NoBranch, WrongCredentials };

struct TAuthResult {
    TLoginCheck Check = TLoginCheck::WrongCredentials;
    int KullaniciID = 0; // the user found, when Check is Ok
    QString Message;     // the text shown to the user, empty when Check is Ok
    bool Success() const { return Check == TLoginCheck::Ok; }
};

// The rules of the login screen without the window: branch list, preferences, password check,
// the workstation's terminal and the session record.
//
// The workstation's TerminalID, in this order:
//   1. the key TerminalID of section [Terminal] in "kirvelo.ini" in the per-user configuration
//      folder (beside "login.ini"), when it names a Terminal row that is not deleted;
//   2. the Terminal row (not deleted) whose TerminalAdi equals the computer name, letter case
//      and surrounding blanks aside; the lowest id when several do;
//   3. the first Terminal row (lowest id) that is not deleted, so a database with one till
//      works without any set-up;
//   4. otherwise -1 (no terminal known).
// The computer name is the environment variable COMPUTERNAME, else the host name. A shop with
// several terminals is told when the first one was taken (TerminalNotice), since its receipts
// and shifts would then carry another till's id.
class TLoginManager {
public:
    TLoginManager() = delete;

    static inline const QString MsgNoUsername = QStringLiteral("Kullanıcı Adı Giriniz!");
    static inline const QString MsgNoPassword = QStringLiteral("Şifre Giriniz!");
    static inline const QString MsgNoBranch = QStringLiteral("Şube seçiniz!");
    static inline const QString MsgWrongCredentials =
        QStringLiteral("Kullanıcı adı, Şifre veya Şube seçimi hatalı!");
    static inline const QString MsgNoBranches = QStringLiteral("Aktif şube kaydı bulunamadı.");

    // "login.ini" and "kirvelo.ini" in the per-user configuration folder.
    static QString LoginPrefsPath();
    static QString TerminalPrefsPath();

    static TLoginPrefs LoadLoginPrefs(const QString& path);
    // RememberMe and SubeID always; the trimmed Username only when rememberMe, else the key is
    // removed.
    static void SaveLoginPrefs(const QString& path, bool rememberMe, int subeID,
                               const QString& username);

    // Active branches of active firms, ordered by firm title and branch name.
    static QList<TBranchEntry> LoadBranches();
    // Index of the remembered branch in `branches`, else 0, else -1 for an empty list.
    static int BranchToSelect(const QList<TBranchEntry>& branches, int rememberedSubeID);
    // The own branch (Kullanici.SubeID) of the active user with this name (trimmed); 0 for an
    // empty name or no such user.
    static int HomeBranch(const QString& username);

    // SHA-256 of the UTF-8 bytes of the text exactly as typed, 64 lower-case hex digits.
    static QString PasswordHash(const QString& password);
    // Checks the entries, then the user against the database; on success stamps SonGiris.
    static TAuthResult AuthenticateUser(const QString& username, const QString& password,
                                        int subeID);

    // The session of the authenticated user on the chosen branch; none when the branch id is
    // not positive or the user, role or branch is not found.
    static std::optional<TSessionInfo> BuildSession(int kullaniciID, int subeID, int terminalID,
                                                    const QString& computerName);

    static QString ComputerName();
    static TTerminalChoice ResolveTerminal(const QString& prefsPath, const QString& computerName);
    // What the cashier is told about the terminal taken: empty unless the first of several
    // terminals was taken for want of a better match; then which one, and how to set it.
    static QString TerminalNotice(const TTerminalChoice& choice, const QString& prefsPath);

    // "Versiyon " + major.minor.release.build, or "Versiyon Bilinmiyor".
    static QString VersionText(const QString& version);
};
