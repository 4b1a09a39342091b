// The page the program runs in (web_page.js), as the backend calls it. The
// calls marked "yields" let the browser run until they return: the program's
// own frame loop keeps its shape, its waits become the page's (ASYNCIFY).
#pragma once

#include <cstdint>
#include <string>

#include "platform/api/platform.h"
#include "platform/common/display.h"

namespace web {

// One of the page's events, as web_page.js writes it (takeEvent).
struct PageEvent {
    enum Kind { kKeyDown = 1, kKeyUp, kMouseMove, kMouseDown, kMouseUp, kFocus };
    // The keys held with it.
    enum Flag { kAlt = 1, kControl = 2, kShift = 4, kMeta = 8, kRepeat = 16 };
    // Mouse buttons held, as the DOM counts them.
    enum Button { kLeftHeld = 1, kRightHeld = 2, kMiddleHeld = 4 };

    int kind = 0;
    int x = 0;  // mouse: picture pixels; focus: 1 gained, 0 lost
    int y = 0;
    int button = 0;   // the one pressed or released, as the DOM counts: 0 left, 1 middle, 2 right
    int buttons = 0;  // Button flags
    int flags = 0;
    char code[24] = {};  // the key's place on the keyboard: "KeyA", "ArrowLeft", ...
    char key[8] = {};    // what it types ("a", "A", " "), or its name ("Enter")
};

// The next event of the page, oldest first; false when none is waiting.
bool TakePageEvent(PageEvent& event);
// Whether the page is shown and has the keyboard focus.
bool PageFocused();
// Yields while the page is hidden (another tab in front, a minimised window).
void WaitWhilePageHidden();

// The page's title (UTF-8); an empty one leaves the page's own.
void SetPageTitle(const std::string& title);
// The canvas shows a picture of this size (its enlargement is the page's).
void SetCanvasSize(int width, int height);
// Puts width x height RGBA pixels (rows packed) on the canvas at (x, y).
void ShowOnCanvas(const std::uint32_t* pixels, int width, int height, int x, int y);

// Yields until the display's next refresh (the page's next animation frame).
void WaitForAnimationFrame();
// What may end a wait early: input, or the page's focus and visibility.
enum Wake { kWakeInput = 1, kWakePosted = 2 };
// Yields for `milliseconds`, or until an event that `wake` names arrives
// (true then).
bool WaitOnPage(DWORD milliseconds, int wake);
// Yields while the page's modal box shows `text` under `caption` (UTF-8),
// until the player presses OK.
void ShowBox(const std::string& caption, const std::string& text);
// Milliseconds the program has spent yielding since it started.
double MillisecondsWaited();

// Opens the page's sound device at `rate` frames a second (the browser may
// choose another); its rate, or 0 when the page has no sound. The device asks
// for samples through corvane_web_mix (web_sound.cpp).
int OpenPageSound(int rate);
void ClosePageSound();
// Hands the page 16-bit stereo samples of a scripted run, for whoever checks it.
void KeepScriptSound(const std::int16_t* samples, int count);

// A value of the page's address (?keys=right:30): false when it has none.
bool PageParameter(const char* name, std::string& value);
// The screen in its own pixels (CSS pixels times the device's pixel ratio).
platform::ScreenSize PageScreenSize();
// The page's path on its site ("/corvane.html").
std::string PagePath();
// The display's refresh rate as the page measured it, in hertz; 0 unknown.
int PageRefreshRate();
// Frame `number` (from 1) starts; the one before took `busyMilliseconds`
// without its waits (below 0: unknown).
void NoteFrame(int number, double busyMilliseconds);
// The program has ended with this exit code; the page says so.
void NotePageEnded(int exitCode);

}  // namespace web
