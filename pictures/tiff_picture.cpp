#include "pictures/tiff_picture.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>

namespace pictures {
namespace {

// The most the reader allocates for one row or tile of samples, whatever a
// file declares: far more than any picture the engine holds needs.
constexpr std::uint64_t kLargestBuffer = std::uint64_t{1} << 27;

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

    std::size_t PixelBytes() const { return std::size_t(samples) * (bits / 8); }
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

bool DecodeFailed(const LibTiffFile& file, std::string& error) {
    error = "libtiff cannot decode it: " + file.FirstError("it gives no reason");
    return false;
}

// A buffer for one row or tile of bytes, or false (with error set) when the
// file declares one larger than the reader takes or smaller than it needs.
bool SizeBuffer(tmsize_t bytes, std::uint64_t needed, const char* what,
                std::vector<std::uint8_t>& buffer, std::string& error) {
    if (bytes > 0 && std::uint64_t(bytes) >= needed && std::uint64_t(bytes) <= kLargestBuffer) {
        buffer.resize(std::size_t(bytes));
        return true;
    }
    error = std::string("its ") + what + " of " + std::to_string(bytes) +
            " bytes are not what its fields need, or more than this reader takes";
    return false;
}

bool ReadStrips(LibTiffFile& file, const SampleLayout& layout, Picture& picture,
                std::string& error) {
    const std::uint32_t width = static_cast<std::uint32_t>(picture.width);
    const std::size_t step = picture.hasAlpha ? 4 : 3;
    std::vector<std::uint8_t> row;
    if (!SizeBuffer(TIFFScanlineSize(file.get()), std::uint64_t(width) * layout.PixelBytes(),
                    "rows", row, error))
        return false;
    for (int y = 0; y < picture.height; ++y) {
        if (TIFFReadScanline(file.get(), row.data(), static_cast<std::uint32_t>(y), 0) < 0)
            return DecodeFailed(file, error);
        TakeRow(layout, row.data(), width, &picture.pixels[std::size_t(y) * width * step]);
    }
    return true;
}

bool ReadTiles(LibTiffFile& file, const SampleLayout& layout, Picture& picture,
               std::string& error) {
    const std::uint32_t width = static_cast<std::uint32_t>(picture.width);
    const std::uint32_t height = static_cast<std::uint32_t>(picture.height);
    const std::size_t step = picture.hasAlpha ? 4 : 3;
    std::uint32_t tileWidth = 0, tileHeight = 0;
    TIFFGetField(file.get(), TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(file.get(), TIFFTAG_TILELENGTH, &tileHeight);
    std::vector<std::uint8_t> tile;
    if (tileWidth == 0 || tileHeight == 0 ||
        !SizeBuffer(TIFFTileSize(file.get()),
                    std::uint64_t(tileWidth) * tileHeight * layout.PixelBytes(), "tiles", tile,
                    error))
        return false;
    for (std::uint32_t top = 0; top < height; top += tileHeight) {
        const std::uint32_t rows = std::min(tileHeight, height - top);
        for (std::uint32_t left = 0; left < width; left += tileWidth) {
            if (TIFFReadTile(file.get(), tile.data(), left, top, 0, 0) < 0)
                return DecodeFailed(file, error);
            const std::uint32_t columns = std::min(tileWidth, width - left);
            for (std::uint32_t y = 0; y < rows; ++y)
                TakeRow(layout, &tile[std::size_t(y) * tileWidth * layout.PixelBytes()], columns,
                        &picture.pixels[((std::size_t(top) + y) * width + left) * step]);
        }
    }
    return true;
}

// Turns the picture as libtiff's RGBA reader does when asked for the top row
// first and the left column first: files stored bottom row first are turned
// upside down, right column first left to right. The orientations that swap
// rows and columns (5 to 8) are taken as their first four, as libtiff takes
// them.
void Orient(std::uint16_t orientation, Picture& picture) {
    const bool mirror = orientation == ORIENTATION_TOPRIGHT ||
                        orientation == ORIENTATION_BOTRIGHT ||
                        orientation == ORIENTATION_RIGHTTOP || orientation == ORIENTATION_RIGHTBOT;
    const bool flip = orientation == ORIENTATION_BOTRIGHT || orientation == ORIENTATION_BOTLEFT ||
                      orientation == ORIENTATION_RIGHTBOT || orientation == ORIENTATION_LEFTBOT;
    const std::size_t step = picture.hasAlpha ? 4 : 3;
    const std::size_t rowBytes = std::size_t(picture.width) * step;
    std::uint8_t* pixels = picture.pixels.data();
    if (flip)
        for (int y = 0; y < picture.height / 2; ++y)
            std::swap_ranges(pixels + y * rowBytes, pixels + (y + 1) * rowBytes,
                             pixels + (picture.height - 1 - y) * rowBytes);
    if (mirror)
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width / 2; ++x)
                std::swap_ranges(pixels + y * rowBytes + x * step,
                                 pixels + y * rowBytes + (x + 1) * step,
                                 pixels + y * rowBytes + (picture.width - 1 - x) * step);
}

// Everything else (palette, bilevel, YCbCr, old- and new-style JPEG, CMYK,
// separate planes, other sample sizes) through libtiff's RGBA reader, the
// whole picture at once, as tiff2rgba reads it. Its alpha comes premultiplied
// and is undone here.
bool ReadThroughRgba(LibTiffFile& file, Picture& picture, std::vector<std::string>& notes,
                     std::string& error) {
    char message[1024] = "";
    TIFFRGBAImage reader;
    if (!TIFFRGBAImageOK(file.get(), message) ||
        !TIFFRGBAImageBegin(&reader, file.get(), 1, message)) {
        error = "libtiff cannot decode it: " + OneLine(message);
        return false;
    }
    const std::unique_ptr<TIFFRGBAImage, void (*)(TIFFRGBAImage*)> end(&reader, TIFFRGBAImageEnd);
    reader.req_orientation = ORIENTATION_TOPLEFT;
    const std::size_t count = std::size_t(picture.width) * picture.height;
    std::vector<std::uint32_t> raster(count);
    if (!TIFFRGBAImageGet(&reader, raster.data(), static_cast<std::uint32_t>(picture.width),
                          static_cast<std::uint32_t>(picture.height)) ||
        file.ErrorSeen())
        return DecodeFailed(file, error);

    picture.hasAlpha = reader.alpha != 0;
    const std::size_t step = picture.hasAlpha ? 4 : 3;
    picture.pixels.resize(count * step);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t abgr = raster[i];
        std::uint8_t rgba[4] = {
            static_cast<std::uint8_t>(TIFFGetR(abgr)), static_cast<std::uint8_t>(TIFFGetG(abgr)),
            static_cast<std::uint8_t>(TIFFGetB(abgr)), static_cast<std::uint8_t>(TIFFGetA(abgr))};
        if (picture.hasAlpha) Unpremultiply(rgba);
        std::memcpy(&picture.pixels[i * step], rgba, step);
    }
    if (reader.alpha == EXTRASAMPLE_ASSOCALPHA)
        notes.push_back(
            "the file's alpha is premultiplied; the colours of partly transparent pixels "
            "were recovered from it");
    else if (picture.hasAlpha)
        notes.push_back(
            "libtiff premultiplies the alpha of this kind of file; the colours of "
            "partly transparent pixels were recovered from it");
    return true;
}

// The layout of a file whose samples are taken as they stand, or false for
// any other file.
bool PlainLayout(TIFF* tiff, SampleLayout& layout) {
    std::uint16_t samples = 1, bits = 1, planar = PLANARCONFIG_CONTIG, format = SAMPLEFORMAT_UINT;
    std::uint16_t photometric = 0xFFFF;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLESPERPIXEL, &samples);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_BITSPERSAMPLE, &bits);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(tiff, TIFFTAG_SAMPLEFORMAT, &format);
    TIFFGetField(tiff, TIFFTAG_PHOTOMETRIC, &photometric);
    layout.bits = bits;
    layout.samples = samples;
    layout.grey = photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE;
    layout.whiteIsZero = photometric == PHOTOMETRIC_MINISWHITE;
    const int colours = layout.grey ? 1 : 3;
    return (layout.grey || photometric == PHOTOMETRIC_RGB) && samples >= colours &&
           (bits == 8 || bits == 16) && planar == PLANARCONFIG_CONTIG &&
           format == SAMPLEFORMAT_UINT;
}

// Which sample after the colours is alpha, and how, with a note on what the
// reading changes.
void TakeAlpha(TIFF* tiff, SampleLayout& layout, std::vector<std::string>& notes) {
    if (layout.samples <= (layout.grey ? 1 : 3)) return;
    std::uint16_t extraCount = 0;
    std::uint16_t* extraTypes = nullptr;
    TIFFGetFieldDefaulted(tiff, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes);
    if (extraCount == 0 || extraTypes == nullptr) {
        notes.push_back(
            "the file has a sample beyond its colours that it does not mark "
            "as alpha (no ExtraSamples): it is left out");
        return;
    }
    layout.alpha = true;
    layout.associated = extraTypes[0] == EXTRASAMPLE_ASSOCALPHA;
    if (layout.associated)
        notes.push_back(
            "the file's alpha is premultiplied; the colours of partly "
            "transparent pixels were recovered from it");
}

}  // namespace

bool ReadTiffPicture(LibTiffFile& file, long long maxPixels, Picture& picture,
                     std::vector<std::string>& notes, std::string& error) {
    std::uint32_t width = 0, height = 0;
    TIFFGetField(file.get(), TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(file.get(), TIFFTAG_IMAGELENGTH, &height);
    if (!SizeFits(width, height, maxPixels, error)) return false;
    picture.width = static_cast<int>(width);
    picture.height = static_cast<int>(height);
    // What libtiff said while opening (an unknown tag, a value out of range)
    // did not stop it; from here on an error means the pixels are not right.
    file.ForgetErrors();

    SampleLayout layout;
    if (!PlainLayout(file.get(), layout)) return ReadThroughRgba(file, picture, notes, error);
    TakeAlpha(file.get(), layout, notes);
    picture.hasAlpha = layout.alpha;
    picture.pixels.assign(std::size_t(width) * height * (layout.alpha ? 4 : 3), 0);
    const bool read = TIFFIsTiled(file.get()) ? ReadTiles(file, layout, picture, error)
                                              : ReadStrips(file, layout, picture, error);
    if (!read) return false;
    if (file.ErrorSeen()) return DecodeFailed(file, error);
    std::uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(file.get(), TIFFTAG_ORIENTATION, &orientation);
    Orient(orientation, picture);
    return true;
}

}  // namespace pictures
