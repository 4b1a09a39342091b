// Shared set-up for the display tests: a started engine on the headless backend.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/headless/control.h"
#include "shell/windx.h"
#include "tests/support/engine_fixture.h"

class DisplayTest : public EngineTest {
protected:
    // Runs the engine's whole start-up with a shown window.
    static bool Start(int fullscreen, int width, int height) {
        static char instance;
        Corvane.SetInstance(reinterpret_cast<HINSTANCE>(&instance), SW_SHOWNORMAL);
        return Corvane.Initialize(fullscreen, width, height);
    }

    // A picture that differs in every pixel of a small area and in every row.
    static std::uint16_t Pattern(int x, int y) {
        return static_cast<std::uint16_t>(x * 31 + y * 977 + 5);
    }

    // Locks the back buffer, draws Pattern over the view and unlocks.
    static void DrawPattern(int viewWidth, int viewHeight) {
        ASSERT_TRUE(Corvane.LockSurface());
        for (int y = 0; y < viewHeight; ++y)
            for (int x = 0; x < viewWidth; ++x)
                Corvane.GetBackBuffer()[y * Corvane.GetWidth() + x] = Pattern(x, y);
        Corvane.UnlockSurface();
    }

    // Number of pixels of a frame that differ from Pattern.
    static int PatternMismatches(const headless::Frame& frame) {
        int wrong = 0;
        for (int y = 0; y < frame.height; ++y)
            for (int x = 0; x < frame.width; ++x) wrong += frame.At(x, y) != Pattern(x, y);
        return wrong;
    }
};
