// Controls of the headless clock. Its time is virtual: it stands still while
// the program works and moves only when the program waits (Sleep,
// MsgWaitForMultipleObjects, IDirectDraw::WaitForVerticalBlank) or a test moves
// it. Pacing costs no real time, so tests, tools and benchmarks run as fast as
// they can, and every timing is repeatable.
#pragma once

#include "platform/api/platform.h"

namespace headless {

// Performance-counter ticks per second (QueryPerformanceFrequency).
constexpr LONGLONG kClockTicksPerSecond = 10000000;

// Virtual time since the last Reset, in counter ticks.
LONGLONG ClockTicks();
// Moves the clock on, as work that takes time would.
void AdvanceClock(LONGLONG ticks);

// The refresh rate GetDeviceCaps(VREFRESH) reports (default 60). 0 and 1 say
// "the hardware's default", as Windows does; the vertical blank then comes at 60 Hz.
void SetRefreshRate(int hertz);
// Whether WaitForVerticalBlank waits for the next vertical blank, which comes at
// every whole refresh interval of the clock (the default), or returns at once
// as some drivers' does.
void SetVerticalBlankWaits(bool waits);

namespace detail {
int RefreshRate();
// Counter ticks from now to the next vertical blank (the wait's length), or 0
// when the driver does not wait.
LONGLONG TicksToVerticalBlank();
}  // namespace detail

}  // namespace headless
