// Reading and writing 8-bit RGB and RGBA PNG files for the tools (libpng).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace png_io {

// Pixels top row first, rows packed: R, G, B (and A when hasAlpha) per pixel.
struct PngImage {
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
    std::vector<std::uint8_t> pixels;
};

// Reads any PNG as 8-bit RGB, or RGBA when the file has transparency (grey and
// palette files are expanded, 16-bit samples keep their high byte, colours stay
// as stored). On failure returns false and sets error.
bool ReadPng(const std::string& path, PngImage& image, std::string& error);

// Writes image as an 8-bit RGB or RGBA PNG. On failure returns false and sets error.
bool WritePng(const std::string& path, const PngImage& image, std::string& error);

}  // namespace png_io
