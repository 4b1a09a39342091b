// Builds TIFF files byte by byte, so that tests can make files that lie in any
// way they like: the directory holds exactly the entries given, in the order
// given, with the values given.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/file_bytes.h"

constexpr std::uint16_t kByte = 1;
constexpr std::uint16_t kShort = 3;
constexpr std::uint16_t kLong = 4;
constexpr std::uint16_t kRational = 5;

class TiffBuilder {
public:
    explicit TiffBuilder(bool motorola = false) : motorola_(motorola) {}

    // An entry whose value stands in the field itself (a single SHORT in its
    // first two bytes). Replaces an entry with the same tag in place.
    TiffBuilder& Set(std::uint16_t tag, std::uint16_t type, std::uint32_t count,
                     std::uint32_t value);
    // An entry with these values: inline when they fit in four bytes, else placed
    // after the directory with their offset in the field.
    TiffBuilder& SetArray(std::uint16_t tag, std::uint16_t type,
                          const std::vector<std::uint32_t>& values);
    // StripOffsets given as offsets into `pixels`, resolved when the file is built.
    TiffBuilder& SetStrips(const std::vector<std::uint32_t>& offsetsInPixels,
                           std::uint16_t type = kLong);
    TiffBuilder& Remove(std::uint16_t tag);

    // The file's bytes: header, directory at offset 8, the next-directory link,
    // the arrays, then `pixels`.
    std::vector<std::uint8_t> Build() const;
    // Builds and writes the file.
    void Write(const std::string& path) const;
    // Where `pixels` starts in the built file.
    std::uint32_t PixelStart() const;

    std::vector<std::uint8_t> pixels;
    std::uint32_t nextDirectory = 0;
    // The two bytes of the byte-order mark; by default "II" or "MM".
    std::string mark;

private:
    struct Entry {
        std::uint16_t tag;
        std::uint16_t type;
        std::uint32_t count;
        std::uint32_t value;
        std::vector<std::uint32_t> values;  // placed after the directory
        bool strips;
    };
    Entry& Find(std::uint16_t tag);

    bool motorola_;
    std::vector<Entry> entries_;
};

// A well-formed chunky file: width x height pixels of `samples` samples of
// `bits` bits, in strips of rowsPerStrip rows; the pixel bytes are 1, 2, 3, ...
// (mod 251) in file order. ExtraSamples is written for a fourth sample.
TiffBuilder RgbFile(int width, int height, int rowsPerStrip, int samples = 3, int bits = 8,
                    bool motorola = false);

// The whole content of a file as bytes.
using testsupport::ReadBytes;
