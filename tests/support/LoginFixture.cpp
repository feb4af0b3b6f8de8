#include "support/LoginFixture.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"

#include <QCryptographicHash>

namespace LoginFixture {
QString Sha256Hex(const QString& text)
{
    return QString::fromLatin1(
        QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Sha256).toHex());
}

void CreateTables()
{
    const QStringList statements = {
        "IF OBJECT_ID('dbo.Firma', 'U') IS NULL CREATE TABLE dbo.Firma (FirmaID INT "
        "IDENTITY(1,1) PRIMARY KEY, Unvan NVARCHAR(200) NOT NULL, IsActive BIT NOT NULL "
        "DEFAULT(1), IsDeleted BIT NOT NULL DEFAULT(0))",
        "IF OBJECT_ID('dbo.Sube', 'U') IS NULL CREATE TABLE dbo.Sube (SubeID INT IDENTITY(1,1) "
        "PRIMARY KEY, SubeAdi NVARCHAR(100) NOT NULL, FirmaID INT NOT NULL, IsActive BIT NOT "
        "NULL DEFAULT(1), IsDeleted BIT NOT NULL DEFAULT(0))",
        "IF OBJECT_ID('dbo.Terminal', 'U') IS NULL CREATE TABLE dbo.Terminal (TerminalID INT "
        "IDENTITY(1,1) PRIMARY KEY, TerminalAdi NVARCHAR(100) NULL, IsDeleted BIT NOT NULL "
        "DEFAULT(0))",
        "IF OBJECT_ID('dbo.Rol', 'U') IS NULL CREATE TABLE dbo.Rol (RolID INT IDENTITY(1,1) "
        "PRIMARY KEY, RolAdi NVARCHAR(50) NOT NULL)",
        "IF OBJECT_ID('dbo.Kullanici', 'U') IS NULL CREATE TABLE dbo.Kullanici (KullaniciID INT "
        "IDENTITY(1,1) PRIMARY KEY, KullaniciAdi NVARCHAR(50) NOT NULL, SifreHash NVARCHAR(64) "
        "NOT NULL, AdSoyad NVARCHAR(100) NOT NULL, RolID INT NOT NULL, SubeID INT NOT NULL, "
        "AktifMi BIT NOT NULL DEFAULT(1), IsDeleted BIT NOT NULL DEFAULT(0), SonGiris DATETIME "
        "NULL)",
    };
    for (const QString& sql : statements)
        dmMain->ExecSql(sql);
}

void Fill()
{
    CreateTables();
    const QString pin = Sha256Hex("1234");
    const QStringList statements = {
        "INSERT INTO Firma (FirmaID, Unvan, IsActive, IsDeleted) VALUES "
        "(1, 'Kırvelo Gıda A.Ş.', 1, 0), (2, 'Pasif Firma', 0, 0), (3, '  ', 1, 0)",
        "INSERT INTO Sube (SubeID, SubeAdi, FirmaID, IsActive, IsDeleted) VALUES "
        "(1, 'Merkez', 1, 1, 0), (2, 'Kadıköy', 1, 1, 0), (3, 'Eski Şube', 1, 0, 0), "
        "(4, 'Pasif Firma Şubesi', 2, 1, 0), (5, 'Depo', 3, 1, 0), (6, 'Silinmiş Şube', 1, 1, 1)",
        "INSERT INTO Rol (RolID, RolAdi) VALUES (1, 'Kasiyer'), (2, 'Yönetici')",
        "INSERT INTO Terminal (TerminalID, TerminalAdi, IsDeleted) VALUES "
        "(1, 'KASA-01', 0), (2, 'TESTHOST', 1), (3, 'testhost', 0), (4, '', 0)",
        "INSERT INTO Kullanici (KullaniciID, KullaniciAdi, SifreHash, AdSoyad, RolID, SubeID, "
        "AktifMi, IsDeleted) VALUES "
        "(1, 'kasiyer', '" +
            pin +
            "', 'Silinmiş Kasiyer', 2, 1, 1, 1), "
            "(2, 'kasiyer', '" +
            pin +
            "', 'Pasif Kasiyer', 2, 1, 0, 0), "
            "(3, 'kasiyer', '" +
            pin +
            "', 'Ayşe Kasiyer', 1, 1, 1, 0), "
            "(4, 'yonetici', '" +
            Sha256Hex("Admin!").toUpper() +
            "', 'Mehmet Yönetici', 2, 2, 1, 0), "
            "(5, 'bosluk', '" +
            Sha256Hex("pass ") +
            "', 'Boşluk Deneme', 1, 1, 1, 0), "
            "(6, 'diger', '" +
            pin + "', 'Diğer Firma', 1, 4, 1, 0)",
    };
    for (const QString& sql : statements)
        dmMain->ExecSql(sql);
}
} // namespace LoginFixture
