// The desktop's Win32 and GDI calls, over the backend's desktop (desktop.h):
// its metrics, the screen's device context, the arrow cursor, stock objects
// and the running program's file.
#include "platform/common/desktop.h"
#include "platform/common/device_context.h"
#include "platform/common/program_file.h"

namespace {

HDC__* ScreenContext() {
    static HDC__ screen;
    return &screen;
}

}  // namespace

int WINAPI GetSystemMetrics(int index) {
    if (index != SM_CXSCREEN && index != SM_CYSCREEN) return 0;
    const platform::ScreenSize desktop = platform::TheDesktop().DesktopSize();
    return index == SM_CXSCREEN ? desktop.width : desktop.height;
}

// Any window's context is the screen's, which has no pixels to draw into.
HDC WINAPI GetDC(HWND) {
    return ScreenContext();
}

int WINAPI ReleaseDC(HWND, HDC dc) {
    return dc == ScreenContext() ? 1 : 0;
}

int WINAPI GetDeviceCaps(HDC dc, int index) {
    if (dc == nullptr) return 0;
    if (index == BITSPIXEL) return platform::TheDesktop().DesktopBits();
    if (index == VREFRESH) return platform::TheDesktop().RefreshRate();
    return 0;
}

// Windows show the system's arrow already; the handle only has to be one.
HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR) {
    static char arrow;
    return reinterpret_cast<HCURSOR>(&arrow);
}

// Every window is cleared to black before its first picture.
HGDIOBJ WINAPI GetStockObject(int) {
    static char brush;
    return &brush;
}

// Only the program itself (a null module) is known.
DWORD WINAPI GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size) {
    if (module != nullptr) return 0;
    return programfile::CopyFileName(platform::TheDesktop().ProgramFile(), fileName, size);
}
