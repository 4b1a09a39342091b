// The clock and sleeping on the SDL backend: SDL's high-resolution counter and
// its delay, which sleeps to the millisecond already.
#include <SDL.h>

#include "platform/common/clock.h"

namespace {

class SdlClock final : public platform::Clock {
public:
    LONGLONG Ticks() override { return static_cast<LONGLONG>(SDL_GetPerformanceCounter()); }
    LONGLONG TicksPerSecond() override {
        return static_cast<LONGLONG>(SDL_GetPerformanceFrequency());
    }
    void Wait(DWORD milliseconds) override { SDL_Delay(milliseconds); }
};

}  // namespace

platform::Clock& platform::TheClock() {
    static SdlClock clock;
    return clock;
}
