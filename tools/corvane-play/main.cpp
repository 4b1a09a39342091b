// corvane-play: plays one WAV file through the engine on the SDL backend and
// returns when it has finished. corvane-asset's "play" command runs it.
//   corvane-play [--volume V] [--pan P] FILE.wav
// V is 0..1 (1 = full volume), P is -1..1 (-1 = left only). SDL picks the
// audio driver; SDL_AUDIODRIVER=disk with SDL_DISKAUDIOFILE=out.raw writes the
// mixed samples (16-bit stereo, 44100 per second) to a file instead.
//
// The SDL backend's main() starts every program through WinMain with the
// arguments joined by single blanks; the options come first and everything
// after them is the file's name, blanks and all.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "platform/api/platform.h"
#include "platform/sdl/sdl_program.h"
#include "shell/windx.h"
#include "sound/soundx.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: corvane-play [--volume V] [--pan P] FILE.wav\n"
                 "  V: 0 (-50 dB) to 1 (full volume), default 1\n"
                 "  P: -1 (left only) to 1 (right only), default 0\n");
    return 2;
}

bool ParseNumber(const std::string& text, float low, float high, float* out) {
    char* end = nullptr;
    const float value = std::strtof(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !(value >= low && value <= high)) return false;
    *out = value;
    return true;
}

// The next blank-separated word of `line` from `at` on; `at` moves past it.
std::string NextWord(const std::string& line, std::size_t* at) {
    const std::size_t start = line.find_first_not_of(' ', *at);
    if (start == std::string::npos) {
        *at = line.size();
        return "";
    }
    const std::size_t end = std::min(line.find(' ', start), line.size());
    *at = end;
    return line.substr(start, end - start);
}

bool Playing(IDirectSoundBuffer* buffer) {
    DWORD status = 0;
    return buffer->GetStatus(&status) == DS_OK && (status & DSBSTATUS_PLAYING) != 0;
}

struct Options {
    float volume = 1.0f;
    float pan = 0.0f;
    std::string file;
};

// The options come first and everything after them is the file's name; false
// when the line asks for nothing the program can do.
bool ReadOptions(const std::string& line, Options* options) {
    std::size_t at = 0;
    for (;;) {
        std::size_t next = at;
        const std::string word = NextWord(line, &next);
        if (word != "--volume" && word != "--pan") break;
        const bool pan = word == "--pan";
        if (!ParseNumber(NextWord(line, &next), pan ? -1.0f : 0.0f, 1.0f,
                         pan ? &options->pan : &options->volume))
            return false;
        at = next;
    }
    const std::size_t start = line.find_first_not_of(' ', at);
    if (start == std::string::npos || line[start] == '-') return false;
    options->file = line.substr(start);
    return true;
}

// Plays a loaded sound through the engine's DirectSound and waits for its end.
int PlayToTheEnd(SoundX& sound, const Options& options) {
    const char* path = options.file.c_str();
    // Only the sound part of start-up: playing needs no window.
    if (!Corvane.StartDirectSound()) {
        Corvane.ReportError();
        return 1;
    }
    const int statusBefore = Corvane.GetStatus();
    Corvane.PlaySoundEx(&sound, 0, options.volume, options.pan);
    if (Corvane.GetStatus() != statusBefore) return 1;

    IDirectSoundBuffer* buffer = Corvane.soundBuffers[sound.GetSlot()];
    const auto limit =
        std::chrono::steady_clock::now() +
        std::chrono::milliseconds(static_cast<long>(sound.GetDuration() * 1000) + 5000);
    while (Playing(buffer) && std::chrono::steady_clock::now() < limit)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const bool finished = !Playing(buffer);
    // The device's own queue still holds the last few milliseconds.
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    Corvane.directSound->Release();
    Corvane.directSound = nullptr;
    if (!finished) {
        std::fprintf(stderr, "corvane-play: the sound device stopped playing %s\n", path);
        return 1;
    }
    return 0;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    Options options;
    if (!ReadOptions(commandLine != nullptr ? commandLine : "", &options)) return Usage();
    const char* path = options.file.c_str();
    // A sound no one can hear is a failure here, reported as SOUNDINIT_FAILED.
    sdl::SetSilentWithoutSoundDevice(false);

    // A missing file or a malformed header ends the program with the loader's
    // message, as in a game.
    SoundX sound;
    if (!sound.Load(path)) {
        std::fprintf(stderr, "corvane-play: %s is not a playable PCM WAV file\n", path);
        return 1;
    }
    if (sound.GetFrames() == 0) {
        std::fprintf(stderr, "corvane-play: %s holds no samples the engine finds\n", path);
        return 1;
    }
    return PlayToTheEnd(sound, options);
}
