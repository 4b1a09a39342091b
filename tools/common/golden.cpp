#include "tools/common/golden.h"

#include <cstdint>
#include <filesystem>

#include "pictures/png_io.h"
#include "tools/common/frame_png.h"

namespace fs = std::filesystem;

namespace png_io {

bool MatchesGolden(const headless::Frame& frame, const std::string& goldenPath,
                   const std::string& outFolder, const std::string& name, std::string& message) {
    PngImage actual;
    actual.width = frame.width;
    actual.height = frame.height;
    actual.pixels = FrameToRgb(frame);

    PngImage expected;
    std::string error;
    if (!ReadPng(goldenPath, expected, error)) {
        message = "cannot read the golden picture: " + error;
    } else if (expected.hasAlpha || expected.width != actual.width ||
               expected.height != actual.height) {
        message = goldenPath + " is " + std::to_string(expected.width) + " x " +
                  std::to_string(expected.height) + (expected.hasAlpha ? " with alpha" : "") +
                  ", the frame " + std::to_string(actual.width) + " x " +
                  std::to_string(actual.height);
    } else {
        std::size_t changed = 0;
        for (std::size_t i = 0; i < actual.pixels.size(); i += 3)
            changed += expected.pixels[i] != actual.pixels[i] ||
                       expected.pixels[i + 1] != actual.pixels[i + 1] ||
                       expected.pixels[i + 2] != actual.pixels[i + 2];
        if (changed == 0) return true;
        message = std::to_string(changed) + " pixels differ from " + goldenPath;
    }

    std::error_code made;
    fs::create_directories(outFolder, made);
    const fs::path out(outFolder);
    std::string ignored;
    WritePng((out / (name + "_actual.png")).string(), actual, ignored);
    message += "; see " + name + "_actual.png";
    if (expected.width == actual.width && expected.height == actual.height && !expected.hasAlpha &&
        expected.pixels.size() == actual.pixels.size()) {
        PngImage diff = actual;
        for (std::size_t i = 0; i < diff.pixels.size(); i += 3) {
            const bool differs = expected.pixels[i] != actual.pixels[i] ||
                                 expected.pixels[i + 1] != actual.pixels[i + 1] ||
                                 expected.pixels[i + 2] != actual.pixels[i + 2];
            for (int c = 0; c < 3; ++c)
                diff.pixels[i + c] = static_cast<std::uint8_t>(
                    differs ? (c == 0 ? 255 : 0) : expected.pixels[i + c] / 4);
        }
        WritePng((out / (name + "_diff.png")).string(), diff, ignored);
        message += " and " + name + "_diff.png";
    }
    message += " in " + outFolder;
    return false;
}

}  // namespace png_io
