#include "tools/common/picture_png.h"

#include "pictures/png_io.h"

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

std::vector<std::uint8_t> PictureToRgb(const Picture16& picture) {
    std::vector<std::uint8_t> rgb;
    if (picture.pixels == nullptr || picture.width <= 0 || picture.height <= 0) return rgb;
    rgb.reserve(static_cast<std::size_t>(picture.width) * picture.height * 3);
    for (int y = 0; y < picture.height; ++y) {
        const std::uint16_t* row =
            picture.pixels + static_cast<std::size_t>(y) * picture.pitchWords;
        for (int x = 0; x < picture.width; ++x) {
            rgb.push_back(Widen(row[x], picture.redMask));
            rgb.push_back(Widen(row[x], picture.greenMask));
            rgb.push_back(Widen(row[x], picture.blueMask));
        }
    }
    return rgb;
}

bool WritePicturePng(const std::string& path, const Picture16& picture, std::string& error) {
    PngImage image;
    image.width = picture.width;
    image.height = picture.height;
    image.hasAlpha = false;
    image.pixels = PictureToRgb(picture);
    return WritePng(path, image, error);
}

}  // namespace png_io
