#pragma once

#include <QString>

class TCartManager;

struct TSaleResult {
    bool Success = false;
    int FisID = 0;
    QString FisNo;
    double GenelToplam = 0;
    QString Message;
    // The payment as booked: the cash and card parts of the total, and the cash the customer
    // handed over (0 without cash). The change is what was handed over beyond the cash part.
    double Nakit = 0;
    double Kart = 0;
    double VerilenNakit = 0;

    double ParaUstu() const;
};

// Writes a finished sale in one transaction: the receipt header, its lines, the lots taken,
// the branch stock movements and the payment rows; all of it or nothing. The writing is one call
// of the server routine sp_CreateSale, which takes the lines and payments as one document, so a
// sale costs the same few round trips whatever the number of its lines. Amounts and quantities
// are stored at their columns' scale: the total is the cart's total as the cashier was asked for
// it, to the kuruş (also GenelToplam of the result), and the payments are settled against it
// (TPaymentCalculator::Settle), so a sale paid in full has payments that add up to its total.
// `NakitTutar` is the cash the customer handed over: the sale books the part of it the total
// needs and keeps the whole amount on its cash payment, so the change can be printed again.
class TSaleManager {
public:
    static TSaleResult CreateSale(int SubeID, int KullaniciID, int TerminalID, int VardiyaID,
                                  const QString& PaymentType, const TCartManager& Cart,
                                  double NakitTutar, double KartTutar);

    TSaleManager() = delete;
};
