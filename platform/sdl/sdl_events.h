// SDL events as the window messages of a Windows window procedure.
#pragma once

#include <SDL.h>

#include <deque>

#include "platform/api/platform.h"

namespace sdl {

// Appends the messages an SDL event stands for, in the order Windows delivers
// them: key presses as WM_KEYDOWN/WM_KEYUP with virtual-key codes (WM_SYSKEYDOWN
// and WM_SYSKEYUP while Alt is held), typed text as one WM_CHAR per 8-bit
// character, focus as WM_ACTIVATEAPP and WM_SETFOCUS/WM_KILLFOCUS, moves as
// WM_MOVE with the client origin, the mouse as WM_MOUSEMOVE and button messages
// (in client pixels, none from outside the client area), gamepads as the keys
// they stand for, and a close request (the close box, or SDL's quit on a signal)
// as WM_CLOSE. The window's own keys (full screen, screenshot) are answered here
// and add nothing. Events for unknown windows add nothing; an uncovered window is
// repainted at once.
void TranslateEvent(const SDL_Event& event, std::deque<MSG>& out);

}  // namespace sdl
