#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// One receipt as the receipt search lists it.
struct TReceiptRow {
    int FisID = 0;
    QString FisNo;   // trimmed, or "FIS-" + id when blank
    QDateTime Tarih; // invalid when the stored time cannot be read
    QString Musteri; // "-" when none
    QString Kasiyer; // "-" when none
    double GenelToplam = 0;
    QString OdemeTipi;
    QString FisDurumu; // 'AKTIF' for a NULL status
};

// The sale receipts a refund can be taken against: the branch's receipts with status 'AKTIF'
// (or NULL, an older receipt), newest first, filtered as the cashier types.
class TReceiptSearch {
public:
    TReceiptSearch() = delete;

    // At most MaxRows receipts, newest first (ties by the higher id). With a filter (trimmed)
    // only those where it occurs in the receipt number as listed, the id's digits, the
    // customer's or the cashier's name, so an older receipt is found by typing; letter case is
    // folded by the Turkish rules and by the plain ones ("fis-12" finds "FIS-12", "ış" finds
    // "IŞIK"), and every character of the filter stands for itself, "%", "_", "[" and quotes
    // included. The database matches it (one statement, at most MaxRows rows come back); a
    // filter that few receipts hold is looked up through the search key, so that one that none
    // holds does not cost a pass over the branch's history.
    static QList<TReceiptRow> LoadReceipts(const QString& Filter, int SubeID);
    // The same receipts through the plain statement, which tests the branch's receipts newest
    // first until 500 hold the filter.
    static QList<TReceiptRow> LoadReceiptsByStatement(const QString& Filter, int SubeID);

    // The widths of the eight columns in `Available` pixels: the id hidden, number, date,
    // customer, cashier, amount and payment by their weights 120, 150, 250, 160, 120 and 100 of
    // 990, rounded; the status takes the rest. None when there is no room.
    static QList<int> ColumnWidths(int Available);

    static constexpr int MaxRows = 500;
};
