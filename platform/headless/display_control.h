/// @file
/// Controls of the headless DirectDraw: the surfaces it makes, lost surfaces and
/// the pictures it presents. headless::Reset ends every DirectDraw object and
/// surface; a caller still holding their pointers (the engine before CleanUp)
/// must drop them too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/api/platform.h"

namespace headless {

///@{
/// Pixel layout of every surface created from now on (default 5:6:5).
enum class SurfaceFormat { Rgb565, Rgb555 };
void SetSurfaceFormat(SurfaceFormat format);
///@}
/// Bytes added to every row of surfaces created from now on, so that the pitch
/// is larger than twice the width (default 0; an odd count is rounded up).
void SetExtraPitch(int bytes);
///@{
/// Size of the display card's memory in bytes (default 32 MiB). A request with
/// DDSCAPS_VIDEOMEMORY that does not fit fails with DDERR_OUTOFVIDEOMEMORY; a
/// request naming neither memory goes to video memory when it fits and to
/// system memory otherwise; DDSCAPS_SYSTEMMEMORY always goes to system memory.
/// Where a surface went shows in its caps. VideoMemoryInUse: the bytes taken.
void SetVideoMemory(long long bytes);
long long VideoMemoryInUse();
///@}

///@{
/// Marks every live surface lost (or the one given), as a display-mode change
/// by another program does: Lock, BltFast, Flip and GetDC answer
/// DDERR_SURFACELOST, IsLost too, until Restore (on the front of a flipping
/// chain it restores the whole chain; restored memory is cleared).
void LoseSurfaces();
void LoseSurface(IDirectDrawSurface* surface);
///@}

/// The display mode set through SetDisplayMode; all zero while the desktop's
/// mode is in force (never set, or restored by releasing the DirectDraw object).
struct DisplayMode {
    int width = 0;         ///< in pixels
    int height = 0;        ///< in pixels
    int bitsPerPixel = 0;  ///< 8, 16, 24 or 32
};
/// The display mode in force now.
DisplayMode CurrentDisplayMode();
/// Cooperative-level flags of the newest live DirectDraw object (0 if none).
DWORD CooperativeLevel();
/// DirectDraw objects not yet released.
int LiveDirectDrawObjects();
/// Surfaces not yet released.
int LiveSurfaces();

/// One presented picture as the user sees it: width x height 16-bit pixels in the
/// surfaces' format, row after row without padding.
struct Frame {
    int width = 0;                      ///< in pixels
    int height = 0;                     ///< in pixels
    std::uint32_t redMask = 0;          ///< the red bits of a pixel
    std::uint32_t greenMask = 0;        ///< the green bits of a pixel
    std::uint32_t blueMask = 0;         ///< the blue bits of a pixel
    std::vector<std::uint16_t> pixels;  ///< width x height, row after row

    /// The pixel at (x, y), which must lie in the picture.
    std::uint16_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
};
/// Presentations so far: every Flip of a flipping chain, and every BltFast onto a
/// primary surface (the window's client area is what is kept then).
int PresentCount();
/// The last presented picture; width 0 before the first.
const Frame& LastFrame();
/// Keeps every presented picture from now on (off by default).
void KeepAllFrames(bool keep);
/// The pictures kept since KeepAllFrames(true), oldest first.
const std::vector<Frame>& PresentedFrames();

}  // namespace headless
