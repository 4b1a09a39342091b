#include "platform/sdl/sdl_picture_layout.h"

namespace sdl {
namespace {

// Rounds towards minus infinity, as a window pixel left of the canvas lies
// left of its first column.
long long FloorDivide(long long value, long long divisor) {
    const long long quotient = value / divisor;
    return quotient * divisor > value ? quotient - 1 : quotient;
}

PicturePlace Centred(int width, int height, int windowWidth, int windowHeight) {
    return {(windowWidth - width) / 2, (windowHeight - height) / 2, width, height, 0};
}

}  // namespace

PicturePlace PlacePicture(int canvasWidth, int canvasHeight, int windowWidth, int windowHeight,
                          bool wholeNumbers) {
    if (canvasWidth <= 0 || canvasHeight <= 0 || windowWidth <= 0 || windowHeight <= 0) return {};
    // Which side limits the enlargement: the canvas is wider in shape than the
    // window when canvasWidth / canvasHeight > windowWidth / windowHeight.
    const long long wideCanvas = 1LL * canvasWidth * windowHeight;
    const long long wideWindow = 1LL * windowWidth * canvasHeight;
    PicturePlace place;
    if (wholeNumbers) {
        int scale =
            wideCanvas > wideWindow ? windowWidth / canvasWidth : windowHeight / canvasHeight;
        if (scale < 1) scale = 1;
        place = Centred(canvasWidth * scale, canvasHeight * scale, windowWidth, windowHeight);
        place.wholeScale = scale;
        return place;
    }
    if (wideCanvas == wideWindow)
        place = {0, 0, windowWidth, windowHeight, 0};
    else if (wideCanvas > wideWindow)
        place = Centred(windowWidth, static_cast<int>(wideWindow / canvasWidth), windowWidth,
                        windowHeight);
    else
        place = Centred(static_cast<int>(wideCanvas / canvasHeight), windowHeight, windowWidth,
                        windowHeight);
    const bool whole = place.width % canvasWidth == 0 &&
                       1LL * place.height * canvasWidth == 1LL * place.width * canvasHeight;
    place.wholeScale = whole ? place.width / canvasWidth : 0;
    return place;
}

bool CanvasPoint(const PicturePlace& place, int canvasWidth, int canvasHeight, int& x, int& y) {
    if (place.width <= 0 || place.height <= 0) return false;
    const long long canvasX = FloorDivide(1LL * (x - place.x) * canvasWidth, place.width);
    const long long canvasY = FloorDivide(1LL * (y - place.y) * canvasHeight, place.height);
    if (canvasX < 0 || canvasY < 0 || canvasX >= canvasWidth || canvasY >= canvasHeight)
        return false;
    x = static_cast<int>(canvasX);
    y = static_cast<int>(canvasY);
    return true;
}

}  // namespace sdl
