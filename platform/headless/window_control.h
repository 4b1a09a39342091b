/// @file
/// Controls of the headless window system: the desktop, the message queue,
/// message boxes and the foreground window.
#pragma once

#include <string>
#include <vector>

#include "platform/api/platform.h"

namespace headless {

/// The desktop that GetSystemMetrics and GetDeviceCaps report (default 1920 x 1080
/// at 16 bits per pixel).
void SetDesktop(int width, int height, int bitsPerPixel);

///@{
/// Frame sizes of a window with a caption (WS_SYSMENU without WS_POPUP): the
/// client area is the outer size less these.
constexpr int kFrameLeft = 3;
constexpr int kFrameRight = 3;
constexpr int kFrameTop = 26;
constexpr int kFrameBottom = 3;
///@}

/// Queues a message for a window; a null window means the main window (the last
/// one shown, else the last one created) at the time it is taken from the queue.
void PostWindowMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, HWND window = nullptr);
/// Queues the message once `frames` frames have run (see FramesRun).
void PostWindowMessageAt(int frames, UINT message, WPARAM wParam = 0, LPARAM lParam = 0,
                         HWND window = nullptr);
/// Number of PeekMessageA calls that found no message: the frame loop calls the
/// game's run once after each.
int FramesRun();

/// What a window was made with and where it is.
struct WindowInfo {
    std::string className;       ///< its window class
    std::string title;           ///< its title
    DWORD style = 0;             ///< its WS_* style
    DWORD exStyle = 0;           ///< its WS_EX_* style
    RECT outer = {0, 0, 0, 0};   ///< screen coordinates
    RECT client = {0, 0, 0, 0};  ///< screen coordinates
    bool visible = false;        ///< shown and not hidden since
    bool destroyed = false;      ///< destroyed by DestroyWindow
};
/// Windows created so far (destroyed ones included), oldest first.
std::vector<HWND> Windows();
/// What the window was made with and where it is now.
WindowInfo Describe(HWND window);
/// The main window: the last one shown, else the last one created; null for none.
HWND MainWindow();
/// Messages delivered to window procedures, in order (message numbers only).
std::vector<UINT> DeliveredMessages();

/// A message box as the engine asked for it; every box is answered with OK at
/// once. A box with an owner takes the focus while it is up and gives it back to
/// the owner (WM_KILLFOCUS, then WM_SETFOCUS) as it closes.
struct MessageBoxRecord {
    HWND owner;           ///< its owner window, null for none
    std::string text;     ///< its text
    std::string caption;  ///< its caption
    UINT flags;           ///< its MB_* flags
};
/// Every box shown since the last Reset (or ClearMessageBoxes), oldest first.
const std::vector<MessageBoxRecord>& MessageBoxes();
/// Forgets the boxes shown so far.
void ClearMessageBoxes();
/// Also prints every box to standard error (for tools run by a person).
void EchoMessageBoxes(bool echo);

/// Moves a window's top-left corner to (left, top) on the screen, partly or
/// wholly off it too, as the user dragging it would; the window hears WM_MOVE
/// with its client area's new origin as two 16-bit words.
void MoveWindowTo(HWND window, int left, int top);

/// The foreground window; ShowWindow makes the shown window the foreground one.
void SetForeground(HWND window);
/// A handle that stands for some other program's window.
HWND OtherProgramWindow();

}  // namespace headless
