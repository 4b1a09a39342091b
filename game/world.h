// Everything that stands on the grass: the placed objects, drawn in placement
// order, and the 100 x 100 grid of cell types that decides where the alien may
// walk.
#pragma once

#include "image/image.h"

// Cell types; mountain and ocean block the alien.
constexpr int CELL_EMPTY = 0;
constexpr int CELL_MOUNTAIN = 1;
constexpr int CELL_OCEAN = 2;
constexpr int CELL_FISH = 3;
constexpr int CELL_BIRD = 4;

constexpr int WORLD_CELLS = 100;    // cells along each side of the grid
constexpr int WORLD_OBJECTS = 100;  // room in the object list
constexpr double CELL_SIZE = 90.0;  // world pixels per cell, each way

class World {
public:
    // An empty list and every cell CELL_EMPTY.
    World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // The fixed layout: a wall of mountains with a bird in its gap, a pond of
    // four ocean cells with a fish, and a row of birds (20 placements).
    void Build();
    // Marks cell (a, b) with a type and, for types 1 to 4, adds that type's
    // picture at the cell's world position. A cell outside the grid is logged
    // and ignored.
    void Place(int a, int b, int type);
    // Appends an object: the picture file loaded for masked drawing, its top-left
    // corner at world (x, y). A full list logs the file and adds nothing.
    void AddObject(const char* file, double x, double y);
    // Draws every object, in placement order, shifted by (dx, dy) screen pixels.
    void Draw(double dx, double dy);
    // Whether a move of the alien to scroll position (x, y) with the arrow key
    // `key` (virtual-key code, 0 for none) runs into a mountain or ocean cell.
    // Probes outside the grid find open grass.
    bool IsBlocked(double x, double y, char key) const;

    // Owned pictures of the placed objects; entries 0 .. count - 1 are in use.
    Image images[WORLD_OBJECTS];
    double objX[WORLD_OBJECTS] = {};
    double objY[WORLD_OBJECTS] = {};
    int count = 0;
    // Cell types, grid[a][b] with a the column (x) and b the row (y).
    int grid[WORLD_CELLS][WORLD_CELLS] = {};
};
