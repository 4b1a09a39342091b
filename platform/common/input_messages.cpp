#include "platform/common/input_messages.h"

#include <cstdint>

#include "platform/common/message_queue.h"

namespace platform {
namespace {

constexpr WPARAM kMkLeft = 0x01;
constexpr WPARAM kMkRight = 0x02;
constexpr WPARAM kMkShift = 0x04;
constexpr WPARAM kMkControl = 0x08;
constexpr WPARAM kMkMiddle = 0x10;

// Side-specific modifiers and the code of either side.
struct SidedKey {
    int code;
    int neutral;
};
constexpr SidedKey kSidedKeys[] = {
    {VK_LSHIFT, VK_SHIFT},     {VK_RSHIFT, VK_SHIFT}, {VK_LCONTROL, VK_CONTROL},
    {VK_RCONTROL, VK_CONTROL}, {VK_LMENU, VK_MENU},   {VK_RMENU, VK_MENU},
};

void Add(std::deque<MSG>& out, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    out.push_back(MakeMessage(window, message, wParam, lParam));
}

}  // namespace

int NeutralKey(int virtualKey) {
    for (const SidedKey& row : kSidedKeys)
        if (row.code == virtualKey) return row.neutral;
    return 0;
}

LPARAM KeyParam(bool wasDown, bool release) {
    std::uintptr_t value = 1;
    if (wasDown) value |= std::uintptr_t{1} << 30;
    if (release) value |= std::uintptr_t{1} << 31;
    return static_cast<LPARAM>(value);
}

void AddKeyMessages(HWND window, int code, bool press, bool alt, bool control, KeyboardState& keys,
                    std::deque<MSG>& out) {
    const int neutral = NeutralKey(code);
    const bool system = (alt && !control) || code == VK_F10 || neutral == VK_MENU;
    const UINT message =
        press ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    const bool wasDown = keys.down[code];
    keys.down[code] = press;
    // The left and right codes of a pair differ only in their lowest bit.
    if (neutral != 0 && (press || !keys.down[code ^ 1])) {
        const bool neutralWasDown = keys.down[neutral];
        keys.down[neutral] = press;
        Add(out, window, message, static_cast<WPARAM>(neutral), KeyParam(neutralWasDown, !press));
    }
    Add(out, window, message, static_cast<WPARAM>(code), KeyParam(wasDown, !press));
}

unsigned ControlCharacter(unsigned key) {
    return key >= 'A' && key <= 'Z' ? key - 'A' + 1 : 0;
}

WPARAM MouseKeys(bool left, bool right, bool middle, bool shift, bool control) {
    return (left ? kMkLeft : 0) | (right ? kMkRight : 0) | (middle ? kMkMiddle : 0) |
           (shift ? kMkShift : 0) | (control ? kMkControl : 0);
}

UINT MouseButtonMessage(MouseButton button, bool press) {
    switch (button) {
        case MouseButton::Left:
            return press ? WM_LBUTTONDOWN : WM_LBUTTONUP;
        case MouseButton::Right:
            return press ? WM_RBUTTONDOWN : WM_RBUTTONUP;
        case MouseButton::Middle:
            break;
    }
    return press ? WM_MBUTTONDOWN : WM_MBUTTONUP;
}

void AddFocusMessages(HWND window, bool gained, bool& appActive, std::deque<MSG>& out) {
    if (appActive != gained) {
        appActive = gained;
        Add(out, window, WM_ACTIVATEAPP, gained ? 1 : 0, 0);
    }
    Add(out, window, gained ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
}

}  // namespace platform
