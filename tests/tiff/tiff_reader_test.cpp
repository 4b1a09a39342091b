#include <cstdint>
#include <string>
#include <vector>

#include "image/image.h"
#include "platform/headless/control.h"
#include "tests/support/engine_fixture.h"
#include "tests/tiff/tiff_builder.h"
#include "tiff/tiff_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using TiffReaderTest = EngineTest;

Bytes Colour(const Image& image) {
    return Bytes(image.pixels, image.pixels + std::size_t(image.width) * image.height * 3);
}

Bytes Alpha(const Image& image) {
    return Bytes(image.alpha, image.alpha + std::size_t(image.width) * image.height);
}

TEST_F(TiffReaderTest, TwoPixelIntelRgbGivesItsBytesAsTheyAre) {
    TiffBuilder file = RgbFile(2, 1, 1);
    file.pixels = {10, 20, 30, 40, 50, 60};
    file.Write("a.tif");
    Image image;
    TiffFile tiff;
    tiff.LoadTiff("a.tif", &image);
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 1);
    EXPECT_EQ(image.format, IMAGE_32BIT);
    EXPECT_EQ(Colour(image), (Bytes{10, 20, 30, 40, 50, 60}));
    EXPECT_EQ(tiff.done, 1);
    EXPECT_EQ(tiff.mode, TIFF_RGB);
    EXPECT_EQ(tiff.bitsPerPixel, 24);
    EXPECT_EQ(tiff.rowBytes, 6);
    EXPECT_EQ(tiff.byteOrder, ORDER_IBF);
    EXPECT_STREQ(tiff.name, "a.tif");
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(TiffReaderTest, FourthSampleIsTheAlphaPlaneOnlyWithExtraSamples) {
    for (bool motorola : {false, true}) {
        TiffBuilder file = RgbFile(2, 1, 1, 4, 8, motorola);
        file.pixels = {10, 20, 30, 40, 50, 60, 70, 80};
        file.Write("a.tif");
        Image image;
        TiffFile tiff;
        tiff.LoadTiff("a.tif", &image);
        EXPECT_EQ(image.format, IMAGE_32BIT | IMAGE_ALPHA);
        EXPECT_EQ(Colour(image), (Bytes{10, 20, 30, 50, 60, 70}));
        EXPECT_EQ(Alpha(image), (Bytes{40, 80}));
        EXPECT_EQ(tiff.extraSamples, 1);
        EXPECT_EQ(tiff.bitsPerSample[3], 8);

        // Without ExtraSamples the fourth sample keeps its room in each pixel
        // but is no alpha.
        file.Remove(338);
        file.Write("b.tif");
        Image plain;
        TiffFile noAlpha;
        noAlpha.LoadTiff("b.tif", &plain);
        EXPECT_EQ(plain.format, IMAGE_32BIT);
        EXPECT_EQ(Colour(plain), (Bytes{10, 20, 30, 50, 60, 70}));
        EXPECT_EQ(noAlpha.rowBytes, 8);
    }
}

TEST_F(TiffReaderTest, AnyMarkButIntelIsReadAsMotorolaOrder) {
    for (const char* mark : {"MM", "XY"}) {
        TiffBuilder file = RgbFile(2, 3, 2, 3, 8, true);
        file.mark = mark;
        file.Write("a.tif");
        Image image;
        TiffFile tiff;
        tiff.LoadTiff("a.tif", &image);
        EXPECT_EQ(tiff.byteOrder, ORDER_MBF);
        ASSERT_EQ(image.width, 2);
        ASSERT_EQ(image.height, 3);
        EXPECT_EQ(tiff.stripCount, 2);
        EXPECT_EQ(Colour(image), file.pixels);
    }
}

TEST_F(TiffReaderTest, WideSamplesGiveTheirHighByteInTheFilesOwnOrder) {
    struct Case {
        bool motorola;
        int bits;
        Bytes sample;
    };
    for (const Case& c :
         {Case{false, 16, {0x34, 0x12}}, Case{true, 16, {0x12, 0x34}},
          Case{false, 32, {0x78, 0x56, 0x34, 0x12}}, Case{true, 32, {0x12, 0x34, 0x56, 0x78}}}) {
        TiffBuilder file = RgbFile(1, 1, 1, 4, c.bits, c.motorola);
        file.pixels.clear();
        for (int s = 0; s < 4; ++s)
            file.pixels.insert(file.pixels.end(), c.sample.begin(), c.sample.end());
        file.pixels[file.pixels.size() - c.sample.size() + (c.motorola ? 0 : c.sample.size() - 1)] =
            0x99;
        file.Write("a.tif");
        Image image;
        TiffFile tiff;
        tiff.LoadTiff("a.tif", &image);
        EXPECT_EQ(Colour(image), (Bytes{0x12, 0x12, 0x12})) << c.bits << " bits";
        EXPECT_EQ(Alpha(image), (Bytes{0x99})) << c.bits << " bits";
    }
}

TEST_F(TiffReaderTest, EachStripFillsItsRowsFromItsOwnOffset) {
    // Three strips of 10 rows for 25 rows, stored in the file last strip first.
    const int width = 2, rowBytes = 6;
    TiffBuilder file = RgbFile(width, 25, 10);
    Bytes strip[3];
    for (int s = 0; s < 3; ++s)
        strip[s].assign(std::size_t(s == 2 ? 5 : 10) * rowBytes, Bytes::value_type(s + 1));
    file.pixels.clear();
    for (int s = 2; s >= 0; --s)
        file.pixels.insert(file.pixels.end(), strip[s].begin(), strip[s].end());
    file.SetStrips(
        {std::uint32_t(strip[2].size() + strip[1].size()), std::uint32_t(strip[2].size()), 0});
    file.Write("a.tif");
    Image image;
    TiffFile tiff;
    tiff.LoadTiff("a.tif", &image);
    ASSERT_EQ(image.height, 25);
    EXPECT_EQ(tiff.stripCount, 3);
    for (int y = 0; y < 25; ++y)
        EXPECT_EQ(image.pixels[std::size_t(y) * rowBytes], y / 10 + 1) << "row " << y;
}

TEST_F(TiffReaderTest, StripOffsetsMayBeShortsEvenInsideTheEntry) {
    for (bool motorola : {false, true}) {
        TiffBuilder file = RgbFile(3, 4, 2, 3, 8, motorola);
        file.SetStrips({0, 18}, kShort);
        file.Write("a.tif");
        Image image;
        TiffFile tiff;
        tiff.LoadTiff("a.tif", &image);
        EXPECT_EQ(Colour(image), file.pixels);
    }
}

TEST_F(TiffReaderTest, AnotherImageInTheFileIsAnnouncedOnceAndSkipped) {
    TiffBuilder file = RgbFile(2, 2, 2);
    file.nextDirectory = 8;
    file.Write("a.tif");
    Image image;
    TiffFile tiff;
    testing::internal::CaptureStdout();
    tiff.LoadTiff("a.tif", &image);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Load:Tiff: (Warning only) File contains multiple tiff images - reading only "
              "first.\n");
    EXPECT_EQ(Colour(image), file.pixels);
    EXPECT_TRUE(tiff.multipleImages);
}

TEST_F(TiffReaderTest, MissingFileShowsTheBoxAndStillPreparesTheEmptyImage) {
    Image image;
    TiffFile tiff;
    EXPECT_EQ(tiff.Load("Images\\none.tif", &image, DRAW_MASKED), &image);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    const headless::MessageBoxRecord& box = headless::MessageBoxes()[0];
    EXPECT_EQ(box.owner, nullptr);
    EXPECT_EQ(box.caption, "Corvane Error");
    EXPECT_EQ(box.flags, static_cast<UINT>(MB_OK));
    EXPECT_EQ(box.text,
              ".TIF File Not Found: Images\\none.tif\n\nMake sure paths and names of TIF images "
              "are correct. If you started the game outside of Visual C++, make sure the "
              "executable is in the correct location to find images.");
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.purpose, DRAW_MASKED);
    EXPECT_EQ(tiff.done, 0);
    EXPECT_EQ(ReadDebugLog(), "File::Open: File does not exist for read.\n  ");
}

TEST_F(TiffReaderTest, CompressedDataIsAnnouncedThenReadAsItStands) {
    TiffBuilder file = RgbFile(2, 2, 2);
    file.Set(259, kShort, 1, 5);
    file.Write("a.tif");
    Image image;
    TiffFile tiff;
    tiff.LoadTiff("a.tif", &image);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].caption, "Corvane Error");
    EXPECT_EQ(headless::MessageBoxes()[0].text,
              "TIF Load Error: LZW Compression not supported.\n\nCorvane does not support LZW "
              "compressed TIF images. Save your TIF image again and be sure that the LZW "
              "compression option is turned off.\n");
    EXPECT_EQ(tiff.compression, 5);
    EXPECT_EQ(Colour(image), file.pixels);
}

TEST_F(TiffReaderTest, RowsLongerThanTheUsualBufferAreReadWhole) {
    // 3400 pixels of three bytes: 10200 bytes a row.
    TiffBuilder file = RgbFile(3400, 3, 2);
    file.Write("a.tif");
    Image image;
    TiffFile tiff;
    tiff.LoadTiff("a.tif", &image);
    EXPECT_EQ(tiff.rowBytes, 10200);
    EXPECT_EQ(Colour(image), file.pixels);
}

TEST_F(TiffReaderTest, GreyscaleBilevelAndTheirPhotometricSense) {
    TiffBuilder grey = RgbFile(3, 1, 1, 1, 8);
    grey.pixels = {0, 100, 255};
    grey.Write("grey.tif");
    grey.Set(262, kShort, 1, 0);
    grey.Write("grey_white_is_zero.tif");

    TiffBuilder bilevel = RgbFile(10, 1, 1, 1, 1);
    bilevel.pixels = {0xA5, 0xC0};
    bilevel.Set(262, kShort, 1, 1);
    bilevel.Write("bilevel.tif");
    bilevel.Remove(258);
    bilevel.Set(262, kShort, 1, 0);
    bilevel.Write("bilevel_white_is_zero.tif");

    struct Case {
        const char* path;
        Bytes grey;
    };
    for (const Case& c :
         {Case{"grey.tif", {0, 100, 255}}, Case{"grey_white_is_zero.tif", {255, 155, 0}},
          Case{"bilevel.tif", {255, 0, 255, 0, 0, 255, 0, 255, 255, 255}},
          Case{"bilevel_white_is_zero.tif", {0, 255, 0, 255, 255, 0, 255, 0, 0, 0}}}) {
        Image image;
        TiffFile tiff;
        tiff.LoadTiff(c.path, &image);
        Bytes expected;
        for (std::uint8_t v : c.grey) expected.insert(expected.end(), {v, v, v});
        EXPECT_EQ(Colour(image), expected) << c.path;
        EXPECT_EQ(image.format, IMAGE_32BIT) << c.path;
    }
}

TEST_F(TiffReaderTest, TagsOutOfOrderStillCoverEveryStrip) {
    TiffBuilder file = RgbFile(2, 6, 2);
    const std::uint32_t height = 6;
    file.Remove(257);
    file.Set(257, kLong, 1, height);  // now after RowsPerStrip
    file.Write("a.tif");
    Image image;
    TiffFile tiff;
    tiff.LoadTiff("a.tif", &image);
    EXPECT_EQ(tiff.stripCount, 3);
    EXPECT_EQ(Colour(image), file.pixels);
}

TEST_F(TiffReaderTest, RowsPerStripBeyondTheHeightMeansOneStrip) {
    TiffBuilder file = RgbFile(2, 3, 3);
    file.Set(278, kLong, 1, 0xFFFFFFFFu);
    file.Write("a.tif");
    Image image;
    TiffFile tiff;
    tiff.LoadTiff("a.tif", &image);
    EXPECT_EQ(tiff.stripCount, 1);
    EXPECT_EQ(tiff.rowsPerStrip, 3);
    EXPECT_EQ(Colour(image), file.pixels);
}

TEST_F(TiffReaderTest, SampleSizesWithoutADecoderLeaveBlackRows) {
    TiffBuilder file = RgbFile(4, 2, 2, 3, 4);
    file.Write("a.tif");
    Image image;
    TiffFile tiff;
    tiff.LoadTiff("a.tif", &image);
    EXPECT_EQ(tiff.rowBytes, 6);
    EXPECT_EQ(Colour(image), Bytes(24, 0));
}

TEST_F(TiffReaderTest, LoadPreparesTheImageForItsPurpose) {
    TiffBuilder file = RgbFile(2, 1, 1);
    file.pixels = {255, 255, 255, 0, 0, 0};
    file.Write("a.tif");
    Image image;
    TiffFile tiff;
    tiff.Load("a.tif", &image, DRAW_PLAIN);
    EXPECT_EQ(image.purpose, DRAW_PLAIN);
    EXPECT_TRUE(image.format & IMAGE_16BIT);
    EXPECT_FALSE(image.format & IMAGE_32BIT);
}

TEST_F(TiffReaderTest, InspectReadsTheDirectoryWithoutBoxesOrPixels) {
    TiffBuilder file = RgbFile(5, 4, 3, 4, 16, true);
    file.Set(259, kShort, 1, 5);
    file.Write("a.tif");
    TiffFile tiff;
    EXPECT_TRUE(tiff.Inspect("a.tif"));
    EXPECT_EQ(tiff.width, 5);
    EXPECT_EQ(tiff.height, 4);
    EXPECT_EQ(tiff.stripCount, 2);
    EXPECT_EQ(tiff.samplesPerPixel, 4);
    EXPECT_EQ(tiff.bitsPerSample[0], 16);
    EXPECT_EQ(tiff.compression, 5);
    EXPECT_EQ(tiff.byteOrder, ORDER_MBF);
    EXPECT_EQ(tiff.imageFormat, IMAGE_32BIT | IMAGE_ALPHA);
    EXPECT_TRUE(headless::MessageBoxes().empty());

    file.Set(278, kLong, 1, 0);
    file.Write("b.tif");
    EXPECT_FALSE(tiff.Inspect("b.tif"));
    EXPECT_EQ(tiff.problem, "RowsPerStrip is missing or 0.");
    EXPECT_FALSE(tiff.Inspect("missing.tif"));
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

}  // namespace
