#include "BenchTill.h"

#include "core/DataModule.h"

#include <QElapsedTimer>
#include <QFile>

#include <algorithm>
#include <vector>

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

TBenchTimes MeasureMs(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        work();
        times.push_back(double(clock.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front(), times.back()};
}
