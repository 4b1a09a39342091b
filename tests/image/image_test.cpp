#include "image/image.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "display/pixel_format.h"

namespace {

void Use565() {
    SetPixelFormat(0xF800, 0x07E0, 0x001F);
}
void Use555() {
    SetPixelFormat(0x7C00, 0x03E0, 0x001F);
}

struct Rgba {
    std::uint8_t r, g, b, a;
};

// A true-colour image as the file reader leaves it, with an alpha plane when
// withAlpha is set.
void LoadTrueColour(Image& image, int width, const std::vector<Rgba>& pixels, bool withAlpha) {
    const int height = static_cast<int>(pixels.size()) / width;
    image.Size(width, height, withAlpha ? IMAGE_32BIT | IMAGE_ALPHA : IMAGE_32BIT);
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        image.pixels[i * 3 + 0] = pixels[i].r;
        image.pixels[i * 3 + 1] = pixels[i].g;
        image.pixels[i * 3 + 2] = pixels[i].b;
        if (withAlpha) image.alpha[i] = pixels[i].a;
    }
}

std::uint16_t Word(const Image& image, int index) {
    std::uint16_t word;
    std::memcpy(&word, image.pixels + index * 2, 2);
    return word;
}

TEST(ImageTest, SizeAllocatesPlanesByFormat) {
    EXPECT_EQ(Image::BytesPerPixel(IMAGE_16BIT | IMAGE_32BIT), 2) << "first depth flag decides";
    EXPECT_EQ(Image::BytesPerPixel(IMAGE_4BIT | IMAGE_EXTRABYTE), 2);
    EXPECT_EQ(Image::BytesPerPixel(IMAGE_ALPHA | IMAGE_EXTRABYTE), 0);
    EXPECT_EQ(Image::Depth(IMAGE_8BIT | IMAGE_16BIT), 8);
    EXPECT_EQ(Image::Depth(IMAGE_MASKED | IMAGE_ALPHA), 0);

    Image image(3, 2, IMAGE_32BIT | IMAGE_EXTRABYTE);
    EXPECT_EQ(image.PixelBytes(), 3u * 2 * 4);
    EXPECT_EQ(image.AlphaBytes(), 3u * 2) << "any format flag brings an alpha plane";
    EXPECT_EQ(image.format, IMAGE_32BIT | IMAGE_EXTRABYTE);

    // Format 0 keeps the old alpha plane and gives an empty pixel plane.
    const std::uint8_t* oldAlpha = image.alpha;
    image.Size(4, 4, 0);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.alpha, oldAlpha);
    EXPECT_EQ(image.AlphaBytes(), 6u);
    EXPECT_EQ(image.width, 4);
    EXPECT_EQ(image.format, 0);

    // A negative size gives an empty image instead of a failed allocation.
    image.Size(-5, 3, IMAGE_16BIT);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.alpha, nullptr);
    image.Fill(31, 63, 31);
    image.SetPixel(0, 0, 1, 1, 1);
}

TEST(ImageTest, TrueColourConvertsToTheTopBitsOfEachComponent) {
    Use565();
    Image image;
    LoadTrueColour(image, 4,
                   {{255, 255, 255, 0}, {8, 4, 8, 0}, {7, 3, 7, 0}, {0x80, 0x40, 0x20, 0}}, true);
    image.alpha[2] = 77;
    image.ConvertDepth(IMAGE_16BIT);
    EXPECT_EQ(Word(image, 0), 0xFFFF);
    EXPECT_EQ(Word(image, 1), (1 << 11) | (1 << 5) | 1);
    EXPECT_EQ(Word(image, 2), 0);
    EXPECT_EQ(Word(image, 3), (16 << 11) | (16 << 5) | 4);
    EXPECT_EQ(image.PixelBytes(), 8u);
    EXPECT_EQ(image.format, IMAGE_16BIT | IMAGE_ALPHA);
    EXPECT_EQ(image.alpha[2], 77) << "the alpha plane is not touched";

    Use555();
    LoadTrueColour(image, 2, {{255, 255, 255, 0}, {8, 8, 8, 0}}, false);
    image.ConvertDepth(IMAGE_16BIT);
    EXPECT_EQ(Word(image, 0), 0x7FFF);
    EXPECT_EQ(Word(image, 1), (1 << 10) | (1 << 5) | 1);
}

TEST(ImageTest, ConvertDepthOnlyChangesFlagsWhenThereIsNothingToConvert) {
    Use565();
    Image empty;
    empty.ConvertDepth(IMAGE_16BIT);
    EXPECT_EQ(empty.format, IMAGE_16BIT);
    EXPECT_EQ(empty.pixels, nullptr);

    Image display(2, 1, IMAGE_16BIT | IMAGE_ALPHA);
    display.SetPixel(0, 0, 3, 4, 5);
    const std::uint8_t* before = display.pixels;
    display.ConvertDepth(IMAGE_16BIT);
    EXPECT_EQ(display.pixels, before);
    EXPECT_EQ(display.format, IMAGE_16BIT | IMAGE_ALPHA);
    int r, g, b;
    display.GetPixel(0, 0, r, g, b);
    EXPECT_EQ(r * 10000 + g * 100 + b, 30405);
}

TEST(ImageTest, PixelAccessIsBoundsChecked) {
    for (bool is565 : {true, false}) {
        SCOPED_TRACE(is565 ? "5:6:5" : "5:5:5");
        is565 ? Use565() : Use555();
        Image image;
        image.Create(3, 2, DRAW_PLAIN);
        image.Fill(1, 2, 3);
        image.SetPixel(2, 1, 31, is565 ? 63 : 31, 0);
        image.SetPixel(3, 0, 9, 9, 9);
        image.SetPixel(0, 2, 9, 9, 9);
        image.SetPixel(-1, 0, 9, 9, 9);
        image.SetPixel(0, -1, 9, 9, 9);
        int r = -1, g = -1, b = -1;
        for (int i = 0; i < 5; ++i) {
            image.GetPixel(i % 3, i / 3, r, g, b);
            EXPECT_EQ(r * 10000 + g * 100 + b, 10203) << "pixel " << i;
        }
        image.GetPixel(2, 1, r, g, b);
        EXPECT_EQ(r, 31);
        EXPECT_EQ(g, is565 ? 63 : 31);
        EXPECT_EQ(b, 0);
        image.GetPixel(-1, 0, r, g, b);
        EXPECT_EQ(r + g + b, 0);
        r = g = b = 7;
        image.GetPixel(0, 2, r, g, b);
        EXPECT_EQ(r + g + b, 0);
    }
}

TEST(ImageTest, CreateMakesABlackImageForItsPurpose) {
    Use565();
    Image plain;
    plain.Create(3, 2, DRAW_PLAIN);
    EXPECT_EQ(plain.format, IMAGE_16BIT);
    EXPECT_EQ(plain.PixelBytes(), 12u);
    EXPECT_NE(plain.alpha, nullptr) << "a non-zero format always sizes an alpha plane";
    EXPECT_EQ(plain.purpose, DRAW_PLAIN);
    EXPECT_EQ(plain.fresh, 0);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(Word(plain, i), 0);

    Image blended;
    blended.Create(2, 2, DRAW_ADDITIVE);
    EXPECT_EQ(blended.format, IMAGE_16BIT | IMAGE_ALPHA);
    EXPECT_EQ(blended.AlphaBytes(), 4u);

    // Another purpose sizes nothing but still blackens the old size.
    Image other;
    other.Create(2, 2, DRAW_MASKED);
    other.Fill(5, 5, 5);
    const std::uint8_t* before = other.pixels;
    other.Create(10, 10, 7);
    EXPECT_EQ(other.pixels, before);
    EXPECT_EQ(other.width, 2);
    EXPECT_EQ(other.height, 2);
    EXPECT_EQ(other.purpose, 7);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Word(other, i), 0);

    // A plane with less than a word per pixel is not a display-format image:
    // blackening it writes nothing (and nothing past its end).
    Image narrow(4, 1, IMAGE_8BIT);
    std::memset(narrow.pixels, 0x11, 4);
    narrow.Create(4, 1, 9);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(narrow.pixels[i], 0x11);
}

TEST(ImageTest, PaintedBlackStaysVisibleInAMaskedPicture) {
    Use565();
    Image canvas;
    canvas.Create(3, 1, DRAW_MASKED);
    canvas.SetPixel(1, 0, COLOUR_BLACK);
    canvas.SetPixel(2, 0, Colour(255, 0, 0));
    canvas.SetPixel(3, 0, COLOUR_WHITE);
    canvas.SetPixel(-1, 0, COLOUR_WHITE);
    EXPECT_EQ(Word(canvas, 0), 0) << "what Create left stays transparent";
    EXPECT_EQ(Word(canvas, 1), 1) << "opaque black, as a loaded picture keeps it";
    EXPECT_EQ(Word(canvas, 2), 0xF800);
    canvas.Fill(COLOUR_BLACK);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Word(canvas, i), 1);

    // Only the colour key needs this: in a plain picture black is the word 0.
    Image plain;
    plain.Create(2, 1, DRAW_PLAIN);
    plain.Fill(COLOUR_WHITE);
    plain.SetPixel(0, 0, COLOUR_BLACK);
    EXPECT_EQ(Word(plain, 0), 0);
    EXPECT_EQ(Word(plain, 1), 0xFFFF);
}

TEST(ImageTest, MaskedWithoutAlphaKeepsBlackTransparent) {
    Use565();
    Image image;
    LoadTrueColour(image, 3, {{0, 0, 0, 0}, {255, 0, 0, 0}, {7, 3, 7, 0}}, false);
    image.Prepare(DRAW_MASKED);
    EXPECT_EQ(Word(image, 0), 0);
    EXPECT_EQ(Word(image, 1), 0xF800);
    EXPECT_EQ(Word(image, 2), 0) << "too dark for the display format: transparent";
    EXPECT_EQ(image.format, IMAGE_16BIT);
    EXPECT_EQ(image.purpose, DRAW_MASKED);
    EXPECT_EQ(image.fresh, 0);
}

TEST(ImageTest, MaskedWithAlphaKeysOnCoverageAndKeepsOpaqueBlack) {
    for (bool is565 : {true, false}) {
        SCOPED_TRACE(is565 ? "5:6:5" : "5:5:5");
        is565 ? Use565() : Use555();
        Image image;
        LoadTrueColour(image, 4, {{0, 0, 0, 255}, {255, 255, 255, 0}, {0, 0, 255, 1}, {0, 0, 0, 0}},
                       true);
        image.Prepare(DRAW_MASKED);
        EXPECT_EQ(Word(image, 0), 1) << "opaque black is the smallest visible word";
        EXPECT_EQ(Word(image, 1), 0) << "alpha 0 is transparent whatever the colour";
        EXPECT_EQ(Word(image, 2), 0x001F) << "any coverage counts as opaque";
        EXPECT_EQ(Word(image, 3), 0);
        EXPECT_EQ(image.alpha, nullptr);
        EXPECT_EQ(image.AlphaBytes(), 0u);
        EXPECT_EQ(image.format, IMAGE_16BIT | IMAGE_MASKED);
    }
}

TEST(ImageTest, AlphaPurposePremultipliesAndStoresTheComplement) {
    Use565();
    Image image;
    LoadTrueColour(image, 3, {{255, 255, 255, 255}, {255, 255, 255, 0}, {255, 0, 255, 128}}, true);
    image.Prepare(DRAW_ALPHA);
    int r, g, b;
    image.GetPixel(0, 0, r, g, b);
    EXPECT_EQ(r * 10000 + g * 100 + b, 306230) << "(c x 255) >> 8: 31 becomes 30, 63 becomes 62";
    EXPECT_EQ(image.alpha[0], 0);
    EXPECT_EQ(Word(image, 1), 0);
    EXPECT_EQ(image.alpha[1], 255);
    image.GetPixel(2, 0, r, g, b);
    EXPECT_EQ(r * 10000 + g * 100 + b, 150015);
    EXPECT_EQ(image.alpha[2], 127);
    EXPECT_EQ(image.format, IMAGE_16BIT | IMAGE_ALPHA);
}

TEST(ImageTest, AdditivePurposeDerivesAlphaFromBrightness) {
    struct Case {
        std::uint32_t red, green, blue;
        int white;  // channel values of white after premultiplication
        int keep;   // stored complement for white
    };
    const Case cases[] = {
        {0xF800, 0x07E0, 0x001F, (20 * 100 + 40) * 100 + 20, 255 - 166},
        {0x7C00, 0x03E0, 0x001F, (15 * 100 + 15) * 100 + 15, 255 - 124},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.green);
        SetPixelFormat(c.red, c.green, c.blue);
        Image image;
        LoadTrueColour(image, 3, {{255, 255, 255, 0}, {0, 0, 0, 0}, {0, 0, 255, 0}}, false);
        image.Prepare(DRAW_ADDITIVE);
        ASSERT_NE(image.alpha, nullptr);
        EXPECT_EQ(image.format, IMAGE_16BIT | IMAGE_ALPHA);
        int r, g, b;
        image.GetPixel(0, 0, r, g, b);
        EXPECT_EQ((r * 100 + g) * 100 + b, c.white);
        EXPECT_EQ(image.alpha[0], c.keep);
        EXPECT_EQ(Word(image, 1), 0);
        EXPECT_EQ(image.alpha[1], 255);
        // Pure blue: a = 31 * 4 / 3 = 41, blue (31 x 41) >> 8 = 4.
        image.GetPixel(2, 0, r, g, b);
        EXPECT_EQ((r * 100 + g) * 100 + b, 4);
        EXPECT_EQ(image.alpha[2], 255 - 41);
    }
}

TEST(ImageTest, PremultiplyOnTrueColourScalesBytes) {
    Image withAlpha;
    LoadTrueColour(withAlpha, 1, {{200, 100, 50, 128}}, true);
    withAlpha.PremultiplyAlpha();
    EXPECT_EQ(withAlpha.pixels[0], 100);
    EXPECT_EQ(withAlpha.pixels[1], 50);
    EXPECT_EQ(withAlpha.pixels[2], 25);
    EXPECT_EQ(withAlpha.alpha[0], 127);

    Image derived;
    LoadTrueColour(derived, 1, {{200, 100, 60, 0}}, false);
    derived.PremultiplyAlpha();
    // a = (200 + 100 + 60) / 3 = 120.
    EXPECT_EQ(derived.pixels[0], 200 * 120 >> 8);
    EXPECT_EQ(derived.pixels[2], 60 * 120 >> 8);
    EXPECT_EQ(derived.alpha[0], 255 - 120);
    EXPECT_EQ(derived.format, IMAGE_32BIT | IMAGE_ALPHA);
}

TEST(ImageTest, EmptyAndUnholdableImagesPrepareHarmlessly) {
    Use565();
    // Sizes whose planes no allocation can hold: their byte counts overflow
    // 32 bits, or 64 bits when taken at four bytes a pixel.
    const int sizes[][2] = {{0, 0}, {65536, 65536}, {0x7FFFFFFF, 3}, {0x7FFFFFFF, 0x7FFFFFFF}};
    for (const auto& size : sizes) {
        for (std::int8_t purpose : {DRAW_PLAIN, DRAW_MASKED, DRAW_ALPHA, DRAW_ADDITIVE}) {
            SCOPED_TRACE(std::to_string(size[0]) + " x " + std::to_string(size[1]) + ", purpose " +
                         std::to_string(purpose));
            Image image;
            if (size[0] > 0) image.Size(size[0], size[1], IMAGE_32BIT | IMAGE_EXTRABYTE);
            image.Prepare(purpose);
            EXPECT_EQ(image.pixels, nullptr);
            EXPECT_EQ(image.Words(), nullptr);
            EXPECT_EQ(image.AlphaPlane(), nullptr);
            EXPECT_EQ(image.purpose, purpose);
            EXPECT_TRUE(image.format & IMAGE_16BIT);
            const bool derivesAlpha = purpose == DRAW_ALPHA || purpose == DRAW_ADDITIVE;
            EXPECT_EQ(Image::HasAlpha(image.format) != 0, derivesAlpha);
            image.Fill(31, 63, 31);
            image.SetPixel(1, 1, 1, 1, 1);
            int r = 1, g = 1, b = 1;
            image.GetPixel(1, 1, r, g, b);
            EXPECT_EQ(r + g + b, 0);
        }
    }
}

}  // namespace
