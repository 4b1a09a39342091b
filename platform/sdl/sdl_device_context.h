// The SDL backend's device contexts: the screen's, and those its surfaces lend out
// over their 16-bit 5:6:5 pixels.
#pragma once

#include "platform/common/device_context.h"

namespace sdl {
// The screen's context, which GetDC hands out for any window.
HDC ScreenContext();
}  // namespace sdl
