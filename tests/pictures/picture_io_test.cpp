// Pictures of random size and samples, written by libtiff and libpng in the
// layouts paint programs use, come back from the pictures reader with the
// samples that were written (the high byte of 16-bit ones); the TIFF written
// from them (as corvane-asset convert writes it) loads in the engine with those
// same samples, and PictureFile loads the file itself into the same Image.
#include "pictures/picture_io.h"

#include <png.h>
#include <tiffio.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "display/pixel_format.h"
#include "gtest/gtest.h"
#include "image/image.h"
#include "pictures/picture_file.h"
#include "tests/support/engine_fixture.h"
#include "tiff/tiff_file.h"

namespace {

struct Case {
    bool png = false;
    int width = 1;
    int height = 1;
    int colours = 3;  // 1 grey, 3 RGB
    bool alpha = false;
    int bits = 8;
    bool palette = false;      // 8-bit indices into a colour map (no alpha in TIFF)
    bool whiteIsZero = false;  // TIFF grey
    int compression = COMPRESSION_NONE;
    bool tiled = false;
    int rowsPerStrip = 1;
    bool bigEndian = false;
    bool separate = false;  // TIFF planes, one per sample (8-bit, no alpha)
    bool interlaced = false;
    int orientation = ORIENTATION_TOPLEFT;  // TIFF
    bool ycbcr = false;                     // TIFF, JPEG-compressed RGB stored as YCbCr
    std::vector<std::uint16_t> samples;     // per pixel: colours, then alpha; or indices
    std::vector<std::uint8_t> map;          // palette R, G, B per index

    int Samples() const { return palette ? 1 : colours + (alpha ? 1 : 0); }

    std::string Describe() const {
        char text[200];
        std::snprintf(text, sizeof text,
                      "%s %dx%d colours %d alpha %d bits %d palette %d white0 %d compression %d "
                      "tiled %d rows %d big %d separate %d interlaced %d orientation %d ycbcr %d",
                      png ? "PNG" : "TIFF", width, height, colours, alpha, bits, palette,
                      whiteIsZero, compression, tiled, rowsPerStrip, bigEndian, separate,
                      interlaced, orientation, ycbcr);
        return text;
    }
};

Case RandomCase(std::mt19937& random) {
    const auto pick = [&](int count) { return static_cast<int>(random() % count); };
    Case c;
    c.png = pick(3) == 0;
    c.width = 1 + pick(40);
    // Now and then tall, in many strips or tiles.
    c.height = 1 + pick(pick(8) == 0 ? 150 : 40);
    c.colours = pick(3) == 0 ? 1 : 3;
    c.alpha = pick(2) == 1;
    c.bits = pick(2) == 0 ? 8 : 16;
    c.palette = pick(6) == 0;
    if (c.palette) {
        c.colours = 3;
        c.bits = 8;
        c.alpha = c.png && c.alpha;  // a PNG's tRNS
    }
    if (c.png) {
        c.interlaced = pick(2) == 1;
    } else {
        static const int kCompressions[] = {COMPRESSION_NONE, COMPRESSION_LZW,
                                            COMPRESSION_ADOBE_DEFLATE, COMPRESSION_PACKBITS};
        c.compression = kCompressions[pick(4)];
        c.tiled = pick(3) == 0;
        c.rowsPerStrip = 1 + pick(c.height);
        c.bigEndian = pick(2) == 1;
        c.whiteIsZero = c.colours == 1 && !c.palette && pick(2) == 1;
        c.separate = !c.palette && !c.alpha && c.bits == 8 && pick(4) == 0;
    }
    const int top = c.palette ? 256 : 1 << c.bits;
    c.samples.resize(std::size_t(c.width) * c.height * c.Samples());
    for (std::uint16_t& sample : c.samples) sample = static_cast<std::uint16_t>(random() % top);
    c.map.resize(3 * 256);
    for (std::uint8_t& value : c.map) value = static_cast<std::uint8_t>(random());
    return c;
}

// What the reader should give: 8-bit RGB(A), the high byte of 16-bit samples.
pictures::Picture Expected(const Case& c) {
    pictures::Picture picture;
    picture.width = c.width;
    picture.height = c.height;
    picture.hasAlpha = c.alpha;
    const std::size_t count = std::size_t(c.width) * c.height;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint16_t* in = &c.samples[i * c.Samples()];
        const auto eight = [&](std::uint16_t v) {
            return static_cast<std::uint8_t>(c.bits == 16 ? v >> 8 : v);
        };
        if (c.palette) {
            picture.pixels.insert(picture.pixels.end(), &c.map[in[0] * 3], &c.map[in[0] * 3] + 3);
            // The tRNS entry of index i is its opacity; see WritePng.
            if (c.alpha) picture.pixels.push_back(static_cast<std::uint8_t>(255 - in[0]));
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            std::uint8_t v = eight(in[c.colours == 1 ? 0 : k]);
            if (c.whiteIsZero) v = static_cast<std::uint8_t>(255 - v);
            picture.pixels.push_back(v);
        }
        if (c.alpha) picture.pixels.push_back(eight(in[c.colours]));
    }
    return picture;
}

void WriteTiff(const Case& c, const std::string& path) {
    TIFF* tiff = TIFFOpen(path.c_str(), c.bigEndian ? "wb" : "wl");
    ASSERT_NE(tiff, nullptr);
    const int samples = c.Samples();
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, c.width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, c.height);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, c.bits);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, c.compression);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG,
                 c.separate ? PLANARCONFIG_SEPARATE : PLANARCONFIG_CONTIG);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC,
                 c.palette        ? PHOTOMETRIC_PALETTE
                 : c.ycbcr        ? PHOTOMETRIC_YCBCR
                 : c.colours == 3 ? PHOTOMETRIC_RGB
                 : c.whiteIsZero  ? PHOTOMETRIC_MINISWHITE
                                  : PHOTOMETRIC_MINISBLACK);
    // libtiff's JPEG codec turns the RGB rows it is given into YCbCr.
    if (c.ycbcr) TIFFSetField(tiff, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
    TIFFSetField(tiff, TIFFTAG_ORIENTATION, c.orientation);
    if (c.alpha) {
        const std::uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    std::vector<std::uint16_t> red(256), green(256), blue(256);
    for (int i = 0; i < 256; ++i) {
        red[i] = static_cast<std::uint16_t>(c.map[i * 3] * 257);
        green[i] = static_cast<std::uint16_t>(c.map[i * 3 + 1] * 257);
        blue[i] = static_cast<std::uint16_t>(c.map[i * 3 + 2] * 257);
    }
    if (c.palette) TIFFSetField(tiff, TIFFTAG_COLORMAP, red.data(), green.data(), blue.data());
    // One sample as the file stores it, in the machine's order (libtiff swaps).
    const auto put = [&](std::vector<std::uint8_t>& out, std::size_t at, std::uint16_t value) {
        if (c.bits == 8)
            out[at] = static_cast<std::uint8_t>(value);
        else
            std::memcpy(&out[at * 2], &value, 2);
    };
    const std::size_t bytes = c.bits / 8;
    // Separate planes hold one sample each, one plane after the other.
    const int planes = c.separate ? samples : 1;
    const int perPixel = c.separate ? 1 : samples;
    if (c.tiled) {
        constexpr int kTile = 16;
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, kTile);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, kTile);
        std::vector<std::uint8_t> tile(std::size_t(kTile) * kTile * perPixel * bytes);
        for (int plane = 0; plane < planes; ++plane)
            for (int top = 0; top < c.height; top += kTile)
                for (int left = 0; left < c.width; left += kTile) {
                    std::fill(tile.begin(), tile.end(), 0);
                    for (int y = top; y < std::min(c.height, top + kTile); ++y)
                        for (int x = left; x < std::min(c.width, left + kTile); ++x)
                            for (int s = 0; s < perPixel; ++s)
                                put(tile,
                                    (std::size_t(y - top) * kTile + (x - left)) * perPixel + s,
                                    c.samples[(std::size_t(y) * c.width + x) * samples + plane +
                                              s]);
                    ASSERT_GE(TIFFWriteTile(tiff, tile.data(), left, top, 0, plane), 0);
                }
    } else {
        TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, c.rowsPerStrip);
        std::vector<std::uint8_t> row(std::size_t(c.width) * perPixel * bytes);
        for (int plane = 0; plane < planes; ++plane)
            for (int y = 0; y < c.height; ++y) {
                for (int x = 0; x < c.width; ++x)
                    for (int s = 0; s < perPixel; ++s)
                        put(row, std::size_t(x) * perPixel + s,
                            c.samples[(std::size_t(y) * c.width + x) * samples + plane + s]);
                ASSERT_GE(TIFFWriteScanline(tiff, row.data(), y, plane), 0);
            }
    }
    TIFFClose(tiff);
}

void WritePng(const Case& c, const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const int samples = c.Samples();
    const std::size_t bytes = c.bits / 8;
    std::vector<std::vector<png_byte>> rows(c.height,
                                            std::vector<png_byte>(c.width * samples * bytes));
    for (int y = 0; y < c.height; ++y)
        for (int i = 0; i < c.width * samples; ++i) {
            const std::uint16_t value = c.samples[std::size_t(y) * c.width * samples + i];
            if (bytes == 1) {
                rows[y][i] = static_cast<png_byte>(value);
            } else {
                rows[y][i * 2] = static_cast<png_byte>(value >> 8);  // PNG is big-endian
                rows[y][i * 2 + 1] = static_cast<png_byte>(value);
            }
        }
    std::vector<png_bytep> pointers;
    for (auto& row : rows) pointers.push_back(row.data());
    if (setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        const int type = c.palette ? PNG_COLOR_TYPE_PALETTE
                         : c.colours == 1
                             ? (c.alpha ? PNG_COLOR_TYPE_GRAY_ALPHA : PNG_COLOR_TYPE_GRAY)
                             : (c.alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB);
        png_set_IHDR(png, info, c.width, c.height, c.bits, type,
                     c.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        std::vector<png_color> colours(256);
        std::vector<png_byte> opacity(256);
        for (int i = 0; i < 256; ++i) {
            colours[i] = {c.map[i * 3], c.map[i * 3 + 1], c.map[i * 3 + 2]};
            opacity[i] = static_cast<png_byte>(255 - i);
        }
        if (c.palette) png_set_PLTE(png, info, colours.data(), 256);
        if (c.palette && c.alpha) png_set_tRNS(png, info, opacity.data(), 256, nullptr);
        png_set_rows(png, info, pointers.data());
        png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    } else {
        ADD_FAILURE() << "libpng could not write " << c.Describe();
    }
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

class PictureIoTest : public EngineTest {};

// Both images prepared alike: size, purpose, format, display words and alpha.
void ExpectSameImage(const Image& actual, const Image& expected) {
    ASSERT_EQ(actual.width, expected.width);
    ASSERT_EQ(actual.height, expected.height);
    EXPECT_EQ(actual.purpose, expected.purpose);
    EXPECT_EQ(actual.format, expected.format);
    const std::size_t count = std::size_t(expected.width) * expected.height;
    ASSERT_NE(actual.Words(), nullptr);
    ASSERT_NE(expected.Words(), nullptr);
    EXPECT_EQ(0, std::memcmp(actual.Words(), expected.Words(), count * 2)) << "display words";
    ASSERT_EQ(actual.AlphaPlane() != nullptr, expected.AlphaPlane() != nullptr);
    if (expected.AlphaPlane() != nullptr) {
        EXPECT_EQ(0, std::memcmp(actual.AlphaPlane(), expected.AlphaPlane(), count)) << "alpha";
    }
}

TEST_F(PictureIoTest, RandomPicturesInEveryLayoutReadBackAndLoadInTheEngine) {
    std::mt19937 random(20240615);
    for (int round = 0; round < 300; ++round) {
        const Case c = RandomCase(random);
        SCOPED_TRACE("case " + std::to_string(round) + ": " + c.Describe());
        const std::string in = c.png ? "in.png" : "in.tif";
        if (c.png)
            WritePng(c, in);
        else
            WriteTiff(c, in);
        const pictures::Picture expected = Expected(c);

        pictures::Picture read;
        std::vector<std::string> notes;
        std::string error;
        ASSERT_TRUE(pictures::ReadPicture(in, read, notes, error)) << error;
        EXPECT_EQ(read.width, expected.width);
        EXPECT_EQ(read.height, expected.height);
        ASSERT_EQ(read.hasAlpha, expected.hasAlpha);
        ASSERT_EQ(read.pixels, expected.pixels);

        ASSERT_TRUE(pictures::WriteTiff("out.tif", read, error)) << error;
        Image image;
        TiffFile tiff;
        tiff.LoadTiff("out.tif", &image);
        ASSERT_EQ(image.width, c.width);
        ASSERT_EQ(image.height, c.height);
        ASSERT_EQ((image.format & IMAGE_ALPHA) != 0, c.alpha);
        const std::size_t step = c.alpha ? 4 : 3;
        for (std::size_t i = 0; i < std::size_t(c.width) * c.height; ++i) {
            ASSERT_EQ(0, std::memcmp(image.pixels + i * 3, &expected.pixels[i * step], 3))
                << "pixel " << i;
            if (c.alpha) {
                ASSERT_EQ(image.alpha[i], expected.pixels[i * step + 3]) << "pixel " << i;
            }
        }

        // Loaded straight from the file, for any purpose on either display.
        if (round % 2 == 0)
            SetPixelFormat(0xF800, 0x07E0, 0x001F);
        else
            SetPixelFormat(0x7C00, 0x03E0, 0x001F);
        const int purpose = DRAW_PLAIN + round % 4;
        Image direct, converted;
        PictureFile file;
        ASSERT_TRUE(file.Load(in.c_str(), &direct, purpose)) << file.Problem();
        EXPECT_EQ(file.Problem(), "");
        EXPECT_EQ(file.Notes(), notes);
        TiffFile().Load("out.tif", &converted, purpose);
        ExpectSameImage(direct, converted);
    }
}

// A random 8-bit TIFF of any kind libtiff's tiff2rgba reads, in any
// orientation: plain, palette, separate planes (with alpha too), JPEG as RGB
// or YCbCr. Grey with alpha is left to the test above: libtiff's RGBA reader
// does not premultiply it, and garbles it in tiles.
Case RandomTiff2RgbaCase(std::mt19937& random) {
    Case c;
    do c = RandomCase(random);
    while (c.png);
    const auto pick = [&](int count) { return static_cast<int>(random() % count); };
    c.bits = 8;
    c.orientation = 1 + pick(8);
    if (!c.palette && !c.whiteIsZero && pick(3) == 0) {
        c.compression = COMPRESSION_JPEG;
        c.separate = false;
        c.rowsPerStrip = 16 * (1 + pick(3));
        c.ycbcr = c.colours == 3 && !c.alpha && pick(2) == 0;
    } else if (!c.palette && c.alpha && pick(3) == 0) {
        c.separate = true;
    }
    if (c.colours == 1 && !c.separate) c.alpha = false;
    c.samples.resize(std::size_t(c.width) * c.height * c.Samples());
    for (std::uint16_t& sample : c.samples) sample = static_cast<std::uint8_t>(random());
    return c;
}

// What tiff2rgba writes for a picture: libtiff's RGBA reader, asked for the
// top row first, colours premultiplied by alpha.
std::vector<std::uint32_t> Tiff2RgbaPixels(const std::string& path, int width, int height) {
    std::vector<std::uint32_t> raster(std::size_t(width) * height);
    TIFF* tiff = TIFFOpen(path.c_str(), "r");
    EXPECT_NE(tiff, nullptr);
    if (tiff == nullptr) return raster;
    EXPECT_TRUE(
        TIFFReadRGBAImageOriented(tiff, width, height, raster.data(), ORIENTATION_TOPLEFT, 0));
    TIFFClose(tiff);
    return raster;
}

TEST_F(PictureIoTest, RandomTiffsOfEveryKindAndOrientationGiveTiff2RgbasPixels) {
    TIFFSetWarningHandler(nullptr);
    std::mt19937 random(20251209);
    for (int round = 0; round < 300; ++round) {
        const Case c = RandomTiff2RgbaCase(random);
        SCOPED_TRACE("case " + std::to_string(round) + ": " + c.Describe());
        WriteTiff(c, "in.tif");
        const std::vector<std::uint32_t> expected = Tiff2RgbaPixels("in.tif", c.width, c.height);

        pictures::Picture read;
        std::vector<std::string> notes;
        std::string error;
        ASSERT_TRUE(pictures::ReadPicture("in.tif", read, notes, error)) << error;
        ASSERT_EQ(read.width, c.width);
        ASSERT_EQ(read.height, c.height);
        ASSERT_EQ(read.hasAlpha, c.alpha);
        const std::size_t step = read.hasAlpha ? 4 : 3;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const std::uint8_t* pixel = &read.pixels[i * step];
            const unsigned alpha = read.hasAlpha ? pixel[3] : 255;
            const auto premultiplied = [&](int k) { return (pixel[k] * alpha + 127) / 255; };
            const std::uint32_t abgr = expected[i];
            ASSERT_EQ(premultiplied(0), TIFFGetR(abgr)) << "pixel " << i;
            ASSERT_EQ(premultiplied(1), TIFFGetG(abgr)) << "pixel " << i;
            ASSERT_EQ(premultiplied(2), TIFFGetB(abgr)) << "pixel " << i;
            ASSERT_EQ(alpha, TIFFGetA(abgr)) << "pixel " << i;
        }
    }
}

std::vector<std::uint8_t> FileBytes(const std::string& path) {
    const std::string text = ReadFileText(path);
    return std::vector<std::uint8_t>(text.begin(), text.end());
}

// The inputs fuzz_picture_read found, read from memory as it reads them; the
// table in their folder's README says what each one did before.
TEST(PictureIoFuzzFindings, FuzzFindingsHaveTheirOutcome) {
    const struct {
        const char* file;
        const char* error;
    } kFindings[] = {
        {"libtiff_error_of_two_lines.tif",
         "Warning memory; Tag InkNames: Value 1 of NumberOfInks is different from the "
         "SamplesPerPixel value 4"},
        {"png_text_chunk_of_half_a_gigabyte.png", "[3A]alp: invalid chunk type"},
    };
    for (const auto& finding : kFindings) {
        SCOPED_TRACE(finding.file);
        const std::vector<std::uint8_t> bytes =
            FileBytes(std::string(ASSET_FUZZ_FINDINGS) + "/" + finding.file);
        ASSERT_FALSE(bytes.empty());
        pictures::Picture picture;
        std::vector<std::string> notes;
        std::string error;
        EXPECT_FALSE(
            pictures::ReadPictureBytes(bytes.data(), bytes.size(), picture, notes, error, 1 << 20));
        EXPECT_EQ(error, finding.error);
    }
}

}  // namespace
