// The SDL backend's tests start like every SDL program: the backend's main calls
// WinMain, here with the test runner's arguments in the command line. They run
// on SDL's dummy video and audio drivers with no display to reach, so no window
// shows anywhere and no message box waits for a click.
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/api/platform.h"
#include "platform/sdl/sdl_program.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    // Windows show their client area pixel for pixel unless a test asks otherwise.
    sdl::DisplayOptions display;
    display.scale = 1;
    sdl::SetDisplayOptions(display);
    std::vector<std::string> words = {"sdl_backend_tests"};
    std::istringstream split(commandLine != nullptr ? commandLine : "");
    for (std::string word; split >> word;) words.push_back(word);
    std::vector<char*> argv;
    for (auto& word : words) argv.push_back(word.data());
    int argc = static_cast<int>(argv.size());
    argv.push_back(nullptr);
    testing::InitGoogleTest(&argc, argv.data());
    return RUN_ALL_TESTS();
}
