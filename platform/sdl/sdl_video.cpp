#include "platform/sdl/sdl_video.h"

#include <SDL.h>

#include <cstdio>

#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/sdl/sdl_windows.h"

namespace sdl {
namespace {
enum class VideoState { NotTried, Ready };
VideoState state = VideoState::NotTried;
}  // namespace

void StartProgram() {
    SDL_SetMainReady();
}

bool VideoReady() {
    if (state == VideoState::NotTried) {
        // Pixel-exact scaling: a full-screen picture is enlarged by whole source pixels.
        SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
        // A window's own surface is the window system's memory (shared memory on
        // X11), never a texture of a renderer drawing in software behind it.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        // The game decides when the program ends: closing the window is a request.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        if (!StartVideoOnADisplay()) EndForWantOfADisplay();
        state = VideoState::Ready;
        StartGamepads();
    }
    return state == VideoState::Ready;
}

bool VideoStarted() {
    return state == VideoState::Ready;
}

void ReportSdlError(const char* what) {
    std::fprintf(stderr, "Corvane: %s: %s\n", what, SDL_GetError());
}

void ShutDown() {
    StopGamepads();
    CloseAllScreens();
    SDL_Quit();
    state = VideoState::NotTried;
}

}  // namespace sdl
