#include <filesystem>
#include <string>

#include "game/game.h"
#include "platform/headless/control.h"
#include "shell/windx.h"
#include "tests/game/game_frame_fixture.h"

namespace fs = std::filesystem;

namespace {

using gametest::GameFrameTest;
using gametest::kHeight;
using gametest::kWidth;

TEST_F(GameFrameTest, StartsAndEndsWhenTheWindowCloses) {
    const replay::Result result = Play("", 3, {3});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.framesRun, 3);
    EXPECT_TRUE(result.messageBoxes.empty()) << result.messageBoxes.front();
    const headless::Frame& screen = Picture(result, 3);
    EXPECT_EQ(screen.width, kWidth);
    EXPECT_EQ(screen.height, kHeight);
    EXPECT_EQ(world.count, 20);
    EXPECT_EQ(background.width, 256) << "grass loaded";
    EXPECT_TRUE(SpriteShows(screen, 0)) << "facing down, step 0";
}

TEST_F(GameFrameTest, WithNoKeyHeldFramesDoNotChange) {
    const replay::Result result = Play("", 45, {1, 2, 31, 45});
    const headless::Frame& first = Picture(result, 1);
    for (int n : {2, 31, 45}) EXPECT_TRUE(Picture(result, n).pixels == first.pixels) << n;
    EXPECT_EQ(alien.GetX(), 4000.0);
    EXPECT_EQ(alien.GetY(), 4000.0);
}

TEST_F(GameFrameTest, OnePixelRightMovesTheWorldLeftAndNotTheSprite) {
    const replay::Result still = Play("", 1, {1});
    const headless::Frame before = Picture(still, 1);
    const replay::Result moved = Play("right:1", 1, {1});
    const headless::Frame& after = Picture(moved, 1);
    ASSERT_EQ(alien.GetX(), 4001.0);
    ASSERT_EQ(after.width, kWidth);

    const Image& sprite = alien.frames[0];
    const auto* words = reinterpret_cast<const std::uint16_t*>(sprite.pixels);
    ASSERT_NE(words, nullptr);
    auto spriteWord = [&](int x, int y) -> std::uint16_t {
        const int sx = x - ALIEN_SCREEN_X, sy = y - ALIEN_SCREEN_Y;
        if (sx < 0 || sy < 0 || sx >= sprite.width || sy >= sprite.height) return 0;
        return words[sy * sprite.width + sx];
    };
    int spritePixels = 0;
    int mismatches = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth - 1; ++x) {
            if (spriteWord(x, y) != 0) {
                ++spritePixels;
                mismatches += after.At(x, y) != before.At(x, y);
            } else if (spriteWord(x + 1, y) == 0) {
                // Grass and placed objects: what was one pixel to the right.
                mismatches += after.At(x, y) != before.At(x + 1, y);
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(spritePixels, 1000);
    EXPECT_NE(after.pixels, before.pixels);
}

TEST_F(GameFrameTest, WalkCycleStepsOnThe31stFrameAndEvery30thAfter) {
    // Facing down, holding left from the first frame: the down picture of step 0
    // until the first animation step, then left step 0, then left step 1.
    const replay::Result result = Play("left:61", 61, {1, 30, 31, 60, 61});
    const int downStep0 = DIR_DOWN * 8, leftStep0 = DIR_LEFT * 8, leftStep1 = DIR_LEFT * 8 + 1;
    EXPECT_TRUE(SpriteShows(Picture(result, 1), downStep0));
    EXPECT_TRUE(SpriteShows(Picture(result, 30), downStep0));
    EXPECT_TRUE(SpriteShows(Picture(result, 31), leftStep0));
    EXPECT_FALSE(SpriteShows(Picture(result, 31), downStep0));
    EXPECT_TRUE(SpriteShows(Picture(result, 60), leftStep0));
    EXPECT_TRUE(SpriteShows(Picture(result, 61), leftStep1));
    EXPECT_EQ(alien.GetX(), 4000.0 - 61);
}

TEST_F(GameFrameTest, WallStopsTheAlienAndTheGapLetsItThrough) {
    // Down 90 pixels to row 51, then right: the mountain stops it at 4029.
    replay::Result result = Play("down:90,right:100", 0, {});
    EXPECT_EQ(alien.GetY(), 4090.0);
    EXPECT_EQ(alien.GetX(), 4029.0);
    // Down to row 56, where a bird sits in the wall: walks on through.
    result = Play("down:560,right:200", 0, {});
    EXPECT_EQ(alien.GetY(), 4560.0);
    EXPECT_EQ(alien.GetX(), 4200.0);
}

TEST_F(GameFrameTest, MissingPictureIsReportedAndTheGameRunsWithoutIt) {
    const replay::Result full = Play("", 3, {3});
    fs::remove("Images/fall_mountain.tif");
    const replay::Result result = Play("", 3, {3});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.framesRun, 3);
    ASSERT_EQ(result.messageBoxes.size(), 12u) << "one report for each of the 12 mountains";
    EXPECT_EQ(result.messageBoxes[0].rfind("Corvane Error: .TIF File Not Found: "
                                           "Images\\fall_mountain.tif\n\n",
                                           0),
              0u)
        << result.messageBoxes[0];

    // Only the mountains are missing from the picture: the wall's first tiles
    // stand at screen x 450..539 from row 360 down.
    const headless::Frame& with = Picture(full, 3);
    const headless::Frame& without = Picture(result, 3);
    int changedInside = 0, changedOutside = 0;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const bool inWall = x >= 450 && x < 540 && y >= 360;
            (inWall ? changedInside : changedOutside) += with.At(x, y) != without.At(x, y);
        }
    }
    EXPECT_EQ(changedOutside, 0);
    EXPECT_GT(changedInside, 1000);
}

TEST_F(GameFrameTest, EscapeClosesTheWindowAndEndsTheProgramNormally) {
    const replay::Result result = Play("escape:1", 50, {});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.framesRun, 1);
    EXPECT_EQ(escapePressed, 1);
    EXPECT_TRUE(headless::Describe(headless::MainWindow()).destroyed);
}

TEST_F(GameFrameTest, FrameWhoseLockFailsDrawsNothingAndTheGameGoesOn) {
    replay::Options options;
    options.frames = 3;
    options.captureAt = {1, 2, 3};
    options.resetGame = replay::ResetGame;
    std::string error;
    ASSERT_TRUE(replay::ParseKeyScript("right:3", options.keys, error));
    options.setUp = [] { headless::FailCall(headless::Op::Lock, 2, DDERR_GENERIC); };
    const replay::Result result = replay::Run(options);
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.framesRun, 3);
    ASSERT_EQ(result.messageBoxes.size(), 1u);
    EXPECT_NE(result.messageBoxes[0].find("UNREGISTERED"), std::string::npos)
        << result.messageBoxes[0];
    // The second frame moved the alien but drew nothing: the screen still shows
    // the first frame; the third shows the alien two pixels further on.
    EXPECT_TRUE(Picture(result, 2).pixels == Picture(result, 1).pixels);
    EXPECT_FALSE(Picture(result, 3).pixels == Picture(result, 1).pixels);
    EXPECT_EQ(alien.GetX(), 4003.0);
}

}  // namespace
