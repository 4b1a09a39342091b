// F12's screenshots: the picture on the screen saved as a PNG.
#pragma once

#include "platform/sdl/sdl_program.h"

namespace player {

// Saves the picture as screenshots/corvane_YYYY-MM-DD_HH-MM-SS.png (local time,
// "-2", "-3"... added when that name is taken) in the folder beside the program,
// widened to 8-bit RGB as the other tools save frames, and prints the file's
// path on standard output; a failure is printed on standard error.
void SaveScreenshot(const sdl::ShownPicture& picture);

}  // namespace player
