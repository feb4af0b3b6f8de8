#include "sales/InvoiceDocument.h"

#include "core/DbQuery.h"
#include "core/DbTransaction.h"
#include "core/OwnedSchema.h"

#include <optional>

namespace {

std::optional<int> AccountByID(int cariID)
{
    TDbQuery q(
        QStringLiteral("SELECT CariID, CariKodu, CariAdi FROM CariKart WHERE CariID = :CariID AND "
                       "ISNULL(IsDeleted, 0) = 0"));
    q.Param(QStringLiteral("CariID"), cariID).Exec();
    if (!q.Next())
        return std::nullopt;
    return q.Value(QStringLiteral("CariID")).toInt();
}

std::optional<int> AccountByCode(const QString& code)
{
    TDbQuery q(QStringLiteral(
        "SELECT CariID, CariKodu, CariAdi FROM CariKart WHERE CariKodu = :CariKodu"));
    q.Param(QStringLiteral("CariKodu"), code).Exec();
    if (!q.Next())
        return std::nullopt;
    return q.Value(QStringLiteral("CariID")).toInt();
}

// Opens a CariKart account for a customer kept in the older Musteri table.
std::optional<int> CarryOverCustomer(int musteriID, const QString& code)
{
    TDbQuery old(QStringLiteral(
        "SELECT TOP 1   CASE WHEN ISNULL(AdSoyad, '') <> '' THEN AdSoyad ELSE FirmaUnvan "
        "END AS CariAdi FROM Musteri WHERE MusteriID = :Mid"));
    old.Param(QStringLiteral("Mid"), musteriID).Exec();
    if (!old.Next())
        return std::nullopt;
    TDbQuery insert(QStringLiteral(
        "INSERT INTO CariKart (CariKodu, CariAdi, CariTipi, IsActive, IsDeleted) VALUES "
        "(:Kodu, :Adi, 'MUSTERI', 1, 0); SELECT SCOPE_IDENTITY() AS NewID"));
    insert.Param(QStringLiteral("Kodu"), code)
        .Param(QStringLiteral("Adi"), old.Value(0).toString())
        .Exec();
    insert.Next();
    return insert.Value(0).toInt();
}

bool DocumentExists(const QString& belgeNo)
{
    TDbQuery q(QStringLiteral("SELECT BelgeID FROM BelgeBaslik WHERE BelgeNo = :BelgeNo"));
    q.Param(QStringLiteral("BelgeNo"), belgeNo).Exec();
    return q.Next();
}

void WriteDocument(int FisID, int cariID, const QString& belgeNo)
{
    TDbQuery header(QStringLiteral("INSERT INTO BelgeBaslik (BelgeNo, BelgeTuru, BelgeTarihi, "
                                   "CariID, KullaniciID, AraToplam, ToplamKDV, "
                                   "GenelToplam, Aciklama, Durum) SELECT :BelgeNo, 'FATURA', "
                                   "F.Tarih, :CariID, F.KullaniciID, F.AraToplam, "
                                   "F.ToplamKDV, F.GenelToplam, 'POS otomatik belge', 'AKTIF' FROM "
                                   "SatisFis F WHERE F.FisID = :FisID; "
                                   "SELECT SCOPE_IDENTITY() AS NewID"));
    header.Param(QStringLiteral("BelgeNo"), belgeNo)
        .Param(QStringLiteral("CariID"), cariID)
        .Param(QStringLiteral("FisID"), FisID)
        .Exec();
    header.Next();
    TDbQuery lines(
        QStringLiteral("INSERT INTO BelgeSatir (BelgeID, SiraNo, StokID, StokAdi, Miktar, Birim, "
                       "BirimFiyat, KDVOrani, "
                       "KDVTutari, SatirToplam) SELECT :BelgeID, SiraNo, StokID, StokAdi, Miktar, "
                       "Birim, BirimFiyat, KDVOrani, "
                       "KDVTutari, SatirToplam FROM SatisFisSatir WHERE FisID = :FisID"));
    lines.Param(QStringLiteral("BelgeID"), header.Value(0).toInt())
        .Param(QStringLiteral("FisID"), FisID)
        .Exec();
}
} // namespace

void TInvoiceDocument::CreateInvoiceDocument(int FisID)
{
    OwnedSchema::Run(OwnedSchema::InvoiceDocumentStatements());

    TDbQuery sale(
        QStringLiteral("SELECT MusteriID, KullaniciID FROM SatisFis WHERE FisID = :FisID"));
    sale.Param(QStringLiteral("FisID"), FisID).Exec();
    if (!sale.Next())
        return;
    const int musteriID = sale.Value(QStringLiteral("MusteriID")).toInt();
    if (musteriID <= 0)
        return;

    // The carry-over, the header and its lines are one unit: a failure leaves no header
    // without lines and no orphan account.
    TDbTransaction transaction;
    const QString code = QStringLiteral("MUS-") + QString::number(musteriID);
    std::optional<int> cariID = AccountByID(musteriID);
    if (!cariID)
        cariID = AccountByCode(code);
    if (!cariID)
        cariID = CarryOverCustomer(musteriID, code);
    if (!cariID)
        return;
    const QString belgeNo = QStringLiteral("FATURA-POS-") + QString::number(FisID);
    if (DocumentExists(belgeNo))
        return;
    WriteDocument(FisID, *cariID, belgeNo);
    transaction.Commit();
}
