// The replay tool's scripted input: which keys are held for how many frames.
#pragma once

#include <string>
#include <vector>

namespace replay {

// Keys held together for a number of frames.
struct KeyHold {
    std::vector<int> keys;  // virtual-key codes
    int frames = 0;
};

// Virtual-key code of a key name: left, right, up, down, escape (esc), space,
// return (enter), a letter or a digit; case is ignored. 0 for an unknown name.
int KeyCode(const std::string& name);

// Parses "right:120,down:60,left+up:30": holds separated by commas, each a set
// of key names joined by '+' (or "none" for no key), a colon and a frame count
// of at least 1. On failure returns false and says why in error.
bool ParseKeyScript(const std::string& text, std::vector<KeyHold>& holds, std::string& error);

// Parses a comma-separated list of frame numbers, each at least 1, in any order;
// the result is sorted and without repeats. False and a reason on bad input.
bool ParseFrameList(const std::string& text, std::vector<int>& frames, std::string& error);

// Frames that the holds cover in all.
int ScriptFrames(const std::vector<KeyHold>& holds);

}  // namespace replay
