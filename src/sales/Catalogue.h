#pragma once

#include <QList>
#include <QString>

struct TCatalogueCategory {
    int KategoriID = 0;
    QString KategoriAdi;
};

// One product tile: its picture, name, price and badge.
struct TCatalogueTile {
    int StokID = 0;
    QString StokAdi;
    double SatisFiyati = 0;
    QString Birim;
    QString Resim;
    QString KategoriAdi;
};

// Where the reading of a category stopped: the next part starts after this name and StokID.
struct TTileCursor {
    QString StokAdi;
    int StokID = 0;
    bool Done = false;
};

// The catalogue's reading of the database: the active categories, the first 50 products of all
// categories, and the products of one category in parts, so that a screen of tiles is painted
// before a large category is read to its end. Deleted products never become tiles.
class TCatalogue {
public:
    TCatalogue() = delete;

    static constexpr int AllProductsLimit = 50;
    static constexpr int PartSize = 500;

    static QList<TCatalogueCategory> LoadCategories();
    // The 50 products first by name of every category ("TÜMÜ").
    static QList<TCatalogueTile> LoadAllProducts();
    // The next PartSize products of a category in the order of (StokAdi, StokID), from where
    // `cursor` stopped; the cursor moves on, and is done once the category has no more.
    static QList<TCatalogueTile> LoadCategoryPart(int CategoryID, TTileCursor& cursor);
};
