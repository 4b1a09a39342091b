// The engine's 8-bit characters (Windows-1252: Latin-1 with printable characters
// in 0x80..0x9F) against the UTF-8 text of the systems the backends run on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace charset {

// The 8-bit code of a Unicode code point, or -1 when it has none.
int CharacterCode(std::uint32_t codePoint);
// The code points of UTF-8 text; bytes that do not form a character are skipped.
std::vector<std::uint32_t> CodePoints(const char* utf8);
// UTF-8 for a string of 8-bit codes (code 0x81 and the other unused ones become U+FFFD).
std::string Utf8FromCodes(const char* text);

}  // namespace charset
