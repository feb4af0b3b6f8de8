#pragma once

#include <QString>

#include <optional>

// What the payment window shows for the two amounts typed so far.
struct TPaymentSummary {
    double Cash = 0;      // cash received
    double Card = 0;      // card amount
    double Change = 0;    // cash to give back
    double Remaining = 0; // still due; never negative, 0 within the tolerance
    bool Due = false;     // something is still to be paid (shown in red)
    bool Invalid = false; // a box holds text that is no amount: it counts as 0 and blocks
    bool CanComplete = false;
};

// The amounts a completed payment hands to the sale: the cash and card parts of the total, and
// the cash handed over, of which the sale keeps the change.
struct TPaymentOutcome {
    bool Invalid = false; // a box holds text that is no amount: the window stays open
    bool Short = false;   // the amounts do not cover the total: the window stays open
    double PaymentNakit = 0;
    double PaymentKart = 0;
    double VerilenNakit = 0; // the cash box's amount, change included
    QString PaymentType;     // "NAKIT", "KART" or "KARMA"
};

// The two amounts of a sale's payment.
struct TPaymentAmounts {
    double Nakit = 0;
    double Kart = 0;
};

// The arithmetic of the payment window, kept apart from its widgets. The total is settled as
// the amount it shows, rounded to the kuruş: a cart total with fractions of a kuruş (weighed
// goods, percentage discounts) is paid by the amount the cashier sees.
class TPaymentCalculator {
public:
    TPaymentCalculator() = delete;

    static inline const QString MsgInvalidAmount = QStringLiteral("Geçersiz tutar!");

    // A box's text as an amount, read with the money rules of ReadTypedNumber ("1.500" and
    // "1.500,00" are 1500 on Turkish settings, at most two decimals, no sign); an empty box is
    // 0. None when the text is no amount.
    static std::optional<double> ReadAmount(const QString& Text);
    // The total as shown and paid: rounded to two decimals, half away from zero.
    static double AmountDue(double Total);
    // An amount as an entry box holds it ("0.00": two decimals, no grouping).
    static QString EntryText(double Amount);
    // A box's text as it is rewritten when the box is left: its amount as an entry; text that
    // is no amount stays as typed, for the cashier to mend.
    static QString NormalisedEntry(const QString& Text);
    // "Tümü": the part of the total the other box leaves (a box that is no amount counts as
    // 0), at least 0: a box never gets a negative amount, which no box takes.
    static QString RestOfTotal(double Total, const QString& OtherBoxText);

    static TPaymentSummary Summarize(double Total, const QString& CashText,
                                     const QString& CardText);
    static TPaymentOutcome Complete(double Total, const QString& CashText, const QString& CardText);
    // The amounts applied to a sale of `Due` (already to the kuruş): the card at most the amount
    // due, the cash at most what the card leaves, that rest taken to the kuruş, so cash and card
    // of kuruş amounts that cover the total add up to it exactly. Change is never applied.
    static TPaymentAmounts Settle(double Due, double Nakit, double Kart);
    // "KARMA" when both amounts are paid, "NAKIT" when only cash is, else "KART".
    static QString PaymentTypeWord(double Nakit, double Kart);
};
