// The page's desktop: the shared windows and message queue of platform/common,
// shown on the page's canvas and fed by the page's events (or by a script from
// the page's address, web_frames.h).
#include "platform/web/web_windows.h"

#include <emscripten.h>

#include <memory>

#include "platform/common/charset.h"
#include "platform/common/message_queue.h"
#include "platform/web/web_events.h"
#include "platform/web/web_frames.h"
#include "platform/web/web_page.h"

namespace web {
namespace {

int ClientWidth(const platform::Window& window) {
    return window.outer.right - window.outer.left;
}
int ClientHeight(const platform::Window& window) {
    return window.outer.bottom - window.outer.top;
}

// The page's events; with a script, the script's messages for the frame in
// place of the page's keys and mouse (its focus still counts).
void TakeEvents(platform::MessageQueue& queue) {
    if (RunsScript()) TakeScriptMessages(queue.messages);
    PageEvent event;
    while (TakePageEvent(event)) {
        if (RunsScript() && event.kind != PageEvent::kFocus) continue;
        TranslatePageEvent(MainWindow(), event, queue.messages);
    }
}

class WebDesktop final : public platform::Desktop {
public:
    std::unique_ptr<platform::Window> NewWindow() override {
        return platform::NewWindowOf<HWND__>();
    }
    RECT ClientOnScreen(const platform::Window& window) override { return window.outer; }
    bool PutOnScreen(platform::Window& window) override {
        SetCanvasSize(ClientWidth(window), ClientHeight(window));
        SetPageTitle(charset::Utf8FromCodes(window.title.c_str()));
        return true;
    }
    // The page shows the title of the window on its canvas.
    void Retitled(platform::Window& window) override {
        if (window.handle == MainWindow())
            SetPageTitle(charset::Utf8FromCodes(window.title.c_str()));
    }
    // A window shown in front of a page that has the focus takes it at once.
    void Shown(platform::Window& window) override {
        if (PageFocused()) GiveFocus(window.handle);
    }
    bool HasFocus(const platform::Window& window) override { return web::HasFocus(window.handle); }
    void FocusLeft(platform::Window& window) override { DropFocus(window.handle); }

    // A hidden page runs no frames: the frame loop waits here until it shows.
    void Pump(platform::MessageQueue& queue) override {
        if (!queue.messages.empty()) return;
        WaitWhilePageHidden();
        NoteScriptFrames();
        TakeEvents(queue);
    }
    void NothingWaiting() override { StartFrame(); }
    HWND DefaultWindow() override { return MainWindow(); }
    DWORD Now() override { return static_cast<DWORD>(emscripten_get_now()); }
    // Each key's character comes with it from the page (TranslatePageEvent).
    unsigned TypedCharacter(unsigned) override { return 0; }
    bool WaitForMessages(DWORD milliseconds, DWORD wakeMask) override {
        const DWORD posted = QS_POSTMESSAGE | QS_SENDMESSAGE;
        const int wake = ((wakeMask & posted) != 0 ? kWakePosted : 0) |
                         ((wakeMask & ~posted) != 0 && !RunsScript() ? kWakeInput : 0);
        return WaitOnPage(milliseconds, wake);
    }

    // The screen in its own pixels, which the canvas's enlargement counts in.
    platform::ScreenSize DesktopSize() override { return PageScreenSize(); }
    // The engine always draws 16-bit pictures, which the canvas shows converted.
    int DesktopBits() override { return 16; }
    // A script's frames show every picture, as corvane-replay's do: the game
    // rate's own refreshes (0 is the default of 60 Hz).
    int RefreshRate() override { return RunsScript() ? 0 : PageRefreshRate(); }
    // The page's path on its site stands for the program's file.
    std::string ProgramFile() override { return PagePath(); }
};

}  // namespace

HWND MainWindow() {
    HWND shown = platform::LastShownWindow();
    return platform::IsLive(shown) ? shown : nullptr;
}

}  // namespace web

platform::Desktop& platform::TheDesktop() {
    static web::WebDesktop desktop;
    return desktop;
}

HWND WINAPI GetForegroundWindow() {
    HWND main = web::MainWindow();
    return web::HasFocus(main) ? main : nullptr;
}
