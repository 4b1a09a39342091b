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

TEST_F(PresentationTest, WindowLeftOfTheScreenSkipsTheFrame) {
    ASSERT_TRUE(Start(0, 320, 200));
    Corvane.SetClientOrigin(-20, 40);
    EXPECT_EQ(Corvane.ViewUpdate(), 1);
    EXPECT_EQ(CallsOf(Op::BltFast)[0].result, DDERR_INVALIDRECT);
    EXPECT_EQ(headless::PresentCount(), 0);
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

TEST_F(PresentationTest, FailedRestoreAnswersZero) {
    for (int failing : {1, 2}) {
        SCOPED_TRACE(failing);
        headless::Reset();
        ResetEngine();
        ASSERT_TRUE(Start(0, 320, 200));
        headless::LoseSurfaces();
        headless::FailCall(Op::Restore, failing, DDERR_WRONGMODE);
        EXPECT_EQ(Corvane.ViewUpdate(), 0);
        EXPECT_EQ(headless::CallCount(Op::Restore), failing) << "stops at the failure";
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
