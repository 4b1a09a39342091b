#include "platform/web/web_frames.h"

#include <emscripten.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/common/message_queue.h"
#include "platform/common/sound_mixer.h"
#include "platform/web/web_events.h"
#include "platform/web/web_keys.h"
#include "platform/web/web_page.h"
#include "platform/web/web_windows.h"
#include "tools/corvane-replay/replay_script.h"

namespace web {
namespace {

// How long a script's frames are taken to last, for its sound.
constexpr int kScriptFramesPerSecond = 60;

struct Frames {
    int run = 0;               // calls of the game's frame so far
    double started = -1;       // when the last one started, in page milliseconds
    double waitedAtStart = 0;  // MillisecondsWaited() then
    bool scripted = false;
    std::vector<replay::TimedMessage> script;  // not sent yet, in the order they are sent
    int mixed = 0;                             // frames whose sound is kept
};

Frames& State() {
    static Frames frames;
    return frames;
}

bool ParseFrameCount(const std::string& text, int& frames) {
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1 || value > INT_MAX) return false;
    frames = static_cast<int>(value);
    return true;
}

// A scripted key as the page's keyboard sends it, typing what it types.
void PressKey(const replay::TimedMessage& sent, std::deque<MSG>& out) {
    const DomKey key = DomKeyOf(static_cast<int>(sent.wParam));
    PageEvent event;
    event.kind = sent.message == WM_KEYDOWN ? PageEvent::kKeyDown : PageEvent::kKeyUp;
    std::snprintf(event.code, sizeof event.code, "%s", key.code.c_str());
    std::snprintf(event.key, sizeof event.key, "%s", key.key.c_str());
    TranslatePageEvent(MainWindow(), event, out);
}

}  // namespace

bool ReadScript(std::string& error) {
    std::string keysText, mouseText, framesText;
    const bool keys = PageParameter("keys", keysText);
    const bool mouse = PageParameter("mouse", mouseText);
    const bool frames = PageParameter("frames", framesText);
    if (!keys && !mouse && !frames) return true;
    std::vector<replay::KeyHold> holds;
    std::vector<replay::MouseStroke> strokes;
    if (!replay::ParseKeyScript(keysText, holds, error)) {
        error = "keys: " + error;
        return false;
    }
    if (!replay::ParseMouseScript(mouseText, strokes, error)) {
        error = "mouse: " + error;
        return false;
    }
    int count = std::max({replay::ScriptFrames(holds), replay::ScriptFrames(strokes), 1});
    if (frames && !ParseFrameCount(framesText, count)) {
        error = "frames: \"" + framesText + "\" is not a whole number from 1";
        return false;
    }
    Frames& state = State();
    state.scripted = true;
    state.script = replay::ScriptMessages(holds, strokes);
    // Closing the window after the last frame ends the program the normal way.
    state.script.push_back({count, WM_CLOSE, 0, 0});
    return true;
}

bool RunsScript() {
    return State().scripted;
}

void StartFrame() {
    Frames& state = State();
    const double now = emscripten_get_now();
    const double waited = MillisecondsWaited();
    const double busy =
        state.started < 0 ? -1 : now - state.started - (waited - state.waitedAtStart);
    state.started = now;
    state.waitedAtStart = waited;
    NoteFrame(++state.run, busy);
}

void NoteScriptFrames() {
    Frames& state = State();
    if (!state.scripted) return;
    for (; state.mixed < state.run; ++state.mixed) {
        const std::vector<std::int16_t> mixed =
            platform::MixLiveBuffers(kScriptSoundRate / kScriptFramesPerSecond, kScriptSoundRate);
        KeepScriptSound(mixed.data(), static_cast<int>(mixed.size()));
    }
}

void TakeScriptMessages(std::deque<MSG>& out) {
    std::vector<replay::TimedMessage>& script = State().script;
    for (auto it = script.begin(); it != script.end();) {
        if (it->frames > State().run) {
            ++it;
            continue;
        }
        if (it->message == WM_KEYDOWN || it->message == WM_KEYUP)
            PressKey(*it, out);
        else
            out.push_back(platform::MakeMessage(nullptr, it->message, it->wParam, it->lParam));
        it = script.erase(it);
    }
}

}  // namespace web
