#pragma once

#include "shifts/ShiftReport.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// The open shift as its sales window and report show it: who opened it and when, every receipt
// whatever its status, and the takings by the shared shift rules. No cash-refund or drawer
// figure is shown here, and nothing is filtered by branch: the shift id alone selects.
struct TOpenShiftData {
    int VardiyaID = 0;
    QDateTime AcilisZamani;
    QString Kasiyer;
    int FisSayisi = 0; // every receipt of the shift, whatever its status
    double BrutNakit = 0;
    double BrutKart = 0;
    double IadeToplam = 0;

    double NetCiro() const { return BrutNakit + BrutKart - IadeToplam; }
};

class TOpenShiftSales {
public:
    TOpenShiftSales() = delete;

    // Raises "Vardiya bulunamadı." when no shift (with its cashier) has that id.
    static TOpenShiftData LoadShift(int VardiyaID);
    // Every receipt of the shift with its id, oldest first, ties by id.
    static QList<TReportReceipt> LoadReceipts(int VardiyaID);
    // The 118-column report; ReportTime is printed as the time of the report.
    static QStringList BuildReport(const TOpenShiftData& Shift,
                                   const QList<TReportReceipt>& Receipts,
                                   const QDateTime& ReportTime);
};
