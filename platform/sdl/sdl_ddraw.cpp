#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

#include "platform/common/surface_rules.h"
#include "platform/sdl/sdl_device_context.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/sdl_windows.h"

// DirectDraw over SDL. Every surface with pixels lives in system memory as 16-bit
// 5:6:5 words; the primary surface stands for the screen, and showing a picture
// on it (BltFast onto the primary, or Flip of a full-screen chain) uploads the
// pixels to the window's streaming texture and presents it with vertical sync.

namespace {

constexpr DWORD kRedMask = 0xF800;
constexpr DWORD kGreenMask = 0x07E0;
constexpr DWORD kBlueMask = 0x001F;
// Larger surfaces are refused rather than allocated.
constexpr int kLargestSide = 16384;

class Surface;
class DirectDraw;

// Every live object, owned here until its last Release.
std::vector<std::unique_ptr<Surface>>& Surfaces() {
    static std::vector<std::unique_ptr<Surface>> surfaces;
    return surfaces;
}
std::vector<std::unique_ptr<DirectDraw>>& DirectDraws() {
    static std::vector<std::unique_ptr<DirectDraw>> objects;
    return objects;
}

template <typename T>
void Forget(std::vector<std::unique_ptr<T>>& owned, T* object) {
    for (auto it = owned.begin(); it != owned.end(); ++it)
        if (it->get() == object) {
            owned.erase(it);
            return;
        }
}

class Surface final : public IDirectDrawSurface {
public:
    // screen: the windowed primary, which has no pixels of its own. owner: the
    // DirectDraw object that made it (only compared, never followed).
    Surface(const void* owner, DWORD caps, int width, int height, bool screen, HWND window)
        : owner_(owner),
          caps_(caps),
          width_(width),
          height_(height),
          pitch_(width * 2),
          window_(window) {
        if (!screen) pixels_.assign(static_cast<size_t>(width) * height, 0);
    }

    const void* Owner() const { return owner_; }
    bool IsPrimary() const { return (caps_ & DDSCAPS_PRIMARYSURFACE) != 0; }
    void AddRef() { ++refs_; }
    void Attach(Surface* back) { attached_ = back; }
    bool HasPixels() const { return !pixels_.empty(); }

    ULONG Release() override {
        const ULONG left = --refs_;
        if (left == 0) {
            Surface* back = attached_;
            Forget(Surfaces(), this);  // destroys this surface
            if (back != nullptr) back->Release();
        }
        return left;
    }

    HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface* source, LPRECT sourceRect,
                    DWORD transfer) override {
        auto* src = static_cast<Surface*>(source);
        if (src == nullptr || !src->HasPixels()) return DDERR_INVALIDPARAMS;
        // No surface has a colour key.
        if (transfer & (DDBLTFAST_SRCCOLORKEY | DDBLTFAST_DESTCOLORKEY)) return DDERR_NOCOLORKEY;
        // The primary stands for the screen: a copy must fit on it as on any surface.
        RECT area;
        const HRESULT fits = surfacerules::CheckBltFast(x, y, sourceRect, src->width_, src->height_,
                                                        width_, height_, &area);
        if (fits != DD_OK) return fits;
        if (locked_ || src->locked_ || dcOut_ || src->dcOut_) return DDERR_SURFACEBUSY;
        const int w = area.right - area.left;
        const int h = area.bottom - area.top;
        const std::uint16_t* from = src->Pixel(area.left, area.top);

        if (!HasPixels()) {
            // The primary: the picture lands in the window's client area.
            HWND target = Target();
            if (target == nullptr) return DDERR_GENERIC;
            const POINT origin = sdl::ClientOrigin(target);
            const int cx = static_cast<int>(static_cast<LONG>(x)) - origin.x;
            const int cy = static_cast<int>(static_cast<LONG>(y)) - origin.y;
            return sdl::PresentFrame(target, from, w, h, src->pitch_, cx, cy) ? DD_OK
                                                                              : DDERR_GENERIC;
        }
        for (int row = 0; row < h; ++row)
            std::memmove(Pixel(static_cast<int>(x), static_cast<int>(y) + row),
                         from + static_cast<size_t>(row) * src->width_, static_cast<size_t>(w) * 2);
        return DD_OK;
    }

    HRESULT Flip(IDirectDrawSurface* targetOverride, DWORD) override {
        if (attached_ == nullptr) return DDERR_NOTFLIPPABLE;
        if (targetOverride != nullptr && targetOverride != attached_) return DDERR_INVALIDPARAMS;
        if (locked_ || dcOut_ || attached_->locked_ || attached_->dcOut_) return DDERR_SURFACEBUSY;
        // The back buffer becomes the front; the old front is the next back buffer.
        std::swap(pixels_, attached_->pixels_);
        HWND target = Target();
        if (target == nullptr) return DDERR_GENERIC;
        return sdl::PresentFrame(target, pixels_.data(), width_, height_, pitch_, 0, 0)
                   ? DD_OK
                   : DDERR_GENERIC;
    }

    HRESULT GetAttachedSurface(LPDDSCAPS caps, IDirectDrawSurface** attached) override {
        if (caps == nullptr || attached == nullptr) return DDERR_INVALIDPARAMS;
        *attached = nullptr;
        if (attached_ == nullptr || (caps->dwCaps & DDSCAPS_BACKBUFFER) == 0) return DDERR_NOTFOUND;
        attached_->AddRef();
        *attached = attached_;
        return DD_OK;
    }

    HRESULT GetDC(HDC* dc) override {
        if (dc == nullptr) return DDERR_INVALIDPARAMS;
        if (!HasPixels()) return DDERR_CANTCREATEDC;
        if (locked_ || dcOut_) return DDERR_SURFACEBUSY;
        dc_.pixels = pixels_.data();
        dc_.width = width_;
        dc_.height = height_;
        dc_.pitchBytes = pitch_;
        dc_.redMask = kRedMask;
        dc_.greenMask = kGreenMask;
        dc_.blueMask = kBlueMask;
        dc_.backgroundMode = OPAQUE;
        dc_.textColor = 0;
        dcOut_ = true;
        *dc = &dc_;
        return DD_OK;
    }

    HRESULT GetSurfaceDesc(LPDDSURFACEDESC desc) override {
        if (desc == nullptr) return DDERR_INVALIDPARAMS;
        Describe(desc);
        return DD_OK;
    }

    // Nothing is ever lost: the pixels live in the program's own memory.
    HRESULT IsLost() override { return DD_OK; }
    HRESULT Restore() override { return DD_OK; }

    HRESULT Lock(LPRECT rect, LPDDSURFACEDESC desc, DWORD, HANDLE) override {
        if (desc == nullptr) return DDERR_INVALIDPARAMS;
        if (!HasPixels()) return DDERR_UNSUPPORTED;
        if (locked_ || dcOut_) return DDERR_SURFACEBUSY;
        RECT area = {0, 0, width_, height_};
        if (rect != nullptr) area = *rect;
        if (!surfacerules::RectInside(area, width_, height_)) return DDERR_INVALIDRECT;
        Describe(desc);
        desc->dwFlags |= DDSD_LPSURFACE;
        desc->lpSurface = Pixel(area.left, area.top);
        locked_ = true;
        return DD_OK;
    }

    HRESULT ReleaseDC(HDC dc) override {
        if (!dcOut_ || dc != &dc_) return DDERR_NODC;
        dcOut_ = false;
        return DD_OK;
    }

    HRESULT Unlock(LPVOID) override {
        if (!locked_) return DDERR_NOTLOCKED;
        locked_ = false;
        return DD_OK;
    }

private:
    std::uint16_t* Pixel(int x, int y) {
        return pixels_.data() + static_cast<size_t>(y) * width_ + x;
    }

    HWND Target() const { return sdl::IsLive(window_) ? window_ : sdl::MainWindow(); }

    void Describe(LPDDSURFACEDESC desc) const {
        const DWORD size = desc->dwSize;
        std::memset(desc, 0, sizeof(*desc));
        desc->dwSize = size;
        desc->dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
        desc->dwWidth = static_cast<DWORD>(width_);
        desc->dwHeight = static_cast<DWORD>(height_);
        desc->lPitch = pitch_;
        if (attached_ != nullptr) {
            desc->dwFlags |= DDSD_BACKBUFFERCOUNT;
            desc->dwBackBufferCount = 1;
        }
        desc->ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
        desc->ddpfPixelFormat.dwFlags = DDPF_RGB;
        desc->ddpfPixelFormat.dwRGBBitCount = 16;
        desc->ddpfPixelFormat.dwRBitMask = kRedMask;
        desc->ddpfPixelFormat.dwGBitMask = kGreenMask;
        desc->ddpfPixelFormat.dwBBitMask = kBlueMask;
        desc->ddsCaps.dwCaps = caps_;
    }

    const void* owner_;
    DWORD caps_;
    int width_;
    int height_;
    int pitch_;
    HWND window_;
    std::vector<std::uint16_t> pixels_;
    Surface* attached_ = nullptr;  // the back buffer of a flipping chain; one reference held
    bool locked_ = false;
    bool dcOut_ = false;
    HDC__ dc_;
    ULONG refs_ = 1;
};

class DirectDraw final : public IDirectDraw {
public:
    ULONG Release() override {
        const ULONG left = --refs_;
        if (left == 0) Forget(DirectDraws(), this);
        return left;
    }

    HRESULT CreateSurface(LPDDSURFACEDESC desc, IDirectDrawSurface** surface,
                          IUnknown* outer) override {
        if (desc == nullptr || surface == nullptr || outer != nullptr) return DDERR_INVALIDPARAMS;
        *surface = nullptr;
        if (level_ == 0) return DDERR_NOCOOPERATIVELEVELSET;
        const DWORD caps = (desc->dwFlags & DDSD_CAPS) != 0 ? desc->ddsCaps.dwCaps : 0;
        // There is no video memory: everything is in the program's memory.
        if ((caps & DDSCAPS_VIDEOMEMORY) != 0) return DDERR_OUTOFVIDEOMEMORY;
        if ((caps & DDSCAPS_PRIMARYSURFACE) != 0) return CreatePrimary(desc, caps, surface);

        if ((desc->dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT))
            return DDERR_INVALIDPARAMS;
        const DWORD width = desc->dwWidth;
        const DWORD height = desc->dwHeight;
        if (width == 0 || height == 0) return DDERR_INVALIDPARAMS;
        if (width > kLargestSide || height > kLargestSide) return DDERR_TOOBIGSIZE;
        *surface = Make(caps | DDSCAPS_SYSTEMMEMORY, static_cast<int>(width),
                        static_cast<int>(height), false);
        return DD_OK;
    }

    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override {
        const bool normal = (flags & DDSCL_NORMAL) != 0;
        const bool fullscreen = (flags & DDSCL_FULLSCREEN) != 0;
        const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
        if (normal == fullscreen || fullscreen != exclusive) return DDERR_INVALIDPARAMS;
        if (window != nullptr && !sdl::IsLive(window)) return DDERR_INVALIDPARAMS;
        if (exclusive && window == nullptr) return DDERR_INVALIDPARAMS;
        level_ = flags;
        window_ = window;
        return DD_OK;
    }

    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) override {
        if ((level_ & DDSCL_EXCLUSIVE) == 0) return DDERR_NOEXCLUSIVEMODE;
        // Only 16-bit pictures can be shown.
        if (bitsPerPixel != 16 || width == 0 || height == 0 || width > kLargestSide ||
            height > kLargestSide)
            return DDERR_INVALIDMODE;
        modeWidth_ = static_cast<int>(width);
        modeHeight_ = static_cast<int>(height);
        // The desktop keeps its own mode; the picture is scaled to fill it.
        if (sdl::IsLive(window_) && window_->renderer != nullptr)
            SDL_RenderSetLogicalSize(window_->renderer, modeWidth_, modeHeight_);
        return DD_OK;
    }

    // SDL waits for the vertical blank only as it presents, which its renderer
    // does with vertical sync.
    HRESULT WaitForVerticalBlank(DWORD, HANDLE) override { return DDERR_UNSUPPORTED; }

private:
    HRESULT CreatePrimary(LPDDSURFACEDESC desc, DWORD caps, IDirectDrawSurface** surface) {
        for (const auto& existing : Surfaces())
            if (existing->Owner() == this && existing->IsPrimary())
                return DDERR_PRIMARYSURFACEALREADYEXISTS;
        if ((caps & DDSCAPS_FLIP) == 0) {
            // The screen: the desktop, and every further display beside it, in
            // the coordinates that windows are placed in (the pixels of the
            // window's picture).
            int width = GetSystemMetrics(SM_CXSCREEN);
            int height = GetSystemMetrics(SM_CYSCREEN);
            for (int display = 0; display < SDL_GetNumVideoDisplays(); ++display) {
                SDL_Rect bounds;
                if (SDL_GetDisplayBounds(display, &bounds) != 0) continue;
                width = std::max(width, bounds.x + bounds.w);
                height = std::max(height, bounds.y + bounds.h);
            }
            const int scale = sdl::PictureScale(sdl::IsLive(window_) ? window_ : sdl::MainWindow());
            width /= scale;
            height /= scale;
            *surface = Make(caps | DDSCAPS_FRONTBUFFER, width > 0 ? width : 1,
                            height > 0 ? height : 1, true);
            return DD_OK;
        }
        if ((level_ & DDSCL_EXCLUSIVE) == 0) return DDERR_NOEXCLUSIVEMODE;
        if ((caps & DDSCAPS_COMPLEX) == 0 || (desc->dwFlags & DDSD_BACKBUFFERCOUNT) == 0 ||
            desc->dwBackBufferCount != 1)
            return DDERR_INVALIDCAPS;
        int width = modeWidth_;
        int height = modeHeight_;
        if (width == 0 && sdl::IsLive(window_)) {
            width = window_->outer.right - window_->outer.left;
            height = window_->outer.bottom - window_->outer.top;
        }
        if (width <= 0 || height <= 0) return DDERR_INVALIDMODE;
        const DWORD chain = DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_SYSTEMMEMORY;
        Surface* front =
            Make(caps | DDSCAPS_FRONTBUFFER | DDSCAPS_SYSTEMMEMORY, width, height, false);
        front->Attach(Make(chain | DDSCAPS_BACKBUFFER, width, height, false));
        *surface = front;
        return DD_OK;
    }

    Surface* Make(DWORD caps, int width, int height, bool screen);

    DWORD level_ = 0;
    HWND window_ = nullptr;
    int modeWidth_ = 0;
    int modeHeight_ = 0;
    ULONG refs_ = 1;
};

Surface* DirectDraw::Make(DWORD caps, int width, int height, bool screen) {
    Surfaces().push_back(std::make_unique<Surface>(this, caps, width, height, screen, window_));
    return Surfaces().back().get();
}

}  // namespace

HRESULT WINAPI DirectDrawCreate(GUID*, IDirectDraw** directDraw, IUnknown* outer) {
    if (directDraw == nullptr || outer != nullptr) return DDERR_INVALIDPARAMS;
    *directDraw = nullptr;
    if (!sdl::VideoReady()) return DDERR_NODIRECTDRAWHW;
    DirectDraws().push_back(std::make_unique<DirectDraw>());
    *directDraw = DirectDraws().back().get();
    return DD_OK;
}
