#include "DatabaseProbe.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "customers/TaxNumbers.h"
#include "database/DemoData.h"
#include "database/EmbeddedDatabase.h"
#include "support/FixedClock.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <optional>

// The demo shop of a new embedded database.
class TestDemoData : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void passwordHash();
    void logins_data();
    void logins();
    void organisationAndCategories();
    void catalogue();
    void caseBarcodesAndLots();
    void stockIsConsistent();
    void customers();
    void readmeNamesRealBarcodes();
    void notAddedTwice();
    void neverAddedToADatabaseWithData();
    void newEmbeddedFileGetsTheDemo();
    void tillsOpeningOneNewFileAtOnceWriteOneShop();

private:
    // The demo's lots expire relative to the day it was made: the day stands still.
    std::optional<TFixedClock> FClock;
    std::unique_ptr<TTestDatabase> FDb;
};

namespace {
bool ValidEan13(const QString& code)
{
    return code.size() == 13 && DemoData::Ean13CheckDigit(code.left(12)) == code.at(12);
}
} // namespace

void TestDemoData::initTestCase()
{
    UseTestPaths();
}

void TestDemoData::init()
{
    FClock.emplace(QDateTime(QDate(2025, 3, 5), QTime(23, 59, 59)));
    FDb = std::make_unique<TTestDatabase>();
    EmbeddedDatabase::Prepare(true);
}

void TestDemoData::cleanup()
{
    FDb.reset();
    FClock.reset();
}

void TestDemoData::passwordHash()
{
    QCOMPARE(DemoData::PasswordHash("1234"),
             QString("03ac674216f3e15c761ee1a5e255f067953623c8b388b4459e13f978d7c846f4"));
    QVERIFY(DemoData::PasswordHash("1234 ") != DemoData::PasswordHash("1234"));
    QCOMPARE(DemoData::PasswordHash("şifre").size(), 64);
    QCOMPARE(DemoData::Ean13CheckDigit("869050400101"), QChar('0'));
    QCOMPARE(DemoData::Ean13CheckDigit("271234501250"), QChar('8'));
}

void TestDemoData::logins_data()
{
    QTest::addColumn<QString>("user");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("branch");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("manager") << "yonetici"
                             << "123456"
                             << "MERKEZ" << true;
    QTest::newRow("cashier") << "kasiyer"
                             << "1234"
                             << "MERKEZ" << true;
    QTest::newRow("cashier on the other branch") << "kasiyer"
                                                 << "1234"
                                                 << "KADIKÖY" << true;
    QTest::newRow("second cashier") << "kasiyer2"
                                    << "1234"
                                    << "KADIKÖY" << true;
    QTest::newRow("wrong password") << "kasiyer"
                                    << "12345"
                                    << "MERKEZ" << false;
    QTest::newRow("inactive user") << "eski"
                                   << "1234"
                                   << "MERKEZ" << false;
    QTest::newRow("passive branch") << "kasiyer"
                                    << "1234"
                                    << "BORNOVA" << false;
}

// The login screen's own check of user, password and branch.
void TestDemoData::logins()
{
    QFETCH(QString, user);
    QFETCH(QString, password);
    QFETCH(QString, branch);
    QFETCH(bool, accepted);
    const int subeID =
        FDb->Scalar(QString("SELECT SubeID FROM Sube WHERE SubeAdi = '%1'").arg(branch)).toInt();
    TDbQuery q("SELECT K.KullaniciID FROM Kullanici K INNER JOIN Rol R ON K.RolID = R.RolID INNER "
               "JOIN Sube KS ON "
               "KS.SubeID = K.SubeID INNER JOIN Sube SS ON SS.SubeID = :SelectedSubeID   AND "
               "SS.FirmaID = KS.FirmaID   "
               "AND SS.IsActive = 1 AND SS.IsDeleted = 0 WHERE K.KullaniciAdi = :Username   AND "
               "K.SifreHash = "
               ":PasswordHash   AND K.AktifMi = 1   AND K.IsDeleted = 0");
    q.Param("Username", user)
        .Param("PasswordHash", DemoData::PasswordHash(password))
        .Param("SelectedSubeID", subeID)
        .Exec();
    QCOMPARE(q.Next(), accepted);
}

void TestDemoData::organisationAndCategories()
{
    QCOMPARE(FDb->Count("Firma"), 1);
    // The demo receipt carries the firm as a Turkish slip must.
    QCOMPARE(
        FDb->Scalar("SELECT Unvan || '|' || Adres || '|' || VergiDairesi FROM Firma").toString(),
        QString("Demo Market Gıda Tic. A.Ş.|Caferağa Mah. Moda Cad. No: 12 "
                "Kadıköy/İSTANBUL|KADIKÖY"));
    QVERIFY(TaxNumbers::IsValidVKN(FDb->Scalar("SELECT VergiNo FROM Firma").toString()));
    QCOMPARE(FDb->Scalar("SELECT GROUP_CONCAT(SubeAdi || ':' || IsActive, ',') FROM (SELECT * FROM "
                         "Sube ORDER BY SubeID)")
                 .toString(),
             QString("MERKEZ:1,KADIKÖY:1,BORNOVA:0"));
    QCOMPARE(FDb->Count("Terminal"), 1);
    QVERIFY(!FDb->Scalar("SELECT TerminalAdi FROM Terminal").toString().trimmed().isEmpty());
    QCOMPARE(FDb->Count("Rol"), 2);
    QCOMPARE(FDb->Scalar("SELECT COUNT(*) FROM Kullanici WHERE AktifMi = 0").toInt(), 1);
    QCOMPARE(FDb->Count("Kategori"), 9);
    QCOMPARE(FDb->Scalar("SELECT COUNT(DISTINCT Sira) FROM Kategori").toInt(), 9);
    QCOMPARE(FDb->Scalar("SELECT KategoriAdi FROM Kategori ORDER BY Sira, KategoriAdi LIMIT 1")
                 .toString(),
             QString("Meyve & Sebze"));
}

void TestDemoData::catalogue()
{
    const int count = FDb->Count("Stok");
    QVERIFY2(count >= 55 && count <= 65, qPrintable(QString::number(count)));
    QCOMPARE(FDb->Scalar("SELECT GROUP_CONCAT(KDVOrani, ',') FROM (SELECT DISTINCT CAST(KDVOrani "
                         "AS INTEGER) AS KDVOrani "
                         "FROM Stok ORDER BY 1)")
                 .toString(),
             QString("1,10,20"));
    QCOMPARE(FDb->Scalar("SELECT COUNT(DISTINCT Barkod) FROM Stok").toInt(), count);
    TDbQuery products("SELECT Barkod, TartimliMi, Birim FROM Stok");
    products.Exec();
    int weighed = 0;
    while (products.Next()) {
        const QString barkod = products.Value(0).toString();
        if (products.Value(1).toBool()) {
            ++weighed;
            QVERIFY2(barkod.size() == 5, qPrintable(barkod));
            QCOMPARE(products.Value(2).toString(), QString("KG"));
        } else {
            QVERIFY2(ValidEan13(barkod), qPrintable(barkod));
        }
    }
    QVERIFY(weighed >= 3);
    // The scale label 2712345012508 sells 1.25 kg of the product whose code is 12345.
    QCOMPARE(FDb->Scalar("SELECT TartimliMi FROM Stok WHERE Barkod = '12345' AND IsActive = 1 AND "
                         "IsDeleted = 0")
                 .toInt(),
             1);
    QCOMPARE(FDb->Scalar("SELECT COUNT(*) FROM Stok WHERE IsActive = 0 AND IsDeleted = 0").toInt(),
             1);
    QCOMPARE(FDb->Scalar("SELECT COUNT(*) FROM Stok WHERE IsDeleted = 1").toInt(), 1);
    QCOMPARE(FDb->Scalar("SELECT COUNT(*) FROM Stok WHERE KategoriID IS NULL OR SatisFiyati <= 0")
                 .toInt(),
             0);
}

void TestDemoData::caseBarcodesAndLots()
{
    TDbQuery cases("SELECT D.KoliBarkod, D.CevrimKatsayi FROM StokBirimDonusum D INNER JOIN Stok S "
                   "ON S.StokID = "
                   "D.StokID WHERE S.IsDeleted = 0 AND S.IsActive = 1");
    cases.Exec();
    int found = 0;
    while (cases.Next()) {
        ++found;
        QVERIFY(ValidEan13(cases.Value(0).toString()));
        QVERIFY(cases.Value(1).toDouble() > 1);
    }
    QCOMPARE(found, FDb->Count("StokBirimDonusum"));
    QVERIFY(found >= 2);

    // The expiry check of the barcode look-up: blocked when tracked, blocking and holding an
    // expired lot with stock.
    const QString expiredInStock =
        "EXISTS (SELECT 1 FROM StokLotDetay L WHERE L.StokID = S.StokID AND "
        "IFNULL(L.MevcutMiktar, 0) > 0 AND L.SonKullanmaTarihi IS NOT NULL AND "
        "L.SonKullanmaTarihi < date(GETDATE()))";
    QCOMPARE(
        FDb->Scalar("SELECT GROUP_CONCAT(StokAdi) FROM Stok S WHERE IFNULL(IsSKTTakibi, 0) = 1 AND "
                    "IFNULL(IsSatisEngelle, 1) = 1 AND " +
                    expiredInStock)
            .toString(),
        QString("Süzme Yoğurt 1 kg"));
    QCOMPARE(FDb->Scalar("SELECT GROUP_CONCAT(StokAdi) FROM Stok S WHERE IsSKTTakibi = 1 AND "
                         "IsSatisEngelle = 0 AND " +
                         expiredInStock)
                 .toString(),
             QString("Günlük Süt 1 L"));
    // Every tracked product's lots hold exactly its stock.
    QCOMPARE(FDb->Scalar("SELECT COUNT(*) FROM Stok S WHERE IsSKTTakibi = 1 AND ABS(MevcutStok - "
                         "(SELECT SUM(MevcutMiktar) "
                         "FROM StokLotDetay L WHERE L.StokID = S.StokID)) > 0.0001")
                 .toInt(),
             0);
    QCOMPARE(FDb->Scalar("SELECT COUNT(*) FROM Stok WHERE IsSKTTakibi = 1").toInt(), 3);
    QVERIFY(
        FDb->Scalar("SELECT COUNT(*) FROM StokLotDetay WHERE SonKullanmaTarihi IS NULL").toInt() >=
        1);
}

void TestDemoData::stockIsConsistent()
{
    QCOMPARE(FDb->Count("SubeStok"), FDb->Count("Stok") * FDb->Count("Sube"));
    QCOMPARE(FDb->Scalar("SELECT COUNT(*) FROM Stok S WHERE ABS(S.MevcutStok - (SELECT "
                         "SUM(SS.MevcutStok) FROM SubeStok SS "
                         "WHERE SS.StokID = S.StokID)) > 0.0001")
                 .toInt(),
             0);
    QVERIFY(FDb->Scalar("SELECT SUM(MevcutStok) FROM SubeStok WHERE SubeID = 1").toDouble() > 1000);
    QCOMPARE(FDb->Scalar("SELECT SUM(MevcutStok) FROM SubeStok WHERE SubeID = 3").toDouble(), 0.0);
}

void TestDemoData::customers()
{
    QVERIFY(FDb->Count("Musteri") >= 3);
    // The customer list leaves suppliers out.
    QCOMPARE(FDb->Scalar("SELECT COUNT(*) FROM CariKart WHERE ISNULL(IsDeleted, 0) = 0 AND "
                         "ISNULL(IsActive, 1) = 1 AND "
                         "UPPER(ISNULL(CariTipi, 'MUSTERI')) <> 'TEDARIKCI'")
                 .toInt(),
             3);
    QCOMPARE(FDb->Scalar("SELECT MIN(CariKodu) FROM CariKart").toString(), QString("C00001"));
    QCOMPARE(FDb->Count("SatisFis"), 0);
    QCOMPARE(FDb->Count("Vardiya"), 0);
}

void TestDemoData::readmeNamesRealBarcodes()
{
    QFile readme(QStringLiteral(KIRVELO_SOURCE_DIR "/README.md"));
    QVERIFY(readme.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(readme.readAll()).section("## Demo", 1);
    QVERIFY(!text.isEmpty());
    static const QRegularExpression code(R"(`(?:\d+\*)?(\d{5}|\d{13})`)");
    int checked = 0;
    for (auto it = code.globalMatch(text); it.hasNext();) {
        QString barkod = it.next().captured(1);
        if (barkod.size() == 13 && (barkod.startsWith("27") || barkod.startsWith("28")))
            barkod = barkod.mid(2, 5); // a scale label names the product by its code
        const bool known =
            FDb->Scalar("SELECT COUNT(*) FROM Stok WHERE Barkod = '" + barkod + "'").toInt() +
                FDb->Scalar("SELECT COUNT(*) FROM StokBirimDonusum WHERE KoliBarkod = '" + barkod +
                            "'")
                    .toInt() >
            0;
        QVERIFY2(known, qPrintable(barkod));
        ++checked;
    }
    QVERIFY(checked >= 10);
}

void TestDemoData::notAddedTwice()
{
    const QString once = DatabaseProbe::Contents();
    QVERIFY(!DemoData::DatabaseIsEmpty());
    EmbeddedDatabase::Prepare(true);
    FDb->Db().Disconnect();
    FDb->Db().Connect();
    EmbeddedDatabase::Prepare(true);
    QCOMPARE(DatabaseProbe::Contents(), once);
}

void TestDemoData::neverAddedToADatabaseWithData()
{
    TTestDatabase db;
    db.Exec("INSERT INTO Musteri (AdSoyad) VALUES ('Eski Müşteri')");
    EmbeddedDatabase::Prepare(true);
    QCOMPARE(db.Count("Firma"), 0);
    QCOMPARE(db.Count("Stok"), 0);
    QCOMPARE(db.Count("Musteri"), 1);
}

void TestDemoData::newEmbeddedFileGetsTheDemo()
{
    FDb.reset();
    const QString path = TdmMain::EmbeddedDatabasePath();
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
    {
        TdmMain db;
        db.SetAttempts(TdmMain::AttemptsFor(QString()));
        QVERIFY(db.Connect());
        QCOMPARE(db.GetScalar("SELECT COUNT(*) FROM Kullanici").toInt(), 4);
    }
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
}

void TestDemoData::tillsOpeningOneNewFileAtOnceWriteOneShop()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("shared.db");
    std::vector<std::unique_ptr<QProcess>> tills;
    for (int i = 0; i < 4; ++i) {
        tills.push_back(std::make_unique<QProcess>());
        tills.back()->start(OPENDEMO_PROBE, {path});
    }
    for (auto& till : tills) {
        QVERIFY(till->waitForFinished(60000));
        QVERIFY2(till->exitCode() == 0, till->readAllStandardError().constData());
    }
    TdmMain db;
    db.SetAttempts({{"QSQLITE", path}});
    QVERIFY(db.Connect());
    QCOMPARE(db.GetScalar("SELECT COUNT(*) FROM Firma").toInt(), 1);
    QCOMPARE(db.GetScalar("SELECT COUNT(*) FROM Kullanici").toInt(), 4);
    QCOMPARE(db.GetScalar("SELECT COUNT(*) FROM Stok").toInt(), 60);
}

QTEST_GUILESS_MAIN(TestDemoData)
#include "tst_DemoData.moc"
