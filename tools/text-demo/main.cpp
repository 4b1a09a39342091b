// Starts the engine on the headless backend, draws a frame in software, writes
// lines of text over it with DrawText and saves the presented frame as a PNG.
//   text-demo [output.png]      (default text-demo.png)
#include <cstdint>
#include <cstdio>
#include <string>

#include "display/pixel_format.h"
#include "platform/headless/control.h"
#include "shell/windx.h"
#include "tools/common/frame_png.h"

namespace {

constexpr int kWidth = 480;
constexpr int kHeight = 200;

std::uint16_t Pixel(int red, int green, int blue) {
    const auto channel = [](int value, std::int32_t shift, std::int32_t bits) {
        return static_cast<std::uint32_t>(value >> (8 - bits)) << shift;
    };
    return static_cast<std::uint16_t>(channel(red, RedShift, RedBits) |
                                      channel(green, GreenShift, GreenBits) |
                                      channel(blue, BlueShift, BlueBits));
}

std::uint16_t* Row(int y) {
    return reinterpret_cast<std::uint16_t*>(reinterpret_cast<std::uint8_t*>(Corvane.backBuffer) +
                                            Corvane.rowOffset[y]);
}

// A frame with something behind the text: a diagonal gradient crossed by bars.
void DrawFrame() {
    for (int y = 0; y < Corvane.height; ++y) {
        std::uint16_t* row = Row(y);
        for (int x = 0; x < Corvane.width; ++x) {
            int red = x * 255 / Corvane.width;
            int green = y * 255 / Corvane.height;
            int blue = 96;
            if ((x / 40) % 4 == 1) red = green = blue = 40;
            if (y >= 150 && y < 170) red = green = blue = 230;
            row[x] = Pixel(red, green, blue);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const char* output = argc > 1 ? argv[1] : "text-demo.png";

    static char instance;
    Corvane.SetInstance(reinterpret_cast<HINSTANCE>(&instance), SW_SHOWNORMAL);
    if (!Corvane.Initialize(0, kWidth, kHeight)) {
        std::fprintf(stderr, "text-demo: the engine did not start (status %d)\n",
                     Corvane.GetStatus());
        return 1;
    }
    if (!Corvane.LockSurface()) return 1;
    DrawFrame();
    Corvane.UnlockSurface();

    // Text is drawn between unlocking and presenting.
    Corvane.SetTextRGB(255, 255, 255);
    Corvane.DrawText(8, 8, "Corvane DrawText: 8 x 16 cells, transparent background");
    Corvane.SetTextRGB(255, 230, 0);
    Corvane.DrawText(8, 32, "The quick brown fox jumps over the lazy dog. 0123456789");
    Corvane.SetTextRGB(0, 255, 255);
    Corvane.DrawText(8, 56, "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~");
    // Code page 1252 bytes: e acute, a grave, euro sign, copyright, em dash.
    Corvane.SetTextRGB(255, 128, 255);
    Corvane.DrawText(8, 80, "D\xE9j\xE0 vu \x97 100 \x80 \xA9 Corvane");
    // Clipped at the right and bottom edges, and dark text on the light bar.
    Corvane.SetTextRGB(255, 255, 255);
    Corvane.DrawText(kWidth - 60, 112, "clipped at the edge");
    Corvane.SetTextRGB(0, 0, 0);
    Corvane.DrawText(8, 152, "Black text on the light bar");
    Corvane.SetTextRGB(255, 64, 64);
    Corvane.DrawText(200, kHeight - 8, "half below the bottom");
    Corvane.ViewUpdate();

    // What the user would see in the window.
    const headless::Frame& frame = headless::LastFrame();
    if (frame.width == 0) {
        std::fprintf(stderr, "text-demo: no frame was presented\n");
        return 1;
    }
    std::string error;
    if (!png_io::WriteFramePng(output, frame, error)) {
        std::fprintf(stderr, "text-demo: %s\n", error.c_str());
        return 1;
    }
    std::printf("text-demo: wrote %s (%d x %d)\n", output, frame.width, frame.height);
    return 0;
}
