/// @file
/// TIFF files: the reader fills an Image with true colour (R, G, B bytes and an
/// alpha plane for a fourth sample) from the first image of an uncompressed file;
/// the writer stores a true-colour Image as a one-strip Intel-order file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/byte_order.h"
#include "files/file.h"

class Image;

/// @name Kinds of picture data (TiffFile::mode)
///@{
constexpr std::int32_t TIFF_BILEVEL = 0;    ///< one bit a pixel, black and white
constexpr std::int32_t TIFF_GREYSCALE = 1;  ///< one grey sample a pixel
constexpr std::int32_t TIFF_RGB = 2;        ///< red, green and blue samples (and alpha)
constexpr std::int32_t TIFF_PALETTE = 3;    ///< an index into the file's ColorMap
///@}

/// Every pixel-data row of a file goes through a row buffer of at least this size.
constexpr std::int32_t TIFF_ROW_BUFFER = 10000;

/// Tags of the directory entries the reader acts on and the writer writes.
enum class TiffTag : std::uint16_t {
    NewSubfileType = 254,
    ImageWidth = 256,
    ImageLength = 257,
    BitsPerSample = 258,
    Compression = 259,
    PhotometricInterpretation = 262,
    StripOffsets = 273,
    SamplesPerPixel = 277,
    RowsPerStrip = 278,
    StripByteCounts = 279,
    XResolution = 282,
    YResolution = 283,
    ResolutionUnit = 296,
    ColorMap = 320,
    ExtraSamples = 338,
};

/// @cond ENGINE_INTERNALS
// Field types of directory entries: how many bytes each value takes.
enum class TiffType : std::uint16_t {
    Byte = 1,      // 1 byte
    Short = 3,     // 2 bytes
    Long = 4,      // 4 bytes
    Rational = 5,  // 8 bytes: two LONGs
};

// Where an array-valued directory entry keeps its values: inline in the entry's
// value field, or at a file offset.
struct TiffArray {
    TiffType type = TiffType::Byte;  // as the file gives it: may be any number
    std::uint32_t count = 0;
    std::uint8_t raw[4] = {};  // the value field as it stood in the file
};
/// @endcond

/// What the reader learns from a file, and the writer's settings. Every load
/// starts again from these defaults.
struct TiffFields {
    std::int32_t done = 0;             ///< 1 once a load (or save) has completed
    std::int32_t width = 0;            ///< the picture's width in pixels
    std::int32_t height = 0;           ///< the picture's height in pixels
    std::int32_t imageFormat = 0;      ///< IMAGE_32BIT, with IMAGE_ALPHA for an alpha sample
    std::int32_t mode = TIFF_BILEVEL;  ///< the kind of picture data, TIFF_BILEVEL ... TIFF_PALETTE
    std::int32_t extraSamples = 0;     ///< 1 if an ExtraSamples entry was seen
    std::int32_t samplesPerPixel = 0;  ///< values of BitsPerSample
    std::int32_t bitsOffset =
        0;  ///< the BitsPerSample value: where its values lie in the file (0 for one)
    std::int32_t bitsPerSample[4] = {};  ///< red, green, blue, alpha
    std::int32_t monoBits = 0;           ///< sample size of a one-sample picture
    std::int32_t compression = 1;        ///< the Compression value; 1 is none
    std::int32_t photometric = 0;        ///< the PhotometricInterpretation value
    std::int32_t stripCount = 0;         ///< strips of pixel data
    std::int32_t stripOffsets = 0;       ///< the StripOffsets value (or its file offset)
    std::int32_t stripByteCounts = 0;    ///< the StripByteCounts value (or its file offset)
    std::int32_t rowsPerStrip = 0;       ///< rows in each strip but the last
    std::int32_t bitsPerPixel = 0;       ///< bits of one pixel; the writer's sample size
    std::int32_t rowBytes = 0;           ///< bytes of one row in the file
    std::int32_t missingRows = 0;        ///< rows the file does not hold in full: they stay black

    std::int32_t byteOrder = ORDER_IBF;  ///< order of the file's numbers
    bool multipleImages = false;         ///< the directory chain goes on
    std::string problem;                 ///< why the file was refused, empty if not
};

/// Reads and writes TIFF files; one object serves one load or one save.
class TiffFile : public TiffFields {
public:
    /// A file object with no image.
    TiffFile();
    /// Forgets the image; the image itself belongs to the caller.
    ~TiffFile();
    TiffFile(const TiffFile&) = delete;
    TiffFile& operator=(const TiffFile&) = delete;

    /// The image Save writes (not owned).
    void SetImage(Image* target) { image = target; }

    /// Reads the first image of the file into target as true colour, then prepares
    /// it for purpose (also when the file is missing, leaving it empty). A missing
    /// file or compressed data is reported in a message box; rows the file lacks
    /// stay black, with a line in the debug log; a file that cannot be loaded
    /// safely ends the process with exit status -1 after a line on standard
    /// output. Returns target.
    Image* Load(const char* fileName, Image* target, int purpose);
    /// The reading half of Load: target is left in true colour.
    void LoadTiff(const char* fileName, Image* target);
    /// Reads the header and the first directory and checks everything the
    /// reader would check, without reading pixels, showing boxes, printing or
    /// ending the process. True if LoadTiff would accept the file; else `problem`
    /// says why.
    bool Inspect(const char* fileName);

    /// Writes image as an uncompressed Intel-order TIFF. The caller sets `mode`
    /// (TIFF_RGB writes pixels) and `bitsPerPixel`, the sample size (8 for RGB).
    void Save(const char* fileName, Image* source);

    /// @cond ENGINE_INTERNALS
    // Steps of the reader; each returns false when the file fails a check.
    bool ReadDirectory(File& file, ByteOrder& order);
    bool ReadEntry(File& file, ByteOrder& order);
    bool ReadStrips(File& file, ByteOrder& order);
    void ReadStrip(File& file, ByteOrder& order, std::uint32_t offset, std::int32_t first);

    // Steps of the writer.
    void WriteDirectory(File& file, ByteOrder& order);
    void WriteEntry(File& file, ByteOrder& order, TiffTag tag);
    void WriteEntryData(File& file, ByteOrder& order, TiffTag tag);
    void SaveTiff(File& file, ByteOrder& order);

    /// @endcond

    Image* image = nullptr;          ///< the image loaded or saved last (not owned)
    char name[FILE_NAME_SIZE] = {};  ///< the file's name as the caller gave it

private:
    // The directory's entries as the file gives them, before the checks turn
    // them into the fields above; absent entries stay empty.
    struct Directory {
        std::optional<std::uint32_t> width;
        std::optional<std::uint32_t> height;
        std::optional<std::uint32_t> rowsPerStrip;
        std::optional<TiffArray> bits;
        std::optional<TiffArray> offsets;
        std::optional<TiffArray> colorMap;
        bool unknownMode = false;  // the refusal is an unknown BitsPerSample count
        std::int64_t fileSize = 0;
        std::vector<std::uint32_t> strips;  // checked strip offsets, one per strip
        std::vector<std::uint8_t> palette;  // R, G, B bytes per palette index
    };

    bool ReadHeader(File& file, ByteOrder& order, std::uint32_t& directory);
    // The checks between reading the directory and reading pixels, in order:
    // the picture's size, its samples and row size, its palette, its strips.
    bool CheckImage(File& file, ByteOrder& order);
    bool CheckSize();
    bool ReadSampleSizes(File& file, ByteOrder& order);
    bool ReadPalette(File& file, ByteOrder& order);
    bool CheckStrips(File& file, ByteOrder& order);
    // Rows in strip `strip`, and how many of `rows` rows from `offset` the file
    // holds in full.
    std::int32_t StripRows(std::int32_t strip) const;
    std::int32_t RowsHeld(std::uint32_t offset, std::int32_t rows) const;
    bool ReadArray(File& file, ByteOrder& order, const TiffArray& array, std::uint32_t index,
                   std::uint32_t& value);
    bool CheckArray(ByteOrder& order, const TiffArray& array, const char* what);
    bool Refuse(const std::string& reason);
    // One directory entry, read as ReadEntry found it: the fields it sets.
    bool TakeEntry(TiffTag tag, const TiffArray& array, std::uint32_t value);
    bool TakeBitsPerSample(const TiffArray& array, std::uint32_t value);
    // Row y of the file into the image's planes, by the picture's kind.
    void DecodeRow(const std::uint8_t* row, std::int32_t y);
    void DecodeRgbRow(const std::uint8_t* row, std::uint8_t* rgb, std::uint8_t* alpha);
    void DecodeBilevelRow(const std::uint8_t* row, std::uint8_t* rgb);
    void DecodePaletteRow(const std::uint8_t* row, std::uint8_t* rgb);
    void DecodeGreyRow(const std::uint8_t* row, std::uint8_t* rgb, std::uint8_t* alpha);

    bool quiet = false;  // Inspect: no boxes, no printing, no pixels
    Directory dir;
    std::vector<std::uint8_t> rowBuffer;   // at least TIFF_ROW_BUFFER bytes
    std::vector<std::uint8_t> bitsBuffer;  // bilevel rows unpacked, one byte per pixel
};
