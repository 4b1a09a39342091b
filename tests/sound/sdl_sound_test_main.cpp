// The SDL sound tests start like every SDL program: the backend's main calls
// WinMain, here with the test runner's arguments in the command line.
#include <gtest/gtest.h>

#include "platform/api/platform.h"
#include "tests/support/command_line.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    testsupport::CommandLineArgs args("sdl_sound_tests", commandLine);
    testing::InitGoogleTest(args.Argc(), args.Argv());
    return RUN_ALL_TESTS();
}
