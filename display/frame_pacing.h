/// @file
/// Frame pacing. The game's rules count frames (a pixel a frame, a walk step
/// every 30), so the engine decides how often frames come: at the game rate (60
/// a second unless the game chooses another) whatever the display refreshes at.
/// A picture is shown at most once per display refresh, on the vertical blank
/// where the display tells when that is; when the display refreshes more slowly
/// than the game runs, some frames show no picture. A frame that shows nothing
/// (the window inactive or behind another) takes a frame's time too, waiting
/// instead of spinning. The platform only provides the clock and the waits.
#pragma once

#include "platform/api/platform.h"

/// @cond ENGINE_INTERNALS
class FramePacer {
public:
    // Frames a second a game runs at unless it chooses another rate.
    static constexpr int kDefaultGameRate = 60;
    // The highest game rate a game may choose.
    static constexpr int kHighestGameRate = 1000;

    FramePacer() = default;
    // Gives back the timer resolution taken when pacing started.
    ~FramePacer();
    FramePacer(const FramePacer&) = delete;
    FramePacer& operator=(const FramePacer&) = delete;

    // How many frames a second the game runs at, whatever the display refreshes
    // at; 0 runs one frame per display refresh. False, and the rate kept, outside
    // 0 to kHighestGameRate.
    bool SetGameRate(int framesPerSecond);
    int GameRate() const { return gameRate_; }
    // The time one frame stands for, in seconds: 1 / the game rate, or at rate
    // 0 the display's refresh (60 Hz until pacing has started and asked).
    double FrameSeconds() const;

    // Called right before a picture is shown: waits until the frame's time has
    // come and the refresh its picture belongs to. A windowed picture waits for
    // DirectDraw's vertical blank where that wait was found to really wait;
    // presentations that wait for the display themselves (see PresentDone) are
    // let wait; otherwise the clock keeps refreshes of its own. False when the
    // picture is not to be shown: the display refreshes more slowly than the game
    // runs and the refresh this frame falls in has its picture already.
    bool WaitBeforePresent(IDirectDraw* directDraw, bool windowed);
    // Called right after a picture was shown. Presentations that wait for the
    // display (a flip, or a renderer with vertical sync), taking half a refresh
    // or more and keeping the pictures a refresh apart, tell when the vertical
    // blanks come; one that returns at once hands the refreshes back to the
    // clock, and so, for good, do slow presentations that once let pictures
    // come closer than a refresh.
    void PresentDone();
    // Called for a frame that shows nothing: waits until the frame's time is
    // up, or less when a posted or sent message (activation, focus, closing)
    // arrives. Input alone does not end the wait, so frames stay steady.
    void WaitWithoutPresent();

    // Whether windowed pictures wait for DirectDraw's vertical blank.
    bool WaitsForVerticalBlank() const { return verticalBlankWaits_; }
    // Whether the presentations were last found to wait for the display.
    bool DisplayPaces() const { return displayPaces_; }

private:
    void Start();
    void MeasureVerticalBlank(IDirectDraw* directDraw);
    bool UsesVerticalBlankWait(IDirectDraw* directDraw, bool windowed);
    LONGLONG Now() const;
    // Performance-counter ticks per game frame.
    LONGLONG GameInterval() const;
    // Milliseconds to wait for a number of counter ticks, rounded up.
    DWORD Milliseconds(LONGLONG ticks) const;
    // Sleeps until the counter reaches the time given.
    void SleepUntil(LONGLONG time) const;
    // Refreshes from the last picture's blank to this frame's; 0 when this
    // frame shows no picture.
    LONGLONG BlanksAhead(LONGLONG now, bool onBlanks) const;
    // Sleeps until the picture's blank is near, or (where a presentation
    // does not wait) has come. False when this frame shows no picture.
    bool SleepTowardsBlank(LONGLONG now, bool onBlanks);
    // Finds out from a presentation that ended at now and took so many ticks
    // whether presentations wait for the display.
    void NotePresentTime(LONGLONG now, LONGLONG took);

    int gameRate_ = kDefaultGameRate;
    LONGLONG ticksPerSecond_ = 0;
    // Counter ticks per display refresh; 0 until the first wait, and where
    // the counter does not work.
    LONGLONG refresh_ = 0;
    bool started_ = false;
    bool timerResolutionTaken_ = false;
    bool verticalBlankMeasured_ = false;
    bool verticalBlankWaits_ = false;
    // When the next frame's picture is due, in counter ticks, while frames keep
    // a cadence (not before the first picture, nor after falling behind by
    // more than a frame and a refresh).
    LONGLONG due_ = 0;
    bool onCadence_ = false;
    // The vertical blank of the last picture (real, or the clock's own where the
    // display does not tell); the blanks after it follow a refresh apart.
    // Unknown before the first picture and after frames that showed nothing.
    LONGLONG lastBlank_ = 0;
    bool blankKnown_ = false;
    // The blank the picture being shown was aimed at.
    LONGLONG aimedBlank_ = 0;
    // When the last presentation began and ended, in counter ticks.
    LONGLONG presentStart_ = 0;
    LONGLONG presentEnd_ = 0;
    bool displayPaces_ = false;
    bool presentsMerelySlow_ = false;
};
/// @endcond
