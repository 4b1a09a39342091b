// The game's check: the real game on the headless backend, with no sound device
// (it asks for none), the right arrow held from frame 11 to frame 40 and the
// window closed after frame 50. It must
// end the normal way, show no message box (a missing picture shows one), show
// the alien where it starts, and its last frame must be its tenth moved 60
// pixels to the right.
#include <cstdio>

#include "corvane.h"
#include "platform/headless/control.h"

namespace {
int failures = 0;

void Expect(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "game_check: %s\n", what);
        ++failures;
    }
}

// True when the frame is black but for some pixels inside the alien's 64 x 96
// picture with its top-left corner at (left, top).
bool ShowsOnlyAlienAt(const headless::Frame& frame, int left, int top) {
    int lit = 0;
    for (int y = 0; y < frame.height; ++y)
        for (int x = 0; x < frame.width; ++x) {
            if (frame.At(x, y) == 0) continue;
            if (x < left || x >= left + 64 || y < top || y >= top + 96) return false;
            ++lit;
        }
    return lit > 0;
}

// True when `later` shows `earlier` moved dx pixels to the right (the columns
// it uncovers are black).
bool MovedRight(const headless::Frame& earlier, const headless::Frame& later, int dx) {
    if (earlier.width != later.width || earlier.height != later.height) return false;
    for (int y = 0; y < later.height; ++y)
        for (int x = 0; x < later.width; ++x)
            if (later.At(x, y) != (x < dx ? 0 : earlier.At(x - dx, y))) return false;
    return true;
}
}  // namespace

int main() {
    headless::KeepAllFrames(true);
    headless::FailFrom(headless::Op::DirectSoundCreate, 1, DSERR_NODRIVER);
    headless::PostWindowMessageAt(10, WM_KEYDOWN, VK_RIGHT);
    headless::PostWindowMessageAt(40, WM_KEYUP, VK_RIGHT);
    headless::PostWindowMessageAt(50, WM_CLOSE);

    static char instance;
    char commandLine[] = "";
    const int exitCode =
        WinMain(reinterpret_cast<HINSTANCE>(&instance), nullptr, commandLine, SW_SHOWNORMAL);

    Expect(exitCode == 0, "the game did not end with exit code 0");
    for (const headless::MessageBoxRecord& box : headless::MessageBoxes())
        std::fprintf(stderr, "game_check: message box \"%s\": %s\n", box.caption.c_str(),
                     box.text.c_str());
    Expect(headless::MessageBoxes().empty(), "the game showed a message box");
    const std::vector<headless::Frame>& frames = headless::PresentedFrames();
    Expect(frames.size() == 50, "the game did not present 50 frames");
    if (frames.size() == 50) {
        Expect(ShowsOnlyAlienAt(frames[9], 368, 202),
               "frame 10 does not show the alien at (368, 202)");
        Expect(MovedRight(frames[9], frames[49], 30 * 2),
               "frame 50 is not frame 10 moved 60 pixels to the right");
    }
    if (failures == 0) std::printf("game_check: 50 frames, the alien walked 60 pixels right\n");
    return failures == 0 ? 0 : 1;
}
