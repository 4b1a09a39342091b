#include "platform/common/ddraw_objects.h"
#include "platform/common/platform_call.h"
#include "platform/common/surface_rules.h"
#include "platform/common/window_system.h"

namespace platform {
namespace {

using Call = PlatformCall;

struct DirectDrawState {
    std::vector<std::unique_ptr<DirectDrawObject>> objects;
    std::vector<std::unique_ptr<Surface>> surfaces;
};

DirectDrawState& State() {
    static DirectDrawState state;
    return state;
}

long long Handle(const void* pointer) {
    return static_cast<long long>(reinterpret_cast<std::intptr_t>(pointer));
}

// Where a new surface goes: video memory when it fits (or only there, when the
// request names it), system memory otherwise; 0 when it asks for video memory
// that is not there.
DWORD Placement(DWORD caps, long long bytes) {
    if (caps & DDSCAPS_SYSTEMMEMORY) return DDSCAPS_SYSTEMMEMORY;
    const bool fits = VideoMemoryInUse() + bytes <= TheDisplay().VideoMemory();
    if (fits) return DDSCAPS_VIDEOMEMORY;
    return (caps & DDSCAPS_VIDEOMEMORY) ? 0 : DDSCAPS_SYSTEMMEMORY;
}

}  // namespace

ScreenSize FlippingChainSize(const DirectDrawObject& owner) {
    ScreenSize size = {static_cast<int>(owner.ModeWidth()), static_cast<int>(owner.ModeHeight())};
    const Window* window = LiveWindow(owner.CooperativeWindow());
    if (size.width == 0 && window != nullptr)
        size = {window->outer.right - window->outer.left, window->outer.bottom - window->outer.top};
    return size;
}

const std::vector<std::unique_ptr<DirectDrawObject>>& DirectDrawObjects() {
    return State().objects;
}

const std::vector<std::unique_ptr<Surface>>& Surfaces() {
    return State().surfaces;
}

Surface* FindSurface(IDirectDrawSurface* surface) {
    for (auto& owned : State().surfaces)
        if (static_cast<IDirectDrawSurface*>(owned.get()) == surface) return owned.get();
    return nullptr;
}

long long VideoMemoryInUse() {
    long long bytes = 0;
    for (const auto& surface : State().surfaces)
        if (surface->Alive() && (surface->Caps() & DDSCAPS_VIDEOMEMORY)) bytes += surface->Bytes();
    return bytes;
}

void ResetDirectDraw() {
    State() = DirectDrawState();
}

ULONG DirectDrawObject::Release() {
    ULONG left = 0;
    if (alive_ && refs_ > 0 && --refs_ > 0) {
        left = refs_;
    } else if (alive_) {
        // The last reference takes its surfaces with it and gives the desktop its
        // own display mode back.
        alive_ = false;
        for (auto& surface : State().surfaces)
            if (&surface->Owner() == this) surface->Kill();
        if (modeWidth_ != 0) TheDisplay().RestoreMode(*this);
        cooperativeFlags_ = 0;
        cooperativeWindow_ = nullptr;
    }
    Note(Call::Release, {static_cast<long long>(left)}, "directdraw", static_cast<long>(left));
    return left;
}

HRESULT DirectDrawObject::SetCooperativeLevel(HWND window, DWORD flags) {
    return Answer(Call::SetCooperativeLevel, {Handle(window), flags}, "", [&] {
        if (!alive_) return DDERR_INVALIDOBJECT;
        const HRESULT checked = surfacerules::CheckCooperativeLevel(window, flags);
        if (checked != DD_OK) return checked;
        cooperativeFlags_ = flags;
        cooperativeWindow_ = window;
        return DD_OK;
    });
}

HRESULT DirectDrawObject::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) {
    return Answer(Call::SetDisplayMode, {width, height, bitsPerPixel}, "", [&] {
        if (!alive_) return DDERR_INVALIDOBJECT;
        const HRESULT checked = surfacerules::CheckDisplayMode(width, height, bitsPerPixel);
        if (checked != DD_OK) return checked;
        if (!TheDisplay().ShowsDepth(bitsPerPixel)) return DDERR_INVALIDMODE;
        modeWidth_ = width;
        modeHeight_ = height;
        TheDisplay().SetMode(*this, width, height, bitsPerPixel);
        return DD_OK;
    });
}

HRESULT DirectDrawObject::WaitForVerticalBlank(DWORD flags, HANDLE event) {
    return Answer(Call::WaitForVerticalBlank, {flags}, "", [&] {
        if (!alive_) return DDERR_INVALIDOBJECT;
        if (event != nullptr || (flags != DDWAITVB_BLOCKBEGIN && flags != DDWAITVB_BLOCKEND))
            return DDERR_INVALIDPARAMS;
        return TheDisplay().WaitForVerticalBlank();
    });
}

bool DirectDrawObject::HasLivePrimary() const {
    for (const auto& surface : State().surfaces)
        if (surface->Alive() && &surface->Owner() == this && surface->IsPrimary()) return true;
    return false;
}

HRESULT DirectDrawObject::CreateSurface(LPDDSURFACEDESC desc, IDirectDrawSurface** surface,
                                        IUnknown* outer) {
    CallArgs args;
    if (desc != nullptr)
        args = {desc->dwFlags, desc->ddsCaps.dwCaps, desc->dwWidth, desc->dwHeight,
                desc->dwBackBufferCount};
    if (surface != nullptr) *surface = nullptr;
    return Answer(Call::CreateSurface, args, "", [&] {
        if (!alive_) return DDERR_INVALIDOBJECT;
        if (desc == nullptr || surface == nullptr || outer != nullptr ||
            desc->dwSize != sizeof(DDSURFACEDESC))
            return DDERR_INVALIDPARAMS;
        return CreateChecked(*desc, surface);
    });
}

HRESULT DirectDrawObject::CreateChecked(const DDSURFACEDESC& desc, IDirectDrawSurface** surface) {
    const DWORD caps = (desc.dwFlags & DDSD_CAPS) ? desc.ddsCaps.dwCaps : 0;
    const HRESULT refused =
        surfacerules::CheckSurfaceRequest(desc, caps, cooperativeFlags_, HasLivePrimary());
    if (refused != DD_OK) return refused;

    const bool primary = (caps & DDSCAPS_PRIMARYSURFACE) != 0;
    const bool chain = (caps & DDSCAPS_FLIP) != 0;
    const int backCount = chain ? static_cast<int>(desc.dwBackBufferCount) : 0;
    ScreenSize size = {static_cast<int>(desc.dwWidth), static_cast<int>(desc.dwHeight)};
    if (primary) size = TheDisplay().PrimarySize(*this, chain);
    if (size.width <= 0 || size.height <= 0) return DDERR_INVALIDMODE;

    const long long bytes = static_cast<long long>(Surface::PitchFor(size.width)) * size.height;
    const DWORD placed = Placement(caps, bytes * (1 + backCount));
    if (placed == 0) return DDERR_OUTOFVIDEOMEMORY;
    const DWORD frontCaps = (caps & ~(DDSCAPS_VIDEOMEMORY | DDSCAPS_SYSTEMMEMORY)) | placed |
                            (chain ? DDSCAPS_FRONTBUFFER : 0);
    const bool pixels = !primary || chain || TheDisplay().PrimaryKeepsPixels();
    Surface* front =
        Make(primary ? "primary" : "offscreen", size.width, size.height, frontCaps, pixels);
    for (int i = 0; i < backCount; ++i)
        front->Attach(Make("backbuffer", size.width, size.height,
                           DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX | placed, true));
    *surface = front;
    return DD_OK;
}

Surface* DirectDrawObject::Make(const char* kind, int width, int height, DWORD caps,
                                bool withPixels) {
    State().surfaces.push_back(
        std::make_unique<Surface>(this, kind, width, height, caps, withPixels));
    return State().surfaces.back().get();
}

}  // namespace platform

HRESULT WINAPI DirectDrawCreate(GUID* driver, IDirectDraw** directDraw, IUnknown* outer) {
    using platform::State;
    if (directDraw != nullptr) *directDraw = nullptr;
    return platform::Answer(platform::PlatformCall::DirectDrawCreate, {driver != nullptr ? 1 : 0},
                            "", [&] {
                                // Only the default display driver exists.
                                if (directDraw == nullptr || outer != nullptr)
                                    return DDERR_INVALIDPARAMS;
                                if (driver != nullptr) return DDERR_INVALIDDIRECTDRAWGUID;
                                if (!platform::TheDisplay().Ready()) return DDERR_NODIRECTDRAWHW;
                                auto& objects = State().objects;
                                objects.push_back(std::make_unique<platform::DirectDrawObject>());
                                *directDraw = objects.back().get();
                                return DD_OK;
                            });
}
