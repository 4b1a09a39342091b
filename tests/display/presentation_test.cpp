#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "tests/display/display_fixture.h"

namespace {

using headless::CallsOf;
using headless::Op;

class PresentationTest : public DisplayTest {};

TEST_F(PresentationTest, LockWaitsForTheBackSurfaceAndUnlockForgetsTheBuffer) {
    ASSERT_TRUE(Start(0, 320, 200));
    ASSERT_TRUE(Corvane.LockSurface());
    EXPECT_NE(Corvane.GetBackBuffer(), nullptr);
    const auto locks = CallsOf(Op::Lock);
    ASSERT_EQ(locks.size(), 1u);
    EXPECT_EQ(locks[0].text, "offscreen");
    EXPECT_EQ(locks[0].args, (std::vector<long long>{DDLOCK_WAIT})) << "whole surface";
    EXPECT_EQ(Corvane.UnlockSurface(), 1);
    EXPECT_EQ(Corvane.GetBackBuffer(), nullptr);
    EXPECT_EQ(CallsOf(Op::Unlock).size(), 1u);
}

TEST_F(PresentationTest, FailedLockReportsAndLeavesNothingToDrawInto) {
    ASSERT_TRUE(Start(0, 320, 200));
    ASSERT_TRUE(Corvane.LockSurface());
    Corvane.UnlockSurface();
    headless::FailCall(Op::Lock, 2, DDERR_SURFACEBUSY);
    EXPECT_FALSE(Corvane.LockSurface());
    EXPECT_EQ(Corvane.GetStatus(), LOCK_FAILED);
    EXPECT_EQ(Corvane.GetBackBuffer(), nullptr);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_NE(headless::MessageBoxes()[0].text.find("Error: UNREGISTERED"), std::string::npos);

    // Drawing in that frame does nothing (and touches no memory).
    Corvane.ClearScreen();
    Corvane.FillBox(0, 0, 10, 10, 255, 255, 255);
    Corvane.UnlockSurface();
    Corvane.ViewUpdate();
    EXPECT_EQ(headless::LastFrame().At(5, 5), 0);
}

TEST_F(PresentationTest, NothingIsShownWhileInactiveInTheBackgroundOrBeforeStartUp) {
    // The window is up and active but has no surfaces yet.
    Corvane.SetInstance(nullptr, SW_SHOWNORMAL);
    Corvane.fullscreenRequested = 0;
    Corvane.requestedWidth = 320;
    Corvane.requestedHeight = 200;
    ASSERT_TRUE(Corvane.InitWindow());
    EXPECT_EQ(Corvane.ViewUpdate(), 1);

    headless::Reset();
    ResetEngine();
    ASSERT_TRUE(Start(0, 320, 200));
    Corvane.SetActive(0);
    EXPECT_EQ(Corvane.ViewUpdate(), 1);
    Corvane.SetActive(1);
    headless::SetForeground(headless::OtherProgramWindow());
    EXPECT_EQ(Corvane.ViewUpdate(), 1);
    EXPECT_EQ(headless::CallCount(Op::BltFast), 0);
    EXPECT_EQ(headless::PresentCount(), 0);

    headless::SetForeground(Corvane.GetWindow());
    EXPECT_EQ(Corvane.ViewUpdate(), 1);
    EXPECT_EQ(headless::PresentCount(), 1);
}

TEST_F(PresentationTest, WindowedFrameIsCopiedToTheClientArea) {
    headless::SetExtraPitch(24);
    ASSERT_TRUE(Start(0, 320, 200));
    DrawPattern(320, 200);
    EXPECT_EQ(Corvane.ViewUpdate(), 1);

    const auto copies = CallsOf(Op::BltFast);
    ASSERT_EQ(copies.size(), 1u);
    EXPECT_EQ(copies[0].text, "primary");
    EXPECT_EQ(copies[0].args, (std::vector<long long>{Corvane.originX, Corvane.originY,
                                                      DDBLTFAST_WAIT | DDBLTFAST_NOCOLORKEY}));
    const headless::Frame& frame = headless::LastFrame();
    ASSERT_EQ(frame.width, 320);
    ASSERT_EQ(frame.height, 200);
    EXPECT_EQ(frame.redMask, 0xF800u);
    EXPECT_EQ(PatternMismatches(frame), 0);
}

TEST_F(PresentationTest, BusyBlitterSkipsTheFrameWithZeroOtherFailuresWithOne) {
    ASSERT_TRUE(Start(0, 320, 200));
    headless::FailCall(Op::BltFast, 1, DDERR_WASSTILLDRAWING);
    headless::FailCall(Op::BltFast, 2, DDERR_INVALIDRECT);
    EXPECT_EQ(Corvane.ViewUpdate(), 0);
    EXPECT_EQ(Corvane.ViewUpdate(), 1);
    EXPECT_EQ(headless::PresentCount(), 0);
    EXPECT_TRUE(headless::MessageBoxes().empty());
    EXPECT_EQ(headless::CallCount(Op::Restore), 0);
}

TEST_F(PresentationTest, AWindowPartlyOffTheScreenShowsItsVisiblePart) {
    ASSERT_TRUE(Start(0, 320, 200));
    HWND window = Corvane.GetWindow();
    const RECT outer = headless::Describe(window).outer;
    const int frameLeft = headless::Describe(window).client.left - outer.left;
    const int frameTop = headless::Describe(window).client.top - outer.top;
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> across(-400, 1950);
    std::uniform_int_distribution<int> down(-250, 1110);
    for (int move = 0; move < 60; ++move) {
        // The first moves put the client area's corners just inside and just
        // outside each edge of the 1920 x 1080 screen.
        const int corners[][2] = {{0, 0}, {-1, -1}, {1600, 880}, {1601, 881}, {-319, 500}};
        const bool corner = move < 5;
        const int left = corner ? corners[move][0] : across(random);
        const int top = corner ? corners[move][1] : down(random);
        SCOPED_TRACE(testing::Message() << "client area at (" << left << ", " << top << ")");
        headless::MoveWindowTo(window, left - frameLeft, top - frameTop);

        ASSERT_TRUE(Corvane.LockSurface());
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 320; ++x)
                Corvane.GetBackBuffer()[y * Corvane.GetWidth() + x] = Pattern(x + move, y);
        Corvane.UnlockSurface();
        const int presented = headless::PresentCount();
        const int copies = headless::CallCount(Op::BltFast);
        EXPECT_EQ(Corvane.ViewUpdate(), 1);

        const int visibleLeft = std::max(left, 0);
        const int visibleTop = std::max(top, 0);
        const int visibleWidth = std::min(left + 320, 1920) - visibleLeft;
        const int visibleHeight = std::min(top + 200, 1080) - visibleTop;
        if (visibleWidth <= 0 || visibleHeight <= 0) {
            EXPECT_EQ(headless::CallCount(Op::BltFast), copies) << "nothing of it is on the screen";
            EXPECT_EQ(headless::PresentCount(), presented);
            continue;
        }
        ASSERT_EQ(headless::PresentCount(), presented + 1);
        const headless::CallRecord copy = CallsOf(Op::BltFast).back();
        EXPECT_EQ(copy.result, DD_OK);
        const bool whole = visibleWidth == 320 && visibleHeight == 200;
        EXPECT_EQ(copy.args.size(), whole ? 3u : 7u) << "a source rectangle only for a part";
        const headless::Frame& frame = headless::LastFrame();
        ASSERT_EQ(frame.width, visibleWidth);
        ASSERT_EQ(frame.height, visibleHeight);
        int wrong = 0;
        for (int y = 0; y < visibleHeight; ++y)
            for (int x = 0; x < visibleWidth; ++x)
                wrong +=
                    frame.At(x, y) != Pattern(visibleLeft - left + x + move, visibleTop - top + y);
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(PresentationTest, LostWindowedSurfacesAreReportedAndRestored) {
    ASSERT_TRUE(Start(0, 320, 200));
    headless::LoseSurfaces();
    EXPECT_FALSE(Corvane.LockSurface()) << "a lost back surface cannot be locked";
    headless::ClearMessageBoxes();

    EXPECT_EQ(Corvane.ViewUpdate(), 1);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    const headless::MessageBoxRecord& box = headless::MessageBoxes()[0];
    EXPECT_EQ(box.text, "<WinDX::ViewUpdate> Error: Surface Lost");
    EXPECT_EQ(box.caption, "");
    EXPECT_EQ(box.owner, Corvane.GetWindow());
    EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK));
    const auto restores = CallsOf(Op::Restore);
    ASSERT_EQ(restores.size(), 2u);
    EXPECT_EQ(restores[0].text, "primary");
    EXPECT_EQ(restores[1].text, "offscreen");
    EXPECT_EQ(headless::PresentCount(), 0) << "the frame is not copied again";

    // Both surfaces work again in the next frame.
    DrawPattern(320, 200);
    EXPECT_EQ(Corvane.ViewUpdate(), 1);
    EXPECT_EQ(PatternMismatches(headless::LastFrame()), 0);
}

TEST_F(PresentationTest, ALostSurfaceOpensOneBoxThoughClosingItPresentsAgain) {
    ASSERT_TRUE(Start(0, 320, 200));
    headless::LoseSurfaces();
    const size_t delivered = headless::DeliveredMessages().size();
    EXPECT_EQ(Corvane.ViewUpdate(), 1);

    // The box took the focus and gave it back; WM_SETFOCUS presented again while
    // the surfaces were still lost, and that frame restored them without a box.
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].text, "<WinDX::ViewUpdate> Error: Surface Lost");
    const std::vector<UINT> messages = headless::DeliveredMessages();
    EXPECT_EQ(std::vector<UINT>(messages.begin() + delivered, messages.end()),
              (std::vector<UINT>{WM_KILLFOCUS, WM_SETFOCUS}));
    const auto copies = CallsOf(Op::BltFast);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[1].result, DDERR_SURFACELOST) << "the frame presented from WM_SETFOCUS";
    for (const headless::CallRecord& restore : CallsOf(Op::Restore))
        EXPECT_EQ(restore.result, DD_OK);
    EXPECT_EQ(Corvane.active, 1);

    DrawPattern(320, 200);
    EXPECT_EQ(Corvane.ViewUpdate(), 1);
    EXPECT_EQ(PatternMismatches(headless::LastFrame()), 0);
    EXPECT_EQ(headless::MessageBoxes().size(), 1u);

    // Lost again later, the box comes again.
    headless::LoseSurfaces();
    EXPECT_EQ(Corvane.ViewUpdate(), 1);
    EXPECT_EQ(headless::MessageBoxes().size(), 2u);
}

TEST_F(PresentationTest, FailedRestoreAnswersZero) {
    for (int failing : {1, 2}) {
        SCOPED_TRACE(failing);
        headless::Reset();
        ResetEngine();
        ASSERT_TRUE(Start(0, 320, 200));
        headless::LoseSurfaces();
        // The frame presented from WM_SETFOCUS while the box is up restores both
        // surfaces first (calls 1 and 2); then the frame that opened the box.
        headless::FailCall(Op::Restore, 2 + failing, DDERR_WRONGMODE);
        EXPECT_EQ(Corvane.ViewUpdate(), 0);
        EXPECT_EQ(headless::CallCount(Op::Restore), 2 + failing) << "stops at the failure";
    }
}

TEST_F(PresentationTest, FullScreenFlipShowsTheFrameAndSilentlyRestoresALostChain) {
    ASSERT_TRUE(Start(1, 320, 200));
    DrawPattern(320, 200);
    EXPECT_EQ(Corvane.ViewUpdate(), 1);
    ASSERT_EQ(CallsOf(Op::Flip).size(), 1u);
    EXPECT_EQ(CallsOf(Op::Flip)[0].args, (std::vector<long long>{0, DDFLIP_WAIT}));
    EXPECT_EQ(PatternMismatches(headless::LastFrame()), 0);
    EXPECT_EQ(headless::LastFrame().width, 320);
    EXPECT_EQ(headless::CallCount(Op::Restore), 0) << "nothing lost, nothing restored";

    headless::LoseSurfaces();
    EXPECT_EQ(Corvane.ViewUpdate(), 1);
    EXPECT_EQ(CallsOf(Op::Flip)[1].result, DDERR_SURFACELOST);
    ASSERT_EQ(CallsOf(Op::Restore).size(), 1u);
    EXPECT_EQ(CallsOf(Op::Restore)[0].text, "primary");
    EXPECT_TRUE(headless::MessageBoxes().empty());

    DrawPattern(320, 200);
    EXPECT_EQ(Corvane.ViewUpdate(), 1);
    EXPECT_EQ(headless::PresentCount(), 2);
    EXPECT_EQ(PatternMismatches(headless::LastFrame()), 0);
}

TEST_F(PresentationTest, RegainedFocusPresentsOnlyAfterAFinishedStart) {
    ASSERT_TRUE(Start(0, 320, 200));
    headless::PostWindowMessage(WM_KILLFOCUS);
    headless::PostWindowMessage(WM_SETFOCUS);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(headless::PresentCount(), 1);

    Corvane.status = LOCK_FAILED;
    headless::PostWindowMessage(WM_SETFOCUS);
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(headless::PresentCount(), 1);
}

}  // namespace
