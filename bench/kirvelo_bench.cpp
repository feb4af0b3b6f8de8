// Times the till's database work on a large SQLite database (made with kirvelo-seed) and prints
// each median next to a floor measured in the same run: the bare SQLite statements writing the
// same rows, prepared once, in one transaction.
//
//   kirvelo_bench PATH [RUNS]
#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "sales/CartManager.h"
#include "sales/SaleManager.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <sqlite3.h>

#include <algorithm>
#include <clocale>
#include <functional>
#include <stdexcept>
#include <vector>

namespace {
struct TBenchShop {
    int SubeID = 0;
    int KullaniciID = 0;
    int TerminalID = 0;
    int VardiyaID = 0;
    std::vector<int> Plain;
    std::vector<int> Tracked;
};

double MedianMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int Scalar(const QString& sql)
{
    return dmMain->GetScalar(sql).toInt();
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
    shop.SubeID = Scalar(QStringLiteral("SELECT MIN(SubeID) FROM Sube WHERE IsActive = 1"));
    shop.KullaniciID = Scalar(QStringLiteral("SELECT MIN(KullaniciID) FROM Kullanici WHERE AktifMi = 1"));
    shop.TerminalID = Scalar(QStringLiteral("SELECT MIN(TerminalID) FROM Terminal"));
    dmMain->ExecSql(QStringLiteral("INSERT INTO Vardiya (KullaniciID, TerminalID, SubeID, AcilisZamani, AcilisTutar, "
                                   "VardiyaDurumu) VALUES (%1, %2, %3, GETDATE(), 0, 'ACIK')")
                        .arg(shop.KullaniciID)
                        .arg(shop.TerminalID)
                        .arg(shop.SubeID));
    shop.VardiyaID = Scalar(QStringLiteral("SELECT MAX(VardiyaID) FROM Vardiya"));
    shop.Plain = Ids(QStringLiteral("SELECT StokID FROM Stok WHERE IsDeleted = 0 AND IsActive = 1 AND "
                                    "IFNULL(IsSKTTakibi, 0) = 0 ORDER BY StokID LIMIT 18 OFFSET 500"));
    shop.Tracked = Ids(QStringLiteral("SELECT StokID FROM Stok WHERE IsDeleted = 0 AND IsActive = 1 AND "
                                      "IsSKTTakibi = 1 AND IFNULL(IsSatisEngelle, 1) = 0 ORDER BY StokID LIMIT 2"));
    if (shop.Plain.size() < 18 || shop.Tracked.size() < 2)
        throw std::runtime_error("database holds too few products; run kirvelo-seed first");
    // Enough valid stock in the lots for every run.
    for (int id : shop.Tracked)
        dmMain->ExecSql(QStringLiteral("INSERT INTO StokLotDetay (StokID, MevcutMiktar, SonKullanmaTarihi) VALUES "
                                       "(%1, 1000000, date('now', '+1 year'))")
                            .arg(id));
    return shop;
}

void FillCart(TCartManager& cart, const TBenchShop& shop)
{
    for (int id : shop.Tracked)
        cart.AddItem(id, QStringLiteral("LOTLU URUN"), QStringLiteral("8690000000000"), QStringLiteral("ADET"), 45.5,
                     1, 10, false);
    for (int id : shop.Plain)
        cart.AddItem(id, QStringLiteral("URUN"), QStringLiteral("8690000000000"), QStringLiteral("ADET"), 12.75, 2, 20,
                     false);
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
        Prepare(FHeader, "INSERT INTO SatisFis (FisNo, SubeID, KullaniciID, TerminalID, VardiyaID, Tarih, AraToplam, "
                         "ToplamKDV, Indirim, GenelToplam, OdemeTipi, MusteriID) VALUES ('FIS-X', ?1, ?2, ?3, ?4, "
                         "datetime('now','localtime'), 100, 18, 0, 118, 'NAKIT', NULL)");
        Prepare(FNumber, "UPDATE SatisFis SET FisNo = 'FIS-' || ?1 WHERE FisID = ?1");
        Prepare(FLine, "INSERT INTO SatisFisSatir (FisID, SiraNo, StokID, StokAdi, Barkod, Miktar, Birim, BirimFiyat, "
                       "KDVOrani, KDVTutari, IndirimOrani, IndirimTutari, AraToplam, SatirToplam) VALUES (?1, ?2, ?3, "
                       "'URUN', '8690000000000', 2, 'ADET', 10.625, 20, 4.25, 0, 0, 21.25, 25.5)");
        Prepare(FLot, "UPDATE StokLotDetay SET MevcutMiktar = MevcutMiktar - 1 WHERE LotID = (SELECT MAX(LotID) FROM "
                      "StokLotDetay WHERE StokID = ?1) AND MevcutMiktar >= 1");
        Prepare(FLotRow, "INSERT INTO SatisFisLot (FisID, SatirSiraNo, StokID, LotID, Miktar, SonKullanmaTarihi) "
                         "VALUES (?1, ?2, ?3, 0, 1, NULL)");
        Prepare(FBranch, "UPDATE SubeStok SET MevcutStok = MevcutStok + (-2), UpdatedAt = datetime('now','localtime') "
                         "WHERE SubeID = ?1 AND StokID = ?2");
        Prepare(FProduct, "UPDATE Stok SET MevcutStok = IFNULL((SELECT SUM(MevcutStok) FROM SubeStok WHERE StokID = "
                          "?1),0), UpdatedAt = datetime('now','localtime') WHERE StokID = ?1");
        Prepare(FPayment, "INSERT INTO SatisOdeme (FisID, OdemeTipi, Tutar) VALUES (?1, 'NAKIT', 118)");
    }
    ~TFloorSale()
    {
        for (sqlite3_stmt* s : {FHeader, FNumber, FLine, FLot, FLotRow, FBranch, FProduct, FPayment})
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
        const TSaleResult r = TSaleManager::CreateSale(shop.SubeID, shop.KullaniciID, shop.TerminalID, shop.VardiyaID,
                                                       QStringLiteral("NAKIT"), cart, cart.GenelToplam(), 0);
        if (!r.Success)
            throw std::runtime_error(r.Message.toStdString());
    };
    sell(); // the first sale seeds the branch rows
    const double sale = MedianMs(runs, sell);
    TFloorSale floor(path, shop);
    const double bare = MedianMs(runs, [&] { floor.Run(); });
    out << QStringLiteral("CreateSale, 20 lines, 2 lot-tracked: median %1 ms; floor %2 ms; ratio %3")
               .arg(sale, 0, 'f', 2)
               .arg(bare, 0, 'f', 2)
               .arg(sale / bare, 0, 'f', 2)
        << Qt::endl;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QTextStream out(stdout);
    if (argc < 2) {
        out << "usage: kirvelo_bench PATH [RUNS]" << Qt::endl;
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 50;
    try {
        TdmMain db;
        db.SetAttempts({{QStringLiteral("QSQLITE"), path}});
        db.Connect();
        const TBenchShop shop = PrepareShop();
        out << "database: " << path << ", runs: " << runs << Qt::endl;
        BenchSale(out, path, shop, runs);
    } catch (const std::exception& e) {
        out << "error: " << e.what() << Qt::endl;
        return 1;
    }
    return 0;
}
