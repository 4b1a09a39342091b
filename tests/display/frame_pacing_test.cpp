// Frame pacing on the headless clock, whose time moves only when the engine
// waits or a test stands in for a frame's work, so every timing is exact.
#include <random>
#include <vector>

#include "tests/display/display_fixture.h"

namespace {

using headless::ClockTicks;
using headless::kClockTicksPerSecond;

class FramePacingTest : public DisplayTest {
protected:
    // Runs frames whose work takes up to maxWork clock ticks each, and gives
    // the clock's time at every picture shown.
    static std::vector<LONGLONG> PresentTimes(int frames, LONGLONG maxWork, std::mt19937& random) {
        std::uniform_int_distribution<LONGLONG> work(0, maxWork);
        std::vector<LONGLONG> times;
        for (int frame = 0; frame < frames; ++frame) {
            headless::AdvanceClock(work(random));
            const int before = headless::PresentCount();
            Corvane.ViewUpdate();
            if (headless::PresentCount() > before) times.push_back(ClockTicks());
        }
        return times;
    }

    static LONGLONG ShortestGap(const std::vector<LONGLONG>& times) {
        LONGLONG shortest = kClockTicksPerSecond;
        for (size_t i = 1; i < times.size(); ++i)
            shortest = std::min(shortest, times[i] - times[i - 1]);
        return shortest;
    }
};

TEST_F(FramePacingTest, PicturesComeOncePerRefreshWhateverTheDisplayWaitsFor) {
    struct Display {
        const char* name;
        int fullscreen;
        int reportedRate;
        bool verticalBlankWaits;  // WaitForVerticalBlank really waits
        bool presentsWait;        // a flip or a present waits for the vertical blank
        int overshootMs;          // how much longer than asked every sleep lasts
        int presentMs;            // work a presentation takes (a copy in software)
        int rate;                 // what the pictures should come at
    };
    const Display displays[] = {
        {"windowed, waiting vertical blank", 0, 60, true, false, 0, 0, 60},
        {"windowed, vertical blank answers at once", 0, 75, false, false, 0, 0, 75},
        {"windowed, refresh rate unknown", 0, 1, false, false, 0, 0, 60},
        {"full screen, flips at once", 1, 50, true, false, 0, 0, 50},
        {"full screen, refresh rate unknown", 1, 0, false, false, 0, 0, 60},
        // A flip or a renderer with vertical sync paces by itself; sleeping as
        // well would miss refreshes whenever a sleep overran.
        {"full screen, flips wait, sleeps overrun", 1, 60, false, true, 6, 0, 60},
        {"windowed, presents wait, sleeps overrun", 0, 60, false, true, 6, 2, 60},
        // Slow but not waiting: the clock paces.
        {"full screen, flips slow but at once", 1, 60, false, false, 0, 10, 60},
    };
    std::mt19937 random(7);
    for (const Display& display : displays) {
        SCOPED_TRACE(display.name);
        headless::Reset();
        ResetEngine();
        headless::SetRefreshRate(display.reportedRate);
        headless::SetVerticalBlankWaits(display.verticalBlankWaits);
        headless::SetPresentsWaitForVerticalBlank(display.presentsWait);
        headless::SetSleepOvershoot(display.overshootMs * kClockTicksPerSecond / 1000);
        headless::SetPresentTicks(display.presentMs * kClockTicksPerSecond / 1000);
        ASSERT_TRUE(Start(display.fullscreen, 320, 200));
        const LONGLONG interval = kClockTicksPerSecond / display.rate;

        // Frames that take less than half an interval: once the engine has seen
        // how the display behaves, one picture per refresh, no more and no fewer.
        PresentTimes(10, interval / 2, random);
        std::vector<LONGLONG> times = PresentTimes(300, interval / 2, random);
        ASSERT_EQ(times.size(), 300u);
        const double perInterval =
            static_cast<double>(times.back() - times.front()) / (299.0 * interval);
        EXPECT_NEAR(perInterval, 1.0, 0.01);
        EXPECT_GE(ShortestGap(times), interval * 3 / 4);
        EXPECT_EQ(Corvane.framePacer.DisplayPaces(), display.presentsWait);

        // Frames slower than a refresh now and then: still never two pictures
        // in quick succession to make up for them.
        times = PresentTimes(300, interval * 3 / 2, random);
        EXPECT_GE(ShortestGap(times), interval * 3 / 4);

        const bool windowedBlank = display.fullscreen == 0 && display.verticalBlankWaits;
        EXPECT_EQ(Corvane.framePacer.WaitsForVerticalBlank(), windowedBlank);
        int offTheBlank = 0;
        for (LONGLONG time : times) offTheBlank += time % interval != 0;
        if (windowedBlank || display.presentsWait) {
            EXPECT_EQ(offTheBlank, 0) << "pictures between vertical blanks";
        }
    }
}

TEST_F(FramePacingTest, FramesThatShowNothingTakeAFramesTimeUnlessAMessageComes) {
    ASSERT_TRUE(Start(0, 320, 200));
    headless::SetForeground(headless::OtherProgramWindow());
    const LONGLONG interval = kClockTicksPerSecond / 60;
    const LONGLONG millisecond = kClockTicksPerSecond / 1000;
    std::mt19937 random(11);
    const LONGLONG start = ClockTicks();
    EXPECT_TRUE(PresentTimes(120, interval / 2, random).empty());
    EXPECT_NEAR(ClockTicks() - start, 120 * interval, interval);

    // Input for a window in the background leaves the wait whole; a posted
    // message (activation, closing) ends it at once.
    headless::PostWindowMessage(WM_MOUSEMOVE);
    LONGLONG before = ClockTicks();
    Corvane.ViewUpdate();
    EXPECT_NEAR(ClockTicks() - before, interval, millisecond);
    headless::PostWindowMessage(WM_ACTIVATEAPP, 1);
    before = ClockTicks();
    Corvane.ViewUpdate();
    EXPECT_EQ(ClockTicks(), before);
}

}  // namespace
