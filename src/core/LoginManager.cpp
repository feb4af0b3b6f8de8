#include "core/LoginManager.h"

#include "core/AppPaths.h"
#include "core/DataModule.h"
#include "core/DbQuery.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSettings>
#include <QSysInfo>

namespace {
const QString kLoginSection = QStringLiteral("Login");

const QString kBranchesSql = QStringLiteral(
    "SELECT S.SubeID, S.SubeAdi, F.Unvan FROM Sube S INNER JOIN Firma F ON F.FirmaID = "
    "S.FirmaID WHERE S.IsActive = 1 AND S.IsDeleted = 0   AND F.IsActive = 1 AND F.IsDeleted = "
    "0 ORDER BY F.Unvan, S.SubeAdi");

const QString kHomeBranchSql = QStringLiteral(
    "SELECT TOP 1 K.SubeID FROM Kullanici K WHERE K.KullaniciAdi = :Username   AND K.AktifMi = 1 "
    "AND K.IsDeleted = 0 ORDER BY K.KullaniciID");

// SQLite compares text byte by byte, so a hash stored in upper case is folded first; SQL
// Server's collation already ignores the case.
const SqlText kAuthenticateSql{
    QStringLiteral(
        "SELECT K.KullaniciID FROM Kullanici K INNER JOIN Rol R ON K.RolID = R.RolID INNER JOIN "
        "Sube KS ON KS.SubeID = K.SubeID INNER JOIN Sube SS ON SS.SubeID = :SelectedSubeID   AND "
        "SS.FirmaID = KS.FirmaID   AND SS.IsActive = 1 AND SS.IsDeleted = 0 WHERE "
        "K.KullaniciAdi = :Username   AND K.SifreHash = :PasswordHash   AND K.AktifMi = 1   AND "
        "K.IsDeleted = 0"),
    QStringLiteral(
        "SELECT K.KullaniciID FROM Kullanici K INNER JOIN Rol R ON K.RolID = R.RolID INNER JOIN "
        "Sube KS ON KS.SubeID = K.SubeID INNER JOIN Sube SS ON SS.SubeID = :SelectedSubeID   AND "
        "SS.FirmaID = KS.FirmaID   AND SS.IsActive = 1 AND SS.IsDeleted = 0 WHERE "
        "K.KullaniciAdi = :Username   AND LOWER(K.SifreHash) = :PasswordHash   AND K.AktifMi = 1 "
        "  AND K.IsDeleted = 0")};

// The user is taken by the id the password check found: by name alone a deleted or inactive
// namesake could fill the session.
const QString kSessionSql = QStringLiteral(
    "SELECT K.KullaniciID, K.AdSoyad, K.KullaniciAdi, K.RolID,        R.RolAdi, S.SubeID, "
    "S.SubeAdi, S.FirmaID, T.TerminalID, T.TerminalAdi FROM Kullanici K INNER JOIN Rol R ON "
    "K.RolID = R.RolID INNER JOIN Sube KS ON K.SubeID = KS.SubeID INNER JOIN Sube S ON S.SubeID "
    "= :SelectedSubeID   AND S.FirmaID = KS.FirmaID   AND S.IsActive = 1 AND S.IsDeleted = 0 "
    "LEFT JOIN Terminal T ON T.TerminalID = :TerminalID WHERE K.KullaniciID = :KullaniciID");

const QString kTerminalExistsSql = QStringLiteral(
    "SELECT TerminalID FROM Terminal WHERE TerminalID = :TerminalID AND ISNULL(IsDeleted, 0) = 0");
const QString kTerminalByNameSql =
    QStringLiteral("SELECT TOP 1 TerminalID FROM Terminal WHERE ISNULL(IsDeleted, 0) = 0 AND "
                   "UPPER(LTRIM(RTRIM(TerminalAdi))) = UPPER(:Name) ORDER BY TerminalID");
const QString kFirstTerminalSql = QStringLiteral(
    "SELECT TOP 1 TerminalID FROM Terminal WHERE ISNULL(IsDeleted, 0) = 0 ORDER BY TerminalID");
const QString kTerminalCountSql =
    QStringLiteral("SELECT COUNT(*) FROM Terminal WHERE ISNULL(IsDeleted, 0) = 0");
const QString kTerminalNameSql =
    QStringLiteral("SELECT TerminalAdi FROM Terminal WHERE TerminalID = :TerminalID");

int FirstId(TDbQuery& query)
{
    query.Exec();
    return query.Next() ? query.Value(0).toInt() : -1;
}

bool ReadBool(const QVariant& value)
{
    // As INI booleans are read elsewhere: any non-zero number, or the word "true".
    const QString text = value.toString().trimmed();
    bool isNumber = false;
    const int number = text.toInt(&isNumber);
    if (isNumber)
        return number != 0;
    return text.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0;
}
} // namespace

QString TLoginManager::LoginPrefsPath()
{
    return AppPaths::UserConfigFolder() + QStringLiteral("login.ini");
}

QString TLoginManager::TerminalPrefsPath()
{
    return AppPaths::UserConfigFolder() + QStringLiteral("kirvelo.ini");
}

TLoginPrefs TLoginManager::LoadLoginPrefs(const QString& path)
{
    QSettings ini(path, QSettings::IniFormat);
    ini.beginGroup(kLoginSection);
    TLoginPrefs prefs;
    prefs.RememberMe = ReadBool(ini.value(QStringLiteral("RememberMe"), false));
    prefs.SubeID = ini.value(QStringLiteral("SubeID"), 0).toInt();
    prefs.Username = ini.value(QStringLiteral("Username")).toString();
    return prefs;
}

void TLoginManager::SaveLoginPrefs(const QString& path, bool rememberMe, int subeID,
                                   const QString& username)
{
    QSettings ini(path, QSettings::IniFormat);
    ini.beginGroup(kLoginSection);
    ini.setValue(QStringLiteral("RememberMe"), rememberMe ? 1 : 0);
    ini.setValue(QStringLiteral("SubeID"), subeID);
    if (rememberMe)
        ini.setValue(QStringLiteral("Username"), username.trimmed());
    else
        ini.remove(QStringLiteral("Username"));
    ini.endGroup();
    ini.sync();
}

QList<TBranchEntry> TLoginManager::LoadBranches()
{
    QList<TBranchEntry> branches;
    TDbQuery query(kBranchesSql);
    query.Exec();
    while (query.Next()) {
        const QString name = query.Value(QStringLiteral("SubeAdi")).toString();
        const QString title = query.Value(QStringLiteral("Unvan")).toString();
        const QString text =
            title.trimmed().isEmpty() ? name : QString(name + QStringLiteral(" - ") + title);
        branches.append({query.Value(QStringLiteral("SubeID")).toInt(), text});
    }
    return branches;
}

int TLoginManager::HomeBranch(const QString& username)
{
    const QString name = username.trimmed();
    if (name.isEmpty())
        return 0;
    TDbQuery query(kHomeBranchSql);
    query.Param(QStringLiteral("Username"), name).Exec();
    return query.Next() ? query.Value(0).toInt() : 0;
}

int TLoginManager::BranchToSelect(const QList<TBranchEntry>& branches, int rememberedSubeID)
{
    for (int i = 0; i < branches.size(); ++i) {
        if (branches.at(i).SubeID == rememberedSubeID)
            return i;
    }
    return branches.isEmpty() ? -1 : 0;
}

QString TLoginManager::PasswordHash(const QString& password)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(password.toUtf8(), QCryptographicHash::Sha256).toHex());
}

TAuthResult TLoginManager::AuthenticateUser(const QString& username, const QString& password,
                                            int subeID)
{
    if (username.trimmed().isEmpty())
        return {TLoginCheck::NoUsername, 0, MsgNoUsername};
    if (password.trimmed().isEmpty())
        return {TLoginCheck::NoPassword, 0, MsgNoPassword};
    if (subeID <= 0)
        return {TLoginCheck::NoBranch, 0, MsgNoBranch};

    int kullaniciID = -1;
    {
        // Let go before the stamp: on SQLite a read still open would have the write refused
        // when another connection has written meanwhile.
        TDbQuery query(kAuthenticateSql);
        query.Param(QStringLiteral("SelectedSubeID"), subeID)
            .Param(QStringLiteral("Username"), username.trimmed())
            .Param(QStringLiteral("PasswordHash"), PasswordHash(password));
        kullaniciID = FirstId(query);
    }
    if (kullaniciID <= 0)
        return {TLoginCheck::WrongCredentials, 0, MsgWrongCredentials};

    // QUOTED_IDENTIFIER goes again before the write, in the same batch.
    dmMain->ExecSql(QStringLiteral("SET QUOTED_IDENTIFIER ON; UPDATE Kullanici SET SonGiris = "
                                   "GETDATE() WHERE KullaniciID = :KullaniciID"),
                    {{QStringLiteral("KullaniciID"), kullaniciID}});
    return {TLoginCheck::Ok, kullaniciID, {}};
}

std::optional<TSessionInfo> TLoginManager::BuildSession(int kullaniciID, int subeID, int terminalID,
                                                        const QString& computerName)
{
    if (subeID <= 0)
        return std::nullopt;
    TDbQuery query(kSessionSql);
    query.Param(QStringLiteral("SelectedSubeID"), subeID)
        .Param(QStringLiteral("TerminalID"), terminalID)
        .Param(QStringLiteral("KullaniciID"), kullaniciID)
        .Exec();
    if (!query.Next())
        return std::nullopt;
    TSessionInfo session;
    session.KullaniciID = query.Value(QStringLiteral("KullaniciID")).toInt();
    session.AdSoyad = query.Value(QStringLiteral("AdSoyad")).toString();
    session.KullaniciAdi = query.Value(QStringLiteral("KullaniciAdi")).toString();
    session.RolID = query.Value(QStringLiteral("RolID")).toInt();
    session.RolAdi = query.Value(QStringLiteral("RolAdi")).toString();
    session.FirmaID = query.Value(QStringLiteral("FirmaID")).toInt();
    session.SubeID = query.Value(QStringLiteral("SubeID")).toInt();
    session.SubeAdi = query.Value(QStringLiteral("SubeAdi")).toString();
    session.TerminalID = terminalID;
    const QString terminalName = query.Value(QStringLiteral("TerminalAdi")).toString();
    session.TerminalAdi = terminalName.trimmed().isEmpty()
                              ? QString(QStringLiteral("POS-") + computerName)
                              : terminalName;
    session.VardiyaID = -1;
    session.VardiyaAcik = false;
    return session;
}

QString TLoginManager::ComputerName()
{
    const QString name = qEnvironmentVariable("COMPUTERNAME");
    return name.isEmpty() ? QSysInfo::machineHostName() : name;
}

TTerminalChoice TLoginManager::ResolveTerminal(const QString& prefsPath,
                                               const QString& computerName)
{
    TTerminalChoice choice;
    QSettings ini(prefsPath, QSettings::IniFormat);
    const int configured = ini.value(QStringLiteral("Terminal/TerminalID"), 0).toInt();
    if (configured > 0) {
        TDbQuery exists(kTerminalExistsSql);
        exists.Param(QStringLiteral("TerminalID"), configured);
        if (FirstId(exists) > 0)
            choice = {configured, TTerminalSource::Configured, {}, 0};
    }
    if (choice.TerminalID <= 0 && !computerName.trimmed().isEmpty()) {
        TDbQuery byName(kTerminalByNameSql);
        byName.Param(QStringLiteral("Name"), computerName.trimmed());
        const int id = FirstId(byName);
        if (id > 0)
            choice = {id, TTerminalSource::ComputerName, {}, 0};
    }
    if (choice.TerminalID <= 0) {
        TDbQuery first(kFirstTerminalSql);
        const int id = FirstId(first);
        if (id > 0)
            choice = {id, TTerminalSource::First, {}, 0};
    }
    TDbQuery count(kTerminalCountSql);
    count.Exec();
    choice.Terminals = count.Next() ? count.Value(0).toInt() : 0;
    if (choice.TerminalID > 0) {
        TDbQuery name(kTerminalNameSql);
        name.Param(QStringLiteral("TerminalID"), choice.TerminalID).Exec();
        choice.TerminalAdi = name.Next() ? name.Value(0).toString().trimmed() : QString();
    }
    return choice;
}

QString TLoginManager::TerminalNotice(const TTerminalChoice& choice, const QString& prefsPath)
{
    if (choice.Source != TTerminalSource::First || choice.Terminals < 2)
        return {};
    QString file = QDir::toNativeSeparators(prefsPath);
    const QString home = QDir::toNativeSeparators(QDir::homePath());
    if (!home.isEmpty() && file.startsWith(home + QDir::separator()))
        file = QStringLiteral("~") + file.mid(home.size());
    return QStringLiteral("Bu bilgisayarın terminali bulunamadı; satışlar ilk terminal %1 (ID: %2) "
                          "adına yazılacak. Ayarlamak için: %3, [Terminal] TerminalID=<numara>")
        .arg(choice.TerminalAdi.isEmpty() ? QStringLiteral("-") : choice.TerminalAdi)
        .arg(choice.TerminalID)
        .arg(file);
}

QString TLoginManager::VersionText(const QString& version)
{
    const QStringList parts = version.split(u'.', Qt::SkipEmptyParts);
    if (parts.isEmpty())
        return QStringLiteral("Versiyon Bilinmiyor");
    int numbers[4] = {0, 0, 0, 0};
    for (int i = 0; i < 4 && i < parts.size(); ++i)
        numbers[i] = parts.at(i).toInt();
    return QStringLiteral("Versiyon %1.%2.%3.%4")
        .arg(numbers[0])
        .arg(numbers[1])
        .arg(numbers[2])
        .arg(numbers[3]);
}
