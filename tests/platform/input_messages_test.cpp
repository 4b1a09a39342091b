#include "platform/common/input_messages.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Sent {
    UINT message;
    WPARAM wParam;
    bool operator==(const Sent& other) const {
        return message == other.message && wParam == other.wParam;
    }
};

std::vector<Sent> Take(std::deque<MSG>& out) {
    std::vector<Sent> sent;
    for (const MSG& msg : out) sent.push_back({msg.message, msg.wParam});
    out.clear();
    return sent;
}

TEST(InputMessages, SideSpecificModifiersHaveNeutralCodes) {
    EXPECT_EQ(platform::NeutralKey(160), 16);
    EXPECT_EQ(platform::NeutralKey(161), 16);
    EXPECT_EQ(platform::NeutralKey(162), 17);
    EXPECT_EQ(platform::NeutralKey(165), 18);
    EXPECT_EQ(platform::NeutralKey(39), 0);
}

TEST(InputMessages, KeysAsWindowsSendsThem) {
    platform::KeyboardState keys;
    std::deque<MSG> out;
    platform::AddKeyMessages(nullptr, 'X', true, true, false, keys, out);
    EXPECT_EQ(Take(out), (std::vector<Sent>{{WM_SYSKEYDOWN, 'X'}}));
    // Alt with Control is AltGr, which types: plain key messages.
    platform::AddKeyMessages(nullptr, 'Q', true, true, true, keys, out);
    EXPECT_EQ(Take(out), (std::vector<Sent>{{WM_KEYDOWN, 'Q'}}));
    platform::AddKeyMessages(nullptr, VK_F10, true, false, false, keys, out);
    EXPECT_EQ(out.front().message, static_cast<UINT>(WM_SYSKEYDOWN));
    out.clear();

    // Both shift keys down, one up: VK_SHIFT stays down until the second is up.
    platform::AddKeyMessages(nullptr, VK_LSHIFT, true, false, false, keys, out);
    platform::AddKeyMessages(nullptr, VK_RSHIFT, true, false, false, keys, out);
    EXPECT_EQ(Take(out), (std::vector<Sent>{{WM_KEYDOWN, VK_SHIFT},
                                            {WM_KEYDOWN, VK_LSHIFT},
                                            {WM_KEYDOWN, VK_SHIFT},
                                            {WM_KEYDOWN, VK_RSHIFT}}));
    platform::AddKeyMessages(nullptr, VK_LSHIFT, false, false, false, keys, out);
    EXPECT_EQ(Take(out), (std::vector<Sent>{{WM_KEYUP, VK_LSHIFT}}));
    EXPECT_TRUE(keys.down[VK_SHIFT]);
    platform::AddKeyMessages(nullptr, VK_RSHIFT, false, false, false, keys, out);
    EXPECT_EQ(Take(out), (std::vector<Sent>{{WM_KEYUP, VK_SHIFT}, {WM_KEYUP, VK_RSHIFT}}));

    // A repeat says the key was down already; a release says so too.
    platform::AddKeyMessages(nullptr, 'A', true, false, false, keys, out);
    platform::AddKeyMessages(nullptr, 'A', true, false, false, keys, out);
    platform::AddKeyMessages(nullptr, 'A', false, false, false, keys, out);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].lParam, platform::KeyParam(false, false));
    EXPECT_EQ(out[1].lParam, platform::KeyParam(true, false));
    EXPECT_EQ(out[2].lParam, platform::KeyParam(true, true));
}

TEST(InputMessages, FocusActivatesTheProgramOnce) {
    bool active = false;
    std::deque<MSG> out;
    platform::AddFocusMessages(nullptr, true, active, out);
    platform::AddFocusMessages(nullptr, true, active, out);
    EXPECT_EQ(Take(out),
              (std::vector<Sent>{{WM_ACTIVATEAPP, 1}, {WM_SETFOCUS, 0}, {WM_SETFOCUS, 0}}));
    platform::AddFocusMessages(nullptr, false, active, out);
    EXPECT_EQ(Take(out), (std::vector<Sent>{{WM_ACTIVATEAPP, 0}, {WM_KILLFOCUS, 0}}));
    EXPECT_FALSE(active);
}

}  // namespace
