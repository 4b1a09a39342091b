// The corvane program's window icon: the alien of packaging/corvane.png, built
// into the program.
#pragma once

#include <string>

#include "platform/sdl/sdl_program.h"

namespace player {

// Puts the built-in icon into the label; false, saying why, when its picture
// cannot be read.
bool AddWindowIcon(sdl::WindowLabel& label, std::string& error);

}  // namespace player
