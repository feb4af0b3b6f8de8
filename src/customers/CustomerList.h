#pragma once

#include <QList>
#include <QString>

// One account as the customer list shows it.
struct TCustomerRow {
    int CariID = -1;
    QString CariKodu;
    QString CariAdi;
    QString Telefon;
    double Bakiye = 0;
};

// The accounts a sale can be made for: not deleted, not passive (a NULL counts as active) and
// not suppliers, filtered as the cashier types.
class TCustomerList {
public:
    TCustomerList() = delete;

    // Creates CariKart when it is missing and brings in every later column and the unique code
    // index; running it again changes nothing.
    static void EnsureCariKartTable();

    // The listed accounts in name order. An account is listed when `Filter` (trimmed) occurs in
    // its code, name, phone, tax number, national id number or contact person, letter case
    // folded by the Turkish rules; every character of the filter stands for itself, "%" and
    // "_" included. An empty filter lists every account.
    static QList<TCustomerRow> LoadCustomers(const QString& Filter);

    // The widths of the five list columns in `Available` pixels: ID, code, name and phone by
    // their weights 70, 130, 430 and 170 of 930, rounded; the balance takes the rest. None when
    // there is no room.
    static QList<int> ColumnWidths(int Available);
};
