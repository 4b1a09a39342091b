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

}  // namespace
