#include "shell/windx.h"

namespace {

const char kClassName[] = "Corvane";

// The window's style and the frame buffer's size: the requested size, or the
// screen's where a windowed request leaves it at 0. A window larger than the
// screen is refused.
bool ChooseWindowSize(WinDX& dx, DWORD& style) {
    if (dx.fullscreen == 1) {
        style = WS_POPUP;
        dx.width = dx.requestedWidth;
        dx.height = dx.requestedHeight;
        return true;
    }
    if (dx.requestedWidth > dx.screenWidth || dx.requestedHeight > dx.screenHeight) {
        dx.status = REQSIZE_FAILED;
        return false;
    }
    style = WS_SYSMENU;
    dx.width = dx.requestedWidth < 1 ? dx.screenWidth : dx.requestedWidth;
    dx.height = dx.requestedHeight < 1 ? dx.screenHeight : dx.requestedHeight;
    return true;
}

// A window's outer size in pixels.
struct FrameSize {
    int width = 0;
    int height = 0;
};

// The outer size whose client area is width x height. A hidden window of the
// final style tells how much the frame takes; it is never shown and never
// destroyed.
bool MeasureFrame(WinDX& dx, DWORD style, FrameSize& frame) {
    HWND measuring = CreateWindowExA(WS_EX_APPWINDOW, kClassName, "", style, 0, 0, dx.width,
                                     dx.height, nullptr, nullptr, dx.hInstance, nullptr);
    if (measuring == nullptr) {
        dx.status = INITWINTEMP_FAILED;
        return false;
    }
    dx.status = INITWINTEMP_OK;

    RECT client;
    GetClientRect(measuring, &client);
    frame.width = 2 * dx.width - (client.right - client.left);
    frame.height = 2 * dx.height - (client.bottom - client.top);
    return true;
}

}  // namespace

bool WinDX::InitWindow() {
    return RegisterWindowClass() && CreateMainWindow() && ShowMainWindow();
}

bool WinDX::RegisterWindowClass() {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = hInstance;
    windowClass.hIcon = nullptr;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    // The program carries no menu resource, so the named menu never shows.
    windowClass.lpszMenuName = "Menu";
    windowClass.lpszClassName = kClassName;
    if (RegisterClassA(&windowClass) == 0) {
        status = INITCLASS_FAILED;
        return false;
    }
    status = INITCLASS_OK;
    return true;
}

bool WinDX::CreateMainWindow() {
    // The window does not exist yet, so this is the whole screen's context.
    HDC screen = GetDC(window);
    screenBits = GetDeviceCaps(screen, BITSPIXEL);
    ReleaseDC(window, screen);
    if (screenBits != 16) {
        status = BPP_FAILED;
        return false;
    }

    screenWidth = GetSystemMetrics(SM_CXSCREEN);
    screenHeight = GetSystemMetrics(SM_CYSCREEN);
    fullscreen = fullscreenRequested;
    DWORD style = 0;
    if (!ChooseWindowSize(*this, style)) return false;

    clipLeft = 0;
    clipTop = 0;
    clipRight = width - 1;
    clipBottom = height - 1;

    FrameSize frame;
    if (!MeasureFrame(*this, style, frame)) return false;
    int left = 0;
    int top = 0;
    if (fullscreen != 1) {
        left = (screenWidth >> 1) - (frame.width >> 1);
        top = (screenHeight >> 1) - (frame.height >> 1);
    }

    window = CreateWindowExA(WS_EX_APPWINDOW, kClassName, "", style, left, top, frame.width,
                             frame.height, nullptr, nullptr, hInstance, nullptr);
    if (window == nullptr) {
        status = INITWINREAL_FAILED;
        return false;
    }
    status = INITWINREAL_OK;
    // A window of a game that named itself (or chose a title) shows that name;
    // otherwise it keeps the empty title it was made with.
    if (titleChosen)
        SetWindowTextA(window, windowTitle.c_str());
    else if (nameChosen)
        SetWindowTextA(window, gameName.c_str());
    return true;
}

bool WinDX::ShowMainWindow() {
    ShowWindow(window, showCommand);
    if (!UpdateWindow(window)) {
        status = SHOWWIN_FAILED;
        return false;
    }
    status = SHOWWIN_OK;
    return true;
}

LRESULT CALLBACK WinDX::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        case WM_MOVE:
            Corvane.SetClientOrigin(LOWORD(lParam), HIWORD(lParam));
            break;
        case WM_SETFOCUS:
            if (Corvane.GetStatus() == INIT_OK) {
                Corvane.SetActive(1);
                Corvane.ViewUpdate();
            }
            break;
        case WM_KILLFOCUS:
            Corvane.SetActive(0);
            break;
        case WM_CLOSE:
            DestroyWindow(hwnd);
            break;
        case WM_ACTIVATEAPP:
            Corvane.SetActive(static_cast<int>(wParam));
            break;
        case WM_KEYDOWN:
            Corvane.KeyDown(static_cast<std::uint8_t>(wParam & 0xFF));
            break;
        case WM_KEYUP:
            Corvane.KeyUp(static_cast<std::uint8_t>(wParam & 0xFF));
            break;
        case WM_CHAR:
            Corvane.PushKey(static_cast<char>(wParam & 0xFF));
            break;
        case WM_MOUSEMOVE:
            Corvane.MouseMove(LOWORD(lParam), HIWORD(lParam));
            break;
        case WM_LBUTTONDOWN:
            Corvane.MouseDown(1);
            break;
        case WM_RBUTTONDOWN:
            Corvane.MouseDown(2);
            break;
        case WM_MBUTTONDOWN:
            Corvane.MouseDown(16);
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            Corvane.MouseUp();
            break;
        default:
            break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}
