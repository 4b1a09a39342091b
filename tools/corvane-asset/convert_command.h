// corvane-asset convert: any PNG or TIFF in, a TIFF the engine loads as it
// stands out, with warnings for what the game's way of drawing it would lose.
#pragma once

namespace asset {

extern const char kConvertHelp[];

// The command, with the program's arguments; returns the exit status.
int Convert(int argc, char** argv);

}  // namespace asset
