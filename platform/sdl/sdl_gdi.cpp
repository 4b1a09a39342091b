// GDI on the SDL backend: the screen's context. Text on a surface's context is
// drawn by the shared bitmap-font GDI in platform/common.
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
