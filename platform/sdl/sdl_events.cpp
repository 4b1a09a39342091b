#include "platform/sdl/sdl_events.h"

#include <vector>

#include "platform/common/message_queue.h"
#include "platform/sdl/sdl_charset.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/sdl_window_keys.h"
#include "platform/sdl/sdl_windows.h"

namespace sdl {
namespace {

constexpr WPARAM kMkLeft = 0x01;
constexpr WPARAM kMkRight = 0x02;
constexpr WPARAM kMkShift = 0x04;
constexpr WPARAM kMkControl = 0x08;
constexpr WPARAM kMkMiddle = 0x10;

// The keyboard and the gamepads are one set of keys: a key is down for the
// engine while any of them holds it.
struct InputState {
    bool appActive = false;
    bool keyDown[256] = {};         // as the engine was told
    bool keyboardHeld[256] = {};    // by the keyboard
    int gamepadsHolding[256] = {};  // how many pads hold it
};

InputState& State() {
    static InputState state;
    return state;
}

void Add(std::deque<MSG>& out, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    out.push_back(platform::MakeMessage(window, message, wParam, lParam));
}

// Repeat count 1; bit 30 set when the key was already down, bit 31 on release.
LPARAM KeyParam(bool wasDown, bool release) {
    std::uintptr_t value = 1;
    if (wasDown) value |= std::uintptr_t{1} << 30;
    if (release) value |= std::uintptr_t{1} << 31;
    return static_cast<LPARAM>(value);
}

void TranslateKey(const SDL_KeyboardEvent& key, std::deque<MSG>& out) {
    HWND window = WindowFromId(key.windowID);
    if (window == nullptr) window = MainWindow();
    if (TakeWindowKey(key, window)) return;
    const int code = VirtualKey(key.keysym.sym, key.keysym.scancode);
    if (window == nullptr || code == 0) return;
    const bool press = key.type == SDL_KEYDOWN;
    // With Alt held (and no Control, which makes AltGr), and for F10 and Alt
    // itself, Windows sends the system key messages.
    const bool alt = (key.keysym.mod & KMOD_ALT) != 0 && (key.keysym.mod & KMOD_CTRL) == 0;
    const bool system = alt || code == VK_F10 || NeutralKey(code) == VK_MENU;
    const UINT message =
        press ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    InputState& state = State();
    const bool wasDown = state.keyDown[code];
    state.keyboardHeld[code] = press;
    if (!press && state.gamepadsHolding[code] > 0) return;
    state.keyDown[code] = press;

    // A side-specific modifier also moves its neutral code, which is up only
    // when neither side is held.
    const int neutral = NeutralKey(code);
    if (neutral != 0) {
        // The left and right codes of a pair differ only in their lowest bit.
        const bool otherDown = state.keyDown[code ^ 1];
        if (press || !otherDown) {
            const bool neutralWasDown = state.keyDown[neutral];
            state.keyDown[neutral] = press;
            Add(out, window, message, static_cast<WPARAM>(neutral),
                KeyParam(neutralWasDown, !press));
        }
    }
    Add(out, window, message, static_cast<WPARAM>(code), KeyParam(wasDown, !press));
}

void TranslateGamepad(const SDL_Event& event, std::deque<MSG>& out) {
    std::vector<PadKey> keys;
    TranslateGamepadEvent(event, keys);
    InputState& state = State();
    for (const PadKey& key : keys) {
        state.gamepadsHolding[key.code] += key.press ? 1 : -1;
        const bool down = state.gamepadsHolding[key.code] > 0 || state.keyboardHeld[key.code];
        if (down == state.keyDown[key.code]) continue;
        state.keyDown[key.code] = down;
        if (MainWindow() != nullptr)
            Add(out, MainWindow(), down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(key.code),
                KeyParam(!down, !down));
    }
}

void TranslateText(const SDL_TextInputEvent& text, std::deque<MSG>& out) {
    HWND window = WindowFromId(text.windowID);
    if (window == nullptr) window = MainWindow();
    if (window == nullptr) return;
    for (std::uint32_t cp : CodePoints(text.text)) {
        const int code = CharacterCode(cp);
        // Characters outside the 8-bit set cannot reach the game.
        if (code > 0) Add(out, window, WM_CHAR, static_cast<WPARAM>(code), 1);
    }
}

WPARAM MouseKeys(Uint32 buttons) {
    WPARAM flags = 0;
    if (buttons & SDL_BUTTON_LMASK) flags |= kMkLeft;
    if (buttons & SDL_BUTTON_RMASK) flags |= kMkRight;
    if (buttons & SDL_BUTTON_MMASK) flags |= kMkMiddle;
    const SDL_Keymod mod = SDL_GetModState();
    if (mod & KMOD_SHIFT) flags |= kMkShift;
    if (mod & KMOD_CTRL) flags |= kMkControl;
    return flags;
}

void TranslateButton(const SDL_MouseButtonEvent& button, std::deque<MSG>& out) {
    // Mouse positions reach the engine in the client area's own pixels, however
    // large the window shows it; the black bars beside the picture are outside it.
    HWND window = WindowFromId(button.windowID);
    int x = button.x;
    int y = button.y;
    if (window == nullptr || !ClientPoint(window, x, y)) return;
    const bool press = button.type == SDL_MOUSEBUTTONDOWN;
    UINT message;
    switch (button.button) {
        case SDL_BUTTON_LEFT:
            message = press ? WM_LBUTTONDOWN : WM_LBUTTONUP;
            break;
        case SDL_BUTTON_RIGHT:
            message = press ? WM_RBUTTONDOWN : WM_RBUTTONUP;
            break;
        case SDL_BUTTON_MIDDLE:
            message = press ? WM_MBUTTONDOWN : WM_MBUTTONUP;
            break;
        default:
            return;
    }
    Add(out, window, message, MouseKeys(SDL_GetMouseState(nullptr, nullptr)), MAKELPARAM(x, y));
}

void TranslateWindowEvent(const SDL_WindowEvent& event, std::deque<MSG>& out) {
    HWND window = WindowFromId(event.windowID);
    if (window == nullptr) return;
    InputState& state = State();
    switch (event.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            window->focused = true;
            if (!state.appActive) {
                state.appActive = true;
                Add(out, window, WM_ACTIVATEAPP, 1, 0);
            }
            Add(out, window, WM_SETFOCUS, 0, 0);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            window->focused = false;
            if (state.appActive) {
                state.appActive = false;
                Add(out, window, WM_ACTIVATEAPP, 0, 0);
            }
            Add(out, window, WM_KILLFOCUS, 0, 0);
            break;
        case SDL_WINDOWEVENT_MOVED:
            // A full-screen window stays at the screen's corner whatever SDL says.
            if ((window->style & WS_POPUP) != 0) break;
            NoteMoved(window, event.data1, event.data2);
            {
                const POINT origin = EngineScreenPoint(window, event.data1, event.data2);
                Add(out, window, WM_MOVE, 0, MAKELPARAM(origin.x, origin.y));
            }
            break;
        case SDL_WINDOWEVENT_CLOSE:
            Add(out, window, WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_EXPOSED:
            RepaintScreen(window);
            break;
        default:
            break;
    }
}

}  // namespace

void TranslateEvent(const SDL_Event& event, std::deque<MSG>& out) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            TranslateKey(event.key, out);
            break;
        case SDL_TEXTINPUT:
            TranslateText(event.text, out);
            break;
        case SDL_MOUSEMOTION: {
            HWND window = WindowFromId(event.motion.windowID);
            int x = event.motion.x;
            int y = event.motion.y;
            if (window != nullptr && ClientPoint(window, x, y))
                Add(out, window, WM_MOUSEMOVE, MouseKeys(event.motion.state), MAKELPARAM(x, y));
            break;
        }
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            TranslateButton(event.button, out);
            break;
        case SDL_WINDOWEVENT:
            TranslateWindowEvent(event.window, out);
            break;
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION:
            TranslateGamepad(event, out);
            break;
        case SDL_QUIT:
            // SDL's answer to an interrupt or termination signal: close the main
            // window, so the program ends the normal way.
            if (MainWindow() != nullptr) Add(out, MainWindow(), WM_CLOSE, 0, 0);
            break;
        default:
            break;
    }
}

}  // namespace sdl
