#include "core/DataModule.h"
#include "core/Exceptions.h"
#include "core/StoredProc.h"
#include "database/SqliteEngine.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

// Choosing the engine of an attempt. Until registersEmbeddedEngine runs, this program has not
// registered the embedded engine, as a program that forgot to would not have.
class TestDbEngine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void unregisteredEngineFailsClearly();
    void routineNeedsAnOpenEngine();
    void registersEmbeddedEngine();
    void routineCallReachesTheEngine();

private:
    static QString FailureOf(TdmMain& db);
    QTemporaryDir FDir;
};

void TestDbEngine::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    QVERIFY(FDir.isValid());
}

QString TestDbEngine::FailureOf(TdmMain& db)
{
    try {
        db.Connect();
    } catch (const EDatabaseError& e) {
        return e.Message();
    }
    return {};
}

void TestDbEngine::unregisteredEngineFailsClearly()
{
    TdmMain db;
    db.SetAttempts(TdmMain::AttemptsFor("sqlite:" + FDir.filePath("k.db")) +
                   QList<TConnectionAttempt>{{"QSQLITE", FDir.filePath("k.db")}});
    const QStringList lines = FailureOf(db).split("\r\n");
    QCOMPARE(lines.size(), 3 + 2 + 1);
    QCOMPARE(lines.at(0), QString("Veritabanı Erişim Hatası!"));
    QCOMPARE(lines.at(3), QString("1) sqlite için kayıtlı bir veritabanı motoru yok."));
    QCOMPARE(lines.at(4), QString("2) QSQLITE için kayıtlı bir veritabanı motoru yok."));
    QVERIFY(!db.Connected());
    QVERIFY(!QFile::exists(FDir.filePath("k.db")));
}

void TestDbEngine::routineNeedsAnOpenEngine()
{
    TdmMain db;
    try {
        TStoredProc("sp_CloseVardiya").In("@VardiyaID", 1).Exec();
        QFAIL("no error");
    } catch (const EDatabaseError& e) {
        QCOMPARE(e.Message(), QString("Veritabanı bağlantısı açık değil."));
    }
}

void TestDbEngine::registersEmbeddedEngine()
{
    TSqliteEngine::Register();
    TdmMain db;
    db.SetAttempts(TdmMain::AttemptsFor("sqlite:" + FDir.filePath("k.db")));
    QVERIFY(db.Connect());
    QCOMPARE(db.Dialect().Kind(), TSqlDialectKind::SQLite);
    QCOMPARE(db.Description(), "SQLite: " + QFileInfo(FDir.filePath("k.db")).absoluteFilePath());
    QVERIFY(db.TableExists("Vardiya"));
}

void TestDbEngine::routineCallReachesTheEngine()
{
    TdmMain db;
    db.SetAttempts({{"QSQLITE", FDir.filePath("k.db")}});
    QVERIFY(db.Connect());
    try {
        TStoredProc("dbo.sp_Yok").In("@VardiyaID", 1).Exec();
        QFAIL("no error");
    } catch (const EDatabaseError& e) {
        QCOMPARE(e.Message(), QString("Yordam bulunamadı: dbo.sp_Yok"));
    }
    TStoredProc close("[dbo].[SP_CLOSEVARDIYA]");
    close.In("@VardiyaID", 999)
        .In("@KapanisTutar", 0.0)
        .In("@KapatanKullaniciID", 1)
        .Out("@Success", QMetaType::Bool)
        .Out("@Message", QMetaType::QString, 500)
        .Exec();
    QCOMPARE(close.Value("@Success").toBool(), false);
    QCOMPARE(close.Value("@message").toString(), QString("Vardiya bulunamadı."));
}

QTEST_GUILESS_MAIN(TestDbEngine)
#include "tst_DbEngine.moc"
