#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/common/bitmap_font.h"
#include "platform/common/device_context.h"

namespace {

constexpr std::uint16_t kBackground = 0x0421;

// A device context over a buffer of 16-bit pixels, as a surface lends one out.
struct SurfaceDC {
    SurfaceDC(int w, int h, std::uint32_t red, std::uint32_t green, std::uint32_t blue)
        : pixels(static_cast<size_t>(w) * h, kBackground) {
        dc.pixels = pixels.data();
        dc.width = w;
        dc.height = h;
        dc.pitchBytes = w * 2;
        dc.redMask = red;
        dc.greenMask = green;
        dc.blueMask = blue;
    }
    std::vector<std::uint16_t> pixels;
    HDC__ dc;
};

int CountIf(const std::vector<std::uint16_t>& pixels, std::uint16_t value) {
    int count = 0;
    for (std::uint16_t p : pixels) count += p == value;
    return count;
}

// Number of ink pixels in the glyph of ch.
int GlyphPixels(unsigned char ch) {
    int count = 0;
    for (int r = 0; r < bitmapfont::kGlyphHeight; ++r)
        for (int c = 0; c < 8; ++c) count += (bitmapfont::kGlyphs[ch][r] >> c) & 1;
    return count;
}

TEST(GdiTextTest, ModeAndColourSettersAnswerThePreviousValue) {
    SurfaceDC surface(8, 8, 0xF800, 0x07E0, 0x001F);
    EXPECT_EQ(SetBkMode(&surface.dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(&surface.dc, 7), 0);
    EXPECT_EQ(surface.dc.backgroundMode, TRANSPARENT);
    EXPECT_EQ(SetBkMode(nullptr, OPAQUE), 0);

    EXPECT_EQ(SetTextColor(&surface.dc, RGB(1, 2, 3)), 0u);
    EXPECT_EQ(SetTextColor(&surface.dc, RGB(9, 9, 9)), RGB(1, 2, 3));
    EXPECT_EQ(SetTextColor(nullptr, 0), 0xFFFFFFFFu);
}

TEST(GdiTextTest, TransparentTextInTheContextsFormat) {
    SurfaceDC rgb565(40, 20, 0xF800, 0x07E0, 0x001F);
    SetBkMode(&rgb565.dc, TRANSPARENT);
    SetTextColor(&rgb565.dc, RGB(255, 128, 0));
    EXPECT_EQ(TextOutA(&rgb565.dc, 1, 2, "Ok", 2), TRUE);
    const std::uint16_t orange565 = 0xF800 | (32 << 5);
    EXPECT_EQ(CountIf(rgb565.pixels, orange565), GlyphPixels('O') + GlyphPixels('k'));
    EXPECT_EQ(CountIf(rgb565.pixels, kBackground) + CountIf(rgb565.pixels, orange565), 40 * 20);

    SurfaceDC rgb555(40, 20, 0x7C00, 0x03E0, 0x001F);
    SetBkMode(&rgb555.dc, TRANSPARENT);
    SetTextColor(&rgb555.dc, RGB(255, 128, 0));
    EXPECT_EQ(TextOutA(&rgb555.dc, 1, 2, "Ok", 2), TRUE);
    EXPECT_EQ(CountIf(rgb555.pixels, 0x7E00), GlyphPixels('O') + GlyphPixels('k'));
    EXPECT_EQ(CountIf(rgb555.pixels, kBackground) + CountIf(rgb555.pixels, 0x7E00), 40 * 20);
}

TEST(GdiTextTest, OpaqueTextFillsItsCellsWithWhite) {
    // A new context is OPAQUE with black text, as in GDI.
    SurfaceDC surface(20, 20, 0x7C00, 0x03E0, 0x001F);
    EXPECT_EQ(TextOutA(&surface.dc, 0, 0, "A", 1), TRUE);
    EXPECT_EQ(CountIf(surface.pixels, 0x0000), GlyphPixels('A'));
    EXPECT_EQ(CountIf(surface.pixels, 0x7FFF), 8 * 16 - GlyphPixels('A'));
}

TEST(GdiTextTest, RefusedCallsDrawNothing) {
    SurfaceDC surface(16, 16, 0xF800, 0x07E0, 0x001F);
    SetTextColor(&surface.dc, RGB(255, 255, 255));
    EXPECT_EQ(TextOutA(nullptr, 0, 0, "A", 1), FALSE);
    EXPECT_EQ(TextOutA(&surface.dc, 0, 0, "A", -1), FALSE);
    EXPECT_EQ(TextOutA(&surface.dc, 0, 0, nullptr, 1), FALSE);
    EXPECT_EQ(TextOutA(&surface.dc, 0, 0, "", 0), TRUE);
    HDC__ screen;  // a context without pixels, like the screen's
    EXPECT_EQ(TextOutA(&screen, 0, 0, "A", 1), FALSE);
    EXPECT_EQ(CountIf(surface.pixels, kBackground), 16 * 16);
}

}  // namespace
