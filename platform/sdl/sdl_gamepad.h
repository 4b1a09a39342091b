// Gamepads through SDL's game controller API, standing in for keys: the D-pad
// and the left stick are the arrow keys, Start and Back are Escape. Pads may be
// plugged in and out while the program runs.
#pragma once

#include <SDL.h>

#include <vector>

namespace sdl {

// A key that a gamepad pressed or let go of, by virtual-key code.
struct PadKey {
    int code = 0;
    bool press = false;
};

// Starts SDL's game controllers. Where SDL has none, there are simply no pads.
void StartGamepads();
// Closes every open pad.
void StopGamepads();
// Takes a controller event (a pad added or removed, a button, a stick) and
// appends each key whose state it changed for that pad. A removed pad lets go of
// everything it held; other events add nothing.
void TranslateGamepadEvent(const SDL_Event& event, std::vector<PadKey>& keys);

}  // namespace sdl
