// corvane-asset: makes pictures into files the engine loads, shows them as the
// game draws them, checks a game's folder, looks at TIFF and WAV files the way
// the engine reads them, and plays WAV files through the engine's sound.
#include <cstdio>
#include <cstring>
#include <string>

#include "shell/debugger.h"
#include "tools/corvane-asset/asset_tool.h"
#include "tools/corvane-asset/check_command.h"
#include "tools/corvane-asset/convert_command.h"
#include "tools/corvane-asset/preview_command.h"
#include "tools/corvane-asset/tiff_commands.h"
#include "tools/corvane-asset/wav_commands.h"

namespace {

const char kUsage[] =
    "usage: corvane-asset COMMAND ARGS...\n"
    "\n"
    "commands:\n"
    "  convert IN OUT.tif [--purpose P] [--keep-black]\n"
    "                            make a PNG or any TIFF into a TIFF the engine loads\n"
    "  preview IN OUT.png --purpose P [--format 565|555] [--over PICTURE]\n"
    "                            draw a picture as the game does, into a PNG\n"
    "  check DIR                 say for every TIFF and WAV under DIR whether the\n"
    "                            engine loads it\n"
    "  info FILE.tif             describe a TIFF file and say whether the engine loads it\n"
    "  info FILE.wav             describe a WAV file and say whether the engine loads it\n"
    "  topng FILE.tif OUT.png    write the colours (and alpha) the engine reads as a PNG\n"
    "  totiff IN.png OUT.tif     write a PNG as an RGB TIFF through the engine's writer\n"
    "  play FILE.wav [--volume V] [--pan P]\n"
    "                            play a WAV file through the engine's sound\n"
    "\n"
    "corvane-asset --log FILE COMMAND ARGS... writes the engine's log (debug.txt in\n"
    "a game) to FILE; without it the log goes nowhere, and no command touches a\n"
    "debug.txt in the folder it runs in.\n"
    "\n"
    "P, a purpose, is how the game draws the picture: plain, masked, alpha or additive.\n"
    "corvane-asset COMMAND --help describes one command.\n";

struct Command {
    const char* name;
    const char* help;
    int arguments;  // after the command's name; -1: the command reads its own
    int (*run)(int argc, char** argv);
};

const Command kCommands[] = {
    {"convert", asset::kConvertHelp, -1, asset::Convert},
    {"preview", asset::kPreviewHelp, -1, asset::Preview},
    {"check", asset::kCheckHelp, -1, asset::Check},
    {"info", asset::kInfoHelp, 1,
     [](int, char** argv) {
         return IsWavFile(argv[2]) ? WavInfo(argv[2]) : asset::TiffInfo(argv[2]);
     }},
    {"topng", asset::kToPngHelp, 2,
     [](int, char** argv) { return asset::ToPng(argv[2], argv[3]); }},
    {"totiff", asset::kToTiffHelp, 2,
     [](int, char** argv) { return asset::ToTiff(argv[2], argv[3]); }},
    {"play", kPlayHelp, -1, PlayWav},
};

}  // namespace

int main(int argc, char** argv) {
    // The engine's log stays closed (CLOSED_LOG) unless asked for: reasons are
    // reported on the terminal.
    if (argc >= 2 && std::strcmp(argv[1], "--log") == 0) {
        if (argc < 4) {
            std::fprintf(stderr, "corvane-asset: --log takes a file and a command\n\n%s", kUsage);
            return asset::kExitError;
        }
        Debug.KeepAt(argv[2]);
        if (Debug.stream == nullptr)
            return asset::Fail(std::string(argv[2]) + ": cannot be written");
        // The command's arguments as if --log FILE were not there.
        argv[2] = argv[0];
        argv += 2;
        argc -= 2;
    }
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        std::fputs(kUsage, argc < 2 ? stderr : stdout);
        return argc < 2 ? asset::kExitError : 0;
    }
    for (const Command& command : kCommands) {
        if (std::strcmp(argv[1], command.name) != 0) continue;
        if (asset::WantsHelp(argc, argv)) {
            std::fputs(command.help, stdout);
            if (command.help == asset::kInfoHelp) std::fputs(kWavInfoHelp, stdout);
            return 0;
        }
        if (command.arguments >= 0 && argc != command.arguments + 2) {
            std::fprintf(stderr, "corvane-asset: %s takes %d argument%s\n\n%s", command.name,
                         command.arguments, command.arguments == 1 ? "" : "s", command.help);
            return asset::kExitError;
        }
        return command.run(argc, argv);
    }
    std::fprintf(stderr, "corvane-asset: unknown command '%s'\n\n%s", argv[1], kUsage);
    return asset::kExitError;
}
