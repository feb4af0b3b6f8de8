#pragma once

#include "printing/PrintService.h"

#include <QFont>
#include <QString>

#include <memory>

class QPainter;
class QPrinter;

// The print service's printer on Qt: the system's default printer (CUPS), or a PDF file.
// Like a desktop program's one printer object it lives for the whole run and keeps its
// orientation between jobs; the printer it prints on is looked up when a job starts.
class TQtPrinterDevice : public TPrinterDevice {
public:
    // The default printer of the system.
    TQtPrinterDevice();
    // Every job is written to this PDF file instead (overwriting it).
    explicit TQtPrinterDevice(const QString& PdfPath);
    ~TQtPrinterDevice() override;

    bool HasPrinter() const override;
    TPrinterOrientation Orientation() const override { return FOrientation; }
    void SetOrientation(TPrinterOrientation Orientation) override;

    void SetTitle(const QString& Title) override;
    void BeginDoc() override;
    void SetFont(const QString& Family, int PointSize) override;
    int TextHeight(const QString& Text) override;
    int PageHeight() const override;
    void NewPage() override;
    void TextOut(int X, int Y, const QString& Text) override;
    void EndDoc() override;
    void Abort() override;
    bool Printing() const override;

private:
    void PointAtPrinter();
    void RequireJob() const;
    QPainter& Painter() const;

    QString FPdfPath;
    std::unique_ptr<QPrinter> FPrinter;
    std::unique_ptr<QPainter> FPainter;
    TPrinterOrientation FOrientation = TPrinterOrientation::Portrait;
};

// Installs the Qt printer as the print service's printer while it lives; the program holds one
// from start-up to shutdown, tests hold one that prints into a PDF file.
class TPrinterLayer {
public:
    TPrinterLayer();
    explicit TPrinterLayer(const QString& PdfPath);
    ~TPrinterLayer();
    TPrinterLayer(const TPrinterLayer&) = delete;
    TPrinterLayer& operator=(const TPrinterLayer&) = delete;

    TQtPrinterDevice& Device() const { return *FDevice; }

private:
    explicit TPrinterLayer(std::unique_ptr<TQtPrinterDevice> Device);

    TQtPrinterDevice* FDevice;
};
