// Shared set-up for the SDL backend's tests, which run on SDL's dummy video
// driver: windows exist and draw into memory, and nothing reaches a screen.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "platform/api/platform.h"

namespace sdltest {

// A message as the window procedure received it.
struct Delivered {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// Every message the test window class received, in order.
std::vector<Delivered>& Received();

// The test window class "SdlTest", registered once; its procedure records each
// message and then calls DefWindowProcA.
void RegisterTestClass();

class SdlTest : public ::testing::Test {
protected:
    void SetUp() override;
    // Destroys the windows the test made and empties the message queue.
    void TearDown() override;

    // A window of the test class; shown unless asked otherwise.
    HWND MakeWindow(DWORD style, int x, int y, int width, int height, bool show = true);
    // Takes every waiting message, dispatching all but WM_QUIT, and returns them.
    std::vector<MSG> Pump(bool translate = false);

    std::vector<HWND> windows_;
};

}  // namespace sdltest
