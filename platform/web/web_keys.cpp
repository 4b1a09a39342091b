#include "platform/web/web_keys.h"

#include "platform/api/platform.h"

namespace web {
namespace {

struct PlacedKey {
    const char* code;
    int virtualKey;
};
constexpr PlacedKey kPlacedKeys[] = {
    {"Backspace", VK_BACK},
    {"Tab", VK_TAB},
    {"Enter", VK_RETURN},
    {"NumpadEnter", VK_RETURN},
    {"Pause", VK_PAUSE},
    {"CapsLock", VK_CAPITAL},
    {"Escape", VK_ESCAPE},
    {"Space", VK_SPACE},
    {"PageUp", VK_PRIOR},
    {"PageDown", VK_NEXT},
    {"End", VK_END},
    {"Home", VK_HOME},
    {"ArrowLeft", VK_LEFT},
    {"ArrowUp", VK_UP},
    {"ArrowRight", VK_RIGHT},
    {"ArrowDown", VK_DOWN},
    {"PrintScreen", VK_SNAPSHOT},
    {"Insert", VK_INSERT},
    {"Delete", VK_DELETE},
    {"MetaLeft", VK_LWIN},
    {"MetaRight", VK_RWIN},
    {"ContextMenu", VK_APPS},
    {"Numpad0", VK_NUMPAD0},
    {"Numpad1", VK_NUMPAD1},
    {"Numpad2", VK_NUMPAD2},
    {"Numpad3", VK_NUMPAD3},
    {"Numpad4", VK_NUMPAD4},
    {"Numpad5", VK_NUMPAD5},
    {"Numpad6", VK_NUMPAD6},
    {"Numpad7", VK_NUMPAD7},
    {"Numpad8", VK_NUMPAD8},
    {"Numpad9", VK_NUMPAD9},
    {"NumpadMultiply", VK_MULTIPLY},
    {"NumpadAdd", VK_ADD},
    {"NumpadSubtract", VK_SUBTRACT},
    {"NumpadDecimal", VK_DECIMAL},
    {"NumpadDivide", VK_DIVIDE},
    {"F1", VK_F1},
    {"F2", VK_F2},
    {"F3", VK_F3},
    {"F4", VK_F4},
    {"F5", VK_F5},
    {"F6", VK_F6},
    {"F7", VK_F7},
    {"F8", VK_F8},
    {"F9", VK_F9},
    {"F10", VK_F10},
    {"F11", VK_F11},
    {"F12", VK_F12},
    {"NumLock", VK_NUMLOCK},
    {"ScrollLock", VK_SCROLL},
    {"ShiftLeft", VK_LSHIFT},
    {"ShiftRight", VK_RSHIFT},
    {"ControlLeft", VK_LCONTROL},
    {"ControlRight", VK_RCONTROL},
    {"AltLeft", VK_LMENU},
    {"AltRight", VK_RMENU},
    // The punctuation of a US keyboard, by its place.
    {"Semicolon", VK_OEM_1},
    {"Equal", VK_OEM_PLUS},
    {"Comma", VK_OEM_COMMA},
    {"Minus", VK_OEM_MINUS},
    {"Period", VK_OEM_PERIOD},
    {"Slash", VK_OEM_2},
    {"Backquote", VK_OEM_3},
    {"BracketLeft", VK_OEM_4},
    {"Backslash", VK_OEM_5},
    {"BracketRight", VK_OEM_6},
    {"Quote", VK_OEM_7},
    {"IntlBackslash", VK_OEM_102},
};

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

int VirtualKey(const std::string& code, const std::string& key) {
    if (key.size() == 1 && IsLetter(key[0])) return Upper(key[0]);
    // "KeyQ" and "Digit1": keys that type something else in the layout.
    if (code.size() == 4 && code.compare(0, 3, "Key") == 0 && IsLetter(code[3]))
        return Upper(code[3]);
    if (code.size() == 6 && code.compare(0, 5, "Digit") == 0 && code[5] >= '0' && code[5] <= '9')
        return code[5];
    for (const PlacedKey& row : kPlacedKeys)
        if (code == row.code) return row.virtualKey;
    return 0;
}

DomKey DomKeyOf(int virtualKey) {
    if (virtualKey >= 'A' && virtualKey <= 'Z') {
        const char letter = static_cast<char>(virtualKey);
        return {std::string("Key") + letter, std::string(1, static_cast<char>(letter - 'A' + 'a'))};
    }
    if (virtualKey >= '0' && virtualKey <= '9') {
        const char digit = static_cast<char>(virtualKey);
        return {std::string("Digit") + digit, std::string(1, digit)};
    }
    if (virtualKey == VK_SPACE) return {"Space", " "};
    for (const PlacedKey& row : kPlacedKeys)
        if (row.virtualKey == virtualKey) return {row.code, row.code};
    return {};
}

}  // namespace web
