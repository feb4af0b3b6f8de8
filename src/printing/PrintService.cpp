#include "printing/PrintService.h"

#include "core/AppPaths.h"
#include "core/Clock.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/POSTextUtils.h"

#include <QDateTime>
#include <QSaveFile>

#include <cstdlib>

namespace {
std::unique_ptr<TPrinterDevice>& InstalledPrinter()
{
    static std::unique_ptr<TPrinterDevice> device;
    return device;
}

// Puts the printer back the way the user had it, whatever way the job ended.
class TOrientationRestore {
public:
    explicit TOrientationRestore(TPrinterDevice& printer)
        : FPrinter(printer)
        , FSaved(printer.Orientation())
    {
    }
    ~TOrientationRestore()
    {
        try {
            FPrinter.SetOrientation(FSaved);
        } catch (...) {
            // The job's own outcome is what the caller needs to hear about.
        }
    }
    TOrientationRestore(const TOrientationRestore&) = delete;
    TOrientationRestore& operator=(const TOrientationRestore&) = delete;

private:
    TPrinterDevice& FPrinter;
    TPrinterOrientation FSaved;
};

void AbortQuietly(TPrinterDevice& printer)
{
    try {
        if (printer.Printing())
            printer.Abort();
    } catch (...) {
        // An abort that fails leaves nothing more to undo; the first error is reported.
    }
}
} // namespace

QString TPrintService::PadRightText(const QString& S, int Width)
{
    if (S.size() >= Width)
        return S.left(Width);
    return S + QString(Width - S.size(), u' ');
}

QString TPrintService::PadLeftText(const QString& S, int Width)
{
    if (S.size() >= Width)
        return S.right(Width);
    return QString(Width - S.size(), u' ') + S;
}

QString TPrintService::CenterText(const QString& S, int Width)
{
    if (S.size() >= Width)
        return S.left(Width);
    const qsizetype left = (Width - S.size()) / 2;
    return PadRightText(QString(left, u' ') + S, Width);
}

void TPrintService::AddReceiptLine(QStringList& Lines, const QString& S, bool Center)
{
    Lines.append(Center ? CenterText(S, ReceiptWidth) : S);
}

void TPrintService::AddSingleRule(QStringList& Lines)
{
    Lines.append(QString(ReceiptWidth, u'-'));
}

void TPrintService::AddDoubleRule(QStringList& Lines)
{
    Lines.append(QString(ReceiptWidth, u'='));
}

namespace {
double Amount(const TDbQuery& query, const QString& field)
{
    return FieldToFloatDef(query, field, 0);
}

QString Text(const TDbQuery& query, const QString& field)
{
    return query.Value(field).toString();
}
} // namespace

void TPrintService::AddHeaderLines(QStringList& Lines, const TDbQuery& Header)
{
    const QDateTime tarih = VariantToDateTime(Header.Value(QStringLiteral("Tarih")));
    AddDoubleRule(Lines);
    AddReceiptLine(Lines, QStringLiteral("KIRVELO PERAKENDE SISTEMI"), true);
    AddReceiptLine(Lines, Text(Header, QStringLiteral("SubeAdi")), true);
    AddDoubleRule(Lines);
    AddReceiptLine(Lines,
                   QStringLiteral("Tarih : ") + tarih.toString(QStringLiteral("dd.MM.yyyy HH:mm")),
                   false);
    AddReceiptLine(Lines, QStringLiteral("Fis No: ") + Text(Header, QStringLiteral("FisNo")),
                   false);
    AddReceiptLine(Lines, QStringLiteral("Kasiyer: ") + Text(Header, QStringLiteral("AdSoyad")),
                   false);
    AddSingleRule(Lines);
    AddReceiptLine(Lines,
                   PadRightText(QStringLiteral("URUN ADI"), 28) +
                       PadLeftText(QStringLiteral("ADET"), 6) +
                       PadLeftText(QStringLiteral("TOPLAM"), 14),
                   false);
    AddSingleRule(Lines);
}

void TPrintService::AddItemLines(QStringList& Lines, int FisID)
{
    TDbQuery items(QStringLiteral("SELECT * FROM SatisFisSatir WHERE FisID = :ID ORDER BY SiraNo"));
    items.Param(QStringLiteral("ID"), FisID).Exec();
    while (items.Next()) {
        AddReceiptLine(Lines, PadRightText(Text(items, QStringLiteral("StokAdi")), ReceiptWidth),
                       false);
        // The stored unit price is the net one; the amount is the line total with VAT.
        const QString left =
            QStringLiteral("  ") +
            FormatFloat(QStringLiteral("0.##"), Amount(items, QStringLiteral("Miktar"))) +
            QStringLiteral(" x ") +
            FormatFloat(QStringLiteral("#,##0.00"), Amount(items, QStringLiteral("BirimFiyat")));
        AddReceiptLine(
            Lines,
            PadRightText(left, 34) +
                PadLeftText(FormatMoney(Amount(items, QStringLiteral("SatirToplam"))), 14),
            false);
    }
}

void TPrintService::AddTotalLines(QStringList& Lines, const TDbQuery& Header)
{
    const auto total = [&Lines](const QString& label, const QString& amount) {
        AddReceiptLine(Lines, PadRightText(label, 34) + PadLeftText(amount, 14), false);
    };
    total(QStringLiteral("ARA TOPLAM"), FormatMoney(Amount(Header, QStringLiteral("AraToplam"))));
    total(QStringLiteral("KDV TOPLAM"), FormatMoney(Amount(Header, QStringLiteral("ToplamKDV"))));
    const double indirim = Amount(Header, QStringLiteral("Indirim"));
    if (indirim > 0)
        total(QStringLiteral("INDIRIM"), QStringLiteral("-") + FormatMoney(indirim));
    AddReceiptLine(Lines,
                   PadRightText(QStringLiteral("GENEL TOPLAM"), 30) +
                       PadLeftText(FormatMoney(Amount(Header, QStringLiteral("GenelToplam"))), 18),
                   false);
}

bool TPrintService::BuildSaleReceipt(int FisID, QStringList& Lines, QString& FisNo)
{
    Lines.clear();
    FisNo.clear();
    TDbQuery header(QStringLiteral(
        "SELECT F.*, K.AdSoyad, S.SubeAdi FROM SatisFis F LEFT JOIN Kullanici K ON F.KullaniciID "
        "= K.KullaniciID LEFT JOIN Sube S ON F.SubeID = S.SubeID WHERE F.FisID = :ID"));
    header.Param(QStringLiteral("ID"), FisID).Exec();
    if (!header.Next())
        return false;

    FisNo = Text(header, QStringLiteral("FisNo"));
    AddHeaderLines(Lines, header);
    AddItemLines(Lines, FisID);
    AddSingleRule(Lines);
    AddTotalLines(Lines, header);
    AddSingleRule(Lines);
    AddReceiptLine(Lines,
                   QStringLiteral("ODEME: ") +
                       PaymentTypeDisplay(Text(header, QStringLiteral("OdemeTipi")), false),
                   false);
    AddDoubleRule(Lines);
    AddReceiptLine(Lines, QStringLiteral("IYI GUNLER DILERIZ"), true);
    AddDoubleRule(Lines);
    return true;
}

QString TPrintService::ReceiptFileNamePart(const QString& FisNo)
{
    QString part = FisNo;
    for (QChar& c : part) {
        if (c.category() == QChar::Other_Control || QStringView(u"/\\:*?\"<>|").contains(c))
            c = u'_';
    }
    return part;
}

void TPrintService::WriteTextFile(const QString& Path, const QStringList& Lines)
{
    QByteArray content("\xEF\xBB\xBF");
    for (const QString& line : Lines)
        content += line.toUtf8() + "\r\n";
    QSaveFile file(Path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size() || !file.commit())
        throw EInOutError(QStringLiteral("Dosya yazılamadı: ") + Path + QStringLiteral(" (") +
                          file.errorString() + QStringLiteral(")"));
}

QString TPrintService::SaveSaleReceipt(const QString& FisNo, const QStringList& Lines)
{
    if (Lines.isEmpty())
        return {};
    const QString folder = AppPaths::ReportsFolder();
    const QString path =
        folder + QStringLiteral("Receipt_") + ReceiptFileNamePart(FisNo) + QStringLiteral(".txt");
    WriteTextFile(path, Lines);
    WriteTextFile(folder + QStringLiteral("LastReceipt.txt"), Lines);
    return path;
}

void TPrintService::PrintSaleReceipt(int FisID)
{
    QStringList lines;
    QString fisNo;
    if (BuildSaleReceipt(FisID, lines, fisNo))
        SaveSaleReceipt(fisNo, lines);
}

int TPrintService::GetLastReceiptID(int VardiyaID)
{
    // Receipts rung up within the same second share Tarih; the higher id is the later one.
    TDbQuery q(QStringLiteral(
        "SELECT TOP 1 FisID FROM SatisFis WHERE VardiyaID = :VID ORDER BY Tarih DESC, FisID DESC"));
    q.Param(QStringLiteral("VID"), VardiyaID).Exec();
    return q.Next() ? q.Value(0).toInt() : 0;
}

bool TPrintService::IsPrintCancellation(const QString& Message)
{
    QString upper = Message;
    for (QChar& c : upper) {
        if (c >= u'a' && c <= u'z')
            c = QChar(char16_t(c.unicode() - (u'a' - u'A')));
    }
    for (const char16_t* word :
         {u"CANCEL", u"IPTAL", u"İPTAL", u"ABORT", u"0X800704C7", u"NOT CURRENTLY PRINTING"}) {
        if (upper.contains(QStringView(word)))
            return true;
    }
    return false;
}

void TPrintService::RunPageLoop(TPrinterDevice& Printer, const QStringList& Lines,
                                const QString& DocName, int FontSize)
{
    try {
        Printer.SetTitle(DocName);
        Printer.BeginDoc();
        Printer.SetFont(QStringLiteral("Consolas"), FontSize);
        const int h = std::abs(Printer.TextHeight(QStringLiteral("Wg"))) + 4;
        int y = PageMargin;
        for (const QString& line : Lines) {
            if (Printer.PageHeight() - PageMargin < y + h) {
                Printer.NewPage();
                y = PageMargin;
            }
            Printer.TextOut(PageMargin, y, line);
            y += h;
        }
        Printer.EndDoc();
    } catch (...) {
        AbortQuietly(Printer);
        throw;
    }
}

bool TPrintService::PrintLines(TPrinterDevice& Printer, const QStringList& Lines,
                               const QString& DocName, int FontSize)
{
    try {
        RunPageLoop(Printer, Lines, DocName, FontSize);
        return true;
    } catch (const std::exception& e) {
        if (IsPrintCancellation(ErrorMessage(e)))
            return false;
        throw;
    }
}

bool TPrintService::PrintReceiptLines(const QStringList& Lines, const QString& DocName)
{
    if (Lines.isEmpty())
        return false;
    TPrinterDevice* printer = PrinterDevice();
    if (!printer)
        throw EPrinterError(QStringLiteral("Yazıcı katmanı kurulmadı."));
    return PrintLines(*printer, Lines, DocName, 10);
}

bool TPrintService::PrintZReport(int VardiyaID, const QStringList& ReportContent)
{
    if (ReportContent.isEmpty())
        return false;
    const QString id = QString::number(VardiyaID);
    WriteTextFile(
        AppPaths::ReportsFolder() + QStringLiteral("Z_Report_V") + id + QStringLiteral("_") +
            TClock::Now().toString(QStringLiteral("yyyyMMdd_HHmmss")) + QStringLiteral(".txt"),
        ReportContent);
    TPrinterDevice* printer = PrinterDevice();
    if (!printer || !printer->HasPrinter())
        throw EPrinterError(QStringLiteral("Tanımlı yazıcı bulunamadı."));
    const TOrientationRestore restore(*printer);
    printer->SetOrientation(TPrinterOrientation::Landscape);
    return PrintLines(*printer, ReportContent, QStringLiteral("KIRVELO Z Raporu V") + id, 8);
}

bool TPrintService::PrintLandscapeListing(const QStringList& Lines, const QString& DocName)
{
    if (Lines.isEmpty())
        return false;
    TPrinterDevice* printer = PrinterDevice();
    if (!printer || !printer->HasPrinter())
        throw EPrinterError(QStringLiteral("Tanımlı yazıcı bulunamadı."));
    const TOrientationRestore restore(*printer);
    printer->SetOrientation(TPrinterOrientation::Landscape);
    RunPageLoop(*printer, Lines, DocName, 8);
    return true;
}

void TPrintService::SetPrinterDevice(std::unique_ptr<TPrinterDevice> Device)
{
    InstalledPrinter() = std::move(Device);
}

TPrinterDevice* TPrintService::PrinterDevice()
{
    return InstalledPrinter().get();
}
