// The software drawing routines that fill the engine's draw table, and the clip
// computation they share. They draw into Corvane's locked back buffer.
#pragma once

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
