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
    // Keys and the mouse go to the main window (a null handle).
    for (const TimedMessage& sent : ScriptMessages(options.keys, options.mouse))
        headless::PostWindowMessageAt(sent.frames, sent.message, sent.wParam, sent.lParam);
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
