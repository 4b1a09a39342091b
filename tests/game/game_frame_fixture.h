// Whole frames of the real game: its hooks run by the engine's entry point on
// the headless display through the replay machinery, with keys from a script,
// in a case folder holding a copy of the game's pictures.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "game/game.h"
#include "platform/headless/control.h"
#include "tests/support/engine_fixture.h"
#include "tools/corvane-replay/game_reset.h"
#include "tools/corvane-replay/replay.h"

namespace gametest {

namespace fs = std::filesystem;

constexpr int kWidth = 800;
constexpr int kHeight = 500;

class GameFrameTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        const char* source = std::getenv("CORVANE_SOURCE_DIR");
        ASSERT_NE(source, nullptr) << "CORVANE_SOURCE_DIR names the source tree";
        fs::copy(fs::path(source) / "Images", "Images");
    }

    static replay::Result Play(const std::string& keys, int frames, std::vector<int> captureAt) {
        replay::Options options;
        std::string error;
        EXPECT_TRUE(replay::ParseKeyScript(keys, options.keys, error)) << error;
        options.frames = frames;
        options.captureAt = std::move(captureAt);
        options.resetGame = replay::ResetGame;
        return replay::Run(options);
    }

    // The picture on the screen after `number` frames; fails the test when the
    // run did not present that frame.
    static const headless::Frame& Picture(const replay::Result& result, int number) {
        for (const replay::Capture& capture : result.captures) {
            if (capture.number == number) {
                EXPECT_EQ(capture.presented, number) << "frame " << number << " presented";
                return capture.picture;
            }
        }
        ADD_FAILURE() << "frame " << number << " was not captured";
        static const headless::Frame none;
        return none;
    }

    // Whether the alien picture `n` shows at the sprite's fixed place: every
    // opaque pixel of the prepared picture is on the screen as it is.
    static bool SpriteShows(const headless::Frame& screen, int n) {
        const Image& picture = alien.frames[n];
        const auto* words = reinterpret_cast<const std::uint16_t*>(picture.pixels);
        if (words == nullptr || picture.width == 0) return false;
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                const std::uint16_t word = words[y * picture.width + x];
                if (word != 0 && screen.At(ALIEN_SCREEN_X + x, ALIEN_SCREEN_Y + y) != word)
                    return false;
            }
        }
        return true;
    }
};

}  // namespace gametest
