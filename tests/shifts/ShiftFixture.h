#pragma once

#include "support/ShopFixture.h"

#include <QDateTime>
#include <QStringList>

// A shop with two shifts of the cashier "KASA SORUMLUSU" on terminal KASA-1:
//   ClosedID (1): opened 05.03.2025 08:30:00 with 250,00, closed 18:00:00 with 460,49 counted;
//                 nine receipts: a cash sale, a split sale (cash and card lines), a card and a
//                 lower-case 'nakit' sale without payment lines, a cash refund and a card refund
//                 (no payment lines) stored with negative amounts, an 'IPTAL' receipt, a receipt
//                 number of 17 characters, and a sale whose VAT is too wide for its column.
//   OpenID (2):   opened 06.03.2025 08:00:00 with 100,00, still open, no receipts.
class TShiftReportFixture {
public:
    TShiftReportFixture();

    TShopFixture Shop;
    int ClosedID = 0;
    int OpenID = 0;

    // The time the expected reports print as their report time.
    static QDateTime ReportTime();
    static QStringList ExpectedClosedReport();
    static QStringList ExpectedOpenReport();

private:
    void AddReceipt(int fisID, const QString& fisNo, const QString& tarih, const QString& durum,
                    const QString& odeme, double ara, double kdv, double indirim, double genel,
                    const QList<double>& quantities);
    void AddPayment(int fisID, const QString& tip, double tutar);
    int FStokID = 0;
};
