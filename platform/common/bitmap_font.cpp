#include "platform/common/bitmap_font.h"

#include <algorithm>

namespace bitmapfont {
namespace {

// An 8-bit channel value placed under its mask, keeping as many top bits as the
// mask has ones.
std::uint32_t PlaceChannel(int value, std::uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) ++shift;
    int bits = 0;
    while (shift + bits < 32 && ((mask >> (shift + bits)) & 1u) != 0) ++bits;
    const std::uint32_t v = static_cast<std::uint32_t>(value) & 0xFFu;
    const std::uint32_t scaled = bits >= 8 ? v << (bits - 8) : v >> (8 - bits);
    return (scaled << shift) & mask;
}

std::uint16_t* Row(const Canvas16& canvas, int y) {
    return reinterpret_cast<std::uint16_t*>(reinterpret_cast<std::uint8_t*>(canvas.pixels) +
                                            static_cast<std::ptrdiff_t>(y) * canvas.pitchBytes);
}

}  // namespace

std::uint16_t PackColour(int red, int green, int blue, std::uint32_t redMask,
                         std::uint32_t greenMask, std::uint32_t blueMask) {
    return static_cast<std::uint16_t>(PlaceChannel(red, redMask) | PlaceChannel(green, greenMask) |
                                      PlaceChannel(blue, blueMask));
}

void DrawString(const Canvas16& canvas, int x, int y, const char* text, int length,
                std::uint16_t ink, const std::uint16_t* paper) {
    if (canvas.pixels == nullptr || text == nullptr || length <= 0) return;
    if (canvas.width <= 0 || canvas.height <= 0) return;
    if (canvas.pitchBytes < 2LL * canvas.width) return;

    // Rows of the cells that fall on the canvas; positions are taken in 64 bits
    // so no coordinate near the int limits can wrap.
    const long long top = y;
    const int firstRow = static_cast<int>(std::clamp<long long>(-top, 0, kGlyphHeight));
    const int endRow =
        static_cast<int>(std::clamp<long long>(canvas.height - top, 0, kGlyphHeight));
    if (firstRow >= endRow) return;

    // Cells wholly left of the canvas are skipped without a look.
    const long long firstCell = x < 0 ? -static_cast<long long>(x) / kGlyphWidth : 0;
    for (long long i = firstCell; i < length; ++i) {
        const long long left = x + i * kGlyphWidth;
        if (left >= canvas.width) break;
        if (left + kGlyphWidth <= 0) continue;
        const int firstCol = static_cast<int>(std::max(0LL, -left));
        const int endCol = static_cast<int>(std::min<long long>(kGlyphWidth, canvas.width - left));
        const std::uint8_t* glyph = kGlyphs[static_cast<unsigned char>(text[i])];
        for (int r = firstRow; r < endRow; ++r) {
            std::uint16_t* out = Row(canvas, static_cast<int>(top + r)) + (left + firstCol);
            const unsigned bits = glyph[r];
            for (int c = firstCol; c < endCol; ++c, ++out) {
                if (bits & (0x80u >> c))
                    *out = ink;
                else if (paper != nullptr)
                    *out = *paper;
            }
        }
    }
}

}  // namespace bitmapfont
