// The headless desktop: the shared windows and message queue of platform/common
// on a desktop in memory, with frames, focus and activation as on Windows and
// messages queued by tests, at once or at a given frame.
#include <cstdio>
#include <memory>

#include "platform/common/message_queue.h"
#include "platform/common/window_system.h"
#include "platform/headless/control.h"
#include "platform/headless/headless_reset_parts.h"

struct HWND__ : platform::Window {
    bool other = false;  // stands for another program's window
};

namespace headless {
namespace {

struct ScheduledMessage {
    int frames;
    MSG msg;
};

struct WindowSystem {
    int desktopWidth = 1920;
    int desktopHeight = 1080;
    int desktopBits = 16;
    HWND__ otherProgram;
    HWND foreground = nullptr;
    HWND focus = nullptr;
    bool appActive = false;
    std::vector<ScheduledMessage> scheduled;
    int framesRun = 0;
    std::vector<UINT> delivered;
    std::vector<MessageBoxRecord> boxes;
    bool echoBoxes = false;
};

WindowSystem& System() {
    static WindowSystem system;
    return system;
}

bool HasFrame(DWORD style) {
    return (style & WS_POPUP) == 0 || (style & WS_CAPTION) != 0;
}

RECT ClientOf(const platform::Window& window) {
    RECT client = window.outer;
    if (HasFrame(window.style)) {
        client.left += kFrameLeft;
        client.top += kFrameTop;
        client.right -= kFrameRight;
        client.bottom -= kFrameBottom;
        if (client.right < client.left) client.right = client.left;
        if (client.bottom < client.top) client.bottom = client.top;
    }
    return client;
}

void MoveDueMessages() {
    WindowSystem& system = System();
    for (auto it = system.scheduled.begin(); it != system.scheduled.end();) {
        if (it->frames <= system.framesRun) {
            platform::Messages().messages.push_back(it->msg);
            it = system.scheduled.erase(it);
        } else {
            ++it;
        }
    }
}

// Moves the keyboard focus, as Windows does when a window is shown or a box closes.
void Focus(HWND window) {
    HWND previous = System().focus;
    System().focus = window;
    if (platform::IsLive(previous))
        platform::Send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
    platform::Send(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
}

class HeadlessDesktop final : public platform::Desktop {
public:
    std::unique_ptr<platform::Window> NewWindow() override {
        return platform::NewWindowOf<HWND__>();
    }
    RECT ClientOnScreen(const platform::Window& window) override { return ClientOf(window); }
    // The shown window comes to the front with the keyboard focus at once.
    void Shown(platform::Window& window) override {
        System().foreground = window.handle;
        if (!System().appActive) {
            System().appActive = true;
            platform::Send(window.handle, WM_ACTIVATEAPP, 1, 0);
        }
        if (System().focus != window.handle) Focus(window.handle);
    }
    bool HasFocus(const platform::Window& window) override {
        return System().focus == window.handle;
    }
    void FocusLeft(platform::Window&) override { System().focus = nullptr; }
    void Destroyed(platform::Window& window) override {
        if (System().foreground == window.handle) System().foreground = nullptr;
    }
    void Delivered(HWND, UINT message) override { System().delivered.push_back(message); }

    void Pump(platform::MessageQueue&) override { MoveDueMessages(); }
    void NothingWaiting() override { ++System().framesRun; }
    HWND DefaultWindow() override { return MainWindow(); }
    // Keys type what they show, without a shift: letters in lower case.
    unsigned TypedCharacter(unsigned key) override {
        if (key == VK_SPACE || (key >= '0' && key <= '9')) return key;
        if (key >= 'A' && key <= 'Z') return key - 'A' + 'a';
        return 0;
    }
    // No event comes while waiting: only time passes, on the headless clock.
    bool WaitForMessages(DWORD milliseconds, DWORD wakeMask) override {
        MoveDueMessages();
        for (const MSG& msg : platform::Messages().messages)
            if (platform::Wakes(msg, wakeMask)) return true;
        Sleep(milliseconds);
        return false;
    }

    platform::ScreenSize DesktopSize() override {
        return {System().desktopWidth, System().desktopHeight};
    }
    int DesktopBits() override { return System().desktopBits; }
    int RefreshRate() override { return detail::RefreshRate(); }
    std::string ProgramFile() override { return detail::ProgramFile(); }
};

}  // namespace

void SetDesktop(int width, int height, int bitsPerPixel) {
    System().desktopWidth = width;
    System().desktopHeight = height;
    System().desktopBits = bitsPerPixel;
}

void PostWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, HWND window) {
    platform::Messages().Post(window, message, wParam, lParam);
}

void PostWindowMessageAt(int frames, UINT message, WPARAM wParam, LPARAM lParam, HWND window) {
    System().scheduled.push_back({frames, platform::MakeMessage(window, message, wParam, lParam)});
}

int FramesRun() {
    return System().framesRun;
}

std::vector<HWND> Windows() {
    std::vector<HWND> out;
    for (const auto& owned : platform::AllWindows()) out.push_back(owned->handle);
    return out;
}

WindowInfo Describe(HWND window) {
    WindowInfo info;
    if (window == nullptr) return info;
    info.className = window->className;
    info.title = window->title;
    info.style = window->style;
    info.exStyle = window->exStyle;
    info.outer = window->outer;
    info.client = ClientOf(*window);
    info.visible = window->visible;
    info.destroyed = window->destroyed;
    return info;
}

HWND MainWindow() {
    if (platform::LastShownWindow() != nullptr) return platform::LastShownWindow();
    const auto& windows = platform::AllWindows();
    return windows.empty() ? nullptr : windows.back()->handle;
}

std::vector<UINT> DeliveredMessages() {
    return System().delivered;
}

const std::vector<MessageBoxRecord>& MessageBoxes() {
    return System().boxes;
}
void ClearMessageBoxes() {
    System().boxes.clear();
}
void EchoMessageBoxes(bool echo) {
    System().echoBoxes = echo;
}

void MoveWindowTo(HWND window, int left, int top) {
    if (!platform::IsLive(window)) return;
    const int width = window->outer.right - window->outer.left;
    const int height = window->outer.bottom - window->outer.top;
    window->outer = {left, top, left + width, top + height};
    const RECT client = ClientOf(*window);
    platform::Send(window, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
}

void SetForeground(HWND window) {
    System().foreground = window;
}
HWND OtherProgramWindow() {
    System().otherProgram.other = true;
    return &System().otherProgram;
}

namespace detail {
void ResetWindows() {
    platform::ResetWindows();
    platform::ResetMessages();
    System() = WindowSystem();
}
}  // namespace detail

void Reset() {
    detail::ResetProgramFile();
    detail::ResetFaults();
    detail::ResetWindows();
    detail::ResetDisplay();
    detail::ResetSound();
    detail::ResetClock();
}

}  // namespace headless

platform::Desktop& platform::TheDesktop() {
    static headless::HeadlessDesktop desktop;
    return desktop;
}

HWND WINAPI GetForegroundWindow() {
    return headless::System().foreground;
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    using headless::System;
    headless::MessageBoxRecord box = {owner, text ? text : "", caption ? caption : "", type};
    if (System().echoBoxes)
        std::fprintf(stderr, "[%s] %s\n", box.caption.c_str(), box.text.c_str());
    System().boxes.push_back(std::move(box));
    // The box takes the focus while it is up; when it closes Windows activates
    // its owner again, which hears WM_SETFOCUS.
    if (platform::IsLive(owner)) {
        if (System().focus == owner) {
            System().focus = nullptr;
            platform::Send(owner, WM_KILLFOCUS, 0, 0);
        }
        System().focus = owner;
        System().foreground = owner;
        platform::Send(owner, WM_SETFOCUS, 0, 0);
    }
    return IDOK;
}
