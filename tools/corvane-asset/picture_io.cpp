#include "tools/corvane-asset/picture_io.h"

#include <tiffio.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

namespace asset {
namespace {

struct TiffCloser {
    void operator()(TIFF* tiff) const { TIFFClose(tiff); }
};
using TiffHandle = std::unique_ptr<TIFF, TiffCloser>;

// libtiff reports through global handlers; the tool keeps the last error for
// its own message and drops warnings (unknown tags and the like).
std::string lastTiffError;

void KeepError(const char*, const char* format, va_list args) {
    char text[512];
    std::vsnprintf(text, sizeof text, format, args);
    lastTiffError = text;
}

void DropWarning(const char*, const char*, va_list) {}

TIFF* OpenTiff(const std::string& path, const char* mode) {
    TIFFSetErrorHandler(KeepError);
    TIFFSetWarningHandler(DropWarning);
    lastTiffError = "libtiff cannot open it";
    return TIFFOpen(path.c_str(), mode);
}

std::vector<std::uint8_t> Head(const std::string& path, std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return {};
    bytes.resize(std::fread(bytes.data(), 1, count, file));
    std::fclose(file);
    return bytes;
}

bool StartsWith(const std::vector<std::uint8_t>& bytes, const char* mark, std::size_t length) {
    return bytes.size() >= length && std::memcmp(bytes.data(), mark, length) == 0;
}

bool SizeFits(long long width, long long height, std::string& error) {
    if (width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
        width * height <= kMaxPixels)
        return true;
    error = "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
            " pixels; the engine holds at most " + std::to_string(kMaxSide) + " a side and " +
            std::to_string(kMaxPixels) + " in all";
    return false;
}

// Straight colour from colour premultiplied by alpha.
void Unpremultiply(std::uint8_t* rgba) {
    const unsigned a = rgba[3];
    for (int c = 0; c < 3; ++c)
        rgba[c] =
            a == 0 ? 0 : static_cast<std::uint8_t>(std::min(255u, (rgba[c] * 255u + a / 2) / a));
}

// How the samples of a plain RGB or grey file, 8 or 16 bits, become a picture.
struct SampleLayout {
    int bits = 8;
    int samples = 3;    // per pixel, extra ones included
    bool grey = false;  // one colour sample
    bool whiteIsZero = false;
    bool alpha = false;       // the sample after the colours is alpha
    bool associated = false;  // ... premultiplied
};

std::uint8_t High8(const std::uint8_t* samples, std::size_t index, int bits) {
    if (bits == 8) return samples[index];
    // libtiff hands 16-bit samples over in the machine's order.
    std::uint16_t value;
    std::memcpy(&value, samples + index * 2, 2);
    return static_cast<std::uint8_t>(value >> 8);
}

void TakeRow(const SampleLayout& layout, const std::uint8_t* samples, std::uint32_t width,
             std::uint8_t* out) {
    const std::size_t step = layout.alpha ? 4 : 3;
    for (std::uint32_t x = 0; x < width; ++x, out += step) {
        const std::size_t at = std::size_t(x) * layout.samples;
        if (layout.grey) {
            std::uint8_t v = High8(samples, at, layout.bits);
            if (layout.whiteIsZero) v = static_cast<std::uint8_t>(255 - v);
            out[0] = out[1] = out[2] = v;
        } else {
            for (int c = 0; c < 3; ++c) out[c] = High8(samples, at + c, layout.bits);
        }
        if (layout.alpha) {
            out[3] = High8(samples, at + (layout.grey ? 1 : 3), layout.bits);
            if (layout.associated) Unpremultiply(out);
        }
    }
}

// Strips or tiles, any compression, decoded by libtiff; samples taken exactly.
bool ReadSamples(TIFF* tiff, const SampleLayout& layout, Picture& picture, std::string& error) {
    const std::uint32_t width = static_cast<std::uint32_t>(picture.width);
    const std::uint32_t height = static_cast<std::uint32_t>(picture.height);
    const std::size_t step = picture.hasAlpha ? 4 : 3;
    const std::size_t pixelBytes = std::size_t(layout.samples) * (layout.bits / 8);
    const auto fail = [&] {
        error = "libtiff cannot decode it: " + lastTiffError;
        return false;
    };
    if (!TIFFIsTiled(tiff)) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(TIFFScanlineSize(tiff)));
        if (row.size() < std::size_t(width) * pixelBytes) return fail();
        for (std::uint32_t y = 0; y < height; ++y) {
            if (TIFFReadScanline(tiff, row.data(), y, 0) < 0) return fail();
            TakeRow(layout, row.data(), width, &picture.pixels[std::size_t(y) * width * step]);
        }
        return true;
    }
    std::uint32_t tileWidth = 0, tileHeight = 0;
    TIFFGetField(tiff, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(tiff, TIFFTAG_TILELENGTH, &tileHeight);
    std::vector<std::uint8_t> tile(static_cast<std::size_t>(TIFFTileSize(tiff)));
    if (tileWidth == 0 || tileHeight == 0 ||
        tile.size() < std::size_t(tileWidth) * tileHeight * pixelBytes)
        return fail();
    // One band of tiles at a time, gathered into whole rows.
    std::vector<std::uint8_t> band(std::size_t(width) * tileHeight * pixelBytes);
    for (std::uint32_t top = 0; top < height; top += tileHeight) {
        const std::uint32_t rows = std::min(tileHeight, height - top);
        for (std::uint32_t left = 0; left < width; left += tileWidth) {
            if (TIFFReadTile(tiff, tile.data(), left, top, 0, 0) < 0) return fail();
            const std::size_t bytes = std::min(tileWidth, width - left) * pixelBytes;
            for (std::uint32_t y = 0; y < rows; ++y)
                std::memcpy(&band[(std::size_t(y) * width + left) * pixelBytes],
                            &tile[std::size_t(y) * tileWidth * pixelBytes], bytes);
        }
        for (std::uint32_t y = 0; y < rows; ++y)
            TakeRow(layout, &band[std::size_t(y) * width * pixelBytes], width,
                    &picture.pixels[(std::size_t(top) + y) * width * step]);
    }
    return true;
}

// Everything else (palette, bilevel, YCbCr JPEG, CMYK, separate planes, other
// sample sizes) through libtiff's RGBA reader, a band of rows at a time. It
// premultiplies alpha, which is undone here.
bool ReadThroughRgba(TIFF* tiff, Picture& picture, std::vector<std::string>& notes,
                     std::string& error) {
    char message[1024] = "";
    TIFFRGBAImage reader;
    if (!TIFFRGBAImageOK(tiff, message) || !TIFFRGBAImageBegin(&reader, tiff, 0, message)) {
        error = std::string("libtiff cannot decode it: ") + message;
        return false;
    }
    const std::unique_ptr<TIFFRGBAImage, void (*)(TIFFRGBAImage*)> end(&reader, TIFFRGBAImageEnd);
    reader.req_orientation = ORIENTATION_TOPLEFT;
    picture.hasAlpha = reader.alpha != 0;
    picture.pixels.assign(std::size_t(picture.width) * picture.height * (picture.hasAlpha ? 4 : 3),
                          0);
    const std::uint32_t width = static_cast<std::uint32_t>(picture.width);
    const std::uint32_t height = static_cast<std::uint32_t>(picture.height);
    constexpr std::uint32_t kBand = 64;
    std::vector<std::uint32_t> band(std::size_t(width) * kBand);
    for (std::uint32_t top = 0; top < height; top += kBand) {
        const std::uint32_t rows = std::min(kBand, height - top);
        reader.row_offset = static_cast<int>(top);
        if (!TIFFRGBAImageGet(&reader, band.data(), width, rows)) {
            error = "libtiff cannot decode it: " + lastTiffError;
            return false;
        }
        for (std::size_t i = 0; i < std::size_t(width) * rows; ++i) {
            const std::uint32_t abgr = band[i];
            std::uint8_t rgba[4] = {static_cast<std::uint8_t>(TIFFGetR(abgr)),
                                    static_cast<std::uint8_t>(TIFFGetG(abgr)),
                                    static_cast<std::uint8_t>(TIFFGetB(abgr)),
                                    static_cast<std::uint8_t>(TIFFGetA(abgr))};
            if (picture.hasAlpha) Unpremultiply(rgba);
            const std::size_t step = picture.hasAlpha ? 4 : 3;
            std::memcpy(&picture.pixels[(std::size_t(top) * width + i) * step], rgba, step);
        }
    }
    if (picture.hasAlpha)
        notes.push_back(
            "libtiff premultiplies the alpha of this kind of file; the colours of "
            "partly transparent pixels were recovered from it");
    return true;
}

bool ReadTiff(const std::string& path, Picture& picture, std::vector<std::string>& notes,
              std::string& error) {
    const TiffHandle tiff(OpenTiff(path, "r"));
    if (!tiff) {
        error = lastTiffError;
        return false;
    }
    std::uint32_t width = 0, height = 0;
    TIFFGetField(tiff.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tiff.get(), TIFFTAG_IMAGELENGTH, &height);
    if (!SizeFits(width, height, error)) return false;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);

    std::uint16_t samples = 1, bits = 1, planar = PLANARCONFIG_CONTIG, format = SAMPLEFORMAT_UINT;
    std::uint16_t photometric = 0xFFFF, extraCount = 0;
    std::uint16_t* extraTypes = nullptr;
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_SAMPLEFORMAT, &format);
    TIFFGetFieldDefaulted(tiff.get(), TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes);
    TIFFGetField(tiff.get(), TIFFTAG_PHOTOMETRIC, &photometric);

    SampleLayout layout;
    layout.bits = bits;
    layout.samples = samples;
    layout.grey = photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE;
    layout.whiteIsZero = photometric == PHOTOMETRIC_MINISWHITE;
    const int colours = layout.grey ? 1 : 3;
    const bool plain = (layout.grey || photometric == PHOTOMETRIC_RGB) && samples >= colours &&
                       (bits == 8 || bits == 16) && planar == PLANARCONFIG_CONTIG &&
                       format == SAMPLEFORMAT_UINT;
    if (!plain) return ReadThroughRgba(tiff.get(), picture, notes, error);

    if (samples > colours) {
        if (extraCount > 0 && extraTypes != nullptr) {
            layout.alpha = true;
            layout.associated = extraTypes[0] == EXTRASAMPLE_ASSOCALPHA;
            if (layout.associated)
                notes.push_back(
                    "the file's alpha is premultiplied; the colours of partly "
                    "transparent pixels were recovered from it");
        } else {
            notes.push_back(
                "the file has a sample beyond its colours that it does not mark "
                "as alpha (no ExtraSamples): it is left out");
        }
    }
    picture.hasAlpha = layout.alpha;
    picture.pixels.assign(std::size_t(width) * height * (layout.alpha ? 4 : 3), 0);
    return ReadSamples(tiff.get(), layout, picture, error);
}

}  // namespace

FileKind SniffFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return FileKind::Missing;
    std::fclose(file);
    const std::vector<std::uint8_t> head = Head(path, 8);
    if (StartsWith(head, "\x89PNG\r\n\x1a\n", 8)) return FileKind::Png;
    if (StartsWith(head, "II*\0", 4) || StartsWith(head, "MM\0*", 4)) return FileKind::Tiff;
    return FileKind::Other;
}

std::string OtherFormatName(const std::string& path) {
    const std::vector<std::uint8_t> head = Head(path, 12);
    if (StartsWith(head, "\xFF\xD8\xFF", 3)) return "a JPEG picture";
    if (StartsWith(head, "GIF8", 4)) return "a GIF picture";
    if (StartsWith(head, "BM", 2)) return "a BMP picture";
    if (StartsWith(head, "II+\0", 4) || StartsWith(head, "MM\0+", 4)) return "a BigTIFF file";
    if (StartsWith(head, "RIFF", 4) && head.size() >= 12 && std::memcmp(&head[8], "WAVE", 4) == 0)
        return "a WAV sound";
    if (StartsWith(head, "RIFF", 4) && head.size() >= 12 && std::memcmp(&head[8], "WEBP", 4) == 0)
        return "a WebP picture";
    return "";
}

bool ReadPicture(const std::string& path, Picture& picture, std::vector<std::string>& notes,
                 std::string& error) {
    switch (SniffFile(path)) {
        case FileKind::Missing:
            error = "cannot be read";
            return false;
        case FileKind::Png:
            if (!png_io::ReadPng(path, picture, error)) return false;
            return SizeFits(picture.width, picture.height, error);
        case FileKind::Tiff:
            return ReadTiff(path, picture, notes, error);
        case FileKind::Other:
            break;
    }
    const std::string name = OtherFormatName(path);
    error = (name.empty() ? std::string("neither a PNG nor a TIFF file") : "is " + name) +
            "; save it as PNG or TIFF first";
    return false;
}

bool WriteTiff(const std::string& path, const Picture& picture, std::string& error) {
    if (!SizeFits(picture.width, picture.height, error)) return false;
    // "l": Intel byte order, whatever the machine.
    const TiffHandle tiff(OpenTiff(path, "wl"));
    if (!tiff) {
        error = "cannot be written: " + lastTiffError;
        return false;
    }
    const std::uint16_t samples = picture.hasAlpha ? 4 : 3;
    const std::uint32_t width = static_cast<std::uint32_t>(picture.width);
    const std::uint32_t height = static_cast<std::uint32_t>(picture.height);
    TIFF* out = tiff.get();
    TIFFSetField(out, TIFFTAG_IMAGEWIDTH, width);
    TIFFSetField(out, TIFFTAG_IMAGELENGTH, height);
    TIFFSetField(out, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(out, TIFFTAG_SAMPLESPERPIXEL, samples);
    TIFFSetField(out, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(out, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(out, TIFFTAG_COMPRESSION, COMPRESSION_NONE);
    TIFFSetField(out, TIFFTAG_ROWSPERSTRIP, height);
    if (picture.hasAlpha) {
        const std::uint16_t alpha = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(out, TIFFTAG_EXTRASAMPLES, 1, &alpha);
    }
    const std::size_t rowBytes = std::size_t(width) * samples;
    std::vector<std::uint8_t> row(rowBytes);
    for (std::uint32_t y = 0; y < height; ++y) {
        std::memcpy(row.data(), &picture.pixels[std::size_t(y) * rowBytes], rowBytes);
        if (TIFFWriteScanline(out, row.data(), y, 0) < 0) {
            error = "cannot be written: " + lastTiffError;
            return false;
        }
    }
    if (!TIFFFlush(out)) {
        error = "cannot be written: " + lastTiffError;
        return false;
    }
    return true;
}

std::string CompressionName(int compression) {
    const TIFFCodec* codec = compression > 0 && compression <= 0xFFFF
                                 ? TIFFFindCODEC(static_cast<std::uint16_t>(compression))
                                 : nullptr;
    return codec != nullptr ? codec->name : "";
}

}  // namespace asset
