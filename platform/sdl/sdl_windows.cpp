#include "platform/sdl/sdl_windows.h"

#include <map>
#include <memory>
#include <vector>

#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/sdl_video.h"

namespace sdl {
namespace {

struct WindowSystem {
    std::map<std::string, WNDCLASSA> classes;
    // Handles stay valid until the process ends; destroyed windows are only marked.
    std::vector<std::unique_ptr<HWND__>> windows;
    HWND mainWindow = nullptr;
};

WindowSystem& System() {
    static WindowSystem system;
    return system;
}

}  // namespace

bool IsLive(HWND window) {
    if (window == nullptr || window->destroyed) return false;
    for (const auto& owned : System().windows)
        if (owned.get() == window) return true;
    return false;
}

HWND WindowFromId(Uint32 windowId) {
    for (const auto& owned : System().windows)
        if (!owned->destroyed && owned->sdlWindow != nullptr &&
            SDL_GetWindowID(owned->sdlWindow) == windowId)
            return owned.get();
    return nullptr;
}

HWND MainWindow() {
    return IsLive(System().mainWindow) ? System().mainWindow : nullptr;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsLive(window) || window->proc == nullptr) return 0;
    return window->proc(window, message, wParam, lParam);
}

void NoteMoved(HWND window, int clientX, int clientY) {
    const int width = window->outer.right - window->outer.left;
    const int height = window->outer.bottom - window->outer.top;
    window->outer = {clientX, clientY, clientX + width, clientY + height};
}

void CloseAllScreens() {
    for (const auto& owned : System().windows) CloseScreen(owned.get());
}

}  // namespace sdl

using sdl::System;

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr ||
        windowClass->lpfnWndProc == nullptr)
        return 0;
    const std::string name = windowClass->lpszClassName;
    if (name.empty() || System().classes.count(name) != 0) return 0;
    System().classes[name] = *windowClass;
    return static_cast<ATOM>(0xC000 + System().classes.size());
}

HWND WINAPI CreateWindowExA(DWORD, LPCSTR className, LPCSTR, DWORD style, int x, int y, int width,
                            int height, HWND, HMENU, HINSTANCE, LPVOID) {
    const auto cls = System().classes.find(className ? className : "");
    if (cls == System().classes.end() || width < 0 || height < 0) return nullptr;
    // A window is useless without a display to show it on.
    if (!sdl::VideoReady()) return nullptr;
    auto window = std::make_unique<HWND__>();
    window->className = cls->first;
    window->style = style;
    window->proc = cls->second.lpfnWndProc;
    window->outer = {x, y, x + width, y + height};
    HWND handle = window.get();
    System().windows.push_back(std::move(window));

    // As on Windows, creation delivers these before CreateWindowExA returns.
    sdl::Send(handle, WM_CREATE, 0, 0);
    sdl::Send(handle, WM_SIZE, 0, MAKELPARAM(width, height));
    sdl::Send(handle, WM_MOVE, 0, MAKELPARAM(x, y));
    if ((style & WS_VISIBLE) != 0) ShowWindow(handle, SW_SHOWNORMAL);
    return handle;
}

BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
    if (!sdl::IsLive(window) || rect == nullptr) return FALSE;
    *rect = {0, 0, window->outer.right - window->outer.left,
             window->outer.bottom - window->outer.top};
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND window, int showCommand) {
    if (!sdl::IsLive(window)) return FALSE;
    const BOOL wasVisible = window->visible ? TRUE : FALSE;
    if (showCommand == SW_HIDE) {
        if (window->sdlWindow != nullptr) SDL_HideWindow(window->sdlWindow);
        window->visible = false;
        return wasVisible;
    }
    // Focus and activation arrive later, as the desktop grants them.
    if (sdl::OpenScreen(window)) {
        window->visible = true;
        System().mainWindow = window;
        sdl::Send(window, WM_SHOWWINDOW, 1, 0);
    }
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND window) {
    // A window that could not be put on the screen cannot be painted.
    if (!sdl::IsLive(window) || !window->visible) return FALSE;
    sdl::Send(window, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL WINAPI DestroyWindow(HWND window) {
    if (!sdl::IsLive(window) || window->destroying) return FALSE;
    window->destroying = true;
    if (sdl::HasFocus(window)) sdl::Send(window, WM_KILLFOCUS, 0, 0);
    sdl::Send(window, WM_DESTROY, 0, 0);
    sdl::CloseScreen(window);
    window->visible = false;
    window->destroyed = true;
    return TRUE;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_CLOSE) DestroyWindow(window);
    // Alt+F4 asks the window to close, as on Windows.
    if (message == WM_SYSKEYDOWN && (wParam & 0xFF) == VK_F1 + 3) sdl::Send(window, WM_CLOSE, 0, 0);
    return 0;
}

int WINAPI GetSystemMetrics(int index) {
    if ((index != SM_CXSCREEN && index != SM_CYSCREEN) || !sdl::VideoReady()) return 0;
    SDL_DisplayMode mode;
    if (SDL_GetCurrentDisplayMode(0, &mode) != 0) return 0;
    return index == SM_CXSCREEN ? mode.w : mode.h;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR) {
    // SDL windows show the system arrow already.
    static char arrow;
    return reinterpret_cast<HCURSOR>(&arrow);
}

HGDIOBJ WINAPI GetStockObject(int) {
    // Every window is cleared to black before its first picture.
    static char brush;
    return &brush;
}

BOOL WINAPI ClientToScreen(HWND window, LPPOINT point) {
    if (!sdl::IsLive(window) || point == nullptr) return FALSE;
    const POINT origin = sdl::ClientOrigin(window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL WINAPI OffsetRect(LPRECT rect, int dx, int dy) {
    if (rect == nullptr) return FALSE;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return TRUE;
}

HWND WINAPI GetForegroundWindow() {
    for (const auto& owned : System().windows)
        if (!owned->destroyed && sdl::HasFocus(owned.get())) return owned.get();
    return nullptr;
}
