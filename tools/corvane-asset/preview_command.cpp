#include "tools/corvane-asset/preview_command.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "image/image.h"
#include "pictures/picture_io.h"
#include "platform/headless/control.h"
#include "shell/windx.h"
#include "tiff/tiff_file.h"
#include "tools/common/frame_png.h"
#include "tools/corvane-asset/asset_tool.h"
#include "tools/corvane-asset/tiff_commands.h"

namespace asset {

const char kPreviewHelp[] =
    "usage: corvane-asset preview IN OUT.png --purpose plain|masked|alpha|additive\n"
    "                             [--format 565|555] [--over PICTURE [--offset X,Y]]\n"
    "\n"
    "Writes OUT.png, the size of IN, showing IN as the game draws it: converted to\n"
    "the display's 16 bits (5:6:5 unless --format 555), prepared for its purpose\n"
    "and drawn with the engine's routine for it, over a grey checkerboard or over\n"
    "PICTURE, which is tiled as the game tiles its background (drawn plain). The\n"
    "16-bit result is widened to 8 bits a channel as corvane-replay's frames are.\n"
    "\n"
    "A TIFF goes through the engine's reader exactly as the game loads it (a\n"
    "compressed one therefore shows what the game would show, with a note); a PNG\n"
    "is taken as corvane-asset convert would write it.\n"
    "\n"
    "  --offset X,Y  the pixel of PICTURE under IN's top-left corner (default 0,0;\n"
    "                any whole numbers, taken modulo PICTURE's size). The game's\n"
    "                alien stands at (360, 188) on a grass field scrolled by\n"
    "                (4000, 4000): --offset 4360,4188 over its grass.\n"
    "\n"
    "Exit status: 0 done, 2 when the engine refuses IN or PICTURE, 1 on other errors.\n";

namespace {

struct PreviewOptions {
    const char* in = nullptr;
    const char* out = nullptr;
    int purpose = 0;
    bool rgb555 = false;
    const char* over = nullptr;
    int offsetX = 0;
    int offsetY = 0;
};

bool ParseOffset(const std::string& text, int& x, int& y) {
    char end = 0;
    return std::sscanf(text.c_str(), "%d,%d%c", &x, &y, &end) == 2;
}

bool ParseOptions(int argc, char** argv, PreviewOptions& options, std::string& error) {
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool takesValue =
            arg == "--purpose" || arg == "--format" || arg == "--over" || arg == "--offset";
        if (takesValue && i + 1 >= argc) {
            error = arg + " needs a value";
            return false;
        }
        if (arg == "--purpose") {
            if ((options.purpose = ParsePurpose(argv[++i])) == 0) {
                error = "--purpose takes plain, masked, alpha or additive";
                return false;
            }
        } else if (arg == "--format") {
            const std::string format = argv[++i];
            if (format != "565" && format != "555") {
                error = "--format takes 565 or 555";
                return false;
            }
            options.rgb555 = format == "555";
        } else if (arg == "--over") {
            options.over = argv[++i];
        } else if (arg == "--offset") {
            if (!ParseOffset(argv[++i], options.offsetX, options.offsetY)) {
                error = "--offset takes two whole numbers, X,Y";
                return false;
            }
        } else if (!TakeFileArgument(argv[i], options.in, options.out, error)) {
            return false;
        }
    }
    if (options.out == nullptr)
        error = "preview takes IN and OUT.png";
    else if (options.purpose == 0)
        error = "preview needs --purpose";
    return error.empty();
}

// Reads a picture as the game's loader would before preparing it: a TIFF
// through the engine's reader, whatever it holds; anything else as convert
// writes it. On failure prints why and sets status.
bool ReadTrueColour(const char* path, Image& image, int& status) {
    std::string error;
    if (pictures::SniffFile(path) == pictures::FileKind::Tiff) {
        TiffFile tiff;
        const Outcome outcome = JudgeTiff(path, tiff, error);
        if (outcome == Outcome::Refused) {
            std::fprintf(stderr, "corvane-asset: %s: the engine refuses this file: %s\n", path,
                         error.c_str());
            status = ExitStatus(outcome);
            return false;
        }
        if (outcome == Outcome::LoadsWrongly)
            Note(std::string(path) + ": the preview shows what the game would: " + error);
        const InFileFolder folder(path);
        tiff.LoadTiff(folder.Name(), &image);
        return true;
    }
    pictures::Picture picture;
    std::vector<std::string> notes;
    if (!pictures::ReadPicture(path, picture, notes, error)) {
        status = Fail(std::string(path) + ": " + error);
        return false;
    }
    for (const std::string& note : notes) Note(std::string(path) + ": " + note);
    if (!pictures::ToTrueColour(picture, image)) {
        status = Fail(std::string(path) + ": there is not enough memory to hold the picture");
        return false;
    }
    return true;
}

// Grey squares of 8 pixels, in true colour.
void Checkerboard(Image& image) {
    pictures::Picture board;
    board.width = board.height = 16;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            board.pixels.insert(board.pixels.end(), 3, ((x / 8 + y / 8) % 2) ? 0x99 : 0x66);
    pictures::ToTrueColour(board, image);
}

// The smallest window the engine is started with: it measures its window's
// frame with a window of the size asked for, which must be larger than the frame.
constexpr int kMinimumSide = 64;

// The engine on the headless display, with a window whose client area holds
// the picture.
bool StartEngine(int width, int height, bool rgb555) {
    headless::SetSurfaceFormat(rgb555 ? headless::SurfaceFormat::Rgb555
                                      : headless::SurfaceFormat::Rgb565);
    width = std::max(width, kMinimumSide);
    height = std::max(height, kMinimumSide);
    // A desktop with room for the window's frame around it.
    headless::SetDesktop(std::max(1920, width + 2 * kMinimumSide),
                         std::max(1080, height + 2 * kMinimumSide), 16);
    // The engine's boxes (compressed data) reach the user on standard error.
    headless::EchoMessageBoxes(true);
    static char instance;
    Corvane.SetInstance(reinterpret_cast<HINSTANCE>(&instance), SW_SHOWNORMAL);
    return Corvane.Initialize(0, width, height);
}

// The top-left width x height pixels of a frame.
headless::Frame TopLeft(const headless::Frame& frame, int width, int height) {
    headless::Frame part = frame;
    part.width = width;
    part.height = height;
    part.pixels.clear();
    for (int y = 0; y < height; ++y) {
        const auto row = frame.pixels.begin() + std::ptrdiff_t(y) * frame.width;
        part.pixels.insert(part.pixels.end(), row, row + width);
    }
    return part;
}

int Draw(int purpose, Image& image) {
    switch (purpose) {
        case DRAW_PLAIN:
            return Corvane.DrawPlain(0, 0, &image);
        case DRAW_MASKED:
            return Corvane.DrawMasked(0, 0, &image);
        case DRAW_ALPHA:
            return Corvane.DrawAlpha(0, 0, &image);
        default:
            return Corvane.DrawAdditive(0, 0, &image);
    }
}

const char* PurposeWord(int purpose) {
    static const char* const kWords[] = {"", "plain", "masked", "alpha", "additive"};
    return kWords[purpose];
}

}  // namespace

int Preview(int argc, char** argv) {
    PreviewOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) return Fail(error + "\n\n" + kPreviewHelp);

    int status = 0;
    Image image;
    Image background;
    if (!ReadTrueColour(options.in, image, status)) return status;
    if (options.over == nullptr)
        Checkerboard(background);
    else if (!ReadTrueColour(options.over, background, status))
        return status;
    if (image.width <= 0 || image.height <= 0 || background.width <= 0)
        return Fail(std::string(options.in) + ": nothing was read");

    if (!StartEngine(image.width, image.height, options.rgb555))
        return Fail("the engine did not start on the headless display (status " +
                    std::to_string(Corvane.GetStatus()) + ")");
    // As the game's loader does once the display's format is known.
    image.Prepare(static_cast<std::int8_t>(options.purpose));
    background.Prepare(DRAW_PLAIN);
    if (!Corvane.LockSurface()) return Fail("the headless display cannot be locked");
    Corvane.DrawTiled(options.offsetX, options.offsetY, &background);
    const int drawn = Draw(options.purpose, image);
    Corvane.UnlockSurface();
    Corvane.ViewUpdate();
    const headless::Frame& presented = headless::LastFrame();
    if (drawn == 0 || presented.width < image.width || presented.height < image.height)
        return Fail("the engine drew nothing");
    const headless::Frame frame = TopLeft(presented, image.width, image.height);
    if (!png_io::WriteFramePng(options.out, frame, error))
        return Fail(std::string(options.out) + ": " + error);
    std::printf("wrote %s: %d x %d, drawn %s on a %s display over %s\n", options.out, frame.width,
                frame.height, PurposeWord(options.purpose), options.rgb555 ? "5:5:5" : "5:6:5",
                options.over != nullptr ? options.over : "a checkerboard");
    return 0;
}

}  // namespace asset
