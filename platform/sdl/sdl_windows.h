// The backend's windows: what a window handle stands for, and the lookups the
// message and display parts need.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/api/platform.h"

// A window of a registered class. It gets an SDL window (and renderer) only when
// it is first shown, so the engine's hidden measuring window never reaches the
// screen. The backend reports no frame: the client area is the whole outer size.
struct HWND__ {
    std::string className;
    DWORD style = 0;
    WNDPROC proc = nullptr;
    RECT outer = {0, 0, 0, 0};  // screen coordinates, equal to the client area
    bool visible = false;
    bool destroying = false;
    bool destroyed = false;
    bool focused = false;  // between SDL's focus-gained and focus-lost events
    // The on-screen part, null until shown.
    SDL_Window* sdlWindow = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int textureWidth = 0;
    int textureHeight = 0;
    SDL_Rect lastFrame = {0, 0, 0, 0};  // where the last picture was put, for repaints
    std::vector<std::uint16_t> shown;   // the last picture, rows packed, for screenshots
};

namespace sdl {

// True for a window that exists and is not yet destroyed (a window being
// destroyed still receives its WM_DESTROY).
bool IsLive(HWND window);
// The window shown as this SDL window, or null.
HWND WindowFromId(Uint32 windowId);
// The main window: the last one shown that still lives, else null.
HWND MainWindow();
// Calls the window's procedure at once, as SendMessage does; 0 for a dead window.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Keeps the window's recorded position in step with the screen after a move.
void NoteMoved(HWND window, int clientX, int clientY);
// Destroys the SDL side of every window (at shutdown).
void CloseAllScreens();

}  // namespace sdl
