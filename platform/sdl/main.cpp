#include <string>

#include "platform/api/platform.h"
#include "platform/sdl/sdl_video.h"

// The program starts as on Windows: WinMain with an instance handle, no previous
// instance, the command line and a normal show command.
int main(int argc, char** argv) {
    sdl::StartProgram();
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    static char instance;
    const int exitCode =
        WinMain(reinterpret_cast<HINSTANCE>(&instance), nullptr, commandLine.data(), SW_SHOWNORMAL);
    sdl::ShutDown();
    return exitCode;
}
