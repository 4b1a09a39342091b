// corvane-play: plays one WAV file through the engine on the SDL backend and
// returns when it has finished. corvane-asset's "play" command runs it.
//   corvane-play FILE.wav [--volume V] [--pan P]
// V is 0..1 (1 = full volume), P is -1..1 (-1 = left only). SDL picks the
// audio driver; SDL_AUDIODRIVER=disk with SDL_DISKAUDIOFILE=out.raw writes the
// mixed samples (16-bit stereo, 44100 per second) to a file instead.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "shell/debugger.h"
#include "shell/windx.h"
#include "sound/soundx.h"

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: corvane-play FILE.wav [--volume V] [--pan P]\n"
                 "  V: 0 (-50 dB) to 1 (full volume), default 1\n"
                 "  P: -1 (left only) to 1 (right only), default 0\n");
    return 2;
}

bool ParseNumber(const char* text, float low, float high, float* out) {
    char* end = nullptr;
    const float value = std::strtof(text, &end);
    if (end == text || *end != '\0' || !(value >= low && value <= high)) return false;
    *out = value;
    return true;
}

bool Playing(IDirectSoundBuffer* buffer) {
    DWORD status = 0;
    return buffer->GetStatus(&status) == DS_OK && (status & DSBSTATUS_PLAYING) != 0;
}

}  // namespace

int main(int argc, char** argv) {
    const char* path = nullptr;
    float volume = 1.0f;
    float pan = 0.0f;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--volume") == 0 && i + 1 < argc) {
            if (!ParseNumber(argv[++i], 0.0f, 1.0f, &volume)) return Usage();
        } else if (std::strcmp(argv[i], "--pan") == 0 && i + 1 < argc) {
            if (!ParseNumber(argv[++i], -1.0f, 1.0f, &pan)) return Usage();
        } else if (path == nullptr && argv[i][0] != '-') {
            path = argv[i];
        } else {
            return Usage();
        }
    }
    if (path == nullptr) return Usage();
    // No debug.txt in the user's folder: reports reach the terminal.
    Debug.Close();

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

    // Only the sound part of start-up: playing needs no window.
    if (!Corvane.StartDirectSound()) {
        Corvane.ReportError();
        return 1;
    }
    const int statusBefore = Corvane.GetStatus();
    Corvane.PlaySoundEx(&sound, 0, volume, pan);
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
