// An 800 x 500 engine window shown at scale 2 that prints "running" once its
// frames run, then every mouse button press as the engine saw it, "click X Y
// BUTTON", on standard output.
#include <cstdio>

#include "platform/api/platform.h"
#include "platform/sdl/sdl_program.h"
#include "shell/windx.h"

namespace {
int lastButton = 0;
bool announced = false;
}  // namespace

void initialize() {
    Corvane.Initialize(false, 800, 500);
}

int run() {
    // A press is seen only by a frame that runs while the button is down.
    if (!announced) {
        std::printf("running\n");
        std::fflush(stdout);
        announced = true;
    }
    const int button = Corvane.GetMouseButton();
    if (button != 0 && button != lastButton) {
        std::printf("click %d %d %d\n", Corvane.GetMouseX(), Corvane.GetMouseY(), button);
        std::fflush(stdout);
    }
    lastButton = button;
    if (Corvane.LockSurface()) {
        Corvane.ClearScreen();
        Corvane.UnlockSurface();
    }
    return Corvane.ViewUpdate();
}

int main(int argc, char** argv) {
    sdl::DisplayOptions display;
    display.scale = 2;
    sdl::SetDisplayOptions(display);
    return sdl::RunProgram(argc, argv, WinMain);
}
