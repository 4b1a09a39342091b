#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/image.h"
#include "tiff/tiff_file.h"

namespace {

// Fixed layout: header (8), entry count (2), 14 entries (168), next link (4),
// then the value blocks and the pixel rows.
constexpr std::uint16_t kEntries = 14;
constexpr std::uint32_t kBitsOffset = 182;
constexpr std::uint32_t kXResolutionOffset = 188;
constexpr std::uint32_t kYResolutionOffset = 196;
constexpr std::uint32_t kPixelOffset = 204;

const TiffTag kTags[kEntries] = {
    TiffTag::NewSubfileType,  TiffTag::ImageWidth,      TiffTag::ImageLength,
    TiffTag::BitsPerSample,   TiffTag::Compression,     TiffTag::PhotometricInterpretation,
    TiffTag::StripOffsets,    TiffTag::SamplesPerPixel, TiffTag::RowsPerStrip,
    TiffTag::StripByteCounts, TiffTag::XResolution,     TiffTag::YResolution,
    TiffTag::ResolutionUnit,  TiffTag::ColorMap};

[[noreturn]] void Stop(const char* line) {
    std::printf("%s", line);
    std::exit(-1);
}

// Sizes above 65535 do not fit a SHORT and are written as LONG.
TiffType SizeType(std::int32_t size) {
    return size > 0xFFFF ? TiffType::Long : TiffType::Short;
}

}  // namespace

void TiffFile::Save(const char* fileName, Image* source) {
    if (source == nullptr) return;
    File file;
    ByteOrder order;
    image = source;
    std::snprintf(name, sizeof name, "%s", fileName);
    file.Open(fileName, FILE_WRITE | FILE_AUTOCREATE | RANDOM);
    width = image->width;
    height = image->height;
    file.WriteShort(0x4949);
    file.WriteShort(order.WriteUS(42));
    file.WriteLong(order.WriteUL(8));
    WriteDirectory(file, order);
    file.Close();
    done = 1;
}

void TiffFile::WriteDirectory(File& file, ByteOrder& order) {
    file.WriteShort(order.WriteUS(kEntries));
    // bitsPerPixel holds the sample size to write.
    if (mode == TIFF_BILEVEL) monoBits = 1;
    if (mode == TIFF_GREYSCALE) monoBits = bitsPerPixel;
    if (mode == TIFF_RGB) bitsPerSample[0] = bitsPerSample[1] = bitsPerSample[2] = bitsPerPixel;
    for (TiffTag tag : kTags) WriteEntry(file, order, tag);
    file.WriteLong(order.WriteUL(0));
    WriteEntryData(file, order, TiffTag::BitsPerSample);
    WriteEntryData(file, order, TiffTag::XResolution);
    WriteEntryData(file, order, TiffTag::YResolution);
    SaveTiff(file, order);
}

void TiffFile::WriteEntry(File& file, ByteOrder& order, TiffTag tag) {
    TiffType type = TiffType::Short;
    std::uint32_t count = 1;
    std::uint32_t value = 0;
    switch (tag) {
        case TiffTag::NewSubfileType:
            type = TiffType::Long;
            break;
        case TiffTag::ImageWidth:
            type = SizeType(width);
            value = static_cast<std::uint32_t>(width);
            break;
        case TiffTag::ImageLength:
            type = SizeType(height);
            value = static_cast<std::uint32_t>(height);
            break;
        case TiffTag::BitsPerSample:
            if (mode == TIFF_BILEVEL) {
                value = 1;
                samplesPerPixel = 1;
            } else if (mode == TIFF_GREYSCALE) {
                value = static_cast<std::uint32_t>(bitsPerPixel);
                samplesPerPixel = 1;
            } else if (mode == TIFF_RGB) {
                count = 3;
                value = kBitsOffset;
                samplesPerPixel = 3;
            } else {
                Stop("Save:Tiff: Unknown TIFF mode.\n");
            }
            break;
        case TiffTag::Compression:
            value = 1;
            break;
        case TiffTag::PhotometricInterpretation:
            if (mode == TIFF_BILEVEL || mode == TIFF_GREYSCALE)
                photometric = 1;
            else if (mode == TIFF_RGB)
                photometric = 2;
            else if (mode == TIFF_PALETTE)
                photometric = 3;
            else
                photometric = 0;
            value = static_cast<std::uint32_t>(photometric);
            break;
        case TiffTag::StripOffsets:
            type = TiffType::Long;
            value = kPixelOffset;
            break;
        case TiffTag::SamplesPerPixel:
            value = static_cast<std::uint32_t>(samplesPerPixel);
            break;
        case TiffTag::RowsPerStrip:
            rowsPerStrip = height;
            stripCount = 1;
            type = SizeType(height);
            value = static_cast<std::uint32_t>(height);
            break;
        case TiffTag::StripByteCounts: {
            std::int64_t bytes = 0;
            if (mode == TIFF_BILEVEL)
                bytes = width / 8 + 1;
            else if (mode == TIFF_GREYSCALE)
                bytes = std::int64_t{width} * bitsPerPixel / 8;
            else
                bytes = std::int64_t{width} * 3 * bitsPerPixel / 8;
            rowBytes = static_cast<std::int32_t>(bytes);
            stripByteCounts = static_cast<std::int32_t>(bytes * height);
            type = TiffType::Long;
            value = static_cast<std::uint32_t>(bytes * height);
            break;
        }
        case TiffTag::XResolution:
            type = TiffType::Rational;
            value = kXResolutionOffset;
            break;
        case TiffTag::YResolution:
            type = TiffType::Rational;
            value = kYResolutionOffset;
            break;
        case TiffTag::ResolutionUnit:
            value = 2;
            break;
        case TiffTag::ColorMap:
            count = 0;
            break;
        default:
            return;
    }
    file.WriteShort(order.WriteUS(static_cast<std::uint16_t>(tag)));
    file.WriteShort(order.WriteUS(static_cast<std::uint16_t>(type)));
    file.WriteLong(order.WriteUL(count));
    if (type == TiffType::Short && count == 1) {
        file.WriteShort(order.WriteUS(static_cast<std::uint16_t>(value)));
        file.WriteShort(order.WriteUS(0));
    } else {
        file.WriteLong(order.WriteUL(value));
    }
}

void TiffFile::WriteEntryData(File& file, ByteOrder& order, TiffTag tag) {
    if (tag == TiffTag::BitsPerSample) {
        for (int i = 0; i < 3; ++i)
            file.WriteShort(order.WriteUS(static_cast<std::uint16_t>(bitsPerPixel)));
    } else if (tag == TiffTag::XResolution || tag == TiffTag::YResolution) {
        file.WriteLong(order.WriteUL(1));
        file.WriteLong(order.WriteUL(1));
    }
}

void TiffFile::SaveTiff(File& file, ByteOrder&) {
    if (mode != TIFF_RGB) return;
    const char* unsupported = "SaveTiff: Given pixel depth and color mode not supported.\n";
    if (bitsPerSample[0] != 8) Stop(unsupported);
    if (width <= 0 || height <= 0) return;
    // Rows are read straight from the pixel plane, which must hold true colour.
    if (image->pixels == nullptr || Image::Depth(image->format) != 32 ||
        (image->format & IMAGE_EXTRABYTE))
        Stop(unsupported);
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    for (std::int32_t y = 0; y < height; ++y)
        file.Write(static_cast<std::size_t>(rowBytes), image->pixels + stride * y);
}
