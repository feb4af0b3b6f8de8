#include "sales/BranchStockManager.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/Money.h"
#include "core/OwnedSchema.h"
#include "core/POSTextUtils.h"
#include "sales/CartManager.h"

#include <QHash>

namespace {
// Gives branch :SubeID a row for every live product that has none (productFilter narrows the
// products).
QString SeedBranchRowsSql(const QString& productFilter)
{
    return QStringLiteral("INSERT INTO dbo.SubeStok (SubeID, StokID, MevcutStok, MinStok, "
                          "MaxStok) SELECT :SubeID, S.StokID, ") +
           QStringLiteral("CASE WHEN NOT EXISTS (SELECT 1 FROM dbo.SubeStok SS0 WHERE SS0.StokID = "
                          "S.StokID) ") +
           QStringLiteral("THEN ISNULL(S.MevcutStok,0) ELSE 0 END, S.MinStok, S.MaxStok ") +
           QStringLiteral("FROM dbo.Stok S ") + QStringLiteral("WHERE ISNULL(S.IsDeleted,0) = 0 ") +
           productFilter +
           QStringLiteral("AND NOT EXISTS (SELECT 1 FROM dbo.SubeStok SS WHERE SS.SubeID = "
                          ":SubeID AND SS.StokID = S.StokID);");
}

// The rows of the products above :From, and the highest product id, which marks how far the
// branch is seeded: one batch, so SQL Server answers both in one round trip.
const QString kSeedBranchRows = SeedBranchRowsSql(QStringLiteral("AND S.StokID > :From ")) +
                                QStringLiteral(" SELECT MAX(StokID) FROM dbo.Stok");
const QString kSeedProductRow = SeedBranchRowsSql(QStringLiteral("AND S.StokID = :StokID "));

// Seeding the whole catalogue costs a pass over every product, so it runs once per branch and
// database; afterwards only products added since (a higher StokID) are seeded, and a product
// that comes back from deletion gets its row when its stock moves or is read.
QHash<QString, qlonglong>& SeededUpTo()
{
    static QHash<QString, qlonglong> seeded;
    return seeded;
}

QString SeedKey(int SubeID)
{
    return dmMain->Identity() + u'|' + QString::number(SubeID);
}

qlonglong HighestStokID()
{
    return dmMain->GetScalar(QStringLiteral("SELECT MAX(StokID) FROM dbo.Stok")).toLongLong();
}

// Seeds the live products above `from` that have no row and returns the highest StokID.
qlonglong SeedRowsAbove(int SubeID, qlonglong from)
{
    return dmMain
        ->GetScalar(kSeedBranchRows,
                    {{QStringLiteral("SubeID"), SubeID}, {QStringLiteral("From"), from}})
        .toLongLong();
}

void SeedProductRow(int SubeID, int StokID)
{
    dmMain->ExecSql(kSeedProductRow,
                    {{QStringLiteral("SubeID"), SubeID}, {QStringLiteral("StokID"), StokID}});
}

// The lots of :Sid a sale may take: stock left, and no expiry date or one not yet passed.
SqlText LotSql(const QString& head, const QString& tail)
{
    return dmMain->Composed([&](const SqlDialect& dialect) -> QString {
        return head +
               QStringLiteral("StokID = :Sid AND ISNULL(MevcutMiktar,0) > 0 AND (SonKullanmaTarihi "
                              "IS NULL OR SonKullanmaTarihi >= ") +
               dialect.Today() + u')' + tail;
    });
}

QString ExpiredLotSql(const SqlDialect& dialect)
{
    return QStringLiteral("SELECT TOP 1 ") +
           dialect.DateText104(QStringLiteral("SonKullanmaTarihi")) +
           QStringLiteral(" AS SKT FROM StokLotDetay WHERE StokID = :Sid AND "
                          "ISNULL(MevcutMiktar,0) > 0 AND SonKullanmaTarihi IS NOT NULL "
                          "AND SonKullanmaTarihi < ") +
           dialect.Today() + QStringLiteral(" ORDER BY SonKullanmaTarihi");
}

void CheckExpiredLots(int StokID)
{
    TDbQuery expired(dmMain->Composed(ExpiredLotSql));
    expired.Param(QStringLiteral("Sid"), StokID).Exec();
    if (expired.Next())
        throw Exception(QStringLiteral("Dikkat! Bu urunun son kullanma tarihi ") +
                        expired.Value(0).toString() +
                        QStringLiteral(" tarihinde gecmistir, islem yapilamaz!"));
}

void RecordLot(int FisID, int SiraNo, int StokID, int lot, double take, const QVariant& expiry)
{
    TDbQuery insert(
        QStringLiteral("INSERT INTO SatisFisLot (FisID, SatirSiraNo, StokID, LotID, Miktar, "
                       "SonKullanmaTarihi) VALUES (:Fis, :Sira, :Stok, :Lot, :Mik, :SKT)"));
    insert.Param(QStringLiteral("Fis"), FisID)
        .Param(QStringLiteral("Sira"), SiraNo)
        .Param(QStringLiteral("Stok"), StokID)
        .Param(QStringLiteral("Lot"), lot)
        .Param(QStringLiteral("Mik"), take)
        .Param(QStringLiteral("SKT"), expiry.isNull() ? TDbQuery::NullText() : expiry)
        .Exec();
}

// Takes `take` out of the lot only while the lot still holds it: another till may have emptied
// it since it was read. The rest is kept to three places, as the server's DECIMAL(18,3) keeps
// it: 0.7 - 0.3 of doubles is 0.39999999999999997.
bool ConsumeLot(int lot, double take)
{
    TDbQuery update(QStringLiteral(
        "UPDATE StokLotDetay SET MevcutMiktar = ROUND(MevcutMiktar - :Take, 3) WHERE LotID = "
        ":LotID AND MevcutMiktar - :Take >= -:Tolerance"));
    update.Param(QStringLiteral("Take"), take)
        .Param(QStringLiteral("LotID"), lot)
        .Param(QStringLiteral("Tolerance"), TMoney::LotQuantityTolerance)
        .Exec();
    return update.RowsAffected() == 1;
}
} // namespace

void TBranchStockManager::EnsureBranchStockSchema()
{
    OwnedSchema::Run(OwnedSchema::BranchStockStatements());
}

void TBranchStockManager::EnsureBranchStockRows(int SubeID)
{
    if (SubeID <= 0)
        return;
    auto& seeded = SeededUpTo();
    const QString key = SeedKey(SubeID);
    const auto known = seeded.constFind(key);
    qlonglong from = 0;
    if (known == seeded.constEnd())
        EnsureBranchStockSchema();
    else if (HighestStokID() <= *known)
        return;
    else
        from = *known;
    const qlonglong highest = SeedRowsAbove(SubeID, from);
    // Rows seeded inside a transaction may still be rolled back.
    if (!dmMain->InTransaction())
        seeded.insert(key, highest);
}

void TBranchStockManager::EnsureBranchStockRowsOnce(int SubeID)
{
    if (SubeID > 0 && SeededUpTo().contains(SeedKey(SubeID)))
        return;
    EnsureBranchStockRows(SubeID);
}

double TBranchStockManager::GetBranchStock(int SubeID, int StokID)
{
    if (SubeID <= 0 || StokID <= 0)
        return 0;
    EnsureBranchStockRows(SubeID);
    TDbQuery query(
        QStringLiteral("SELECT ISNULL(MevcutStok,0) AS MevcutStok FROM dbo.SubeStok WHERE SubeID = "
                       ":SubeID AND StokID = :StokID"));
    query.Param(QStringLiteral("SubeID"), SubeID).Param(QStringLiteral("StokID"), StokID).Exec();
    if (query.Next())
        return FieldToFloatDef(query, QStringLiteral("MevcutStok"), 0);
    // A product revived after the branch was seeded has no row yet: give it the one seeding
    // would have given it, so the stock read here is the stock a later move starts from.
    SeedProductRow(SubeID, StokID);
    query.Exec();
    return query.Next() ? FieldToFloatDef(query, QStringLiteral("MevcutStok"), 0) : 0;
}

void TBranchStockManager::MoveBranchStock(int SubeID, int StokID, double Delta)
{
    if (SubeID <= 0 || StokID <= 0)
        return;
    EnsureBranchStockRows(SubeID);
    MoveBranchStockRow(SubeID, StokID, Delta);
}

void TBranchStockManager::MoveBranchStockRow(int SubeID, int StokID, double Delta)
{
    if (SubeID <= 0 || StokID <= 0)
        return;
    // Stock is kept to three places, as the server's DECIMAL(18,3) keeps it, so a run of
    // fractional moves adds up to the decimal sum rather than to what adding doubles leaves.
    TDbQuery update(QStringLiteral(
        "UPDATE dbo.SubeStok SET MevcutStok = ROUND(MevcutStok + (:Delta), 3), UpdatedAt = "
        "GETDATE() WHERE SubeID = :SubeID AND StokID = :StokID"));
    update.Param(QStringLiteral("Delta"), TMoney::RoundQuantity(Delta))
        .Param(QStringLiteral("SubeID"), SubeID)
        .Param(QStringLiteral("StokID"), StokID)
        .Exec();
    if (update.RowsAffected() == 0) {
        // The row is missing (a product revived after the branch was seeded): create it, then move.
        SeedProductRow(SubeID, StokID);
        update.Exec();
    }
    RecalcProductStock(StokID);
}

void TBranchStockManager::RecalcProductStock(int StokID)
{
    if (StokID <= 0)
        return;
    dmMain->ExecSql(
        QStringLiteral("UPDATE dbo.Stok SET MevcutStok = ROUND(ISNULL((SELECT SUM(MevcutStok) "
                       "FROM dbo.SubeStok WHERE StokID = :StokID),0), 3), UpdatedAt = GETDATE() "
                       "WHERE StokID = :StokID"),
        {{QStringLiteral("StokID"), StokID}});
}

QString TBranchStockManager::FloatToSqlText(double Value)
{
    return QString::number(Value, 'g', 15);
}

void TBranchStockManager::EnsureSaleLotSchema()
{
    OwnedSchema::Run(OwnedSchema::SaleLotStatements());
}

void TBranchStockManager::AllocateLots(int FisID, int SiraNo, const TCartItem& Item)
{
    AllocateLots(FisID, SiraNo, Item.StokID(), Item.StokAdi(), Item.Miktar());
}

void TBranchStockManager::AllocateLots(int FisID, int SiraNo, int StokID, const QString& StokAdi,
                                       double Miktar)
{
    if (!dmMain->TableExists(QStringLiteral("StokLotDetay")))
        return;
    TDbQuery flags(
        QStringLiteral("SELECT ISNULL(IsSKTTakibi,0) AS IsSKTTakibi, ISNULL(IsSatisEngelle,1) AS "
                       "IsSatisEngelle FROM Stok WHERE StokID = :Sid"));
    flags.Param(QStringLiteral("Sid"), StokID).Exec();
    if (!flags.Next() || !flags.Value(0).toBool())
        return;
    if (flags.Value(1).toBool())
        CheckExpiredLots(StokID);

    TDbQuery total(LotSql(
        QStringLiteral("SELECT ISNULL(SUM(MevcutMiktar),0) AS TopMiktar FROM StokLotDetay WHERE "),
        QString()));
    total.Param(QStringLiteral("Sid"), StokID).Exec();
    const double available =
        total.Next() ? FieldToFloatDef(total, QStringLiteral("TopMiktar"), 0) : 0;
    double remaining = TMoney::RoundQuantity(Miktar);
    const QString shortage = QStringLiteral("Lot bazli stok yetersiz: ") + StokAdi;
    if (remaining > available + TMoney::LotQuantityTolerance)
        throw Exception(shortage);

    TDbQuery lots(LotSql(
        QStringLiteral("SELECT LotID, MevcutMiktar, SonKullanmaTarihi FROM StokLotDetay WHERE "),
        QStringLiteral(" ORDER BY CASE WHEN SonKullanmaTarihi IS NULL THEN 1 ELSE 0 END, "
                       "SonKullanmaTarihi, LotID")));
    lots.Param(QStringLiteral("Sid"), StokID).Exec();
    struct TLot {
        int ID;
        double Quantity;
        QVariant Expiry;
    };
    QList<TLot> candidates;
    while (lots.Next())
        candidates.append({lots.Value(0).toInt(),
                           FieldToFloatDef(lots, QStringLiteral("MevcutMiktar"), 0),
                           lots.Value(2)});

    for (const TLot& lot : candidates) {
        if (remaining <= TMoney::LotQuantityTolerance)
            break;
        // Takes and what is left of the line to three places, as SatisFisLot.Miktar keeps them.
        const double take = TMoney::RoundQuantity(qMin(remaining, lot.Quantity));
        if (take <= 0 || !ConsumeLot(lot.ID, take))
            continue;
        RecordLot(FisID, SiraNo, StokID, lot.ID, take, lot.Expiry);
        remaining = TMoney::RoundQuantity(remaining - take);
    }
    if (remaining > TMoney::LotQuantityTolerance)
        throw Exception(shortage);
}
