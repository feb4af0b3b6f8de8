#pragma once

#include <QString>

class TCartItem;

// Stock per branch in SubeStok, summed into Stok.MevcutStok, and the lot handling of a sale.
// Every routine runs on the program's connection and raises the database's error; inside a
// sale they run in the sale's transaction. Quantities are written to three places, as the
// server's DECIMAL(18,3) columns keep them, on SQLite's REAL columns too.
class TBranchStockManager {
public:
    static void EnsureBranchStockSchema();
    // Gives the branch a SubeStok row for every live product. The first branch to get a row for
    // a product inherits the product's overall stock; later branches start at 0. The first call
    // for a branch passes over the whole catalogue; later ones ask for the highest StokID and
    // seed only the products added since.
    static void EnsureBranchStockRows(int SubeID);
    // The same, but only the first time for the branch on this database: later calls send
    // nothing. The till readies its branch when it opens, so a scan waits for no catalogue pass.
    static void EnsureBranchStockRowsOnce(int SubeID);
    static double GetBranchStock(int SubeID, int StokID);
    // Adds Delta (negative for a sale) to the branch's stock and re-sums the product.
    static void MoveBranchStock(int SubeID, int StokID, double Delta);
    // The same move without looking at the rest of the branch: the sale routine's, once the
    // program has given the branch its rows. A missing row is still created first.
    static void MoveBranchStockRow(int SubeID, int StokID, double Delta);
    static void RecalcProductStock(int StokID);
    // "." as the decimal point whatever the regional settings, up to 15 significant digits.
    static QString FloatToSqlText(double Value);

    static void EnsureSaleLotSchema();
    // Takes sale line SiraNo out of the product's lots, earliest expiry first, and records the
    // lots taken in SatisFisLot. Raises the expiry message for a blocking product with expired
    // stock, and "Lot bazli stok yetersiz: " + name when the valid lots cannot cover the line.
    static void AllocateLots(int FisID, int SiraNo, const TCartItem& Item);
    // The same for a line known by its product, name (for the message) and quantity.
    static void AllocateLots(int FisID, int SiraNo, int StokID, const QString& StokAdi,
                             double Miktar);

    TBranchStockManager() = delete;
};
