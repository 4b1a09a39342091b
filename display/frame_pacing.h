// Frame pacing. The game's rules count frames (a pixel a frame, a walk step
// every 30), so the engine decides how often frames come: a picture is shown at
// most once per display refresh, and a frame that shows nothing (the window
// inactive or behind another) takes a frame's time too, waiting instead of
// spinning. The platform only provides the clock and the waits.
#pragma once

#include "platform/api/platform.h"

class FramePacer {
public:
    FramePacer() = default;
    // Gives back the timer resolution taken when pacing started.
    ~FramePacer();
    FramePacer(const FramePacer&) = delete;
    FramePacer& operator=(const FramePacer&) = delete;

    // Called right before a picture is shown. A windowed picture waits for
    // DirectDraw's vertical blank where that wait was found to really wait;
    // otherwise the frame waits until one refresh interval has passed since
    // the previous one, unless the presentations themselves wait for the
    // display (see PresentDone).
    void WaitBeforePresent(IDirectDraw* directDraw, bool windowed);
    // Called right after a picture was shown. Presentations that wait for the
    // display (a flip, or a renderer with vertical sync), taking half an
    // interval or more and keeping the pictures a refresh apart, pace the
    // frames by themselves; waiting for the clock as well would make frames
    // miss refreshes whenever a wait overran. One that returns at once hands
    // the pacing back to the clock, and so, for good, do slow presentations
    // that once let pictures come closer than a refresh.
    void PresentDone();
    // Called for a frame that shows nothing: waits until the frame's time is
    // up, or less when a posted or sent message (activation, focus, closing)
    // arrives. Input alone does not end the wait, so frames stay steady.
    void WaitWithoutPresent();

    // Performance-counter ticks per refresh interval; 0 until the first wait.
    LONGLONG Interval() const { return interval_; }
    // Whether windowed pictures wait for DirectDraw's vertical blank.
    bool WaitsForVerticalBlank() const { return verticalBlankWaits_; }
    // Whether the presentations were last found to wait for the display.
    bool DisplayPaces() const { return displayPaces_; }

private:
    void Start();
    void MeasureVerticalBlank(IDirectDraw* directDraw);
    LONGLONG Now() const;
    // Milliseconds to wait for a number of counter ticks, rounded up.
    DWORD Milliseconds(LONGLONG ticks) const;
    // Moves the next frame's time on from a frame that ended at now.
    void Advance(LONGLONG now);

    LONGLONG ticksPerSecond_ = 0;
    LONGLONG interval_ = 0;
    // When the next frame is due, in counter ticks.
    LONGLONG due_ = 0;
    bool started_ = false;
    bool timerResolutionTaken_ = false;
    bool verticalBlankMeasured_ = false;
    bool verticalBlankWaits_ = false;
    // When the last presentation began and ended, in counter ticks.
    LONGLONG presentStart_ = 0;
    LONGLONG presentEnd_ = 0;
    bool displayPaces_ = false;
    bool presentsMerelySlow_ = false;
};
