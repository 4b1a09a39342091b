#include "tests/display/display_fixture.h"
#include "tests/support/test_hooks.h"

namespace {

class GameLoopTest : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        testhooks::Reset();
    }
    void TearDown() override {
        testhooks::Reset();
        DisplayTest::TearDown();
    }
};

// A small game: a white square moving right by 10 pixels a frame over blue.
int DrawFrame() {
    const int frame = testhooks::runCalls - 1;
    Corvane.LockSurface();
    Corvane.FillBox(0, 0, 799, 499, 0, 0, 255);
    Corvane.FillBox(100 + 10 * frame, 200, 149 + 10 * frame, 249, 255, 255, 255);
    Corvane.UnlockSurface();
    return Corvane.ViewUpdate();
}

TEST_F(GameLoopTest, WindowedGameRunsPresentsItsFramesAndEndsOnClose) {
    testhooks::onInitialize = [] { Corvane.Initialize(false, 800, 500); };
    testhooks::onRun = DrawFrame;
    headless::KeepAllFrames(true);
    headless::PostWindowMessageAt(3, WM_CLOSE);

    static char instance;
    char commandLine[] = "";
    EXPECT_EQ(WinMain(reinterpret_cast<HINSTANCE>(&instance), nullptr, commandLine, SW_SHOWNORMAL),
              0);
    EXPECT_EQ(testhooks::runCalls, 3);
    EXPECT_EQ(headless::PresentCount(), 3);
    EXPECT_TRUE(headless::MessageBoxes().empty());

    const headless::Frame& last = headless::LastFrame();
    ASSERT_EQ(last.width, 800);
    ASSERT_EQ(last.height, 500);
    // Third frame: the square spans x 120..169, y 200..249.
    int wrong = 0;
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 800; ++x) {
            const bool square = x >= 120 && x <= 169 && y >= 200 && y <= 249;
            wrong += last.At(x, y) != (square ? 0x7FFF : 0x001F);
        }
    EXPECT_EQ(wrong, 0);
    ASSERT_EQ(headless::PresentedFrames().size(), 3u);
    EXPECT_EQ(headless::PresentedFrames()[0].At(100, 200), 0x7FFF);
    EXPECT_EQ(headless::PresentedFrames()[0].At(150, 200), 0x001F);

    // The loop's clean-up released the whole display.
    EXPECT_EQ(headless::LiveSurfaces(), 0);
    EXPECT_EQ(headless::LiveDirectDrawObjects(), 0);
}

}  // namespace
