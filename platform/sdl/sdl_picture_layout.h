// Where a window shows the engine's picture: its client area (the canvas, in
// the engine's own pixels) laid out on the window's real pixels the way SDL's
// renderer lays out a logical size, so that a window shows the same picture
// whether SDL's renderer or the window's own surface puts it there.
#pragma once

namespace sdl {

// The canvas on the window: its top-left corner and size in the window's
// pixels (black bars fill the rest).
struct PicturePlace {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    // The enlargement when it is a whole number, else 0.
    int wholeScale = 0;
};

// In a window (wholeNumbers) the canvas is enlarged by the largest whole number
// that fits, at least 1, and centred: a window smaller than the canvas shows
// its middle. In the full-screen view it is as large as the window allows with
// its aspect ratio kept, centred between bars. Sizes of 0 or less give an
// empty place.
PicturePlace PlacePicture(int canvasWidth, int canvasHeight, int windowWidth, int windowHeight,
                          bool wholeNumbers);

// The canvas pixel under the window's pixel (x, y), in place; false over the
// bars or past the canvas.
bool CanvasPoint(const PicturePlace& place, int canvasWidth, int canvasHeight, int& x, int& y);

}  // namespace sdl
