#include "platform/sdl/sdl_frame_scaler.h"

#include <SDL.h>

#include <cstddef>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace sdl {
namespace {

enum class Layout { None, Xrgb8888, Rgb565 };

Layout LayoutOf(std::uint32_t format) {
    switch (format) {
        case SDL_PIXELFORMAT_RGB888:
        case SDL_PIXELFORMAT_ARGB8888:
            return Layout::Xrgb8888;
        case SDL_PIXELFORMAT_RGB565:
            return Layout::Rgb565;
        default:
            return Layout::None;
    }
}

int BytesPerPixel(Layout layout) {
    return layout == Layout::Rgb565 ? 2 : 4;
}

// The 32-bit pixel SDL's renderer shows for a 5:6:5 one: its conversion table
// (SDL 2.26) takes red and blue to 255 v / 31 and green to 4 g + g / 24, each
// rounded down, with an opaque top byte.
std::uint32_t WidenPixel(std::uint16_t pixel) {
    const std::uint32_t red = pixel >> 11;
    const std::uint32_t green = (pixel >> 5) & 0x3F;
    const std::uint32_t blue = pixel & 0x1F;
    return 0xFF000000u | (red * 255 / 31) << 16 | (4 * green + green / 24) << 8 | blue * 255 / 31;
}

bool Fits(const Frame565& frame, int factor, const SurfacePixels& surface, int x, int y,
          Layout layout) {
    if (layout == Layout::None || frame.pixels == nullptr || surface.pixels == nullptr)
        return false;
    if (factor < 1 || factor > kLargestScale || frame.width <= 0 || frame.height <= 0) return false;
    if (frame.pitchBytes % 2 != 0 || frame.pitchBytes < 2LL * frame.width) return false;
    const int bytes = BytesPerPixel(layout);
    if (surface.pitchBytes % bytes != 0 || surface.pitchBytes < 1LL * bytes * surface.width)
        return false;
    return x >= 0 && y >= 0 && 1LL * frame.width * factor <= 1LL * surface.width - x &&
           1LL * frame.height * factor <= 1LL * surface.height - y;
}

const std::uint16_t* SourceRow(const Frame565& frame, int row) {
    return reinterpret_cast<const std::uint16_t*>(
        reinterpret_cast<const std::uint8_t*>(frame.pixels) +
        static_cast<std::size_t>(row) * frame.pitchBytes);
}

// Writes factor copies of one pixel.
template <typename Pixel>
void RepeatPixel(Pixel pixel, int factor, Pixel* out) {
    for (int i = 0; i < factor; ++i) out[i] = pixel;
}

#if defined(__SSE2__)

void Store(void* out, __m128i v) {
    _mm_storeu_si128(static_cast<__m128i*>(out), v);
}

// WidenPixel for eight pixels, in two halves of four 32-bit pixels. The
// divisions are exact as multiplications: for v < 32, 255 v / 31 rounded down
// is 8 v + (14799 v) >> 16, and for g < 64, g / 24 rounded down is
// (2731 g) >> 16 (every value checked), each a mulhi_epu16.
void Widen8(__m128i pixels, __m128i& low, __m128i& high) {
    const __m128i red = _mm_srli_epi16(pixels, 11);
    const __m128i green = _mm_and_si128(_mm_srli_epi16(pixels, 5), _mm_set1_epi16(0x3F));
    const __m128i blue = _mm_and_si128(pixels, _mm_set1_epi16(0x1F));
    const __m128i fifths = _mm_set1_epi16(14799);
    const __m128i red8 = _mm_add_epi16(_mm_slli_epi16(red, 3), _mm_mulhi_epu16(red, fifths));
    const __m128i blue8 = _mm_add_epi16(_mm_slli_epi16(blue, 3), _mm_mulhi_epu16(blue, fifths));
    const __m128i green8 =
        _mm_add_epi16(_mm_slli_epi16(green, 2), _mm_mulhi_epu16(green, _mm_set1_epi16(2731)));
    const __m128i greenBlue = _mm_or_si128(_mm_slli_epi16(green8, 8), blue8);
    const __m128i opaqueRed = _mm_or_si128(red8, _mm_set1_epi16(static_cast<short>(0xFF00)));
    low = _mm_unpacklo_epi16(greenBlue, opaqueRed);
    high = _mm_unpackhi_epi16(greenBlue, opaqueRed);
}

// Writes each of four 32-bit pixels factor times. kFactor is the factor for
// 1 to 3, whose copies are lanes shuffled into place; 0 stands for 4 and more,
// where each pixel fills whole registers, the last overlapping the one before.
template <int kFactor>
void Repeat4(__m128i four, int factor, std::uint32_t* out) {
    if constexpr (kFactor == 1) {
        Store(out, four);
    } else if constexpr (kFactor == 2) {
        Store(out, _mm_unpacklo_epi32(four, four));
        Store(out + 4, _mm_unpackhi_epi32(four, four));
    } else if constexpr (kFactor == 3) {
        Store(out, _mm_shuffle_epi32(four, _MM_SHUFFLE(1, 0, 0, 0)));
        Store(out + 4, _mm_shuffle_epi32(four, _MM_SHUFFLE(2, 2, 1, 1)));
        Store(out + 8, _mm_shuffle_epi32(four, _MM_SHUFFLE(3, 3, 3, 2)));
    } else {
        const __m128i lanes[4] = {_mm_shuffle_epi32(four, 0x00), _mm_shuffle_epi32(four, 0x55),
                                  _mm_shuffle_epi32(four, 0xAA), _mm_shuffle_epi32(four, 0xFF)};
        for (const __m128i& same : lanes) {
            for (int i = 0; i + 4 <= factor; i += 4) Store(out + i, same);
            if (factor % 4 != 0) Store(out + factor - 4, same);
            out += factor;
        }
    }
}

template <int kFactor>
void WidenRowIn8s(const std::uint16_t* from, int width, int factor, std::uint32_t* out) {
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        __m128i low, high;
        Widen8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x)), low, high);
        Repeat4<kFactor>(low, factor, out + x * factor);
        Repeat4<kFactor>(high, factor, out + (x + 4) * factor);
    }
    for (; x < width; ++x) RepeatPixel(WidenPixel(from[x]), factor, out + x * factor);
}

// Two copies of a pixel make one 32-bit word, which is then repeated half the
// factor times as 32-bit pixels are.
template <int kHalfFactor>
void RepeatPairsIn8s(const std::uint16_t* from, int width, int factor, std::uint16_t* out) {
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        const __m128i eight = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + x));
        auto* pairs = reinterpret_cast<std::uint32_t*>(out + x * factor);
        Repeat4<kHalfFactor>(_mm_unpacklo_epi16(eight, eight), factor / 2, pairs);
        Repeat4<kHalfFactor>(_mm_unpackhi_epi16(eight, eight), factor / 2, pairs + 2 * factor);
    }
    for (; x < width; ++x) RepeatPixel(from[x], factor, out + x * factor);
}

#endif

// One row of the enlarged frame: width x factor pixels.
void WidenRow(const std::uint16_t* from, int width, int factor, std::uint32_t* out) {
#if defined(__SSE2__)
    switch (factor) {
        case 1:
            return WidenRowIn8s<1>(from, width, factor, out);
        case 2:
            return WidenRowIn8s<2>(from, width, factor, out);
        case 3:
            return WidenRowIn8s<3>(from, width, factor, out);
        default:
            return WidenRowIn8s<0>(from, width, factor, out);
    }
#else
    for (int x = 0; x < width; ++x) RepeatPixel(WidenPixel(from[x]), factor, out + x * factor);
#endif
}

void RepeatRow(const std::uint16_t* from, int width, int factor, std::uint16_t* out) {
    if (factor == 1) {
        std::memcpy(out, from, static_cast<std::size_t>(width) * 2);
        return;
    }
#if defined(__SSE2__)
    switch (factor) {
        case 2:
            return RepeatPairsIn8s<1>(from, width, factor, out);
        case 4:
            return RepeatPairsIn8s<2>(from, width, factor, out);
        case 6:
            return RepeatPairsIn8s<3>(from, width, factor, out);
        default:
            if (factor % 2 == 0) return RepeatPairsIn8s<0>(from, width, factor, out);
    }
#endif
    for (int x = 0; x < width; ++x) RepeatPixel(from[x], factor, out + x * factor);
}

}  // namespace

bool CanScaleInto(std::uint32_t format) {
    return LayoutOf(format) != Layout::None;
}

bool ScaleFrame(const Frame565& frame, int factor, const SurfacePixels& surface, int x, int y) {
    const Layout layout = LayoutOf(surface.format);
    if (!Fits(frame, factor, surface, x, y, layout)) return false;
    const int bytes = BytesPerPixel(layout);
    const std::size_t pitch = static_cast<std::size_t>(surface.pitchBytes);
    const std::size_t rowBytes = static_cast<std::size_t>(frame.width) * factor * bytes;
    std::uint8_t* out = static_cast<std::uint8_t*>(surface.pixels) + y * pitch +
                        static_cast<std::size_t>(x) * bytes;
    for (int row = 0; row < frame.height; ++row) {
        const std::uint16_t* from = SourceRow(frame, row);
        if (layout == Layout::Rgb565)
            RepeatRow(from, frame.width, factor, reinterpret_cast<std::uint16_t*>(out));
        else
            WidenRow(from, frame.width, factor, reinterpret_cast<std::uint32_t*>(out));
        // The block's other rows are copies of its first.
        for (int copy = 1; copy < factor; ++copy) std::memcpy(out + copy * pitch, out, rowBytes);
        out += factor * pitch;
    }
    return true;
}

bool ScaleFrameReference(const Frame565& frame, int factor, const SurfacePixels& surface, int x,
                         int y) {
    const Layout layout = LayoutOf(surface.format);
    if (!Fits(frame, factor, surface, x, y, layout)) return false;
    auto* first = static_cast<std::uint8_t*>(surface.pixels);
    for (int outY = 0; outY < frame.height * factor; ++outY) {
        std::uint8_t* row = first + static_cast<std::size_t>(y + outY) * surface.pitchBytes;
        const std::uint16_t* from = SourceRow(frame, outY / factor);
        for (int outX = 0; outX < frame.width * factor; ++outX) {
            const std::uint16_t pixel = from[outX / factor];
            if (layout == Layout::Rgb565)
                reinterpret_cast<std::uint16_t*>(row)[x + outX] = pixel;
            else
                reinterpret_cast<std::uint32_t*>(row)[x + outX] = WidenPixel(pixel);
        }
    }
    return true;
}

bool ScaleFrameInto(SDL_Surface* surface, const Frame565& frame, int factor, int x, int y) {
    if (surface == nullptr || surface->format == nullptr) return false;
    const SurfacePixels pixels = {surface->pixels, surface->w, surface->h, surface->pitch,
                                  surface->format->format};
    return ScaleFrame(frame, factor, pixels, x, y);
}

}  // namespace sdl
