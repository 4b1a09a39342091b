// The first picture of a TIFF file, as libtiff decodes it.
#pragma once

#include <string>
#include <vector>

#include "pictures/libtiff_file.h"
#include "pictures/picture_io.h"

namespace pictures {

// Reads the open file's first picture, shown the way libtiff's tiff2rgba
// shows it: turned as its Orientation says, colour and (where there is any)
// alpha. Plain 8- and 16-bit RGB and grey samples are taken as they stand (the
// high byte of 16-bit ones, as the engine's reader takes them); everything
// else goes through libtiff's RGBA reader, as tiff2rgba does. Refuses pictures
// larger than the engine holds or than maxPixels. On failure returns false
// and sets error.
bool ReadTiffPicture(LibTiffFile& file, long long maxPixels, Picture& picture,
                     std::vector<std::string>& notes, std::string& error);

}  // namespace pictures
