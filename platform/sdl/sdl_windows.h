// The backend's windows: what a window handle stands for beside the shared
// window of platform/common, and the lookups the message and display parts need.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/common/window_system.h"

namespace sdl {
struct FreeSurface {
    void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using OwnedSurface = std::unique_ptr<SDL_Surface, FreeSurface>;
}  // namespace sdl

// A window of a registered class. It gets an SDL window only when it is first
// shown, so the engine's hidden measuring window never reaches the screen. The
// backend reports no frame: the client area is the whole outer size.
struct HWND__ : platform::Window {
    bool focused = false;  // between SDL's focus-gained and focus-lost events
    // The on-screen part, null until shown. Pictures go through the renderer
    // and its texture, or, where the renderer would draw in software (renderer
    // null), straight into the SDL window's own surface.
    SDL_Window* sdlWindow = nullptr;
    SDL_Renderer* renderer = nullptr;
    SDL_Texture* texture = nullptr;
    int textureWidth = 0;
    int textureHeight = 0;
    // The size the engine's pictures are laid out in (the client area, or a
    // full-screen display mode), however large the window shows it.
    int canvasWidth = 0;
    int canvasHeight = 0;
    sdl::OwnedSurface canvas;           // that size, for enlargements by no whole number
    bool surfaceFailed = false;         // the window surface could not be had (said once)
    SDL_Rect lastFrame = {0, 0, 0, 0};  // where the last picture was put, for repaints
    std::vector<std::uint16_t> shown;   // the last picture, rows packed, for screenshots
};

namespace sdl {

// platform::IsLive and platform::Send find a window and call its procedure.
// The window shown as this SDL window, or null.
HWND WindowFromId(Uint32 windowId);
// The main window: the last one shown that still lives, else null.
HWND MainWindow();
// Keeps the window's recorded position in step with the screen after a move.
void NoteMoved(HWND window, int clientX, int clientY);
// Destroys the SDL side of every window (at shutdown).
void CloseAllScreens();

}  // namespace sdl
