// The keyboard's, the mouse's and the focus's window messages as Windows sends
// them, for backends whose events only say what happened (a key went down, the
// window got the focus): every backend builds them here, so they come alike.
#pragma once

#include <deque>

#include "platform/api/platform.h"

namespace platform {

// The side-neutral code of a side-specific modifier (VK_LSHIFT -> VK_SHIFT,
// VK_RCONTROL -> VK_CONTROL, VK_LMENU -> VK_MENU, ...), else 0.
int NeutralKey(int virtualKey);

// Which keys the engine was told are down, by virtual-key code.
struct KeyboardState {
    bool down[256] = {};
};

// A key message's lParam: a repeat count of 1, bit 30 set when the key was down
// already, bit 31 on release.
LPARAM KeyParam(bool wasDown, bool release);

// Appends the messages of key `code` (1..255) going down or up and notes it in
// `keys`: WM_SYSKEYDOWN and WM_SYSKEYUP while Alt is held (without Control,
// which makes AltGr), for F10 and for Alt itself, else WM_KEYDOWN and WM_KEYUP.
// A side-specific modifier first moves its neutral code, which stays down while
// either side is held.
void AddKeyMessages(HWND window, int code, bool press, bool alt, bool control, KeyboardState& keys,
                    std::deque<MSG>& out);

// The control character Control and a letter key type (Control+A is 1); 0 for
// any other key.
unsigned ControlCharacter(unsigned key);

// A mouse message's wParam: the MK_* flags of the buttons and keys held.
WPARAM MouseKeys(bool left, bool right, bool middle, bool shift, bool control);

enum class MouseButton { Left, Right, Middle };
// WM_LBUTTONDOWN, WM_RBUTTONUP, ...
UINT MouseButtonMessage(MouseButton button, bool press);

// Appends the messages of `window` getting or losing the keyboard focus: first
// WM_ACTIVATEAPP when the program becomes active or inactive with it (noted in
// `appActive`), then WM_SETFOCUS or WM_KILLFOCUS.
void AddFocusMessages(HWND window, bool gained, bool& appActive, std::deque<MSG>& out);

}  // namespace platform
