// A small program on the platform API alone, the way the engine uses it: a
// window sized by a hidden measuring window, a DirectDraw back surface drawn in
// software every frame and copied to the window, and a square that the arrow
// keys move one pixel per frame. Escape or the close box ends it; it then prints
// "position N" with the square's last x.
//   sdl-demo                 opens the window
//   sdl-demo --frame X FILE  writes the picture for square position X as a PPM
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/api/platform.h"

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kSquare = 16;
constexpr int kSquareTop = 100;

struct Demo {
    HWND window = nullptr;
    IDirectDraw* directDraw = nullptr;
    IDirectDrawSurface* primary = nullptr;
    IDirectDrawSurface* back = nullptr;
    bool keyDown[256] = {};
    POINT origin = {0, 0};
    int position = 0;
} demo;

// Every 5:6:5 channel value appears, full green included, so a display that
// widens colours differently still narrows back to the same words.
std::uint16_t Pattern(int x, int y, int position) {
    if (x >= position && x < position + kSquare && y >= kSquareTop && y < kSquareTop + kSquare)
        return 0xFFFF;
    const int red = x % 32;
    const int green = (y + x / 32) % 64;
    const int blue = (x + y) % 32;
    return static_cast<std::uint16_t>(red << 11 | green << 5 | blue);
}

void DrawFrame(std::uint16_t* pixels, int pitchWords, int position) {
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) pixels[y * pitchWords + x] = Pattern(x, y, position);
}

int WriteFrame(int position, const char* path) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "sdl-demo: cannot write %s\n", path);
        return 1;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", kWidth, kHeight);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const std::uint16_t word = Pattern(x, y, position);
            const int r = word >> 11, g = (word >> 5) & 63, b = word & 31;
            const unsigned char rgb[3] = {static_cast<unsigned char>(r << 3 | r >> 2),
                                          static_cast<unsigned char>(g << 2 | g >> 4),
                                          static_cast<unsigned char>(b << 3 | b >> 2)};
            std::fwrite(rgb, 1, 3, file);
        }
    return std::fclose(file) == 0 ? 0 : 1;
}

LRESULT CALLBACK DemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        case WM_MOVE:
            demo.origin = {LOWORD(lParam), HIWORD(lParam)};
            break;
        case WM_KEYDOWN:
            demo.keyDown[wParam & 0xFF] = true;
            if ((wParam & 0xFF) == VK_ESCAPE) DestroyWindow(window);
            break;
        case WM_KEYUP:
            demo.keyDown[wParam & 0xFF] = false;
            break;
        case WM_CLOSE:
            DestroyWindow(window);
            break;
        default:
            break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool Fail(const char* what) {
    MessageBoxA(demo.window, what, "sdl-demo", MB_OK | MB_ICONERROR);
    return false;
}

bool Start(HINSTANCE instance, int showCommand) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DemoProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "SdlDemo";
    if (RegisterClassA(&windowClass) == 0) return Fail("RegisterClassA failed");
    HWND measuring = CreateWindowExA(WS_EX_APPWINDOW, "SdlDemo", "", WS_SYSMENU, 0, 0, kWidth,
                                     kHeight, nullptr, nullptr, instance, nullptr);
    if (measuring == nullptr) return Fail("cannot create the measuring window");
    RECT client;
    GetClientRect(measuring, &client);
    const int outerWidth = 2 * kWidth - client.right;
    const int outerHeight = 2 * kHeight - client.bottom;
    const int left = (GetSystemMetrics(SM_CXSCREEN) >> 1) - (outerWidth >> 1);
    const int top = (GetSystemMetrics(SM_CYSCREEN) >> 1) - (outerHeight >> 1);
    demo.window = CreateWindowExA(WS_EX_APPWINDOW, "SdlDemo", "", WS_SYSMENU, left, top, outerWidth,
                                  outerHeight, nullptr, nullptr, instance, nullptr);
    if (demo.window == nullptr) return Fail("cannot create the window");
    ShowWindow(demo.window, showCommand);
    if (!UpdateWindow(demo.window)) return Fail("cannot show the window");

    if (DirectDrawCreate(nullptr, &demo.directDraw, nullptr) != DD_OK)
        return Fail("DirectDrawCreate failed");
    if (demo.directDraw->SetCooperativeLevel(demo.window, DDSCL_NORMAL) != DD_OK)
        return Fail("SetCooperativeLevel failed");
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    if (demo.directDraw->CreateSurface(&desc, &demo.primary, nullptr) != DD_OK)
        return Fail("cannot create the primary surface");
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.dwWidth = kWidth;
    desc.dwHeight = kHeight;
    if (demo.directDraw->CreateSurface(&desc, &demo.back, nullptr) != DD_OK)
        return Fail("cannot create the back surface");
    return true;
}

void Frame() {
    if (demo.keyDown[VK_RIGHT] && demo.position < kWidth - kSquare) ++demo.position;
    if (demo.keyDown[VK_LEFT] && demo.position > 0) --demo.position;
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    if (demo.back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return;
    DrawFrame(static_cast<std::uint16_t*>(desc.lpSurface), desc.lPitch / 2, demo.position);
    demo.back->Unlock(nullptr);
    // Like the engine: nothing is shown while another window has the focus.
    if (GetForegroundWindow() == demo.window)
        demo.primary->BltFast(demo.origin.x, demo.origin.y, demo.back, nullptr, DDBLTFAST_WAIT);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    if (std::strncmp(commandLine, "--frame ", 8) == 0) {
        char* rest = nullptr;
        const long position = std::strtol(commandLine + 8, &rest, 10);
        if (rest == nullptr || *rest != ' ' || position < 0 || position > kWidth - kSquare) {
            std::fprintf(stderr, "usage: sdl-demo [--frame X FILE]\n");
            return 2;
        }
        return WriteFrame(static_cast<int>(position), rest + 1);
    }
    if (!Start(instance, showCommand)) return 1;
    MSG msg;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) break;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            Frame();
        }
    }
    demo.back->Release();
    demo.primary->Release();
    demo.directDraw->Release();
    std::printf("position %d\n", demo.position);
    return static_cast<int>(msg.wParam);
}
