// corvane-asset's WAV commands: info through the engine's loader, and play
// through corvane-play, the SDL build of the engine's sound.
#pragma once

#include <cstdint>
#include <string>

#include "tools/corvane-asset/asset_tool.h"

// Help texts of the two commands.
extern const char kWavInfoHelp[];
extern const char kPlayHelp[];

// What the engine's loader does with a WAV file, and what it read.
struct WavVerdict {
    asset::Outcome outcome = asset::Outcome::Refused;
    std::string reason;   // why, unless the outcome is Loads
    bool header = false;  // "RIFF", "WAVE" and "fmt " are in place
    std::uint32_t formatSize = 0;
    std::uint16_t tag = 0;
    std::uint16_t channels = 0;
    std::int32_t rate = 0;
    std::uint16_t bits = 0;
    bool loaded = false;  // the loader ran; the three below are its results
    std::int32_t frames = 0;
    float duration = 0;
    std::int32_t length = 0;
};
// Checks the header quietly, then loads the file with the engine's loader.
WavVerdict JudgeWav(const char* path);

// Prints a WAV file's format and what the engine loads from it. Exit status: 0
// when the engine loads it, 2 when it refuses it, 3 when it loads no samples
// from it, 1 on other errors.
int WavInfo(const char* path);

// True for a name ending in ".wav" (any case) or a file that starts like a RIFF
// WAVE file.
bool IsWavFile(const char* path);

// Replaces this process with corvane-play (found beside this program) and the
// arguments after "play"; returns only if that cannot be done (status 1).
int PlayWav(int argc, char** argv);
