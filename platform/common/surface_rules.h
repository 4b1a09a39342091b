// DirectDraw's rectangle rules, shared by the backends so both refuse exactly
// the same requests.
#pragma once

#include "platform/api/platform.h"

namespace surfacerules {

// True when rect holds at least one pixel and lies inside a width x height
// surface (right and bottom exclusive), as Lock and a blit's source need.
bool RectInside(const RECT& rect, int width, int height);

// The checks of a BltFast of sourceRect (null: the whole sourceWidth x
// sourceHeight source) to (x, y) of a targetWidth x targetHeight surface.
// BltFast never clips: a copy that reaches past any edge of the target, the
// screen for a primary surface, is refused whole; a position left of or above
// the target arrives as a huge unsigned number and is refused the same way.
// DD_OK with the source part to copy in *part, or DDERR_INVALIDRECT.
HRESULT CheckBltFast(DWORD x, DWORD y, const RECT* sourceRect, int sourceWidth, int sourceHeight,
                     int targetWidth, int targetHeight, RECT* part);

}  // namespace surfacerules
