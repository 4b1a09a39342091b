// The backend's windows: what a window handle stands for beside the shared
// window of platform/common. The page has one canvas, which shows the window
// shown last; the client area is the window's whole size (no frame).
#pragma once

#include "platform/common/window_system.h"

struct HWND__ : platform::Window {};

namespace web {

// The window the canvas shows: the last one shown that still lives, else null.
HWND MainWindow();

}  // namespace web
