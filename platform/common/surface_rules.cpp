#include "platform/common/surface_rules.h"

namespace surfacerules {

bool RectInside(const RECT& rect, int width, int height) {
    return rect.left >= 0 && rect.top >= 0 && rect.right <= width && rect.bottom <= height &&
           rect.left < rect.right && rect.top < rect.bottom;
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

}  // namespace surfacerules
