#pragma once

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// The days a report covers: from the first day's 00:00 up to the next day after the last one,
// 00:00, which is not included, so every second of the last day is in (a day that ends at
// 23:59:59 would lose receipts written in its last second, or its fractions).
struct TReportRange {
    QDateTime Start;
    QDateTime End; // not included

    static TReportRange Days(const QDate& First, const QDate& Last);
    // Every day from the first to the last; none when the last is before the first.
    QList<QDate> DayList() const;
};

// One shift of the reporting list. Its takings are only the payment lines of this branch's
// receipts dated in the range, payment words compared as stored; a receipt without payment
// lines adds nothing. These figures differ from the Z report's on purpose.
struct TReportingShiftRow {
    int VardiyaID = 0;
    QDateTime AcilisZamani;
    QDateTime KapanisZamani; // invalid while the shift is open
    QString Kasiyer;
    QString VardiyaDurumu;
    double AcilisTutar = 0;
    double SayilanKasa = 0; // counted cash, 0 when none was
    double BrutNakit = 0;   // 'NAKIT' lines of 'AKTIF' receipts
    double BrutKart = 0;    // 'KART' lines of 'AKTIF' receipts
    double IadeNakit = 0;   // 'NAKIT' lines of 'IADE' receipts, each as a positive amount
    double IadeKart = 0;    // 'KART' lines of 'IADE' receipts, each as a positive amount

    bool Closed() const { return KapanisZamani.isValid(); }
    double BeklenenNakit() const { return AcilisTutar + BrutNakit - IadeNakit; }
    double Fark() const { return Closed() ? SayilanKasa - BeklenenNakit() : 0.0; }
    double NetNakit() const { return BrutNakit - IadeNakit; }
    // A refund paid back to the card comes off the card takings, as a cash refund comes off
    // the cash: the two add up to what the shift kept.
    double NetKart() const { return BrutKart - IadeKart; }

    // The ten cells of the shift grid.
    QStringList Cells() const;
};

// The net turnover of one day of the range by the shift list's rules: Net Nakit + Net Kart of
// the branch's receipts dated that day, so that the days add up to the shifts' columns.
struct TDayTurnover {
    QDate Gun;
    double NetCiro = 0;
};

struct TReportingShifts {
    QList<TReportingShiftRow> Shifts; // newest opening first
    QList<TDayTurnover> Days;         // every day of the range, oldest first
};

// One receipt of the range.
struct TReportingSaleRow {
    int FisID = 0;
    QString FisNo;
    QDateTime Tarih;
    QString Kasiyer;
    QString OdemeTipi;
    QString FisDurumu;
    int VardiyaID = 0;
    double GenelToplam = 0;

    // The eight cells of the sales grid.
    QStringList Cells() const;
};

// A page of the receipts of the range, newest first, and where the next page starts.
struct TSalesPage {
    QList<TReportingSaleRow> Rows;
    bool More = false;  // the page was full, so more may follow
    QVariant LastTarih; // the last row's time as the database gave it
    int LastFisID = 0;
};

// The reporting screen's reads for one branch and a range of days: the shifts that touched the
// range with their takings inside it, the net turnover of each day, and the receipts of the
// range one page at a time (a year of a busy branch is hundreds of thousands of receipts, more
// than anyone scrolls through, so the list reads the next page only when it is scrolled to).
class TSalesReporting {
public:
    TSalesReporting() = delete;

    static constexpr int SalesPageSize = 500;

    // A shift is listed when it opened in the range, closed in it, or has a receipt of the
    // branch dated in it.
    static TReportingShifts LoadShifts(const TReportRange& Range, int SubeID);
    // The first page when After is null, else the page after it.
    static TSalesPage LoadSalesPage(const TReportRange& Range, int SubeID, const TSalesPage* After,
                                    int PageSize = SalesPageSize);
};
