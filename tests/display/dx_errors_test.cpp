#include "display/dx_errors.h"

#include <set>
#include <string>

#include "shell/windx.h"
#include "tests/support/engine_fixture.h"

namespace {

class DXErrorsTest : public EngineTest {};

TEST_F(DXErrorsTest, KnownCodesLogTheirLine) {
    EXPECT_EQ(Corvane.LogDXError(static_cast<std::int32_t>(0x887601C2u)), 1);
    EXPECT_EQ(ReadDebugLog(),
              "DirectX: Access to this surface is being refused because the surface memory is "
              "gone. The DirectDrawSurface object representing this surface should have Restore "
              "called on it.\n  ");
}

TEST_F(DXErrorsTest, OutOfMemoryAndOutOfVideoMemoryShareATextAndTheOverlayRowIsMisspelt) {
    Corvane.LogDXError(static_cast<std::int32_t>(0x8007000Eu));
    Corvane.LogDXError(static_cast<std::int32_t>(0x8876017Cu));
    Corvane.LogDXError(static_cast<std::int32_t>(0x88760244u));
    Corvane.LogDXError(static_cast<std::int32_t>(0x887601E0u));
    const std::string line =
        "DirectX: DirectDraw does not have enough memory to perform the operation.\n  ";
    EXPECT_EQ(ReadDebugLog(),
              line + line +
                  "DirctX: Returned when an overlay member is called for a non-overlay surface.\n  "
                  "DirectX: Size requested by DirectDraw is too large --\tthe individual height "
                  "and width are OK.\n  ");
}

TEST_F(DXErrorsTest, UnknownCodesLogNothing) {
    for (std::uint32_t code : {0u, 1u, 0x88760001u, 0x887601C3u, 0x80004002u, 0x08760005u}) {
        EXPECT_EQ(Corvane.LogDXError(static_cast<std::int32_t>(code)), 0) << std::hex << code;
    }
    EXPECT_EQ(ReadDebugLog(), "");
}

TEST_F(DXErrorsTest, TableHas89CodesAnd88TextsEachLoggedByItsOwnCode) {
    ASSERT_EQ(DXErrorTextCount(), 89u);
    std::set<std::int32_t> codes;
    std::set<std::string> texts;
    int misspelt = 0;
    std::string expected;
    for (std::size_t i = 0; i < DXErrorTextCount(); ++i) {
        const DXErrorText& entry = DXErrorTexts()[i];
        codes.insert(entry.code);
        texts.insert(entry.text);
        const std::string text = entry.text;
        EXPECT_EQ(text.back(), '\n') << text;
        if (text.rfind("DirectX: ", 0) != 0) {
            ++misspelt;
            EXPECT_EQ(text.rfind("DirctX: ", 0), 0u) << text;
        }
        const std::uint32_t code = static_cast<std::uint32_t>(entry.code);
        EXPECT_TRUE((code & 0xFFFF0000u) == 0x88760000u || code == 0x80004001u ||
                    code == 0x80004005u || code == 0x8007000Eu || code == 0x80070057u)
            << std::hex << code;
        Corvane.LogDXError(entry.code);
        expected += text + "  ";
    }
    EXPECT_EQ(codes.size(), 89u);
    EXPECT_EQ(texts.size(), 88u);
    EXPECT_EQ(misspelt, 1);
    EXPECT_EQ(ReadDebugLog(), expected);
}

}  // namespace
