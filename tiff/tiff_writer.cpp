#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

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

// What one directory entry holds: its field type, value count and value (or
// the offset of its values).
struct EntryValue {
    TiffType type = TiffType::Short;
    std::uint32_t count = 1;
    std::uint32_t value = 0;
};

std::uint32_t Unsigned(std::int32_t value) {
    return static_cast<std::uint32_t>(value);
}

// Also sets the sample count the SamplesPerPixel entry writes.
EntryValue BitsPerSampleEntry(TiffFields& fields) {
    if (fields.mode == TIFF_BILEVEL) {
        fields.samplesPerPixel = 1;
        return {TiffType::Short, 1, 1};
    }
    if (fields.mode == TIFF_GREYSCALE) {
        fields.samplesPerPixel = 1;
        return {TiffType::Short, 1, Unsigned(fields.bitsPerPixel)};
    }
    if (fields.mode == TIFF_RGB) {
        fields.samplesPerPixel = 3;
        return {TiffType::Short, 3, kBitsOffset};
    }
    Stop("Save:Tiff: Unknown TIFF mode.\n");
}

EntryValue PhotometricEntry(TiffFields& fields) {
    if (fields.mode == TIFF_BILEVEL || fields.mode == TIFF_GREYSCALE)
        fields.photometric = 1;
    else if (fields.mode == TIFF_RGB)
        fields.photometric = 2;
    else if (fields.mode == TIFF_PALETTE)
        fields.photometric = 3;
    else
        fields.photometric = 0;
    return {TiffType::Short, 1, Unsigned(fields.photometric)};
}

// The one strip holds every row; also sets the row size the pixels are written with.
EntryValue StripByteCountsEntry(TiffFields& fields) {
    std::int64_t bytes = 0;
    if (fields.mode == TIFF_BILEVEL)
        bytes = fields.width / 8 + 1;
    else if (fields.mode == TIFF_GREYSCALE)
        bytes = std::int64_t{fields.width} * fields.bitsPerPixel / 8;
    else
        bytes = std::int64_t{fields.width} * 3 * fields.bitsPerPixel / 8;
    fields.rowBytes = static_cast<std::int32_t>(bytes);
    fields.stripByteCounts = static_cast<std::int32_t>(bytes * fields.height);
    return {TiffType::Long, 1, static_cast<std::uint32_t>(bytes * fields.height)};
}

// The entry for tag, in the writer's fixed layout; nothing for a tag the
// writer does not write. Entries are asked for in tag order, and some record
// what later entries and the pixel rows need.
std::optional<EntryValue> EntryFor(TiffFields& fields, TiffTag tag) {
    switch (tag) {
        case TiffTag::NewSubfileType:
            return EntryValue{TiffType::Long, 1, 0};
        case TiffTag::ImageWidth:
            return EntryValue{SizeType(fields.width), 1, Unsigned(fields.width)};
        case TiffTag::ImageLength:
            return EntryValue{SizeType(fields.height), 1, Unsigned(fields.height)};
        case TiffTag::BitsPerSample:
            return BitsPerSampleEntry(fields);
        case TiffTag::Compression:
            return EntryValue{TiffType::Short, 1, 1};
        case TiffTag::PhotometricInterpretation:
            return PhotometricEntry(fields);
        case TiffTag::StripOffsets:
            return EntryValue{TiffType::Long, 1, kPixelOffset};
        case TiffTag::SamplesPerPixel:
            return EntryValue{TiffType::Short, 1, Unsigned(fields.samplesPerPixel)};
        case TiffTag::RowsPerStrip:
            fields.rowsPerStrip = fields.height;
            fields.stripCount = 1;
            return EntryValue{SizeType(fields.height), 1, Unsigned(fields.height)};
        case TiffTag::StripByteCounts:
            return StripByteCountsEntry(fields);
        case TiffTag::XResolution:
            return EntryValue{TiffType::Rational, 1, kXResolutionOffset};
        case TiffTag::YResolution:
            return EntryValue{TiffType::Rational, 1, kYResolutionOffset};
        case TiffTag::ResolutionUnit:
            return EntryValue{TiffType::Short, 1, 2};
        case TiffTag::ColorMap:
            return EntryValue{TiffType::Short, 0, 0};
        default:
            return std::nullopt;
    }
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
    const std::optional<EntryValue> entry = EntryFor(*this, tag);
    if (!entry) return;
    file.WriteShort(order.WriteUS(static_cast<std::uint16_t>(tag)));
    file.WriteShort(order.WriteUS(static_cast<std::uint16_t>(entry->type)));
    file.WriteLong(order.WriteUL(entry->count));
    if (entry->type == TiffType::Short && entry->count == 1) {
        file.WriteShort(order.WriteUS(static_cast<std::uint16_t>(entry->value)));
        file.WriteShort(order.WriteUS(0));
    } else {
        file.WriteLong(order.WriteUL(entry->value));
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
