#include "platform/sdl/sdl_program.h"

#include <string>
#include <utility>

#include "platform/common/platform_call.h"
#include "platform/sdl/sdl_video.h"

namespace sdl {
namespace {

struct ProgramSettings {
    DisplayOptions display;
    WindowLabel label;
    bool silentWithoutSoundDevice = true;
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

void SetWindowLabel(WindowLabel label) {
    Settings().label = std::move(label);
}

const WindowLabel& CurrentWindowLabel() {
    return Settings().label;
}

void SetSilentWithoutSoundDevice(bool silent) {
    Settings().silentWithoutSoundDevice = silent;
}

bool SilentWithoutSoundDevice() {
    return Settings().silentWithoutSoundDevice;
}

void SetScreenshotHandler(ScreenshotHandler handler) {
    Settings().screenshot = handler;
}

ScreenshotHandler CurrentScreenshotHandler() {
    return Settings().screenshot;
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

// The SDL backend watches no calls.
platform::CallWatcher& platform::Watcher() {
    static platform::CallWatcher none;
    return none;
}
