#include "platform/common/charset.h"

namespace charset {
namespace {

// Code points of 0x80..0x9F; 0 where the code is unused.
constexpr std::uint32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

int CharacterCode(std::uint32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF))
        return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i)
        if (kHighControls[i] != 0 && kHighControls[i] == codePoint) return 0x80 + i;
    return -1;
}

std::vector<std::uint32_t> CodePoints(const char* utf8) {
    std::vector<std::uint32_t> out;
    if (utf8 == nullptr) return out;
    const auto* p = reinterpret_cast<const unsigned char*>(utf8);
    while (*p != 0) {
        const unsigned lead = *p;
        int extra = 0;
        std::uint32_t cp = 0;
        if (lead < 0x80) {
            cp = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            cp = lead & 0x1F;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            cp = lead & 0x0F;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            cp = lead & 0x07;
        } else {
            ++p;  // a stray continuation byte or an invalid lead byte
            continue;
        }
        int taken = 1;
        bool valid = true;
        for (; taken <= extra; ++taken) {
            if ((p[taken] & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            cp = (cp << 6) | (p[taken] & 0x3F);
        }
        p += taken;
        // Overlong forms and surrogates are not characters.
        static constexpr std::uint32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
        if (valid && cp >= kSmallest[extra] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF))
            out.push_back(cp);
    }
    return out;
}

std::string Utf8FromCodes(const char* text) {
    std::string out;
    if (text == nullptr) return out;
    for (const auto* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        std::uint32_t cp = *p;
        if (cp >= 0x80 && cp <= 0x9F)
            cp = kHighControls[cp - 0x80] != 0 ? kHighControls[cp - 0x80] : 0xFFFD;
        AppendUtf8(out, cp);
    }
    return out;
}

}  // namespace charset
