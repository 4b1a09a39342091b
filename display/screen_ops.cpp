#include "display/screen_ops.h"

#include <algorithm>
#include <cstring>

#include "image/draw_routines.h"
#include "image/image.h"
#include "shell/windx.h"

FloorDivision FloorDivMod(std::int64_t a, std::int64_t n) {
    if (n < 1) return {0, 0};
    FloorDivision result = {a / n, a % n};
    if (result.remainder < 0) {
        result.remainder += n;
        --result.quotient;
    }
    return result;
}

void WinDX::ClearScreen() {
    if (backBuffer == nullptr) return;
    // Each row is cleared over the whole pitch, padding included.
    if (height <= 0 || pitch <= 0 || width < 0) return;
    ClearRows(backBuffer, height, static_cast<std::size_t>(pitch),
              static_cast<std::size_t>(width) * 2);
}

void WinDX::FillBox(int left, int top, int right, int bottom, int red, int green, int blue) {
    if (backBuffer == nullptr) return;
    // Always a 5:5:5 pixel, whatever masks the surface has. Unsigned shifts give
    // the two's-complement bits for any argument.
    const auto colour = static_cast<std::uint16_t>(static_cast<std::uint32_t>(red >> 3) << 10 |
                                                   static_cast<std::uint32_t>(green >> 3) << 5 |
                                                   static_cast<std::uint32_t>(blue >> 3));
    // Clipped to the back buffer, so a rectangle off the screen never writes
    // outside the surface.
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width - 1);
    bottom = std::min(bottom, height - 1);
    for (int y = top; y <= bottom; ++y) {
        std::uint16_t* row = backBuffer + static_cast<std::ptrdiff_t>(y) * width;
        std::fill(row + left, row + right + 1, colour);
    }
}

void WinDX::SetClip(int left, int top, int right, int bottom) {
    clipLeft = left;
    clipTop = top;
    clipRight = right;
    clipBottom = bottom;
}

int WinDX::DrawImage(int x, int y, Image* image) {
    return DrawPlain(x, y, image);
}

int WinDX::DrawTiled(int x, int y, Image* image) {
    if (image == nullptr) {
        // The draw routine reports the missing image.
        DrawImage(x, y, image);
        return 1;
    }
    const std::int64_t tileWidth = image->width;
    const std::int64_t tileHeight = image->height;
    if (tileWidth <= 0 || tileHeight <= 0) return 1;
    // With the engine's own plain routine in the table the tiles can be laid in
    // one pass, row by row: the same pixels, without a clip per tile.
    if (drawTable.DrawPlain == DrawPlain16 && TilePlain16(x, y, image)) return 1;

    // The screen is a window at (x, y) onto a plane tiled from its origin; the
    // first tile starts at (-rx, -ry), never right of or below the screen's corner.
    const std::int64_t lastColumn =
        FloorDivMod(static_cast<std::int64_t>(x) + width, tileWidth).quotient;
    const std::int64_t lastRow =
        FloorDivMod(static_cast<std::int64_t>(y) + height, tileHeight).quotient;
    const FloorDivision column = FloorDivMod(x, tileWidth);
    const FloorDivision row = FloorDivMod(y, tileHeight);
    const std::int64_t columns = lastColumn - column.quotient + 1;
    const std::int64_t rows = lastRow - row.quotient + 1;

    for (std::int64_t i = 0; i < rows; ++i)
        for (std::int64_t j = 0; j < columns; ++j)
            DrawImage(static_cast<int>(j * tileWidth - column.remainder),
                      static_cast<int>(i * tileHeight - row.remainder), image);
    return 1;
}

void WinDX::BuildAddTable() {
    // The old table goes before the new one is made.
    addTable.reset();
    addTable = std::make_unique<std::int16_t[]>(32 * 32);
    for (int i = 0; i < 32; ++i)
        for (int j = 0; j < 32; ++j)
            addTable[i * 32 + j] = static_cast<std::int16_t>(std::min(i + j, 31));
}
