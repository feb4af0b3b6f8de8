// A second till on an SQLite file: books refunds of one unit of a product against a receipt, or
// sells one unit of it, in a loop, or closes the shift once the receipt has refunds.
//   refund_worker PATH refund|sell FISID STOKID COUNT [PAUSE_MS]
// Prints "OK <FisID>" for every booked refund or sale and "FAIL <message>" for every refused one,
// pausing PAUSE_MS between them as a cashier would.
//   refund_worker PATH close FISID STOKID REFUNDS
// Waits until the receipt has REFUNDS refunds, closes the open shift and prints
// "OK <refund receipts> <refund total>" as sp_CloseVardiya counted them, or "FAIL <message>".
#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/Exceptions.h"
#include "database/SqliteEngine.h"
#include "refunds/RefundManager.h"
#include "sales/CartManager.h"
#include "sales/SaleManager.h"
#include "shifts/ShiftManager.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QThread>

#include <clocale>

namespace {
struct TShift {
    int VardiyaID = 0, SubeID = 0, KullaniciID = 0, TerminalID = 0;
};

TShift OpenShift()
{
    TDbQuery shift(QStringLiteral("SELECT VardiyaID, SubeID, KullaniciID, TerminalID FROM Vardiya "
                                  "WHERE KapanisZamani IS NULL ORDER BY VardiyaID LIMIT 1"));
    shift.Exec();
    if (!shift.Next())
        return {};
    return {shift.Value(0).toInt(), shift.Value(1).toInt(), shift.Value(2).toInt(),
            shift.Value(3).toInt()};
}

QString RefundOne(const TShift& shift, int fisID, int stokID)
{
    TRefundReceipt receipt;
    if (!TRefundManager::LoadReceipt(fisID, shift.SubeID, receipt))
        return QStringLiteral("FAIL no receipt");
    for (TRefundLine& line : receipt.Lines)
        line.IadeMiktar = line.StokID == stokID ? 1 : 0;
    const TRefundResult result =
        TRefundManager::Book(fisID, shift.KullaniciID, shift.VardiyaID, receipt.Lines);
    return (result.Success ? QStringLiteral("OK ") : QStringLiteral("FAIL ")) + result.Message;
}

QString SellOne(const TShift& shift, int stokID)
{
    TCartManager cart;
    {
        // Read and let go: an open statement would pin this process to an old snapshot.
        TDbQuery product(QStringLiteral(
            "SELECT StokAdi, Barkod, SatisFiyati, KDVOrani FROM Stok WHERE StokID = :S"));
        product.Param(QStringLiteral("S"), stokID).Exec();
        if (!product.Next())
            return QStringLiteral("FAIL no product");
        cart.AddItem(stokID, product.Value(0).toString(), product.Value(1).toString(),
                     QStringLiteral("ADET"), product.Value(2).toDouble(), 1,
                     product.Value(3).toDouble(), false);
    }
    const TSaleResult result =
        TSaleManager::CreateSale(shift.SubeID, shift.KullaniciID, shift.TerminalID, shift.VardiyaID,
                                 QStringLiteral("NAKIT"), cart, cart.GenelToplam(), 0);
    return result.Success ? QStringLiteral("OK ") + QString::number(result.FisID)
                          : QStringLiteral("FAIL ") + result.Message;
}

QString CloseAfterRefunds(const TShift& shift, int fisID, int refunds)
{
    const QString counted =
        QStringLiteral("SELECT COUNT(*) FROM SatisFis WHERE OrijinalFisID = %1").arg(fisID);
    while (dmMain->GetScalar(counted).toInt() < refunds)
        QThread::msleep(2);
    const TCloseShiftResult result =
        TShiftManager::CloseShift(shift.VardiyaID, 100, shift.KullaniciID);
    return result.Success ? QStringLiteral("OK %1 %2").arg(result.IadeAdet).arg(result.IadeToplam)
                          : QStringLiteral("FAIL ") + result.Message;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    if (argc < 6)
        return 2;
    TSqliteEngine::Register();
    TdmMain db;
    db.SetAttempts({{QStringLiteral("QSQLITE"), QString::fromLocal8Bit(argv[1])}});
    db.Connect();
    const bool refund = qstrcmp(argv[2], "refund") == 0;
    const int fisID = QString::fromLocal8Bit(argv[3]).toInt();
    const int stokID = QString::fromLocal8Bit(argv[4]).toInt();
    const int count = QString::fromLocal8Bit(argv[5]).toInt();
    const int pause = argc > 6 ? QString::fromLocal8Bit(argv[6]).toInt() : 0;
    const TShift shift = OpenShift();
    if (shift.VardiyaID <= 0)
        return 3;
    QTextStream out(stdout);
    if (qstrcmp(argv[2], "close") == 0) {
        out << CloseAfterRefunds(shift, fisID, count) << Qt::endl;
        return 0;
    }
    for (int n = 0; n < count; ++n) {
        try {
            out << (refund ? RefundOne(shift, fisID, stokID) : SellOne(shift, stokID));
        } catch (const std::exception& e) {
            out << "FAIL " << ErrorMessage(e);
        }
        out << Qt::endl;
        QThread::msleep(pause);
    }
    return 0;
}
