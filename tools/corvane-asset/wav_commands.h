// corvane-asset's WAV commands: info through the engine's loader, and play
// through corvane-play, the SDL build of the engine's sound.
#pragma once

// Help texts of the two commands.
extern const char kWavInfoHelp[];
extern const char kPlayHelp[];

// Prints a WAV file's format and what the engine loads from it. Exit status: 0
// when the engine loads it, 2 when it refuses it, 1 on other errors.
int WavInfo(const char* path);

// True for a name ending in ".wav" (any case) or a file that starts like a RIFF
// WAVE file.
bool IsWavFile(const char* path);

// Replaces this process with corvane-play (found beside this program) and the
// arguments after "play"; returns only if that cannot be done (status 1).
int PlayWav(int argc, char** argv);
