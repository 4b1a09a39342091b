/// @file
/// Controls of the headless clock. Its time is virtual: it stands still while
/// the program works and moves only when the program waits (Sleep,
/// MsgWaitForMultipleObjects, IDirectDraw::WaitForVerticalBlank) or a test moves
/// it. Pacing costs no real time, so tests, tools and benchmarks run as fast as
/// they can, and every timing is repeatable.
#pragma once

#include "platform/api/platform.h"

namespace headless {

/// Performance-counter ticks per second (QueryPerformanceFrequency).
constexpr LONGLONG kClockTicksPerSecond = 10000000;

/// Virtual time since the last Reset, in counter ticks.
LONGLONG ClockTicks();
/// Moves the clock on, as work that takes time would.
void AdvanceClock(LONGLONG ticks);

/// The refresh rate GetDeviceCaps(VREFRESH) reports (default 60). 0 and 1 say
/// "the hardware's default", as Windows does; the vertical blank then comes at 60 Hz.
void SetRefreshRate(int hertz);
/// Whether WaitForVerticalBlank waits for the next vertical blank, which comes at
/// every whole refresh interval of the clock (the default), or returns at once
/// as some drivers' does.
void SetVerticalBlankWaits(bool waits);
/// Whether showing a picture (a Flip, or a BltFast onto the primary) waits for
/// the next vertical blank, as a flip or a renderer with vertical sync does
/// (default: it returns at once).
void SetPresentsWaitForVerticalBlank(bool waits);
/// Makes every Sleep and MsgWaitForMultipleObjects that times out last this many
/// ticks longer than asked, as on a busy machine (default 0).
void SetSleepOvershoot(LONGLONG ticks);
/// Makes showing a picture take this many ticks of work, as a copy done in
/// software does, before any wait for the vertical blank (default 0).
void SetPresentTicks(LONGLONG ticks);

namespace detail {
int RefreshRate();
bool VerticalBlankWaits();
bool PresentsWaitForVerticalBlank();
LONGLONG PresentTicks();
// Counter ticks from now to the next vertical blank.
LONGLONG TicksToVerticalBlank();
// What a wait of this many milliseconds takes on the clock.
LONGLONG SleepTicks(DWORD milliseconds);
}  // namespace detail

}  // namespace headless
