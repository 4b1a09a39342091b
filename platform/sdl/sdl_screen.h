// The on-screen side of a window: its SDL window, and the renderer with its
// RGB565 streaming texture or the window's own surface that shows the engine's
// 16-bit pictures.
#pragma once

#include <cstdint>

#include "platform/sdl/sdl_picture_layout.h"
#include "platform/sdl/sdl_program.h"
#include "platform/sdl/sdl_windows.h"

namespace sdl {

// Puts the window on the screen: a fixed-size window showing the client area
// enlarged by the display options' whole-number scale (and in the full-screen
// view if they ask for it), or for a WS_POPUP window the whole desktop showing
// that size scaled up with its aspect ratio kept. Either way the client area
// keeps its own size in pixels, and mouse positions arrive in those pixels.
// False (SDL's reason on standard error) when SDL refuses.
bool OpenScreen(HWND window);
// Lays the engine's pictures out in width x height pixels (the client area, or
// a full-screen display mode), however large the window shows them.
void SetCanvasSize(HWND window, int width, int height);
// Where the window's pictures lie in a window of this many real pixels.
PicturePlace CanvasPlace(HWND window, int windowWidth, int windowHeight);
// Switches a shown window between its window and a borderless full-screen view
// of the same picture, scaled with the aspect ratio kept. False for a WS_POPUP
// window, which is always full screen.
bool ToggleFullScreen(HWND window);
// The last picture the window showed (width 0 before the first).
ShownPicture LastPicture(HWND window);
// Takes the window off the screen and frees its renderer and texture.
void CloseScreen(HWND window);
// Shows a 5:6:5 picture with its top-left corner at client position (x, y);
// the renderer waits for the vertical retrace, the window surface does not.
// False when the window is not on the screen.
bool PresentFrame(HWND window, const std::uint16_t* pixels, int width, int height, int pitchBytes,
                  int x, int y);
// Shows the last picture again, after the window was uncovered.
void RepaintScreen(HWND window);
// How many real pixels across one pixel of the window's picture takes: its
// whole-number enlargement while it is a window, else 1. The screen positions
// the engine sees (WM_MOVE, ClientToScreen, the primary surface's extent) are
// counted in these pixels, so that the picture and the screen it is placed on
// agree when the engine works out which part of its window is on the screen.
int PictureScale(HWND window);
// A mouse position SDL reported in the window, turned into the client area's
// own pixels in place; false over the bars beside the picture or outside the
// client area.
bool ClientPoint(HWND window, int& x, int& y);
// A point of the real screen as the engine sees it beside this window.
POINT EngineScreenPoint(HWND window, int x, int y);
// The client area's top-left corner in screen coordinates (see PictureScale).
POINT ClientOrigin(HWND window);
// True while the window is on the screen and has the keyboard focus.
bool HasFocus(HWND window);

}  // namespace sdl
