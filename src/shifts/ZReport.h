#pragma once

#include "core/SqlDialect.h"
#include "shifts/ShiftReport.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// What the Z report of one shift shows, as read from the database.
struct TZReportData {
    int VardiyaID = 0;
    QString Kasiyer;       // the cashier's full name
    QString VardiyaDurumu; // the stored status word
    QDateTime AcilisZamani;
    QDateTime KapanisZamani; // invalid while the shift is open
    TShiftFigures Figures;
    QList<TReportReceipt> Receipts; // every receipt of the shift, oldest first

    // The status as the report prints it ("AÇIK", "KAPALI", other words trimmed).
    QString DurumText() const;
    // The closing time, or "Henüz kapanmadı" while the shift is open.
    QString KapanisText() const;
};

// The end-of-shift account: the shift's figures and the list of its receipts as 118-column
// text lines, built from two queries so that the text can be checked without a window.
class TZReport {
public:
    TZReport() = delete;

    static const SqlText& ShiftSql();
    static const SqlText& ReceiptsSql();

    // Reads the shift and its receipts. Raises "Vardiya bulunamadı." when no shift has that id;
    // database errors pass to the caller.
    static TZReportData Load(int VardiyaID);
    // The report lines: the 28 header and summary lines, the receipt list and the record count.
    // ReportTime is printed as the time of the report.
    static QStringList BuildReport(const TZReportData& Data, const QDateTime& ReportTime);
};
