// Which display the SDL backend shows its windows on, and what happens when
// there is none.
#pragma once

namespace sdl {

// The program's exit code when no display can show its window.
constexpr int kNoDisplayExitCode = 3;

// Starts SDL's video subsystem on a driver that shows windows to someone. SDL
// would otherwise fall back to its offscreen or dummy driver, which draws into
// memory only, and a game started there would run unseen for ever; those two
// are used only when SDL_VIDEODRIVER names them. False when no driver starts.
bool StartVideoOnADisplay();
// Ends the program: one sentence on standard error, exit code kNoDisplayExitCode.
[[noreturn]] void EndForWantOfADisplay();

// The refresh rate of the display the main window is on, in hertz; 0 when
// unknown or before video has started.
int RefreshRate();

}  // namespace sdl
