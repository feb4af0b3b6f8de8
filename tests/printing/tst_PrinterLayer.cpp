#include "core/AppPaths.h"
#include "core/Exceptions.h"
#include "printing/PrintService.h"
#include "printing/PrinterLayer.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QDir>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {
QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString PdfInfo(const QString& pdf, const QString& key)
{
    const QRegularExpression line("^" + key + ":\\s*(.*)$", QRegularExpression::MultilineOption);
    return line.match(Run("pdfinfo", {pdf})).captured(1).trimmed();
}

// The text lines of one page, spacing runs folded to one space.
QStringList PageText(const QString& pdf, int page)
{
    const QString n = QString::number(page);
    QStringList lines;
    for (const QString& line :
         Run("pdftotext", {"-f", n, "-l", n, "-layout", pdf, "-"}).split(u'\n')) {
        if (!line.simplified().isEmpty())
            lines << line.simplified();
    }
    return lines;
}

QStringList Simplified(const QStringList& lines)
{
    QStringList result;
    for (const QString& line : lines)
        result << line.simplified();
    return result;
}

bool Landscape(const QString& pdf)
{
    const QRegularExpression size("([\\d.]+) x ([\\d.]+) pts");
    const auto m = size.match(PdfInfo(pdf, "Page size"));
    return m.hasMatch() && m.captured(1).toDouble() > m.captured(2).toDouble();
}

// How many lines the page loop puts on one page of this printer.
int LinesPerPage(const QString& probePdf, int pointSize, TPrinterOrientation orientation)
{
    TQtPrinterDevice probe(probePdf);
    probe.SetOrientation(orientation);
    probe.BeginDoc();
    probe.SetFont("Consolas", pointSize);
    const int h = std::abs(probe.TextHeight("Wg")) + 4;
    const int page = probe.PageHeight();
    probe.Abort();
    int lines = 0;
    for (int y = 80; page - 80 >= y + h; y += h)
        ++lines;
    return lines;
}
} // namespace

// The Qt printer behind the print service, printing into PDF files that are read back.
class TestPrinterLayer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void receiptPagesHoldEveryLine();
    void zReportLandscapeThenBack();
    void startFailureIsNotCancellation();
    void machineWithoutPrinter();
    void cleanupTestCase();

private:
    QTemporaryDir FDir;
};

void TestPrinterLayer::initTestCase()
{
    UseTurkishLocale();
    UseTestPaths();
    QVERIFY(FDir.isValid());
    QVERIFY2(!QStandardPaths::findExecutable("pdftotext").isEmpty(),
             "pdftotext and pdfinfo (poppler-utils) are needed");
}

void TestPrinterLayer::receiptPagesHoldEveryLine()
{
    const QString pdf = FDir.filePath("receipt.pdf");
    const TPrinterLayer layer(pdf);
    QStringList lines;
    for (int i = 1; i <= 200; ++i)
        lines << QStringLiteral("  %1 x ÇAY ŞEKER İĞNE ÖÜ").arg(i, 3, 10, QChar(u'0'));

    QVERIFY(TPrintService::PrintReceiptLines(lines, "KIRVELO FIS-1042"));
    QVERIFY(!layer.Device().Printing());

    const int perPage = LinesPerPage(FDir.filePath("probe.pdf"), 10, TPrinterOrientation::Portrait);
    QVERIFY2(perPage >= 30 && perPage < 200, qPrintable(QString::number(perPage)));
    const int pages = (200 + perPage - 1) / perPage;
    QCOMPARE(PdfInfo(pdf, "Pages").toInt(), pages);
    QCOMPARE(PdfInfo(pdf, "Title"), QStringLiteral("KIRVELO FIS-1042"));
    QVERIFY(!Landscape(pdf));
    for (int p = 1; p <= pages; ++p)
        QCOMPARE(PageText(pdf, p), Simplified(lines.mid((p - 1) * perPage, perPage)));
}

void TestPrinterLayer::zReportLandscapeThenBack()
{
    const QString pdf = FDir.filePath("z.pdf");
    const TPrinterLayer layer(pdf);
    QCOMPARE(layer.Device().Orientation(), TPrinterOrientation::Portrait);
    QStringList report;
    for (int i = 1; i <= 90; ++i)
        report
            << QStringLiteral("V41 SATIR %1 ").arg(i, 3, 10, QChar(u'0')).leftJustified(117, u'-') +
                   u'#';
    RemoveZReportFiles(41);

    QVERIFY(TPrintService::PrintZReport(41, report));
    QCOMPARE(layer.Device().Orientation(), TPrinterOrientation::Portrait);
    QVERIFY(Landscape(pdf));
    QCOMPARE(PdfInfo(pdf, "Title"), QStringLiteral("KIRVELO Z Raporu V41"));
    const int perPage = LinesPerPage(FDir.filePath("probe.pdf"), 8, TPrinterOrientation::Landscape);
    const int pages = (90 + perPage - 1) / perPage;
    QCOMPARE(PdfInfo(pdf, "Pages").toInt(), pages);
    // 118 columns fit across a landscape page in the 8 point font.
    QStringList printed;
    for (int p = 1; p <= pages; ++p)
        printed += PageText(pdf, p);
    QCOMPARE(printed, report);
    QCOMPARE(ZReportFiles(41).size(), 1);

    // The next receipt prints upright again.
    QVERIFY(TPrintService::PrintReceiptLines({"FIS"}, "KIRVELO FIS-1"));
    QVERIFY(!Landscape(pdf));
}

void TestPrinterLayer::startFailureIsNotCancellation()
{
    const TPrinterLayer layer(FDir.filePath("missing-folder/out.pdf"));
    try {
        TPrintService::PrintReceiptLines({"A"}, "X");
        QFAIL("no error");
    } catch (const EPrinterError& e) {
        QVERIFY2(e.Message().startsWith("Yazdırma başlatılamadı: "), qPrintable(e.Message()));
        QVERIFY(!TPrintService::IsPrintCancellation(e.Message()));
    }
    QVERIFY_THROWS_EXCEPTION(EPrinterError, TPrintService::PrintZReport(42, {"Z"}));
    QCOMPARE(layer.Device().Orientation(), TPrinterOrientation::Portrait);
    QVERIFY(!layer.Device().Printing());
}

void TestPrinterLayer::machineWithoutPrinter()
{
    // main() points the CUPS client at a server that does not exist.
    if (!QPrinterInfo::availablePrinterNames().isEmpty())
        QSKIP("this machine reports printers");
    const TPrinterLayer layer;
    QVERIFY(!layer.Device().HasPrinter());
    RemoveZReportFiles(43);
    try {
        TPrintService::PrintZReport(43, {"Z"});
        QFAIL("no error");
    } catch (const EPrinterError& e) {
        QCOMPARE(e.Message(), QStringLiteral("Tanımlı yazıcı bulunamadı."));
    }
    QCOMPARE(ZReportFiles(43).size(), 1);
    try {
        TPrintService::PrintReceiptLines({"A"}, "X");
        QFAIL("no error");
    } catch (const EPrinterError& e) {
        QVERIFY(!TPrintService::IsPrintCancellation(e.Message()));
        QVERIFY(!e.Message().isEmpty());
    }
    QVERIFY(!layer.Device().Printing());
}

void TestPrinterLayer::cleanupTestCase()
{
    for (int vardiyaId : {41, 42, 43})
        RemoveZReportFiles(vardiyaId);
}

int main(int argc, char** argv)
{
    qputenv("CUPS_SERVER", "/nonexistent/kirvelo-test-cups.sock");
    QApplication app(argc, argv);
    TestPrinterLayer test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_PrinterLayer.moc"
