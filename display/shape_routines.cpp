#include "display/shape_routines.h"

#include <algorithm>

#include "shell/windx.h"

namespace {

// A line as steps along its longer (major) axis, from the end with the smaller
// major coordinate: step i lies at major + i along that axis and at
// minor + direction * (i * across / length, rounded half up) along the other.
struct LineSteps {
    bool xMajor = true;
    std::int64_t major = 0;
    std::int64_t minor = 0;
    std::uint64_t length = 0;  // steps after the first
    std::uint64_t across = 0;  // 0 .. length
    int direction = 1;
};

LineSteps StepsOf(int x0, int y0, int x1, int y1) {
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    LineSteps line;
    line.xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    std::int64_t majorStart = line.xMajor ? x0 : y0;
    std::int64_t majorEnd = line.xMajor ? x1 : y1;
    std::int64_t minorStart = line.xMajor ? y0 : x0;
    std::int64_t minorEnd = line.xMajor ? y1 : x1;
    if (majorStart > majorEnd) {
        std::swap(majorStart, majorEnd);
        std::swap(minorStart, minorEnd);
    }
    line.major = majorStart;
    line.minor = minorStart;
    line.length = static_cast<std::uint64_t>(majorEnd - majorStart);
    line.direction = minorEnd >= minorStart ? 1 : -1;
    line.across = static_cast<std::uint64_t>(line.direction * (minorEnd - minorStart));
    return line;
}

// The minor offset at step i, and what is left over in units of 1 / (2 * length).
struct MinorStep {
    std::uint64_t offset = 0;
    std::uint64_t remainder = 0;  // 0 .. 2 * length - 1
};

// floor((2 * i * across + length) / (2 * length)) for length > 0, without
// overflow: i and across are below 2^32, so i * across fits in 64 bits.
MinorStep MinorAt(std::uint64_t i, const LineSteps& line) {
    const std::uint64_t product = i * line.across;
    const std::uint64_t twice = 2 * line.length;
    const std::uint64_t rest = 2 * (product % line.length) + line.length;
    return {product / line.length + rest / twice, rest % twice};
}

void PlotStep(const ShapeFrame& frame, const LineSteps& line, std::int64_t i, std::uint64_t offset,
              std::uint16_t word) {
    const std::int64_t major = line.major + i;
    const std::int64_t minor = line.minor + line.direction * static_cast<std::int64_t>(offset);
    if (line.xMajor)
        PlotClipped(frame, major, minor, word);
    else
        PlotClipped(frame, minor, major, word);
}

}  // namespace

ShapeFrame ShapeFrameOf(const WinDX& engine) {
    ShapeFrame frame;
    if (engine.backBuffer == nullptr) return frame;
    frame.pixels = engine.backBuffer;
    frame.pitch = engine.width;
    // As for pictures, a clip rectangle set past the buffer's edges is kept inside it.
    frame.left = std::max(engine.clipLeft, 0);
    frame.top = std::max(engine.clipTop, 0);
    frame.right = std::min(engine.clipRight, engine.width - 1);
    frame.bottom = std::min(engine.clipBottom, engine.height - 1);
    return frame;
}

void PlotClipped(const ShapeFrame& frame, std::int64_t x, std::int64_t y, std::uint16_t word) {
    if (frame.pixels == nullptr) return;
    if (x < frame.left || x > frame.right || y < frame.top || y > frame.bottom) return;
    frame.pixels[y * frame.pitch + x] = word;
}

void FillRectEachPixel(const ShapeFrame& frame, std::int64_t x, std::int64_t y, std::int64_t width,
                       std::int64_t height, std::uint16_t word) {
    for (std::int64_t row = y; row < y + height; ++row)
        for (std::int64_t column = x; column < x + width; ++column)
            PlotClipped(frame, column, row, word);
}

void FillRectRows(const ShapeFrame& frame, std::int64_t x, std::int64_t y, std::int64_t width,
                  std::int64_t height, std::uint16_t word) {
    if (frame.pixels == nullptr || width < 1 || height < 1) return;
    const std::int64_t left = std::max(x, frame.left);
    const std::int64_t right = std::min(x + width - 1, frame.right);
    const std::int64_t top = std::max(y, frame.top);
    const std::int64_t bottom = std::min(y + height - 1, frame.bottom);
    if (left > right || top > bottom) return;
    for (std::int64_t row = top; row <= bottom; ++row) {
        std::uint16_t* start = frame.pixels + row * frame.pitch + left;
        std::fill(start, start + (right - left + 1), word);
    }
}

void DrawLineEachStep(const ShapeFrame& frame, int x0, int y0, int x1, int y1, std::uint16_t word) {
    const LineSteps line = StepsOf(x0, y0, x1, y1);
    for (std::uint64_t i = 0; i <= line.length; ++i) {
        const std::uint64_t offset = line.length == 0 ? 0 : MinorAt(i, line).offset;
        PlotStep(frame, line, static_cast<std::int64_t>(i), offset, word);
    }
}

void DrawLineClipped(const ShapeFrame& frame, int x0, int y0, int x1, int y1, std::uint16_t word) {
    if (frame.pixels == nullptr) return;
    const LineSteps line = StepsOf(x0, y0, x1, y1);
    const std::int64_t low = line.xMajor ? frame.left : frame.top;
    const std::int64_t high = line.xMajor ? frame.right : frame.bottom;
    const std::int64_t first = std::max<std::int64_t>(0, low - line.major);
    const std::int64_t last = std::min(static_cast<std::int64_t>(line.length), high - line.major);
    if (first > last) return;
    if (line.length == 0) {
        PlotStep(frame, line, 0, 0, word);
        return;
    }
    // From the first visible step on, the rounding moves on by 2 * across
    // each step and carries at 2 * length, as Bresenham's error term does.
    MinorStep step = MinorAt(static_cast<std::uint64_t>(first), line);
    const std::uint64_t twice = 2 * line.length;
    for (std::int64_t i = first;; ++i) {
        PlotStep(frame, line, i, step.offset, word);
        if (i == last) break;
        step.remainder += 2 * line.across;
        if (step.remainder >= twice) {
            step.remainder -= twice;
            ++step.offset;
        }
    }
}
