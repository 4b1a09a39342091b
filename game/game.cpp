#include "game/game.h"

#include "game/pictures_folder.h"
#include "shell/windx.h"
#include "tiff/tiff_file.h"

Image background;
Alien alien;
World world;
int animCounter = 0;
int escapePressed = 0;

namespace {
constexpr char KEY_ESCAPE = VK_ESCAPE;
}

void initialize() {
    RequirePicturesFolder();
    // The entry point checks the engine's status once this returns; the
    // pictures are loaded in any case.
    Corvane.Initialize(false, 800, 500);
    alien.Load();
    world.Build();
    TiffFile tiff;
    tiff.Load("Images\\grass_template_thick.tif", &background, DRAW_PLAIN);
    animCounter = 0;
    escapePressed = 0;
}

int run() {
    animCounter = alien.Update(animCounter, world);
    animCounter = animCounter + 1;

    // Layered from the bottom: grass, placed objects, the alien. A frame whose
    // lock failed draws nothing (the engine has reported the failure).
    if (Corvane.LockSurface()) {
        Corvane.DrawTiled(static_cast<int>(alien.GetX()), static_cast<int>(alien.GetY()),
                          &background);
        world.Draw(-alien.GetX(), -alien.GetY());
        alien.Draw();
        Corvane.UnlockSurface();
    }

    if (Corvane.GetKey() == KEY_ESCAPE) escapePressed = 1;
    const int result = Corvane.ViewUpdate();
    // Escape closes the window as its close button does: the window procedure
    // posts the quit message, and the frame loop ends with exit code 0 before
    // another frame runs.
    if (escapePressed == 1) DestroyWindow(Corvane.GetWindow());
    return result;
}
