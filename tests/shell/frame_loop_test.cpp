#include <tuple>
#include <vector>

#include "platform/headless/control.h"
#include "shell/windx.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/test_hooks.h"

namespace {

class FrameLoopTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        testhooks::Reset();
    }
    void TearDown() override {
        testhooks::Reset();
        EngineTest::TearDown();
    }

    // Starts the window only and declares the engine ready, so the loop runs.
    static void ReadyWithWindowOnly() {
        Corvane.showCommand = SW_SHOWNORMAL;
        Corvane.fullscreenRequested = 0;
        Corvane.requestedWidth = 320;
        Corvane.requestedHeight = 200;
        Corvane.InitWindow();
        Corvane.status = INIT_OK;
    }

    // The whole start-up, as a game's initialize makes it.
    static void StartFully() {
        Corvane.Initialize(0, 320, 200);
        ASSERT_EQ(Corvane.GetStatus(), INIT_OK);
    }

    static int RunWinMain() {
        static char instance;
        char commandLine[] = "";
        return WinMain(reinterpret_cast<HINSTANCE>(&instance), nullptr, commandLine, SW_SHOWNORMAL);
    }
};

TEST_F(FrameLoopTest, InitializeWithoutStartUpEndsWithNoInitReport) {
    bool hookFinished = false;
    testhooks::onInitialize = [&] { hookFinished = true; };
    EXPECT_EQ(RunWinMain(), -1);
    EXPECT_TRUE(hookFinished);
    EXPECT_EQ(testhooks::runCalls, 0);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_NE(headless::MessageBoxes()[0].text.find("Error: NO_INIT"), std::string::npos);
}

TEST_F(FrameLoopTest, InstanceAndShowCommandAreStoredBeforeInitialize) {
    HINSTANCE seen = nullptr;
    int show = -1;
    testhooks::onInitialize = [&] {
        seen = Corvane.hInstance;
        show = Corvane.showCommand;
    };
    RunWinMain();
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(show, SW_SHOWNORMAL);
}

TEST_F(FrameLoopTest, ClosingTheWindowEndsTheLoopWithExitCodeZero) {
    testhooks::onInitialize = ReadyWithWindowOnly;
    headless::PostWindowMessageAt(5, WM_CLOSE);
    EXPECT_EQ(RunWinMain(), 0);
    EXPECT_EQ(testhooks::runCalls, 5) << "no run after the quit message";
    EXPECT_TRUE(headless::Describe(headless::MainWindow()).destroyed);
}

TEST_F(FrameLoopTest, QuitCodeIsTheLoopsResult) {
    testhooks::onInitialize = ReadyWithWindowOnly;
    testhooks::onRun = [] {
        if (testhooks::runCalls == 3) PostQuitMessage(7);
        return 1;
    };
    EXPECT_EQ(RunWinMain(), 7);
    EXPECT_EQ(testhooks::runCalls, 3);
}

TEST_F(FrameLoopTest, QuitTakesTheSameRoad) {
    testhooks::onInitialize = ReadyWithWindowOnly;
    testhooks::onRun = [] {
        Corvane.Quit();
        return 1;
    };
    EXPECT_EQ(RunWinMain(), 0);
    EXPECT_EQ(testhooks::runCalls, 1);
}

TEST_F(FrameLoopTest, EveryWaitingMessageIsHandledBeforeTheNextFrame) {
    testhooks::onInitialize = ReadyWithWindowOnly;
    headless::PostWindowMessageAt(2, WM_CHAR, 'a');
    headless::PostWindowMessageAt(2, WM_CHAR, 'b');
    headless::PostWindowMessageAt(2, WM_KEYDOWN, VK_RIGHT);
    headless::PostWindowMessageAt(4, WM_CLOSE);
    std::vector<int> keyCounts;
    std::vector<int> rightDown;
    testhooks::onRun = [&] {
        keyCounts.push_back(Corvane.keyCount);
        rightDown.push_back(Corvane.IsKeyDown(VK_RIGHT));
        return 1;
    };
    EXPECT_EQ(RunWinMain(), 0);
    EXPECT_EQ(keyCounts, (std::vector<int>{0, 0, 2, 2}));
    EXPECT_EQ(rightDown, (std::vector<int>{0, 0, 1, 1}));
}

TEST_F(FrameLoopTest, TranslateMessageTypesEscapeFromItsKey) {
    testhooks::onInitialize = ReadyWithWindowOnly;
    headless::PostWindowMessageAt(1, WM_KEYDOWN, VK_ESCAPE);
    headless::PostWindowMessageAt(2, WM_CLOSE);
    char typed = 0;
    testhooks::onRun = [&] {
        if (testhooks::runCalls == 2) typed = Corvane.GetKey();
        return 1;
    };
    RunWinMain();
    EXPECT_EQ(typed, 27);
}

TEST_F(FrameLoopTest, CleanUpReleasesNothingWhenNoDisplayExists) {
    EXPECT_TRUE(Corvane.CleanUp());
    EXPECT_EQ(ReadDebugLog(), "");
}

// Held, pressed and released, as a frame sees one key.
using KeySeen = std::tuple<int, bool, bool>;

TEST_F(FrameLoopTest, AKeyIsPressedAndReleasedInOneFrameEachHeldOrTapped) {
    testhooks::onInitialize = StartFully;
    // Messages "at n" arrive after n frames, before frame n + 1.
    headless::PostWindowMessageAt(1, WM_KEYDOWN, VK_SPACE);
    headless::PostWindowMessageAt(2, WM_KEYDOWN, VK_SPACE);  // the key repeating
    headless::PostWindowMessageAt(4, WM_KEYUP, VK_SPACE);
    // A tap between two frames: down and up before frame 7.
    headless::PostWindowMessageAt(6, WM_KEYDOWN, VK_SPACE);
    headless::PostWindowMessageAt(6, WM_KEYUP, VK_SPACE);
    // Let go and pressed again before frame 9.
    headless::PostWindowMessageAt(7, WM_KEYDOWN, VK_SPACE);
    headless::PostWindowMessageAt(8, WM_KEYUP, VK_SPACE);
    headless::PostWindowMessageAt(8, WM_KEYDOWN, VK_SPACE);
    headless::PostWindowMessageAt(9, WM_CLOSE);
    std::vector<KeySeen> seen;
    testhooks::onRun = [&] {
        seen.emplace_back(Corvane.IsKeyDown(VK_SPACE), Corvane.IsKeyPressed(VK_SPACE),
                          Corvane.IsKeyReleased(VK_SPACE));
        return Corvane.ViewUpdate();
    };
    EXPECT_EQ(RunWinMain(), 0);
    const std::vector<KeySeen> expected = {
        {0, false, false}, {1, true, false}, {1, false, false}, {1, false, false}, {0, false, true},
        {0, false, false}, {0, true, true},  {1, true, false},  {1, true, true},
    };
    EXPECT_EQ(seen, expected);
    // Other keys saw nothing.
    EXPECT_FALSE(Corvane.IsKeyPressed(VK_LEFT));
}

TEST_F(FrameLoopTest, FramesAreCountedFromZeroAndLastTheGameRatesTime) {
    testhooks::onInitialize = [] {
        StartFully();
        Corvane.SetFrameRate(25);
    };
    headless::PostWindowMessageAt(3, WM_CLOSE);
    std::vector<long long> counts;
    double frameTime = 0;
    testhooks::onRun = [&] {
        counts.push_back(Corvane.GetFrameCount());
        frameTime = Corvane.GetFrameTime();
        return Corvane.ViewUpdate();
    };
    EXPECT_EQ(RunWinMain(), 0);
    EXPECT_EQ(counts, (std::vector<long long>{0, 1, 2}));
    EXPECT_DOUBLE_EQ(frameTime, 0.04);
}

TEST_F(FrameLoopTest, OnePerRefreshTakesTheDisplaysRefreshAsTheFrameTime) {
    EXPECT_DOUBLE_EQ(Corvane.GetFrameTime(), 1.0 / 60) << "the default rate";
    headless::SetRefreshRate(50);
    testhooks::onInitialize = [] {
        StartFully();
        Corvane.SetFrameRate(0);
    };
    headless::PostWindowMessageAt(2, WM_CLOSE);
    double frameTime = 0;
    testhooks::onRun = [&] {
        const int shown = Corvane.ViewUpdate();
        frameTime = Corvane.GetFrameTime();
        return shown;
    };
    EXPECT_EQ(RunWinMain(), 0);
    EXPECT_DOUBLE_EQ(frameTime, 1.0 / 50);
}

TEST_F(FrameLoopTest, EndGameFinishesTheFrameThenClosesTheWindow) {
    testhooks::onInitialize = StartFully;
    int presentsAtEnd = -1;
    testhooks::onRun = [&] {
        const int shown = Corvane.ViewUpdate();
        if (testhooks::runCalls == 3) {
            Corvane.EndGame();
            presentsAtEnd = headless::PresentCount();
        }
        return shown;
    };
    EXPECT_EQ(RunWinMain(), 0);
    EXPECT_EQ(testhooks::runCalls, 3);
    EXPECT_EQ(headless::PresentCount(), presentsAtEnd) << "nothing shown after the last frame";
    EXPECT_TRUE(headless::Describe(headless::MainWindow()).destroyed);
    EXPECT_EQ(headless::LiveSurfaces(), 0) << "the display released as at any end";
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(FrameLoopTest, EndGameFromInitializeRunsNoFrame) {
    testhooks::onInitialize = [] {
        StartFully();
        Corvane.EndGame();
    };
    EXPECT_EQ(RunWinMain(), 0);
    EXPECT_EQ(testhooks::runCalls, 0);
    EXPECT_TRUE(headless::Describe(headless::MainWindow()).destroyed);
}

TEST_F(FrameLoopTest, WithoutAWindowTheEndPostsTheQuitMessageOnce) {
    EXPECT_FALSE(Corvane.EndIfRequested());
    Corvane.EndGame();
    EXPECT_TRUE(Corvane.EndIfRequested());
    EXPECT_FALSE(Corvane.EndIfRequested()) << "asked once, ended once";
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 0u);
}

}  // namespace
