// The colour type and the shape calls: the words a colour becomes, the faster
// shape routines against their references on random shapes (guard bands
// included), lines far off the screen, and the calls on a started engine.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "display/colour.h"
#include "display/pixel_format.h"
#include "display/shape_routines.h"
#include "image/image.h"
#include "platform/common/bitmap_font.h"
#include "tests/display/display_fixture.h"
#include "tests/support/guarded_frame.h"

namespace {

class ShapesTest : public DisplayTest {};

constexpr std::uint16_t kInk = 0x1234;

// The word a picture loaded from a file gets for the same 8-bit colour.
std::uint16_t LoadedWord(Colour colour) {
    Image picture(1, 1, IMAGE_32BIT);
    picture.pixels[0] = colour.red;
    picture.pixels[1] = colour.green;
    picture.pixels[2] = colour.blue;
    picture.ConvertDepth(IMAGE_16BIT);
    return picture.Words()[0];
}

TEST_F(ShapesTest, AColourIsTheWordOfTheDisplaysOwnFormat) {
    SetPixelFormat(0xF800, 0x07E0, 0x001F);
    EXPECT_EQ(COLOUR_WHITE.Word(), 0xFFFF);
    EXPECT_EQ(Colour(255, 0, 0).Word(), 0xF800);
    EXPECT_EQ(Colour(0, 255, 0).Word(), 0x07E0);
    EXPECT_EQ(Colour(8, 4, 8).Word(), 0x0821);
    SetPixelFormat(0x7C00, 0x03E0, 0x001F);
    EXPECT_EQ(COLOUR_WHITE.Word(), 0x7FFF);
    EXPECT_EQ(Colour(0, 255, 0).Word(), 0x03E0);
    // Components outside 0 to 255 are kept inside.
    EXPECT_EQ(Colour(300, -5, 255), Colour(255, 0, 255));

    // The same words as loaded pictures and as text in that colour, on both layouts.
    std::mt19937 random(24);
    const std::uint32_t layouts[2][3] = {{0xF800, 0x07E0, 0x001F}, {0x7C00, 0x03E0, 0x001F}};
    for (const auto& masks : layouts) {
        SetPixelFormat(masks[0], masks[1], masks[2]);
        for (int i = 0; i < 2000; ++i) {
            const Colour colour(static_cast<int>(random() % 256), static_cast<int>(random() % 256),
                                static_cast<int>(random() % 256));
            ASSERT_EQ(colour.Word(), LoadedWord(colour));
            ASSERT_EQ(colour.Word(), bitmapfont::PackColour(colour.red, colour.green, colour.blue,
                                                            static_cast<std::uint32_t>(RedMask),
                                                            static_cast<std::uint32_t>(GreenMask),
                                                            static_cast<std::uint32_t>(BlueMask)));
        }
    }
}

// Two guarded frames under one clip rectangle: the reference draws into the
// first, the routine the engine uses into the second.
struct FramePair {
    GuardedFrame reference{64, 48};
    GuardedFrame fast{64, 48};
    ShapeFrame referenceFrame;
    ShapeFrame fastFrame;

    void Clip(int left, int top, int right, int bottom) {
        reference.Attach();
        SetClipFields(left, top, right, bottom);
        referenceFrame = ShapeFrameOf(Corvane);
        fast.Attach();
        SetClipFields(left, top, right, bottom);
        fastFrame = ShapeFrameOf(Corvane);
    }
};

// Every word of the surface the engine sees: rows of Corvane.width words, the
// padding between the visible part of one row and the next included (a clip
// rectangle past the visible width reaches it, as on a padded surface).
std::vector<std::uint16_t> SurfaceWords(GuardedFrame& frame) {
    std::vector<std::uint16_t> words;
    const int rowLength = frame.Width() + 2 * GuardedFrame::kGuard;
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < rowLength; ++x) words.push_back(frame.At(x, y));
    return words;
}

int Near(std::mt19937& random, int size) {
    // Mostly around the frame, sometimes far beyond it.
    const int reach = random() % 4 == 0 ? 3000 : 40;
    return static_cast<int>(random() % static_cast<unsigned>(size + 2 * reach)) - reach;
}

TEST_F(ShapesTest, FastShapesDrawTheReferencesPixelsOnRandomShapes) {
    std::mt19937 random(2024);
    FramePair pair;
    for (int i = 0; i < 3000; ++i) {
        // Clip rectangles inside, across and past the frame's edges, some empty.
        const int left = Near(random, 64) / 8, top = Near(random, 48) / 8;
        pair.Clip(left, top, left + Near(random, 64), top + Near(random, 48));
        const int x0 = Near(random, 64), y0 = Near(random, 48);
        const int x1 = Near(random, 64), y1 = Near(random, 48);
        const auto word = static_cast<std::uint16_t>(random() | 1);
        if (i % 2 == 0) {
            FillRectEachPixel(pair.referenceFrame, x0, y0, x1 - x0, y1 - y0, word);
            FillRectRows(pair.fastFrame, x0, y0, x1 - x0, y1 - y0, word);
        } else {
            DrawLineEachStep(pair.referenceFrame, x0, y0, x1, y1, word);
            DrawLineClipped(pair.fastFrame, x0, y0, x1, y1, word);
        }
        ASSERT_EQ(SurfaceWords(pair.reference), SurfaceWords(pair.fast))
            << "case " << i << ": (" << x0 << ", " << y0 << ") (" << x1 << ", " << y1 << ")";
        ASSERT_TRUE(pair.fast.SurfaceBoundsIntact()) << "case " << i;
        ASSERT_TRUE(pair.reference.SurfaceBoundsIntact()) << "case " << i;
    }
}

std::set<std::pair<int, int>> Lit(GuardedFrame& frame) {
    std::set<std::pair<int, int>> lit;
    for (int y = 0; y < frame.Height(); ++y)
        for (int x = 0; x < frame.Width(); ++x)
            if (frame.At(x, y) != 0) lit.insert({x, y});
    return lit;
}

TEST_F(ShapesTest, ALineCoversBothEndsAndTheSamePixelsBackwards) {
    std::mt19937 random(7);
    FramePair pair;
    for (int i = 0; i < 500; ++i) {
        pair.reference.Clear(0);
        pair.fast.Clear(0);
        pair.Clip(0, 0, 63, 47);
        const int x0 = static_cast<int>(random() % 64), y0 = static_cast<int>(random() % 48);
        const int x1 = static_cast<int>(random() % 64), y1 = static_cast<int>(random() % 48);
        DrawLineClipped(pair.referenceFrame, x0, y0, x1, y1, kInk);
        DrawLineClipped(pair.fastFrame, x1, y1, x0, y0, kInk);
        const auto forwards = Lit(pair.reference);
        ASSERT_EQ(forwards, Lit(pair.fast)) << x0 << "," << y0 << " " << x1 << "," << y1;
        EXPECT_TRUE(forwards.count({x0, y0}) == 1 && forwards.count({x1, y1}) == 1);
        // One pixel for each step along the longer axis.
        const int steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0)) + 1;
        ASSERT_EQ(forwards.size(), static_cast<std::size_t>(steps));
    }
}

TEST_F(ShapesTest, LinesFromFarOffTheScreenCostOnlyWhatShows) {
    GuardedFrame frame(64, 48);
    frame.Attach();
    const ShapeFrame shape = ShapeFrameOf(Corvane);
    // Each of these spans 2^32 steps: only the visible ones may be walked.
    DrawLineClipped(shape, INT_MIN, 10, INT_MAX, 10, kInk);
    DrawLineClipped(shape, INT_MIN, INT_MIN, INT_MAX, INT_MAX, kInk);
    // (0, INT_MIN) to (1, INT_MAX): past the middle step the column is 1.
    DrawLineClipped(shape, 0, INT_MIN, 1, INT_MAX, kInk);
    std::set<std::pair<int, int>> expected;
    for (int x = 0; x < 64; ++x) expected.insert({x, 10});
    for (int t = 0; t < 48; ++t) expected.insert({t, t});
    for (int y = 0; y < 48; ++y) expected.insert({1, y});
    EXPECT_EQ(Lit(frame), expected);
    EXPECT_TRUE(frame.GuardsIntact());
}

TEST_F(ShapesTest, TheCallsDrawTheColourInTheLockedFrameWithinTheClip) {
    ASSERT_TRUE(Start(0, 320, 200));
    ASSERT_TRUE(Corvane.LockSurface());
    Corvane.ClearScreen();
    Corvane.FillRect(10, 10, 5, 3, COLOUR_WHITE);
    Corvane.DrawRect(100, 50, 4, 3, Colour(255, 0, 0));
    Corvane.DrawLine(200, 20, 203, 20, COLOUR_BLUE);
    Corvane.DrawPixel(300, 190, COLOUR_GREEN);
    Corvane.SetClip(0, 0, 49, 199);
    Corvane.FillRect(40, 100, 100, 1, COLOUR_YELLOW);
    Corvane.DrawPixel(60, 120, COLOUR_WHITE);
    Corvane.UnlockSurface();
    // Outside a lock nothing is drawn.
    Corvane.FillRect(0, 0, 320, 200, COLOUR_WHITE);
    Corvane.DrawLine(0, 0, 319, 199, COLOUR_WHITE);
    Corvane.ViewUpdate();

    const headless::Frame& shown = headless::LastFrame();
    ASSERT_EQ(shown.width, 320);
    std::set<std::pair<int, int>> lit;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x)
            if (shown.At(x, y) != 0) lit.insert({x, y});
    std::set<std::pair<int, int>> expected;
    for (int y = 10; y < 13; ++y)
        for (int x = 10; x < 15; ++x) expected.insert({x, y});
    for (int x = 100; x < 104; ++x) expected.insert({x, 50}), expected.insert({x, 52});
    expected.insert({100, 51});
    expected.insert({103, 51});
    for (int x = 200; x < 204; ++x) expected.insert({x, 20});
    expected.insert({300, 190});
    for (int x = 40; x < 50; ++x) expected.insert({x, 100});
    EXPECT_EQ(lit, expected);
    EXPECT_EQ(shown.At(10, 10), 0xFFFF) << "white on 5:6:5, where FillBox gives 0x7FFF";
    EXPECT_EQ(shown.At(100, 50), 0xF800);
    EXPECT_EQ(shown.At(200, 20), 0x001F);
    EXPECT_EQ(shown.At(300, 190), 0x07E0);
    EXPECT_EQ(shown.At(45, 100), 0xFFE0);
}

TEST_F(ShapesTest, AnOutlineIsTheRectanglesEdgeForEverySize) {
    SetPixelFormat(0xF800, 0x07E0, 0x001F);
    GuardedFrame frame(20, 20);
    for (int w = 0; w <= 4; ++w) {
        for (int h = 0; h <= 4; ++h) {
            frame.Clear(0);
            frame.Attach();
            Corvane.DrawRect(3, 5, w, h, COLOUR_WHITE);
            std::set<std::pair<int, int>> expected;
            for (int y = 5; y < 5 + h; ++y)
                for (int x = 3; x < 3 + w; ++x)
                    if (x == 3 || y == 5 || x == 2 + w || y == 4 + h) expected.insert({x, y});
            EXPECT_EQ(Lit(frame), expected) << w << " x " << h;
        }
    }
    EXPECT_TRUE(frame.GuardsIntact());
}

}  // namespace
