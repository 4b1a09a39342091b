// Corvane example: sound
//
// Shows:    loading WAV files (SoundX::Load) and playing them with a volume and
//           a pan (PlaySoundEx) that follow the mouse: left and right pan the
//           sound between the speakers, up is loud and down is soft.
// Controls: left button: chime, right button: drum, 1 2 3: blip chime drum,
//           M: the metronome's blip on or off, Escape quits.
// Assets:   Images/night_tile.tif, speaker.tif; Sounds/blip.wav, chime.wav,
//           drum.wav, all 16-bit mono at 22050 Hz (tools/make-example-assets).
// Test:     mouse "100/100:1,700/100:40,left@700/100:5,100/400:40,right@100/400:5" frame 91 sound 3f5d5bd6
#include <cstdio>

#include "corvane.h"

namespace {

Image sky, speaker;
// The engine plays every sound in the format of the first one it plays, so
// these share one format.
SoundX blip, chime, drum;
bool metronome = true;
int lastButton = 0;
int frame = 0;

// Where each sound was last played, shown for a while.
struct Played {
    const char* name;
    int x, y;
    int frame;
};
Played shown[3] = {{"blip", 0, 0, -100}, {"chime", 0, 0, -100}, {"drum", 0, 0, -100}};

// PlaySoundEx takes a volume from 0 to 1 (1 is full, 0 is 50 dB down) and a
// pan from -1 (left only) to 1 (right only). Both count in decibels and are
// steep, so the screen spans the part that sounds like a place: pan -0.3 to
// 0.3 from left to right, volume 1 to 0.6 (20 dB down) from top to bottom.
float Pan(int x) {
    return 0.3f * (2.0f * x / 800 - 1.0f);
}
float Volume(int y) {
    return 1.0f - 0.4f * y / 500;
}

// Plays a sound from the start, from where the mouse is.
void Play(SoundX& sound, Played& mark) {
    const int x = Corvane.GetMouseX(), y = Corvane.GetMouseY();
    Corvane.PlaySoundEx(&sound, 0, Volume(y), Pan(x));
    mark = {mark.name, x, y, frame};
}

}  // namespace

void initialize() {
    // Initialization
    Corvane.Initialize(false, 800, 500);
    TiffFile skyFile, speakerFile;
    skyFile.Load("Images\\night_tile.tif", &sky, DRAW_PLAIN);
    speakerFile.Load("Images\\speaker.tif", &speaker, DRAW_MASKED);
    // A missing or broken WAV file ends the program with a message box.
    blip.Load("Sounds\\blip.wav");
    chime.Load("Sounds\\chime.wav");
    drum.Load("Sounds\\drum.wav");
}

int run() {
    // Update: a button plays its sound once, when it goes down.
    ++frame;
    const int button = Corvane.GetMouseButton();
    if (button == 1 && lastButton != 1) Play(chime, shown[1]);
    if (button == 2 && lastButton != 2) Play(drum, shown[2]);
    lastButton = button;
    bool quit = false;
    for (char c = Corvane.GetKey(); c != 0; c = Corvane.GetKey()) {
        if (c == '1') Play(blip, shown[0]);
        if (c == '2') Play(chime, shown[1]);
        if (c == '3') Play(drum, shown[2]);
        if (c == 'm' || c == 'M') metronome = !metronome;
        if (c == VK_ESCAPE) quit = true;
    }
    // Twice a second, at 60 frames a second.
    if (metronome && frame % 30 == 0) Play(blip, shown[0]);

    // Draw
    if (Corvane.LockSurface()) {
        Corvane.DrawTiled(0, 0, &sky);
        Corvane.DrawMasked(8, 200, &speaker);
        Corvane.DrawMasked(800 - 8 - speaker.width, 200, &speaker);
        Corvane.UnlockSurface();
    }
    Corvane.SetTextColour(Colour(255, 255, 255));
    Corvane.DrawText(8, 8, "left: chime   right: drum   1 2 3: blip chime drum   M: metronome");
    Corvane.DrawText(8, 26, "sounds play where the mouse is: left/right pans, up is loud");
    // The mouse, and for a second each sound's name where it was played.
    Corvane.SetTextColour(Colour(255, 220, 120));
    Corvane.DrawText(Corvane.GetMouseX() - 4, Corvane.GetMouseY() - 8, "+");
    for (int i = 0; i < 3; ++i)
        if (frame - shown[i].frame < 60)
            Corvane.DrawText(shown[i].x + 10, shown[i].y - 26 + 16 * i, shown[i].name);
    char status[80];
    std::snprintf(status, sizeof status, "pan %+.2f   volume %.2f   metronome %s",
                  Pan(Corvane.GetMouseX()), Volume(Corvane.GetMouseY()), metronome ? "on" : "off");
    Corvane.SetTextColour(Colour(170, 200, 255));
    Corvane.DrawText(8, 476, status);

    // Escape ends the game once this frame is shown, as the close box does.
    if (quit) Corvane.EndGame();
    return Corvane.ViewUpdate();
}
