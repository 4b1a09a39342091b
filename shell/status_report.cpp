#include <cstdio>

#include "shell/debugger.h"
#include "shell/windx.h"

namespace {

const char* const kWindowsText =
    "Are you using Windows 98/2000/NT? Corvane requires one of these. Still having trouble? "
    "Please report error and system configuration.";
const char* const kDirectXText =
    "Are you using DirectX SDK 3.1 or 8.1? Corvane requires one of these. Still having "
    "trouble? Please report error and system configuration.";

const StatusReport kUnregistered = {"Error: UNREGISTERED",
                                    "Unregistered error with Corvane. Please report."};

// Indexed by status code; a null title marks a code without a text of its own.
const StatusReport kReports[] = {
    /* 0 */ {"Error: NO_INIT (User did not initialize Corvane)",
             "You must start Corvane by calling:\n  Corvane.Initialize (fullscreen, xres, "
             "yres)\n\nfrom the initialize() function. See documentation for starting Corvane."},
    /* 1 */ {"Error: INITCLASS_FAILED (Cannot Initialize Window Class)", kWindowsText},
    /* 2 */ {nullptr, nullptr},
    /* 3 */ {"Error: INITWINTEMP_FAILED (Cannot Initialize Temp Window)", kWindowsText},
    /* 4 */ {nullptr, nullptr},
    /* 5 */ {"Error: INITWINREAL_FAILED (Cannot Initialize Main Window)", kWindowsText},
    /* 6 */ {nullptr, nullptr},
    /* 7 */ {"Error: SHOWWIN_FAILED (Unable to show Main Window)", kWindowsText},
    /* 8 */ {nullptr, nullptr},
    /* 9 */ {"Error: DDSTART_FAILED (Unable to start DirectX)", kDirectXText},
    /* 10 */ {nullptr, nullptr},
    /* 11 */ {"Error: DDSETLEVEL_FAILED (Unable to set DirectX Cooperative Level)", kDirectXText},
    /* 12 */ {nullptr, nullptr},
    /* 13 */ {"Error: SETMODE_FAILED (Unable to set screen mode)", kDirectXText},
    /* 14 */ {nullptr, nullptr},
    /* 15 */ {"Error: FRONTSURFACE_FAILED (Unable to create primary surface)", kDirectXText},
    /* 16 */ {nullptr, nullptr},
    /* 17 */ {"Error: BACKSURFACE_FAILED (Unable to create secondary surface)", kDirectXText},
    /* 18 */ {nullptr, nullptr},
    /* 19 */ {nullptr, nullptr},
    /* 20 */ {nullptr, nullptr},
    /* 21 */
    {"Error: REQSIZE_FAILED (Requested size too large)",
     "The requested game size must be smaller than the current screen settings. Reduce "
     "requested size to less than the screen size or use fullscreen mode.\n\nIf you are unsure "
     "of screen size initialize Corvane as follows:\n\nCorvane.Initialize (false, 700, 500);"},
    /* 22 */
    {"Error: BPP_FAILED (Screen depth not supported)",
     "Corvane supports 16-bit screen depths ONLY!\n\nPlease adjust your screen depth to 16-bit "
     "as follows:\n- Right click on desktop\n- Select Properties\n- Goto Settings Tab\n- Select "
     "High Color (16-bit)"},
    /* 23 */
    {"Error: SOUNDINIT_FAILED (Unable to initialize Direct Sound)",
     "Corvane unable to initialize sound. Is sound card installed and working?"},
    /* 24 */
    {"Error: SOUNDCOOP_FAILED (Unable to set Direct Sound Cooperative Level",
     "Corvane unable to set Direct Sound cooperative level. Is sound card installed and "
     "working?"},
    /* 25 */
    {"Error: SOUNDCREATE_FAILED (Unable to create Direct Sound buffer.",
     "Corvane unable to create a sound buffer for your sound. Try shortening the sound file "
     "(total length), reducing the sound resolution (bits per sample), reducing the sound "
     "quality (samples per second), or eliminating a channel (mono vs. stereo)."},
    /* 26 */
    {"Error: SOUNDMATCH_FAILED (Loaded sounds do not match.",
     "You are attempting to load several sounds with different quality, resolution, and channel "
     "info. All sounds to be played simultaneously must have the same resolution (bits per "
     "sample), same quality (samples per second), and same number of channels (mono vs. "
     "stereo). Edit WAV files accordinging."},
    /* 27 */
    {"Error: SOUNDCAPS_FAILED (Unable to get Sound Buffer Capabilities.",
     "Corvane was unable to retrieve sound buffer capabilities. You may be running out of "
     "memory. Close any open applications. Make sure you have DirectX 3.1, 7 or 8.1."},
    /* 28 */
    {"Error: SOUNDBUFLEN_FAILED (Direct Sound buffer and SoundX buffers do not match.",
     "Direct Sound and SoundX buffer lengths do not match. Internal error. Please report this "
     "problem and the code that generated it."},
    /* 29 */
    {"Error: SOUNDLOST_FAIL (Direct Sound buffer was lost.",
     "Direct Sound buffer was lost. Make sure you are using DirectX 3.1, 7 or 8.1. Close any open "
     "applications. Try restarting system. If you are using a large or high quality sound file, "
     "try reducing it."},
    /* 30 */
    {"Error: SOUNDINVALID_FAIL (Direct Sound Invalid Call.",
     "DirectX, via Corvane, made an invalid sound call. Make sure you are using DirectX 3.1, 7 or "
     "8.1. Close any open applications. Try restarting system. If you are using a large or high "
     "quality sound file, try reducing it."},
    /* 31 */
    {"Error: SOUNDPARAM_FAIL (Direct Sound Invalid Parameter.",
     "DirectX, via Corvane, used an invalid parameter. Make sure you are using DirectX 3.1, 7 or "
     "8.1. Close any open applications. Try restarting system. If you are using a large or high "
     "quality sound file, try reducing it."},
    /* 32 */
    {"Error: SOUNDPARAM_FAIL (Direct Sound needs Priority Level",
     "DirectX, via Corvane, is using an invalid priority level. Make sure you are using DirectX "
     "3.1, 7 or 8.1. Close any open applications. Try restarting system. If you are using a "
     "large or high quality sound file, try reducing it."},
    /* 33 */
    {"Error: IMAGEUSE_FAILED (Image used incorrectly)",
     "Purpose of image on load does not match its use. Images loaded with DRAW_ALPHA must be "
     "drawn with DrawAlpha. Images loaded with DRAW_MASKED must be drawn with DrawMasked. Etc."},
};

static_assert(sizeof(kReports) / sizeof(kReports[0]) == IMAGEUSE_FAILED + 1,
              "one report row per status code");

}  // namespace

StatusReport ReportFor(int status) {
    const unsigned code = static_cast<unsigned>(status);
    if (code > static_cast<unsigned>(IMAGEUSE_FAILED)) return kUnregistered;
    const StatusReport& row = kReports[code];
    return row.title != nullptr ? row : kUnregistered;
}

int WinDX::RaiseError(int code) {
    status = code;
    ReportError();
    return 0;
}

void WinDX::ReportError() {
    char title[100];
    char text[300];
    char message[1000];
    const StatusReport report = ReportFor(status);
    std::snprintf(title, sizeof title, "%s", report.title);
    std::snprintf(text, sizeof text, "%s", report.text);
    // The game's own name; the engine's game is "Corvane".
    std::snprintf(message, sizeof message, "Unable to start %s.\n\n%s\n\n%s", gameName.c_str(),
                  title, text);
    MessageBoxA(nullptr, message, gameName.c_str(), MB_OK);

    char line[120];
    std::snprintf(line, sizeof line, "Corvane %s\n", title);
    Debug.Write(line, "");
}
