#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/common/surface_rules.h"
#include "platform/headless/headless_ddraw_objects.h"
#include "platform/headless/faults.h"

namespace headless::detail {
namespace {

HRESULT Answer(Op op, std::vector<long long> args, const std::string& kind, HRESULT result) {
    Record(op, std::move(args), kind, result);
    return result;
}

}  // namespace

HeadlessSurface::HeadlessSurface(HeadlessDirectDraw* owner, const char* kind, int width, int height,
                                 DWORD caps)
    : owner_(owner), kind_(kind), width_(width), height_(height), caps_(caps) {
    const DisplaySettings& settings = Display().settings;
    const int extra = settings.extraPitch < 0 ? 0 : (settings.extraPitch + 1) & ~1;
    pitch_ = 2 * width + extra;
    if (settings.format == SurfaceFormat::Rgb565) {
        masks_[0] = 0xF800;
        masks_[1] = 0x07E0;
    } else {
        masks_[0] = 0x7C00;
        masks_[1] = 0x03E0;
    }
    masks_[2] = 0x001F;
    pixels_.assign(static_cast<size_t>(pitch_ / 2) * height, 0);
}

ULONG HeadlessSurface::DropReference() {
    if (!alive_ || refs_ == 0) return 0;
    if (--refs_ > 0) return refs_;
    // The front of a flipping chain holds one reference on each back buffer.
    for (HeadlessSurface* back : backBuffers) {
        back->front = nullptr;
        back->DropReference();
    }
    backBuffers.clear();
    if (front != nullptr) {
        auto& siblings = front->backBuffers;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        front = nullptr;
    }
    Kill();
    return 0;
}

void HeadlessSurface::Kill() {
    if (!alive_) return;
    SettlePresentedFrame(this);
    alive_ = false;
    refs_ = 0;
    if (caps_ & DDSCAPS_VIDEOMEMORY) Display().videoMemoryInUse -= bytes();
    pixels_.clear();
    pixels_.shrink_to_fit();
    lost_ = locked_ = dcOut_ = false;
}

ULONG HeadlessSurface::Release() {
    long ignored = 0;
    TakeFault(Op::Release, &ignored);
    const ULONG left = DropReference();
    Record(Op::Release, {static_cast<long long>(left)}, kind_, static_cast<long>(left));
    return left;
}

void HeadlessSurface::MarkLost() {
    // A flipping chain is lost as a whole.
    if (front != nullptr) {
        front->MarkLost();
        return;
    }
    lost_ = true;
    for (HeadlessSurface* back : backBuffers) back->lost_ = true;
}

bool HeadlessSurface::ChainLost() const {
    if (lost_) return true;
    for (const HeadlessSurface* back : backBuffers)
        if (back->lost_) return true;
    return false;
}

void HeadlessSurface::FillDescription(DDSURFACEDESC& desc) const {
    const DWORD size = desc.dwSize;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = size;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT |
                   (backBuffers.empty() ? 0 : DDSD_BACKBUFFERCOUNT);
    desc.dwHeight = static_cast<DWORD>(height_);
    desc.dwWidth = static_cast<DWORD>(width_);
    desc.lPitch = pitch_;
    desc.dwBackBufferCount = static_cast<DWORD>(backBuffers.size());
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
    desc.ddpfPixelFormat.dwRGBBitCount = 16;
    desc.ddpfPixelFormat.dwRBitMask = masks_[0];
    desc.ddpfPixelFormat.dwGBitMask = masks_[1];
    desc.ddpfPixelFormat.dwBBitMask = masks_[2];
    desc.ddsCaps.dwCaps = caps_;
}

Frame HeadlessSurface::Capture(int x, int y, int width, int height) const {
    Frame frame;
    CaptureInto(frame, x, y, width, height);
    return frame;
}

void HeadlessSurface::CaptureInto(Frame& frame, int x, int y, int width, int height) const {
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min(x + width, width_);
    const int bottom = std::min(y + height, height_);
    frame.redMask = masks_[0];
    frame.greenMask = masks_[1];
    frame.blueMask = masks_[2];
    frame.width = 0;
    frame.height = 0;
    frame.pixels.clear();
    if (right <= left || bottom <= top) return;
    frame.width = right - left;
    frame.height = bottom - top;
    // The frame keeps its storage from one presentation to the next, so a
    // running game does not allocate a picture per frame.
    frame.pixels.resize(static_cast<size_t>(frame.width) * frame.height);
    const int stride = pitch_ / 2;
    for (int row = top; row < bottom; ++row)
        std::memcpy(frame.pixels.data() + static_cast<size_t>(row - top) * frame.width,
                    pixels_.data() + static_cast<size_t>(row) * stride + left,
                    static_cast<size_t>(frame.width) * 2);
}

void HeadlessSurface::PresentPart(int x, int y, int width, int height) const {
    PresentFrom(*this, x, y, width, height);
}

HRESULT HeadlessSurface::GetSurfaceDesc(LPDDSURFACEDESC desc) {
    std::vector<long long> args;
    if (desc != nullptr) args = {desc->dwFlags};
    long fault = 0;
    if (TakeFault(Op::GetSurfaceDesc, &fault))
        return Answer(Op::GetSurfaceDesc, args, kind_, fault);
    if (!alive_) return Answer(Op::GetSurfaceDesc, args, kind_, DDERR_INVALIDOBJECT);
    if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC))
        return Answer(Op::GetSurfaceDesc, args, kind_, DDERR_INVALIDPARAMS);
    FillDescription(*desc);
    return Answer(Op::GetSurfaceDesc, args, kind_, DD_OK);
}

HRESULT HeadlessSurface::GetAttachedSurface(LPDDSCAPS caps, IDirectDrawSurface** attached) {
    const std::vector<long long> args = {caps != nullptr ? static_cast<long long>(caps->dwCaps)
                                                         : 0};
    if (attached != nullptr) *attached = nullptr;
    long fault = 0;
    if (TakeFault(Op::GetAttachedSurface, &fault))
        return Answer(Op::GetAttachedSurface, args, kind_, fault);
    if (!alive_) return Answer(Op::GetAttachedSurface, args, kind_, DDERR_INVALIDOBJECT);
    if (caps == nullptr || attached == nullptr)
        return Answer(Op::GetAttachedSurface, args, kind_, DDERR_INVALIDPARAMS);
    // The chain is a ring: the front leads to its back buffers, a back buffer to its front.
    std::vector<HeadlessSurface*> candidates = backBuffers;
    if (front != nullptr) candidates.push_back(front);
    for (HeadlessSurface* candidate : candidates) {
        if ((candidate->caps_ & caps->dwCaps) == caps->dwCaps) {
            candidate->AddRef();
            *attached = candidate;
            return Answer(Op::GetAttachedSurface, args, kind_, DD_OK);
        }
    }
    return Answer(Op::GetAttachedSurface, args, kind_, DDERR_NOTFOUND);
}

HRESULT HeadlessSurface::Lock(LPRECT rect, LPDDSURFACEDESC desc, DWORD flags, HANDLE) {
    std::vector<long long> args = {flags};
    if (rect != nullptr)
        args.insert(args.end(), {rect->left, rect->top, rect->right, rect->bottom});
    long fault = 0;
    if (TakeFault(Op::Lock, &fault)) return Answer(Op::Lock, args, kind_, fault);
    if (!alive_) return Answer(Op::Lock, args, kind_, DDERR_INVALIDOBJECT);
    if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC))
        return Answer(Op::Lock, args, kind_, DDERR_INVALIDPARAMS);
    if (lost_) return Answer(Op::Lock, args, kind_, DDERR_SURFACELOST);
    if (busy()) return Answer(Op::Lock, args, kind_, DDERR_SURFACEBUSY);
    int left = 0;
    int top = 0;
    if (rect != nullptr) {
        if (!surfacerules::RectInside(*rect, width_, height_))
            return Answer(Op::Lock, args, kind_, DDERR_INVALIDRECT);
        left = rect->left;
        top = rect->top;
    }
    // Whoever holds the lock may write the pixels.
    SettlePresentedFrame(this);
    FillDescription(*desc);
    desc->dwFlags |= DDSD_LPSURFACE;
    desc->lpSurface = reinterpret_cast<std::uint8_t*>(pixels_.data()) +
                      static_cast<size_t>(top) * pitch_ + static_cast<size_t>(left) * 2;
    locked_ = true;
    return Answer(Op::Lock, args, kind_, DD_OK);
}

HRESULT HeadlessSurface::Unlock(LPVOID rect) {
    const std::vector<long long> args = {rect != nullptr ? 1 : 0};
    long fault = 0;
    if (TakeFault(Op::Unlock, &fault)) return Answer(Op::Unlock, args, kind_, fault);
    if (!alive_) return Answer(Op::Unlock, args, kind_, DDERR_INVALIDOBJECT);
    if (!locked_) return Answer(Op::Unlock, args, kind_, DDERR_NOTLOCKED);
    locked_ = false;
    return Answer(Op::Unlock, args, kind_, DD_OK);
}

HRESULT HeadlessSurface::Flip(IDirectDrawSurface* targetOverride, DWORD flags) {
    const std::vector<long long> args = {targetOverride != nullptr ? 1 : 0, flags};
    long fault = 0;
    if (TakeFault(Op::Flip, &fault)) return Answer(Op::Flip, args, kind_, fault);
    if (!alive_) return Answer(Op::Flip, args, kind_, DDERR_INVALIDOBJECT);
    if (backBuffers.empty()) return Answer(Op::Flip, args, kind_, DDERR_NOTFLIPPABLE);
    HeadlessSurface* target = nullptr;
    if (targetOverride != nullptr) {
        target = FindSurface(targetOverride);
        if (target == nullptr || target->front != this)
            return Answer(Op::Flip, args, kind_, DDERR_INVALIDPARAMS);
    }
    if (ChainLost()) return Answer(Op::Flip, args, kind_, DDERR_SURFACELOST);
    bool chainBusy = busy();
    for (const HeadlessSurface* back : backBuffers) chainBusy = chainBusy || back->busy();
    if (chainBusy) return Answer(Op::Flip, args, kind_, DDERR_SURFACEBUSY);
    if ((owner_->cooperativeFlags() & DDSCL_EXCLUSIVE) == 0)
        return Answer(Op::Flip, args, kind_, DDERR_NOEXCLUSIVEMODE);

    // Flipping trades memory: the front shows what the (target) back buffer held
    // and every back buffer moves one step towards the front.
    if (target != nullptr) {
        std::swap(pixels_, target->pixels_);
    } else {
        std::swap(pixels_, backBuffers.front()->pixels_);
        for (size_t i = 1; i < backBuffers.size(); ++i)
            std::swap(backBuffers[i - 1]->pixels_, backBuffers[i]->pixels_);
    }
    PresentPart(0, 0, width_, height_);
    return Answer(Op::Flip, args, kind_, DD_OK);
}

HRESULT HeadlessSurface::BltFast(DWORD x, DWORD y, IDirectDrawSurface* source, LPRECT sourceRect,
                                 DWORD transfer) {
    std::vector<long long> args = {x, y, transfer};
    if (sourceRect != nullptr)
        args.insert(args.end(),
                    {sourceRect->left, sourceRect->top, sourceRect->right, sourceRect->bottom});
    long fault = 0;
    if (TakeFault(Op::BltFast, &fault)) return Answer(Op::BltFast, args, kind_, fault);
    HeadlessSurface* from = FindSurface(source);
    if (!alive_ || (from != nullptr && !from->alive_))
        return Answer(Op::BltFast, args, kind_, DDERR_INVALIDOBJECT);
    if (from == nullptr) return Answer(Op::BltFast, args, kind_, DDERR_INVALIDPARAMS);
    if (transfer & (DDBLTFAST_SRCCOLORKEY | DDBLTFAST_DESTCOLORKEY))
        return Answer(Op::BltFast, args, kind_, DDERR_NOCOLORKEY);
    if (lost_ || from->lost_) return Answer(Op::BltFast, args, kind_, DDERR_SURFACELOST);
    if (busy() || from->busy()) return Answer(Op::BltFast, args, kind_, DDERR_SURFACEBUSY);

    RECT part;
    const HRESULT fits = surfacerules::CheckBltFast(x, y, sourceRect, from->width_, from->height_,
                                                    width_, height_, &part);
    if (fits != DD_OK) return Answer(Op::BltFast, args, kind_, fits);
    const int width = part.right - part.left;
    const int height = part.bottom - part.top;

    const int stride = pitch_ / 2;
    if (from != this) {
        // Another surface's rows go straight across.
        const int fromStride = from->pitch_ / 2;
        for (int row = 0; row < height; ++row)
            std::memcpy(
                pixels_.data() + static_cast<size_t>(y + row) * stride + x,
                from->pixels_.data() + static_cast<size_t>(part.top + row) * fromStride + part.left,
                static_cast<size_t>(width) * 2);
    } else {
        // A copy within one surface may overlap itself: take the part first.
        const Frame copied = from->Capture(part.left, part.top, width, height);
        for (int row = 0; row < height; ++row)
            std::memcpy(pixels_.data() + static_cast<size_t>(y + row) * stride + x,
                        copied.pixels.data() + static_cast<size_t>(row) * width,
                        static_cast<size_t>(width) * 2);
    }

    if (caps_ & DDSCAPS_PRIMARYSURFACE) {
        // What the user sees is the window's client area, wherever the copy went.
        HWND window = owner_->cooperativeWindow();
        RECT client;
        POINT origin = {0, 0};
        if (window != nullptr && GetClientRect(window, &client) && ClientToScreen(window, &origin))
            PresentPart(origin.x, origin.y, client.right, client.bottom);
        else
            PresentPart(static_cast<int>(x), static_cast<int>(y), width, height);
    }
    return Answer(Op::BltFast, args, kind_, DD_OK);
}

HRESULT HeadlessSurface::IsLost() {
    long fault = 0;
    if (TakeFault(Op::IsLost, &fault)) return Answer(Op::IsLost, {}, kind_, fault);
    if (!alive_) return Answer(Op::IsLost, {}, kind_, DDERR_INVALIDOBJECT);
    return Answer(Op::IsLost, {}, kind_, lost_ ? DDERR_SURFACELOST : DD_OK);
}

HRESULT HeadlessSurface::Restore() {
    long fault = 0;
    if (TakeFault(Op::Restore, &fault)) return Answer(Op::Restore, {}, kind_, fault);
    if (!alive_) return Answer(Op::Restore, {}, kind_, DDERR_INVALIDOBJECT);
    // A back buffer of a chain comes back with its front.
    if (front != nullptr) return Answer(Op::Restore, {}, kind_, DDERR_IMPLICITLYCREATED);
    if (ChainLost()) {
        // The memory comes back, its old contents do not.
        SettlePresentedFrame(this);
        for (const HeadlessSurface* back : backBuffers) SettlePresentedFrame(back);
        lost_ = false;
        std::fill(pixels_.begin(), pixels_.end(), 0);
        for (HeadlessSurface* back : backBuffers) {
            back->lost_ = false;
            std::fill(back->pixels_.begin(), back->pixels_.end(), 0);
        }
    }
    return Answer(Op::Restore, {}, kind_, DD_OK);
}

HRESULT HeadlessSurface::GetDC(HDC* dc) {
    if (dc != nullptr) *dc = nullptr;
    long fault = 0;
    if (TakeFault(Op::GetDC, &fault)) return Answer(Op::GetDC, {}, kind_, fault);
    if (!alive_) return Answer(Op::GetDC, {}, kind_, DDERR_INVALIDOBJECT);
    if (dc == nullptr) return Answer(Op::GetDC, {}, kind_, DDERR_INVALIDPARAMS);
    if (lost_) return Answer(Op::GetDC, {}, kind_, DDERR_SURFACELOST);
    if (busy()) return Answer(Op::GetDC, {}, kind_, DDERR_SURFACEBUSY);
    SettlePresentedFrame(this);
    // A fresh context each time, over the surface's pixels.
    dc_ = HDC__();
    dc_.pixels = pixels_.data();
    dc_.width = width_;
    dc_.height = height_;
    dc_.pitchBytes = pitch_;
    dc_.redMask = masks_[0];
    dc_.greenMask = masks_[1];
    dc_.blueMask = masks_[2];
    dcOut_ = true;
    *dc = &dc_;
    return Answer(Op::GetDC, {}, kind_, DD_OK);
}

HRESULT HeadlessSurface::ReleaseDC(HDC dc) {
    long fault = 0;
    if (TakeFault(Op::ReleaseDC, &fault)) return Answer(Op::ReleaseDC, {}, kind_, fault);
    if (!alive_) return Answer(Op::ReleaseDC, {}, kind_, DDERR_INVALIDOBJECT);
    if (!dcOut_ || dc != &dc_) return Answer(Op::ReleaseDC, {}, kind_, DDERR_NODC);
    dcOut_ = false;
    return Answer(Op::ReleaseDC, {}, kind_, DD_OK);
}

}  // namespace headless::detail
