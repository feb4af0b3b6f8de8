#pragma once

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

class TDbQuery;

// The text rules every 118-column shift report shares (the Z report, the past-shift listing,
// the open-shift report) and the shift figures they print. Text columns cut and never wrap, so a
// report keeps its width whatever a receipt number looks like; an amount is never cut: the text
// beside it gives way, or it takes the next line (TextColumns).
class TReportText {
public:
    TReportText() = delete;

    static constexpr int Width = 118;

    // Left-aligned column: cut to the first Width characters, else filled with spaces.
    static QString PadRight(const QString& S, int Width);
    // Right-aligned column: cut to the last Width characters, else filled with spaces in front.
    static QString PadLeft(const QString& S, int Width);
    // An amount right-aligned in Width columns; a longer one takes the columns it needs.
    static QString AmountColumn(const QString& S, int Width);
    // Labelled figures side by side, each in its width ("Nakit Satış : 1.234,50 TL"); a figure
    // too long for its cell takes the blanks of the others, or a line of its own.
    static QStringList Cells(const QList<QPair<QString, int>>& Figures);
    // "#,##0.00 TL" in the workstation's number format; negatives carry a leading minus.
    static QString Money(double Value);
    // "dd.mm.yyyy HH:nn:ss"; empty for a missing time.
    static QString DateTime(const QDateTime& Value);
    // A time as the database stored it, kept as its wall-clock digits (the time spec is UTC, so
    // no time-zone rule is looked up for each of the thousands of rows a report reads). Invalid
    // for NULL or a text that is no time.
    static QDateTime StoredTime(const QVariant& Value);
    static QString DoubleRule() { return QString(Width, u'='); }
    static QString SingleRule() { return QString(Width, u'-'); }
};

// One receipt of a shift as the receipt lists print it.
struct TReportReceipt {
    int FisID = 0; // 0 where the query does not read it
    QDateTime Tarih;
    QString FisNo;
    QString FisDurumu; // the stored word ('AKTIF', 'IADE', 'IPTAL', ...)
    QString OdemeTipi; // the stored word ('NAKIT', 'KART', 'PARCALI', ...)
    double UrunAdedi = 0;
    double AraToplam = 0;
    double ToplamKDV = 0;
    double Indirim = 0;
    double GenelToplam = 0;

    // Reads the fields FisNo, Tarih, OdemeTipi, FisDurumu, AraToplam, ToplamKDV, Indirim,
    // GenelToplam and UrunAdedi of the current row, and FisID when the row has it.
    static TReportReceipt FromQuery(const TDbQuery& Query);
};

// The nine-column receipt list: date and time, receipt number, status, payment, item count and
// the four amounts, joined by one space, exactly Width characters. A receipt takes one line, or
// two where its amounts are too long for their columns and the blanks beside them.
class TReceiptListText {
public:
    TReceiptListText() = delete;

    static QString HeaderLine();
    static QStringList Lines(const TReportReceipt& Receipt);
    // The same receipt in the ten cells of the report windows' receipt grids: the hidden
    // receipt id, then the nine fields as the list writes them ("-" for a missing time).
    static QStringList GridCells(const TReportReceipt& Receipt);
};

// The figures of one shift by the shared shift rules: a receipt pays by its SatisOdeme lines,
// or by its own OdemeTipi and GenelToplam when it has none; payment words compare upper-cased;
// only 'AKTIF' and 'IADE' receipts count; refunds count as positive amounts.
struct TShiftFigures {
    double AcilisTutar = 0;
    double KapanisTutar = 0; // the cash counted at closing, 0 while none was
    bool Closed = false;     // the shift has a closing time
    int AktifFis = 0;
    int IadeFis = 0;
    int NakitAdet = 0; // 'AKTIF' receipts paid at least partly in cash
    int KartAdet = 0;  // 'AKTIF' receipts paid at least partly by card
    double BrutNakit = 0;
    double BrutKart = 0;
    double IadeNakit = 0;
    double IadeToplam = 0;

    // The cash that should be in the drawer.
    double KasadaOlmasiGereken() const { return AcilisTutar + BrutNakit - IadeNakit; }
    // Counted less expected; 0 while the shift is open. Positive is a surplus.
    double KasaFarki() const { return Closed ? KapanisTutar - KasadaOlmasiGereken() : 0.0; }
    double NetCiro() const { return BrutNakit + BrutKart - IadeToplam; }

    // Reads whichever of the figure columns the current row has (AcilisTutar, KapanisTutar,
    // AktifFis, IadeFis, NakitAdet, KartAdet, BrutNakit, BrutKart, IadeNakit, IadeToplam);
    // money with FieldToFloatDef and default 0, counts as integers. Closed is set by the caller.
    static TShiftFigures FromQuery(const TDbQuery& Query);
};
