#include "image/draw_routines.h"

#include <algorithm>

#include "image/draw_area.h"
#include "image/draw_kernels.h"
#include "image/image.h"
#include "shell/windx.h"

bool ClipImage(int x, int y, const Image* image, int& destOffset, int& sourceOffset,
               int& visibleWidth, int& visibleHeight) {
    if (image == nullptr) return false;
    const std::int64_t pitch = Corvane.width;
    // The clip rectangle is kept inside the back buffer, so a rectangle set past
    // its edges cannot send a draw outside the surface.
    const std::int64_t left = std::max(Corvane.clipLeft, 0);
    const std::int64_t top = std::max(Corvane.clipTop, 0);
    const std::int64_t right = std::min(Corvane.clipRight, Corvane.width - 1);
    const std::int64_t bottom = std::min(Corvane.clipBottom, Corvane.height - 1);
    const std::int64_t w = image->width;
    const std::int64_t h = image->height;

    std::int64_t visW = w;
    std::int64_t visH = h;
    const std::int64_t imageRight = x + w - 1;
    if (imageRight < left || right < x) return false;
    const std::int64_t imageBottom = y + h - 1;
    if (imageBottom < top || bottom < y) return false;

    std::int64_t dest = top * pitch + left;
    std::int64_t source = 0;
    if (x < left) {
        visW += x - left;
        source += left - x;
    } else {
        dest += x - left;
    }
    if (right < imageRight) visW += right - imageRight;
    if (y < top) {
        visH += y - top;
        source += (top - y) * w;
    } else {
        dest += (y - top) * pitch;
    }
    if (bottom < imageBottom) visH += bottom - imageBottom;
    // An empty image or a clip rectangle with left > right or top > bottom.
    if (visW <= 0 || visH <= 0) return false;

    destOffset = static_cast<int>(dest);
    sourceOffset = static_cast<int>(source);
    visibleWidth = static_cast<int>(visW);
    visibleHeight = static_cast<int>(visH);
    return true;
}

DrawStart BeginDraw(int x, int y, const Image* image, std::int8_t purpose, bool needsAlpha,
                    DrawArea& area) {
    if (image == nullptr || image->purpose != purpose) {
        Corvane.RaiseError(IMAGEUSE_FAILED);
        return DrawStart::Refused;
    }
    if (image->width <= 0 || image->height <= 0) return DrawStart::Nothing;
    const std::uint16_t* words = image->Words();
    const std::uint8_t* alpha = image->AlphaPlane();
    if (words == nullptr || (needsAlpha && alpha == nullptr)) return DrawStart::Nothing;
    if (Corvane.backBuffer == nullptr) return DrawStart::Nothing;

    int destOffset = 0;
    int sourceOffset = 0;
    if (!ClipImage(x, y, image, destOffset, sourceOffset, area.width, area.rows)) {
        return DrawStart::Nothing;
    }
    area.dst = Corvane.backBuffer + destOffset;
    area.src = words + sourceOffset;
    area.alpha = needsAlpha ? alpha + sourceOffset : nullptr;
    area.dstPitch = Corvane.width;
    area.srcPitch = image->width;
    return DrawStart::Draw;
}

namespace {

int Answer(DrawStart start) {
    return start == DrawStart::Refused ? 0 : 1;
}

}  // namespace

int DrawPixel16(int x, int y, int r, int g, int b) {
    if (Corvane.backBuffer == nullptr) return 1;
    // The pixel is kept inside the back buffer (not the clip rectangle): a point
    // off the screen would otherwise be written outside the surface's memory.
    if (x < 0 || y < 0 || x >= Corvane.width || y >= Corvane.height) return 1;
    // Always 5:5:5, whatever the display format.
    auto* row = reinterpret_cast<std::uint8_t*>(Corvane.backBuffer) + Corvane.rowOffset[y];
    reinterpret_cast<std::uint16_t*>(row)[x] =
        static_cast<std::uint16_t>((static_cast<unsigned>(r) << 10) +
                                   (static_cast<unsigned>(g) << 5) + static_cast<unsigned>(b));
    return 1;
}

int DrawPlain16(int x, int y, Image* image) {
    DrawArea area;
    const DrawStart start = BeginDraw(x, y, image, DRAW_PLAIN, false, area);
    if (start != DrawStart::Draw) return Answer(start);
    ActiveKernels().plain(area);
    return 1;
}

int DrawMasked16(int x, int y, Image* image) {
    DrawArea area;
    const DrawStart start = BeginDraw(x, y, image, DRAW_MASKED, false, area);
    if (start != DrawStart::Draw) return Answer(start);
    ActiveKernels().masked(area);
    return 1;
}

int DrawAlpha16(int x, int y, Image* image) {
    DrawArea area;
    const DrawStart start = BeginDraw(x, y, image, DRAW_ALPHA, true, area);
    if (start != DrawStart::Draw) return Answer(start);
    const ChannelMasks masks = CurrentMasks();
    (MasksFitLanes(masks) ? ActiveKernels() : kReferenceKernels).alpha(area, masks);
    return 1;
}

int DrawAdditive16(int x, int y, Image* image) {
    DrawArea area;
    // The alpha plane must be there, though the sum reads none of it.
    const DrawStart start = BeginDraw(x, y, image, DRAW_ADDITIVE, true, area);
    if (start != DrawStart::Draw) return Answer(start);
    const ChannelMasks masks = CurrentMasks();
    (MasksFitLanes(masks) ? ActiveKernels() : kReferenceKernels).additive(area, masks);
    return 1;
}

bool TilePlain16(int x, int y, const Image* image) {
    if (image == nullptr || image->purpose != DRAW_PLAIN || Corvane.backBuffer == nullptr)
        return false;
    const std::int64_t tw = image->width;
    const std::int64_t th = image->height;
    if (tw <= 0 || th <= 0 || image->Words() == nullptr) return false;
    // The clip rectangle as ClipImage keeps it, inside the back buffer.
    const std::int64_t left = std::max(Corvane.clipLeft, 0);
    const std::int64_t top = std::max(Corvane.clipTop, 0);
    const std::int64_t right = std::min(Corvane.clipRight, Corvane.width - 1);
    const std::int64_t bottom = std::min(Corvane.clipBottom, Corvane.height - 1);
    if (left > right || top > bottom) return true;

    // Floor remainders: the plane's tiles start at multiples of the tile size.
    const auto floorMod = [](std::int64_t a, std::int64_t n) { return ((a % n) + n) % n; };
    TileArea area;
    area.dst = Corvane.backBuffer + top * Corvane.width + left;
    area.width = static_cast<int>(right - left + 1);
    area.rows = static_cast<int>(bottom - top + 1);
    area.dstPitch = Corvane.width;
    area.tile = image->Words();
    area.tileWidth = static_cast<int>(tw);
    area.tileHeight = static_cast<int>(th);
    area.firstColumn = static_cast<int>(floorMod(x + left, tw));
    area.firstRow = static_cast<int>(floorMod(y + top, th));
    ActiveKernels().tiled(area);
    return true;
}

void ClearRows(void* first, int rows, std::size_t rowBytes, std::size_t step) {
    ActiveKernels().clearRows(static_cast<std::uint8_t*>(first), rows, rowBytes, step);
}
