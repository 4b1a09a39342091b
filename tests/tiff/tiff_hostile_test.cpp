// Files that lie about their own layout, and every file that ever crashed,
// hung or was wrongly accepted: each is refused as corrupted before anything is
// allocated from its numbers, or loads what it holds without reading outside
// a buffer.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "image/image.h"
#include "tests/support/engine_fixture.h"
#include "tests/tiff/tiff_builder.h"
#include "tiff/tiff_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

const char kCorrupted[] = "Load:Tiff: File is corrupted, or is not a .TIFF file.\n";

void PutLong(Bytes& bytes, std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

struct HostileCase {
    const char* label;
    std::function<void(TiffBuilder&)> lie;  // may be empty
    std::string reason;
    const char* line;
    std::function<void(Bytes&)> patch = nullptr;  // applied to the built bytes
};

void PrintTo(const HostileCase& c, std::ostream* os) {
    *os << c.label;
}

class TiffHostileDeathTest : public EngineTest,
                             public ::testing::WithParamInterface<HostileCase> {};

TEST_P(TiffHostileDeathTest, IsRefusedWithTheCorruptedLineAndStatusMinusOne) {
    const HostileCase& c = GetParam();
    TiffBuilder file = RgbFile(4, 6, 2);
    if (c.lie) c.lie(file);
    Bytes bytes = file.Build();
    if (c.patch) c.patch(bytes);
    {
        std::FILE* out = std::fopen("bad.tif", "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);
    }

    TiffFile inspected;
    EXPECT_FALSE(inspected.Inspect("bad.tif"));
    EXPECT_EQ(inspected.problem, c.reason);

    EXPECT_EXIT(
        {
            std::freopen("stdout.txt", "w", stdout);
            Image image;
            TiffFile tiff;
            tiff.LoadTiff("bad.tif", &image);
        },
        ::testing::ExitedWithCode(255), "");
    EXPECT_EQ(ReadFileText("stdout.txt"), c.line);
    EXPECT_EQ(ReadDebugLog(), "Load:Tiff: bad.tif: " + c.reason + "\n  ");
}

std::function<void(TiffBuilder&)> SetEntry(std::uint16_t tag, std::uint16_t type,
                                           std::uint32_t count, std::uint32_t value) {
    return [=](TiffBuilder& b) { b.Set(tag, type, count, value); };
}

std::function<void(TiffBuilder&)> RemoveEntry(std::uint16_t tag) {
    return [=](TiffBuilder& b) { b.Remove(tag); };
}

// The refusal of a picture beyond the reader's limits.
std::string TooLarge(std::uint32_t width, std::uint32_t height) {
    return "The image is " + std::to_string(width) + " x " + std::to_string(height) +
           " pixels, more than 131072 a side or 67108864 in all.";
}

std::function<void(TiffBuilder&)> SetSize(std::uint32_t width, std::uint32_t height,
                                          std::vector<std::uint32_t> bits = {8, 8, 8}) {
    return [=](TiffBuilder& b) {
        b.Set(256, kLong, 1, width);
        b.Set(257, kLong, 1, height);
        b.SetArray(258, kShort, bits);
    };
}

INSTANTIATE_TEST_SUITE_P(Lies, TiffHostileDeathTest,
                         ::testing::Values(HostileCase{"not_42", nullptr,
                                                       "The header does not mark a TIFF file.",
                                                       kCorrupted, [](Bytes& b) { b[2] = 43; }},
                                           HostileCase{"empty_file", nullptr,
                                                       "The header does not mark a TIFF file.",
                                                       kCorrupted, [](Bytes& b) { b.clear(); }},
                                           HostileCase{"cut_inside_header", nullptr,
                                                       "The file ends inside its header.",
                                                       kCorrupted, [](Bytes& b) { b.resize(5); }},
                                           HostileCase{"directory_past_end", nullptr,
                                                       "The first directory lies outside the file.",
                                                       kCorrupted,
                                                       [](Bytes& b) {
                                                           PutLong(b, 4,
                                                                   static_cast<std::uint32_t>(
                                                                       b.size()));
                                                       }},
                                           HostileCase{
                                               "directory_at_minus_one", nullptr,
                                               "The first directory lies outside the file.",
                                               kCorrupted,
                                               [](Bytes& b) { PutLong(b, 4, 0xFFFFFFFFu); }},
                                           HostileCase{
                                               "too_many_entries", nullptr,
                                               "The directory runs past the end of the file.",
                                               kCorrupted,
                                               [](Bytes& b) {
                                                   b[8] = 0xFF;
                                                   b[9] = 0x0F;
                                               }},
                                           HostileCase{"no_width", RemoveEntry(256),
                                                       "The image has no width or no height.",
                                                       kCorrupted},
                                           HostileCase{"zero_height", SetEntry(257, kLong, 1, 0),
                                                       "The image has no width or no height.",
                                                       kCorrupted},
                                           HostileCase{"negative_width",
                                                       SetEntry(256, kLong, 1, 0xFFFFFFFFu),
                                                       TooLarge(0xFFFFFFFFu, 6), kCorrupted},
                                           HostileCase{"huge_width",
                                                       SetEntry(256, kLong, 1, 0x7FFFFFFF),
                                                       TooLarge(0x7FFFFFFF, 6), kCorrupted},
                                           HostileCase{"huge_height",
                                                       SetEntry(257, kLong, 1, 1000000),
                                                       TooLarge(4, 1000000), kCorrupted},
                                           // Found by fuzzing: 64-bit products of the
                                           // sizes overflowed, and the first ended in an
                                           // uncaught length_error, the second in a row
                                           // of 0 bytes read 1.9 billion times.
                                           HostileCase{"row_size_overflowing_32_bits",
                                                       SetSize(1610612736, 1431655766, {16, 16}),
                                                       TooLarge(1610612736, 1431655766),
                                                       kCorrupted},
                                           HostileCase{
                                               "row_size_wrapping_to_zero",
                                               SetSize(1610612736, 1908867071, {64, 64, 64}),
                                               TooLarge(1610612736, 1908867071), kCorrupted},
                                           HostileCase{"one_pixel_wider_than_the_limit",
                                                       SetSize(131073, 1), TooLarge(131073, 1),
                                                       kCorrupted},
                                           HostileCase{"one_row_more_pixels_than_the_limit",
                                                       SetSize(8192, 8193), TooLarge(8192, 8193),
                                                       kCorrupted},
                                           HostileCase{"five_samples",
                                                       [](TiffBuilder& b) {
                                                           b.SetArray(258, kShort, {8, 8, 8, 8, 8});
                                                       },
                                                       "BitsPerSample has 5 values.",
                                                       "Load:Tiff: Unknown TIFF mode.\n"},
                                           HostileCase{"no_samples", SetEntry(258, kShort, 0, 0),
                                                       "BitsPerSample has 0 values.",
                                                       "Load:Tiff: Unknown TIFF mode.\n"},
                                           HostileCase{"sample_sizes_outside",
                                                       SetEntry(258, kShort, 3, 0xFFFF0000u),
                                                       "BitsPerSample lies outside the file.",
                                                       kCorrupted},
                                           HostileCase{"zero_bit_samples",
                                                       [](TiffBuilder& b) {
                                                           b.SetArray(258, kShort, {0, 0, 0});
                                                       },
                                                       "A sample has 0 bits.", kCorrupted},
                                           HostileCase{
                                               "giant_samples",
                                               [](TiffBuilder& b) {
                                                   b.SetArray(258, kLong, {8, 0x40000000, 8});
                                               },
                                               "A sample has 1073741824 bits.", kCorrupted},
                                           HostileCase{"rows_per_strip_zero",
                                                       SetEntry(278, kLong, 1, 0),
                                                       "RowsPerStrip is missing or 0.", kCorrupted},
                                           HostileCase{
                                               "rows_per_strip_missing", RemoveEntry(278),
                                               "RowsPerStrip is missing or 0.", kCorrupted},
                                           HostileCase{
                                               "strip_offsets_missing", RemoveEntry(273),
                                               "StripOffsets is missing.", kCorrupted},
                                           HostileCase{"fewer_strip_offsets_than_strips",
                                                       [](TiffBuilder& b) {
                                                           b.SetStrips({0, 24});
                                                       },
                                                       "StripOffsets has fewer values than the "
                                                       "image has strips.",
                                                       kCorrupted},
                                           HostileCase{"strip_table_outside",
                                                       SetEntry(273, kLong, 3, 0xFFFFFFF0u),
                                                       "StripOffsets lies outside the file.",
                                                       kCorrupted},
                                           HostileCase{"strip_table_of_rationals",
                                                       SetEntry(273, kRational, 3, 20),
                                                       "StripOffsets has a field type the reader "
                                                       "cannot use.",
                                                       kCorrupted},
                                           HostileCase{"palette_of_three_samples",
                                                       SetEntry(262, kShort, 1, 3),
                                                       "A palette file must have one sample per "
                                                       "pixel.",
                                                       kCorrupted},
                                           HostileCase{"palette_colormap_missing",
                                                       [](TiffBuilder& b) {
                                                           b.SetArray(258, kShort, {8});
                                                           b.Set(262, kShort, 1, 3);
                                                       },
                                                       "The palette file has no usable ColorMap.",
                                                       kCorrupted},
                                           HostileCase{"palette_colormap_too_short",
                                                       [](TiffBuilder& b) {
                                                           b.SetArray(258, kShort, {8});
                                                           b.Set(262, kShort, 1, 3);
                                                           b.SetArray(320, kShort,
                                                                      std::vector<std::uint32_t>(
                                                                          3 * 16, 0));
                                                       },
                                                       "The palette file has no usable ColorMap.",
                                                       kCorrupted},
                                           HostileCase{"palette_colormap_outside",
                                                       [](TiffBuilder& b) {
                                                           b.SetArray(258, kShort, {4});
                                                           b.Set(262, kShort, 1, 3);
                                                           b.Set(320, kShort, 48, 0x10000);
                                                       },
                                                       "ColorMap lies outside the file.",
                                                       kCorrupted}),
                         [](const ::testing::TestParamInfo<HostileCase>& info) {
                             return info.param.label;
                         });

// Files whose strips run past their end, or repeat one another: once refused,
// now loaded. The rows the file holds in full are the file's bytes, the others
// stay black, and one log line counts them.
struct ShortCase {
    const char* label;
    std::function<void(TiffBuilder&)> lie;
    int missing;              // the last rows of the picture
    bool rowsRepeat = false;  // every row is the file's first row
};

void PrintTo(const ShortCase& c, std::ostream* os) {
    *os << c.label;
}

class TiffShortDataTest : public EngineTest, public ::testing::WithParamInterface<ShortCase> {};

TEST_P(TiffShortDataTest, LoadsTheRowsTheFileHoldsAndLeavesTheRestBlack) {
    const ShortCase& c = GetParam();
    TiffBuilder file = RgbFile(4, 6, 2);
    c.lie(file);
    file.Write("short.tif");

    TiffFile inspected;
    ASSERT_TRUE(inspected.Inspect("short.tif")) << inspected.problem;
    EXPECT_EQ(inspected.missingRows, c.missing);
    Image image;
    TiffFile tiff;
    tiff.LoadTiff("short.tif", &image);
    ASSERT_EQ(tiff.done, 1);
    EXPECT_EQ(tiff.missingRows, c.missing);
    ASSERT_EQ(image.width, inspected.width);
    ASSERT_EQ(image.height, inspected.height);

    const std::size_t rowBytes = std::size_t(image.width) * 3;
    int wrongRows = 0;
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.pixels + rowBytes * std::size_t(y);
        Bytes expected(rowBytes, 0);
        if (y < image.height - c.missing) {
            const std::size_t from = c.rowsRepeat ? 0 : rowBytes * std::size_t(y);
            expected.assign(file.pixels.begin() + from, file.pixels.begin() + from + rowBytes);
        }
        if (!std::equal(expected.begin(), expected.end(), row)) ++wrongRows;
    }
    EXPECT_EQ(wrongRows, 0);
    EXPECT_EQ(ReadDebugLog(), c.missing == 0
                                  ? std::string()
                                  : "Load:Tiff: short.tif: " + std::to_string(c.missing) + " of " +
                                        std::to_string(image.height) +
                                        " rows are not in the file and stay black.\n  ");
}

INSTANTIATE_TEST_SUITE_P(
    Strips, TiffShortDataTest,
    ::testing::Values(ShortCase{"last_strip_cut_short",
                                [](TiffBuilder& b) { b.pixels.resize(b.pixels.size() - 1); }, 1},
                      ShortCase{"strip_past_end",
                                [](TiffBuilder& b) {
                                    b.SetStrips({0, 24, 1000});
                                },
                                2},
                      ShortCase{"strip_at_minus_one",
                                [](TiffBuilder& b) {
                                    b.Set(278, kLong, 1, 6);
                                    b.Set(273, kLong, 1, 0xFFFFFFFFu);
                                },
                                6},
                      // A thousand one-row strips that all point at the same 12 bytes.
                      ShortCase{"strips_repeating_one_row",
                                [](TiffBuilder& b) {
                                    b.Set(257, kLong, 1, 1000);
                                    b.Set(278, kLong, 1, 1);
                                    b.SetStrips(std::vector<std::uint32_t>(1000, 0));
                                    b.Remove(279);
                                    b.pixels.resize(12);
                                },
                                0, true},
                      // The largest picture the reader loads, declared by a file of 224 bytes.
                      ShortCase{"at_the_size_limit",
                                [](TiffBuilder& b) {
                                    b.Set(256, kLong, 1, 131072);
                                    b.Set(257, kLong, 1, 512);
                                    b.Set(278, kLong, 1, 512);
                                },
                                512}),
    [](const ::testing::TestParamInfo<ShortCase>& info) { return info.param.label; });

// Inputs the fuzz targets stopped on, kept in tests/tiff/hostile, each with the
// outcome it must have.
struct SavedInput {
    const char* file;
    int width, height, missing;
};

using TiffSavedInputTest = EngineTest;

TEST_F(TiffSavedInputTest, EachLoadsAsItShould) {
    // Stopped as a hang: 71424 x 279 pixels (a second ImageWidth entry, of an
    // unknown field type, overrides the first) that took seconds to prepare
    // under the sanitizers. It holds none of its rows.
    const SavedInput inputs[] = {{"wide_bilevel_all_rows_missing.tif", 71424, 279, 279}};
    testing::internal::CaptureStdout();  // its next-directory link is not 0
    for (const SavedInput& input : inputs) {
        SCOPED_TRACE(input.file);
        const std::string path = std::string(TIFF_HOSTILE) + "/" + input.file;
        Image image;
        TiffFile tiff;
        tiff.Load(path.c_str(), &image, DRAW_ALPHA);
        EXPECT_EQ(tiff.done, 1);
        EXPECT_EQ(image.width, input.width);
        EXPECT_EQ(image.height, input.height);
        EXPECT_EQ(tiff.missingRows, input.missing);
        EXPECT_NE(image.Words(), nullptr);
        EXPECT_NE(image.AlphaPlane(), nullptr);
    }
    testing::internal::GetCapturedStdout();
}

using TiffDamageTest = EngineTest;

// Damaged copies of good files: each is either refused by the checks or read
// without touching memory outside the image and the buffers (the sanitizer
// build runs this too).
TEST_F(TiffDamageTest, RandomlyDamagedFilesAreReadOrRefusedButNeverOverrun) {
    std::mt19937 random(7);
    const TiffBuilder sources[] = {RgbFile(5, 7, 3), RgbFile(4, 3, 2, 4, 16, true),
                                   RgbFile(9, 2, 1, 1, 1), RgbFile(3, 3, 3, 2, 8, true)};
    int accepted = 0, refused = 0;
    // Warnings about further images in the damaged files are not looked at.
    testing::internal::CaptureStdout();
    for (int trial = 0; trial < 3000; ++trial) {
        Bytes bytes = sources[trial % 4].Build();
        const int damage = 1 + static_cast<int>(random() % 4);
        for (int d = 0; d < damage; ++d) {
            // Mostly the header and directory, where the numbers are.
            const std::size_t limit =
                random() % 4 == 0 ? bytes.size() : std::min<std::size_t>(bytes.size(), 140);
            bytes[random() % limit] = static_cast<std::uint8_t>(random());
        }
        if (random() % 8 == 0) bytes.resize(random() % bytes.size());
        std::FILE* out = std::fopen("damaged.tif", "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), out);
        std::fclose(out);

        TiffFile inspected;
        if (!inspected.Inspect("damaged.tif")) {
            ++refused;
            continue;
        }
        ++accepted;
        Image image;
        TiffFile tiff;
        tiff.LoadTiff("damaged.tif", &image);
        if (tiff.done != 1) {
            ADD_FAILURE() << "accepted file not read, trial " << trial;
            break;
        }
        EXPECT_EQ(image.width, inspected.width);
        EXPECT_EQ(image.height, inspected.height);
    }
    testing::internal::GetCapturedStdout();
    // Both outcomes happen often enough for the trial to mean something.
    EXPECT_GT(accepted, 300);
    EXPECT_GT(refused, 300);
}

}  // namespace
