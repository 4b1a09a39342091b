// The row loops of every instruction set, written once over a set of lanes
// (lanes_sse2.h says what one gives). A row at least one register wide is
// whole registers from its start and one register ending at its end,
// overlapping the one before it. A copy or a keyed store may write a word
// twice; a step that reads the destination must not see its own output, so
// its last register is computed before the others are stored and stored after
// them: each word gets the value its rule gives from the words before the draw
// (and no load waits on an overlapping store). A narrower row goes to the next
// narrower lanes, and below eight pixels to the rules of pixel_rules.h.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "image/draw_area.h"
#include "image/pixel_rules.h"

#ifndef CORVANE_LANES
#error "define CORVANE_LANES (the kernel file's target attribute) before including row_loops.h"
#endif

namespace {

// Calls row(dst, src, alpha, width) for each visible row of the area. With
// kPrefetch the destination two rows below is asked for while a row is drawn:
// a blend spends long enough on a row for it to arrive, a keyed copy does not.
template <bool kPrefetch, class Row>
CORVANE_LANES void EachRow(const DrawArea& a, const Row& row) {
    std::uint16_t* dst = a.dst;
    const std::uint16_t* src = a.src;
    const std::uint8_t* alpha = a.alpha;
    // In bytes, as addresses: a prefetch may reach past the buffer, a pointer may not.
    const auto twoRows = static_cast<std::uintptr_t>(a.dstPitch) * 4;
    for (int r = 0; r < a.rows; ++r) {
        if constexpr (kPrefetch) {
            const auto ahead = reinterpret_cast<std::uintptr_t>(dst) + twoRows;
            for (int i = 0; i < a.width; i += 32)
                __builtin_prefetch(reinterpret_cast<const void*>(ahead + i * 2), 1);
        }
        row(dst, src, alpha, a.width);
        dst += a.dstPitch;
        src += a.srcPitch;
        if (alpha != nullptr) alpha += a.srcPitch;
    }
}

// A step that may run twice on the same words, over width >= L::kPixels words.
template <class L, class Step>
CORVANE_LANES void RepeatableSpan(int width, const Step& step) {
    constexpr int k = L::kPixels;
    for (int i = 0; i + k <= width; i += k) step(i);
    step(width - k);
}

// A step that must see only the words before the draw: result(i) is what the
// register at i becomes.
template <class L, class Result>
CORVANE_LANES void SpanOnce(std::uint16_t* dst, int width, const Result& result) {
    constexpr int k = L::kPixels;
    const typename L::Register last = result(width - k);
    for (int i = 0; i + k <= width; i += k) L::Store(dst + i, result(i));
    L::Store(dst + width - k, last);
}

template <class L>
struct CopyAt {
    std::uint16_t* dst;
    const std::uint16_t* src;
    CORVANE_LANES void operator()(int i) const { L::Copy(dst + i, src + i); }
};

template <class L>
struct KeyedStepAt {
    std::uint16_t* dst;
    const std::uint16_t* src;
    CORVANE_LANES void operator()(int i) const { L::KeyedStep(dst + i, src + i); }
};

template <class L>
struct KeyedAt {
    std::uint16_t* dst;
    const std::uint16_t* src;
    CORVANE_LANES typename L::Register operator()(int i) const {
        return L::KeyedResult(dst + i, src + i);
    }
};

template <class L>
struct AlphaAt {
    std::uint16_t* dst;
    const std::uint16_t* src;
    const std::uint8_t* keep;
    const typename L::Masks& m;
    CORVANE_LANES typename L::Register operator()(int i) const {
        return L::AlphaResult(dst + i, src + i, keep + i, m);
    }
};

template <class L, bool kFields>
struct AdditiveAt {
    std::uint16_t* dst;
    const std::uint16_t* src;
    const typename L::Masks& m;
    CORVANE_LANES typename L::Register operator()(int i) const {
        return L::template AdditiveResult<kFields>(dst + i, src + i, m);
    }
};

// Whether the lanes store keyed words under a mask (L::kKeyedStores).
template <class L>
constexpr bool KeyedStores(decltype(L::kKeyedStores)) {
    return L::kKeyedStores;
}
template <class L>
constexpr bool KeyedStores(...) {
    return false;
}

template <class L>
constexpr bool kNarrowest = std::is_void_v<typename L::Narrower>;

// A copy reads no destination, so its registers may be placed freely: one at
// the row's start, then registers on register boundaries, so that no store
// straddles two cache lines, and one at the end.
template <class L>
CORVANE_LANES void CopyRow(std::uint16_t* dst, const std::uint16_t* src, int width) {
    constexpr int k = L::kPixels;
    if (width >= k) {
        L::Copy(dst, src);
        const auto misplaced = static_cast<int>(reinterpret_cast<std::uintptr_t>(dst) / 2 % k);
        for (int i = k - misplaced; i + k <= width; i += k) L::Copy(dst + i, src + i);
        L::Copy(dst + width - k, src + width - k);
    } else if constexpr (kNarrowest<L>) {
        std::memcpy(dst, src, static_cast<std::size_t>(width) * 2);
    } else {
        CopyRow<typename L::Narrower>(dst, src, width);
    }
}

template <class L>
struct PlainRow {
    CORVANE_LANES void operator()(std::uint16_t* dst, const std::uint16_t* src, const std::uint8_t*,
                                  int width) const {
        CopyRow<L>(dst, src, width);
    }
};

template <class L>
struct KeyedRow {
    CORVANE_LANES void operator()(std::uint16_t* dst, const std::uint16_t* src,
                                  const std::uint8_t* alpha, int width) const {
        if (width >= L::kPixels) {
            if constexpr (KeyedStores<L>(0))
                RepeatableSpan<L>(width, KeyedStepAt<L>{dst, src});
            else
                SpanOnce<L>(dst, width, KeyedAt<L>{dst, src});
        } else if constexpr (kNarrowest<L>) {
            MaskedPixels(dst, src, width);
        } else {
            KeyedRow<typename L::Narrower>{}(dst, src, alpha, width);
        }
    }
};

template <class L>
struct AlphaRow {
    const ChannelMasks& masks;
    typename L::Masks m = L::Broadcast(masks);

    CORVANE_LANES void operator()(std::uint16_t* dst, const std::uint16_t* src,
                                  const std::uint8_t* keep, int width) const {
        if (width >= L::kPixels) {
            SpanOnce<L>(dst, width, AlphaAt<L>{dst, src, keep, m});
        } else if constexpr (kNarrowest<L>) {
            AlphaPixels(dst, src, keep, width, masks);
        } else {
            AlphaRow<typename L::Narrower>{masks}(dst, src, keep, width);
        }
    }
};

template <class L, bool kFields>
struct AdditiveRow {
    const ChannelMasks& masks;
    typename L::Masks m = L::Broadcast(masks);

    CORVANE_LANES void operator()(std::uint16_t* dst, const std::uint16_t* src,
                                  const std::uint8_t* alpha, int width) const {
        if (width >= L::kPixels) {
            SpanOnce<L>(dst, width, AdditiveAt<L, kFields>{dst, src, m});
        } else if constexpr (kNarrowest<L>) {
            AdditivePixels(dst, src, width, masks);
        } else {
            AdditiveRow<typename L::Narrower, kFields>{masks}(dst, src, alpha, width);
        }
    }
};

// The draw-table entries of a set of lanes.
template <class L>
CORVANE_LANES void PlainRows(const DrawArea& area) {
    EachRow<false>(area, PlainRow<L>{});
}

template <class L>
CORVANE_LANES void KeyedRows(const DrawArea& area) {
    EachRow<false>(area, KeyedRow<L>{});
}

template <class L>
CORVANE_LANES void AlphaRows(const DrawArea& area, const ChannelMasks& masks) {
    EachRow<true>(area, AlphaRow<L>{masks});
}

template <class L>
CORVANE_LANES void AdditiveRows(const DrawArea& area, const ChannelMasks& masks) {
    if (MasksAreFields(masks))
        EachRow<true>(area, AdditiveRow<L, true>{masks});
    else
        EachRow<true>(area, AdditiveRow<L, false>{masks});
}

}  // namespace
