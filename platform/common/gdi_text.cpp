// GDI text output for the backends without GDI: device contexts lent out by
// surfaces draw the embedded bitmap font into the surface's 16-bit pixels.
#include <algorithm>
#include <cstdint>

#include "platform/common/bitmap_font.h"
#include "platform/common/device_context.h"

namespace {

// GDI's answer from SetTextColor when it fails (CLR_INVALID).
constexpr COLORREF kInvalidColour = 0xFFFFFFFF;
// GDI's background colour while none has been chosen: OPAQUE text fills its
// cells with it.
constexpr COLORREF kDefaultBackground = RGB(255, 255, 255);

std::uint16_t ToPixel(const HDC__& dc, COLORREF colour) {
    return bitmapfont::PackColour(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF,
                                  dc.redMask, dc.greenMask, dc.blueMask);
}

}  // namespace

int WINAPI SetBkMode(HDC dc, int mode) {
    if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int previous = dc->backgroundMode;
    dc->backgroundMode = mode;
    return previous;
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF color) {
    if (dc == nullptr) return kInvalidColour;
    const COLORREF previous = dc->textColor;
    dc->textColor = color;
    return previous;
}

BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
    // The screen's context has no pixels here: there is nothing to draw into.
    if (dc == nullptr || dc->pixels == nullptr || length < 0) return FALSE;
    if (length > 0 && text == nullptr) return FALSE;

    bitmapfont::Canvas16 canvas;
    canvas.pixels = dc->pixels;
    canvas.width = dc->width;
    canvas.height = dc->height;
    canvas.pitchBytes = dc->pitchBytes;
    const std::uint16_t ink = ToPixel(*dc, dc->textColor);
    const std::uint16_t paper = ToPixel(*dc, kDefaultBackground);
    bitmapfont::DrawString(canvas, x, y, text, length, ink,
                           dc->backgroundMode == OPAQUE ? &paper : nullptr);
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size) {
    // Every context draws the same font, the screen's too: one cell per byte.
    if (dc == nullptr || size == nullptr || length < 0) return FALSE;
    if (length > 0 && text == nullptr) return FALSE;
    const std::int64_t width = std::int64_t{length} * bitmapfont::kGlyphWidth;
    size->cx = static_cast<LONG>(std::min<std::int64_t>(width, INT32_MAX));
    size->cy = bitmapfont::kGlyphHeight;
    return TRUE;
}
