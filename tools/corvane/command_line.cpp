#include "tools/corvane/command_line.h"

namespace player {
namespace {

// Beyond 16 the window outgrows any screen.
constexpr int kLargestScale = 16;

bool ParseScale(const std::string& text, int* scale) {
    if (text.empty() || text.size() > 2) return false;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    if (value < 1 || value > kLargestScale) return false;
    *scale = value;
    return true;
}

}  // namespace

CommandLine ParseCommandLine(int argc, char** argv) {
    CommandLine line;
    for (int i = 1; i < argc && line.error.empty(); ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--version") {
            line.version = true;
        } else if (arg == "--fullscreen") {
            line.display.fullscreen = true;
        } else if (arg == "--scale" || arg.rfind("--scale=", 0) == 0) {
            std::string value;
            if (arg != "--scale")
                value = arg.substr(8);
            else if (i + 1 < argc)
                value = argv[++i];
            if (!ParseScale(value, &line.display.scale))
                line.error = "--scale needs a whole number from 1 to 16";
        } else {
            line.error = "unknown option \"" + arg + "\"";
        }
    }
    return line;
}

const char* Usage() {
    return "usage: corvane [--scale N] [--fullscreen] [--help] [--version]\n"
           "\n"
           "Walk an alien over an endless grass field; mountains and water stop it.\n"
           "The game reads its pictures from the Images folder in the folder it is\n"
           "started from and writes debug.txt there.\n"
           "\n"
           "Options:\n"
           "  --scale N      show the 800 x 500 picture N times larger (1 to 16); the\n"
           "                 default is the largest that fits in 85 % of the desktop\n"
           "  --fullscreen   start in full screen, the picture as large as the screen\n"
           "                 allows with its shape kept\n"
           "  --help         print this and end\n"
           "  --version      print the version and end\n"
           "\n"
           "Keys:\n"
           "  arrow keys         walk (a gamepad's D-pad or left stick too)\n"
           "  Escape             quit (a gamepad's Start or Back too)\n"
           "  Alt+Enter, F11     switch between the window and full screen\n"
           "  F12                save a screenshot in screenshots/ beside the program\n";
}

}  // namespace player
