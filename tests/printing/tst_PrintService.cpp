#include "core/AppPaths.h"
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
            "NVARCHAR(20) DEFAULT 'AKTIF')");
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
};

void InsertSale(const TSaleRow& s)
{
    TDbQuery q("INSERT INTO SatisFis (FisID, FisNo, SubeID, KullaniciID, TerminalID, VardiyaID, "
               "Tarih, AraToplam, ToplamKDV, Indirim, GenelToplam, OdemeTipi) VALUES (:Fis, "
               ":No, :Sube, :Kul, 1, :Var, :Tarih, :Ara, :KDV, :Ind, :Gen, :Ode)");
    q.Param("Fis", s.FisID)
        .Param("No", QString(QStringLiteral("FIS-") + QString::number(s.FisID)))
        .Param("Sube", s.SubeID)
        .Param("Kul", s.KullaniciID)
        .Param("Var", s.VardiyaID)
        .Param("Tarih", s.Tarih)
        .Param("Ara", s.AraToplam)
        .Param("KDV", s.ToplamKDV)
        .Param("Ind", s.Indirim)
        .Param("Gen", s.GenelToplam)
        .Param("Ode", s.OdemeTipi)
        .Exec();
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
    const QStringList expected{
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
    QCOMPARE(lines.join(u'\n'), expected.join(u'\n'));
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
    QTest::addColumn<QString>("column");
    QTest::newRow("short") << 20.0 << "      20,00 TL";
    QTest::newRow("grouped") << 123456.78 << " 123.456,78 TL";
    QTest::newRow("14 characters fit") << -999999.99 << "-999.999,99 TL";
    QTest::newRow("15 characters lose the first") << 1234567.89 << ".234.567,89 TL";
}

void TestPrintService::amountColumn()
{
    QFETCH(double, amount);
    QFETCH(QString, column);
    InsertSale({});
    InsertLine(1042, 1, "EKMEK", 1, 1, amount);
    const QString line = Receipt(1042).at(11);
    QCOMPARE(line.size(), 48);
    QCOMPARE(line.right(14), column);
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
