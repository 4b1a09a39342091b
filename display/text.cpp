#include <algorithm>
#include <climits>
#include <cstring>

#include "shell/debugger.h"
#include "shell/windx.h"

void WinDX::SetTextRGB(int red, int green, int blue) {
    textRed = red;
    textGreen = green;
    textBlue = blue;
    // A GDI colour takes the low byte of each component.
    textColor = static_cast<std::uint32_t>(red & 0xFF) +
                static_cast<std::uint32_t>(green & 0xFF) * 256 +
                static_cast<std::uint32_t>(blue & 0xFF) * 65536;
}

int WinDX::DrawText(int x, int y, const char* text) {
    // Before start-up there is no back surface to lend a device context.
    HDC dc = nullptr;
    if (backSurface == nullptr || FAILED(backSurface->GetDC(&dc))) {
        Debug.Write("WinDX::DrawText: Unable to get device context handle.\n", "");
        return 0;
    }
    // Transparent: only the glyphs are drawn, the frame shows between them.
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColor);
    const char* shown = text != nullptr ? text : "";
    TextOutA(dc, x, y, shown, static_cast<int>(std::strlen(shown)));
    backSurface->ReleaseDC(dc);
    return 1;
}

TextSize WinDX::MeasureText(const char* text) const {
    const char* measured = text != nullptr ? text : "";
    const std::size_t length = std::strlen(measured);
    // A new device context starts with the font DrawText's does (the system's,
    // or the bitmap font), and a window's can be had while the frame is locked.
    // Before the window exists the screen's stands in.
    TextSize size;
    HDC dc = GetDC(window);
    if (dc == nullptr) return size;
    SIZE extent = {0, 0};
    const int counted = static_cast<int>(std::min<std::size_t>(length, INT_MAX));
    if (GetTextExtentPoint32A(dc, measured, counted, &extent)) {
        size.width = static_cast<int>(extent.cx);
        size.height = static_cast<int>(extent.cy);
    }
    ReleaseDC(window, dc);
    return size;
}
