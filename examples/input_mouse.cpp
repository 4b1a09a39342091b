// Corvane example: mouse
//
// Shows:    the mouse's position, its buttons and its vertical movement, and
//           drawing single pixels in a Colour: into a picture kept from frame
//           to frame (Image::SetPixel) and straight into the frame (DrawPixel).
// Controls: left button paints, dragging with the right button up or down
//           sizes the brush, C clears the paper, Escape quits.
// Assets:   Images/paper_tile.tif (made by tools/make-example-assets).
// Test:     mouse "150/120:1,left@450/160:30,right@450/100:12,left@300/380:30,650/300:10" frame 83
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "corvane.h"

namespace {

Image paper;
Image ink;  // what has been painted; masked, so its black pixels show the paper
float brush = 3.0f;
int lastX = 0, lastY = 0;  // where the mouse was in the previous frame
int frame = 0;

// A round dab of the brush into the ink, in a colour that wanders round the
// colour wheel as time goes by.
void Dab(int cx, int cy) {
    const double hue = frame * 0.02;
    const Colour colour(128 + static_cast<int>(127 * std::cos(hue)),
                        128 + static_cast<int>(127 * std::cos(hue - 2.1)),
                        128 + static_cast<int>(127 * std::cos(hue + 2.1)));
    const int radius = static_cast<int>(brush);
    for (int y = -radius; y <= radius; ++y)
        for (int x = -radius; x <= radius; ++x)
            if (x * x + y * y <= radius * radius) ink.SetPixel(cx + x, cy + y, colour);
}

}  // namespace

void initialize() {
    // Initialization
    Corvane.Initialize(false, 800, 500);
    TiffFile tiff;
    tiff.Load("Images\\paper_tile.tif", &paper, DRAW_PLAIN);
    ink.Create(800, 500, DRAW_MASKED);  // all black: nothing painted yet
}

int run() {
    // Update
    ++frame;
    const int x = Corvane.GetMouseX(), y = Corvane.GetMouseY();
    const int button = Corvane.GetMouseButton();  // 1 left, 2 right, 16 middle, 0 none
    const bool moved = x != lastX || y != lastY;
    if (button == 1) {
        // Dabs all along the way from the last frame's position, so a fast
        // stroke stays one line.
        const int steps = std::max(std::abs(x - lastX), std::abs(y - lastY)) + 1;
        for (int i = 1; i <= steps; ++i)
            Dab(lastX + (x - lastX) * i / steps, lastY + (y - lastY) * i / steps);
    }
    // GetMouseDY is the vertical step of the last move; up is negative.
    if (button == 2 && moved)
        brush = std::min(20.0f, std::max(1.0f, brush - Corvane.GetMouseDY() / 4));
    lastX = x;
    lastY = y;

    bool quit = false;
    for (char c = Corvane.GetKey(); c != 0; c = Corvane.GetKey()) {
        if (c == 'c' || c == 'C') ink.Fill(0, 0, 0);  // channel values: the word 0, transparent
        if (c == VK_ESCAPE) quit = true;
    }

    // Draw
    if (Corvane.LockSurface()) {
        Corvane.DrawTiled(0, 0, &paper);
        Corvane.DrawMasked(0, 0, &ink);
        // The brush's outline round the mouse, a pixel at a time.
        const int dots = 8 * (static_cast<int>(brush) + 2);
        for (int a = 0; a < dots; ++a) {
            const double t = a * 6.2831853 / dots;
            Corvane.DrawPixel(x + static_cast<int>(std::lround((brush + 2) * std::cos(t))),
                              y + static_cast<int>(std::lround((brush + 2) * std::sin(t))),
                              Colour(40, 40, 40));
        }
        Corvane.UnlockSurface();
    }
    Corvane.SetTextColour(Colour(30, 30, 30));
    Corvane.DrawText(8, 8, "left: paint   right, drag up/down: brush size   C: clear   Esc: quit");
    char status[96];
    std::snprintf(status, sizeof status,
                  "x %d  y %d  button %d  last vertical move %+.0f  brush %d", x, y, button,
                  Corvane.GetMouseDY(), static_cast<int>(brush));
    Corvane.SetTextColour(Colour(40, 60, 150));
    Corvane.DrawText(8, 476, status);

    // Escape ends the game once this frame is shown, as the close box does.
    if (quit) Corvane.EndGame();
    return Corvane.ViewUpdate();
}
