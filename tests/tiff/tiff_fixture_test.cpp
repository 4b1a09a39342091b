// Files written by libtiff's tools, ImageMagick and PIL, decoded by the engine
// and by libtiff itself.
#include <tiffio.h>

#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "image/image.h"
#include "platform/headless/control.h"
#include "shell/debugger.h"
#include "tests/support/engine_fixture.h"
#include "tests/tiff/tiff_builder.h"
#include "tiff/tiff_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string Fixture(const std::string& name) {
    return std::string(TIFF_FIXTURES) + "/" + name;
}

struct Decoded {
    int width = 0;
    int height = 0;
    Bytes colour;  // R, G, B per pixel
    Bytes alpha;   // empty without an alpha sample
};

using TiffHandle = std::unique_ptr<TIFF, void (*)(TIFF*)>;

TiffHandle OpenWithLibtiff(const std::string& path) {
    return TiffHandle(TIFFOpen(path.c_str(), "r"), TIFFClose);
}

// libtiff's samples of the first image, put through the reader's rules: the
// high byte of wide samples, small samples stretched to 0..255, 0 as white
// where the file says so, palette colours' high bytes.
Decoded ReferenceDecode(const std::string& path) {
    TiffHandle tif = OpenWithLibtiff(path);
    Decoded out;
    if (!tif) return out;
    std::uint32_t width = 0, height = 0;
    std::uint16_t bits = 1, samples = 1, photometric = 0;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetField(tif.get(), TIFFTAG_PHOTOMETRIC, &photometric);
    std::uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (photometric == PHOTOMETRIC_PALETTE)
        TIFFGetField(tif.get(), TIFFTAG_COLORMAP, &red, &green, &blue);
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    const bool hasAlpha = samples == 2 || samples == 4;
    std::vector<std::uint8_t> line(static_cast<std::size_t>(TIFFScanlineSize(tif.get())));
    for (std::uint32_t y = 0; y < height; ++y) {
        TIFFReadScanline(tif.get(), line.data(), y, 0);
        for (std::uint32_t x = 0; x < width; ++x) {
            std::uint32_t v[4] = {};
            for (std::uint32_t s = 0; s < samples; ++s) {
                const std::size_t i = std::size_t(x) * samples + s;
                if (bits == 8) v[s] = line[i];
                if (bits == 16) v[s] = reinterpret_cast<const std::uint16_t*>(line.data())[i] >> 8;
                if (bits < 8) {
                    const std::size_t bit = i * bits;
                    v[s] = (line[bit / 8] >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                }
            }
            std::uint8_t rgb[3];
            if (photometric == PHOTOMETRIC_PALETTE) {
                rgb[0] = static_cast<std::uint8_t>(red[v[0]] >> 8);
                rgb[1] = static_cast<std::uint8_t>(green[v[0]] >> 8);
                rgb[2] = static_cast<std::uint8_t>(blue[v[0]] >> 8);
            } else if (samples >= 3) {
                for (int c = 0; c < 3; ++c) rgb[c] = static_cast<std::uint8_t>(v[c]);
            } else {
                std::uint32_t g = bits < 8 ? v[0] * 255 / ((1u << bits) - 1) : v[0];
                if (photometric == PHOTOMETRIC_MINISWHITE) g = 255 - g;
                rgb[0] = rgb[1] = rgb[2] = static_cast<std::uint8_t>(g);
            }
            out.colour.insert(out.colour.end(), rgb, rgb + 3);
            if (hasAlpha) out.alpha.push_back(static_cast<std::uint8_t>(v[samples - 1]));
        }
    }
    return out;
}

// libtiff's own conversion to RGBA, top row first.
Decoded LibtiffRgba(const std::string& path) {
    TiffHandle tif = OpenWithLibtiff(path);
    Decoded out;
    std::uint32_t width = 0, height = 0;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &height);
    std::vector<std::uint32_t> rgba(std::size_t(width) * height);
    if (!TIFFReadRGBAImageOriented(tif.get(), width, height, rgba.data(), ORIENTATION_TOPLEFT, 0))
        return out;
    out.width = static_cast<int>(width);
    out.height = static_cast<int>(height);
    for (std::uint32_t p : rgba) {
        out.colour.push_back(static_cast<std::uint8_t>(TIFFGetR(p)));
        out.colour.push_back(static_cast<std::uint8_t>(TIFFGetG(p)));
        out.colour.push_back(static_cast<std::uint8_t>(TIFFGetB(p)));
    }
    return out;
}

Decoded EngineDecode(const std::string& path, TiffFile& tiff) {
    Image image;
    tiff.LoadTiff(path.c_str(), &image);
    Decoded out;
    out.width = image.width;
    out.height = image.height;
    const std::size_t pixels = std::size_t(image.width) * image.height;
    out.colour.assign(image.pixels, image.pixels + pixels * 3);
    if (image.format & IMAGE_ALPHA) out.alpha.assign(image.alpha, image.alpha + pixels);
    return out;
}

struct FixtureCase {
    const char* file;
    std::int32_t byteOrder;
    std::int32_t strips;
    bool libtiffRgbaExact;  // libtiff's RGBA conversion gives the same colours
};

void PrintTo(const FixtureCase& c, std::ostream* os) {
    *os << c.file;
}

class TiffFixtureTest : public EngineTest, public ::testing::WithParamInterface<FixtureCase> {};

TEST_P(TiffFixtureTest, EngineDecodesLikeLibtiff) {
    const FixtureCase& c = GetParam();
    const std::string path = Fixture(c.file);
    TiffFile tiff;
    const Decoded engine = EngineDecode(path, tiff);
    const Decoded reference = ReferenceDecode(path);
    ASSERT_GT(reference.width, 0);
    EXPECT_EQ(engine.width, reference.width);
    EXPECT_EQ(engine.height, reference.height);
    EXPECT_EQ(engine.colour, reference.colour);
    EXPECT_EQ(engine.alpha, reference.alpha);
    EXPECT_EQ(tiff.byteOrder, c.byteOrder);
    EXPECT_EQ(tiff.stripCount, c.strips);
    EXPECT_TRUE(headless::MessageBoxes().empty());
    if (c.libtiffRgbaExact) {
        EXPECT_EQ(engine.colour, LibtiffRgba(path).colour);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, TiffFixtureTest,
    ::testing::Values(FixtureCase{"rgb8_ii_1strip.tif", ORDER_IBF, 1, true},
                      FixtureCase{"rgb8_mm_strips.tif", ORDER_MBF, 3, true},
                      FixtureCase{"rgba8_ii_strips.tif", ORDER_IBF, 3, false},
                      FixtureCase{"rgba8_mm_1strip.tif", ORDER_MBF, 1, false},
                      FixtureCase{"rgb16_ii_strips.tif", ORDER_IBF, 3, false},
                      FixtureCase{"rgb16_mm.tif", ORDER_MBF, 1, false},
                      FixtureCase{"rgba16_mm_strips.tif", ORDER_MBF, 2, false},
                      FixtureCase{"grey8_ii.tif", ORDER_IBF, 1, true},
                      FixtureCase{"grey8_mm_strips.tif", ORDER_MBF, 5, true},
                      FixtureCase{"grey8_whiteiszero.tif", ORDER_IBF, 1, true},
                      FixtureCase{"grey16_ii.tif", ORDER_IBF, 1, false},
                      FixtureCase{"grey16_mm.tif", ORDER_MBF, 1, false},
                      FixtureCase{"greyalpha8_ii.tif", ORDER_IBF, 1, false},
                      FixtureCase{"bilevel_blackiszero.tif", ORDER_IBF, 1, true},
                      FixtureCase{"bilevel_whiteiszero_mm.tif", ORDER_MBF, 1, true},
                      FixtureCase{"palette8_ii.tif", ORDER_IBF, 1, true},
                      FixtureCase{"palette8_mm.tif", ORDER_MBF, 1, true},
                      FixtureCase{"palette4_ii.tif", ORDER_IBF, 1, true}),
    [](const ::testing::TestParamInfo<FixtureCase>& info) {
        std::string name = info.param.file;
        return name.substr(0, name.size() - 4);
    });

using TiffFixtureFileTest = EngineTest;

TEST_F(TiffFixtureFileTest, TwoImagesLoadTheFirstWithAWarning) {
    const std::string path = Fixture("two_images.tif");
    TiffFile tiff;
    testing::internal::CaptureStdout();
    const Decoded engine = EngineDecode(path, tiff);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Load:Tiff: (Warning only) File contains multiple tiff images - reading only "
              "first.\n");
    EXPECT_EQ(engine.colour, ReferenceDecode(path).colour);
}

// Compressed strips are taken as rows as they stand: the picture holds the
// coded bytes from each strip's offset, and rows past the end of the file stay
// black. tiffcp's small file holds all its rows; ImageMagick's, like most
// compressed files, is far shorter than its rows.
TEST_F(TiffFixtureFileTest, LzwFilesAreAnnouncedThenTheirCodesAreTakenAsPixels) {
    struct Case {
        const char* file;
        std::vector<std::uint32_t> strips;  // offsets, as tiffdump lists them
        int rowsPerStrip;
        int missing;
    };
    for (const Case& c :
         {Case{"rgb8_lzw.tif", {8}, 5, 0}, Case{"rgb8_lzw_magick.tif", {8, 97, 186, 275}, 8, 20}}) {
        SCOPED_TRACE(c.file);
        headless::ClearMessageBoxes();
        Debug.Open("debug.txt");
        const std::string path = Fixture(c.file);
        TiffFile inspected;
        EXPECT_TRUE(inspected.Inspect(path.c_str()));
        TiffFile tiff;
        const Decoded engine = EngineDecode(path, tiff);
        ASSERT_EQ(headless::MessageBoxes().size(), 1u);
        EXPECT_EQ(headless::MessageBoxes()[0].text.substr(0, 46),
                  "TIF Load Error: LZW Compression not supported.");
        EXPECT_EQ(tiff.compression, 5);
        EXPECT_EQ(tiff.missingRows, c.missing);
        EXPECT_EQ(inspected.missingRows, c.missing);

        const Bytes file = ReadBytes(path);
        const std::size_t rowBytes = std::size_t(engine.width) * 3;
        Bytes expected;
        for (int y = 0; y < engine.height; ++y) {
            const std::size_t at = c.strips[std::size_t(y / c.rowsPerStrip)] +
                                   std::size_t(y % c.rowsPerStrip) * rowBytes;
            if (at + rowBytes <= file.size())
                expected.insert(expected.end(), file.begin() + at, file.begin() + at + rowBytes);
            else
                expected.resize(expected.size() + rowBytes, 0);
        }
        EXPECT_EQ(engine.colour, expected);
        EXPECT_EQ(ReadDebugLog(), c.missing == 0
                                      ? std::string()
                                      : "Load:Tiff: " + path + ": " + std::to_string(c.missing) +
                                            " of " + std::to_string(engine.height) +
                                            " rows are not in the file and stay black.\n  ");
    }
}

// A file cut short, as by a broken download: the rows it still holds load as
// they did, the others stay black, and the debug log says how many are missing.
TEST_F(TiffFixtureFileTest, FileCutShortLoadsTheRowsItHolds) {
    const std::string whole = Fixture("rgb8_ii_1strip.tif");
    TiffFile reference;
    const Decoded full = EngineDecode(whole, reference);
    Bytes bytes = ReadBytes(whole);
    bytes.resize(200);  // the strip starts at 140: two rows of 21 bytes and part of a third
    {
        std::ofstream out("cut.tif", std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    TiffFile tiff;
    const Decoded cut = EngineDecode("cut.tif", tiff);
    ASSERT_EQ(cut.width, 7);
    ASSERT_EQ(cut.height, 5);
    Bytes expected(full.colour.begin(), full.colour.begin() + 2 * 21);
    expected.resize(full.colour.size(), 0);
    EXPECT_EQ(cut.colour, expected);
    EXPECT_EQ(tiff.done, 1);
    EXPECT_EQ(tiff.missingRows, 3);
    EXPECT_EQ(ReadDebugLog(),
              "Load:Tiff: cut.tif: 3 of 5 rows are not in the file and stay black.\n  ");
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

}  // namespace
