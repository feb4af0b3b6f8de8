#include "core/SqlServerDialect.h"
#include "database/SqliteDialect.h"

#include <QtTest>

// The SQLite rewriting of SQL Server texts, rule by rule.
class TestSqliteDialect : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void translate_data();
    void translate();
    void guardedColumnKeepsItsGuard();
    void serverTextIsUntouched();
    void translationsStayBounded();
};

void TestSqliteDialect::translate_data()
{
    QTest::addColumn<QString>("tsql");
    QTest::addColumn<QStringList>("sqlite");

    QTest::newRow("schema qualifier and ISNULL")
        << "UPDATE dbo.Stok SET MevcutStok = ISNULL((SELECT SUM(MevcutStok) FROM dbo.SubeStok "
           "WHERE StokID = 5),0) WHERE StokID = 5"
        << QStringList{"UPDATE Stok SET MevcutStok = IFNULL((SELECT SUM(MevcutStok) FROM SubeStok "
                       "WHERE StokID = 5),0) WHERE StokID = 5"};
    QTest::newRow("batch split, session options dropped")
        << "SET NOCOUNT ON; INSERT INTO T (A) VALUES (:A); SELECT SCOPE_IDENTITY();"
        << QStringList{"INSERT INTO T (A) VALUES (:A)", "SELECT SCOPE_IDENTITY()"};
    QTest::newRow("semicolon inside a literal")
        << "INSERT INTO T (A) VALUES ('a;b')" << QStringList{"INSERT INTO T (A) VALUES ('a;b')"};
    QTest::newRow("leading TOP becomes LIMIT")
        << "SELECT TOP 1 FisID FROM SatisFis WHERE VardiyaID = :VID ORDER BY Tarih DESC"
        << QStringList{
               "SELECT FisID FROM SatisFis WHERE VardiyaID = :VID ORDER BY Tarih DESC LIMIT 1"};
    QTest::newRow("guarded create table")
        << "IF OBJECT_ID('dbo.SistemParametre', 'U') IS NULL CREATE TABLE dbo.SistemParametre "
           "(ParamKey NVARCHAR(100) NOT NULL PRIMARY KEY, ParamValue NVARCHAR(4000) NULL, "
           "Description NVARCHAR(250) NULL, UpdatedAt DATETIME NOT NULL DEFAULT(GETDATE()))"
        << QStringList{
               "CREATE TABLE IF NOT EXISTS SistemParametre (ParamKey NVARCHAR(100) NOT NULL "
               "PRIMARY KEY, ParamValue NVARCHAR(4000) NULL, Description NVARCHAR(250) NULL, "
               "UpdatedAt DATETIME NOT NULL DEFAULT (datetime('now','localtime')))"};
    QTest::newRow("identity key and named default")
        << "IF OBJECT_ID('dbo.X', 'U') IS NULL CREATE TABLE dbo.X (XID INT IDENTITY(1,1) PRIMARY "
           "KEY, N DECIMAL(18,3) NOT NULL CONSTRAINT DF_X_N DEFAULT(0), CONSTRAINT FK_X_Stok "
           "FOREIGN KEY (N) REFERENCES dbo.Stok(StokID));"
        << QStringList{"CREATE TABLE IF NOT EXISTS X (XID INTEGER PRIMARY KEY AUTOINCREMENT, N "
                       "REAL NOT NULL CONSTRAINT DF_X_N DEFAULT(0), CONSTRAINT FK_X_Stok FOREIGN "
                       "KEY (N) REFERENCES Stok(StokID))"};
    QTest::newRow("decimal and money columns become REAL")
        << "IF OBJECT_ID('dbo.X', 'U') IS NULL CREATE TABLE dbo.X (A DECIMAL(18,4) NOT NULL "
           "DEFAULT(0), B decimal (5, 2) NULL, C NUMERIC(10) NULL, D MONEY NULL, E FLOAT NULL, F "
           "INT NULL)"
        << QStringList{"CREATE TABLE IF NOT EXISTS X (A REAL NOT NULL DEFAULT(0), B REAL NULL, C "
                       "REAL NULL, D REAL NULL, E REAL NULL, F INT NULL)"};
    QTest::newRow("guarded unique index")
        << "IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'UX_SubeStok_Sube_Stok' AND "
           "object_id = OBJECT_ID('dbo.SubeStok')) CREATE UNIQUE INDEX UX_SubeStok_Sube_Stok ON "
           "dbo.SubeStok(SubeID, StokID);"
        << QStringList{"CREATE UNIQUE INDEX IF NOT EXISTS UX_SubeStok_Sube_Stok ON "
                       "SubeStok(SubeID, StokID)"};
    QTest::newRow("lock hints dropped")
        << "SELECT TOP 1 V.VardiyaID, S.SubeAdi FROM Vardiya V WITH (UPDLOCK, HOLDLOCK) LEFT JOIN "
           "Sube S ON S.SubeID = V.SubeID WHERE V.KullaniciID = :KullaniciID"
        << QStringList{"SELECT V.VardiyaID, S.SubeAdi FROM Vardiya V LEFT JOIN Sube S ON S.SubeID "
                       "= V.SubeID WHERE V.KullaniciID = :KullaniciID LIMIT 1"};
    QTest::newRow("lock hints of an unaliased table")
        << "SELECT VardiyaID FROM Vardiya with ( updlock ,holdlock ) WHERE VardiyaID = :Var"
        << QStringList{"SELECT VardiyaID FROM Vardiya WHERE VardiyaID = :Var"};
    QTest::newRow("guarded plain index")
        << "IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_SubeStok_StokID' AND "
           "object_id = OBJECT_ID('dbo.SubeStok')) CREATE INDEX IX_SubeStok_StokID ON "
           "dbo.SubeStok(StokID);"
        << QStringList{"CREATE INDEX IF NOT EXISTS IX_SubeStok_StokID ON SubeStok(StokID)"};
}

void TestSqliteDialect::translate()
{
    QFETCH(QString, tsql);
    QFETCH(QStringList, sqlite);
    QStringList actual;
    for (const TSqlStep& step : TSqliteDialect::TranslateForSqlite(tsql))
        actual << step.Sql;
    QCOMPARE(actual, sqlite);
}

void TestSqliteDialect::guardedColumnKeepsItsGuard()
{
    const auto steps = TSqliteDialect::TranslateForSqlite(
        "IF COL_LENGTH('dbo.CariKart', 'CariTipi') IS NULL ALTER TABLE dbo.CariKart ADD CariTipi "
        "NVARCHAR(20) NOT NULL DEFAULT('MUSTERI')");
    QCOMPARE(steps.size(), 1);
    QCOMPARE(
        steps[0].Sql,
        QString(
            "ALTER TABLE CariKart ADD COLUMN CariTipi NVARCHAR(20) NOT NULL DEFAULT('MUSTERI')"));
    QCOMPARE(steps[0].GuardTable, QString("CariKart"));
    QCOMPARE(steps[0].GuardColumn, QString("CariTipi"));
    const auto money = TSqliteDialect::TranslateForSqlite(
        "IF COL_LENGTH('dbo.CariKart', 'RiskLimiti') IS NULL ALTER TABLE dbo.CariKart ADD "
        "RiskLimiti DECIMAL(18,2) NOT NULL DEFAULT(0)");
    QCOMPARE(money.first().Sql,
             QString("ALTER TABLE CariKart ADD COLUMN RiskLimiti REAL NOT NULL DEFAULT(0)"));
}

void TestSqliteDialect::serverTextIsUntouched()
{
    const QString batch =
        "SET NOCOUNT ON; INSERT INTO dbo.T (A) VALUES (ISNULL(:A, 0)); SELECT SCOPE_IDENTITY();";
    const TSqlServerDialect server;
    QCOMPARE(server.Steps(batch).size(), 1);
    QCOMPARE(server.Steps(batch).first().Sql, batch);
    QCOMPARE(server.Steps(SqlText{"SELECT TOP 1 A FROM T", "SELECT A FROM T LIMIT 1"}).first().Sql,
             QString("SELECT TOP 1 A FROM T"));
    const TSqliteDialect sqlite;
    QCOMPARE(sqlite.Steps(SqlText{"SELECT TOP 1 A FROM T", "SELECT A FROM T ORDER BY A LIMIT 1"})
                 .first()
                 .Sql,
             QString("SELECT A FROM T ORDER BY A LIMIT 1"));
}

// Texts with their values written in, a few thousand of them: each is still translated right,
// and the dialect keeps no more translations than its bound.
void TestSqliteDialect::translationsStayBounded()
{
    const TSqliteDialect dialect;
    const int texts = int(TSqliteDialect::MaxCachedTranslations) * 4;
    for (int i = 0; i < texts; ++i) {
        const auto steps =
            dialect.Steps(QString("SELECT TOP 1 A FROM dbo.T WHERE B = ISNULL(%1, 0)").arg(i));
        QCOMPARE(steps.size(), 1);
        QCOMPARE(steps.first().Sql,
                 QString("SELECT A FROM T WHERE B = IFNULL(%1, 0) LIMIT 1").arg(i));
        QVERIFY(dialect.CachedTranslations() <= TSqliteDialect::MaxCachedTranslations);
    }
    QCOMPARE(dialect.CachedTranslations(), TSqliteDialect::MaxCachedTranslations);
}

QTEST_GUILESS_MAIN(TestSqliteDialect)
#include "tst_SqliteDialect.moc"
