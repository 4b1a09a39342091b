// The clock and sleeping in the page: performance.now() in microseconds, and a
// wait that lets the browser run meanwhile.
#include <emscripten.h>

#include "platform/common/clock.h"
#include "platform/web/web_page.h"

namespace {

class WebClock final : public platform::Clock {
public:
    LONGLONG Ticks() override { return static_cast<LONGLONG>(emscripten_get_now() * 1000.0); }
    LONGLONG TicksPerSecond() override { return 1000000; }
    void Wait(DWORD milliseconds) override { web::WaitOnPage(milliseconds, 0); }
};

}  // namespace

platform::Clock& platform::TheClock() {
    static WebClock clock;
    return clock;
}
