// The frames the program runs on the page: counted and timed for the page, and,
// when the page's address holds a script in corvane-replay's syntax
// (?keys=right:30&mouse=400/250:1&frames=40), fed by it: its keys and mouse at
// their frames, the window closed after the last, and the sound mixed frame by
// frame as corvane-replay mixes it, kept for the page instead of played.
#pragma once

#include <deque>
#include <string>

#include "platform/api/platform.h"

namespace web {

// Reads the script from the page's address, if it has one; false, with the
// reason, when it cannot be played.
bool ReadScript(std::string& error);
bool RunsScript();

// The frame loop is about to call the game for the next frame.
void StartFrame();
// With a script: mixes the sound of the frames run since the last call.
void NoteScriptFrames();
// With a script: appends its messages whose frame has come.
void TakeScriptMessages(std::deque<MSG>& out);

// The rate a script's sound is mixed at, frames a second (as corvane-replay's).
constexpr int kScriptSoundRate = 44100;

}  // namespace web
