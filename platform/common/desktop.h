// What a backend supplies to the shared window system (window_system.h) and
// message queue (message_queue.h): where its windows really show, its events
// and its desktop. Every rule of the Win32 calls themselves (window classes,
// the messages a window hears as it is made, shown and destroyed, the order of
// the queue, TranslateMessage's characters) is the shared code's own.
#pragma once

#include <memory>
#include <string>

#include "platform/api/platform.h"
#include "platform/common/display.h"

namespace platform {

class MessageQueue;

// What every backend's window holds. A backend's HWND__ derives from it and
// adds where the window really shows.
struct Window {
    virtual ~Window() = default;

    HWND handle = nullptr;  // this window as the backend's HWND__
    std::string className;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT outer = {0, 0, 0, 0};  // screen coordinates
    WNDPROC proc = nullptr;
    bool visible = false;
    bool destroying = false;  // between DestroyWindow's start and its end
    bool destroyed = false;
};

// A new window of a backend's own kind (its HWND__), with its handle set.
template <typename BackendWindow>
std::unique_ptr<Window> NewWindowOf() {
    auto window = std::make_unique<BackendWindow>();
    window->handle = window.get();
    return window;
}

class Desktop {
public:
    virtual ~Desktop() = default;

    // A new window of the backend's own kind: NewWindowOf<HWND__>().
    virtual std::unique_ptr<Window> NewWindow() = 0;
    // Whether windows can be made at all (CreateWindowExA answers null otherwise).
    virtual bool CanMakeWindows() { return true; }
    // The client area in screen coordinates.
    virtual RECT ClientOnScreen(const Window& window) = 0;

    // Shows a window on the screen; false when it cannot (it stays hidden).
    virtual bool PutOnScreen(Window&) { return true; }
    virtual void TakeOffScreen(Window&) {}
    // A window's title changed (SetWindowTextA): where the backend shows it.
    virtual void Retitled(Window&) {}
    // A window was shown (it heard WM_SHOWWINDOW): activation and focus, where
    // the backend hands them out at once.
    virtual void Shown(Window&) {}
    // Whether a live window can be painted (UpdateWindow fails otherwise).
    virtual bool Paintable(const Window&) { return true; }
    virtual bool HasFocus(const Window&) = 0;
    // A window being destroyed heard WM_KILLFOCUS, then WM_DESTROY.
    virtual void FocusLeft(Window&) {}
    virtual void Destroyed(Window&) {}
    // A message reached a window procedure.
    virtual void Delivered(HWND, UINT) {}

    // Turns the events that arrived into messages (PeekMessageA asks first).
    virtual void Pump(MessageQueue&) {}
    // PeekMessageA found nothing: the frame loop calls the game now.
    virtual void NothingWaiting() {}
    // The window a message posted for no window goes to as it is taken.
    virtual HWND DefaultWindow() { return nullptr; }
    // The time stamp of a new message, in milliseconds.
    virtual DWORD Now() { return 0; }
    // The character TranslateMessage makes of a key beyond those every backend
    // makes (Backspace, Tab, Enter, Escape); 0 for none.
    virtual unsigned TypedCharacter(unsigned) { return 0; }
    // Waits up to `milliseconds` while no message the wake mask names is
    // queued; true when something arrived that may be one (PeekMessageA then
    // takes it), false when the time passed.
    virtual bool WaitForMessages(DWORD milliseconds, DWORD wakeMask) = 0;

    // The desktop: its size in pixels, bits per pixel and refresh rate in hertz
    // (0: the hardware's default).
    virtual ScreenSize DesktopSize() = 0;
    virtual int DesktopBits() { return 16; }
    virtual int RefreshRate() { return 0; }
    // The running program's file as the system names it; empty when unknown.
    virtual std::string ProgramFile() = 0;
};

// The backend's desktop; each backend defines it.
Desktop& TheDesktop();

}  // namespace platform
