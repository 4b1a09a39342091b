// The web backend's tests, a page that tests/web/web_check.py opens: the rules
// every backend obeys (tests/platform/*_rules_check.h) through this backend's
// objects, and what is this backend's own: the canvas's colours, the page's
// keys and events as window messages. The page's end says whether they passed.
#include <emscripten.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <deque>
#include <vector>

#include "platform/api/platform.h"
#include "platform/common/input_messages.h"
#include "platform/web/web_events.h"
#include "platform/web/web_keys.h"
#include "platform/web/web_picture.h"
#include "tests/platform/ddraw_rules_check.h"
#include "tests/platform/dsound_rules_check.h"
#include "tests/platform/window_rules_check.h"

namespace {

HWND MakeWindow(DWORD style, int width, int height) {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "WebTest";
        registered = RegisterClassA(&windowClass) != 0;
    }
    HWND window = CreateWindowExA(0, "WebTest", "", style, 0, 0, width, height, nullptr, nullptr,
                                  nullptr, nullptr);
    if (window != nullptr) ShowWindow(window, SW_SHOWNORMAL);
    return window;
}

TEST(WebRules, WindowsAndTheQueueAnswerAsWindowsDoes) {
    windowcheck::CheckWindowRules();
    windowcheck::CheckDesktopRules();
}

TEST(WebRules, DirectDrawAnswersAsDirectDrawDoes) {
    HWND popup = MakeWindow(WS_POPUP, 40, 30);
    IDirectDraw* fresh = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &fresh, nullptr), DD_OK);
    ddrawcheck::CheckRequestRules(fresh, popup);
    ddrawcheck::CheckSurfaceCallRules(fresh);
    fresh->Release();

    IDirectDraw* directDraw = nullptr;
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw, nullptr), DD_OK);
    ASSERT_EQ(directDraw->SetCooperativeLevel(popup, DDSCL_NORMAL), DD_OK);
    ddrawcheck::CheckOverlappingCopy(directDraw);
    IDirectDrawSurface* primary = nullptr;
    IDirectDrawSurface* back = nullptr;
    DDSURFACEDESC desc = ddrawcheck::Request(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    ASSERT_EQ(directDraw->CreateSurface(&desc, &primary, nullptr), DD_OK);
    ASSERT_EQ(ddrawcheck::CreatePlain(directDraw, 40, 30, &back), DD_OK);
    ddrawcheck::CheckRectangleRules(primary, GetSystemMetrics(SM_CXSCREEN),
                                    GetSystemMetrics(SM_CYSCREEN), back);
    back->Release();
    primary->Release();
    directDraw->Release();
    DestroyWindow(popup);
}

TEST(WebRules, DirectSoundAnswersAsDirectSoundDoes) {
    IDirectSound* device = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &device, nullptr), DS_OK);
    dsoundcheck::CheckRefusedDescriptions(device);
    dsoundcheck::CheckCreationRules(device);
    dsoundcheck::CheckBufferRules(device);
    device->Release();
}

// The window on the canvas names the page, in the engine's 8-bit characters.
TEST(WebWindows, TheShownWindowsTitleNamesThePage) {
    HWND window = MakeWindow(WS_SYSMENU, 20, 10);
    ASSERT_TRUE(SetWindowTextA(window, "Caf\xE9"));
    EXPECT_STREQ(emscripten_run_script_string("document.title"), "Caf\xC3\xA9");
    ASSERT_TRUE(SetWindowTextA(window, ""));
    EXPECT_STREQ(emscripten_run_script_string("document.title"), "Corvane");
    DestroyWindow(window);
}

// The canvas shows each 16-bit word in colours that read back as that word,
// which is how the page's pictures are checked.
TEST(WebPicture, EveryWordReadsBackFromItsCanvasColours) {
    for (unsigned word = 0; word <= 0xFFFF; ++word) {
        const std::uint32_t rgba = web::RgbaOf(static_cast<std::uint16_t>(word));
        const unsigned red = rgba & 0xFF, green = (rgba >> 8) & 0xFF, blue = (rgba >> 16) & 0xFF;
        ASSERT_EQ((red >> 3) << 11 | (green >> 2) << 5 | blue >> 3, word);
        ASSERT_EQ(rgba >> 24, 0xFFu);
    }
    EXPECT_EQ(web::RgbaOf(0xFFFF), 0xFFFFFFFFu);
    // Rows a pitch apart come out packed.
    const std::uint16_t picture[] = {0xF800, 0x07E0, 0xDEAD, 0x001F, 0xFFFF, 0xBEEF};
    std::vector<std::uint32_t> rgba;
    web::ToRgba(picture, 2, 2, 3 * sizeof(std::uint16_t), rgba);
    EXPECT_EQ(rgba, (std::vector<std::uint32_t>{web::RgbaOf(0xF800), web::RgbaOf(0x07E0),
                                                web::RgbaOf(0x001F), web::RgbaOf(0xFFFF)}));
}

TEST(WebKeys, KeysGetTheirWindowsCodes) {
    EXPECT_EQ(web::VirtualKey("ArrowLeft", "ArrowLeft"), VK_LEFT);
    EXPECT_EQ(web::VirtualKey("ShiftRight", "Shift"), VK_RSHIFT);
    EXPECT_EQ(web::VirtualKey("Escape", "Escape"), VK_ESCAPE);
    // A letter key follows the layout (on AZERTY the Q place types a); a key
    // that types another character keeps its place's code.
    EXPECT_EQ(web::VirtualKey("KeyQ", "a"), 'A');
    EXPECT_EQ(web::VirtualKey("KeyQ", "\xD0\xB9"), 'Q');
    EXPECT_EQ(web::VirtualKey("Digit1", "&"), '1');
    EXPECT_EQ(web::VirtualKey("Semicolon", ";"), VK_OEM_1);
    EXPECT_EQ(web::VirtualKey("Lang1", "Unidentified"), 0);
    // Every key a script can name comes back as itself.
    for (int key : {VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN, VK_ESCAPE, VK_SPACE, VK_RETURN, VK_BACK,
                    int{'A'}, int{'Z'}, int{'0'}, int{'9'}}) {
        const web::DomKey dom = web::DomKeyOf(key);
        EXPECT_EQ(web::VirtualKey(dom.code, dom.key), key) << dom.code;
    }
}

struct Sent {
    UINT message;
    WPARAM wParam;
    bool operator==(const Sent& other) const {
        return message == other.message && wParam == other.wParam;
    }
};

std::vector<Sent> Translate(HWND window, int kind, const char* code, const char* key, int flags) {
    web::PageEvent event;
    event.kind = kind;
    event.flags = flags;
    std::snprintf(event.code, sizeof event.code, "%s", code);
    std::snprintf(event.key, sizeof event.key, "%s", key);
    std::deque<MSG> out;
    web::TranslatePageEvent(window, event, out);
    std::vector<Sent> sent;
    for (const MSG& msg : out) sent.push_back({msg.message, msg.wParam});
    return sent;
}

TEST(WebEvents, KeysTypeWhatThePageSaysTheyType) {
    HWND window = MakeWindow(WS_SYSMENU, 20, 10);
    const int down = web::PageEvent::kKeyDown;
    EXPECT_EQ(Translate(window, down, "KeyA", "a", 0),
              (std::vector<Sent>{{WM_KEYDOWN, 'A'}, {WM_CHAR, 'a'}}));
    EXPECT_EQ(Translate(window, down, "KeyA", "A", web::PageEvent::kShift),
              (std::vector<Sent>{{WM_KEYDOWN, 'A'}, {WM_CHAR, 'A'}}));
    EXPECT_EQ(Translate(window, down, "KeyA", "a", web::PageEvent::kControl),
              (std::vector<Sent>{{WM_KEYDOWN, 'A'}, {WM_CHAR, 1}}));
    EXPECT_EQ(Translate(window, down, "KeyA", "a", web::PageEvent::kAlt),
              (std::vector<Sent>{{WM_SYSKEYDOWN, 'A'}}));
    EXPECT_EQ(Translate(window, down, "Digit2", "\xC3\xA9", 0),
              (std::vector<Sent>{{WM_KEYDOWN, '2'}, {WM_CHAR, 0xE9}}));
    EXPECT_EQ(Translate(window, down, "KeyE", "\xE2\x82\xAC",
                        web::PageEvent::kAlt | web::PageEvent::kControl),
              (std::vector<Sent>{{WM_KEYDOWN, 'E'}, {WM_CHAR, 0x80}}));
    // Enter types its character through TranslateMessage, as every key that has one there.
    EXPECT_EQ(Translate(window, down, "Enter", "Enter", 0),
              (std::vector<Sent>{{WM_KEYDOWN, VK_RETURN}}));
    EXPECT_EQ(Translate(window, web::PageEvent::kKeyUp, "Enter", "Enter", 0),
              (std::vector<Sent>{{WM_KEYUP, VK_RETURN}}));
    DestroyWindow(window);
}

TEST(WebEvents, TheMouseAndTheFocusAsWindowsSendsThem) {
    HWND window = MakeWindow(WS_SYSMENU, 20, 10);
    web::PageEvent press;
    press.kind = web::PageEvent::kMouseDown;
    press.x = 7;
    press.y = 3;
    press.button = 1;  // the DOM's middle button
    press.buttons = web::PageEvent::kMiddleHeld;
    std::deque<MSG> out;
    web::TranslatePageEvent(window, press, out);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].message, static_cast<UINT>(WM_MBUTTONDOWN));
    EXPECT_EQ(out[0].wParam, platform::MouseKeys(false, false, true, false, false));
    EXPECT_EQ(out[0].lParam, MAKELPARAM(7, 3));

    out.clear();
    web::PageEvent focus;
    focus.kind = web::PageEvent::kFocus;
    focus.x = 0;
    web::TranslatePageEvent(window, focus, out);
    web::TranslatePageEvent(window, focus, out);
    focus.x = 1;
    web::TranslatePageEvent(window, focus, out);
    // Focus lost once (whatever the page says twice), then back.
    std::vector<UINT> messages;
    for (const MSG& msg : out) messages.push_back(msg.message);
    EXPECT_EQ(messages,
              (std::vector<UINT>{WM_ACTIVATEAPP, WM_KILLFOCUS, WM_ACTIVATEAPP, WM_SETFOCUS}));
    EXPECT_EQ(GetForegroundWindow(), window);
    DestroyWindow(window);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int argc = 1;
    char name[] = "web_backend_tests";
    char* argv[] = {name, nullptr};
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
