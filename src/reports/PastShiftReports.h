#pragma once

#include "shifts/ShiftReport.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// One shift of the past-shift list: opened in the chosen days or still open.
struct TPastShiftRow {
    int VardiyaID = 0;
    QDateTime AcilisZamani; // invalid when NULL
    QDateTime KapanisZamani;
    QString VardiyaDurumu;
    QString Kasiyer;
    double AcilisTutar = 0;
    int FisSayisi = 0;  // every receipt of the shift at its branch
    double NetCiro = 0; // 'AKTIF' or NULL-status receipts less the refunds, at its branch

    // The ten cells of the shift grid: the hidden id, opening date and time, closing date and
    // time ("-" when missing), cashier, status, receipt count, opening cash, net turnover.
    QStringList Cells() const;
};

// The five cards of the selected shift, by the shared shift rules at the shift's own branch.
struct TPastShiftTotals {
    int FisSayisi = 0;
    double Nakit = 0;
    double Kart = 0;
    double Iade = 0;

    double Toplam() const { return Nakit + Kart - Iade; }
};

// The head of the printed listing of one shift.
struct TShiftListingHead {
    int VardiyaID = 0;
    QString SubeAdi;
    QString Kasiyer;
    QDateTime AcilisZamani;
    QDateTime KapanisZamani;
    QString VardiyaDurumu;
    double AcilisTutar = 0;
    double KapanisTutar = 0;
    int FisSayisi = 0;
    double AktifToplam = 0; // 'AKTIF' or NULL status
    double IadeToplam = 0;  // as a positive amount
};

// The past shifts of one branch: the list, the cards and receipts of one shift, and its
// printed 118-column listing ("GEÇMİŞ VARDİYA DÖKÜMÜ"). Every read is limited to the branch,
// so a shift of another branch is never shown or printed.
class TPastShiftReports {
public:
    TPastShiftReports() = delete;

    // Shifts of the branch opened from Start (00:00) up to the day after End (00:00, not
    // included), together with every shift of the branch still open; open ones first, then the
    // newest opening first, ties by the newest id.
    static QList<TPastShiftRow> LoadShifts(int SubeID, const QDate& Start, const QDate& End);
    // The cards; nothing when the shift is not one of the branch.
    static std::optional<TPastShiftTotals> LoadShiftTotals(int VardiyaID, int SubeID);
    // The shift's receipts at the branch, with their ids, oldest first.
    static QList<TReportReceipt> LoadReceipts(int VardiyaID, int SubeID);

    // Raises "Vardiya bulunamadı." when the shift is not one of the branch.
    static TShiftListingHead LoadListingHead(int VardiyaID, int SubeID);
    static QStringList BuildShiftListing(const TShiftListingHead& Head,
                                         const QList<TReportReceipt>& Receipts,
                                         const QDateTime& ReportTime);
    // Reads and builds the listing of one shift of the branch.
    static QStringList BuildShiftListing(int VardiyaID, int SubeID, const QDateTime& ReportTime);
};
