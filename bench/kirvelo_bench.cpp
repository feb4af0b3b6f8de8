// Times the till's database work on a large SQLite database (made with kirvelo-seed) and prints
// each median next to a floor measured in the same run: the bare SQLite statements writing the
// same rows, prepared once, in one transaction. With --memory it rings up many sales of varying
// products instead and prints the resident memory along the way, which must stay flat. With
// --round-trips it goes through a cashier's day (login, shift opening, scans, a sale, closing,
// Z report), counts the round trips of each step and times it again with every round trip
// made to wait LATENCY milliseconds, as at a branch far from its server.
//
//   kirvelo_bench PATH [RUNS]
//   kirvelo_bench --memory PATH [SALES]
//   kirvelo_bench --round-trips PATH [LATENCY]
#include "BenchTill.h"
#include "core/Clock.h"
#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/LoginManager.h"
#include "core/SessionManager.h"
#include "database/SqliteEngine.h"
#include "sales/BarcodeResolver.h"
#include "sales/BranchStockManager.h"
#include "sales/CartManager.h"
#include "sales/SaleManager.h"
#include "sales/Till.h"
#include "shifts/ShiftManager.h"
#include "shifts/ZReport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <clocale>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
struct TBenchShop : TBenchTill {
    int VardiyaID = 0;
    std::vector<int> Plain;
    std::vector<int> Tracked;
};

double MedianMs(int runs, const std::function<void()>& work)
{
    return MeasureMs(runs, work).Median;
}

std::vector<int> Ids(const QString& sql)
{
    std::vector<int> ids;
    TDbQuery q(sql);
    q.Exec();
    while (q.Next())
        ids.push_back(q.Value(0).toInt());
    return ids;
}

TBenchShop PrepareShop()
{
    TBenchShop shop;
    static_cast<TBenchTill&>(shop) = FirstTill();
    shop.VardiyaID = OpenBenchShift(shop, 0);
    shop.Plain =
        Ids(QStringLiteral("SELECT StokID FROM Stok WHERE IsDeleted = 0 AND IsActive = 1 AND "
                           "IFNULL(IsSKTTakibi, 0) = 0 ORDER BY StokID LIMIT 18 OFFSET 500"));
    shop.Tracked = Ids(QStringLiteral(
        "SELECT StokID FROM Stok WHERE IsDeleted = 0 AND IsActive = 1 AND "
        "IsSKTTakibi = 1 AND IFNULL(IsSatisEngelle, 1) = 0 ORDER BY StokID LIMIT 2"));
    if (shop.Plain.size() < 18 || shop.Tracked.size() < 2)
        throw std::runtime_error("database holds too few products; run kirvelo-seed first");
    // Enough valid stock in the lots for every run.
    for (int id : shop.Tracked)
        dmMain->ExecSql(
            QStringLiteral(
                "INSERT INTO StokLotDetay (StokID, MevcutMiktar, SonKullanmaTarihi) VALUES "
                "(:StokID, 1000000, date('now', '+1 year'))"),
            {{QStringLiteral("StokID"), id}});
    return shop;
}

void FillCart(TCartManager& cart, const TBenchShop& shop)
{
    for (int id : shop.Tracked)
        cart.AddItem(id, QStringLiteral("LOTLU URUN"), QStringLiteral("8690000000000"),
                     QStringLiteral("ADET"), 45.5, 1, 10, false);
    for (int id : shop.Plain)
        cart.AddItem(id, QStringLiteral("URUN"), QStringLiteral("8690000000000"),
                     QStringLiteral("ADET"), 12.75, 2, 20, false);
}

// PRAGMA synchronous of the program's connection: 2 (FULL) syncs every commit to the disk.
int ProgramSynchronous()
{
    return dmMain->GetScalar(QStringLiteral("PRAGMA synchronous")).toInt();
}

QString SynchronousName(int level)
{
    return level == 3   ? QStringLiteral("EXTRA")
           : level == 2 ? QStringLiteral("FULL")
           : level == 1 ? QStringLiteral("NORMAL")
                        : QStringLiteral("OFF");
}

// The same rows as one sale of the cart, written with prepared statements and nothing else.
class TFloorSale {
public:
    TFloorSale(const QString& path, const TBenchShop& shop)
        : FShop(shop)
    {
        if (sqlite3_open(path.toUtf8().constData(), &FDb) != SQLITE_OK)
            throw std::runtime_error("cannot open database");
        sqlite3_busy_timeout(FDb, 10000);
        // The program's own synchronisation, so the floor pays for the same disk syncs.
        const QByteArray synchronous =
            "PRAGMA synchronous=" + QByteArray::number(ProgramSynchronous());
        sqlite3_exec(FDb, synchronous.constData(), nullptr, nullptr, nullptr);
        Prepare(FHeader, "INSERT INTO SatisFis (FisNo, SubeID, KullaniciID, TerminalID, VardiyaID, "
                         "Tarih, AraToplam, "
                         "ToplamKDV, Indirim, GenelToplam, OdemeTipi, MusteriID) VALUES ('FIS-X', "
                         "?1, ?2, ?3, ?4, "
                         "datetime('now','localtime'), 100, 18, 0, 118, 'NAKIT', NULL)");
        Prepare(FNumber, "UPDATE SatisFis SET FisNo = 'FIS-' || ?1 WHERE FisID = ?1");
        Prepare(FLine, "INSERT INTO SatisFisSatir (FisID, SiraNo, StokID, StokAdi, Barkod, Miktar, "
                       "Birim, BirimFiyat, "
                       "KDVOrani, KDVTutari, IndirimOrani, IndirimTutari, AraToplam, SatirToplam) "
                       "VALUES (?1, ?2, ?3, "
                       "'URUN', '8690000000000', 2, 'ADET', 10.625, 20, 4.25, 0, 0, 21.25, 25.5)");
        Prepare(FLot, "UPDATE StokLotDetay SET MevcutMiktar = MevcutMiktar - 1 WHERE LotID = "
                      "(SELECT MAX(LotID) FROM "
                      "StokLotDetay WHERE StokID = ?1) AND MevcutMiktar >= 1");
        Prepare(FLotRow, "INSERT INTO SatisFisLot (FisID, SatirSiraNo, StokID, LotID, Miktar, "
                         "SonKullanmaTarihi) "
                         "VALUES (?1, ?2, ?3, 0, 1, NULL)");
        Prepare(FBranch, "UPDATE SubeStok SET MevcutStok = MevcutStok + (-2), UpdatedAt = "
                         "datetime('now','localtime') "
                         "WHERE SubeID = ?1 AND StokID = ?2");
        Prepare(FProduct, "UPDATE Stok SET MevcutStok = IFNULL((SELECT SUM(MevcutStok) FROM "
                          "SubeStok WHERE StokID = "
                          "?1),0), UpdatedAt = datetime('now','localtime') WHERE StokID = ?1");
        Prepare(FPayment,
                "INSERT INTO SatisOdeme (FisID, OdemeTipi, Tutar) VALUES (?1, 'NAKIT', 118)");
    }
    ~TFloorSale()
    {
        for (sqlite3_stmt* s :
             {FHeader, FNumber, FLine, FLot, FLotRow, FBranch, FProduct, FPayment})
            sqlite3_finalize(s);
        sqlite3_close(FDb);
    }

    void Run()
    {
        sqlite3_exec(FDb, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        Step(FHeader, {FShop.SubeID, FShop.KullaniciID, FShop.TerminalID, FShop.VardiyaID});
        const int fis = int(sqlite3_last_insert_rowid(FDb));
        Step(FNumber, {fis});
        int sira = 0;
        for (int id : FShop.Tracked) {
            Step(FLine, {fis, ++sira, id});
            Step(FLot, {id});
            Step(FLotRow, {fis, sira, id});
            Step(FBranch, {FShop.SubeID, id});
            Step(FProduct, {id});
        }
        for (int id : FShop.Plain) {
            Step(FLine, {fis, ++sira, id});
            Step(FBranch, {FShop.SubeID, id});
            Step(FProduct, {id});
        }
        Step(FPayment, {fis});
        sqlite3_exec(FDb, "COMMIT", nullptr, nullptr, nullptr);
    }

private:
    void Prepare(sqlite3_stmt*& stmt, const char* sql)
    {
        if (sqlite3_prepare_v2(FDb, sql, -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(FDb));
    }
    void Step(sqlite3_stmt* stmt, std::initializer_list<int> values)
    {
        int i = 0;
        for (int v : values)
            sqlite3_bind_int(stmt, ++i, v);
        if (sqlite3_step(stmt) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(FDb));
        sqlite3_reset(stmt);
    }

    const TBenchShop& FShop;
    sqlite3* FDb = nullptr;
    sqlite3_stmt* FHeader = nullptr;
    sqlite3_stmt* FNumber = nullptr;
    sqlite3_stmt* FLine = nullptr;
    sqlite3_stmt* FLot = nullptr;
    sqlite3_stmt* FLotRow = nullptr;
    sqlite3_stmt* FBranch = nullptr;
    sqlite3_stmt* FProduct = nullptr;
    sqlite3_stmt* FPayment = nullptr;
};

void BenchSale(QTextStream& out, const QString& path, const TBenchShop& shop, int runs)
{
    TCartManager cart;
    FillCart(cart, shop);
    const auto sell = [&] {
        const TSaleResult r =
            TSaleManager::CreateSale(shop.SubeID, shop.KullaniciID, shop.TerminalID, shop.VardiyaID,
                                     QStringLiteral("NAKIT"), cart, cart.GenelToplam(), 0);
        if (!r.Success)
            throw std::runtime_error(r.Message.toStdString());
    };
    sell(); // the first sale seeds the branch rows
    const double sale = MedianMs(runs, sell);
    TFloorSale floor(path, shop);
    const double bare = MedianMs(runs, [&] { floor.Run(); });
    out << QStringLiteral("CreateSale, 20 lines, 2 lot-tracked, synchronous=%4 (floor too): median "
                          "%1 ms; floor %2 ms; ratio %3")
               .arg(sale, 0, 'f', 2)
               .arg(bare, 0, 'f', 2)
               .arg(sale / bare, 0, 'f', 2)
               .arg(SynchronousName(ProgramSynchronous()))
        << Qt::endl;
}
// Codes a cashier scans: plain barcodes of counted goods (some lot-tracked, so the expiry check
// reads lots) and case barcodes.
std::vector<QString> ScanCodes()
{
    std::vector<QString> codes;
    TDbQuery plain(
        QStringLiteral("SELECT Barkod FROM Stok WHERE IsDeleted = 0 AND IsActive = 1 AND "
                       "TartimliMi = 0 ORDER BY StokID LIMIT 40 OFFSET 1000"));
    plain.Exec();
    while (plain.Next())
        codes.push_back(plain.Value(0).toString());
    TDbQuery cases(QStringLiteral(
        "SELECT D.KoliBarkod FROM StokBirimDonusum D JOIN Stok S ON S.StokID = D.StokID "
        "WHERE S.IsDeleted = 0 AND S.IsActive = 1 AND S.TartimliMi = 0 LIMIT 10"));
    cases.Exec();
    while (cases.Next())
        codes.push_back(cases.Value(0).toString());
    if (codes.size() < 50)
        throw std::runtime_error("database holds too few products; run kirvelo-seed first");
    return codes;
}

// The statements one scan needs, prepared once: case barcode probe, the branch rows' product
// count, the product with its branch stock, the expiry check.
class TFloorScan {
public:
    TFloorScan(const QString& path, int subeID)
        : FSubeID(subeID)
    {
        if (sqlite3_open(path.toUtf8().constData(), &FDb) != SQLITE_OK)
            throw std::runtime_error("cannot open database");
        Prepare(FPack,
                "SELECT S.Barkod, D.CevrimKatsayi FROM StokBirimDonusum D INNER JOIN Stok S ON "
                "S.StokID = "
                "D.StokID WHERE D.KoliBarkod = ?1 AND S.IsDeleted = 0 AND S.IsActive = 1 LIMIT 1");
        Prepare(FHighest, "SELECT MAX(StokID) FROM Stok");
        Prepare(
            FProduct,
            "SELECT S.StokID, S.StokAdi, S.SatisFiyati, S.KDVOrani, S.Birim, S.TartimliMi, "
            "IFNULL(K.KategoriAdi, ''), IFNULL(SS.MevcutStok, 0), S.IsActive FROM Stok S LEFT JOIN "
            "Kategori K ON S.KategoriID = K.KategoriID LEFT JOIN SubeStok SS ON SS.StokID = "
            "S.StokID "
            "AND SS.SubeID = ?2 WHERE S.Barkod = ?1 AND IFNULL(S.IsDeleted, 0) = 0 LIMIT 1");
        Prepare(
            FExpiry,
            "SELECT CASE WHEN IFNULL(S.IsSKTTakibi,0) = 1 AND IFNULL(S.IsSatisEngelle,1) = 1 AND "
            "EXISTS (SELECT 1 FROM StokLotDetay L WHERE L.StokID = S.StokID AND "
            "IFNULL(L.MevcutMiktar,0) > 0 AND L.SonKullanmaTarihi IS NOT NULL AND "
            "L.SonKullanmaTarihi < date('now','localtime')) THEN 1 ELSE 0 END FROM Stok S WHERE "
            "S.StokID = ?1");
    }
    ~TFloorScan()
    {
        for (sqlite3_stmt* s : {FPack, FHighest, FProduct, FExpiry})
            sqlite3_finalize(s);
        sqlite3_close(FDb);
    }

    void Run(const QString& code)
    {
        const QByteArray text = code.toUtf8();
        QByteArray barcode = text;
        sqlite3_bind_text(FPack, 1, text.constData(), int(text.size()), SQLITE_STATIC);
        if (sqlite3_step(FPack) == SQLITE_ROW)
            barcode = QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(FPack, 0)));
        sqlite3_reset(FPack);
        sqlite3_step(FHighest);
        sqlite3_reset(FHighest);
        sqlite3_bind_text(FProduct, 1, barcode.constData(), int(barcode.size()), SQLITE_STATIC);
        sqlite3_bind_int(FProduct, 2, FSubeID);
        if (sqlite3_step(FProduct) != SQLITE_ROW)
            throw std::runtime_error("floor: product not found");
        const int stokID = sqlite3_column_int(FProduct, 0);
        sqlite3_reset(FProduct);
        sqlite3_bind_int(FExpiry, 1, stokID);
        sqlite3_step(FExpiry);
        sqlite3_reset(FExpiry);
    }

private:
    void Prepare(sqlite3_stmt*& stmt, const char* sql)
    {
        if (sqlite3_prepare_v2(FDb, sql, -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(FDb));
    }

    int FSubeID;
    sqlite3* FDb = nullptr;
    sqlite3_stmt* FPack = nullptr;
    sqlite3_stmt* FHighest = nullptr;
    sqlite3_stmt* FProduct = nullptr;
    sqlite3_stmt* FExpiry = nullptr;
};

void BenchScan(QTextStream& out, const QString& path, const TBenchShop& shop, int runs)
{
    const std::vector<QString> codes = ScanCodes();
    const TQuantityPrompt noPrompt = [](const QString&, const QString&, const QString&, QString&) {
        return false;
    };
    TCartManager cart;
    size_t next = 0;
    const auto scan = [&] {
        const QString& code = codes[next++ % codes.size()];
        if (!TBarcodeResolver::ParseScannedCode(cart, shop.SubeID, code, noPrompt).Added())
            throw std::runtime_error(
                QString(QStringLiteral("scan not added: ") + code).toStdString());
    };
    // The till readies its branch's stock rows when it opens, before the cashier's first scan.
    QElapsedTimer opening;
    opening.start();
    TBranchStockManager::EnsureBranchStockRowsOnce(shop.SubeID);
    const double openingMs = double(opening.nsecsElapsed()) / 1e6;
    QElapsedTimer cold;
    cold.start();
    scan(); // prepares the statements once per run
    const double firstMs = double(cold.nsecsElapsed()) / 1e6;
    for (size_t i = 1; i < codes.size(); ++i)
        scan();
    const double scanMs = MedianMs(std::max(runs, int(codes.size())) * 4, scan);
    TFloorScan floor(path, shop.SubeID);
    next = 0;
    const double bare = MedianMs(std::max(runs, int(codes.size())) * 4,
                                 [&] { floor.Run(codes[next++ % codes.size()]); });
    out << QStringLiteral("Scan (case probe, branch rows, product, expiry): median %1 ms; floor %2 "
                          "ms; ratio %3; "
                          "first scan of the run %4 ms; branch stock rows readied at the till's "
                          "opening %5 ms")
               .arg(scanMs, 0, 'f', 3)
               .arg(bare, 0, 'f', 3)
               .arg(scanMs / bare, 0, 'f', 2)
               .arg(firstMs, 0, 'f', 1)
               .arg(openingMs, 0, 'f', 1)
        << Qt::endl;
}

// A shift of `receipts` receipts copied, with their lines and payments, from the oldest receipts
// of the database, so it holds the seed's mix of cash, card, split payments and refunds.
int PrepareReportShift(const TBenchShop& shop, int receipts)
{
    const int offset = BenchScalar(QStringLiteral("SELECT MAX(FisID) FROM SatisFis"));
    const int last = dmMain
                         ->GetScalar(QStringLiteral("SELECT MAX(FisID) FROM (SELECT FisID FROM "
                                                    "SatisFis ORDER BY FisID LIMIT :N)"),
                                     {{QStringLiteral("N"), receipts}})
                         .toInt();
    dmMain->BeginTransaction();
    const int vardiya = OpenBenchShift(shop, 500);
    const TSqlParams copy = {{QStringLiteral("Offset"), offset},
                             {QStringLiteral("Vardiya"), vardiya},
                             {QStringLiteral("Last"), last}};
    dmMain->ExecSql(
        QStringLiteral("INSERT INTO SatisFis (FisID, FisNo, SubeID, KullaniciID, TerminalID, "
                       "VardiyaID, Tarih, AraToplam, ToplamKDV, Indirim, GenelToplam, OdemeTipi, "
                       "MusteriID, FisDurumu) SELECT FisID + :Offset, 'FIS-' || (FisID + "
                       ":Offset), SubeID, KullaniciID, TerminalID, :Vardiya, Tarih, AraToplam, "
                       "ToplamKDV, Indirim, GenelToplam, OdemeTipi, MusteriID, FisDurumu FROM "
                       "SatisFis WHERE FisID <= :Last"),
        copy);
    dmMain->ExecSql(
        QStringLiteral("INSERT INTO SatisFisSatir (FisID, SiraNo, StokID, StokAdi, Barkod, Birim, "
                       "Miktar, BirimFiyat, KDVOrani, KDVTutari, IndirimOrani, IndirimTutari, "
                       "AraToplam, SatirToplam) SELECT FisID + :Offset, SiraNo, StokID, StokAdi, "
                       "Barkod, Birim, Miktar, BirimFiyat, KDVOrani, KDVTutari, IndirimOrani, "
                       "IndirimTutari, AraToplam, SatirToplam FROM SatisFisSatir WHERE FisID <= "
                       ":Last"),
        copy);
    dmMain->ExecSql(QStringLiteral("INSERT INTO SatisOdeme (FisID, OdemeTipi, Tutar) SELECT FisID "
                                   "+ :Offset, OdemeTipi, Tutar FROM SatisOdeme WHERE FisID <= "
                                   ":Last"),
                    copy);
    dmMain->Commit();
    return vardiya;
}

// The two report statements as SQLite runs them, prepared once, every row and column read.
class TFloorZReport {
public:
    TFloorZReport(const QString& path, int vardiyaID)
    {
        if (sqlite3_open(path.toUtf8().constData(), &FDb) != SQLITE_OK)
            throw std::runtime_error("cannot open database");
        for (const SqlText* text : {&TZReport::ShiftSql(), &TZReport::ReceiptsSql()}) {
            const QByteArray sql = dmMain->Dialect().Steps(*text).first().Sql.toUtf8();
            sqlite3_stmt* stmt = nullptr;
            if (sqlite3_prepare_v2(FDb, sql.constData(), -1, &stmt, nullptr) != SQLITE_OK)
                throw std::runtime_error(sqlite3_errmsg(FDb));
            sqlite3_bind_int(stmt, sqlite3_bind_parameter_index(stmt, ":VardiyaID"), vardiyaID);
            FStatements.push_back(stmt);
        }
    }
    ~TFloorZReport()
    {
        for (sqlite3_stmt* s : FStatements)
            sqlite3_finalize(s);
        sqlite3_close(FDb);
    }

    void Run()
    {
        for (sqlite3_stmt* s : FStatements) {
            while (sqlite3_step(s) == SQLITE_ROW) {
                for (int c = 0; c < sqlite3_column_count(s); ++c)
                    sqlite3_column_text(s, c);
            }
            sqlite3_reset(s);
        }
    }

private:
    sqlite3* FDb = nullptr;
    std::vector<sqlite3_stmt*> FStatements;
};

void BenchZReport(QTextStream& out, const QString& path, const TBenchShop& shop, int runs)
{
    const int vardiya = PrepareReportShift(shop, 2000);
    int lines = 0;
    const double report = MedianMs(runs, [&] {
        lines = int(TZReport::BuildReport(TZReport::Load(vardiya), TClock::Now()).size());
    });
    TFloorZReport floor(path, vardiya);
    const double bare = MedianMs(runs, [&] { floor.Run(); });
    out << QStringLiteral("Z report, shift of 2,000 receipts (%1 lines): median %2 ms; floor %3 "
                          "ms; ratio %4")
               .arg(lines)
               .arg(report, 0, 'f', 2)
               .arg(bare, 0, 'f', 2)
               .arg(report / bare, 0, 'f', 2)
        << Qt::endl;
}
// Sales of four lines each, three counted products taken in turn from a few thousand (added by
// id, as a tile adds them) and one lot-tracked product: every sale writes statements for other
// products, lots and receipt numbers than the one before. Memory is read after the first 100
// sales, when every statement has been prepared once, and then at each tenfold.
void BenchMemory(QTextStream& out, const TBenchShop& shop, int sales)
{
    const std::vector<int> products =
        Ids(QStringLiteral("SELECT StokID FROM Stok WHERE IsDeleted = 0 AND IsActive = 1 AND "
                           "TartimliMi = 0 AND IFNULL(IsSKTTakibi, 0) = 0 ORDER BY StokID LIMIT "
                           "5000 OFFSET 2000"));
    if (products.size() < 3)
        throw std::runtime_error("database holds too few products; run kirvelo-seed first");
    const TQuantityPrompt noPrompt = [](const QString&, const QString&, const QString&, QString&) {
        return false;
    };
    TCartManager cart;
    size_t next = 0;
    out << QStringLiteral("Memory, sales of 4 lines over %1 products:").arg(products.size());
    for (int sale = 1; sale <= sales; ++sale) {
        cart.Clear();
        for (int line = 0; line < 3; ++line) {
            const int id = products[next++ % products.size()];
            if (!TBarcodeResolver::AddProductByStokID(cart, shop.VardiyaID, id, noPrompt).Added())
                throw std::runtime_error("product not added: " + std::to_string(id));
        }
        cart.AddItem(shop.Tracked[size_t(sale) % shop.Tracked.size()], QStringLiteral("LOTLU URUN"),
                     QStringLiteral("8690000000000"), QStringLiteral("ADET"), 45.5, 1, 10, false);
        const TSaleResult r =
            TSaleManager::CreateSale(shop.SubeID, shop.KullaniciID, shop.TerminalID, shop.VardiyaID,
                                     QStringLiteral("NAKIT"), cart, cart.GenelToplam(), 0);
        if (!r.Success)
            throw std::runtime_error(r.Message.toStdString());
        if (sale == 100 || sale == 1000 || sale == 10000 || sale == sales)
            out << QStringLiteral(" VmRSS after %1 sales %2 MB;")
                       .arg(sale)
                       .arg(ProcessMemoryMb("VmRSS"), 0, 'f', 1)
                << Qt::flush;
    }
    out << QStringLiteral(" VmHWM %1 MB").arg(ProcessMemoryMb("VmHWM"), 0, 'f', 1) << Qt::endl;
}
// ---- A cashier's day, counted in round trips ----

// What one step of the day cost: its round trips and how long the cashier waited for it.
struct TStepFigure {
    QString Name;
    qint64 RoundTrips = 0;
    double Ms = 0;
};

template <class TWork> TStepFigure Step(const QString& name, TWork&& work)
{
    const qint64 before = dmMain->RoundTrips().Count();
    QElapsedTimer clock;
    clock.start();
    work();
    return {name, dmMain->RoundTrips().Count() - before, double(clock.nsecsElapsed()) / 1e6};
}

// The median of `runs` repetitions of a step; the round trips are those of the last one.
template <class TWork> TStepFigure MedianStep(const QString& name, int runs, TWork&& work)
{
    std::vector<TStepFigure> figures;
    for (int i = 0; i < runs; ++i)
        figures.push_back(Step(name, work));
    std::sort(figures.begin(), figures.end(),
              [](const TStepFigure& a, const TStepFigure& b) { return a.Ms < b.Ms; });
    TStepFigure median = figures[figures.size() / 2];
    median.RoundTrips = figures.back().RoundTrips;
    for (const TStepFigure& f : figures)
        median.RoundTrips = std::max(median.RoundTrips, f.RoundTrips);
    return median;
}

void Require(bool done, const QString& what)
{
    if (!done)
        throw std::runtime_error(what.toStdString());
}

// The 20-line cart of the sale benchmark: 2 lot-tracked products with lots enough, 18 counted.
TBenchShop SaleProducts(const TBenchTill& till)
{
    TBenchShop shop;
    static_cast<TBenchTill&>(shop) = till;
    shop.Plain =
        Ids(QStringLiteral("SELECT StokID FROM Stok WHERE IsDeleted = 0 AND IsActive = 1 AND "
                           "IFNULL(IsSKTTakibi, 0) = 0 ORDER BY StokID LIMIT 18 OFFSET 500"));
    shop.Tracked = Ids(QStringLiteral(
        "SELECT StokID FROM Stok WHERE IsDeleted = 0 AND IsActive = 1 AND "
        "IsSKTTakibi = 1 AND IFNULL(IsSatisEngelle, 1) = 0 ORDER BY StokID LIMIT 2"));
    Require(shop.Plain.size() == 18 && shop.Tracked.size() == 2,
            QStringLiteral("database holds too few products; run kirvelo-seed first"));
    for (int id : shop.Tracked)
        dmMain->ExecSql(
            QStringLiteral(
                "INSERT INTO StokLotDetay (StokID, MevcutMiktar, SonKullanmaTarihi) VALUES "
                "(:StokID, 1000000, date('now', '+1 year'))"),
            {{QStringLiteral("StokID"), id}});
    return shop;
}

// Login of the seeded cashier "kasiyer1" (password "1234") on MERKEZ at its first till, on a new
// connection, as the program does: the login window connects, finds its terminal and lists the
// branches when it shows; the count starts at "Giriş" and ends with the sales screen shown
// (the till readies its branch's stock rows and looks for the cashier's open shift).
std::vector<TStepFigure> CashiersDay(const QString& path, int latencyMs, int scans, int sales)
{
    TdmMain db;
    db.SetAttempts({{QStringLiteral("QSQLITE"), path}});
    db.Connect();
    const int terminalID =
        TLoginManager::ResolveTerminal(QString(), QStringLiteral("MERKEZ-KASA-1")).TerminalID;
    TLoginManager::LoadBranches();
    const TBenchShop shop = SaleProducts({1, 2, terminalID});
    const std::vector<QString> codes = ScanCodes();
    db.RoundTrips().SetLatency(std::chrono::milliseconds(latencyMs));

    std::vector<TStepFigure> day;
    TTill till;
    day.push_back(Step(QStringLiteral("login, from \"Giriş\" to the sales screen shown"), [&] {
        const TAuthResult auth =
            TLoginManager::AuthenticateUser(QStringLiteral("kasiyer1"), QStringLiteral("1234"), 1);
        Require(auth.Success(), QStringLiteral("login refused: ") + auth.Message);
        const std::optional<TSessionInfo> session = TLoginManager::BuildSession(
            auth.KullaniciID, 1, terminalID, QStringLiteral("MERKEZ-KASA-1"));
        Require(bool(session), QStringLiteral("no session"));
        TSessionManager::Instance().Login(*session);
        till.PrepareBranchStock();
        till.LoadOpenShift();
    }));
    Require(till.VardiyaID() < 0, QStringLiteral("the cashier already has an open shift"));
    day.push_back(Step(QStringLiteral("opening a shift"), [&] {
        till.ShiftOpened(
            TShiftManager::OpenShift(TSessionManager::Instance().GetSessionInfo(), 100).VardiyaID);
    }));
    const TQuantityPrompt noPrompt = [](const QString&, const QString&, const QString&, QString&) {
        return false;
    };
    size_t next = 0;
    const auto scan = [&] {
        const QString& code = codes[next++ % codes.size()];
        Require(till.Scan(code, noPrompt).Done(), QStringLiteral("scan not added: ") + code);
    };
    day.push_back(Step(QStringLiteral("first scan"), scan));
    day.push_back(MedianStep(QStringLiteral("a scan after the first"), scans, scan));
    TCartManager cart;
    FillCart(cart, shop);
    day.push_back(MedianStep(QStringLiteral("CreateSale, 20 lines (2 lot-tracked)"), sales, [&] {
        const TSaleResult sale = TSaleManager::CreateSale(
            shop.SubeID, shop.KullaniciID, shop.TerminalID, till.VardiyaID(),
            QStringLiteral("NAKIT"), cart, cart.GenelToplam(), 0);
        Require(sale.Success, sale.Message);
    }));
    day.push_back(MedianStep(
        QStringLiteral("the same sale completed by the till (receipt files, invoice check)"), sales,
        [&] {
            till.ClearCart();
            FillCart(till.Cart(), shop);
            const TSaleResult sale =
                till.CompleteSale(QStringLiteral("NAKIT"), till.Cart().GenelToplam(), 0);
            Require(sale.Success, sale.Message);
        }));
    day.push_back(Step(QStringLiteral("closing the shift (summary card, sp_CloseVardiya)"), [&] {
        TVardiyaOzet ozet;
        TShiftManager::LoadVardiyaOzet(till.VardiyaID(), ozet);
        Require(till.CloseShift(ozet.BeklenenNakit).Success, QStringLiteral("close refused"));
    }));
    day.push_back(Step(QStringLiteral("Z report of the closed shift"), [&] {
        TZReport::BuildReport(TZReport::Load(till.ClosedVardiyaID()), TClock::Now());
    }));
    TSessionManager::Instance().Logout();
    return day;
}

void BenchRoundTrips(QTextStream& out, const QString& path, int latencyMs)
{
    const std::vector<TStepFigure> bare = CashiersDay(path, 0, 200, 20);
    const std::vector<TStepFigure> far = CashiersDay(path, latencyMs, 10, 5);
    out << QStringLiteral("Round trips (statements and routine calls the till sends), and the "
                          "wait with %1 ms per round trip:")
               .arg(latencyMs)
        << Qt::endl;
    for (size_t i = 0; i < bare.size(); ++i)
        out << QStringLiteral("  %1: %2 round trips; %3 ms; %4 ms at %5 ms each")
                   .arg(bare[i].Name)
                   .arg(far[i].RoundTrips)
                   .arg(bare[i].Ms, 0, 'f', 2)
                   .arg(far[i].Ms, 0, 'f', 1)
                   .arg(latencyMs)
            << (bare[i].RoundTrips == far[i].RoundTrips ? "" : " (counts differ between runs)")
            << Qt::endl;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTextStream out(stdout);
    const bool memory = argc > 1 && qstrcmp(argv[1], "--memory") == 0;
    const bool roundTrips = argc > 1 && qstrcmp(argv[1], "--round-trips") == 0;
    const int first = memory || roundTrips ? 2 : 1;
    if (argc <= first) {
        out << "usage: kirvelo_bench PATH [RUNS] | kirvelo_bench --memory PATH [SALES] | "
               "kirvelo_bench --round-trips PATH [LATENCY]"
            << Qt::endl;
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[first]);
    const int count = argc > first + 1 ? QString::fromLocal8Bit(argv[first + 1]).toInt()
                      : memory         ? 10000
                      : roundTrips     ? 40
                                       : 50;
    try {
        TSqliteEngine::Register();
        if (roundTrips) {
            BenchRoundTrips(out, path, count);
            return 0;
        }
        TdmMain db;
        db.SetAttempts({{QStringLiteral("QSQLITE"), path}});
        db.Connect();
        const TBenchShop shop = PrepareShop();
        out << "database: " << path << (memory ? ", sales: " : ", runs: ") << count << Qt::endl;
        if (memory) {
            BenchMemory(out, shop, count);
            return 0;
        }
        BenchScan(out, path, shop, count);
        BenchSale(out, path, shop, count);
        BenchZReport(out, path, shop, count);
    } catch (const std::exception& e) {
        out << "error: " << e.what() << Qt::endl;
        return 1;
    }
    return 0;
}
