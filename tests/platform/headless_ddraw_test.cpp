#include <gtest/gtest.h>

#include <cstring>

#include "platform/common/device_context.h"
#include "platform/headless/control.h"
#include "tests/platform/ddraw_rules_check.h"

namespace {

using headless::Op;

// The headless DirectDraw driven directly, as the engine's calls would.
class HeadlessDDrawTest : public ::testing::Test {
protected:
    void SetUp() override { headless::Reset(); }
    void TearDown() override { headless::Reset(); }

    static DDSURFACEDESC Request(DWORD flags, DWORD caps) {
        DDSURFACEDESC desc;
        std::memset(&desc, 0, sizeof(desc));
        desc.dwSize = sizeof(desc);
        desc.dwFlags = flags;
        desc.ddsCaps.dwCaps = caps;
        return desc;
    }

    // A DirectDraw object at full-screen level with a 64 x 32 flipping chain.
    void StartChain() {
        ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
        ASSERT_EQ(dd->SetCooperativeLevel(Window(), DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE), DD_OK);
        ASSERT_EQ(dd->SetDisplayMode(64, 32, 16), DD_OK);
        DDSURFACEDESC desc = Request(DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
                                     DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX);
        desc.dwBackBufferCount = 1;
        ASSERT_EQ(dd->CreateSurface(&desc, &front, nullptr), DD_OK);
        DDSCAPS caps = {DDSCAPS_BACKBUFFER};
        ASSERT_EQ(front->GetAttachedSurface(&caps, &back), DD_OK);
    }

    // Any window will do: nothing here is presented on the screen.
    static HWND Window() { return headless::OtherProgramWindow(); }

    static std::uint16_t* LockPixels(IDirectDrawSurface* surface, LONG* pitch = nullptr) {
        DDSURFACEDESC desc = Request(0, 0);
        if (surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr) != DD_OK) return nullptr;
        if (pitch != nullptr) *pitch = desc.lPitch;
        return static_cast<std::uint16_t*>(desc.lpSurface);
    }

    IDirectDraw* dd = nullptr;
    IDirectDrawSurface* front = nullptr;
    IDirectDrawSurface* back = nullptr;
};

TEST_F(HeadlessDDrawTest, FlipShowsTheBackBufferAndHandsBackTheOldFront) {
    StartChain();
    std::uint16_t* pixels = LockPixels(back);
    ASSERT_NE(pixels, nullptr);
    pixels[0] = 0xAAAA;
    EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DDERR_SURFACEBUSY) << "locked chain";
    back->Unlock(nullptr);
    ASSERT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DD_OK);
    EXPECT_EQ(headless::LastFrame().At(0, 0), 0xAAAA);
    EXPECT_EQ(headless::LastFrame().width, 64);
    EXPECT_EQ(headless::LastFrame().height, 32);
    pixels = LockPixels(back);
    EXPECT_EQ(pixels[0], 0) << "the back buffer now holds the old front";
    back->Unlock(nullptr);
    EXPECT_EQ(back->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);
}

TEST_F(HeadlessDDrawTest, ChainDiesWithItsLastReferenceInEitherOrder) {
    StartChain();
    EXPECT_EQ(back->Release(), 1u) << "the chain still holds it";
    EXPECT_EQ(front->Release(), 0u);
    EXPECT_EQ(headless::LiveSurfaces(), 0);
    EXPECT_EQ(headless::VideoMemoryInUse(), 0);
    EXPECT_EQ(back->IsLost(), DDERR_INVALIDOBJECT) << "released pointers stay harmless";

    headless::Reset();
    StartChain();
    EXPECT_EQ(front->Release(), 0u);
    EXPECT_EQ(headless::LiveSurfaces(), 1) << "the attached reference keeps the back buffer";
    EXPECT_EQ(back->Release(), 0u);
    EXPECT_EQ(headless::LiveSurfaces(), 0);
}

TEST_F(HeadlessDDrawTest, ReleasingDirectDrawEndsItsSurfacesAndDisplayMode) {
    StartChain();
    EXPECT_EQ(headless::CurrentDisplayMode().width, 64);
    EXPECT_EQ(dd->Release(), 0u);
    EXPECT_EQ(headless::LiveSurfaces(), 0);
    EXPECT_EQ(headless::CurrentDisplayMode().width, 0);
    EXPECT_EQ(front->Flip(nullptr, DDFLIP_WAIT), DDERR_INVALIDOBJECT);
}

TEST_F(HeadlessDDrawTest, RequestsAreCheckedAsDirectDrawChecksThem) {
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    IDirectDrawSurface* surface = nullptr;
    DDSURFACEDESC primary = Request(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    EXPECT_EQ(dd->CreateSurface(&primary, &surface, nullptr), DDERR_NOCOOPERATIVELEVELSET);
    EXPECT_EQ(dd->SetCooperativeLevel(Window(), DDSCL_FULLSCREEN), DDERR_INVALIDPARAMS);
    ASSERT_EQ(dd->SetCooperativeLevel(Window(), DDSCL_NORMAL), DD_OK);

    DDSURFACEDESC chain = Request(DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
                                  DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX);
    chain.dwBackBufferCount = 1;
    EXPECT_EQ(dd->CreateSurface(&chain, &surface, nullptr), DDERR_NOEXCLUSIVEMODE);
    ASSERT_EQ(dd->CreateSurface(&primary, &surface, nullptr), DD_OK);
    IDirectDrawSurface* second = nullptr;
    EXPECT_EQ(dd->CreateSurface(&primary, &second, nullptr), DDERR_PRIMARYSURFACEALREADYEXISTS);
    EXPECT_EQ(second, nullptr);

    DDSURFACEDESC sizeless = Request(DDSD_CAPS, DDSCAPS_OFFSCREENPLAIN);
    EXPECT_EQ(dd->CreateSurface(&sizeless, &second, nullptr), DDERR_INVALIDPARAMS);
    DDSURFACEDESC shortDesc = Request(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    shortDesc.dwSize = 108 - 4;
    EXPECT_EQ(dd->CreateSurface(&shortDesc, &second, nullptr), DDERR_INVALIDPARAMS);
}

TEST_F(HeadlessDDrawTest, VideoMemoryIsSpentAndGivenBack) {
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    ASSERT_EQ(dd->SetCooperativeLevel(Window(), DDSCL_NORMAL), DD_OK);
    headless::SetVideoMemory(100 * 50 * 2);
    DDSURFACEDESC plain = Request(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_VIDEOMEMORY);
    plain.dwWidth = 100;
    plain.dwHeight = 50;
    IDirectDrawSurface* first = nullptr;
    IDirectDrawSurface* second = nullptr;
    ASSERT_EQ(dd->CreateSurface(&plain, &first, nullptr), DD_OK);
    EXPECT_EQ(headless::VideoMemoryInUse(), 10000);
    EXPECT_EQ(dd->CreateSurface(&plain, &second, nullptr), DDERR_OUTOFVIDEOMEMORY);
    plain.ddsCaps.dwCaps = 0;
    ASSERT_EQ(dd->CreateSurface(&plain, &second, nullptr), DD_OK);
    DDSURFACEDESC desc = Request(0, 0);
    second->GetSurfaceDesc(&desc);
    EXPECT_EQ(desc.ddsCaps.dwCaps & (DDSCAPS_VIDEOMEMORY | DDSCAPS_SYSTEMMEMORY),
              static_cast<DWORD>(DDSCAPS_SYSTEMMEMORY));
    first->Release();
    EXPECT_EQ(headless::VideoMemoryInUse(), 0);
}

TEST_F(HeadlessDDrawTest, PaddedSurfacesAndBltFastThatDoesNotFit) {
    headless::SetExtraPitch(7);
    headless::SetSurfaceFormat(headless::SurfaceFormat::Rgb555);
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    ASSERT_EQ(dd->SetCooperativeLevel(Window(), DDSCL_NORMAL), DD_OK);
    DDSURFACEDESC plain = Request(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN);
    plain.dwWidth = 10;
    plain.dwHeight = 4;
    IDirectDrawSurface* small = nullptr;
    ASSERT_EQ(dd->CreateSurface(&plain, &small, nullptr), DD_OK);
    DDSURFACEDESC desc = Request(0, 0);
    ASSERT_EQ(small->GetSurfaceDesc(&desc), DD_OK);
    EXPECT_EQ(desc.lPitch, 28) << "odd padding rounds up to whole pixels";
    EXPECT_EQ(desc.ddpfPixelFormat.dwRBitMask, 0x7C00u);
    EXPECT_EQ(desc.ddpfPixelFormat.dwGBitMask, 0x03E0u);

    plain.dwWidth = 20;
    IDirectDrawSurface* large = nullptr;
    ASSERT_EQ(dd->CreateSurface(&plain, &large, nullptr), DD_OK);
    EXPECT_EQ(small->BltFast(0, 0, large, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    EXPECT_EQ(large->BltFast(11, 0, small, nullptr, DDBLTFAST_WAIT), DDERR_INVALIDRECT);
    std::uint16_t* pixels = LockPixels(small);
    ASSERT_NE(pixels, nullptr);
    pixels[14 + 9] = 0x1234;  // row 1, last column
    small->Unlock(nullptr);
    ASSERT_EQ(large->BltFast(10, 0, small, nullptr, DDBLTFAST_WAIT), DD_OK);
    LONG pitch = 0;
    pixels = LockPixels(large, &pitch);
    EXPECT_EQ(pixels[pitch / 2 + 19], 0x1234);
    large->Unlock(nullptr);
    EXPECT_EQ(headless::PresentCount(), 0) << "only a copy onto the primary presents";
}

TEST_F(HeadlessDDrawTest, RectanglesAreCheckedAsDirectDrawChecksThem) {
    headless::SetDesktop(640, 480, 16);
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    ASSERT_EQ(dd->SetCooperativeLevel(Window(), DDSCL_NORMAL), DD_OK);
    DDSURFACEDESC screen = Request(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    ASSERT_EQ(dd->CreateSurface(&screen, &front, nullptr), DD_OK);
    DDSURFACEDESC plain = Request(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN);
    plain.dwWidth = 40;
    plain.dwHeight = 30;
    ASSERT_EQ(dd->CreateSurface(&plain, &back, nullptr), DD_OK);
    ddrawcheck::CheckRectangleRules(front, 640, 480, back);
    EXPECT_EQ(headless::PresentCount(), 2) << "every accepted copy onto the screen presents";
}

TEST_F(HeadlessDDrawTest, RequestsAndSurfaceCallsAnswerAsDirectDrawAnswers) {
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    ddrawcheck::CheckRequestRules(dd, Window());
    ddrawcheck::CheckSurfaceCallRules(dd);
    ASSERT_EQ(DirectDrawCreate(nullptr, &dd, nullptr), DD_OK);
    ASSERT_EQ(dd->SetCooperativeLevel(Window(), DDSCL_NORMAL), DD_OK);
    ddrawcheck::CheckOverlappingCopy(dd);
}

TEST_F(HeadlessDDrawTest, LostChainComesBackWithItsMemoryCleared) {
    StartChain();
    std::uint16_t* pixels = LockPixels(back);
    pixels[5] = 7;
    back->Unlock(nullptr);
    headless::LoseSurface(back);
    EXPECT_EQ(front->IsLost(), DDERR_SURFACELOST) << "a chain is lost as a whole";
    EXPECT_EQ(LockPixels(back), nullptr);
    EXPECT_EQ(back->Restore(), DDERR_IMPLICITLYCREATED);
    EXPECT_EQ(front->Restore(), DD_OK);
    EXPECT_EQ(back->IsLost(), DD_OK);
    pixels = LockPixels(back);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels[5], 0);
    back->Unlock(nullptr);
}

TEST_F(HeadlessDDrawTest, DeviceContextLendsTheSurfacePixelsAndBlocksLocking) {
    StartChain();
    HDC dc = nullptr;
    ASSERT_EQ(back->GetDC(&dc), DD_OK);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(dc->width, 64);
    EXPECT_EQ(dc->height, 32);
    EXPECT_EQ(dc->pitchBytes, 128);
    EXPECT_EQ(dc->redMask, 0xF800u);
    EXPECT_EQ(dc->backgroundMode, OPAQUE);
    dc->pixels[3] = 0x4321;
    EXPECT_EQ(LockPixels(back), nullptr) << "busy while the context is out";
    EXPECT_EQ(back->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(back->ReleaseDC(dc), DDERR_NODC);
    std::uint16_t* pixels = LockPixels(back);
    ASSERT_NE(pixels, nullptr);
    EXPECT_EQ(pixels[3], 0x4321);
    back->Unlock(nullptr);

    headless::FailCall(Op::GetDC, 2, DDERR_CANTCREATEDC);
    EXPECT_EQ(back->GetDC(&dc), DDERR_CANTCREATEDC);
    EXPECT_EQ(dc, nullptr);
}

}  // namespace
