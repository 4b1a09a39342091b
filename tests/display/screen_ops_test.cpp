#include "display/screen_ops.h"

#include <climits>
#include <cstring>
#include <random>
#include <utility>
#include <vector>

#include "image/image.h"
#include "tests/display/display_fixture.h"

namespace {

class ScreenOpsTest : public DisplayTest {
protected:
    // Locks and fills every byte of the back surface, padding included.
    static void FillSurfaceBytes(std::uint8_t value) {
        ASSERT_TRUE(Corvane.LockSurface());
        std::memset(Corvane.GetBackBuffer(), value,
                    static_cast<size_t>(Corvane.GetPitch()) * Corvane.GetHeight());
    }

    static std::uint16_t PixelAt(int x, int y) {
        return Corvane.GetBackBuffer()[y * Corvane.GetWidth() + x];
    }
};

// The tile positions DrawTiled asked for, through a draw-table entry of our own.
std::vector<std::pair<int, int>> tiles;
int RecordTile(int x, int y, Image*) {
    tiles.emplace_back(x, y);
    return 1;
}

TEST_F(ScreenOpsTest, ClearScreenZeroesEveryRowOverTheWholePitch) {
    headless::SetExtraPitch(10);
    ASSERT_TRUE(Start(0, 100, 40));
    ASSERT_EQ(Corvane.GetPitch(), 210);
    FillSurfaceBytes(0xAB);
    Corvane.ClearScreen();
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(Corvane.GetBackBuffer());
    int nonZero = 0;
    for (int i = 0; i < Corvane.GetPitch() * Corvane.GetHeight(); ++i) nonZero += bytes[i] != 0;
    EXPECT_EQ(nonZero, 0);
    Corvane.UnlockSurface();
}

TEST_F(ScreenOpsTest, FillBoxWritesA555PixelInsideItsRectangleOnly) {
    ASSERT_TRUE(Start(0, 64, 32));
    FillSurfaceBytes(0);
    Corvane.FillBox(0, 0, 0, 0, 255, 255, 255);
    EXPECT_EQ(PixelAt(0, 0), 0x7FFF);
    EXPECT_EQ(PixelAt(1, 0), 0);
    EXPECT_EQ(PixelAt(0, 1), 0);

    // Rows 10 to 12 across the screen, in pure red of the 5:5:5 layout even on
    // this 5:6:5 surface.
    Corvane.FillBox(0, 10, 63, 12, 255, 0, 0);
    for (int y = 1; y < 32; ++y) {
        SCOPED_TRACE(y);
        const std::uint16_t expected = (y >= 10 && y <= 12) ? 0x7C00 : 0;
        EXPECT_EQ(PixelAt(0, y), expected);
        EXPECT_EQ(PixelAt(63, y), expected);
    }
    Corvane.UnlockSurface();
}

TEST_F(ScreenOpsTest, FillBoxBeyondTheBufferIsClippedToIt) {
    headless::SetExtraPitch(8);
    ASSERT_TRUE(Start(0, 64, 32));
    FillSurfaceBytes(0);
    // Would run far past every edge; the surface memory ends right after row 31.
    Corvane.FillBox(-50, -50, 5000, 5000, 0, 0, 255);
    EXPECT_EQ(PixelAt(0, 0), 0x001F);
    EXPECT_EQ(PixelAt(Corvane.GetWidth() - 1, 31), 0x001F);
    Corvane.FillBox(100, 100, 200, 200, 255, 255, 255);
    Corvane.FillBox(10, 5, 9, 7, 255, 255, 255);
    EXPECT_EQ(PixelAt(10, 5), 0x001F) << "an empty rectangle fills nothing";
    Corvane.UnlockSurface();
}

class TiledTest : public ScreenOpsTest {
protected:
    void SetUp() override {
        ScreenOpsTest::SetUp();
        tiles.clear();
    }
    // A started 800 x 500 view whose plain draw routine records tile positions.
    void StartRecording() {
        ASSERT_TRUE(Start(0, 800, 500));
        Corvane.drawTable.DrawPlain = RecordTile;
    }
};

TEST_F(TiledTest, FirstTileStartsAtMinusTheRemainder) {
    StartRecording();
    Image tile;
    tile.width = 64;
    tile.height = 64;

    EXPECT_EQ(Corvane.DrawTiled(-1, 0, &tile), 1);
    ASSERT_FALSE(tiles.empty());
    EXPECT_EQ(tiles.front(), std::make_pair(-63, 0));
    // Rows of columns: 14 columns (-63 .. 769) by 8 rows (0 .. 448), top row first.
    EXPECT_EQ(tiles.size(), 14u * 8u);
    EXPECT_EQ(tiles[1], std::make_pair(1, 0));
    EXPECT_EQ(tiles[14], std::make_pair(-63, 64));
    EXPECT_EQ(tiles.back(), std::make_pair(769, 448));

    tiles.clear();
    Corvane.DrawTiled(-64, 0, &tile);
    EXPECT_EQ(tiles.front(), std::make_pair(0, 0));
}

TEST_F(TiledTest, ImageAsWideAsTheScreenDrawsTwoColumns) {
    StartRecording();
    Image tile;
    tile.width = 800;
    tile.height = 500;
    Corvane.DrawTiled(0, 0, &tile);
    EXPECT_EQ(tiles, (std::vector<std::pair<int, int>>{{0, 0}, {800, 0}, {0, 500}, {800, 500}}));
}

TEST_F(TiledTest, EmptyImageDrawsNothing) {
    StartRecording();
    Image tile;
    tile.width = 0;
    tile.height = 64;
    EXPECT_EQ(Corvane.DrawTiled(3, 3, &tile), 1);
    tile.width = 64;
    tile.height = 0;
    EXPECT_EQ(Corvane.DrawTiled(3, 3, &tile), 1);
    EXPECT_TRUE(tiles.empty());
}

TEST_F(TiledTest, TilesCoverTheScreenExactlyOnceForAnyScroll) {
    StartRecording();
    std::mt19937 random(1234);
    std::uniform_int_distribution<int> offset(-100000, 100000);
    std::uniform_int_distribution<int> size(1, 300);
    const int width = Corvane.GetWidth();
    const int height = Corvane.GetHeight();
    for (int round = 0; round < 50; ++round) {
        Image tile;
        tile.width = size(random);
        tile.height = size(random);
        int x = offset(random);
        int y = offset(random);
        if (round == 0) x = INT_MAX - 5;
        if (round == 1) y = INT_MIN + 5;
        SCOPED_TRACE(testing::Message()
                     << "tile " << tile.width << "x" << tile.height << " at " << x << "," << y);
        tiles.clear();
        Corvane.DrawTiled(x, y, &tile);
        ASSERT_FALSE(tiles.empty());
        EXPECT_LE(tiles.front().first, 0);
        EXPECT_GT(tiles.front().first, -tile.width);
        EXPECT_LE(tiles.front().second, 0);
        EXPECT_GT(tiles.front().second, -tile.height);
        // A tile corner sits on the plane's grid: screen x + scroll x is a multiple.
        EXPECT_EQ(((static_cast<long long>(tiles.front().first) + x) % tile.width), 0);
        std::vector<int> cover(static_cast<size_t>(width) * height, 0);
        for (const auto& t : tiles)
            for (int ty = std::max(t.second, 0); ty < std::min(t.second + tile.height, height);
                 ++ty)
                for (int tx = std::max(t.first, 0); tx < std::min(t.first + tile.width, width);
                     ++tx)
                    ++cover[static_cast<size_t>(ty) * width + tx];
        int wrong = 0;
        for (int c : cover) wrong += c != 1;
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(ScreenOpsTest, TiledBackgroundShowsTheScrolledPlaneInThePresentedFrame) {
    headless::SetExtraPitch(16);
    ASSERT_TRUE(Start(0, 200, 120));
    Image tile;
    tile.Create(37, 23, DRAW_PLAIN);
    auto* words = reinterpret_cast<std::uint16_t*>(tile.pixels);
    for (int i = 0; i < 37 * 23; ++i) words[i] = static_cast<std::uint16_t>(i * 71 + 1);

    const int scrollX = -13;
    const int scrollY = 45;
    ASSERT_TRUE(Corvane.LockSurface());
    EXPECT_EQ(Corvane.DrawTiled(scrollX, scrollY, &tile), 1);
    Corvane.UnlockSurface();
    ASSERT_EQ(Corvane.ViewUpdate(), 1);

    const headless::Frame& frame = headless::LastFrame();
    ASSERT_EQ(frame.width, 200);
    int wrong = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            const auto u = FloorDivMod(x + scrollX, 37).remainder;
            const auto v = FloorDivMod(y + scrollY, 23).remainder;
            wrong += frame.At(x, y) != words[v * 37 + u];
        }
    EXPECT_EQ(wrong, 0);
}

TEST(FloorDivModTest, RemainderStaysInRangeForNegativeAndExactValues) {
    struct Case {
        std::int64_t a, n, q, r;
    };
    const Case cases[] = {
        {0, 64, 0, 0},     {63, 64, 0, 63},  {64, 64, 1, 0},
        {-1, 64, -1, 63},  {-64, 64, -1, 0}, {-65, 64, -2, 63},
        {-128, 64, -2, 0}, {7, 1, 7, 0},     {INT_MIN, 3, -715827883, 1},
    };
    for (const Case& c : cases) {
        const FloorDivision d = FloorDivMod(c.a, c.n);
        EXPECT_EQ(d.quotient, c.q) << c.a << " / " << c.n;
        EXPECT_EQ(d.remainder, c.r) << c.a << " mod " << c.n;
    }
    std::mt19937 random(99);
    std::uniform_int_distribution<int> value(INT_MIN, INT_MAX);
    std::uniform_int_distribution<int> divisor(1, 5000);
    for (int i = 0; i < 10000; ++i) {
        const std::int64_t a = value(random);
        const std::int64_t n = divisor(random);
        const FloorDivision d = FloorDivMod(a, n);
        ASSERT_EQ(d.quotient * n + d.remainder, a);
        ASSERT_GE(d.remainder, 0);
        ASSERT_LT(d.remainder, n);
    }
}

TEST(AddTableTest, SumsSaturateAtThirtyOne) {
    Corvane.BuildAddTable();
    Corvane.BuildAddTable();  // a rebuild replaces the table
    ASSERT_NE(Corvane.addTable, nullptr);
    EXPECT_EQ(Corvane.addTable[3 * 32 + 4], 7);
    EXPECT_EQ(Corvane.addTable[20 * 32 + 20], 31);
    EXPECT_EQ(Corvane.addTable[0], 0);
    EXPECT_EQ(Corvane.addTable[15 * 32 + 16], 31);
    EXPECT_EQ(Corvane.addTable[15 * 32 + 15], 30);
    EXPECT_EQ(Corvane.addTable[31 * 32 + 31], 31);
}

}  // namespace
