#include "runtime/core/EngineState.h"

#include "runtime/platform/Platform.h"

EngineState gEngine;

void ProbeEngineClock() {
    const uint64_t frequency = platform::PerformanceFrequency();
    gEngine.clockAvailable = frequency > 0 ? 1 : 0;
    gEngine.counterFrequency = static_cast<double>(frequency);
}

double EngineNow() {
    if (gEngine.clockAvailable) {
        // Extended precision keeps the product exact for counters of many days.
        const long double ms = static_cast<long double>(platform::PerformanceCounter()) * 1000.0L /
                               static_cast<long double>(gEngine.counterFrequency);
        return static_cast<double>(ms);
    }
    return static_cast<double>(platform::TimeGetTime());
}
