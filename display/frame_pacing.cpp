#include "display/frame_pacing.h"

#include <algorithm>

namespace {

// What the display is taken to refresh at when it does not say.
constexpr int kDefaultRefreshRate = 60;
// Sleep's granularity asked of the system timer, in milliseconds.
constexpr UINT kTimerResolution = 1;

// The smallest whole number n with n * divisor >= value, for divisor > 0.
LONGLONG CeilDiv(LONGLONG value, LONGLONG divisor) {
    const LONGLONG quotient = value / divisor;
    return quotient * divisor < value ? quotient + 1 : quotient;
}

}  // namespace

FramePacer::~FramePacer() {
    if (timerResolutionTaken_) timeEndPeriod(kTimerResolution);
}

bool FramePacer::SetGameRate(int framesPerSecond) {
    if (framesPerSecond < 0 || framesPerSecond > kHighestGameRate) return false;
    gameRate_ = framesPerSecond;
    return true;
}

double FramePacer::FrameSeconds() const {
    if (gameRate_ > 0) return 1.0 / gameRate_;
    if (refresh_ > 0 && ticksPerSecond_ > 0)
        return static_cast<double>(refresh_) / static_cast<double>(ticksPerSecond_);
    return 1.0 / kDefaultRefreshRate;
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
    refresh_ = ticksPerSecond_ / rate;

    // Without this Sleep rounds up to the system's 15.6 ms tick.
    timerResolutionTaken_ = timeBeginPeriod(kTimerResolution) == TIMERR_NOERROR;
}

void FramePacer::MeasureVerticalBlank(IDirectDraw* directDraw) {
    verticalBlankMeasured_ = true;
    // Some drivers answer at once instead of waiting (Wine's does): two real
    // waits after the first take two refreshes, pretended ones nothing.
    LONGLONG first = 0;
    for (int i = 0; i < 3; ++i) {
        if (FAILED(directDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr))) return;
        if (i == 0) first = Now();
    }
    verticalBlankWaits_ = Now() - first >= refresh_ / 4;
}

bool FramePacer::UsesVerticalBlankWait(IDirectDraw* directDraw, bool windowed) {
    if (!windowed || directDraw == nullptr) return false;
    if (!verticalBlankMeasured_) MeasureVerticalBlank(directDraw);
    // Presentations that wait by themselves need no wait before them, which
    // would cost them a refresh.
    return verticalBlankWaits_ && !displayPaces_;
}

LONGLONG FramePacer::Now() const {
    LARGE_INTEGER count;
    return QueryPerformanceCounter(&count) ? count.QuadPart : 0;
}

LONGLONG FramePacer::GameInterval() const {
    return gameRate_ > 0 ? ticksPerSecond_ / gameRate_ : refresh_;
}

DWORD FramePacer::Milliseconds(LONGLONG ticks) const {
    return static_cast<DWORD>((ticks * 1000 + ticksPerSecond_ - 1) / ticksPerSecond_);
}

void FramePacer::SleepUntil(LONGLONG time) const {
    LONGLONG now = Now();
    while (now < time) {
        Sleep(Milliseconds(time - now));
        now = Now();
    }
}

LONGLONG FramePacer::BlanksAhead(LONGLONG now, bool onBlanks) const {
    // A wait for the display reaches only a blank still to come; the clock
    // shows a picture up to a quarter of a refresh after its blank.
    const LONGLONG elapsed = now - lastBlank_;
    LONGLONG blanks = onBlanks ? elapsed / refresh_ + 1 : CeilDiv(elapsed - refresh_ / 4, refresh_);
    blanks = std::max<LONGLONG>(blanks, 1);
    if (!onCadence_) return blanks;
    // The frame's own blank: the first at its due time, or an eighth of a
    // refresh before it, as the clock and the display drift a little apart.
    const LONGLONG own = CeilDiv(due_ - refresh_ / 8 - lastBlank_, refresh_);
    // That refresh has its picture already: a display slower than the game
    // skips this one, any other shows it at the next blank.
    if (own < 1 && refresh_ > GameInterval()) return 0;
    return std::max(blanks, own);
}

bool FramePacer::SleepTowardsBlank(LONGLONG now, bool onBlanks) {
    if (!blankKnown_) {
        // Nothing to go by yet (the first picture, or the first after frames
        // that showed nothing): the picture comes at the frame's time.
        if (onCadence_) SleepUntil(due_);
        aimedBlank_ = Now();
        return true;
    }
    const LONGLONG blanks = BlanksAhead(now, onBlanks);
    if (blanks == 0) return false;
    aimedBlank_ = lastBlank_ + blanks * refresh_;
    if (!onBlanks) {
        // The clock's pictures keep most of a refresh apart however late the
        // last one came.
        SleepUntil(std::max(aimedBlank_, presentStart_ + refresh_ * 3 / 4));
    } else if (blanks > (now - lastBlank_) / refresh_ + 1) {
        // A wait for the display reaches the next blank by itself. For a later
        // one the frame sleeps first, until just after the blank before it, so
        // that a sleep that overruns still makes it.
        SleepUntil(aimedBlank_ - refresh_ * 7 / 8);
    }
    return true;
}

bool FramePacer::WaitBeforePresent(IDirectDraw* directDraw, bool windowed) {
    if (!started_) Start();
    if (refresh_ == 0) return true;
    const bool blankWait = UsesVerticalBlankWait(directDraw, windowed);
    const LONGLONG now = Now();
    // Behind by more than waiting for a blank explains (a slow frame, a
    // stopped program): frames start a new cadence rather than make up for
    // the lost time in a burst.
    if (onCadence_ && now - due_ > GameInterval() + refresh_) onCadence_ = false;
    if (!SleepTowardsBlank(now, blankWait || displayPaces_)) {
        SleepUntil(due_);
        due_ += GameInterval();
        return false;
    }
    if (blankWait) {
        if (SUCCEEDED(directDraw->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr)))
            aimedBlank_ = Now();
        else
            SleepUntil(aimedBlank_);
    }
    presentStart_ = Now();
    return true;
}

void FramePacer::NotePresentTime(LONGLONG now, LONGLONG took) {
    const bool refreshApart = now - presentEnd_ >= refresh_ * 7 / 8;
    presentEnd_ = now;
    if (displayPaces_ && !refreshApart) {
        // Slow presentations that let pictures come closer than a refresh are
        // merely slow (a copy done in software), not waiting for the display.
        displayPaces_ = false;
        presentsMerelySlow_ = true;
    } else if (took >= refresh_ / 2 && refreshApart && !presentsMerelySlow_) {
        displayPaces_ = true;
    } else if (took < refresh_ / 4) {
        // Between a quarter and half a refresh the last finding stands.
        displayPaces_ = false;
    }
}

void FramePacer::PresentDone() {
    if (refresh_ == 0) return;
    const LONGLONG now = Now();
    NotePresentTime(now, now - presentStart_);
    // The clock's own blanks start where the first picture appeared: a
    // presentation that waits for the display then starts right after a real
    // blank, waits most of a refresh, and is found out.
    lastBlank_ = displayPaces_ || !blankKnown_ ? now : aimedBlank_;
    blankKnown_ = true;
    // One frame per refresh follows the display; a game rate keeps its cadence.
    const LONGLONG interval = GameInterval();
    due_ = onCadence_ && gameRate_ != 0 ? due_ + interval : lastBlank_ + interval;
    onCadence_ = true;
}

void FramePacer::WaitWithoutPresent() {
    if (!started_) Start();
    if (refresh_ == 0) return;
    LONGLONG now = Now();
    // The next picture's blank is found afresh: blanks foretold from a picture
    // long ago would drift off the display's.
    blankKnown_ = false;
    if (onCadence_ && now - due_ > GameInterval()) onCadence_ = false;
    if (!onCadence_) {
        due_ = now;
        onCadence_ = true;
    }
    if (now < due_) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, Milliseconds(due_ - now),
                                  QS_POSTMESSAGE | QS_SENDMESSAGE);
        now = Now();
    }
    // A wait cut short by a message never puts the next frame more than a
    // frame away.
    const LONGLONG interval = GameInterval();
    due_ = std::min(due_ + interval, now + interval);
}
