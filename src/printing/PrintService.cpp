#include "printing/PrintService.h"

#include "core/AppPaths.h"
#include "core/Clock.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "core/Money.h"
#include "core/OwnedSchema.h"
#include "core/POSTextUtils.h"
#include "core/TextColumns.h"

#include <QDateTime>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

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

// What the receipt prints of the stored sale's header, its branch, firm, cashier, payments and,
// for a refund, the receipt it refunds. A refund is stored with negative amounts; its receipt
// prints what went back.
struct TPrintService::TReceiptHead {
    int FisID = 0;
    QString FisNo;
    QDateTime Tarih;
    QString SubeAdi;
    QString Kasiyer;
    QString OdemeTipi;
    double AraToplam = 0;
    double ToplamKDV = 0;
    double Indirim = 0;
    double GenelToplam = 0;
    // The SatisOdeme rows by kind, and the cash handed over; none where nothing is stored.
    std::optional<double> Nakit;
    std::optional<double> Kart;
    std::optional<double> Verilen;
    QString FirmaUnvan;
    QString FirmaAdres;
    QString FirmaVergiDairesi;
    QString FirmaVergiNo;
    bool Iade = false;
    QString OrijinalFisNo;
};

namespace {
// The firm comes with the branch and the payments with the header, so the receipt of a sale
// costs the same two statements it always did.
const QString kReceiptHeaderSql = QStringLiteral(
    "SELECT F.*, K.AdSoyad, S.SubeAdi, FR.Unvan AS FirmaUnvan, FR.Adres AS FirmaAdres, "
    "FR.VergiDairesi AS FirmaVergiDairesi, FR.VergiNo AS FirmaVergiNo, O.FisNo AS OrijinalFisNo, "
    "(SELECT SUM(P.Tutar) FROM SatisOdeme P WHERE P.FisID = F.FisID AND UPPER(P.OdemeTipi) = "
    "'NAKIT') AS OdemeNakit, (SELECT SUM(P.Tutar) FROM SatisOdeme P WHERE P.FisID = F.FisID AND "
    "UPPER(P.OdemeTipi) = 'KART') AS OdemeKart, (SELECT SUM(P.VerilenTutar) FROM SatisOdeme P "
    "WHERE P.FisID = F.FisID AND UPPER(P.OdemeTipi) = 'NAKIT') AS VerilenNakit FROM SatisFis F "
    "LEFT JOIN Kullanici K ON F.KullaniciID = K.KullaniciID LEFT JOIN Sube S ON F.SubeID = "
    "S.SubeID LEFT JOIN Firma FR ON FR.FirmaID = S.FirmaID LEFT JOIN SatisFis O ON O.FisID = "
    "F.OrijinalFisID WHERE F.FisID = :ID");

double Amount(const TDbQuery& query, const QString& field)
{
    return FieldToFloatDef(query, field, 0);
}

std::optional<double> StoredAmount(const TDbQuery& query, const QString& field)
{
    if (query.Value(field).isNull())
        return std::nullopt;
    return Amount(query, field);
}

QString Text(const TDbQuery& query, const QString& field)
{
    return query.Value(field).toString();
}

QString Money(double value)
{
    return FormatMoney(value);
}

bool Paid(const std::optional<double>& amount)
{
    return amount && std::fabs(*amount) > TMoney::Tolerance;
}
} // namespace

void TPrintService::AddAmountLine(QStringList& Lines, const QString& Left, const QString& Amount,
                                  int LeftWidth)
{
    Lines << TextColumns::Layout({TTextColumn::Labelled(Left, LeftWidth),
                                  TTextColumn::Amount(Amount, ReceiptWidth - LeftWidth)});
}

void TPrintService::AddFirmLines(QStringList& Lines, const TReceiptHead& Head)
{
    const auto labelled = [](const QString& label, const QString& value) {
        return value.trimmed().isEmpty() ? QString() : label + value.trimmed();
    };
    for (const QString& text : {Head.FirmaUnvan, Head.FirmaAdres,
                                labelled(QStringLiteral("Vergi Dairesi: "), Head.FirmaVergiDairesi),
                                labelled(QStringLiteral("Vergi No: "), Head.FirmaVergiNo)}) {
        for (const QString& line : TextColumns::Wrap(text, ReceiptWidth))
            AddReceiptLine(Lines, line, true);
    }
}

void TPrintService::AddHeaderLines(QStringList& Lines, const TReceiptHead& Head)
{
    AddFirmLines(Lines, Head);
    AddDoubleRule(Lines);
    AddReceiptLine(Lines, QStringLiteral("KIRVELO PERAKENDE SISTEMI"), true);
    AddReceiptLine(Lines, Head.SubeAdi, true);
    AddDoubleRule(Lines);
    if (Head.Iade)
        AddReceiptLine(Lines, QStringLiteral("İADE FİŞİ"), true);
    AddReceiptLine(
        Lines, QStringLiteral("Tarih : ") + Head.Tarih.toString(QStringLiteral("dd.MM.yyyy HH:mm")),
        false);
    AddReceiptLine(Lines, QStringLiteral("Fis No: ") + Head.FisNo, false);
    if (Head.Iade && !Head.OrijinalFisNo.isEmpty())
        AddReceiptLine(Lines, QStringLiteral("Orijinal Fiş: ") + Head.OrijinalFisNo, false);
    AddReceiptLine(Lines, QStringLiteral("Kasiyer: ") + Head.Kasiyer, false);
    AddSingleRule(Lines);
    AddReceiptLine(Lines,
                   PadRightText(QStringLiteral("URUN ADI"), 28) +
                       PadLeftText(QStringLiteral("ADET"), 6) +
                       PadLeftText(QStringLiteral("TOPLAM"), 14),
                   false);
    AddSingleRule(Lines);
}

void TPrintService::AddItemLines(QStringList& Lines, const TReceiptHead& Head)
{
    // A refund's lines are stored negative; its receipt prints what came back.
    const auto shown = [&Head](double value) {
        return Head.Iade ? std::fabs(value) : value;
    };
    TDbQuery items(QStringLiteral("SELECT * FROM SatisFisSatir WHERE FisID = :ID ORDER BY SiraNo"));
    items.Param(QStringLiteral("ID"), Head.FisID).Exec();
    while (items.Next()) {
        AddReceiptLine(Lines, PadRightText(Text(items, QStringLiteral("StokAdi")), ReceiptWidth),
                       false);
        // The stored unit price is the net one; the amount is the line total with VAT.
        const QString left =
            QStringLiteral("  ") +
            FormatFloat(QStringLiteral("0.##"), shown(Amount(items, QStringLiteral("Miktar")))) +
            QStringLiteral(" x ") +
            FormatFloat(QStringLiteral("#,##0.00"), Amount(items, QStringLiteral("BirimFiyat")));
        AddAmountLine(Lines, left, Money(shown(Amount(items, QStringLiteral("SatirToplam")))));
    }
}

void TPrintService::AddTotalLines(QStringList& Lines, const TReceiptHead& Head)
{
    const auto shown = [&Head](double value) {
        return Head.Iade ? std::fabs(value) : value;
    };
    AddAmountLine(Lines, QStringLiteral("ARA TOPLAM"), Money(shown(Head.AraToplam)));
    AddAmountLine(Lines, QStringLiteral("KDV TOPLAM"), Money(shown(Head.ToplamKDV)));
    const double indirim = shown(Head.Indirim);
    if (indirim > 0)
        AddAmountLine(Lines, QStringLiteral("INDIRIM"), QStringLiteral("-") + Money(indirim));
    AddAmountLine(Lines,
                  Head.Iade ? QStringLiteral("IADE TOPLAMI") : QStringLiteral("GENEL TOPLAM"),
                  Money(shown(Head.GenelToplam)), 30);
}

void TPrintService::AddPaymentLines(QStringList& Lines, const TReceiptHead& Head)
{
    AddReceiptLine(Lines, QStringLiteral("ODEME: ") + PaymentTypeDisplay(Head.OdemeTipi, false),
                   false);
    if (Head.Iade) {
        // What went back, by kind; a refund without payment rows paid its total back its way.
        const bool card = FoldKey(Head.OdemeTipi) == QLatin1String("KART");
        const bool rows = Paid(Head.Nakit) || Paid(Head.Kart);
        if (rows ? Paid(Head.Nakit) : !card)
            AddAmountLine(Lines, QStringLiteral("NAKIT IADE"),
                          Money(std::fabs(rows ? *Head.Nakit : Head.GenelToplam)));
        if (rows ? Paid(Head.Kart) : card)
            AddAmountLine(Lines, QStringLiteral("KART IADE"),
                          Money(std::fabs(rows ? *Head.Kart : Head.GenelToplam)));
        return;
    }
    if (Paid(Head.Nakit) && Paid(Head.Kart)) {
        AddAmountLine(Lines, QStringLiteral("NAKIT"), Money(*Head.Nakit));
        AddAmountLine(Lines, QStringLiteral("KART"), Money(*Head.Kart));
    }
    if (Paid(Head.Nakit) && Head.Verilen) {
        AddAmountLine(Lines, QStringLiteral("VERILEN NAKIT"), Money(*Head.Verilen));
        AddAmountLine(Lines, QStringLiteral("PARA USTU"),
                      Money(std::max(0.0, *Head.Verilen - *Head.Nakit)));
    }
}

bool TPrintService::BuildSaleReceipt(int FisID, QStringList& Lines, QString& FisNo)
{
    Lines.clear();
    FisNo.clear();
    OwnedSchema::Run(OwnedSchema::ReceiptStatements());
    TDbQuery header(kReceiptHeaderSql);
    header.Param(QStringLiteral("ID"), FisID).Exec();
    if (!header.Next())
        return false;

    TReceiptHead head;
    head.FisID = FisID;
    head.FisNo = Text(header, QStringLiteral("FisNo"));
    head.Tarih = VariantToDateTime(header.Value(QStringLiteral("Tarih")));
    head.SubeAdi = Text(header, QStringLiteral("SubeAdi"));
    head.Kasiyer = Text(header, QStringLiteral("AdSoyad"));
    head.OdemeTipi = Text(header, QStringLiteral("OdemeTipi"));
    head.AraToplam = Amount(header, QStringLiteral("AraToplam"));
    head.ToplamKDV = Amount(header, QStringLiteral("ToplamKDV"));
    head.Indirim = Amount(header, QStringLiteral("Indirim"));
    head.GenelToplam = Amount(header, QStringLiteral("GenelToplam"));
    head.Nakit = StoredAmount(header, QStringLiteral("OdemeNakit"));
    head.Kart = StoredAmount(header, QStringLiteral("OdemeKart"));
    head.Verilen = StoredAmount(header, QStringLiteral("VerilenNakit"));
    head.FirmaUnvan = Text(header, QStringLiteral("FirmaUnvan"));
    head.FirmaAdres = Text(header, QStringLiteral("FirmaAdres"));
    head.FirmaVergiDairesi = Text(header, QStringLiteral("FirmaVergiDairesi"));
    head.FirmaVergiNo = Text(header, QStringLiteral("FirmaVergiNo"));
    head.Iade = FoldKey(Text(header, QStringLiteral("FisDurumu"))) == QLatin1String("IADE");
    head.OrijinalFisNo = Text(header, QStringLiteral("OrijinalFisNo")).trimmed();
    const int orijinalFisID = header.Value(QStringLiteral("OrijinalFisID")).toInt();
    if (head.OrijinalFisNo.isEmpty() && orijinalFisID > 0)
        head.OrijinalFisNo = QStringLiteral("FIS-") + QString::number(orijinalFisID);

    FisNo = head.FisNo;
    AddHeaderLines(Lines, head);
    AddItemLines(Lines, head);
    AddSingleRule(Lines);
    AddTotalLines(Lines, head);
    AddSingleRule(Lines);
    AddPaymentLines(Lines, head);
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
