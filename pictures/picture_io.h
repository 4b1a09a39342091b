// Pictures as people make them, read and written through libpng and libtiff: any
// PNG, any TIFF libtiff decodes (compressed, tiled, 16-bit, palette, grey, old-
// style JPEG), from a file or from memory, and uncompressed 8-bit RGB or RGBA
// TIFF files that the engine's reader loads as they stand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "pictures/png_io.h"

class Image;

namespace pictures {

// 8-bit R, G, B (and straight, unpremultiplied A when hasAlpha) per pixel, top
// row first. The 16-bit samples of PNG files and of plain RGB and grey TIFF
// files keep their high byte, as the engine's reader takes them.
using Picture = png_io::PngImage;

// What a file holds, from its first bytes.
enum class FileKind { Missing, Png, Tiff, Other };
FileKind SniffFile(const std::string& path);
// A name for the format of a file that is neither PNG nor TIFF ("a JPEG
// picture", "a WAV sound"), or "" when its first bytes say nothing known.
std::string OtherFormatName(const std::string& path);

// The largest picture read or written here: the engine's reader refuses
// anything wider, taller or larger as a corrupted file.
constexpr long long kMaxSide = 131072;
constexpr long long kMaxPixels = 1LL << 26;
// True when the engine holds a picture of this size and it has at most
// maxPixels; otherwise sets error to say why not.
bool SizeFits(long long width, long long height, long long maxPixels, std::string& error);

// Reads a PNG or TIFF file. Notes collects what the reading changed or left
// out (a dropped fourth sample, premultiplied alpha undone). On failure returns
// false and sets error.
bool ReadPicture(const std::string& path, Picture& picture, std::vector<std::string>& notes,
                 std::string& error);
// The same for a file's bytes in memory, refusing pictures of more than
// maxPixels too (the fuzz target asks for fewer).
bool ReadPictureBytes(const std::uint8_t* bytes, std::size_t size, Picture& picture,
                      std::vector<std::string>& notes, std::string& error,
                      long long maxPixels = kMaxPixels);

// Writes an uncompressed, Intel-order, one-strip TIFF: 8-bit RGB, or RGBA with
// the alpha as an unassociated fourth sample. On failure returns false and sets
// error.
bool WriteTiff(const std::string& path, const Picture& picture, std::string& error);
// The same file into bytes, which it replaces.
bool WriteTiffBytes(const Picture& picture, std::vector<std::uint8_t>& bytes, std::string& error);

// The picture in the image as the engine's TIFF reader leaves a file of the
// same pixels before preparing it: true colour, with an alpha plane when the
// picture has alpha. False, and the image empty, when its planes cannot be
// allocated.
bool ToTrueColour(const Picture& picture, Image& image);

// The name libtiff gives a Compression value ("LZW", "Deflate", "PackBits"), or
// "" for a number it does not know.
std::string CompressionName(int compression);

}  // namespace pictures
