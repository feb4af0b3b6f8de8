#include "database/EmbeddedSale.h"

#include "core/DbQuery.h"
#include "core/DbTransaction.h"
#include "core/Exceptions.h"
#include "core/Money.h"
#include "core/RoutineCall.h"
#include "sales/BranchStockManager.h"
#include "sales/SaleDocument.h"

namespace EmbeddedSale {
namespace {
// The shift row is locked until the sale commits, so it cannot be closed in between. SQLite
// has no row locks: its write transaction, begun IMMEDIATE, already holds the whole file.
const QString kOpenShift = QStringLiteral(
    "SELECT VardiyaID FROM Vardiya WITH (UPDLOCK, HOLDLOCK) WHERE VardiyaID = :Var AND "
    "KapanisZamani IS NULL AND ISNULL(VardiyaDurumu, 'ACIK') = 'ACIK'");

const QString kInsertHeader =
    QStringLiteral("SET NOCOUNT ON; INSERT INTO SatisFis (FisNo, SubeID, KullaniciID, TerminalID, "
                   "VardiyaID, Tarih, AraToplam, ToplamKDV, Indirim, GenelToplam, OdemeTipi, "
                   "MusteriID) VALUES (:FisNo, :Sube, :Kul, :Term, :Var, GETDATE(), :Ara, :KDV, "
                   ":Ind, :Gen, :Ode, :Mus); SELECT SCOPE_IDENTITY();");

const QString kFinalNumber =
    QStringLiteral("UPDATE SatisFis SET FisNo = :FisNo WHERE FisID = :FisID");

const QString kInsertLine =
    QStringLiteral("INSERT INTO SatisFisSatir (FisID, SiraNo, StokID, StokAdi, Barkod, Miktar, "
                   "Birim, BirimFiyat, KDVOrani, KDVTutari, IndirimOrani, IndirimTutari, "
                   "AraToplam, SatirToplam) VALUES (:Fis, :Sira, :Stok, :Ad, :Bar, :Mik, :Bir, "
                   ":Fiyat, :KDV, :KDVT, :IndO, :IndT, :Ara, :Top)");

const QString kInsertPayment = QStringLiteral("INSERT INTO SatisOdeme (FisID, OdemeTipi, Tutar, "
                                              "VerilenTutar) VALUES (:Fis, :Tip, :Tut, :Ver)");

void Refuse(TRoutineCall& call, const QString& message)
{
    call.SetValue(QStringLiteral("@Success"), false);
    call.SetValue(QStringLiteral("@Message"), message);
}

QVariant In(const TRoutineCall& call, const char* name)
{
    return call.Value(QLatin1String(name));
}

// Money to the kuruş, as the head's DECIMAL(18,2) columns keep it on the server.
double Kurus(const TRoutineCall& call, const char* name)
{
    return TMoney::RoundKurus(In(call, name).toDouble());
}

// A null text stays NULL in the row.
QVariant Text(const QString& value)
{
    return value.isNull() ? TDbQuery::NullText() : QVariant(value);
}

bool ShiftIsOpen(const TRoutineCall& call)
{
    TDbQuery shift(kOpenShift);
    shift.Param(QStringLiteral("Var"), In(call, "@VardiyaID")).Exec();
    return shift.Next();
}

int InsertHeader(const TRoutineCall& call)
{
    TDbQuery header(kInsertHeader);
    header.Param(QStringLiteral("FisNo"), In(call, "@GeciciFisNo"))
        .Param(QStringLiteral("Sube"), In(call, "@SubeID"))
        .Param(QStringLiteral("Kul"), In(call, "@KullaniciID"))
        .Param(QStringLiteral("Term"), In(call, "@TerminalID"))
        .Param(QStringLiteral("Var"), In(call, "@VardiyaID"))
        .Param(QStringLiteral("Ara"), Kurus(call, "@AraToplam"))
        .Param(QStringLiteral("KDV"), Kurus(call, "@ToplamKDV"))
        .Param(QStringLiteral("Ind"), Kurus(call, "@Indirim"))
        .Param(QStringLiteral("Gen"), Kurus(call, "@GenelToplam"))
        .Param(QStringLiteral("Ode"), In(call, "@OdemeTipi"))
        .Param(QStringLiteral("Mus"), In(call, "@MusteriID"))
        .Exec();
    if (!header.Next())
        throw EDatabaseError(QStringLiteral("Fiş numarası alınamadı."));
    const int fisID = header.Value(0).toInt();
    TDbQuery(kFinalNumber)
        .Param(QStringLiteral("FisNo"), QString(QStringLiteral("FIS-") + QString::number(fisID)))
        .Param(QStringLiteral("FisID"), fisID)
        .Exec();
    return fisID;
}

void InsertLine(int fisID, int siraNo, const TSaleLine& line)
{
    TDbQuery(kInsertLine)
        .Param(QStringLiteral("Fis"), fisID)
        .Param(QStringLiteral("Sira"), siraNo)
        .Param(QStringLiteral("Stok"), line.StokID)
        .Param(QStringLiteral("Ad"), Text(line.StokAdi))
        .Param(QStringLiteral("Bar"), Text(line.Barkod))
        .Param(QStringLiteral("Mik"), line.Miktar)
        .Param(QStringLiteral("Bir"), Text(line.Birim))
        .Param(QStringLiteral("Fiyat"), line.BirimFiyat)
        .Param(QStringLiteral("KDV"), line.KDVOrani)
        .Param(QStringLiteral("KDVT"), line.KDVTutari)
        .Param(QStringLiteral("IndO"), line.IndirimOrani)
        .Param(QStringLiteral("IndT"), line.IndirimTutari)
        .Param(QStringLiteral("Ara"), line.AraToplam)
        .Param(QStringLiteral("Top"), line.SatirToplam)
        .Exec();
}

// Every line, its lots and its stock movement, in the cart's order. The lot refusals come as
// errors of their own kind; the database's errors pass on.
QString WriteLines(int fisID, int subeID, const QList<TSaleLine>& lines)
{
    try {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const TSaleLine line = lines.at(i).AtColumnScale();
            const int siraNo = int(i + 1);
            InsertLine(fisID, siraNo, line);
            TBranchStockManager::AllocateLots(fisID, siraNo, line.StokID, line.StokAdi,
                                              line.Miktar);
            TBranchStockManager::MoveBranchStockRow(subeID, line.StokID, -line.Miktar);
        }
    } catch (const EDatabaseError&) {
        throw;
    } catch (const Exception& e) {
        return e.Message();
    }
    return {};
}
} // namespace

void CreateSale(TRoutineCall& call)
{
    Refuse(call, QString());
    call.SetValue(QStringLiteral("@FisID"), 0);
    QList<TSaleLine> lines;
    QList<TSalePayment> payments;
    if (!TSaleDocument::Read(In(call, "@SatisXML").toString(), lines, payments))
        return Refuse(call, QStringLiteral("Satış belgesi okunamadı."));
    if (lines.isEmpty())
        return Refuse(call, QStringLiteral("Sepet boş!"));

    TDbTransaction transaction;
    if (!ShiftIsOpen(call))
        return Refuse(call, QStringLiteral("Vardiya kapalı veya bulunamadı."));
    const int fisID = InsertHeader(call);
    if (const QString refusal = WriteLines(fisID, In(call, "@SubeID").toInt(), lines);
        !refusal.isEmpty())
        return Refuse(call, refusal);
    for (const TSalePayment& payment : payments)
        TDbQuery(kInsertPayment)
            .Param(QStringLiteral("Fis"), fisID)
            .Param(QStringLiteral("Tip"), payment.OdemeTipi)
            .Param(QStringLiteral("Tut"), TMoney::RoundKurus(payment.Tutar))
            .Param(QStringLiteral("Ver"), payment.Verilen
                                              ? QVariant(TMoney::RoundKurus(*payment.Verilen))
                                              : TDbQuery::NullDouble())
            .Exec();
    transaction.Commit();
    call.SetValue(QStringLiteral("@FisID"), fisID);
    call.SetValue(QStringLiteral("@Success"), true);
}
} // namespace EmbeddedSale
