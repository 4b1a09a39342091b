#include "platform/sdl/sdl_events.h"

#include <vector>

#include "platform/common/charset.h"
#include "platform/common/input_messages.h"
#include "platform/common/message_queue.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/sdl_window_keys.h"
#include "platform/sdl/sdl_windows.h"

namespace sdl {
namespace {

// The keyboard and the gamepads are one set of keys: a key is down for the
// engine while any of them holds it.
struct InputState {
    bool appActive = false;
    platform::KeyboardState keys;   // as the engine was told
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

void TranslateKey(const SDL_KeyboardEvent& key, std::deque<MSG>& out) {
    HWND window = WindowFromId(key.windowID);
    if (window == nullptr) window = MainWindow();
    if (TakeWindowKey(key, window)) return;
    const int code = VirtualKey(key.keysym.sym, key.keysym.scancode);
    if (window == nullptr || code == 0) return;
    const bool press = key.type == SDL_KEYDOWN;
    InputState& state = State();
    state.keyboardHeld[code] = press;
    if (!press && state.gamepadsHolding[code] > 0) return;
    platform::AddKeyMessages(window, code, press, (key.keysym.mod & KMOD_ALT) != 0,
                             (key.keysym.mod & KMOD_CTRL) != 0, state.keys, out);
}

void TranslateGamepad(const SDL_Event& event, std::deque<MSG>& out) {
    std::vector<PadKey> keys;
    TranslateGamepadEvent(event, keys);
    InputState& state = State();
    for (const PadKey& key : keys) {
        state.gamepadsHolding[key.code] += key.press ? 1 : -1;
        const bool down = state.gamepadsHolding[key.code] > 0 || state.keyboardHeld[key.code];
        if (down == state.keys.down[key.code]) continue;
        state.keys.down[key.code] = down;
        if (MainWindow() != nullptr)
            Add(out, MainWindow(), down ? WM_KEYDOWN : WM_KEYUP, static_cast<WPARAM>(key.code),
                platform::KeyParam(!down, !down));
    }
}

void TranslateText(const SDL_TextInputEvent& text, std::deque<MSG>& out) {
    HWND window = WindowFromId(text.windowID);
    if (window == nullptr) window = MainWindow();
    if (window == nullptr) return;
    for (std::uint32_t cp : charset::CodePoints(text.text)) {
        const int code = charset::CharacterCode(cp);
        // Characters outside the 8-bit set cannot reach the game.
        if (code > 0) Add(out, window, WM_CHAR, static_cast<WPARAM>(code), 1);
    }
}

WPARAM MouseKeys(Uint32 buttons) {
    const SDL_Keymod mod = SDL_GetModState();
    return platform::MouseKeys((buttons & SDL_BUTTON_LMASK) != 0, (buttons & SDL_BUTTON_RMASK) != 0,
                               (buttons & SDL_BUTTON_MMASK) != 0, (mod & KMOD_SHIFT) != 0,
                               (mod & KMOD_CTRL) != 0);
}

void TranslateButton(const SDL_MouseButtonEvent& button, std::deque<MSG>& out) {
    // Mouse positions reach the engine in the client area's own pixels, however
    // large the window shows it; the black bars beside the picture are outside it.
    HWND window = WindowFromId(button.windowID);
    int x = button.x;
    int y = button.y;
    if (window == nullptr || !ClientPoint(window, x, y)) return;
    const bool press = button.type == SDL_MOUSEBUTTONDOWN;
    platform::MouseButton which;
    switch (button.button) {
        case SDL_BUTTON_LEFT:
            which = platform::MouseButton::Left;
            break;
        case SDL_BUTTON_RIGHT:
            which = platform::MouseButton::Right;
            break;
        case SDL_BUTTON_MIDDLE:
            which = platform::MouseButton::Middle;
            break;
        default:
            return;
    }
    Add(out, window, platform::MouseButtonMessage(which, press),
        MouseKeys(SDL_GetMouseState(nullptr, nullptr)), MAKELPARAM(x, y));
}

void TranslateWindowEvent(const SDL_WindowEvent& event, std::deque<MSG>& out) {
    HWND window = WindowFromId(event.windowID);
    if (window == nullptr) return;
    InputState& state = State();
    switch (event.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST:
            window->focused = event.event == SDL_WINDOWEVENT_FOCUS_GAINED;
            platform::AddFocusMessages(window, window->focused, state.appActive, out);
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
