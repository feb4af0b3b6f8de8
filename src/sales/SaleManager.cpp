#include "sales/SaleManager.h"

#include "core/Clock.h"
#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/DbTransaction.h"
#include "core/Exceptions.h"
#include "core/Money.h"
#include "sales/BranchStockManager.h"
#include "sales/CartManager.h"

#include <QDateTime>

namespace {
const QString kInsertHeader =
    QStringLiteral("SET NOCOUNT ON; INSERT INTO SatisFis (FisNo, SubeID, KullaniciID, TerminalID, "
                   "VardiyaID, Tarih, AraToplam, "
                   "ToplamKDV, Indirim, GenelToplam, OdemeTipi, MusteriID) VALUES (:FisNo, :Sube, "
                   ":Kul, :Term, :Var, GETDATE(), "
                   ":Ara, :KDV, :Ind, :Gen, :Ode, :Mus); SELECT SCOPE_IDENTITY();");

const QString kInsertLine =
    QStringLiteral("INSERT INTO SatisFisSatir (FisID, SiraNo, StokID, StokAdi, Barkod, Miktar, "
                   "Birim, BirimFiyat, KDVOrani, "
                   "KDVTutari, IndirimOrani, IndirimTutari, AraToplam, SatirToplam) VALUES (:Fis, "
                   ":Sira, :Stok, :Ad, :Bar, :Mik, "
                   ":Bir, :Fiyat, :KDV, :KDVT, :IndO, :IndT, :Ara, :Top)");

// The shift row is locked until the sale commits, so it cannot be closed in between. SQLite
// has no row locks: its write transaction, begun IMMEDIATE, already holds the whole file.
const QString kOpenShift = QStringLiteral(
    "SELECT VardiyaID FROM Vardiya WITH (UPDLOCK, HOLDLOCK) WHERE VardiyaID = :Var AND "
    "KapanisZamani IS NULL AND ISNULL(VardiyaDurumu, 'ACIK') = 'ACIK'");

const QString kFinalNumber =
    QStringLiteral("UPDATE SatisFis SET FisNo = :FisNo WHERE FisID = :FisID");

void RequireOpenShift(int VardiyaID)
{
    TDbQuery shift(kOpenShift);
    shift.Param(QStringLiteral("Var"), VardiyaID).Exec();
    if (!shift.Next())
        throw Exception(QStringLiteral("Vardiya kapalı veya bulunamadı."));
}

int InsertHeader(int SubeID, int KullaniciID, int TerminalID, int VardiyaID,
                 const QString& PaymentType, const TCartManager& Cart)
{
    TDbQuery header(kInsertHeader);
    const QString provisional =
        QStringLiteral("FIS-") + TClock::Now().toString(QStringLiteral("yyMMddHHmmss"));
    header.Param(QStringLiteral("FisNo"), provisional)
        .Param(QStringLiteral("Sube"), SubeID)
        .Param(QStringLiteral("Kul"), KullaniciID)
        .Param(QStringLiteral("Term"), TerminalID)
        .Param(QStringLiteral("Var"), VardiyaID)
        .Param(QStringLiteral("Ara"), Cart.AraToplam())
        .Param(QStringLiteral("KDV"), Cart.ToplamKDV())
        .Param(QStringLiteral("Ind"), Cart.ToplamIndirim())
        .Param(QStringLiteral("Gen"), Cart.GenelToplam())
        .Param(QStringLiteral("Ode"), PaymentType)
        .Param(QStringLiteral("Mus"),
               Cart.MusteriNo() < 1 ? TDbQuery::NullInt() : QVariant(Cart.MusteriNo()))
        .Exec();
    if (!header.Next())
        throw EDatabaseError(QStringLiteral("Fiş numarası alınamadı."));
    return header.Value(0).toInt();
}

void InsertLine(int FisID, int SiraNo, const TCartItem& item)
{
    TDbQuery line(kInsertLine);
    line.Param(QStringLiteral("Fis"), FisID)
        .Param(QStringLiteral("Sira"), SiraNo)
        .Param(QStringLiteral("Stok"), item.StokID())
        .Param(QStringLiteral("Ad"), item.StokAdi())
        .Param(QStringLiteral("Bar"), item.Barkod())
        .Param(QStringLiteral("Mik"), item.Miktar())
        .Param(QStringLiteral("Bir"), item.Birim())
        .Param(QStringLiteral("Fiyat"), item.NetBirimFiyat())
        .Param(QStringLiteral("KDV"), item.KDVOrani())
        .Param(QStringLiteral("KDVT"), item.KDVTutari())
        .Param(QStringLiteral("IndO"), item.IndirimOrani())
        .Param(QStringLiteral("IndT"), item.IndirimTutari())
        .Param(QStringLiteral("Ara"), item.AraToplam())
        .Param(QStringLiteral("Top"), item.SatirToplam())
        .Exec();
}

void InsertPayment(int FisID, const QString& sql, double amount)
{
    if (amount <= TMoney::Tolerance)
        return;
    TDbQuery payment(sql);
    payment.Param(QStringLiteral("Fis"), FisID).Param(QStringLiteral("Tut"), amount).Exec();
}
} // namespace

TSaleResult TSaleManager::CreateSale(int SubeID, int KullaniciID, int TerminalID, int VardiyaID,
                                     const QString& PaymentType, const TCartManager& Cart,
                                     double NakitTutar, double KartTutar)
{
    TSaleResult result;
    if (Cart.Count() == 0) {
        result.Message = QStringLiteral("Sepet boş!");
        return result;
    }
    try {
        dmMain->ExecSql(QStringLiteral("SET QUOTED_IDENTIFIER ON"));
        TBranchStockManager::EnsureSaleLotSchema();
        TBranchStockManager::EnsureBranchStockRows(SubeID);

        TDbTransaction transaction;
        RequireOpenShift(VardiyaID);
        const int fisID =
            InsertHeader(SubeID, KullaniciID, TerminalID, VardiyaID, PaymentType, Cart);
        const QString fisNo = QStringLiteral("FIS-") + QString::number(fisID);
        dmMain->ExecSql(kFinalNumber,
                        {{QStringLiteral("FisNo"), fisNo}, {QStringLiteral("FisID"), fisID}});
        for (int i = 0; i < Cart.Count(); ++i) {
            const TCartItem& item = Cart.Items(i);
            InsertLine(fisID, i + 1, item);
            TBranchStockManager::AllocateLots(fisID, i + 1, item);
            TBranchStockManager::MoveBranchStock(SubeID, item.StokID(), -item.Miktar());
        }
        InsertPayment(
            fisID,
            QStringLiteral(
                "INSERT INTO SatisOdeme (FisID, OdemeTipi, Tutar) VALUES (:Fis, 'NAKIT', :Tut)"),
            NakitTutar);
        InsertPayment(
            fisID,
            QStringLiteral(
                "INSERT INTO SatisOdeme (FisID, OdemeTipi, Tutar) VALUES (:Fis, 'KART', :Tut)"),
            KartTutar);
        transaction.Commit();

        result.Success = true;
        result.FisID = fisID;
        result.FisNo = fisNo;
        result.GenelToplam = Cart.GenelToplam();
    } catch (const std::exception& e) {
        result = TSaleResult();
        result.Message = QStringLiteral("Satış hatası: ") + ErrorMessage(e);
    }
    return result;
}
