#include "tests/platform/sdl_fixture.h"

#include "platform/sdl/sdl_video.h"

namespace sdltest {
namespace {

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Received().push_back({window, message, wParam, lParam});
    // As the engine's procedure does: a destroyed window ends the program.
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

std::vector<Delivered>& Received() {
    static std::vector<Delivered> received;
    return received;
}

void RegisterTestClass() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecordingProc;
    windowClass.lpszClassName = "SdlTest";
    registered = RegisterClassA(&windowClass) != 0;
}

void SdlTest::SetUp() {
    ASSERT_TRUE(sdl::VideoReady());
    RegisterTestClass();
    Pump();
    Received().clear();
}

void SdlTest::TearDown() {
    for (HWND window : windows_) DestroyWindow(window);
    Pump();
    Received().clear();
}

HWND SdlTest::MakeWindow(DWORD style, int x, int y, int width, int height, bool show) {
    HWND window = CreateWindowExA(WS_EX_APPWINDOW, "SdlTest", "", style, x, y, width, height,
                                  nullptr, nullptr, nullptr, nullptr);
    if (window != nullptr) {
        windows_.push_back(window);
        if (show) ShowWindow(window, SW_SHOWNORMAL);
    }
    return window;
}

std::vector<MSG> SdlTest::Pump(bool translate) {
    std::vector<MSG> taken;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        taken.push_back(msg);
        if (msg.message == WM_QUIT) continue;
        if (translate) TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return taken;
}

}  // namespace sdltest
