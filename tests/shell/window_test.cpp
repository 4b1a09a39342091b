#include "platform/headless/control.h"
#include "shell/windx.h"
#include "tests/support/engine_fixture.h"

namespace {

class WindowTest : public EngineTest {
protected:
    bool Start(int fullscreen, int width, int height) {
        Corvane.showCommand = SW_SHOWNORMAL;
        Corvane.fullscreenRequested = fullscreen;
        Corvane.requestedWidth = width;
        Corvane.requestedHeight = height;
        return Corvane.InitWindow();
    }
};

TEST_F(WindowTest, WindowedClientAreaIsExactAndCentred) {
    ASSERT_TRUE(Start(0, 800, 500));
    EXPECT_EQ(Corvane.GetStatus(), SHOWWIN_OK);
    const headless::WindowInfo info = headless::Describe(Corvane.GetWindow());
    EXPECT_EQ(info.client.right - info.client.left, 800);
    EXPECT_EQ(info.client.bottom - info.client.top, 500);
    const int outerWidth = info.outer.right - info.outer.left;
    const int outerHeight = info.outer.bottom - info.outer.top;
    EXPECT_EQ(info.outer.left, 960 - (outerWidth >> 1));
    EXPECT_EQ(info.outer.top, 540 - (outerHeight >> 1));
    EXPECT_EQ(info.style, static_cast<DWORD>(WS_SYSMENU));
    EXPECT_EQ(info.exStyle, static_cast<DWORD>(WS_EX_APPWINDOW));
    EXPECT_EQ(info.className, "Corvane");
    EXPECT_EQ(info.title, "");
    EXPECT_TRUE(info.visible);
    EXPECT_EQ(Corvane.originX, info.client.left);
    EXPECT_EQ(Corvane.originY, info.client.top);
    EXPECT_EQ(Corvane.clipRight, 799);
    EXPECT_EQ(Corvane.clipBottom, 499);
}

TEST_F(WindowTest, MeasuringWindowIsCreatedFirstAndStaysHidden) {
    ASSERT_TRUE(Start(0, 640, 480));
    const auto windows = headless::Windows();
    ASSERT_EQ(windows.size(), 2u);
    const headless::WindowInfo measuring = headless::Describe(windows[0]);
    EXPECT_FALSE(measuring.visible);
    EXPECT_FALSE(measuring.destroyed);
    EXPECT_EQ(measuring.outer.right - measuring.outer.left, 640);
    EXPECT_EQ(windows[1], Corvane.GetWindow());
}

TEST_F(WindowTest, ZeroSizeGivesTheDesktopSize) {
    headless::SetDesktop(1024, 768, 16);
    ASSERT_TRUE(Start(0, 0, 0));
    EXPECT_EQ(Corvane.width, 1024);
    EXPECT_EQ(Corvane.height, 768);
    const headless::WindowInfo info = headless::Describe(Corvane.GetWindow());
    EXPECT_EQ(info.client.right - info.client.left, 1024);
    EXPECT_EQ(info.client.bottom - info.client.top, 768);
}

TEST_F(WindowTest, DesktopSizeIsAcceptedOnePixelMoreIsNot) {
    headless::SetDesktop(1024, 768, 16);
    EXPECT_TRUE(Start(0, 1024, 768));
    for (auto size : {std::pair<int, int>{1025, 768}, {1024, 769}}) {
        headless::Reset();
        headless::SetDesktop(1024, 768, 16);
        ResetEngine();
        EXPECT_FALSE(Start(0, size.first, size.second));
        EXPECT_EQ(Corvane.GetStatus(), REQSIZE_FAILED);
        EXPECT_TRUE(headless::Windows().empty());
    }
}

TEST_F(WindowTest, FullScreenSizeIsNotCheckedAndWindowIsABorderlessPopup) {
    headless::SetDesktop(800, 600, 16);
    ASSERT_TRUE(Start(1, 1600, 1200));
    const headless::WindowInfo info = headless::Describe(Corvane.GetWindow());
    EXPECT_EQ(info.style, static_cast<DWORD>(WS_POPUP));
    EXPECT_EQ(info.outer.left, 0);
    EXPECT_EQ(info.outer.top, 0);
    EXPECT_EQ(info.client.right - info.client.left, 1600);
    EXPECT_EQ(Corvane.fullscreen, 1);
}

TEST_F(WindowTest, OnlySixteenBitDesktopsAreAcceptedBeforeAnyWindowExists) {
    for (int bits : {8, 32}) {
        for (int mode : {0, 1}) {
            SCOPED_TRACE(bits * 10 + mode);
            headless::Reset();
            headless::SetDesktop(1920, 1080, bits);
            ResetEngine();
            EXPECT_FALSE(Start(mode, 800, 500));
            EXPECT_EQ(Corvane.GetStatus(), BPP_FAILED);
            EXPECT_EQ(Corvane.screenBits, bits);
            EXPECT_TRUE(headless::Windows().empty());
        }
    }
}

TEST_F(WindowTest, EachWindowStepFailureHasItsCode) {
    struct Case {
        headless::Op op;
        int call;
        int status;
    } cases[] = {
        {headless::Op::RegisterClass, 1, INITCLASS_FAILED},
        {headless::Op::CreateWindow, 1, INITWINTEMP_FAILED},
        {headless::Op::CreateWindow, 2, INITWINREAL_FAILED},
        {headless::Op::UpdateWindow, 1, SHOWWIN_FAILED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        headless::Reset();
        ResetEngine();
        headless::FailCall(c.op, c.call, 0);
        EXPECT_FALSE(Start(0, 800, 500));
        EXPECT_EQ(Corvane.GetStatus(), c.status);
    }
}

TEST_F(WindowTest, ClassIsRegisteredAsTheEngineNeedsIt) {
    ASSERT_TRUE(Corvane.RegisterWindowClass());
    const auto calls = headless::CallsOf(headless::Op::RegisterClass);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].text, "Corvane");
    EXPECT_EQ(calls[0].args[0], CS_HREDRAW | CS_VREDRAW);
    EXPECT_EQ(Corvane.GetStatus(), INITCLASS_OK);
}

TEST_F(WindowTest, ShowingTheWindowActivatesTheEngine) {
    ASSERT_TRUE(Start(0, 800, 500));
    EXPECT_EQ(Corvane.active, 1) << "activation arrives while the window is shown";
    EXPECT_EQ(GetForegroundWindow(), Corvane.GetWindow());
}

}  // namespace
