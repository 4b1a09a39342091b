#include "display/colour.h"
#include "display/shape_routines.h"
#include "shell/windx.h"

void WinDX::DrawPixel(int x, int y, Colour colour) {
    PlotClipped(ShapeFrameOf(*this), x, y, colour.Word());
}

void WinDX::DrawLine(int x0, int y0, int x1, int y1, Colour colour) {
    DrawLineClipped(ShapeFrameOf(*this), x0, y0, x1, y1, colour.Word());
}

void WinDX::FillRect(int x, int y, int rectWidth, int rectHeight, Colour colour) {
    FillRectRows(ShapeFrameOf(*this), x, y, rectWidth, rectHeight, colour.Word());
}

void WinDX::DrawRect(int x, int y, int rectWidth, int rectHeight, Colour colour) {
    if (rectWidth < 1 || rectHeight < 1) return;
    const ShapeFrame frame = ShapeFrameOf(*this);
    const std::uint16_t word = colour.Word();
    const std::int64_t right = std::int64_t{x} + rectWidth - 1;
    const std::int64_t bottom = std::int64_t{y} + rectHeight - 1;
    FillRectRows(frame, x, y, rectWidth, 1, word);
    if (rectHeight > 1) FillRectRows(frame, x, bottom, rectWidth, 1, word);
    // The sides between the top and bottom rows.
    FillRectRows(frame, x, std::int64_t{y} + 1, 1, std::int64_t{rectHeight} - 2, word);
    if (rectWidth > 1) FillRectRows(frame, right, std::int64_t{y} + 1, 1, rectHeight - 2, word);
}

void WinDX::SetTextColour(Colour colour) {
    SetTextRGB(colour.red, colour.green, colour.blue);
}
