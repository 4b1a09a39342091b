#include "platform/web/web_events.h"

#include <vector>

#include "platform/common/charset.h"
#include "platform/common/input_messages.h"
#include "platform/common/message_queue.h"
#include "platform/common/window_system.h"
#include "platform/web/web_keys.h"

namespace web {
namespace {

struct InputState {
    bool appActive = false;
    HWND focus = nullptr;
    platform::KeyboardState keys;  // as the engine was told
};

InputState& State() {
    static InputState state;
    return state;
}

void Add(std::deque<MSG>& out, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    out.push_back(platform::MakeMessage(window, message, wParam, lParam));
}

bool Has(const PageEvent& event, int flag) {
    return (event.flags & flag) != 0;
}

// The 8-bit character a key press types, 0 for none: what the page says it
// types when that is one character of the engine's set. Control with a letter
// types its control character; Alt alone or Meta type nothing (Alt with
// Control is AltGr, which types).
int TypedCode(const PageEvent& event, int virtualKey) {
    const bool alt = Has(event, PageEvent::kAlt), control = Has(event, PageEvent::kControl);
    if (Has(event, PageEvent::kMeta) || (alt && !control)) return 0;
    if (control && !alt) return static_cast<int>(platform::ControlCharacter(virtualKey));
    const std::vector<std::uint32_t> typed = charset::CodePoints(event.key);
    if (typed.size() != 1) return 0;
    const int code = charset::CharacterCode(typed[0]);
    return code > 0 ? code : 0;
}

void TranslateKey(HWND window, const PageEvent& event, std::deque<MSG>& out) {
    const int code = VirtualKey(event.code, event.key);
    if (code == 0) return;
    const bool press = event.kind == PageEvent::kKeyDown;
    platform::AddKeyMessages(window, code, press, Has(event, PageEvent::kAlt),
                             Has(event, PageEvent::kControl), State().keys, out);
    const int typed = press ? TypedCode(event, code) : 0;
    if (typed > 0) Add(out, window, WM_CHAR, static_cast<WPARAM>(typed), 1);
}

void TranslateMouse(HWND window, const PageEvent& event, std::deque<MSG>& out) {
    const WPARAM keys = platform::MouseKeys(
        (event.buttons & PageEvent::kLeftHeld) != 0, (event.buttons & PageEvent::kRightHeld) != 0,
        (event.buttons & PageEvent::kMiddleHeld) != 0, Has(event, PageEvent::kShift),
        Has(event, PageEvent::kControl));
    const LPARAM at = MAKELPARAM(event.x, event.y);
    if (event.kind == PageEvent::kMouseMove) {
        Add(out, window, WM_MOUSEMOVE, keys, at);
        return;
    }
    static constexpr platform::MouseButton kDomButtons[] = {
        platform::MouseButton::Left, platform::MouseButton::Middle, platform::MouseButton::Right};
    if (event.button < 0 || event.button > 2) return;
    Add(out, window,
        platform::MouseButtonMessage(kDomButtons[event.button],
                                     event.kind == PageEvent::kMouseDown),
        keys, at);
}

void TranslateFocus(HWND window, bool gained, std::deque<MSG>& out) {
    InputState& state = State();
    if (gained == (state.focus == window)) return;
    state.focus = gained ? window : nullptr;
    platform::AddFocusMessages(window, gained, state.appActive, out);
}

}  // namespace

void TranslatePageEvent(HWND window, const PageEvent& event, std::deque<MSG>& out) {
    if (window == nullptr) return;
    switch (event.kind) {
        case PageEvent::kKeyDown:
        case PageEvent::kKeyUp:
            TranslateKey(window, event, out);
            break;
        case PageEvent::kMouseMove:
        case PageEvent::kMouseDown:
        case PageEvent::kMouseUp:
            TranslateMouse(window, event, out);
            break;
        case PageEvent::kFocus:
            TranslateFocus(window, event.x != 0, out);
            break;
        default:
            break;
    }
}

bool HasFocus(HWND window) {
    return window != nullptr && State().focus == window;
}

void GiveFocus(HWND window) {
    std::deque<MSG> messages;
    TranslateFocus(window, true, messages);
    for (const MSG& msg : messages) platform::Send(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

void DropFocus(HWND window) {
    if (State().focus == window) State().focus = nullptr;
}

}  // namespace web
