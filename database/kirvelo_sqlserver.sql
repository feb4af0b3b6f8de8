-- KIRVELO: SQL Server set-up of the shop database.
--
-- Run once, by the administrator, inside the (empty) KIRVELO database of the instance, for
-- example:
--     sqlcmd -S localhost\TALVIRON -d KIRVELO -U sa -f 65001 -i kirvelo_sqlserver.sql
-- The file is UTF-8 (-f 65001). Every statement checks first whether its object exists, so the
-- script can be run again at any time: it adds what is missing and changes nothing else. The
-- view and the two procedures are replaced by their current definition on every run.
--
-- The embedded SQLite database of the program is built from the same table statements.

SET NOCOUNT ON;
SET QUOTED_IDENTIFIER ON;
SET ANSI_NULLS ON;
GO

-- ---------------------------------------------------------------------------------------------
-- Tables that must exist before the program runs: organisation, users, catalogue, sales, shifts.
-- Money is DECIMAL(18,2) on receipt heads, payments and shifts, DECIMAL(18,4) on lines and
-- prices; quantities are DECIMAL(18,3). A NULL FisDurumu is an old receipt; new sales are
-- 'AKTIF' through the column default.
-- ---------------------------------------------------------------------------------------------

IF OBJECT_ID('dbo.Firma', 'U') IS NULL CREATE TABLE dbo.Firma (
    FirmaID INT IDENTITY(1,1) PRIMARY KEY,
    Unvan NVARCHAR(200) NOT NULL,
    IsActive BIT NOT NULL DEFAULT(1),
    IsDeleted BIT NOT NULL DEFAULT(0)
);
GO
IF OBJECT_ID('dbo.Sube', 'U') IS NULL CREATE TABLE dbo.Sube (
    SubeID INT IDENTITY(1,1) PRIMARY KEY,
    SubeAdi NVARCHAR(100) NOT NULL,
    FirmaID INT NOT NULL,
    IsActive BIT NOT NULL DEFAULT(1),
    IsDeleted BIT NOT NULL DEFAULT(0),
    CONSTRAINT FK_Sube_Firma FOREIGN KEY (FirmaID) REFERENCES dbo.Firma(FirmaID)
);
GO
IF OBJECT_ID('dbo.Terminal', 'U') IS NULL CREATE TABLE dbo.Terminal (
    TerminalID INT IDENTITY(1,1) PRIMARY KEY,
    TerminalAdi NVARCHAR(100) NULL,
    IsDeleted BIT NOT NULL DEFAULT(0)
);
GO
IF OBJECT_ID('dbo.Rol', 'U') IS NULL CREATE TABLE dbo.Rol (
    RolID INT IDENTITY(1,1) PRIMARY KEY,
    RolAdi NVARCHAR(50) NOT NULL
);
GO
IF OBJECT_ID('dbo.Kullanici', 'U') IS NULL CREATE TABLE dbo.Kullanici (
    KullaniciID INT IDENTITY(1,1) PRIMARY KEY,
    KullaniciAdi NVARCHAR(50) NOT NULL,
    SifreHash NVARCHAR(64) NOT NULL,
    AdSoyad NVARCHAR(100) NOT NULL,
    RolID INT NOT NULL,
    SubeID INT NOT NULL,
    AktifMi BIT NOT NULL DEFAULT(1),
    IsDeleted BIT NOT NULL DEFAULT(0),
    SonGiris DATETIME NULL,
    CONSTRAINT FK_Kullanici_Rol FOREIGN KEY (RolID) REFERENCES dbo.Rol(RolID),
    CONSTRAINT FK_Kullanici_Sube FOREIGN KEY (SubeID) REFERENCES dbo.Sube(SubeID)
);
GO
IF OBJECT_ID('dbo.Kategori', 'U') IS NULL CREATE TABLE dbo.Kategori (
    KategoriID INT IDENTITY(1,1) PRIMARY KEY,
    KategoriAdi NVARCHAR(100) NOT NULL,
    IsActive BIT NOT NULL DEFAULT(1),
    Sira INT NOT NULL DEFAULT(0)
);
GO
IF OBJECT_ID('dbo.Stok', 'U') IS NULL CREATE TABLE dbo.Stok (
    StokID INT IDENTITY(1,1) PRIMARY KEY,
    StokKodu NVARCHAR(50) NULL,
    StokAdi NVARCHAR(150) NOT NULL,
    Barkod NVARCHAR(50) NULL,
    Birim NVARCHAR(10) NOT NULL DEFAULT('ADET'),
    SatisFiyati DECIMAL(18,4) NOT NULL DEFAULT(0),
    KDVOrani DECIMAL(5,2) NOT NULL DEFAULT(20),
    TartimliMi BIT NOT NULL DEFAULT(0),
    KategoriID INT NULL,
    MevcutStok DECIMAL(18,3) NOT NULL DEFAULT(0),
    MinStok DECIMAL(18,3) NULL,
    MaxStok DECIMAL(18,3) NULL,
    IsActive BIT NOT NULL DEFAULT(1),
    IsDeleted BIT NOT NULL DEFAULT(0),
    IsSKTTakibi BIT NOT NULL DEFAULT(0),
    IsSatisEngelle BIT NULL DEFAULT(1),
    UpdatedAt DATETIME NULL,
    CONSTRAINT FK_Stok_Kategori FOREIGN KEY (KategoriID) REFERENCES dbo.Kategori(KategoriID)
);
GO
IF OBJECT_ID('dbo.StokBirimDonusum', 'U') IS NULL CREATE TABLE dbo.StokBirimDonusum (
    StokBirimDonusumID INT IDENTITY(1,1) PRIMARY KEY,
    StokID INT NOT NULL,
    KoliBarkod NVARCHAR(50) NOT NULL,
    CevrimKatsayi DECIMAL(18,3) NOT NULL DEFAULT(1),
    CONSTRAINT FK_StokBirimDonusum_Stok FOREIGN KEY (StokID) REFERENCES dbo.Stok(StokID)
);
GO
IF OBJECT_ID('dbo.StokLotDetay', 'U') IS NULL CREATE TABLE dbo.StokLotDetay (
    LotID INT IDENTITY(1,1) PRIMARY KEY,
    StokID INT NOT NULL,
    LotNo NVARCHAR(50) NULL,
    MevcutMiktar DECIMAL(18,3) NOT NULL DEFAULT(0),
    SonKullanmaTarihi DATE NULL,
    CreatedAt DATETIME NOT NULL DEFAULT(GETDATE()),
    CONSTRAINT FK_StokLotDetay_Stok FOREIGN KEY (StokID) REFERENCES dbo.Stok(StokID)
);
GO
IF OBJECT_ID('dbo.Musteri', 'U') IS NULL CREATE TABLE dbo.Musteri (
    MusteriID INT IDENTITY(1,1) PRIMARY KEY,
    AdSoyad NVARCHAR(100) NULL,
    FirmaUnvan NVARCHAR(200) NULL,
    Telefon NVARCHAR(20) NULL,
    IsDeleted BIT NOT NULL DEFAULT(0)
);
GO
IF OBJECT_ID('dbo.Vardiya', 'U') IS NULL CREATE TABLE dbo.Vardiya (
    VardiyaID INT IDENTITY(1,1) PRIMARY KEY,
    KullaniciID INT NOT NULL,
    TerminalID INT NOT NULL,
    SubeID INT NOT NULL,
    AcilisZamani DATETIME NOT NULL DEFAULT(GETDATE()),
    AcilisTutar DECIMAL(18,2) NOT NULL DEFAULT(0),
    KapanisZamani DATETIME NULL,
    KapanisTutar DECIMAL(18,2) NULL,
    VardiyaDurumu NVARCHAR(20) NULL DEFAULT('ACIK'),
    CONSTRAINT FK_Vardiya_Kullanici FOREIGN KEY (KullaniciID) REFERENCES dbo.Kullanici(KullaniciID),
    CONSTRAINT FK_Vardiya_Terminal FOREIGN KEY (TerminalID) REFERENCES dbo.Terminal(TerminalID),
    CONSTRAINT FK_Vardiya_Sube FOREIGN KEY (SubeID) REFERENCES dbo.Sube(SubeID)
);
GO
IF OBJECT_ID('dbo.SatisFis', 'U') IS NULL CREATE TABLE dbo.SatisFis (
    FisID INT IDENTITY(1,1) PRIMARY KEY,
    FisNo NVARCHAR(50) NOT NULL,
    SubeID INT NOT NULL,
    KullaniciID INT NOT NULL,
    TerminalID INT NULL,
    VardiyaID INT NULL,
    Tarih DATETIME NOT NULL DEFAULT(GETDATE()),
    AraToplam DECIMAL(18,2) NOT NULL DEFAULT(0),
    ToplamKDV DECIMAL(18,2) NOT NULL DEFAULT(0),
    Indirim DECIMAL(18,2) NOT NULL DEFAULT(0),
    GenelToplam DECIMAL(18,2) NOT NULL DEFAULT(0),
    OdemeTipi NVARCHAR(20) NULL,
    MusteriID INT NULL,
    FisDurumu NVARCHAR(20) NULL CONSTRAINT DF_SatisFis_FisDurumu DEFAULT('AKTIF'),
    CONSTRAINT FK_SatisFis_Sube FOREIGN KEY (SubeID) REFERENCES dbo.Sube(SubeID),
    CONSTRAINT FK_SatisFis_Kullanici FOREIGN KEY (KullaniciID) REFERENCES dbo.Kullanici(KullaniciID),
    CONSTRAINT FK_SatisFis_Terminal FOREIGN KEY (TerminalID) REFERENCES dbo.Terminal(TerminalID),
    CONSTRAINT FK_SatisFis_Vardiya FOREIGN KEY (VardiyaID) REFERENCES dbo.Vardiya(VardiyaID)
);
GO
IF OBJECT_ID('dbo.SatisFisSatir', 'U') IS NULL CREATE TABLE dbo.SatisFisSatir (
    SatirID INT IDENTITY(1,1) PRIMARY KEY,
    FisID INT NOT NULL,
    SiraNo INT NOT NULL,
    StokID INT NOT NULL,
    StokAdi NVARCHAR(150) NOT NULL,
    Barkod NVARCHAR(50) NULL,
    Birim NVARCHAR(10) NULL,
    Miktar DECIMAL(18,3) NOT NULL,
    BirimFiyat DECIMAL(18,4) NOT NULL DEFAULT(0),
    KDVOrani DECIMAL(5,2) NOT NULL DEFAULT(0),
    KDVTutari DECIMAL(18,4) NOT NULL DEFAULT(0),
    IndirimOrani DECIMAL(5,2) NOT NULL DEFAULT(0),
    IndirimTutari DECIMAL(18,4) NOT NULL DEFAULT(0),
    AraToplam DECIMAL(18,4) NOT NULL DEFAULT(0),
    SatirToplam DECIMAL(18,4) NOT NULL DEFAULT(0),
    CONSTRAINT FK_SatisFisSatir_SatisFis FOREIGN KEY (FisID) REFERENCES dbo.SatisFis(FisID),
    CONSTRAINT FK_SatisFisSatir_Stok FOREIGN KEY (StokID) REFERENCES dbo.Stok(StokID)
);
GO
IF OBJECT_ID('dbo.SatisOdeme', 'U') IS NULL CREATE TABLE dbo.SatisOdeme (
    OdemeID INT IDENTITY(1,1) PRIMARY KEY,
    FisID INT NOT NULL,
    OdemeTipi NVARCHAR(20) NOT NULL,
    Tutar DECIMAL(18,2) NOT NULL DEFAULT(0),
    CONSTRAINT FK_SatisOdeme_SatisFis FOREIGN KEY (FisID) REFERENCES dbo.SatisFis(FisID)
);
GO
-- Columns that arrived after the first set-up: an older shop database gains them here.
-- OrijinalFisID links a refund receipt to the sale it refunds.
IF COL_LENGTH('dbo.SatisFis', 'OrijinalFisID') IS NULL ALTER TABLE dbo.SatisFis ADD OrijinalFisID INT NULL;
GO
IF COL_LENGTH('dbo.Vardiya', 'KapatanKullaniciID') IS NULL ALTER TABLE dbo.Vardiya ADD KapatanKullaniciID INT NULL;
GO
-- The look-ups of the program: login name, barcode, case barcode, lots by expiry, open shifts,
-- receipt number, receipts of a shift or a day, refunds of a receipt, lines and payments of a
-- receipt.
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Kullanici_KullaniciAdi' AND object_id = OBJECT_ID('dbo.Kullanici')) CREATE INDEX IX_Kullanici_KullaniciAdi ON dbo.Kullanici(KullaniciAdi);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Stok_Barkod' AND object_id = OBJECT_ID('dbo.Stok')) CREATE INDEX IX_Stok_Barkod ON dbo.Stok(Barkod);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Stok_KategoriID' AND object_id = OBJECT_ID('dbo.Stok')) CREATE INDEX IX_Stok_KategoriID ON dbo.Stok(KategoriID);
GO
-- The catalogue's tiles and the product search read products in the order of their names.
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Stok_StokAdi' AND object_id = OBJECT_ID('dbo.Stok')) CREATE INDEX IX_Stok_StokAdi ON dbo.Stok(StokAdi);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Stok_KategoriID_StokAdi' AND object_id = OBJECT_ID('dbo.Stok')) CREATE INDEX IX_Stok_KategoriID_StokAdi ON dbo.Stok(KategoriID, StokAdi);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'UX_StokBirimDonusum_KoliBarkod' AND object_id = OBJECT_ID('dbo.StokBirimDonusum')) CREATE UNIQUE INDEX UX_StokBirimDonusum_KoliBarkod ON dbo.StokBirimDonusum(KoliBarkod);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_StokBirimDonusum_StokID' AND object_id = OBJECT_ID('dbo.StokBirimDonusum')) CREATE INDEX IX_StokBirimDonusum_StokID ON dbo.StokBirimDonusum(StokID);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_StokLotDetay_StokID' AND object_id = OBJECT_ID('dbo.StokLotDetay')) CREATE INDEX IX_StokLotDetay_StokID ON dbo.StokLotDetay(StokID, SonKullanmaTarihi);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Vardiya_KullaniciID' AND object_id = OBJECT_ID('dbo.Vardiya')) CREATE INDEX IX_Vardiya_KullaniciID ON dbo.Vardiya(KullaniciID, KapanisZamani);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Vardiya_TerminalID' AND object_id = OBJECT_ID('dbo.Vardiya')) CREATE INDEX IX_Vardiya_TerminalID ON dbo.Vardiya(TerminalID, SubeID);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_Vardiya_SubeID' AND object_id = OBJECT_ID('dbo.Vardiya')) CREATE INDEX IX_Vardiya_SubeID ON dbo.Vardiya(SubeID, AcilisZamani);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_SatisFis_FisNo' AND object_id = OBJECT_ID('dbo.SatisFis')) CREATE INDEX IX_SatisFis_FisNo ON dbo.SatisFis(FisNo);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_SatisFis_VardiyaID' AND object_id = OBJECT_ID('dbo.SatisFis')) CREATE INDEX IX_SatisFis_VardiyaID ON dbo.SatisFis(VardiyaID);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_SatisFis_SubeID_Tarih' AND object_id = OBJECT_ID('dbo.SatisFis')) CREATE INDEX IX_SatisFis_SubeID_Tarih ON dbo.SatisFis(SubeID, Tarih);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_SatisFis_OrijinalFisID' AND object_id = OBJECT_ID('dbo.SatisFis')) CREATE INDEX IX_SatisFis_OrijinalFisID ON dbo.SatisFis(OrijinalFisID);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_SatisFisSatir_FisID' AND object_id = OBJECT_ID('dbo.SatisFisSatir')) CREATE INDEX IX_SatisFisSatir_FisID ON dbo.SatisFisSatir(FisID, SiraNo);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_SatisOdeme_FisID' AND object_id = OBJECT_ID('dbo.SatisOdeme')) CREATE INDEX IX_SatisOdeme_FisID ON dbo.SatisOdeme(FisID);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_SatisFis_SubeID_Tarih_Vardiya' AND object_id = OBJECT_ID('dbo.SatisFis')) CREATE INDEX IX_SatisFis_SubeID_Tarih_Vardiya ON dbo.SatisFis(SubeID, Tarih, VardiyaID, FisDurumu);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_SatisOdeme_FisID_Tutar' AND object_id = OBJECT_ID('dbo.SatisOdeme')) CREATE INDEX IX_SatisOdeme_FisID_Tutar ON dbo.SatisOdeme(FisID, OdemeTipi, Tutar);
GO

-- ---------------------------------------------------------------------------------------------
-- Tables the program owns. The program runs these same statements itself before it first uses
-- each table; they are here so that a new database is complete from the start.
-- ---------------------------------------------------------------------------------------------

IF OBJECT_ID('dbo.SistemParametre', 'U') IS NULL CREATE TABLE dbo.SistemParametre (
    ParamKey NVARCHAR(100) NOT NULL PRIMARY KEY,
    ParamValue NVARCHAR(4000) NULL,
    Description NVARCHAR(250) NULL,
    UpdatedAt DATETIME NOT NULL DEFAULT(GETDATE())
);
GO
IF OBJECT_ID('dbo.SubeStok', 'U') IS NULL CREATE TABLE dbo.SubeStok (
    SubeStokID INT IDENTITY(1,1) PRIMARY KEY,
    SubeID INT NOT NULL,
    StokID INT NOT NULL,
    MevcutStok DECIMAL(18,3) NOT NULL CONSTRAINT DF_SubeStok_MevcutStok DEFAULT(0),
    MinStok DECIMAL(18,3) NULL,
    MaxStok DECIMAL(18,3) NULL,
    RafKodu NVARCHAR(50) NULL,
    IsActive BIT NOT NULL CONSTRAINT DF_SubeStok_IsActive DEFAULT(1),
    CreatedAt DATETIME NOT NULL CONSTRAINT DF_SubeStok_CreatedAt DEFAULT(GETDATE()),
    UpdatedAt DATETIME NULL,
    CONSTRAINT FK_SubeStok_Sube FOREIGN KEY (SubeID) REFERENCES dbo.Sube(SubeID),
    CONSTRAINT FK_SubeStok_Stok FOREIGN KEY (StokID) REFERENCES dbo.Stok(StokID)
);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'UX_SubeStok_Sube_Stok' AND object_id = OBJECT_ID('dbo.SubeStok')) CREATE UNIQUE INDEX UX_SubeStok_Sube_Stok ON dbo.SubeStok(SubeID, StokID);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_SubeStok_StokID' AND object_id = OBJECT_ID('dbo.SubeStok')) CREATE INDEX IX_SubeStok_StokID ON dbo.SubeStok(StokID);
GO
IF OBJECT_ID('dbo.SatisFisLot', 'U') IS NULL CREATE TABLE dbo.SatisFisLot (
    SatisFisLotID INT IDENTITY(1,1) PRIMARY KEY,
    FisID INT NOT NULL,
    SatirSiraNo INT NOT NULL,
    StokID INT NOT NULL,
    LotID INT NOT NULL,
    Miktar DECIMAL(18,3) NOT NULL,
    SonKullanmaTarihi DATE NULL,
    CreatedAt DATETIME NOT NULL DEFAULT(GETDATE())
);
GO
IF OBJECT_ID('dbo.CariKart', 'U') IS NULL CREATE TABLE dbo.CariKart (
    CariID INT IDENTITY(1,1) PRIMARY KEY,
    CariKodu NVARCHAR(30) NOT NULL,
    CariAdi NVARCHAR(200) NOT NULL,
    CariTipi NVARCHAR(20) NOT NULL,
    VKN NVARCHAR(11) NULL,
    TCKN NVARCHAR(11) NULL,
    VergiDairesi NVARCHAR(100) NULL,
    EFaturaMukellefi BIT NOT NULL DEFAULT(0),
    EIrsaliyeMukellefi BIT NOT NULL DEFAULT(0),
    Telefon NVARCHAR(20) NULL,
    Email NVARCHAR(150) NULL,
    Adres NVARCHAR(400) NULL,
    Il NVARCHAR(50) NULL,
    Ilce NVARCHAR(50) NULL,
    PostaKodu NVARCHAR(10) NULL,
    YetkiliKisi NVARCHAR(100) NULL,
    ParaBirimi NVARCHAR(10) NULL DEFAULT('TRY'),
    RiskLimiti DECIMAL(18,2) NOT NULL DEFAULT(0),
    VadeGunu INT NOT NULL DEFAULT(0),
    Notlar NVARCHAR(1000) NULL,
    IsActive BIT NOT NULL DEFAULT(1),
    IsDeleted BIT NOT NULL DEFAULT(0),
    CreatedAt DATETIME NOT NULL DEFAULT(GETDATE()),
    UpdatedAt DATETIME NULL
);
GO
IF COL_LENGTH('dbo.CariKart', 'CariTipi') IS NULL ALTER TABLE dbo.CariKart ADD CariTipi NVARCHAR(20) NOT NULL DEFAULT('MUSTERI');
GO
IF COL_LENGTH('dbo.CariKart', 'VKN') IS NULL ALTER TABLE dbo.CariKart ADD VKN NVARCHAR(11) NULL;
GO
IF COL_LENGTH('dbo.CariKart', 'TCKN') IS NULL ALTER TABLE dbo.CariKart ADD TCKN NVARCHAR(11) NULL;
GO
IF COL_LENGTH('dbo.CariKart', 'VergiDairesi') IS NULL ALTER TABLE dbo.CariKart ADD VergiDairesi NVARCHAR(100) NULL;
GO
IF COL_LENGTH('dbo.CariKart', 'EFaturaMukellefi') IS NULL ALTER TABLE dbo.CariKart ADD EFaturaMukellefi BIT NOT NULL DEFAULT(0);
GO
IF COL_LENGTH('dbo.CariKart', 'EIrsaliyeMukellefi') IS NULL ALTER TABLE dbo.CariKart ADD EIrsaliyeMukellefi BIT NOT NULL DEFAULT(0);
GO
IF COL_LENGTH('dbo.CariKart', 'Telefon') IS NULL ALTER TABLE dbo.CariKart ADD Telefon NVARCHAR(20) NULL;
GO
IF COL_LENGTH('dbo.CariKart', 'Email') IS NULL ALTER TABLE dbo.CariKart ADD Email NVARCHAR(150) NULL;
GO
IF COL_LENGTH('dbo.CariKart', 'Adres') IS NULL ALTER TABLE dbo.CariKart ADD Adres NVARCHAR(400) NULL;
GO
IF COL_LENGTH('dbo.CariKart', 'Il') IS NULL ALTER TABLE dbo.CariKart ADD Il NVARCHAR(50) NULL;
GO
IF COL_LENGTH('dbo.CariKart', 'Ilce') IS NULL ALTER TABLE dbo.CariKart ADD Ilce NVARCHAR(50) NULL;
GO
IF COL_LENGTH('dbo.CariKart', 'PostaKodu') IS NULL ALTER TABLE dbo.CariKart ADD PostaKodu NVARCHAR(10) NULL;
GO
IF COL_LENGTH('dbo.CariKart', 'YetkiliKisi') IS NULL ALTER TABLE dbo.CariKart ADD YetkiliKisi NVARCHAR(100) NULL;
GO
IF COL_LENGTH('dbo.CariKart', 'ParaBirimi') IS NULL ALTER TABLE dbo.CariKart ADD ParaBirimi NVARCHAR(10) NULL DEFAULT('TRY');
GO
IF COL_LENGTH('dbo.CariKart', 'RiskLimiti') IS NULL ALTER TABLE dbo.CariKart ADD RiskLimiti DECIMAL(18,2) NOT NULL DEFAULT(0);
GO
IF COL_LENGTH('dbo.CariKart', 'VadeGunu') IS NULL ALTER TABLE dbo.CariKart ADD VadeGunu INT NOT NULL DEFAULT(0);
GO
IF COL_LENGTH('dbo.CariKart', 'Notlar') IS NULL ALTER TABLE dbo.CariKart ADD Notlar NVARCHAR(1000) NULL;
GO
IF COL_LENGTH('dbo.CariKart', 'IsActive') IS NULL ALTER TABLE dbo.CariKart ADD IsActive BIT NOT NULL DEFAULT(1);
GO
IF COL_LENGTH('dbo.CariKart', 'IsDeleted') IS NULL ALTER TABLE dbo.CariKart ADD IsDeleted BIT NOT NULL DEFAULT(0);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'UX_CariKart_CariKodu' AND object_id = OBJECT_ID('dbo.CariKart')) CREATE UNIQUE INDEX UX_CariKart_CariKodu ON dbo.CariKart(CariKodu);
GO
IF OBJECT_ID('dbo.BelgeBaslik', 'U') IS NULL CREATE TABLE dbo.BelgeBaslik (
    BelgeID INT IDENTITY(1,1) PRIMARY KEY,
    BelgeNo NVARCHAR(50) NOT NULL,
    BelgeTuru NVARCHAR(20) NOT NULL,
    BelgeTarihi DATETIME NOT NULL DEFAULT(GETDATE()),
    CariID INT NOT NULL,
    KullaniciID INT NOT NULL,
    AraToplam DECIMAL(18,4) NOT NULL DEFAULT(0),
    ToplamKDV DECIMAL(18,4) NOT NULL DEFAULT(0),
    GenelToplam DECIMAL(18,4) NOT NULL DEFAULT(0),
    Aciklama NVARCHAR(400) NULL,
    Durum NVARCHAR(20) NOT NULL DEFAULT('AKTIF'),
    CreatedAt DATETIME NOT NULL DEFAULT(GETDATE())
);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'UX_BelgeBaslik_BelgeNo' AND object_id = OBJECT_ID('dbo.BelgeBaslik')) CREATE UNIQUE INDEX UX_BelgeBaslik_BelgeNo ON dbo.BelgeBaslik(BelgeNo);
GO
IF OBJECT_ID('dbo.BelgeSatir', 'U') IS NULL CREATE TABLE dbo.BelgeSatir (
    BelgeSatirID INT IDENTITY(1,1) PRIMARY KEY,
    BelgeID INT NOT NULL,
    SiraNo INT NOT NULL,
    StokID INT NOT NULL,
    StokAdi NVARCHAR(150) NOT NULL,
    Miktar DECIMAL(10,3) NOT NULL,
    Birim NVARCHAR(10) NOT NULL,
    BirimFiyat DECIMAL(18,4) NOT NULL,
    KDVOrani DECIMAL(5,2) NOT NULL,
    KDVTutari DECIMAL(18,4) NOT NULL,
    SatirToplam DECIMAL(18,4) NOT NULL
);
GO
IF COL_LENGTH('dbo.Stok', 'GorselYol') IS NULL ALTER TABLE dbo.Stok ADD GorselYol NVARCHAR(300) NULL;
GO
IF COL_LENGTH('dbo.Stok', 'Resim') IS NULL ALTER TABLE dbo.Stok ADD Resim NVARCHAR(300) NULL;
GO
-- The receipt prints the firm's address and tax details above its header, and keeps the cash a
-- customer handed over on the sale's cash payment, so that a receipt printed again shows the
-- change.
IF COL_LENGTH('dbo.Firma', 'Adres') IS NULL ALTER TABLE dbo.Firma ADD Adres NVARCHAR(400) NULL;
GO
IF COL_LENGTH('dbo.Firma', 'VergiDairesi') IS NULL ALTER TABLE dbo.Firma ADD VergiDairesi NVARCHAR(100) NULL;
GO
IF COL_LENGTH('dbo.Firma', 'VergiNo') IS NULL ALTER TABLE dbo.Firma ADD VergiNo NVARCHAR(11) NULL;
GO
IF COL_LENGTH('dbo.SatisOdeme', 'VerilenTutar') IS NULL ALTER TABLE dbo.SatisOdeme ADD VerilenTutar DECIMAL(18,2) NULL;
GO

-- ---------------------------------------------------------------------------------------------
-- vw_VardiyaOzet: one row per shift, read by the shift dialog and by sp_CloseVardiya.
-- A receipt's payment comes from its SatisOdeme lines, or from its own OdemeTipi and GenelToplam
-- when it has none; payment words are compared upper-cased; only 'AKTIF' and 'IADE' receipts
-- count (a NULL or 'IPTAL' status enters no sum); refunds count by the absolute value of each
-- sum, whatever sign they were stored with.
-- BeklenenNakit = AcilisTutar + NakitSatis - IadeNakit; Fark = KapanisTutar - BeklenenNakit
-- once the shift is closed, else 0.
-- ---------------------------------------------------------------------------------------------

IF OBJECT_ID('dbo.vw_VardiyaOzet', 'V') IS NULL EXEC('CREATE VIEW dbo.vw_VardiyaOzet AS SELECT 1 AS VardiyaID');
GO
ALTER VIEW dbo.vw_VardiyaOzet AS
SELECT X.VardiyaID, X.KullaniciID, X.TerminalID, X.SubeID, X.AcilisZamani, X.KapanisZamani, X.VardiyaDurumu, X.AcilisTutar, X.KapanisTutar, X.AktifFis, X.IadeFis, X.NakitAdet, X.KartAdet, X.NakitSatis, X.KartSatis, X.IadeNakit, X.IadeToplam,
    X.AcilisTutar + X.NakitSatis - X.IadeNakit AS BeklenenNakit,
    CASE WHEN X.KapanisZamani IS NULL THEN 0 ELSE X.KapanisTutar - (X.AcilisTutar + X.NakitSatis - X.IadeNakit) END AS Fark
FROM (
    SELECT V.VardiyaID, V.KullaniciID, V.TerminalID, V.SubeID, V.AcilisZamani, V.KapanisZamani, V.VardiyaDurumu,
    ISNULL(V.AcilisTutar, 0) AS AcilisTutar,
    ISNULL(V.KapanisTutar, 0) AS KapanisTutar,
    ISNULL((SELECT COUNT(*) FROM dbo.SatisFis F0 WHERE F0.VardiyaID = V.VardiyaID AND F0.FisDurumu = 'AKTIF'), 0) AS AktifFis,
    ISNULL((SELECT COUNT(*) FROM dbo.SatisFis F0 WHERE F0.VardiyaID = V.VardiyaID AND F0.FisDurumu = 'IADE'), 0) AS IadeFis,
    ISNULL((SELECT COUNT(DISTINCT F1.FisID) FROM dbo.SatisFis F1 LEFT JOIN dbo.SatisOdeme O1 ON O1.FisID = F1.FisID WHERE F1.VardiyaID = V.VardiyaID AND F1.FisDurumu = 'AKTIF' AND UPPER(ISNULL(O1.OdemeTipi, F1.OdemeTipi)) = 'NAKIT'), 0) AS NakitAdet,
    ISNULL((SELECT COUNT(DISTINCT F2.FisID) FROM dbo.SatisFis F2 LEFT JOIN dbo.SatisOdeme O2 ON O2.FisID = F2.FisID WHERE F2.VardiyaID = V.VardiyaID AND F2.FisDurumu = 'AKTIF' AND UPPER(ISNULL(O2.OdemeTipi, F2.OdemeTipi)) = 'KART'), 0) AS KartAdet,
    ISNULL((SELECT SUM(O3.Tutar) FROM dbo.SatisOdeme O3 INNER JOIN dbo.SatisFis F3 ON O3.FisID = F3.FisID WHERE F3.VardiyaID = V.VardiyaID AND F3.FisDurumu = 'AKTIF' AND UPPER(O3.OdemeTipi) = 'NAKIT'), 0) +
    ISNULL((SELECT SUM(FN.GenelToplam) FROM dbo.SatisFis FN WHERE FN.VardiyaID = V.VardiyaID AND FN.FisDurumu = 'AKTIF' AND UPPER(ISNULL(FN.OdemeTipi, '')) = 'NAKIT' AND NOT EXISTS (SELECT 1 FROM dbo.SatisOdeme OO WHERE OO.FisID = FN.FisID)), 0) AS NakitSatis,
    ISNULL((SELECT SUM(O4.Tutar) FROM dbo.SatisOdeme O4 INNER JOIN dbo.SatisFis F4 ON O4.FisID = F4.FisID WHERE F4.VardiyaID = V.VardiyaID AND F4.FisDurumu = 'AKTIF' AND UPPER(O4.OdemeTipi) = 'KART'), 0) +
    ISNULL((SELECT SUM(FK.GenelToplam) FROM dbo.SatisFis FK WHERE FK.VardiyaID = V.VardiyaID AND FK.FisDurumu = 'AKTIF' AND UPPER(ISNULL(FK.OdemeTipi, '')) = 'KART' AND NOT EXISTS (SELECT 1 FROM dbo.SatisOdeme OO2 WHERE OO2.FisID = FK.FisID)), 0) AS KartSatis,
    ISNULL((SELECT ABS(SUM(O5.Tutar)) FROM dbo.SatisOdeme O5 INNER JOIN dbo.SatisFis F5 ON O5.FisID = F5.FisID WHERE F5.VardiyaID = V.VardiyaID AND F5.FisDurumu = 'IADE' AND UPPER(O5.OdemeTipi) = 'NAKIT'), 0) +
    ISNULL((SELECT ABS(SUM(FI.GenelToplam)) FROM dbo.SatisFis FI WHERE FI.VardiyaID = V.VardiyaID AND FI.FisDurumu = 'IADE' AND UPPER(ISNULL(FI.OdemeTipi, '')) = 'NAKIT' AND NOT EXISTS (SELECT 1 FROM dbo.SatisOdeme OO3 WHERE OO3.FisID = FI.FisID)), 0) AS IadeNakit,
    ISNULL((SELECT ABS(SUM(F6.GenelToplam)) FROM dbo.SatisFis F6 WHERE F6.VardiyaID = V.VardiyaID AND F6.FisDurumu = 'IADE'), 0) AS IadeToplam
    FROM dbo.Vardiya V
) X
GO
-- ---------------------------------------------------------------------------------------------
-- sp_CloseVardiya: closes an open shift with the counted cash and returns its figures, which
-- come from vw_VardiyaOzet so that the close dialog, this routine and the Z report agree.
-- Refused (@Success = 0, nothing written): a shift that does not exist, one already closed, a
-- missing or negative counted amount. Result sets: none; everything comes back as outputs.
-- ---------------------------------------------------------------------------------------------

IF OBJECT_ID('dbo.sp_CloseVardiya', 'P') IS NULL EXEC('CREATE PROCEDURE dbo.sp_CloseVardiya AS RETURN 0');
GO
ALTER PROCEDURE dbo.sp_CloseVardiya
    @VardiyaID INT,
    @KapanisTutar FLOAT,
    @KapatanKullaniciID INT,
    @Success BIT OUTPUT,
    @Message NVARCHAR(500) OUTPUT,
    @SistemTutar MONEY OUTPUT,
    @Fark MONEY OUTPUT,
    @ToplamSatis INT OUTPUT,
    @NakitSatis MONEY OUTPUT,
    @KartSatis MONEY OUTPUT,
    @NakitAdet INT OUTPUT,
    @KartAdet INT OUTPUT,
    @IadeToplam MONEY OUTPUT,
    @IadeAdet INT OUTPUT,
    @AcilisTutarOut MONEY OUTPUT,
    @KapanisZamaniOut DATETIME OUTPUT
AS
BEGIN
    SET NOCOUNT ON;
    SET XACT_ABORT ON;

    SELECT @Success = 0, @Message = N'', @SistemTutar = 0, @Fark = 0, @ToplamSatis = 0,
           @NakitSatis = 0, @KartSatis = 0, @NakitAdet = 0, @KartAdet = 0, @IadeToplam = 0,
           @IadeAdet = 0, @AcilisTutarOut = 0, @KapanisZamaniOut = NULL;

    DECLARE @Found BIT = 0, @KapanisZamani DATETIME, @Durum NVARCHAR(20), @Now DATETIME;

    BEGIN TRY
        BEGIN TRANSACTION;

        -- The update lock keeps a second workstation from closing the same shift meanwhile.
        SELECT @Found = 1, @KapanisZamani = KapanisZamani, @Durum = VardiyaDurumu
        FROM dbo.Vardiya WITH (UPDLOCK, HOLDLOCK)
        WHERE VardiyaID = @VardiyaID;

        IF @Found = 0
            SET @Message = N'Vardiya bulunamadı.';
        ELSE IF @KapanisZamani IS NOT NULL OR ISNULL(@Durum, 'ACIK') <> 'ACIK'
            SET @Message = N'Vardiya zaten kapatılmış.';
        ELSE IF @KapanisTutar IS NULL OR @KapanisTutar < 0
            SET @Message = N'Kapanış tutarı geçersiz. Sayılan nakit negatif olamaz.';

        IF @Message <> N''
        BEGIN
            ROLLBACK TRANSACTION;
            RETURN;
        END;

        SET @Now = GETDATE();
        UPDATE dbo.Vardiya
        SET KapanisZamani = @Now,
            KapanisTutar = @KapanisTutar,
            VardiyaDurumu = 'KAPALI',
            KapatanKullaniciID = CASE WHEN @KapatanKullaniciID > 0 THEN @KapatanKullaniciID END
        WHERE VardiyaID = @VardiyaID;

        SELECT @SistemTutar = BeklenenNakit, @Fark = Fark, @ToplamSatis = AktifFis,
               @NakitSatis = NakitSatis, @KartSatis = KartSatis, @NakitAdet = NakitAdet,
               @KartAdet = KartAdet, @IadeToplam = IadeToplam, @IadeAdet = IadeFis,
               @AcilisTutarOut = AcilisTutar
        FROM dbo.vw_VardiyaOzet
        WHERE VardiyaID = @VardiyaID;

        COMMIT TRANSACTION;
        SELECT @Success = 1, @Message = N'Vardiya kapatıldı.', @KapanisZamaniOut = @Now;
    END TRY
    BEGIN CATCH
        IF @@TRANCOUNT > 0
            ROLLBACK TRANSACTION;
        THROW;
    END CATCH;
END;
GO

-- ---------------------------------------------------------------------------------------------
-- sp_ProcessRefund: books a refund of the items <Items><Item StokID="..." Miktar="..."/></Items>
-- against an earlier sale, in the open shift @VardiyaID.
-- Refused (@Success = 0, nothing written): the original receipt is missing or is not a sale
-- ('AKTIF' or NULL status); no open shift under @VardiyaID; the shift is another branch's than
-- the receipt's; unknown user; a document that is not XML or holds no item; an item not on the
-- original receipt; a quantity that is not positive; more of a product than was sold on the
-- receipt less what earlier refunds of the receipt (SatisFis.OrijinalFisID) took back (the
-- message names the product and what is left).
-- Booked: a SatisFis row of the shift with FisDurumu 'IADE' and the original's customer, its
-- lines and its payment lines, all amounts negative. What a line pays back follows the rule of
-- refunds/RefundAmounts: the original's GenelToplam is shared among its products in the order of
-- their first lines (each the kuruş its line totals bring the rounded running total to, never
-- past GenelToplam, the last product the rest); a product's refunds pay back together its line
-- totals in proportion to the quantity back so far, rounded to the kuruş and at most its share,
-- and the refund that brings back the last of it pays what is left of its share. The lines' net,
-- discount and VAT are the original lines' in proportion to the quantity. The refund goes back to
-- the card up to what the sale took by card less the receipt's earlier card refunds, the rest in
-- cash (OdemeTipi 'NAKIT', 'KART' or 'KARMA'). The goods go back into SubeStok of the original's
-- branch, once, and Stok.MevcutStok is summed again; goods the sale took from lots (SatisFisLot)
-- go back into those lots, the lot taken last first.
-- ---------------------------------------------------------------------------------------------

IF OBJECT_ID('dbo.sp_ProcessRefund', 'P') IS NULL EXEC('CREATE PROCEDURE dbo.sp_ProcessRefund AS RETURN 0');
GO
ALTER PROCEDURE dbo.sp_ProcessRefund
    @OriginalFisID INT,
    @KullaniciID INT,
    @VardiyaID INT,
    @RefundItemsXML NVARCHAR(MAX),
    @Success BIT OUTPUT,
    @Message NVARCHAR(500) OUTPUT
AS
BEGIN
    SET NOCOUNT ON;
    SET XACT_ABORT ON;
    SET ARITHABORT ON;

    SELECT @Success = 0, @Message = N'';

    DECLARE @Items TABLE (
        Sira INT NOT NULL PRIMARY KEY,
        StokText NVARCHAR(50) NULL,
        StokID INT NULL,
        Miktar DECIMAL(18,3) NULL,
        Tutar DECIMAL(18,2) NULL
    );
    DECLARE @Sold TABLE (
        StokID INT NOT NULL PRIMARY KEY,
        IlkSira INT NOT NULL,
        StokAdi NVARCHAR(150) NULL,
        Barkod NVARCHAR(50) NULL,
        Birim NVARCHAR(10) NULL,
        BirimFiyat DECIMAL(18,4) NULL,
        KDVOrani DECIMAL(5,2) NULL,
        IndirimOrani DECIMAL(5,2) NULL,
        Miktar DECIMAL(18,3) NOT NULL,
        AraToplam DECIMAL(18,4) NOT NULL,
        IndirimTutari DECIMAL(18,4) NOT NULL,
        KDVTutari DECIMAL(18,4) NOT NULL,
        SatirToplam DECIMAL(18,4) NOT NULL,
        Iade DECIMAL(18,3) NOT NULL DEFAULT(0),
        IadeTutar DECIMAL(18,2) NOT NULL DEFAULT(0),
        Pay DECIMAL(18,2) NOT NULL DEFAULT(0)
    );
    DECLARE @Doc XML, @WellFormed BIT = 1;
    DECLARE @Found BIT = 0, @SubeID INT, @Durum NVARCHAR(20), @MusteriID INT, @Genel DECIMAL(18,2);
    DECLARE @ShiftFound BIT = 0, @VSubeID INT, @VTerminalID INT;
    DECLARE @BadKnown BIT, @BadText NVARCHAR(50), @BadName NVARCHAR(150);
    DECLARE @FisID INT, @FisNo NVARCHAR(50);
    DECLARE @Toplam DECIMAL(18,2), @Kart DECIMAL(18,2), @KartIade DECIMAL(18,2);
    DECLARE @KartGeri DECIMAL(18,2), @NakitGeri DECIMAL(18,2);

    BEGIN TRY
        SET @Doc = CAST(@RefundItemsXML AS XML);
    END TRY
    BEGIN CATCH
        SET @WellFormed = 0;
    END CATCH;

    -- Items keep their document order: it is the line order of the refund receipt.
    IF @WellFormed = 1
        INSERT INTO @Items (Sira, StokText, StokID, Miktar)
        SELECT T.I.value('for $n in . return count(../Item[. << $n]) + 1', 'INT'),
               T.I.value('@StokID', 'NVARCHAR(50)'),
               TRY_CONVERT(INT, T.I.value('@StokID', 'NVARCHAR(50)')),
               TRY_CONVERT(DECIMAL(18,3), T.I.value('@Miktar', 'NVARCHAR(50)'))
        FROM @Doc.nodes('/Items/Item') AS T(I);

    BEGIN TRY
        BEGIN TRANSACTION;

        -- The update lock makes two refunds of one receipt take turns, so that neither can
        -- overrun what is left to refund.
        SELECT @Found = 1, @SubeID = SubeID, @Durum = FisDurumu, @MusteriID = MusteriID,
               @Genel = GenelToplam
        FROM dbo.SatisFis WITH (UPDLOCK, HOLDLOCK)
        WHERE FisID = @OriginalFisID;

        -- The shift is read under the lock sp_CloseVardiya takes: a close under way makes this
        -- refund wait and then find the shift closed, and a close that comes later waits until
        -- this refund is in its figures.
        SELECT @ShiftFound = 1, @VSubeID = SubeID, @VTerminalID = TerminalID
        FROM dbo.Vardiya WITH (UPDLOCK, HOLDLOCK)
        WHERE VardiyaID = @VardiyaID AND KapanisZamani IS NULL AND ISNULL(VardiyaDurumu, 'ACIK') = 'ACIK';

        INSERT INTO @Sold (StokID, IlkSira, Miktar, AraToplam, IndirimTutari, KDVTutari, SatirToplam)
        SELECT L.StokID, MIN(L.Sira), SUM(L.Miktar), SUM(L.AraToplam), SUM(L.IndirimTutari),
               SUM(L.KDVTutari), SUM(L.SatirToplam)
        FROM (SELECT StokID, Miktar, AraToplam, IndirimTutari, KDVTutari, SatirToplam,
                     ROW_NUMBER() OVER (ORDER BY SiraNo, SatirID) AS Sira
              FROM dbo.SatisFisSatir
              WHERE FisID = @OriginalFisID) L
        GROUP BY L.StokID;

        UPDATE S
        SET StokAdi = L.StokAdi, Barkod = L.Barkod, Birim = L.Birim, BirimFiyat = L.BirimFiyat,
            KDVOrani = L.KDVOrani, IndirimOrani = L.IndirimOrani
        FROM @Sold S
        CROSS APPLY (SELECT TOP 1 R.StokAdi, R.Barkod, R.Birim, R.BirimFiyat, R.KDVOrani, R.IndirimOrani
                     FROM dbo.SatisFisSatir R
                     WHERE R.FisID = @OriginalFisID AND R.StokID = S.StokID
                     ORDER BY R.SiraNo, R.SatirID) L;

        -- What the receipt's earlier refunds took back and paid back, product by product.
        UPDATE S
        SET Iade = ISNULL(P.Miktar, 0), IadeTutar = ROUND(ISNULL(P.Tutar, 0), 2)
        FROM @Sold S
        OUTER APPLY (SELECT SUM(ABS(R.Miktar)) AS Miktar, SUM(ABS(R.SatirToplam)) AS Tutar
                     FROM dbo.SatisFisSatir R
                     INNER JOIN dbo.SatisFis F ON F.FisID = R.FisID
                     WHERE F.OrijinalFisID = @OriginalFisID AND F.FisDurumu = 'IADE'
                       AND R.StokID = S.StokID) P;

        -- Each product's share of what the customer paid: the kuruş its line totals bring the
        -- rounded running total to, never past GenelToplam; the last product takes the rest.
        WITH P AS (
            SELECT StokID, SatirToplam,
                   SUM(SatirToplam) OVER (ORDER BY IlkSira ROWS UNBOUNDED PRECEDING) AS Kum,
                   ROW_NUMBER() OVER (ORDER BY IlkSira DESC) AS Sondan
            FROM @Sold
        )
        UPDATE S
        SET Pay = CASE WHEN P.Sondan = 1 THEN @Genel
                       WHEN ROUND(P.Kum, 2) < @Genel THEN ROUND(P.Kum, 2)
                       ELSE @Genel END
                - CASE WHEN ROUND(P.Kum - P.SatirToplam, 2) < @Genel THEN ROUND(P.Kum - P.SatirToplam, 2)
                       ELSE @Genel END
        FROM @Sold S
        INNER JOIN P ON P.StokID = S.StokID;

        IF @Found = 0
            SET @Message = N'İade edilecek fiş bulunamadı.';
        ELSE IF ISNULL(@Durum, 'AKTIF') <> 'AKTIF'
            SET @Message = N'Bu fiş bir satış fişi değil (' + @Durum + N'), iade alınamaz.';
        ELSE IF @ShiftFound = 0
            SET @Message = N'Açık vardiya bulunamadı. İade için önce vardiya açınız.';
        ELSE IF @VSubeID <> @SubeID
            SET @Message = N'Bu fiş başka bir şubenin satışı, bu vardiyada iade alınamaz.';
        ELSE IF NOT EXISTS (SELECT 1 FROM dbo.Kullanici WHERE KullaniciID = @KullaniciID)
            SET @Message = N'Kullanıcı bulunamadı.';
        ELSE IF @WellFormed = 0
            SET @Message = N'İade listesi okunamadı.';
        ELSE IF NOT EXISTS (SELECT 1 FROM @Items)
            SET @Message = N'İade edilecek ürün seçilmedi.';
        ELSE
        BEGIN
            -- The first item, in document order, that is not on the receipt or has no positive
            -- quantity.
            SELECT TOP 1 @BadKnown = CASE WHEN S.StokID IS NULL THEN 0 ELSE 1 END,
                         @BadText = I.StokText, @BadName = S.StokAdi
            FROM @Items I
            LEFT JOIN @Sold S ON S.StokID = I.StokID
            WHERE S.StokID IS NULL OR I.Miktar IS NULL OR I.Miktar <= 0
            ORDER BY I.Sira;

            IF @BadKnown = 0
                SET @Message = N'Ürün bu fişte bulunmuyor (StokID: ' + ISNULL(@BadText, N'') + N').';
            ELSE IF @BadKnown = 1
                SET @Message = N'Geçersiz iade miktarı: ' + ISNULL(@BadName, N'');
            ELSE
                SELECT TOP 1 @Message = N'İade miktarı fişte kalan miktarı aşıyor: ' + ISNULL(S.StokAdi, N'')
                                        + N' (kalan: '
                                        + FORMAT(CASE WHEN S.Miktar - S.Iade > 0 THEN S.Miktar - S.Iade ELSE 0 END,
                                                 '0.###', 'tr-TR')
                                        + N')'
                FROM (SELECT StokID, SUM(Miktar) AS Miktar, MIN(Sira) AS IlkSira
                      FROM @Items
                      GROUP BY StokID) R
                INNER JOIN @Sold S ON S.StokID = R.StokID
                WHERE R.Miktar > S.Miktar - S.Iade + 0.0001
                ORDER BY R.IlkSira;
        END;

        IF @Message <> N''
        BEGIN
            ROLLBACK TRANSACTION;
            RETURN;
        END;

        -- What each item pays back. Back once the item is in (Sonra) and before it (Once, for a
        -- product's first item what its earlier refunds paid), by the product's running quantity:
        -- the line totals in proportion, rounded to the kuruş (half away from zero on the float
        -- the embedded routine computes) and at most the share; the whole share once all of it
        -- is back.
        UPDATE I
        SET Tutar = B.Sonra - B.Once
        FROM @Items I
        INNER JOIN (
            SELECT K.Sira,
                   CASE WHEN K.Ilk = 1 OR A0.Tutar < K.Odenen THEN K.Odenen ELSE A0.Tutar END AS Once,
                   CASE WHEN A1.Tutar < K.Odenen THEN K.Odenen ELSE A1.Tutar END AS Sonra
            FROM (SELECT I2.Sira, I2.Miktar AS Adet, S.Miktar, S.SatirToplam, S.Pay,
                         S.IadeTutar AS Odenen,
                         S.Iade + SUM(I2.Miktar) OVER (PARTITION BY I2.StokID ORDER BY I2.Sira
                                                       ROWS UNBOUNDED PRECEDING) AS Kum,
                         ROW_NUMBER() OVER (PARTITION BY I2.StokID ORDER BY I2.Sira) AS Ilk
                  FROM @Items I2
                  INNER JOIN @Sold S ON S.StokID = I2.StokID) K
            CROSS APPLY (SELECT CASE WHEN K.Kum - K.Adet >= K.Miktar - 0.0001 THEN K.Pay
                                     WHEN R.Tutar < K.Pay THEN R.Tutar
                                     ELSE K.Pay END AS Tutar
                         FROM (SELECT CAST(FLOOR(CAST(K.SatirToplam AS FLOAT) * CAST(K.Kum - K.Adet AS FLOAT)
                                                 / CAST(NULLIF(K.Miktar, 0) AS FLOAT) * 100 + 0.5000001)
                                           AS DECIMAL(18,0)) / 100 AS Tutar) R) A0
            CROSS APPLY (SELECT CASE WHEN K.Kum >= K.Miktar - 0.0001 THEN K.Pay
                                     WHEN R.Tutar < K.Pay THEN R.Tutar
                                     ELSE K.Pay END AS Tutar
                         FROM (SELECT CAST(FLOOR(CAST(K.SatirToplam AS FLOAT) * CAST(K.Kum AS FLOAT)
                                                 / CAST(NULLIF(K.Miktar, 0) AS FLOAT) * 100 + 0.5000001)
                                           AS DECIMAL(18,0)) / 100 AS Tutar) R) A1
        ) B ON B.Sira = I.Sira;

        INSERT INTO dbo.SatisFis (FisNo, SubeID, KullaniciID, TerminalID, VardiyaID, Tarih, AraToplam,
                                  ToplamKDV, Indirim, GenelToplam, OdemeTipi, MusteriID, FisDurumu,
                                  OrijinalFisID)
        VALUES (N'', @VSubeID, @KullaniciID, @VTerminalID, @VardiyaID, GETDATE(), 0, 0, 0, 0, 'NAKIT',
                @MusteriID, 'IADE', @OriginalFisID);
        SET @FisID = SCOPE_IDENTITY();
        SET @FisNo = N'FIS-' + CONVERT(NVARCHAR(20), @FisID);

        INSERT INTO dbo.SatisFisSatir (FisID, SiraNo, StokID, StokAdi, Barkod, Miktar, Birim, BirimFiyat,
                                       KDVOrani, KDVTutari, IndirimOrani, IndirimTutari, AraToplam,
                                       SatirToplam)
        SELECT @FisID, I.Sira, I.StokID, S.StokAdi, S.Barkod, -I.Miktar, S.Birim, S.BirimFiyat, S.KDVOrani,
               -ROUND(CAST(S.KDVTutari AS FLOAT) * CAST(I.Miktar AS FLOAT) / CAST(S.Miktar AS FLOAT), 4),
               S.IndirimOrani,
               -ROUND(CAST(S.IndirimTutari AS FLOAT) * CAST(I.Miktar AS FLOAT) / CAST(S.Miktar AS FLOAT), 4),
               -ROUND(CAST(S.AraToplam AS FLOAT) * CAST(I.Miktar AS FLOAT) / CAST(S.Miktar AS FLOAT), 4),
               -I.Tutar
        FROM @Items I
        INNER JOIN @Sold S ON S.StokID = I.StokID;

        -- The refund goes back to the card up to what the sale took by card less the receipt's
        -- earlier card refunds (payment lines, or the head's own payment word and total when a
        -- receipt has none), and the rest in cash.
        SELECT @Toplam = ISNULL(SUM(Tutar), 0) FROM @Items;
        SELECT @Kart = ISNULL((SELECT SUM(O.Tutar) FROM dbo.SatisOdeme O
                               WHERE O.FisID = F.FisID AND UPPER(O.OdemeTipi) = 'KART'), 0)
                       + CASE WHEN UPPER(ISNULL(F.OdemeTipi, '')) = 'KART'
                                   AND NOT EXISTS (SELECT 1 FROM dbo.SatisOdeme O WHERE O.FisID = F.FisID)
                              THEN F.GenelToplam ELSE 0 END,
               @KartIade = ISNULL((SELECT SUM(ABS(O.Tutar)) FROM dbo.SatisOdeme O
                                   INNER JOIN dbo.SatisFis R ON R.FisID = O.FisID
                                   WHERE R.OrijinalFisID = F.FisID AND R.FisDurumu = 'IADE'
                                     AND R.FisID <> @FisID AND UPPER(O.OdemeTipi) = 'KART'), 0)
                           + ISNULL((SELECT SUM(ABS(R.GenelToplam)) FROM dbo.SatisFis R
                                     WHERE R.OrijinalFisID = F.FisID AND R.FisDurumu = 'IADE'
                                       AND R.FisID <> @FisID AND UPPER(ISNULL(R.OdemeTipi, '')) = 'KART'
                                       AND NOT EXISTS (SELECT 1 FROM dbo.SatisOdeme O WHERE O.FisID = R.FisID)), 0)
        FROM dbo.SatisFis F
        WHERE F.FisID = @OriginalFisID;
        SET @KartGeri = CASE WHEN @Kart - @KartIade <= 0 THEN 0
                             WHEN @Kart - @KartIade < @Toplam THEN @Kart - @KartIade
                             ELSE @Toplam END;
        SET @NakitGeri = @Toplam - @KartGeri;

        UPDATE F
        SET FisNo = @FisNo, AraToplam = T.AraToplam, ToplamKDV = T.KDVTutari,
            Indirim = T.IndirimTutari, GenelToplam = T.SatirToplam,
            OdemeTipi = CASE WHEN @KartGeri <= 0 THEN 'NAKIT' WHEN @NakitGeri <= 0 THEN 'KART'
                             ELSE 'KARMA' END
        FROM dbo.SatisFis F
        CROSS JOIN (SELECT SUM(AraToplam) AS AraToplam, SUM(KDVTutari) AS KDVTutari,
                           SUM(IndirimTutari) AS IndirimTutari, SUM(SatirToplam) AS SatirToplam
                    FROM dbo.SatisFisSatir
                    WHERE FisID = @FisID) T
        WHERE F.FisID = @FisID;

        -- Payment lines, negative, cash first: one for each part that is not zero, and one cash
        -- line of 0 for a refund that pays nothing back.
        INSERT INTO dbo.SatisOdeme (FisID, OdemeTipi, Tutar)
        SELECT @FisID, 'NAKIT', -@NakitGeri WHERE @NakitGeri > 0 OR @KartGeri <= 0;
        INSERT INTO dbo.SatisOdeme (FisID, OdemeTipi, Tutar)
        SELECT @FisID, 'KART', -@KartGeri WHERE @KartGeri > 0;

        -- A branch without a row for the product gets one the way the branch stock routines seed
        -- it: the first branch of a product inherits its overall stock, a later one starts at 0.
        INSERT INTO dbo.SubeStok (SubeID, StokID, MevcutStok, MinStok, MaxStok)
        SELECT @SubeID, S.StokID,
               CASE WHEN NOT EXISTS (SELECT 1 FROM dbo.SubeStok SS0 WHERE SS0.StokID = S.StokID)
                    THEN ISNULL(S.MevcutStok, 0) ELSE 0 END,
               S.MinStok, S.MaxStok
        FROM dbo.Stok S
        WHERE S.StokID IN (SELECT StokID FROM @Items)
          AND NOT EXISTS (SELECT 1 FROM dbo.SubeStok SS WHERE SS.SubeID = @SubeID AND SS.StokID = S.StokID);

        UPDATE SS
        SET MevcutStok = SS.MevcutStok + Q.Miktar, UpdatedAt = GETDATE()
        FROM dbo.SubeStok SS
        INNER JOIN (SELECT StokID, SUM(Miktar) AS Miktar FROM @Items GROUP BY StokID) Q ON Q.StokID = SS.StokID
        WHERE SS.SubeID = @SubeID;

        UPDATE S
        SET MevcutStok = ISNULL((SELECT SUM(SS.MevcutStok) FROM dbo.SubeStok SS WHERE SS.StokID = S.StokID), 0),
            UpdatedAt = GETDATE()
        FROM dbo.Stok S
        WHERE S.StokID IN (SELECT StokID FROM @Items);

        -- Lots get their goods back, the lot taken last first. Earlier refunds of the receipt
        -- gave back the first Iade units of that order (Sonra - Miktar to Sonra per lot row), so
        -- this one gives back the stretch from Iade to Iade + the refunded quantity.
        IF OBJECT_ID('dbo.SatisFisLot', 'U') IS NOT NULL AND OBJECT_ID('dbo.StokLotDetay', 'U') IS NOT NULL
            UPDATE D
            SET MevcutMiktar = D.MevcutMiktar + B.Geri
            FROM dbo.StokLotDetay D
            INNER JOIN (SELECT X.LotID, SUM(X.Ust - X.Alt) AS Geri
                        FROM (SELECT L.LotID,
                                     CASE WHEN L.Sonra < S.Iade + Q.Miktar THEN L.Sonra ELSE S.Iade + Q.Miktar END AS Ust,
                                     CASE WHEN L.Sonra - L.Miktar > S.Iade THEN L.Sonra - L.Miktar ELSE S.Iade END AS Alt
                              FROM (SELECT SL.LotID, SL.StokID, SL.Miktar,
                                           SUM(SL.Miktar) OVER (PARTITION BY SL.StokID ORDER BY SL.SatisFisLotID DESC
                                                                ROWS UNBOUNDED PRECEDING) AS Sonra
                                    FROM dbo.SatisFisLot SL
                                    WHERE SL.FisID = @OriginalFisID) L
                              INNER JOIN (SELECT StokID, SUM(Miktar) AS Miktar FROM @Items GROUP BY StokID) Q
                                  ON Q.StokID = L.StokID
                              INNER JOIN @Sold S ON S.StokID = L.StokID) X
                        WHERE X.Ust - X.Alt > 0.000001
                        GROUP BY X.LotID) B ON B.LotID = D.LotID;

        COMMIT TRANSACTION;
        SELECT @Success = 1, @Message = N'İade işlemi tamamlandı. İade fiş no: ' + @FisNo;
    END TRY
    BEGIN CATCH
        IF @@TRANCOUNT > 0
            ROLLBACK TRANSACTION;
        THROW;
    END CATCH;
END;
GO

-- ---------------------------------------------------------------------------------------------
-- sp_CreateSale: writes a paid sale in one transaction, so that a sale of any number of lines is
-- one call. The lines and payments come as one document, lines in the cart's order:
--   <Sale><Line StokID=".." StokAdi=".." Barkod=".." Miktar=".." Birim=".." BirimFiyat=".."
--   KDVOrani=".." KDVTutari=".." IndirimOrani=".." IndirimTutari=".." AraToplam=".."
--   SatirToplam=".."/>...<Payment OdemeTipi="NAKIT" Tutar=".." Verilen=".."/></Sale>
-- (BirimFiyat net of VAT; a text left out is NULL. Verilen, the cash the customer handed over,
-- comes only on the cash payment and goes to SatisOdeme.VerilenTutar, NULL where it is left out.)
-- It writes what the program's own sale wrote statement by statement: the receipt head with
-- @GeciciFisNo, then its number 'FIS-' + FisID; the lines; for each line in order the lots it
-- takes (tracked products: dated lots first, earliest expiry first, then lots without a date,
-- equal dates by LotID; a lot is taken only while it still holds the quantity) with their
-- SatisFisLot rows, and its branch stock movement (a missing SubeStok row is first seeded as the
-- branch stock routines seed it) with Stok.MevcutStok summed again; then the payments. The program
-- sends every figure at the scale of its column; what the routine reckons itself (lot takes, lot
-- rests, stock moves and sums) it rounds to three places, as the embedded engine does.
-- Refused (@Success = 0, @Message, nothing written): a document that is not XML or holds no
-- line; a shift that is not open; a tracked product that blocks the sale of expired stock with
-- such stock in a lot; lots that cannot cover a line. The program gives its branch its stock
-- rows before the call. Result sets: none; everything comes back as outputs.
-- ---------------------------------------------------------------------------------------------

IF OBJECT_ID('dbo.sp_CreateSale', 'P') IS NULL EXEC('CREATE PROCEDURE dbo.sp_CreateSale AS RETURN 0');
GO
ALTER PROCEDURE dbo.sp_CreateSale
    @SubeID INT,
    @KullaniciID INT,
    @TerminalID INT,
    @VardiyaID INT,
    @GeciciFisNo NVARCHAR(50),
    @AraToplam FLOAT,
    @ToplamKDV FLOAT,
    @Indirim FLOAT,
    @GenelToplam FLOAT,
    @OdemeTipi NVARCHAR(20),
    @MusteriID INT,
    @SatisXML NVARCHAR(MAX),
    @Success BIT OUTPUT,
    @Message NVARCHAR(500) OUTPUT,
    @FisID INT OUTPUT
AS
BEGIN
    SET NOCOUNT ON;
    SET XACT_ABORT ON;
    SET ARITHABORT ON;

    SELECT @Success = 0, @Message = N'', @FisID = 0;

    DECLARE @Lines TABLE (
        SiraNo INT NOT NULL PRIMARY KEY,
        StokID INT NOT NULL,
        StokAdi NVARCHAR(150) NULL,
        Barkod NVARCHAR(50) NULL,
        Miktar FLOAT NOT NULL,
        Birim NVARCHAR(10) NULL,
        BirimFiyat FLOAT NOT NULL,
        KDVOrani FLOAT NOT NULL,
        KDVTutari FLOAT NOT NULL,
        IndirimOrani FLOAT NOT NULL,
        IndirimTutari FLOAT NOT NULL,
        AraToplam FLOAT NOT NULL,
        SatirToplam FLOAT NOT NULL
    );
    DECLARE @Payments TABLE (
        Sira INT NOT NULL PRIMARY KEY,
        OdemeTipi NVARCHAR(20) NULL,
        Tutar FLOAT NOT NULL,
        Verilen FLOAT NULL
    );
    DECLARE @Lots TABLE (
        Sira INT NOT NULL PRIMARY KEY,
        LotID INT NOT NULL,
        MevcutMiktar FLOAT NOT NULL,
        SonKullanmaTarihi DATE NULL
    );
    DECLARE @Doc XML, @Today DATE = CAST(GETDATE() AS DATE);
    DECLARE @LotsExist BIT = CASE WHEN OBJECT_ID('dbo.StokLotDetay', 'U') IS NULL THEN 0 ELSE 1 END;
    DECLARE @FisNo NVARCHAR(50), @SiraNo INT = 0, @StokID INT, @StokAdi NVARCHAR(150), @Miktar FLOAT;
    DECLARE @Tracked BIT, @Blocking BIT, @Expired VARCHAR(10), @Available FLOAT, @Remaining FLOAT;
    DECLARE @LotSira INT, @LotID INT, @LotMiktar FLOAT, @LotSKT DATE, @Take FLOAT;

    BEGIN TRY
        SET @Doc = CAST(@SatisXML AS XML);
    END TRY
    BEGIN CATCH
        SET @Message = N'Satış belgesi okunamadı.';
        RETURN;
    END CATCH;

    INSERT INTO @Lines (SiraNo, StokID, StokAdi, Barkod, Miktar, Birim, BirimFiyat, KDVOrani, KDVTutari,
                        IndirimOrani, IndirimTutari, AraToplam, SatirToplam)
    SELECT T.L.value('for $n in . return count(../Line[. << $n]) + 1', 'INT'),
           T.L.value('@StokID', 'INT'),
           T.L.value('@StokAdi', 'NVARCHAR(150)'),
           T.L.value('@Barkod', 'NVARCHAR(50)'),
           T.L.value('@Miktar', 'FLOAT'),
           T.L.value('@Birim', 'NVARCHAR(10)'),
           T.L.value('@BirimFiyat', 'FLOAT'),
           T.L.value('@KDVOrani', 'FLOAT'),
           T.L.value('@KDVTutari', 'FLOAT'),
           T.L.value('@IndirimOrani', 'FLOAT'),
           T.L.value('@IndirimTutari', 'FLOAT'),
           T.L.value('@AraToplam', 'FLOAT'),
           T.L.value('@SatirToplam', 'FLOAT')
    FROM @Doc.nodes('/Sale/Line') AS T(L);

    INSERT INTO @Payments (Sira, OdemeTipi, Tutar, Verilen)
    SELECT T.P.value('for $n in . return count(../Payment[. << $n]) + 1', 'INT'),
           T.P.value('@OdemeTipi', 'NVARCHAR(20)'),
           T.P.value('@Tutar', 'FLOAT'),
           T.P.value('@Verilen', 'FLOAT')
    FROM @Doc.nodes('/Sale/Payment') AS T(P);

    IF NOT EXISTS (SELECT 1 FROM @Lines)
    BEGIN
        SET @Message = N'Sepet boş!';
        RETURN;
    END;

    BEGIN TRY
        BEGIN TRANSACTION;

        -- The shift row stays locked until the sale commits, so it cannot be closed meanwhile.
        IF NOT EXISTS (SELECT 1 FROM dbo.Vardiya WITH (UPDLOCK, HOLDLOCK)
                       WHERE VardiyaID = @VardiyaID AND KapanisZamani IS NULL
                         AND ISNULL(VardiyaDurumu, 'ACIK') = 'ACIK')
        BEGIN
            ROLLBACK TRANSACTION;
            SET @Message = N'Vardiya kapalı veya bulunamadı.';
            RETURN;
        END;

        INSERT INTO dbo.SatisFis (FisNo, SubeID, KullaniciID, TerminalID, VardiyaID, Tarih, AraToplam,
                                  ToplamKDV, Indirim, GenelToplam, OdemeTipi, MusteriID)
        VALUES (@GeciciFisNo, @SubeID, @KullaniciID, @TerminalID, @VardiyaID, GETDATE(), @AraToplam,
                @ToplamKDV, @Indirim, @GenelToplam, @OdemeTipi, @MusteriID);
        SET @FisID = SCOPE_IDENTITY();
        SET @FisNo = N'FIS-' + CONVERT(NVARCHAR(20), @FisID);
        UPDATE dbo.SatisFis SET FisNo = @FisNo WHERE FisID = @FisID;

        INSERT INTO dbo.SatisFisSatir (FisID, SiraNo, StokID, StokAdi, Barkod, Miktar, Birim, BirimFiyat,
                                       KDVOrani, KDVTutari, IndirimOrani, IndirimTutari, AraToplam,
                                       SatirToplam)
        SELECT @FisID, SiraNo, StokID, StokAdi, Barkod, Miktar, Birim, BirimFiyat, KDVOrani, KDVTutari,
               IndirimOrani, IndirimTutari, AraToplam, SatirToplam
        FROM @Lines
        ORDER BY SiraNo;

        WHILE 1 = 1
        BEGIN
            SELECT TOP 1 @SiraNo = SiraNo, @StokID = StokID, @StokAdi = StokAdi, @Miktar = Miktar
            FROM @Lines
            WHERE SiraNo > @SiraNo
            ORDER BY SiraNo;
            IF @@ROWCOUNT = 0
                BREAK;

            SELECT @Tracked = 0, @Blocking = 1;
            IF @LotsExist = 1
                SELECT @Tracked = ISNULL(IsSKTTakibi, 0), @Blocking = ISNULL(IsSatisEngelle, 1)
                FROM dbo.Stok
                WHERE StokID = @StokID;

            IF @Tracked = 1
            BEGIN
                SET @Expired = NULL;
                IF @Blocking = 1
                    SELECT TOP 1 @Expired = CONVERT(VARCHAR(10), SonKullanmaTarihi, 104)
                    FROM dbo.StokLotDetay
                    WHERE StokID = @StokID AND ISNULL(MevcutMiktar, 0) > 0
                      AND SonKullanmaTarihi IS NOT NULL AND SonKullanmaTarihi < @Today
                    ORDER BY SonKullanmaTarihi;
                IF @Expired IS NOT NULL
                BEGIN
                    ROLLBACK TRANSACTION;
                    SELECT @FisID = 0,
                           @Message = N'Dikkat! Bu urunun son kullanma tarihi ' + @Expired
                                      + N' tarihinde gecmistir, islem yapilamaz!';
                    RETURN;
                END;

                SELECT @Available = ISNULL(SUM(MevcutMiktar), 0)
                FROM dbo.StokLotDetay
                WHERE StokID = @StokID AND ISNULL(MevcutMiktar, 0) > 0
                  AND (SonKullanmaTarihi IS NULL OR SonKullanmaTarihi >= @Today);
                SET @Remaining = ROUND(@Miktar, 3);
                IF @Remaining > @Available + 0.000001
                BEGIN
                    ROLLBACK TRANSACTION;
                    SELECT @FisID = 0, @Message = N'Lot bazli stok yetersiz: ' + ISNULL(@StokAdi, N'');
                    RETURN;
                END;

                DELETE FROM @Lots;
                INSERT INTO @Lots (Sira, LotID, MevcutMiktar, SonKullanmaTarihi)
                SELECT ROW_NUMBER() OVER (ORDER BY CASE WHEN SonKullanmaTarihi IS NULL THEN 1 ELSE 0 END,
                                                   SonKullanmaTarihi, LotID),
                       LotID, ISNULL(MevcutMiktar, 0), SonKullanmaTarihi
                FROM dbo.StokLotDetay
                WHERE StokID = @StokID AND ISNULL(MevcutMiktar, 0) > 0
                  AND (SonKullanmaTarihi IS NULL OR SonKullanmaTarihi >= @Today);

                SET @LotSira = 0;
                WHILE @Remaining > 0.000001
                BEGIN
                    SELECT TOP 1 @LotSira = Sira, @LotID = LotID, @LotMiktar = MevcutMiktar,
                                 @LotSKT = SonKullanmaTarihi
                    FROM @Lots
                    WHERE Sira > @LotSira
                    ORDER BY Sira;
                    IF @@ROWCOUNT = 0
                        BREAK;
                    -- Takes and rests to three places, as the DECIMAL(18,3) columns keep them.
                    SET @Take = ROUND(CASE WHEN @Remaining < @LotMiktar THEN @Remaining ELSE @LotMiktar END, 3);
                    IF @Take <= 0
                        CONTINUE;
                    -- Taken only while the lot still holds it: another till may have emptied it.
                    UPDATE dbo.StokLotDetay
                    SET MevcutMiktar = ROUND(MevcutMiktar - @Take, 3)
                    WHERE LotID = @LotID AND MevcutMiktar - @Take >= -0.000001;
                    IF @@ROWCOUNT <> 1
                        CONTINUE;
                    INSERT INTO dbo.SatisFisLot (FisID, SatirSiraNo, StokID, LotID, Miktar, SonKullanmaTarihi)
                    VALUES (@FisID, @SiraNo, @StokID, @LotID, @Take, @LotSKT);
                    SET @Remaining = ROUND(@Remaining - @Take, 3);
                END;

                IF @Remaining > 0.000001
                BEGIN
                    ROLLBACK TRANSACTION;
                    SELECT @FisID = 0, @Message = N'Lot bazli stok yetersiz: ' + ISNULL(@StokAdi, N'');
                    RETURN;
                END;
            END;

            UPDATE dbo.SubeStok
            SET MevcutStok = ROUND(MevcutStok + (-@Miktar), 3), UpdatedAt = GETDATE()
            WHERE SubeID = @SubeID AND StokID = @StokID;
            IF @@ROWCOUNT = 0
            BEGIN
                INSERT INTO dbo.SubeStok (SubeID, StokID, MevcutStok, MinStok, MaxStok)
                SELECT @SubeID, S.StokID,
                       CASE WHEN NOT EXISTS (SELECT 1 FROM dbo.SubeStok SS0 WHERE SS0.StokID = S.StokID)
                            THEN ISNULL(S.MevcutStok, 0) ELSE 0 END,
                       S.MinStok, S.MaxStok
                FROM dbo.Stok S
                WHERE ISNULL(S.IsDeleted, 0) = 0 AND S.StokID = @StokID
                  AND NOT EXISTS (SELECT 1 FROM dbo.SubeStok SS WHERE SS.SubeID = @SubeID AND SS.StokID = S.StokID);
                UPDATE dbo.SubeStok
                SET MevcutStok = ROUND(MevcutStok + (-@Miktar), 3), UpdatedAt = GETDATE()
                WHERE SubeID = @SubeID AND StokID = @StokID;
            END;
            UPDATE dbo.Stok
            SET MevcutStok = ROUND(ISNULL((SELECT SUM(MevcutStok) FROM dbo.SubeStok WHERE StokID = @StokID), 0), 3),
                UpdatedAt = GETDATE()
            WHERE StokID = @StokID;
        END;

        INSERT INTO dbo.SatisOdeme (FisID, OdemeTipi, Tutar, VerilenTutar)
        SELECT @FisID, OdemeTipi, Tutar, Verilen
        FROM @Payments
        ORDER BY Sira;

        COMMIT TRANSACTION;
        SET @Success = 1;
    END TRY
    BEGIN CATCH
        IF @@TRANCOUNT > 0
            ROLLBACK TRANSACTION;
        SET @FisID = 0;
        THROW;
    END CATCH;
END;
GO

-- ---------------------------------------------------------------------------------------------
-- The search key of the product search and the receipt search. StokParca holds every
-- three-character piece of a product's name, barcode and stock code (lower case; a text shorter
-- than three characters is one piece) with the first 16 characters of its name (Kova, compared
-- without accents, so that reading a piece's products in Kova order is reading them in the
-- order of their names up to equal beginnings); StokParcaAdet how many products hold each
-- piece; SatisFisNo the receipts whose number is not 'FIS-' and their id; AramaDurum, per table,
-- how far the key is written, NULL when every row's is (products: the name and id of the last
-- one keyed, in the order of the names; receipts: the highest id). The triggers keep the key of
-- every row up to that mark written from then on, whatever program writes; the rows after it
-- are filled at the end of this script. The program sends the same statements once per connection (the
-- function and the triggers inside EXEC), so a database set up earlier gains the key; its older
-- rows are then read directly by the searches until this script has run again.
-- ---------------------------------------------------------------------------------------------

IF OBJECT_ID('dbo.AramaDurum', 'U') IS NULL CREATE TABLE dbo.AramaDurum (Tablo NVARCHAR(30) NOT NULL PRIMARY KEY, DoluAd NVARCHAR(150) NULL, DoluID INT NULL);
GO
IF OBJECT_ID('dbo.StokParca', 'U') IS NULL CREATE TABLE dbo.StokParca (Parca NVARCHAR(3) NOT NULL, Kova NVARCHAR(16) COLLATE Turkish_CI_AI NOT NULL, StokID INT NOT NULL, CONSTRAINT PK_StokParca PRIMARY KEY (Parca, Kova, StokID));
GO
IF OBJECT_ID('dbo.StokParcaAdet', 'U') IS NULL CREATE TABLE dbo.StokParcaAdet (Parca NVARCHAR(3) NOT NULL PRIMARY KEY, Adet INT NOT NULL);
GO
IF OBJECT_ID('dbo.SatisFisNo', 'U') IS NULL CREATE TABLE dbo.SatisFisNo (FisID INT NOT NULL PRIMARY KEY);
GO
IF NOT EXISTS (SELECT 1 FROM dbo.AramaDurum WHERE Tablo = 'Stok') INSERT INTO dbo.AramaDurum (Tablo, DoluAd, DoluID) SELECT 'Stok', CASE WHEN EXISTS (SELECT 1 FROM dbo.Stok) THEN N'' END, CASE WHEN EXISTS (SELECT 1 FROM dbo.Stok) THEN 0 END;
IF NOT EXISTS (SELECT 1 FROM dbo.AramaDurum WHERE Tablo = 'SatisFis') INSERT INTO dbo.AramaDurum (Tablo, DoluID) SELECT 'SatisFis', CASE WHEN EXISTS (SELECT 1 FROM dbo.SatisFis) THEN 0 END;
GO
-- The receipt search reads a branch's receipts of a customer and of a cashier through these.
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_SatisFis_SubeID_MusteriID' AND object_id = OBJECT_ID('dbo.SatisFis')) CREATE INDEX IX_SatisFis_SubeID_MusteriID ON dbo.SatisFis(SubeID, MusteriID);
GO
IF NOT EXISTS (SELECT 1 FROM sys.indexes WHERE name = 'IX_SatisFis_SubeID_KullaniciID' AND object_id = OBJECT_ID('dbo.SatisFis')) CREATE INDEX IX_SatisFis_SubeID_KullaniciID ON dbo.SatisFis(SubeID, KullaniciID);
GO

-- The pieces of one product, for the trigger and for the fill below.
IF OBJECT_ID('dbo.fn_StokParcalari', 'IF') IS NULL EXEC('CREATE FUNCTION dbo.fn_StokParcalari () RETURNS TABLE AS RETURN SELECT 1 AS Parca');
GO
ALTER FUNCTION dbo.fn_StokParcalari (@StokAdi NVARCHAR(150), @Barkod NVARCHAR(50), @StokKodu
    NVARCHAR(50)) RETURNS TABLE AS RETURN SELECT DISTINCT SUBSTRING(T.Metin, N.Sira, 3) AS Parca
    FROM (VALUES (LOWER(@StokAdi)), (LOWER(@Barkod)), (LOWER(@StokKodu))) AS T (Metin) CROSS APPLY
    (SELECT TOP (CASE WHEN DATALENGTH(T.Metin) / 2 > 3 THEN DATALENGTH(T.Metin) / 2 - 2 ELSE 1 END)
    ROW_NUMBER() OVER (ORDER BY (SELECT NULL)) AS Sira FROM (VALUES (0), (0), (0), (0), (0), (0),
    (0), (0), (0), (0)) AS A (X) CROSS JOIN (VALUES (0), (0), (0), (0), (0), (0), (0), (0), (0),
    (0)) AS B (X) CROSS JOIN (VALUES (0), (0)) AS C (X)) AS N WHERE DATALENGTH(T.Metin) > 0;
GO

-- Every insert, deletion and change of a searched text: the product's pieces as it was go, its
-- pieces as it is come, and the counts follow. Products after the mark (DoluAd, DoluID) in the
-- order of the names are left to the fill.
IF OBJECT_ID('dbo.trg_Stok_Parca', 'TR') IS NULL EXEC('CREATE TRIGGER dbo.trg_Stok_Parca ON dbo.Stok AFTER INSERT AS RETURN');
GO
ALTER TRIGGER dbo.trg_Stok_Parca ON dbo.Stok AFTER INSERT, UPDATE, DELETE AS BEGIN SET NOCOUNT ON;
IF NOT EXISTS (SELECT StokID, StokAdi, Barkod, StokKodu FROM inserted EXCEPT SELECT StokID, StokAdi,
    Barkod, StokKodu FROM deleted) AND NOT EXISTS (SELECT StokID, StokAdi, Barkod, StokKodu FROM
    deleted EXCEPT SELECT StokID, StokAdi, Barkod, StokKodu FROM inserted) RETURN;
DECLARE @Dolu INT, @DoluAd NVARCHAR(150), @Var BIT = 0;
SELECT @Var = 1, @DoluAd = DoluAd, @Dolu = DoluID FROM dbo.AramaDurum WITH (UPDLOCK, HOLDLOCK) WHERE
    Tablo = 'Stok';
IF @Var = 0 RETURN;
DECLARE @Eski TABLE (Parca NVARCHAR(3) COLLATE DATABASE_DEFAULT NOT NULL, Kova NVARCHAR(16) COLLATE
    Turkish_CI_AI NOT NULL, StokID INT NOT NULL, PRIMARY KEY (Parca, StokID));
DECLARE @Yeni TABLE (Parca NVARCHAR(3) COLLATE DATABASE_DEFAULT NOT NULL, Kova NVARCHAR(16) COLLATE
    Turkish_CI_AI NOT NULL, StokID INT NOT NULL, PRIMARY KEY (Parca, StokID));
INSERT INTO @Eski (Parca, Kova, StokID) SELECT P.Parca, LEFT(D.StokAdi, 16), D.StokID FROM deleted
    AS D CROSS APPLY dbo.fn_StokParcalari(D.StokAdi, D.Barkod, D.StokKodu) AS P WHERE @Dolu IS NULL
    OR D.StokAdi < @DoluAd OR (D.StokAdi = @DoluAd AND D.StokID <= @Dolu);
INSERT INTO @Yeni (Parca, Kova, StokID) SELECT P.Parca, LEFT(I.StokAdi, 16), I.StokID FROM inserted
    AS I CROSS APPLY dbo.fn_StokParcalari(I.StokAdi, I.Barkod, I.StokKodu) AS P WHERE @Dolu IS NULL
    OR I.StokAdi < @DoluAd OR (I.StokAdi = @DoluAd AND I.StokID <= @Dolu);
DELETE P FROM dbo.StokParca AS P JOIN @Eski AS E ON E.Parca = P.Parca AND E.Kova = P.Kova AND
    E.StokID = P.StokID;
UPDATE C SET Adet = C.Adet - X.Adet FROM dbo.StokParcaAdet AS C JOIN (SELECT Parca, COUNT(*) AS Adet
    FROM @Eski GROUP BY Parca) AS X ON X.Parca = C.Parca;
DELETE C FROM dbo.StokParcaAdet AS C WHERE C.Adet <= 0 AND C.Parca IN (SELECT Parca FROM @Eski);
INSERT INTO dbo.StokParca (Parca, Kova, StokID) SELECT Parca, Kova, StokID FROM @Yeni;
UPDATE C SET Adet = C.Adet + X.Adet FROM dbo.StokParcaAdet AS C WITH (UPDLOCK, HOLDLOCK) JOIN
    (SELECT Parca, COUNT(*) AS Adet FROM @Yeni GROUP BY Parca) AS X ON X.Parca = C.Parca;
INSERT INTO dbo.StokParcaAdet (Parca, Adet) SELECT X.Parca, X.Adet FROM (SELECT Parca, COUNT(*) AS
    Adet FROM @Yeni GROUP BY Parca) AS X WHERE NOT EXISTS (SELECT 1 FROM dbo.StokParcaAdet AS C WITH
    (UPDLOCK, HOLDLOCK) WHERE C.Parca = X.Parca);
END;
GO

-- A receipt whose number (trimmed) is not 'FIS-' and its id is noted; the sale writes a
-- provisional number first and then its own, so the note comes and goes within the sale.
IF OBJECT_ID('dbo.trg_SatisFis_No', 'TR') IS NULL EXEC('CREATE TRIGGER dbo.trg_SatisFis_No ON dbo.SatisFis AFTER INSERT AS RETURN');
GO
ALTER TRIGGER dbo.trg_SatisFis_No ON dbo.SatisFis AFTER INSERT, UPDATE, DELETE AS BEGIN SET NOCOUNT
    ON;
IF NOT EXISTS (SELECT FisID, FisNo FROM inserted EXCEPT SELECT FisID, FisNo FROM deleted) AND NOT
    EXISTS (SELECT FisID, FisNo FROM deleted EXCEPT SELECT FisID, FisNo FROM inserted) RETURN;
DECLARE @Dolu INT, @Var BIT = 0;
SELECT @Var = 1, @Dolu = DoluID FROM dbo.AramaDurum WHERE Tablo = 'SatisFis';
IF @Var = 0 RETURN;
DELETE N FROM dbo.SatisFisNo AS N JOIN deleted AS D ON D.FisID = N.FisID;
INSERT INTO dbo.SatisFisNo (FisID) SELECT I.FisID FROM inserted AS I WHERE NULLIF(RTRIM(I.FisNo),
    '') IS NOT NULL AND RTRIM(I.FisNo) <> 'FIS-' + CAST(I.FisID AS NVARCHAR(20)) AND (@Dolu IS NULL
    OR I.FisID <= @Dolu);
END;
GO

-- The fill: the rows written before the key existed, 5,000 products or 50,000 receipts per
-- transaction. Run again, it goes on where it stopped; once done it does nothing.
SET NOCOUNT ON;
DECLARE @Son INT, @Bitis INT;
CREATE TABLE #Yeni (Parca NVARCHAR(3) COLLATE DATABASE_DEFAULT NOT NULL, Kova NVARCHAR(16) COLLATE Turkish_CI_AI NOT NULL, StokID INT NOT NULL, PRIMARY KEY (Parca, StokID));
DECLARE @SonAd NVARCHAR(150), @BitisAd NVARCHAR(150);
SELECT @SonAd = DoluAd, @Son = DoluID FROM dbo.AramaDurum WHERE Tablo = 'Stok';
-- Products in the order of their names, as the triggers' mark goes.
WHILE @Son IS NOT NULL
BEGIN
    BEGIN TRANSACTION;
    SELECT @SonAd = DoluAd, @Son = DoluID FROM dbo.AramaDurum WITH (UPDLOCK, HOLDLOCK) WHERE Tablo = 'Stok';
    SELECT @BitisAd = NULL, @Bitis = NULL;
    SELECT @BitisAd = StokAdi, @Bitis = StokID FROM dbo.Stok
    WHERE StokAdi > @SonAd OR (StokAdi = @SonAd AND StokID > @Son)
    ORDER BY StokAdi, StokID OFFSET 4999 ROWS FETCH NEXT 1 ROWS ONLY;
    DELETE FROM #Yeni;
    INSERT INTO #Yeni (Parca, Kova, StokID)
        SELECT P.Parca, LEFT(S.StokAdi, 16), S.StokID FROM dbo.Stok AS S
        CROSS APPLY dbo.fn_StokParcalari(S.StokAdi, S.Barkod, S.StokKodu) AS P
        WHERE (S.StokAdi > @SonAd OR (S.StokAdi = @SonAd AND S.StokID > @Son))
          AND (@Bitis IS NULL OR S.StokAdi < @BitisAd OR (S.StokAdi = @BitisAd AND S.StokID <= @Bitis));
    UPDATE C SET Adet = C.Adet + X.Adet FROM dbo.StokParcaAdet AS C
        JOIN (SELECT Y.Parca, COUNT(*) AS Adet FROM #Yeni AS Y
              WHERE NOT EXISTS (SELECT 1 FROM dbo.StokParca AS P WHERE P.Parca = Y.Parca AND P.Kova = Y.Kova AND P.StokID = Y.StokID)
              GROUP BY Y.Parca) AS X ON X.Parca = C.Parca;
    INSERT INTO dbo.StokParcaAdet (Parca, Adet)
        SELECT X.Parca, X.Adet FROM (SELECT Y.Parca, COUNT(*) AS Adet FROM #Yeni AS Y
              WHERE NOT EXISTS (SELECT 1 FROM dbo.StokParca AS P WHERE P.Parca = Y.Parca AND P.Kova = Y.Kova AND P.StokID = Y.StokID)
              GROUP BY Y.Parca) AS X
        WHERE NOT EXISTS (SELECT 1 FROM dbo.StokParcaAdet AS C WHERE C.Parca = X.Parca);
    INSERT INTO dbo.StokParca (Parca, Kova, StokID)
        SELECT Y.Parca, Y.Kova, Y.StokID FROM #Yeni AS Y
        WHERE NOT EXISTS (SELECT 1 FROM dbo.StokParca AS P WHERE P.Parca = Y.Parca AND P.Kova = Y.Kova AND P.StokID = Y.StokID);
    UPDATE dbo.AramaDurum SET DoluAd = @BitisAd, DoluID = @Bitis WHERE Tablo = 'Stok';
    COMMIT TRANSACTION;
    SELECT @Son = DoluID FROM dbo.AramaDurum WHERE Tablo = 'Stok';
END;
DROP TABLE #Yeni;
SELECT @Son = DoluID FROM dbo.AramaDurum WHERE Tablo = 'SatisFis';
WHILE @Son IS NOT NULL
BEGIN
    BEGIN TRANSACTION;
    SELECT @Son = DoluID FROM dbo.AramaDurum WITH (UPDLOCK, HOLDLOCK) WHERE Tablo = 'SatisFis';
    SET @Bitis = (SELECT MAX(FisID) FROM (SELECT TOP 50000 FisID FROM dbo.SatisFis WHERE FisID > @Son ORDER BY FisID) AS K);
    INSERT INTO dbo.SatisFisNo (FisID)
        SELECT F.FisID FROM dbo.SatisFis AS F
        WHERE F.FisID > @Son AND F.FisID <= @Bitis AND NULLIF(RTRIM(F.FisNo), '') IS NOT NULL
          AND RTRIM(F.FisNo) <> 'FIS-' + CAST(F.FisID AS NVARCHAR(20))
          AND NOT EXISTS (SELECT 1 FROM dbo.SatisFisNo AS N WHERE N.FisID = F.FisID);
    UPDATE dbo.AramaDurum
    SET DoluID = CASE WHEN @Bitis IS NULL OR @Bitis >= (SELECT ISNULL(MAX(FisID), 0) FROM dbo.SatisFis) THEN NULL ELSE @Bitis END
    WHERE Tablo = 'SatisFis';
    COMMIT TRANSACTION;
    SELECT @Son = DoluID FROM dbo.AramaDurum WHERE Tablo = 'SatisFis';
END;
GO
