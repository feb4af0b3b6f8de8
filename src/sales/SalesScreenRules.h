#pragma once

#include "sales/SaleManager.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class TCartItem;
class TCartManager;
struct TSessionInfo;

// One caption and its value, as a panel of the sales screen shows them.
struct TCaptionRow {
    QString Caption;
    QString Value;
    bool operator==(const TCaptionRow&) const = default;
};

// A typed value the sales screen accepted, or the message that refuses it.
struct TEntryCheck {
    std::optional<double> Value;
    QString Message;
};

// What the sales screen computes and asks the database, without a window: the cart grid's
// texts, the pay button, the typed quantity and discount, the layout numbers, the cashier's
// open shift and the steps that follow a written sale.
class TSalesScreenRules {
public:
    TSalesScreenRules() = delete;

    // Width of the cashier's column for a window's client width.
    static int CartPanelWidth(int ClientWidth);
    // Left edges of the eight header buttons, right to left from "Çıkış", in a header band of
    // `TopWidth` pixels.
    static QList<int> HeaderButtonLefts(int TopWidth);

    // The seven cells of cart line `Index` (0-based): "#", name, quantity with unit, unit price
    // without VAT, discount %, VAT %, line total.
    static QStringList CartRowTexts(const TCartItem& Item, int Index);
    static bool PayEnabled(const TCartManager& Cart, int VardiyaID);
    static QString PayCaption(const TCartManager& Cart);

    // The line's quantity as the quantity prompt shows it: the shortest decimal text in the
    // workstation's number format, without grouping.
    static QString QuantityText(double Miktar);
    static TEntryCheck CheckQuantityEntry(const QString& Text);
    static TEntryCheck CheckDiscountEntry(const QString& Text);

    static QString UserCaption(const TSessionInfo& Session);
    static QString ShiftCaption(int VardiyaID);
    // The cashier's newest open shift on the branch, wherever it was opened; -1 when none.
    static int FindOpenShift(int KullaniciID, int SubeID);

    // Writes the sale; after success stores the receipt files, makes the invoice document of a
    // sale with a customer and empties the cart, in that order. Neither the files nor the
    // document can undo a written sale: their errors are dropped. A failed sale leaves the cart
    // as it was.
    // `NakitTutar` is the cash handed over, change included.
    static TSaleResult CompleteSale(TCartManager& Cart, const TSessionInfo& Session, int VardiyaID,
                                    const QString& PaymentType, double NakitTutar,
                                    double KartTutar);
    // What the totals area shows of a completed sale until the next line enters the cart: the
    // receipt with its total, the card part of a split payment, the cash handed over and the
    // change. None for a sale without cash, which has no change to hand over.
    static QList<TCaptionRow> ChangeRows(const TSaleResult& Sale);
};
