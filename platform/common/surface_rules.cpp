#include "platform/common/surface_rules.h"

namespace surfacerules {
namespace {

HRESULT CheckPrimary(const DDSURFACEDESC& desc, DWORD caps, DWORD cooperativeFlags,
                     bool primaryExists) {
    if (primaryExists) return DDERR_PRIMARYSURFACEALREADYEXISTS;
    // The primary is the screen: it has the screen's size.
    if (desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) return DDERR_INVALIDPARAMS;
    const bool flip = (caps & DDSCAPS_FLIP) != 0;
    if (flip != ((caps & DDSCAPS_COMPLEX) != 0)) return DDERR_INVALIDCAPS;
    if (!flip) return DD_OK;
    if ((desc.dwFlags & DDSD_BACKBUFFERCOUNT) == 0 || desc.dwBackBufferCount < 1 ||
        desc.dwBackBufferCount > kMostBackBuffers)
        return DDERR_INVALIDPARAMS;
    if ((cooperativeFlags & DDSCL_EXCLUSIVE) == 0) return DDERR_NOEXCLUSIVEMODE;
    return DD_OK;
}

HRESULT CheckPlain(const DDSURFACEDESC& desc, DWORD caps) {
    // Off-screen flipping chains are not modelled.
    if (caps & (DDSCAPS_FLIP | DDSCAPS_COMPLEX)) return DDERR_INVALIDCAPS;
    if ((desc.dwFlags & DDSD_WIDTH) == 0 || (desc.dwFlags & DDSD_HEIGHT) == 0 ||
        desc.dwWidth == 0 || desc.dwHeight == 0)
        return DDERR_INVALIDPARAMS;
    if (desc.dwWidth > kLargestSide) return DDERR_TOOBIGWIDTH;
    if (desc.dwHeight > kLargestSide) return DDERR_TOOBIGHEIGHT;
    return DD_OK;
}

}  // namespace

bool RectWithin(const RECT& rect, int width, int height) {
    return rect.left >= 0 && rect.top >= 0 && rect.right <= width && rect.bottom <= height &&
           rect.left <= rect.right && rect.top <= rect.bottom;
}

bool RectInside(const RECT& rect, int width, int height) {
    return RectWithin(rect, width, height) && rect.left < rect.right && rect.top < rect.bottom;
}

HRESULT CheckBltFast(DWORD x, DWORD y, const RECT* sourceRect, int sourceWidth, int sourceHeight,
                     int targetWidth, int targetHeight, RECT* part) {
    const RECT wanted = sourceRect != nullptr ? *sourceRect : RECT{0, 0, sourceWidth, sourceHeight};
    if (!RectInside(wanted, sourceWidth, sourceHeight)) return DDERR_INVALIDRECT;
    const long long right = static_cast<long long>(x) + (wanted.right - wanted.left);
    const long long bottom = static_cast<long long>(y) + (wanted.bottom - wanted.top);
    if (right > targetWidth || bottom > targetHeight) return DDERR_INVALIDRECT;
    *part = wanted;
    return DD_OK;
}

HRESULT CheckCooperativeLevel(HWND window, DWORD flags) {
    const bool fullscreen = (flags & DDSCL_FULLSCREEN) != 0;
    const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    const bool normal = (flags & DDSCL_NORMAL) != 0;
    if (fullscreen != exclusive || normal == exclusive || (exclusive && window == nullptr))
        return DDERR_INVALIDPARAMS;
    return DD_OK;
}

HRESULT CheckDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) {
    const bool knownDepth =
        bitsPerPixel == 8 || bitsPerPixel == 16 || bitsPerPixel == 24 || bitsPerPixel == 32;
    if (width == 0 || height == 0 || width > kLargestSide || height > kLargestSide || !knownDepth)
        return DDERR_INVALIDMODE;
    return DD_OK;
}

HRESULT CheckSurfaceRequest(const DDSURFACEDESC& desc, DWORD caps, DWORD cooperativeFlags,
                            bool primaryExists) {
    if (cooperativeFlags == 0) return DDERR_NOCOOPERATIVELEVELSET;
    if ((caps & DDSCAPS_VIDEOMEMORY) && (caps & DDSCAPS_SYSTEMMEMORY)) return DDERR_INVALIDCAPS;
    if (caps & (DDSCAPS_BACKBUFFER | DDSCAPS_FRONTBUFFER)) return DDERR_INVALIDCAPS;
    if (caps & DDSCAPS_PRIMARYSURFACE)
        return CheckPrimary(desc, caps, cooperativeFlags, primaryExists);
    return CheckPlain(desc, caps);
}

}  // namespace surfacerules
