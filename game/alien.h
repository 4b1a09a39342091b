// The player's sprite: an animated figure with four facings and an eight-step
// walk cycle, steered with the arrow keys. Its position is the scroll position
// of the whole picture; the sprite itself always stands at the same screen place.
#pragma once

#include "image/image.h"

class World;

// Facings; the picture for facing d and walk step s is frames[d * 8 + s].
constexpr int DIR_DOWN = 0;
constexpr int DIR_UP = 1;
constexpr int DIR_RIGHT = 2;
constexpr int DIR_LEFT = 3;

constexpr int ALIEN_STEPS = 8;                 // steps of the walk cycle
constexpr int ALIEN_FRAMES = 4 * ALIEN_STEPS;  // pictures in all
constexpr int ALIEN_SCREEN_X = 360;            // sprite's top-left corner
constexpr int ALIEN_SCREEN_Y = 188;            // on the screen
constexpr int ANIMATION_PERIOD = 30;           // frames per walk step

class Alien {
public:
    // 32 empty pictures; the position and facing are set by Load.
    Alien() = default;
    Alien(const Alien&) = delete;
    Alien& operator=(const Alien&) = delete;

    // Loads "Images\alien0000.tif" to "Images\alien0031.tif" for masked drawing
    // and puts the alien at (4000, 4000), facing down, on walk step 0.
    void Load();
    // World pixels of the point shown at the frame's top-left corner.
    double GetX() const { return x; }
    double GetY() const { return y; }
    // One frame: moves one pixel for the first held arrow key in the order left,
    // right, up, down unless the world blocks it; when counter is 30 the
    // animation takes a step and 0 is returned, otherwise counter unchanged.
    int Update(int counter, World& world);
    // One animation step: a new facing starts the walk cycle over, the same
    // facing advances it while moving. key is not used.
    void Animate(int newDir, bool moving, char key);
    // Draws the current picture, masked, at screen (360, 188).
    void Draw();

    double x = 0.0;
    double y = 0.0;
    int dir = DIR_DOWN;
    int frame = 0;
    // Owned pictures, facing-major.
    Image frames[ALIEN_FRAMES];
};
