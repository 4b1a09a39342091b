// The software drawing routines that fill the engine's draw table, and the clip
// computation they share. They draw into Corvane's locked back buffer.
#pragma once

#include <cstddef>

class Image;

// Clips an image placed at (x, y) against the engine's clip rectangle. Offsets
// are in pixels: into the back buffer (rows of Corvane.width pixels) and into
// the image's planes. False when nothing is visible.
bool ClipImage(int x, int y, const Image* image, int& destOffset, int& sourceOffset,
               int& visibleWidth, int& visibleHeight);

// Slot 0: stores (r << 10) + (g << 5) + b at (x, y) through the row-offset table,
// unchecked; writes nothing while no back buffer is locked. Returns 1.
int DrawPixel16(int x, int y, int r, int g, int b);
// Slots 1..4: draw an image prepared for DRAW_PLAIN, DRAW_MASKED, DRAW_ALPHA or
// DRAW_ADDITIVE with its top-left pixel at (x, y). 1 done (also when nothing is
// visible, the image lacks a plane it needs, or no back buffer is locked), 0
// after a purpose mismatch or a null image (status IMAGEUSE_FAILED and its report).
int DrawPlain16(int x, int y, Image* image);
int DrawMasked16(int x, int y, Image* image);
int DrawAlpha16(int x, int y, Image* image);
int DrawAdditive16(int x, int y, Image* image);

// Covers the clip rectangle (kept inside the back buffer) with copies of a
// DRAW_PLAIN image, as a window at (x, y) onto the plane tiled from its origin:
// the same pixels as drawing every tile with DrawPlain16, in one pass. False,
// with nothing drawn, when the image is not one that DrawPlain16 would draw
// (missing, another purpose, no or short pixel plane) or no back buffer is
// locked: the caller then draws tile by tile, so each refusal is reported.
bool TilePlain16(int x, int y, const Image* image);

// Sets rowBytes bytes to 0 at the start of each of `rows` rows, step bytes
// apart, from first on (the frame clear's loop); rows may overlap.
void ClearRows(void* first, int rows, std::size_t rowBytes, std::size_t step);
