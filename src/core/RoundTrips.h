#pragma once

#include <QtGlobal>

#include <chrono>

// The round trips the program makes to its database, as the till sees them: every statement
// and every routine call that leaves the program, each waited for before the next one goes.
// What a routine does inside the database is the database's own work, as a stored procedure's
// is on SQL Server; the embedded engine runs its routines' statements through the program's own
// connection, so those are not counted.
//
// A simulated latency makes every round trip wait as a till far from its server waits; only the
// benchmark sets it.
class TRoundTrips {
public:
    qint64 Count() const { return FCount; }
    void SetLatency(std::chrono::microseconds latency) { FLatency = latency; }

    // One statement or routine call leaves the program: counted, then waited for. Nothing while
    // a routine runs inside the database.
    void Note();

    // While it lives, what is sent belongs to the routine being run inside the database.
    class TRoutineScope {
    public:
        explicit TRoutineScope(TRoundTrips& trips);
        ~TRoutineScope();
        TRoutineScope(const TRoutineScope&) = delete;
        TRoutineScope& operator=(const TRoutineScope&) = delete;

    private:
        TRoundTrips& FTrips;
    };

private:
    qint64 FCount = 0;
    std::chrono::microseconds FLatency{0};
    int FRoutineDepth = 0;
};
