#include "printing/PrinterLayer.h"

#include "core/Exceptions.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
QPageLayout::Orientation ToQt(TPrinterOrientation orientation)
{
    return orientation == TPrinterOrientation::Landscape ? QPageLayout::Landscape
                                                         : QPageLayout::Portrait;
}
} // namespace

TQtPrinterDevice::TQtPrinterDevice()
    : FPrinter(std::make_unique<QPrinter>(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution))
{
    if (FPrinter->pageLayout().orientation() == QPageLayout::Landscape)
        FOrientation = TPrinterOrientation::Landscape;
}

TQtPrinterDevice::TQtPrinterDevice(const QString& PdfPath)
    : FPdfPath(PdfPath)
    , FPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    FPrinter->setOutputFormat(QPrinter::PdfFormat);
    FPrinter->setOutputFileName(PdfPath);
}

TQtPrinterDevice::~TQtPrinterDevice()
{
    Abort();
}

bool TQtPrinterDevice::HasPrinter() const
{
    return !FPdfPath.isEmpty() || !QPrinterInfo::availablePrinterNames().isEmpty();
}

void TQtPrinterDevice::SetOrientation(TPrinterOrientation Orientation)
{
    if (Printing())
        throw EPrinterError(QStringLiteral("Yazdırma sürerken sayfa yönü değiştirilemez."));
    FOrientation = Orientation;
}

void TQtPrinterDevice::SetTitle(const QString& Title)
{
    FPrinter->setDocName(Title);
}

// The default printer may have changed since the last job (or since start-up).
void TQtPrinterDevice::PointAtPrinter()
{
    if (!FPdfPath.isEmpty()) {
        FPrinter->setOutputFileName(FPdfPath);
    } else {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            throw EPrinterError(QStringLiteral("Varsayılan yazıcı yok, yazdırma başlatılamadı."));
        FPrinter->setPrinterName(info.printerName());
    }
    FPrinter->setPageOrientation(ToQt(FOrientation));
}

void TQtPrinterDevice::BeginDoc()
{
    if (Printing())
        throw EPrinterError(QStringLiteral("Yazıcı başka bir işi yazdırıyor."));
    PointAtPrinter();
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(FPrinter.get()))
        throw EPrinterError(QStringLiteral("Yazdırma başlatılamadı: ") +
                            (FPdfPath.isEmpty() ? FPrinter->printerName() : FPdfPath));
    FPainter = std::move(painter);
}

QPainter& TQtPrinterDevice::Painter() const
{
    if (!Printing())
        throw EPrinterError(QStringLiteral("Yazıcıda başlamış bir iş yok."));
    return *FPainter;
}

void TQtPrinterDevice::SetFont(const QString& Family, int PointSize)
{
    QFont font(Family, PointSize);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    Painter().setFont(font);
}

int TQtPrinterDevice::TextHeight(const QString& Text)
{
    return Painter().fontMetrics().size(Qt::TextSingleLine, Text).height();
}

int TQtPrinterDevice::PageHeight() const
{
    Painter();
    return FPrinter->height();
}

void TQtPrinterDevice::NewPage()
{
    Painter();
    if (!FPrinter->newPage())
        throw EPrinterError(FPrinter->printerState() == QPrinter::Aborted
                                ? QStringLiteral("Yazdırma işi iptal edildi.")
                                : QStringLiteral("Yazıcı yeni sayfaya geçemedi."));
}

void TQtPrinterDevice::TextOut(int X, int Y, const QString& Text)
{
    QPainter& painter = Painter();
    painter.drawText(X, Y + painter.fontMetrics().ascent(), Text);
}

void TQtPrinterDevice::EndDoc()
{
    const bool ended = Painter().end();
    FPainter.reset();
    if (!ended || FPrinter->printerState() == QPrinter::Error)
        throw EPrinterError(QStringLiteral("Yazdırma işi tamamlanamadı."));
}

void TQtPrinterDevice::Abort()
{
    if (!Printing())
        return;
    FPrinter->abort();
    FPainter->end();
    FPainter.reset();
}

bool TQtPrinterDevice::Printing() const
{
    return FPainter && FPainter->isActive();
}

TPrinterLayer::TPrinterLayer()
    : TPrinterLayer(std::make_unique<TQtPrinterDevice>())
{
}

TPrinterLayer::TPrinterLayer(const QString& PdfPath)
    : TPrinterLayer(std::make_unique<TQtPrinterDevice>(PdfPath))
{
}

TPrinterLayer::TPrinterLayer(std::unique_ptr<TQtPrinterDevice> Device)
    : FDevice(Device.get())
{
    TPrintService::SetPrinterDevice(std::move(Device));
}

TPrinterLayer::~TPrinterLayer()
{
    if (TPrintService::PrinterDevice() == FDevice)
        TPrintService::SetPrinterDevice(nullptr);
}
