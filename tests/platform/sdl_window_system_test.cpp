#include <SDL.h>

#include <string>

#include "platform/sdl/sdl_program.h"
#include "platform/sdl/sdl_windows.h"
#include "tests/platform/sdl_fixture.h"
#include "tests/platform/window_rules_check.h"

namespace {

using sdltest::SdlTest;

TEST_F(SdlTest, TheDesktopIsTheDisplayModeAtSixteenBits) {
    SDL_DisplayMode mode;
    ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &mode), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), mode.w);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), mode.h);
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(screen, BITSPIXEL), 16);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST_F(SdlTest, TheMeasuringArithmeticGivesBackTheRequestedClientSize) {
    // The engine's recipe: measure a hidden window, then ask for 2 x size - client.
    HWND measuring = MakeWindow(WS_SYSMENU, 0, 0, 640, 480, false);
    ASSERT_NE(measuring, nullptr);
    RECT client;
    ASSERT_TRUE(GetClientRect(measuring, &client));
    const int outerWidth = 2 * 640 - client.right;
    const int outerHeight = 2 * 480 - client.bottom;
    HWND main = MakeWindow(WS_SYSMENU, 192, 144, outerWidth, outerHeight);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(GetClientRect(main, &client));
    EXPECT_EQ(client.right, 640);
    EXPECT_EQ(client.bottom, 480);
    ASSERT_NE(main->sdlWindow, nullptr);
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(main->sdlWindow, &width, &height);
    EXPECT_EQ(width, 640);
    EXPECT_EQ(height, 480);
    // The measuring window never became an SDL window, so it never showed.
    EXPECT_EQ(measuring->sdlWindow, nullptr);
    EXPECT_TRUE(UpdateWindow(main));
    EXPECT_FALSE(UpdateWindow(measuring));
}

TEST_F(SdlTest, CreationReportsTheClientOriginAndClientToScreenFollowsIt) {
    HWND window = MakeWindow(WS_SYSMENU, 120, 90, 64, 48, false);
    ASSERT_NE(window, nullptr);
    const auto& got = sdltest::Received();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].message, static_cast<UINT>(WM_CREATE));
    EXPECT_EQ(got[2].message, static_cast<UINT>(WM_MOVE));
    EXPECT_EQ(LOWORD(got[2].lParam), 120);
    EXPECT_EQ(HIWORD(got[2].lParam), 90);
    ShowWindow(window, SW_SHOWNORMAL);
    POINT corner = {0, 0};
    ASSERT_TRUE(ClientToScreen(window, &corner));
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(window->sdlWindow, &x, &y);
    EXPECT_EQ(corner.x, x);
    EXPECT_EQ(corner.y, y);
}

TEST_F(SdlTest, AFullScreenWindowCoversTheDesktop) {
    HWND window = MakeWindow(WS_POPUP, 0, 0, 320, 240);
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->sdlWindow, nullptr);
    EXPECT_NE(SDL_GetWindowFlags(window->sdlWindow) & SDL_WINDOW_FULLSCREEN_DESKTOP, 0u);
    RECT client;
    ASSERT_TRUE(GetClientRect(window, &client));
    EXPECT_EQ(client.right, 320);
    EXPECT_EQ(client.bottom, 240);
}

TEST_F(SdlTest, DestroyingDeliversWmDestroyOnceAndForgetsTheWindow) {
    HWND window = MakeWindow(WS_SYSMENU, 0, 0, 32, 32);
    ASSERT_NE(window, nullptr);
    sdltest::Received().clear();
    // The procedure's WM_CLOSE goes on to DefWindowProcA, which destroys it.
    EXPECT_EQ(DispatchMessageA(nullptr), 0);
    MSG close = {};
    close.hwnd = window;
    close.message = WM_CLOSE;
    DispatchMessageA(&close);
    DispatchMessageA(&close);
    int destroys = 0;
    for (const auto& got : sdltest::Received()) destroys += got.message == WM_DESTROY;
    EXPECT_EQ(destroys, 1);
    EXPECT_FALSE(platform::IsLive(window));
    EXPECT_EQ(window->sdlWindow, nullptr);
    EXPECT_FALSE(DestroyWindow(window));
    RECT client;
    EXPECT_FALSE(GetClientRect(window, &client));
}

TEST_F(SdlTest, ClassesAreRegisteredOnce) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "SdlTest";
    EXPECT_EQ(RegisterClassA(&windowClass), 0);
    windowClass.lpszClassName = "SdlTestOther";
    EXPECT_NE(RegisterClassA(&windowClass), 0);
    EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_SYSMENU, 0, 0, 10, 10, nullptr, nullptr,
                              nullptr, nullptr),
              nullptr);
}

TEST_F(SdlTest, WindowsAndTheQueueAnswerAsWindowsDoes) {
    windowcheck::CheckWindowRules();
    windowcheck::CheckDesktopRules();
}

TEST_F(SdlTest, AWindowShowsItsOwnTitleOrElseTheProgramsName) {
    sdl::WindowLabel label;
    label.title = "Corvane";
    label.iconWidth = 2;
    label.iconHeight = 1;
    label.iconPixels = {255, 0, 0, 255, 0, 0, 255, 128};
    sdl::SetWindowLabel(label);
    HWND window = MakeWindow(WS_SYSMENU, 0, 0, 40, 30);
    ASSERT_NE(window, nullptr);
    EXPECT_STREQ(SDL_GetWindowTitle(window->sdlWindow), "Corvane");
    ASSERT_TRUE(SetWindowTextA(window, "Caf\xE9"));
    EXPECT_STREQ(SDL_GetWindowTitle(window->sdlWindow), "Caf\xC3\xA9");
    ASSERT_TRUE(SetWindowTextA(window, ""));
    EXPECT_STREQ(SDL_GetWindowTitle(window->sdlWindow), "Corvane");
    sdl::SetWindowLabel({});
}

TEST_F(SdlTest, AMessageBoxWithoutADisplayGoesToStandardError) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(MessageBoxA(nullptr, "Unable to start.\n\nTry again", "Corvane Error", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Surface Lost", "", MB_OK), IDOK);
    const std::string printed = testing::internal::GetCapturedStderr();
    EXPECT_EQ(printed, "Corvane Error: Unable to start.\n\nTry again\nSurface Lost\n");
}

TEST_F(SdlTest, ASoundDeviceIsHadWhereSdlOffersOne) {
    // The tests run on SDL's silent audio driver, which always has a device.
    IDirectSound* sound = nullptr;
    ASSERT_EQ(DirectSoundCreate(nullptr, &sound, nullptr), DS_OK);
    ASSERT_NE(sound, nullptr);
    EXPECT_EQ(sound->SetCooperativeLevel(nullptr, DSSCL_NORMAL), DS_OK);
    EXPECT_EQ(sound->SetCooperativeLevel(nullptr, 9), DSERR_INVALIDPARAM);
    // It makes buffers (the sound tests play them).
    WAVEFORMATEX format = {WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof(DSBUFFERDESC);
    desc.dwBufferBytes = 4410;
    desc.lpwfxFormat = &format;
    IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(sound->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(buffer->Release(), 0u);
    EXPECT_EQ(sound->Release(), 0u);
}

// Where SDL opens no sound device, the game plays on silently: buffers play
// and end as on a device, and one line says why nothing is heard.
TEST(SdlSound, WithoutASoundDeviceTheGameIsSilent) {
    const char* before = SDL_getenv("SDL_AUDIODRIVER");
    const std::string saved = before != nullptr ? before : "";
    SDL_setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStderr();
    IDirectSound* sound = nullptr;
    const HRESULT made = DirectSoundCreate(nullptr, &sound, nullptr);
    const std::string printed = testing::internal::GetCapturedStderr();
    SDL_setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    ASSERT_EQ(made, DS_OK);
    EXPECT_EQ(printed.rfind("Corvane: no sound device was found, so the game is silent (", 0), 0u)
        << printed;
    EXPECT_EQ(printed.find('\n'), printed.size() - 1) << "one line: " << printed;

    WAVEFORMATEX format = {WAVE_FORMAT_PCM, 1, 22050, 44100, 2, 16, 0};
    DSBUFFERDESC desc = {};
    desc.dwSize = sizeof(DSBUFFERDESC);
    desc.dwBufferBytes = 2204;
    desc.lpwfxFormat = &format;
    IDirectSoundBuffer* buffer = nullptr;
    ASSERT_EQ(sound->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    DWORD status = DSBSTATUS_PLAYING;
    for (int i = 0; i < 200 && (status & DSBSTATUS_PLAYING) != 0; ++i) {
        SDL_Delay(10);
        buffer->GetStatus(&status);
    }
    EXPECT_EQ(status & DSBSTATUS_PLAYING, 0u) << "a twentieth of a second still plays after two";
    buffer->Release();
    sound->Release();

    // A program that is there to be heard gets no sound object instead.
    sdl::SetSilentWithoutSoundDevice(false);
    SDL_setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    testing::internal::CaptureStderr();
    int marker = 0;
    sound = reinterpret_cast<IDirectSound*>(&marker);
    EXPECT_EQ(DirectSoundCreate(nullptr, &sound, nullptr), DSERR_NODRIVER);
    const std::string refused = testing::internal::GetCapturedStderr();
    SDL_setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
    sdl::SetSilentWithoutSoundDevice(true);
    EXPECT_EQ(sound, nullptr);
    EXPECT_EQ(refused.rfind("Corvane: no sound device: ", 0), 0u) << refused;
}

}  // namespace
