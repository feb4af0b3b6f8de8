#include "BenchTill.h"

#include "core/DataModule.h"

int BenchScalar(const QString& sql)
{
    return dmMain->GetScalar(sql).toInt();
}

TBenchTill FirstTill()
{
    TBenchTill till;
    till.SubeID = BenchScalar(QStringLiteral("SELECT MIN(SubeID) FROM Sube WHERE IsActive = 1"));
    till.KullaniciID =
        BenchScalar(QStringLiteral("SELECT MIN(KullaniciID) FROM Kullanici WHERE AktifMi = 1"));
    till.TerminalID = BenchScalar(QStringLiteral("SELECT MIN(TerminalID) FROM Terminal"));
    return till;
}

int OpenBenchShift(const TBenchTill& till, double acilisTutar)
{
    dmMain->ExecSql(
        QStringLiteral(
            "INSERT INTO Vardiya (KullaniciID, TerminalID, SubeID, AcilisZamani, AcilisTutar, "
            "VardiyaDurumu) VALUES (%1, %2, %3, GETDATE(), %4, 'ACIK')")
            .arg(till.KullaniciID)
            .arg(till.TerminalID)
            .arg(till.SubeID)
            .arg(acilisTutar));
    return BenchScalar(QStringLiteral("SELECT MAX(VardiyaID) FROM Vardiya"));
}
