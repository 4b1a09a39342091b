#include "platform/headless/control.h"
#include "shell/windx.h"
#include "tests/support/engine_fixture.h"

namespace {

using InputTest = EngineTest;

LRESULT Deliver(UINT message, WPARAM wParam, LPARAM lParam = 0) {
    return WinDX::WindowProc(nullptr, message, wParam, lParam);
}

TEST_F(InputTest, CharactersComeOutNewestFirst) {
    Deliver(WM_CHAR, 'a');
    Deliver(WM_CHAR, 'b');
    EXPECT_EQ(Corvane.GetKey(), 'b');
    EXPECT_EQ(Corvane.GetKey(), 'a');
    EXPECT_EQ(Corvane.GetKey(), 0);
    EXPECT_EQ(Corvane.keyCount, 0);
}

TEST_F(InputTest, FullBufferDropsAndLogsEveryFurtherCharacter) {
    for (int i = 0; i < 1000; ++i) Corvane.PushKey(static_cast<char>('0' + i % 10));
    Corvane.PushKey('x');
    Corvane.PushKey('y');
    EXPECT_EQ(Corvane.keyCount, 1000);
    EXPECT_EQ(ReadDebugLog(),
              "WinDX: Keyboard buffer overflow.\n  WinDX: Keyboard buffer overflow.\n  ");
    EXPECT_EQ(Corvane.GetKey(), '9') << "the 1000th character typed";
}

TEST_F(InputTest, KeyStateUsesTheLowByteAsAnUnsignedIndex) {
    Deliver(WM_KEYDOWN, 160);
    EXPECT_EQ(Corvane.IsKeyDown(160), 1);
    Deliver(WM_KEYDOWN, 0x100 + VK_LEFT);
    EXPECT_EQ(Corvane.IsKeyDown(VK_LEFT), 1);
    Deliver(WM_KEYUP, 160);
    EXPECT_EQ(Corvane.IsKeyDown(160), 0);
    EXPECT_EQ(Corvane.IsKeyDown(VK_LEFT), 1);
}

TEST_F(InputTest, AnyButtonReleaseClearsTheButton) {
    Deliver(WM_LBUTTONDOWN, 0);
    EXPECT_EQ(Corvane.GetMouseButton(), 1);
    Deliver(WM_RBUTTONDOWN, 0);
    EXPECT_EQ(Corvane.GetMouseButton(), 2);
    Deliver(WM_LBUTTONUP, 0);
    EXPECT_EQ(Corvane.mouseDown, 0);
    EXPECT_EQ(Corvane.GetMouseButton(), 0);
    Deliver(WM_MBUTTONDOWN, 0);
    EXPECT_EQ(Corvane.GetMouseButton(), 16);
    EXPECT_EQ(Corvane.mouseDown, 1);
}

TEST_F(InputTest, MouseMovesKeepThePreviousPosition) {
    EXPECT_EQ(Corvane.GetMouseDY(), 0.0f);
    Deliver(WM_MOUSEMOVE, 0, MAKELPARAM(10, 10));
    Deliver(WM_MOUSEMOVE, 0, MAKELPARAM(10, 25));
    EXPECT_EQ(Corvane.GetMouseX(), 10);
    EXPECT_EQ(Corvane.GetMouseY(), 25);
    EXPECT_EQ(Corvane.prevMouseY, 10);
    EXPECT_EQ(Corvane.GetMouseDY(), 15.0f);
    EXPECT_EQ(Corvane.mouseMoved, 1);
}

TEST_F(InputTest, MouseCoordinatesAreUnsignedHalves) {
    Deliver(WM_MOUSEMOVE, 0, MAKELPARAM(0xFFFF, 0x8000));
    EXPECT_EQ(Corvane.GetMouseX(), 65535);
    EXPECT_EQ(Corvane.GetMouseY(), 32768);
}

TEST_F(InputTest, FocusAndActivationSetActive) {
    Deliver(WM_ACTIVATEAPP, 1);
    EXPECT_EQ(Corvane.active, 1);
    Deliver(WM_KILLFOCUS, 0);
    EXPECT_EQ(Corvane.active, 0);
    // Regaining focus changes nothing unless the engine is ready.
    Corvane.status = LOCK_FAILED;
    Deliver(WM_SETFOCUS, 0);
    EXPECT_EQ(Corvane.active, 0);
    Corvane.status = INIT_OK;
    Deliver(WM_SETFOCUS, 0);
    EXPECT_EQ(Corvane.active, 1);
}

TEST_F(InputTest, MoveStoresTheClientOrigin) {
    Deliver(WM_MOVE, 0, MAKELPARAM(560, 290));
    EXPECT_EQ(Corvane.originX, 560);
    EXPECT_EQ(Corvane.originY, 290);
}

}  // namespace
