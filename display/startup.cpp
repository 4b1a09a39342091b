#include "shell/debugger.h"
#include "shell/windx.h"

bool WinDX::Initialize(int fullscreenMode, int xres, int yres) {
    fullscreenRequested = fullscreenMode;
    requestedWidth = xres;
    requestedHeight = yres;

    // Reopening truncates the log, so a run's log starts with the next line.
    Debug.Open("debug.txt");
    Debug.Write("WindowsDX: Initialization started.\n", "");

    if (!InitWindow()) return false;
    if (!InitDisplay()) return false;
    if (!InitSound()) return false;

    Debug.Write("WindowsDX: Initialization finished OK.\n", "");
    return true;
}

bool WinDX::InitDisplay() {
    if (!StartDirectDraw() || !CreateSurface()) return false;
    // Characters typed during start-up are dropped.
    keyCount = 0;
    return true;
}

bool WinDX::InitSound() {
    // A game that asked for no sound needs no device: none is started.
    if (!soundWanted) return true;
    return StartDirectSound();
}
