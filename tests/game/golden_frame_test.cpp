#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/game/game_frame_fixture.h"
#include "tools/common/golden.h"

namespace fs = std::filesystem;

namespace {

using gametest::GameFrameTest;

// The first frame of the game, compared exactly with the committed picture.
// When they differ, the actual frame and a difference picture (changed pixels
// red, the rest dimmed) are written into the build tree.
TEST_F(GameFrameTest, FirstFrameMatchesTheGoldenPicture) {
    const replay::Result result = Play("", 1, {1});
    const fs::path golden =
        fs::path(std::getenv("CORVANE_SOURCE_DIR")) / "tests/game/golden/first_frame.png";
    std::string message;
    EXPECT_TRUE(png_io::MatchesGolden(Picture(result, 1), golden.string(), CORVANE_TEST_OUTPUT_DIR,
                                      "first_frame", message))
        << message;
}

}  // namespace
