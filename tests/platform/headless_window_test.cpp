// The headless windows and message queue, held to the rules every backend obeys.
#include <gtest/gtest.h>

#include "platform/headless/control.h"
#include "tests/platform/window_rules_check.h"

namespace {

class HeadlessWindowTest : public ::testing::Test {
protected:
    void SetUp() override { headless::Reset(); }
    void TearDown() override { headless::Reset(); }
};

TEST_F(HeadlessWindowTest, WindowsAndTheQueueAnswerAsWindowsDoes) {
    windowcheck::CheckWindowRules();
    windowcheck::CheckDesktopRules();
}

TEST_F(HeadlessWindowTest, AFramedWindowsClientAreaLiesInsideItsFrame) {
    windowcheck::CheckWindowRules();
    HWND framed = CreateWindowExA(0, "WindowRules", "", WS_SYSMENU, 100, 50, 200, 150, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_NE(framed, nullptr);
    RECT client = {};
    ASSERT_TRUE(GetClientRect(framed, &client));
    EXPECT_EQ(client.right, 200 - headless::kFrameLeft - headless::kFrameRight);
    EXPECT_EQ(client.bottom, 150 - headless::kFrameTop - headless::kFrameBottom);
    POINT origin = {0, 0};
    ASSERT_TRUE(ClientToScreen(framed, &origin));
    EXPECT_EQ(origin.x, 100 + headless::kFrameLeft);
    EXPECT_EQ(origin.y, 50 + headless::kFrameTop);
}

}  // namespace
