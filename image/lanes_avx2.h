// Sixteen pixels at a time in 256-bit registers: the steps of lane_steps.h
// (lanes_sse2.h explains why each is exact and what a set of lanes gives) at
// twice the width. Included like it, after CORVANE_LANES names a target with
// AVX2.
#pragma once

#include <immintrin.h>

#include <cstdint>

#include "image/lane_steps.h"
#include "image/lanes_sse2.h"

namespace {

struct Avx2Ops {
    static constexpr int kPixels = 16;
    using Register = __m256i;
    using Narrower = Sse2Lanes;

    CORVANE_LANES static __m256i Splat(std::uint16_t v) {
        return _mm256_set1_epi16(static_cast<short>(v));
    }
    CORVANE_LANES static __m256i Zero() { return _mm256_setzero_si256(); }
    CORVANE_LANES static __m256i Load(const std::uint16_t* p) {
        return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    }
    CORVANE_LANES static void Store(std::uint16_t* p, __m256i v) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), v);
    }
    CORVANE_LANES static __m256i And(__m256i a, __m256i b) { return _mm256_and_si256(a, b); }
    CORVANE_LANES static __m256i Or(__m256i a, __m256i b) { return _mm256_or_si256(a, b); }
    CORVANE_LANES static __m256i AndNot(__m256i a, __m256i b) { return _mm256_andnot_si256(a, b); }
    CORVANE_LANES static __m256i MulHi(__m256i a, __m256i b) { return _mm256_mulhi_epu16(a, b); }
    CORVANE_LANES static __m256i Add(__m256i a, __m256i b) { return _mm256_add_epi16(a, b); }
    CORVANE_LANES static __m256i AddSat(__m256i a, __m256i b) { return _mm256_adds_epu16(a, b); }
    CORVANE_LANES static __m256i SubSat(__m256i a, __m256i b) { return _mm256_subs_epu16(a, b); }
    CORVANE_LANES static __m256i Min(__m256i a, __m256i b) { return _mm256_min_epu16(a, b); }
    CORVANE_LANES static __m256i Equal(__m256i a, __m256i b) { return _mm256_cmpeq_epi16(a, b); }
    CORVANE_LANES static __m256i Select(__m256i where, __m256i a, __m256i b) {
        return _mm256_blendv_epi8(b, a, where);
    }
    CORVANE_LANES static __m256i KeepHigh(const std::uint8_t* keep) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(keep));
        return _mm256_slli_epi16(_mm256_cvtepu8_epi16(bytes), 8);
    }
};

using Avx2Lanes = LaneSteps<Avx2Ops>;

}  // namespace
