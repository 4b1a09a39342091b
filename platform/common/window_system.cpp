#include "platform/common/window_system.h"

#include <map>

#include "platform/common/platform_call.h"

namespace platform {
namespace {

using Call = PlatformCall;

struct WindowState {
    std::map<std::string, WNDCLASSA> classes;
    // Handles stay valid until the reset; destroyed windows are only marked.
    std::vector<std::unique_ptr<Window>> windows;
    HWND lastShown = nullptr;
};

WindowState& State() {
    static WindowState state;
    return state;
}

RECT Client(const Window& window) {
    return TheDesktop().ClientOnScreen(window);
}

// Made as Windows makes it: it hears WM_CREATE, WM_SIZE with its client size
// and WM_MOVE with its client origin before CreateWindowExA returns, and a
// WS_VISIBLE window is shown.
HWND Make(const WNDCLASSA& windowClass, const char* title, DWORD exStyle, DWORD style,
          const RECT& outer) {
    std::unique_ptr<Window> made = TheDesktop().NewWindow();
    made->className = windowClass.lpszClassName;
    made->title = title != nullptr ? title : "";
    made->style = style;
    made->exStyle = exStyle;
    made->outer = outer;
    made->proc = windowClass.lpfnWndProc;
    HWND handle = made->handle;
    State().windows.push_back(std::move(made));

    const RECT client = Client(*State().windows.back());
    Send(handle, WM_CREATE, 0, 0);
    Send(handle, WM_SIZE, 0, MAKELPARAM(client.right - client.left, client.bottom - client.top));
    Send(handle, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
    if ((style & WS_VISIBLE) != 0) ShowWindow(handle, SW_SHOWNORMAL);
    return handle;
}

}  // namespace

Window* LiveWindow(HWND window) {
    if (window == nullptr) return nullptr;
    for (const auto& owned : State().windows)
        if (owned->handle == window) return owned->destroyed ? nullptr : owned.get();
    return nullptr;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* live = LiveWindow(window);
    if (live == nullptr || live->proc == nullptr) return 0;
    TheDesktop().Delivered(window, message);
    return live->proc(window, message, wParam, lParam);
}

const std::vector<std::unique_ptr<Window>>& AllWindows() {
    return State().windows;
}

HWND LastShownWindow() {
    return State().lastShown;
}

void ResetWindows() {
    State() = WindowState();
}

}  // namespace platform

using platform::Call;
using platform::LiveWindow;

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    const char* name = windowClass != nullptr && windowClass->lpszClassName != nullptr
                           ? windowClass->lpszClassName
                           : "";
    platform::CallArgs args;
    return platform::Answer(Call::RegisterClass, args, name, [&]() -> ATOM {
        auto& classes = platform::State().classes;
        if (windowClass == nullptr || windowClass->lpfnWndProc == nullptr || *name == '\0' ||
            classes.count(name) != 0)
            return 0;
        classes[name] = *windowClass;
        classes[name].lpszClassName = classes.find(name)->first.c_str();
        for (long long value : {static_cast<long long>(windowClass->style),
                                static_cast<long long>(windowClass->cbClsExtra),
                                static_cast<long long>(windowClass->cbWndExtra)})
            args.Add(value);
        return static_cast<ATOM>(0xC000 + classes.size());
    });
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND, HMENU, HINSTANCE, LPVOID) {
    const char* name = className != nullptr ? className : "";
    HWND made = nullptr;
    platform::Answer(Call::CreateWindow, {exStyle, style, x, y, width, height}, name, [&] {
        const auto& classes = platform::State().classes;
        const auto found = classes.find(name);
        if (found == classes.end() || width < 0 || height < 0) return 0;
        // A window is useless where nothing can show it.
        if (!platform::TheDesktop().CanMakeWindows()) return 0;
        made = platform::Make(found->second, windowName, exStyle, style,
                              {x, y, x + width, y + height});
        return 1;
    });
    return made;
}

BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
    const platform::Window* live = LiveWindow(window);
    if (live == nullptr || rect == nullptr) return FALSE;
    const RECT client = platform::Client(*live);
    *rect = {0, 0, client.right - client.left, client.bottom - client.top};
    return TRUE;
}

BOOL WINAPI ClientToScreen(HWND window, LPPOINT point) {
    const platform::Window* live = LiveWindow(window);
    if (live == nullptr || point == nullptr) return FALSE;
    const RECT client = platform::Client(*live);
    point->x += client.left;
    point->y += client.top;
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND window, int showCommand) {
    platform::Window* live = LiveWindow(window);
    if (live == nullptr) return FALSE;
    const BOOL wasVisible = live->visible ? TRUE : FALSE;
    if (showCommand == SW_HIDE) {
        platform::TheDesktop().TakeOffScreen(*live);
        live->visible = false;
        return wasVisible;
    }
    if (!platform::TheDesktop().PutOnScreen(*live)) return wasVisible;
    if (!live->visible) {
        live->visible = true;
        platform::Send(window, WM_SHOWWINDOW, 1, 0);
    }
    platform::State().lastShown = window;
    platform::TheDesktop().Shown(*live);
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND window) {
    return platform::Answer(Call::UpdateWindow, {}, "", [&]() -> BOOL {
        const platform::Window* live = LiveWindow(window);
        if (live == nullptr || !platform::TheDesktop().Paintable(*live)) return FALSE;
        if (live->visible) platform::Send(window, WM_PAINT, 0, 0);
        return TRUE;
    });
}

BOOL WINAPI DestroyWindow(HWND window) {
    platform::Window* live = LiveWindow(window);
    if (live == nullptr || live->destroying) return FALSE;
    live->destroying = true;
    if (platform::TheDesktop().HasFocus(*live)) {
        platform::Send(window, WM_KILLFOCUS, 0, 0);
        platform::TheDesktop().FocusLeft(*live);
    }
    platform::Send(window, WM_DESTROY, 0, 0);
    platform::TheDesktop().Destroyed(*live);
    live->visible = false;
    live->destroyed = true;
    return TRUE;
}

// The title changes as the window's procedure passes WM_SETTEXT on to
// DefWindowProcA, as on Windows; a null text is an empty title.
BOOL WINAPI SetWindowTextA(HWND window, LPCSTR text) {
    return platform::Send(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) != 0 ? TRUE
                                                                                      : FALSE;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT) {
        platform::Window* live = LiveWindow(window);
        if (live == nullptr) return FALSE;
        const char* text = reinterpret_cast<const char*>(lParam);
        live->title = text != nullptr ? text : "";
        platform::TheDesktop().Retitled(*live);
        return TRUE;
    }
    if (message == WM_CLOSE) DestroyWindow(window);
    // Alt+F4 asks the window to close, as on Windows.
    if (message == WM_SYSKEYDOWN && (wParam & 0xFF) == VK_F4)
        platform::Send(window, WM_CLOSE, 0, 0);
    return 0;
}

BOOL WINAPI OffsetRect(LPRECT rect, int dx, int dy) {
    if (rect == nullptr) return FALSE;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return TRUE;
}
