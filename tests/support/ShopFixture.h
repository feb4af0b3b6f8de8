#pragma once

#include "core/SessionManager.h"
#include "support/TestDatabase.h"

#include <QDate>
#include <QString>

// A small shop in a fresh test database: one firm, branch MERKEZ (SubeID in Sube), a cashier,
// a terminal and an open shift. Products and lots are added per test.
class TShopFixture {
public:
    TShopFixture();

    TTestDatabase& Database() { return FDb; }
    int SubeID() const { return FSubeID; }
    int KullaniciID() const { return FKullaniciID; }
    int TerminalID() const { return FTerminalID; }
    int VardiyaID() const { return FVardiyaID; }

    // The session of the fixture's cashier ("KASA SORUMLUSU", Kasiyer) on MERKEZ at its till.
    TSessionInfo CashierSession() const;
    // Logs that cashier in.
    void LoginCashier() const;

    int AddBranch(const QString& name);
    int OpenShift(double opening = 100);
    int AddProduct(const QString& name, const QString& barcode, double price, double vat,
                   double stock = 10, bool weighed = false);
    // Marks the product as tracked by expiry date, blocking the sale of expired stock or not.
    void TrackExpiry(int stokID, bool blockExpired);
    int AddLot(int stokID, double quantity, const QDate& expiry);
    double LotQuantity(int lotID);
    double BranchStock(int subeID, int stokID);
    double ProductStock(int stokID);

    void Exec(const QString& sql) { FDb.Exec(sql); }
    QVariant Scalar(const QString& sql) { return FDb.Scalar(sql); }
    int Count(const QString& tableAndWhere) { return FDb.Count(tableAndWhere); }

private:
    TTestDatabase FDb;
    int FFirmaID = 0;
    int FSubeID = 0;
    int FKullaniciID = 0;
    int FTerminalID = 0;
    int FVardiyaID = 0;
};
