#pragma once

#include <QDate>
#include <QDateTime>

// The workstation's clock, local time, as the program reads it: receipt numbers, file names,
// log stamps, report times, and GETDATE() on SQLite. A test stands it still at a moment of its
// choosing (tests/support/FixedClock.h), so what it computes from "now" cannot drift from what
// the program stamped, not even across midnight. The program itself never sets it.
class TClock {
public:
    TClock() = delete;

    static QDateTime Now();
    static QDate Today();

    // Stands the clock still at `At`; an invalid `At` lets the real clock run again.
    static void Fix(const QDateTime& At);
};
