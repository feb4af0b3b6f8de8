#include "support/ShopFixture.h"

#include "core/DbQuery.h"

namespace {
int Insert(const QString& sql)
{
    TDbQuery q(sql + QStringLiteral("; SELECT SCOPE_IDENTITY()"));
    q.Exec();
    q.Next();
    return q.Value(0).toInt();
}
} // namespace

TShopFixture::TShopFixture()
{
    FFirmaID =
        Insert("INSERT INTO Firma (Unvan, IsActive, IsDeleted) VALUES ('Test Gıda A.Ş.', 1, 0)");
    FSubeID = AddBranch("MERKEZ");
    const int rol = Insert("INSERT INTO Rol (RolAdi) VALUES ('Kasiyer')");
    FKullaniciID = Insert(
        QString("INSERT INTO Kullanici (KullaniciAdi, SifreHash, AdSoyad, RolID, SubeID, AktifMi, "
                "IsDeleted) VALUES ('kasa', '', 'KASA SORUMLUSU', %1, %2, 1, 0)")
            .arg(rol)
            .arg(FSubeID));
    FTerminalID = Insert("INSERT INTO Terminal (TerminalAdi, IsDeleted) VALUES ('KASA-1', 0)");
    FVardiyaID = OpenShift();
}

int TShopFixture::AddBranch(const QString& name)
{
    return Insert(
        QString("INSERT INTO Sube (SubeAdi, FirmaID, IsActive, IsDeleted) VALUES ('%1', %2, 1, 0)")
            .arg(name)
            .arg(FFirmaID));
}

int TShopFixture::OpenShift(double opening)
{
    return Insert(
        QString("INSERT INTO Vardiya (KullaniciID, TerminalID, SubeID, AcilisZamani, AcilisTutar, "
                "VardiyaDurumu) VALUES (%1, %2, %3, GETDATE(), %4, 'ACIK')")
            .arg(FKullaniciID)
            .arg(FTerminalID)
            .arg(FSubeID)
            .arg(opening));
}

int TShopFixture::AddProduct(const QString& name, const QString& barcode, double price, double vat,
                             double stock, bool weighed)
{
    TDbQuery q("INSERT INTO Stok (StokKodu, StokAdi, Barkod, Birim, SatisFiyati, KDVOrani, "
               "TartimliMi, MevcutStok, "
               "IsActive, IsDeleted, IsSKTTakibi, IsSatisEngelle) VALUES (:Kod, :Ad, :Bar, :Birim, "
               ":Fiyat, :KDV, "
               ":Tartim, :Stok, 1, 0, 0, 1); SELECT SCOPE_IDENTITY()");
    q.Param("Kod", QString("K-" + barcode))
        .Param("Ad", name)
        .Param("Bar", barcode)
        .Param("Birim", weighed ? "KG" : "ADET")
        .Param("Fiyat", price)
        .Param("KDV", vat)
        .Param("Tartim", weighed ? 1 : 0)
        .Param("Stok", stock)
        .Exec();
    q.Next();
    return q.Value(0).toInt();
}

void TShopFixture::TrackExpiry(int stokID, bool blockExpired)
{
    Exec(QString("UPDATE Stok SET IsSKTTakibi = 1, IsSatisEngelle = %1 WHERE StokID = %2")
             .arg(blockExpired ? 1 : 0)
             .arg(stokID));
}

int TShopFixture::AddLot(int stokID, double quantity, const QDate& expiry)
{
    TDbQuery q(
        "INSERT INTO StokLotDetay (StokID, MevcutMiktar, SonKullanmaTarihi) VALUES (:S, :M, :T); "
        "SELECT SCOPE_IDENTITY()");
    q.Param("S", stokID)
        .Param("M", quantity)
        .Param("T",
               expiry.isValid() ? QVariant(expiry.toString("yyyy-MM-dd")) : TDbQuery::NullText())
        .Exec();
    q.Next();
    return q.Value(0).toInt();
}

double TShopFixture::LotQuantity(int lotID)
{
    return Scalar(QString("SELECT MevcutMiktar FROM StokLotDetay WHERE LotID = %1").arg(lotID))
        .toDouble();
}

double TShopFixture::BranchStock(int subeID, int stokID)
{
    return Scalar(QString("SELECT MevcutStok FROM SubeStok WHERE SubeID = %1 AND StokID = %2")
                      .arg(subeID)
                      .arg(stokID))
        .toDouble();
}

double TShopFixture::ProductStock(int stokID)
{
    return Scalar(QString("SELECT MevcutStok FROM Stok WHERE StokID = %1").arg(stokID)).toDouble();
}

TSessionInfo TShopFixture::CashierSession() const
{
    TSessionInfo session;
    session.KullaniciID = FKullaniciID;
    session.AdSoyad = "KASA SORUMLUSU";
    session.RolAdi = "Kasiyer";
    session.SubeID = FSubeID;
    session.SubeAdi = "MERKEZ";
    session.TerminalID = FTerminalID;
    return session;
}

void TShopFixture::LoginCashier() const
{
    TSessionManager::Instance().Login(CashierSession());
}
