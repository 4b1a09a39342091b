#include "platform/sdl/sdl_display.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

#include "platform/common/program_file.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/sdl_windows.h"

namespace sdl {
namespace {

// Drivers that draw into memory only, or that only complain on standard error
// where their display cannot be.
bool Unseen(const std::string& driver) {
    if (driver == "offscreen" || driver == "dummy" || driver == "evdev") return true;
    return driver == "wayland" && std::getenv("WAYLAND_DISPLAY") == nullptr;
}

}  // namespace

bool StartVideoOnADisplay() {
    if (SDL_GetHint(SDL_HINT_VIDEODRIVER) == nullptr) {
        // SDL tries the drivers of a comma-separated list in turn.
        std::string drivers;
        for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
            const std::string driver = SDL_GetVideoDriver(i);
            if (Unseen(driver)) continue;
            if (!drivers.empty()) drivers += ',';
            drivers += driver;
        }
        if (drivers.empty()) return false;
        SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers.c_str());
    }
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

void EndForWantOfADisplay() {
    // A game built with its replay program (<name>-replay beside <name>) can be
    // played without a display; only then is it named.
    const std::string program = programfile::RunningProgram();
    const std::filesystem::path replay = program + "-replay";
    std::error_code error;
    if (!program.empty() && std::filesystem::is_regular_file(replay, error))
        std::fprintf(stderr,
                     "No display is available to open the game's window; %s beside it plays "
                     "the game without one and saves its frames as pictures.\n",
                     replay.filename().string().c_str());
    else
        std::fprintf(stderr, "No display is available to open the game's window.\n");
    SDL_Quit();
    std::exit(kNoDisplayExitCode);
}

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
