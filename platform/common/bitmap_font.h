// The text renderer shared by the backends that have no GDI: one embedded bitmap
// font of 8 x 16 pixel cells and a rasteriser that draws it into 16-bit pixels.
// Every backend draws the same glyphs.
#pragma once

#include <cstdint>

namespace bitmapfont {

constexpr int kGlyphWidth = 8;
constexpr int kGlyphHeight = 16;

// One glyph per byte value of Windows code page 1252 (the engine's 8-bit
// strings); bytes that stand for no character share a replacement glyph. Each
// row is one byte, bit 7 the leftmost pixel, top row first.
extern const std::uint8_t kGlyphs[256][kGlyphHeight];

// A 16-bit picture to draw on, not owned. pitchBytes is the distance between the
// starts of two rows and may exceed 2 x width.
struct Canvas16 {
    std::uint16_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitchBytes = 0;
};

// The 16-bit pixel for 8-bit red, green and blue in a format given by its channel
// masks: each channel keeps its top bits (a 5-bit channel takes value >> 3).
std::uint16_t PackColour(int red, int green, int blue, std::uint32_t redMask,
                         std::uint32_t greenMask, std::uint32_t blueMask);

// Draws length bytes of text, one cell per byte from left to right, the first
// cell's top-left pixel at (x, y). Glyph pixels become ink; with a paper colour
// the rest of each cell becomes *paper, without one it is left as it was.
// Everything outside the canvas is clipped; a canvas without pixels, or whose
// pitch is shorter than a row, is left alone.
void DrawString(const Canvas16& canvas, int x, int y, const char* text, int length,
                std::uint16_t ink, const std::uint16_t* paper);

}  // namespace bitmapfont
