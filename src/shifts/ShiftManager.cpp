#include "shifts/ShiftManager.h"

#include "core/DataModule.h"
#include "core/DbQuery.h"
#include "core/DbTransaction.h"
#include "core/Exceptions.h"
#include "core/Money.h"
#include "core/POSTextUtils.h"
#include "core/StoredProc.h"
#include "core/TypedNumber.h"

#include <cmath>

namespace {
const QString kOzetSql = QStringLiteral("SELECT * FROM vw_VardiyaOzet WHERE VardiyaID = :VID");

// The four checks of an opening in one statement that answers one row: the user on the chosen
// branch (active, of the same firm), the terminal, the user's open shift anywhere and another
// open shift on this terminal and branch. The two open-shift look-ups lock what they read on SQL
// Server until the insert commits, so a second till checking at the same moment waits and then
// sees the new shift. SQLite gets the same order from the write transaction, which begins
// IMMEDIATE; the dialect drops the lock hints there. A shift without a status word counts as
// open, as it does everywhere else; of two shifts opened within the same second the later one is
// named. QUOTED_IDENTIFIER goes again with the first statement of the transaction, before the
// opening writes.
QString OpeningChecksSql(const SqlDialect& dialect)
{
    const QString top = dialect.Top(1);
    const QString limit = dialect.Limit(1);
    return QStringLiteral("SET QUOTED_IDENTIFIER ON; SELECT U.Found AS UserFound, U.AdSoyad, "
                          "U.SubeAdi, T.Found AS TerminalFound, T.TerminalAdi, UV.VardiyaID AS "
                          "UserShiftID, UV.SubeAdi AS UserShiftSube, TV.VardiyaID AS "
                          "TerminalShiftID, TV.AdSoyad AS TerminalShiftUser FROM (SELECT 1 AS "
                          "One) A LEFT JOIN (SELECT ") +
           top +
           QStringLiteral("1 AS Found, K.AdSoyad, S.SubeAdi FROM Kullanici K INNER JOIN Sube KS ON "
                          "KS.SubeID = K.SubeID INNER JOIN Sube S ON S.SubeID = :SubeID   AND "
                          "S.FirmaID = KS.FirmaID   AND S.IsActive = 1 AND S.IsDeleted = 0 WHERE "
                          "K.KullaniciID = :KullaniciID   AND K.AktifMi = 1 AND K.IsDeleted = 0") +
           limit + QStringLiteral(") U ON 1 = 1 LEFT JOIN (SELECT ") + top +
           QStringLiteral("1 AS Found, TerminalAdi FROM Terminal WHERE TerminalID = :TerminalID "
                          "AND IsDeleted = 0") +
           limit + QStringLiteral(") T ON 1 = 1 LEFT JOIN (SELECT ") + top +
           QStringLiteral(
               "V.VardiyaID, S2.SubeAdi FROM Vardiya V WITH (UPDLOCK, HOLDLOCK) LEFT "
               "JOIN Sube S2 ON S2.SubeID = V.SubeID WHERE V.KullaniciID = "
               ":KullaniciID   AND ISNULL(V.VardiyaDurumu, 'ACIK') = 'ACIK'   AND "
               "V.KapanisZamani IS NULL ORDER BY V.AcilisZamani DESC, V.VardiyaID DESC") +
           limit + QStringLiteral(") UV ON 1 = 1 LEFT JOIN (SELECT ") + top +
           QStringLiteral("V2.VardiyaID, K2.AdSoyad FROM Vardiya V2 WITH (UPDLOCK, HOLDLOCK) "
                          "INNER JOIN Kullanici K2 ON K2.KullaniciID = V2.KullaniciID WHERE "
                          "V2.TerminalID = :TerminalID   AND V2.SubeID = :SubeID   AND "
                          "ISNULL(V2.VardiyaDurumu, 'ACIK') = 'ACIK'   AND V2.KapanisZamani IS "
                          "NULL") +
           limit + QStringLiteral(") TV ON 1 = 1");
}

const QString kInsertSql = QStringLiteral(
    "SET NOCOUNT ON; INSERT INTO Vardiya (KullaniciID, TerminalID, SubeID, AcilisZamani, "
    "AcilisTutar, VardiyaDurumu) VALUES (:KullaniciID, :TerminalID, :SubeID, GETDATE(), "
    ":AcilisTutar, 'ACIK'); SELECT SCOPE_IDENTITY() AS VardiyaID");

const QString kSummarySql = QStringLiteral(
    "SELECT   V.VardiyaID,   K.AdSoyad AS Kasiyer,   ISNULL(V.AcilisTutar,0) AS "
    "AcilisTutar,   ISNULL((SELECT SUM(O1.Tutar) FROM SatisOdeme O1 INNER JOIN "
    "SatisFis F1 ON O1.FisID = F1.FisID           WHERE F1.VardiyaID = V.VardiyaID "
    "AND F1.FisDurumu = 'AKTIF' AND UPPER(O1.OdemeTipi) = 'NAKIT'), 0) +   ISNULL((SELECT "
    "SUM(FN.GenelToplam) FROM SatisFis FN           WHERE FN.VardiyaID = V.VardiyaID "
    "AND FN.FisDurumu = 'AKTIF' AND UPPER(ISNULL(FN.OdemeTipi, '')) = 'NAKIT'             "
    "AND NOT EXISTS (SELECT 1 FROM SatisOdeme OO WHERE OO.FisID = FN.FisID)), 0) "
    "AS BrutNakit,   ISNULL((SELECT SUM(O2.Tutar) FROM SatisOdeme O2 INNER JOIN "
    "SatisFis F2 ON O2.FisID = F2.FisID           WHERE F2.VardiyaID = V.VardiyaID "
    "AND F2.FisDurumu = 'AKTIF' AND UPPER(O2.OdemeTipi) = 'KART'), 0) +   ISNULL((SELECT "
    "SUM(FK.GenelToplam) FROM SatisFis FK           WHERE FK.VardiyaID = V.VardiyaID "
    "AND FK.FisDurumu = 'AKTIF' AND UPPER(ISNULL(FK.OdemeTipi, '')) = 'KART'             "
    "AND NOT EXISTS (SELECT 1 FROM SatisOdeme OO2 WHERE OO2.FisID = FK.FisID)), "
    "0) AS BrutKart,   ISNULL((SELECT ABS(SUM(O3.Tutar)) FROM SatisOdeme O3 INNER "
    "JOIN SatisFis F3 ON O3.FisID = F3.FisID           WHERE F3.VardiyaID = V.VardiyaID "
    "AND F3.FisDurumu = 'IADE' AND UPPER(O3.OdemeTipi) = 'NAKIT'), 0) +   ISNULL((SELECT "
    "ABS(SUM(FI.GenelToplam)) FROM SatisFis FI           WHERE FI.VardiyaID = V.VardiyaID "
    "AND FI.FisDurumu = 'IADE' AND UPPER(ISNULL(FI.OdemeTipi, '')) = 'NAKIT'             "
    "AND NOT EXISTS (SELECT 1 FROM SatisOdeme OO3 WHERE OO3.FisID = FI.FisID)), "
    "0) AS IadeNakit,   ISNULL((SELECT ABS(SUM(F4.GenelToplam)) FROM SatisFis F4 "
    "WHERE F4.VardiyaID = V.VardiyaID AND F4.FisDurumu = 'IADE'), 0) AS IadeToplam,   "
    "ISNULL((SELECT COUNT(*) FROM SatisFis F5 WHERE F5.VardiyaID = V.VardiyaID "
    "AND F5.FisDurumu = 'AKTIF'), 0) AS AktifFis,   ISNULL((SELECT COUNT(*) FROM "
    "SatisFis F6 WHERE F6.VardiyaID = V.VardiyaID AND F6.FisDurumu = 'IADE'), 0) "
    "AS IadeFis FROM Vardiya V INNER JOIN Kullanici K ON K.KullaniciID = V.KullaniciID "
    "WHERE V.VardiyaID = :VardiyaID");

// Runs the checks in their order; the first that fails is raised.
void CheckOpening(const TSessionInfo& session, TOpenedShift& opened)
{
    TDbQuery checks(dmMain->Composed(OpeningChecksSql));
    checks.Param(QStringLiteral("SubeID"), session.SubeID)
        .Param(QStringLiteral("KullaniciID"), session.KullaniciID)
        .Param(QStringLiteral("TerminalID"), session.TerminalID)
        .Exec();
    if (!checks.Next() || checks.Value(QStringLiteral("UserFound")).isNull())
        throw ERefusal(TShiftManager::MsgUserNotAllowed);
    opened.AdSoyad = checks.Value(QStringLiteral("AdSoyad")).toString();
    opened.SubeAdi = checks.Value(QStringLiteral("SubeAdi")).toString();
    if (checks.Value(QStringLiteral("TerminalFound")).isNull())
        throw ERefusal(
            QStringLiteral("Terminal kaydı bulunamadı (Terminal ID: %1).").arg(session.TerminalID));
    opened.TerminalAdi = checks.Value(QStringLiteral("TerminalAdi")).toString();
    if (!checks.Value(QStringLiteral("UserShiftID")).isNull()) {
        QString subeAdi = checks.Value(QStringLiteral("UserShiftSube")).toString();
        if (subeAdi.isEmpty())
            subeAdi = QStringLiteral("Bilinmeyen şube");
        throw ERefusal(QStringLiteral("Kullanıcının zaten açık bir vardiyası var. Aynı kullanıcı "
                                      "birden fazla şubede kasa açamaz. Şube: ") +
                       subeAdi + QStringLiteral(" - Vardiya ID: ") +
                       QString::number(checks.Value(QStringLiteral("UserShiftID")).toInt()));
    }
    if (!checks.Value(QStringLiteral("TerminalShiftID")).isNull())
        throw ERefusal(QStringLiteral("Bu şubede bu terminalde başka bir vardiya açık: ") +
                       checks.Value(QStringLiteral("TerminalShiftUser")).toString() +
                       QStringLiteral(" (Vardiya ID: ") +
                       QString::number(checks.Value(QStringLiteral("TerminalShiftID")).toInt()) +
                       u')');
}

int InsertShift(const TSessionInfo& session, double amount)
{
    TDbQuery insert(kInsertSql);
    insert.Param(QStringLiteral("KullaniciID"), session.KullaniciID)
        .Param(QStringLiteral("TerminalID"), session.TerminalID)
        .Param(QStringLiteral("SubeID"), session.SubeID)
        .Param(QStringLiteral("AcilisTutar"), TMoney::RoundKurus(amount))
        .Exec();
    if (!insert.Next())
        throw EDatabaseError(QStringLiteral("Yeni vardiyanın numarası alınamadı."));
    return insert.Value(QStringLiteral("VardiyaID")).toInt();
}
} // namespace

QString TOpenedShift::Message() const
{
    return QStringLiteral("Vardiya açıldı. ") + AdSoyad + QStringLiteral(" - ") + SubeAdi +
           QStringLiteral(" - ") + TerminalAdi;
}

std::optional<double> TShiftManager::ReadAmount(const QString& Text)
{
    return ReadTypedNumber(Text, TNumberRules::Money());
}

bool TShiftManager::IsValidAmount(const QString& Text)
{
    return ReadAmount(Text).has_value();
}

bool TShiftManager::IsValidAmount(double Amount)
{
    return std::isfinite(Amount) && Amount >= 0;
}

TOpenedShift TShiftManager::OpenShift(const TSessionInfo& Session, double Amount)
{
    if (!IsValidAmount(Amount))
        throw ERefusal(MsgInvalidAmount);
    if (Session.SubeID < 1)
        throw ERefusal(MsgNoBranch);
    if (Session.TerminalID < 1)
        throw ERefusal(MsgNoTerminal);

    TDbTransaction transaction;
    TOpenedShift opened;
    CheckOpening(Session, opened);
    opened.VardiyaID = InsertShift(Session, Amount);
    transaction.Commit();
    return opened;
}

bool TShiftManager::LoadVardiyaOzet(int VardiyaID, TVardiyaOzet& Ozet)
{
    TDbQuery query(kOzetSql);
    query.Param(QStringLiteral("VID"), VardiyaID).Exec();
    if (!query.Next())
        return false;
    Ozet.AcilisTutar = FieldToFloatDef(query, QStringLiteral("AcilisTutar"), 0);
    Ozet.NakitSatis = FieldToFloatDef(query, QStringLiteral("NakitSatis"), 0);
    Ozet.KartSatis = FieldToFloatDef(query, QStringLiteral("KartSatis"), 0);
    Ozet.IadeToplam = FieldToFloatDef(query, QStringLiteral("IadeToplam"), 0);
    Ozet.BeklenenNakit = FieldToFloatDef(query, QStringLiteral("BeklenenNakit"), 0);
    return true;
}

TCloseShiftResult TShiftManager::CloseShift(int VardiyaID, double KapanisTutar,
                                            int KapatanKullaniciID)
{
    dmMain->ExecSql(QStringLiteral("SET QUOTED_IDENTIFIER ON"));
    TStoredProc call(QStringLiteral("sp_CloseVardiya"));
    call.In(QStringLiteral("@VardiyaID"), VardiyaID)
        .In(QStringLiteral("@KapanisTutar"), TMoney::RoundKurus(KapanisTutar))
        .In(QStringLiteral("@KapatanKullaniciID"), KapatanKullaniciID)
        .Out(QStringLiteral("@Success"), QMetaType::Bool)
        .Out(QStringLiteral("@Message"), QMetaType::QString, 500)
        .Out(QStringLiteral("@SistemTutar"), QMetaType::Double)
        .Out(QStringLiteral("@Fark"), QMetaType::Double)
        .Out(QStringLiteral("@ToplamSatis"), QMetaType::Int)
        .Out(QStringLiteral("@NakitSatis"), QMetaType::Double)
        .Out(QStringLiteral("@KartSatis"), QMetaType::Double)
        .Out(QStringLiteral("@NakitAdet"), QMetaType::Int)
        .Out(QStringLiteral("@KartAdet"), QMetaType::Int)
        .Out(QStringLiteral("@IadeToplam"), QMetaType::Double)
        .Out(QStringLiteral("@IadeAdet"), QMetaType::Int)
        .Out(QStringLiteral("@AcilisTutarOut"), QMetaType::Double)
        .Out(QStringLiteral("@KapanisZamaniOut"), QMetaType::QDateTime);
    call.Exec();

    TCloseShiftResult r;
    r.Success = call.Value(QStringLiteral("@Success")).toBool();
    r.Message = call.Value(QStringLiteral("@Message")).toString().trimmed();
    r.SistemTutar = VariantToFloatDef(call.Value(QStringLiteral("@SistemTutar")), 0);
    r.Fark = VariantToFloatDef(call.Value(QStringLiteral("@Fark")), 0);
    r.ToplamSatis = call.Value(QStringLiteral("@ToplamSatis")).toInt();
    r.NakitSatis = VariantToFloatDef(call.Value(QStringLiteral("@NakitSatis")), 0);
    r.KartSatis = VariantToFloatDef(call.Value(QStringLiteral("@KartSatis")), 0);
    r.NakitAdet = call.Value(QStringLiteral("@NakitAdet")).toInt();
    r.KartAdet = call.Value(QStringLiteral("@KartAdet")).toInt();
    r.IadeToplam = VariantToFloatDef(call.Value(QStringLiteral("@IadeToplam")), 0);
    r.IadeAdet = call.Value(QStringLiteral("@IadeAdet")).toInt();
    r.AcilisTutar = VariantToFloatDef(call.Value(QStringLiteral("@AcilisTutarOut")), 0);
    r.KapanisZamani = VariantToDateTime(call.Value(QStringLiteral("@KapanisZamaniOut")));
    return r;
}

QString TShiftManager::CashDifferenceQuestion(double Expected, double Counted)
{
    const double difference =
        TMoney::RoundKurus(TMoney::RoundKurus(Counted) - TMoney::RoundKurus(Expected));
    if (difference == 0)
        return {};
    return QStringLiteral("Sayılan nakit beklenenden %1 %2. Vardiya yine de kapatılsın mı?")
        .arg(FormatMoney(std::abs(difference)),
             difference < 0 ? QStringLiteral("eksik") : QStringLiteral("fazla"));
}

TShiftSummaryData TShiftManager::LoadShiftSummary(int VardiyaID)
{
    TDbQuery query(kSummarySql);
    query.Param(QStringLiteral("VardiyaID"), VardiyaID).Exec();
    if (!query.Next())
        throw ERefusal(MsgNoSummary);
    TShiftSummaryData data;
    data.VardiyaID = query.Value(QStringLiteral("VardiyaID")).toInt();
    data.Kasiyer = query.Value(QStringLiteral("Kasiyer")).toString();
    data.Figures = TShiftFigures::FromQuery(query);
    return data;
}
