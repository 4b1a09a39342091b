// A game's replay program: plays the game without a screen, with keys held and
// the mouse moved from scripts, saves chosen frames as PNG pictures, and checks
// a frame against a golden picture or the mixed sound against a checksum. The
// game is whichever is linked with this file: corvane-replay plays ours, every
// example's <name>-replay that example, and corvane_add_program(... REPLAY)
// makes one for any game.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/headless/control.h"
#include "tools/common/frame_png.h"
#include "tools/common/golden.h"
#include "tools/corvane-replay/replay.h"
#include "tools/corvane-replay/sound_record.h"

namespace {

// The program's own name, as it was started, for its usage and its messages.
std::string program = "corvane-replay";

std::string Usage() {
    const std::string indent(program.size() + 8, ' ');
    return "usage: " + program + " [--dir DIR] [--keys SCRIPT] [--mouse SCRIPT] [--frames N]\n" +
           indent + "[--png-at LIST] [--out DIR] [--golden FILE]\n" + indent +
           "[--sound FILE] [--sound-crc HEX] [--no-sound-device]\n"
           "\n"
           "Runs the game on the headless display in DIR (default: the current folder),\n"
           "where it finds its files (its Images folder) and writes debug.txt.\n"
           "\n"
           "  --keys SCRIPT   keys held one hold after the other, e.g. "
           "\"right:120,down:60,left+up:30\";\n"
           "                  key names: left right up down escape space return backspace,\n"
           "                  letters, digits; \"none:50\" holds nothing for 50 frames\n"
           "  --mouse SCRIPT  mouse strokes one after the other from 0/0, e.g.\n"
           "                  \"400/250:1,left@500/300:20\": [left|right|middle@]x/y:frames "
           "moves\n"
           "                  to x/y, one move a frame, with that button held on the way\n"
           "  --frames N      frames to run (default: as many as the scripts cover, at least 1)\n"
           "  --png-at LIST   frames to save, e.g. \"1,150\" (frames count from 1)\n"
           "  --out DIR       folder for the pictures, frame_NNNN.png (default: the current "
           "folder)\n"
           "  --golden FILE   compares the one frame of --png-at with the PNG FILE exactly; a\n"
           "                  difference or any message box fails the run (exit status 1), and\n"
           "                  frame_NNNN_diff.png in --out shows the changed pixels\n"
           "  --sound FILE    mixes the sound as if every frame lasted 1/60 s (44100 Hz, 16-bit\n"
           "                  stereo), writes it to the WAV FILE and prints its CRC-32\n"
           "  --sound-crc HEX mixes the sound likewise; a CRC-32 other than HEX, or any message\n"
           "                  box, fails the run\n"
           "  --no-sound-device  plays on a machine without a sound device: a game that plays\n"
           "                  sound fails to start (SOUNDINIT_FAILED), one that asks for none\n"
           "                  plays as anywhere\n";
}

constexpr int kSoundRate = 44100;

int Fail(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", program.c_str(), message.c_str());
    return 2;
}

// The command line beyond the replay's own options.
struct Command {
    replay::Options options;
    std::string out = ".";
    std::string golden;     // PNG to compare the one captured frame with
    std::string soundFile;  // WAV to write the mixed sound into
    std::string soundCrc;   // expected CRC-32 of the mixed sound, hexadecimal
    bool noSoundDevice = false;
};

// Reads the arguments into command. Returns -1 to go on, else the exit status
// (0 after --help, 2 for a bad command line, which has been reported).
int Parse(int argc, char** argv, Command& command) {
    replay::Options& options = command.options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(Usage().c_str(), stdout);
            return 0;
        }
        if (arg == "--no-sound-device") {
            command.noSoundDevice = true;
            continue;
        }
        if (i + 1 >= argc) return Fail("\"" + arg + "\" needs a value\n\n" + Usage());
        const std::string value = argv[++i];
        std::string error;
        if (arg == "--dir") {
            options.folder = value;
        } else if (arg == "--keys") {
            if (!replay::ParseKeyScript(value, options.keys, error))
                return Fail("--keys: " + error);
        } else if (arg == "--mouse") {
            if (!replay::ParseMouseScript(value, options.mouse, error))
                return Fail("--mouse: " + error);
        } else if (arg == "--frames") {
            std::vector<int> single;
            if (!replay::ParseFrameList(value, single, error) || single.size() != 1)
                return Fail("--frames needs one whole number from 1");
            options.frames = single[0];
        } else if (arg == "--png-at") {
            if (!replay::ParseFrameList(value, options.captureAt, error))
                return Fail("--png-at: " + error);
        } else if (arg == "--out") {
            command.out = value;
        } else if (arg == "--golden") {
            command.golden = value;
        } else if (arg == "--sound") {
            command.soundFile = value;
        } else if (arg == "--sound-crc") {
            if (value.empty() || value.size() > 8 ||
                value.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                return Fail("--sound-crc needs up to eight hexadecimal digits");
            command.soundCrc = value;
        } else {
            return Fail("unknown option \"" + arg + "\"\n\n" + Usage());
        }
    }
    if (!command.golden.empty() && options.captureAt.size() != 1)
        return Fail("--golden needs exactly one frame in --png-at");
    if (!command.soundFile.empty() || !command.soundCrc.empty()) options.soundRate = kSoundRate;
    return -1;
}

// Saves every captured frame as frame_NNNN.png; returns the failures.
int SaveCaptures(const replay::Result& result, const std::filesystem::path& outFolder) {
    int failures = 0;
    for (const replay::Capture& capture : result.captures) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%04d.png", capture.number);
        const std::string path = (outFolder / name).string();
        std::string error;
        if (capture.presented < capture.number)
            std::fprintf(stderr, "%s: frame %d was not presented; saving the last picture shown\n",
                         program.c_str(), capture.number);
        if (png_io::WriteFramePng(path, capture.picture, error)) {
            std::printf("saved %s\n", path.c_str());
        } else {
            std::fprintf(stderr, "%s: %s\n", program.c_str(), error.c_str());
            ++failures;
        }
    }
    return failures;
}

// Compares the captured frame with the golden picture; returns the failures.
int CheckGolden(const Command& command, const replay::Result& result,
                const std::filesystem::path& outFolder) {
    const int number = command.options.captureAt[0];
    if (result.captures.empty()) {
        std::fprintf(stderr, "%s: check failed: frame %d was not captured\n", program.c_str(),
                     number);
        return 1;
    }
    char name[32];
    std::snprintf(name, sizeof name, "frame_%04d", number);
    std::string message;
    if (!png_io::MatchesGolden(result.captures[0].picture, command.golden, outFolder.string(), name,
                               message)) {
        std::fprintf(stderr, "%s: check failed: frame %d: %s\n", program.c_str(), number,
                     message.c_str());
        return 1;
    }
    std::printf("frame %d matches %s\n", number, command.golden.c_str());
    return 0;
}

// Prints the mixed sound's checksum, writes it and compares the checksum, as
// the command asks; returns the failures.
int ReportSound(const Command& command, const replay::Result& result) {
    const std::uint32_t crc = replay::SoundChecksum(result.sound);
    std::printf("sound: %zu frames at %d Hz, crc32 %08x\n", result.sound.size() / 2,
                command.options.soundRate, static_cast<unsigned>(crc));
    int failures = 0;
    std::string error;
    if (!command.soundFile.empty() && !replay::WriteStereoWav(command.soundFile, result.sound,
                                                              command.options.soundRate, error)) {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), error.c_str());
        ++failures;
    }
    if (!command.soundCrc.empty() && std::strtoul(command.soundCrc.c_str(), nullptr, 16) != crc) {
        std::fprintf(stderr, "%s: check failed: the sound's crc32 is %08x, not %s\n",
                     program.c_str(), static_cast<unsigned>(crc), command.soundCrc.c_str());
        ++failures;
    }
    return failures;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 0 && argv[0] != nullptr && argv[0][0] != '\0')
        program = std::filesystem::path(argv[0]).filename().string();
    Command command;
    replay::Options& options = command.options;
    options.echoMessageBoxes = true;
    // Nothing here reads the platform's call record; long replays must not grow it.
    options.setUp = [&command] {
        headless::RecordCalls(false);
        if (command.noSoundDevice)
            headless::FailFrom(headless::Op::DirectSoundCreate, 1, DSERR_NODRIVER);
    };
    const int parsed = Parse(argc, argv, command);
    if (parsed >= 0) return parsed;

    std::error_code made;
    const std::filesystem::path outFolder = std::filesystem::absolute(command.out, made);
    if (!options.captureAt.empty()) std::filesystem::create_directories(outFolder, made);

    const replay::Result result = replay::Run(options);
    if (!result.error.empty()) return Fail(result.error);

    int failures = SaveCaptures(result, outFolder);
    for (int number : options.captureAt)
        if (number > result.framesRun)
            std::fprintf(stderr, "%s: frame %d was never reached\n", program.c_str(), number);
    // A check also fails on any message box: a game that reports an error has
    // not run as its golden picture or sound was made.
    if ((!command.golden.empty() || !command.soundCrc.empty()) && !result.messageBoxes.empty()) {
        std::fprintf(stderr, "%s: check failed: %zu message boxes were shown\n", program.c_str(),
                     result.messageBoxes.size());
        ++failures;
    }
    if (!command.golden.empty()) failures += CheckGolden(command, result, outFolder);
    if (options.soundRate > 0) failures += ReportSound(command, result);

    const double fps = result.frameSeconds > 0 ? result.framesRun / result.frameSeconds : 0.0;
    std::printf("frames run: %d\n", result.framesRun);
    std::printf("frames per second: %.1f\n", fps);
    std::printf("time in initialize: %.1f ms\n", result.initializeSeconds * 1000.0);
    std::printf("exit code: %d\n", result.exitCode);
    if (failures != 0) return 1;
    return result.exitCode == 0 ? 0 : 1;
}
