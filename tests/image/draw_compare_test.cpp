// Every vector implementation of the draw routines against the reference loops:
// the same random scenes drawn both ways must leave the same words everywhere,
// guard bands included. A failure names the seed; CORVANE_DRAW_SEED=<seed>
// replays that one case, CORVANE_DRAW_CASES=<n> runs a longer series.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "display/pixel_format.h"
#include "image/draw_implementation.h"
#include "image/draw_routines.h"
#include "image/image.h"
#include "shell/windx.h"
#include "tests/image/routine_table.h"
#include "tests/support/engine_fixture.h"

namespace {

// The vector implementations this processor runs, narrowest first.
std::vector<DrawImplementation> FastImplementations() {
    std::vector<DrawImplementation> out;
    for (DrawImplementation which : DrawImplementations()) {
        if (which != DrawImplementation::Reference && DrawImplementationAvailable(which))
            out.push_back(which);
    }
    return out;
}

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    return text != nullptr && *text != '\0' ? std::strtoull(text, nullptr, 10) : fallback;
}

// A back buffer with wide guard bands: more columns on each side of a row than
// the widest register holds, and whole rows above and below. Rows are pitch
// words apart, with padding between the frame's right edge and the guard.
class Surface {
public:
    static constexpr int kGuardColumns = 40;
    static constexpr int kGuardRows = 3;

    Surface(int width, int height, int padding, std::mt19937& random)
        : width_(width),
          height_(height),
          pitch_(width + padding + 2 * kGuardColumns),
          words_(static_cast<std::size_t>(pitch_) * (height + 2 * kGuardRows)) {
        for (auto& word : words_) word = static_cast<std::uint16_t>(random());
    }

    // Points the engine at the frame, as a lock does; the row length is the
    // pitch so that a draw running past its row lands in the guards.
    void Attach() {
        Corvane.backBuffer = &words_[static_cast<std::size_t>(kGuardRows) * pitch_ + kGuardColumns];
        Corvane.width = pitch_;
        Corvane.height = height_;
        Corvane.pitch = pitch_ * 2;
        Corvane.rowOffset.assign(height_ + 1, 0);
        for (int y = 0; y <= height_; ++y) Corvane.rowOffset[y] = y * pitch_ * 2;
    }

    std::uint16_t& At(int x, int y) {
        return words_[static_cast<std::size_t>(y + kGuardRows) * pitch_ + kGuardColumns + x];
    }

    // Where the two surfaces first differ, or an empty string.
    std::string FirstDifference(const Surface& other) const {
        for (std::size_t i = 0; i < words_.size(); ++i) {
            if (words_[i] != other.words_[i]) {
                std::ostringstream where;
                const long row = static_cast<long>(i / pitch_) - kGuardRows;
                const long column = static_cast<long>(i % pitch_) - kGuardColumns;
                where << "first difference at column " << column << ", row " << row
                      << ": reference " << words_[i] << ", got " << other.words_[i];
                return where.str();
            }
        }
        return "";
    }

    // Whether any word outside the inclusive rectangle differs from `before`.
    bool ChangedOutside(const Surface& before, int left, int top, int right, int bottom) const {
        for (std::size_t i = 0; i < words_.size(); ++i) {
            const long row = static_cast<long>(i / pitch_) - kGuardRows;
            const long column = static_cast<long>(i % pitch_) - kGuardColumns;
            const bool inside = column >= left && column <= right && row >= top && row <= bottom;
            if (!inside && words_[i] != before.words_[i]) return true;
        }
        return false;
    }

    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    int width_;
    int height_;
    int pitch_;
    std::vector<std::uint16_t> words_;
};

// Masks of a display format, with its name for messages.
struct Format {
    std::uint32_t red, green, blue;
    std::string name;
};

// 5:6:5 and 5:5:5 mostly; sometimes other fields (runs of bits apart from each
// other, which the vector sums treat their own way), arbitrary 16-bit masks,
// which the vector rules must follow as exactly as the reference, and masks
// reaching past bit 15, which must keep the reference's words too.
Format RandomFormat(std::mt19937& random) {
    const unsigned pick = random() % 20;
    if (pick < 9) return {0xF800, 0x07E0, 0x001F, "5:6:5"};
    if (pick < 17) return {0x7C00, 0x03E0, 0x001F, "5:5:5"};
    Format f{0, 0, 0, ""};
    if (pick == 17) {
        // Three runs in turn from a random bit on, each 0 to 6 bits long.
        std::uint32_t* fields[] = {&f.blue, &f.green, &f.red};
        int bit = static_cast<int>(random() % 3);
        for (std::uint32_t* field : fields) {
            const int length = std::min(static_cast<int>(random() % 7), 16 - bit);
            *field = ((1u << length) - 1) << bit;
            bit += length + static_cast<int>(random() % 2);
            bit = std::min(bit, 16);
        }
    } else {
        const std::uint32_t limit = pick == 18 ? 0xFFFF : 0x3FFFF;
        f = {static_cast<std::uint32_t>(random() & limit),
             static_cast<std::uint32_t>(random() & limit),
             static_cast<std::uint32_t>(random() & limit), ""};
    }
    std::ostringstream name;
    name << std::hex << "masks " << f.red << "/" << f.green << "/" << f.blue;
    f.name = name.str();
    return f;
}

// A word with the values the rules treat specially often enough to matter:
// the key word 0, the skipped destination 255, all ones.
std::uint16_t EdgeWord(std::mt19937& random, unsigned zeroPercent, unsigned word255Percent) {
    const unsigned pick = random() % 100;
    if (pick < zeroPercent) return 0;
    if (pick < zeroPercent + word255Percent) return 255;
    if (pick < zeroPercent + word255Percent + 5) return 0xFFFF;
    return static_cast<std::uint16_t>(random());
}

// Alpha bytes: 255 (skip) and 0 (replace) often, anything else otherwise.
std::uint8_t EdgeKeep(std::mt19937& random) {
    const unsigned pick = random() % 100;
    if (pick < 30) return 255;
    if (pick < 50) return 0;
    if (pick < 55) return 254;
    return static_cast<std::uint8_t>(random());
}

// Image widths from 0 to past three widest registers, small ones more often.
int RandomWidth(std::mt19937& random) {
    switch (random() % 4) {
        case 0:
            return static_cast<int>(random() % 9);
        case 1:
            return static_cast<int>(random() % 40);
        default:
            return static_cast<int>(random() % 110);
    }
}

void FillImage(Image& image, int width, int height, std::int8_t purpose, std::mt19937& random) {
    image.Size(width, height, IMAGE_16BIT | IMAGE_ALPHA);
    image.SetPurpose(purpose);
    auto* words = reinterpret_cast<std::uint16_t*>(image.pixels);
    const unsigned zeros = purpose == DRAW_MASKED ? 40 : purpose == DRAW_ADDITIVE ? 20 : 5;
    for (int i = 0; i < width * height; ++i) {
        words[i] = EdgeWord(random, zeros, 5);
        image.alpha[i] = EdgeKeep(random);
    }
}

// A picture as a file delivers it and Prepare makes it ready: in each row a
// run of covered pixels between transparent margins (some rows wholly
// transparent), opaque and translucent inside.
void PrepareSprite(Image& image, int width, int height, std::int8_t purpose, std::mt19937& random) {
    image.Size(width, height, IMAGE_16BIT | IMAGE_ALPHA);
    auto* words = reinterpret_cast<std::uint16_t*>(image.pixels);
    for (int y = 0; y < height; ++y) {
        const int first = width > 0 ? static_cast<int>(random() % (width + 1)) : 0;
        const int end = first + static_cast<int>(random() % (width - first + 1));
        for (int x = 0; x < width; ++x) {
            const int i = y * width + x;
            words[i] = EdgeWord(random, 5, 5);
            const bool covered = x >= first && x < end;
            image.alpha[i] = !covered ? 0 : random() % 3 == 0 ? 255 : EdgeKeep(random);
        }
    }
    image.Prepare(purpose);
}

// Writes straight into the planes after preparing, as the planes' owner may:
// random words and alpha bytes anywhere, the transparent margins included.
void WriteIntoPlanes(Image& image, std::mt19937& random) {
    const int count = image.width * image.height;
    if (count <= 0) return;
    auto* words = reinterpret_cast<std::uint16_t*>(image.pixels);
    for (int n = 1 + static_cast<int>(random() % 4); n > 0; --n) {
        const int i = static_cast<int>(random() % count);
        if (words != nullptr) words[i] = EdgeWord(random, 30, 5);
        if (image.AlphaPlane() != nullptr) image.alpha[i] = EdgeKeep(random);
    }
}

// How a scene's picture is made.
enum class Picture {
    Filled,         // random planes given a purpose, never prepared
    Prepared,       // prepared from a file's picture
    WrittenAfter,   // prepared, then written into directly
    SetPixelAfter,  // prepared, then changed through SetPixel
};

const char* PictureName(Picture picture) {
    switch (picture) {
        case Picture::Filled:
            return "filled";
        case Picture::Prepared:
            return "prepared";
        case Picture::WrittenAfter:
            return "prepared, then written into";
        case Picture::SetPixelAfter:
            return "prepared, then SetPixel";
    }
    return "";
}

void MakePicture(Image& image, Picture picture, int width, int height, std::int8_t purpose,
                 std::mt19937& random) {
    if (picture == Picture::Filled) {
        FillImage(image, width, height, purpose, random);
        return;
    }
    PrepareSprite(image, width, height, purpose, random);
    if (picture == Picture::WrittenAfter) WriteIntoPlanes(image, random);
    if (picture == Picture::SetPixelAfter && width > 0 && height > 0) {
        image.SetPixel(static_cast<int>(random() % width), static_cast<int>(random() % height),
                       static_cast<int>(random() % 32), 0, static_cast<int>(random() % 32));
    }
}

// One random scene drawn by the reference and by `fast`; the failure text, or
// an empty string when both leave the same words.
std::string CompareCase(std::uint64_t seed, DrawImplementation fast) {
    std::mt19937 random(static_cast<std::mt19937::result_type>(seed));
    const Format format = RandomFormat(random);
    SetPixelFormat(format.red, format.green, format.blue);
    const Routine& routine = kRoutines[random() % 4];

    const int frameWidth = 1 + static_cast<int>(random() % 130);
    const int frameHeight = 1 + static_cast<int>(random() % 20);
    Surface before(frameWidth, frameHeight, static_cast<int>(random() % 3), random);
    for (int y = 0; y < frameHeight; ++y)
        for (int x = 0; x < frameWidth; ++x) before.At(x, y) = EdgeWord(random, 10, 15);

    int left = 0, top = 0, right = frameWidth - 1, bottom = frameHeight - 1;
    if (random() % 2 == 0) {
        left = static_cast<int>(random() % frameWidth);
        right = left + static_cast<int>(random() % (frameWidth - left));
        top = static_cast<int>(random() % frameHeight);
        bottom = top + static_cast<int>(random() % (frameHeight - top));
    }

    Image image;
    const int width = RandomWidth(random);
    const int height = static_cast<int>(random() % 12);
    const auto picture = static_cast<Picture>(random() % 4);
    MakePicture(image, picture, width, height, routine.purpose, random);
    // From wholly left of / above the clip rectangle to wholly right / below it.
    const int x = left - width - 2 + static_cast<int>(random() % (right - left + width + 5));
    const int y = top - height - 2 + static_cast<int>(random() % (bottom - top + height + 5));

    std::ostringstream scene;
    scene << "seed " << seed << ": " << DrawImplementationName(fast) << " " << routine.name << " "
          << PictureName(picture) << " " << width << "x" << height << " at " << x << "," << y
          << " on " << frameWidth << "x" << frameHeight << ", clip " << left << "," << top << "-"
          << right << "," << bottom << ", " << format.name;

    Surface expected = before;
    Surface actual = before;
    Corvane.SetClip(left, top, right, bottom);
    SetDrawImplementation(DrawImplementation::Reference);
    expected.Attach();
    const int expectedAnswer = routine.draw(x, y, &image);
    SetDrawImplementation(fast);
    actual.Attach();
    const int answer = routine.draw(x, y, &image);

    if (expectedAnswer != 1 || answer != 1)
        return scene.str() + ": answered " + std::to_string(answer);
    if (expected.ChangedOutside(before, left, top, right, bottom))
        return scene.str() + ": the reference wrote outside the clip rectangle";
    const std::string difference = expected.FirstDifference(actual);
    return difference.empty() ? "" : scene.str() + ": " + difference;
}

class DrawCompareTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        SetPixelFormat(0xF800, 0x07E0, 0x001F);
        atStart_ = ActiveDrawImplementation();
    }
    void TearDown() override {
        SetDrawImplementation(atStart_);
        EngineTest::TearDown();
    }

    // The implementation in use when the case began: every case puts it back,
    // so this is the program's start-up choice.
    DrawImplementation atStart_ = DrawImplementation::Reference;
};

// Run by CTest with CORVANE_DRAW set to a name, an unknown word and nothing:
// a name the processor runs is used from the start, anything else gives the
// widest set.
TEST_F(DrawCompareTest, StartUpChoiceFollowsTheEnvironment) {
    const std::vector<DrawImplementation> fast = FastImplementations();
    DrawImplementation expected = fast.empty() ? DrawImplementation::Reference : fast.back();
    DrawImplementation named = DrawImplementation::Best;
    if (ParseDrawImplementation(std::getenv("CORVANE_DRAW"), named) &&
        named != DrawImplementation::Best && DrawImplementationAvailable(named))
        expected = named;
    EXPECT_EQ(atStart_, expected) << "CORVANE_DRAW="
                                  << (std::getenv("CORVANE_DRAW") ? std::getenv("CORVANE_DRAW")
                                                                  : "");
}

TEST_F(DrawCompareTest, BestIsTheWidestSetTheProcessorRuns) {
    ASSERT_TRUE(SetDrawImplementation(DrawImplementation::Best));
    const std::vector<DrawImplementation> fast = FastImplementations();
    const DrawImplementation widest = fast.empty() ? DrawImplementation::Reference : fast.back();
    EXPECT_EQ(ActiveDrawImplementation(), widest);
    std::cout << "draw implementations here:";
    for (DrawImplementation which : fast) std::cout << " " << DrawImplementationName(which);
    std::cout << "; best " << DrawImplementationName(widest) << "\n";

    for (DrawImplementation which : fast) {
        ASSERT_TRUE(SetDrawImplementation(which));
        EXPECT_EQ(ActiveDrawImplementation(), which);
    }
    ASSERT_TRUE(SetDrawImplementation(DrawImplementation::Reference));
    EXPECT_EQ(ActiveDrawImplementation(), DrawImplementation::Reference);
}

TEST_F(DrawCompareTest, NamesAreTheEnvironmentVariablesWords) {
    std::string names;
    for (DrawImplementation which : DrawImplementations())
        names += std::string(DrawImplementationName(which)) + " ";
    EXPECT_EQ(names, "reference sse2 avx2 avx512 ");
    std::vector<DrawImplementation> all = DrawImplementations();
    all.push_back(DrawImplementation::Best);
    for (DrawImplementation which : all) {
        DrawImplementation read = which == DrawImplementation::Best ? DrawImplementation::Reference
                                                                    : DrawImplementation::Best;
        ASSERT_TRUE(ParseDrawImplementation(DrawImplementationName(which), read));
        EXPECT_EQ(read, which);
    }
    DrawImplementation read = DrawImplementation::Sse2;
    for (const char* wrong : {"", "AVX2", "avx", "sse2 ", "neon"})
        EXPECT_FALSE(ParseDrawImplementation(wrong, read)) << wrong;
    EXPECT_FALSE(ParseDrawImplementation(nullptr, read));
    EXPECT_EQ(read, DrawImplementation::Sse2);
}

// Every image width up to past three widest registers, at several start
// columns, so each split of a row into wide steps, narrower steps and single
// pixels is drawn for each routine and format.
TEST_F(DrawCompareTest, EveryWidthAndStartColumnMatches) {
    std::mt19937 random(99);
    for (DrawImplementation fast : FastImplementations()) {
        for (const Format& format :
             {Format{0xF800, 0x07E0, 0x001F, "5:6:5"}, Format{0x7C00, 0x03E0, 0x001F, "5:5:5"}}) {
            SetPixelFormat(format.red, format.green, format.blue);
            for (const Routine& routine : kRoutines) {
                for (int width = 0; width <= 100; ++width) {
                    Image image;
                    MakePicture(image, static_cast<Picture>(width % 4), width, 2, routine.purpose,
                                random);
                    Surface before(140, 2, 0, random);
                    for (int start : {0, 1, 2, 3, 5, 8, 13, 31}) {
                        Surface expected = before;
                        Surface actual = before;
                        Corvane.SetClip(0, 0, 139, 1);
                        SetDrawImplementation(DrawImplementation::Reference);
                        expected.Attach();
                        routine.draw(start, 0, &image);
                        SetDrawImplementation(fast);
                        actual.Attach();
                        routine.draw(start, 0, &image);
                        const std::string difference = expected.FirstDifference(actual);
                        ASSERT_EQ(difference, "")
                            << DrawImplementationName(fast) << " " << routine.name << " width "
                            << width << " at column " << start << ", " << format.name;
                    }
                }
            }
        }
    }
}

TEST_F(DrawCompareTest, RandomScenesMatchTheReference) {
    const std::uint64_t single = EnvNumber("CORVANE_DRAW_SEED", 0);
    const std::uint64_t first = single != 0 ? single : 1;
    const std::uint64_t cases = single != 0 ? 1 : EnvNumber("CORVANE_DRAW_CASES", 3000);
    int failures = 0;
    std::uint64_t drawn = 0;
    for (DrawImplementation fast : FastImplementations()) {
        for (std::uint64_t seed = first; seed < first + cases; ++seed) {
            const std::string failure = CompareCase(seed, fast);
            ++drawn;
            if (!failure.empty()) {
                ADD_FAILURE() << failure;
                if (++failures == 10) return;
            }
        }
    }
    std::cout << drawn << " scenes compared from seed " << first << "\n";
}

// The plain routine behind another pointer, so that the tiled background is
// drawn tile by tile, as the engine does with any table but its own.
int PlainTileByTile(int x, int y, Image* image) {
    return DrawPlain16(x, y, image);
}

// With its own plain routine in the table the engine lays the tiled background
// in one pass, row by row; every implementation of that pass must leave the
// words of drawing the tiles one by one: any tile size (narrower and wider
// than a register, wider than the frame), any scroll, any clip rectangle.
TEST_F(DrawCompareTest, TiledBackgroundInOnePassMatchesTileByTile) {
    std::vector<DrawImplementation> all = FastImplementations();
    all.insert(all.begin(), DrawImplementation::Reference);
    for (DrawImplementation fast : all) {
        for (std::uint32_t seed = 1; seed <= 200; ++seed) {
            std::mt19937 random(seed);
            Surface before(1 + static_cast<int>(random() % 250),
                           1 + static_cast<int>(random() % 30), static_cast<int>(random() % 3),
                           random);
            Image tile;
            const int tileWidth = static_cast<int>(random() % 2 ? random() % 40 : random() % 300);
            FillImage(tile, tileWidth, static_cast<int>(random() % 12), DRAW_PLAIN, random);
            const int x = static_cast<int>(random() % 2000) - 1000;
            const int y = static_cast<int>(random() % 2000) - 1000;
            const int left = static_cast<int>(random() % before.Width());
            const int top = static_cast<int>(random() % before.Height());
            const int right = left + static_cast<int>(random() % (before.Width() - left));
            Surface expected = before;
            Surface actual = before;
            SetDrawImplementation(DrawImplementation::Reference);
            Corvane.drawTable.DrawPlain = PlainTileByTile;
            expected.Attach();
            Corvane.SetClip(left, top, right, before.Height() - 1);
            ASSERT_EQ(Corvane.DrawTiled(x, y, &tile), 1);
            SetDrawImplementation(fast);
            Corvane.drawTable.DrawPlain = DrawPlain16;
            actual.Attach();
            Corvane.SetClip(left, top, right, before.Height() - 1);
            ASSERT_EQ(Corvane.DrawTiled(x, y, &tile), 1);
            ASSERT_EQ(expected.FirstDifference(actual), "")
                << "seed " << seed << ": " << DrawImplementationName(fast) << " tile " << tile.width
                << "x" << tile.height << " scrolled to " << x << "," << y << " on "
                << before.Width() << "x" << before.Height();
        }
    }
}

// The frame clear covers `pitch` bytes from each row start, rows two bytes per
// pixel of the row length apart. Rows that overlap (pitch longer than the row
// step) are cleared as one block by the vector sets, rows with gaps between
// them one by one; either way exactly the reference's bytes.
TEST_F(DrawCompareTest, ClearScreenMatches) {
    std::mt19937 random(5);
    for (DrawImplementation fast : FastImplementations()) {
        for (int pitchChange : {0, 1, 2, 7, -1, -2}) {
            for (int height : {1, 2, 9}) {
                Surface before(1 + static_cast<int>(random() % 100), height, 1, random);
                Surface expected = before;
                Surface actual = before;
                SetDrawImplementation(DrawImplementation::Reference);
                expected.Attach();
                Corvane.pitch += pitchChange;
                Corvane.ClearScreen();
                SetDrawImplementation(fast);
                actual.Attach();
                Corvane.pitch += pitchChange;
                Corvane.ClearScreen();
                ASSERT_EQ(expected.FirstDifference(actual), "")
                    << DrawImplementationName(fast) << " pitch change " << pitchChange
                    << ", height " << height;
                ASSERT_EQ(expected.At(0, 0), 0);
                ASSERT_EQ(expected.At(before.Width() - 1, height - 1), 0);
            }
        }
    }
}

}  // namespace
