// The per-pixel routines behind the engine's shape calls (pixels, lines and
// rectangles in one colour). Each has a plain reference that decides every
// pixel on its own and the faster one the engine draws with; both give the
// same pixels, which the display tests prove on random shapes.
#pragma once

#include <cstdint>

class WinDX;

// What a shape is drawn into: rows of 16-bit words and the inclusive clip
// rectangle, already kept inside them (empty when left > right or top > bottom).
struct ShapeFrame {
    std::uint16_t* pixels = nullptr;  // top-left word; null while nothing is locked
    std::int64_t pitch = 0;           // words from one row to the next
    std::int64_t left = 0;
    std::int64_t top = 0;
    std::int64_t right = -1;
    std::int64_t bottom = -1;
};

// The engine's locked back buffer and its clip rectangle, kept inside the
// buffer; no pixels while the back buffer is not locked.
ShapeFrame ShapeFrameOf(const WinDX& engine);

// Stores word at (x, y) when that pixel lies inside the clip rectangle.
void PlotClipped(const ShapeFrame& frame, std::int64_t x, std::int64_t y, std::uint16_t word);

// The width x height rectangle whose top-left pixel is (x, y); nothing for a
// width or height below 1. The reference tests each pixel against the clip.
void FillRectEachPixel(const ShapeFrame& frame, std::int64_t x, std::int64_t y, std::int64_t width,
                       std::int64_t height, std::uint16_t word);
// The same pixels: the rectangle clipped once, then filled row by row.
void FillRectRows(const ShapeFrame& frame, std::int64_t x, std::int64_t y, std::int64_t width,
                  std::int64_t height, std::uint16_t word);

// The line from (x0, y0) to (x1, y1), both ends included: one pixel for each
// step along the longer axis, the other coordinate rounded to the nearest (a
// half rounds away from the end with the smaller coordinate along the longer
// axis), so a line and its reverse cover the same pixels. The reference walks
// every step from end to end.
void DrawLineEachStep(const ShapeFrame& frame, int x0, int y0, int x1, int y1, std::uint16_t word);
// The same pixels, walking only the steps that fall inside the clip along the
// longer axis, so a line reaching far off the screen costs no more than one on it.
void DrawLineClipped(const ShapeFrame& frame, int x0, int y0, int x1, int y1, std::uint16_t word);
