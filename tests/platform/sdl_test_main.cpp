// The SDL backend's tests start like every SDL program: the backend's main calls
// WinMain, here with the test runner's arguments in the command line. They run
// on SDL's dummy video and audio drivers with no display to reach, so no window
// shows anywhere and no message box waits for a click.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/api/platform.h"
#include "platform/sdl/sdl_program.h"
#include "tests/support/command_line.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    // Windows show their client area pixel for pixel unless a test asks otherwise.
    sdl::DisplayOptions display;
    display.scale = 1;
    sdl::SetDisplayOptions(display);
    testsupport::CommandLineArgs args("sdl_backend_tests", commandLine);
    testing::InitGoogleTest(args.Argc(), args.Argv());
    return RUN_ALL_TESTS();
}
