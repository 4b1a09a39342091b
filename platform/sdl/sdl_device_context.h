// A GDI device context of the SDL backend: the screen's (no pixels) or one lent
// out by a surface's GetDC, drawing into that surface's 16-bit 5:6:5 pixels.
#pragma once

#include <cstdint>

#include "platform/api/platform.h"

struct HDC__ {
    std::uint16_t* pixels = nullptr;  // null for the screen's context
    int width = 0;
    int height = 0;
    int pitchBytes = 0;
    int backgroundMode = OPAQUE;
    COLORREF textColor = 0;
};

namespace sdl {
// The screen's context, which GetDC hands out for any window.
HDC ScreenContext();
}  // namespace sdl
