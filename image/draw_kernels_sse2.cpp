// Row loops eight pixels at a time with SSE2, which every x86-64 processor has.
#include "image/draw_kernels.h"

#ifdef CORVANE_SSE2_KERNELS

#include <cstring>

#define CORVANE_LANES __attribute__((target("sse2")))
#include "image/lanes_sse2.h"
#include "image/tile_rows.h"

namespace {

// A row of at least eight pixels ends with a copy that overlaps the one before
// it; copying a word twice changes nothing.
CORVANE_LANES void CopyRow(std::uint16_t* dst, const std::uint16_t* src, int width) {
    if (width < 8) {
        std::memcpy(dst, src, static_cast<std::size_t>(width) * 2);
        return;
    }
    int i = 0;
    for (; i + 16 <= width; i += 16) {
        Copy8(dst + i, src + i);
        Copy8(dst + i + 8, src + i + 8);
    }
    if (i + 8 <= width) {
        Copy8(dst + i, src + i);
        i += 8;
    }
    if (i < width) Copy8(dst + width - 8, src + width - 8);
}

CORVANE_LANES void PlainRows(const DrawArea& area) {
    std::uint16_t* dst = area.dst;
    const std::uint16_t* src = area.src;
    for (int row = 0; row < area.rows; ++row) {
        CopyRow(dst, src, area.width);
        dst += area.dstPitch;
        src += area.srcPitch;
    }
}

CORVANE_LANES void MaskedRows(const DrawArea& area) {
    std::uint16_t* dst = area.dst;
    const std::uint16_t* src = area.src;
    const int width = area.width;
    for (int row = 0; row < area.rows; ++row) {
        int i = 0;
        for (; i + 8 <= width; i += 8) Masked8(dst + i, src + i);
        for (; i < width; ++i) dst[i] = MaskedPixel(dst[i], src[i]);
        dst += area.dstPitch;
        src += area.srcPitch;
    }
}

CORVANE_LANES void AlphaRows(const DrawArea& area, const ChannelMasks& masks) {
    const Masks8 m = Broadcast8(masks);
    std::uint16_t* dst = area.dst;
    const std::uint16_t* src = area.src;
    const std::uint8_t* alpha = area.alpha;
    const int width = area.width;
    for (int row = 0; row < area.rows; ++row) {
        int i = 0;
        for (; i + 8 <= width; i += 8) Alpha8(dst + i, src + i, alpha + i, m);
        for (; i < width; ++i) dst[i] = AlphaPixel(dst[i], src[i], alpha[i], masks);
        dst += area.dstPitch;
        src += area.srcPitch;
        alpha += area.srcPitch;
    }
}

CORVANE_LANES void AdditiveRows(const DrawArea& area, const ChannelMasks& masks) {
    const Masks8 m = Broadcast8(masks);
    std::uint16_t* dst = area.dst;
    const std::uint16_t* src = area.src;
    const int width = area.width;
    for (int row = 0; row < area.rows; ++row) {
        int i = 0;
        for (; i + 8 <= width; i += 8) Additive8(dst + i, src + i, m);
        for (; i < width; ++i) dst[i] = AdditivePixel(dst[i], src[i], masks);
        dst += area.dstPitch;
        src += area.srcPitch;
    }
}

const DrawKernels kSse2Kernels = {
    PlainRows,      MaskedRows, AlphaRows, AdditiveRows, TiledRowsWith<8, Copy8, CopyRow>,
    ClearRowsJoined};

}  // namespace

const DrawKernels* Sse2Kernels() {
    return &kSse2Kernels;
}

#else

const DrawKernels* Sse2Kernels() {
    return nullptr;
}

#endif
