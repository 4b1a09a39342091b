// Frame pacing on the headless clock, whose time moves only when the engine
// waits or a test stands in for a frame's work, so every timing is exact.
#include <algorithm>
#include <random>
#include <string>
#include <tuple>
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

    // Frames and pictures a second of the clock over a run of frames.
    struct Rates {
        double frames = 0;
        double pictures = 0;
        std::vector<LONGLONG> times;
    };
    static Rates MeasureRates(int frames, LONGLONG maxWork, std::mt19937& random) {
        const LONGLONG start = ClockTicks();
        Rates rates;
        rates.times = PresentTimes(frames, maxWork, random);
        const double seconds = static_cast<double>(ClockTicks() - start) / kClockTicksPerSecond;
        rates.frames = frames / seconds;
        rates.pictures = static_cast<double>(rates.times.size()) / seconds;
        return rates;
    }

    static int OffTheBlank(const std::vector<LONGLONG>& times, LONGLONG refresh) {
        int off = 0;
        for (LONGLONG time : times) off += time % refresh != 0;
        return off;
    }

    static LONGLONG ShortestGap(const std::vector<LONGLONG>& times) {
        LONGLONG shortest = kClockTicksPerSecond;
        for (size_t i = 1; i < times.size(); ++i)
            shortest = std::min(shortest, times[i] - times[i - 1]);
        return shortest;
    }
};

// With the game rate 0, one frame per refresh of whatever display.
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
        ASSERT_TRUE(Corvane.SetFrameRate(0));
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
        if (windowedBlank || display.presentsWait) {
            EXPECT_EQ(OffTheBlank(times, interval), 0) << "pictures between vertical blanks";
        }
    }
}

// On a 144 Hz display a frame's time is the game's 1/60 s.
TEST_F(FramePacingTest, FramesThatShowNothingTakeAFramesTimeUnlessAMessageComes) {
    headless::SetRefreshRate(144);
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

    // Back in front, pictures come at the game rate again, on the blanks.
    headless::SetForeground(Corvane.GetWindow());
    const Rates rates = MeasureRates(120, interval / 2, random);
    EXPECT_EQ(rates.times.size(), 120u);
    EXPECT_NEAR(rates.frames, 60.0, 0.6);
    EXPECT_EQ(OffTheBlank(rates.times, kClockTicksPerSecond / 144), 0);
}

// What tells the engine when the display refreshes.
enum class Waits {
    Nothing,        // the clock alone (Wine: the vertical blank answers at once)
    VerticalBlank,  // a windowed copy after DirectDraw's WaitForVerticalBlank
    Flips,          // a full-screen flip that waits for the vertical blank
    Renderer,       // a windowed renderer with vertical sync (the SDL backend)
};

class GameRateTest : public FramePacingTest,
                     public ::testing::WithParamInterface<std::tuple<int, Waits>> {
protected:
    // Starts the engine on a display that refreshes hertz times a second, each
    // sleep a millisecond longer than asked, as on a busy machine.
    static bool StartOn(int hertz, Waits waits) {
        headless::SetRefreshRate(hertz);
        headless::SetVerticalBlankWaits(waits == Waits::VerticalBlank);
        headless::SetPresentsWaitForVerticalBlank(waits == Waits::Flips ||
                                                  waits == Waits::Renderer);
        headless::SetSleepOvershoot(kClockTicksPerSecond / 1000);
        return Start(waits == Waits::Flips ? 1 : 0, 320, 200);
    }
};

// The game's rate is the engine's default: 60 frames a second of the clock
// whatever the display; pictures as often as the display can show them, up to
// one a frame, on its vertical blanks where it tells them, never two within
// one refresh.
TEST_P(GameRateTest, SixtyFramesASecondWhateverTheRefreshRate) {
    const auto [hertz, waits] = GetParam();
    ASSERT_TRUE(StartOn(hertz, waits));
    const LONGLONG refresh = kClockTicksPerSecond / hertz;
    const LONGLONG frame = kClockTicksPerSecond / 60;
    std::mt19937 random(static_cast<unsigned>(hertz));
    PresentTimes(20, frame / 2, random);
    const Rates rates = MeasureRates(600, frame / 2, random);
    EXPECT_NEAR(rates.frames, 60.0, 0.6);
    EXPECT_NEAR(rates.pictures, std::min(hertz, 60), std::min(hertz, 60) * 0.01);
    EXPECT_EQ(Corvane.framePacer.DisplayPaces(), waits == Waits::Flips || waits == Waits::Renderer);

    // Frames slower than their time now and then: still no burst of pictures.
    std::vector<LONGLONG> times = rates.times;
    const std::vector<LONGLONG> slow = PresentTimes(300, frame * 3 / 2, random);
    times.insert(times.end(), slow.begin(), slow.end());
    EXPECT_GE(ShortestGap(times), refresh * 3 / 4);
    if (waits != Waits::Nothing) {
        EXPECT_EQ(OffTheBlank(times, refresh), 0) << "pictures between vertical blanks";
    }
}

std::string DisplayName(const ::testing::TestParamInfo<std::tuple<int, Waits>>& info) {
    static const char* const names[] = {"Clock", "VerticalBlank", "Flips", "Renderer"};
    return std::to_string(std::get<0>(info.param)) + "Hz" +
           names[static_cast<int>(std::get<1>(info.param))];
}

INSTANTIATE_TEST_SUITE_P(Displays, GameRateTest,
                         ::testing::Combine(::testing::Values(50, 60, 75, 120, 144, 165, 240),
                                            ::testing::Values(Waits::Nothing, Waits::VerticalBlank,
                                                              Waits::Flips, Waits::Renderer)),
                         DisplayName);

// A game's own rate, slower or faster than the display, in place of the 60.
TEST_F(GameRateTest, AGameChoosesItsOwnRate) {
    EXPECT_EQ(Corvane.GetFrameRate(), 60);
    EXPECT_FALSE(Corvane.SetFrameRate(-1));
    EXPECT_FALSE(Corvane.SetFrameRate(1001));
    EXPECT_EQ(Corvane.GetFrameRate(), 60);
    ASSERT_TRUE(StartOn(50, Waits::Nothing));
    std::mt19937 random(5);
    for (int rate : {24, 90}) {
        SCOPED_TRACE(rate);
        ASSERT_TRUE(Corvane.SetFrameRate(rate));
        const LONGLONG frame = kClockTicksPerSecond / rate;
        PresentTimes(20, frame / 2, random);
        const Rates rates = MeasureRates(rate * 5, frame / 2, random);
        EXPECT_NEAR(rates.frames, rate, rate * 0.01);
        EXPECT_NEAR(rates.pictures, std::min(rate, 50), std::min(rate, 50) * 0.01);
    }
}

}  // namespace
