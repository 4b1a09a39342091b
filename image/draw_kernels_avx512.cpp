// Row loops 32 pixels at a time with AVX-512BW; what is left of a row goes
// sixteen, then eight at a time, then pixel by pixel. A keyed draw leaves the
// key words out of a masked store and so never reads the destination; the
// blends read it anyway, and there a blend under the mask followed by a whole
// store measured faster than a masked store.
#include "image/draw_kernels.h"

#ifdef CORVANE_WIDE_KERNELS

#include <cstring>

#define CORVANE_LANES __attribute__((target("avx512f,avx512bw,avx512vl")))
#include "image/lanes_avx2.h"
#include "image/lanes_sse2.h"
#include "image/tile_rows.h"

namespace {

// Truth table of a | b | c for vpternlog.
constexpr int kOr3 = 0xFE;
// (a & b) | c.
constexpr int kAndOr = 0xEA;

struct Masks32 {
    __m512i red, green, blue;
};

CORVANE_LANES inline Masks32 Broadcast32(const ChannelMasks& m) {
    return {_mm512_set1_epi16(static_cast<short>(m.red)),
            _mm512_set1_epi16(static_cast<short>(m.green)),
            _mm512_set1_epi16(static_cast<short>(m.blue))};
}

CORVANE_LANES inline __m512i Load32(const std::uint16_t* p) {
    return _mm512_loadu_si512(p);
}

CORVANE_LANES inline void Copy32(std::uint16_t* dst, const std::uint16_t* src) {
    _mm512_storeu_si512(dst, Load32(src));
}

CORVANE_LANES inline void Masked32(std::uint16_t* dst, const std::uint16_t* src) {
    const __m512i s = Load32(src);
    _mm512_mask_storeu_epi16(dst, _mm512_test_epi16_mask(s, s), s);
}

// The narrower keyed steps with masked stores too (AVX-512 VL).
CORVANE_LANES inline void MaskedStore16(std::uint16_t* dst, const std::uint16_t* src) {
    const __m256i s = Load16(src);
    _mm256_mask_storeu_epi16(dst, _mm256_test_epi16_mask(s, s), s);
}

CORVANE_LANES inline void MaskedStore8(std::uint16_t* dst, const std::uint16_t* src) {
    const __m128i s = Load8(src);
    _mm_mask_storeu_epi16(dst, _mm_test_epi16_mask(s, s), s);
}

CORVANE_LANES inline void Alpha32(std::uint16_t* dst, const std::uint16_t* src,
                                  const std::uint8_t* keep, const Masks32& m) {
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(keep));
    const __mmask32 draw = _mm256_cmpneq_epi8_mask(bytes, _mm256_set1_epi8(-1));
    const __m512i keepHigh = _mm512_slli_epi16(_mm512_cvtepu8_epi16(bytes), 8);
    const __m512i d = Load32(dst);
    // As Blend8: the blue term unmasked, green and red masked after scaling.
    const __m512i blue = _mm512_mulhi_epu16(_mm512_and_si512(d, m.blue), keepHigh);
    const __m512i green = _mm512_mulhi_epu16(_mm512_and_si512(d, m.green), keepHigh);
    const __m512i red = _mm512_mulhi_epu16(_mm512_and_si512(d, m.red), keepHigh);
    __m512i out = _mm512_ternarylogic_epi32(green, m.green, blue, kAndOr);
    out = _mm512_ternarylogic_epi32(red, m.red, out, kAndOr);
    _mm512_storeu_si512(dst, _mm512_mask_mov_epi16(d, draw, _mm512_add_epi16(out, Load32(src))));
}

CORVANE_LANES inline __m512i SaturatedSum32(__m512i d, __m512i s, __m512i mask) {
    const __m512i sum = _mm512_adds_epu16(_mm512_and_si512(d, mask), _mm512_and_si512(s, mask));
    return _mm512_min_epu16(sum, mask);
}

CORVANE_LANES inline void Additive32(std::uint16_t* dst, const std::uint16_t* src,
                                     const Masks32& m) {
    const __m512i d = Load32(dst);
    const __m512i s = Load32(src);
    const __mmask32 draw =
        _mm512_mask_cmpneq_epi16_mask(_mm512_test_epi16_mask(s, s), d, _mm512_set1_epi16(255));
    const __m512i sum =
        _mm512_ternarylogic_epi32(SaturatedSum32(d, s, m.blue), SaturatedSum32(d, s, m.green),
                                  SaturatedSum32(d, s, m.red), kOr3);
    _mm512_storeu_si512(dst, _mm512_mask_mov_epi16(d, draw, sum));
}

CORVANE_LANES void CopyRow(std::uint16_t* dst, const std::uint16_t* src, int width) {
    if (width >= 32) {
        int i = 0;
        for (; i + 32 <= width; i += 32) Copy32(dst + i, src + i);
        if (i < width) Copy32(dst + width - 32, src + width - 32);
    } else if (width >= 16) {
        Copy16(dst, src);
        Copy16(dst + width - 16, src + width - 16);
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
        for (; i + 32 <= width; i += 32) Masked32(dst + i, src + i);
        if (i + 16 <= width) {
            MaskedStore16(dst + i, src + i);
            i += 16;
        }
        if (i + 8 <= width) {
            MaskedStore8(dst + i, src + i);
            i += 8;
        }
        for (; i < width; ++i) dst[i] = MaskedPixel(dst[i], src[i]);
        dst += area.dstPitch;
        src += area.srcPitch;
    }
}

CORVANE_LANES void AlphaRows(const DrawArea& area, const ChannelMasks& masks) {
    const Masks32 m32 = Broadcast32(masks);
    const Masks16 m16 = Broadcast16(masks);
    const Masks8 m8 = Broadcast8(masks);
    std::uint16_t* dst = area.dst;
    const std::uint16_t* src = area.src;
    const std::uint8_t* alpha = area.alpha;
    const int width = area.width;
    for (int row = 0; row < area.rows; ++row) {
        int i = 0;
        for (; i + 32 <= width; i += 32) Alpha32(dst + i, src + i, alpha + i, m32);
        if (i + 16 <= width) {
            Alpha16(dst + i, src + i, alpha + i, m16);
            i += 16;
        }
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
    const Masks32 m32 = Broadcast32(masks);
    const Masks16 m16 = Broadcast16(masks);
    const Masks8 m8 = Broadcast8(masks);
    std::uint16_t* dst = area.dst;
    const std::uint16_t* src = area.src;
    const int width = area.width;
    for (int row = 0; row < area.rows; ++row) {
        int i = 0;
        for (; i + 32 <= width; i += 32) Additive32(dst + i, src + i, m32);
        if (i + 16 <= width) {
            Additive16(dst + i, src + i, m16);
            i += 16;
        }
        if (i + 8 <= width) {
            Additive8(dst + i, src + i, m8);
            i += 8;
        }
        for (; i < width; ++i) dst[i] = AdditivePixel(dst[i], src[i], masks);
        dst += area.dstPitch;
        src += area.srcPitch;
    }
}

const DrawKernels kAvx512Kernels = {
    PlainRows,      MaskedRows, AlphaRows, AdditiveRows, TiledRowsWith<32, Copy32, CopyRow>,
    ClearRowsJoined};

}  // namespace

const DrawKernels* Avx512Kernels() {
    return &kAvx512Kernels;
}

#else

const DrawKernels* Avx512Kernels() {
    return nullptr;
}

#endif
