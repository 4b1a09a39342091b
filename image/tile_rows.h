// Rows of a tiled rectangle: the plain loop's step, and the vector loop that
// kernel files instantiate with their lanes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "image/draw_area.h"
#ifdef CORVANE_LANES
#include "image/row_loops.h"
#endif

namespace {

// count words of the endless repetition of one tile row, from its column `column` on.
inline void RepeatRow(std::uint16_t* dst, const std::uint16_t* row, int tileWidth, int column,
                      int count) {
    while (count > 0) {
        const int run = std::min(tileWidth - column, count);
        std::memcpy(dst, row + column, static_cast<std::size_t>(run) * 2);
        dst += run;
        count -= run;
        column = 0;
    }
}

#ifdef CORVANE_LANES

// L is a set of lanes (lanes_sse2.h); CopyRow<L> (row_loops.h) copies any
// number of words. A tile at least four registers wide is copied straight from
// its rows, a run per tile. A narrower one would break most registers at its
// seam, so each tile row that shows is first laid out once, rotated to the
// rectangle's first column and repeated to a whole number of tiles plus one
// register; a screen row is then whole registers read from that pattern.
template <class L>
CORVANE_LANES void TiledRows(const TileArea& a) {
    constexpr int Lanes = L::kPixels;
    const int tw = a.tileWidth;
    std::uint16_t* dst = a.dst;
    if (tw >= 4 * Lanes || a.width < Lanes) {
        int tileRow = a.firstRow;
        for (int row = 0; row < a.rows; ++row) {
            const std::uint16_t* src = a.tile + static_cast<std::size_t>(tileRow) * tw;
            int column = a.firstColumn;
            for (int i = 0; i < a.width;) {
                const int run = std::min(tw - column, a.width - i);
                CopyRow<L>(dst + i, src + column, run);
                i += run;
                column = 0;
            }
            dst += a.dstPitch;
            if (++tileRow == a.tileHeight) tileRow = 0;
        }
        return;
    }
    const int period = tw * ((Lanes + tw - 1) / tw);
    const int length = period + Lanes;
    const int used = std::min(a.rows, a.tileHeight);
    std::vector<std::uint16_t> patterns(static_cast<std::size_t>(used) * length);
    for (int k = 0; k < used; ++k) {
        const int tileRow = (a.firstRow + k) % a.tileHeight;
        RepeatRow(&patterns[static_cast<std::size_t>(k) * length],
                  a.tile + static_cast<std::size_t>(tileRow) * tw, tw, a.firstColumn, length);
    }
    // The last register of a row overlaps the one before it.
    const int last = (a.width - Lanes) % period;
    int k = 0;
    for (int row = 0; row < a.rows; ++row) {
        const std::uint16_t* pattern = &patterns[static_cast<std::size_t>(k) * length];
        // One register at the row's start, then registers on register-sized
        // boundaries, so that no store straddles two cache lines.
        L::Copy(dst, pattern);
        int i = static_cast<int>((0 - reinterpret_cast<std::uintptr_t>(dst)) % (Lanes * 2) / 2);
        int j = i;
        for (; i + Lanes <= a.width; i += Lanes) {
            L::Copy(dst + i, pattern + j);
            j += Lanes;
            if (j >= period) j -= period;
        }
        if (i < a.width) L::Copy(dst + a.width - Lanes, pattern + last);
        dst += a.dstPitch;
        if (++k == used) k = 0;
    }
}

#endif

}  // namespace
