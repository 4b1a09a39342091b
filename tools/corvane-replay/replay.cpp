#include "tools/corvane-replay/replay.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <new>
#include <system_error>

#include "platform/headless/control.h"
#include "shell/debugger.h"
#include "shell/windx.h"

namespace replay {

namespace {

using Clock = std::chrono::steady_clock;

// Messages to the replay's own hidden window. The frame loop dispatches them
// between frames, so each arrives at a known frame boundary of the real loop.
constexpr UINT kFramesStarted = 0x0400;  // the first frame is about to run
constexpr UINT kCapture = 0x0401;        // wParam frames have been presented
constexpr UINT kMix = 0x0402;            // one more frame has run: mix its sound
// Frames are taken to last this long when the sound is mixed.
constexpr int kFramesPerSecond = 60;
const char kProbeClass[] = "CorvaneReplayProbe";

// What the probe window records while the entry point runs.
struct Probe {
    Clock::time_point framesStarted;
    bool started = false;
    std::vector<Capture>* captures = nullptr;
    std::vector<std::int16_t>* sound = nullptr;
    int soundRate = 0;
};
Probe probe;

LRESULT CALLBACK ProbeProc(HWND, UINT message, WPARAM wParam, LPARAM) {
    if (message == kFramesStarted) {
        probe.framesStarted = Clock::now();
        probe.started = true;
    } else if (message == kCapture && probe.captures != nullptr) {
        Capture capture;
        capture.number = static_cast<int>(wParam);
        capture.presented = headless::PresentCount();
        capture.picture = headless::LastFrame();
        probe.captures->push_back(std::move(capture));
    } else if (message == kMix && probe.sound != nullptr) {
        const std::vector<std::int16_t> mixed =
            headless::MixSound(probe.soundRate / kFramesPerSecond, probe.soundRate);
        probe.sound->insert(probe.sound->end(), mixed.begin(), mixed.end());
    }
    return 0;
}

HWND CreateProbeWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ProbeProc;
    windowClass.lpszClassName = kProbeClass;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, kProbeClass, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                           nullptr);
}

// Keys go to the main window (null handle) as the player's keyboard would send
// them: each hold presses its keys before its first frame and releases them
// after its last.
void ScheduleKeys(const std::vector<KeyHold>& holds) {
    int start = 0;
    for (const KeyHold& hold : holds) {
        for (int key : hold.keys) headless::PostWindowMessageAt(start, WM_KEYDOWN, key);
        for (int key : hold.keys) headless::PostWindowMessageAt(start + hold.frames, WM_KEYUP, key);
        start += hold.frames;
    }
}

// The messages of a button going down and coming up; 0 for no button.
struct ButtonMessages {
    UINT down = 0;
    UINT up = 0;
};
ButtonMessages MessagesOf(MouseButton button) {
    switch (button) {
        case MouseButton::Left:
            return {WM_LBUTTONDOWN, WM_LBUTTONUP};
        case MouseButton::Right:
            return {WM_RBUTTONDOWN, WM_RBUTTONUP};
        case MouseButton::Middle:
            return {WM_MBUTTONDOWN, WM_MBUTTONUP};
        case MouseButton::None:
            break;
    }
    return {};
}

// The mouse as the player's hand moves it over the main window: one move per
// frame along each stroke, the button pressed where the stroke starts and
// released where it ends.
void ScheduleMouse(const std::vector<MouseStroke>& strokes) {
    int start = 0, x = 0, y = 0;
    for (const MouseStroke& stroke : strokes) {
        const auto [down, up] = MessagesOf(stroke.button);
        if (down != 0) headless::PostWindowMessageAt(start, down, 0, MAKELPARAM(x, y));
        for (int i = 1; i <= stroke.frames; ++i) {
            const long long px = x + static_cast<long long>(stroke.x - x) * i / stroke.frames;
            const long long py = y + static_cast<long long>(stroke.y - y) * i / stroke.frames;
            headless::PostWindowMessageAt(start + i - 1, WM_MOUSEMOVE, 0, MAKELPARAM(px, py));
        }
        x = stroke.x;
        y = stroke.y;
        start += stroke.frames;
        if (up != 0) headless::PostWindowMessageAt(start, up, 0, MAKELPARAM(x, y));
    }
}

class FolderChange {
public:
    explicit FolderChange(const std::string& folder) {
        std::error_code error;
        previous_ = std::filesystem::current_path(error);
        std::filesystem::current_path(folder, error);
        ok_ = !error;
    }
    ~FolderChange() {
        std::error_code error;
        if (ok_) std::filesystem::current_path(previous_, error);
    }
    bool ok() const { return ok_; }

private:
    std::filesystem::path previous_;
    bool ok_ = false;
};

}  // namespace

void ResetProgram(const std::function<void()>& resetGame) {
    headless::Reset();
    Corvane.~WinDX();
    ::new (&Corvane) WinDX();
    Debug.~Debugger();
    ::new (&Debug) Debugger();
    if (resetGame) resetGame();
}

Result Run(const Options& options) {
    Result result;
    FolderChange folder(options.folder);
    if (!folder.ok()) {
        result.exitCode = -1;
        result.error = "cannot enter the folder \"" + options.folder + "\"";
        return result;
    }
    ResetProgram(options.resetGame);
    headless::EchoMessageBoxes(options.echoMessageBoxes);
    if (options.setUp) options.setUp();

    int frames = options.frames > 0
                     ? options.frames
                     : std::max(ScriptFrames(options.keys), ScriptFrames(options.mouse));
    if (frames < 1) frames = 1;

    const HWND probeWindow = CreateProbeWindow();
    headless::PostWindowMessageAt(0, kFramesStarted, 0, 0, probeWindow);
    ScheduleKeys(options.keys);
    ScheduleMouse(options.mouse);
    for (int number : options.captureAt)
        if (number <= frames)
            headless::PostWindowMessageAt(number, kCapture, number, 0, probeWindow);
    if (options.soundRate > 0)
        for (int number = 1; number <= frames; ++number)
            headless::PostWindowMessageAt(number, kMix, 0, 0, probeWindow);
    // Closing the window after the last frame ends the program the normal way.
    headless::PostWindowMessageAt(frames, WM_CLOSE);

    probe = Probe();
    probe.captures = &result.captures;
    if (options.soundRate > 0) probe.sound = &result.sound;
    probe.soundRate = options.soundRate;
    static char instance;
    char commandLine[] = "";
    const Clock::time_point start = Clock::now();
    result.exitCode =
        WinMain(reinterpret_cast<HINSTANCE>(&instance), nullptr, commandLine, SW_SHOWNORMAL);
    const Clock::time_point end = Clock::now();
    probe.captures = nullptr;
    probe.sound = nullptr;

    const Clock::time_point framesStarted = probe.started ? probe.framesStarted : end;
    result.initializeSeconds = std::chrono::duration<double>(framesStarted - start).count();
    result.frameSeconds = std::chrono::duration<double>(end - framesStarted).count();
    result.framesRun = headless::FramesRun();
    for (const headless::MessageBoxRecord& box : headless::MessageBoxes())
        result.messageBoxes.push_back(box.caption + ": " + box.text);
    return result;
}

}  // namespace replay
