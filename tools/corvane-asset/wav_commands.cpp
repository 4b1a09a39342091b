#include "tools/corvane-asset/wav_commands.h"

#include <strings.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "files/file.h"
#include "platform/headless/control.h"
#include "sound/soundx.h"
#include "tools/corvane-asset/asset_tool.h"

const char kWavInfoHelp[] =
    "usage: corvane-asset info FILE.wav\n"
    "\n"
    "Prints the format chunk of a WAV file and what the engine's loader takes from\n"
    "it: samples per second, bits per sample, channels, frames, duration and data\n"
    "bytes. Exit status: 0 when the engine loads it, 2 when it would refuse it\n"
    "(a malformed header ends the game with exit code -1; other encodings and\n"
    "impossible formats are refused quietly), 3 when it loads it wrongly (no\n"
    "samples: a hidden data chunk, more than 16 bits), 1 on other errors.\n";

const char kPlayHelp[] =
    "usage: corvane-asset play FILE.wav [--volume V] [--pan P]\n"
    "\n"
    "Plays FILE.wav through the engine's sound on the SDL backend (the program\n"
    "corvane-play beside corvane-asset) and returns when it has finished.\n"
    "V is 0 (-50 dB) to 1 (full volume, the default); P is -1 (left only) to 1\n"
    "(right only), 0 by default. SDL_AUDIODRIVER chooses SDL's audio driver;\n"
    "SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=out.raw writes the mixed samples\n"
    "(16-bit stereo, 44100 per second) to out.raw instead of a sound card.\n"
    "Exit status: 0 played, 1 on errors.\n";

namespace {

// The first bytes of a file, fewer if it is shorter.
std::vector<std::uint8_t> Head(const char* path, std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) return {};
    bytes.resize(std::fread(bytes.data(), 1, count, file));
    std::fclose(file);
    return bytes;
}

std::uint32_t Little(const std::vector<std::uint8_t>& bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | (at + i < bytes.size() ? bytes[at + i] : 0u);
    return value;
}

bool TagAt(const std::vector<std::uint8_t>& bytes, std::size_t at, const char* tag) {
    return bytes.size() >= at + 4 && std::memcmp(bytes.data() + at, tag, 4) == 0;
}

const char* ChannelName(int channels) {
    return channels == 1 ? " (mono)" : channels == 2 ? " (stereo)" : "";
}

}  // namespace

bool IsWavFile(const char* path) {
    const std::size_t length = std::strlen(path);
    if (length >= 4 && strcasecmp(path + length - 4, ".wav") == 0) return true;
    const std::vector<std::uint8_t> head = Head(path, 12);
    return TagAt(head, 0, "RIFF") && TagAt(head, 8, "WAVE");
}

WavVerdict JudgeWav(const char* path) {
    WavVerdict verdict;
    // The header as the loader reads it, in the same order: the loader ends the
    // program when one of these tags is not in place.
    const std::vector<std::uint8_t> head = Head(path, 36);
    if (!TagAt(head, 0, "RIFF") || !TagAt(head, 8, "WAVE") || !TagAt(head, 12, "fmt ")) {
        verdict.reason =
            "no RIFF, WAVE and \"fmt \" header (the game would end with its \"WAV Format "
            "Invalid\" box)";
        return verdict;
    }
    verdict.header = true;
    verdict.formatSize = Little(head, 16, 4);
    verdict.tag = static_cast<std::uint16_t>(Little(head, 20, 2));
    verdict.channels = static_cast<std::uint16_t>(Little(head, 22, 2));
    verdict.rate = static_cast<std::int32_t>(Little(head, 24, 4));
    verdict.bits = static_cast<std::uint16_t>(Little(head, 34, 2));
    if (verdict.tag != 1) {
        verdict.reason = "only uncompressed PCM (tag 1) is played";
        return verdict;
    }
    if (const char* problem = SoundX::FormatProblem(verdict.formatSize, verdict.channels,
                                                    verdict.bits, verdict.rate)) {
        verdict.reason = problem;
        return verdict;
    }

    SoundX sound;
    {
        const asset::InFileFolder folder(path);
        if (!folder.Fits()) {
            verdict.reason =
                "its name has more than 99 characters, more than the engine's files take";
            return verdict;
        }
        if (!sound.Load(folder.Name())) {
            verdict.reason = "the engine's loader refused it";
            return verdict;
        }
    }
    verdict.loaded = true;
    verdict.frames = sound.GetFrames();
    verdict.duration = sound.GetDuration();
    verdict.length = sound.GetLength();
    verdict.outcome = asset::Outcome::LoadsWrongly;
    if (sound.GetData() == nullptr)
        verdict.reason =
            "the loader finds no data chunk: it looks for one every four bytes, so a chunk "
            "before it whose size is not a multiple of four hides it";
    else if (verdict.bits > 16)
        verdict.reason =
            "the loader reads its sizes but not its samples (more than 16 bits per sample); "
            "a buffer for it gets 8- or 16-bit silence";
    else
        verdict.outcome = asset::Outcome::Loads;
    return verdict;
}

int WavInfo(const char* path) {
    std::FILE* probe = std::fopen(path, "rb");
    if (probe == nullptr) return asset::Fail(std::string(path) + ": cannot be read");
    std::fclose(probe);

    const WavVerdict verdict = JudgeWav(path);
    std::printf("file: %s\n", path);
    if (verdict.header && verdict.tag != 1) {
        std::printf("format: tag %u (not PCM)\n", verdict.tag);
        std::printf("engine: refuses it quietly: %s\n", verdict.reason.c_str());
        return asset::ExitStatus(verdict.outcome);
    }
    if (verdict.header) {
        std::printf("format: PCM (1), format chunk of %u bytes\n", verdict.formatSize);
        std::printf("rate: %d per second\n", verdict.rate);
        std::printf("bits: %u\n", verdict.bits);
        std::printf("channels: %u%s\n", verdict.channels, ChannelName(verdict.channels));
    }
    if (verdict.loaded) {
        std::printf("frames: %d\n", verdict.frames);
        std::printf("duration: %.3f s\n", static_cast<double>(verdict.duration));
        std::printf("data bytes: %d\n", verdict.length);
    }
    switch (verdict.outcome) {
        case asset::Outcome::Loads:
            std::printf("engine: loads it as it stands\n");
            break;
        case asset::Outcome::LoadsWrongly:
            std::printf("engine: loads it wrongly: %s\n", verdict.reason.c_str());
            break;
        case asset::Outcome::Refused:
            std::printf("engine: refuses it: %s\n", verdict.reason.c_str());
            break;
    }
    return asset::ExitStatus(verdict.outcome);
}

int PlayWav(int argc, char** argv) {
    // corvane-play takes its options first and the file's name last.
    std::vector<char*> options;
    char* file = nullptr;
    for (int i = 2; i < argc; ++i) {
        const bool option =
            std::strcmp(argv[i], "--volume") == 0 || std::strcmp(argv[i], "--pan") == 0;
        if (option && i + 1 < argc) {
            options.push_back(argv[i]);
            options.push_back(argv[++i]);
        } else if (file == nullptr && argv[i][0] != '-') {
            file = argv[i];
        } else {
            std::fprintf(stderr, "corvane-asset: play: unexpected '%s'\n\n%s", argv[i], kPlayHelp);
            return 1;
        }
    }
    if (file == nullptr) {
        std::fprintf(stderr, "corvane-asset: play takes a WAV file\n\n%s", kPlayHelp);
        return 1;
    }
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0) return asset::Fail("cannot find where corvane-asset is installed");
    self[length] = '\0';
    std::string player(self);
    player = player.substr(0, player.find_last_of('/') + 1) + "corvane-play";
    if (access(player.c_str(), X_OK) != 0)
        return asset::Fail("play needs " + player +
                           ", which is built with the SDL backend (install libsdl2-dev and build "
                           "again)");

    std::vector<char*> args = {player.data()};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(file);
    args.push_back(nullptr);
    std::fflush(nullptr);
    execv(player.c_str(), args.data());
    return asset::Fail("cannot run " + player + ": " + std::strerror(errno));
}
