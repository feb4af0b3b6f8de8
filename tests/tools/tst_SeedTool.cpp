#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "database/DemoData.h"
#include "support/TestDatabase.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

// kirvelo-seed on a small size, and the consistency of what it writes.
class TestSeedTool : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void toolReportsWhatItWrote();
    void everyBranchHasStockForEveryProduct();
    void receiptsAddUp();
    void refundsStayWithinTheirSale();
    void shiftsAreClosedAndAgreeWithTheView();
    void lotsCoverTrackedLines();
    void databaseIsSound();
    void refusesADatabaseWithData();
    void badArgumentsAreRefused();

private:
    QVariant Scalar(const QString& sql) { return FDb->GetScalar(sql); }
    int Int(const QString& sql) { return Scalar(sql).toInt(); }

    QTemporaryDir FDir;
    QString FPath;
    QString FOutput;
    int FExitCode = -1;
    std::unique_ptr<TdmMain> FDb;
};

namespace {
QPair<int, QString> RunTool(const QStringList& arguments)
{
    QProcess tool;
    tool.start(QStringLiteral(KIRVELO_SEED_TOOL), arguments);
    if (!tool.waitForFinished(120000))
        return {-1, QString()};
    return {tool.exitCode(),
            QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError())};
}
} // namespace

void TestSeedTool::initTestCase()
{
    UseTestPaths();
    FPath = FDir.filePath("seed.db");
    const auto [code, output] =
        RunTool({"--products", "2000", "--receipts", "2000", "sqlite:" + FPath});
    FExitCode = code;
    FOutput = output;
    QCOMPARE(FExitCode, 0);
    FDb = std::make_unique<TdmMain>();
    FDb->SetAttempts({{"QSQLITE", FPath}});
    QVERIFY(FDb->Connect());
}

void TestSeedTool::cleanupTestCase()
{
    FDb.reset();
}

void TestSeedTool::toolReportsWhatItWrote()
{
    QVERIFY2(FOutput.contains("2000 ürün"), qPrintable(FOutput));
    QVERIFY2(FOutput.contains("2000 fiş"), qPrintable(FOutput));
    QCOMPARE(Int("SELECT COUNT(*) FROM Stok"), 2000);
    QCOMPARE(Int("SELECT COUNT(*) FROM SatisFis"), 2000);
    QVERIFY(Int("SELECT COUNT(*) FROM SatisFis WHERE FisDurumu = 'IADE'") > 0);
    QVERIFY(Int("SELECT COUNT(*) FROM SatisFis WHERE OdemeTipi = 'KARMA'") > 0);
    QVERIFY(Int("SELECT COUNT(*) FROM SatisFis WHERE OdemeTipi = 'KART'") > 0);
    QVERIFY(Int("SELECT COUNT(*) FROM Stok WHERE TartimliMi = 1 AND LENGTH(Barkod) = 5") > 0);
    QVERIFY(Int("SELECT COUNT(*) FROM StokBirimDonusum") > 0);
    QVERIFY(Int("SELECT COUNT(*) FROM StokLotDetay") > 0);
    QVERIFY(Int("SELECT COUNT(*) FROM SatisFisLot") > 0);
    // A year of shifts, all of them in the past.
    QVERIFY(Scalar("SELECT MIN(AcilisZamani) FROM Vardiya").toString() <
            QDate::currentDate().addDays(-300).toString(Qt::ISODate));
    QVERIFY(Scalar("SELECT MAX(KapanisZamani) FROM Vardiya").toString() <
            QDateTime::currentDateTime().toString("yyyy-MM-dd HH:mm:ss"));
    // The cashiers can log in.
    QCOMPARE(Scalar("SELECT SifreHash FROM Kullanici WHERE KullaniciAdi = 'kasiyer1'").toString(),
             DemoData::PasswordHash("1234"));
}

void TestSeedTool::everyBranchHasStockForEveryProduct()
{
    QCOMPARE(Int("SELECT COUNT(*) FROM SubeStok"),
             Int("SELECT COUNT(*) FROM Stok") * Int("SELECT COUNT(*) FROM Sube"));
    QCOMPARE(
        Int("SELECT COUNT(*) FROM (SELECT SubeID, StokID FROM SubeStok GROUP BY SubeID, StokID)"),
        Int("SELECT COUNT(*) FROM SubeStok"));
    QCOMPARE(Int("SELECT COUNT(*) FROM Stok S WHERE ABS(S.MevcutStok - (SELECT SUM(SS.MevcutStok) "
                 "FROM SubeStok SS "
                 "WHERE SS.StokID = S.StokID)) > 0.0001"),
             0);
    QCOMPARE(
        Scalar(
            "SELECT SUM(ABS(MevcutStok)) FROM SubeStok S INNER JOIN Sube B ON B.SubeID = S.SubeID "
            "WHERE B.IsActive = 0")
            .toDouble(),
        0.0);
}

void TestSeedTool::receiptsAddUp()
{
    QCOMPARE(Int("SELECT COUNT(*) FROM SatisFis F WHERE ABS(F.GenelToplam - (SELECT SUM(O.Tutar) "
                 "FROM SatisOdeme O "
                 "WHERE O.FisID = F.FisID)) > 0.005"),
             0);
    QCOMPARE(Int("SELECT COUNT(*) FROM SatisFis F WHERE ABS(F.GenelToplam - (SELECT "
                 "SUM(L.SatirToplam) FROM "
                 "SatisFisSatir L WHERE L.FisID = F.FisID)) > 0.006"),
             0);
    QCOMPARE(Int("SELECT COUNT(*) FROM SatisFis F WHERE OdemeTipi = 'KARMA' AND (SELECT COUNT(*) "
                 "FROM SatisOdeme O "
                 "WHERE O.FisID = F.FisID) <> 2"),
             0);
    QCOMPARE(Int("SELECT COUNT(*) FROM SatisFis WHERE FisNo <> 'FIS-' || FisID"), 0);
    // Line arithmetic of the cart: total = net - discount + VAT.
    QCOMPARE(Int("SELECT COUNT(*) FROM SatisFisSatir WHERE ABS(AraToplam - IndirimTutari + "
                 "KDVTutari - SatirToplam) > 0.0003"),
             0);
    // Receipts lie inside their shift, at the shift's branch and terminal.
    QCOMPARE(Int("SELECT COUNT(*) FROM SatisFis F INNER JOIN Vardiya V ON V.VardiyaID = "
                 "F.VardiyaID WHERE F.Tarih < "
                 "V.AcilisZamani OR F.Tarih > V.KapanisZamani OR F.SubeID <> V.SubeID OR "
                 "F.TerminalID <> V.TerminalID"),
             0);
}

void TestSeedTool::refundsStayWithinTheirSale()
{
    QCOMPARE(Int("SELECT COUNT(*) FROM SatisFis R LEFT JOIN SatisFis S ON S.FisID = "
                 "R.OrijinalFisID WHERE "
                 "R.FisDurumu = 'IADE' AND (S.FisID IS NULL OR S.FisDurumu <> 'AKTIF' OR "
                 "S.VardiyaID <> R.VardiyaID)"),
             0);
    QCOMPARE(Int("SELECT COUNT(*) FROM SatisFis WHERE FisDurumu = 'IADE' AND (GenelToplam >= 0 OR "
                 "OdemeTipi <> 'NAKIT')"),
             0);
    QCOMPARE(Int("SELECT COUNT(*) FROM (SELECT R.OrijinalFisID, L.StokID, SUM(ABS(L.Miktar)) AS Q "
                 "FROM SatisFis R "
                 "INNER JOIN SatisFisSatir L ON L.FisID = R.FisID WHERE R.FisDurumu = 'IADE' GROUP "
                 "BY R.OrijinalFisID, "
                 "L.StokID) X WHERE X.Q > (SELECT SUM(S.Miktar) FROM SatisFisSatir S WHERE S.FisID "
                 "= X.OrijinalFisID AND "
                 "S.StokID = X.StokID) + 0.0001"),
             0);
}

void TestSeedTool::shiftsAreClosedAndAgreeWithTheView()
{
    QCOMPARE(Int("SELECT COUNT(*) FROM Vardiya WHERE KapanisZamani IS NULL OR VardiyaDurumu <> "
                 "'KAPALI'"),
             0);
    QCOMPARE(Int("SELECT COUNT(*) FROM Vardiya WHERE KapanisZamani <= AcilisZamani"), 0);
    QCOMPARE(Int("SELECT COUNT(*) FROM Vardiya V INNER JOIN vw_VardiyaOzet O ON O.VardiyaID = "
                 "V.VardiyaID WHERE "
                 "ABS(O.BeklenenNakit + O.Fark - V.KapanisTutar) > 0.001"),
             0);
    // Most drawers were counted right.
    QVERIFY(Int("SELECT COUNT(*) FROM vw_VardiyaOzet WHERE ABS(Fark) < 0.005") * 2 >
            Int("SELECT COUNT(*) FROM Vardiya"));
    QCOMPARE(Int("SELECT SUM(AktifFis + IadeFis) FROM vw_VardiyaOzet"), 2000);
}

void TestSeedTool::lotsCoverTrackedLines()
{
    QCOMPARE(Int("SELECT COUNT(*) FROM SatisFisSatir L INNER JOIN SatisFis F ON F.FisID = L.FisID "
                 "INNER JOIN Stok S ON "
                 "S.StokID = L.StokID WHERE F.FisDurumu = 'AKTIF' AND S.IsSKTTakibi = 1 AND "
                 "ABS(L.Miktar - IFNULL((SELECT "
                 "SUM(T.Miktar) FROM SatisFisLot T WHERE T.FisID = L.FisID AND T.SatirSiraNo = "
                 "L.SiraNo), 0)) > 0.000001"),
             0);
    QCOMPARE(Int("SELECT COUNT(*) FROM SatisFisLot T LEFT JOIN StokLotDetay D ON D.LotID = T.LotID "
                 "WHERE D.LotID IS NULL "
                 "OR D.StokID <> T.StokID"),
             0);
    QCOMPARE(Int("SELECT COUNT(*) FROM StokLotDetay WHERE MevcutMiktar < 0"), 0);
    // No expired lot was sold from.
    QCOMPARE(
        Int("SELECT COUNT(*) FROM SatisFisLot WHERE SonKullanmaTarihi < date('now', 'localtime')"),
        0);
}

void TestSeedTool::databaseIsSound()
{
    TDbQuery fk("PRAGMA foreign_key_check");
    fk.Exec();
    QVERIFY(!fk.Next());
    QCOMPARE(Scalar("PRAGMA integrity_check").toString(), QString("ok"));
    QCOMPARE(Int("PRAGMA foreign_keys"), 1);
}

void TestSeedTool::refusesADatabaseWithData()
{
    const auto [code, output] = RunTool({"--products", "10", "--receipts", "10", FPath});
    QCOMPARE(code, 1);
    QVERIFY2(output.contains("boş değil"), qPrintable(output));
    QCOMPARE(Int("SELECT COUNT(*) FROM Stok"), 2000);
}

void TestSeedTool::badArgumentsAreRefused()
{
    QVERIFY(RunTool({"--products", "abc", FDir.filePath("x.db")}).first != 0);
    QVERIFY(RunTool({"--products", "10"}).first != 0);
    QVERIFY(!QFile::exists(FDir.filePath("x.db")));
}

QTEST_GUILESS_MAIN(TestSeedTool)
#include "tst_SeedTool.moc"
