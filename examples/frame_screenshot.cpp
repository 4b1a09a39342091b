// Corvane example: screenshots
//
// Shows:    reading the finished frame back from the frame buffer, saving it
//           as a TIFF file through the engine's writer (TiffFile::Save), and
//           reading that file back (TiffFile::Load) to show it small.
// Controls: S saves the frame as shot0001.tif, shot0002.tif, ... in the
//           working folder (a new run starts again at 1), Escape quits.
// Assets:   Images/night_tile.tif, testcard.tif, ufo.tif
//           (made by tools/make-example-assets).
// Test:     keys "none:30,s:1" frame 45
#include <cstdio>

#include "corvane.h"

namespace {

constexpr int kWidth = 800, kHeight = 500;

Image sky, card, saucer;
Image thumbnail;  // the last shot as read back from its file, a quarter of its size
Image frameEdge;  // white, a little larger than the thumbnail, drawn under it
char shotName[16] = "";
int shots = 0;
int frame = 0;

void Load(const char* file, Image& image, int purpose) {
    TiffFile tiff;
    tiff.Load(file, &image, purpose);
}

// One 16-bit channel widened to 8 bits: its bits repeated, so full is 255.
int Widen(int word, int mask, int shift, int bits) {
    const int c = (word & mask) >> shift;
    return (c << (8 - bits)) | (c >> (2 * bits - 8));
}

// Saves what the frame buffer holds as a true-colour TIFF file. The writer
// takes pictures of 3 bytes a pixel (red, green, blue), not the display's
// 16-bit words, so each pixel is widened on the way.
void SaveFrame(const char* file) {
    if (!Corvane.LockSurface()) return;
    const std::uint16_t* screen = Corvane.GetBackBuffer();
    const int stride = Corvane.GetPitch() / 2;  // pixels from one row to the next
    Image shot(kWidth, kHeight, IMAGE_32BIT);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const int word = screen[y * stride + x];
            std::uint8_t* rgb = shot.pixels + 3 * (y * kWidth + x);
            rgb[0] = static_cast<std::uint8_t>(Widen(word, RedMask, RedShift, RedBits));
            rgb[1] = static_cast<std::uint8_t>(Widen(word, GreenMask, GreenShift, GreenBits));
            rgb[2] = static_cast<std::uint8_t>(Widen(word, BlueMask, BlueShift, BlueBits));
        }
    }
    Corvane.UnlockSurface();
    TiffFile tiff;
    tiff.mode = TIFF_RGB;
    tiff.bitsPerPixel = 8;  // bits per sample
    tiff.Save(file, &shot);
}

// Reads the file back as any picture is read, and keeps every fourth pixel of
// every fourth row.
void ShowSmall(const char* file) {
    Image saved;
    Load(file, saved, DRAW_PLAIN);
    thumbnail.Create(kWidth / 4, kHeight / 4, DRAW_PLAIN);
    frameEdge.Create(thumbnail.width + 4, thumbnail.height + 4, DRAW_PLAIN);
    frameEdge.Fill((1 << RedBits) - 1, (1 << GreenBits) - 1, (1 << BlueBits) - 1);
    int r, g, b;
    for (int y = 0; y < thumbnail.height; ++y) {
        for (int x = 0; x < thumbnail.width; ++x) {
            saved.GetPixel(4 * x, 4 * y, r, g, b);
            thumbnail.SetPixel(x, y, r, g, b);
        }
    }
}

}  // namespace

void initialize() {
    // Initialization
    Corvane.Initialize(false, kWidth, kHeight);
    Load("Images\\night_tile.tif", sky, DRAW_PLAIN);
    Load("Images\\testcard.tif", card, DRAW_PLAIN);
    Load("Images\\ufo.tif", saucer, DRAW_MASKED);
}

int run() {
    // Update: the saucer bounces round the screen.
    ++frame;
    const int span = kWidth - saucer.width, rise = kHeight - saucer.height;
    const int saucerX = (4 * frame) % (2 * span), saucerY = (3 * frame) % (2 * rise);
    bool save = false, quit = false;
    for (char c = Corvane.GetKey(); c != 0; c = Corvane.GetKey()) {
        if (c == 's' || c == 'S') save = true;
        if (c == VK_ESCAPE) quit = true;
    }

    // Draw
    if (Corvane.LockSurface()) {
        Corvane.DrawTiled(frame, frame / 2, &sky);
        Corvane.DrawImage(40, 60, &card);
        Corvane.DrawMasked(saucerX < span ? saucerX : 2 * span - saucerX,
                           saucerY < rise ? saucerY : 2 * rise - saucerY, &saucer);
        if (thumbnail.width > 0) {
            Corvane.DrawImage(kWidth - 222, kHeight - 157, &frameEdge);
            Corvane.DrawImage(kWidth - 220, kHeight - 155, &thumbnail);
        }
        Corvane.UnlockSurface();
    }
    Corvane.SetTextColour(Colour(255, 255, 255));
    Corvane.DrawText(8, 8, "S: save the frame as a TIFF file   Esc: quit");
    if (shots > 0) {
        char caption[64];
        std::snprintf(caption, sizeof caption, "%s, read back:", shotName);
        Corvane.SetTextColour(Colour(170, 200, 255));
        Corvane.DrawText(kWidth - 220, kHeight - 175, caption);
    }
    // The shot is taken last, so it holds the whole frame, text and all.
    if (save) {
        std::snprintf(shotName, sizeof shotName, "shot%04d.tif", ++shots);
        SaveFrame(shotName);
        ShowSmall(shotName);
    }

    // Escape ends the game once this frame is shown, as the close box does.
    if (quit) Corvane.EndGame();
    return Corvane.ViewUpdate();
}
