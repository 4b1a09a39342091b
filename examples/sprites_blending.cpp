// Corvane example: sprites
//
// Shows:    the four ways the engine draws a picture, each chosen when the
//           picture is loaded (its purpose): plain (the tiled sky), masked (the
//           saucer), alpha-blended (the bubble), additive (the glow); and a
//           picture turned and scaled every frame with Image::Rotate.
// Controls: arrow keys fly the saucer, A and Z scale the pinwheel, Escape quits.
// Assets:   Images/night_tile.tif, ufo.tif, bubble.tif, glow.tif, pinwheel.tif
//           (made by tools/make-example-assets).
// Test:     keys "right:70,a:40" frame 110
#include <cmath>

#include "corvane.h"

namespace {

Image sky;       // plain: copied as it is, no transparency
Image saucer;    // masked: pixels that were transparent in the file are skipped
Image bubble;    // alpha: blended with what lies under it by the file's alpha
Image glow;      // additive: added to what lies under it, brightest where brightest
Image pinwheel;  // alpha, the source of the turned copy
Image turned;    // the pinwheel turned and scaled, made anew every frame

int saucerX = 100, saucerY = 340;
float pinwheelScale = 1.0f;
int frame = 0;

// Each picture is loaded once, for the one way it will be drawn.
void Load(const char* file, Image& image, int purpose) {
    TiffFile tiff;
    tiff.Load(file, &image, purpose);
}

}  // namespace

void initialize() {
    // Initialization
    Corvane.Initialize(false, 800, 500);
    Load("Images\\night_tile.tif", sky, DRAW_PLAIN);
    Load("Images\\ufo.tif", saucer, DRAW_MASKED);
    Load("Images\\bubble.tif", bubble, DRAW_ALPHA);
    Load("Images\\glow.tif", glow, DRAW_ADDITIVE);
    Load("Images\\pinwheel.tif", pinwheel, DRAW_ALPHA);
    // Rotate draws into a picture that already has its size: room for the
    // 64-pixel pinwheel at twice its size, turned by 45 degrees (64 x 2 x 1.42).
    turned.Create(182, 182, DRAW_ALPHA);
}

int run() {
    // Update
    ++frame;
    if (Corvane.IsKeyDown(VK_LEFT)) saucerX -= 3;
    if (Corvane.IsKeyDown(VK_RIGHT)) saucerX += 3;
    if (Corvane.IsKeyDown(VK_UP)) saucerY -= 3;
    if (Corvane.IsKeyDown(VK_DOWN)) saucerY += 3;
    if (Corvane.IsKeyDown('A') && pinwheelScale < 2.0f) pinwheelScale += 0.02f;
    if (Corvane.IsKeyDown('Z') && pinwheelScale > 0.5f) pinwheelScale -= 0.02f;
    // Two degrees a frame; the scale grows the picture (2 is twice as big).
    pinwheel.Rotate(turned, 2.0f * frame, pinwheelScale);
    const int bubbleY = 190 + static_cast<int>(40 * std::sin(frame * 0.05));
    const int glowX = 330 + static_cast<int>(120 * std::sin(frame * 0.03));

    // Draw: the sky covers the whole frame, so nothing needs clearing first.
    if (Corvane.LockSurface()) {
        Corvane.DrawTiled(frame, 0, &sky);
        Corvane.DrawAlpha(520 - turned.width / 2, 250 - turned.height / 2, &turned);
        Corvane.DrawMasked(saucerX, saucerY, &saucer);
        Corvane.DrawAlpha(120, bubbleY, &bubble);
        Corvane.DrawAdditive(glowX, 330, &glow);
        Corvane.UnlockSurface();
    }
    // Text goes over the finished frame, while the surface is unlocked.
    Corvane.SetTextColour(Colour(255, 255, 255));
    Corvane.DrawText(8, 8, "arrows: fly the saucer   A/Z: scale the pinwheel   Esc: quit");
    Corvane.SetTextColour(Colour(170, 200, 255));
    Corvane.DrawText(8, 470, "plain: sky   masked: saucer   alpha: bubble   additive: glow");
    Corvane.DrawText(452, 110, "turned and scaled");

    // Escape ends the game once this frame is shown, as the close box does.
    if (Corvane.IsKeyPressed(VK_ESCAPE)) Corvane.EndGame();
    return Corvane.ViewUpdate();
}
