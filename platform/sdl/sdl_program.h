// What a program tells the SDL backend about its window before the engine
// starts, and the start itself. The engine never sees any of it: it keeps its
// client area in its own pixels whatever the window shows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/api/platform.h"

namespace sdl {

// How a windowed picture is shown (a full-screen engine window always fills the
// screen with the aspect ratio kept).
struct DisplayOptions {
    // Whole-number enlargement of the picture, nearest neighbour; 0 picks the
    // largest whose window fits in about 85 % of the usable desktop (at least 1).
    int scale = 0;
    // Starts in the full-screen view (F11 or Alt+Enter switch back).
    bool fullscreen = false;
};
// Applies to windows put on the screen from now on.
void SetDisplayOptions(const DisplayOptions& options);
const DisplayOptions& CurrentDisplayOptions();

// What the desktop shows of the program's windows beside their pictures.
struct WindowLabel {
    // UTF-8; the title of a window whose own is empty (the engine makes its
    // window untitled). A title the game gives its window (SetWindowTextA)
    // shows instead.
    std::string title;
    // The windows' icon: iconWidth x iconHeight pixels of 8-bit red, green,
    // blue and alpha, top row first, rows packed; none while empty.
    int iconWidth = 0;
    int iconHeight = 0;
    std::vector<std::uint8_t> iconPixels;
};
// Applies to windows put on the screen from now on.
void SetWindowLabel(WindowLabel label);
const WindowLabel& CurrentWindowLabel();

// Where SDL opens no sound device, a program goes on with a silent one (the
// default: a game plays on without its sounds) and says so in one line, or,
// told false, gets no DirectSound object (DSERR_NODRIVER): for a program that
// is there to be heard.
void SetSilentWithoutSoundDevice(bool silent);
bool SilentWithoutSoundDevice();

// A picture as a window last showed it: 5:6:5 words, rows packed, owned by the
// backend and valid during the call it is handed to.
struct ShownPicture {
    int width = 0;
    int height = 0;
    const std::uint16_t* pixels = nullptr;
};
using ScreenshotHandler = void (*)(const ShownPicture& picture);
// With a handler, F12 hands it the focused window's last picture and the key
// goes no further; without one (the default), F12 reaches the engine as a key.
void SetScreenshotHandler(ScreenshotHandler handler);
ScreenshotHandler CurrentScreenshotHandler();

using WinMainFunction = int(WINAPI*)(HINSTANCE, HINSTANCE, LPSTR, int);
// Runs the program as Windows would: `entry` (the engine's WinMain) with an
// instance handle, no previous instance, the arguments after the program's name
// joined by blanks, and a normal show command; SDL is stopped once it returns.
// Returns its exit code.
int RunProgram(int argc, char** argv, WinMainFunction entry);

}  // namespace sdl
