// The plain row loops: every other set of kernels must give exactly these words.
#include <cstring>

#include "image/draw_kernels.h"
#include "image/tile_rows.h"

namespace {

void PlainRows(const DrawArea& area) {
    const std::size_t rowBytes = static_cast<std::size_t>(area.width) * 2;
    std::uint16_t* dst = area.dst;
    const std::uint16_t* src = area.src;
    for (int row = 0; row < area.rows; ++row) {
        std::memcpy(dst, src, rowBytes);
        dst += area.dstPitch;
        src += area.srcPitch;
    }
}

void MaskedRows(const DrawArea& area) {
    std::uint16_t* dst = area.dst;
    const std::uint16_t* src = area.src;
    for (int row = 0; row < area.rows; ++row) {
        for (int i = 0; i < area.width; ++i) dst[i] = MaskedPixel(dst[i], src[i]);
        dst += area.dstPitch;
        src += area.srcPitch;
    }
}

void AlphaRows(const DrawArea& area, const ChannelMasks& masks) {
    std::uint16_t* dst = area.dst;
    const std::uint16_t* src = area.src;
    const std::uint8_t* alpha = area.alpha;
    for (int row = 0; row < area.rows; ++row) {
        for (int i = 0; i < area.width; ++i) dst[i] = AlphaPixel(dst[i], src[i], alpha[i], masks);
        dst += area.dstPitch;
        src += area.srcPitch;
        alpha += area.srcPitch;
    }
}

void AdditiveRows(const DrawArea& area, const ChannelMasks& masks) {
    std::uint16_t* dst = area.dst;
    const std::uint16_t* src = area.src;
    for (int row = 0; row < area.rows; ++row) {
        for (int i = 0; i < area.width; ++i) dst[i] = AdditivePixel(dst[i], src[i], masks);
        dst += area.dstPitch;
        src += area.srcPitch;
    }
}

// What drawing the tiles one by one leaves in each row: a run from each tile.
void TiledRows(const TileArea& area) {
    std::uint16_t* dst = area.dst;
    int tileRow = area.firstRow;
    for (int row = 0; row < area.rows; ++row) {
        RepeatRow(dst, area.tile + static_cast<std::size_t>(tileRow) * area.tileWidth,
                  area.tileWidth, area.firstColumn, area.width);
        dst += area.dstPitch;
        if (++tileRow == area.tileHeight) tileRow = 0;
    }
}

void ClearRowByRow(std::uint8_t* first, int rows, std::size_t rowBytes, std::size_t step) {
    for (int row = 0; row < rows; ++row) std::memset(first + row * step, 0, rowBytes);
}

}  // namespace

void ClearRowsJoined(std::uint8_t* first, int rows, std::size_t rowBytes, std::size_t step) {
    if (rows <= 0) return;
    if (step > rowBytes) {
        ClearRowByRow(first, rows, rowBytes, step);
        return;
    }
    std::memset(first, 0, (rows - 1) * step + rowBytes);
}

const DrawKernels kReferenceKernels = {PlainRows,    MaskedRows, AlphaRows,
                                       AdditiveRows, TiledRows,  ClearRowByRow};
