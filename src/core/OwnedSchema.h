#pragma once

#include <QLatin1String>
#include <QString>
#include <QStringList>

// The tables, columns and indexes the program creates for itself when they are missing. Each
// statement is written for SQL Server and is safe to run any number of times; on SQLite the
// dialect turns it into its guarded equivalent. Units that own a table run its statements,
// each as one command, before their first read or write of it; they use these texts rather
// than spelling them again, so the server script, the embedded schema and the program agree.
namespace OwnedSchema {

// Settings (TAppSettingsManager).
inline constexpr QLatin1String SistemParametreTable{
    "IF OBJECT_ID('dbo.SistemParametre', 'U') IS NULL CREATE TABLE dbo.SistemParametre (ParamKey "
    "NVARCHAR(100) NOT NULL PRIMARY KEY, ParamValue NVARCHAR(4000) NULL, Description NVARCHAR(250) "
    "NULL, UpdatedAt DATETIME NOT NULL DEFAULT(GETDATE()))"};

// Branch stock (BranchStockManager): the table and its two indexes, in this order.
inline constexpr QLatin1String SubeStokTable{
    "IF OBJECT_ID('dbo.SubeStok', 'U') IS NULL CREATE TABLE dbo.SubeStok (SubeStokID INT "
    "IDENTITY(1,1) PRIMARY KEY, SubeID INT NOT NULL, StokID INT NOT NULL, MevcutStok DECIMAL(18,3) "
    "NOT NULL CONSTRAINT DF_SubeStok_MevcutStok DEFAULT(0), MinStok DECIMAL(18,3) NULL, MaxStok "
    "DECIMAL(18,3) NULL, RafKodu NVARCHAR(50) NULL, IsActive BIT NOT NULL CONSTRAINT "
    "DF_SubeStok_IsActive DEFAULT(1), CreatedAt DATETIME NOT NULL CONSTRAINT DF_SubeStok_CreatedAt "
    "DEFAULT(GETDATE()), UpdatedAt DATETIME NULL, CONSTRAINT FK_SubeStok_Sube FOREIGN KEY (SubeID) "
    "REFERENCES dbo.Sube(SubeID), CONSTRAINT FK_SubeStok_Stok FOREIGN KEY (StokID) REFERENCES "
    "dbo.Stok(StokID));"};
inline constexpr QLatin1String SubeStokUniqueIndex{
    "IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'UX_SubeStok_Sube_Stok' AND object_id = "
    "OBJECT_ID('dbo.SubeStok')) CREATE UNIQUE INDEX UX_SubeStok_Sube_Stok ON dbo.SubeStok(SubeID, "
    "StokID);"};
inline constexpr QLatin1String SubeStokStokIndex{
    "IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_SubeStok_StokID' AND object_id = "
    "OBJECT_ID('dbo.SubeStok')) CREATE INDEX IX_SubeStok_StokID ON dbo.SubeStok(StokID);"};

// Lots taken by a sale line (SaleManager).
inline constexpr QLatin1String SatisFisLotTable{
    "IF OBJECT_ID('dbo.SatisFisLot', 'U') IS NULL CREATE TABLE dbo.SatisFisLot (SatisFisLotID INT "
    "IDENTITY(1,1) PRIMARY KEY, FisID INT NOT NULL, SatirSiraNo INT NOT NULL, StokID INT NOT NULL, "
    "LotID INT NOT NULL, Miktar DECIMAL(18,3) NOT NULL, SonKullanmaTarihi DATE NULL, CreatedAt "
    "DATETIME NOT NULL DEFAULT(GETDATE()));"};

// Customer accounts: the full definition (customer list and card) ...
inline constexpr QLatin1String CariKartTable{
    "IF OBJECT_ID('dbo.CariKart', 'U') IS NULL CREATE TABLE dbo.CariKart (CariID INT IDENTITY(1,1) "
    "PRIMARY KEY, CariKodu NVARCHAR(30) NOT NULL, CariAdi NVARCHAR(200) NOT NULL, CariTipi "
    "NVARCHAR(20) NOT NULL, VKN NVARCHAR(11) NULL, TCKN NVARCHAR(11) NULL, VergiDairesi "
    "NVARCHAR(100) NULL, EFaturaMukellefi BIT NOT NULL DEFAULT(0), EIrsaliyeMukellefi BIT NOT NULL "
    "DEFAULT(0), Telefon NVARCHAR(20) NULL, Email NVARCHAR(150) NULL, Adres NVARCHAR(400) NULL, Il "
    "NVARCHAR(50) NULL, Ilce NVARCHAR(50) NULL, PostaKodu NVARCHAR(10) NULL, YetkiliKisi "
    "NVARCHAR(100) NULL, ParaBirimi NVARCHAR(10) NULL DEFAULT('TRY'), RiskLimiti DECIMAL(18,2) NOT "
    "NULL DEFAULT(0), VadeGunu INT NOT NULL DEFAULT(0), Notlar NVARCHAR(1000) NULL, IsActive BIT "
    "NOT "
    "NULL DEFAULT(1), IsDeleted BIT NOT NULL DEFAULT(0), CreatedAt DATETIME NOT NULL "
    "DEFAULT(GETDATE()), UpdatedAt DATETIME NULL)"};
// ... and the shorter one of the invoice document, without the five later columns.
inline constexpr QLatin1String CariKartShortTable{
    "IF OBJECT_ID('dbo.CariKart', 'U') IS NULL CREATE TABLE dbo.CariKart (CariID INT IDENTITY(1,1) "
    "PRIMARY KEY, CariKodu NVARCHAR(30) NOT NULL, CariAdi NVARCHAR(200) NOT NULL, CariTipi "
    "NVARCHAR(20) NOT NULL, VKN NVARCHAR(11) NULL, TCKN NVARCHAR(11) NULL, VergiDairesi "
    "NVARCHAR(100) NULL, EFaturaMukellefi BIT NOT NULL DEFAULT(0), EIrsaliyeMukellefi BIT NOT NULL "
    "DEFAULT(0), Telefon NVARCHAR(20) NULL, Email NVARCHAR(150) NULL, Adres NVARCHAR(400) NULL, Il "
    "NVARCHAR(50) NULL, Ilce NVARCHAR(50) NULL, PostaKodu NVARCHAR(10) NULL, IsActive BIT NOT NULL "
    "DEFAULT(1), IsDeleted BIT NOT NULL DEFAULT(0), CreatedAt DATETIME NOT NULL "
    "DEFAULT(GETDATE()), "
    "UpdatedAt DATETIME NULL)"};
inline constexpr QLatin1String CariKartCodeIndex{
    "IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'UX_CariKart_CariKodu' AND object_id = "
    "OBJECT_ID('dbo.CariKart')) CREATE UNIQUE INDEX UX_CariKart_CariKodu ON "
    "dbo.CariKart(CariKodu)"};

// The guarded add-column statement of one CariKart column, with the type, nullability and
// default of the full definition; empty for a column that is not added this way.
QString CariKartColumn(const QString& column);
// The columns the customer list brings in, in its order, and the five the customer card does.
QStringList CariKartListColumns();
QStringList CariKartCardColumns();

// Invoice documents made from a sale.
inline constexpr QLatin1String BelgeBaslikTable{
    "IF OBJECT_ID('dbo.BelgeBaslik', 'U') IS NULL CREATE TABLE dbo.BelgeBaslik (BelgeID INT "
    "IDENTITY(1,1) PRIMARY KEY, BelgeNo NVARCHAR(50) NOT NULL, BelgeTuru NVARCHAR(20) NOT NULL, "
    "BelgeTarihi DATETIME NOT NULL DEFAULT(GETDATE()), CariID INT NOT NULL, KullaniciID INT NOT "
    "NULL, AraToplam DECIMAL(18,4) NOT NULL DEFAULT(0), ToplamKDV DECIMAL(18,4) NOT NULL "
    "DEFAULT(0), "
    "GenelToplam DECIMAL(18,4) NOT NULL DEFAULT(0), Aciklama NVARCHAR(400) NULL, Durum "
    "NVARCHAR(20) "
    "NOT NULL DEFAULT('AKTIF'), CreatedAt DATETIME NOT NULL DEFAULT(GETDATE()))"};
inline constexpr QLatin1String BelgeBaslikNoIndex{
    "IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'UX_BelgeBaslik_BelgeNo' AND object_id "
    "= OBJECT_ID('dbo.BelgeBaslik')) CREATE UNIQUE INDEX UX_BelgeBaslik_BelgeNo ON "
    "dbo.BelgeBaslik(BelgeNo)"};
inline constexpr QLatin1String BelgeSatirTable{
    "IF OBJECT_ID('dbo.BelgeSatir', 'U') IS NULL CREATE TABLE dbo.BelgeSatir (BelgeSatirID INT "
    "IDENTITY(1,1) PRIMARY KEY, BelgeID INT NOT NULL, SiraNo INT NOT NULL, StokID INT NOT NULL, "
    "StokAdi NVARCHAR(150) NOT NULL, Miktar DECIMAL(10,3) NOT NULL, Birim NVARCHAR(10) NOT NULL, "
    "BirimFiyat DECIMAL(18,4) NOT NULL, KDVOrani DECIMAL(5,2) NOT NULL, KDVTutari DECIMAL(18,4) "
    "NOT "
    "NULL, SatirToplam DECIMAL(18,4) NOT NULL)"};

// The link of a refund receipt to the sale it refunds (refunds), a column that came after the
// first set-up, and its index.
inline constexpr QLatin1String SatisFisOrijinalFisIDColumn{
    "IF COL_LENGTH('dbo.SatisFis', 'OrijinalFisID') IS NULL ALTER TABLE dbo.SatisFis ADD "
    "OrijinalFisID INT NULL"};
inline constexpr QLatin1String SatisFisOrijinalFisIDIndex{
    "IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_SatisFis_OrijinalFisID' AND "
    "object_id = OBJECT_ID('dbo.SatisFis')) CREATE INDEX IX_SatisFis_OrijinalFisID ON "
    "dbo.SatisFis(OrijinalFisID)"};

// The picture columns of Stok (stock image generator).
inline constexpr QLatin1String StokGorselYolColumn{
    "IF COL_LENGTH('dbo.Stok', 'GorselYol') IS NULL ALTER TABLE dbo.Stok ADD GorselYol "
    "NVARCHAR(300) NULL;"};
inline constexpr QLatin1String StokResimColumn{"IF COL_LENGTH('dbo.Stok', 'Resim') IS NULL ALTER "
                                               "TABLE dbo.Stok ADD Resim NVARCHAR(300) NULL;"};

// The receipt's columns (print service): the firm's address and tax details printed above the
// receipt's header, and the cash a customer handed over, kept on the sale's cash payment so that
// a receipt printed again shows the change.
inline constexpr QLatin1String FirmaAdresColumn{
    "IF COL_LENGTH('dbo.Firma', 'Adres') IS NULL ALTER TABLE dbo.Firma ADD Adres NVARCHAR(400) "
    "NULL;"};
inline constexpr QLatin1String FirmaVergiDairesiColumn{
    "IF COL_LENGTH('dbo.Firma', 'VergiDairesi') IS NULL ALTER TABLE dbo.Firma ADD VergiDairesi "
    "NVARCHAR(100) NULL;"};
inline constexpr QLatin1String FirmaVergiNoColumn{
    "IF COL_LENGTH('dbo.Firma', 'VergiNo') IS NULL ALTER TABLE dbo.Firma ADD VergiNo NVARCHAR(11) "
    "NULL;"};
inline constexpr QLatin1String SatisOdemeVerilenColumn{
    "IF COL_LENGTH('dbo.SatisOdeme', 'VerilenTutar') IS NULL ALTER TABLE dbo.SatisOdeme ADD "
    "VerilenTutar DECIMAL(18,2) NULL;"};

// The statements of each owner, in the order the owner runs them.
QStringList SettingsStatements();
QStringList BranchStockStatements();
QStringList SaleLotStatements();
QStringList CustomerListStatements();
QStringList CustomerCardStatements();
QStringList InvoiceDocumentStatements();
QStringList StokImageStatements();
QStringList ReceiptStatements();
QStringList RefundStatements();
// Every owned object, for a new database: the full definitions first, so the shorter CariKart
// of the invoice path never wins.
QStringList AllStatements();

// Run a list on the program's connection, each statement as one command, once per connection.
void Run(const QStringList& statements);

} // namespace OwnedSchema
