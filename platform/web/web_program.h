// The start of a program in the page.
#pragma once

#include "platform/api/platform.h"

namespace web {

// The exit code of a page whose address asks for a script it cannot play.
constexpr int kBadScriptExitCode = 2;

using WinMainFunction = int(WINAPI*)(HINSTANCE, HINSTANCE, LPSTR, int);
// Runs the program as Windows would: `entry` (the engine's WinMain) with an
// instance handle, no previous instance, an empty command line and a normal
// show command, after reading the script of the page's address; the page then
// says it has ended. Returns the exit code.
int RunProgram(WinMainFunction entry);

}  // namespace web
