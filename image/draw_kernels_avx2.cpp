// Row loops sixteen pixels at a time with AVX2; what is left of a row goes
// eight at a time, then pixel by pixel.
#include "image/draw_kernels.h"

#ifdef CORVANE_WIDE_KERNELS

#include <cstring>

#define CORVANE_LANES __attribute__((target("avx2")))
#include "image/lanes_avx2.h"
#include "image/lanes_sse2.h"
#include "image/tile_rows.h"

namespace {

// Ends that do not fill a whole register are copied by an overlapping one.
CORVANE_LANES void CopyRow(std::uint16_t* dst, const std::uint16_t* src, int width) {
    if (width >= 16) {
        int i = 0;
        for (; i + 16 <= width; i += 16) Copy16(dst + i, src + i);
        if (i < width) Copy16(dst + width - 16, src + width - 16);
    } else if (width >= 8) {
        Copy8(dst, src);
        Copy8(dst + width - 8, src + width - 8);
    } else {
        std::memcpy(dst, src, static_cast<std::size_t>(width) * 2);
    }
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
        for (; i + 16 <= width; i += 16) Masked16(dst + i, src + i);
        if (i + 8 <= width) {
            Masked8(dst + i, src + i);
            i += 8;
        }
        for (; i < width; ++i) dst[i] = MaskedPixel(dst[i], src[i]);
        dst += area.dstPitch;
        src += area.srcPitch;
    }
}

CORVANE_LANES void AlphaRows(const DrawArea& area, const ChannelMasks& masks) {
    const Masks16 m16 = Broadcast16(masks);
    const Masks8 m8 = Broadcast8(masks);
    std::uint16_t* dst = area.dst;
    const std::uint16_t* src = area.src;
    const std::uint8_t* alpha = area.alpha;
    const int width = area.width;
    for (int row = 0; row < area.rows; ++row) {
        int i = 0;
        for (; i + 16 <= width; i += 16) Alpha16(dst + i, src + i, alpha + i, m16);
        if (i + 8 <= width) {
            Alpha8(dst + i, src + i, alpha + i, m8);
            i += 8;
        }
        for (; i < width; ++i) dst[i] = AlphaPixel(dst[i], src[i], alpha[i], masks);
        dst += area.dstPitch;
        src += area.srcPitch;
        alpha += area.srcPitch;
    }
}

CORVANE_LANES void AdditiveRows(const DrawArea& area, const ChannelMasks& masks) {
    const Masks16 m16 = Broadcast16(masks);
    const Masks8 m8 = Broadcast8(masks);
    std::uint16_t* dst = area.dst;
    const std::uint16_t* src = area.src;
    const int width = area.width;
    for (int row = 0; row < area.rows; ++row) {
        int i = 0;
        for (; i + 16 <= width; i += 16) Additive16(dst + i, src + i, m16);
        if (i + 8 <= width) {
            Additive8(dst + i, src + i, m8);
            i += 8;
        }
        for (; i < width; ++i) dst[i] = AdditivePixel(dst[i], src[i], masks);
        dst += area.dstPitch;
        src += area.srcPitch;
    }
}

const DrawKernels kAvx2Kernels = {
    PlainRows,      MaskedRows, AlphaRows, AdditiveRows, TiledRowsWith<16, Copy16, CopyRow>,
    ClearRowsJoined};

}  // namespace

const DrawKernels* Avx2Kernels() {
    return &kAvx2Kernels;
}

#else

const DrawKernels* Avx2Kernels() {
    return nullptr;
}

#endif
