// Pictures as people make them, read and written through libpng and libtiff: any
// PNG, any TIFF libtiff decodes (compressed, tiled, 16-bit, palette, grey), and
// uncompressed 8-bit RGB or RGBA TIFF files that the engine's reader loads as
// they stand.
#pragma once

#include <string>
#include <vector>

#include "tools/common/png_io.h"

namespace asset {

// 8-bit R, G, B (and straight, unpremultiplied A when hasAlpha) per pixel, top
// row first. Samples wider than 8 bits keep their high byte, as the engine's
// reader does.
using Picture = png_io::PngImage;

// What a file holds, from its first bytes.
enum class FileKind { Missing, Png, Tiff, Other };
FileKind SniffFile(const std::string& path);
// A name for the format of a file that is neither PNG nor TIFF ("a JPEG
// picture", "a WAV sound"), or "" when its first bytes say nothing known.
std::string OtherFormatName(const std::string& path);

// The largest picture the tool reads or writes: the engine's reader refuses
// anything wider, taller or larger as a corrupted file.
constexpr long long kMaxSide = 131072;
constexpr long long kMaxPixels = 1LL << 26;

// Reads a PNG or TIFF file. Notes collects what the reading changed or left
// out (a dropped fourth sample, premultiplied alpha undone). On failure returns
// false and sets error.
bool ReadPicture(const std::string& path, Picture& picture, std::vector<std::string>& notes,
                 std::string& error);

// Writes an uncompressed, Intel-order, one-strip TIFF: 8-bit RGB, or RGBA with
// the alpha as an unassociated fourth sample. On failure returns false and sets
// error.
bool WriteTiff(const std::string& path, const Picture& picture, std::string& error);

// The name libtiff gives a Compression value ("LZW", "Deflate", "PackBits"), or
// "" for a number it does not know.
std::string CompressionName(int compression);

}  // namespace asset
