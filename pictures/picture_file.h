/// @file
/// Pictures loaded straight from PNG files and from any TIFF libtiff reads, for
/// games that link Corvane::pictures: the pixels corvane-asset convert would
/// have written into the engine's TIFF, loaded and prepared as TiffFile::Load
/// prepares that TIFF.
#pragma once

#include <string>
#include <vector>

class Image;

/// Loads PNG and TIFF pictures into an Image: any PNG (grey, palette, 16-bit,
/// with or without alpha) and any TIFF libtiff decodes (compressed, tiled,
/// 16-bit, CMYK, ...), converted to 8-bit RGB, or RGBA where the file has
/// alpha, exactly as `corvane-asset convert` converts them. One object serves
/// any number of loads; each keeps what the last one found.
class PictureFile {
public:
    /// Reads the picture in fileName into target and prepares it for purpose
    /// (DRAW_PLAIN, DRAW_MASKED, DRAW_ALPHA or DRAW_ADDITIVE), as
    /// TiffFile::Load prepares a TIFF. Names are written as for TiffFile
    /// ("Images\\ship.png"; backslashes work everywhere) and hold at most 99
    /// characters. True when loaded. Otherwise target is an empty picture for
    /// purpose, which draws nothing, Problem() says why and the debug log has a
    /// line "PictureFile::Load: <name>: <why>". Shows no box and never ends the
    /// program. A picture larger than the engine holds (131072 pixels a side,
    /// 2^26 in all) is refused.
    bool Load(const char* fileName, Image* target, int purpose);
    /// Why the last Load failed; "" after one that loaded.
    const std::string& Problem() const { return problem; }
    /// What the last Load changed or left out of the file's pixels (a fourth
    /// sample that is not alpha, premultiplied alpha undone), one line each;
    /// each goes to the debug log too.
    const std::vector<std::string>& Notes() const { return notes; }

private:
    bool Read(const char* fileName, Image& target);

    std::string problem;
    std::vector<std::string> notes;
};
