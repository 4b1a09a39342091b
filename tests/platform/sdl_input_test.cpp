#include <SDL.h>

#include <random>

#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_windows.h"
#include "tests/platform/sdl_fixture.h"

namespace {

using sdltest::SdlTest;

TEST(SdlKeys, GameKeysGetTheirWindowsCodes) {
    EXPECT_EQ(sdl::VirtualKey(SDLK_LEFT, SDL_SCANCODE_LEFT), 37);
    EXPECT_EQ(sdl::VirtualKey(SDLK_UP, SDL_SCANCODE_UP), 38);
    EXPECT_EQ(sdl::VirtualKey(SDLK_RIGHT, SDL_SCANCODE_RIGHT), 39);
    EXPECT_EQ(sdl::VirtualKey(SDLK_DOWN, SDL_SCANCODE_DOWN), 40);
    EXPECT_EQ(sdl::VirtualKey(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE), 27);
    EXPECT_EQ(sdl::VirtualKey(SDLK_RETURN, SDL_SCANCODE_RETURN), 13);
    EXPECT_EQ(sdl::VirtualKey(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER), 13);
    EXPECT_EQ(sdl::VirtualKey(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE), 8);
    EXPECT_EQ(sdl::VirtualKey(SDLK_TAB, SDL_SCANCODE_TAB), 9);
    EXPECT_EQ(sdl::VirtualKey(SDLK_SPACE, SDL_SCANCODE_SPACE), 32);
    EXPECT_EQ(sdl::VirtualKey(SDLK_F1, SDL_SCANCODE_F1), 112);
    EXPECT_EQ(sdl::VirtualKey(SDLK_F12, SDL_SCANCODE_F12), 123);
    EXPECT_EQ(sdl::VirtualKey(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT), 160);
    EXPECT_EQ(sdl::VirtualKey(SDLK_RSHIFT, SDL_SCANCODE_RSHIFT), 161);
    EXPECT_EQ(sdl::VirtualKey(SDLK_RCTRL, SDL_SCANCODE_RCTRL), 163);
    EXPECT_EQ(sdl::VirtualKey(SDLK_KP_7, SDL_SCANCODE_KP_7), 0x67);
}

TEST(SdlKeys, LettersFollowTheLayoutAndPunctuationThePosition) {
    // On a German layout the key at Y's place types Z: its code is 'Z'.
    EXPECT_EQ(sdl::VirtualKey(SDLK_z, SDL_SCANCODE_Y), 'Z');
    EXPECT_EQ(sdl::VirtualKey(SDLK_a, SDL_SCANCODE_A), 'A');
    EXPECT_EQ(sdl::VirtualKey(SDLK_7, SDL_SCANCODE_7), '7');
    // A letter key of a non-Latin layout still has its position's letter.
    EXPECT_EQ(sdl::VirtualKey(0x40000444, SDL_SCANCODE_F), 'F');
    // French digits row: the key types '&' but is the 1 key.
    EXPECT_EQ(sdl::VirtualKey(SDLK_AMPERSAND, SDL_SCANCODE_1), '1');
    EXPECT_EQ(sdl::VirtualKey(SDLK_SEMICOLON, SDL_SCANCODE_SEMICOLON), 0xBA);
    EXPECT_EQ(sdl::VirtualKey(SDLK_SLASH, SDL_SCANCODE_SLASH), 0xBF);
    EXPECT_EQ(sdl::VirtualKey(SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN), 0);
}

class SdlEvents : public SdlTest {
protected:
    void SetUp() override {
        SdlTest::SetUp();
        window_ = MakeWindow(WS_SYSMENU, 100, 50, 160, 120);
        ASSERT_NE(window_, nullptr);
        Pump();
        sdltest::Received().clear();
    }

    Uint32 Id() const { return SDL_GetWindowID(window_->sdlWindow); }

    void PushKey(SDL_Keycode key, SDL_Scancode scancode, bool down, Uint16 mod = 0) {
        SDL_Event event = {};
        event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.windowID = Id();
        event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        event.key.keysym.sym = key;
        event.key.keysym.scancode = scancode;
        event.key.keysym.mod = mod;
        SDL_PushEvent(&event);
    }

    void PushWindowEvent(Uint8 what, int data1 = 0, int data2 = 0) {
        SDL_Event event = {};
        event.type = SDL_WINDOWEVENT;
        event.window.windowID = Id();
        event.window.event = what;
        event.window.data1 = data1;
        event.window.data2 = data2;
        SDL_PushEvent(&event);
    }

    // (message, wParam) pairs of the taken messages, WM_QUIT included.
    static std::vector<std::pair<UINT, WPARAM>> Summary(const std::vector<MSG>& taken) {
        std::vector<std::pair<UINT, WPARAM>> codes;
        for (const MSG& msg : taken) codes.push_back({msg.message, msg.wParam});
        return codes;
    }

    HWND window_ = nullptr;
};

using Codes = std::vector<std::pair<UINT, WPARAM>>;

TEST_F(SdlEvents, ShiftsMoveTheirSideAndTheNeutralCode) {
    PushKey(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, true);
    PushKey(SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, true);
    PushKey(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, false);
    PushKey(SDLK_RSHIFT, SDL_SCANCODE_RSHIFT, false);
    // The neutral shift stays down while either side is held.
    EXPECT_EQ(Summary(Pump()), (Codes{{WM_KEYDOWN, 16},
                                      {WM_KEYDOWN, 160},
                                      {WM_KEYDOWN, 16},
                                      {WM_KEYDOWN, 161},
                                      {WM_KEYUP, 160},
                                      {WM_KEYUP, 16},
                                      {WM_KEYUP, 161}}));
}

TEST_F(SdlEvents, TypedTextAndTranslatedKeysBecomeCharacters) {
    PushKey(SDLK_RETURN, SDL_SCANCODE_RETURN, true);
    SDL_Event text = {};
    text.type = SDL_TEXTINPUT;
    text.text.windowID = Id();
    std::snprintf(text.text.text, sizeof(text.text.text), "a\xC3\xA9\xE4\xB8\xAD\xE2\x82\xAC");
    SDL_PushEvent(&text);
    PushKey(SDLK_RETURN, SDL_SCANCODE_RETURN, false);
    // Return's character comes right after its key, before the typed text; the
    // character outside the 8-bit set is dropped.
    EXPECT_EQ(Summary(Pump(true)), (Codes{{WM_KEYDOWN, 13},
                                          {WM_CHAR, 13},
                                          {WM_CHAR, 'a'},
                                          {WM_CHAR, 0xE9},
                                          {WM_CHAR, 0x80},
                                          {WM_KEYUP, 13}}));
    // Without TranslateMessage no character is made for Return.
    PushKey(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, true);
    EXPECT_EQ(Summary(Pump(false)), (Codes{{WM_KEYDOWN, 27}}));
}

TEST_F(SdlEvents, AltMakesSystemKeysAndAltF4ClosesTheWindow) {
    PushKey(SDLK_RIGHT, SDL_SCANCODE_RIGHT, true, KMOD_LALT);
    PushKey(SDLK_F4, SDL_SCANCODE_F4, true, KMOD_LALT);
    const auto taken = Summary(Pump(true));
    ASSERT_GE(taken.size(), 3u);
    EXPECT_EQ(taken[0], (std::pair<UINT, WPARAM>{WM_SYSKEYDOWN, 39}));
    EXPECT_EQ(taken[1], (std::pair<UINT, WPARAM>{WM_SYSKEYDOWN, 0x73}));
    // The close request destroyed the window, whose procedure posted the quit.
    EXPECT_EQ(taken.back(), (std::pair<UINT, WPARAM>{WM_QUIT, 0}));
    bool closed = false;
    for (const auto& got : sdltest::Received()) closed |= got.message == WM_CLOSE;
    EXPECT_TRUE(closed);
    EXPECT_FALSE(platform::IsLive(window_));
}

TEST_F(SdlEvents, MouseMovesAndButtonsCarryClientPositions) {
    SDL_Event motion = {};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = Id();
    motion.motion.x = 10;
    motion.motion.y = 25;
    motion.motion.state = SDL_BUTTON_LMASK;
    SDL_PushEvent(&motion);
    SDL_Event button = {};
    button.type = SDL_MOUSEBUTTONDOWN;
    button.button.windowID = Id();
    button.button.button = SDL_BUTTON_RIGHT;
    button.button.x = 11;
    button.button.y = 26;
    SDL_PushEvent(&button);
    button.type = SDL_MOUSEBUTTONUP;
    button.button.button = SDL_BUTTON_MIDDLE;
    SDL_PushEvent(&button);
    const auto taken = Pump();
    ASSERT_EQ(taken.size(), 3u);
    EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(taken[0].wParam & 1, 1u);  // MK_LBUTTON
    EXPECT_EQ(LOWORD(taken[0].lParam), 10);
    EXPECT_EQ(HIWORD(taken[0].lParam), 25);
    EXPECT_EQ(taken[1].message, static_cast<UINT>(WM_RBUTTONDOWN));
    EXPECT_EQ(HIWORD(taken[1].lParam), 26);
    EXPECT_EQ(taken[2].message, static_cast<UINT>(WM_MBUTTONUP));
}

TEST_F(SdlEvents, FocusMovesAndTheCloseBoxBecomeWindowMessages) {
    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
    PushWindowEvent(SDL_WINDOWEVENT_MOVED, 300, 200);
    EXPECT_EQ(Summary(Pump()), (Codes{{WM_ACTIVATEAPP, 1}, {WM_SETFOCUS, 0}, {WM_MOVE, 0}}));
    EXPECT_EQ(GetForegroundWindow(), window_);
    EXPECT_EQ(LOWORD(sdltest::Received().back().lParam), 300);
    EXPECT_EQ(HIWORD(sdltest::Received().back().lParam), 200);

    PushWindowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
    EXPECT_EQ(Summary(Pump()), (Codes{{WM_ACTIVATEAPP, 0}, {WM_KILLFOCUS, 0}}));
    EXPECT_EQ(GetForegroundWindow(), nullptr);

    PushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    // WM_CLOSE destroys the window; the quit message comes after everything else.
    EXPECT_EQ(Summary(Pump()), (Codes{{WM_CLOSE, 0}, {WM_QUIT, 0}}));
    EXPECT_FALSE(platform::IsLive(window_));
}

TEST_F(SdlEvents, AQuitSignalClosesTheMainWindow) {
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_EQ(Summary(Pump()), (Codes{{WM_CLOSE, 0}, {WM_QUIT, 0}}));
}

TEST_F(SdlEvents, TheQuitMessageWaitsForEveryOtherMessage) {
    PostQuitMessage(3);
    PushKey(SDLK_a, SDL_SCANCODE_A, true);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(Summary(Pump()), (Codes{{WM_KEYDOWN, 'A'}, {WM_QUIT, 3}}));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

// The keyboard and two pads (SDL's virtual controllers) press and let go of the
// right arrow in a random order: the engine hears the key go down when the first
// of them holds it and up when the last lets go. A stick counts far out, not
// near its centre, and pads pulled out let go of their keys.
TEST_F(SdlEvents, KeyboardAndGamepadsAreOneSetOfKeys) {
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    SDL_Joystick* pads[2];
    for (SDL_Joystick*& pad : pads) {
        const int index =
            SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                      SDL_CONTROLLER_BUTTON_MAX, 0);
        ASSERT_GE(index, 0) << SDL_GetError();
        pad = SDL_JoystickOpen(index);
        ASSERT_NE(pad, nullptr);
    }
    // The key state lives as long as the program: an earlier test may hold it.
    PushKey(SDLK_RIGHT, SDL_SCANCODE_RIGHT, false);
    Pump();
    bool keyboard = false;
    bool dpad[2] = {};
    int stick[2] = {};
    bool engineHolds = false;
    const auto follow = [&](const std::vector<MSG>& taken) {
        for (const MSG& msg : taken)
            if (msg.wParam == VK_RIGHT) engineHolds = msg.message == WM_KEYDOWN;
    };
    std::mt19937 random(16);
    const int stickPositions[] = {0, 3000, -3000, 30000, -30000};
    for (int step = 0; step < 400; ++step) {
        const int pad = static_cast<int>(random() % 2);
        switch (random() % 3) {
            case 0:
                keyboard = !keyboard;
                PushKey(SDLK_RIGHT, SDL_SCANCODE_RIGHT, keyboard);
                break;
            case 1:
                dpad[pad] = !dpad[pad];
                SDL_JoystickSetVirtualButton(pads[pad], SDL_CONTROLLER_BUTTON_DPAD_RIGHT,
                                             dpad[pad]);
                break;
            default:
                stick[pad] = stickPositions[random() % 5];
                SDL_JoystickSetVirtualAxis(pads[pad], SDL_CONTROLLER_AXIS_LEFTX,
                                           static_cast<Sint16>(stick[pad]));
                break;
        }
        follow(Pump());
        const bool held = keyboard || dpad[0] || dpad[1] || stick[0] == 30000 || stick[1] == 30000;
        ASSERT_EQ(engineHolds, held) << "after step " << step;
    }

    for (SDL_Joystick* pad : pads) SDL_JoystickClose(pad);
    while (SDL_NumJoysticks() > 0) SDL_JoystickDetachVirtual(0);
    follow(Pump());
    EXPECT_EQ(engineHolds, keyboard) << "the pads were pulled out";
    PushKey(SDLK_RIGHT, SDL_SCANCODE_RIGHT, false);
    Pump();
}

}  // namespace
