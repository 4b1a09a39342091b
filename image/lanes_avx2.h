// Sixteen pixels at a time in 256-bit registers: the steps of lanes_sse2.h
// (which explains why each is exact and what a set of lanes gives) at twice
// the width. Included like it, after CORVANE_LANES names a target with AVX2.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "image/lanes_sse2.h"
#include "image/pixel_rules.h"

namespace {

struct Avx2Lanes {
    static constexpr int kPixels = 16;
    using Register = __m256i;
    using Narrower = Sse2Lanes;

    struct Masks {
        __m256i red, green, blue, all;
    };

    CORVANE_LANES static Masks Broadcast(const ChannelMasks& m) {
        return {_mm256_set1_epi16(static_cast<short>(m.red)),
                _mm256_set1_epi16(static_cast<short>(m.green)),
                _mm256_set1_epi16(static_cast<short>(m.blue)),
                _mm256_set1_epi16(static_cast<short>(m.red | m.green | m.blue))};
    }

    CORVANE_LANES static __m256i Load(const std::uint16_t* p) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    }

    CORVANE_LANES static void Store(std::uint16_t* p, __m256i v) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
    }

    CORVANE_LANES static void Copy(std::uint16_t* dst, const std::uint16_t* src) {
        Store(dst, Load(src));
    }

    CORVANE_LANES static __m256i KeyedResult(const std::uint16_t* dst, const std::uint16_t* src) {
        const __m256i s = Load(src);
        const __m256i key = _mm256_cmpeq_epi16(s, _mm256_setzero_si256());
        return _mm256_or_si256(s, _mm256_and_si256(key, Load(dst)));
    }

    CORVANE_LANES static __m256i Blend(__m256i d, __m256i s, __m256i keepHigh, const Masks& m) {
        __m256i out = _mm256_mulhi_epu16(_mm256_and_si256(d, m.blue), keepHigh);
        out = _mm256_or_si256(
            out,
            _mm256_and_si256(_mm256_mulhi_epu16(_mm256_and_si256(d, m.green), keepHigh), m.green));
        out = _mm256_or_si256(
            out, _mm256_and_si256(_mm256_mulhi_epu16(_mm256_and_si256(d, m.red), keepHigh), m.red));
        return _mm256_add_epi16(out, s);
    }

    CORVANE_LANES static __m256i AlphaResult(const std::uint16_t* dst, const std::uint16_t* src,
                                             const std::uint8_t* keep, const Masks& m) {
        const __m256i d = Load(dst);
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(keep));
        const __m256i keepHigh = _mm256_slli_epi16(_mm256_cvtepu8_epi16(bytes), 8);
        const __m256i skip =
            _mm256_cmpeq_epi16(keepHigh, _mm256_set1_epi16(static_cast<short>(0xFF00)));
        return _mm256_blendv_epi8(Blend(d, Load(src), keepHigh, m), d, skip);
    }

    CORVANE_LANES static __m256i SaturatedSum(__m256i d, __m256i s, __m256i mask) {
        const __m256i sum = _mm256_adds_epu16(_mm256_and_si256(d, mask), _mm256_and_si256(s, mask));
        return _mm256_min_epu16(sum, mask);
    }

    CORVANE_LANES static __m256i FreePart(__m256i d, __m256i s, __m256i mask) {
        return _mm256_subs_epu16(_mm256_andnot_si256(d, mask), _mm256_and_si256(s, mask));
    }

    template <bool kFields>
    CORVANE_LANES static __m256i AdditiveResult(const std::uint16_t* dst, const std::uint16_t* src,
                                                const Masks& m) {
        const __m256i d = Load(dst);
        const __m256i s = Load(src);
        const __m256i skip = _mm256_or_si256(_mm256_cmpeq_epi16(d, _mm256_set1_epi16(255)),
                                             _mm256_cmpeq_epi16(s, _mm256_setzero_si256()));
        __m256i sum;
        if constexpr (kFields) {
            const __m256i free =
                _mm256_or_si256(_mm256_or_si256(FreePart(d, s, m.blue), FreePart(d, s, m.green)),
                                FreePart(d, s, m.red));
            sum = _mm256_andnot_si256(free, m.all);
        } else {
            sum = _mm256_or_si256(
                _mm256_or_si256(SaturatedSum(d, s, m.blue), SaturatedSum(d, s, m.green)),
                SaturatedSum(d, s, m.red));
        }
        return _mm256_blendv_epi8(sum, d, skip);
    }
};

}  // namespace
