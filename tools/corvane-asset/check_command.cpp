#include "tools/corvane-asset/check_command.h"

#include <strings.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "image/image.h"
#include "tiff/tiff_file.h"
#include "tools/corvane-asset/asset_tool.h"
#include "tools/corvane-asset/tiff_commands.h"
#include "tools/corvane-asset/wav_commands.h"

namespace asset {

const char kCheckHelp[] =
    "usage: corvane-asset check DIR\n"
    "\n"
    "Runs every TIFF (.tif, .tiff) and WAV (.wav) file under DIR, and under the\n"
    "folders in it, through the engine's loaders, and prints one line for each:\n"
    "loads, loads wrongly (a compressed TIFF, a TIFF cut short, a WAV whose\n"
    "samples the loader misses) or would be refused (a TIFF the game would end on),\n"
    "and why; then a count. Exit status: 0 when every file loads, 2 when one would\n"
    "be refused, 3 when none is refused but one loads wrongly, 1 on other errors.\n";

namespace {

bool EndsWith(const std::string& name, const char* ending) {
    const std::size_t length = std::char_traits<char>::length(ending);
    return name.size() >= length && strcasecmp(name.c_str() + name.size() - length, ending) == 0;
}

bool IsTiffName(const std::string& name) {
    return EndsWith(name, ".tif") || EndsWith(name, ".tiff");
}

std::string TiffSummary(const TiffFile& tiff) {
    return std::to_string(tiff.width) + " x " + std::to_string(tiff.height) +
           ((tiff.imageFormat & IMAGE_ALPHA) ? ", with alpha" : "");
}

std::string WavSummary(const WavVerdict& wav) {
    char text[100];
    std::snprintf(text, sizeof text, "%d per second, %u bits, %u channel%s, %.3f s", wav.rate,
                  wav.bits, wav.channels, wav.channels == 1 ? "" : "s",
                  static_cast<double>(wav.duration));
    return text;
}

}  // namespace

int Check(int argc, char** argv) {
    if (argc != 3) return Fail(std::string("check takes one folder\n\n") + kCheckHelp);
    const std::filesystem::path folder(argv[2]);
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error))
        return Fail(folder.string() + ": is not a folder");

    std::vector<std::filesystem::path> files;
    for (std::filesystem::recursive_directory_iterator
             it(folder, std::filesystem::directory_options::skip_permission_denied, error),
         end;
         !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (it->is_regular_file(error) && (IsTiffName(name) || EndsWith(name, ".wav")))
            files.push_back(it->path());
    }
    if (error) return Fail(folder.string() + ": " + error.message());
    if (files.empty()) return Fail(folder.string() + ": holds no TIFF or WAV files");
    std::sort(files.begin(), files.end());

    int counts[3] = {};
    for (const std::filesystem::path& file : files) {
        const std::string path = file.string();
        Outcome outcome;
        std::string reason;
        std::string summary;
        if (IsTiffName(path)) {
            TiffFile tiff;
            outcome = JudgeTiff(path, tiff, reason);
            summary = TiffSummary(tiff);
        } else {
            const WavVerdict wav = JudgeWav(path.c_str());
            outcome = wav.outcome;
            reason = wav.reason;
            summary = WavSummary(wav);
        }
        ++counts[static_cast<int>(outcome)];
        if (outcome == Outcome::Loads)
            std::printf("%s: loads (%s)\n", path.c_str(), summary.c_str());
        else
            std::printf("%s: %s: %s\n", path.c_str(), OutcomeWords(outcome), reason.c_str());
    }
    const int loads = counts[static_cast<int>(Outcome::Loads)];
    const int wrongly = counts[static_cast<int>(Outcome::LoadsWrongly)];
    const int refused = counts[static_cast<int>(Outcome::Refused)];
    std::printf("%zu files: %d load, %d load wrongly, %d would be refused\n", files.size(), loads,
                wrongly, refused);
    return ExitStatus(refused > 0   ? Outcome::Refused
                      : wrongly > 0 ? Outcome::LoadsWrongly
                                    : Outcome::Loads);
}

}  // namespace asset
