#include <cstdint>
#include <string>

#include "platform/common/bitmap_font.h"
#include "tests/display/display_fixture.h"

namespace {

using headless::CallsOf;
using headless::Op;

const char* const kNoContext = "WinDX::DrawText: Unable to get device context handle.\n  ";

class DrawTextTest : public DisplayTest {
protected:
    // The presented frame must be the pattern with text's glyph pixels, cells
    // from (x, y), in ink wherever they fall on the frame.
    static int Mismatches(const headless::Frame& frame, int x, int y, const std::string& text,
                          std::uint16_t ink) {
        int wrong = 0;
        for (int py = 0; py < frame.height; ++py) {
            for (int px = 0; px < frame.width; ++px) {
                std::uint16_t expected = Pattern(px, py);
                const int cell = px - x;
                const int row = py - y;
                if (cell >= 0 && row >= 0 && row < bitmapfont::kGlyphHeight &&
                    cell / bitmapfont::kGlyphWidth < static_cast<int>(text.size())) {
                    const auto ch =
                        static_cast<unsigned char>(text[cell / bitmapfont::kGlyphWidth]);
                    if (bitmapfont::kGlyphs[ch][row] & (0x80 >> (cell % bitmapfont::kGlyphWidth)))
                        expected = ink;
                }
                wrong += frame.At(px, py) != expected;
            }
        }
        return wrong;
    }

    static int Inked(const headless::Frame& frame, std::uint16_t ink) {
        int count = 0;
        for (std::uint16_t p : frame.pixels) count += p == ink;
        return count;
    }
};

TEST_F(DrawTextTest, TextColourPacksTheLowByteOfEachComponent) {
    EXPECT_EQ(Corvane.textColor, 0u);
    Corvane.SetTextRGB(300, 0, 0);
    EXPECT_EQ(Corvane.textRed, 300);
    EXPECT_EQ(Corvane.textColor, 44u);
    Corvane.SetTextRGB(-1, 256, 3);
    EXPECT_EQ(Corvane.textRed, -1);
    EXPECT_EQ(Corvane.textGreen, 256);
    EXPECT_EQ(Corvane.textColor, 0x0300FFu);
}

TEST_F(DrawTextTest, GlyphsInTheTextColourOverTheFinishedFrame) {
    ASSERT_TRUE(Start(0, 320, 200));
    DrawPattern(320, 200);
    Corvane.SetTextRGB(0, 255, 0);
    EXPECT_EQ(Corvane.DrawText(5, 7, "Score: 120"), 1);
    Corvane.ViewUpdate();
    const headless::Frame& frame = headless::LastFrame();
    ASSERT_EQ(frame.width, 320);
    EXPECT_EQ(Mismatches(frame, 5, 7, "Score: 120", 0x07E0), 0);
    EXPECT_GT(Inked(frame, 0x07E0), 100);
    EXPECT_EQ(CallsOf(Op::GetDC).size(), 1u);
    EXPECT_EQ(CallsOf(Op::ReleaseDC).size(), 1u);
    EXPECT_EQ(CallsOf(Op::ReleaseDC)[0].result, DD_OK);
}

TEST_F(DrawTextTest, FiveFiveFiveSurfaceGetsTheColourInItsOwnFormat) {
    headless::SetSurfaceFormat(headless::SurfaceFormat::Rgb555);
    ASSERT_TRUE(Start(0, 320, 200));
    DrawPattern(320, 200);
    Corvane.SetTextRGB(255, 128, 0);
    EXPECT_EQ(Corvane.DrawText(0, 0, "Hi"), 1);
    Corvane.ViewUpdate();
    EXPECT_EQ(Mismatches(headless::LastFrame(), 0, 0, "Hi", 0x7E00), 0);
}

TEST_F(DrawTextTest, ClippedToTheSurfaceNotToTheClipRectangle) {
    headless::SetExtraPitch(6);
    ASSERT_TRUE(Start(0, 320, 200));
    DrawPattern(320, 200);
    Corvane.SetClip(100, 100, 110, 110);
    Corvane.SetTextRGB(255, 255, 255);
    EXPECT_EQ(Corvane.DrawText(300, 190, "edge"), 1);
    EXPECT_EQ(Corvane.DrawText(-12, -9, "corner"), 1);
    Corvane.ViewUpdate();
    const headless::Frame& frame = headless::LastFrame();
    int outsideClip = 0;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) outsideClip += frame.At(x, y) == 0xFFFF;
    EXPECT_GT(outsideClip, 0);
    // Each string alone accounts for its own pixels: compare one at a time.
    DrawPattern(320, 200);
    Corvane.DrawText(300, 190, "edge");
    Corvane.ViewUpdate();
    EXPECT_EQ(Mismatches(headless::LastFrame(), 300, 190, "edge", 0xFFFF), 0);
    DrawPattern(320, 200);
    Corvane.DrawText(-12, -9, "corner");
    Corvane.ViewUpdate();
    EXPECT_EQ(Mismatches(headless::LastFrame(), -12, -9, "corner", 0xFFFF), 0);
}

TEST_F(DrawTextTest, EmptyTextDrawsNothingAndSucceeds) {
    ASSERT_TRUE(Start(0, 320, 200));
    DrawPattern(320, 200);
    Corvane.SetTextRGB(255, 255, 255);
    EXPECT_EQ(Corvane.DrawText(10, 10, ""), 1);
    EXPECT_EQ(Corvane.DrawText(10, 10, nullptr), 1);
    Corvane.ViewUpdate();
    EXPECT_EQ(PatternMismatches(headless::LastFrame()), 0);
}

TEST_F(DrawTextTest, RefusedDeviceContextIsLoggedAndDrawsNothing) {
    ASSERT_TRUE(Start(0, 320, 200));
    DrawPattern(320, 200);
    Corvane.SetTextRGB(255, 255, 255);
    const std::string before = ReadDebugLog();

    headless::FailCall(Op::GetDC, 1, DDERR_CANTCREATEDC);
    EXPECT_EQ(Corvane.DrawText(10, 10, "refused"), 0);
    // A lost surface lends no context either.
    headless::LoseSurfaces();
    EXPECT_EQ(Corvane.DrawText(10, 10, "lost"), 0);

    EXPECT_EQ(ReadDebugLog(), before + kNoContext + kNoContext);
    EXPECT_TRUE(CallsOf(Op::ReleaseDC).empty());
}

TEST_F(DrawTextTest, RefusedWhileTheEngineHoldsTheSurfaceLocked) {
    ASSERT_TRUE(Start(0, 320, 200));
    DrawPattern(320, 200);
    const std::string before = ReadDebugLog();
    ASSERT_TRUE(Corvane.LockSurface());
    EXPECT_EQ(Corvane.DrawText(0, 0, "locked"), 0);
    Corvane.UnlockSurface();
    Corvane.ViewUpdate();
    EXPECT_EQ(PatternMismatches(headless::LastFrame()), 0);
    EXPECT_EQ(ReadDebugLog(), before + kNoContext);
}

TEST_F(DrawTextTest, BeforeStartUpThereIsNoContextToHave) {
    EXPECT_EQ(Corvane.DrawText(0, 0, "early"), 0);
    EXPECT_EQ(ReadDebugLog(), kNoContext);
}

}  // namespace
