// Eight pixels at a time in 128-bit registers, one 16-bit lane per pixel. Each
// x86 kernel file defines CORVANE_LANES (the target attribute its functions
// carry) and then includes this, so the SSE2 loops and the narrow rows of the
// wider loops share these lanes. Every step of lane_steps.h gives exactly the
// words of its rule in pixel_rules.h:
// - ((D & M) * A) >> 8 is the high half of (D & M) * (A << 8): both factors fit
//   16 unsigned bits (D & M < 2^16, A << 8 <= 0xFF00), so MulHi is exact;
// - the blend's 16-bit add wraps exactly like the reference's truncated sum;
// - a saturated channel sum min((D & M) + (S & M), M) is min(AddSat, M):
//   when the true sum passes 0xFFFF it also passes M.
// What a set of lanes gives the row loops of row_loops.h: kPixels, Copy,
// KeyedResult, AlphaResult and AdditiveResult (the words a step would store,
// read before storing), Store, and Narrower (the lanes for narrower rows, void
// for pixel by pixel). Lanes with masked stores may set kKeyedStores and give
// KeyedStep, a keyed step that never reads the destination.
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "image/lane_steps.h"

#ifndef CORVANE_LANES
#error "define CORVANE_LANES (the kernel file's target attribute) before including lanes_sse2.h"
#endif

namespace {

struct Sse2Ops {
    static constexpr int kPixels = 8;
    using Register = __m128i;
    // Rows narrower than a register go pixel by pixel.
    using Narrower = void;

    CORVANE_LANES static __m128i Splat(std::uint16_t v) {
        return _mm_set1_epi16(static_cast<short>(v));
    }
    CORVANE_LANES static __m128i Zero() { return _mm_setzero_si128(); }
    CORVANE_LANES static __m128i Load(const std::uint16_t* p) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    }
    CORVANE_LANES static void Store(std::uint16_t* p, __m128i v) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v);
    }
    CORVANE_LANES static __m128i And(__m128i a, __m128i b) { return _mm_and_si128(a, b); }
    CORVANE_LANES static __m128i Or(__m128i a, __m128i b) { return _mm_or_si128(a, b); }
    CORVANE_LANES static __m128i AndNot(__m128i a, __m128i b) { return _mm_andnot_si128(a, b); }
    CORVANE_LANES static __m128i MulHi(__m128i a, __m128i b) { return _mm_mulhi_epu16(a, b); }
    CORVANE_LANES static __m128i Add(__m128i a, __m128i b) { return _mm_add_epi16(a, b); }
    CORVANE_LANES static __m128i AddSat(__m128i a, __m128i b) { return _mm_adds_epu16(a, b); }
    CORVANE_LANES static __m128i SubSat(__m128i a, __m128i b) { return _mm_subs_epu16(a, b); }
    // min(a, b) without SSE4.1: a - max(a - b, 0).
    CORVANE_LANES static __m128i Min(__m128i a, __m128i b) {
        return _mm_sub_epi16(a, _mm_subs_epu16(a, b));
    }
    CORVANE_LANES static __m128i Equal(__m128i a, __m128i b) { return _mm_cmpeq_epi16(a, b); }
    // where ? a : b, lane by lane (where is all ones or all zeros per lane).
    CORVANE_LANES static __m128i Select(__m128i where, __m128i a, __m128i b) {
        return _mm_or_si128(_mm_and_si128(where, a), _mm_andnot_si128(where, b));
    }
    CORVANE_LANES static __m128i KeepHigh(const std::uint8_t* keep) {
        const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(keep));
        return _mm_unpacklo_epi8(_mm_setzero_si128(), bytes);
    }
};

using Sse2Lanes = LaneSteps<Sse2Ops>;

}  // namespace
