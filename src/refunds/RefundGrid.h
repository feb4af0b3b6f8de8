#pragma once

#include "refunds/RefundManager.h"

#include <QList>
#include <QStringList>

// The refund screen's lines grid without its widgets: its columns and the texts of a line. A
// row reads from left to right as the refund is worked out: what the receipt sold, what is left
// of it after the receipt's earlier refunds, the unit price the customer paid (VAT included,
// after the discount), the chosen quantity and the amount the refund pays back for it: "Birim
// Fiyat" × "İade Edilecek" to the kuruş, except where the last refund of a product pays what is
// left of what the customer paid for it.
class TRefundGrid {
public:
    TRefundGrid() = delete;

    enum TColumn : int {
        ColSatirID, // hidden
        ColStokAdi,
        ColSatilan,    // sold on the line
        ColKalan,      // what the line may still give back
        ColBirimFiyat, // what a refunded unit pays back
        ColIadeMiktar, // chosen
        ColTutar,      // what the routine pays back for the chosen quantity
        ColStokID,     // hidden
        ColumnCount
    };

    static QStringList Titles();
    // The texts of a line's cells in column order; "0" and "0,00 TL" while nothing is chosen.
    static QStringList Cells(const TRefundLine& Line);
    // The columns of figures, drawn right-aligned.
    static QList<int> FigureColumns();
    // The widths of the columns in `Available` pixels: the ids hidden, the name and the first
    // four figures by their weights 300, 112, 124, 134 and 112 of 912, rounded; the amount takes
    // the rest. None when there is no room.
    static QList<int> ColumnWidths(int Available);

    // A quantity with up to three decimals, none when whole: "1,25", "0,5", "1.234".
    static QString QuantityText(double Miktar);
    // A unit price to the kuruş, or to four places where the kuruş does not hold it (a
    // discount of 15 % on 7,50 TL leaves 6,375 TL), so the unit times the quantity reads as the
    // amount beside it.
    static QString UnitPriceText(double Price);
};
