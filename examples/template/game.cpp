// The smallest complete Corvane game: an alien that the arrow keys walk over a
// black screen. Escape, or the window's close box, ends it. Copy this folder to
// start a game of your own (README.md says how to build and run it).
#include "corvane.h"

namespace {
constexpr int SCREEN_WIDTH = 800;
constexpr int SCREEN_HEIGHT = 500;
constexpr int STEP = 2;  // pixels per frame while an arrow key is held

Image alien;       // 64 x 96 pixels, drawn with its transparent parts left out
int alienX = 368;  // top-left corner of the picture on the screen, in pixels
int alienY = 202;
}  // namespace

// Called once, before the first frame: open the window and load the pictures.
// If the window or the display cannot be set up, the engine reports it to the
// player and ends the program once this returns.
void initialize() {
    Corvane.SetName("My game");  // the window's title, and the name in error boxes
    Corvane.UseSound(false);     // plays no sound, so it needs no sound device
    Corvane.Initialize(false, SCREEN_WIDTH, SCREEN_HEIGHT);  // windowed, 800 x 500
    TiffFile tiff;
    // Pictures are read from Images/ in the folder the game runs in. Paths are
    // written as on Windows; elsewhere the engine turns \ into /.
    tiff.Load("Images\\alien.tif", &alien, DRAW_MASKED);
}

// Called for every frame while no window message waits: move, draw, show.
int run() {
    if (Corvane.IsKeyDown(VK_LEFT) && alienX > 0) alienX -= STEP;
    if (Corvane.IsKeyDown(VK_RIGHT) && alienX < SCREEN_WIDTH - 64) alienX += STEP;
    if (Corvane.IsKeyDown(VK_UP) && alienY > 0) alienY -= STEP;
    if (Corvane.IsKeyDown(VK_DOWN) && alienY < SCREEN_HEIGHT - 96) alienY += STEP;

    // Draw only between LockSurface and UnlockSurface; a frame whose lock
    // failed draws nothing (the engine has told the player).
    if (Corvane.LockSurface()) {
        Corvane.ClearScreen();
        Corvane.DrawMasked(alienX, alienY, &alien);
        Corvane.UnlockSurface();
    }

    // Escape ends the game once this frame is shown, as the close box does.
    if (Corvane.IsKeyPressed(VK_ESCAPE)) Corvane.EndGame();
    return Corvane.ViewUpdate();
}
