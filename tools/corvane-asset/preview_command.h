// corvane-asset preview: a picture as the game draws it, through the engine's
// own conversion, preparation and draw routines on the headless display.
#pragma once

namespace asset {

extern const char kPreviewHelp[];

// The command, with the program's arguments; returns the exit status.
int Preview(int argc, char** argv);

}  // namespace asset
