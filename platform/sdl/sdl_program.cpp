#include "platform/sdl/sdl_program.h"

#include <SDL.h>

#include "platform/sdl/sdl_video.h"

namespace sdl {
namespace {

struct ProgramSettings {
    DisplayOptions display;
    ScreenshotHandler screenshot = nullptr;
};

ProgramSettings& Settings() {
    static ProgramSettings settings;
    return settings;
}

}  // namespace

void SetDisplayOptions(const DisplayOptions& options) {
    Settings().display = options;
}

const DisplayOptions& CurrentDisplayOptions() {
    return Settings().display;
}

void SetScreenshotHandler(ScreenshotHandler handler) {
    Settings().screenshot = handler;
}

ScreenshotHandler CurrentScreenshotHandler() {
    return Settings().screenshot;
}

std::string ProgramFolder() {
    char* path = SDL_GetBasePath();
    if (path == nullptr) return "";
    std::string folder = path;
    SDL_free(path);
    return folder;
}

int RunProgram(int argc, char** argv, WinMainFunction entry) {
    StartProgram();
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    static char instance;
    const int exitCode =
        entry(reinterpret_cast<HINSTANCE>(&instance), nullptr, commandLine.data(), SW_SHOWNORMAL);
    ShutDown();
    return exitCode;
}

}  // namespace sdl
