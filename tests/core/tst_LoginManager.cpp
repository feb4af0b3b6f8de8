#include "core/DataModule.h"
#include "core/LoginManager.h"
#include "support/LoginFixture.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// The login rules against a real SQLite file.
class TestLoginManager : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void branchListTexts();
    void branchToSelect_data();
    void branchToSelect();
    void homeBranch_data();
    void homeBranch();
    void passwordHashIsLowerHexOfExactText();
    void authenticate_data();
    void authenticate();
    void successStampsLastLogin();
    void failureLeavesLastLoginAlone();
    void anotherWriterBeforeTheStampIsNoFailure();
    void hashStoredInUpperCaseStillMatches();
    void sessionTakesTheAuthenticatedUser();
    void sessionOnAnotherBranchOfTheFirm();
    void sessionRefusesForeignOrMissingBranch();
    void terminalWithoutNameGetsComputerName_data();
    void terminalWithoutNameGetsComputerName();
    void rememberMeFile();
    void prefsDefaults();
    void prefsWrittenElsewhereAreRead();
    void rememberMeValues_data();
    void rememberMeValues();
    void resolveTerminal_data();
    void resolveTerminal();
    void noTerminalRowsGivesMinusOne();
    void terminalNotice_data();
    void terminalNotice();
    void versionText_data();
    void versionText();

private:
    std::unique_ptr<TTestDatabase> FDb;
    std::unique_ptr<QTemporaryDir> FDir;
    QString IniPath(const QString& name) const { return FDir->filePath(name); }
};

void TestLoginManager::initTestCase()
{
    UseTestPaths();
}

void TestLoginManager::init()
{
    FDb = std::make_unique<TTestDatabase>();
    FDir = std::make_unique<QTemporaryDir>();
    LoginFixture::Fill();
}

void TestLoginManager::cleanup()
{
    FDb.reset();
    FDir.reset();
}

void TestLoginManager::branchListTexts()
{
    const QList<TBranchEntry> branches = TLoginManager::LoadBranches();
    QStringList texts;
    QList<int> ids;
    for (const TBranchEntry& b : branches) {
        texts << b.Text;
        ids << b.SubeID;
    }
    // Ordered by firm title, then branch; inactive and deleted branches and branches of an
    // inactive firm are left out; a firm without a title adds nothing to the text.
    QCOMPARE(texts,
             QStringList({"Depo", "Kadıköy - Kırvelo Gıda A.Ş.", "Merkez - Kırvelo Gıda A.Ş."}));
    QCOMPARE(ids, QList<int>({5, 2, 1}));
}

void TestLoginManager::branchToSelect_data()
{
    QTest::addColumn<int>("remembered");
    QTest::addColumn<int>("expected");
    QTest::newRow("remembered branch listed") << 1 << 2;
    QTest::newRow("remembered branch now inactive: first") << 3 << 0;
    QTest::newRow("nothing remembered: first") << 0 << 0;
}

void TestLoginManager::branchToSelect()
{
    QFETCH(int, remembered);
    QFETCH(int, expected);
    QCOMPARE(TLoginManager::BranchToSelect(TLoginManager::LoadBranches(), remembered), expected);
    QCOMPARE(TLoginManager::BranchToSelect({}, remembered), -1);
}

void TestLoginManager::homeBranch_data()
{
    QTest::addColumn<QString>("username");
    QTest::addColumn<int>("subeID");
    QTest::newRow("cashier") << "kasiyer" << 1;
    QTest::newRow("blanks around the name") << "  kasiyer " << 1;
    QTest::newRow("manager") << "yonetici" << 2;
    QTest::newRow("branch of an inactive firm") << "diger" << 4;
    QTest::newRow("no such user") << "kimse" << 0;
    QTest::newRow("no name") << "  " << 0;
}

// The deleted and the inactive namesakes of "kasiyer" sit on other branches; only the active
// user's branch counts.
void TestLoginManager::homeBranch()
{
    QFETCH(QString, username);
    QFETCH(int, subeID);
    FDb->Exec("UPDATE Kullanici SET SubeID = 5 WHERE KullaniciID = 1");
    FDb->Exec("UPDATE Kullanici SET SubeID = 2 WHERE KullaniciID = 2");
    QCOMPARE(TLoginManager::HomeBranch(username), subeID);
}

void TestLoginManager::passwordHashIsLowerHexOfExactText()
{
    QCOMPARE(TLoginManager::PasswordHash("1234"),
             QString("03ac674216f3e15c761ee1a5e255f067953623c8b388b4459e13f978d7c846f4"));
    QVERIFY(TLoginManager::PasswordHash("1234 ") != TLoginManager::PasswordHash("1234"));
    // UTF-8 bytes of Turkish letters.
    QCOMPARE(TLoginManager::PasswordHash("şifre"), LoginFixture::Sha256Hex("şifre"));
}

void TestLoginManager::authenticate_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("subeID");
    QTest::addColumn<int>("check");
    QTest::addColumn<int>("kullaniciID");
    QTest::addColumn<QString>("message");
    const QString wrong = TLoginManager::MsgWrongCredentials;
    const int bad = int(TLoginCheck::WrongCredentials);
    QTest::newRow("success") << "kasiyer"
                             << "1234" << 1 << int(TLoginCheck::Ok) << 3 << "";
    QTest::newRow("user name trimmed") << "  kasiyer "
                                       << "1234" << 1 << int(TLoginCheck::Ok) << 3 << "";
    QTest::newRow("other branch of the same firm")
        << "kasiyer"
        << "1234" << 2 << int(TLoginCheck::Ok) << 3 << "";
    QTest::newRow("empty user") << ""
                                << "1234" << 1 << int(TLoginCheck::NoUsername) << 0
                                << TLoginManager::MsgNoUsername;
    QTest::newRow("blank user") << "   "
                                << "1234" << 1 << int(TLoginCheck::NoUsername) << 0
                                << TLoginManager::MsgNoUsername;
    QTest::newRow("empty password")
        << "kasiyer"
        << "" << 1 << int(TLoginCheck::NoPassword) << 0 << TLoginManager::MsgNoPassword;
    QTest::newRow("spaces-only password counts as empty")
        << "kasiyer"
        << "   " << 1 << int(TLoginCheck::NoPassword) << 0 << TLoginManager::MsgNoPassword;
    QTest::newRow("no branch") << "kasiyer"
                               << "1234" << 0 << int(TLoginCheck::NoBranch) << 0
                               << TLoginManager::MsgNoBranch;
    QTest::newRow("wrong password") << "kasiyer"
                                    << "12345" << 1 << bad << 0 << wrong;
    QTest::newRow("password is not trimmed") << "kasiyer"
                                             << " 1234" << 1 << bad << 0 << wrong;
    QTest::newRow("trailing space is part of the password")
        << "bosluk"
        << "pass " << 1 << int(TLoginCheck::Ok) << 5 << "";
    QTest::newRow("without the trailing space") << "bosluk"
                                                << "pass" << 1 << bad << 0 << wrong;
    QTest::newRow("unknown user") << "kimse"
                                  << "1234" << 1 << bad << 0 << wrong;
    QTest::newRow("inactive branch") << "kasiyer"
                                     << "1234" << 3 << bad << 0 << wrong;
    QTest::newRow("deleted branch") << "kasiyer"
                                    << "1234" << 6 << bad << 0 << wrong;
    QTest::newRow("branch of another firm") << "kasiyer"
                                            << "1234" << 4 << bad << 0 << wrong;
    QTest::newRow("user of another firm") << "diger"
                                          << "1234" << 1 << bad << 0 << wrong;
}

void TestLoginManager::authenticate()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(int, subeID);
    QFETCH(int, check);
    QFETCH(int, kullaniciID);
    QFETCH(QString, message);
    const TAuthResult result = TLoginManager::AuthenticateUser(user, password, subeID);
    QCOMPARE(int(result.Check), check);
    QCOMPARE(result.KullaniciID, kullaniciID);
    QCOMPARE(result.Message, message);
    QCOMPARE(result.Success(), check == int(TLoginCheck::Ok));
}

void TestLoginManager::successStampsLastLogin()
{
    QVERIFY(TLoginManager::AuthenticateUser("kasiyer", "1234", 1).Success());
    const QString stamp =
        FDb->Scalar("SELECT SonGiris FROM Kullanici WHERE KullaniciID = 3").toString();
    QVERIFY2(QDateTime::fromString(stamp, "yyyy-MM-dd HH:mm:ss").isValid(), qPrintable(stamp));
    QVERIFY(FDb->Scalar("SELECT SonGiris FROM Kullanici WHERE KullaniciID = 1").isNull());
    QVERIFY(FDb->Scalar("SELECT SonGiris FROM Kullanici WHERE KullaniciID = 2").isNull());
}

void TestLoginManager::failureLeavesLastLoginAlone()
{
    QVERIFY(!TLoginManager::AuthenticateUser("kasiyer", "0000", 1).Success());
    QCOMPARE(FDb->Count("Kullanici WHERE SonGiris IS NOT NULL"), 0);
}

// Another connection to the file (a second till, the search key's filler) commits between the
// password check and the last-login stamp: the stamp begins a write of its own, with no read of
// the check still open that SQLite would have to refuse ("database is locked").
void TestLoginManager::anotherWriterBeforeTheStampIsNoFailure()
{
    if (TestRoad() == TTestRoad::SqlServer)
        QSKIP("two tills on one SQLite file");
    {
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", "other-till");
        other.setDatabaseName(FDb->Path());
        QVERIFY(other.open());
        dmMain->SetStatementHook([&](const QString& sql) {
            if (sql.contains("SonGiris"))
                QVERIFY(QSqlQuery(other).exec("INSERT INTO Rol (RolAdi) VALUES ('Başka kasa')"));
        });
        const TAuthResult result = TLoginManager::AuthenticateUser("kasiyer", "1234", 1);
        dmMain->SetStatementHook({});
        QVERIFY(result.Success());
        QVERIFY(!FDb->Scalar("SELECT SonGiris FROM Kullanici WHERE KullaniciID = 3").isNull());
        other.close();
    }
    QSqlDatabase::removeDatabase("other-till");
}

void TestLoginManager::hashStoredInUpperCaseStillMatches()
{
    const TAuthResult result = TLoginManager::AuthenticateUser("yonetici", "Admin!", 2);
    QVERIFY(result.Success());
    QCOMPARE(result.KullaniciID, 4);
    // The typed text is still hashed exactly: another letter case is another password.
    QVERIFY(!TLoginManager::AuthenticateUser("yonetici", "admin!", 2).Success());
}

void TestLoginManager::sessionTakesTheAuthenticatedUser()
{
    // Users 1 (deleted) and 2 (inactive) share the name and come first in the table.
    const TAuthResult auth = TLoginManager::AuthenticateUser("kasiyer", "1234", 1);
    QVERIFY(auth.Success());
    const std::optional<TSessionInfo> session =
        TLoginManager::BuildSession(auth.KullaniciID, 1, 1, "KASA99");
    QVERIFY(session);
    QCOMPARE(session->KullaniciID, 3);
    QCOMPARE(session->AdSoyad, QString("Ayşe Kasiyer"));
    QCOMPARE(session->KullaniciAdi, QString("kasiyer"));
    QCOMPARE(session->RolID, 1);
    QCOMPARE(session->RolAdi, QString("Kasiyer"));
    QCOMPARE(session->FirmaID, 1);
    QCOMPARE(session->SubeID, 1);
    QCOMPARE(session->SubeAdi, QString("Merkez"));
    QCOMPARE(session->TerminalID, 1);
    QCOMPARE(session->TerminalAdi, QString("KASA-01"));
    QCOMPARE(session->VardiyaID, -1);
    QCOMPARE(session->VardiyaAcik, false);
}

void TestLoginManager::sessionOnAnotherBranchOfTheFirm()
{
    const std::optional<TSessionInfo> session = TLoginManager::BuildSession(3, 2, 1, "X");
    QVERIFY(session);
    QCOMPARE(session->SubeID, 2);
    QCOMPARE(session->SubeAdi, QString("Kadıköy"));
    QCOMPARE(session->FirmaID, 1);
}

void TestLoginManager::sessionRefusesForeignOrMissingBranch()
{
    QVERIFY(!TLoginManager::BuildSession(3, 0, 1, "X"));
    QVERIFY(!TLoginManager::BuildSession(3, -1, 1, "X"));
    QVERIFY(!TLoginManager::BuildSession(3, 4, 1, "X")); // another firm
    QVERIFY(!TLoginManager::BuildSession(3, 3, 1, "X")); // inactive
    QVERIFY(!TLoginManager::BuildSession(99, 1, 1, "X"));
}

void TestLoginManager::terminalWithoutNameGetsComputerName_data()
{
    QTest::addColumn<int>("terminalID");
    QTest::newRow("terminal row without a name") << 4;
    QTest::newRow("no terminal known") << -1;
}

void TestLoginManager::terminalWithoutNameGetsComputerName()
{
    QFETCH(int, terminalID);
    FDb->Exec("INSERT INTO Terminal (TerminalID, TerminalAdi, IsDeleted) VALUES (5, '   ', 0)");
    const std::optional<TSessionInfo> session =
        TLoginManager::BuildSession(3, 1, terminalID, "KASA99");
    QVERIFY(session);
    QCOMPARE(session->TerminalID, terminalID);
    QCOMPARE(session->TerminalAdi, QString("POS-KASA99"));
    const std::optional<TSessionInfo> blank = TLoginManager::BuildSession(3, 1, 5, "KASA99");
    QCOMPARE(blank->TerminalAdi, QString("POS-KASA99"));
}

void TestLoginManager::rememberMeFile()
{
    const QString path = IniPath("login.ini");
    TLoginManager::SaveLoginPrefs(path, true, 2, "  kasiyer ");
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString remembered = QString::fromUtf8(file.readAll());
    file.close();
    QVERIFY2(remembered.contains("[Login]"), qPrintable(remembered));
    QVERIFY2(remembered.contains("RememberMe=1"), qPrintable(remembered));
    QVERIFY2(remembered.contains("SubeID=2"), qPrintable(remembered));
    QVERIFY2(remembered.contains("Username=kasiyer\n"), qPrintable(remembered));
    TLoginPrefs prefs = TLoginManager::LoadLoginPrefs(path);
    QCOMPARE(prefs.RememberMe, true);
    QCOMPARE(prefs.SubeID, 2);
    QCOMPARE(prefs.Username, QString("kasiyer"));

    TLoginManager::SaveLoginPrefs(path, false, 1, "kasiyer");
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QString forgotten = QString::fromUtf8(file.readAll());
    QVERIFY2(!forgotten.contains("Username"), qPrintable(forgotten));
    QVERIFY2(forgotten.contains("RememberMe=0"), qPrintable(forgotten));
    QVERIFY2(forgotten.contains("SubeID=1"), qPrintable(forgotten));
    prefs = TLoginManager::LoadLoginPrefs(path);
    QCOMPARE(prefs.RememberMe, false);
    QCOMPARE(prefs.SubeID, 1);
    QCOMPARE(prefs.Username, QString());
}

void TestLoginManager::prefsDefaults()
{
    const TLoginPrefs prefs = TLoginManager::LoadLoginPrefs(IniPath("missing.ini"));
    QCOMPARE(prefs.RememberMe, false);
    QCOMPARE(prefs.SubeID, 0);
    QCOMPARE(prefs.Username, QString());
    QVERIFY(TLoginManager::LoginPrefsPath().endsWith("/login.ini"));
    QVERIFY(TLoginManager::TerminalPrefsPath().endsWith("/kirvelo.ini"));
}

void TestLoginManager::prefsWrittenElsewhereAreRead()
{
    // A file written by hand (or by another program) with Turkish letters and "true".
    const QString path = IniPath("hand.ini");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QString("[Login]\nRememberMe=true\nSubeID=5\nUsername=Ayşe\n").toUtf8());
    file.close();
    const TLoginPrefs prefs = TLoginManager::LoadLoginPrefs(path);
    QCOMPARE(prefs.RememberMe, true);
    QCOMPARE(prefs.SubeID, 5);
    QCOMPARE(prefs.Username, QString("Ayşe"));
}

void TestLoginManager::rememberMeValues_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("expected");
    QTest::newRow("1") << "1" << true;
    QTest::newRow("any other number") << "2" << true;
    QTest::newRow("negative") << "-1" << true;
    QTest::newRow("0") << "0" << false;
    QTest::newRow("True") << "True" << true;
    QTest::newRow("false") << "false" << false;
    QTest::newRow("not a boolean") << "evet" << false;
    QTest::newRow("empty") << "" << false;
}

void TestLoginManager::rememberMeValues()
{
    QFETCH(QString, stored);
    QFETCH(bool, expected);
    const QString path = IniPath("values.ini");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QString("[Login]\nRememberMe=" + stored + "\n").toUtf8());
    file.close();
    QCOMPARE(TLoginManager::LoadLoginPrefs(path).RememberMe, expected);
}

void TestLoginManager::resolveTerminal_data()
{
    QTest::addColumn<QVariant>("configured");
    QTest::addColumn<QString>("computer");
    QTest::addColumn<int>("expected");
    QTest::newRow("configured id") << QVariant(4) << "testhost" << 4;
    QTest::newRow("configured id missing: by name") << QVariant(99) << "testhost" << 3;
    QTest::newRow("configured id deleted: by name") << QVariant(2) << "testhost" << 3;
    QTest::newRow("configured text not a number: by name") << QVariant("abc") << "testhost" << 3;
    QTest::newRow("by name, letter case and deleted row aside") << QVariant() << "TestHost" << 3;
    QTest::newRow("unknown name: first row") << QVariant() << "BILINMEYEN" << 1;
    QTest::newRow("no computer name: first row") << QVariant() << "" << 1;
}

void TestLoginManager::resolveTerminal()
{
    QFETCH(QVariant, configured);
    QFETCH(QString, computer);
    QFETCH(int, expected);
    const QString path = IniPath("kirvelo.ini");
    if (configured.isValid()) {
        QSettings ini(path, QSettings::IniFormat);
        ini.setValue("Terminal/TerminalID", configured);
    }
    QCOMPARE(TLoginManager::ResolveTerminal(path, computer).TerminalID, expected);
}

void TestLoginManager::noTerminalRowsGivesMinusOne()
{
    FDb->Exec("UPDATE Terminal SET IsDeleted = 1");
    QCOMPARE(TLoginManager::ResolveTerminal(IniPath("kirvelo.ini"), "testhost").TerminalID, -1);
    QCOMPARE(TLoginManager::TerminalNotice(
                 TLoginManager::ResolveTerminal(IniPath("kirvelo.ini"), "testhost"),
                 IniPath("kirvelo.ini")),
             QString());
}

// Only the first of several terminals, taken for want of a match, is worth a word: receipts
// and shifts would carry another till's id.
void TestLoginManager::terminalNotice_data()
{
    QTest::addColumn<QVariant>("configured");
    QTest::addColumn<QString>("computer");
    QTest::addColumn<bool>("oneTerminal");
    QTest::addColumn<bool>("notice");
    QTest::newRow("named like the computer") << QVariant() << "testhost" << false << false;
    QTest::newRow("configured") << QVariant(4) << "BILINMEYEN" << false << false;
    QTest::newRow("first of several") << QVariant() << "BILINMEYEN" << false << true;
    QTest::newRow("configured id missing, first of several")
        << QVariant(99) << "BILINMEYEN" << false << true;
    QTest::newRow("the only terminal") << QVariant() << "BILINMEYEN" << true << false;
}

void TestLoginManager::terminalNotice()
{
    QFETCH(QVariant, configured);
    QFETCH(QString, computer);
    QFETCH(bool, oneTerminal);
    QFETCH(bool, notice);
    const QString path = IniPath("kirvelo.ini");
    if (configured.isValid()) {
        QSettings ini(path, QSettings::IniFormat);
        ini.setValue("Terminal/TerminalID", configured);
    }
    if (oneTerminal)
        FDb->Exec("UPDATE Terminal SET IsDeleted = 1 WHERE TerminalID <> 1");
    const TTerminalChoice choice = TLoginManager::ResolveTerminal(path, computer);
    const QString text = TLoginManager::TerminalNotice(choice, path);
    if (!notice) {
        QCOMPARE(text, QString());
        return;
    }
    QCOMPARE(choice.TerminalID, 1);
    QCOMPARE(choice.TerminalAdi, QString("KASA-01"));
    QVERIFY2(text.contains("ilk terminal KASA-01 (ID: 1)"), qPrintable(text));
    QVERIFY2(text.contains("kirvelo.ini, [Terminal] TerminalID=<numara>"), qPrintable(text));
}

void TestLoginManager::versionText_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("expected");
    QTest::newRow("four parts") << "1.0.0.1"
                                << "Versiyon 1.0.0.1";
    QTest::newRow("short") << "2.3"
                           << "Versiyon 2.3.0.0";
    QTest::newRow("none") << ""
                          << "Versiyon Bilinmiyor";
}

void TestLoginManager::versionText()
{
    QFETCH(QString, version);
    QFETCH(QString, expected);
    QCOMPARE(TLoginManager::VersionText(version), expected);
}

QTEST_GUILESS_MAIN(TestLoginManager)
#include "tst_LoginManager.moc"
