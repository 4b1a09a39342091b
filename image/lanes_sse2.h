// Eight pixels at a time in 128-bit registers, one 16-bit lane per pixel. Each
// x86 kernel file defines CORVANE_LANES (the target attribute its functions
// carry) and then includes this, so the SSE2 loops and the narrow rows of the
// wider loops share these steps. Every step gives exactly the words of its
// rule in pixel_rules.h:
// - ((D & M) * A) >> 8 is the high half of (D & M) * (A << 8): both factors fit
//   16 unsigned bits (D & M < 2^16, A << 8 <= 0xFF00), so mulhi_epu16 is exact;
// - the blend's 16-bit add wraps exactly like the reference's truncated sum;
// - a saturated channel sum min((D & M) + (S & M), M) is min(adds_epu16, M):
//   when the true sum passes 0xFFFF it also passes M.
// What a set of lanes gives the row loops of row_loops.h: kPixels, Copy,
// KeyedResult, AlphaResult and AdditiveResult (the words a step would store,
// read before storing), Store, and Narrower (the lanes for narrower rows, void
// for pixel by pixel). Lanes with masked stores may set kKeyedStores and give
// KeyedStep, a keyed step that never reads the destination.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "image/pixel_rules.h"

#ifndef CORVANE_LANES
#error "define CORVANE_LANES (the kernel file's target attribute) before including lanes_sse2.h"
#endif

namespace {

struct Sse2Lanes {
    static constexpr int kPixels = 8;
    using Register = __m128i;
    // Rows narrower than a register go pixel by pixel.
    using Narrower = void;

    // The three channel masks in every lane.
    struct Masks {
        __m128i red, green, blue, all;
    };

    CORVANE_LANES static Masks Broadcast(const ChannelMasks& m) {
        return {_mm_set1_epi16(static_cast<short>(m.red)),
                _mm_set1_epi16(static_cast<short>(m.green)),
                _mm_set1_epi16(static_cast<short>(m.blue)),
                _mm_set1_epi16(static_cast<short>(m.red | m.green | m.blue))};
    }

    CORVANE_LANES static __m128i Load(const std::uint16_t* p) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    }

    CORVANE_LANES static void Store(std::uint16_t* p, __m128i v) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
    }

    CORVANE_LANES static void Copy(std::uint16_t* dst, const std::uint16_t* src) {
        Store(dst, Load(src));
    }

    // where ? a : b, lane by lane (where is all ones or all zeros per lane).
    CORVANE_LANES static __m128i Select(__m128i where, __m128i a, __m128i b) {
        return _mm_or_si128(_mm_and_si128(where, a), _mm_andnot_si128(where, b));
    }

    CORVANE_LANES static __m128i KeyedResult(const std::uint16_t* dst, const std::uint16_t* src) {
        const __m128i s = Load(src);
        const __m128i key = _mm_cmpeq_epi16(s, _mm_setzero_si128());
        // Where the source is the key word 0, s contributes nothing to the OR.
        return _mm_or_si128(s, _mm_and_si128(key, Load(dst)));
    }

    // keepHigh: the alpha bytes in the high half of each lane (keep << 8).
    CORVANE_LANES static __m128i Blend(__m128i d, __m128i s, __m128i keepHigh, const Masks& m) {
        // The blue term is not masked again, as in AlphaPixel.
        __m128i out = _mm_mulhi_epu16(_mm_and_si128(d, m.blue), keepHigh);
        out = _mm_or_si128(
            out, _mm_and_si128(_mm_mulhi_epu16(_mm_and_si128(d, m.green), keepHigh), m.green));
        out = _mm_or_si128(
            out, _mm_and_si128(_mm_mulhi_epu16(_mm_and_si128(d, m.red), keepHigh), m.red));
        return _mm_add_epi16(out, s);
    }

    CORVANE_LANES static __m128i AlphaResult(const std::uint16_t* dst, const std::uint16_t* src,
                                             const std::uint8_t* keep, const Masks& m) {
        const __m128i d = Load(dst);
        const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(keep));
        const __m128i keepHigh = _mm_unpacklo_epi8(_mm_setzero_si128(), bytes);
        const __m128i skip = _mm_cmpeq_epi16(keepHigh, _mm_set1_epi16(static_cast<short>(0xFF00)));
        return Select(skip, d, Blend(d, Load(src), keepHigh, m));
    }

    CORVANE_LANES static __m128i SaturatedSum(__m128i d, __m128i s, __m128i mask) {
        const __m128i sum = _mm_adds_epu16(_mm_and_si128(d, mask), _mm_and_si128(s, mask));
        // min(sum, mask) without SSE4.1: sum - max(sum - mask, 0).
        return _mm_sub_epi16(sum, _mm_subs_epu16(sum, mask));
    }

    // With kFields (MasksAreFields): M - min((D & M) + (S & M), M), the part of
    // the field the sum leaves free, is max((M & ~D) - (S & M), 0), since
    // M - (D & M) = M & ~D. For a run of bits it lies inside M, so M minus it is
    // M ^ it, and over fields apart from each other the sum is all & ~(the three).
    CORVANE_LANES static __m128i FreePart(__m128i d, __m128i s, __m128i mask) {
        return _mm_subs_epu16(_mm_andnot_si128(d, mask), _mm_and_si128(s, mask));
    }

    template <bool kFields>
    CORVANE_LANES static __m128i AdditiveResult(const std::uint16_t* dst, const std::uint16_t* src,
                                                const Masks& m) {
        const __m128i d = Load(dst);
        const __m128i s = Load(src);
        const __m128i skip = _mm_or_si128(_mm_cmpeq_epi16(d, _mm_set1_epi16(255)),
                                          _mm_cmpeq_epi16(s, _mm_setzero_si128()));
        __m128i sum;
        if constexpr (kFields) {
            const __m128i free =
                _mm_or_si128(_mm_or_si128(FreePart(d, s, m.blue), FreePart(d, s, m.green)),
                             FreePart(d, s, m.red));
            sum = _mm_andnot_si128(free, m.all);
        } else {
            sum =
                _mm_or_si128(_mm_or_si128(SaturatedSum(d, s, m.blue), SaturatedSum(d, s, m.green)),
                             SaturatedSum(d, s, m.red));
        }
        return Select(skip, d, sum);
    }
};

}  // namespace
