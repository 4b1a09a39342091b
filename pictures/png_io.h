// Reading and writing 8-bit RGB and RGBA PNG files (libpng).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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

// Called with a picture's declared width and height before any pixel is
// read; returning false (with error set) refuses the picture.
using SizeCheck = std::function<bool(long long width, long long height, std::string& error)>;

// Reads any PNG as 8-bit RGB, or RGBA when the file has transparency (grey and
// palette files are expanded, 16-bit samples keep their high byte, colours stay
// as stored). Pictures of more than 2^28 pixels, and those sizeFits refuses,
// are refused. On failure returns false and sets error.
bool ReadPng(const std::string& path, PngImage& image, std::string& error,
             const SizeCheck& sizeFits = {});
// The same for a PNG file's bytes in memory.
bool ReadPngBytes(const std::uint8_t* bytes, std::size_t size, PngImage& image, std::string& error,
                  const SizeCheck& sizeFits = {});

// Writes image as an 8-bit RGB or RGBA PNG. On failure returns false and sets error.
bool WritePng(const std::string& path, const PngImage& image, std::string& error);

}  // namespace png_io
