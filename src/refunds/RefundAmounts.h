#pragma once

#include <QHash>
#include <QList>
#include <QString>

// One product of a receipt as its refunds see it.
struct TRefundProduct {
    int StokID = 0;
    double Miktar = 0;      // sold, over the receipt's lines of the product
    double SatirToplam = 0; // their totals, VAT included, after the line discounts
    double IadeMiktar = 0;  // taken back by the receipt's earlier refunds
    double IadeTutar = 0;   // paid back for it by those refunds, as a positive amount
};

// One item of a refund: a quantity of a product, in the order of the refund's document.
struct TRefundQuantity {
    int StokID = 0;
    double Miktar = 0;
};

// What the refunds of one receipt pay back. sp_ProcessRefund (T-SQL and embedded) and the refund
// screen follow this one rule, so the screen shows what is booked:
// - The customer paid the receipt's GenelToplam, to the kuruş, which its line totals (to four
//   places) only come near. It is shared among the products in the order of their first lines:
//   each gets the kuruş that its line totals bring the rounded running total to, never past
//   GenelToplam, and the last product the rest of GenelToplam.
// - The refunds of a product pay back, together, its line totals in proportion to the quantity
//   back so far, rounded to the kuruş and at most its share; the refund that brings back the
//   last of it pays exactly what is left of its share. So the refunds of a product never pay
//   more than was paid for it, and the refunds of a receipt never more than its GenelToplam.
class TRefundAmounts {
public:
    TRefundAmounts() = default;
    // `Products` in the order of their first lines on the receipt, each once.
    TRefundAmounts(double GenelToplam, const QList<TRefundProduct>& Products);

    // The product's share of GenelToplam; 0 for a product that is not on the receipt.
    double Paid(int StokID) const;
    // What the product's refunds pay back together once `Quantity` of it is back.
    double PaidBackAt(int StokID, double Quantity) const;
    // What each item pays back, to the kuruş, items in document order: a product's items count
    // on from its earlier refunds and from its earlier items of the same refund.
    QList<double> Amounts(const QList<TRefundQuantity>& Items) const;

private:
    struct TShare {
        TRefundProduct Product;
        double Paid = 0;
    };
    QHash<int, TShare> FShares;
};

// How a refund's amount leaves the till.
struct TRefundTender {
    double Nakit = 0;
    double Kart = 0;

    // "NAKIT", "KART", or "KARMA", the split sales' word, when both are paid.
    QString OdemeTipi() const;
    // `Amount` back to the card up to `KartOdenen` (what the sale took by card) less
    // `KartIadeEdilen` (the receipt's earlier card refunds), the rest in cash: the drawer only
    // pays out cash it took.
    static TRefundTender Split(double Amount, double KartOdenen, double KartIadeEdilen);
};
