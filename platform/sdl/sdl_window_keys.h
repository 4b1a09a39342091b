// The player's keys for the window itself, which the backend answers and the
// engine never sees: F11 and Alt+Enter switch between the window and the
// full-screen view, F12 hands the picture to the program's screenshot handler.
#pragma once

#include <SDL.h>

#include "platform/api/platform.h"

namespace sdl {

// True when the key event is one of those keys and has been answered (its
// repeats and its release are taken with it); the caller then drops it. A key
// the backend cannot act on is not taken: F11 and Alt+Enter on a full-screen
// engine window, F12 without a screenshot handler.
bool TakeWindowKey(const SDL_KeyboardEvent& key, HWND window);

}  // namespace sdl
