#include "game/alien.h"

#include <cstdio>

#include "game/world.h"
#include "shell/windx.h"
#include "tiff/tiff_file.h"

namespace {
// The arrow keys, as the world's probes know them.
constexpr char KEY_LEFT = VK_LEFT;
constexpr char KEY_UP = VK_UP;
constexpr char KEY_RIGHT = VK_RIGHT;
constexpr char KEY_DOWN = VK_DOWN;
}  // namespace

void Alien::Load() {
    TiffFile tiff;
    int n = 0;
    for (int d = 0; d < 4; ++d) {
        for (int s = 0; s < ALIEN_STEPS; ++s) {
            char name[100];
            std::snprintf(name, sizeof name, "Images\\alien%04d.tif", n);
            tiff.Load(name, &frames[d * ALIEN_STEPS + s], DRAW_MASKED);
            ++n;
        }
    }
    dir = DIR_DOWN;
    frame = 0;
    x = 4000.0;
    y = 4000.0;
}

int Alien::Update(int counter, World& world) {
    const bool left = Corvane.IsKeyDown(KEY_LEFT) != 0;
    const bool right = Corvane.IsKeyDown(KEY_RIGHT) != 0;
    const bool up = Corvane.IsKeyDown(KEY_UP) != 0;
    const bool down = Corvane.IsKeyDown(KEY_DOWN) != 0;
    const bool moving = left || right || up || down;

    // Only the first held key counts, so the alien never moves diagonally.
    double nx = x;
    double ny = y;
    int newDir = dir;
    char key = 0;
    if (left) {
        newDir = DIR_LEFT;
        key = KEY_LEFT;
        nx = x - 1.0;
    } else if (right) {
        newDir = DIR_RIGHT;
        key = KEY_RIGHT;
        nx = x + 1.0;
    } else if (up) {
        newDir = DIR_UP;
        key = KEY_UP;
        ny = y - 1.0;
    } else if (down) {
        newDir = DIR_DOWN;
        key = KEY_DOWN;
        ny = y + 1.0;
    }
    if (!world.IsBlocked(nx, ny, key)) {
        x = nx;
        y = ny;
    }
    if (counter == ANIMATION_PERIOD) {
        counter = 0;
        Animate(newDir, moving, key);
    }
    return counter;
}

void Alien::Animate(int newDir, bool moving, char) {
    if (newDir != dir) {
        dir = newDir;
        frame = 0;
    } else if (moving) {
        frame = (frame + 1) % ALIEN_STEPS;
    }
}

void Alien::Draw() {
    Corvane.DrawMasked(ALIEN_SCREEN_X, ALIEN_SCREEN_Y, &frames[dir * ALIEN_STEPS + frame]);
}
