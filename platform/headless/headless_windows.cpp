#include <cstdio>
#include <deque>
#include <map>
#include <memory>

#include "platform/common/device_context.h"
#include "platform/headless/control.h"
#include "platform/headless/headless_reset_parts.h"

struct HWND__ {
    std::string className;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT outer = {0, 0, 0, 0};
    WNDPROC proc = nullptr;
    bool visible = false;
    bool destroyed = false;
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
    std::map<std::string, WNDCLASSA> classes;
    std::vector<std::unique_ptr<HWND__>> windows;
    HWND__ otherProgram;
    HWND mainWindow = nullptr;
    HWND foreground = nullptr;
    HWND focus = nullptr;
    bool appActive = false;
    std::deque<MSG> queue;
    std::vector<ScheduledMessage> scheduled;
    bool quitPosted = false;
    int quitCode = 0;
    int framesRun = 0;
    std::vector<UINT> delivered;
    std::vector<MessageBoxRecord> boxes;
    bool echoBoxes = false;
};

WindowSystem& System() {
    static WindowSystem system;
    return system;
}

bool IsLive(HWND window) {
    if (window == nullptr || window->destroyed || window->other) return false;
    for (const auto& owned : System().windows)
        if (owned.get() == window) return true;
    return false;
}

bool HasFrame(DWORD style) {
    return (style & WS_POPUP) == 0 || (style & WS_CAPTION) != 0;
}

RECT ClientOnScreen(const HWND__& window) {
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

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!IsLive(window) || window->proc == nullptr) return 0;
    System().delivered.push_back(message);
    return window->proc(window, message, wParam, lParam);
}

void MoveDueMessages() {
    WindowSystem& system = System();
    for (auto it = system.scheduled.begin(); it != system.scheduled.end();) {
        if (it->frames <= system.framesRun) {
            system.queue.push_back(it->msg);
            it = system.scheduled.erase(it);
        } else {
            ++it;
        }
    }
}

MSG MakeMessage(UINT message, WPARAM wParam, LPARAM lParam, HWND window) {
    MSG msg = {};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    return msg;
}

}  // namespace

void SetDesktop(int width, int height, int bitsPerPixel) {
    System().desktopWidth = width;
    System().desktopHeight = height;
    System().desktopBits = bitsPerPixel;
}

void PostWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, HWND window) {
    System().queue.push_back(MakeMessage(message, wParam, lParam, window));
}

void PostWindowMessageAt(int frames, UINT message, WPARAM wParam, LPARAM lParam, HWND window) {
    System().scheduled.push_back({frames, MakeMessage(message, wParam, lParam, window)});
}

int FramesRun() {
    return System().framesRun;
}

std::vector<HWND> Windows() {
    std::vector<HWND> out;
    for (const auto& owned : System().windows) out.push_back(owned.get());
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
    info.client = ClientOnScreen(*window);
    info.visible = window->visible;
    info.destroyed = window->destroyed;
    return info;
}

HWND MainWindow() {
    WindowSystem& system = System();
    if (system.mainWindow != nullptr) return system.mainWindow;
    return system.windows.empty() ? nullptr : system.windows.back().get();
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
    if (!IsLive(window)) return;
    const int width = window->outer.right - window->outer.left;
    const int height = window->outer.bottom - window->outer.top;
    window->outer = {left, top, left + width, top + height};
    const RECT client = ClientOnScreen(*window);
    Send(window, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
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

using headless::Op;
using headless::System;

ATOM WINAPI RegisterClassA(const WNDCLASSA* windowClass) {
    long fault = 0;
    const std::string name =
        windowClass && windowClass->lpszClassName ? windowClass->lpszClassName : "";
    if (headless::detail::TakeFault(Op::RegisterClass, &fault) || windowClass == nullptr ||
        name.empty() || System().classes.count(name) != 0) {
        headless::detail::Record(Op::RegisterClass, {}, name, 0);
        return 0;
    }
    System().classes[name] = *windowClass;
    const ATOM atom = static_cast<ATOM>(0xC000 + System().classes.size());
    headless::detail::Record(Op::RegisterClass,
                             {static_cast<long long>(windowClass->style), windowClass->cbClsExtra,
                              windowClass->cbWndExtra},
                             name, atom);
    return atom;
}

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x,
                            int y, int width, int height, HWND, HMENU, HINSTANCE, LPVOID) {
    const std::string name = className ? className : "";
    const std::vector<long long> args = {exStyle, style, x, y, width, height};
    long fault = 0;
    auto cls = System().classes.find(name);
    if (headless::detail::TakeFault(Op::CreateWindow, &fault) || cls == System().classes.end()) {
        headless::detail::Record(Op::CreateWindow, args, name, 0);
        return nullptr;
    }
    auto window = std::make_unique<HWND__>();
    window->className = name;
    window->title = windowName ? windowName : "";
    window->style = style;
    window->exStyle = exStyle;
    window->outer = {x, y, x + width, y + height};
    window->proc = cls->second.lpfnWndProc;
    window->visible = (style & WS_VISIBLE) != 0;
    HWND handle = window.get();
    System().windows.push_back(std::move(window));
    headless::detail::Record(Op::CreateWindow, args, name, 1);

    // As on Windows, creation delivers its messages before CreateWindowExA returns.
    headless::Send(handle, WM_CREATE, 0, 0);
    const RECT client = headless::ClientOnScreen(*handle);
    headless::Send(handle, WM_SIZE, 0,
                   MAKELPARAM(client.right - client.left, client.bottom - client.top));
    headless::Send(handle, WM_MOVE, 0, MAKELPARAM(client.left, client.top));
    return handle;
}

BOOL WINAPI GetClientRect(HWND window, LPRECT rect) {
    if (!headless::IsLive(window) || rect == nullptr) return FALSE;
    const RECT client = headless::ClientOnScreen(*window);
    *rect = {0, 0, client.right - client.left, client.bottom - client.top};
    return TRUE;
}

BOOL WINAPI ShowWindow(HWND window, int showCommand) {
    if (!headless::IsLive(window)) return FALSE;
    const BOOL wasVisible = window->visible ? TRUE : FALSE;
    if (showCommand == SW_HIDE) {
        window->visible = false;
        return wasVisible;
    }
    if (!window->visible) {
        window->visible = true;
        headless::Send(window, WM_SHOWWINDOW, 1, 0);
    }
    System().mainWindow = window;
    System().foreground = window;
    if (!System().appActive) {
        System().appActive = true;
        headless::Send(window, WM_ACTIVATEAPP, 1, 0);
    }
    if (System().focus != window) {
        HWND previous = System().focus;
        System().focus = window;
        if (headless::IsLive(previous))
            headless::Send(previous, WM_KILLFOCUS, reinterpret_cast<WPARAM>(window), 0);
        headless::Send(window, WM_SETFOCUS, reinterpret_cast<WPARAM>(previous), 0);
    }
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND window) {
    long fault = 0;
    if (headless::detail::TakeFault(Op::UpdateWindow, &fault) || !headless::IsLive(window)) {
        headless::detail::Record(Op::UpdateWindow, {}, "", 0);
        return FALSE;
    }
    headless::detail::Record(Op::UpdateWindow, {}, "", 1);
    if (window->visible) headless::Send(window, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL WINAPI DestroyWindow(HWND window) {
    if (!headless::IsLive(window)) return FALSE;
    if (System().focus == window) {
        headless::Send(window, WM_KILLFOCUS, 0, 0);
        System().focus = nullptr;
    }
    headless::Send(window, WM_DESTROY, 0, 0);
    window->destroyed = true;
    window->visible = false;
    if (System().foreground == window) System().foreground = nullptr;
    return TRUE;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM, LPARAM) {
    if (message == WM_CLOSE) DestroyWindow(window);
    return 0;
}

BOOL WINAPI PeekMessageA(LPMSG msg, HWND, UINT, UINT, UINT removeMsg) {
    headless::WindowSystem& system = System();
    headless::MoveDueMessages();
    if (!system.queue.empty()) {
        MSG next = system.queue.front();
        if (next.hwnd == nullptr) next.hwnd = headless::MainWindow();
        if (removeMsg & PM_REMOVE) system.queue.pop_front();
        *msg = next;
        return TRUE;
    }
    // The quit message comes only once the queue is otherwise empty.
    if (system.quitPosted) {
        *msg = headless::MakeMessage(WM_QUIT, static_cast<WPARAM>(system.quitCode), 0, nullptr);
        if (removeMsg & PM_REMOVE) system.quitPosted = false;
        return TRUE;
    }
    ++system.framesRun;
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (msg == nullptr || msg->message != WM_KEYDOWN) return FALSE;
    const unsigned key = static_cast<unsigned>(msg->wParam & 0xFF);
    unsigned ch = 0;
    if (key == VK_BACK || key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE ||
        key == VK_SPACE || (key >= '0' && key <= '9'))
        ch = key;
    else if (key >= 'A' && key <= 'Z')
        ch = key - 'A' + 'a';
    if (ch == 0) return FALSE;
    System().queue.push_back(headless::MakeMessage(WM_CHAR, ch, msg->lParam, msg->hwnd));
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (msg == nullptr) return 0;
    return headless::Send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void WINAPI PostQuitMessage(int exitCode) {
    System().quitPosted = true;
    System().quitCode = exitCode;
}

int WINAPI GetSystemMetrics(int index) {
    if (index == SM_CXSCREEN) return System().desktopWidth;
    if (index == SM_CYSCREEN) return System().desktopHeight;
    return 0;
}

namespace {
HDC__* ScreenDC() {
    static HDC__ screen;
    return &screen;
}
}  // namespace

HDC WINAPI GetDC(HWND) {
    return ScreenDC();
}

int WINAPI ReleaseDC(HWND, HDC dc) {
    return dc == ScreenDC() ? 1 : 0;
}

int WINAPI GetDeviceCaps(HDC, int index) {
    if (index == BITSPIXEL) return System().desktopBits;
    if (index == VREFRESH) return headless::detail::RefreshRate();
    return 0;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR) {
    static char arrow;
    return reinterpret_cast<HCURSOR>(&arrow);
}

HGDIOBJ WINAPI GetStockObject(int) {
    static char brush;
    return &brush;
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    headless::MessageBoxRecord box = {owner, text ? text : "", caption ? caption : "", type};
    if (System().echoBoxes)
        std::fprintf(stderr, "[%s] %s\n", box.caption.c_str(), box.text.c_str());
    System().boxes.push_back(std::move(box));
    // The box takes the focus while it is up; when it closes Windows activates
    // its owner again, which hears WM_SETFOCUS.
    if (headless::IsLive(owner)) {
        if (System().focus == owner) {
            System().focus = nullptr;
            headless::Send(owner, WM_KILLFOCUS, 0, 0);
        }
        System().focus = owner;
        System().foreground = owner;
        headless::Send(owner, WM_SETFOCUS, 0, 0);
    }
    return IDOK;
}

BOOL WINAPI ClientToScreen(HWND window, LPPOINT point) {
    if (!headless::IsLive(window) || point == nullptr) return FALSE;
    const RECT client = headless::ClientOnScreen(*window);
    point->x += client.left;
    point->y += client.top;
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
    return System().foreground;
}

namespace {
bool IsInput(UINT message) {
    return (message >= WM_KEYDOWN && message <= WM_SYSKEYUP) ||
           (message >= WM_MOUSEMOVE && message <= WM_MBUTTONUP);
}
}  // namespace

DWORD WINAPI MsgWaitForMultipleObjects(DWORD count, const HANDLE*, BOOL, DWORD milliseconds,
                                       DWORD wakeMask) {
    // There are no kernel objects to wait for, only messages and time.
    if (count != 0) return WAIT_FAILED;
    headless::MoveDueMessages();
    const DWORD notInput = QS_POSTMESSAGE | QS_SENDMESSAGE;
    bool waiting = System().quitPosted && (wakeMask & QS_POSTMESSAGE) != 0;
    for (const MSG& msg : System().queue)
        waiting = waiting || (wakeMask & (IsInput(msg.message) ? ~notInput : notInput)) != 0;
    if (waiting) return WAIT_OBJECT_0;
    Sleep(milliseconds);
    return WAIT_TIMEOUT;
}
