#include <utility>

#include "platform/headless/clock_control.h"
#include "platform/headless/headless_ddraw_objects.h"
#include "platform/headless/faults.h"
#include "platform/headless/headless_reset_parts.h"

namespace headless {
namespace detail {
namespace {

// Larger surfaces than this are refused, as by display cards of the time.
constexpr DWORD kLargestSide = 8192;
constexpr DWORD kMostBackBuffers = 3;

long long Handle(const void* pointer) {
    return static_cast<long long>(reinterpret_cast<std::intptr_t>(pointer));
}

HRESULT Answer(Op op, std::vector<long long> args, const char* text, HRESULT result) {
    Record(op, std::move(args), text, result);
    return result;
}

}  // namespace

DisplayState& Display() {
    static DisplayState state;
    return state;
}

void PresentFrom(const HeadlessSurface& surface, int x, int y, int width, int height) {
    AdvanceClock(PresentTicks());
    if (PresentsWaitForVerticalBlank()) AdvanceClock(TicksToVerticalBlank());
    DisplayState& state = Display();
    ++state.presentCount;
    state.pendingSurface = &surface;
    state.pendingPart = {x, y, x + width, y + height};
    if (state.keepAllFrames) {
        SettlePresentedFrame(nullptr);
        state.frames.push_back(state.lastFrame);
    }
}

void SettlePresentedFrame(const HeadlessSurface* surface) {
    DisplayState& state = Display();
    if (state.pendingSurface == nullptr) return;
    if (surface != nullptr && surface != state.pendingSurface) return;
    const RECT& part = state.pendingPart;
    state.pendingSurface->CaptureInto(state.lastFrame, part.left, part.top, part.right - part.left,
                                      part.bottom - part.top);
    state.pendingSurface = nullptr;
}

ULONG HeadlessDirectDraw::Release() {
    long ignored = 0;
    TakeFault(Op::Release, &ignored);
    ULONG left = 0;
    if (alive_ && refs_ > 0 && --refs_ > 0) {
        left = refs_;
    } else if (alive_) {
        // The last reference takes its surfaces with it and gives the desktop its
        // own display mode back.
        alive_ = false;
        for (auto& surface : Display().surfaces)
            if (surface->owner() == this) surface->Kill();
        if (setMode_) Display().mode = DisplayMode();
        cooperativeFlags_ = 0;
        cooperativeWindow_ = nullptr;
    }
    Record(Op::Release, {static_cast<long long>(left)}, "directdraw", static_cast<long>(left));
    return left;
}

HRESULT HeadlessDirectDraw::SetCooperativeLevel(HWND window, DWORD flags) {
    const std::vector<long long> args = {Handle(window), static_cast<long long>(flags)};
    long fault = 0;
    if (TakeFault(Op::SetCooperativeLevel, &fault))
        return Answer(Op::SetCooperativeLevel, args, "", fault);
    if (!alive_) return Answer(Op::SetCooperativeLevel, args, "", DDERR_INVALIDOBJECT);
    const bool fullscreen = (flags & DDSCL_FULLSCREEN) != 0;
    const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    const bool normal = (flags & DDSCL_NORMAL) != 0;
    if (fullscreen != exclusive || normal == exclusive || (exclusive && window == nullptr))
        return Answer(Op::SetCooperativeLevel, args, "", DDERR_INVALIDPARAMS);
    cooperativeFlags_ = flags;
    cooperativeWindow_ = window;
    return Answer(Op::SetCooperativeLevel, args, "", DD_OK);
}

HRESULT HeadlessDirectDraw::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) {
    const std::vector<long long> args = {width, height, bitsPerPixel};
    long fault = 0;
    if (TakeFault(Op::SetDisplayMode, &fault)) return Answer(Op::SetDisplayMode, args, "", fault);
    if (!alive_) return Answer(Op::SetDisplayMode, args, "", DDERR_INVALIDOBJECT);
    const bool knownDepth =
        bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
    if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide || !knownDepth)
        return Answer(Op::SetDisplayMode, args, "", DDERR_INVALIDMODE);
    Display().mode = {static_cast<int>(width), static_cast<int>(height),
                      static_cast<int>(bitsPerPixel)};
    setMode_ = true;
    return Answer(Op::SetDisplayMode, args, "", DD_OK);
}

HRESULT HeadlessDirectDraw::WaitForVerticalBlank(DWORD flags, HANDLE event) {
    const std::vector<long long> args = {flags};
    long fault = 0;
    if (TakeFault(Op::WaitForVerticalBlank, &fault))
        return Answer(Op::WaitForVerticalBlank, args, "", fault);
    if (!alive_) return Answer(Op::WaitForVerticalBlank, args, "", DDERR_INVALIDOBJECT);
    if (event != nullptr || (flags != DDWAITVB_BLOCKBEGIN && flags != DDWAITVB_BLOCKEND))
        return Answer(Op::WaitForVerticalBlank, args, "", DDERR_INVALIDPARAMS);
    // The blank takes no time of its own: its beginning and end are one moment.
    if (VerticalBlankWaits()) AdvanceClock(TicksToVerticalBlank());
    return Answer(Op::WaitForVerticalBlank, args, "", DD_OK);
}

bool HeadlessDirectDraw::HasLivePrimary() const {
    for (const auto& surface : Display().surfaces)
        if (surface->alive() && surface->owner() == this &&
            (surface->caps() & DDSCAPS_PRIMARYSURFACE) != 0)
            return true;
    return false;
}

HRESULT HeadlessDirectDraw::CheckRequest(const DDSURFACEDESC& desc, DWORD caps) const {
    if (cooperativeFlags_ == 0) return DDERR_NOCOOPERATIVELEVELSET;
    if ((caps & DDSCAPS_VIDEOMEMORY) && (caps & DDSCAPS_SYSTEMMEMORY)) return DDERR_INVALIDCAPS;
    if (caps & (DDSCAPS_BACKBUFFER | DDSCAPS_FRONTBUFFER)) return DDERR_INVALIDCAPS;
    if (caps & DDSCAPS_PRIMARYSURFACE) {
        if (HasLivePrimary()) return DDERR_PRIMARYSURFACEALREADYEXISTS;
        if (desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) return DDERR_INVALIDPARAMS;
        const bool flip = (caps & DDSCAPS_FLIP) != 0;
        if (flip != ((caps & DDSCAPS_COMPLEX) != 0)) return DDERR_INVALIDCAPS;
        if (!flip) return DD_OK;
        if ((desc.dwFlags & DDSD_BACKBUFFERCOUNT) == 0 || desc.dwBackBufferCount < 1 ||
            desc.dwBackBufferCount > kMostBackBuffers)
            return DDERR_INVALIDPARAMS;
        if ((cooperativeFlags_ & DDSCL_EXCLUSIVE) == 0) return DDERR_NOEXCLUSIVEMODE;
        return DD_OK;
    }
    // Off-screen flipping chains are not modelled.
    if (caps & (DDSCAPS_FLIP | DDSCAPS_COMPLEX)) return DDERR_INVALIDCAPS;
    if ((desc.dwFlags & DDSD_WIDTH) == 0 || (desc.dwFlags & DDSD_HEIGHT) == 0 ||
        desc.dwWidth == 0 || desc.dwHeight == 0)
        return DDERR_INVALIDPARAMS;
    if (desc.dwWidth > kLargestSide) return DDERR_TOOBIGWIDTH;
    if (desc.dwHeight > kLargestSide) return DDERR_TOOBIGHEIGHT;
    return DD_OK;
}

HRESULT HeadlessDirectDraw::CreateSurface(LPDDSURFACEDESC desc, IDirectDrawSurface** surface,
                                          IUnknown* outer) {
    std::vector<long long> args;
    if (desc != nullptr)
        args = {desc->dwFlags, desc->ddsCaps.dwCaps, desc->dwWidth, desc->dwHeight,
                desc->dwBackBufferCount};
    if (surface != nullptr) *surface = nullptr;
    long fault = 0;
    if (TakeFault(Op::CreateSurface, &fault)) return Answer(Op::CreateSurface, args, "", fault);
    if (!alive_) return Answer(Op::CreateSurface, args, "", DDERR_INVALIDOBJECT);
    if (desc == nullptr || surface == nullptr || outer != nullptr ||
        desc->dwSize != sizeof(DDSURFACEDESC))
        return Answer(Op::CreateSurface, args, "", DDERR_INVALIDPARAMS);

    const DWORD caps = (desc->dwFlags & DDSD_CAPS) ? desc->ddsCaps.dwCaps : 0;
    const HRESULT refused = CheckRequest(*desc, caps);
    if (refused != DD_OK) return Answer(Op::CreateSurface, args, "", refused);

    DisplayState& state = Display();
    const bool primary = (caps & DDSCAPS_PRIMARYSURFACE) != 0;
    const bool chain = (caps & DDSCAPS_FLIP) != 0;
    const int backCount = chain ? static_cast<int>(desc->dwBackBufferCount) : 0;
    int width = static_cast<int>(desc->dwWidth);
    int height = static_cast<int>(desc->dwHeight);
    if (primary) {
        // The primary is the screen: the display mode in full screen, else the desktop.
        const bool exclusive = (cooperativeFlags_ & DDSCL_EXCLUSIVE) != 0;
        width =
            exclusive && state.mode.width > 0 ? state.mode.width : GetSystemMetrics(SM_CXSCREEN);
        height =
            exclusive && state.mode.height > 0 ? state.mode.height : GetSystemMetrics(SM_CYSCREEN);
    }

    const int extra = state.settings.extraPitch < 0 ? 0 : (state.settings.extraPitch + 1) & ~1;
    const long long need = (2ll * width + extra) * height * (1 + backCount);
    bool video = false;
    if ((caps & DDSCAPS_SYSTEMMEMORY) == 0) {
        const bool fits = state.videoMemoryInUse + need <= state.settings.videoMemory;
        if ((caps & DDSCAPS_VIDEOMEMORY) && !fits)
            return Answer(Op::CreateSurface, args, "", DDERR_OUTOFVIDEOMEMORY);
        video = fits;
    }
    const DWORD placed = video ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY;
    const DWORD frontCaps = (caps & ~(DDSCAPS_VIDEOMEMORY | DDSCAPS_SYSTEMMEMORY)) | placed |
                            (chain ? DDSCAPS_FRONTBUFFER : 0);

    state.surfaces.push_back(std::make_unique<HeadlessSurface>(
        this, primary ? "primary" : "offscreen", width, height, frontCaps));
    HeadlessSurface* front = state.surfaces.back().get();
    for (int i = 0; i < backCount; ++i) {
        state.surfaces.push_back(std::make_unique<HeadlessSurface>(
            this, "backbuffer", width, height,
            DDSCAPS_BACKBUFFER | DDSCAPS_FLIP | DDSCAPS_COMPLEX | placed));
        HeadlessSurface* back = state.surfaces.back().get();
        back->front = front;
        front->backBuffers.push_back(back);
    }
    if (video) state.videoMemoryInUse += need;
    *surface = front;
    return Answer(Op::CreateSurface, args, "", DD_OK);
}

HeadlessSurface* FindSurface(IDirectDrawSurface* surface) {
    for (auto& owned : Display().surfaces)
        if (static_cast<IDirectDrawSurface*>(owned.get()) == surface) return owned.get();
    return nullptr;
}

void ResetDisplay() {
    Display() = DisplayState();
}

}  // namespace detail

void SetSurfaceFormat(SurfaceFormat format) {
    detail::Display().settings.format = format;
}
void SetExtraPitch(int bytes) {
    detail::Display().settings.extraPitch = bytes;
}
void SetVideoMemory(long long bytes) {
    detail::Display().settings.videoMemory = bytes;
}
long long VideoMemoryInUse() {
    return detail::Display().videoMemoryInUse;
}

void LoseSurfaces() {
    for (auto& surface : detail::Display().surfaces)
        if (surface->alive()) surface->MarkLost();
}

void LoseSurface(IDirectDrawSurface* surface) {
    detail::HeadlessSurface* found = detail::FindSurface(surface);
    if (found != nullptr && found->alive()) found->MarkLost();
}

DisplayMode CurrentDisplayMode() {
    return detail::Display().mode;
}

DWORD CooperativeLevel() {
    const auto& objects = detail::Display().directDraws;
    for (auto it = objects.rbegin(); it != objects.rend(); ++it)
        if ((*it)->alive()) return (*it)->cooperativeFlags();
    return 0;
}

int LiveDirectDrawObjects() {
    int count = 0;
    for (const auto& object : detail::Display().directDraws) count += object->alive() ? 1 : 0;
    return count;
}

int LiveSurfaces() {
    int count = 0;
    for (const auto& surface : detail::Display().surfaces) count += surface->alive() ? 1 : 0;
    return count;
}

int PresentCount() {
    return detail::Display().presentCount;
}
const Frame& LastFrame() {
    detail::SettlePresentedFrame(nullptr);
    return detail::Display().lastFrame;
}
void KeepAllFrames(bool keep) {
    detail::Display().keepAllFrames = keep;
}
const std::vector<Frame>& PresentedFrames() {
    return detail::Display().frames;
}

}  // namespace headless

HRESULT WINAPI DirectDrawCreate(GUID* driver, IDirectDraw** directDraw, IUnknown* outer) {
    using namespace headless;
    const std::vector<long long> args = {driver != nullptr ? 1 : 0};
    if (directDraw != nullptr) *directDraw = nullptr;
    long fault = 0;
    if (detail::TakeFault(Op::DirectDrawCreate, &fault))
        return detail::Answer(Op::DirectDrawCreate, args, "", fault);
    // Only the default display driver exists.
    if (directDraw == nullptr || outer != nullptr)
        return detail::Answer(Op::DirectDrawCreate, args, "", DDERR_INVALIDPARAMS);
    if (driver != nullptr)
        return detail::Answer(Op::DirectDrawCreate, args, "", DDERR_INVALIDDIRECTDRAWGUID);
    auto& objects = detail::Display().directDraws;
    objects.push_back(std::make_unique<detail::HeadlessDirectDraw>());
    *directDraw = objects.back().get();
    return detail::Answer(Op::DirectDrawCreate, args, "", DD_OK);
}
