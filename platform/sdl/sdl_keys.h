// Windows virtual-key codes for SDL's keys.
#pragma once

#include <SDL.h>

namespace sdl {

// The virtual-key code (1..254) of a key, or 0 for a key Windows has no code for.
// Letters and digits follow the keyboard layout (the key that types Z is 'Z'),
// punctuation keys their position on a US keyboard (VK_OEM_*), as on Windows.
// Side-specific modifiers get their side's code: 160/161 shift, 162/163 control,
// 164/165 alt.
int VirtualKey(SDL_Keycode key, SDL_Scancode scancode);

}  // namespace sdl
