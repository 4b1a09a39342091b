// DirectDraw over SDL: the shared DirectDraw objects of platform/common, with
// every surface in system memory as 16-bit 5:6:5 words. The windowed primary
// stands for the screen and keeps no pixels; showing a picture on it (BltFast
// onto the primary, or Flip of a full-screen chain) puts the pixels on the
// window (sdl_screen.h).
#include <algorithm>

#include "platform/common/ddraw_objects.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/sdl_windows.h"

namespace {

// The window a primary shows in: its cooperative window while that lives, else
// the main window.
HWND Target(const platform::Surface& primary) {
    HWND window = primary.Owner().CooperativeWindow();
    return platform::IsLive(window) ? window : sdl::MainWindow();
}

// The screen: the desktop, and every further display beside it, in the
// coordinates that windows are placed in (the pixels of the window's picture).
platform::ScreenSize Desktops(HWND window) {
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    for (int display = 0; display < SDL_GetNumVideoDisplays(); ++display) {
        SDL_Rect bounds;
        if (SDL_GetDisplayBounds(display, &bounds) != 0) continue;
        width = std::max(width, bounds.x + bounds.w);
        height = std::max(height, bounds.y + bounds.h);
    }
    const int scale = sdl::PictureScale(platform::IsLive(window) ? window : sdl::MainWindow());
    return {std::max(width / scale, 1), std::max(height / scale, 1)};
}

class SdlDisplay final : public platform::Display {
public:
    bool Ready() override { return sdl::VideoReady(); }
    bool PrimaryKeepsPixels() override { return false; }

    // The desktop keeps its own mode; a full-screen picture is scaled to fill it.
    void SetMode(const platform::DirectDrawObject& owner, DWORD width, DWORD height,
                 DWORD) override {
        HWND window = owner.CooperativeWindow();
        if (owner.Exclusive() && platform::IsLive(window) && window->sdlWindow != nullptr)
            sdl::SetCanvasSize(window, static_cast<int>(width), static_cast<int>(height));
    }

    platform::ScreenSize PrimarySize(const platform::DirectDrawObject& owner,
                                     bool flipping) override {
        return flipping ? platform::FlippingChainSize(owner) : Desktops(owner.CooperativeWindow());
    }

    // The picture lands in the window's client area.
    HRESULT ShowCopy(const platform::Surface& primary, const platform::Surface& source,
                     const RECT& part, int x, int y) override {
        HWND target = Target(primary);
        if (target == nullptr) return DDERR_GENERIC;
        const POINT origin = sdl::ClientOrigin(target);
        return sdl::PresentFrame(target, source.PixelAt(part.left, part.top),
                                 part.right - part.left, part.bottom - part.top, source.Pitch(),
                                 x - origin.x, y - origin.y)
                   ? DD_OK
                   : DDERR_GENERIC;
    }

    HRESULT ShowFlip(const platform::Surface& front) override {
        HWND target = Target(front);
        if (target == nullptr) return DDERR_GENERIC;
        return sdl::PresentFrame(target, front.PixelAt(0, 0), front.Width(), front.Height(),
                                 front.Pitch(), 0, 0)
                   ? DD_OK
                   : DDERR_GENERIC;
    }
};

}  // namespace

platform::Display& platform::TheDisplay() {
    static SdlDisplay display;
    return display;
}
