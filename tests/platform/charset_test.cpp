#include "platform/common/charset.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

TEST(Charset, CodePointsBecomeWindows1252Codes) {
    EXPECT_EQ(charset::CharacterCode('a'), 'a');
    EXPECT_EQ(charset::CharacterCode(0xE9), 0xE9);    // é, Latin-1
    EXPECT_EQ(charset::CharacterCode(0x20AC), 0x80);  // €
    EXPECT_EQ(charset::CharacterCode(0x0178), 0x9F);  // Ÿ
    EXPECT_EQ(charset::CharacterCode(0x85), -1);      // a C1 control, not a character here
    EXPECT_EQ(charset::CharacterCode(0x4E2D), -1);    // 中
}

TEST(Charset, Utf8IsDecodedAndBadBytesSkipped) {
    EXPECT_EQ(charset::CodePoints("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"),
              (std::vector<std::uint32_t>{'a', 0xE9, 0x20AC, 0x1F600}));
    // A stray continuation byte, a cut sequence, an overlong '/' and a surrogate.
    EXPECT_EQ(charset::CodePoints("\x80"
                                  "x\xE2\x82"
                                  "y\xC0\xAF\xED\xA0\x80z"),
              (std::vector<std::uint32_t>{'x', 'y', 'z'}));
    EXPECT_EQ(charset::Utf8FromCodes("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(charset::Utf8FromCodes("\x81"), "\xEF\xBF\xBD");
}

}  // namespace
