// corvane-asset check: every TIFF and WAV file under a game's folder through the
// engine's loaders, one line each.
#pragma once

namespace asset {

extern const char kCheckHelp[];

// The command, with the program's arguments; returns the exit status.
int Check(int argc, char** argv);

}  // namespace asset
