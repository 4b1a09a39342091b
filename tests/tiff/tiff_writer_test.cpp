#include <tiffio.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "image/image.h"
#include "tests/support/engine_fixture.h"
#include "tests/tiff/tiff_builder.h"
#include "tiff/tiff_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using TiffWriterTest = EngineTest;

// A true-colour image with these bytes, as the reader makes them.
void MakeTrueColour(Image& image, int width, int height, const Bytes& bytes) {
    image.Size(width, height, IMAGE_32BIT);
    std::copy(bytes.begin(), bytes.end(), image.pixels);
}

void SaveRgb(const char* path, Image& image) {
    TiffFile tiff;
    tiff.mode = TIFF_RGB;
    tiff.bitsPerPixel = 8;
    tiff.Save(path, &image);
}

// Little-endian pieces of the expected file.
void Short(Bytes& out, std::uint16_t v) {
    out.insert(out.end(), {std::uint8_t(v), std::uint8_t(v >> 8)});
}
void Long(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}
void Entry(Bytes& out, std::uint16_t tag, std::uint16_t type, std::uint32_t count,
           std::uint32_t value) {
    Short(out, tag);
    Short(out, type);
    Long(out, count);
    if (type == kShort && count == 1) {
        Short(out, std::uint16_t(value));
        Short(out, 0);
    } else {
        Long(out, value);
    }
}

TEST_F(TiffWriterTest, TwoPixelImageMakesTheFixedLayoutOf210Bytes) {
    Image image;
    MakeTrueColour(image, 2, 1, {10, 20, 30, 40, 50, 60});
    TiffFile tiff;
    tiff.mode = TIFF_RGB;
    tiff.bitsPerPixel = 8;
    tiff.Save("out.tif", &image);

    Bytes expected = {0x49, 0x49};
    Short(expected, 42);
    Long(expected, 8);
    Short(expected, 14);
    Entry(expected, 254, kLong, 1, 0);
    Entry(expected, 256, kShort, 1, 2);
    Entry(expected, 257, kShort, 1, 1);
    Entry(expected, 258, kShort, 3, 182);
    Entry(expected, 259, kShort, 1, 1);
    Entry(expected, 262, kShort, 1, 2);
    Entry(expected, 273, kLong, 1, 204);
    Entry(expected, 277, kShort, 1, 3);
    Entry(expected, 278, kShort, 1, 1);
    Entry(expected, 279, kLong, 1, 6);
    Entry(expected, 282, kRational, 1, 188);
    Entry(expected, 283, kRational, 1, 196);
    Entry(expected, 296, kShort, 1, 2);
    Entry(expected, 320, kShort, 0, 0);
    Long(expected, 0);
    for (int i = 0; i < 3; ++i) Short(expected, 8);
    for (int i = 0; i < 4; ++i) Long(expected, 1);
    expected.insert(expected.end(), {10, 20, 30, 40, 50, 60});

    EXPECT_EQ(ReadBytes("out.tif"), expected);
    EXPECT_EQ(expected.size(), 210u);
    EXPECT_EQ(tiff.done, 1);
    EXPECT_EQ(tiff.rowBytes, 6);
    EXPECT_EQ(tiff.stripByteCounts, 6);
    EXPECT_EQ(tiff.samplesPerPixel, 3);
    EXPECT_EQ(tiff.photometric, 2);
    EXPECT_EQ(tiff.stripCount, 1);
}

TEST_F(TiffWriterTest, WidthEntryOfA300PixelImage) {
    Image image;
    MakeTrueColour(image, 300, 1, Bytes(900, 7));
    SaveRgb("out.tif", image);
    const Bytes bytes = ReadBytes("out.tif");
    ASSERT_EQ(bytes.size(), 204u + 900u);
    EXPECT_EQ(Bytes(bytes.begin() + 22, bytes.begin() + 34),
              (Bytes{0x00, 0x01, 0x03, 0x00, 0x01, 0x00, 0x00, 0x00, 0x2C, 0x01, 0x00, 0x00}));
}

TEST_F(TiffWriterTest, SavedFilesLoadBackToTheSameBytesHereAndInLibtiff) {
    std::mt19937 random(1234);
    for (int width : {1, 7, 64, 3400}) {
        const int height = 5;
        Bytes bytes(std::size_t(width) * height * 3);
        for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
        Image image;
        MakeTrueColour(image, width, height, bytes);
        SaveRgb("out.tif", image);

        Image back;
        TiffFile reader;
        reader.LoadTiff("out.tif", &back);
        ASSERT_EQ(back.width, width);
        ASSERT_EQ(back.height, height);
        EXPECT_EQ(Bytes(back.pixels, back.pixels + bytes.size()), bytes) << width;

        TIFF* tif = TIFFOpen("out.tif", "r");
        ASSERT_NE(tif, nullptr);
        Bytes line(std::size_t(width) * 3), fromLibtiff;
        for (int y = 0; y < height; ++y) {
            ASSERT_EQ(TIFFReadScanline(tif, line.data(), std::uint32_t(y), 0), 1);
            fromLibtiff.insert(fromLibtiff.end(), line.begin(), line.end());
        }
        TIFFClose(tif);
        EXPECT_EQ(fromLibtiff, bytes) << width;
    }
}

TEST_F(TiffWriterTest, SidesBeyond65535AreWrittenAsLongs) {
    Image image;
    MakeTrueColour(image, 70000, 1, Bytes(210000, 3));
    SaveRgb("out.tif", image);
    const Bytes bytes = ReadBytes("out.tif");
    EXPECT_EQ(Bytes(bytes.begin() + 22, bytes.begin() + 34),
              (Bytes{0x00, 0x01, 0x04, 0x00, 0x01, 0x00, 0x00, 0x00, 0x70, 0x11, 0x01, 0x00}));
    Image back;
    TiffFile reader;
    reader.LoadTiff("out.tif", &back);
    EXPECT_EQ(back.width, 70000);
    EXPECT_EQ(back.pixels[209999], 3);
}

TEST_F(TiffWriterTest, GreyAndBilevelModesWriteTheDirectoryOnly) {
    for (std::int32_t mode : {TIFF_BILEVEL, TIFF_GREYSCALE}) {
        Image image;
        MakeTrueColour(image, 20, 2, Bytes(120, 1));
        TiffFile tiff;
        tiff.mode = mode;
        tiff.bitsPerPixel = 8;
        tiff.Save("out.tif", &image);
        const Bytes bytes = ReadBytes("out.tif");
        ASSERT_EQ(bytes.size(), 204u);
        Bytes bits;
        Entry(bits, 258, kShort, 1, mode == TIFF_BILEVEL ? 1 : 8);
        EXPECT_EQ(Bytes(bytes.begin() + 46, bytes.begin() + 58), bits);
        EXPECT_EQ(tiff.rowBytes, mode == TIFF_BILEVEL ? 3 : 20);
        EXPECT_EQ(tiff.photometric, 1);
    }
}

struct RefusalCase {
    const char* label;
    std::int32_t mode;
    std::int32_t sampleSize;
    std::uint8_t format;
    const char* line;
    std::size_t bytesWritten;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << c.label;
}

class TiffWriterDeathTest : public EngineTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(TiffWriterDeathTest, EndsWithStatusMinusOneAfterWritingTheStart) {
    const RefusalCase& c = GetParam();
    EXPECT_EXIT(
        {
            std::freopen("stdout.txt", "w", stdout);
            Image image(3, 2, c.format);
            TiffFile tiff;
            tiff.mode = c.mode;
            tiff.bitsPerPixel = c.sampleSize;
            tiff.Save("out.tif", &image);
        },
        ::testing::ExitedWithCode(255), "");
    EXPECT_EQ(ReadFileText("stdout.txt"), c.line);
    EXPECT_EQ(ReadBytes("out.tif").size(), c.bytesWritten);
}

const char kUnsupported[] = "SaveTiff: Given pixel depth and color mode not supported.\n";

INSTANTIATE_TEST_SUITE_P(
    Refusals, TiffWriterDeathTest,
    ::testing::Values(
        RefusalCase{"palette_mode", TIFF_PALETTE, 8, IMAGE_32BIT, "Save:Tiff: Unknown TIFF mode.\n",
                    46},
        RefusalCase{"sixteen_bit_samples", TIFF_RGB, 16, IMAGE_32BIT, kUnsupported, 204},
        // What Load leaves in bitsPerPixel: the sum of the sample sizes.
        RefusalCase{"sum_of_sample_sizes", TIFF_RGB, 24, IMAGE_32BIT, kUnsupported, 204},
        // Display-format pixels are two bytes each: rows would be read past the plane.
        RefusalCase{"display_format_image", TIFF_RGB, 8, IMAGE_16BIT, kUnsupported, 204}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.label; });

}  // namespace
