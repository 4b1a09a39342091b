// The part every image draw routine shares before its row loop: the purpose
// check, the planes it needs, the locked back buffer and the clip. A faster set
// of routines starts from the same area so that it refuses and clips alike.
#pragma once

#include <cstdint>

class Image;

// The visible part of an image on the back buffer.
struct DrawArea {
    std::uint16_t* dst = nullptr;         // first visible pixel in the back buffer
    const std::uint16_t* src = nullptr;   // matching pixel of the image
    const std::uint8_t* alpha = nullptr;  // matching alpha byte, when the routine needs it
    int width = 0;                        // visible pixels per row
    int rows = 0;                         // visible rows
    int dstPitch = 0;                     // back-buffer row length in pixels
    int srcPitch = 0;                     // image row length in pixels (also for alpha)
};

enum class DrawStart {
    Refused,  // wrong purpose or no image: status IMAGEUSE_FAILED reported, answer 0
    Nothing,  // nothing to draw (no planes, no back buffer, or clipped away): answer 1
    Draw,     // area filled in: run the rows, then answer 1
};

// Checks an image against the purpose of the calling routine and clips it at
// (x, y). needsAlpha: the routine reads the alpha plane.
DrawStart BeginDraw(int x, int y, const Image* image, std::int8_t purpose, bool needsAlpha,
                    DrawArea& area);

// A rectangle of the back buffer to cover with copies of one tile: pixel (i, r)
// of the rectangle shows the tile's pixel (firstColumn + i, firstRow + r), both
// taken modulo the tile's size.
struct TileArea {
    std::uint16_t* dst = nullptr;  // top-left pixel of the rectangle
    int width = 0;                 // pixels per row
    int rows = 0;
    int dstPitch = 0;                     // back-buffer row length in pixels
    const std::uint16_t* tile = nullptr;  // the tile's pixels, rows packed
    int tileWidth = 0;
    int tileHeight = 0;
    int firstColumn = 0;  // 0 .. tileWidth - 1
    int firstRow = 0;     // 0 .. tileHeight - 1
};
