#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>

#include "image/image.h"
#include "platform/api/platform.h"
#include "shell/debugger.h"
#include "tiff/tiff_file.h"

namespace {

const char kCaption[] = "Corvane Error";
const char kNotFound[] =
    ".TIF File Not Found: %s\n\nMake sure paths and names of TIF images are correct. If you "
    "started the game outside of Visual C++, make sure the executable is in the correct "
    "location to find images.";
const char kCompressed[] =
    "TIF Load Error: LZW Compression not supported.\n\nCorvane does not support LZW compressed "
    "TIF images. Save your TIF image again and be sure that the LZW compression option is "
    "turned off.\n";
const char kCorrupted[] = "Load:Tiff: File is corrupted, or is not a .TIFF file.\n";
const char kUnknownMode[] = "Load:Tiff: Unknown TIFF mode.\n";
const char kMultiple[] =
    "Load:Tiff: (Warning only) File contains multiple tiff images - reading only first.\n";

// Bytes per value of the field types that hold the numbers the reader needs.
std::uint32_t ValueSize(TiffType type) {
    switch (type) {
        case TiffType::Byte:
            return 1;
        case TiffType::Short:
            return 2;
        case TiffType::Long:
            return 4;
        default:
            return 0;
    }
}

std::uint32_t RawLong(const std::uint8_t* bytes) {
    std::uint32_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

std::uint16_t RawShort(const std::uint8_t* bytes) {
    std::uint16_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

// Sample `index` of a row of packed samples of 1, 2 or 4 bits, most significant
// bits first.
unsigned PackedSample(const std::uint8_t* row, std::uint64_t index, int bits) {
    const std::uint64_t bit = index * static_cast<unsigned>(bits);
    const int shift = 8 - bits - static_cast<int>(bit % 8);
    return (row[bit / 8] >> shift) & ((1u << bits) - 1u);
}

// Sample `index` of a row scaled to 8 bits: the high byte of wide samples (in
// the file's own byte order), small samples stretched to 0..255.
std::uint8_t Sample8(const std::uint8_t* row, std::uint64_t index, int bits, bool bigEndian) {
    switch (bits) {
        case 8:
            return row[index];
        case 16:
            return row[index * 2 + (bigEndian ? 0 : 1)];
        case 32:
            return row[index * 4 + (bigEndian ? 0 : 3)];
        default:
            return static_cast<std::uint8_t>(PackedSample(row, index, bits) * 255u /
                                             ((1u << bits) - 1u));
    }
}

bool GreySize(int bits) {
    return bits == 1 || bits == 2 || bits == 4 || bits == 8 || bits == 16 || bits == 32;
}

bool PaletteSize(int bits) {
    return bits == 1 || bits == 2 || bits == 4 || bits == 8;
}

}  // namespace

TiffFile::TiffFile() {
    image = nullptr;
}

TiffFile::~TiffFile() {
    image = nullptr;
}

Image* TiffFile::Load(const char* fileName, Image* target, int purpose) {
    if (target == nullptr) return nullptr;
    LoadTiff(fileName, target);
    target->Prepare(static_cast<std::int8_t>(purpose));
    return target;
}

bool TiffFile::Refuse(const std::string& reason) {
    if (problem.empty()) problem = reason;
    return false;
}

void TiffFile::LoadTiff(const char* fileName, Image* target) {
    static_cast<TiffFields&>(*this) = TiffFields();
    dir = Directory();
    ByteOrder order;
    image = target;
    std::snprintf(name, sizeof name, "%s", fileName);

    File file;
    if (file.Open(fileName, FILE_READ | RANDOM) == FILE_NOTFOUND) {
        problem = "The file was not found.";
        if (!quiet) {
            std::string text(sizeof kNotFound + std::strlen(fileName), '\0');
            std::snprintf(&text[0], text.size(), kNotFound, fileName);
            MessageBoxA(nullptr, text.c_str(), kCaption, MB_OK);
        }
        return;
    }

    std::uint32_t directory = 0;
    bool accepted = ReadHeader(file, order, directory);
    if (accepted) {
        file.Seek(static_cast<std::int32_t>(directory));
        accepted = ReadDirectory(file, order);
    }
    file.Close();
    if (quiet) {
        if (accepted) done = 1;
        return;
    }
    // The line is built in a temporary, so that nothing is left allocated when
    // the process ends.
    if (!accepted) {
        Debug.Write(("Load:Tiff: " + std::string(fileName) + ": " + problem + "\n").c_str(), "");
        std::printf("%s", dir.unknownMode ? kUnknownMode : kCorrupted);
        std::exit(-1);
    }
    done = 1;
    if (missingRows > 0)
        Debug.Write(
            ("Load:Tiff: " + std::string(fileName) + ": " + std::to_string(missingRows) + " of " +
             std::to_string(height) + " rows are not in the file and stay black.\n")
                .c_str(),
            "");
}

bool TiffFile::Inspect(const char* fileName) {
    quiet = true;
    LoadTiff(fileName, nullptr);
    quiet = false;
    return problem.empty();
}

bool TiffFile::ReadHeader(File& file, ByteOrder& order, std::uint32_t& directory) {
    file.Seek(-2);
    dir.fileSize = file.Tell();
    file.Seek(-1);
    if (dir.fileSize < 0) return Refuse("The file is too large.");

    std::uint16_t mark = 0;
    file.ReadShort(mark);
    // Only "II" is tested: anything else is taken as Motorola order.
    if (mark != 0x4949) order.SetOrder(ORDER_MBF);
    byteOrder = order.order;

    std::uint16_t version = 0;
    file.ReadShort(version);
    if (order.ReadUS(version) != 42) return Refuse("The header does not mark a TIFF file.");
    if (dir.fileSize < 8) return Refuse("The file ends inside its header.");
    std::uint32_t raw = 0;
    file.ReadLong(raw);
    directory = order.ReadUL(raw);
    if (directory + std::int64_t{2} > dir.fileSize)
        return Refuse("The first directory lies outside the file.");
    return true;
}

bool TiffFile::ReadDirectory(File& file, ByteOrder& order) {
    const std::int64_t start = file.Tell();
    std::uint16_t raw = 0;
    file.ReadShort(raw);
    const std::uint16_t entries = order.ReadUS(raw);
    const std::int64_t end = start + 2 + std::int64_t{12} * entries;
    if (end > dir.fileSize) return Refuse("The directory runs past the end of the file.");
    for (int i = 0; i < entries; ++i)
        if (!ReadEntry(file, order)) return false;

    // A directory without the link to the next one is taken as the last.
    std::uint32_t next = 0;
    if (end + 4 <= dir.fileSize) {
        std::uint32_t rawNext = 0;
        file.ReadLong(rawNext);
        next = order.ReadUL(rawNext);
    }
    multipleImages = next != 0;

    if (!CheckImage(file, order)) return false;

    if (!quiet && image != nullptr) {
        // The planes come zero-filled: rows the reader cannot convert stay black
        // and transparent.
        image->Size(width, height, static_cast<std::uint8_t>(imageFormat));
        if (!ReadStrips(file, order)) return false;
    }

    if (multipleImages && !quiet) std::printf("%s", kMultiple);
    return true;
}

bool TiffFile::ReadEntry(File& file, ByteOrder& order) {
    std::uint16_t rawTag = 0, rawType = 0;
    std::uint32_t rawCount = 0;
    std::uint8_t field[4] = {};
    file.ReadShort(rawTag);
    file.ReadShort(rawType);
    file.ReadLong(rawCount);
    file.Read(sizeof field, field);

    const auto tag = static_cast<TiffTag>(order.ReadUS(rawTag));
    TiffArray array;
    array.type = static_cast<TiffType>(order.ReadUS(rawType));
    array.count = order.ReadUL(rawCount);
    std::memcpy(array.raw, field, sizeof field);
    // A single SHORT sits in the first two bytes of the field; anything else is
    // read as one 32-bit value (for arrays that do not fit, their offset).
    const std::uint32_t value = array.type == TiffType::Short && array.count == 1
                                    ? order.ReadUS(RawShort(field))
                                    : order.ReadUL(RawLong(field));
    return TakeEntry(tag, array, value);
}

bool TiffFile::TakeEntry(TiffTag tag, const TiffArray& array, std::uint32_t value) {
    const std::int32_t signedValue = static_cast<std::int32_t>(value);
    switch (tag) {
        case TiffTag::ImageWidth:
            width = signedValue;
            dir.width = value;
            break;
        case TiffTag::ImageLength:
            height = signedValue;
            dir.height = value;
            break;
        case TiffTag::BitsPerSample:
            return TakeBitsPerSample(array, value);
        case TiffTag::Compression:
            compression = signedValue;
            if (value != 1 && !quiet) MessageBoxA(nullptr, kCompressed, kCaption, MB_OK);
            break;
        case TiffTag::PhotometricInterpretation:
            photometric = signedValue;
            if (value == 3) mode = TIFF_PALETTE;
            break;
        case TiffTag::StripOffsets:
            stripOffsets = signedValue;
            dir.offsets = array;
            break;
        case TiffTag::RowsPerStrip:
            rowsPerStrip = signedValue;
            dir.rowsPerStrip = value;
            if (value != 0)
                stripCount = static_cast<std::int32_t>(std::min<std::int64_t>(
                    (dir.height.value_or(0) + std::int64_t{value} - 1) / value,
                    std::numeric_limits<std::int32_t>::max()));
            break;
        case TiffTag::StripByteCounts:
            stripByteCounts = signedValue;
            break;
        case TiffTag::ColorMap:
            dir.colorMap = array;
            break;
        case TiffTag::ExtraSamples:
            extraSamples = 1;
            break;
        default:
            break;
    }
    return true;
}

bool TiffFile::TakeBitsPerSample(const TiffArray& array, std::uint32_t value) {
    const std::int32_t signedValue = static_cast<std::int32_t>(value);
    samplesPerPixel = static_cast<std::int32_t>(array.count);
    dir.bits = array;
    if (array.count == 1) {
        monoBits = signedValue;
        bitsOffset = 0;
        mode = value == 1 ? TIFF_BILEVEL : TIFF_GREYSCALE;
    } else if (array.count == 2) {
        monoBits = signedValue;
        bitsOffset = signedValue;
        mode = TIFF_GREYSCALE;
    } else if (array.count == 3 || array.count == 4) {
        bitsOffset = signedValue;
        mode = TIFF_RGB;
    } else {
        dir.unknownMode = true;
        return Refuse("BitsPerSample has " + std::to_string(array.count) + " values.");
    }
    return true;
}

bool TiffFile::CheckArray(ByteOrder& order, const TiffArray& array, const char* what) {
    const std::uint32_t size = ValueSize(array.type);
    if (size == 0) return Refuse(std::string(what) + " has a field type the reader cannot use.");
    const std::int64_t bytes = std::int64_t{array.count} * size;
    if (bytes > 4 && order.ReadUL(RawLong(array.raw)) + bytes > dir.fileSize)
        return Refuse(std::string(what) + " lies outside the file.");
    return true;
}

bool TiffFile::ReadArray(File& file, ByteOrder& order, const TiffArray& array, std::uint32_t index,
                         std::uint32_t& value) {
    const std::uint32_t size = ValueSize(array.type);
    std::uint8_t bytes[4] = {};
    if (std::int64_t{array.count} * size <= 4) {
        std::memcpy(bytes, array.raw + index * size, size);
    } else {
        // CheckArray has placed the whole array inside the file.
        const std::uint32_t at = order.ReadUL(RawLong(array.raw)) + index * size;
        file.Seek(static_cast<std::int32_t>(at));
        if (file.Read(size, bytes) != FILE_OK) return Refuse("A value array cannot be read.");
    }
    if (size == 1)
        value = bytes[0];
    else if (size == 2)
        value = order.ReadUS(RawShort(bytes));
    else
        value = order.ReadUL(RawLong(bytes));
    return true;
}

// The reader refuses a file (the corrupted line, exit code -1) only where it
// cannot load it safely:
// - a picture wider or taller than kMaxSide pixels, or of more than kMaxPixels
//   in all: a file of a few bytes could otherwise make the game allocate
//   gigabytes. The total is what bounds memory (both planes within 256 MiB, an
//   8192 x 8192 picture still loads); the side limit is loose so that long
//   strips such as a 60000 x 400 backdrop load too, and it keeps a row within
//   4 MiB and every size computed from the two within 32 bits;
// - a header, directory or value array that is not inside the file, or a value
//   array of a field type that holds no integers;
// - entries no pixel can be placed without: no width or height, RowsPerStrip
//   missing or 0, StripOffsets missing or shorter than the strips, a palette
//   without its ColorMap or with more than one sample; samples of 0 or more
//   than 64 bits;
// - a BitsPerSample count outside 1..4, with the unknown-mode line instead.
// Everything else loads: rows the file does not hold stay black (one log line
// counts them), and compressed strips are taken as they stand after the box.
constexpr std::uint32_t kMaxSide = 131072;
constexpr std::uint64_t kMaxPixels = std::uint64_t{1} << 26;

bool TiffFile::CheckImage(File& file, ByteOrder& order) {
    return CheckSize() && ReadSampleSizes(file, order) && ReadPalette(file, order) &&
           CheckStrips(file, order);
}

bool TiffFile::CheckSize() {
    if (dir.width.value_or(0) == 0 || dir.height.value_or(0) == 0)
        return Refuse("The image has no width or no height.");
    // Two 32-bit factors: the product fits 64 bits.
    if (*dir.width > kMaxSide || *dir.height > kMaxSide ||
        std::uint64_t{*dir.width} * *dir.height > kMaxPixels)
        return Refuse("The image is " + std::to_string(*dir.width) + " x " +
                      std::to_string(*dir.height) + " pixels, more than " +
                      std::to_string(kMaxSide) + " a side or " + std::to_string(kMaxPixels) +
                      " in all.");
    width = static_cast<std::int32_t>(*dir.width);
    height = static_cast<std::int32_t>(*dir.height);
    return true;
}

bool TiffFile::ReadSampleSizes(File& file, ByteOrder& order) {
    // Without BitsPerSample a file is bilevel, one bit per pixel.
    if (!dir.bits) {
        samplesPerPixel = 1;
        monoBits = 1;
        mode = TIFF_BILEVEL;
    }
    if (photometric == 3) mode = TIFF_PALETTE;

    std::uint32_t bits[4] = {1, 0, 0, 0};
    if (dir.bits) {
        if (!CheckArray(order, *dir.bits, "BitsPerSample")) return false;
        for (std::uint32_t i = 0; i < dir.bits->count; ++i)
            if (!ReadArray(file, order, *dir.bits, i, bits[i])) return false;
    }
    std::uint32_t pixelBits = 0;
    for (std::int32_t i = 0; i < samplesPerPixel; ++i) {
        // Wider than any sample format there is.
        if (bits[i] == 0 || bits[i] > 64)
            return Refuse("A sample has " + std::to_string(bits[i]) + " bits.");
        pixelBits += bits[i];
    }

    imageFormat = IMAGE_32BIT;
    if (mode == TIFF_RGB) {
        for (int i = 0; i < 4; ++i)
            bitsPerSample[i] = i < samplesPerPixel ? static_cast<std::int32_t>(bits[i]) : 0;
        // A fourth sample is alpha only where ExtraSamples says so; without it
        // the sample still takes its room in each pixel.
        if (samplesPerPixel == 4 && extraSamples == 1) imageFormat |= IMAGE_ALPHA;
    } else {
        monoBits = static_cast<std::int32_t>(bits[0]);
        if (mode != TIFF_PALETTE)
            mode = samplesPerPixel == 1 && monoBits == 1 ? TIFF_BILEVEL : TIFF_GREYSCALE;
        if (samplesPerPixel == 2 && extraSamples == 1) imageFormat |= IMAGE_ALPHA;
    }
    bitsPerPixel = static_cast<std::int32_t>(pixelBits);

    // At most kMaxSide pixels of at most four 64-bit samples: a row fits 32
    // bits before it is narrowed.
    static_assert(std::uint64_t{kMaxSide} * 4 * 64 / 8 <= std::numeric_limits<std::int32_t>::max(),
                  "a row fits 32 bits");
    const std::uint64_t row = (std::uint64_t{*dir.width} * pixelBits + 7) / 8;
    rowBytes = static_cast<std::int32_t>(row);
    return true;
}

bool TiffFile::ReadPalette(File& file, ByteOrder& order) {
    if (mode != TIFF_PALETTE) return true;
    if (samplesPerPixel != 1) return Refuse("A palette file must have one sample per pixel.");
    // Wider palette indices have no colours to look up: their rows stay black.
    if (!PaletteSize(monoBits)) return true;
    const std::uint32_t entries = 1u << monoBits;
    if (!dir.colorMap || dir.colorMap->type != TiffType::Short ||
        dir.colorMap->count != 3 * entries)
        return Refuse("The palette file has no usable ColorMap.");
    if (!CheckArray(order, *dir.colorMap, "ColorMap")) return false;
    std::vector<std::uint16_t> map(3 * entries);
    std::uint32_t at = order.ReadUL(RawLong(dir.colorMap->raw));
    file.Seek(static_cast<std::int32_t>(at));
    if (file.Read(map.size() * 2, map.data()) != FILE_OK)
        return Refuse("The ColorMap cannot be read.");
    // The map holds every red, then every green, then every blue.
    dir.palette.resize(3 * entries);
    for (std::uint32_t i = 0; i < entries; ++i)
        for (std::uint32_t c = 0; c < 3; ++c)
            dir.palette[i * 3 + c] =
                static_cast<std::uint8_t>(order.ReadUS(map[c * entries + i]) >> 8);
    return true;
}

bool TiffFile::CheckStrips(File& file, ByteOrder& order) {
    if (dir.rowsPerStrip.value_or(0) == 0) return Refuse("RowsPerStrip is missing or 0.");
    const std::uint32_t rows = std::min(*dir.rowsPerStrip, *dir.height);
    rowsPerStrip = static_cast<std::int32_t>(rows);
    stripCount = static_cast<std::int32_t>((*dir.height + std::int64_t{rows} - 1) / rows);

    if (!dir.offsets) return Refuse("StripOffsets is missing.");
    if (dir.offsets->count < static_cast<std::uint32_t>(stripCount))
        return Refuse("StripOffsets has fewer values than the image has strips.");
    if (!CheckArray(order, *dir.offsets, "StripOffsets")) return false;
    dir.strips.resize(static_cast<std::size_t>(stripCount));
    for (std::int32_t i = 0; i < stripCount; ++i) {
        std::uint32_t offset = 0;
        if (!ReadArray(file, order, *dir.offsets, static_cast<std::uint32_t>(i), offset))
            return false;
        dir.strips[static_cast<std::size_t>(i)] = offset;
        // A strip that runs past the end of the file (a cut file, or compressed
        // data taken as rows) loses the rows it cannot hold, nothing else.
        const std::int32_t rowsInStrip = StripRows(i);
        missingRows += rowsInStrip - RowsHeld(offset, rowsInStrip);
    }
    return true;
}

std::int32_t TiffFile::StripRows(std::int32_t strip) const {
    // strip < stripCount, so strip x rowsPerStrip < height + rowsPerStrip.
    return std::min(rowsPerStrip, height - strip * rowsPerStrip);
}

std::int32_t TiffFile::RowsHeld(std::uint32_t offset, std::int32_t rows) const {
    const std::int64_t bytes = dir.fileSize - offset;
    if (bytes <= 0) return 0;
    return static_cast<std::int32_t>(std::min<std::int64_t>(rows, bytes / rowBytes));
}

bool TiffFile::ReadStrips(File& file, ByteOrder& order) {
    const std::int32_t position = file.Tell();
    rowBuffer.assign(std::max<std::size_t>(TIFF_ROW_BUFFER, static_cast<std::size_t>(rowBytes)), 0);
    if (mode == TIFF_BILEVEL) bitsBuffer.assign(static_cast<std::size_t>(rowBytes) * 8, 0);
    for (std::int32_t i = 0; i < stripCount; ++i)
        ReadStrip(file, order, dir.strips[static_cast<std::size_t>(i)], i * rowsPerStrip);
    file.Seek(position);
    return true;
}

void TiffFile::ReadStrip(File& file, ByteOrder&, std::uint32_t offset, std::int32_t first) {
    // Only the rows the file holds are read; the others stay black. A held row
    // starts before the end of the file, so its offset fits the seek.
    const std::int32_t rows = RowsHeld(offset, StripRows(first / rowsPerStrip));
    if (rows == 0) return;
    file.Seek(static_cast<std::int32_t>(offset));
    for (std::int32_t y = first; y < first + rows; ++y) {
        file.Read(static_cast<std::size_t>(rowBytes), rowBuffer.data());
        DecodeRow(rowBuffer.data(), y);
    }
}

void TiffFile::DecodeRow(const std::uint8_t* row, std::int32_t y) {
    if (image == nullptr || image->pixels == nullptr) return;
    const std::size_t base = static_cast<std::size_t>(y) * width;
    std::uint8_t* rgb = image->pixels + base * 3;
    std::uint8_t* alpha =
        (imageFormat & IMAGE_ALPHA) && image->alpha != nullptr ? image->alpha + base : nullptr;
    if (mode == TIFF_RGB)
        DecodeRgbRow(row, rgb, alpha);
    else if (mode == TIFF_BILEVEL)
        DecodeBilevelRow(row, rgb);
    else if (mode == TIFF_PALETTE)
        DecodePaletteRow(row, rgb);
    else
        DecodeGreyRow(row, rgb, alpha);
}

void TiffFile::DecodeRgbRow(const std::uint8_t* row, std::uint8_t* rgb, std::uint8_t* alpha) {
    const std::size_t samples = static_cast<std::size_t>(samplesPerPixel);
    const int bits = bitsPerSample[0];
    for (std::size_t s = 1; s < samples; ++s)
        if (bitsPerSample[s] != bits) return;
    if (bits == 8) {
        // Locals, so that the byte stores do not make the compiler reload the fields.
        const std::size_t n = static_cast<std::size_t>(width);
        if (alpha != nullptr) {
            for (std::size_t x = 0; x < n; ++x, row += 4, rgb += 3) {
                rgb[0] = row[0];
                rgb[1] = row[1];
                rgb[2] = row[2];
                alpha[x] = row[3];
            }
        } else {
            for (std::size_t x = 0; x < n; ++x, row += samples, rgb += 3) {
                rgb[0] = row[0];
                rgb[1] = row[1];
                rgb[2] = row[2];
            }
        }
    } else if (bits == 16 || bits == 32) {
        const bool bigEndian = byteOrder != ORDER_IBF;
        for (std::int32_t x = 0; x < width; ++x, rgb += 3) {
            const std::size_t at = static_cast<std::size_t>(x) * samples;
            for (int c = 0; c < 3; ++c) rgb[c] = Sample8(row, at + c, bits, bigEndian);
            if (alpha != nullptr) alpha[x] = Sample8(row, at + 3, bits, bigEndian);
        }
    }
}

void TiffFile::DecodeBilevelRow(const std::uint8_t* row, std::uint8_t* rgb) {
    // One byte per pixel: 0/1, then 0/255, then white for 0 where 0 means white.
    const std::int32_t count = rowBytes;
    ByteOrder::UnpackBits(row, bitsBuffer.data(), count);
    ByteOrder::ScaleBytes(bitsBuffer.data(), static_cast<std::uint32_t>(count) * 8, 255);
    if (photometric == 0)
        ByteOrder::InvertBytes(bitsBuffer.data(), static_cast<std::uint32_t>(count) * 8);
    for (std::int32_t x = 0; x < width; ++x, rgb += 3)
        rgb[0] = rgb[1] = rgb[2] = bitsBuffer[static_cast<std::size_t>(x)];
}

void TiffFile::DecodePaletteRow(const std::uint8_t* row, std::uint8_t* rgb) {
    if (dir.palette.empty()) return;
    for (std::int32_t x = 0; x < width; ++x, rgb += 3) {
        const unsigned index = monoBits == 8 ? row[x] : PackedSample(row, x, monoBits);
        std::memcpy(rgb, &dir.palette[index * 3], 3);
    }
}

// Greyscale, with an alpha sample when there are two.
void TiffFile::DecodeGreyRow(const std::uint8_t* row, std::uint8_t* rgb, std::uint8_t* alpha) {
    const std::size_t samples = static_cast<std::size_t>(samplesPerPixel);
    const bool bigEndian = byteOrder != ORDER_IBF;
    const int bits = monoBits;
    if (!GreySize(bits) || (samples == 2 && bitsPerPixel != 2 * bits)) return;
    for (std::int32_t x = 0; x < width; ++x, rgb += 3) {
        const std::size_t at = static_cast<std::size_t>(x) * samples;
        std::uint8_t grey = Sample8(row, at, bits, bigEndian);
        // WhiteIsZero means what it says: 0 is white, so the sample is inverted
        // (as for bilevel files).
        if (photometric == 0) grey = static_cast<std::uint8_t>(255 - grey);
        rgb[0] = rgb[1] = rgb[2] = grey;
        if (alpha != nullptr) alpha[x] = Sample8(row, at + 1, bits, bigEndian);
    }
}
