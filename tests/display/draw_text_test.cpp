#include <cstdint>
#include <vector>

#include "platform/common/bitmap_font.h"
#include "platform/headless/device_context.h"
#include "shell/windx.h"
#include "tests/support/engine_fixture.h"

namespace {

constexpr std::uint16_t kBackground = 0x0842;
const char* const kNoContext = "WinDX::DrawText: Unable to get device context handle.\n  ";

// A back surface that lends a device context over its own 5:6:5 pixels, or
// refuses with a chosen result, and counts what the engine asks of it.
class TextSurface : public IDirectDrawSurface {
public:
    TextSurface(int width, int height) : pixels(static_cast<size_t>(width) * height, kBackground) {
        dc.pixels = pixels.data();
        dc.width = width;
        dc.height = height;
        dc.pitchBytes = width * 2;
        dc.redMask = 0xF800;
        dc.greenMask = 0x07E0;
        dc.blueMask = 0x001F;
    }
    ULONG Release() override { return 0; }
    HRESULT BltFast(DWORD, DWORD, IDirectDrawSurface*, LPRECT, DWORD) override { return DD_OK; }
    HRESULT Flip(IDirectDrawSurface*, DWORD) override { return DD_OK; }
    HRESULT GetAttachedSurface(LPDDSCAPS, IDirectDrawSurface**) override { return DD_OK; }
    HRESULT GetDC(HDC* out) override {
        ++getCalls;
        if (refuse != DD_OK) return refuse;
        *out = &dc;
        ++lent;
        return DD_OK;
    }
    HRESULT GetSurfaceDesc(LPDDSURFACEDESC) override { return DD_OK; }
    HRESULT IsLost() override { return DD_OK; }
    HRESULT Lock(LPRECT, LPDDSURFACEDESC, DWORD, HANDLE) override { return DD_OK; }
    HRESULT ReleaseDC(HDC given) override {
        if (given == &dc) --lent;
        ++releaseCalls;
        return DD_OK;
    }
    HRESULT Restore() override { return DD_OK; }
    HRESULT Unlock(LPVOID) override { return DD_OK; }

    int Count(std::uint16_t value) const {
        int n = 0;
        for (std::uint16_t p : pixels) n += p == value;
        return n;
    }

    std::vector<std::uint16_t> pixels;
    HDC__ dc;
    HRESULT refuse = DD_OK;
    int getCalls = 0;
    int releaseCalls = 0;
    int lent = 0;
};

int GlyphPixels(const char* text) {
    int count = 0;
    for (const char* ch = text; *ch != '\0'; ++ch)
        for (int r = 0; r < bitmapfont::kGlyphHeight; ++r)
            for (int c = 0; c < bitmapfont::kGlyphWidth; ++c)
                count += (bitmapfont::kGlyphs[static_cast<unsigned char>(*ch)][r] >> c) & 1;
    return count;
}

using DrawTextTest = EngineTest;

TEST_F(DrawTextTest, TextColourPacksTheLowByteOfEachComponent) {
    EXPECT_EQ(Corvane.textColor, 0u);
    Corvane.SetTextRGB(300, 0, 0);
    EXPECT_EQ(Corvane.textRed, 300);
    EXPECT_EQ(Corvane.textColor, 44u);
    Corvane.SetTextRGB(1, 2, 3);
    EXPECT_EQ(Corvane.textColor, 0x030201u);
    Corvane.SetTextRGB(-1, 256, 255);
    EXPECT_EQ(Corvane.textRed, -1);
    EXPECT_EQ(Corvane.textGreen, 256);
    EXPECT_EQ(Corvane.textColor, 0xFF00FFu);
}

TEST_F(DrawTextTest, DrawsTransparentGlyphsInTheTextColourAndGivesTheContextBack) {
    TextSurface surface(64, 32);
    Corvane.backSurface = &surface;
    Corvane.SetTextRGB(0, 255, 0);
    EXPECT_EQ(Corvane.DrawText(2, 3, "Go"), 1);
    EXPECT_EQ(surface.Count(0x07E0), GlyphPixels("Go"));
    EXPECT_EQ(surface.Count(kBackground) + surface.Count(0x07E0), 64 * 32);
    EXPECT_EQ(surface.dc.backgroundMode, TRANSPARENT);
    EXPECT_EQ(surface.getCalls, 1);
    EXPECT_EQ(surface.releaseCalls, 1);
    EXPECT_EQ(surface.lent, 0);
    EXPECT_EQ(ReadDebugLog(), "");
    Corvane.backSurface = nullptr;
}

TEST_F(DrawTextTest, EmptyOrMissingTextDrawsNothingAndSucceeds) {
    TextSurface surface(16, 16);
    Corvane.backSurface = &surface;
    EXPECT_EQ(Corvane.DrawText(0, 0, ""), 1);
    EXPECT_EQ(Corvane.DrawText(0, 0, nullptr), 1);
    EXPECT_EQ(surface.Count(kBackground), 16 * 16);
    EXPECT_EQ(surface.lent, 0);
    Corvane.backSurface = nullptr;
}

TEST_F(DrawTextTest, RefusedContextIsLoggedAndDrawsNothing) {
    TextSurface surface(16, 16);
    surface.refuse = DDERR_CANTCREATEDC;
    Corvane.backSurface = &surface;
    Corvane.SetTextRGB(255, 255, 255);
    EXPECT_EQ(Corvane.DrawText(0, 0, "X"), 0);
    EXPECT_EQ(surface.Count(kBackground), 16 * 16);
    EXPECT_EQ(surface.releaseCalls, 0);
    EXPECT_EQ(ReadDebugLog(), kNoContext);
    Corvane.backSurface = nullptr;
}

TEST_F(DrawTextTest, WithoutABackSurfaceItIsTreatedAsARefusedContext) {
    EXPECT_EQ(Corvane.DrawText(0, 0, "X"), 0);
    EXPECT_EQ(ReadDebugLog(), kNoContext);
}

}  // namespace
