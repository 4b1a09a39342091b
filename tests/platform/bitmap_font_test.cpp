#include "platform/common/bitmap_font.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using bitmapfont::kGlyphHeight;
using bitmapfont::kGlyphs;
using bitmapfont::kGlyphWidth;

constexpr std::uint16_t kBackground = 0x1234;
constexpr std::uint16_t kGuard = 0xDEAD;

// A canvas inside a larger buffer: every row has guard words past its end and
// guard rows sit above and below, all holding kGuard.
struct FencedCanvas {
    FencedCanvas(int width, int height, int extraWords = 3, int guardRows = 2)
        : stride(width + extraWords), guard(guardRows) {
        words.assign(static_cast<size_t>(stride) * (height + 2 * guard), kGuard);
        canvas.width = width;
        canvas.height = height;
        canvas.pitchBytes = stride * 2;
        canvas.pixels = words.data() + stride * guard;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) At(x, y) = kBackground;
    }
    std::uint16_t& At(int x, int y) { return canvas.pixels[y * stride + x]; }

    int stride;
    int guard;
    std::vector<std::uint16_t> words;
    bitmapfont::Canvas16 canvas;
};

// The plain per-pixel model of drawing a string: every cell pixel that falls on
// the canvas takes ink where the glyph has a bit, paper (if any) elsewhere.
std::vector<std::uint16_t> Expected(const FencedCanvas& before, int x, int y,
                                    const std::string& text, std::uint16_t ink,
                                    const std::uint16_t* paper) {
    std::vector<std::uint16_t> words = before.words;
    const int width = before.canvas.width;
    const int height = before.canvas.height;
    for (size_t i = 0; i < text.size(); ++i) {
        const std::uint8_t* glyph = kGlyphs[static_cast<unsigned char>(text[i])];
        for (int r = 0; r < kGlyphHeight; ++r) {
            for (int c = 0; c < kGlyphWidth; ++c) {
                const long long px = x + static_cast<long long>(i) * kGlyphWidth + c;
                const long long py = static_cast<long long>(y) + r;
                if (px < 0 || py < 0 || px >= width || py >= height) continue;
                std::uint16_t& word = words[(py + before.guard) * before.stride + px];
                if (glyph[r] & (0x80 >> c))
                    word = ink;
                else if (paper != nullptr)
                    word = *paper;
            }
        }
    }
    return words;
}

int InkedPixels(const std::uint8_t* glyph) {
    int count = 0;
    for (int r = 0; r < kGlyphHeight; ++r)
        for (int c = 0; c < kGlyphWidth; ++c) count += (glyph[r] >> c) & 1;
    return count;
}

TEST(BitmapFontTest, PrintableCharactersHaveTheirOwnGlyphs) {
    EXPECT_EQ(InkedPixels(kGlyphs[' ']), 0);
    EXPECT_EQ(InkedPixels(kGlyphs[0xA0]), 0);  // no-break space
    std::set<std::vector<std::uint8_t>> shapes;
    for (int ch = 0x21; ch <= 0x7E; ++ch) {
        EXPECT_GT(InkedPixels(kGlyphs[ch]), 0) << "character " << ch;
        shapes.insert(std::vector<std::uint8_t>(kGlyphs[ch], kGlyphs[ch] + kGlyphHeight));
    }
    EXPECT_EQ(shapes.size(), 94u);
    // Accented letters of code page 1252 differ from their plain ones.
    EXPECT_NE(std::vector<std::uint8_t>(kGlyphs[0xE9], kGlyphs[0xE9] + kGlyphHeight),
              std::vector<std::uint8_t>(kGlyphs['e'], kGlyphs['e'] + kGlyphHeight));
    // Bytes that stand for no character share one visible replacement glyph.
    for (int ch : {0x00, 0x0A, 0x1F, 0x7F, 0x81, 0x9D}) {
        EXPECT_EQ(std::vector<std::uint8_t>(kGlyphs[ch], kGlyphs[ch] + kGlyphHeight),
                  std::vector<std::uint8_t>(kGlyphs[1], kGlyphs[1] + kGlyphHeight));
    }
    EXPECT_GT(InkedPixels(kGlyphs[1]), 0);
}

TEST(BitmapFontTest, PackColourKeepsTheTopBitsOfEachChannel) {
    using bitmapfont::PackColour;
    EXPECT_EQ(PackColour(255, 255, 255, 0xF800, 0x07E0, 0x001F), 0xFFFF);
    EXPECT_EQ(PackColour(255, 0, 0, 0xF800, 0x07E0, 0x001F), 0xF800);
    EXPECT_EQ(PackColour(0, 255, 0, 0xF800, 0x07E0, 0x001F), 0x07E0);
    EXPECT_EQ(PackColour(8, 4, 8, 0xF800, 0x07E0, 0x001F), (1 << 11) | (1 << 5) | 1);
    EXPECT_EQ(PackColour(7, 3, 7, 0xF800, 0x07E0, 0x001F), 0);
    EXPECT_EQ(PackColour(255, 128, 0, 0x7C00, 0x03E0, 0x001F), 0x7E00);
    EXPECT_EQ(PackColour(0, 255, 255, 0x7C00, 0x03E0, 0x001F), 0x03FF);
    // Masks in another order are honoured: blue on top.
    EXPECT_EQ(PackColour(0, 0, 255, 0x001F, 0x07E0, 0xF800), 0xF800);
    // Only the low byte of a component counts.
    EXPECT_EQ(PackColour(256 + 255, 0, 0, 0xF800, 0x07E0, 0x001F), 0xF800);
}

TEST(BitmapFontTest, ClippedAtEveryEdgeAsThePerPixelModelSays) {
    std::mt19937 random(20240611);
    int drawn = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const int width = 1 + static_cast<int>(random() % 50);
        const int height = 1 + static_cast<int>(random() % 40);
        FencedCanvas fenced(width, height, static_cast<int>(random() % 4));
        std::string text(random() % 9, ' ');
        for (char& ch : text) ch = static_cast<char>(random() % 256);
        // Around the canvas, so that every edge cuts some cells.
        const int x = static_cast<int>(random() % (width + 28)) - 24;
        const int y = static_cast<int>(random() % (height + 20)) - 18;
        const std::uint16_t ink = static_cast<std::uint16_t>(random());
        const std::uint16_t paper = static_cast<std::uint16_t>(random());
        const bool opaque = random() % 2 == 0;

        const FencedCanvas before = fenced;
        bitmapfont::DrawString(fenced.canvas, x, y, text.data(), static_cast<int>(text.size()), ink,
                               opaque ? &paper : nullptr);
        ASSERT_EQ(fenced.words, Expected(before, x, y, text, ink, opaque ? &paper : nullptr))
            << "trial " << trial << ": " << width << "x" << height << " at " << x << "," << y;
        drawn += fenced.words != before.words;
    }
    EXPECT_GT(drawn, 200);  // the cases reach the canvas, not only its surroundings
}

TEST(BitmapFontTest, FarCoordinatesAndBadCanvasesDrawNothing) {
    FencedCanvas fenced(16, 16);
    const FencedCanvas before = fenced;
    const std::uint16_t paper = 1;
    bitmapfont::DrawString(fenced.canvas, 2147483647 - 3, 0, "xyz", 3, 7, &paper);
    bitmapfont::DrawString(fenced.canvas, -2147483647 - 1, 0, "xyz", 3, 7, &paper);
    bitmapfont::DrawString(fenced.canvas, 0, 2147483647, "xyz", 3, 7, &paper);
    bitmapfont::DrawString(fenced.canvas, 0, -2147483647 - 1, "xyz", 3, 7, &paper);
    bitmapfont::DrawString(fenced.canvas, 0, 0, "xyz", 0, 7, &paper);
    bitmapfont::DrawString(fenced.canvas, 0, 0, "xyz", -1, 7, &paper);
    bitmapfont::DrawString(fenced.canvas, 0, 0, nullptr, 3, 7, &paper);
    bitmapfont::Canvas16 narrowPitch = fenced.canvas;
    narrowPitch.pitchBytes = 2 * 16 - 2;
    bitmapfont::DrawString(narrowPitch, 0, 0, "xyz", 3, 7, &paper);
    bitmapfont::Canvas16 noPixels = fenced.canvas;
    noPixels.pixels = nullptr;
    bitmapfont::DrawString(noPixels, 0, 0, "xyz", 3, 7, &paper);
    EXPECT_EQ(fenced.words, before.words);
}

}  // namespace
