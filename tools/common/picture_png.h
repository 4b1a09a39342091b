// 16-bit pictures saved as PNG files, widened to 8 bits per channel the one way
// every tool and program here does it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace png_io {

// A 16-bit picture in memory, owned by the caller: `height` rows of `width`
// words, each row `pitchWords` words after the one before, each channel the bits
// of its mask.
struct Picture16 {
    int width = 0;
    int height = 0;
    int pitchWords = 0;
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
    const std::uint16_t* pixels = nullptr;
};

// The picture widened to packed 8-bit RGB rows: each channel value v of an n-bit
// field becomes v * 255 / (2^n - 1).
std::vector<std::uint8_t> PictureToRgb(const Picture16& picture);

// Writes the picture as an 8-bit RGB PNG. On failure returns false and sets error.
bool WritePicturePng(const std::string& path, const Picture16& picture, std::string& error);

}  // namespace png_io
