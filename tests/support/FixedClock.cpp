#include "support/FixedClock.h"

#include "core/Clock.h"

TFixedClock::TFixedClock(const QDateTime& At)
    : FAt(At)
{
    TClock::Fix(At);
}

TFixedClock::~TFixedClock()
{
    TClock::Fix({});
}
