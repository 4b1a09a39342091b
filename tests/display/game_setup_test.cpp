// What a game sets about itself (its name, its window's title, no sound) and
// the size of its text.
#include <algorithm>
#include <string>

#include "platform/common/bitmap_font.h"
#include "tests/display/display_fixture.h"

namespace {

using headless::Op;

class GameSetupTest : public DisplayTest {};

TEST_F(GameSetupTest, ANamedGameSaysItsNameInItsErrorBoxesAndTitle) {
    Corvane.SetName("Snake");
    headless::FailCall(Op::DirectDrawCreate, 1, DDERR_GENERIC);
    EXPECT_FALSE(Start(0, 640, 480));
    EXPECT_EQ(headless::Describe(Corvane.GetWindow()).title, "Snake");
    Corvane.ReportError();
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    const headless::MessageBoxRecord& box = headless::MessageBoxes()[0];
    EXPECT_EQ(box.caption, "Snake");
    EXPECT_EQ(box.text.rfind("Unable to start Snake.\n\nError: DDSTART_FAILED", 0), 0u) << box.text;
    // The advice still names the engine the game runs on, and so does the log.
    EXPECT_NE(box.text.find("Corvane requires one of these"), std::string::npos);
    EXPECT_NE(ReadDebugLog().find("Corvane Error: DDSTART_FAILED"), std::string::npos);
}

TEST_F(GameSetupTest, TheEnginesOwnGameKeepsItsNameAndAnEmptyTitle) {
    headless::FailCall(Op::DirectDrawCreate, 1, DDERR_GENERIC);
    EXPECT_FALSE(Start(0, 640, 480));
    EXPECT_EQ(headless::Describe(Corvane.GetWindow()).title, "");
    EXPECT_EQ(headless::CallCount(Op::DirectDrawCreate), 1);
    Corvane.ReportError();
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_EQ(headless::MessageBoxes()[0].caption, "Corvane");
    EXPECT_EQ(headless::MessageBoxes()[0].text.rfind("Unable to start Corvane.\n\n", 0), 0u);
    // A name given back as empty is the engine's again.
    Corvane.SetName("Snake");
    Corvane.SetName("");
    EXPECT_STREQ(Corvane.GetName(), "Corvane");
}

TEST_F(GameSetupTest, TheTitleFollowsTheGameWhileItRuns) {
    Corvane.SetTitle("Snake - score 0");
    Corvane.SetName("Snake");
    ASSERT_TRUE(Start(0, 320, 200));
    EXPECT_EQ(headless::Describe(Corvane.GetWindow()).title, "Snake - score 0");
    Corvane.SetTitle("Snake - score 3");
    EXPECT_EQ(headless::Describe(Corvane.GetWindow()).title, "Snake - score 3");
    Corvane.SetTitle(nullptr);
    EXPECT_EQ(headless::Describe(Corvane.GetWindow()).title, "");
}

TEST_F(GameSetupTest, ASilentGameStartsWithoutASoundDevice) {
    headless::FailFrom(Op::DirectSoundCreate, 1, DSERR_NODRIVER);
    EXPECT_TRUE(Corvane.UseSound(false));
    ASSERT_TRUE(Start(0, 320, 200));
    EXPECT_EQ(Corvane.GetStatus(), INIT_OK);
    EXPECT_EQ(headless::CallCount(Op::DirectSoundCreate), 0) << "no device was even asked for";
    EXPECT_FALSE(Corvane.UseSound(true)) << "too late once started";
    EXPECT_NE(ReadDebugLog().find("finished OK"), std::string::npos);
}

TEST_F(GameSetupTest, AGameWithSoundStillNeedsTheDevice) {
    headless::FailFrom(Op::DirectSoundCreate, 1, DSERR_NODRIVER);
    EXPECT_FALSE(Start(0, 320, 200));
    EXPECT_EQ(Corvane.GetStatus(), SOUNDINIT_FAILED);
}

TEST_F(GameSetupTest, TextMeasuresTheCellsDrawTextFills) {
    // Before start-up the screen's context measures.
    EXPECT_EQ(Corvane.MeasureText("abc").width, 24);
    ASSERT_TRUE(Start(0, 320, 200));
    const TextSize empty = Corvane.MeasureText("");
    EXPECT_EQ(empty.width, 0);
    EXPECT_EQ(empty.height, bitmapfont::kGlyphHeight);
    EXPECT_EQ(Corvane.MeasureText(nullptr).width, 0);

    // Measured while the frame is locked, then drawn: every lit pixel lies in the box.
    const char* text = "Score: 42 |_gjW";
    ASSERT_TRUE(Corvane.LockSurface());
    const TextSize size = Corvane.MeasureText(text);
    Corvane.ClearScreen();
    Corvane.UnlockSurface();
    EXPECT_EQ(size.width, 15 * bitmapfont::kGlyphWidth);
    EXPECT_EQ(size.height, bitmapfont::kGlyphHeight);
    Corvane.SetTextColour(COLOUR_WHITE);
    ASSERT_EQ(Corvane.DrawText(30, 40, text), 1);
    Corvane.ViewUpdate();
    const headless::Frame& shown = headless::LastFrame();
    int left = shown.width, right = -1, top = shown.height, bottom = -1;
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            if (shown.At(x, y) == 0) continue;
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        }
    }
    EXPECT_GE(left, 30);
    EXPECT_LT(right, 30 + size.width);
    EXPECT_GE(top, 40);
    EXPECT_LT(bottom, 40 + size.height);
    // Wide enough that the last character reaches its last cell.
    EXPECT_GE(right, 30 + size.width - bitmapfont::kGlyphWidth);
}

}  // namespace
