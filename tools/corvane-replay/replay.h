// Runs a program's hooks (its initialize and run, through the engine's own
// entry point) on the headless backend with scripted keys and mouse, and keeps
// the frames (and the mixed sound) asked for. The program is whichever game is linked with it: the
// replay tool, the whole-frame tests and the benchmark link the game, each example its own.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/headless/display_control.h"
#include "tools/corvane-replay/replay_script.h"

namespace replay {

struct Options {
    std::vector<KeyHold> keys;       // held one after the other from the first frame on
    std::vector<MouseStroke> mouse;  // made one after the other from the first frame on
    int frames = 0;                  // frames to run; 0: as many as the scripts cover, at least 1
    std::vector<int> captureAt;      // frame numbers (from 1) whose presented picture to keep
    // When above 0: the sound is mixed at this many frames per second as if
    // every frame lasted 1/60 s, and kept in Result::sound.
    int soundRate = 0;
    std::string folder = ".";       // working folder: holds Images/, receives debug.txt
    bool echoMessageBoxes = false;  // also print every message box to standard error
    // Puts the game's own globals back as a newly started program has them; only
    // needed when one process runs the game more than once.
    std::function<void()> resetGame;
    // Called on the fresh machine just before the program starts (for faults).
    std::function<void()> setUp;
};

// The picture on the screen once frame `number` has run: the last one
// presented, `presented` presentations into the run (one per frame unless a
// presentation was skipped).
struct Capture {
    int number = 0;
    int presented = 0;
    headless::Frame picture;
};

struct Result {
    int exitCode = 0;
    int framesRun = 0;                      // calls of the game's run
    double initializeSeconds = 0;           // from the entry point until the first frame could run
    double frameSeconds = 0;                // from then until the entry point returned
    std::vector<Capture> captures;          // the captured frames, in frame order
    std::vector<std::string> messageBoxes;  // caption and text of every box shown
    std::vector<std::int16_t> sound;        // the mixed sound, 16-bit stereo, left first
    std::string error;                      // why the run could not start, if it could not
};

// Puts the engine object and the debug log back into the state of a newly
// started program, on a new headless machine, then calls resetGame if given.
void ResetProgram(const std::function<void()>& resetGame = nullptr);

// Runs one replay as a new program would: fresh state, the working folder
// changed for the run and restored afterwards.
Result Run(const Options& options);

}  // namespace replay
