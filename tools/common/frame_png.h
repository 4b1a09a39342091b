// Saving a presented 16-bit frame of the headless backend as a PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/headless/display_control.h"

namespace png_io {

// The frame's pixels widened to 8-bit RGB as WritePicturePng widens them.
std::vector<std::uint8_t> FrameToRgb(const headless::Frame& frame);

// Writes the frame as an 8-bit RGB PNG. On failure returns false and sets error.
bool WriteFramePng(const std::string& path, const headless::Frame& frame, std::string& error);

}  // namespace png_io
