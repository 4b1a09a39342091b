// The rules of windows and the message queue, checked alike on each backend
// (they live once, in platform/common: window_system.h and message_queue.h).
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/common/message_queue.h"
#include "platform/common/window_system.h"

namespace windowcheck {

struct Heard {
    UINT message;
    WPARAM wParam;
};

inline std::vector<Heard>& HeardMessages() {
    static std::vector<Heard> heard;
    return heard;
}

inline LRESULT CALLBACK Listen(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HeardMessages().push_back({message, wParam});
    return DefWindowProcA(window, message, wParam, lParam);
}

inline std::vector<UINT> Messages(const std::vector<Heard>& heard) {
    std::vector<UINT> messages;
    for (const Heard& one : heard) messages.push_back(one.message);
    return messages;
}

// Takes every waiting message, translating and dispatching it.
inline std::vector<MSG> Pump() {
    std::vector<MSG> taken;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        taken.push_back(msg);
        if (msg.message == WM_QUIT) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return taken;
}

// A typed Enter comes right after its key; the quit message after everything.
inline void CheckQueueRules(HWND window) {
    platform::MessageQueue& queue = platform::Messages();
    queue.Post(window, WM_KEYDOWN, VK_RETURN, 1);
    queue.Post(window, WM_KEYUP, VK_RETURN, 1);
    queue.Post(window, WM_KEYDOWN, VK_F1, 1);
    PostQuitMessage(7);
    EXPECT_EQ(MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_POSTMESSAGE), WAIT_OBJECT_0);
    EXPECT_EQ(MsgWaitForMultipleObjects(1, nullptr, FALSE, 0, QS_POSTMESSAGE), WAIT_FAILED);
    HeardMessages().clear();
    const std::vector<MSG> taken = Pump();
    ASSERT_EQ(taken.size(), 5u);
    EXPECT_EQ(taken[1].message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(taken[1].wParam, static_cast<WPARAM>(VK_RETURN));
    EXPECT_EQ(taken[2].message, static_cast<UINT>(WM_KEYUP));
    EXPECT_EQ(taken[4].message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(taken[4].wParam, 7u);
    MSG keyUp = taken[2];
    EXPECT_FALSE(TranslateMessage(&keyUp));
}

// Registers the class "WindowRules" (once per program) and checks what a
// window hears as it is made and closed, and what the queue hands out.
inline void CheckWindowRules() {
    Pump();
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = Listen;
    windowClass.lpszClassName = "WindowRules";
    RegisterClassA(&windowClass);
    EXPECT_EQ(RegisterClassA(&windowClass), 0) << "a class is registered once";
    WNDCLASSA noProcedure = windowClass;
    noProcedure.lpfnWndProc = nullptr;
    noProcedure.lpszClassName = "WindowRulesWithoutProcedure";
    EXPECT_EQ(RegisterClassA(&noProcedure), 0);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);

    HeardMessages().clear();
    HWND window = CreateWindowExA(0, "WindowRules", "", WS_POPUP, 10, 20, 64, 48, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Messages(HeardMessages()), (std::vector<UINT>{WM_CREATE, WM_SIZE, WM_MOVE}));
    RECT client = {};
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right, 64);
    EXPECT_EQ(client.bottom, 48);
    POINT origin = {1, 1};
    ASSERT_TRUE(ClientToScreen(window, &origin));
    EXPECT_EQ(origin.x, 11);
    EXPECT_EQ(origin.y, 21);
    RECT moved = {1, 2, 3, 4};
    ASSERT_TRUE(OffsetRect(&moved, 10, -2));
    EXPECT_EQ(moved.left, 11);
    EXPECT_EQ(moved.top, 0);
    EXPECT_EQ(moved.right, 13);
    EXPECT_EQ(moved.bottom, 2);
    EXPECT_FALSE(OffsetRect(nullptr, 1, 1));
    // A title is set through the window's procedure, which passes WM_SETTEXT on.
    HeardMessages().clear();
    EXPECT_TRUE(SetWindowTextA(window, "Snake"));
    EXPECT_EQ(Messages(HeardMessages()), (std::vector<UINT>{WM_SETTEXT}));
    EXPECT_EQ(platform::LiveWindow(window)->title, "Snake");
    EXPECT_TRUE(SetWindowTextA(window, nullptr));
    EXPECT_EQ(platform::LiveWindow(window)->title, "");

    CheckQueueRules(window);

    // Alt+F4 asks the window to close, which destroys it.
    HeardMessages().clear();
    platform::Send(window, WM_SYSKEYDOWN, VK_F4, 0);
    EXPECT_EQ(Messages(HeardMessages()), (std::vector<UINT>{WM_SYSKEYDOWN, WM_CLOSE, WM_DESTROY}));
    EXPECT_FALSE(platform::IsLive(window));
    EXPECT_FALSE(DestroyWindow(window));
    EXPECT_FALSE(GetClientRect(window, &client));
    EXPECT_FALSE(SetWindowTextA(window, "gone"));
}

// The desktop's own calls: metrics, the screen's context and the program's file.
inline void CheckDesktopRules() {
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(99), 0);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 16);
    EXPECT_EQ(GetDeviceCaps(nullptr, BITSPIXEL), 0);
    // Every backend measures text in the bitmap font, the screen's context too.
    SIZE extent = {0, 0};
    EXPECT_TRUE(GetTextExtentPoint32A(screen, "abc", 3, &extent));
    EXPECT_EQ(extent.cx, 24);
    EXPECT_EQ(extent.cy, 16);
    EXPECT_FALSE(GetTextExtentPoint32A(screen, nullptr, 2, &extent));
    EXPECT_FALSE(GetTextExtentPoint32A(screen, "abc", -1, &extent));
    EXPECT_FALSE(GetTextExtentPoint32A(nullptr, "abc", 3, &extent));
    EXPECT_FALSE(GetTextExtentPoint32A(screen, "abc", 3, nullptr));
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_NE(LoadCursorA(nullptr, IDC_ARROW), nullptr);
    char whole[4096];
    const DWORD length = GetModuleFileNameA(nullptr, whole, sizeof whole);
    ASSERT_GT(length, 3u);
    char cut[4];
    EXPECT_EQ(GetModuleFileNameA(nullptr, cut, sizeof cut), 4u) << "a cut name says so";
    EXPECT_EQ(std::strlen(cut), 3u);
    EXPECT_EQ(std::strncmp(cut, whole, 3), 0);
    EXPECT_EQ(GetModuleFileNameA(reinterpret_cast<HMODULE>(whole), cut, sizeof cut), 0u);
}

}  // namespace windowcheck
