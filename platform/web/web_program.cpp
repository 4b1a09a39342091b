#include "platform/web/web_program.h"

#include <string>

#include "platform/common/platform_call.h"
#include "platform/web/web_frames.h"
#include "platform/web/web_page.h"

namespace web {

int RunProgram(WinMainFunction entry) {
    std::string error;
    if (!ReadScript(error)) {
        ShowBox("Corvane", "The page's address holds a script the game cannot play.\n\n" + error);
        NotePageEnded(kBadScriptExitCode);
        return kBadScriptExitCode;
    }
    static char instance;
    char commandLine[] = "";
    const int exitCode =
        entry(reinterpret_cast<HINSTANCE>(&instance), nullptr, commandLine, SW_SHOWNORMAL);
    NotePageEnded(exitCode);
    return exitCode;
}

}  // namespace web

// The web backend watches no calls.
platform::CallWatcher& platform::Watcher() {
    static platform::CallWatcher none;
    return none;
}
