#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/game/game_frame_fixture.h"
#include "tools/common/frame_png.h"
#include "tools/common/png_io.h"

namespace fs = std::filesystem;

namespace {

using gametest::GameFrameTest;

// The first frame of the game, compared exactly with the committed picture.
// When they differ, the actual frame and a difference picture (changed pixels
// red, the rest dimmed) are written into the build tree.
TEST_F(GameFrameTest, FirstFrameMatchesTheGoldenPicture) {
    const replay::Result result = Play("", 1, {1});
    const headless::Frame& frame = Picture(result, 1);
    png_io::PngImage actual;
    actual.width = frame.width;
    actual.height = frame.height;
    actual.pixels = png_io::FrameToRgb(frame);

    const fs::path golden =
        fs::path(std::getenv("CORVANE_SOURCE_DIR")) / "tests/game/golden/first_frame.png";
    png_io::PngImage expected;
    std::string error;
    const bool read = png_io::ReadPng(golden.string(), expected, error);
    const bool sameSize = read && !expected.hasAlpha && expected.width == actual.width &&
                          expected.height == actual.height;
    const bool same = sameSize && expected.pixels == actual.pixels;
    if (!same) {
        const fs::path out = CORVANE_TEST_OUTPUT_DIR;
        fs::create_directories(out);
        std::string ignored;
        png_io::WritePng((out / "first_frame_actual.png").string(), actual, ignored);
        if (sameSize) {
            png_io::PngImage diff = actual;
            for (std::size_t i = 0; i + 2 < diff.pixels.size(); i += 3) {
                const bool differs = expected.pixels[i] != actual.pixels[i] ||
                                     expected.pixels[i + 1] != actual.pixels[i + 1] ||
                                     expected.pixels[i + 2] != actual.pixels[i + 2];
                for (int c = 0; c < 3; ++c)
                    diff.pixels[i + c] = static_cast<std::uint8_t>(
                        differs ? (c == 0 ? 255 : 0) : expected.pixels[i + c] / 4);
            }
            png_io::WritePng((out / "first_frame_diff.png").string(), diff, ignored);
        }
    }
    ASSERT_TRUE(read) << error;
    EXPECT_TRUE(same) << "the first frame differs from " << golden
                      << "; see first_frame_actual.png and first_frame_diff.png in "
                      << CORVANE_TEST_OUTPUT_DIR;
}

}  // namespace
