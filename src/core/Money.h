#pragma once

#include <QString>

// A value rounded for display: its decimal digits, cut at the places asked for.
struct TDecimalDigits {
    bool Negative = false; // never set when every digit kept is zero
    QString Integer;       // at least one digit, no leading zeros
    QString Fraction;      // exactly the places asked for
};

// How amounts and quantities are rounded and compared. They stay full doubles in memory and are
// rounded only where they are stored, shown or paid, each by the rule named here; comparisons
// that must not trip over floating-point noise use the tolerances named here.
class TMoney {
public:
    TMoney() = delete;

    // Money: two amounts closer than this are equal, and a payment of no more than this is none.
    static constexpr double Tolerance = 0.001;
    // A payment short of the amount due by no more than one kuruş still completes.
    static constexpr double ShortPaymentTolerance = 0.01;
    // Lot quantities: a line counts as covered by its lots, and a lot may be taken down to minus
    // this, within it.
    static constexpr double LotQuantityTolerance = 0.000001;
    // Refunded stock: a refund may ask for this much more than its receipt has left to give back.
    static constexpr double RefundQuantityTolerance = 0.0001;

    // Rounding as the server's decimal columns store a value: half away from zero at the last
    // place kept. A value held a hair below the half (2.675 is 2.67499... as a double) rounds up,
    // as the decimal number it stands for does.
    static double RoundHalfAway(double Value, int Places);
    // Money to the kuruş: receipt heads, payments and shift amounts (DECIMAL(18,2)).
    static double RoundKurus(double Value);
    // Line amounts and unit prices to four places (DECIMAL(18,4)).
    static double RoundLineAmount(double Value);
    // Quantities to three places (DECIMAL(18,3)).
    static double RoundQuantity(double Value);
    // VAT and discount rates in percent to two places (DECIMAL(5,2)).
    static double RoundRate(double Value);

    // Rounding as a value is shown: the decimal form of its 15 significant digits, rounded half
    // away from zero at `Places`, so 2.675 shows as 2,68. A value that is not finite shows as 0.
    static TDecimalDigits ShownDigits(double Value, int Places);
    // An amount as it is shown and paid: to the kuruş by the display rule.
    static double KurusAsShown(double Value);
};
