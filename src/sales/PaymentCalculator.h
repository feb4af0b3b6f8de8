#pragma once

#include <QChar>
#include <QString>

// What the payment window shows for the two amounts typed so far.
struct TPaymentSummary {
    double Cash = 0;      // cash received
    double Card = 0;      // card amount
    double Change = 0;    // cash to give back
    double Remaining = 0; // still due; never negative, 0 within the tolerance
    bool Due = false;     // something is still to be paid (shown in red)
    bool CanComplete = false;
};

// The amounts a completed payment hands to the sale: the cash and card parts of the total, and
// the cash handed over, of which the sale keeps the change.
struct TPaymentOutcome {
    bool Short = false; // the amounts do not cover the total: the window stays open
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

// What a character typed into an amount box does.
struct TAmountKeyDecision {
    enum TAction {
        Accept,    // the box takes the character as typed
        Swallow,   // nothing happens
        Separator, // the regional decimal separator is typed instead
        Complete   // swallowed; the payment is completed when it may be
    };
    TAction Action = Accept;
};

// The arithmetic of the payment window, kept apart from its widgets. The total is settled as
// the amount it shows, rounded to the kuruş: a cart total with fractions of a kuruş (weighed
// goods, percentage discounts) is paid by the amount the cashier sees.
class TPaymentCalculator {
public:
    TPaymentCalculator() = delete;

    // A box's text as an amount: ParseDecimalText with default 0; a negative amount counts as 0.
    static double ReadAmount(const QString& Text);
    // The total as shown and paid: rounded to two decimals, half away from zero.
    static double AmountDue(double Total);
    // An amount as an entry box holds it ("0.00": two decimals, no grouping).
    static QString EntryText(double Amount);
    // A box's text as it is rewritten when the box is left.
    static QString NormalisedEntry(const QString& Text);
    // "Tümü": the part of the total the other box leaves, not limited at 0.
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

    // The key filter of the amount boxes. `Text` is the box's text, `SelectionStart` and
    // `SelectionLength` its selection (the caret position and 0 without one), `Separator` the
    // regional decimal separator.
    static TAmountKeyDecision FilterKey(QChar Typed, const QString& Text, int SelectionStart,
                                        int SelectionLength, QChar Separator);
};
