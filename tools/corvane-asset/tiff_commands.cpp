#include "tools/corvane-asset/tiff_commands.h"

#include <cstdio>
#include <cstring>

#include "image/image.h"
#include "pictures/picture_io.h"
#include "pictures/png_io.h"
#include "platform/headless/control.h"
#include "tiff/tiff_file.h"

namespace asset {

const char kInfoHelp[] =
    "usage: corvane-asset info FILE.tif\n"
    "\n"
    "Prints the picture's size, byte order, kind, samples per pixel and their bits,\n"
    "alpha, strips and compression as the engine's reader sees them, and what the\n"
    "engine does with the file: loads it as it stands, loads it wrongly (compressed\n"
    "data, which it draws as if it were pixels, or a file cut short, whose missing\n"
    "rows stay black), or refuses it (the game would end with exit code -1), and\n"
    "why. A file that is no TIFF at all is named as such.\n"
    "Exit status: 0 loads, 2 refused, 3 loads wrongly, 1 on other errors.\n";

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
    "is dropped, with a note (corvane-asset convert keeps it). OUT.tif must have\n"
    "fewer than 100 characters. Exit status: 0 done, 1 on errors.\n";

namespace {

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

std::string Compression(std::int32_t compression) {
    const std::string name = pictures::CompressionName(compression);
    return (name.empty() ? std::string("unknown") : name) + " (" + std::to_string(compression) +
           ")";
}

std::string NotTiffReason(const std::string& path) {
    std::string kind = pictures::SniffFile(path) == pictures::FileKind::Png
                           ? "a PNG picture"
                           : pictures::OtherFormatName(path);
    return "it is not a TIFF file" + (kind.empty() ? std::string() : " but " + kind) +
           "; corvane-asset convert makes one the engine loads";
}

// "strips: 3, 2 rows each (the last 1)": strips and the rows each holds.
std::string StripLine(const TiffFile& tiff) {
    if (tiff.rowsPerStrip <= 0 || tiff.stripCount <= 0) return "no usable RowsPerStrip";
    if (tiff.stripCount == 1) return "1, holding all " + std::to_string(tiff.height) + " rows";
    const std::int64_t last = tiff.height - std::int64_t{tiff.stripCount - 1} * tiff.rowsPerStrip;
    std::string line =
        std::to_string(tiff.stripCount) + ", " + std::to_string(tiff.rowsPerStrip) + " rows each";
    if (last != tiff.rowsPerStrip) line += " (the last " + std::to_string(last) + ")";
    return line;
}

std::string SampleLine(const TiffFile& tiff) {
    std::string line = std::to_string(tiff.samplesPerPixel) + " per pixel";
    // A file refused for its size is refused before its sample sizes are read.
    if (tiff.bitsPerSample[0] == 0 && tiff.monoBits == 0) return line;
    line += " (";
    if (tiff.mode == TIFF_RGB) {
        for (int i = 0; i < tiff.samplesPerPixel && i < 4; ++i)
            line += (i == 0 ? "" : ", ") + std::to_string(tiff.bitsPerSample[i]);
    } else {
        line += std::to_string(tiff.monoBits);
    }
    return line + " bits)";
}

// Fields the reader has filled in: the directory could be read at all.
bool DirectoryRead(const TiffFile& tiff) {
    return tiff.width != 0 || tiff.height != 0 || tiff.samplesPerPixel != 0;
}

}  // namespace

Outcome JudgeTiff(const std::string& path, TiffFile& tiff, std::string& reason) {
    bool accepted = false;
    {
        const InFileFolder folder(path);
        if (!folder.Fits()) {
            reason = "its name has more than 99 characters, more than the engine's files take";
            return Outcome::Refused;
        }
        accepted = tiff.Inspect(folder.Name());
    }
    if (!accepted && pictures::SniffFile(path) != pictures::FileKind::Tiff) {
        reason = NotTiffReason(path);
        return Outcome::Refused;
    }
    if (tiff.compression != 1) {
        const std::string name = pictures::CompressionName(tiff.compression);
        reason = "its pixel data is " +
                 (name.empty() ? "compressed with scheme " + std::to_string(tiff.compression)
                               : name + "-compressed (compression " +
                                     std::to_string(tiff.compression) + ")") +
                 ", which the engine does not decode";
        reason += accepted ? ": it shows its \"LZW Compression not supported\" box and draws "
                             "the compressed bytes as pixels"
                           : " (its reader: " + tiff.problem + ")";
        reason += "; corvane-asset convert writes it uncompressed";
        return accepted ? Outcome::LoadsWrongly : Outcome::Refused;
    }
    if (!accepted) {
        reason = tiff.problem;
        return Outcome::Refused;
    }
    if (tiff.missingRows > 0) {
        reason = std::to_string(tiff.missingRows) + " of its " + std::to_string(tiff.height) +
                 " rows are not in the file and stay black (the file is cut short)";
        return Outcome::LoadsWrongly;
    }
    return Outcome::Loads;
}

int TiffInfo(const char* path) {
    if (pictures::SniffFile(path) == pictures::FileKind::Missing)
        return Fail(std::string(path) + ": cannot be read");
    TiffFile tiff;
    std::string reason;
    const Outcome outcome = JudgeTiff(path, tiff, reason);
    std::printf("file: %s\n", path);
    if (pictures::SniffFile(path) == pictures::FileKind::Tiff || outcome != Outcome::Refused) {
        std::printf("byte order: %s\n",
                    tiff.byteOrder == ORDER_IBF ? "Intel (II)" : "Motorola (MM)");
        if (DirectoryRead(tiff)) {
            std::printf("size: %d x %d\n", tiff.width, tiff.height);
            std::printf("kind: %s (photometric %d)\n", KindName(tiff.mode), tiff.photometric);
            std::printf("samples: %s\n", SampleLine(tiff).c_str());
            const bool unmarked = tiff.mode == TIFF_RGB && tiff.samplesPerPixel == 4 &&
                                  (tiff.imageFormat & IMAGE_ALPHA) == 0;
            std::printf("alpha: %s\n", (tiff.imageFormat & IMAGE_ALPHA) ? "yes"
                                       : unmarked ? "no (the fourth sample is not marked as alpha "
                                                    "by ExtraSamples)"
                                                  : "no");
            std::printf("strips: %s\n", StripLine(tiff).c_str());
            std::printf("compression: %s\n", Compression(tiff.compression).c_str());
            if (tiff.multipleImages) std::printf("images: more than one, only the first is read\n");
        }
    }
    switch (outcome) {
        case Outcome::Loads:
            std::printf("engine: loads it as it stands\n");
            break;
        case Outcome::LoadsWrongly:
            if (tiff.compression == 1)
                std::printf("engine: loads it, but %s\n", reason.c_str());
            else
                std::printf("engine: loads it wrongly: %s\n", reason.c_str());
            break;
        case Outcome::Refused:
            std::printf("engine: refuses it: %s\n", reason.c_str());
            break;
    }
    return ExitStatus(outcome);
}

int ToPng(const char* in, const char* out) {
    if (pictures::SniffFile(in) == pictures::FileKind::Missing)
        return Fail(std::string(in) + ": cannot be read");
    TiffFile check;
    std::string reason;
    if (JudgeTiff(in, check, reason) == Outcome::Refused) {
        std::fprintf(stderr, "corvane-asset: %s: the engine refuses this file: %s\n", in,
                     reason.c_str());
        return ExitStatus(Outcome::Refused);
    }
    // The engine's own boxes (compressed data) reach the user on standard error.
    headless::EchoMessageBoxes(true);
    Image image;
    {
        const InFileFolder folder(in);
        TiffFile tiff;
        tiff.LoadTiff(folder.Name(), &image);
    }
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
        Note("sides above 65535 are written as LONG values");
    std::FILE* probe = std::fopen(out, "wb");
    if (probe == nullptr) return Fail(std::string(out) + ": cannot be written");
    std::fclose(probe);
    if (png.hasAlpha)
        Note(std::string(in) +
             ": the alpha channel is dropped; the TIFF writer stores RGB only (corvane-asset "
             "convert keeps it)");

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

}  // namespace asset
