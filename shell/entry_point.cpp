#include "shell/debugger.h"
#include "shell/release_interface.h"
#include "shell/windx.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    Corvane.SetInstance(instance, showCommand);
    initialize();
    if (Corvane.GetStatus() != INIT_OK) {
        Corvane.ReportError();
        return -1;
    }

    // Every waiting message is handled before the next frame; a frame is drawn
    // only when the queue is empty.
    MSG msg;
    for (;;) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                Corvane.CleanUp();
                return static_cast<int>(msg.wParam);
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else if (!Corvane.EndIfRequested()) {
            run();
            Corvane.FrameDone();
        }
    }
}

bool WinDX::CleanUp() {
    if (!ReleaseDirectDraw()) {
        Debug.Write("WinDX::CleanUp: Unable to close Direct Draw.\n", "");
        return false;
    }
    return true;
}

bool WinDX::ReleaseDirectDraw() {
    ReleaseInterface(backSurface);
    ReleaseInterface(primarySurface);
    ReleaseInterface(directDraw);
    return true;
}
