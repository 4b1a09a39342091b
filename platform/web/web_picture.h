// The engine's 16-bit pictures as the canvas takes them.
#pragma once

#include <cstdint>
#include <vector>

namespace web {

// One 5:6:5 word as the canvas's RGBA bytes in memory order (red first, alpha
// 255): each channel widened by repeating its top bits, so full intensity
// stays 255 and the 16-bit word can be read back from the canvas unchanged.
inline std::uint32_t RgbaOf(std::uint16_t word) {
    const std::uint32_t red = word >> 11, green = (word >> 5) & 0x3F, blue = word & 0x1F;
    return 0xFF000000u | ((blue << 3 | blue >> 2) << 16) | ((green << 2 | green >> 4) << 8) |
           (red << 3 | red >> 2);
}

// A width x height part of a 5:6:5 picture whose rows are pitchBytes apart,
// as packed RGBA rows in `out`.
void ToRgba(const std::uint16_t* pixels, int width, int height, int pitchBytes,
            std::vector<std::uint32_t>& out);

}  // namespace web
