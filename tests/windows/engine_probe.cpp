// engine_probe.exe: the engine alone, checked on a real DirectDraw. A 321 x 200
// picture (an odd width, so the back surface's pitch may be wider than its rows)
// holding boxes in fixed colours, three colour ramps, the last column and row in
// orange, a marker that turns yellow while the right arrow key is held, and a
// line of text drawn by the system's GDI. wine_probe_test.sh knows this picture;
// the two change together.
//   engine_probe.exe                         a window whose client area is the picture
//   engine_probe.exe fullscreen WIDTH HEIGHT  the picture at the top left of that mode
//   engine_probe.exe game                     a game's own calls: named "Probe", no
//                                             sound asked for, the text's measured size
//                                             logged, Escape ending it (EndGame)
#include <cstdio>
#include <cstring>

#include "shell/debugger.h"
#include "shell/windx.h"

namespace {

constexpr int kWidth = 321;
constexpr int kHeight = 200;
constexpr char kText[] = "Corvane on DirectDraw";
bool gameCalls = false;

void DrawFrame() {
    Corvane.ClearScreen();
    Corvane.FillBox(8, 8, 103, 95, 255, 0, 0);
    Corvane.FillBox(112, 8, 207, 95, 0, 255, 0);
    Corvane.FillBox(216, 8, 311, 95, 0, 0, 255);
    // Ramps through all 32 steps of each channel, 9 pixels per step.
    for (int step = 0; step < 32; ++step) {
        const int left = 8 + step * 9;
        const int level = step * 8;
        Corvane.FillBox(left, 104, left + 8, 127, level, 0, 0);
        Corvane.FillBox(left, 128, left + 8, 151, 0, level, 0);
        Corvane.FillBox(left, 152, left + 8, 175, 0, 0, level);
    }
    const bool held = Corvane.IsKeyDown(VK_RIGHT) != 0;
    Corvane.FillBox(8, 180, 103, 195, held ? 255 : 64, held ? 255 : 64, held ? 0 : 64);
    // DrawPixel takes 5-bit components: the same orange as FillBox(255, 128, 0).
    for (int y = 0; y < kHeight; ++y) Corvane.DrawPixel(kWidth - 1, y, 31, 16, 0);
    for (int x = 0; x < kWidth; ++x) Corvane.DrawPixel(x, kHeight - 1, 31, 16, 0);
}

// The command line without the program's name, which comes first (in quotes when
// its path holds spaces) and may itself contain the word "fullscreen".
const char* Arguments() {
    const char* line = GetCommandLineA();
    if (*line == '"') {
        const char* closing = std::strchr(line + 1, '"');
        return closing != nullptr ? closing + 1 : "";
    }
    const char* space = std::strchr(line, ' ');
    return space != nullptr ? space : "";
}

}  // namespace

void initialize() {
    int width = 0;
    int height = 0;
    char word[16] = "";
    gameCalls = std::sscanf(Arguments(), " %15s", word) == 1 && std::strcmp(word, "game") == 0;
    if (gameCalls) {
        Corvane.SetName("Probe");
        Corvane.UseSound(false);
    }
    if (std::sscanf(Arguments(), " fullscreen %d %d", &width, &height) == 2)
        Corvane.Initialize(true, width, height);
    else
        Corvane.Initialize(false, kWidth, kHeight);
    Corvane.SetTextRGB(255, 255, 255);
    if (gameCalls) {
        // The system font's size for the text, where the test can read it.
        const TextSize size = Corvane.MeasureText(kText);
        char line[64];
        std::snprintf(line, sizeof line, "Probe: text %dx%d\n", size.width, size.height);
        Debug.Write(line, "");
    }
}

int run() {
    if (Corvane.LockSurface()) {
        DrawFrame();
        Corvane.UnlockSurface();
        // Text goes through a device context of the back surface, so only while
        // the engine does not hold the surface locked.
        Corvane.DrawText(120, 180, kText);
    }
    if (gameCalls && Corvane.IsKeyPressed(VK_ESCAPE)) Corvane.EndGame();
    return Corvane.ViewUpdate();
}
