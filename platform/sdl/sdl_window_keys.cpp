#include "platform/sdl/sdl_window_keys.h"

#include <array>

#include "platform/sdl/sdl_program.h"
#include "platform/sdl/sdl_screen.h"

namespace sdl {
namespace {

// Keys whose press was taken, so that their repeats and release are taken too.
std::array<bool, SDL_NUM_SCANCODES>& Taken() {
    static std::array<bool, SDL_NUM_SCANCODES> taken = {};
    return taken;
}

bool IsFullScreenKey(const SDL_Keysym& keysym) {
    if (keysym.sym == SDLK_F11) return true;
    // Alt without Control: Control+Alt is AltGr on many layouts.
    const bool alt = (keysym.mod & KMOD_ALT) != 0 && (keysym.mod & KMOD_CTRL) == 0;
    return alt && (keysym.sym == SDLK_RETURN || keysym.sym == SDLK_KP_ENTER);
}

bool Answer(const SDL_Keysym& keysym, HWND window) {
    if (IsFullScreenKey(keysym)) return ToggleFullScreen(window);
    if (keysym.sym != SDLK_F12) return false;
    const ScreenshotHandler handler = CurrentScreenshotHandler();
    if (handler == nullptr) return false;
    handler(LastPicture(window));
    return true;
}

}  // namespace

bool TakeWindowKey(const SDL_KeyboardEvent& key, HWND window) {
    const int scancode = key.keysym.scancode;
    if (scancode < 0 || scancode >= SDL_NUM_SCANCODES) return false;
    bool& taken = Taken()[static_cast<std::size_t>(scancode)];
    if (key.type == SDL_KEYUP) {
        const bool wasTaken = taken;
        taken = false;
        return wasTaken;
    }
    if (taken) return true;
    taken = Answer(key.keysym, window);
    return taken;
}

}  // namespace sdl
