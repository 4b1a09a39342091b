// GDI on the SDL backend: the screen's context, and text drawn with the embedded
// bitmap font into the 5:6:5 pixels of a surface's context.
#include "platform/common/bitmap_font.h"
#include "platform/sdl/sdl_device_context.h"

namespace {

// GDI's background colour while none has been chosen: OPAQUE text fills its
// cells with it.
constexpr COLORREF kDefaultBackground = RGB(255, 255, 255);

std::uint16_t ToPixel(COLORREF colour) {
    return bitmapfont::PackColour(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF,
                                  0xF800, 0x07E0, 0x001F);
}

}  // namespace

namespace sdl {
HDC ScreenContext() {
    static HDC__ screen;
    return &screen;
}
}  // namespace sdl

HDC WINAPI GetDC(HWND) {
    return sdl::ScreenContext();
}

int WINAPI ReleaseDC(HWND, HDC dc) {
    return dc == sdl::ScreenContext() ? 1 : 0;
}

int WINAPI GetDeviceCaps(HDC dc, int index) {
    // The engine always draws 16-bit pictures, which the backend converts for the
    // real display, so the desktop is reported at 16 bits per pixel.
    if (dc == nullptr) return 0;
    return index == BITSPIXEL ? 16 : 0;
}

int WINAPI SetBkMode(HDC dc, int mode) {
    if (dc == nullptr || (mode != TRANSPARENT && mode != OPAQUE)) return 0;
    const int previous = dc->backgroundMode;
    dc->backgroundMode = mode;
    return previous;
}

COLORREF WINAPI SetTextColor(HDC dc, COLORREF color) {
    if (dc == nullptr) return 0xFFFFFFFFu;  // CLR_INVALID
    const COLORREF previous = dc->textColor;
    dc->textColor = color;
    return previous;
}

BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
    // The screen's context has no pixels of its own to draw into.
    if (dc == nullptr || dc->pixels == nullptr || length < 0) return FALSE;
    if (length > 0 && text == nullptr) return FALSE;
    bitmapfont::Canvas16 canvas;
    canvas.pixels = dc->pixels;
    canvas.width = dc->width;
    canvas.height = dc->height;
    canvas.pitchBytes = dc->pitchBytes;
    const std::uint16_t ink = ToPixel(dc->textColor);
    const std::uint16_t paper = ToPixel(kDefaultBackground);
    bitmapfont::DrawString(canvas, x, y, text, length, ink,
                           dc->backgroundMode == OPAQUE ? &paper : nullptr);
    return TRUE;
}
