// What a backend supplies to the shared DirectDraw objects (ddraw_objects.h):
// where pictures really go and what its display offers. Every rule of
// DirectDraw itself (which requests are refused and with which code, reference
// counts, flipping chains, locks, lost surfaces) is the shared objects' own.
#pragma once

#include <cstdint>

#include "platform/api/platform.h"

namespace platform {

class DirectDrawObject;
class Surface;

// How the pixels of new surfaces are laid out: 16-bit words with these channel
// masks, and bytes of padding after each row (odd counts are rounded up).
struct SurfaceLayout {
    std::uint32_t redMask = 0xF800;
    std::uint32_t greenMask = 0x07E0;
    std::uint32_t blueMask = 0x001F;
    int rowPadding = 0;
};

struct ScreenSize {
    int width = 0;
    int height = 0;
};

class Display {
public:
    virtual ~Display() = default;

    // Whether DirectDrawCreate can have a display object (DDERR_NODIRECTDRAWHW otherwise).
    virtual bool Ready() { return true; }
    virtual SurfaceLayout Layout() { return {}; }
    // Bytes of the display card's memory; with none every surface lives in
    // system memory and a request for video memory fails.
    virtual long long VideoMemory() { return 0; }
    // Whether the display shows pictures of this many bits per pixel.
    virtual bool ShowsDepth(DWORD bitsPerPixel) { return bitsPerPixel == 16; }
    // The owner set a display mode, or gave it back as its last reference went.
    virtual void SetMode(const DirectDrawObject&, DWORD, DWORD, DWORD) {}
    virtual void RestoreMode(const DirectDrawObject&) {}

    // The screen a primary surface stands for: a flipping chain's size, or the
    // plain primary's; a side of 0 or less refuses the surface (DDERR_INVALIDMODE).
    virtual ScreenSize PrimarySize(const DirectDrawObject& owner, bool flipping) = 0;
    // Whether the plain primary keeps pixels of its own, into which a copy onto
    // it lands before it is shown; without them it cannot be locked or copied from.
    virtual bool PrimaryKeepsPixels() { return true; }

    // Shows what a BltFast copied onto a primary: `part` of `source` now at
    // (x, y) of the screen. DD_OK, or DDERR_GENERIC when nothing can show it.
    virtual HRESULT ShowCopy(const Surface& primary, const Surface& source, const RECT& part, int x,
                             int y) = 0;
    // Shows the front of a flipping chain after a Flip.
    virtual HRESULT ShowFlip(const Surface& front) = 0;
    // Waits for the next vertical blank; DDERR_UNSUPPORTED where it cannot.
    virtual HRESULT WaitForVerticalBlank() { return DDERR_UNSUPPORTED; }
    // The surface's pixels are about to change or go: whatever was presented
    // from them and not yet kept must be taken now.
    virtual void PixelsChanging(const Surface&) {}
};

// The backend's display; each backend defines it.
Display& TheDisplay();

}  // namespace platform
