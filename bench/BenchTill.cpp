#include "BenchTill.h"

#include "core/DataModule.h"

#include <QFile>

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
            "VardiyaDurumu) VALUES (:Kullanici, :Terminal, :Sube, GETDATE(), :Tutar, 'ACIK')"),
        {{QStringLiteral("Kullanici"), till.KullaniciID},
         {QStringLiteral("Terminal"), till.TerminalID},
         {QStringLiteral("Sube"), till.SubeID},
         {QStringLiteral("Tutar"), acilisTutar}});
    return BenchScalar(QStringLiteral("SELECT MAX(VardiyaID) FROM Vardiya"));
}

double ProcessMemoryMb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(line.indexOf(':') + 1).trimmed().split(' ').value(0).toDouble() / 1024;
    }
    return -1;
}
