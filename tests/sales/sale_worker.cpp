// Rings up sales on an SQLite file in a loop, as a second till would.
//   sale_worker PATH COUNT SEED   (COUNT 0: until killed)
// Prints "OK <FisID>" for every committed sale and "FAIL <message>" for every refused one.
#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "database/SqliteEngine.h"
#include "sales/CartManager.h"
#include "sales/SaleManager.h"

#include <QCoreApplication>
#include <QRandomGenerator>
#include <QTextStream>

#include <clocale>

namespace {
struct TProduct {
    int StokID;
    QString Name;
    QString Barcode;
    double Price;
    double Vat;
};

QList<TProduct> Products()
{
    QList<TProduct> products;
    TDbQuery q(QStringLiteral(
        "SELECT StokID, StokAdi, Barkod, SatisFiyati, KDVOrani FROM Stok WHERE IsDeleted = 0 "
        "ORDER BY StokID"));
    q.Exec();
    while (q.Next())
        products.append({q.Value(0).toInt(), q.Value(1).toString(), q.Value(2).toString(),
                         q.Value(3).toDouble(), q.Value(4).toDouble()});
    return products;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 4)
        return 2;
    TSqliteEngine::Register();
    TdmMain db;
    db.SetAttempts({{QStringLiteral("QSQLITE"), QString::fromLocal8Bit(argv[1])}});
    db.Connect();
    const int count = QString::fromLocal8Bit(argv[2]).toInt();
    QRandomGenerator random(QString::fromLocal8Bit(argv[3]).toUInt());

    int vardiya = 0, sube = 0, kullanici = 0, terminal = 0;
    {
        // Read and let go: an open statement would pin this process to an old snapshot.
        TDbQuery shift(
            QStringLiteral("SELECT VardiyaID, SubeID, KullaniciID, TerminalID FROM Vardiya WHERE "
                           "KapanisZamani IS NULL ORDER BY VardiyaID LIMIT 1"));
        shift.Exec();
        if (!shift.Next())
            return 3;
        vardiya = shift.Value(0).toInt();
        sube = shift.Value(1).toInt();
        kullanici = shift.Value(2).toInt();
        terminal = shift.Value(3).toInt();
    }
    const QList<TProduct> products = Products();
    QTextStream out(stdout);
    for (int n = 0; count == 0 || n < count; ++n) {
        TCartManager cart;
        const int lines = 1 + int(random.bounded(4));
        for (int i = 0; i < lines; ++i) {
            const TProduct& p = products.at(int(random.bounded(products.size())));
            cart.AddItem(p.StokID, p.Name, p.Barcode, QStringLiteral("ADET"), p.Price,
                         1 + random.bounded(3), p.Vat, false);
        }
        const TSaleResult result =
            TSaleManager::CreateSale(sube, kullanici, terminal, vardiya, QStringLiteral("NAKIT"),
                                     cart, cart.GenelToplam(), 0);
        out << (result.Success ? QStringLiteral("OK ") + QString::number(result.FisID)
                               : QStringLiteral("FAIL ") + result.Message)
            << Qt::endl;
    }
    return 0;
}
