// The windows of the backends without Win32, shared by all of them: classes,
// windows and the messages they hear as they are made, shown and destroyed.
// The Win32 calls themselves (RegisterClassA, CreateWindowExA, ShowWindow, ...)
// are defined here, over the backend's desktop (desktop.h).
#pragma once

#include <memory>
#include <vector>

#include "platform/common/desktop.h"

namespace platform {

// The window behind a handle while it lives (a window being destroyed still
// hears its WM_DESTROY); null for anything else.
Window* LiveWindow(HWND window);
inline bool IsLive(HWND window) {
    return LiveWindow(window) != nullptr;
}
// Calls the window's procedure at once, as SendMessage does; 0 for a dead window.
LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Windows made since the last reset, oldest first, destroyed ones included.
const std::vector<std::unique_ptr<Window>>& AllWindows();
// The window last shown, null before any; it may have been destroyed since.
HWND LastShownWindow();
// Forgets every class and window: a new machine has none.
void ResetWindows();

}  // namespace platform
