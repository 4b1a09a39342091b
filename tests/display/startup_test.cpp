#include <string>
#include <vector>

#include "display/pixel_format.h"
#include "tests/display/display_fixture.h"

namespace {

using headless::CallsOf;
using headless::Op;

class StartupTest : public DisplayTest {};

long long Handle(HWND window) {
    return static_cast<long long>(reinterpret_cast<std::intptr_t>(window));
}

TEST_F(StartupTest, WindowedStartAsksForAPrimaryAndAnOffscreenBackSurface) {
    ASSERT_TRUE(Start(0, 800, 500));
    EXPECT_EQ(Corvane.GetStatus(), INIT_OK);
    EXPECT_EQ(ReadDebugLog(),
              "WindowsDX: Initialization started.\n"
              "  WinDX:: Front Buffer is in video memory.\n"
              "  WinDX:: Back Buffer is in video memory.\n"
              "  WinDX:: Back Buffer NOT A FLIP (BACK) BUFFER.\n"
              "  WindowsDX: Initialization finished OK.\n  ");

    const auto level = CallsOf(Op::SetCooperativeLevel);
    ASSERT_EQ(level.size(), 1u);
    EXPECT_EQ(level[0].args, (std::vector<long long>{Handle(Corvane.window), DDSCL_NORMAL}));
    EXPECT_TRUE(CallsOf(Op::SetDisplayMode).empty());

    // Arguments: dwFlags, caps, width, height, back-buffer count.
    const auto requests = CallsOf(Op::CreateSurface);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].args[0], DDSD_CAPS);
    EXPECT_EQ(requests[0].args[1], DDSCAPS_PRIMARYSURFACE | DDSCAPS_VIDEOMEMORY);
    EXPECT_EQ(requests[1].args, (std::vector<long long>{DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH,
                                                        DDSCAPS_OFFSCREENPLAIN, 800, 500, 0}));

    EXPECT_EQ(Corvane.width, 800);
    EXPECT_EQ(Corvane.height, 500);
    EXPECT_EQ(Corvane.pitch, 1600);
    EXPECT_EQ(Corvane.bufferSize, 800 * 500 * 2);
    EXPECT_EQ(Corvane.rowOffset[1], 1600);
    EXPECT_EQ(Corvane.rowOffset[500], 500 * 1600);
    EXPECT_EQ(Corvane.active, 1);

    const headless::WindowInfo info = headless::Describe(Corvane.window);
    EXPECT_EQ(Corvane.clientRect.left, info.client.left);
    EXPECT_EQ(Corvane.clientRect.top, info.client.top);
    EXPECT_EQ(Corvane.clientRect.right, info.client.left + 800);
    EXPECT_EQ(Corvane.clientRect.bottom, info.client.top + 500);
    EXPECT_EQ(Corvane.originX, info.client.left);
    EXPECT_EQ(Corvane.originY, info.client.top);

    EXPECT_NE(Corvane.drawTable.DrawPixel, nullptr);
    EXPECT_NE(Corvane.drawTable.DrawPlain, nullptr);
    EXPECT_NE(Corvane.drawTable.DrawMasked, nullptr);
    EXPECT_NE(Corvane.drawTable.DrawAlpha, nullptr);
    EXPECT_NE(Corvane.drawTable.DrawAdditive, nullptr);

    const auto sound = CallsOf(Op::SoundCooperativeLevel);
    ASSERT_EQ(sound.size(), 1u);
    EXPECT_EQ(sound[0].args, (std::vector<long long>{Handle(Corvane.window), DSSCL_NORMAL}));
}

TEST_F(StartupTest, FullScreenStartSetsTheModeAndTakesTheFlippingChainsBackBuffer) {
    ASSERT_TRUE(Start(1, 640, 480));
    EXPECT_EQ(ReadDebugLog(),
              "WindowsDX: Initialization started.\n"
              "  WinDX:: Front Buffer is in video memory.\n"
              "  WinDX:: Back Buffer is in video memory.\n"
              "  WinDX:: Back Buffer is a valid flip (back) buffer.\n"
              "  WindowsDX: Initialization finished OK.\n  ");

    EXPECT_EQ(CallsOf(Op::SetCooperativeLevel)[0].args[1], DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE);
    ASSERT_EQ(CallsOf(Op::SetDisplayMode).size(), 1u);
    EXPECT_EQ(CallsOf(Op::SetDisplayMode)[0].args, (std::vector<long long>{640, 480, 16}));
    const auto requests = CallsOf(Op::CreateSurface);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].args[0], DDSD_CAPS | DDSD_BACKBUFFERCOUNT);
    EXPECT_EQ(requests[0].args[1], DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX);
    EXPECT_EQ(requests[0].args[4], 1);
    ASSERT_EQ(CallsOf(Op::GetAttachedSurface).size(), 1u);
    EXPECT_EQ(CallsOf(Op::GetAttachedSurface)[0].args[0], DDSCAPS_BACKBUFFER);

    EXPECT_EQ(headless::CurrentDisplayMode().width, 640);
    EXPECT_EQ(headless::CurrentDisplayMode().height, 480);
    EXPECT_EQ(Corvane.width, 640);
    EXPECT_EQ(Corvane.height, 480);
    EXPECT_EQ(Corvane.originX, 0);
    EXPECT_EQ(Corvane.originY, 0);
}

TEST_F(StartupTest, SurfacesOutsideVideoMemoryAreLoggedInEitherMode) {
    headless::SetVideoMemory(0);
    ASSERT_TRUE(Start(1, 640, 480));
    std::string log = ReadDebugLog();
    EXPECT_NE(log.find("WinDX:: Front Buffer NOT IN VIDEO MEMORY.\n"), std::string::npos);
    EXPECT_NE(log.find("WinDX:: Back Buffer NOT IN VIDEO MEMORY.\n"), std::string::npos);
    EXPECT_NE(log.find("WinDX:: Back Buffer is a valid flip (back) buffer.\n"), std::string::npos);

    // Room for the windowed primary (the desktop) only: the back surface goes
    // to system memory.
    headless::Reset();
    ResetEngine();
    headless::SetVideoMemory(1920LL * 1080 * 2);
    ASSERT_TRUE(Start(0, 800, 500));
    log = ReadDebugLog();
    EXPECT_NE(log.find("WinDX:: Front Buffer is in video memory.\n"), std::string::npos);
    EXPECT_NE(log.find("WinDX:: Back Buffer NOT IN VIDEO MEMORY.\n"), std::string::npos);
    EXPECT_NE(log.find("WinDX:: Back Buffer NOT A FLIP (BACK) BUFFER.\n"), std::string::npos);
}

TEST_F(StartupTest, RefusedWindowedPrimaryIsAskedForAgainWithoutVideoMemory) {
    // No video memory at all: the first request fails by itself.
    headless::SetVideoMemory(0);
    ASSERT_TRUE(Start(0, 800, 500));
    const auto requests = CallsOf(Op::CreateSurface);
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].result, DDERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(requests[1].args[1], DDSCAPS_PRIMARYSURFACE) << "DDSCAPS_VIDEOMEMORY cleared";
    EXPECT_EQ(requests[1].result, DD_OK);
    const std::string log = ReadDebugLog();
    EXPECT_NE(log.find("WinDX:: Front Buffer NOT IN VIDEO MEMORY.\n"), std::string::npos);
    EXPECT_EQ(log.find("<WinDX::CreateSurface>"), std::string::npos) << "windowed logs no reason";
}

TEST_F(StartupTest, RefusedFullScreenPrimaryLogsItsReasonAndRetriesTheSameRequest) {
    struct Case {
        HRESULT result;
        const char* line;
    };
    const Case cases[] = {
        {DDERR_OUTOFVIDEOMEMORY, "<WinDX::CreateSurface> Out Of Video Memory\n"},
        {DDERR_NOCOOPERATIVELEVELSET, "<WinDX::CreateSurface> No Cooperate Level Set\n"},
        {E_INVALIDARG, "<WinDX::CreateSurface> Invalid Params\n"},
        {E_OUTOFMEMORY, "<WinDX::CreateSurface> Out of Memory\n"},
        {DDERR_GENERIC, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.result);
        headless::Reset();
        ResetEngine();
        headless::FailCall(Op::CreateSurface, 1, c.result);
        ASSERT_TRUE(Start(1, 640, 480));
        const auto requests = CallsOf(Op::CreateSurface);
        ASSERT_EQ(requests.size(), 2u);
        EXPECT_EQ(requests[1].args, requests[0].args);
        const std::string log = ReadDebugLog();
        if (c.line != nullptr) {
            EXPECT_EQ(log.find(c.line), log.find("\n  ") + 3) << "the line right after the start";
        } else {
            EXPECT_EQ(log.find("<WinDX::CreateSurface>"), std::string::npos);
        }
    }
}

TEST_F(StartupTest, EachFailingStepStopsStartUpWithItsCode) {
    struct Case {
        const char* name;
        int fullscreen;
        Op op;
        int firstCall;
        int lastCall;
        int status;
    };
    const Case cases[] = {
        {"DirectDrawCreate", 0, Op::DirectDrawCreate, 1, 1, DDSTART_FAILED},
        {"cooperative level", 1, Op::SetCooperativeLevel, 1, 1, DDSETLEVEL_FAILED},
        {"display mode", 1, Op::SetDisplayMode, 1, 1, SETMODE_FAILED},
        {"full-screen primary", 1, Op::CreateSurface, 1, 2, FRONTSURFACE_FAILED},
        {"windowed primary", 0, Op::CreateSurface, 1, 2, FRONTSURFACE_FAILED},
        {"attached back buffer", 1, Op::GetAttachedSurface, 1, 1, BACKSURFACE_FAILED},
        {"windowed back surface", 0, Op::CreateSurface, 2, 3, BACKSURFACE_FAILED},
        {"DirectSoundCreate", 0, Op::DirectSoundCreate, 1, 1, SOUNDINIT_FAILED},
        {"sound cooperative level", 1, Op::SoundCooperativeLevel, 1, 1, SOUNDCOOP_FAILED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        headless::Reset();
        ResetEngine();
        for (int call = c.firstCall; call <= c.lastCall; ++call)
            headless::FailCall(c.op, call, DDERR_GENERIC);
        EXPECT_FALSE(Start(c.fullscreen, 640, 480));
        EXPECT_EQ(Corvane.GetStatus(), c.status);
        EXPECT_EQ(headless::CallCount(c.op), c.lastCall) << "no further attempt";
        EXPECT_EQ(ReadDebugLog().find("finished OK"), std::string::npos);
        if (c.status < SOUNDINIT_FAILED) {
            EXPECT_EQ(headless::CallCount(Op::DirectSoundCreate), 0);
        }
    }
}

TEST_F(StartupTest, FailedSoundCooperativeLevelReleasesTheDevice) {
    headless::FailCall(Op::SoundCooperativeLevel, 1, DSERR_GENERIC);
    EXPECT_FALSE(Start(0, 640, 480));
    EXPECT_EQ(Corvane.GetStatus(), SOUNDCOOP_FAILED);
    EXPECT_EQ(headless::LiveSoundDevices(), 0);
    EXPECT_EQ(Corvane.directSound, nullptr) << "no pointer to a released device";

    Corvane.ReportError();
    ASSERT_EQ(headless::MessageBoxes().size(), 1u);
    EXPECT_NE(headless::MessageBoxes()[0].text.find("SOUNDCOOP_FAILED"), std::string::npos);
}

TEST_F(StartupTest, MasksGiveShiftsAndBitCounts) {
    ASSERT_TRUE(Start(0, 320, 200));
    EXPECT_EQ(RedMask, 0xF800);
    EXPECT_EQ(GreenMask, 0x07E0);
    EXPECT_EQ(BlueMask, 0x001F);
    EXPECT_EQ(RedShift, 11);
    EXPECT_EQ(GreenShift, 5);
    EXPECT_EQ(BlueShift, 0);
    EXPECT_EQ(RedBits, 5);
    EXPECT_EQ(GreenBits, 6);
    EXPECT_EQ(BlueBits, 5);

    headless::Reset();
    ResetEngine();
    headless::SetSurfaceFormat(headless::SurfaceFormat::Rgb555);
    ASSERT_TRUE(Start(0, 320, 200));
    EXPECT_EQ(RedMask, 0x7C00);
    EXPECT_EQ(GreenMask, 0x03E0);
    EXPECT_EQ(BlueMask, 0x001F);
    EXPECT_EQ(RedShift, 10);
    EXPECT_EQ(GreenShift, 5);
    EXPECT_EQ(BlueShift, 0);
    EXPECT_EQ(RedBits, 5);
    EXPECT_EQ(GreenBits, 5);
    EXPECT_EQ(BlueBits, 5);
}

TEST_F(StartupTest, PaddedPitchWidensTheRowButNotTheClipRectangle) {
    headless::SetExtraPitch(64);
    ASSERT_TRUE(Start(0, 800, 500));
    EXPECT_EQ(Corvane.GetPitch(), 1664);
    EXPECT_EQ(Corvane.GetWidth(), 832);
    EXPECT_EQ(Corvane.clipLeft, 0);
    EXPECT_EQ(Corvane.clipRight, 799);
    EXPECT_EQ(Corvane.clipBottom, 499);
    EXPECT_EQ(Corvane.bufferSize, 832 * 500 * 2);
    EXPECT_EQ(Corvane.rowOffset[3], 3 * 1664);
    // The surface itself keeps the requested size.
    EXPECT_EQ(CallsOf(Op::CreateSurface)[1].args[2], 800);
}

TEST_F(StartupTest, SurfaceTallerThanTheRowTableGrowsIt) {
    ASSERT_TRUE(Start(1, 640, 1200));
    EXPECT_EQ(Corvane.GetHeight(), 1200);
    ASSERT_GE(Corvane.rowOffset.size(), 1201u);
    EXPECT_EQ(Corvane.rowOffset[1023], 1023 * 1280);
    EXPECT_EQ(Corvane.rowOffset[1200], 1200 * 1280);

    // The bottom row is reachable through the table.
    ASSERT_TRUE(Corvane.LockSurface());
    auto* bytes = reinterpret_cast<std::uint8_t*>(Corvane.GetBackBuffer());
    reinterpret_cast<std::uint16_t*>(bytes + Corvane.rowOffset[1199])[639] = 0x1234;
    Corvane.UnlockSurface();
    Corvane.ViewUpdate();
    EXPECT_EQ(headless::LastFrame().At(639, 1199), 0x1234);
}

TEST_F(StartupTest, SecondCreateSurfaceRebuildsBothSurfaces) {
    ASSERT_TRUE(Start(0, 800, 500));
    ASSERT_TRUE(Corvane.CreateSurface());
    EXPECT_EQ(Corvane.GetStatus(), INIT_OK);
    EXPECT_EQ(headless::LiveSurfaces(), 2);
    ASSERT_TRUE(Corvane.LockSurface());
    Corvane.UnlockSurface();
}

TEST_F(StartupTest, CleanUpReleasesSurfacesObjectAndDisplayMode) {
    ASSERT_TRUE(Start(1, 640, 480));
    EXPECT_EQ(headless::LiveSurfaces(), 2);
    EXPECT_TRUE(Corvane.CleanUp());
    EXPECT_EQ(headless::LiveSurfaces(), 0);
    EXPECT_EQ(headless::LiveDirectDrawObjects(), 0);
    EXPECT_EQ(headless::CurrentDisplayMode().width, 0);
    EXPECT_EQ(headless::VideoMemoryInUse(), 0);
    EXPECT_EQ(Corvane.primarySurface, nullptr);
}

}  // namespace
