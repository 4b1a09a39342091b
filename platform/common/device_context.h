// A GDI device context of the backends without GDI: the screen's (no pixels) or
// one lent out by a surface's GetDC, drawing into that surface's 16-bit pixels
// laid out by the three masks.
#pragma once

#include <cstdint>

#include "platform/api/platform.h"

struct HDC__ {
    std::uint16_t* pixels = nullptr;  // null for the screen's context
    int width = 0;
    int height = 0;
    int pitchBytes = 0;
    std::uint32_t redMask = 0;
    std::uint32_t greenMask = 0;
    std::uint32_t blueMask = 0;
    int backgroundMode = OPAQUE;
    COLORREF textColor = 0;
};
