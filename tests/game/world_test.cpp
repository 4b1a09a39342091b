#include "game/world.h"

#include <cmath>
#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "platform/headless/control.h"
#include "shell/windx.h"
#include "tests/support/engine_fixture.h"

namespace {

constexpr char LEFT = 37;
constexpr char UP = 38;
constexpr char RIGHT = 39;
constexpr char DOWN = 40;

// World objects are large (100 images and a 100 x 100 grid): keep them off the stack.
std::unique_ptr<World> NewWorld() {
    return std::make_unique<World>();
}

class WorldTest : public EngineTest {};

TEST_F(WorldTest, StartsEmpty) {
    auto w = NewWorld();
    EXPECT_EQ(w->count, 0);
    for (int a = 0; a < WORLD_CELLS; ++a)
        for (int b = 0; b < WORLD_CELLS; ++b) ASSERT_EQ(w->grid[a][b], CELL_EMPTY) << a << "," << b;
}

TEST_F(WorldTest, BuildPlacesTwentyObjectsInOrder) {
    auto w = NewWorld();
    w->Build();
    struct Placed {
        double x, y;
    };
    std::vector<Placed> expected;
    for (int i = 0; i < 12; ++i) expected.push_back({4450, 4360 + 90.0 * i});
    expected.push_back({5260, 4450});
    expected.push_back({5350, 4450});
    expected.push_back({5260, 4540});
    expected.push_back({5350, 4540});
    expected.push_back({5260, 4540});  // the fish, over the third ocean picture
    expected.push_back({4450, 4810});  // the first bird, over a mountain picture
    expected.push_back({4540, 4810});
    expected.push_back({4630, 4810});
    ASSERT_EQ(w->count, 20);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(w->objX[i], expected[i].x) << "object " << i;
        EXPECT_EQ(w->objY[i], expected[i].y) << "object " << i;
    }
    // Each object was loaded for masked drawing (from a missing file here, so
    // the loader reported it and left the picture empty).
    for (int i = 0; i < 20; ++i) EXPECT_EQ(w->images[i].purpose, DRAW_MASKED) << i;
}

TEST_F(WorldTest, GridAfterBuild) {
    auto w = NewWorld();
    w->Build();
    int expected[WORLD_CELLS][WORLD_CELLS] = {};
    for (int b = 51; b <= 62; ++b) expected[51][b] = CELL_MOUNTAIN;
    expected[51][56] = CELL_BIRD;  // the gap in the wall
    expected[60][52] = CELL_OCEAN;
    expected[61][52] = CELL_OCEAN;
    expected[61][53] = CELL_OCEAN;
    expected[60][53] = CELL_FISH;
    expected[52][56] = CELL_BIRD;
    expected[53][56] = CELL_BIRD;
    for (int a = 0; a < WORLD_CELLS; ++a)
        for (int b = 0; b < WORLD_CELLS; ++b)
            ASSERT_EQ(w->grid[a][b], expected[a][b]) << "cell " << a << "," << b;
}

TEST_F(WorldTest, BlockingCellsAfterBuild) {
    auto w = NewWorld();
    w->Build();
    // The probe with no key tests the cell under (x + 500, y + 500) directly.
    auto cellBlocks = [&](int a, int b) {
        return w->IsBlocked(a * 90.0 - 500 + 45, b * 90.0 - 500 + 45, 0);
    };
    EXPECT_TRUE(cellBlocks(51, 51));
    EXPECT_TRUE(cellBlocks(51, 62));
    EXPECT_FALSE(cellBlocks(51, 56)) << "bird in the wall's gap";
    EXPECT_FALSE(cellBlocks(51, 63));
    EXPECT_TRUE(cellBlocks(60, 52));
    EXPECT_TRUE(cellBlocks(61, 52));
    EXPECT_TRUE(cellBlocks(61, 53));
    EXPECT_FALSE(cellBlocks(60, 53)) << "the fish's cell can be walked on";
    EXPECT_FALSE(cellBlocks(52, 56));
    EXPECT_FALSE(cellBlocks(50, 50));
}

// From the start position each move probes one cell: (49, 50) going left,
// (50, 50) going right or down, (50, 49) going up. Blocking that cell alone
// must stop the move, and blocking every neighbour of it must not.
TEST_F(WorldTest, ProbeCellOfEachMoveFromTheStart) {
    struct Move {
        char key;
        double x, y;
        int a, b;
    };
    const Move moves[] = {
        {LEFT, 3999, 4000, 49, 50},
        {RIGHT, 4001, 4000, 50, 50},
        {UP, 4000, 3999, 50, 49},
        {DOWN, 4000, 4001, 50, 50},
    };
    for (const Move& m : moves) {
        auto fresh = NewWorld();
        EXPECT_FALSE(fresh->IsBlocked(m.x, m.y, m.key)) << "empty field, key " << int(m.key);

        auto only = NewWorld();
        only->grid[m.a][m.b] = CELL_OCEAN;
        EXPECT_TRUE(only->IsBlocked(m.x, m.y, m.key)) << "key " << int(m.key);

        auto around = NewWorld();
        for (int da = -1; da <= 1; ++da)
            for (int db = -1; db <= 1; ++db)
                if (da != 0 || db != 0) around->grid[m.a + da][m.b + db] = CELL_MOUNTAIN;
        EXPECT_FALSE(around->IsBlocked(m.x, m.y, m.key)) << "key " << int(m.key);
    }
}

TEST_F(WorldTest, ProbeOffsetsFollowTheMoveDirection) {
    // Column 51 starts at x + 500 = 4590: a left probe sees it at x itself, an
    // up or down probe 30 pixels further right, a right probe 60 pixels.
    auto w = NewWorld();
    for (int b = 0; b < WORLD_CELLS; ++b) w->grid[51][b] = CELL_MOUNTAIN;
    EXPECT_TRUE(w->IsBlocked(4090, 4000, LEFT));
    EXPECT_FALSE(w->IsBlocked(4089, 4000, LEFT));
    EXPECT_TRUE(w->IsBlocked(4060, 4000, UP));
    EXPECT_FALSE(w->IsBlocked(4059, 4000, UP));
    EXPECT_TRUE(w->IsBlocked(4060, 4000, DOWN));
    EXPECT_FALSE(w->IsBlocked(4059, 4000, DOWN));
    EXPECT_TRUE(w->IsBlocked(4030, 4000, RIGHT));
    EXPECT_FALSE(w->IsBlocked(4029, 4000, RIGHT));
    // Any other key probes like a left move.
    EXPECT_TRUE(w->IsBlocked(4090, 4000, 'A'));
    EXPECT_FALSE(w->IsBlocked(4089, 4000, 0));
}

TEST_F(WorldTest, ProbesOutsideTheGridFindOpenGrass) {
    auto w = NewWorld();
    for (int i = 0; i < WORLD_CELLS; ++i) {
        w->grid[0][i] = w->grid[99][i] = CELL_MOUNTAIN;
        w->grid[i][0] = w->grid[i][99] = CELL_MOUNTAIN;
    }
    EXPECT_TRUE(w->IsBlocked(-500, 4000, 0)) << "first column";
    EXPECT_TRUE(w->IsBlocked(8499, 4000, 0)) << "last column";
    EXPECT_TRUE(w->IsBlocked(4000, -500, 0)) << "first row";
    // Just outside: truncation toward zero would fold -5 into column 0.
    EXPECT_FALSE(w->IsBlocked(-505, 4000, 0));
    EXPECT_FALSE(w->IsBlocked(4000, -505, 0));
    EXPECT_FALSE(w->IsBlocked(8500, 4000, 0));
    EXPECT_FALSE(w->IsBlocked(8440, 4000, RIGHT)) << "probe at 9000 is past the grid";
    EXPECT_FALSE(w->IsBlocked(4000, 8500, DOWN));
    EXPECT_FALSE(w->IsBlocked(-1e300, 1e300, 0));
    EXPECT_FALSE(w->IsBlocked(std::numeric_limits<double>::quiet_NaN(), 4000, 0));
    EXPECT_FALSE(w->IsBlocked(4000, std::numeric_limits<double>::infinity(), 0));
}

TEST_F(WorldTest, PlaceMarksAnyTypeButAddsObjectsOnlyForOneToFour) {
    auto w = NewWorld();
    w->Place(10, 20, 0);
    w->Place(11, 20, 5);
    w->Place(12, 20, -3);
    EXPECT_EQ(w->count, 0);
    EXPECT_EQ(w->grid[11][20], 5);
    EXPECT_EQ(w->grid[12][20], -3);
    EXPECT_FALSE(w->IsBlocked(11 * 90 - 500, 20 * 90 - 500, 0)) << "unknown types do not block";

    // A later placement overwrites the type; both objects stay in the list.
    w->Place(10, 20, CELL_OCEAN);
    w->Place(10, 20, CELL_FISH);
    EXPECT_EQ(w->grid[10][20], CELL_FISH);
    ASSERT_EQ(w->count, 2);
    EXPECT_EQ(w->objX[0], 10 * 90.0 - 140);
    EXPECT_EQ(w->objY[1], 20 * 90.0 - 230);
}

TEST_F(WorldTest, PlaceOutsideTheGridIsLoggedAndIgnored) {
    auto w = NewWorld();
    w->Place(-1, 5, CELL_MOUNTAIN);
    w->Place(5, 100, CELL_MOUNTAIN);
    EXPECT_EQ(w->count, 0);
    const std::string log = ReadDebugLog();
    EXPECT_NE(log.find("World::Place: Cell (-1, 5) is outside the grid.\n"), std::string::npos);
    EXPECT_NE(log.find("World::Place: Cell (5, 100) is outside the grid.\n"), std::string::npos);
}

TEST_F(WorldTest, FullObjectListRefusesMore) {
    auto w = NewWorld();
    for (int i = 0; i < WORLD_OBJECTS; ++i) w->AddObject("Images\\none.tif", i, -i);
    ASSERT_EQ(w->count, WORLD_OBJECTS);
    w->AddObject("Images\\extra.tif", 1, 1);
    EXPECT_EQ(w->count, WORLD_OBJECTS);
    EXPECT_EQ(w->objX[99], 99.0);
    EXPECT_NE(ReadDebugLog().find("World::AddObject: Object list full, Images\\extra.tif not "
                                  "added.\n"),
              std::string::npos);
}

}  // namespace
