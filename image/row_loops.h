// The row loops of every instruction set, written once over a set of lanes
// (lanes_sse2.h says what one gives). A row at least one register wide is:
// - cut to its changing span when the image has one (Image::ChangingSpans)
//   and the rest of the row is found to change nothing: a test per register,
//   no store, where the step would cost a blend or a masked store;
// - then whole registers from the span's start, and one register ending at the
//   span's end, overlapping the one before it. A copy or a keyed store may
//   write a word twice; a blend or a sum must not see its own output, so its
//   last register is computed before the others are stored and stored after
//   them: each word gets the value its rule gives from the words before the draw.
// A narrower row goes to the next narrower lanes, and below eight pixels to the
// rules of pixel_rules.h.
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

// Calls row(dst, src, alpha, width, first, end) for each visible row of the
// area; [first, end) is the row's changing span, clipped to the visible part
// (the whole row without spans).
template <class Row>
CORVANE_LANES void EachRow(const DrawArea& a, const Row& row) {
    std::uint16_t* dst = a.dst;
    const std::uint16_t* src = a.src;
    const std::uint8_t* alpha = a.alpha;
    for (int r = 0; r < a.rows; ++r) {
        // The rows below are brought in while this one is drawn.
        const auto ahead = reinterpret_cast<std::uintptr_t>(dst + a.dstPitch) +
                           static_cast<std::uintptr_t>(a.dstPitch) * 2;
        for (int i = 0; i < a.width; i += 32)
            __builtin_prefetch(reinterpret_cast<const void*>(ahead + i * 2), 1);
        int first = 0, end = a.width;
        if (a.spans != nullptr) {
            first = std::clamp(a.spans[r].first - a.column, 0, a.width);
            end = std::clamp(a.spans[r].end - a.column, first, a.width);
        }
        row(dst, src, alpha, a.width, first, end);
        dst += a.dstPitch;
        src += a.srcPitch;
        if (alpha != nullptr) alpha += a.srcPitch;
    }
}

// Whether no pixel in [from, to) of a row (width >= L::kPixels) has its bit
// set by active(i), the mask of the register at pixel i.
template <class L, class Active>
CORVANE_LANES bool NoneActive(const Active& active, int from, int to, int width) {
    constexpr int k = L::kPixels;
    for (int i = from; i < to; i += k) {
        const int at = std::min(i, width - k);
        const int count = std::min(k, to - i);
        const auto wanted = static_cast<unsigned>(((std::uint64_t{1} << count) - 1) << (i - at));
        if ((active(at) & wanted) != 0) return false;
    }
    return true;
}

// The part of a row (width >= L::kPixels) to draw: [first, end), the changing
// span when the rest of the row really leaves every pixel alone, else the whole
// row; widened to one register. False when nothing changes.
template <class L, class Active>
CORVANE_LANES bool SpanToDraw(const Active& active, int width, int& first, int& end) {
    constexpr int k = L::kPixels;
    if ((first > 0 || end < width) &&
        !(NoneActive<L>(active, 0, first, width) && NoneActive<L>(active, end, width, width))) {
        first = 0;
        end = width;
    }
    if (first >= end) return false;
    if (end - first < k) {
        first = std::min(first, width - k);
        end = first + k;
    }
    return true;
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
struct NonZeroAt {
    const std::uint16_t* src;
    CORVANE_LANES unsigned operator()(int i) const { return L::NonZero(src + i); }
};

template <class L>
struct DrawnAt {
    const std::uint8_t* keep;
    CORVANE_LANES unsigned operator()(int i) const { return L::Drawn(keep + i); }
};

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

template <class L>
struct AdditiveAt {
    std::uint16_t* dst;
    const std::uint16_t* src;
    const typename L::Masks& m;
    CORVANE_LANES typename L::Register operator()(int i) const {
        return L::AdditiveResult(dst + i, src + i, m);
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

template <class L>
CORVANE_LANES void CopyRow(std::uint16_t* dst, const std::uint16_t* src, int width) {
    if (width >= L::kPixels) {
        RepeatableSpan<L>(width, CopyAt<L>{dst, src});
    } else if constexpr (kNarrowest<L>) {
        std::memcpy(dst, src, static_cast<std::size_t>(width) * 2);
    } else {
        CopyRow<typename L::Narrower>(dst, src, width);
    }
}

template <class L>
struct PlainRow {
    CORVANE_LANES void operator()(std::uint16_t* dst, const std::uint16_t* src, const std::uint8_t*,
                                  int width, int, int) const {
        CopyRow<L>(dst, src, width);
    }
};

template <class L>
struct KeyedRow {
    CORVANE_LANES void operator()(std::uint16_t* dst, const std::uint16_t* src,
                                  const std::uint8_t* alpha, int width, int first, int end) const {
        if (width >= L::kPixels) {
            if (!SpanToDraw<L>(NonZeroAt<L>{src}, width, first, end)) return;
            if constexpr (KeyedStores<L>(0))
                RepeatableSpan<L>(end - first, KeyedStepAt<L>{dst + first, src + first});
            else
                SpanOnce<L>(dst + first, end - first, KeyedAt<L>{dst + first, src + first});
        } else if constexpr (kNarrowest<L>) {
            MaskedPixels(dst, src, width);
        } else {
            KeyedRow<typename L::Narrower>{}(dst, src, alpha, width, 0, width);
        }
    }
};

template <class L>
struct AlphaRow {
    const ChannelMasks& masks;
    typename L::Masks m = L::Broadcast(masks);

    CORVANE_LANES void operator()(std::uint16_t* dst, const std::uint16_t* src,
                                  const std::uint8_t* keep, int width, int first, int end) const {
        if (width >= L::kPixels) {
            if (!SpanToDraw<L>(DrawnAt<L>{keep}, width, first, end)) return;
            SpanOnce<L>(dst + first, end - first,
                        AlphaAt<L>{dst + first, src + first, keep + first, m});
        } else if constexpr (kNarrowest<L>) {
            AlphaPixels(dst, src, keep, width, masks);
        } else {
            AlphaRow<typename L::Narrower>{masks}(dst, src, keep, width, 0, width);
        }
    }
};

template <class L>
struct AdditiveRow {
    const ChannelMasks& masks;
    typename L::Masks m = L::Broadcast(masks);

    CORVANE_LANES void operator()(std::uint16_t* dst, const std::uint16_t* src,
                                  const std::uint8_t* alpha, int width, int first, int end) const {
        if (width >= L::kPixels) {
            if (!SpanToDraw<L>(NonZeroAt<L>{src}, width, first, end)) return;
            SpanOnce<L>(dst + first, end - first, AdditiveAt<L>{dst + first, src + first, m});
        } else if constexpr (kNarrowest<L>) {
            AdditivePixels(dst, src, width, masks);
        } else {
            AdditiveRow<typename L::Narrower>{masks}(dst, src, alpha, width, 0, width);
        }
    }
};

// The draw-table entries of a set of lanes.
template <class L>
CORVANE_LANES void PlainRows(const DrawArea& area) {
    EachRow(area, PlainRow<L>{});
}

template <class L>
CORVANE_LANES void KeyedRows(const DrawArea& area) {
    EachRow(area, KeyedRow<L>{});
}

template <class L>
CORVANE_LANES void AlphaRows(const DrawArea& area, const ChannelMasks& masks) {
    EachRow(area, AlphaRow<L>{masks});
}

template <class L>
CORVANE_LANES void AdditiveRows(const DrawArea& area, const ChannelMasks& masks) {
    EachRow(area, AdditiveRow<L>{masks});
}

}  // namespace
