#pragma once

#include "sales/BarcodeResolver.h"
#include "sales/CartManager.h"
#include "sales/SaleManager.h"
#include "shifts/ShiftManager.h"

#include <QString>

#include <optional>

// How a till operation ended. Refused and NotFound carry the text the cashier is shown; a
// NotFound message closes by itself and empties the barcode field.
enum class TTillStatus { Done, Nothing, Refused, NotFound };

struct TTillOutcome {
    TTillStatus Status = TTillStatus::Nothing;
    QString Message;

    bool Done() const { return Status == TTillStatus::Done; }
    static TTillOutcome Ok() { return {TTillStatus::Done, {}}; }
    static TTillOutcome Refusal(const QString& Message) { return {TTillStatus::Refused, Message}; }
};

// The sales screen without its window: the cart of the sale in progress with its customer, the
// cashier's open shift, and every operation the screen's buttons and keys start. Operations
// return outcomes; the screen chooses the dialog, asks the cashier where an operation needs an
// answer (a weight, a confirmation, the payment) and repaints. Database errors pass to the
// caller.
//
//   TTill till;
//   till.PrepareBranchStock();
//   till.LoadOpenShift();
//   till.Scan("3*8690504001010", ask);
//   if (till.CheckPayable().Done())
//       till.CompleteSale("NAKIT", till.Cart().GenelToplam(), 0);
class TTill {
public:
    TCartManager& Cart() { return FCart; }
    const TCartManager& Cart() const { return FCart; }
    // The open shift of the cashier; -1 when none.
    int VardiyaID() const { return FVardiyaID; }
    bool HasLine(int Line) const { return Line >= 0 && Line < FCart.Count(); }
    // The chosen customer's name; empty when the sale has none.
    QString CustomerName() const;
    bool HasCustomer() const { return FCart.MusteriNo() > 0; }
    // Makes the account the sale's customer; an id that is no account leaves the sale without.
    void SetCustomer(int CariID, const QString& CariAdi);
    void RemoveCustomer();

    QString UserCaption() const;
    QString ShiftCaption() const;
    bool PayEnabled() const;
    QString PayCaption() const;

    // Adding goods: a scanned or typed code (blanks around it ignored), or a product chosen by
    // its id on a tile or in the search. `Confirm` is asked before a quantity above its bound
    // enters the cart (TQuantityRules); without it such a quantity is not taken.
    TTillOutcome Scan(const QString& Code, const TQuantityPrompt& Ask,
                      const TQuantityConfirm& Confirm = {});
    TTillOutcome AddProduct(int StokID, const TQuantityPrompt& Ask,
                            const TQuantityConfirm& Confirm = {});
    // How long the "not found" message stays, in milliseconds.
    static int NotFoundMessageMs();

    // The line that a quantity or discount change, or a delete, would work on.
    TTillOutcome CheckLineToEdit(int Line) const;
    TTillOutcome CheckLineToDelete(int Line) const;
    // The line's quantity as the quantity prompt offers it.
    QString QuantityText(int Line) const;
    // The typed quantity replaces the line's, under the same quantity rules as a scan.
    TTillOutcome ChangeQuantity(int Line, const QString& Entry,
                                const TQuantityConfirm& Confirm = {});
    TTillOutcome ApplyDiscount(int Line, const QString& Entry);
    void DeleteLine(int Line);
    // Empties the cart and forgets the customer.
    void ClearCart();

    // Whether the sale can be paid now: lines in the cart and an open shift.
    TTillOutcome CheckPayable() const;
    // Writes the paid sale; on success the receipt files and the invoice document follow and
    // the cart and its customer are emptied. A failed sale keeps the cart. `NakitTutar` is the
    // cash handed over, change included.
    TSaleResult CompleteSale(const QString& PaymentType, double NakitTutar, double KartTutar);
    // The sale completed last, until the next line enters the cart: the cashier hands its
    // change over after the sale notice has closed.
    const std::optional<TSaleResult>& LastSale() const { return FLastSale; }
    // How long the sale-completed notice stays, in milliseconds.
    static int SaleNoticeMs();

    // Gives the session's branch its stock rows when the till opens, so that the pass over the
    // catalogue is not waited for at the cashier's first scan. Nothing after the first time.
    void PrepareBranchStock();
    // Finds the cashier's open shift on the session's branch and records it in the session.
    void LoadOpenShift();
    TTillOutcome CheckCanOpenShift() const;
    void ShiftOpened(int VardiyaID);
    TTillOutcome CheckCanCloseShift() const;
    // Closes the open shift with the counted cash. On success the till has no shift any more
    // and ClosedVardiyaID names the shift just closed; a refusal changes nothing.
    TCloseShiftResult CloseShift(double Counted);
    int ClosedVardiyaID() const { return FClosedVardiyaID; }
    TTillOutcome CheckShiftForReports() const;

private:
    void SetShift(int VardiyaID);
    TTillOutcome LineAdded(const TTillOutcome& Outcome);

    TCartManager FCart;
    std::optional<TSaleResult> FLastSale;
    int FVardiyaID = -1;
    int FClosedVardiyaID = -1;
};
