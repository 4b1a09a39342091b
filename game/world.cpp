#include "game/world.h"

#include <cstdio>

#include "shell/debugger.h"
#include "shell/windx.h"
#include "tiff/tiff_file.h"

namespace {

// The grid's cells cover world offsets 0 up to 9000 from this origin.
constexpr double GRID_ORIGIN = -500.0;

// Picture file of each object type, by cell type; null where nothing is placed.
const char* const kObjectFiles[] = {
    nullptr,
    "Images\\fall_mountain.tif",
    "Images\\ocean_template2.tif",
    "Images\\small_fish.tif",
    "Images\\small_bird.tif",
};

// The cell index for a world offset, or -1 outside the grid.
int CellIndex(double offset) {
    if (!(offset >= 0.0 && offset < WORLD_CELLS * CELL_SIZE)) return -1;
    return static_cast<int>(offset / CELL_SIZE);
}

}  // namespace

World::World() {
    count = 0;
    for (auto& column : grid)
        for (int& cell : column) cell = CELL_EMPTY;
}

void World::Build() {
    for (int b = 51; b <= 62; ++b) Place(51, b, CELL_MOUNTAIN);
    Place(60, 52, CELL_OCEAN);
    Place(61, 52, CELL_OCEAN);
    Place(60, 53, CELL_OCEAN);
    Place(61, 53, CELL_OCEAN);
    Place(60, 53, CELL_FISH);
    Place(51, 56, CELL_BIRD);
    Place(52, 56, CELL_BIRD);
    Place(53, 56, CELL_BIRD);
}

void World::Place(int a, int b, int type) {
    if (a < 0 || a >= WORLD_CELLS || b < 0 || b >= WORLD_CELLS) {
        char line[100];
        std::snprintf(line, sizeof line, "World::Place: Cell (%d, %d) is outside the grid.\n", a,
                      b);
        Debug.Write(line, "");
        return;
    }
    grid[a][b] = type;
    // The object's corner sits where the cell's probe square lies on the screen
    // when the alien stands on it: 360 and 270 pixels in from the frame's corner.
    double px = a * CELL_SIZE + GRID_ORIGIN + 360.0;
    double py = b * CELL_SIZE + GRID_ORIGIN + 270.0;
    if (type >= CELL_MOUNTAIN && type <= CELL_BIRD) AddObject(kObjectFiles[type], px, py);
}

void World::AddObject(const char* file, double x, double y) {
    if (count >= WORLD_OBJECTS) {
        char line[200];
        std::snprintf(line, sizeof line, "World::AddObject: Object list full, %s not added.\n",
                      file);
        Debug.Write(line, "");
        return;
    }
    objX[count] = x;
    objY[count] = y;
    TiffFile tiff;
    tiff.Load(file, &images[count], DRAW_MASKED);
    ++count;
}

void World::Draw(double dx, double dy) {
    for (int i = 0; i < count; ++i) {
        Corvane.DrawMasked(static_cast<int>(dx + objX[i]), static_cast<int>(dy + objY[i]),
                           &images[i]);
    }
}

bool World::IsBlocked(double x, double y, char key) const {
    const bool vertical = key == VK_UP || key == VK_DOWN;
    // The probe sits on the sprite's foot line: at its left edge for a move
    // left, 30 pixels in for up and down, 60 pixels in for right.
    if (key == VK_RIGHT) x = x + 60.0;
    if (vertical) x = x + 30.0;
    const int a = CellIndex(x - GRID_ORIGIN);
    const int b = CellIndex(y - GRID_ORIGIN);
    if (a < 0 || b < 0) return false;
    return grid[a][b] == CELL_MOUNTAIN || grid[a][b] == CELL_OCEAN;
}
