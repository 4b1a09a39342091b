// The plain row loops: every other set of kernels must give exactly these words.
#include <cstring>

#include "image/draw_kernels.h"

// The plain loops carry no target attribute.
#define CORVANE_LANES
#include "image/row_loops.h"
#include "image/tile_rows.h"

namespace {

struct MemcpyRow {
    void operator()(std::uint16_t* dst, const std::uint16_t* src, const std::uint8_t*,
                    int width) const {
        std::memcpy(dst, src, static_cast<std::size_t>(width) * 2);
    }
};

struct MaskedPixelRow {
    void operator()(std::uint16_t* dst, const std::uint16_t* src, const std::uint8_t*,
                    int width) const {
        MaskedPixels(dst, src, width);
    }
};

struct AlphaPixelRow {
    const ChannelMasks& masks;
    void operator()(std::uint16_t* dst, const std::uint16_t* src, const std::uint8_t* keep,
                    int width) const {
        AlphaPixels(dst, src, keep, width, masks);
    }
};

struct AdditivePixelRow {
    const ChannelMasks& masks;
    void operator()(std::uint16_t* dst, const std::uint16_t* src, const std::uint8_t*,
                    int width) const {
        AdditivePixels(dst, src, width, masks);
    }
};

void AlphaRows(const DrawArea& area, const ChannelMasks& masks) {
    EachRow<false>(area, AlphaPixelRow{masks});
}

void AdditiveRows(const DrawArea& area, const ChannelMasks& masks) {
    EachRow<false>(area, AdditivePixelRow{masks});
}

void ClearRowByRow(std::uint8_t* first, int rows, std::size_t rowBytes, std::size_t step) {
    for (int row = 0; row < rows; ++row) std::memset(first + row * step, 0, rowBytes);
}

}  // namespace

void PixelKeyedRows(const DrawArea& area) {
    EachRow<false>(area, MaskedPixelRow{});
}

void MemcpyRows(const DrawArea& area) {
    EachRow<false>(area, MemcpyRow{});
}

// What drawing the tiles one by one leaves in each row: a run from each tile.
void MemcpyTiledRows(const TileArea& area) {
    std::uint16_t* dst = area.dst;
    int tileRow = area.firstRow;
    for (int row = 0; row < area.rows; ++row) {
        RepeatRow(dst, area.tile + static_cast<std::size_t>(tileRow) * area.tileWidth,
                  area.tileWidth, area.firstColumn, area.width);
        dst += area.dstPitch;
        if (++tileRow == area.tileHeight) tileRow = 0;
    }
}

void ClearRowsJoined(std::uint8_t* first, int rows, std::size_t rowBytes, std::size_t step) {
    if (rows <= 0) return;
    if (step > rowBytes) {
        ClearRowByRow(first, rows, rowBytes, step);
        return;
    }
    std::memset(first, 0, (rows - 1) * step + rowBytes);
}

const DrawKernels kReferenceKernels = {MemcpyRows,   PixelKeyedRows,  AlphaRows,
                                       AdditiveRows, MemcpyTiledRows, ClearRowByRow};
