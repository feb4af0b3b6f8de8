#include "sales/Catalogue.h"

#include "core/DbQuery.h"
#include "core/POSTextUtils.h"

namespace {
const QString kTileColumns = QStringLiteral(
    "S.StokID, S.StokAdi, CAST(S.SatisFiyati AS FLOAT) AS SatisFiyati, S.Birim, S.Resim, "
    "ISNULL(K.KategoriAdi, '') AS KategoriAdi FROM Stok S LEFT JOIN Kategori K ON K.KategoriID = "
    "S.KategoriID ");

const QString kAllProducts =
    QStringLiteral("SELECT TOP 50 ") + kTileColumns +
    QStringLiteral("WHERE S.IsActive = 1 AND ISNULL(S.IsDeleted, 0) = 0 ORDER BY S.StokAdi");

// The category's products after (:Ad, :Sid) in name order; the index on (KategoriID, StokAdi)
// reads them from there.
const QString kCategoryPart =
    QStringLiteral("SELECT TOP 500 ") + kTileColumns +
    QStringLiteral("WHERE S.KategoriID = :CatID AND S.IsActive = 1 AND ISNULL(S.IsDeleted, 0) = 0 "
                   "AND S.StokAdi >= :Ad AND (S.StokAdi > :Ad2 OR S.StokID > :Sid) ORDER BY "
                   "S.StokAdi, S.StokID");

TCatalogueTile ReadTile(const TDbQuery& query)
{
    TCatalogueTile tile;
    tile.StokID = query.Value(QStringLiteral("StokID")).toInt();
    tile.StokAdi = query.Value(QStringLiteral("StokAdi")).toString();
    tile.SatisFiyati = FieldToFloatDef(query, QStringLiteral("SatisFiyati"), 0);
    tile.Birim = query.Value(QStringLiteral("Birim")).toString();
    tile.Resim = query.Value(QStringLiteral("Resim")).toString();
    tile.KategoriAdi = query.Value(QStringLiteral("KategoriAdi")).toString();
    return tile;
}
} // namespace

QList<TCatalogueCategory> TCatalogue::LoadCategories()
{
    TDbQuery query(QStringLiteral("SELECT KategoriID, KategoriAdi FROM Kategori WHERE IsActive = 1 "
                                  "ORDER BY Sira, KategoriAdi"));
    query.Exec();
    QList<TCatalogueCategory> categories;
    while (query.Next())
        categories.append({query.Value(QStringLiteral("KategoriID")).toInt(),
                           query.Value(QStringLiteral("KategoriAdi")).toString()});
    return categories;
}

QList<TCatalogueTile> TCatalogue::LoadAllProducts()
{
    TDbQuery query(kAllProducts);
    query.Exec();
    QList<TCatalogueTile> tiles;
    while (query.Next())
        tiles << ReadTile(query);
    return tiles;
}

QList<TCatalogueTile> TCatalogue::LoadCategoryPart(int CategoryID, TTileCursor& cursor)
{
    QList<TCatalogueTile> tiles;
    if (cursor.Done)
        return tiles;
    TDbQuery query(kCategoryPart);
    // The first part starts after the empty name: a text, never NULL.
    const QString after = cursor.StokAdi.isNull() ? QStringLiteral("") : cursor.StokAdi;
    query.Param(QStringLiteral("CatID"), CategoryID)
        .Param(QStringLiteral("Ad"), after)
        .Param(QStringLiteral("Ad2"), after)
        .Param(QStringLiteral("Sid"), cursor.StokID)
        .Exec();
    while (query.Next())
        tiles << ReadTile(query);
    cursor.Done = tiles.size() < PartSize;
    if (!tiles.isEmpty()) {
        cursor.StokAdi = tiles.last().StokAdi;
        cursor.StokID = tiles.last().StokID;
    }
    return tiles;
}
