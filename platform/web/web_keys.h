// Windows virtual-key codes for the page's keys, which the DOM names by their
// place on the keyboard (KeyboardEvent.code) and by what they type (.key).
#pragma once

#include <string>

namespace web {

// The virtual-key code (1..254) of a key, or 0 for a key Windows has no code
// for. A letter key has the code of the letter it types in the layout (the key
// that types Z is 'Z'), as on Windows; every other key the code of its place.
// Side-specific modifiers get their side's code (VK_LSHIFT, VK_RMENU, ...).
int VirtualKey(const std::string& code, const std::string& key);

// The DOM's name for the key of a virtual-key code and what it types without
// Shift on a US keyboard ("KeyA" and "a", "Space" and " ", "Enter" and
// "Enter"), as a scripted key is pressed; both empty for a code with no key.
struct DomKey {
    std::string code;
    std::string key;
};
DomKey DomKeyOf(int virtualKey);

}  // namespace web
