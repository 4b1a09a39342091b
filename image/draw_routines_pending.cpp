// TEMPORARY, display branch only: placeholders so the display tests link until
// the real draw routines arrive from the image branch. They draw nothing and
// refuse every call; the display tests install their own table entries.
#include "image/draw_routines.h"

int DrawPixel16(int, int, int, int, int) { return 0; }
int DrawPlain16(int, int, Image*) { return 0; }
int DrawMasked16(int, int, Image*) { return 0; }
int DrawAlpha16(int, int, Image*) { return 0; }
int DrawAdditive16(int, int, Image*) { return 0; }

// TEMPORARY as above: an empty Image for the tiling tests.
#include "image/image.h"

Image::Image() = default;
Image::~Image() = default;
