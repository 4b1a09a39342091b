#include <SDL.h>

#include <cstdint>
#include <cstring>

#include "platform/sdl/sdl_program.h"
#include "platform/sdl/sdl_windows.h"
#include "tests/platform/ddraw_rules_check.h"
#include "tests/platform/sdl_fixture.h"

namespace {

// A picture word for (x, y) using every channel's full range, full green included.
std::uint16_t Word(int x, int y) {
    return static_cast<std::uint16_t>((x % 32) << 11 | ((x + 3 * y) % 64) << 5 | (y % 32));
}

class SdlDirectDraw : public sdltest::SdlTest {
protected:
    void TearDown() override {
        for (auto it = surfaces_.rbegin(); it != surfaces_.rend(); ++it) (*it)->Release();
        if (directDraw_ != nullptr) directDraw_->Release();
        SdlTest::TearDown();
    }

    void Start(HWND window, DWORD level) {
        ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw_, nullptr), DD_OK);
        ASSERT_EQ(directDraw_->SetCooperativeLevel(window, level), DD_OK);
    }

    HRESULT Create(DWORD flags, DWORD caps, int width, int height, IDirectDrawSurface** out) {
        DDSURFACEDESC desc = {};
        desc.dwSize = sizeof(desc);
        desc.dwFlags = flags;
        desc.ddsCaps.dwCaps = caps;
        desc.dwWidth = static_cast<DWORD>(width);
        desc.dwHeight = static_cast<DWORD>(height);
        desc.dwBackBufferCount = 1;
        const HRESULT result = directDraw_->CreateSurface(&desc, out, nullptr);
        if (result == DD_OK) surfaces_.push_back(*out);
        return result;
    }

    // The screen's primary surface and an off-screen surface of width x height.
    void CreatePrimaryAndBack(int width, int height, IDirectDrawSurface** primary,
                              IDirectDrawSurface** back) {
        ASSERT_EQ(Create(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE, 0, 0, primary), DD_OK);
        ASSERT_EQ(Create(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, width,
                         height, back),
                  DD_OK);
    }

    static void Fill(IDirectDrawSurface* surface, std::uint16_t (*word)(int, int)) {
        DDSURFACEDESC desc = {};
        desc.dwSize = sizeof(desc);
        ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        auto* pixels = static_cast<std::uint16_t*>(desc.lpSurface);
        for (DWORD y = 0; y < desc.dwHeight; ++y)
            for (DWORD x = 0; x < desc.dwWidth; ++x)
                pixels[y * desc.lPitch / 2 + x] = word(static_cast<int>(x), static_cast<int>(y));
        surface->Unlock(nullptr);
    }

    // A windowed start on the window whose back surface, filled with Word, is
    // copied onto the primary at the client area's origin.
    void ShowWords(HWND window, int width, int height, IDirectDrawSurface** primary,
                   IDirectDrawSurface** back, POINT* origin) {
        Start(window, DDSCL_NORMAL);
        ASSERT_NO_FATAL_FAILURE(CreatePrimaryAndBack(width, height, primary, back));
        Fill(*back, Word);
        *origin = {0, 0};
        ClientToScreen(window, origin);
        ASSERT_EQ((*primary)->BltFast(origin->x, origin->y, *back, nullptr, DDBLTFAST_WAIT), DD_OK);
    }

    // What the window shows at a point, narrowed back to a 5:6:5 word.
    static std::uint16_t Shown(HWND window, int x, int y) {
        SDL_Surface* screen = SDL_GetWindowSurface(window->sdlWindow);
        if (screen == nullptr || x >= screen->w || y >= screen->h) return 0xDEAD;
        const auto* row = static_cast<const std::uint8_t*>(screen->pixels) + y * screen->pitch;
        Uint32 value = 0;
        std::memcpy(&value, row + x * screen->format->BytesPerPixel, sizeof(value));
        Uint8 r, g, b;
        SDL_GetRGB(value, screen->format, &r, &g, &b);
        return static_cast<std::uint16_t>((r >> 3) << 11 | (g >> 2) << 5 | (b >> 3));
    }

    IDirectDraw* directDraw_ = nullptr;
    std::vector<IDirectDrawSurface*> surfaces_;
};

TEST_F(SdlDirectDraw, WindowedSurfacesAreSystemMemory565) {
    HWND window = MakeWindow(WS_SYSMENU, 0, 0, 100, 60);
    Start(window, DDSCL_NORMAL);
    IDirectDrawSurface* primary = nullptr;
    EXPECT_EQ(Create(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE | DDSCAPS_VIDEOMEMORY, 0, 0, &primary),
              DDERR_OUTOFVIDEOMEMORY);
    ASSERT_EQ(Create(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE, 0, 0, &primary), DD_OK);
    IDirectDrawSurface* second = nullptr;
    EXPECT_EQ(Create(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE, 0, 0, &second),
              DDERR_PRIMARYSURFACEALREADYEXISTS);

    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(primary->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(static_cast<int>(desc.dwWidth), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_NE(desc.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE, 0u);
    EXPECT_EQ(desc.ddsCaps.dwCaps & DDSCAPS_VIDEOMEMORY, 0u);

    IDirectDrawSurface* back = nullptr;
    ASSERT_EQ(Create(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, 100, 60, &back),
              DD_OK);
    ASSERT_EQ(back->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 100u);
    EXPECT_EQ(desc.dwHeight, 60u);
    EXPECT_EQ(desc.lPitch, 200);
    EXPECT_EQ(desc.ddpfPixelFormat.dwRBitMask, 0xF800u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwGBitMask, 0x07E0u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwBBitMask, 0x001Fu);
    EXPECT_EQ(desc.ddsCaps.dwCaps & (DDSCAPS_BACKBUFFER | DDSCAPS_VIDEOMEMORY), 0u);
    EXPECT_EQ(desc.lpSurface, nullptr);  // only a lock hands out the pixels
}

TEST_F(SdlDirectDraw, BadRequestsAreRefused) {
    HWND window = MakeWindow(WS_SYSMENU, 0, 0, 40, 30);
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw_, nullptr), DD_OK);
    IDirectDrawSurface* surface = nullptr;
    EXPECT_EQ(Create(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE, 0, 0, &surface),
              DDERR_NOCOOPERATIVELEVELSET);
    EXPECT_EQ(directDraw_->SetCooperativeLevel(window, DDSCL_FULLSCREEN), DDERR_INVALIDPARAMS);
    EXPECT_EQ(directDraw_->SetCooperativeLevel(window, DDSCL_NORMAL | DDSCL_FULLSCREEN),
              DDERR_INVALIDPARAMS);
    ASSERT_EQ(directDraw_->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    // As on Windows, a mode may be set at the normal level too; only a
    // full-screen window is scaled to it.
    EXPECT_EQ(directDraw_->SetDisplayMode(640, 480, 16), DD_OK);
    EXPECT_EQ(Create(DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
                     DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX, 0, 0, &surface),
              DDERR_NOEXCLUSIVEMODE);
    EXPECT_EQ(Create(DDSD_CAPS | DDSD_WIDTH, DDSCAPS_OFFSCREENPLAIN, 10, 10, &surface),
              DDERR_INVALIDPARAMS);
    EXPECT_EQ(Create(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, 0, 10, &surface),
              DDERR_INVALIDPARAMS);
    EXPECT_EQ(
        Create(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, 100000, 10, &surface),
        DDERR_TOOBIGWIDTH);
}

TEST_F(SdlDirectDraw, LocksAndDeviceContextsExcludeEachOther) {
    HWND window = MakeWindow(WS_SYSMENU, 0, 0, 40, 30);
    Start(window, DDSCL_NORMAL);
    IDirectDrawSurface* back = nullptr;
    ASSERT_EQ(Create(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, 40, 30, &back),
              DD_OK);
    DDSURFACEDESC whole = {};
    whole.dwSize = sizeof(whole);
    ASSERT_EQ(back->Lock(nullptr, &whole, DDLOCK_WAIT, nullptr), DD_OK);
    ASSERT_NE(whole.lpSurface, nullptr);
    EXPECT_NE(whole.dwFlags & DDSD_LPSURFACE, 0u);
    DDSURFACEDESC again = {};
    again.dwSize = sizeof(again);
    EXPECT_EQ(back->Lock(nullptr, &again, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    HDC dc = nullptr;
    EXPECT_EQ(back->GetDC(&dc), DDERR_SURFACEBUSY);
    EXPECT_EQ(back->Unlock(nullptr), DD_OK);
    EXPECT_EQ(back->Unlock(nullptr), DDERR_NOTLOCKED);

    RECT part = {5, 2, 10, 4};
    DDSURFACEDESC partial = {};
    partial.dwSize = sizeof(partial);
    ASSERT_EQ(back->Lock(&part, &partial, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(static_cast<std::uint8_t*>(partial.lpSurface),
              static_cast<std::uint8_t*>(whole.lpSurface) + 2 * 80 + 5 * 2);
    back->Unlock(nullptr);
    RECT outside = {30, 0, 41, 5};
    EXPECT_EQ(back->Lock(&outside, &partial, DDLOCK_WAIT, nullptr), DDERR_INVALIDRECT);

    ASSERT_EQ(back->GetDC(&dc), DD_OK);
    EXPECT_EQ(back->Lock(nullptr, &whole, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    EXPECT_EQ(back->ReleaseDC(GetDC(nullptr)), DDERR_NODC);
    EXPECT_EQ(back->ReleaseDC(dc), DD_OK);
}

TEST_F(SdlDirectDraw, BltFastOntoThePrimaryShowsThePictureAtTheClientOrigin) {
    HWND window = MakeWindow(WS_SYSMENU, 100, 50, 64, 48);
    IDirectDrawSurface* primary = nullptr;
    IDirectDrawSurface* back = nullptr;
    POINT origin;
    ASSERT_NO_FATAL_FAILURE(ShowWords(window, 64, 48, &primary, &back, &origin));
    int wrong = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) wrong += Shown(window, x, y) != Word(x, y);
    EXPECT_EQ(wrong, 0);

    // Copied further right and down, the picture moves in the client area.
    ASSERT_EQ(primary->BltFast(origin.x + 8, origin.y + 4, back, nullptr, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(Shown(window, 8, 4), Word(0, 0));
    EXPECT_EQ(Shown(window, 20, 30), Word(12, 26));
    EXPECT_EQ(Shown(window, 2, 2), 0);

    RECT tooLarge = {0, 0, 65, 48};
    EXPECT_EQ(primary->BltFast(origin.x, origin.y, back, &tooLarge, DDBLTFAST_WAIT),
              DDERR_INVALIDRECT);
    EXPECT_EQ(primary->BltFast(origin.x, origin.y, back, nullptr, DDBLTFAST_SRCCOLORKEY),
              DDERR_NOCOLORKEY);
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(primary->BltFast(origin.x, origin.y, back, nullptr, DDBLTFAST_WAIT),
              DDERR_SURFACEBUSY);
    back->Unlock(nullptr);
}

TEST_F(SdlDirectDraw, ASoftwareDrawnWindowShowsItsPictureEnlargedOnItsOwnSurface) {
    // SDL's dummy driver renders in software, so the window's own surface shows
    // the pictures, enlarged by the backend's scaler, and mouse positions are
    // mapped back into the client area's pixels by the backend.
    sdl::DisplayOptions enlarged;
    enlarged.scale = 3;
    sdl::SetDisplayOptions(enlarged);
    HWND window = MakeWindow(WS_SYSMENU, 100, 50, 64, 48);
    sdl::SetDisplayOptions(sdl::DisplayOptions{1});
    EXPECT_EQ(window->renderer, nullptr);
    IDirectDrawSurface* primary = nullptr;
    IDirectDrawSurface* back = nullptr;
    POINT origin;
    ASSERT_NO_FATAL_FAILURE(ShowWords(window, 64, 48, &primary, &back, &origin));
    int wrong = 0;
    for (int y = 0; y < 3 * 48; ++y)
        for (int x = 0; x < 3 * 64; ++x) wrong += Shown(window, x, y) != Word(x / 3, y / 3);
    EXPECT_EQ(wrong, 0);

    Pump();
    SDL_Event motion = {};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = SDL_GetWindowID(window->sdlWindow);
    motion.motion.x = 3 * 20 + 2;
    motion.motion.y = 3 * 10 + 1;
    SDL_PushEvent(&motion);
    const std::vector<MSG> taken = Pump();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].message, static_cast<UINT>(WM_MOUSEMOVE));
    EXPECT_EQ(LOWORD(taken[0].lParam), 20);
    EXPECT_EQ(HIWORD(taken[0].lParam), 10);
}

TEST_F(SdlDirectDraw, RectanglesAreCheckedAsDirectDrawChecksThem) {
    HWND window = MakeWindow(WS_SYSMENU, 0, 0, 40, 30);
    Start(window, DDSCL_NORMAL);
    IDirectDrawSurface* primary = nullptr;
    IDirectDrawSurface* back = nullptr;
    ASSERT_NO_FATAL_FAILURE(CreatePrimaryAndBack(40, 30, &primary, &back));
    ddrawcheck::CheckRectangleRules(primary, GetSystemMetrics(SM_CXSCREEN),
                                    GetSystemMetrics(SM_CYSCREEN), back);
}

TEST_F(SdlDirectDraw, RequestsAndSurfaceCallsAnswerAsDirectDrawAnswers) {
    HWND window = MakeWindow(WS_POPUP, 0, 0, 40, 30);
    ASSERT_EQ(DirectDrawCreate(nullptr, &directDraw_, nullptr), DD_OK);
    ddrawcheck::CheckRequestRules(directDraw_, window);
    ddrawcheck::CheckSurfaceCallRules(directDraw_);
    Start(window, DDSCL_NORMAL);
    ddrawcheck::CheckOverlappingCopy(directDraw_);
}

TEST_F(SdlDirectDraw, AnEnlargedWindowPartlyOffTheScreenShowsItsVisiblePart) {
    // Screen positions count the picture's pixels, so the part of an enlarged
    // window that the engine works out is on the screen is the part that is.
    sdl::DisplayOptions enlarged;
    enlarged.scale = 2;
    sdl::SetDisplayOptions(enlarged);
    HWND window = MakeWindow(WS_SYSMENU, -30, 40, 64, 48);
    sdl::SetDisplayOptions(sdl::DisplayOptions{1});
    Start(window, DDSCL_NORMAL);
    IDirectDrawSurface* primary = nullptr;
    IDirectDrawSurface* back = nullptr;
    ASSERT_NO_FATAL_FAILURE(CreatePrimaryAndBack(64, 48, &primary, &back));
    Fill(back, Word);
    int realX = 0;
    int realY = 0;
    SDL_GetWindowPosition(window->sdlWindow, &realX, &realY);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    ASSERT_LT(realX, 0);
    ASSERT_GE(realY, 0);
    EXPECT_EQ(origin.x, realX / 2);
    EXPECT_EQ(origin.y, realY / 2);

    RECT visible = {-origin.x, 0, 64, 48};
    ASSERT_EQ(primary->BltFast(0, static_cast<DWORD>(origin.y), back, &visible, DDBLTFAST_WAIT),
              DD_OK);
    int wrong = 0;
    for (int y = 0; y < 48; ++y)
        for (int x = -origin.x; x < 64; ++x) wrong += Shown(window, 2 * x, 2 * y) != Word(x, y);
    EXPECT_EQ(wrong, 0);
}

TEST_F(SdlDirectDraw, BltFastBetweenMemorySurfacesCopiesInsideTheTarget) {
    HWND window = MakeWindow(WS_SYSMENU, 0, 0, 16, 16);
    Start(window, DDSCL_NORMAL);
    IDirectDrawSurface* source = nullptr;
    IDirectDrawSurface* target = nullptr;
    ASSERT_EQ(Create(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, 8, 8, &source),
              DD_OK);
    ASSERT_EQ(Create(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, 16, 16, &target),
              DD_OK);
    Fill(source, Word);
    RECT part = {2, 3, 6, 7};
    ASSERT_EQ(target->BltFast(10, 1, source, &part, DDBLTFAST_WAIT), DD_OK);
    EXPECT_EQ(target->BltFast(10, 10, source, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(target->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    const auto* pixels = static_cast<const std::uint16_t*>(desc.lpSurface);
    EXPECT_EQ(pixels[1 * 16 + 10], Word(2, 3));
    EXPECT_EQ(pixels[4 * 16 + 13], Word(5, 6));
    EXPECT_EQ(pixels[5 * 16 + 10], 0);
    EXPECT_EQ(pixels[1 * 16 + 9], 0);
    target->Unlock(nullptr);
}

std::uint16_t Blue(int, int) {
    return 0x001F;
}
std::uint16_t Green(int, int) {
    return 0x07E0;
}

TEST_F(SdlDirectDraw, AFullScreenChainFlipsTheBackBufferOntoTheScaledScreen) {
    HWND window = MakeWindow(WS_POPUP, 0, 0, 160, 120);
    Start(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE);
    EXPECT_EQ(directDraw_->SetDisplayMode(160, 120, 32), DDERR_INVALIDMODE);
    ASSERT_EQ(directDraw_->SetDisplayMode(160, 120, 16), DD_OK);
    IDirectDrawSurface* front = nullptr;
    ASSERT_EQ(Create(DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
                     DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX, 0, 0, &front),
              DD_OK);
    DDSCAPS caps = {DDSCAPS_BACKBUFFER};
    IDirectDrawSurface* back = nullptr;
    ASSERT_EQ(front->GetAttachedSurface(&caps, &back), DD_OK);
    surfaces_.push_back(back);
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(back->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.dwWidth, 160u);
    EXPECT_NE(desc.ddsCaps.dwCaps & DDSCAPS_BACKBUFFER, 0u);
    EXPECT_EQ(back->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);

    Fill(back, Blue);
    ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    SDL_Surface* screen = SDL_GetWindowSurface(window->sdlWindow);
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(Shown(window, screen->w / 2, screen->h / 2), 0x001F);
    EXPECT_EQ(Shown(window, screen->w - 1, screen->h - 1), 0x001F);

    // After the flip the back buffer holds the old front picture (black), and
    // the next flip shows what is drawn into it.
    DDSURFACEDESC locked = {};
    locked.dwSize = sizeof(locked);
    ASSERT_EQ(back->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(static_cast<std::uint16_t*>(locked.lpSurface)[0], 0);
    back->Unlock(nullptr);
    Fill(back, Green);
    ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(Shown(window, screen->w / 3, screen->h / 3), 0x07E0);
}

TEST_F(SdlDirectDraw, TextIsDrawnThroughASurfacesDeviceContext) {
    HWND window = MakeWindow(WS_SYSMENU, 0, 0, 40, 30);
    Start(window, DDSCL_NORMAL);
    IDirectDrawSurface* back = nullptr;
    ASSERT_EQ(Create(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, 40, 30, &back),
              DD_OK);
    Fill(back, Blue);
    HDC dc = nullptr;
    ASSERT_EQ(back->GetDC(&dc), DD_OK);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 0, 0));
    EXPECT_TRUE(TextOutA(dc, 2, 3, "H", 1));
    back->ReleaseDC(dc);
    // The glyph's pixels turn red, everything else keeps its blue, and nothing
    // lands outside the 8 x 16 cell at (2, 3).
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(back->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    const auto* pixels = static_cast<const std::uint16_t*>(desc.lpSurface);
    int red = 0;
    int outside = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            const std::uint16_t word = pixels[y * 40 + x];
            const bool inCell = x >= 2 && x < 10 && y >= 3 && y < 19;
            if (word == 0xF800) ++red;
            if (word != 0x001F && !inCell) ++outside;
            EXPECT_TRUE(word == 0xF800 || word == 0x001F);
        }
    back->Unlock(nullptr);
    EXPECT_GT(red, 8);
    EXPECT_EQ(outside, 0);
    // The screen's context has no pixels to draw into.
    EXPECT_FALSE(TextOutA(GetDC(nullptr), 0, 0, "H", 1));
}

}  // namespace
