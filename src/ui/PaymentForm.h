#pragma once

#include "ui/BaseWindow.h"

#include <QString>

class QLabel;
class QLineEdit;
class TPOSButton;

// What the payment window hands back: Accepted only for the modal result OK, and then the
// amounts to book, the cash handed over (change included) and the payment type word.
struct TPaymentResult {
    bool Accepted = false;
    double PaymentNakit = 0;
    double PaymentKart = 0;
    QString PaymentType;
    double VerilenNakit = 0;
};

// Takes the payment of a total in cash, by card or both. The arithmetic lives in
// TPaymentCalculator; this window reads its two boxes, shows the summary and completes on Enter.
// The boxes keep what is typed: text that is no amount is refused ("Geçersiz tutar!"), never
// read in part.
//
//   const TPaymentResult paid = TfrmPayment::Execute(FCart.GenelToplam());
//   if (paid.Accepted) ... CreateSale(..., paid.PaymentType, FCart, paid.VerilenNakit,
//                                      paid.PaymentKart);
class TfrmPayment : public TBaseWindow {
    Q_OBJECT
public:
    explicit TfrmPayment(QWidget* parent = nullptr);

    // Creates the window, runs it modally for `Total` and frees it.
    static TPaymentResult Execute(double Total);

    void SetTotal(double Amount);
    double TotalAmount() const { return FTotalAmount; }

    double PaymentNakit = 0;
    double PaymentKart = 0;
    double VerilenNakit = 0;
    QString PaymentType;

    void RefreshPaymentSummary();
    void btnNakitTamClick();
    void btnKartTamClick();
    void btnCompleteClick();
    void btnCancelClick();

public Q_SLOTS:
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool AmountKeyPress(const QKeyEvent* event);
    void ShowInvalidAmount();
    void AmountExit(QLineEdit* edit);
    void SetRemainingLook(bool due);

    QLabel* lblTotalTitle;
    QLabel* lblTotalAmount;
    QLabel* lblNakit;
    QLineEdit* edtNakit;
    TPOSButton* btnNakitTam;
    QLabel* lblKart;
    QLineEdit* edtKart;
    TPOSButton* btnKartTam;
    QWidget* pnlSummary;
    QLabel* lblPaidTitle;
    QLabel* lblPaidAmount;
    QLabel* lblChangeTitle;
    QLabel* lblChangeAmount;
    QLabel* lblRemaining;
    QLabel* lblRemainingAmount;
    TPOSButton* btnCancel;
    TPOSButton* btnComplete;
    double FTotalAmount = 0;
};
