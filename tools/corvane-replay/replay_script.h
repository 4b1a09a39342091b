// The replay tool's scripted input: which keys are held for how many frames,
// and where the mouse goes with which button held.
#pragma once

#include <string>
#include <vector>

#include "platform/api/platform.h"

namespace replay {

// Keys held together for a number of frames.
struct KeyHold {
    std::vector<int> keys;  // virtual-key codes
    int frames = 0;
};

// Virtual-key code of a key name: left, right, up, down, escape (esc), space,
// return (enter), backspace, a letter or a digit; case is ignored. 0 for an
// unknown name.
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

enum class MouseButton { None, Left, Right, Middle };

// The mouse moved in a straight line from where it is to (x, y), one move per
// frame, with a button held from before the first move until after the last.
struct MouseStroke {
    MouseButton button = MouseButton::None;
    int x = 0;  // client-area pixels, 0..65535, where the stroke ends
    int y = 0;
    int frames = 0;
};

// Parses "400/250:1,left@500/300:20,middle@500/300:1": strokes separated by
// commas, each an optional button (left, right or middle) and '@', the end
// point x/y and a colon and a frame count of at least 1. The mouse starts at
// (0, 0). On failure returns false and says why in error.
bool ParseMouseScript(const std::string& text, std::vector<MouseStroke>& strokes,
                      std::string& error);

// Frames that the strokes cover in all.
int ScriptFrames(const std::vector<MouseStroke>& strokes);

// A message to the main window, sent once `frames` frames have run.
struct TimedMessage {
    int frames = 0;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// The messages the scripts send, keys first, each script's in the order it
// sends them, as the player's keyboard and hand would: each hold presses its
// keys before its first frame and releases them after its last; the mouse moves
// once a frame along each stroke, its button pressed where the stroke starts
// and released where it ends.
std::vector<TimedMessage> ScriptMessages(const std::vector<KeyHold>& keys,
                                         const std::vector<MouseStroke>& mouse);

}  // namespace replay
