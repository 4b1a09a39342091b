#include "platform/common/clock.h"
#include "platform/headless/clock_control.h"
#include "platform/headless/headless_reset_parts.h"

namespace headless {
namespace {

struct Clock {
    LONGLONG ticks = 0;
    int refreshRate = 60;
    bool verticalBlankWaits = true;
    bool presentsWait = false;
    LONGLONG sleepOvershoot = 0;
    LONGLONG presentTicks = 0;
};

Clock& TheClock() {
    static Clock clock;
    return clock;
}

}  // namespace

LONGLONG ClockTicks() {
    return TheClock().ticks;
}

void AdvanceClock(LONGLONG ticks) {
    if (ticks > 0) TheClock().ticks += ticks;
}

void SetRefreshRate(int hertz) {
    TheClock().refreshRate = hertz;
}
void SetVerticalBlankWaits(bool waits) {
    TheClock().verticalBlankWaits = waits;
}
void SetPresentsWaitForVerticalBlank(bool waits) {
    TheClock().presentsWait = waits;
}
void SetSleepOvershoot(LONGLONG ticks) {
    TheClock().sleepOvershoot = ticks;
}
void SetPresentTicks(LONGLONG ticks) {
    TheClock().presentTicks = ticks;
}

namespace detail {

int RefreshRate() {
    return TheClock().refreshRate;
}

bool VerticalBlankWaits() {
    return TheClock().verticalBlankWaits;
}
bool PresentsWaitForVerticalBlank() {
    return TheClock().presentsWait;
}
LONGLONG PresentTicks() {
    return TheClock().presentTicks;
}

LONGLONG SleepTicks(DWORD milliseconds) {
    return static_cast<LONGLONG>(milliseconds) * kClockTicksPerSecond / 1000 +
           TheClock().sleepOvershoot;
}

LONGLONG TicksToVerticalBlank() {
    const Clock& clock = TheClock();
    const int rate = clock.refreshRate > 1 ? clock.refreshRate : 60;
    const LONGLONG interval = kClockTicksPerSecond / rate;
    return interval - clock.ticks % interval;
}

void ResetClock() {
    TheClock() = Clock();
}

}  // namespace detail
}  // namespace headless

namespace headless {
namespace {

// A sleep takes virtual time: the clock moves on by what was asked, and any
// overshoot a test set.
class VirtualClock final : public platform::Clock {
public:
    LONGLONG Ticks() override { return ClockTicks(); }
    LONGLONG TicksPerSecond() override { return kClockTicksPerSecond; }
    void Wait(DWORD milliseconds) override { AdvanceClock(detail::SleepTicks(milliseconds)); }
};

}  // namespace
}  // namespace headless

platform::Clock& platform::TheClock() {
    static headless::VirtualClock clock;
    return clock;
}
