#include "ShiftFixture.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "shifts/ShiftManager.h"
#include "shifts/ZReport.h"
#include "support/FixedClock.h"

#include <QSqlQuery>
#include <QtTest>

#include <limits>

// Opening a shift with its checks, reading the cash summary, closing through the server routine
// and the shift summary's figures.
class TestShiftManager : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();

    void amountValidation_data();
    void amountValidation();

    void openShiftWritesOneOpenRow();
    void openShiftAcceptsZero();
    void openingAmountKeptToTheKurus_data();
    void openingAmountKeptToTheKurus();
    void openShiftRefusals_data();
    void openShiftRefusals();
    void openShiftNamesTheNewestOpenShift();
    void databaseErrorRollsBack();

    void vardiyaOzetOfAShift();
    void vardiyaOzetOfNoShift();
    void cashDifferenceQuestion_data();
    void cashDifferenceQuestion();

    void closeRefused_data();
    void closeRefused();
    void closeSucceeds();

    void shiftSummaryEqualsTheZReport_data();
    void shiftSummaryEqualsTheZReport();
    void shiftSummaryOfNoShift();

private:
    static TSessionInfo Session(TShopFixture& shop);
    static void CloseAllShifts(TShopFixture& shop);
    static QString VardiyaSnapshot(TShopFixture& shop);
};

void TestShiftManager::initTestCase()
{
    UseTurkishLocale();
}

TSessionInfo TestShiftManager::Session(TShopFixture& shop)
{
    TSessionInfo s;
    s.KullaniciID = shop.KullaniciID();
    s.SubeID = shop.SubeID();
    s.TerminalID = shop.TerminalID();
    return s;
}

void TestShiftManager::CloseAllShifts(TShopFixture& shop)
{
    shop.Exec("UPDATE Vardiya SET KapanisZamani = GETDATE(), KapanisTutar = 0, VardiyaDurumu = "
              "'KAPALI' WHERE KapanisZamani IS NULL");
}

QString TestShiftManager::VardiyaSnapshot(TShopFixture& shop)
{
    QStringList rows;
    TDbQuery q("SELECT * FROM Vardiya ORDER BY VardiyaID");
    q.Exec();
    while (q.Next()) {
        QStringList cells;
        for (int i = 0; i < q.Record().count(); ++i)
            cells << q.Value(i).toString();
        rows << cells.join('|');
    }
    return rows.join('\n') + '#' +
           QString::number(shop.Count("sqlite_sequence WHERE name = 'Vardiya'"));
}

void TestShiftManager::amountValidation_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::newRow("dot") << "150.5" << true;
    QTest::newRow("comma") << "150,5" << true;
    QTest::newRow("two decimals") << "150,50" << true;
    QTest::newRow("zero") << "0" << true;
    QTest::newRow("initial text") << "0,00" << true;
    QTest::newRow("grouped with decimals") << "1.000,00" << true;
    QTest::newRow("thousands mark") << "1.500" << true;
    QTest::newRow("as amounts are shown") << "1.280,00 TL" << true;
    QTest::newRow("a third decimal") << "150,505" << false;
    QTest::newRow("letters, sign and exponent") << "abc-1e5" << false;
    QTest::newRow("exponent") << "1e3" << false;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("letters") << "abc" << false;
    QTest::newRow("negative") << "-5" << false;
    QTest::newRow("infinite") << "inf" << false;
    QTest::newRow("not a number") << "nan" << false;
}

void TestShiftManager::amountValidation()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QCOMPARE(TShiftManager::IsValidAmount(text), valid);
}

void TestShiftManager::openShiftWritesOneOpenRow()
{
    const TFixedClock clock(QDateTime(QDate(2025, 3, 5), QTime(23, 59, 59)));
    TShopFixture shop;
    CloseAllShifts(shop);
    const TOpenedShift opened = TShiftManager::OpenShift(Session(shop), 150.5);
    QVERIFY(opened.VardiyaID > shop.VardiyaID());
    QCOMPARE(opened.Message(), QString("Vardiya açıldı. KASA SORUMLUSU - MERKEZ - KASA-1"));
    TDbQuery row("SELECT KullaniciID, TerminalID, SubeID, AcilisTutar, VardiyaDurumu, "
                 "KapanisZamani, AcilisZamani FROM Vardiya WHERE VardiyaID = :V");
    row.Param("V", opened.VardiyaID).Exec();
    QVERIFY(row.Next());
    QCOMPARE(row.Value(0).toInt(), shop.KullaniciID());
    QCOMPARE(row.Value(1).toInt(), shop.TerminalID());
    QCOMPARE(row.Value(2).toInt(), shop.SubeID());
    QCOMPARE(row.Value(3).toDouble(), 150.5);
    QCOMPARE(row.Value(4).toString(), QString("ACIK"));
    QVERIFY(row.Value(5).isNull());
    const QDateTime opening =
        QDateTime::fromString(StoredTimeText(row.Value(6)), "yyyy-MM-dd HH:mm:ss");
    QCOMPARE(opening, clock.Now());
    QVERIFY(!dmMain->InTransaction());
}

void TestShiftManager::openShiftAcceptsZero()
{
    TShopFixture shop;
    CloseAllShifts(shop);
    const int id = TShiftManager::OpenShift(Session(shop), 0).VardiyaID;
    QCOMPARE(shop.Scalar(QString("SELECT AcilisTutar FROM Vardiya WHERE VardiyaID = %1").arg(id))
                 .toDouble(),
             0.0);
}

void TestShiftManager::openingAmountKeptToTheKurus_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("stored");
    QTest::newRow("a sum with binary noise") << 150.2 + 0.1 << "150.3";
    QTest::newRow("half a kuruş rounds up") << 150.555 << "150.56";
    QTest::newRow("below half a kuruş") << 100.004 << "100";
}

// The opening cash is kept as the server's DECIMAL(18,2) keeps it, on SQLite's REAL column too.
void TestShiftManager::openingAmountKeptToTheKurus()
{
    QFETCH(double, amount);
    QFETCH(QString, stored);
    TShopFixture shop;
    CloseAllShifts(shop);
    const int id = TShiftManager::OpenShift(Session(shop), amount).VardiyaID;
    // Compared in the database, on the stored double itself.
    QCOMPARE(shop.Count(
                 QString("Vardiya WHERE VardiyaID = %1 AND AcilisTutar = %2").arg(id).arg(stored)),
             1);
}

void TestShiftManager::openShiftRefusals_data()
{
    // setup: SQL run before the attempt ({K} own user, {S} own branch, {S2} a second branch of
    // the firm, {T} the terminal); sessionSube/-Terminal/-User: -1 keeps the fixture's.
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<bool>("closeFirst");
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("sessionSube");
    QTest::addColumn<int>("sessionTerminal");
    QTest::addColumn<int>("sessionUser");
    QTest::addColumn<QString>("message");

    const QString notAllowed = TShiftManager::MsgUserNotAllowed;
    QTest::newRow("negative amount")
        << QStringList() << true << -1.0 << "S" << -1 << -1 << TShiftManager::MsgInvalidAmount;
    QTest::newRow("infinite amount")
        << QStringList() << true << std::numeric_limits<double>::infinity() << "S" << -1 << -1
        << TShiftManager::MsgInvalidAmount;
    QTest::newRow("no branch") << QStringList() << true << 10.0 << "0" << -1 << -1
                               << TShiftManager::MsgNoBranch;
    QTest::newRow("no terminal") << QStringList() << true << 10.0 << "S" << 0 << -1
                                 << TShiftManager::MsgNoTerminal;
    QTest::newRow("inactive user") << QStringList{"UPDATE Kullanici SET AktifMi = 0 WHERE "
                                                  "KullaniciID = {K}"}
                                   << true << 10.0 << "S" << -1 << -1 << notAllowed;
    QTest::newRow("deleted user") << QStringList{"UPDATE Kullanici SET IsDeleted = 1 WHERE "
                                                 "KullaniciID = {K}"}
                                  << true << 10.0 << "S" << -1 << -1 << notAllowed;
    QTest::newRow("unknown user") << QStringList() << true << 10.0 << "S" << -1 << 555
                                  << notAllowed;
    QTest::newRow("inactive branch")
        << QStringList{"UPDATE Sube SET IsActive = 0 WHERE SubeID = {S}"} << true << 10.0 << "S"
        << -1 << -1 << notAllowed;
    QTest::newRow("deleted branch")
        << QStringList{"UPDATE Sube SET IsDeleted = 1 WHERE SubeID = {S}"} << true << 10.0 << "S"
        << -1 << -1 << notAllowed;
    QTest::newRow("branch of another firm")
        << QStringList{"INSERT INTO Firma (Unvan) VALUES ('Başka Firma')",
                       "UPDATE Sube SET FirmaID = (SELECT MAX(FirmaID) FROM Firma) WHERE SubeID "
                       "= {S2}"}
        << true << 10.0 << "S2" << -1 << -1 << notAllowed;
    QTest::newRow("unknown branch")
        << QStringList() << true << 10.0 << "777" << -1 << -1 << notAllowed;
    QTest::newRow("terminal row missing") << QStringList() << true << 10.0 << "S" << 99 << -1
                                          << "Terminal kaydı bulunamadı (Terminal ID: 99).";
    QTest::newRow("terminal deleted")
        << QStringList{"UPDATE Terminal SET IsDeleted = 1 WHERE TerminalID = {T}"} << true << 10.0
        << "S" << -1 << -1 << "Terminal kaydı bulunamadı (Terminal ID: 1).";
    const QString userOpen = "Kullanıcının zaten açık bir vardiyası var. Aynı kullanıcı birden "
                             "fazla şubede kasa açamaz. Şube: ";
    QTest::newRow("own open shift on this branch")
        << QStringList() << false << 10.0 << "S" << -1 << -1 << userOpen + "MERKEZ - Vardiya ID: 1";
    QTest::newRow("own open shift on another branch")
        << QStringList() << false << 10.0 << "S2" << -1 << -1
        << userOpen + "MERKEZ - Vardiya ID: 1";
    QTest::newRow("own open shift on a branch without a name")
        << QStringList{"UPDATE Sube SET SubeAdi = '' WHERE SubeID = {S}"} << false << 10.0 << "S2"
        << -1 << -1 << userOpen + "Bilinmeyen şube - Vardiya ID: 1";
    QTest::newRow("own open shift without a status word")
        << QStringList{"UPDATE Vardiya SET VardiyaDurumu = NULL"} << false << 10.0 << "S2" << -1
        << -1 << userOpen + "MERKEZ - Vardiya ID: 1";
    const QString second = "INSERT INTO Kullanici (KullaniciAdi, SifreHash, AdSoyad, RolID, "
                           "SubeID, AktifMi, IsDeleted) VALUES ('ikinci', '', 'İKİNCİ "
                           "KASİYER', 1, {S}, 1, 0)";
    QTest::newRow("another cashier's shift on this terminal")
        << QStringList{second} << false << 10.0 << "S" << -1 << 2
        << "Bu şubede bu terminalde başka bir vardiya açık: KASA SORUMLUSU (Vardiya ID: 1)";
}

void TestShiftManager::openShiftRefusals()
{
    QFETCH(QStringList, setup);
    QFETCH(bool, closeFirst);
    QFETCH(double, amount);
    QFETCH(QString, sessionSube);
    QFETCH(int, sessionTerminal);
    QFETCH(int, sessionUser);
    QFETCH(QString, message);

    TShopFixture shop;
    const int secondBranch = shop.AddBranch("KADIKÖY");
    if (closeFirst)
        CloseAllShifts(shop);
    for (QString sql : setup) {
        sql.replace("{K}", QString::number(shop.KullaniciID()))
            .replace("{S2}", QString::number(secondBranch))
            .replace("{S}", QString::number(shop.SubeID()))
            .replace("{T}", QString::number(shop.TerminalID()));
        shop.Exec(sql);
    }
    TSessionInfo session = Session(shop);
    session.SubeID = sessionSube == "S"    ? shop.SubeID()
                     : sessionSube == "S2" ? secondBranch
                                           : sessionSube.toInt();
    if (sessionTerminal >= 0)
        session.TerminalID = sessionTerminal;
    if (sessionUser >= 0)
        session.KullaniciID = sessionUser;

    const QString before = VardiyaSnapshot(shop);
    try {
        TShiftManager::OpenShift(session, amount);
        QFAIL("the shift was opened");
    } catch (const ERefusal& e) {
        QCOMPARE(e.Message(), message);
    } catch (const Exception& e) {
        QFAIL(qPrintable("not a refusal: " + e.ClassName() + ": " + e.Message()));
    }
    QVERIFY(!dmMain->InTransaction());
    QCOMPARE(VardiyaSnapshot(shop), before);
}

void TestShiftManager::openShiftNamesTheNewestOpenShift()
{
    TShopFixture shop;
    const int kadikoy = shop.AddBranch("KADIKÖY");
    const int bornova = shop.AddBranch("BORNOVA");
    shop.Exec(QString("INSERT INTO Vardiya (KullaniciID, TerminalID, SubeID, AcilisZamani, "
                      "AcilisTutar, VardiyaDurumu) VALUES (%1, %2, %3, '2999-01-01 00:00:00', 0, "
                      "'ACIK')")
                  .arg(shop.KullaniciID())
                  .arg(shop.TerminalID())
                  .arg(kadikoy));
    const int newest = shop.Scalar("SELECT MAX(VardiyaID) FROM Vardiya").toInt();
    TSessionInfo session = Session(shop);
    session.SubeID = bornova;
    try {
        TShiftManager::OpenShift(session, 10);
        QFAIL("the shift was opened");
    } catch (const Exception& e) {
        QVERIFY2(e.Message().endsWith(QString("Şube: KADIKÖY - Vardiya ID: %1").arg(newest)),
                 qPrintable(e.Message()));
    }
}

void TestShiftManager::databaseErrorRollsBack()
{
    TShopFixture shop;
    CloseAllShifts(shop);
    // The dialect would split the trigger body at its semicolon; the driver takes it whole.
    QVERIFY(QSqlQuery(dmMain->Database())
                .exec("CREATE TRIGGER trg_full BEFORE INSERT ON Vardiya BEGIN SELECT "
                      "RAISE(ABORT, 'disk dolu'); END"));
    const QString before = VardiyaSnapshot(shop);
    try {
        TShiftManager::OpenShift(Session(shop), 10);
        QFAIL("the shift was opened");
    } catch (const EDatabaseError& e) {
        QVERIFY2(e.Message().contains("disk dolu"), qPrintable(e.Message()));
    }
    QVERIFY(!dmMain->InTransaction());
    QCOMPARE(VardiyaSnapshot(shop), before);
}

void TestShiftManager::vardiyaOzetOfAShift()
{
    TShiftReportFixture fixture;
    TVardiyaOzet ozet;
    QVERIFY(TShiftManager::LoadVardiyaOzet(fixture.ClosedID, ozet));
    QCOMPARE(ozet.AcilisTutar, 250.0);
    QVERIFY(qAbs(ozet.NakitSatis - 240.49) < 0.001);
    QVERIFY(qAbs(ozet.KartSatis - 7408887.80) < 0.001);
    QVERIFY(qAbs(ozet.IadeToplam - 30) < 0.001);
    QVERIFY(qAbs(ozet.BeklenenNakit - 470.49) < 0.001);
}

void TestShiftManager::vardiyaOzetOfNoShift()
{
    TShiftReportFixture fixture;
    TVardiyaOzet ozet;
    ozet.AcilisTutar = 12;
    QVERIFY(!TShiftManager::LoadVardiyaOzet(404, ozet));
    QCOMPARE(ozet.AcilisTutar, 12.0);
}

void TestShiftManager::cashDifferenceQuestion_data()
{
    QTest::addColumn<double>("expected");
    QTest::addColumn<double>("counted");
    QTest::addColumn<QString>("question");
    const QString shortBy = "Sayılan nakit beklenenden %1 eksik. Vardiya yine de kapatılsın mı?";
    const QString overBy = "Sayılan nakit beklenenden %1 fazla. Vardiya yine de kapatılsın mı?";
    QTest::newRow("agrees") << 470.49 << 470.49 << QString();
    QTest::newRow("agrees to the kuruş") << 0.1 + 0.2 << 0.3 << QString();
    QTest::newRow("below half a kuruş") << 100.0 << 100.004 << QString();
    QTest::newRow("short") << 100.0 << 87.5 << shortBy.arg("12,50 TL");
    QTest::newRow("nothing counted") << 470.49 << 0.0 << shortBy.arg("470,49 TL");
    QTest::newRow("one kuruş over") << 100.0 << 100.01 << overBy.arg("0,01 TL");
    QTest::newRow("surplus in thousands") << 100.0 << 1334.5 << overBy.arg("1.234,50 TL");
    QTest::newRow("expected below zero") << -20.0 << 0.0 << overBy.arg("20,00 TL");
}

void TestShiftManager::cashDifferenceQuestion()
{
    QFETCH(double, expected);
    QFETCH(double, counted);
    QFETCH(QString, question);
    QCOMPARE(TShiftManager::CashDifferenceQuestion(expected, counted), question);
}

void TestShiftManager::closeRefused_data()
{
    QTest::addColumn<int>("vardiya");
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("message");
    QTest::newRow("already closed") << 1 << 10.0 << "Vardiya zaten kapatılmış.";
    QTest::newRow("unknown shift") << 404 << 10.0 << "Vardiya bulunamadı.";
    QTest::newRow("negative count")
        << 2 << -1.0 << "Kapanış tutarı geçersiz. Sayılan nakit negatif olamaz.";
}

void TestShiftManager::closeRefused()
{
    QFETCH(int, vardiya);
    QFETCH(double, amount);
    QFETCH(QString, message);
    TShiftReportFixture fixture;
    const QString before = VardiyaSnapshot(fixture.Shop);
    const TCloseShiftResult r = TShiftManager::CloseShift(vardiya, amount, 1);
    QVERIFY(!r.Success);
    QCOMPARE(r.Message, message);
    QCOMPARE(VardiyaSnapshot(fixture.Shop), before);
}

void TestShiftManager::closeSucceeds()
{
    TShiftReportFixture fixture;
    // Move the fixture's receipts into the open shift, then close it as a cashier would.
    fixture.Shop.Exec(QString("UPDATE SatisFis SET VardiyaID = %1").arg(fixture.OpenID));
    const TCloseShiftResult r = TShiftManager::CloseShift(fixture.OpenID, 1500.75, 1);
    QVERIFY2(r.Success, qPrintable(r.Message));
    QCOMPARE(r.Message, QString("Vardiya kapatıldı."));
    const TShiftFigures f = TZReport::Load(fixture.OpenID).Figures;
    QVERIFY(f.Closed);
    QCOMPARE(f.KapanisTutar, 1500.75);
    QVERIFY(qAbs(r.SistemTutar - f.KasadaOlmasiGereken()) < 0.001);
    QVERIFY(qAbs(r.Fark - f.KasaFarki()) < 0.001);
    QVERIFY(qAbs(r.NakitSatis - f.BrutNakit) < 0.001);
    QVERIFY(qAbs(r.KartSatis - f.BrutKart) < 0.001);
    QVERIFY(qAbs(r.IadeToplam - f.IadeToplam) < 0.001);
    QCOMPARE(r.ToplamSatis, f.AktifFis);
    QCOMPARE(r.NakitAdet, f.NakitAdet);
    QCOMPARE(r.KartAdet, f.KartAdet);
    QCOMPARE(r.IadeAdet, f.IadeFis);
    QCOMPARE(r.AcilisTutar, 100.0);
    QVERIFY(r.KapanisZamani.isValid());
    QCOMPARE(fixture.Shop
                 .Scalar(QString("SELECT VardiyaDurumu FROM Vardiya WHERE VardiyaID = %1")
                             .arg(fixture.OpenID))
                 .toString(),
             QString("KAPALI"));
}

void TestShiftManager::shiftSummaryEqualsTheZReport_data()
{
    QTest::addColumn<bool>("open");
    QTest::newRow("closed shift with every kind of receipt") << false;
    QTest::newRow("open shift without receipts") << true;
}

void TestShiftManager::shiftSummaryEqualsTheZReport()
{
    QFETCH(bool, open);
    TShiftReportFixture fixture;
    const int id = open ? fixture.OpenID : fixture.ClosedID;
    const TShiftSummaryData summary = TShiftManager::LoadShiftSummary(id);
    const TShiftFigures z = TZReport::Load(id).Figures;
    const TShiftFigures& s = summary.Figures;
    QCOMPARE(summary.VardiyaID, id);
    QCOMPARE(summary.Kasiyer, QString("KASA SORUMLUSU"));
    QCOMPARE(s.AcilisTutar, z.AcilisTutar);
    QCOMPARE(s.BrutNakit, z.BrutNakit);
    QCOMPARE(s.BrutKart, z.BrutKart);
    QCOMPARE(s.IadeNakit, z.IadeNakit);
    QCOMPARE(s.IadeToplam, z.IadeToplam);
    QCOMPARE(s.AktifFis, z.AktifFis);
    QCOMPARE(s.IadeFis, z.IadeFis);
    QCOMPARE(s.KasadaOlmasiGereken(), z.KasadaOlmasiGereken());
    QCOMPARE(s.NetCiro(), z.NetCiro());
}

void TestShiftManager::shiftSummaryOfNoShift()
{
    TShiftReportFixture fixture;
    try {
        TShiftManager::LoadShiftSummary(404);
        QFAIL("no error");
    } catch (const ERefusal& e) {
        QCOMPARE(e.Message(), QString("Vardiya özeti bulunamadi."));
    }
}

QTEST_GUILESS_MAIN(TestShiftManager)
#include "tst_ShiftManager.moc"
