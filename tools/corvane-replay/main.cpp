// corvane-replay: plays the game without a screen, with keys held from a
// script, and saves chosen frames as PNG pictures.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/headless/control.h"
#include "tools/common/frame_png.h"
#include "tools/corvane-replay/replay.h"

namespace {

const char kUsage[] =
    "usage: corvane-replay [--dir DIR] [--keys SCRIPT] [--frames N] [--png-at LIST] [--out DIR]\n"
    "\n"
    "Runs the game on the headless display in DIR (default: the current folder),\n"
    "which must hold the game's Images folder; debug.txt is written there.\n"
    "\n"
    "  --keys SCRIPT   keys held one hold after the other, e.g. \"right:120,down:60,left+up:30\";\n"
    "                  key names: left right up down escape space return, letters, digits;\n"
    "                  \"none:50\" holds nothing for 50 frames\n"
    "  --frames N      frames to run (default: as many as the script covers, at least 1)\n"
    "  --png-at LIST   frames to save, e.g. \"1,150\" (frames count from 1)\n"
    "  --out DIR       folder for the pictures, frame_NNNN.png (default: the current folder)\n";

int Fail(const std::string& message) {
    std::fprintf(stderr, "corvane-replay: %s\n", message.c_str());
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    replay::Options options;
    options.echoMessageBoxes = true;
    // Nothing here reads the platform's call record; long replays must not grow it.
    options.setUp = [] { headless::RecordCalls(false); };
    std::string out = ".";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (i + 1 >= argc) return Fail("\"" + arg + "\" needs a value\n\n" + kUsage);
        const std::string value = argv[++i];
        std::string error;
        if (arg == "--dir") {
            options.folder = value;
        } else if (arg == "--keys") {
            if (!replay::ParseKeyScript(value, options.keys, error))
                return Fail("--keys: " + error);
        } else if (arg == "--frames") {
            std::vector<int> single;
            if (!replay::ParseFrameList(value, single, error) || single.size() != 1)
                return Fail("--frames needs one whole number from 1");
            options.frames = single[0];
        } else if (arg == "--png-at") {
            if (!replay::ParseFrameList(value, options.captureAt, error))
                return Fail("--png-at: " + error);
        } else if (arg == "--out") {
            out = value;
        } else {
            return Fail("unknown option \"" + arg + "\"\n\n" + kUsage);
        }
    }

    std::error_code made;
    const std::filesystem::path outFolder = std::filesystem::absolute(out, made);
    if (!options.captureAt.empty()) std::filesystem::create_directories(outFolder, made);
    if (!std::filesystem::is_directory(std::filesystem::path(options.folder) / "Images"))
        std::fprintf(stderr, "corvane-replay: warning: %s holds no Images folder\n",
                     options.folder.c_str());

    const replay::Result result = replay::Run(options);
    if (!result.error.empty()) return Fail(result.error);

    int failures = 0;
    for (const replay::Capture& capture : result.captures) {
        char name[32];
        std::snprintf(name, sizeof name, "frame_%04d.png", capture.number);
        const std::string path = (outFolder / name).string();
        std::string error;
        if (capture.presented < capture.number)
            std::fprintf(stderr,
                         "corvane-replay: frame %d was not presented; saving the last "
                         "picture shown\n",
                         capture.number);
        if (png_io::WriteFramePng(path, capture.picture, error)) {
            std::printf("saved %s\n", path.c_str());
        } else {
            std::fprintf(stderr, "corvane-replay: %s\n", error.c_str());
            ++failures;
        }
    }
    for (int number : options.captureAt)
        if (number > result.framesRun)
            std::fprintf(stderr, "corvane-replay: frame %d was never reached\n", number);

    const double fps = result.frameSeconds > 0 ? result.framesRun / result.frameSeconds : 0.0;
    std::printf("frames run: %d\n", result.framesRun);
    std::printf("frames per second: %.1f\n", fps);
    std::printf("time in initialize: %.1f ms\n", result.initializeSeconds * 1000.0);
    std::printf("exit code: %d\n", result.exitCode);
    if (failures != 0) return 1;
    return result.exitCode == 0 ? 0 : 1;
}
