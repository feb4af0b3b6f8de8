#pragma once

#include <QString>
#include <QStringList>

#include <memory>

enum class TPrinterOrientation { Portrait, Landscape };

// What the print service needs of a printer: a job on the default printer, drawn in device
// units, one page after the other. Text positions are the top-left corner of the text.
// Failures raise an error carrying the printing layer's message.
class TPrinterDevice {
public:
    virtual ~TPrinterDevice() = default;

    // Whether the machine has any printer at all.
    virtual bool HasPrinter() const = 0;
    virtual TPrinterOrientation Orientation() const = 0;
    virtual void SetOrientation(TPrinterOrientation Orientation) = 0;

    virtual void SetTitle(const QString& Title) = 0;
    virtual void BeginDoc() = 0;
    virtual void SetFont(const QString& Family, int PointSize) = 0;
    virtual int TextHeight(const QString& Text) = 0;
    virtual int PageHeight() const = 0;
    virtual void NewPage() = 0;
    virtual void TextOut(int X, int Y, const QString& Text) = 0;
    virtual void EndDoc() = 0;
    virtual void Abort() = 0;
    // True between BeginDoc and EndDoc/Abort.
    virtual bool Printing() const = 0;
};

// Receipt text, the receipt and Z report files, and printing text lines on the default printer.
// Class operations only. The printer itself is installed by the program at start-up (the
// printer layer lives with the screens); without one every print fails with an error.
class TPrintService {
public:
    TPrintService() = delete;

    // Fills Lines with the 48-column receipt of the stored sale and sets FisNo. False, with both
    // empty, when no receipt has that id. Database errors pass to the caller.
    //
    // Above the header the firm of the receipt's branch (Firma: title, address, tax office and
    // tax number, a line each, centred, long ones wrapped, empty ones left out). Below the
    // payment word, what is stored of the payment: the cash and card parts of a split payment,
    // and the cash handed over with the change where the cash payment keeps it. A refund
    // receipt is titled "İADE FİŞİ", names the receipt it refunds ("Orijinal Fiş: FIS-12") and
    // prints its quantities and amounts as what went back, with what was paid back. An amount
    // is never cut: where it does not fit its column the text beside it gives way, or the
    // amount takes the next line (TextColumns).
    static bool BuildSaleReceipt(int FisID, QStringList& Lines, QString& FisNo);

    // Writes "Receipt_<FisNo>.txt" and "LastReceipt.txt" into the reports folder and returns the
    // path of the first; empty and nothing written when Lines is empty. File errors raise
    // EInOutError.
    static QString SaveSaleReceipt(const QString& FisNo, const QStringList& Lines);
    // Builds the receipt of a stored sale and saves it; prints nothing.
    static void PrintSaleReceipt(int FisID);
    // The newest receipt of the shift, or 0.
    static int GetLastReceiptID(int VardiyaID);

    // Prints the lines as one job. False when Lines is empty or the job was cancelled; any other
    // failure raises the printing layer's error.
    static bool PrintReceiptLines(const QStringList& Lines, const QString& DocName);
    // Saves the Z report file, then prints it in landscape. False when ReportContent is empty or
    // the job was cancelled; "Tanımlı yazıcı bulunamadı." when the machine has no printer.
    static bool PrintZReport(int VardiyaID, const QStringList& ReportContent);

    // The report windows' own printing of a 118-column listing: landscape (the printer's
    // orientation restored afterwards), "Consolas" 8 pt, the page loop of every print. False when
    // Lines is empty; "Tanımlı yazıcı bulunamadı." when the machine has no printer; any error,
    // a cancellation too, aborts the job and reaches the caller, which decides what a
    // cancellation means to it.
    static bool PrintLandscapeListing(const QStringList& Lines, const QString& DocName);

    // Whether a printing error means that the user cancelled the dialog or the job.
    static bool IsPrintCancellation(const QString& Message);

    // The printer every print goes to; nullptr until one is installed.
    static void SetPrinterDevice(std::unique_ptr<TPrinterDevice> Device);
    static TPrinterDevice* PrinterDevice();

    static constexpr int ReceiptWidth = 48;
    static constexpr int PageMargin = 80;

private:
    struct TReceiptHead;

    static QString PadRightText(const QString& S, int Width);
    static QString PadLeftText(const QString& S, int Width);
    static QString CenterText(const QString& S, int Width);
    static void AddReceiptLine(QStringList& Lines, const QString& S, bool Center);
    static void AddSingleRule(QStringList& Lines);
    static void AddDoubleRule(QStringList& Lines);
    // A label or an item's quantity and price in the first `LeftWidth` columns, its amount in
    // the rest, neither ever cut.
    static void AddAmountLine(QStringList& Lines, const QString& Left, const QString& Amount,
                              int LeftWidth = 34);
    static void AddFirmLines(QStringList& Lines, const TReceiptHead& Head);
    static void AddHeaderLines(QStringList& Lines, const TReceiptHead& Head);
    static void AddItemLines(QStringList& Lines, const TReceiptHead& Head);
    static void AddTotalLines(QStringList& Lines, const TReceiptHead& Head);
    static void AddPaymentLines(QStringList& Lines, const TReceiptHead& Head);

    // The file-name form of a receipt number: characters a file name cannot hold become "_".
    static QString ReceiptFileNamePart(const QString& FisNo);
    static void WriteTextFile(const QString& Path, const QStringList& Lines);
    // The page loop; aborts a job that is still printing and passes every error on.
    static void RunPageLoop(TPrinterDevice& Printer, const QStringList& Lines,
                            const QString& DocName, int FontSize);
    static bool PrintLines(TPrinterDevice& Printer, const QStringList& Lines,
                           const QString& DocName, int FontSize);
};
