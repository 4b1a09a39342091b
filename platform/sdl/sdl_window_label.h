// The title and icon an SDL window shows on the desktop.
#pragma once

#include "platform/sdl/sdl_windows.h"

namespace sdl {

// The window's own title, or the program's (see WindowLabel) while its own is
// empty, as UTF-8.
std::string TitleShown(HWND window);
// Puts the title and the program's icon on the window's SDL window.
void ShowTitle(HWND window);
void ShowIcon(HWND window);

}  // namespace sdl
