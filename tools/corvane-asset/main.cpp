// corvane-asset: looks at TIFF and WAV files the way the engine reads them,
// turns TIFF into PNG and back through the engine's own reader and writer, and
// plays WAV files through the engine's sound.
#include <cstdio>
#include <cstring>
#include <string>

#include "image/image.h"
#include "platform/headless/control.h"
#include "shell/debugger.h"
#include "tiff/tiff_file.h"
#include "tools/common/png_io.h"
#include "tools/corvane-asset/wav_commands.h"

namespace {

const char kUsage[] =
    "usage: corvane-asset COMMAND ARGS...\n"
    "\n"
    "commands:\n"
    "  info FILE.tif             describe a TIFF file and say whether the engine loads it\n"
    "  info FILE.wav             describe a WAV file and say whether the engine loads it\n"
    "  topng FILE.tif OUT.png    write the colours (and alpha) the engine reads as a PNG\n"
    "  totiff IN.png OUT.tif     write a PNG as a TIFF through the engine's writer\n"
    "  play FILE.wav [--volume V] [--pan P]\n"
    "                            play a WAV file through the engine's sound\n"
    "\n"
    "corvane-asset COMMAND --help describes one command.\n";

const char kInfoHelp[] =
    "usage: corvane-asset info FILE.tif\n"
    "\n"
    "Prints the picture's size, byte order, kind, samples and bits, alpha, strips\n"
    "and compression as the engine's reader sees them, and whether the engine\n"
    "loads the file as it stands. Exit status: 0 when the engine loads it, 2 when\n"
    "it would refuse it (the game would end with exit code -1), 1 on other errors.\n";

const char kToPngHelp[] =
    "usage: corvane-asset topng FILE.tif OUT.png\n"
    "\n"
    "Reads FILE.tif with the engine's reader and writes what it decoded, before\n"
    "any conversion for the display: an RGB PNG, or RGBA when the file has an\n"
    "alpha sample. Exit status: 0 done, 2 when the engine refuses the file, 1 on\n"
    "other errors.\n";

const char kToTiffHelp[] =
    "usage: corvane-asset totiff IN.png OUT.tif\n"
    "\n"
    "Writes IN.png as an uncompressed 8-bit RGB TIFF (Intel order, one strip)\n"
    "with the engine's writer. The writer stores no alpha: a PNG's alpha channel\n"
    "is dropped, with a note. OUT.tif must have fewer than 100 characters.\n"
    "Exit status: 0 done, 1 on errors.\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "corvane-asset: %s\n", message.c_str());
    return 1;
}

bool WantsHelp(int argc, char** argv) {
    for (int i = 2; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) return true;
    return false;
}

bool Readable(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

const char* KindName(std::int32_t mode) {
    switch (mode) {
        case TIFF_BILEVEL:
            return "bilevel";
        case TIFF_GREYSCALE:
            return "greyscale";
        case TIFF_RGB:
            return "RGB";
        case TIFF_PALETTE:
            return "palette";
        default:
            return "unknown";
    }
}

std::string CompressionName(std::int32_t compression) {
    switch (compression) {
        case 1:
            return "none (1)";
        case 5:
            return "LZW (5)";
        case 7:
            return "JPEG (7)";
        case 8:
        case 32946:
            return "Deflate (" + std::to_string(compression) + ")";
        case 32773:
            return "PackBits (32773)";
        default:
            return std::to_string(compression);
    }
}

int Info(const char* path) {
    if (!Readable(path)) return Fail(std::string(path) + ": cannot be read");
    TiffFile tiff;
    const bool loads = tiff.Inspect(path);
    std::printf("file: %s\n", path);
    std::printf("size: %d x %d\n", tiff.width, tiff.height);
    std::printf("byte order: %s\n", tiff.byteOrder == ORDER_IBF ? "Intel (II)" : "Motorola (MM)");
    std::printf("kind: %s (photometric %d)\n", KindName(tiff.mode), tiff.photometric);
    if (tiff.mode == TIFF_RGB) {
        std::printf("samples: %d of", tiff.samplesPerPixel);
        for (int i = 0; i < tiff.samplesPerPixel && i < 4; ++i)
            std::printf("%s %d", i == 0 ? "" : ",", tiff.bitsPerSample[i]);
        std::printf(" bits\n");
    } else {
        std::printf("samples: %d of %d bits\n", tiff.samplesPerPixel, tiff.monoBits);
    }
    std::printf("alpha: %s\n", (tiff.imageFormat & IMAGE_ALPHA) ? "yes" : "no");
    std::printf("strips: %d of %d rows\n", tiff.stripCount, tiff.rowsPerStrip);
    std::printf("compression: %s\n", CompressionName(tiff.compression).c_str());
    if (tiff.multipleImages) std::printf("images: more than one, only the first is read\n");
    if (!loads) {
        std::printf("engine: refuses it: %s\n", tiff.problem.c_str());
        return 2;
    }
    if (tiff.compression != 1)
        std::printf(
            "engine: loads it after its \"LZW Compression not supported\" box, taking "
            "the compressed bytes as pixels\n");
    else if (tiff.missingRows > 0)
        std::printf("engine: loads it, but %d of its %d rows are not in the file and stay black\n",
                    tiff.missingRows, tiff.height);
    else
        std::printf("engine: loads it as it stands\n");
    return 0;
}

int ToPng(const char* in, const char* out) {
    if (!Readable(in)) return Fail(std::string(in) + ": cannot be read");
    TiffFile check;
    if (!check.Inspect(in)) {
        std::fprintf(stderr, "corvane-asset: %s: the engine refuses this file: %s\n", in,
                     check.problem.c_str());
        return 2;
    }
    // The engine's own boxes (compressed data) reach the user on standard error.
    headless::EchoMessageBoxes(true);
    Image image;
    TiffFile tiff;
    tiff.LoadTiff(in, &image);
    if (image.pixels == nullptr) return Fail(std::string(in) + ": nothing was read");

    png_io::PngImage png;
    png.width = image.width;
    png.height = image.height;
    png.hasAlpha = (image.format & IMAGE_ALPHA) != 0 && image.alpha != nullptr;
    const std::size_t count = std::size_t(image.width) * std::size_t(image.height);
    png.pixels.reserve(count * (png.hasAlpha ? 4 : 3));
    for (std::size_t i = 0; i < count; ++i) {
        png.pixels.insert(png.pixels.end(), image.pixels + i * 3, image.pixels + i * 3 + 3);
        if (png.hasAlpha) png.pixels.push_back(image.alpha[i]);
    }
    std::string error;
    if (!png_io::WritePng(out, png, error)) return Fail(std::string(out) + ": " + error);
    return 0;
}

int ToTiff(const char* in, const char* out) {
    png_io::PngImage png;
    std::string error;
    if (!png_io::ReadPng(in, png, error)) return Fail(std::string(in) + ": " + error);
    // The engine's File refuses longer names without writing anything.
    if (std::strlen(out) >= FILE_NAME_SIZE)
        return Fail(std::string(out) + ": the engine's files take names of at most 99 characters");
    if (png.width > 0xFFFF || png.height > 0xFFFF)
        std::fprintf(stderr, "corvane-asset: note: sides above 65535 are written as LONG values\n");
    std::FILE* probe = std::fopen(out, "wb");
    if (probe == nullptr) return Fail(std::string(out) + ": cannot be written");
    std::fclose(probe);
    if (png.hasAlpha)
        std::fprintf(stderr,
                     "corvane-asset: note: %s: the alpha channel is dropped; the TIFF "
                     "writer stores RGB only\n",
                     in);

    Image image(png.width, png.height, IMAGE_32BIT);
    const std::size_t count = std::size_t(png.width) * std::size_t(png.height);
    const std::size_t step = png.hasAlpha ? 4 : 3;
    for (std::size_t i = 0; i < count; ++i)
        std::memcpy(image.pixels + i * 3, png.pixels.data() + i * step, 3);
    TiffFile tiff;
    tiff.mode = TIFF_RGB;
    tiff.bitsPerPixel = 8;
    tiff.Save(out, &image);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The engine's log is not wanted here: reasons are reported on the terminal.
    Debug.Close();
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? 1 : 0;
    }
    const std::string command = argv[1];
    if (command == "play") {
        if (WantsHelp(argc, argv)) {
            std::fputs(kPlayHelp, stdout);
            return 0;
        }
        return PlayWav(argc, argv);
    }
    if (command == "info" && argc == 3 && IsWavFile(argv[2])) return WavInfo(argv[2]);
    const char* help = command == "info"     ? kInfoHelp
                       : command == "topng"  ? kToPngHelp
                       : command == "totiff" ? kToTiffHelp
                                             : nullptr;
    if (help == nullptr) {
        std::fprintf(stderr, "corvane-asset: unknown command '%s'\n\n%s", command.c_str(), kUsage);
        return 1;
    }
    if (WantsHelp(argc, argv)) {
        std::fputs(help, stdout);
        if (command == "info") std::fputs(kWavInfoHelp, stdout);
        return 0;
    }
    const int wanted = command == "info" ? 3 : 4;
    if (argc != wanted) {
        std::fprintf(stderr, "corvane-asset: %s takes %d argument%s\n\n%s", command.c_str(),
                     wanted - 2, wanted == 3 ? "" : "s", help);
        return 1;
    }
    if (command == "info") return Info(argv[2]);
    if (command == "topng") return ToPng(argv[2], argv[3]);
    return ToTiff(argv[2], argv[3]);
}
