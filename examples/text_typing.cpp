// Corvane example: text and typing
//
// Shows:    text in any colour (SetTextColour, DrawText), measured to place it
//           (MeasureText), and the typed-character buffer (GetKey) used as a
//           small line editor.
// Controls: type a line; Backspace deletes, Return keeps the line, Escape quits.
// Assets:   Images/night_tile.tif (made by tools/make-example-assets).
// Test:     keys "h+i:1,space:1,t:1,h:1,e:1,r:1,e:1,return:1,x:1,backspace:1,o+k:1" frame 20
#include <string>
#include <vector>

#include "corvane.h"

namespace {

Image sky;
std::string line;                // the line being typed
std::vector<std::string> lines;  // the lines kept, oldest first
std::string lastTaken;           // what GetKey gave in the last frame that had any
bool quit = false;
int frame = 0;

constexpr std::size_t kLineLength = 90;
constexpr std::size_t kLinesShown = 12;

// One typed character, oldest first: edit the line, or ask to quit.
void Type(char c) {
    if (c == '\b') {
        if (!line.empty()) line.pop_back();
    } else if (c == '\r') {
        lines.push_back(line);
        if (lines.size() > kLinesShown) lines.erase(lines.begin());
        line.clear();
    } else if (c == VK_ESCAPE) {
        quit = true;
    } else if (c >= ' ' && c <= '~' && line.size() < kLineLength) {
        line += c;
    }
}

}  // namespace

void initialize() {
    // Initialization
    Corvane.Initialize(false, 800, 500);
    TiffFile tiff;
    tiff.Load("Images\\night_tile.tif", &sky, DRAW_PLAIN);
}

int run() {
    // Update: the engine keeps typed characters on a stack, and GetKey hands
    // out the newest first. Take them all, then use them oldest first.
    ++frame;
    std::string taken;
    for (char c = Corvane.GetKey(); c != 0; c = Corvane.GetKey()) taken += c;
    if (!taken.empty()) lastTaken = taken;
    for (auto c = taken.rbegin(); c != taken.rend(); ++c) Type(*c);

    // Draw: the frame first, then the text over it while the surface is unlocked.
    if (Corvane.LockSurface()) {
        Corvane.DrawTiled(0, 0, &sky);
        Corvane.UnlockSurface();
    }
    Corvane.SetTextColour(Colour(255, 255, 255));
    Corvane.DrawText(8, 8, "type a line   Backspace: delete   Return: keep the line   Esc: quit");

    // SetTextColour colours everything drawn after it, until the next call.
    const struct {
        const char* word;
        Colour colour;
    } words[] = {{"red", {255, 80, 80}},     {"orange", {255, 170, 60}},
                 {"yellow", {255, 240, 90}}, {"green", {110, 230, 110}},
                 {"blue", {110, 160, 255}},  {"violet", {200, 130, 255}}};
    int x = 8;
    for (const auto& w : words) {
        Corvane.SetTextColour(w.colour);
        Corvane.DrawText(x, 40, w.word);
        x += Corvane.MeasureText(w.word).width + Corvane.MeasureText(" ").width;
    }

    for (std::size_t i = 0; i < lines.size(); ++i) {
        Corvane.SetTextColour(Colour(150, 170, 210));
        Corvane.DrawText(8, 80 + 18 * static_cast<int>(i), lines[i].c_str());
    }
    // The caret blinks: on for half a second, off for half, at 60 frames a second.
    const std::string prompt = "> " + line + ((frame / 30) % 2 == 0 ? "_" : "");
    Corvane.SetTextColour(Colour(255, 255, 160));
    Corvane.DrawText(8, 80 + 18 * static_cast<int>(lines.size()), prompt.c_str());

    std::string shown;
    for (char c : lastTaken) shown += c == '\b' ? "BS " : c == '\r' ? "RET " : std::string{c, ' '};
    Corvane.SetTextColour(Colour(170, 200, 255));
    Corvane.DrawText(8, 470, ("last taken by GetKey, newest first: " + shown).c_str());

    // Escape ends the game once this frame is shown, as the close box does.
    if (quit) Corvane.EndGame();
    return Corvane.ViewUpdate();
}
