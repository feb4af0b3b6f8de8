#include "core/RoundTrips.h"

#include <thread>

void TRoundTrips::Note()
{
    if (FRoutineDepth > 0)
        return;
    ++FCount;
    if (FLatency.count() > 0)
        std::this_thread::sleep_for(FLatency);
}

TRoundTrips::TRoutineScope::TRoutineScope(TRoundTrips& trips)
    : FTrips(trips)
{
    ++FTrips.FRoutineDepth;
}

TRoundTrips::TRoutineScope::~TRoutineScope()
{
    --FTrips.FRoutineDepth;
}
