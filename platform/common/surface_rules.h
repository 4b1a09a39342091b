// DirectDraw's checks on requests, as DirectDraw answers them, used by the
// shared DirectDraw objects (ddraw_objects.h).
#pragma once

#include "platform/api/platform.h"

namespace surfacerules {

// Surfaces and display modes wider or higher than this are refused
// (DDERR_TOOBIGWIDTH, DDERR_TOOBIGHEIGHT, DDERR_INVALIDMODE) rather than allocated.
constexpr DWORD kLargestSide = 16384;
// Back buffers a flipping chain may have.
constexpr DWORD kMostBackBuffers = 3;

// True when rect lies inside a width x height surface (right and bottom
// exclusive) and is not turned inside out; an empty one is accepted, as Lock
// accepts it.
bool RectWithin(const RECT& rect, int width, int height);
// True when rect also holds at least one pixel, as a blit's source must.
bool RectInside(const RECT& rect, int width, int height);

// The checks of a BltFast of sourceRect (null: the whole sourceWidth x
// sourceHeight source) to (x, y) of a targetWidth x targetHeight surface.
// BltFast never clips: a copy that reaches past any edge of the target, the
// screen for a primary surface, is refused whole; a position left of or above
// the target arrives as a huge unsigned number and is refused the same way.
// DD_OK with the source part to copy in *part, or DDERR_INVALIDRECT.
HRESULT CheckBltFast(DWORD x, DWORD y, const RECT* sourceRect, int sourceWidth, int sourceHeight,
                     int targetWidth, int targetHeight, RECT* part);

// SetCooperativeLevel's flags: DDSCL_NORMAL alone, or DDSCL_FULLSCREEN with
// DDSCL_EXCLUSIVE for a window; otherwise DDERR_INVALIDPARAMS.
HRESULT CheckCooperativeLevel(HWND window, DWORD flags);

// SetDisplayMode's request: both sides 1..kLargestSide and 8, 16, 24 or 32
// bits per pixel; otherwise DDERR_INVALIDMODE.
HRESULT CheckDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel);

// CreateSurface's request with these caps (desc's own when DDSD_CAPS is set,
// else none), made at cooperativeFlags (0: never set), while primaryExists
// tells whether the object has a live primary: DD_OK or DirectDraw's answer.
// A primary takes no size; a flipping primary is complex, has 1 to
// kMostBackBuffers back buffers and needs the exclusive level; anything else
// is a plain surface of a size in 1..kLargestSide each way.
HRESULT CheckSurfaceRequest(const DDSURFACEDESC& desc, DWORD caps, DWORD cooperativeFlags,
                            bool primaryExists);

}  // namespace surfacerules
