#pragma once

#include <QDateTime>

// Stands the program's clock (TClock, and GETDATE() on SQLite) still at one moment for the
// fixture's scope; the real clock runs again when it ends. A test that reckons with "today"
// holds one, so a run across midnight cannot see two different days.
class TFixedClock {
public:
    explicit TFixedClock(const QDateTime& At);
    ~TFixedClock();
    TFixedClock(const TFixedClock&) = delete;
    TFixedClock& operator=(const TFixedClock&) = delete;

    QDateTime Now() const { return FAt; }
    QDate Today() const { return FAt.date(); }

private:
    QDateTime FAt;
};
