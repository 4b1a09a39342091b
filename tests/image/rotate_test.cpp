#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "display/pixel_format.h"
#include "image/image.h"

namespace {

std::uint16_t Word(const Image& image, int x, int y) {
    std::uint16_t word;
    std::memcpy(&word, image.pixels + (y * image.width + x) * 2, 2);
    return word;
}

void SetWord(Image& image, int x, int y, std::uint16_t word) {
    std::memcpy(image.pixels + (y * image.width + x) * 2, &word, 2);
}

// A source whose every pixel and alpha byte names its position: word 100 + 10y + x
// and alpha 10y + x.
void Number(Image& image, int width, int height) {
    image.Size(width, height, IMAGE_16BIT | IMAGE_ALPHA);
    image.SetPurpose(DRAW_ALPHA);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            SetWord(image, x, y, static_cast<std::uint16_t>(100 + 10 * y + x));
            image.alpha[y * width + x] = static_cast<std::uint8_t>(10 * y + x);
        }
    }
}

// Expects every destination pixel to hold the source pixel that `map` names
// for it, or the trim values (colour 0, alpha 255) where it names none.
template <typename Map>
void ExpectRotated(const Image& dest, Map map) {
    for (int y = 0; y < dest.height; ++y) {
        for (int x = 0; x < dest.width; ++x) {
            int sx = -1, sy = -1;
            map(x, y, sx, sy);
            const bool sampled = sx >= 0;
            EXPECT_EQ(Word(dest, x, y), sampled ? 100 + 10 * sy + sx : 0) << x << "," << y;
            EXPECT_EQ(dest.alpha[y * dest.width + x], sampled ? 10 * sy + sx : 255)
                << x << "," << y;
        }
    }
}

TEST(RotateTest, UnrotatedCopyIsCentredAndTrimmed) {
    // A 7 x 7 destination over a 4 x 4 source at angle 0: pixel centres fall
    // half-way between source pixels, x = column - 1.5, y = row - 1.5.
    Image source;
    Number(source, 4, 4);
    Image dest(7, 7, IMAGE_16BIT | IMAGE_ALPHA);
    std::memset(dest.pixels, 0xEE, dest.PixelBytes());
    std::memset(dest.alpha, 0x33, dest.AlphaBytes());

    Image& result = source.Rotate(dest, 0.0f, 1.0f);
    EXPECT_EQ(&result, &dest);
    EXPECT_EQ(dest.purpose, DRAW_ALPHA);
    // Column 5 maps to source column 3 but is trimmed all the same: the step
    // beyond it (column 6) is outside, and the row end is cut from the right.
    ExpectRotated(dest, [](int x, int y, int& sx, int& sy) {
        if (x >= 2 && x <= 4 && y >= 2 && y <= 5) {
            sx = x - 2;
            sy = y - 2;
        }
    });
}

TEST(RotateTest, QuarterTurnTurnsColumnsIntoRows) {
    Image source;
    Number(source, 4, 4);
    Image dest(5, 5, IMAGE_16BIT | IMAGE_ALPHA);
    source.Rotate(dest, 90.0f, 1.0f);
    // Counter-clockwise on the screen: the source's right column becomes the top
    // visible row, its top row the left visible column. Row 0 and column 0 lie
    // outside; column 4 is cut because the step beyond it is outside.
    ExpectRotated(dest, [](int x, int y, int& sx, int& sy) {
        if (y >= 1 && x >= 1 && x <= 3) {
            sx = 4 - y;
            sy = x - 1;
        }
    });
}

TEST(RotateTest, ScaleShrinksTheStep) {
    Image source;
    Number(source, 4, 4);
    // Scale 2 over a 9 x 9 destination: positions x = 0.5 * column - 0.25, so
    // each source column covers two destination pixels; the last one is cut.
    Image dest(9, 9, IMAGE_16BIT | IMAGE_ALPHA);
    source.Rotate(dest, 0.0f, 2.0f);
    const std::uint16_t expected[9] = {0, 110, 110, 111, 111, 112, 112, 113, 0};
    for (int x = 0; x < 9; ++x) EXPECT_EQ(Word(dest, x, 4), expected[x]) << x;
}

TEST(RotateTest, WideSourceStretchesOnlyTheColourPlanesVerticalStep) {
    // Width / height = 2 moves the colour plane's first row up by twice as much
    // as the alpha plane's: the two planes are sampled from different rows.
    Image source;
    Number(source, 8, 4);
    Image dest(7, 9, IMAGE_16BIT | IMAGE_ALPHA);
    source.Rotate(dest, 0.0f, 1.0f);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 7; ++x) {
            const bool column = x >= 1;
            const bool colourRow = y >= 7;
            const bool alphaRow = y >= 3 && y <= 6;
            EXPECT_EQ(Word(dest, x, y), column && colourRow ? 100 + 10 * (y - 7) + x - 1 : 0)
                << x << "," << y;
            EXPECT_EQ(dest.alpha[y * 7 + x], column && alphaRow ? 10 * (y - 3) + x - 1 : 255)
                << x << "," << y;
        }
    }
}

TEST(RotateTest, NothingHappensWithoutThePlanesItNeeds) {
    Image source;
    Number(source, 4, 4);

    // A source without rows has no width-to-height quotient and is left alone.
    Image flat(4, 0, IMAGE_16BIT | IMAGE_ALPHA);
    flat.SetPurpose(DRAW_MASKED);
    Image dest(3, 3, IMAGE_16BIT | IMAGE_ALPHA);
    std::memset(dest.pixels, 0x44, dest.PixelBytes());
    std::memset(dest.alpha, 0x44, dest.AlphaBytes());
    flat.Rotate(dest, 30.0f, 1.0f);
    EXPECT_EQ(Word(dest, 1, 1), 0x4444);
    EXPECT_EQ(dest.alpha[4], 0x44);

    // An empty destination is not written and gets no purpose from the halves.
    Image empty;
    source.RotateColour(empty, 45.0f, 1.0f);
    source.RotateAlpha(empty, 45.0f, 1.0f);
    EXPECT_EQ(empty.purpose, 0);

    // Each half touches its own plane only.
    Image colour(5, 5, IMAGE_16BIT | IMAGE_ALPHA);
    source.RotateColour(colour, 90.0f, 1.0f);
    EXPECT_EQ(Word(colour, 1, 1), 100 + 3);
    EXPECT_EQ(colour.alpha[1 * 5 + 1], 0);
    EXPECT_EQ(colour.purpose, DRAW_ALPHA);

    // A keyed source has no alpha plane: the destination's alpha stays as it was.
    Image keyed;
    Number(keyed, 4, 4);
    keyed.BuildMask();
    ASSERT_EQ(keyed.alpha, nullptr);
    Image target(5, 5, IMAGE_16BIT | IMAGE_ALPHA);
    std::memset(target.alpha, 0x44, target.AlphaBytes());
    keyed.Rotate(target, 90.0f, 1.0f);
    EXPECT_EQ(Word(target, 1, 1), 100 + 3);
    EXPECT_EQ(target.alpha[1 * 5 + 1], 0x44);
}

TEST(RotateTest, ZeroScaleTrimsEverything) {
    Image source;
    Number(source, 4, 4);
    Image dest(3, 3, IMAGE_16BIT | IMAGE_ALPHA);
    std::memset(dest.pixels, 0x44, dest.PixelBytes());
    source.Rotate(dest, 30.0f, 0.0f);
    ExpectRotated(dest, [](int, int, int&, int&) {});
}

}  // namespace
