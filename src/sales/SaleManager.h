#pragma once

#include <QString>

class TCartManager;

struct TSaleResult {
    bool Success = false;
    int FisID = 0;
    QString FisNo;
    double GenelToplam = 0;
    QString Message;
};

// Writes a finished sale in one transaction: the receipt header, its lines, the lots taken,
// the branch stock movements and the payment rows; all of it or nothing. The writing is one call
// of the server routine sp_CreateSale, which takes the lines and payments as one document, so a
// sale costs the same few round trips whatever the number of its lines. Amounts and quantities
// are stored at their columns' scale: the total is the cart's total as the cashier was asked for
// it, to the kuruş (also GenelToplam of the result), and the payments are settled against it
// (TPaymentCalculator::Settle), so a sale paid in full has payments that add up to its total.
class TSaleManager {
public:
    static TSaleResult CreateSale(int SubeID, int KullaniciID, int TerminalID, int VardiyaID,
                                  const QString& PaymentType, const TCartManager& Cart,
                                  double NakitTutar, double KartTutar);

    TSaleManager() = delete;
};
