// DirectDraw in the page: the shared DirectDraw objects of platform/common, with
// every surface in memory as 16-bit 5:6:5 words. The windowed primary stands
// for the screen and keeps no pixels; what is shown on it (BltFast onto the
// primary, or Flip of a full-screen chain) is converted and put on the canvas.
// The vertical blank is the page's next animation frame.
#include <vector>

#include "platform/common/ddraw_objects.h"
#include "platform/web/web_page.h"
#include "platform/web/web_picture.h"
#include "platform/web/web_windows.h"

namespace {

// The window a primary shows in: its cooperative window while that lives, else
// the main window.
HWND Target(const platform::Surface& primary) {
    HWND window = primary.Owner().CooperativeWindow();
    return platform::IsLive(window) ? window : web::MainWindow();
}

// Converts a part of a surface and puts it on the canvas at (x, y).
HRESULT Show(const platform::Surface& source, const RECT& part, int x, int y) {
    static std::vector<std::uint32_t> rgba;
    const int width = part.right - part.left, height = part.bottom - part.top;
    const std::uint16_t* pixels = source.PixelAt(part.left, part.top);
    if (pixels == nullptr || width <= 0 || height <= 0) return DDERR_GENERIC;
    web::ToRgba(pixels, width, height, source.Pitch(), rgba);
    web::ShowOnCanvas(rgba.data(), width, height, x, y);
    return DD_OK;
}

class WebDisplay final : public platform::Display {
public:
    bool PrimaryKeepsPixels() override { return false; }

    // The canvas takes the mode's size; the page enlarges it to fill the screen.
    void SetMode(const platform::DirectDrawObject&, DWORD width, DWORD height, DWORD) override {
        web::SetCanvasSize(static_cast<int>(width), static_cast<int>(height));
    }

    // A plain primary stands for the whole screen.
    platform::ScreenSize PrimarySize(const platform::DirectDrawObject& owner,
                                     bool flipping) override {
        if (flipping) return platform::FlippingChainSize(owner);
        return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }

    // The picture lands in the window's client area, which is the canvas.
    HRESULT ShowCopy(const platform::Surface& primary, const platform::Surface& source,
                     const RECT& part, int x, int y) override {
        HWND target = Target(primary);
        if (target == nullptr) return DDERR_GENERIC;
        return Show(source, part, x - target->outer.left, y - target->outer.top);
    }

    HRESULT ShowFlip(const platform::Surface& front) override {
        if (Target(front) == nullptr) return DDERR_GENERIC;
        return Show(front, RECT{0, 0, front.Width(), front.Height()}, 0, 0);
    }

    HRESULT WaitForVerticalBlank() override {
        web::WaitForAnimationFrame();
        return DD_OK;
    }
};

}  // namespace

platform::Display& platform::TheDisplay() {
    static WebDisplay display;
    return display;
}
