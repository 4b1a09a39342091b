// SDL start-up and shutdown for the backend, shared by its window, display and
// message-box parts.
#pragma once

namespace sdl {

// Tells SDL that main() has begun; called first by main.
void StartProgram();
// Starts SDL's video subsystem on first use. Without a display the program
// ends there (see sdl_display.h): nothing that needs video can go on.
bool VideoReady();
// True once VideoReady has succeeded (events can be polled).
bool VideoStarted();
// Prints "Corvane: <what>: <SDL's last error>" on standard error.
void ReportSdlError(const char* what);
// Closes every window and stops SDL; called by main after WinMain returns.
void ShutDown();

}  // namespace sdl
