// Exact comparison of a presented frame with a committed golden PNG. When they
// differ, the actual picture and a difference picture are written beside the
// build's other output, so the change can be looked at.
#pragma once

#include <string>

#include "platform/headless/display_control.h"

namespace png_io {

// Compares frame, widened to 8-bit RGB, with the PNG at goldenPath. True when
// every pixel is equal. Otherwise writes <name>_actual.png and <name>_diff.png
// (changed pixels red, the rest dimmed; only when the sizes agree) into
// outFolder, creating it, and says in `message` what differs and where to look.
bool MatchesGolden(const headless::Frame& frame, const std::string& goldenPath,
                   const std::string& outFolder, const std::string& name, std::string& message);

}  // namespace png_io
