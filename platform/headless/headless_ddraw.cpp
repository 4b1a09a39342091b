// The headless display: surfaces in memory (the shared DirectDraw objects of
// platform/common), and every picture shown kept as the user would see it.
#include <algorithm>
#include <cstring>

#include "platform/common/ddraw_objects.h"
#include "platform/headless/clock_control.h"
#include "platform/headless/display_control.h"
#include "platform/headless/headless_reset_parts.h"

namespace headless {
namespace {

struct DisplaySettings {
    SurfaceFormat format = SurfaceFormat::Rgb565;
    int extraPitch = 0;
    long long videoMemory = 32ll * 1024 * 1024;
};

struct DisplayState {
    DisplaySettings settings;
    DisplayMode mode;
    int presentCount = 0;
    bool keepAllFrames = false;
    // The last presented picture is taken from its surface only when someone
    // looks at it or the surface is about to change, so presenting a frame costs
    // one copy, as on a real display.
    Frame lastFrame;
    const platform::Surface* pendingSurface = nullptr;
    RECT pendingPart = {0, 0, 0, 0};
    std::vector<Frame> frames;
};

DisplayState& Screen() {
    static DisplayState state;
    return state;
}

// Copies width x height pixels from (x, y) of a surface into frame, reusing its
// storage, so a running game does not allocate a picture per frame.
void CaptureInto(Frame& frame, const platform::Surface& surface, int x, int y, int width,
                 int height) {
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + width, surface.Width());
    const int bottom = std::min(y + height, surface.Height());
    frame.redMask = surface.Layout().redMask;
    frame.greenMask = surface.Layout().greenMask;
    frame.blueMask = surface.Layout().blueMask;
    frame.width = 0;
    frame.height = 0;
    frame.pixels.clear();
    if (right <= left || bottom <= top) return;
    frame.width = right - left;
    frame.height = bottom - top;
    frame.pixels.resize(static_cast<size_t>(frame.width) * frame.height);
    for (int row = top; row < bottom; ++row)
        std::memcpy(frame.pixels.data() + static_cast<size_t>(row - top) * frame.width,
                    surface.PixelAt(left, row), static_cast<size_t>(frame.width) * 2);
}

// Takes the last presented picture from its surface now if it still lives there
// (null: whatever surface it is).
void SettlePresentedFrame(const platform::Surface* surface) {
    DisplayState& state = Screen();
    if (state.pendingSurface == nullptr) return;
    if (surface != nullptr && surface != state.pendingSurface) return;
    const RECT& part = state.pendingPart;
    CaptureInto(state.lastFrame, *state.pendingSurface, part.left, part.top, part.right - part.left,
                part.bottom - part.top);
    state.pendingSurface = nullptr;
}

// Part of a surface becomes the last presented picture (kept at once when
// every frame is kept).
void PresentFrom(const platform::Surface& surface, int x, int y, int width, int height) {
    AdvanceClock(detail::PresentTicks());
    if (detail::PresentsWaitForVerticalBlank()) AdvanceClock(detail::TicksToVerticalBlank());
    DisplayState& state = Screen();
    ++state.presentCount;
    state.pendingSurface = &surface;
    state.pendingPart = {x, y, x + width, y + height};
    if (state.keepAllFrames) {
        SettlePresentedFrame(nullptr);
        state.frames.push_back(state.lastFrame);
    }
}

class HeadlessDisplay final : public platform::Display {
public:
    platform::SurfaceLayout Layout() override {
        platform::SurfaceLayout layout;
        if (Screen().settings.format == SurfaceFormat::Rgb555) {
            layout.redMask = 0x7C00;
            layout.greenMask = 0x03E0;
        }
        layout.rowPadding = Screen().settings.extraPitch;
        return layout;
    }
    long long VideoMemory() override { return Screen().settings.videoMemory; }
    bool ShowsDepth(DWORD) override { return true; }
    void SetMode(const platform::DirectDrawObject&, DWORD width, DWORD height,
                 DWORD bitsPerPixel) override {
        Screen().mode = {static_cast<int>(width), static_cast<int>(height),
                         static_cast<int>(bitsPerPixel)};
    }
    void RestoreMode(const platform::DirectDrawObject&) override { Screen().mode = DisplayMode(); }

    // The primary is the screen: the display mode in full screen, else the desktop.
    platform::ScreenSize PrimarySize(const platform::DirectDrawObject& owner, bool) override {
        const DisplayMode& mode = Screen().mode;
        if (owner.Exclusive() && mode.width > 0) return {mode.width, mode.height};
        return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    }

    // What the user sees is the window's client area, wherever the copy went.
    HRESULT ShowCopy(const platform::Surface& primary, const platform::Surface&, const RECT& part,
                     int x, int y) override {
        HWND window = primary.Owner().CooperativeWindow();
        RECT client;
        POINT origin = {0, 0};
        if (window != nullptr && GetClientRect(window, &client) && ClientToScreen(window, &origin))
            PresentFrom(primary, origin.x, origin.y, client.right, client.bottom);
        else
            PresentFrom(primary, x, y, part.right - part.left, part.bottom - part.top);
        return DD_OK;
    }
    HRESULT ShowFlip(const platform::Surface& front) override {
        PresentFrom(front, 0, 0, front.Width(), front.Height());
        return DD_OK;
    }
    // The blank takes no time of its own: its beginning and end are one moment.
    HRESULT WaitForVerticalBlank() override {
        if (detail::VerticalBlankWaits()) AdvanceClock(detail::TicksToVerticalBlank());
        return DD_OK;
    }
    void PixelsChanging(const platform::Surface& surface) override {
        SettlePresentedFrame(&surface);
    }
};

}  // namespace

namespace detail {
void ResetDisplay() {
    platform::ResetDirectDraw();
    Screen() = DisplayState();
}
}  // namespace detail

void SetSurfaceFormat(SurfaceFormat format) {
    Screen().settings.format = format;
}
void SetExtraPitch(int bytes) {
    Screen().settings.extraPitch = bytes;
}
void SetVideoMemory(long long bytes) {
    Screen().settings.videoMemory = bytes;
}
long long VideoMemoryInUse() {
    return platform::VideoMemoryInUse();
}

void LoseSurfaces() {
    for (const auto& surface : platform::Surfaces())
        if (surface->Alive()) surface->MarkLost();
}

void LoseSurface(IDirectDrawSurface* surface) {
    platform::Surface* found = platform::FindSurface(surface);
    if (found != nullptr && found->Alive()) found->MarkLost();
}

DisplayMode CurrentDisplayMode() {
    return Screen().mode;
}

DWORD CooperativeLevel() {
    const auto& objects = platform::DirectDrawObjects();
    for (auto it = objects.rbegin(); it != objects.rend(); ++it)
        if ((*it)->Alive()) return (*it)->CooperativeFlags();
    return 0;
}

int LiveDirectDrawObjects() {
    const auto& objects = platform::DirectDrawObjects();
    return static_cast<int>(std::count_if(objects.begin(), objects.end(),
                                          [](const auto& object) { return object->Alive(); }));
}

int LiveSurfaces() {
    const auto& surfaces = platform::Surfaces();
    return static_cast<int>(std::count_if(surfaces.begin(), surfaces.end(),
                                          [](const auto& surface) { return surface->Alive(); }));
}

int PresentCount() {
    return Screen().presentCount;
}
const Frame& LastFrame() {
    SettlePresentedFrame(nullptr);
    return Screen().lastFrame;
}
void KeepAllFrames(bool keep) {
    Screen().keepAllFrames = keep;
}
const std::vector<Frame>& PresentedFrames() {
    return Screen().frames;
}

}  // namespace headless

platform::Display& platform::TheDisplay() {
    static headless::HeadlessDisplay display;
    return display;
}
