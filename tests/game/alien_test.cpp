#include "game/alien.h"

#include <memory>

#include "game/world.h"
#include "shell/windx.h"
#include "tests/support/engine_fixture.h"

namespace {

constexpr int LEFT = 37;
constexpr int UP = 38;
constexpr int RIGHT = 39;
constexpr int DOWN = 40;

class AlienTest : public EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        alien = std::make_unique<Alien>();
        world = std::make_unique<World>();
        alien->x = 4000.0;
        alien->y = 4000.0;
    }

    // One frame with the counter short of a step: movement only.
    void Move() { EXPECT_EQ(alien->Update(0, *world), 0); }
    // One frame on which the walk cycle steps.
    void Step() { EXPECT_EQ(alien->Update(ANIMATION_PERIOD, *world), 0); }

    std::unique_ptr<Alien> alien;
    std::unique_ptr<World> world;
};

TEST_F(AlienTest, LoadSetsTheStartState) {
    alien->x = alien->y = 1.0;
    alien->dir = DIR_LEFT;
    alien->frame = 5;
    alien->Load();
    EXPECT_EQ(alien->GetX(), 4000.0);
    EXPECT_EQ(alien->GetY(), 4000.0);
    EXPECT_EQ(alien->dir, DIR_DOWN);
    EXPECT_EQ(alien->frame, 0);
    for (const Image& picture : alien->frames) EXPECT_EQ(picture.purpose, DRAW_MASKED);
}

TEST_F(AlienTest, EachArrowMovesOnePixel) {
    const struct {
        int key;
        double dx, dy;
    } cases[] = {{LEFT, -1, 0}, {RIGHT, 1, 0}, {UP, 0, -1}, {DOWN, 0, 1}};
    for (const auto& c : cases) {
        alien->x = alien->y = 4000.0;
        Corvane.KeyDown(c.key);
        Move();
        Corvane.KeyUp(c.key);
        EXPECT_EQ(alien->GetX(), 4000.0 + c.dx) << c.key;
        EXPECT_EQ(alien->GetY(), 4000.0 + c.dy) << c.key;
    }
    alien->x = alien->y = 4000.0;
    Move();
    EXPECT_EQ(alien->GetX(), 4000.0);
    EXPECT_EQ(alien->GetY(), 4000.0) << "no key, no move";
}

TEST_F(AlienTest, FirstKeyInOrderLeftRightUpDownWins) {
    Corvane.KeyDown(LEFT);
    Corvane.KeyDown(RIGHT);
    Step();
    EXPECT_EQ(alien->GetX(), 3999.0);
    EXPECT_EQ(alien->dir, DIR_LEFT);

    Corvane.KeyUp(RIGHT);
    Corvane.KeyDown(UP);
    Move();
    EXPECT_EQ(alien->GetX(), 3998.0);
    EXPECT_EQ(alien->GetY(), 4000.0) << "never diagonal";

    Corvane.KeyUp(LEFT);
    Corvane.KeyDown(RIGHT);
    Corvane.KeyDown(DOWN);
    Step();
    EXPECT_EQ(alien->GetX(), 3999.0) << "right beats up and down";
    EXPECT_EQ(alien->GetY(), 4000.0);
    EXPECT_EQ(alien->dir, DIR_RIGHT);

    Corvane.KeyUp(RIGHT);
    Step();
    EXPECT_EQ(alien->GetY(), 3999.0) << "up beats down";
    EXPECT_EQ(alien->dir, DIR_UP);
}

TEST_F(AlienTest, CounterIsReturnedUnchangedUntilItReachesThePeriod) {
    Corvane.KeyDown(LEFT);
    EXPECT_EQ(alien->Update(29, *world), 29);
    EXPECT_EQ(alien->Update(31, *world), 31);
    EXPECT_EQ(alien->Update(-4, *world), -4);
    EXPECT_EQ(alien->dir, DIR_DOWN) << "the facing changes only on a step";
    EXPECT_EQ(alien->Update(30, *world), 0);
    EXPECT_EQ(alien->dir, DIR_LEFT);
    EXPECT_EQ(alien->GetX(), 3996.0) << "moved on every frame";
}

TEST_F(AlienTest, TurningShowsStepZeroThenTheCycleRunsAndWraps) {
    Corvane.KeyDown(LEFT);
    Step();
    EXPECT_EQ(alien->dir, DIR_LEFT);
    EXPECT_EQ(alien->frame, 0);
    for (int expected = 1; expected <= 7; ++expected) {
        Step();
        EXPECT_EQ(alien->frame, expected);
    }
    Step();
    EXPECT_EQ(alien->frame, 0) << "after step 7 comes step 0";
    Step();
    Step();
    ASSERT_EQ(alien->frame, 2);

    // A new facing starts the cycle over.
    Corvane.KeyUp(LEFT);
    Corvane.KeyDown(UP);
    Step();
    EXPECT_EQ(alien->dir, DIR_UP);
    EXPECT_EQ(alien->frame, 0);
}

TEST_F(AlienTest, ReleasedKeysKeepFacingAndStep) {
    Corvane.KeyDown(RIGHT);
    Step();
    Step();
    Step();
    Corvane.KeyUp(RIGHT);
    Step();
    Step();
    EXPECT_EQ(alien->dir, DIR_RIGHT);
    EXPECT_EQ(alien->frame, 2);
}

TEST_F(AlienTest, TurnBetweenStepsIsNeverShown) {
    Corvane.KeyDown(LEFT);
    Move();
    Corvane.KeyUp(LEFT);
    Corvane.KeyDown(DOWN);
    Step();
    EXPECT_EQ(alien->dir, DIR_DOWN);
    EXPECT_EQ(alien->frame, 1) << "same facing as before, moving: one step on";
}

TEST_F(AlienTest, BlockedMoveStaysPutWhileTheCycleGoesOn) {
    // A mountain in column 51 of row 51; the alien on row 51 walking right
    // stops where its right-hand probe would enter the column.
    world->grid[51][51] = CELL_MOUNTAIN;
    alien->y = 4090.0;
    Corvane.KeyDown(RIGHT);
    for (int i = 0; i < 100; ++i) Move();
    EXPECT_EQ(alien->GetX(), 4029.0);
    Step();
    Step();
    Step();
    EXPECT_EQ(alien->GetX(), 4029.0);
    EXPECT_EQ(alien->dir, DIR_RIGHT);
    EXPECT_EQ(alien->frame, 2);
}

TEST_F(AlienTest, WalksThroughTheWallOnlyWhereTheBirdSits) {
    world->Build();
    Corvane.KeyDown(RIGHT);
    // Row 50 lies above the wall: nothing in the way.
    for (int i = 0; i < 200; ++i) Move();
    EXPECT_EQ(alien->GetX(), 4200.0);

    // Row 56 is the gap: the bird's cell does not block.
    alien->x = 4000.0;
    alien->y = 4560.0;
    for (int i = 0; i < 200; ++i) Move();
    EXPECT_EQ(alien->GetX(), 4200.0);

    // Rows 55 and 57 are wall.
    for (double y : {4500.0, 4700.0}) {
        alien->x = 4000.0;
        alien->y = y;
        for (int i = 0; i < 200; ++i) Move();
        EXPECT_EQ(alien->GetX(), 4029.0) << "y " << y;
    }
}

}  // namespace
