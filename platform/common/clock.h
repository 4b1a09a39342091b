// What a backend supplies to the shared clock calls (QueryPerformanceCounter,
// QueryPerformanceFrequency, Sleep, timeBeginPeriod and timeEndPeriod): its
// counter and its way of waiting.
#pragma once

#include "platform/api/platform.h"

namespace platform {

class Clock {
public:
    virtual ~Clock() = default;
    // The counter's ticks since some moment, and how many make a second.
    virtual LONGLONG Ticks() = 0;
    virtual LONGLONG TicksPerSecond() = 0;
    // Waits at least this long; the backend's sleep is exact to the millisecond,
    // so the system timer's resolution needs no setting.
    virtual void Wait(DWORD milliseconds) = 0;
};

// The backend's clock; each backend defines it.
Clock& TheClock();

}  // namespace platform
