#include "platform/sdl/sdl_display.h"

#include <SDL.h>

#include "platform/sdl/sdl_video.h"
#include "platform/sdl/sdl_windows.h"

namespace sdl {

int RefreshRate() {
    if (!VideoStarted()) return 0;
    HWND window = MainWindow();
    int display = 0;
    if (window != nullptr && window->sdlWindow != nullptr)
        display = SDL_GetWindowDisplayIndex(window->sdlWindow);
    SDL_DisplayMode mode;
    if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0) return 0;
    return mode.refresh_rate;
}

}  // namespace sdl
