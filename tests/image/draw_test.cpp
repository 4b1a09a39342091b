#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "display/pixel_format.h"
#include "image/draw_routines.h"
#include "image/image.h"
#include "platform/headless/control.h"
#include "shell/windx.h"
#include "tests/image/routine_table.h"
#include "tests/support/engine_fixture.h"
#include "tests/support/guarded_frame.h"

namespace {

std::uint16_t& WordAt(Image& image, int index) {
    return reinterpret_cast<std::uint16_t*>(image.pixels)[index];
}

// A display-format image for a purpose whose words are given directly; the
// alpha plane holds `keep` everywhere (the stored complement of alpha).
void MakeImage(Image& image, int width, int height, std::int8_t purpose,
               const std::vector<std::uint16_t>& words, std::uint8_t keep = 0) {
    image.Size(width, height, IMAGE_16BIT | IMAGE_ALPHA);
    image.SetPurpose(purpose);
    for (int i = 0; i < width * height; ++i) WordAt(image, i) = words[i];
    std::memset(image.alpha, keep, image.AlphaBytes());
}

// Words 1, 2, 3, ...: every pixel visible for every routine over a black frame.
std::vector<std::uint16_t> Numbered(int count) {
    std::vector<std::uint16_t> words(count);
    for (int i = 0; i < count; ++i) words[i] = static_cast<std::uint16_t>(i + 1);
    return words;
}

class DrawTest : public EngineTest {
protected:
    void SetUp() override {
        // Test programs start in parallel in one folder and each truncates
        // debug.txt there; a folder per test keeps this test's log its own.
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::filesystem::path folder =
            std::string(info->test_suite_name()) + "." + info->name();
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        EngineTest::SetUp();
        SetPixelFormat(0xF800, 0x07E0, 0x001F);
        frame.Attach();
    }

    void TearDown() override {
        EngineTest::TearDown();
        std::filesystem::current_path("..");
    }

    // The frame as it must be after drawing `image` at (x, y) over black, when
    // every image pixel lands as its own word: inside the clip rectangle and
    // the image, the image's pixel; elsewhere black.
    std::vector<std::uint16_t> Expected(Image& image, int x, int y) {
        std::vector<std::uint16_t> out;
        for (int sy = 0; sy < frame.Height(); ++sy) {
            for (int sx = 0; sx < frame.Width(); ++sx) {
                const bool clipped = sx < Corvane.clipLeft || sx > Corvane.clipRight ||
                                     sy < Corvane.clipTop || sy > Corvane.clipBottom;
                const bool covered =
                    sx >= x && sx < x + image.width && sy >= y && sy < y + image.height;
                out.push_back(!clipped && covered ? WordAt(image, (sy - y) * image.width + (sx - x))
                                                  : std::uint16_t{0});
            }
        }
        return out;
    }

    GuardedFrame frame{24, 16};
};

TEST_F(DrawTest, PixelIsAlwaysFiveFiveFive) {
    EXPECT_EQ(DrawPixel16(0, 0, 31, 31, 31), 1);
    EXPECT_EQ(frame.At(0, 0), 0x7FFF);
    SetPixelFormat(0x7C00, 0x03E0, 0x001F);
    EXPECT_EQ(DrawPixel16(23, 15, 1, 2, 3), 1);
    EXPECT_EQ(frame.At(23, 15), (1 << 10) | (2 << 5) | 3);
    EXPECT_TRUE(frame.GuardsIntact());

    // Points off the back buffer are dropped, whatever the clip rectangle says.
    Corvane.clipLeft = -100;
    Corvane.clipTop = -100;
    Corvane.clipRight = 100;
    Corvane.clipBottom = 100;
    for (auto point :
         {std::pair<int, int>{-1, 0}, {0, -1}, {Corvane.width, 0}, {0, 16}, {5000, 5000}})
        EXPECT_EQ(DrawPixel16(point.first, point.second, 31, 31, 31), 1);
    EXPECT_TRUE(frame.GuardsIntact());

    // Without a locked back buffer nothing is written.
    Corvane.backBuffer = nullptr;
    EXPECT_EQ(DrawPixel16(1, 1, 31, 0, 0), 1);
    EXPECT_EQ(frame.At(1, 1), 0);
}

TEST_F(DrawTest, ClipImageGivesOffsetsAndVisibleSize) {
    Image image(20, 8, IMAGE_16BIT);
    const int pitch = Corvane.width;
    int dest = -1, source = -1, w = -1, h = -1;

    // Ten columns off the left edge: columns 10 onward at screen column 0.
    ASSERT_TRUE(ClipImage(-10, 3, &image, dest, source, w, h));
    EXPECT_EQ(dest, 3 * pitch);
    EXPECT_EQ(source, 10);
    EXPECT_EQ(w, 10);
    EXPECT_EQ(h, 8);

    // A non-zero clip origin; the image hangs over the top and right bounds.
    SetClipFields(4, 2, 17, 11);
    ASSERT_TRUE(ClipImage(6, -1, &image, dest, source, w, h));
    EXPECT_EQ(dest, 2 * pitch + 6);
    EXPECT_EQ(source, 3 * 20);
    EXPECT_EQ(w, 12);
    EXPECT_EQ(h, 5);

    // Right edge exactly on the left bound: one column; one further: nothing.
    ASSERT_TRUE(ClipImage(4 - 19, 5, &image, dest, source, w, h));
    EXPECT_EQ(w, 1);
    EXPECT_EQ(source, 19);
    EXPECT_EQ(dest, 5 * pitch + 4);
    EXPECT_FALSE(ClipImage(4 - 20, 5, &image, dest, source, w, h));
    // Left edge on the right bound, bottom edge on the top bound.
    ASSERT_TRUE(ClipImage(17, 2 - 7, &image, dest, source, w, h));
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 1);
    EXPECT_EQ(source, 7 * 20);
    EXPECT_FALSE(ClipImage(18, 0, &image, dest, source, w, h));
    EXPECT_FALSE(ClipImage(0, 12, &image, dest, source, w, h));
    EXPECT_FALSE(ClipImage(0, 2 - 8, &image, dest, source, w, h));
}

TEST_F(DrawTest, EveryRoutineClipsOnEachSide) {
    const int w = 5, h = 4;
    for (const auto& clip : {std::vector<int>{0, 0, 23, 15}, std::vector<int>{3, 2, 12, 9}}) {
        SetClipFields(clip[0], clip[1], clip[2], clip[3]);
        for (const Routine& routine : kRoutines) {
            Image image;
            MakeImage(image, w, h, routine.purpose, Numbered(w * h));
            // Every position from wholly left/above the clip rectangle to wholly
            // right/below it, so each side is crossed one column or row at a time.
            for (int y = clip[1] - h - 1; y <= clip[3] + 2; ++y) {
                for (int x = clip[0] - w - 1; x <= clip[2] + 2; ++x) {
                    frame.Clear(0);
                    ASSERT_EQ(routine.draw(x, y, &image), 1);
                    ASSERT_EQ(frame.Pixels(), Expected(image, x, y))
                        << routine.name << " at " << x << "," << y << " clip " << clip[0];
                    ASSERT_TRUE(frame.GuardsIntact()) << routine.name << " at " << x << "," << y;
                }
            }
        }
    }
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

TEST_F(DrawTest, ClipRectangleIsKeptInsideTheBackBuffer) {
    Image image;
    MakeImage(image, 10, 10, DRAW_PLAIN, Numbered(100));
    // Past the left, top and bottom of the surface: drawing stops at its edges.
    SetClipFields(-50, -50, 23, 1000);
    EXPECT_EQ(DrawPlain16(-5, -5, &image), 1);
    EXPECT_EQ(DrawPlain16(3, 12, &image), 1);
    EXPECT_EQ(frame.At(0, 0), 5 * 10 + 5 + 1);
    EXPECT_EQ(frame.At(3, 15), 3 * 10 + 1);
    EXPECT_TRUE(frame.GuardsIntact());

    // Past the right: a row may be drawn to its full length (the row padding),
    // but nothing lands before or after the surface's rows.
    SetClipFields(0, 0, 5000, 15);
    EXPECT_EQ(DrawPlain16(Corvane.width - 3, 14, &image), 1);
    EXPECT_EQ(frame.At(Corvane.width - 3, 14), 1);
    EXPECT_TRUE(frame.SurfaceBoundsIntact());

    // An inverted clip rectangle shows nothing.
    frame.Clear(0);
    SetClipFields(10, 0, 5, 15);
    EXPECT_EQ(DrawPlain16(0, 0, &image), 1);
    SetClipFields(0, 9, 23, 3);
    EXPECT_EQ(DrawPlain16(0, 0, &image), 1);
    EXPECT_EQ(frame.Pixels(), std::vector<std::uint16_t>(24 * 16, 0));
}

TEST_F(DrawTest, MaskedSkipsTheKeyWord) {
    frame.Clear(0x1234);
    Image image;
    MakeImage(image, 3, 1, DRAW_MASKED, {0, 1, 0xFFFF});
    EXPECT_EQ(DrawMasked16(2, 2, &image), 1);
    EXPECT_EQ(frame.At(2, 2), 0x1234);
    EXPECT_EQ(frame.At(3, 2), 1);
    EXPECT_EQ(frame.At(4, 2), 0xFFFF);
}

TEST_F(DrawTest, AlphaBlendsByTheStoredComplement) {
    frame.Clear(0xFFFF);
    // A black pixel of file alpha 128, prepared: keep 127. White scaled by
    // 127/256 is red 15, green 31, blue 15.
    Image image;
    MakeImage(image, 3, 1, DRAW_ALPHA, {0, 0x1234, 0x1234});
    image.alpha[0] = 127;
    image.alpha[1] = 255;
    image.alpha[2] = 0;
    EXPECT_EQ(DrawAlpha16(0, 0, &image), 1);
    EXPECT_EQ(frame.At(0, 0), (15 << 11) | (31 << 5) | 15);
    EXPECT_EQ(frame.At(1, 0), 0xFFFF) << "keep 255 skips the pixel";
    EXPECT_EQ(frame.At(2, 0), 0x1234) << "keep 0 replaces it";

    // The green and red terms are masked after scaling, so their low bits never
    // reach the channel below: green 1 scaled by 200/256 is 0, not blue 25.
    frame.At(5, 5) = 1 << 5;
    MakeImage(image, 1, 1, DRAW_ALPHA, {0}, 200);
    DrawAlpha16(5, 5, &image);
    EXPECT_EQ(frame.At(5, 5), 0);
    EXPECT_TRUE(frame.GuardsIntact());
}

TEST_F(DrawTest, AdditiveSaturatesEachChannel) {
    frame.Clear((20 << 11) | (10 << 5) | 31);
    frame.At(1, 0) = 255;
    Image image;
    MakeImage(image, 3, 1, DRAW_ADDITIVE, {(20 << 11) | (60 << 5) | 1, 0x0841, 0});
    EXPECT_EQ(DrawAdditive16(0, 0, &image), 1);
    EXPECT_EQ(frame.At(0, 0), (31 << 11) | (63 << 5) | 31) << "20 + 20 saturates at 31";
    EXPECT_EQ(frame.At(1, 0), 255) << "a destination word of 255 is left alone";
    EXPECT_EQ(frame.At(2, 0), (20 << 11) | (10 << 5) | 31) << "source 0 adds nothing";

    SetPixelFormat(0x7C00, 0x03E0, 0x001F);
    frame.At(4, 1) = (20 << 10) | (3 << 5) | 30;
    MakeImage(image, 1, 1, DRAW_ADDITIVE, {(20 << 10) | (4 << 5) | 5});
    DrawAdditive16(4, 1, &image);
    EXPECT_EQ(frame.At(4, 1), (31 << 10) | (7 << 5) | 31);
}

// Prepared images of random colour and coverage over a random frame, in both
// formats, checked channel by channel: blending scales each destination channel
// by keep/256 and adds the premultiplied source; adding saturates each channel.
TEST_F(DrawTest, BlendsMatchPerChannelArithmetic) {
    struct Format {
        std::uint32_t masks[3];
        int shifts[3];
    };
    const Format formats[] = {{{0xF800, 0x07E0, 0x001F}, {11, 5, 0}},
                              {{0x7C00, 0x03E0, 0x001F}, {10, 5, 0}}};
    std::mt19937 random(1234);
    for (const Format& format : formats) {
        SetPixelFormat(format.masks[0], format.masks[1], format.masks[2]);
        for (std::int8_t purpose : {DRAW_ALPHA, DRAW_ADDITIVE}) {
            Image image(9, 7, IMAGE_32BIT | IMAGE_ALPHA);
            for (std::size_t i = 0; i < image.PixelBytes(); ++i) image.pixels[i] = random() & 255;
            for (int i = 0; i < 63; ++i) image.alpha[i] = random() % 3 == 0 ? 255 : random() & 255;
            image.Prepare(purpose);

            std::vector<std::uint16_t> before;
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 24; ++x) {
                    frame.At(x, y) = static_cast<std::uint16_t>(random() & 0x7FFF);
                    if (format.shifts[0] == 11) frame.At(x, y) |= random() & 0x8000;
                    before.push_back(frame.At(x, y));
                }
            }
            const int ox = 13, oy = -2;
            const int result = purpose == DRAW_ALPHA ? DrawAlpha16(ox, oy, &image)
                                                     : DrawAdditive16(ox, oy, &image);
            ASSERT_EQ(result, 1);
            ASSERT_TRUE(frame.GuardsIntact());
            for (int y = 0; y < 16; ++y) {
                for (int x = 0; x < 24; ++x) {
                    const std::uint16_t d = before[y * 24 + x];
                    std::uint16_t want = d;
                    const int ix = x - ox, iy = y - oy;
                    if (ix >= 0 && ix < 9 && iy >= 0 && iy < 7) {
                        const std::uint16_t s = WordAt(image, iy * 9 + ix);
                        const int keep = image.alpha[iy * 9 + ix];
                        int out = 0;
                        for (int c = 0; c < 3; ++c) {
                            const int mask = static_cast<int>(format.masks[c]);
                            const int limit = mask >> format.shifts[c];
                            const int dc = (d & mask) >> format.shifts[c];
                            const int sc = (s & mask) >> format.shifts[c];
                            int v = purpose == DRAW_ALPHA ? (dc * keep >> 8) + sc : dc + sc;
                            if (purpose == DRAW_ALPHA) {
                                EXPECT_LE(v, limit) << "premultiplied sums stay in the channel";
                            }
                            if (v > limit) v = limit;
                            out |= v << format.shifts[c];
                        }
                        const bool skip = purpose == DRAW_ALPHA ? keep == 255 : d == 255 || s == 0;
                        if (!skip) want = static_cast<std::uint16_t>(out);
                    }
                    ASSERT_EQ(frame.At(x, y), want)
                        << "purpose " << int{purpose} << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST_F(DrawTest, WrongPurposeIsReportedAndRefused) {
    const std::string message =
        "Unable to start Corvane.\n\nError: IMAGEUSE_FAILED (Image used incorrectly)\n\n"
        "Purpose of image on load does not match its use. Images loaded with DRAW_ALPHA must "
        "be drawn with DrawAlpha. Images loaded with DRAW_MASKED must be drawn with DrawMasked. "
        "Etc.";
    Image masked;
    MakeImage(masked, 2, 2, DRAW_MASKED, Numbered(4));
    EXPECT_EQ(DrawAlpha16(0, 0, &masked), 0);
    EXPECT_EQ(Corvane.GetStatus(), IMAGEUSE_FAILED);
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].text, message);
    EXPECT_EQ(headless::MessageBoxes()[0].caption, "Corvane");
    EXPECT_NE(ReadDebugLog().find("Corvane Error: IMAGEUSE_FAILED (Image used incorrectly)\n"),
              std::string::npos);

    // Every routine refuses every other purpose and a missing image, and draws nothing.
    for (const Routine& routine : kRoutines) {
        for (const Routine& other : kRoutines) {
            if (other.purpose == routine.purpose) continue;
            Image image;
            MakeImage(image, 2, 2, other.purpose, Numbered(4));
            headless::ClearMessageBoxes();
            Corvane.status = INIT_OK;
            EXPECT_EQ(routine.draw(1, 1, &image), 0) << routine.name << " " << other.name;
            EXPECT_EQ(Corvane.GetStatus(), IMAGEUSE_FAILED);
            EXPECT_EQ(headless::MessageBoxes().size(), 1u);
        }
        headless::ClearMessageBoxes();
        Corvane.status = INIT_OK;
        EXPECT_EQ(routine.draw(1, 1, nullptr), 0) << routine.name;
        EXPECT_EQ(Corvane.GetStatus(), IMAGEUSE_FAILED);
        ASSERT_EQ(headless::MessageBoxes().size(), 1u);
        EXPECT_EQ(headless::MessageBoxes()[0].text, message);
    }
    EXPECT_EQ(frame.Pixels(), std::vector<std::uint16_t>(24 * 16, 0));
}

TEST_F(DrawTest, MissingPlanesOrBackBufferDrawNothingQuietly) {
    frame.Clear(0x0F0F);
    Corvane.status = INIT_OK;

    // Prepared from a file that was not found.
    for (const Routine& routine : kRoutines) {
        Image empty;
        empty.Prepare(routine.purpose);
        EXPECT_EQ(routine.draw(0, 0, &empty), 1) << routine.name;
    }

    // Blending needs the alpha plane; a keyed image has none.
    Image keyed;
    MakeImage(keyed, 2, 2, DRAW_MASKED, Numbered(4));
    keyed.BuildMask();
    keyed.SetPurpose(DRAW_ALPHA);
    EXPECT_EQ(DrawAlpha16(0, 0, &keyed), 1);
    keyed.SetPurpose(DRAW_ADDITIVE);
    EXPECT_EQ(DrawAdditive16(0, 0, &keyed), 1);

    // A size larger than the planes hold counts as missing planes.
    Image grown;
    MakeImage(grown, 2, 2, DRAW_PLAIN, Numbered(4));
    grown.width = 8;
    EXPECT_EQ(DrawPlain16(0, 0, &grown), 1);

    // No locked back buffer: a matching image is not drawn.
    Image plain;
    MakeImage(plain, 2, 2, DRAW_PLAIN, Numbered(4));
    Corvane.backBuffer = nullptr;
    EXPECT_EQ(DrawPlain16(0, 0, &plain), 1);

    EXPECT_EQ(frame.Pixels(), std::vector<std::uint16_t>(24 * 16, 0x0F0F));
    EXPECT_TRUE(frame.GuardsIntact());
    EXPECT_EQ(Corvane.GetStatus(), INIT_OK);
    EXPECT_TRUE(headless::MessageBoxes().empty());
}

}  // namespace
