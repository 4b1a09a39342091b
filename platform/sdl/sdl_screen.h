// The on-screen side of a window: its SDL window, renderer and the RGB565
// streaming texture that shows the engine's 16-bit pictures.
#pragma once

#include <cstdint>

#include "platform/sdl/sdl_windows.h"

namespace sdl {

// Puts the window on the screen: a fixed-size window whose client area has the
// window's size, or for a WS_POPUP window the whole desktop showing that size
// scaled up with its aspect ratio kept. False (SDL's reason on standard error)
// when SDL refuses.
bool OpenScreen(HWND window);
// Takes the window off the screen and frees its renderer and texture.
void CloseScreen(HWND window);
// Shows a 5:6:5 picture with its top-left corner at client position (x, y),
// waiting for the vertical retrace. False when the window is not on the screen.
bool PresentFrame(HWND window, const std::uint16_t* pixels, int width, int height, int pitchBytes,
                  int x, int y);
// Shows the last picture again, after the window was uncovered.
void RepaintScreen(HWND window);
// The client area's top-left corner in screen coordinates.
POINT ClientOrigin(HWND window);
// True while the window is on the screen and has the keyboard focus.
bool HasFocus(HWND window);

}  // namespace sdl
