#include "platform/web/web_page.h"

#include <emscripten.h>

#include <cstddef>
#include <cstdlib>

// The page's script keeps CorvanePage; these are the backend's only calls into it.
EM_JS(int, corvane_page_take_event, (web::PageEvent * event),
      { return CorvanePage.takeEvent(event) ? 1 : 0; });
EM_JS(int, corvane_page_focused, (), { return CorvanePage.focused() ? 1 : 0; });
EM_ASYNC_JS(void, corvane_page_while_hidden, (), { await CorvanePage.whileHidden(); });
EM_JS(void, corvane_page_set_title, (const char* title),
      { CorvanePage.setTitle(UTF8ToString(title)); });
EM_JS(void, corvane_page_set_size, (int width, int height),
      { CorvanePage.setSize(width, height); });
EM_JS(void, corvane_page_show, (const void* pixels, int width, int height, int x, int y),
      { CorvanePage.show(pixels, width, height, x, y); });
EM_ASYNC_JS(void, corvane_page_next_frame, (), { await CorvanePage.nextFrame(); });
EM_ASYNC_JS(int, corvane_page_wait, (int milliseconds, int wake),
            { return await CorvanePage.wait(milliseconds, wake); });
EM_ASYNC_JS(void, corvane_page_box, (const char* caption, const char* text),
            { await CorvanePage.showBox(UTF8ToString(caption), UTF8ToString(text)); });
EM_JS(int, corvane_page_open_sound, (int rate), {
    return CorvanePage.openSound(
        rate, function(frames) { return _corvane_web_mix(frames); });
});
EM_JS(void, corvane_page_close_sound, (), { CorvanePage.closeSound(); });
EM_JS(void, corvane_page_keep_sound, (const void* samples, int count),
      { CorvanePage.keepSound(samples, count); });
EM_JS(char*, corvane_page_parameter, (const char* name),
      { return CorvanePage.newString(CorvanePage.parameter(UTF8ToString(name))); });
EM_JS(char*, corvane_page_path, (), { return CorvanePage.newString(CorvanePage.path()); });
EM_JS(int, corvane_page_screen_width, (), { return CorvanePage.screenPixels().width; });
EM_JS(int, corvane_page_screen_height, (), { return CorvanePage.screenPixels().height; });
EM_JS(int, corvane_page_refresh_rate, (), { return CorvanePage.refreshRate(); });
EM_JS(void, corvane_page_frame, (int number, double busy),
      { CorvanePage.frameStarts(number, busy < 0 ? null : busy); });
EM_JS(void, corvane_page_ended, (int exitCode), { CorvanePage.ended(exitCode); });

namespace web {
namespace {

// web_page.js writes the event's fields at these offsets.
static_assert(offsetof(PageEvent, flags) == 20 && offsetof(PageEvent, code) == 24 &&
                  offsetof(PageEvent, key) == 48,
              "PageEvent's layout is the page script's");

double waited = 0;

// Counts the time a yielding call takes, from its start to the end of its scope.
class WaitCount {
public:
    WaitCount() : start_(emscripten_get_now()) {}
    ~WaitCount() { waited += emscripten_get_now() - start_; }
    WaitCount(const WaitCount&) = delete;
    WaitCount& operator=(const WaitCount&) = delete;

private:
    double start_;
};

}  // namespace

bool TakePageEvent(PageEvent& event) {
    event = PageEvent();
    return corvane_page_take_event(&event) != 0;
}

bool PageFocused() {
    return corvane_page_focused() != 0;
}

void WaitWhilePageHidden() {
    WaitCount count;
    corvane_page_while_hidden();
}

void SetPageTitle(const std::string& title) {
    corvane_page_set_title(title.c_str());
}

void SetCanvasSize(int width, int height) {
    corvane_page_set_size(width, height);
}

void ShowOnCanvas(const std::uint32_t* pixels, int width, int height, int x, int y) {
    corvane_page_show(pixels, width, height, x, y);
}

void WaitForAnimationFrame() {
    WaitCount count;
    corvane_page_next_frame();
}

bool WaitOnPage(DWORD milliseconds, int wake) {
    WaitCount count;
    return corvane_page_wait(static_cast<int>(milliseconds), wake) != 0;
}

void ShowBox(const std::string& caption, const std::string& text) {
    WaitCount count;
    corvane_page_box(caption.c_str(), text.c_str());
}

double MillisecondsWaited() {
    return waited;
}

int OpenPageSound(int rate) {
    return corvane_page_open_sound(rate);
}

void ClosePageSound() {
    corvane_page_close_sound();
}

void KeepScriptSound(const std::int16_t* samples, int count) {
    corvane_page_keep_sound(samples, count);
}

bool PageParameter(const char* name, std::string& value) {
    char* copy = corvane_page_parameter(name);
    if (copy == nullptr) return false;
    value = copy;
    std::free(copy);
    return true;
}

std::string PagePath() {
    char* copy = corvane_page_path();
    const std::string path = copy != nullptr ? copy : "";
    std::free(copy);
    return path;
}

platform::ScreenSize PageScreenSize() {
    return {corvane_page_screen_width(), corvane_page_screen_height()};
}

int PageRefreshRate() {
    return corvane_page_refresh_rate();
}

void NoteFrame(int number, double busyMilliseconds) {
    corvane_page_frame(number, busyMilliseconds);
}

void NotePageEnded(int exitCode) {
    corvane_page_ended(exitCode);
}

}  // namespace web
