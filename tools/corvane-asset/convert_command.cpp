#include "tools/corvane-asset/convert_command.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "image/image.h"
#include "pictures/picture_io.h"
#include "tiff/tiff_file.h"
#include "tools/corvane-asset/asset_tool.h"
#include "tools/corvane-asset/tiff_commands.h"

namespace asset {

const char kConvertHelp[] =
    "usage: corvane-asset convert IN OUT.tif [--purpose plain|masked|alpha|additive]\n"
    "                             [--keep-black]\n"
    "\n"
    "Reads IN, a PNG (with or without alpha) or any TIFF libtiff reads (LZW,\n"
    "Deflate, PackBits, JPEG and old-style JPEG, tiles, separate planes, 16-bit\n"
    "samples, palettes, grey, CMYK), and writes an uncompressed 8-bit TIFF the\n"
    "engine loads as it stands: RGB, or RGBA with the alpha as the fourth sample\n"
    "when IN has an alpha channel. A TIFF gives the pixels libtiff's tiff2rgba\n"
    "gives, turned as its Orientation says, except that the 16-bit samples of RGB\n"
    "and grey files keep their high byte, as the engine's reader does (tiff2rgba\n"
    "rounds RGB ones, and drops the alpha of 16-bit grey). A file libtiff cannot\n"
    "decode is refused with libtiff's reason.\n"
    "\n"
    "  --purpose P   how the game will draw it; warns about what that way of\n"
    "                drawing loses. masked without alpha: black is the transparent\n"
    "                colour, so every pixel that is pure black after conversion to\n"
    "                16 bits (5:6:5 or 5:5:5) disappears; the warning counts them.\n"
    "  --keep-black  with --purpose masked and no alpha: lifts those pixels to the\n"
    "                nearest colour that stays visible (raising their brightest\n"
    "                channel to 8; black becomes the darkest blue).\n"
    "\n"
    "Exit status: 0 done, 1 on errors (a picture larger than the engine holds\n"
    "is one; nothing is written then).\n";

namespace {

struct ConvertOptions {
    const char* in = nullptr;
    const char* out = nullptr;
    int purpose = 0;
    bool keepBlack = false;
};

bool ParseOptions(int argc, char** argv, ConvertOptions& options, std::string& error) {
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--purpose") {
            if (i + 1 >= argc || (options.purpose = ParsePurpose(argv[++i])) == 0) {
                error = "--purpose takes plain, masked, alpha or additive";
                return false;
            }
        } else if (arg == "--keep-black") {
            options.keepBlack = true;
        } else if (!TakeFileArgument(argv[i], options.in, options.out, error)) {
            return false;
        }
    }
    if (options.out == nullptr) {
        error = "convert takes IN and OUT.tif";
        return false;
    }
    if (options.keepBlack && options.purpose != DRAW_MASKED) {
        error = "--keep-black goes with --purpose masked";
        return false;
    }
    return true;
}

// Black on a 5:5:5 display: no channel keeps a bit after conversion. A 5:6:5
// display keeps green from 4 on, so it shows fewer of them.
bool BlackOn555(const std::uint8_t* rgb) {
    return rgb[0] < 8 && rgb[1] < 8 && rgb[2] < 8;
}

bool BlackOn565(const std::uint8_t* rgb) {
    return rgb[0] < 8 && rgb[1] < 4 && rgb[2] < 8;
}

// The nearest colour that no 16-bit display turns black: the brightest channel
// raised to 8 (blue first on a tie, so black becomes the word 1, as masked
// drawing keeps opaque black of a picture with alpha).
void LiftBlack(std::uint8_t* rgb) {
    int brightest = 2;
    for (int c = 1; c >= 0; --c)
        if (rgb[c] > rgb[brightest]) brightest = c;
    rgb[brightest] = 8;
}

// Warnings and notes on how the game will draw the picture; lifts black first
// when asked.
void CheckPurpose(pictures::Picture& picture, const ConvertOptions& options,
                  const std::string& out) {
    const std::size_t count = std::size_t(picture.width) * picture.height;
    const std::size_t step = picture.hasAlpha ? 4 : 3;
    if (options.purpose == DRAW_MASKED && !picture.hasAlpha) {
        std::size_t on555 = 0, on565 = 0;
        for (std::size_t i = 0; i < count; ++i) {
            std::uint8_t* rgb = &picture.pixels[i * step];
            if (!BlackOn555(rgb)) continue;
            ++on555;
            if (BlackOn565(rgb)) ++on565;
            if (options.keepBlack) LiftBlack(rgb);
        }
        if (on555 == 0) return;
        const std::string counted =
            std::to_string(on565) + " opaque pixels are pure black after conversion to 16 bits" +
            (on555 == on565 ? std::string()
                            : " (" + std::to_string(on555) + " on a 5:5:5 display)");
        if (options.keepBlack)
            Note(out + ": " + counted + "; lifted all " + std::to_string(on555) +
                 " to the nearest colour that stays visible");
        else
            std::fprintf(stderr,
                         "corvane-asset: warning: %s: %s, and drawn masked they turn "
                         "transparent: without alpha, black is the transparent colour. If they "
                         "should show, give the picture an alpha channel, or convert with "
                         "--keep-black.\n",
                         out.c_str(), counted.c_str());
        return;
    }
    if (options.purpose == DRAW_MASKED) {
        std::size_t partial = 0;
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint8_t alpha = picture.pixels[i * 4 + 3];
            if (alpha != 0 && alpha != 255) ++partial;
        }
        if (partial != 0)
            Note(out + ": " + std::to_string(partial) +
                 " pixels are partly transparent; masked drawing shows every pixel whose alpha "
                 "is not 0 as opaque (--purpose alpha blends them)");
    } else if (options.purpose == DRAW_PLAIN && picture.hasAlpha) {
        Note(out + ": plain drawing ignores the alpha channel (it is kept in the file)");
    } else if ((options.purpose == DRAW_ALPHA || options.purpose == DRAW_ADDITIVE) &&
               !picture.hasAlpha) {
        Note(out +
             ": the picture has no alpha: the engine takes each pixel's brightness as "
             "its alpha, so dark pixels show faintly or not at all");
    }
}

}  // namespace

int Convert(int argc, char** argv) {
    ConvertOptions options;
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) return Fail(error + "\n\n" + kConvertHelp);

    std::error_code ignored;
    if (std::filesystem::equivalent(options.in, options.out, ignored))
        return Fail(std::string(options.out) + ": is IN itself; write the result to another file");

    pictures::Picture picture;
    std::vector<std::string> notes;
    if (!pictures::ReadPicture(options.in, picture, notes, error))
        return Fail(std::string(options.in) + ": " + error);
    for (const std::string& note : notes) Note(std::string(options.in) + ": " + note);
    CheckPurpose(picture, options, options.out);
    if (!pictures::WriteTiff(options.out, picture, error))
        return Fail(std::string(options.out) + ": " + error);

    // The result is checked by the engine's own reader.
    TiffFile tiff;
    std::string reason;
    const Outcome outcome = JudgeTiff(options.out, tiff, reason);
    if (outcome != Outcome::Loads) {
        std::remove(options.out);
        return Fail(std::string(options.out) +
                    ": the engine's reader would not load the result as it stands (" + reason +
                    "); it is removed");
    }
    std::printf("wrote %s: %d x %d, %s, 8 bits a sample, uncompressed\n", options.out,
                picture.width, picture.height, picture.hasAlpha ? "RGBA" : "RGB");
    return 0;
}

}  // namespace asset
