#include "platform/sdl/sdl_device_context.h"

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

BOOL WINAPI TextOutA(HDC, int, int, LPCSTR, int) {
    // No text renderer yet: nothing is drawn, and the call says so.
    return FALSE;
}
