#pragma once

#include "refunds/RefundAmounts.h"

#include <QList>
#include <QString>

// One line of the receipt a refund is taken against, as the refund screen lists it.
struct TRefundLine {
    int SatirID = 0;
    int StokID = 0;
    QString StokAdi;
    double Miktar = 0; // sold on this line
    // What this line may still give back: its sold quantity less its share of the product's
    // earlier refunds, which take from the receipt's lines of the product in line order.
    double Kalan = 0;
    // The product's sold quantity and line totals (VAT included, after the line discounts) over
    // all lines of the receipt: what the customer paid per unit is their ratio.
    double UrunMiktar = 0;
    double UrunToplam = 0;
    double IadeMiktar = 0; // chosen on the screen, 0 when none
    // What the routine pays back for the chosen quantity, to the kuruş (TRefundManager::Price).
    double IadeTutar = 0;

    // What the customer paid per unit of the product.
    double BirimIade() const;
};

struct TRefundReceipt {
    int FisID = 0;
    QString FisNo;   // as stored, or "FIS-" + id when blank
    QString Tarih;   // "dd.MM.yyyy HH:mm:ss", "-" without a header row
    QString Musteri; // the customer's name, "-" when none
    QList<TRefundLine> Lines;
    TRefundAmounts Amounts; // what its refunds pay back
};

struct TRefundResult {
    bool Success = false;
    QString Message;
    int IadeFisID = 0; // the refund receipt written, where CompleteRefund found it
};

// The refund screen without its window: finding the receipt, what each line has left, the
// chosen quantities, the item document and the booking through sp_ProcessRefund. Class
// operations only; failures the cashier is shown are Exception texts or TRefundResult messages.
class TRefundManager {
public:
    TRefundManager() = delete;

    // The receipt id typed text names in the branch: a receipt whose number is exactly the text
    // (the newest of several), else the text without its first "FIS-" (any letter case) read as
    // a whole number; 0 when neither.
    static int ResolveFisID(const QString& Text, int SubeID);

    // Loads the receipt's head and lines in the branch. False, with Receipt untouched, when it
    // has no line there. A receipt that is not a sale (a refund, a cancelled one) raises the
    // routine's own refusal text.
    static bool LoadReceipt(int FisID, int SubeID, TRefundReceipt& Receipt);

    // A typed refund quantity, read as every typed quantity is (ReadTypedNumber: "2,5" and "2.5"
    // are 2.5, "1.500" is 1500 on Turkish settings) and rounded to thousandths as the routine
    // keeps it; 0 for text that is no quantity.
    static double ParseQuantity(const QString& Text);
    // Whether a chosen quantity may be refunded on a line with `Limit` left.
    static bool QuantityAllowed(double Quantity, double Limit);
    // "İade edilecek miktar (Max: " + limit + "):" with the limit in general number format.
    static QString QuantityPrompt(double Limit);

    // Sets each line's IadeTutar to what the routine pays back for the chosen quantities: the
    // chosen lines in line order are the items of the refund, a product's later lines counting
    // on from its earlier ones.
    static void Price(const TRefundAmounts& Amounts, QList<TRefundLine>& Lines);
    // Lines with a chosen quantity, and the sum of their refund amounts, what the refund receipt
    // pays back.
    static int ChosenCount(const QList<TRefundLine>& Lines);
    static double RefundTotal(const QList<TRefundLine>& Lines);

    // <Items><Item StokID="12" Miktar="0.5"/>...</Items> of the chosen lines, in line order.
    static QString ItemsXml(const QList<TRefundLine>& Lines);

    // Books the refund of the chosen lines of the receipt with sp_ProcessRefund in the session's
    // open shift. Without an open shift (VardiyaID <= 0) nothing is sent and the result says so.
    static TRefundResult Book(int FisID, int KullaniciID, int VardiyaID,
                              const QList<TRefundLine>& Lines);
    // Books the refund as Book does; once it is booked, the refund receipt (the receipt's newest
    // refund in the shift) is stored as a sale's receipt is, "Receipt_<FisNo>.txt" and
    // "LastReceipt.txt". An error of the receipt files is dropped: the refund stands.
    static TRefundResult CompleteRefund(int FisID, int KullaniciID, int VardiyaID,
                                        const QList<TRefundLine>& Lines);
    // The newest refund receipt of the receipt in the shift; 0 when none.
    static int LastRefundReceipt(int FisID, int VardiyaID);

    static inline const QString MsgNoShift =
        QStringLiteral("Açık vardiya bulunamadı. İade için önce vardiya açınız.");
};
