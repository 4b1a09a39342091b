#include "tools/corvane-replay/replay_script.h"

#include <gtest/gtest.h>

namespace {

using replay::KeyHold;

TEST(ReplayScript, HoldsKeysInTurn) {
    std::vector<KeyHold> holds;
    std::string error;
    ASSERT_TRUE(replay::ParseKeyScript("right:120,down:60,Left+UP:30,none:5,esc:1", holds, error))
        << error;
    ASSERT_EQ(holds.size(), 5u);
    EXPECT_EQ(holds[0].keys, std::vector<int>({39}));
    EXPECT_EQ(holds[0].frames, 120);
    EXPECT_EQ(holds[1].keys, std::vector<int>({40}));
    EXPECT_EQ(holds[2].keys, std::vector<int>({37, 38}));
    EXPECT_TRUE(holds[3].keys.empty());
    EXPECT_EQ(holds[4].keys, std::vector<int>({27}));
    EXPECT_EQ(replay::ScriptFrames(holds), 216);

    ASSERT_TRUE(replay::ParseKeyScript("a+7+space+return:2", holds, error));
    EXPECT_EQ(holds[0].keys, std::vector<int>({'A', '7', 32, 13}));
    ASSERT_TRUE(replay::ParseKeyScript("", holds, error));
    EXPECT_TRUE(holds.empty());
}

TEST(ReplayScript, RefusesBadScriptsWithAReason) {
    std::vector<KeyHold> holds;
    for (const char* bad :
         {"right", "right:", "right:0", "right:-3", "right:1x", "jump:4", "right:4,,left:2",
          "right+:3", "right:99999999999", "right:999999999,left:999999999,up:999999999"}) {
        std::string error;
        EXPECT_FALSE(replay::ParseKeyScript(bad, holds, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

TEST(ReplayScript, FrameListsAreSortedWithoutRepeats) {
    std::vector<int> frames;
    std::string error;
    ASSERT_TRUE(replay::ParseFrameList("150,1,150,7", frames, error));
    EXPECT_EQ(frames, std::vector<int>({1, 7, 150}));
    for (const char* bad : {"0", "1,,2", "x", "-1", "2.5"}) {
        EXPECT_FALSE(replay::ParseFrameList(bad, frames, error)) << bad;
    }
}

TEST(ReplayScript, MouseStrokesAndTheirRefusals) {
    std::vector<replay::MouseStroke> strokes;
    std::string error;
    ASSERT_TRUE(replay::ParseMouseScript("400/250:1,LEFT@0/65535:20,middle@7/8:3", strokes, error))
        << error;
    ASSERT_EQ(strokes.size(), 3u);
    EXPECT_EQ(strokes[0].button, replay::MouseButton::None);
    EXPECT_EQ(strokes[0].x, 400);
    EXPECT_EQ(strokes[0].y, 250);
    EXPECT_EQ(strokes[1].button, replay::MouseButton::Left);
    EXPECT_EQ(strokes[1].y, 65535);
    EXPECT_EQ(strokes[2].button, replay::MouseButton::Middle);
    EXPECT_EQ(replay::ScriptFrames(strokes), 24);
    for (const char* bad : {"400/250", "400:3", "400/:3", "/5:3", "4/5:0", "-1/5:3", "65536/0:1",
                            "thumb@4/5:1", "left@:1", "4/5/6:1", "4/5:1,,6/7:1"}) {
        error.clear();
        EXPECT_FALSE(replay::ParseMouseScript(bad, strokes, error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

}  // namespace
