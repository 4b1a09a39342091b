#include "tools/common/frame_png.h"

#include "tools/common/png_io.h"

namespace png_io {
namespace {

std::uint8_t Widen(std::uint16_t word, std::uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) ++shift;
    const std::uint32_t max = mask >> shift;
    return static_cast<std::uint8_t>(((word & mask) >> shift) * 255 / max);
}

}  // namespace

std::vector<std::uint8_t> FrameToRgb(const headless::Frame& frame) {
    std::vector<std::uint8_t> rgb;
    rgb.reserve(frame.pixels.size() * 3);
    for (std::uint16_t word : frame.pixels) {
        rgb.push_back(Widen(word, frame.redMask));
        rgb.push_back(Widen(word, frame.greenMask));
        rgb.push_back(Widen(word, frame.blueMask));
    }
    return rgb;
}

bool WriteFramePng(const std::string& path, const headless::Frame& frame, std::string& error) {
    PngImage image;
    image.width = frame.width;
    image.height = frame.height;
    image.hasAlpha = false;
    image.pixels = FrameToRgb(frame);
    return WritePng(path, image, error);
}

}  // namespace png_io
