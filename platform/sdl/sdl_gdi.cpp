// GDI on the SDL backend: the screen's context. Text on a surface's context is
// drawn by the shared bitmap-font GDI in platform/common.
#include "platform/sdl/sdl_device_context.h"
#include "platform/sdl/sdl_display.h"

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
    if (dc == nullptr) return 0;
    // The engine always draws 16-bit pictures, which the backend converts for the
    // real display, so the desktop is reported at 16 bits per pixel.
    if (index == BITSPIXEL) return 16;
    if (index == VREFRESH) return sdl::RefreshRate();
    return 0;
}
