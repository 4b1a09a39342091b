// 32 pixels at a time in 512-bit registers with AVX-512 BW: the steps of
// lane_steps.h at four times the width. A keyed step leaves the key words out
// of a masked store and so never reads the destination; the blends read it
// anyway, and there a blend under the mask followed by a whole store measured
// faster than a masked store. Included after CORVANE_LANES names a target with
// AVX-512 F, BW and VL.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "image/lane_steps.h"
#include "image/lanes_avx2.h"

namespace {

struct Avx512Ops {
    static constexpr int kPixels = 32;
    using Register = __m512i;
    using Narrower = Avx2Lanes;

    CORVANE_LANES static __m512i Splat(std::uint16_t v) {
        return _mm512_set1_epi16(static_cast<short>(v));
    }
    CORVANE_LANES static __m512i Load(const std::uint16_t* p) { return _mm512_loadu_si512(p); }
    CORVANE_LANES static void Store(std::uint16_t* p, __m512i v) { _mm512_storeu_si512(p, v); }
    CORVANE_LANES static __m512i And(__m512i a, __m512i b) { return _mm512_and_si512(a, b); }
    CORVANE_LANES static __m512i Or(__m512i a, __m512i b) { return _mm512_or_si512(a, b); }
    // ~a & b under an all-ones mask: GCC's _mm512_andnot_si512 warns of an
    // undefined operand of its own.
    CORVANE_LANES static __m512i AndNot(__m512i a, __m512i b) {
        return _mm512_maskz_andnot_epi32(0xFFFF, a, b);
    }
    CORVANE_LANES static __m512i AddSat(__m512i a, __m512i b) { return _mm512_adds_epu16(a, b); }
    CORVANE_LANES static __m512i SubSat(__m512i a, __m512i b) { return _mm512_subs_epu16(a, b); }
    CORVANE_LANES static __m512i Min(__m512i a, __m512i b) { return _mm512_min_epu16(a, b); }
};

// The shared saturated sums and free parts; the keyed, alpha and additive
// steps of its own, on masked stores and moves and three-way logic.
struct Avx512Lanes : LaneSteps<Avx512Ops> {
    // Truth tables for vpternlog, whose first operand is overwritten: a | b | c,
    // (a & b) | c, and ~(a | b) & c.
    static constexpr int kOr3 = 0xFE;
    static constexpr int kAndOr = 0xEA;
    static constexpr int kNotOrAnd = 0x02;

    // The key words are left out of the store, so the destination is never read.
    static constexpr bool kKeyedStores = true;
    CORVANE_LANES static void KeyedStep(std::uint16_t* dst, const std::uint16_t* src) {
        const __m512i s = Load(src);
        _mm512_mask_storeu_epi16(dst, _mm512_test_epi16_mask(s, s), s);
    }

    CORVANE_LANES static __m512i AlphaResult(const std::uint16_t* dst, const std::uint16_t* src,
                                             const std::uint8_t* keep, const Masks& m) {
        const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(keep));
        const __mmask32 draw = _mm256_cmpneq_epi8_mask(bytes, _mm256_set1_epi8(-1));
        const __m512i keepHigh = _mm512_slli_epi16(_mm512_cvtepu8_epi16(bytes), 8);
        const __m512i d = Load(dst);
        // As the SSE2 blend: the blue term unmasked, green and red masked after scaling.
        const __m512i blue = _mm512_mulhi_epu16(_mm512_and_si512(d, m.blue), keepHigh);
        const __m512i green = _mm512_mulhi_epu16(_mm512_and_si512(d, m.green), keepHigh);
        const __m512i red = _mm512_mulhi_epu16(_mm512_and_si512(d, m.red), keepHigh);
        __m512i out = _mm512_ternarylogic_epi32(green, m.green, blue, kAndOr);
        out = _mm512_ternarylogic_epi32(red, m.red, out, kAndOr);
        return _mm512_mask_mov_epi16(d, draw, _mm512_add_epi16(out, Load(src)));
    }

    template <bool kFields>
    CORVANE_LANES static __m512i AdditiveResult(const std::uint16_t* dst, const std::uint16_t* src,
                                                const Masks& m) {
        const __m512i d = Load(dst);
        const __m512i s = Load(src);
        const __mmask32 draw =
            _mm512_mask_cmpneq_epi16_mask(_mm512_test_epi16_mask(s, s), d, _mm512_set1_epi16(255));
        __m512i sum;
        if constexpr (kFields) {
            const __m512i free = _mm512_or_si512(FreePart(d, s, m.blue), FreePart(d, s, m.green));
            sum = _mm512_ternarylogic_epi32(free, FreePart(d, s, m.red), m.all, kNotOrAnd);
        } else {
            sum = _mm512_ternarylogic_epi32(SaturatedSum(d, s, m.blue), SaturatedSum(d, s, m.green),
                                            SaturatedSum(d, s, m.red), kOr3);
        }
        return _mm512_mask_mov_epi16(d, draw, sum);
    }
};

}  // namespace
