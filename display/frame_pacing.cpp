#include "display/frame_pacing.h"

namespace {

// What the display is taken to refresh at when it does not say.
constexpr int kDefaultRefreshRate = 60;
// Sleep's granularity asked of the system timer, in milliseconds.
constexpr UINT kTimerResolution = 1;

}  // namespace

FramePacer::~FramePacer() {
    if (timerResolutionTaken_) timeEndPeriod(kTimerResolution);
}

void FramePacer::Start() {
    started_ = true;
    LARGE_INTEGER frequency;
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) return;
    ticksPerSecond_ = frequency.QuadPart;

    // Windows answers 0 or 1 when the refresh rate is the hardware's default.
    HDC screen = GetDC(nullptr);
    int rate = GetDeviceCaps(screen, VREFRESH);
    ReleaseDC(nullptr, screen);
    if (rate <= 1) rate = kDefaultRefreshRate;
    interval_ = ticksPerSecond_ / rate;

    // Without this Sleep rounds up to the system's 15.6 ms tick.
    timerResolutionTaken_ = timeBeginPeriod(kTimerResolution) == TIMERR_NOERROR;
}

void FramePacer::MeasureVerticalBlank(IDirectDraw* directDraw) {
    verticalBlankMeasured_ = true;
    // Some drivers answer at once instead of waiting (Wine's does): two real
    // waits after the first take two refresh intervals, pretended ones nothing.
    LONGLONG first = 0;
    for (int i = 0; i < 3; ++i) {
        if (FAILED(directDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr))) return;
        if (i == 0) first = Now();
    }
    verticalBlankWaits_ = Now() - first >= interval_ / 4;
}

LONGLONG FramePacer::Now() const {
    LARGE_INTEGER count;
    return QueryPerformanceCounter(&count) ? count.QuadPart : 0;
}

DWORD FramePacer::Milliseconds(LONGLONG ticks) const {
    return static_cast<DWORD>((ticks * 1000 + ticksPerSecond_ - 1) / ticksPerSecond_);
}

void FramePacer::Advance(LONGLONG now) {
    // A frame a little late (the wait's own overshoot) keeps the cadence; one
    // later than a quarter interval starts a new cadence, so no burst of quick
    // frames makes up for it. A wait cut short by a message never puts the
    // next frame more than one interval away.
    if (now - due_ > interval_ / 4)
        due_ = now + interval_;
    else
        due_ += interval_;
    if (due_ > now + interval_) due_ = now + interval_;
}

void FramePacer::WaitBeforePresent(IDirectDraw* directDraw, bool windowed) {
    if (!started_) Start();
    if (interval_ == 0) return;
    if (windowed && directDraw != nullptr) {
        if (!verticalBlankMeasured_) MeasureVerticalBlank(directDraw);
        if (verticalBlankWaits_ &&
            SUCCEEDED(directDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr))) {
            presentStart_ = Now();
            Advance(presentStart_);
            return;
        }
    }
    LONGLONG now = Now();
    while (!displayPaces_ && now < due_) {
        Sleep(Milliseconds(due_ - now));
        now = Now();
    }
    Advance(now);
    presentStart_ = now;
}

void FramePacer::PresentDone() {
    if (interval_ == 0) return;
    const LONGLONG now = Now();
    const LONGLONG took = now - presentStart_;
    const bool refreshApart = now - presentEnd_ >= interval_ * 7 / 8;
    presentEnd_ = now;
    if (displayPaces_ && !refreshApart) {
        // Slow presentations that let pictures come closer than a refresh are
        // merely slow (a copy done in software), not waiting for the display.
        displayPaces_ = false;
        presentsMerelySlow_ = true;
    } else if (took >= interval_ / 2 && refreshApart && !presentsMerelySlow_) {
        displayPaces_ = true;
    } else if (took < interval_ / 4) {
        // Between a quarter and half an interval the last finding stands.
        displayPaces_ = false;
    }
}

void FramePacer::WaitWithoutPresent() {
    if (!started_) Start();
    if (interval_ == 0) return;
    LONGLONG now = Now();
    if (now < due_) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, Milliseconds(due_ - now),
                                  QS_POSTMESSAGE | QS_SENDMESSAGE);
        now = Now();
    }
    Advance(now);
}
