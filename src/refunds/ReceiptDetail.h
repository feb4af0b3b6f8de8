#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One line of a stored receipt as the receipt viewer shows it.
struct TReceiptDetailLine {
    int SiraNo = 0;
    QString StokAdi;
    double Miktar = 0;
    QString Birim;
    double BirimFiyat = 0;
    double KDVTutari = 0;
    double IndirimTutari = 0;
    double SatirToplam = 0;
};

// A stored sale receipt for the receipt viewer: head, totals and lines, of any branch.
struct TReceiptDetail {
    int FisID = 0;
    QString FisNo; // as stored, possibly empty
    QString Tarih; // "dd.MM.yyyy HH:mm:ss"
    QString Kasiyer;
    QString OdemeTipi; // display word, not upper case
    QString FisDurumu; // display word, not upper case
    double AraToplam = 0;
    double ToplamKDV = 0;
    double Indirim = 0;
    double GenelToplam = 0;
    QList<TReceiptDetailLine> Lines;

    // Loads the receipt; "Fiş bulunamadı." when there is none, or its user row is missing.
    static TReceiptDetail Load(int FisID);
    // The widths of the viewer's eight columns in `Available` pixels: the first seven by their
    // weights 50, 320, 92, 74, 112, 96 and 104 of 980, rounded; the line total takes the rest.
    static QList<int> ColumnWidths(int Available);
};

// How a print of a receipt ended.
enum class TPrintOutcome { Printed, Cancelled, Failed };

struct TReceiptPrint {
    TPrintOutcome Outcome = TPrintOutcome::Failed;
    QString Message; // the error's message when it failed
};

// Printing a receipt's text: saved as the receipt's files, then printed as the job "KIRVELO " +
// the receipt number on the installed printer.
class TReceiptPrinting {
public:
    TReceiptPrinting() = delete;

    // The receipt text of a stored sale; "Fiş bulunamadı." when there is none.
    static QStringList BuildText(int FisID, QString& FisNo);
    // Saves and prints; an error while saving or printing is the Failed outcome with its text.
    static TReceiptPrint Print(const QString& FisNo, const QStringList& Lines);
};
