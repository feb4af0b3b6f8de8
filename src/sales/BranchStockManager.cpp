#include "sales/BranchStockManager.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/Money.h"
#include "core/POSTextUtils.h"
#include "database/OwnedSchema.h"
#include "sales/CartManager.h"

#include <QHash>

namespace {
QString SeedBranchRowsSql(const QString& sube, const QString& productFilter)
{
    return QStringLiteral(
               "INSERT INTO dbo.SubeStok (SubeID, StokID, MevcutStok, MinStok, MaxStok) SELECT ") +
           sube + QStringLiteral(", S.StokID, ") +
           QStringLiteral("CASE WHEN NOT EXISTS (SELECT 1 FROM dbo.SubeStok SS0 WHERE SS0.StokID = "
                          "S.StokID) ") +
           QStringLiteral("THEN ISNULL(S.MevcutStok,0) ELSE 0 END, S.MinStok, S.MaxStok ") +
           QStringLiteral("FROM dbo.Stok S ") + QStringLiteral("WHERE ISNULL(S.IsDeleted,0) = 0 ") +
           productFilter +
           QStringLiteral("AND NOT EXISTS (SELECT 1 FROM dbo.SubeStok SS WHERE SS.SubeID = ") +
           sube + QStringLiteral(" AND SS.StokID = S.StokID);");
}

// Seeding the whole catalogue costs a pass over every product. Once a branch has been seeded on
// this database, a new pass is only needed when products were added since (the highest StokID
// grew); a product that comes back from deletion gets its row when its stock moves.
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

void SeedProductRow(int SubeID, int StokID)
{
    dmMain->ExecSql(SeedBranchRowsSql(QString::number(SubeID), QStringLiteral("AND S.StokID = ") +
                                                                   QString::number(StokID) + u' '));
}

const QString kLotValid = QStringLiteral("StokID = :Sid AND ISNULL(MevcutMiktar,0) > 0 AND "
                                         "(SonKullanmaTarihi IS NULL OR SonKullanmaTarihi >= ");

// SQLite reads today from GETDATE(), the program's clock, in a sub-select: once per statement as
// SQL Server does, not once per lot row.
SqlText LotSql(const QString& head, const QString& tail)
{
    return {head + kLotValid + QStringLiteral("CAST(GETDATE() AS DATE))") + tail,
            head + kLotValid + QStringLiteral("(SELECT date(GETDATE())))") + tail};
}

void CheckExpiredLots(const TCartItem& Item)
{
    TDbQuery expired(SqlText{
        QStringLiteral(
            "SELECT TOP 1 CONVERT(VARCHAR(10), SonKullanmaTarihi, 104) AS SKT FROM StokLotDetay "
            "WHERE "
            "StokID = :Sid AND ISNULL(MevcutMiktar,0) > 0 AND SonKullanmaTarihi IS NOT NULL AND "
            "SonKullanmaTarihi < CAST(GETDATE() AS DATE) ORDER BY SonKullanmaTarihi"),
        QStringLiteral("SELECT strftime('%d.%m.%Y', SonKullanmaTarihi) AS SKT FROM StokLotDetay "
                       "WHERE StokID = :Sid "
                       "AND IFNULL(MevcutMiktar,0) > 0 AND SonKullanmaTarihi IS NOT NULL AND "
                       "SonKullanmaTarihi < "
                       "(SELECT date(GETDATE())) ORDER BY SonKullanmaTarihi LIMIT 1")});
    expired.Param(QStringLiteral("Sid"), Item.StokID()).Exec();
    if (expired.Next())
        throw Exception(QStringLiteral("Dikkat! Bu urunun son kullanma tarihi ") +
                        expired.Value(0).toString() +
                        QStringLiteral(" tarihinde gecmistir, islem yapilamaz!"));
}

void RecordLot(int FisID, int SiraNo, const TCartItem& Item, int lot, double take,
               const QVariant& expiry)
{
    TDbQuery insert(
        QStringLiteral("INSERT INTO SatisFisLot (FisID, SatirSiraNo, StokID, LotID, Miktar, "
                       "SonKullanmaTarihi) VALUES (:Fis, :Sira, :Stok, :Lot, :Mik, :SKT)"));
    insert.Param(QStringLiteral("Fis"), FisID)
        .Param(QStringLiteral("Sira"), SiraNo)
        .Param(QStringLiteral("Stok"), Item.StokID())
        .Param(QStringLiteral("Lot"), lot)
        .Param(QStringLiteral("Mik"), take)
        .Param(QStringLiteral("SKT"), expiry.isNull() ? TDbQuery::NullText() : expiry)
        .Exec();
}

// Takes `take` out of the lot only while the lot still holds it: another till may have emptied
// it since it was read.
bool ConsumeLot(int lot, double take)
{
    const QString amount = TBranchStockManager::FloatToSqlText(take);
    TDbQuery update(QStringLiteral("UPDATE StokLotDetay SET MevcutMiktar = MevcutMiktar - ") +
                    amount + QStringLiteral(" WHERE LotID = ") + QString::number(lot) +
                    QStringLiteral(" AND MevcutMiktar - ") + amount + QStringLiteral(" >= -") +
                    QString::number(TMoney::LotQuantityTolerance, 'f', 6));
    update.Exec();
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
    if (known != seeded.constEnd() && HighestStokID() <= *known)
        return;
    EnsureBranchStockSchema();
    const qlonglong highest = HighestStokID();
    dmMain->ExecSql(SeedBranchRowsSql(QString::number(SubeID), QString()));
    // Rows seeded inside a transaction may still be rolled back.
    if (!dmMain->InTransaction())
        seeded.insert(key, highest);
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
    const QString sube = QString::number(SubeID);
    const QString stok = QString::number(StokID);
    TDbQuery update(QStringLiteral("UPDATE dbo.SubeStok SET MevcutStok = MevcutStok + (") +
                    FloatToSqlText(Delta) +
                    QStringLiteral("), UpdatedAt = GETDATE() WHERE SubeID = ") + sube +
                    QStringLiteral(" AND StokID = ") + stok);
    update.Exec();
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
    const QString stok = QString::number(StokID);
    dmMain->ExecSql(
        QStringLiteral("UPDATE dbo.Stok SET MevcutStok = ISNULL((SELECT SUM(MevcutStok) FROM "
                       "dbo.SubeStok WHERE StokID = ") +
        stok + QStringLiteral("),0), UpdatedAt = GETDATE() WHERE StokID = ") + stok);
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
    if (!dmMain->TableExists(QStringLiteral("StokLotDetay")))
        return;
    TDbQuery flags(
        QStringLiteral("SELECT ISNULL(IsSKTTakibi,0) AS IsSKTTakibi, ISNULL(IsSatisEngelle,1) AS "
                       "IsSatisEngelle FROM Stok WHERE StokID = :Sid"));
    flags.Param(QStringLiteral("Sid"), Item.StokID()).Exec();
    if (!flags.Next() || !flags.Value(0).toBool())
        return;
    if (flags.Value(1).toBool())
        CheckExpiredLots(Item);

    TDbQuery total(LotSql(
        QStringLiteral("SELECT ISNULL(SUM(MevcutMiktar),0) AS TopMiktar FROM StokLotDetay WHERE "),
        QString()));
    total.Param(QStringLiteral("Sid"), Item.StokID()).Exec();
    const double available =
        total.Next() ? FieldToFloatDef(total, QStringLiteral("TopMiktar"), 0) : 0;
    double remaining = Item.Miktar();
    const QString shortage = QStringLiteral("Lot bazli stok yetersiz: ") + Item.StokAdi();
    if (remaining > available + TMoney::LotQuantityTolerance)
        throw Exception(shortage);

    TDbQuery lots(LotSql(
        QStringLiteral("SELECT LotID, MevcutMiktar, SonKullanmaTarihi FROM StokLotDetay WHERE "),
        QStringLiteral(" ORDER BY CASE WHEN SonKullanmaTarihi IS NULL THEN 1 ELSE 0 END, "
                       "SonKullanmaTarihi, LotID")));
    lots.Param(QStringLiteral("Sid"), Item.StokID()).Exec();
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
        const double take = qMin(remaining, lot.Quantity);
        if (take <= 0 || !ConsumeLot(lot.ID, take))
            continue;
        RecordLot(FisID, SiraNo, Item, lot.ID, take, lot.Expiry);
        remaining -= take;
    }
    if (remaining > TMoney::LotQuantityTolerance)
        throw Exception(shortage);
}
