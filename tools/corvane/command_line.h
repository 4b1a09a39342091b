// The corvane program's command line.
#pragma once

#include <string>

#include "platform/sdl/sdl_program.h"

namespace player {

// What the command line asks for.
struct CommandLine {
    sdl::DisplayOptions display;
    bool help = false;     // print Usage() and end
    bool version = false;  // print the version and end
    std::string error;     // why the command line was refused; empty when it was not
};

// Reads the options after the program's name: --scale N (1 to 16), --fullscreen,
// --help (or -h) and --version.
CommandLine ParseCommandLine(int argc, char** argv);

// The options and the keys, as --help prints them.
const char* Usage();

}  // namespace player
