#include "core/AppPaths.h"
#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "printing/PrintService.h"
#include "support/FixedClock.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include <functional>
#include <tuple>

namespace {
// The tables the receipt reads, as far as it reads them; guarded so that a database that already
// has them keeps its own definition.
// Receipts of an older database may name a branch or a cashier that no longer exists. The strict
// tables of a new file refuse such rows, so these tests replace the four tables by loose copies.
void CreateSaleTables(TTestDatabase& db)
{
    db.Exec("PRAGMA foreign_keys=OFF");
    for (const char* table : {"SatisFisSatir", "SatisFis", "Kullanici", "Sube"})
        db.Exec(QStringLiteral("DROP TABLE ") + QLatin1String(table));
    db.Exec("IF OBJECT_ID('dbo.Sube', 'U') IS NULL CREATE TABLE dbo.Sube (SubeID INTEGER PRIMARY "
            "KEY, SubeAdi NVARCHAR(100), FirmaID INT, IsActive BIT, IsDeleted BIT)");
    db.Exec("IF OBJECT_ID('dbo.Kullanici', 'U') IS NULL CREATE TABLE dbo.Kullanici (KullaniciID "
            "INTEGER PRIMARY KEY, KullaniciAdi NVARCHAR(50), AdSoyad NVARCHAR(100), SubeID INT)");
    db.Exec("IF OBJECT_ID('dbo.SatisFis', 'U') IS NULL CREATE TABLE dbo.SatisFis (FisID INTEGER "
            "PRIMARY KEY AUTOINCREMENT, FisNo NVARCHAR(50), SubeID INT, KullaniciID INT, "
            "TerminalID INT, VardiyaID INT, Tarih DATETIME, AraToplam REAL, ToplamKDV REAL, "
            "Indirim REAL, GenelToplam REAL, OdemeTipi NVARCHAR(20), MusteriID INT, FisDurumu "
            "NVARCHAR(20) DEFAULT 'AKTIF', OrijinalFisID INT)");
    db.Exec("IF OBJECT_ID('dbo.SatisFisSatir', 'U') IS NULL CREATE TABLE dbo.SatisFisSatir "
            "(SatirID INTEGER PRIMARY KEY AUTOINCREMENT, FisID INT, SiraNo INT, StokID INT, "
            "StokAdi NVARCHAR(150), Barkod NVARCHAR(50), Miktar REAL, Birim NVARCHAR(10), "
            "BirimFiyat REAL, KDVOrani REAL, KDVTutari REAL, IndirimOrani REAL, IndirimTutari "
            "REAL, AraToplam REAL, SatirToplam REAL)");
}

struct TSaleRow {
    int FisID = 1042;
    QVariant SubeID = 1;
    QVariant KullaniciID = 1;
    int VardiyaID = 17;
    QString Tarih = QStringLiteral("2025-03-05 14:30:00");
    double AraToplam = 20.0 / 1.1;
    double ToplamKDV = 20.0 - 20.0 / 1.1;
    double Indirim = 0;
    double GenelToplam = 20.0;
    QVariant OdemeTipi = QStringLiteral("NAKIT");
    QString FisDurumu = QStringLiteral("AKTIF");
    QVariant OrijinalFisID = TDbQuery::NullInt();
    QString FisNo; // "FIS-" + FisID when empty
};

void InsertSale(const TSaleRow& s)
{
    TDbQuery q("INSERT INTO SatisFis (FisID, FisNo, SubeID, KullaniciID, TerminalID, VardiyaID, "
               "Tarih, AraToplam, ToplamKDV, Indirim, GenelToplam, OdemeTipi, FisDurumu, "
               "OrijinalFisID) VALUES (:Fis, :No, :Sube, :Kul, 1, :Var, :Tarih, :Ara, :KDV, :Ind, "
               ":Gen, :Ode, :Durum, :Orj)");
    q.Param("Fis", s.FisID)
        .Param("No",
               s.FisNo.isEmpty() ? QStringLiteral("FIS-") + QString::number(s.FisID) : s.FisNo)
        .Param("Sube", s.SubeID)
        .Param("Kul", s.KullaniciID)
        .Param("Var", s.VardiyaID)
        .Param("Tarih", s.Tarih)
        .Param("Ara", s.AraToplam)
        .Param("KDV", s.ToplamKDV)
        .Param("Ind", s.Indirim)
        .Param("Gen", s.GenelToplam)
        .Param("Ode", s.OdemeTipi)
        .Param("Durum", s.FisDurumu)
        .Param("Orj", s.OrijinalFisID)
        .Exec();
}

// A payment row; `verilen` is the cash handed over, NULL where an older sale did not keep it.
void InsertPayment(int fisId, const QString& type, double tutar, const QVariant& verilen)
{
    TDbQuery("INSERT INTO SatisOdeme (FisID, OdemeTipi, Tutar, VerilenTutar) VALUES (:Fis, :Tip, "
             ":Tut, :Ver)")
        .Param("Fis", fisId)
        .Param("Tip", type)
        .Param("Tut", tutar)
        .Param("Ver", verilen.isValid() ? verilen : TDbQuery::NullDouble())
        .Exec();
}

void SetFirm(const QVariant& unvan, const QVariant& adres, const QVariant& vergiDairesi,
             const QVariant& vergiNo)
{
    const auto text = [](const QVariant& v) {
        return v.isValid() ? v : TDbQuery::NullText();
    };
    TDbQuery firm("INSERT INTO Firma (Unvan, Adres, VergiDairesi, VergiNo) VALUES (:U, :A, :D, "
                  ":N)");
    firm.Param("U", unvan.isValid() ? unvan : QVariant(QString())).Param("A", text(adres));
    firm.Param("D", text(vergiDairesi)).Param("N", text(vergiNo)).Exec();
    TDbQuery("UPDATE Sube SET FirmaID = (SELECT MAX(FirmaID) FROM Firma) WHERE SubeID = 1").Exec();
}

void InsertLine(int fisId, int siraNo, const QString& stokAdi, double miktar, double birimFiyat,
                double satirToplam)
{
    TDbQuery q("INSERT INTO SatisFisSatir (FisID, SiraNo, StokID, StokAdi, Barkod, Miktar, "
               "Birim, BirimFiyat, KDVOrani, KDVTutari, IndirimOrani, IndirimTutari, AraToplam, "
               "SatirToplam) VALUES (:Fis, :Sira, 1, :Ad, '869', :Mik, 'ADET', :Fiyat, 10, 0, 0, "
               "0, 0, :Top)");
    q.Param("Fis", fisId)
        .Param("Sira", siraNo)
        .Param("Ad", stokAdi)
        .Param("Mik", miktar)
        .Param("Fiyat", birimFiyat)
        .Param("Top", satirToplam)
        .Exec();
}

QString W(const QString& text)
{
    return text.leftJustified(48, u' ');
}

QString Centred(const QString& text)
{
    return QString(QString((48 - text.size()) / 2, u' ') + text).leftJustified(48, u' ');
}

QString AmountLine(const QString& label, const QString& amount)
{
    return label.leftJustified(34, u' ') + amount.rightJustified(14, u' ');
}

int PaymentWordLine(const QStringList& lines)
{
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).startsWith(QStringLiteral("ODEME: ")))
            return i;
    }
    return -1;
}

// The receipt of the example sale (two loaves, cash) without a firm, as it was always printed.
QStringList ReceiptWithoutFirm()
{
    return {
        W("================================================"),
        W("           KIRVELO PERAKENDE SISTEMI"),
        W("                     MERKEZ"),
        W("================================================"),
        "Tarih : 05.03.2025 14:30",
        "Fis No: FIS-1042",
        "Kasiyer: KASA SORUMLUSU",
        W("------------------------------------------------"),
        W("URUN ADI                      ADET        TOPLAM"),
        W("------------------------------------------------"),
        W("EKMEK"),
        W("  2 x 9,09                              20,00 TL"),
        W("------------------------------------------------"),
        W("ARA TOPLAM                              18,18 TL"),
        W("KDV TOPLAM                               1,82 TL"),
        W("GENEL TOPLAM                            20,00 TL"),
        W("------------------------------------------------"),
        "ODEME: Nakit",
        W("================================================"),
        W("               IYI GUNLER DILERIZ"),
        W("================================================"),
    };
}

QStringList Receipt(int fisId)
{
    QStringList lines;
    QString fisNo;
    if (!TPrintService::BuildSaleReceipt(fisId, lines, fisNo))
        return {};
    return lines;
}

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QByteArray FileBytes(const QStringList& lines)
{
    QByteArray bytes("\xEF\xBB\xBF");
    for (const QString& line : lines)
        bytes += line.toUtf8() + "\r\n";
    return bytes;
}

// A printer that records what is drawn, page by page, and fails on request.
class TRecordingPrinter : public TPrinterDevice {
public:
    struct TText {
        int X;
        int Y;
        QString Text;
    };

    bool Present = true;
    int Page = 80 + 60 * 24 + 80; // 60 lines of 24 units
    int Height = 20;
    TPrinterOrientation Current = TPrinterOrientation::Portrait;
    // Called before each drawn line with its 0-based number; may raise.
    std::function<void(int)> BeforeLine;
    bool AbortRaises = false;

    QString Title;
    QString FontFamily;
    int FontSize = 0;
    TPrinterOrientation OrientationAtStart = TPrinterOrientation::Portrait;
    int Begun = 0;
    int Ended = 0;
    int Aborted = 0;
    QList<QList<TText>> Pages;

    bool HasPrinter() const override { return Present; }
    TPrinterOrientation Orientation() const override { return Current; }
    void SetOrientation(TPrinterOrientation Orientation) override { Current = Orientation; }
    void SetTitle(const QString& Text) override { Title = Text; }
    void BeginDoc() override
    {
        ++Begun;
        FPrinting = true;
        OrientationAtStart = Current;
        Pages.clear();
        Pages.append(QList<TText>());
    }
    void SetFont(const QString& Family, int PointSize) override
    {
        FontFamily = Family;
        FontSize = PointSize;
    }
    int TextHeight(const QString&) override { return Height; }
    int PageHeight() const override { return Page; }
    void NewPage() override { Pages.append(QList<TText>()); }
    void TextOut(int X, int Y, const QString& Text) override
    {
        if (BeforeLine)
            BeforeLine(FDrawn);
        ++FDrawn;
        Pages.last().append(TText{X, Y, Text});
    }
    void EndDoc() override
    {
        ++Ended;
        FPrinting = false;
    }
    void Abort() override
    {
        ++Aborted;
        if (AbortRaises)
            throw EPrinterError("Abort failed too");
        FPrinting = false;
    }
    bool Printing() const override { return FPrinting; }

private:
    bool FPrinting = false;
    int FDrawn = 0;
};

QStringList NumberedLines(int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("Satır %1 ÇĞİÖŞÜ").arg(i, 3, 10, QChar(u'0'));
    return lines;
}
} // namespace

// Receipt text of a stored sale, the receipt and Z report files, and the page loop.
class TestPrintService : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();

    void exampleReceipt();
    void unknownReceipt();
    void productNameIsCut();
    void amountColumn_data();
    void amountColumn();
    void largeAmounts_data();
    void largeAmounts();
    void firmLines_data();
    void firmLines();
    void paymentLines_data();
    void paymentLines();
    void refundReceipt();
    void refundReceiptParts_data();
    void refundReceiptParts();
    void receiptIsTwoStatements();
    void olderDatabaseGainsTheReceiptColumns();
    void quantityAndPrice_data();
    void quantityAndPrice();
    void branchNameCentred_data();
    void branchNameCentred();
    void discountLine_data();
    void discountLine();
    void paymentWord_data();
    void paymentWord();
    void missingBranchAndCashier();
    void linesFollowSiraNo();

    void twoSalesLeaveTwoFiles();
    void emptyReceiptWritesNothing();
    void receiptFileName_data();
    void receiptFileName();
    void receiptFileErrorReachesCaller();
    void printSaleReceiptStoresFiles();
    void lastReceiptOfShift();

    void cancellation_data();
    void cancellation();
    void pageLoop();
    void lineHeightIsPositive();
    void emptyLinesPrintNothing();
    void printerErrors_data();
    void printerErrors();
    void failedAbortKeepsFirstError();
    void receiptWithoutPrinterLayer();
    void zReportPrintsLandscape();
    void zReportRestoresOrientation_data();
    void zReportRestoresOrientation();
    void zReportWithoutPrinter();
    void emptyZReport();

private:
    std::unique_ptr<TTestDatabase> FDb;
    TRecordingPrinter* FPrinter = nullptr;
};

void TestPrintService::initTestCase()
{
    UseTurkishLocale();
    UseTestPaths();
}

void TestPrintService::cleanupTestCase()
{
    QDir reports(AppPaths::ReportsFolder());
    for (const QString& name : reports.entryList({"Receipt_*.txt", "LastReceipt.txt"}, QDir::Files))
        reports.remove(name);
}

void TestPrintService::init()
{
    FDb = std::make_unique<TTestDatabase>();
    CreateSaleTables(*FDb);
    FDb->Exec("INSERT INTO Sube (SubeID, SubeAdi) VALUES (1, 'MERKEZ')");
    FDb->Exec("INSERT INTO Kullanici (KullaniciID, KullaniciAdi, AdSoyad) VALUES (1, 'kasa', "
              "'KASA SORUMLUSU')");
    auto printer = std::make_unique<TRecordingPrinter>();
    FPrinter = printer.get();
    TPrintService::SetPrinterDevice(std::move(printer));
}

void TestPrintService::cleanup()
{
    TPrintService::SetPrinterDevice(nullptr);
    FPrinter = nullptr;
    FDb.reset();
}

void TestPrintService::exampleReceipt()
{
    InsertSale({});
    InsertLine(1042, 1, "EKMEK", 2, 10.0 / 1.1, 20.0);

    QStringList lines{"eski satır"};
    QString fisNo = "eski";
    QVERIFY(TPrintService::BuildSaleReceipt(1042, lines, fisNo));
    QCOMPARE(fisNo, QStringLiteral("FIS-1042"));
    QCOMPARE(lines.join(u'\n'), ReceiptWithoutFirm().join(u'\n'));
}

void TestPrintService::unknownReceipt()
{
    InsertSale({});
    QStringList lines{"eski satır"};
    QString fisNo = "FIS-1";
    QVERIFY(!TPrintService::BuildSaleReceipt(999, lines, fisNo));
    QVERIFY(lines.isEmpty());
    QVERIFY(fisNo.isEmpty());
}

void TestPrintService::productNameIsCut()
{
    InsertSale({});
    const QString name =
        QStringLiteral("ÇİKOLATALI GOFRET ŞÖLEN ÜZÜMLÜ ĞIDA 1234567890 ABCDEFGHIJ XY");
    QCOMPARE(name.size(), 60);
    InsertLine(1042, 1, name, 1, 1, 1);
    const QStringList lines = Receipt(1042);
    QCOMPARE(lines.at(10), name.left(48));
    QCOMPARE(lines.at(10).size(), 48);
}

void TestPrintService::amountColumn_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("line");
    QTest::newRow("short") << 20.0 << QString("  1 x 1,00").leftJustified(34) + "      20,00 TL";
    QTest::newRow("grouped") << 123456.78
                             << QString("  1 x 1,00").leftJustified(34) + " 123.456,78 TL";
    QTest::newRow("14 characters fit")
        << -999999.99 << QString("  1 x 1,00").leftJustified(34) + "-999.999,99 TL";
    QTest::newRow("15 characters take a blank beside")
        << 1234567.89 << QString("  1 x 1,00").leftJustified(33) + "1.234.567,89 TL";
}

void TestPrintService::amountColumn()
{
    QFETCH(double, amount);
    QFETCH(QString, line);
    InsertSale({});
    InsertLine(1042, 1, "EKMEK", 1, 1, amount);
    QCOMPARE(Receipt(1042).at(11), line);
}

// An amount is never cut, in any column: the text beside it gives way, or the amount takes the
// next line. Every line stays within 48 columns.
void TestPrintService::largeAmounts_data()
{
    QTest::addColumn<double>("miktar");
    QTest::addColumn<double>("birimFiyat");
    QTest::addColumn<double>("satirToplam");
    QTest::addColumn<double>("araToplam");
    QTest::addColumn<double>("toplamKDV");
    QTest::addColumn<double>("indirim");
    QTest::addColumn<double>("genelToplam");
    QTest::addColumn<QStringList>("expected");
    const auto row = [](const char* name, double miktar, double fiyat, double satir, double ara,
                        double kdv, double indirim, double genel, const QStringList& expected) {
        QTest::newRow(name) << miktar << fiyat << satir << ara << kdv << indirim << genel
                            << expected;
    };
    row("line total beside its price", 5000, 247.43, 1249500, 1, 1, 0, 1,
        {QString("  5000 x 247,43").leftJustified(33) + "1.249.500,00 TL"});
    row("line total on the next line", 5000, 2e9, 1e13, 1, 1, 0, 1,
        {QString("  5000 x 2.000.000.000,00").leftJustified(48),
         QString("10.000.000.000.000,00 TL").rightJustified(48)});
    row("quantity and price take the amount's blanks", 1234567.89, 12345678901234.5, 1, 1, 1, 0, 1,
        {QString("  1234567,89 x 12.345.678.901.234,50") + QString("1,00 TL").rightJustified(12)});
    row("price and total side by side", 5000, 2e6, 1e10, 1, 1, 0, 1,
        {QString("  5000 x 2.000.000,00").leftJustified(28) + "10.000.000.000,00 TL"});
    row("ARA TOPLAM", 1, 1, 1, 1237136.14, 1, 0, 1,
        {QString("ARA TOPLAM").leftJustified(33) + "1.237.136,14 TL"});
    row("KDV TOPLAM", 1, 1, 1, 1, 12345678901234.5, 0, 1,
        {QString("KDV TOPLAM").leftJustified(24) + "12.345.678.901.234,50 TL"});
    row("INDIRIM", 1, 1, 1, 1, 1, 1234567.89, 1,
        {QString("INDIRIM").leftJustified(32) + "-1.234.567,89 TL"});
    row("GENEL TOPLAM", 1, 1, 1, 1, 1, 0, 12345678901234.5,
        {QString("GENEL TOPLAM").leftJustified(24) + "12.345.678.901.234,50 TL"});
}

void TestPrintService::largeAmounts()
{
    QFETCH(double, miktar);
    QFETCH(double, birimFiyat);
    QFETCH(double, satirToplam);
    QFETCH(double, araToplam);
    QFETCH(double, toplamKDV);
    QFETCH(double, indirim);
    QFETCH(double, genelToplam);
    QFETCH(QStringList, expected);
    TSaleRow sale;
    sale.AraToplam = araToplam;
    sale.ToplamKDV = toplamKDV;
    sale.Indirim = indirim;
    sale.GenelToplam = genelToplam;
    InsertSale(sale);
    InsertLine(1042, 1, "EKMEK", miktar, birimFiyat, satirToplam);
    const QStringList lines = Receipt(1042);
    QVERIFY2(lines.join('\n').contains(expected.join('\n')), qPrintable(lines.join('\n')));
    for (const QString& line : lines)
        QVERIFY2(line.size() <= 48, qPrintable(line));
}

// The firm of the branch, a line each above the header, centred; empty fields left out, long
// ones wrapped at 48 columns.
void TestPrintService::firmLines_data()
{
    QTest::addColumn<QVariant>("unvan");
    QTest::addColumn<QVariant>("adres");
    QTest::addColumn<QVariant>("vergiDairesi");
    QTest::addColumn<QVariant>("vergiNo");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("every field") << QVariant("KIRVELO GIDA A.Ş.")
                                 << QVariant("Moda Cad. No: 5 Kadıköy/İSTANBUL")
                                 << QVariant("KADIKÖY") << QVariant("1234567890")
                                 << QStringList{Centred("KIRVELO GIDA A.Ş."),
                                                Centred("Moda Cad. No: 5 Kadıköy/İSTANBUL"),
                                                Centred("Vergi Dairesi: KADIKÖY"),
                                                Centred("Vergi No: 1234567890")};
    QTest::newRow("empty ones left out")
        << QVariant("KIRVELO GIDA A.Ş.") << QVariant() << QVariant("") << QVariant("   ")
        << QStringList{Centred("KIRVELO GIDA A.Ş.")};
    QTest::newRow("no name") << QVariant("") << QVariant() << QVariant() << QVariant("1234567890")
                             << QStringList{Centred("Vergi No: 1234567890")};
    QTest::newRow("long ones wrapped")
        << QVariant("KIRVELO GIDA PERAKENDE TEMİZLİK VE KIRTASİYE ÜRÜNLERİ SANAYİ TİCARET A.Ş.")
        << QVariant("Caferağa Mahallesi Moda Caddesi\nNo: 125 Daire: 4\nKadıköy/İSTANBUL")
        << QVariant("BOĞAZİÇİ KURUMLAR VERGİ DAİRESİ MÜDÜRLÜĞÜ ANADOLU YAKASI ŞUBESİ")
        << QVariant("1234567890")
        << QStringList{Centred("KIRVELO GIDA PERAKENDE TEMİZLİK VE KIRTASİYE"),
                       Centred("ÜRÜNLERİ SANAYİ TİCARET A.Ş."),
                       "Caferağa Mahallesi Moda Caddesi No: 125 Daire: 4",
                       Centred("Kadıköy/İSTANBUL"),
                       Centred("Vergi Dairesi: BOĞAZİÇİ KURUMLAR VERGİ DAİRESİ"),
                       Centred("MÜDÜRLÜĞÜ ANADOLU YAKASI ŞUBESİ"),
                       Centred("Vergi No: 1234567890")};
}

void TestPrintService::firmLines()
{
    QFETCH(QVariant, unvan);
    QFETCH(QVariant, adres);
    QFETCH(QVariant, vergiDairesi);
    QFETCH(QVariant, vergiNo);
    QFETCH(QStringList, lines);
    SetFirm(unvan, adres, vergiDairesi, vergiNo);
    InsertSale({});
    InsertLine(1042, 1, "EKMEK", 2, 10.0 / 1.1, 20.0);
    const QStringList receipt = Receipt(1042);
    QCOMPARE(receipt.mid(0, lines.size()), lines);
    // Today's receipt follows unchanged.
    QCOMPARE(receipt.mid(lines.size()).join('\n'), ReceiptWithoutFirm().join('\n'));
    for (const QString& line : receipt)
        QVERIFY2(line.size() <= 48, qPrintable(line));
}

// Below the payment word: the cash and card parts of a split payment, and the cash handed over
// with the change where the cash payment keeps it.
void TestPrintService::paymentLines_data()
{
    QTest::addColumn<QString>("odemeTipi");
    QTest::addColumn<QStringList>("payments"); // type:amount[:handed over]
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("cash with change") << "NAKIT" << QStringList{"NAKIT:20:32.5"}
                                      << QStringList{AmountLine("VERILEN NAKIT", "32,50 TL"),
                                                     AmountLine("PARA USTU", "12,50 TL")};
    QTest::newRow("cash paid exactly")
        << "NAKIT" << QStringList{"NAKIT:20:20"}
        << QStringList{AmountLine("VERILEN NAKIT", "20,00 TL"), AmountLine("PARA USTU", "0,00 TL")};
    QTest::newRow("cash of a sale that kept nothing handed over")
        << "NAKIT" << QStringList{"NAKIT:20"} << QStringList{};
    QTest::newRow("split with change")
        << "KARMA" << QStringList{"NAKIT:8:10", "KART:12"}
        << QStringList{AmountLine("NAKIT", "8,00 TL"), AmountLine("KART", "12,00 TL"),
                       AmountLine("VERILEN NAKIT", "10,00 TL"), AmountLine("PARA USTU", "2,00 TL")};
    QTest::newRow("split that kept nothing handed over")
        << "KARMA" << QStringList{"NAKIT:8", "KART:12"}
        << QStringList{AmountLine("NAKIT", "8,00 TL"), AmountLine("KART", "12,00 TL")};
    QTest::newRow("card") << "KART" << QStringList{"KART:20"} << QStringList{};
    QTest::newRow("payment words in any letter case")
        << "NAKIT" << QStringList{"nakit:20:25"}
        << QStringList{AmountLine("VERILEN NAKIT", "25,00 TL"), AmountLine("PARA USTU", "5,00 TL")};
    QTest::newRow("huge amount handed over")
        << "NAKIT" << QStringList{"NAKIT:20:12345678901234.5"}
        << QStringList{QString("VERILEN NAKIT").leftJustified(24) + "12.345.678.901.234,50 TL",
                       QString("PARA USTU").leftJustified(24) + "12.345.678.901.214,50 TL"};
}

void TestPrintService::paymentLines()
{
    QFETCH(QString, odemeTipi);
    QFETCH(QStringList, payments);
    QFETCH(QStringList, lines);
    TSaleRow sale;
    sale.OdemeTipi = odemeTipi;
    InsertSale(sale);
    InsertLine(1042, 1, "EKMEK", 2, 10.0 / 1.1, 20.0);
    for (const QString& payment : payments) {
        const QStringList parts = payment.split(':');
        InsertPayment(1042, parts.at(0), parts.at(1).toDouble(),
                      parts.size() > 2 ? QVariant(parts.at(2).toDouble()) : QVariant());
    }
    const QStringList receipt = Receipt(1042);
    const int word = PaymentWordLine(receipt);
    QCOMPARE(word, 17);
    QCOMPARE(receipt.mid(word + 1, receipt.size() - word - 4), lines);
    QCOMPARE(receipt.mid(0, word), ReceiptWithoutFirm().mid(0, word));
}

// A refund receipt: titled, naming the receipt it refunds, its lines and totals as what went
// back, and what was paid back.
void TestPrintService::refundReceipt()
{
    InsertSale({});
    TSaleRow refund;
    refund.FisID = 1050;
    refund.FisDurumu = "IADE";
    refund.OrijinalFisID = 1042;
    refund.AraToplam = -20.0 / 1.1;
    refund.ToplamKDV = -(20.0 - 20.0 / 1.1);
    refund.GenelToplam = -20;
    InsertSale(refund);
    InsertLine(1050, 1, "EKMEK", -2, 10.0 / 1.1, -20.0);
    InsertPayment(1050, "NAKIT", -20, QVariant());
    const QStringList expected{
        W("================================================"),
        W("           KIRVELO PERAKENDE SISTEMI"),
        W("                     MERKEZ"),
        W("================================================"),
        Centred("İADE FİŞİ"),
        "Tarih : 05.03.2025 14:30",
        "Fis No: FIS-1050",
        "Orijinal Fiş: FIS-1042",
        "Kasiyer: KASA SORUMLUSU",
        W("------------------------------------------------"),
        W("URUN ADI                      ADET        TOPLAM"),
        W("------------------------------------------------"),
        W("EKMEK"),
        W("  2 x 9,09                              20,00 TL"),
        W("------------------------------------------------"),
        W("ARA TOPLAM                              18,18 TL"),
        W("KDV TOPLAM                               1,82 TL"),
        AmountLine("IADE TOPLAMI", "20,00 TL"),
        W("------------------------------------------------"),
        "ODEME: Nakit",
        AmountLine("NAKIT IADE", "20,00 TL"),
        W("================================================"),
        W("               IYI GUNLER DILERIZ"),
        W("================================================"),
    };
    QCOMPARE(Receipt(1050).join(u'\n'), expected.join(u'\n'));
}

void TestPrintService::refundReceiptParts_data()
{
    QTest::addColumn<QString>("originalNo");
    QTest::addColumn<QVariant>("originalId");
    QTest::addColumn<QString>("odemeTipi");
    QTest::addColumn<QStringList>("payments");
    QTest::addColumn<QString>("originalLine");
    QTest::addColumn<QStringList>("paidBack");
    QTest::newRow("original without a number")
        << " " << QVariant(1042) << "NAKIT" << QStringList{"NAKIT:-20"} << "Orijinal Fiş: FIS-1042"
        << QStringList{AmountLine("NAKIT IADE", "20,00 TL")};
    QTest::newRow("an older refund without its original")
        << "FIS-1042" << QVariant() << "NAKIT" << QStringList{"NAKIT:-20"} << QString()
        << QStringList{AmountLine("NAKIT IADE", "20,00 TL")};
    QTest::newRow("without payment rows, paid back its way")
        << "FIS-1042" << QVariant(1042) << "KART" << QStringList{} << "Orijinal Fiş: FIS-1042"
        << QStringList{AmountLine("KART IADE", "20,00 TL")};
    QTest::newRow("paid back both ways")
        << "FIS-1042" << QVariant(1042) << "KARMA" << QStringList{"NAKIT:-5", "KART:-15"}
        << "Orijinal Fiş: FIS-1042"
        << QStringList{AmountLine("NAKIT IADE", "5,00 TL"), AmountLine("KART IADE", "15,00 TL")};
}

void TestPrintService::refundReceiptParts()
{
    QFETCH(QString, originalNo);
    QFETCH(QVariant, originalId);
    QFETCH(QString, odemeTipi);
    QFETCH(QStringList, payments);
    QFETCH(QString, originalLine);
    QFETCH(QStringList, paidBack);
    TSaleRow sale;
    sale.FisNo = originalNo;
    InsertSale(sale);
    TSaleRow refund;
    refund.FisID = 1050;
    refund.FisDurumu = "iade ";
    refund.OrijinalFisID = originalId.isValid() ? originalId : TDbQuery::NullInt();
    refund.OdemeTipi = odemeTipi;
    refund.GenelToplam = -20;
    InsertSale(refund);
    for (const QString& payment : payments) {
        const QStringList parts = payment.split(':');
        InsertPayment(1050, parts.at(0), parts.at(1).toDouble(), QVariant());
    }
    const QStringList lines = Receipt(1050);
    QCOMPARE(lines.at(4), Centred("İADE FİŞİ"));
    QCOMPARE(lines.at(6), QString("Fis No: FIS-1050"));
    QCOMPARE(lines.at(7),
             originalLine.isEmpty() ? QString("Kasiyer: KASA SORUMLUSU") : originalLine);
    const int word = PaymentWordLine(lines);
    QCOMPARE(lines.mid(word + 1, lines.size() - word - 4), paidBack);
}

// The firm comes with the header and the payments with it: a receipt is the two statements it
// always was, once the connection has made sure of the receipt's columns (these tests' tables,
// dropped and made again, make it ask once more).
void TestPrintService::receiptIsTwoStatements()
{
    SetFirm("KIRVELO GIDA A.Ş.", "Moda Cad. No: 5", "KADIKÖY", "1234567890");
    InsertSale({});
    InsertLine(1042, 1, "EKMEK", 2, 10.0 / 1.1, 20.0);
    InsertPayment(1042, "NAKIT", 20, 50);
    QVERIFY(!Receipt(1042).isEmpty());
    const qint64 before = dmMain->RoundTrips().Count();
    QVERIFY(!Receipt(1042).isEmpty());
    QCOMPARE(dmMain->RoundTrips().Count() - before, 2);
}

// A database from before the firm's details and the cash handed over gains their columns by
// the receipt's guarded statements, the first time a receipt is read on the connection.
void TestPrintService::olderDatabaseGainsTheReceiptColumns()
{
    for (const char* column : {"Firma DROP COLUMN Adres", "Firma DROP COLUMN VergiDairesi",
                               "Firma DROP COLUMN VergiNo", "SatisOdeme DROP COLUMN VerilenTutar"})
        FDb->Exec(QStringLiteral("ALTER TABLE ") + QLatin1String(column));
    // A connection that has not yet made sure of the owned columns.
    FDb->Exec("DROP TABLE IF EXISTS Yok");
    InsertSale({});
    InsertLine(1042, 1, "EKMEK", 2, 10.0 / 1.1, 20.0);
    QCOMPARE(Receipt(1042).join('\n'), ReceiptWithoutFirm().join('\n'));
    for (const char* column : {"'Firma', 'Adres'", "'Firma', 'VergiDairesi'", "'Firma', 'VergiNo'",
                               "'SatisOdeme', 'VerilenTutar'"})
        QVERIFY2(!FDb->Scalar(QStringLiteral("SELECT COL_LENGTH(") + QLatin1String(column) + u')')
                      .isNull(),
                 column);
}

void TestPrintService::quantityAndPrice_data()
{
    QTest::addColumn<double>("quantity");
    QTest::addColumn<double>("price");
    QTest::addColumn<QString>("left");
    QTest::newRow("whole") << 3.0 << 1234.5 << "  3 x 1.234,50";
    QTest::newRow("one decimal") << 1.5 << 0.5 << "  1,5 x 0,50";
    QTest::newRow("rounded to two") << 0.736 << 24.9 << "  0,74 x 24,90";
    QTest::newRow("no grouping in quantity") << 1234.5 << 1.0 << "  1234,5 x 1,00";
    QTest::newRow("negative") << -2.0 << 9.0909 << "  -2 x 9,09";
}

void TestPrintService::quantityAndPrice()
{
    QFETCH(double, quantity);
    QFETCH(double, price);
    QFETCH(QString, left);
    InsertSale({});
    InsertLine(1042, 1, "URUN", quantity, price, 1);
    QCOMPARE(Receipt(1042).at(11).left(34), left.leftJustified(34, u' '));
}

void TestPrintService::branchNameCentred_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("expectedFor");
    QTest::newRow("47: none left, one right") << 47 << "%1 ";
    QTest::newRow("48: as it is") << 48 << "%1";
    QTest::newRow("49: cut") << 49 << "CUT";
    QTest::newRow("46: one each side") << 46 << " %1 ";
    QTest::newRow("empty") << 0 << QString(48, u' ');
}

void TestPrintService::branchNameCentred()
{
    QFETCH(int, length);
    QFETCH(QString, expectedFor);
    const QString name =
        QStringLiteral("ŞUBE-ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789İĞÜŞÇÖ.,:;").left(length);
    QCOMPARE(name.size(), length);
    FDb->Exec(QStringLiteral("UPDATE Sube SET SubeAdi = '%1' WHERE SubeID = 1").arg(name));
    InsertSale({});
    QString expected = expectedFor;
    if (expectedFor == "CUT")
        expected = name.left(48);
    else if (expectedFor.contains("%1"))
        expected = expectedFor.arg(name);
    QCOMPARE(Receipt(1042).at(2), expected);
}

void TestPrintService::discountLine_data()
{
    QTest::addColumn<double>("indirim");
    QTest::addColumn<QString>("line");
    QTest::newRow("with discount") << 2.5 << "INDIRIM                                 -2,50 TL";
    QTest::newRow("tiny discount") << 0.001 << "INDIRIM                                 -0,00 TL";
    QTest::newRow("none") << 0.0 << QString();
    QTest::newRow("negative") << -1.0 << QString();
}

void TestPrintService::discountLine()
{
    QFETCH(double, indirim);
    QFETCH(QString, line);
    TSaleRow sale;
    sale.Indirim = indirim;
    InsertSale(sale);
    InsertLine(1042, 1, "EKMEK", 2, 10.0 / 1.1, 20.0);
    const QStringList lines = Receipt(1042);
    QCOMPARE(lines.at(14), W("KDV TOPLAM                               1,82 TL"));
    if (line.isEmpty()) {
        QCOMPARE(lines.size(), 21);
        QVERIFY(lines.at(15).startsWith("GENEL TOPLAM"));
    } else {
        QCOMPARE(lines.size(), 22);
        QCOMPARE(lines.at(15), line);
        QVERIFY(lines.at(16).startsWith("GENEL TOPLAM"));
    }
}

void TestPrintService::paymentWord_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("line");
    QTest::newRow("cash") << QVariant("NAKIT") << "ODEME: Nakit";
    QTest::newRow("card") << QVariant("KART") << "ODEME: Kart";
    QTest::newRow("split as stored") << QVariant("KARMA") << "ODEME: Parçalı";
    QTest::newRow("older split word") << QVariant("PARCALI") << "ODEME: Parçalı";
    QTest::newRow("null") << QVariant() << "ODEME: ";
}

void TestPrintService::paymentWord()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, line);
    TSaleRow sale;
    sale.OdemeTipi = stored;
    InsertSale(sale);
    const QStringList lines = Receipt(1042);
    QCOMPARE(lines.at(lines.size() - 4), line);
}

void TestPrintService::missingBranchAndCashier()
{
    TSaleRow sale;
    sale.SubeID = 55;
    sale.KullaniciID = QVariant();
    InsertSale(sale);
    const QStringList lines = Receipt(1042);
    QCOMPARE(lines.at(2), QString(48, u' '));
    QCOMPARE(lines.at(6), QStringLiteral("Kasiyer: "));
    QCOMPARE(lines.at(10), W("------------------------------------------------"));
}

void TestPrintService::linesFollowSiraNo()
{
    InsertSale({});
    InsertLine(1042, 3, "UCUNCU", 1, 1, 1);
    InsertLine(1042, 1, "BIRINCI", 1, 1, 1);
    InsertLine(1043, 2, "BASKA FISIN", 1, 1, 1);
    InsertLine(1042, 2, "IKINCI", 1, 1, 1);
    const QStringList lines = Receipt(1042);
    QCOMPARE(lines.size(), 25);
    QCOMPARE(lines.at(10).trimmed(), QStringLiteral("BIRINCI"));
    QCOMPARE(lines.at(12).trimmed(), QStringLiteral("IKINCI"));
    QCOMPARE(lines.at(14).trimmed(), QStringLiteral("UCUNCU"));
}

void TestPrintService::twoSalesLeaveTwoFiles()
{
    const QString folder = AppPaths::ReportsFolder();
    QFile::remove(folder + "Receipt_FIS-1042.txt");
    QFile::remove(folder + "Receipt_FIS-1043.txt");
    InsertSale({});
    InsertLine(1042, 1, "EKMEK", 2, 10.0 / 1.1, 20.0);
    TSaleRow second;
    second.FisID = 1043;
    second.OdemeTipi = "KART";
    InsertSale(second);
    InsertLine(1043, 1, "ÇAY", 1, 100.0 / 1.1, 110.0);

    const QStringList first = Receipt(1042);
    const QStringList last = Receipt(1043);
    const QString path1 = TPrintService::SaveSaleReceipt("FIS-1042", first);
    const QString path2 = TPrintService::SaveSaleReceipt("FIS-1043", last);
    QCOMPARE(path1, folder + "Receipt_FIS-1042.txt");
    QCOMPARE(path2, folder + "Receipt_FIS-1043.txt");
    QVERIFY(QFileInfo(path1).isAbsolute());
    QCOMPARE(ReadFile(path1), FileBytes(first));
    QCOMPARE(ReadFile(path2), FileBytes(last));
    QCOMPARE(ReadFile(folder + "LastReceipt.txt"), FileBytes(last));

    const QByteArray bytes = ReadFile(path2);
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF="));
    QVERIFY(bytes.endsWith("=\r\n"));
    QCOMPARE(bytes.count("\r\n"), last.size());
    QCOMPARE(bytes.count('\n'), last.size());
    QVERIFY(bytes.contains(QStringLiteral("ÇAY").toUtf8()));

    // Saving again overwrites.
    TPrintService::SaveSaleReceipt("FIS-1042", {"YENI"});
    QCOMPARE(ReadFile(path1), FileBytes({"YENI"}));
    QCOMPARE(ReadFile(folder + "LastReceipt.txt"), FileBytes({"YENI"}));
}

void TestPrintService::emptyReceiptWritesNothing()
{
    const QString folder = AppPaths::ReportsFolder();
    TPrintService::SaveSaleReceipt("FIS-1", {"ONCEKI"});
    QFile::remove(folder + "Receipt_FIS-2.txt");
    QCOMPARE(TPrintService::SaveSaleReceipt("FIS-2", {}), QString());
    QVERIFY(!QFile::exists(folder + "Receipt_FIS-2.txt"));
    QCOMPARE(ReadFile(folder + "LastReceipt.txt"), FileBytes({"ONCEKI"}));
}

void TestPrintService::receiptFileName_data()
{
    QTest::addColumn<QString>("fisNo");
    QTest::addColumn<QString>("fileName");
    QTest::newRow("normal number") << "FIS-12"
                                   << "Receipt_FIS-12.txt";
    QTest::newRow("slash") << "FIS/12"
                           << "Receipt_FIS_12.txt";
    QTest::newRow("path climbing") << "../../x"
                                   << "Receipt_.._.._x.txt";
    QTest::newRow("every forbidden character") << "a/b\\c:d*e?f\"g<h>i|j"
                                               << "Receipt_a_b_c_d_e_f_g_h_i_j.txt";
    QTest::newRow("control characters") << "FIS\t1\n\x01"
                                        << "Receipt_FIS_1__.txt";
    QTest::newRow("Turkish letters stay") << "FİŞ-ÇĞ 1"
                                          << "Receipt_FİŞ-ÇĞ 1.txt";
}

void TestPrintService::receiptFileName()
{
    QFETCH(QString, fisNo);
    QFETCH(QString, fileName);
    const QString folder = AppPaths::ReportsFolder();
    QFile::remove(folder + fileName);
    const QString path = TPrintService::SaveSaleReceipt(fisNo, {"SATIR"});
    QCOMPARE(path, folder + fileName);
    QCOMPARE(ReadFile(path), FileBytes({"SATIR"}));
    QFile::remove(path);
}

void TestPrintService::receiptFileErrorReachesCaller()
{
    // A folder where the file should go cannot be replaced by a file.
    const QString blocked = AppPaths::ReportsFolder() + "Receipt_FIS-BLOCKED.txt";
    QDir().mkpath(blocked);
    try {
        TPrintService::SaveSaleReceipt("FIS-BLOCKED", {"SATIR"});
        QDir(blocked).removeRecursively();
        QFAIL("no error");
    } catch (const EInOutError& e) {
        QDir(blocked).removeRecursively();
        QVERIFY2(e.Message().startsWith(QString("Dosya yazılamadı: " + blocked)),
                 qPrintable(e.Message()));
    }
}

void TestPrintService::printSaleReceiptStoresFiles()
{
    const QString folder = AppPaths::ReportsFolder();
    QFile::remove(folder + "Receipt_FIS-1042.txt");
    InsertSale({});
    InsertLine(1042, 1, "EKMEK", 2, 10.0 / 1.1, 20.0);
    TPrintService::PrintSaleReceipt(1042);
    QCOMPARE(ReadFile(folder + "Receipt_FIS-1042.txt"), FileBytes(Receipt(1042)));
    QCOMPARE(ReadFile(folder + "LastReceipt.txt"), FileBytes(Receipt(1042)));
    QCOMPARE(FPrinter->Begun, 0);

    // An unknown receipt writes nothing and leaves the last receipt alone.
    TPrintService::PrintSaleReceipt(5);
    QVERIFY(!QFile::exists(folder + "Receipt_.txt"));
    QCOMPARE(ReadFile(folder + "LastReceipt.txt"), FileBytes(Receipt(1042)));
}

void TestPrintService::lastReceiptOfShift()
{
    QCOMPARE(TPrintService::GetLastReceiptID(17), 0);
    TSaleRow sale;
    for (const auto& [id, vardiya, tarih] :
         {std::tuple{10, 17, "2025-03-05 10:00:00"}, std::tuple{11, 17, "2025-03-05 12:00:00"},
          std::tuple{9, 17, "2025-03-05 11:00:00"}, std::tuple{30, 18, "2025-03-06 09:00:00"}}) {
        sale.FisID = id;
        sale.VardiyaID = vardiya;
        sale.Tarih = tarih;
        InsertSale(sale);
    }
    QCOMPARE(TPrintService::GetLastReceiptID(17), 11);
    QCOMPARE(TPrintService::GetLastReceiptID(18), 30);
    QCOMPARE(TPrintService::GetLastReceiptID(19), 0);

    // Two receipts of the same second: the later one has the higher id.
    for (int id : {12, 13}) {
        sale.FisID = id;
        sale.VardiyaID = 17;
        sale.Tarih = "2025-03-05 12:00:00";
        InsertSale(sale);
    }
    QCOMPARE(TPrintService::GetLastReceiptID(17), 13);
}

void TestPrintService::cancellation_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("iptal lower case") << "Yazdırma iptal edildi" << true;
    QTest::newRow("IPTAL") << "IPTAL" << true;
    QTest::newRow("İptal with dotted capital") << "İptal" << true;
    QTest::newRow("İPTAL") << "İŞ İPTAL EDİLDİ" << true;
    QTest::newRow("dotless ı only") << "ıptal edildi" << false;
    QTest::newRow("cancel") << "The operation was canceled by the user" << true;
    QTest::newRow("Cancelled") << "Print job Cancelled" << true;
    QTest::newRow("abort") << "Job aborted" << true;
    QTest::newRow("system code") << "Hata 0x800704c7" << true;
    QTest::newRow("not currently printing") << "Printer is not currently printing" << true;
    QTest::newRow("paper jam") << "Kağıt sıkıştı" << false;
    QTest::newRow("no default printer")
        << "Varsayılan yazıcı yok, yazdırma başlatılamadı." << false;
    QTest::newRow("empty") << "" << false;
}

void TestPrintService::cancellation()
{
    QFETCH(QString, message);
    QFETCH(bool, cancelled);
    QCOMPARE(TPrintService::IsPrintCancellation(message), cancelled);
}

void TestPrintService::pageLoop()
{
    const QStringList lines = NumberedLines(200);
    QVERIFY(TPrintService::PrintReceiptLines(lines, "KIRVELO FIS-1042"));
    QCOMPARE(FPrinter->Title, QStringLiteral("KIRVELO FIS-1042"));
    QCOMPARE(FPrinter->FontFamily, QStringLiteral("Consolas"));
    QCOMPARE(FPrinter->FontSize, 10);
    QCOMPARE(FPrinter->Begun, 1);
    QCOMPARE(FPrinter->Ended, 1);
    QCOMPARE(FPrinter->Aborted, 0);
    QCOMPARE(FPrinter->Pages.size(), 4);
    QStringList printed;
    for (int p = 0; p < 4; ++p) {
        const auto& page = FPrinter->Pages.at(p);
        QCOMPARE(page.size(), p < 3 ? 60 : 20);
        for (int i = 0; i < page.size(); ++i) {
            QCOMPARE(page.at(i).X, 80);
            QCOMPARE(page.at(i).Y, 80 + i * 24);
            printed << page.at(i).Text;
        }
    }
    QCOMPARE(printed, lines);
}

void TestPrintService::lineHeightIsPositive()
{
    FPrinter->Height = -20;
    QVERIFY(TPrintService::PrintReceiptLines(NumberedLines(61), "X"));
    QCOMPARE(FPrinter->Pages.size(), 2);
    QCOMPARE(FPrinter->Pages.at(0).at(1).Y, 104);
    QCOMPARE(FPrinter->Pages.at(1).size(), 1);
}

void TestPrintService::emptyLinesPrintNothing()
{
    QVERIFY(!TPrintService::PrintReceiptLines({}, "X"));
    QCOMPARE(FPrinter->Begun, 0);
}

void TestPrintService::printerErrors_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("cancelled");
    QTest::newRow("cancelled job") << "Yazdırma işi iptal edildi." << true;
    QTest::newRow("printer failure") << "Kağıt bitti" << false;
}

void TestPrintService::printerErrors()
{
    QFETCH(QString, message);
    QFETCH(bool, cancelled);
    FPrinter->BeforeLine = [message](int line) {
        if (line == 70)
            throw EPrinterError(message);
    };
    try {
        QCOMPARE(TPrintService::PrintReceiptLines(NumberedLines(100), "X"), false);
        QVERIFY(cancelled);
    } catch (const EPrinterError& e) {
        QVERIFY(!cancelled);
        QCOMPARE(e.Message(), message);
    }
    QCOMPARE(FPrinter->Aborted, 1);
    QCOMPARE(FPrinter->Ended, 0);
    QVERIFY(!FPrinter->Printing());
}

void TestPrintService::failedAbortKeepsFirstError()
{
    FPrinter->AbortRaises = true;
    FPrinter->BeforeLine = [](int) {
        throw EPrinterError("Kağıt bitti");
    };
    try {
        TPrintService::PrintReceiptLines({"A"}, "X");
        QFAIL("no error");
    } catch (const EPrinterError& e) {
        QCOMPARE(e.Message(), QStringLiteral("Kağıt bitti"));
    }
    QCOMPARE(FPrinter->Aborted, 1);
}

void TestPrintService::receiptWithoutPrinterLayer()
{
    TPrintService::SetPrinterDevice(nullptr);
    FPrinter = nullptr;
    QVERIFY_THROWS_EXCEPTION(EPrinterError, TPrintService::PrintReceiptLines({"A"}, "X"));
    QVERIFY(!TPrintService::PrintReceiptLines({}, "X"));
}

void TestPrintService::zReportPrintsLandscape()
{
    RemoveZReportFiles(17);
    const QStringList lines = NumberedLines(5);
    const TFixedClock clock(QDateTime(QDate(2025, 3, 5), QTime(23, 59, 59)));
    QVERIFY(TPrintService::PrintZReport(17, lines));
    QCOMPARE(FPrinter->Title, QStringLiteral("KIRVELO Z Raporu V17"));
    QCOMPARE(FPrinter->FontFamily, QStringLiteral("Consolas"));
    QCOMPARE(FPrinter->FontSize, 8);
    QCOMPARE(FPrinter->OrientationAtStart, TPrinterOrientation::Landscape);
    QCOMPARE(FPrinter->Current, TPrinterOrientation::Portrait);
    QCOMPARE(FPrinter->Pages.size(), 1);
    QCOMPARE(FPrinter->Pages.at(0).size(), 5);

    const QStringList files = ZReportFiles(17);
    QCOMPARE(files.size(), 1);
    const QRegularExpression name("^Z_Report_V17_(\\d{8}_\\d{6})\\.txt$");
    const auto match = name.match(files.first());
    QVERIFY2(match.hasMatch(), qPrintable(files.first()));
    const QDateTime stamp = QDateTime::fromString(match.captured(1), "yyyyMMdd_HHmmss");
    QCOMPARE(stamp, clock.Now());
    QCOMPARE(ReadFile(AppPaths::ReportsFolder() + files.first()), FileBytes(lines));
    RemoveZReportFiles(17);
}

void TestPrintService::zReportRestoresOrientation_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("start");
    QTest::newRow("success, portrait") << "" << int(TPrinterOrientation::Portrait);
    QTest::newRow("success, landscape") << "" << int(TPrinterOrientation::Landscape);
    QTest::newRow("cancelled") << "Operation was cancelled" << int(TPrinterOrientation::Portrait);
    QTest::newRow("error") << "Kağıt bitti" << int(TPrinterOrientation::Portrait);
}

void TestPrintService::zReportRestoresOrientation()
{
    QFETCH(QString, failure);
    QFETCH(int, start);
    RemoveZReportFiles(21);
    FPrinter->Current = TPrinterOrientation(start);
    if (!failure.isEmpty())
        FPrinter->BeforeLine = [failure](int) {
            throw EPrinterError(failure);
        };
    bool printed = false;
    QString error;
    try {
        printed = TPrintService::PrintZReport(21, {"KIRVELO - Z RAPORU", "===="});
    } catch (const EPrinterError& e) {
        error = e.Message();
    }
    const bool cancelled = TPrintService::IsPrintCancellation(failure);
    QCOMPARE(printed, failure.isEmpty());
    QCOMPARE(error, cancelled ? QString() : failure);
    QCOMPARE(FPrinter->OrientationAtStart, TPrinterOrientation::Landscape);
    QCOMPARE(int(FPrinter->Current), start);
    QCOMPARE(ZReportFiles(21).size(), 1);
    RemoveZReportFiles(21);
}

void TestPrintService::zReportWithoutPrinter()
{
    RemoveZReportFiles(22);
    FPrinter->Present = false;
    FPrinter->Current = TPrinterOrientation::Portrait;
    try {
        TPrintService::PrintZReport(22, {"RAPOR"});
        QFAIL("no error");
    } catch (const EPrinterError& e) {
        QCOMPARE(e.Message(), QStringLiteral("Tanımlı yazıcı bulunamadı."));
    }
    QCOMPARE(FPrinter->Begun, 0);
    QCOMPARE(FPrinter->Current, TPrinterOrientation::Portrait);
    QCOMPARE(ZReportFiles(22).size(), 1);

    // No printer layer at all is the same as no printer.
    RemoveZReportFiles(22);
    TPrintService::SetPrinterDevice(nullptr);
    FPrinter = nullptr;
    QVERIFY_THROWS_EXCEPTION(EPrinterError, TPrintService::PrintZReport(22, {"RAPOR"}));
    QCOMPARE(ZReportFiles(22).size(), 1);
    RemoveZReportFiles(22);
}

void TestPrintService::emptyZReport()
{
    RemoveZReportFiles(23);
    QVERIFY(!TPrintService::PrintZReport(23, {}));
    QCOMPARE(FPrinter->Begun, 0);
    QVERIFY(ZReportFiles(23).isEmpty());
}

QTEST_GUILESS_MAIN(TestPrintService)
#include "tst_PrintService.moc"
