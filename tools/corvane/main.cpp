// corvane: the game in a window through the SDL backend, with the player's
// options and keys (corvane --help lists them).
#include <cstdio>
#include <string>
#include <utility>

#include "platform/api/platform.h"
#include "platform/sdl/sdl_program.h"
#include "shell/debugger.h"
#include "tools/corvane/command_line.h"
#include "tools/corvane/screenshot.h"
#include "tools/corvane/window_icon.h"

int main(int argc, char** argv) {
    const player::CommandLine line = player::ParseCommandLine(argc, argv);
    if (!line.error.empty()) {
        std::fprintf(stderr, "corvane: %s\n\n%s", line.error.c_str(), player::Usage());
        return 2;
    }
    if (line.help) {
        std::fputs(player::Usage(), stdout);
        return 0;
    }
    if (line.version) {
        std::printf(
            "corvane %s\nCopyright (C) 2026 the Corvane developers, under the zlib licence:\n"
            "use, change and pass it on freely; it comes without any warranty.\n",
            CORVANE_VERSION);
        return 0;
    }
    // The game's log as the engine opens it when a game starts: debug.txt in
    // the working folder, emptied, with its header. Nothing has run since the
    // program started, so the game sees no difference.
    Debug.Start();
    // The engine makes its window untitled; the desktop shows the game's name.
    sdl::WindowLabel label;
    label.title = "Corvane";
    std::string error;
    if (!player::AddWindowIcon(label, error))
        std::fprintf(stderr, "corvane: the window has no icon: %s\n", error.c_str());
    sdl::SetWindowLabel(std::move(label));
    sdl::SetDisplayOptions(line.display);
    sdl::SetScreenshotHandler(player::SaveScreenshot);
    // The engine's WinMain runs the game; naming it here also makes the linker
    // take it, and the game's hooks it calls, from the libraries.
    return sdl::RunProgram(argc, argv, WinMain);
}
