#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/common/ddraw_objects.h"
#include "platform/common/platform_call.h"
#include "platform/common/surface_rules.h"

namespace platform {
namespace {

using Call = PlatformCall;

// Padding rounds up to whole pixels.
int RowPadding(const SurfaceLayout& layout) {
    return layout.rowPadding < 0 ? 0 : (layout.rowPadding + 1) & ~1;
}

CallArgs WithRect(CallArgs args, const RECT* rect) {
    if (rect != nullptr)
        for (long long side : {rect->left, rect->top, rect->right, rect->bottom}) args.Add(side);
    return args;
}

}  // namespace

Surface::Surface(DirectDrawObject* owner, const char* kind, int width, int height, DWORD caps,
                 bool withPixels)
    : owner_(owner),
      kind_(kind),
      width_(width),
      height_(height),
      caps_(caps),
      layout_(TheDisplay().Layout()) {
    pitch_ = 2 * width + RowPadding(layout_);
    if (withPixels) pixels_.assign(static_cast<size_t>(pitch_ / 2) * height, 0);
}

int Surface::PitchFor(int width) {
    return 2 * width + RowPadding(TheDisplay().Layout());
}

const std::uint16_t* Surface::PixelAt(int x, int y) const {
    if (pixels_.empty()) return nullptr;
    return pixels_.data() + static_cast<size_t>(y) * (pitch_ / 2) + x;
}

void Surface::Attach(Surface* back) {
    back->front_ = this;
    backBuffers_.push_back(back);
}

ULONG Surface::DropReference() {
    if (!alive_ || refs_ == 0) return 0;
    if (--refs_ > 0) return refs_;
    // The front of a flipping chain holds one reference on each back buffer.
    for (Surface* back : backBuffers_) {
        back->front_ = nullptr;
        back->DropReference();
    }
    backBuffers_.clear();
    if (front_ != nullptr) {
        auto& siblings = front_->backBuffers_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        front_ = nullptr;
    }
    Kill();
    return 0;
}

void Surface::Kill() {
    if (!alive_) return;
    TheDisplay().PixelsChanging(*this);
    alive_ = false;
    refs_ = 0;
    pixels_.clear();
    pixels_.shrink_to_fit();
    lost_ = locked_ = dcOut_ = false;
}

ULONG Surface::Release() {
    const ULONG left = DropReference();
    Note(Call::Release, {static_cast<long long>(left)}, kind_, static_cast<long>(left));
    return left;
}

void Surface::MarkLost() {
    if (front_ != nullptr) {
        front_->MarkLost();
        return;
    }
    lost_ = true;
    for (Surface* back : backBuffers_) back->lost_ = true;
}

bool Surface::ChainLost() const {
    if (lost_) return true;
    for (const Surface* back : backBuffers_)
        if (back->lost_) return true;
    return false;
}

bool Surface::ChainBusy() const {
    bool busy = Busy();
    for (const Surface* back : backBuffers_) busy = busy || back->Busy();
    return busy;
}

void Surface::Describe(DDSURFACEDESC& desc) const {
    const DWORD size = desc.dwSize;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = size;
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT |
                   (backBuffers_.empty() ? 0 : DDSD_BACKBUFFERCOUNT);
    desc.dwHeight = static_cast<DWORD>(height_);
    desc.dwWidth = static_cast<DWORD>(width_);
    desc.lPitch = pitch_;
    desc.dwBackBufferCount = static_cast<DWORD>(backBuffers_.size());
    desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
    desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
    desc.ddpfPixelFormat.dwRGBBitCount = 16;
    desc.ddpfPixelFormat.dwRBitMask = layout_.redMask;
    desc.ddpfPixelFormat.dwGBitMask = layout_.greenMask;
    desc.ddpfPixelFormat.dwBBitMask = layout_.blueMask;
    desc.ddsCaps.dwCaps = caps_;
}

HRESULT Surface::GetSurfaceDesc(LPDDSURFACEDESC desc) {
    return Answer(Call::GetSurfaceDesc, {desc != nullptr ? desc->dwFlags : 0}, kind_, [&] {
        if (!alive_) return DDERR_INVALIDOBJECT;
        if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
        Describe(*desc);
        return DD_OK;
    });
}

HRESULT Surface::Lock(LPRECT rect, LPDDSURFACEDESC desc, DWORD flags, HANDLE) {
    return Answer(Call::Lock, WithRect({flags}, rect), kind_,
                  [&] { return LockSurface(rect, desc); });
}

HRESULT Surface::LockSurface(const RECT* rect, LPDDSURFACEDESC desc) {
    if (!alive_) return DDERR_INVALIDOBJECT;
    if (desc == nullptr || desc->dwSize != sizeof(DDSURFACEDESC)) return DDERR_INVALIDPARAMS;
    if (pixels_.empty()) return DDERR_UNSUPPORTED;
    if (lost_) return DDERR_SURFACELOST;
    if (Busy()) return DDERR_SURFACEBUSY;
    const RECT area = rect != nullptr ? *rect : RECT{0, 0, width_, height_};
    if (!surfacerules::RectWithin(area, width_, height_)) return DDERR_INVALIDRECT;
    // Whoever holds the lock may write the pixels.
    TheDisplay().PixelsChanging(*this);
    Describe(*desc);
    desc->dwFlags |= DDSD_LPSURFACE;
    desc->lpSurface = pixels_.data() + static_cast<size_t>(area.top) * (pitch_ / 2) + area.left;
    locked_ = true;
    return DD_OK;
}

HRESULT Surface::Unlock(LPVOID rect) {
    return Answer(Call::Unlock, {rect != nullptr ? 1 : 0}, kind_, [&] {
        if (!alive_) return DDERR_INVALIDOBJECT;
        if (!locked_) return DDERR_NOTLOCKED;
        locked_ = false;
        return DD_OK;
    });
}

HRESULT Surface::GetAttachedSurface(LPDDSCAPS caps, IDirectDrawSurface** attached) {
    if (attached != nullptr) *attached = nullptr;
    return Answer(Call::GetAttachedSurface, {caps != nullptr ? caps->dwCaps : 0}, kind_, [&] {
        if (!alive_) return DDERR_INVALIDOBJECT;
        if (caps == nullptr || attached == nullptr) return DDERR_INVALIDPARAMS;
        return Attached(*caps, attached);
    });
}

HRESULT Surface::Attached(const DDSCAPS& caps, IDirectDrawSurface** attached) {
    // The chain is a ring: the front leads to its back buffers, a back buffer to its front.
    std::vector<Surface*> candidates = backBuffers_;
    if (front_ != nullptr) candidates.push_back(front_);
    for (Surface* candidate : candidates) {
        if ((candidate->caps_ & caps.dwCaps) == caps.dwCaps) {
            ++candidate->refs_;
            *attached = candidate;
            return DD_OK;
        }
    }
    return DDERR_NOTFOUND;
}

HRESULT Surface::IsLost() {
    return Answer(Call::IsLost, {}, kind_, [&] {
        if (!alive_) return DDERR_INVALIDOBJECT;
        return lost_ ? DDERR_SURFACELOST : DD_OK;
    });
}

HRESULT Surface::Restore() {
    return Answer(Call::Restore, {}, kind_, [&] {
        if (!alive_) return DDERR_INVALIDOBJECT;
        // A back buffer of a chain comes back with its front.
        if (front_ != nullptr) return DDERR_IMPLICITLYCREATED;
        return RestoreChain();
    });
}

HRESULT Surface::RestoreChain() {
    if (!ChainLost()) return DD_OK;
    // The memory comes back, its old contents do not.
    std::vector<Surface*> chain = backBuffers_;
    chain.insert(chain.begin(), this);
    for (Surface* surface : chain) TheDisplay().PixelsChanging(*surface);
    for (Surface* surface : chain) {
        surface->lost_ = false;
        std::fill(surface->pixels_.begin(), surface->pixels_.end(), 0);
    }
    return DD_OK;
}

HRESULT Surface::GetDC(HDC* dc) {
    if (dc != nullptr) *dc = nullptr;
    return Answer(Call::GetDC, {}, kind_, [&] {
        if (!alive_) return DDERR_INVALIDOBJECT;
        if (dc == nullptr) return DDERR_INVALIDPARAMS;
        return LendContext(dc);
    });
}

HRESULT Surface::LendContext(HDC* dc) {
    if (pixels_.empty()) return DDERR_CANTCREATEDC;
    if (lost_) return DDERR_SURFACELOST;
    if (Busy()) return DDERR_SURFACEBUSY;
    TheDisplay().PixelsChanging(*this);
    // A fresh context each time, over the surface's pixels.
    dc_ = HDC__();
    dc_.pixels = pixels_.data();
    dc_.width = width_;
    dc_.height = height_;
    dc_.pitchBytes = pitch_;
    dc_.redMask = layout_.redMask;
    dc_.greenMask = layout_.greenMask;
    dc_.blueMask = layout_.blueMask;
    dcOut_ = true;
    *dc = &dc_;
    return DD_OK;
}

HRESULT Surface::ReleaseDC(HDC dc) {
    return Answer(Call::ReleaseDC, {}, kind_, [&] {
        if (!alive_) return DDERR_INVALIDOBJECT;
        if (!dcOut_ || dc != &dc_) return DDERR_NODC;
        dcOut_ = false;
        return DD_OK;
    });
}

HRESULT Surface::Flip(IDirectDrawSurface* targetOverride, DWORD flags) {
    return Answer(Call::Flip, {targetOverride != nullptr ? 1 : 0, flags}, kind_,
                  [&] { return FlipChecked(targetOverride); });
}

HRESULT Surface::FlipChecked(IDirectDrawSurface* targetOverride) {
    if (!alive_) return DDERR_INVALIDOBJECT;
    if (backBuffers_.empty()) return DDERR_NOTFLIPPABLE;
    Surface* target = nullptr;
    if (targetOverride != nullptr) {
        target = FindSurface(targetOverride);
        if (target == nullptr || target->front_ != this) return DDERR_INVALIDPARAMS;
    }
    if (ChainLost()) return DDERR_SURFACELOST;
    if (ChainBusy()) return DDERR_SURFACEBUSY;
    if (!owner_->Exclusive()) return DDERR_NOEXCLUSIVEMODE;

    // Flipping trades memory: the front shows what the (target) back buffer held
    // and every back buffer moves one step towards the front.
    if (target != nullptr) {
        std::swap(pixels_, target->pixels_);
    } else {
        std::swap(pixels_, backBuffers_.front()->pixels_);
        for (size_t i = 1; i < backBuffers_.size(); ++i)
            std::swap(backBuffers_[i - 1]->pixels_, backBuffers_[i]->pixels_);
    }
    return TheDisplay().ShowFlip(*this);
}

HRESULT Surface::BltFast(DWORD x, DWORD y, IDirectDrawSurface* source, LPRECT sourceRect,
                         DWORD transfer) {
    return Answer(Call::BltFast, WithRect({x, y, transfer}, sourceRect), kind_,
                  [&] { return BltFastChecked(x, y, FindSurface(source), sourceRect, transfer); });
}

HRESULT Surface::BltFastChecked(DWORD x, DWORD y, Surface* from, const RECT* sourceRect,
                                DWORD transfer) {
    if (!alive_ || (from != nullptr && !from->alive_)) return DDERR_INVALIDOBJECT;
    if (from == nullptr || from->pixels_.empty()) return DDERR_INVALIDPARAMS;
    // No surface has a colour key.
    if (transfer & (DDBLTFAST_SRCCOLORKEY | DDBLTFAST_DESTCOLORKEY)) return DDERR_NOCOLORKEY;
    if (lost_ || from->lost_) return DDERR_SURFACELOST;
    if (Busy() || from->Busy()) return DDERR_SURFACEBUSY;
    RECT part;
    const HRESULT fits = surfacerules::CheckBltFast(x, y, sourceRect, from->width_, from->height_,
                                                    width_, height_, &part);
    if (fits != DD_OK) return fits;
    if (!pixels_.empty()) CopyFrom(*from, part, static_cast<int>(x), static_cast<int>(y));
    if (!IsPrimary()) return DD_OK;
    return TheDisplay().ShowCopy(*this, *from, part, static_cast<int>(x), static_cast<int>(y));
}

void Surface::CopyFrom(const Surface& from, const RECT& part, int x, int y) {
    const int width = part.right - part.left;
    const int height = part.bottom - part.top;
    // A copy within one surface may overlap itself: rows go bottom first when
    // they move down, and each row is moved whole.
    const bool downwards = &from == this && y > part.top;
    for (int i = 0; i < height; ++i) {
        const int row = downwards ? height - 1 - i : i;
        std::memmove(pixels_.data() + static_cast<size_t>(y + row) * (pitch_ / 2) + x,
                     from.PixelAt(part.left, part.top + row), static_cast<size_t>(width) * 2);
    }
}

}  // namespace platform
