#include "pictures/picture_io.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "image/image.h"
#include "pictures/libtiff_file.h"
#include "pictures/tiff_picture.h"

namespace pictures {
namespace {

std::vector<std::uint8_t> Head(const std::string& path, std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return {};
    bytes.resize(std::fread(bytes.data(), 1, count, file));
    std::fclose(file);
    return bytes;
}

bool StartsWith(const std::uint8_t* bytes, std::size_t size, const char* mark, std::size_t length) {
    return size >= length && std::memcmp(bytes, mark, length) == 0;
}

FileKind KindOf(const std::uint8_t* head, std::size_t size) {
    if (StartsWith(head, size, "\x89PNG\r\n\x1a\n", 8)) return FileKind::Png;
    if (StartsWith(head, size, "II*\0", 4) || StartsWith(head, size, "MM\0*", 4))
        return FileKind::Tiff;
    return FileKind::Other;
}

std::string FormatNameOf(const std::uint8_t* head, std::size_t size) {
    const auto starts = [&](const char* mark, std::size_t length) {
        return StartsWith(head, size, mark, length);
    };
    if (starts("\xFF\xD8\xFF", 3)) return "a JPEG picture";
    if (starts("GIF8", 4)) return "a GIF picture";
    if (starts("BM", 2)) return "a BMP picture";
    if (starts("II+\0", 4) || starts("MM\0+", 4)) return "a BigTIFF file";
    if (starts("RIFF", 4) && size >= 12 && std::memcmp(head + 8, "WAVE", 4) == 0)
        return "a WAV sound";
    if (starts("RIFF", 4) && size >= 12 && std::memcmp(head + 8, "WEBP", 4) == 0)
        return "a WebP picture";
    return "";
}

std::string NotAPicture(const std::string& formatName) {
    return (formatName.empty() ? std::string("neither a PNG nor a TIFF file")
                               : "is " + formatName) +
           "; save it as PNG or TIFF first";
}

png_io::SizeCheck PngSizeCheck(long long maxPixels) {
    return [maxPixels](long long width, long long height, std::string& error) {
        return SizeFits(width, height, maxPixels, error);
    };
}

bool ReadOpenedTiff(LibTiffFile& file, bool opened, long long maxPixels, Picture& picture,
                    std::vector<std::string>& notes, std::string& error) {
    if (!opened) {
        error = file.FirstError("libtiff cannot open it");
        return false;
    }
    return ReadTiffPicture(file, maxPixels, picture, notes, error);
}

}  // namespace

bool SizeFits(long long width, long long height, long long maxPixels, std::string& error) {
    if (width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
        width * height <= kMaxPixels && width * height <= maxPixels)
        return true;
    error = "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
            " pixels; the engine holds at most " + std::to_string(kMaxSide) + " a side and " +
            std::to_string(kMaxPixels) + " in all";
    if (maxPixels < kMaxPixels) error += " (here at most " + std::to_string(maxPixels) + ")";
    return false;
}

FileKind SniffFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return FileKind::Missing;
    std::fclose(file);
    const std::vector<std::uint8_t> head = Head(path, 8);
    return KindOf(head.data(), head.size());
}

std::string OtherFormatName(const std::string& path) {
    const std::vector<std::uint8_t> head = Head(path, 12);
    return FormatNameOf(head.data(), head.size());
}

bool ReadPicture(const std::string& path, Picture& picture, std::vector<std::string>& notes,
                 std::string& error) {
    switch (SniffFile(path)) {
        case FileKind::Missing:
            error = "cannot be read";
            return false;
        case FileKind::Png:
            return png_io::ReadPng(path, picture, error, PngSizeCheck(kMaxPixels));
        case FileKind::Tiff: {
            LibTiffFile file;
            const bool opened = file.OpenFile(path, "r");
            return ReadOpenedTiff(file, opened, kMaxPixels, picture, notes, error);
        }
        case FileKind::Other:
            break;
    }
    error = NotAPicture(OtherFormatName(path));
    return false;
}

bool ReadPictureBytes(const std::uint8_t* bytes, std::size_t size, Picture& picture,
                      std::vector<std::string>& notes, std::string& error, long long maxPixels) {
    switch (KindOf(bytes, size)) {
        case FileKind::Png:
            return png_io::ReadPngBytes(bytes, size, picture, error, PngSizeCheck(maxPixels));
        case FileKind::Tiff: {
            LibTiffFile file;
            const bool opened = file.OpenBytes(bytes, size);
            return ReadOpenedTiff(file, opened, maxPixels, picture, notes, error);
        }
        case FileKind::Missing:
        case FileKind::Other:
            break;
    }
    error = NotAPicture(FormatNameOf(bytes, size));
    return false;
}

bool WriteTiffBytes(const Picture& picture, std::vector<std::uint8_t>& bytes, std::string& error) {
    if (!SizeFits(picture.width, picture.height, kMaxPixels, error)) return false;
    const std::uint16_t samples = picture.hasAlpha ? 4 : 3;
    const std::uint32_t width = static_cast<std::uint32_t>(picture.width);
    const std::uint32_t height = static_cast<std::uint32_t>(picture.height);
    const std::size_t rowBytes = std::size_t(width) * samples;
    if (picture.pixels.size() != rowBytes * height) {
        error = "the picture's pixels do not match its size";
        return false;
    }
    LibTiffFile file;
    // "l": Intel byte order, whatever the machine.
    if (!file.OpenOutput(bytes, "wl")) {
        error = "cannot be written: " + file.FirstError("libtiff cannot start it");
        return false;
    }
    TIFF* out = file.get();
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
    std::vector<std::uint8_t> row(rowBytes);
    bool rowsWritten = true;
    for (std::uint32_t y = 0; y < height && rowsWritten; ++y) {
        std::memcpy(row.data(), &picture.pixels[std::size_t(y) * rowBytes], rowBytes);
        rowsWritten = TIFFWriteScanline(out, row.data(), y, 0) >= 0;
    }
    if (!file.Finish() || !rowsWritten) {
        error = "cannot be written: " + file.FirstError("libtiff did not finish it");
        return false;
    }
    return true;
}

bool WriteTiff(const std::string& path, const Picture& picture, std::string& error) {
    std::vector<std::uint8_t> bytes;
    if (!WriteTiffBytes(picture, bytes, error)) return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        error = std::string("cannot be written: ") + std::strerror(errno);
        return false;
    }
    const bool wrote = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int reason = errno;
    const bool closed = std::fclose(file) == 0;
    if (wrote && closed) return true;
    if (wrote) reason = errno;
    // Nothing half written is left behind.
    std::remove(path.c_str());
    error = std::string("cannot be written: ") + std::strerror(reason);
    return false;
}

bool ToTrueColour(const Picture& picture, Image& image) {
    const std::uint8_t format = IMAGE_32BIT | (picture.hasAlpha ? IMAGE_ALPHA : 0);
    const std::size_t count = std::size_t(picture.width) * std::size_t(picture.height);
    const std::size_t step = picture.hasAlpha ? 4 : 3;
    image.Size(picture.width, picture.height, format);
    if (picture.pixels.size() != count * step || image.PixelBytes() < count * 3 ||
        image.AlphaBytes() < count) {
        image.Size(0, 0, format);
        return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
        std::memcpy(image.pixels + i * 3, &picture.pixels[i * step], 3);
        if (picture.hasAlpha) image.alpha[i] = picture.pixels[i * step + 3];
    }
    return true;
}

std::string CompressionName(int compression) {
    const TIFFCodec* codec = compression > 0 && compression <= 0xFFFF
                                 ? TIFFFindCODEC(static_cast<std::uint16_t>(compression))
                                 : nullptr;
    return codec != nullptr ? codec->name : "";
}

}  // namespace pictures
