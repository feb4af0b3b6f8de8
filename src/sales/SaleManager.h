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
// the branch stock movements and the payment rows; all of it or nothing.
class TSaleManager {
public:
    static TSaleResult CreateSale(int SubeID, int KullaniciID, int TerminalID, int VardiyaID,
                                  const QString& PaymentType, const TCartManager& Cart,
                                  double NakitTutar, double KartTutar);

    TSaleManager() = delete;
};
