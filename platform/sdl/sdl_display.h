// Which display the SDL backend shows its windows on.
#pragma once

namespace sdl {

// The refresh rate of the display the main window is on, in hertz; 0 when
// unknown or before video has started.
int RefreshRate();

}  // namespace sdl
