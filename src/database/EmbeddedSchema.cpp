#include "database/EmbeddedSchema.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/DbTransaction.h"
#include "core/OwnedSchema.h"
#include "database/SqliteDialect.h"

#include <QRegularExpression>
#include <QSet>

namespace EmbeddedSchema {
namespace {
const QString kViewName = QStringLiteral("vw_VardiyaOzet");

// The view as SQLite stores it: the SQL Server text after the dialect's rewriting.
QString SqliteViewStatement()
{
    const QList<TSqlStep> steps =
        TSqliteDialect::TranslateForSqlite(QStringLiteral("CREATE VIEW dbo.") + kViewName +
                                           QStringLiteral(" AS ") + ShiftSummaryViewBody());
    return steps.isEmpty() ? QString() : steps.first().Sql;
}

struct TExpected {
    QSet<QString> Tables;
    QSet<QString> Indexes;
    QList<QPair<QString, QString>> Columns;
};

TExpected ExpectedObjects()
{
    static const QRegularExpression table(QStringLiteral(R"(CREATE\s+TABLE\s+dbo\.(\w+))"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression index(QStringLiteral(R"(CREATE\s+(?:UNIQUE\s+)?INDEX\s+(\w+))"),
                                          QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression column(
        QStringLiteral(R"(COL_LENGTH\s*\(\s*'dbo\.(\w+)'\s*,\s*'(\w+)'\s*\))"),
        QRegularExpression::CaseInsensitiveOption);
    TExpected expected;
    for (const QString& statement : RequiredStatements() + OwnedSchema::AllStatements()) {
        if (const auto m = table.match(statement); m.hasMatch())
            expected.Tables.insert(m.captured(1).toLower());
        if (const auto m = index.match(statement); m.hasMatch())
            expected.Indexes.insert(m.captured(1).toLower());
        if (const auto m = column.match(statement); m.hasMatch())
            expected.Columns.append({m.captured(1), m.captured(2)});
    }
    return expected;
}

void RecreateView()
{
    dmMain->ExecSql(QStringLiteral("DROP VIEW IF EXISTS ") + kViewName);
    dmMain->ExecSql(SqliteViewStatement());
}
} // namespace

QStringList RequiredStatements()
{
    return {
        QStringLiteral("IF OBJECT_ID('dbo.Firma', 'U') IS NULL CREATE TABLE dbo.Firma ("
                       "FirmaID INT IDENTITY(1,1) PRIMARY KEY, "
                       "Unvan NVARCHAR(200) NOT NULL, "
                       "IsActive BIT NOT NULL DEFAULT(1), "
                       "IsDeleted BIT NOT NULL DEFAULT(0))"),
        QStringLiteral(
            "IF OBJECT_ID('dbo.Sube', 'U') IS NULL CREATE TABLE dbo.Sube ("
            "SubeID INT IDENTITY(1,1) PRIMARY KEY, "
            "SubeAdi NVARCHAR(100) NOT NULL, "
            "FirmaID INT NOT NULL, "
            "IsActive BIT NOT NULL DEFAULT(1), "
            "IsDeleted BIT NOT NULL DEFAULT(0), "
            "CONSTRAINT FK_Sube_Firma FOREIGN KEY (FirmaID) REFERENCES dbo.Firma(FirmaID))"),
        QStringLiteral("IF OBJECT_ID('dbo.Terminal', 'U') IS NULL CREATE TABLE dbo.Terminal ("
                       "TerminalID INT IDENTITY(1,1) PRIMARY KEY, "
                       "TerminalAdi NVARCHAR(100) NULL, "
                       "IsDeleted BIT NOT NULL DEFAULT(0))"),
        QStringLiteral("IF OBJECT_ID('dbo.Rol', 'U') IS NULL CREATE TABLE dbo.Rol ("
                       "RolID INT IDENTITY(1,1) PRIMARY KEY, "
                       "RolAdi NVARCHAR(50) NOT NULL)"),
        QStringLiteral(
            "IF OBJECT_ID('dbo.Kullanici', 'U') IS NULL CREATE TABLE dbo.Kullanici ("
            "KullaniciID INT IDENTITY(1,1) PRIMARY KEY, "
            "KullaniciAdi NVARCHAR(50) NOT NULL, "
            "SifreHash NVARCHAR(64) NOT NULL, "
            "AdSoyad NVARCHAR(100) NOT NULL, "
            "RolID INT NOT NULL, "
            "SubeID INT NOT NULL, "
            "AktifMi BIT NOT NULL DEFAULT(1), "
            "IsDeleted BIT NOT NULL DEFAULT(0), "
            "SonGiris DATETIME NULL, "
            "CONSTRAINT FK_Kullanici_Rol FOREIGN KEY (RolID) REFERENCES dbo.Rol(RolID), "
            "CONSTRAINT FK_Kullanici_Sube FOREIGN KEY (SubeID) REFERENCES dbo.Sube(SubeID))"),
        QStringLiteral("IF OBJECT_ID('dbo.Kategori', 'U') IS NULL CREATE TABLE dbo.Kategori ("
                       "KategoriID INT IDENTITY(1,1) PRIMARY KEY, "
                       "KategoriAdi NVARCHAR(100) NOT NULL, "
                       "IsActive BIT NOT NULL DEFAULT(1), "
                       "Sira INT NOT NULL DEFAULT(0))"),
        QStringLiteral("IF OBJECT_ID('dbo.Stok', 'U') IS NULL CREATE TABLE dbo.Stok ("
                       "StokID INT IDENTITY(1,1) PRIMARY KEY, "
                       "StokKodu NVARCHAR(50) NULL, "
                       "StokAdi NVARCHAR(150) NOT NULL, "
                       "Barkod NVARCHAR(50) NULL, "
                       "Birim NVARCHAR(10) NOT NULL DEFAULT('ADET'), "
                       "SatisFiyati DECIMAL(18,4) NOT NULL DEFAULT(0), "
                       "KDVOrani DECIMAL(5,2) NOT NULL DEFAULT(20), "
                       "TartimliMi BIT NOT NULL DEFAULT(0), "
                       "KategoriID INT NULL, "
                       "MevcutStok DECIMAL(18,3) NOT NULL DEFAULT(0), "
                       "MinStok DECIMAL(18,3) NULL, "
                       "MaxStok DECIMAL(18,3) NULL, "
                       "IsActive BIT NOT NULL DEFAULT(1), "
                       "IsDeleted BIT NOT NULL DEFAULT(0), "
                       "IsSKTTakibi BIT NOT NULL DEFAULT(0), "
                       "IsSatisEngelle BIT NULL DEFAULT(1), "
                       "UpdatedAt DATETIME NULL, "
                       "CONSTRAINT FK_Stok_Kategori FOREIGN KEY (KategoriID) REFERENCES "
                       "dbo.Kategori(KategoriID))"),
        QStringLiteral(
            "IF OBJECT_ID('dbo.StokBirimDonusum', 'U') IS NULL CREATE TABLE dbo.StokBirimDonusum ("
            "StokBirimDonusumID INT IDENTITY(1,1) PRIMARY KEY, "
            "StokID INT NOT NULL, "
            "KoliBarkod NVARCHAR(50) NOT NULL, "
            "CevrimKatsayi DECIMAL(18,3) NOT NULL DEFAULT(1), "
            "CONSTRAINT FK_StokBirimDonusum_Stok FOREIGN KEY (StokID) REFERENCES "
            "dbo.Stok(StokID))"),
        QStringLiteral(
            "IF OBJECT_ID('dbo.StokLotDetay', 'U') IS NULL CREATE TABLE dbo.StokLotDetay ("
            "LotID INT IDENTITY(1,1) PRIMARY KEY, "
            "StokID INT NOT NULL, "
            "LotNo NVARCHAR(50) NULL, "
            "MevcutMiktar DECIMAL(18,3) NOT NULL DEFAULT(0), "
            "SonKullanmaTarihi DATE NULL, "
            "CreatedAt DATETIME NOT NULL DEFAULT(GETDATE()), "
            "CONSTRAINT FK_StokLotDetay_Stok FOREIGN KEY (StokID) REFERENCES dbo.Stok(StokID))"),
        QStringLiteral("IF OBJECT_ID('dbo.Musteri', 'U') IS NULL CREATE TABLE dbo.Musteri ("
                       "MusteriID INT IDENTITY(1,1) PRIMARY KEY, "
                       "AdSoyad NVARCHAR(100) NULL, "
                       "FirmaUnvan NVARCHAR(200) NULL, "
                       "Telefon NVARCHAR(20) NULL, "
                       "IsDeleted BIT NOT NULL DEFAULT(0))"),
        QStringLiteral(
            "IF OBJECT_ID('dbo.Vardiya', 'U') IS NULL CREATE TABLE dbo.Vardiya ("
            "VardiyaID INT IDENTITY(1,1) PRIMARY KEY, "
            "KullaniciID INT NOT NULL, "
            "TerminalID INT NOT NULL, "
            "SubeID INT NOT NULL, "
            "AcilisZamani DATETIME NOT NULL DEFAULT(GETDATE()), "
            "AcilisTutar DECIMAL(18,2) NOT NULL DEFAULT(0), "
            "KapanisZamani DATETIME NULL, "
            "KapanisTutar DECIMAL(18,2) NULL, "
            "VardiyaDurumu NVARCHAR(20) NULL DEFAULT('ACIK'), "
            "CONSTRAINT FK_Vardiya_Kullanici FOREIGN KEY (KullaniciID) REFERENCES "
            "dbo.Kullanici(KullaniciID), "
            "CONSTRAINT FK_Vardiya_Terminal FOREIGN KEY (TerminalID) REFERENCES "
            "dbo.Terminal(TerminalID), "
            "CONSTRAINT FK_Vardiya_Sube FOREIGN KEY (SubeID) REFERENCES dbo.Sube(SubeID))"),
        QStringLiteral(
            "IF OBJECT_ID('dbo.SatisFis', 'U') IS NULL CREATE TABLE dbo.SatisFis ("
            "FisID INT IDENTITY(1,1) PRIMARY KEY, "
            "FisNo NVARCHAR(50) NOT NULL, "
            "SubeID INT NOT NULL, "
            "KullaniciID INT NOT NULL, "
            "TerminalID INT NULL, "
            "VardiyaID INT NULL, "
            "Tarih DATETIME NOT NULL DEFAULT(GETDATE()), "
            "AraToplam DECIMAL(18,2) NOT NULL DEFAULT(0), "
            "ToplamKDV DECIMAL(18,2) NOT NULL DEFAULT(0), "
            "Indirim DECIMAL(18,2) NOT NULL DEFAULT(0), "
            "GenelToplam DECIMAL(18,2) NOT NULL DEFAULT(0), "
            "OdemeTipi NVARCHAR(20) NULL, "
            "MusteriID INT NULL, "
            "FisDurumu NVARCHAR(20) NULL CONSTRAINT DF_SatisFis_FisDurumu DEFAULT('AKTIF'), "
            "CONSTRAINT FK_SatisFis_Sube FOREIGN KEY (SubeID) REFERENCES dbo.Sube(SubeID), "
            "CONSTRAINT FK_SatisFis_Kullanici FOREIGN KEY (KullaniciID) REFERENCES "
            "dbo.Kullanici(KullaniciID), "
            "CONSTRAINT FK_SatisFis_Terminal FOREIGN KEY (TerminalID) REFERENCES "
            "dbo.Terminal(TerminalID), "
            "CONSTRAINT FK_SatisFis_Vardiya FOREIGN KEY (VardiyaID) REFERENCES "
            "dbo.Vardiya(VardiyaID))"),
        QStringLiteral(
            "IF OBJECT_ID('dbo.SatisFisSatir', 'U') IS NULL CREATE TABLE dbo.SatisFisSatir ("
            "SatirID INT IDENTITY(1,1) PRIMARY KEY, "
            "FisID INT NOT NULL, "
            "SiraNo INT NOT NULL, "
            "StokID INT NOT NULL, "
            "StokAdi NVARCHAR(150) NOT NULL, "
            "Barkod NVARCHAR(50) NULL, "
            "Birim NVARCHAR(10) NULL, "
            "Miktar DECIMAL(18,3) NOT NULL, "
            "BirimFiyat DECIMAL(18,4) NOT NULL DEFAULT(0), "
            "KDVOrani DECIMAL(5,2) NOT NULL DEFAULT(0), "
            "KDVTutari DECIMAL(18,4) NOT NULL DEFAULT(0), "
            "IndirimOrani DECIMAL(5,2) NOT NULL DEFAULT(0), "
            "IndirimTutari DECIMAL(18,4) NOT NULL DEFAULT(0), "
            "AraToplam DECIMAL(18,4) NOT NULL DEFAULT(0), "
            "SatirToplam DECIMAL(18,4) NOT NULL DEFAULT(0), "
            "CONSTRAINT FK_SatisFisSatir_SatisFis FOREIGN KEY (FisID) REFERENCES "
            "dbo.SatisFis(FisID), "
            "CONSTRAINT FK_SatisFisSatir_Stok FOREIGN KEY (StokID) REFERENCES dbo.Stok(StokID))"),
        QStringLiteral("IF OBJECT_ID('dbo.SatisOdeme', 'U') IS NULL CREATE TABLE dbo.SatisOdeme ("
                       "OdemeID INT IDENTITY(1,1) PRIMARY KEY, "
                       "FisID INT NOT NULL, "
                       "OdemeTipi NVARCHAR(20) NOT NULL, "
                       "Tutar DECIMAL(18,2) NOT NULL DEFAULT(0), "
                       "CONSTRAINT FK_SatisOdeme_SatisFis FOREIGN KEY (FisID) REFERENCES "
                       "dbo.SatisFis(FisID))"),
        // Columns that arrived after the first set-up; a shop's older database gains them here
        // (SatisFis.OrijinalFisID is the refunds' own, in OwnedSchema).
        QStringLiteral("IF COL_LENGTH('dbo.Vardiya', 'KapatanKullaniciID') IS NULL ALTER TABLE "
                       "dbo.Vardiya ADD KapatanKullaniciID INT NULL"),
        // Not unique: a deleted or passive user's login name may be given to someone new.
        QStringLiteral(
            "IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Kullanici_KullaniciAdi' AND "
            "object_id = OBJECT_ID('dbo.Kullanici')) CREATE INDEX IX_Kullanici_KullaniciAdi "
            "ON dbo.Kullanici(KullaniciAdi)"),
        QStringLiteral(
            "IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Stok_Barkod' AND object_id "
            "= OBJECT_ID('dbo.Stok')) CREATE INDEX IX_Stok_Barkod ON dbo.Stok(Barkod)"),
        QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Stok_KategoriID' "
                       "AND object_id = OBJECT_ID('dbo.Stok')) CREATE INDEX IX_Stok_KategoriID ON "
                       "dbo.Stok(KategoriID)"),
        // The catalogue's tiles and the product search read products in the order of their names.
        QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Stok_StokAdi' "
                       "AND object_id = OBJECT_ID('dbo.Stok')) CREATE INDEX IX_Stok_StokAdi ON "
                       "dbo.Stok(StokAdi)"),
        QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = "
                       "'IX_Stok_KategoriID_StokAdi' AND object_id = OBJECT_ID('dbo.Stok')) CREATE "
                       "INDEX IX_Stok_KategoriID_StokAdi ON dbo.Stok(KategoriID, StokAdi)"),
        QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = "
                       "'UX_StokBirimDonusum_KoliBarkod' AND object_id = "
                       "OBJECT_ID('dbo.StokBirimDonusum')) CREATE UNIQUE INDEX "
                       "UX_StokBirimDonusum_KoliBarkod ON dbo.StokBirimDonusum(KoliBarkod)"),
        QStringLiteral(
            "IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_StokBirimDonusum_StokID' "
            "AND object_id = OBJECT_ID('dbo.StokBirimDonusum')) CREATE INDEX "
            "IX_StokBirimDonusum_StokID ON dbo.StokBirimDonusum(StokID)"),
        QStringLiteral(
            "IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_StokLotDetay_StokID' AND "
            "object_id = OBJECT_ID('dbo.StokLotDetay')) CREATE INDEX IX_StokLotDetay_StokID ON "
            "dbo.StokLotDetay(StokID, SonKullanmaTarihi)"),
        QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = "
                       "'IX_Vardiya_KullaniciID' AND object_id = OBJECT_ID('dbo.Vardiya')) CREATE "
                       "INDEX IX_Vardiya_KullaniciID ON dbo.Vardiya(KullaniciID, KapanisZamani)"),
        QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = "
                       "'IX_Vardiya_TerminalID' AND object_id = OBJECT_ID('dbo.Vardiya')) CREATE "
                       "INDEX IX_Vardiya_TerminalID ON dbo.Vardiya(TerminalID, SubeID)"),
        QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Vardiya_SubeID' "
                       "AND object_id = OBJECT_ID('dbo.Vardiya')) CREATE INDEX IX_Vardiya_SubeID "
                       "ON dbo.Vardiya(SubeID, AcilisZamani)"),
        QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_SatisFis_FisNo' "
                       "AND object_id = OBJECT_ID('dbo.SatisFis')) CREATE INDEX IX_SatisFis_FisNo "
                       "ON dbo.SatisFis(FisNo)"),
        QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = "
                       "'IX_SatisFis_VardiyaID' AND object_id = OBJECT_ID('dbo.SatisFis')) CREATE "
                       "INDEX IX_SatisFis_VardiyaID ON dbo.SatisFis(VardiyaID)"),
        QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = "
                       "'IX_SatisFis_SubeID_Tarih' AND object_id = OBJECT_ID('dbo.SatisFis')) "
                       "CREATE INDEX IX_SatisFis_SubeID_Tarih ON dbo.SatisFis(SubeID, Tarih)"),
        QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = "
                       "'IX_SatisFisSatir_FisID' AND object_id = OBJECT_ID('dbo.SatisFisSatir')) "
                       "CREATE INDEX IX_SatisFisSatir_FisID ON dbo.SatisFisSatir(FisID, SiraNo)"),
        QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = "
                       "'IX_SatisOdeme_FisID' AND object_id = OBJECT_ID('dbo.SatisOdeme')) CREATE "
                       "INDEX IX_SatisOdeme_FisID ON dbo.SatisOdeme(FisID)"),
        // The reports of a date range sum a branch's receipts and their payment lines from
        // these two alone, without reading a table row.
        QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = "
                       "'IX_SatisFis_SubeID_Tarih_Vardiya' AND object_id = "
                       "OBJECT_ID('dbo.SatisFis')) CREATE INDEX IX_SatisFis_SubeID_Tarih_Vardiya "
                       "ON dbo.SatisFis(SubeID, Tarih, VardiyaID, FisDurumu)"),
        QStringLiteral("IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = "
                       "'IX_SatisOdeme_FisID_Tutar' AND object_id = OBJECT_ID('dbo.SatisOdeme')) "
                       "CREATE INDEX IX_SatisOdeme_FisID_Tutar ON dbo.SatisOdeme(FisID, "
                       "OdemeTipi, Tutar)"),
    };
}

// One row per shift. The sums follow the shared shift rules: a receipt's payment comes from its
// SatisOdeme lines, or from its own OdemeTipi and GenelToplam when it has none; payment words
// are compared upper-cased; only 'AKTIF' and 'IADE' receipts count; refunds count by the
// absolute value of each sum, whatever sign they were stored with.
QString ShiftSummaryViewBody()
{
    return QStringLiteral(
        "SELECT X.VardiyaID, X.KullaniciID, X.TerminalID, X.SubeID, X.AcilisZamani, "
        "X.KapanisZamani, "
        "X.VardiyaDurumu, X.AcilisTutar, X.KapanisTutar, X.AktifFis, X.IadeFis, X.NakitAdet, "
        "X.KartAdet, X.NakitSatis, X.KartSatis, X.IadeNakit, X.IadeToplam, "
        "X.AcilisTutar + X.NakitSatis - X.IadeNakit AS BeklenenNakit, "
        "CASE WHEN X.KapanisZamani IS NULL THEN 0 "
        "ELSE X.KapanisTutar - (X.AcilisTutar + X.NakitSatis - X.IadeNakit) END AS Fark "
        "FROM (SELECT V.VardiyaID, V.KullaniciID, V.TerminalID, V.SubeID, V.AcilisZamani, "
        "V.KapanisZamani, V.VardiyaDurumu, "
        "ISNULL(V.AcilisTutar, 0) AS AcilisTutar, "
        "ISNULL(V.KapanisTutar, 0) AS KapanisTutar, "
        "ISNULL((SELECT COUNT(*) FROM dbo.SatisFis F0 WHERE F0.VardiyaID = V.VardiyaID "
        "AND F0.FisDurumu = 'AKTIF'), 0) AS AktifFis, "
        "ISNULL((SELECT COUNT(*) FROM dbo.SatisFis F0 WHERE F0.VardiyaID = V.VardiyaID "
        "AND F0.FisDurumu = 'IADE'), 0) AS IadeFis, "
        "ISNULL((SELECT COUNT(DISTINCT F1.FisID) FROM dbo.SatisFis F1 "
        "LEFT JOIN dbo.SatisOdeme O1 ON O1.FisID = F1.FisID WHERE F1.VardiyaID = V.VardiyaID "
        "AND F1.FisDurumu = 'AKTIF' AND UPPER(ISNULL(O1.OdemeTipi, F1.OdemeTipi)) = 'NAKIT'), 0) "
        "AS NakitAdet, "
        "ISNULL((SELECT COUNT(DISTINCT F2.FisID) FROM dbo.SatisFis F2 "
        "LEFT JOIN dbo.SatisOdeme O2 ON O2.FisID = F2.FisID WHERE F2.VardiyaID = V.VardiyaID "
        "AND F2.FisDurumu = 'AKTIF' AND UPPER(ISNULL(O2.OdemeTipi, F2.OdemeTipi)) = 'KART'), 0) "
        "AS KartAdet, "
        "ISNULL((SELECT SUM(O3.Tutar) FROM dbo.SatisOdeme O3 "
        "INNER JOIN dbo.SatisFis F3 ON O3.FisID = F3.FisID WHERE F3.VardiyaID = V.VardiyaID "
        "AND F3.FisDurumu = 'AKTIF' AND UPPER(O3.OdemeTipi) = 'NAKIT'), 0) + "
        "ISNULL((SELECT SUM(FN.GenelToplam) FROM dbo.SatisFis FN WHERE FN.VardiyaID = V.VardiyaID "
        "AND FN.FisDurumu = 'AKTIF' AND UPPER(ISNULL(FN.OdemeTipi, '')) = 'NAKIT' "
        "AND NOT EXISTS (SELECT 1 FROM dbo.SatisOdeme OO WHERE OO.FisID = FN.FisID)), 0) "
        "AS NakitSatis, "
        "ISNULL((SELECT SUM(O4.Tutar) FROM dbo.SatisOdeme O4 "
        "INNER JOIN dbo.SatisFis F4 ON O4.FisID = F4.FisID WHERE F4.VardiyaID = V.VardiyaID "
        "AND F4.FisDurumu = 'AKTIF' AND UPPER(O4.OdemeTipi) = 'KART'), 0) + "
        "ISNULL((SELECT SUM(FK.GenelToplam) FROM dbo.SatisFis FK WHERE FK.VardiyaID = V.VardiyaID "
        "AND FK.FisDurumu = 'AKTIF' AND UPPER(ISNULL(FK.OdemeTipi, '')) = 'KART' "
        "AND NOT EXISTS (SELECT 1 FROM dbo.SatisOdeme OO2 WHERE OO2.FisID = FK.FisID)), 0) "
        "AS KartSatis, "
        "ISNULL((SELECT ABS(SUM(O5.Tutar)) FROM dbo.SatisOdeme O5 "
        "INNER JOIN dbo.SatisFis F5 ON O5.FisID = F5.FisID WHERE F5.VardiyaID = V.VardiyaID "
        "AND F5.FisDurumu = 'IADE' AND UPPER(O5.OdemeTipi) = 'NAKIT'), 0) + "
        "ISNULL((SELECT ABS(SUM(FI.GenelToplam)) FROM dbo.SatisFis FI WHERE FI.VardiyaID = "
        "V.VardiyaID "
        "AND FI.FisDurumu = 'IADE' AND UPPER(ISNULL(FI.OdemeTipi, '')) = 'NAKIT' "
        "AND NOT EXISTS (SELECT 1 FROM dbo.SatisOdeme OO3 WHERE OO3.FisID = FI.FisID)), 0) "
        "AS IadeNakit, "
        "ISNULL((SELECT ABS(SUM(F6.GenelToplam)) FROM dbo.SatisFis F6 WHERE F6.VardiyaID = "
        "V.VardiyaID "
        "AND F6.FisDurumu = 'IADE'), 0) AS IadeToplam "
        "FROM dbo.Vardiya V) X");
}

bool IsComplete()
{
    const TExpected expected = ExpectedObjects();
    QSet<QString> tables;
    QSet<QString> indexes;
    QString viewSql;
    TDbQuery objects(QStringLiteral("SELECT type, name, sql FROM sqlite_master"));
    objects.Exec();
    while (objects.Next()) {
        const QString type = objects.Value(0).toString();
        const QString name = objects.Value(1).toString().toLower();
        if (type == u"table")
            tables.insert(name);
        else if (type == u"index")
            indexes.insert(name);
        else if (type == u"view" && name == kViewName.toLower())
            viewSql = objects.Value(2).toString();
    }
    if (!tables.contains(expected.Tables) || !indexes.contains(expected.Indexes) ||
        viewSql != SqliteViewStatement())
        return false;
    for (const auto& [table, column] : expected.Columns) {
        TDbQuery probe(QStringLiteral("SELECT COL_LENGTH(:T, :C)"));
        probe.Param(QStringLiteral("T"), table).Param(QStringLiteral("C"), column).Exec();
        if (!probe.Next() || probe.Value(0).isNull())
            return false;
    }
    return true;
}

void Create()
{
    if (!IsComplete()) {
        TDbTransaction transaction;
        for (const QString& statement : RequiredStatements())
            dmMain->ExecSql(statement);
        OwnedSchema::Run(OwnedSchema::AllStatements());
        RecreateView();
        transaction.Commit();
    }
    // Every owned table, column and index is there now: their owners need not send their
    // statements again on this connection.
    dmMain->SchemaEnsured(OwnedSchema::AllStatements());
}
} // namespace EmbeddedSchema
