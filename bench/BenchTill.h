#pragma once

#include <QString>

#include <functional>

// The till the benchmarks ring up on: the first active branch, user and terminal of a seeded
// database.
struct TBenchTill {
    int SubeID = 0;
    int KullaniciID = 0;
    int TerminalID = 0;
};

int BenchScalar(const QString& sql);
TBenchTill FirstTill();
// Opens a shift on `till` with `acilisTutar` in the drawer; returns its VardiyaID.
int OpenBenchShift(const TBenchTill& till, double acilisTutar);
// A field of /proc/self/status ("VmRSS", "VmHWM") in MB, or -1 when it cannot be read.
double ProcessMemoryMb(const char* field);

// Milliseconds of `runs` runs of `work`: the median and the extremes.
struct TBenchTimes {
    double Median = 0;
    double Min = 0;
    double Max = 0;
};
TBenchTimes MeasureMs(int runs, const std::function<void()>& work);
