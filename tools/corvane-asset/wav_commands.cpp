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

const char kWavInfoHelp[] =
    "usage: corvane-asset info FILE.wav\n"
    "\n"
    "Prints the format chunk of a WAV file and what the engine's loader takes from\n"
    "it: samples per second, bits per sample, channels, frames, duration and data\n"
    "bytes. Exit status: 0 when the engine loads it, 2 when it would refuse it\n"
    "(a malformed header ends the game with exit code -1; other encodings and\n"
    "impossible formats are refused quietly), 1 on other errors.\n";

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

int Fail(const std::string& message) {
    std::fprintf(stderr, "corvane-asset: %s\n", message.c_str());
    return 1;
}

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

int WavInfo(const char* path) {
    std::FILE* probe = std::fopen(path, "rb");
    if (probe == nullptr) return Fail(std::string(path) + ": cannot be read");
    std::fclose(probe);
    if (std::strlen(path) >= FILE_NAME_SIZE)
        return Fail(std::string(path) + ": the engine's files take names of at most 99 characters");

    // The header as the loader reads it, in the same order: the loader ends the
    // program when one of these tags is not in place.
    const std::vector<std::uint8_t> head = Head(path, 36);
    std::printf("file: %s\n", path);
    if (!TagAt(head, 0, "RIFF") || !TagAt(head, 8, "WAVE") || !TagAt(head, 12, "fmt ")) {
        std::printf(
            "engine: refuses it: no RIFF, WAVE and \"fmt \" header (the game would end "
            "with its \"WAV Format Invalid\" box)\n");
        return 2;
    }
    const std::uint32_t formatSize = Little(head, 16, 4);
    const auto tag = static_cast<std::uint16_t>(Little(head, 20, 2));
    const auto channels = static_cast<std::uint16_t>(Little(head, 22, 2));
    const auto rate = static_cast<std::int32_t>(Little(head, 24, 4));
    const auto bits = static_cast<std::uint16_t>(Little(head, 34, 2));
    if (tag != 1) {
        std::printf("format: tag %u (not PCM)\n", tag);
        std::printf("engine: refuses it quietly: only uncompressed PCM (tag 1) is played\n");
        return 2;
    }
    std::printf("format: PCM (1), format chunk of %u bytes\n", formatSize);
    std::printf("rate: %d per second\n", rate);
    std::printf("bits: %u\n", bits);
    std::printf("channels: %u%s\n", channels, ChannelName(channels));
    if (const char* problem = SoundX::FormatProblem(formatSize, channels, bits, rate)) {
        std::printf("engine: refuses it: %s\n", problem);
        return 2;
    }

    SoundX sound;
    if (!sound.Load(path)) return Fail(std::string(path) + ": the engine refused it");
    std::printf("frames: %d\n", sound.GetFrames());
    std::printf("duration: %.3f s\n", static_cast<double>(sound.GetDuration()));
    std::printf("data bytes: %d\n", sound.GetLength());
    if (sound.GetData() == nullptr)
        std::printf(
            "engine: loads it but finds no data chunk: the loader looks for it every "
            "four bytes, so a chunk before it whose size is not a multiple of four "
            "hides it\n");
    else if (bits > 16)
        std::printf(
            "engine: loads its sizes but not its samples (more than 16 bits per "
            "sample); a buffer for it gets 8- or 16-bit silence\n");
    else
        std::printf("engine: loads it as it stands\n");
    return 0;
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
    if (length <= 0) return Fail("cannot find where corvane-asset is installed");
    self[length] = '\0';
    std::string player(self);
    player = player.substr(0, player.find_last_of('/') + 1) + "corvane-play";
    if (access(player.c_str(), X_OK) != 0)
        return Fail("play needs " + player +
                    ", which is built with the SDL backend (install libsdl2-dev and build "
                    "again)");

    std::vector<char*> args = {player.data()};
    args.insert(args.end(), options.begin(), options.end());
    args.push_back(file);
    args.push_back(nullptr);
    std::fflush(nullptr);
    execv(player.c_str(), args.data());
    return Fail("cannot run " + player + ": " + std::strerror(errno));
}
