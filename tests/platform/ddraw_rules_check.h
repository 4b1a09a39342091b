// DirectDraw's rules, checked alike through each backend's own objects (the
// rules live once, in platform/common: surface_rules.h and ddraw_objects.h).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/api/platform.h"

namespace ddrawcheck {

inline DDSURFACEDESC Request(DWORD flags, DWORD caps, DWORD width = 0, DWORD height = 0) {
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = flags;
    desc.ddsCaps.dwCaps = caps;
    desc.dwWidth = width;
    desc.dwHeight = height;
    return desc;
}

inline HRESULT CreatePlain(IDirectDraw* directDraw, DWORD width, DWORD height,
                           IDirectDrawSurface** surface) {
    DDSURFACEDESC desc =
        Request(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_OFFSCREENPLAIN, width, height);
    return directDraw->CreateSurface(&desc, surface, nullptr);
}

// directDraw: at the normal level. Each side of a plain surface may be 1 to
// 16384 pixels, and a larger one is refused by its own code.
inline void CheckSizeRules(IDirectDraw* directDraw) {
    IDirectDrawSurface* surface = nullptr;
    struct Size {
        DWORD width, height;
        HRESULT expected;
    };
    for (const Size& size : {Size{16384, 1, DD_OK}, Size{1, 16384, DD_OK},
                             Size{16385, 1, DDERR_TOOBIGWIDTH}, Size{1, 16385, DDERR_TOOBIGHEIGHT},
                             Size{0, 10, DDERR_INVALIDPARAMS}, Size{10, 0, DDERR_INVALIDPARAMS}}) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        EXPECT_EQ(CreatePlain(directDraw, size.width, size.height, &surface), size.expected);
        if (surface != nullptr) {
            EXPECT_EQ(surface->Release(), 0u);
        }
    }
}

// directDraw: at the normal level, with no primary.
inline void CheckRefusedRequests(IDirectDraw* directDraw) {
    IDirectDrawSurface* surface = nullptr;
    struct Refused {
        const char* what;
        DDSURFACEDESC desc;
        HRESULT expected;
    };
    const Refused refused[] = {
        {"no height", Request(DDSD_CAPS | DDSD_WIDTH, DDSCAPS_OFFSCREENPLAIN, 10, 10),
         DDERR_INVALIDPARAMS},
        {"both memories",
         Request(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_VIDEOMEMORY | DDSCAPS_SYSTEMMEMORY,
                 10, 10),
         DDERR_INVALIDCAPS},
        {"a back buffer asked for",
         Request(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_BACKBUFFER, 10, 10),
         DDERR_INVALIDCAPS},
        {"an off-screen chain",
         Request(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_FLIP | DDSCAPS_COMPLEX, 10, 10),
         DDERR_INVALIDCAPS},
        {"a primary with a size",
         Request(DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT, DDSCAPS_PRIMARYSURFACE, 10, 10),
         DDERR_INVALIDPARAMS},
        {"a chain at the normal level",
         Request(DDSD_CAPS | DDSD_BACKBUFFERCOUNT,
                 DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX),
         DDERR_NOEXCLUSIVEMODE},
    };
    for (const Refused& request : refused) {
        DDSURFACEDESC desc = request.desc;
        desc.dwBackBufferCount = 1;
        EXPECT_EQ(directDraw->CreateSurface(&desc, &surface, nullptr), request.expected)
            << request.what;
        EXPECT_EQ(surface, nullptr) << request.what;
    }
    DDSURFACEDESC unsized = Request(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    unsized.dwSize = 0;
    EXPECT_EQ(directDraw->CreateSurface(&unsized, &surface, nullptr), DDERR_INVALIDPARAMS);
}

// fresh: a DirectDraw object with no cooperative level yet; window: a window
// that may take the exclusive level. Surfaces it makes are released again, and
// it is left at the normal level.
inline void CheckRequestRules(IDirectDraw* fresh, HWND window) {
    IDirectDrawSurface* surface = nullptr;
    DDSURFACEDESC primary = Request(DDSD_CAPS, DDSCAPS_PRIMARYSURFACE);
    EXPECT_EQ(fresh->CreateSurface(&primary, &surface, nullptr), DDERR_NOCOOPERATIVELEVELSET);
    EXPECT_EQ(fresh->SetCooperativeLevel(window, DDSCL_FULLSCREEN), DDERR_INVALIDPARAMS);
    EXPECT_EQ(fresh->SetCooperativeLevel(window, DDSCL_EXCLUSIVE), DDERR_INVALIDPARAMS);
    EXPECT_EQ(fresh->SetCooperativeLevel(nullptr, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE),
              DDERR_INVALIDPARAMS);
    EXPECT_EQ(fresh->SetCooperativeLevel(window, 0), DDERR_INVALIDPARAMS);
    ASSERT_EQ(fresh->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
    CheckSizeRules(fresh);
    CheckRefusedRequests(fresh);
    EXPECT_EQ(fresh->SetDisplayMode(0, 480, 16), DDERR_INVALIDMODE);
    EXPECT_EQ(fresh->SetDisplayMode(16385, 480, 16), DDERR_INVALIDMODE);
    EXPECT_EQ(fresh->SetDisplayMode(640, 480, 17), DDERR_INVALIDMODE);
    EXPECT_EQ(fresh->WaitForVerticalBlank(0, nullptr), DDERR_INVALIDPARAMS);
}

// directDraw: at the normal level, with no primary. Lock, device contexts,
// descriptions, flips and releases answer as DirectDraw answers them.
inline void CheckSurfaceCallRules(IDirectDraw* directDraw) {
    IDirectDrawSurface* surface = nullptr;
    ASSERT_EQ(CreatePlain(directDraw, 16, 8, &surface), DD_OK);
    DDSURFACEDESC desc = {};
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS)
        << "an unsized description";
    EXPECT_EQ(surface->GetSurfaceDesc(&desc), DDERR_INVALIDPARAMS);
    EXPECT_EQ(surface->Lock(nullptr, nullptr, DDLOCK_WAIT, nullptr), DDERR_INVALIDPARAMS);
    desc.dwSize = sizeof(desc);
    ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_EQ(desc.dwWidth, 16u);
    EXPECT_EQ(desc.dwHeight, 8u);
    EXPECT_GE(desc.lPitch, 32);
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
    HDC dc = nullptr;
    EXPECT_EQ(surface->GetDC(&dc), DDERR_SURFACEBUSY);
    EXPECT_EQ(surface->Unlock(nullptr), DD_OK);
    EXPECT_EQ(surface->Unlock(nullptr), DDERR_NOTLOCKED);
    ASSERT_EQ(surface->GetDC(&dc), DD_OK);
    EXPECT_EQ(surface->ReleaseDC(GetDC(nullptr)), DDERR_NODC);
    EXPECT_EQ(surface->ReleaseDC(dc), DD_OK);
    EXPECT_EQ(surface->ReleaseDC(dc), DDERR_NODC);

    EXPECT_EQ(surface->Flip(nullptr, DDFLIP_WAIT), DDERR_NOTFLIPPABLE);
    DDSCAPS caps = {DDSCAPS_BACKBUFFER};
    IDirectDrawSurface* attached = surface;
    EXPECT_EQ(surface->GetAttachedSurface(&caps, &attached), DDERR_NOTFOUND);
    EXPECT_EQ(attached, nullptr);
    EXPECT_EQ(surface->BltFast(0, 0, surface, nullptr, DDBLTFAST_SRCCOLORKEY), DDERR_NOCOLORKEY);
    EXPECT_EQ(surface->IsLost(), DD_OK);
    EXPECT_EQ(surface->Release(), 0u);

    // Releasing the DirectDraw object ends the surfaces it made.
    ASSERT_EQ(CreatePlain(directDraw, 16, 8, &surface), DD_OK);
    EXPECT_EQ(directDraw->Release(), 0u);
    EXPECT_EQ(surface->IsLost(), DDERR_INVALIDOBJECT);
    EXPECT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DDERR_INVALIDOBJECT);
}

// A copy within one surface moves the part as if through a buffer of its own,
// whichever way the part and its new place overlap.
inline void CheckOverlappingCopy(IDirectDraw* directDraw) {
    IDirectDrawSurface* surface = nullptr;
    ASSERT_EQ(CreatePlain(directDraw, 24, 20, &surface), DD_OK);
    const auto word = [](int x, int y) { return static_cast<std::uint16_t>(x * 97 + y * 1031); };
    struct Move {
        RECT part;
        DWORD x, y;
    };
    for (const Move& move : {Move{{2, 3, 14, 12}, 5, 6}, Move{{5, 6, 17, 15}, 2, 3},
                             Move{{0, 4, 20, 5}, 3, 4}, Move{{3, 4, 23, 5}, 0, 4}}) {
        DDSURFACEDESC desc = {};
        desc.dwSize = sizeof(desc);
        ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        auto* pixels = static_cast<std::uint16_t*>(desc.lpSurface);
        const int stride = desc.lPitch / 2;
        std::vector<std::uint16_t> expected(24 * 20);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 24; ++x) expected[y * 24 + x] = pixels[y * stride + x] = word(x, y);
        surface->Unlock(nullptr);
        for (int y = move.part.top; y < move.part.bottom; ++y)
            for (int x = move.part.left; x < move.part.right; ++x)
                expected[(move.y + y - move.part.top) * 24 + move.x + x - move.part.left] =
                    word(x, y);
        RECT part = move.part;
        ASSERT_EQ(surface->BltFast(move.x, move.y, surface, &part, DDBLTFAST_WAIT), DD_OK);
        ASSERT_EQ(surface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
        pixels = static_cast<std::uint16_t*>(desc.lpSurface);
        int wrong = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 24; ++x) wrong += pixels[y * stride + x] != expected[y * 24 + x];
        surface->Unlock(nullptr);
        EXPECT_EQ(wrong, 0) << "part at " << move.part.left << "," << move.part.top;
    }
    surface->Release();
}

// primary: the screen, screenWidth x screenHeight; source: an unlocked 40 x 30
// surface. Locks take an empty rectangle, as DirectDraw does, and refuse one
// reaching past the surface; a BltFast onto the screen fits exactly at its far
// corner and is refused one pixel further, or left of or above it, since
// DirectDraw clips nothing, and an empty source is refused.
inline void CheckRectangleRules(IDirectDrawSurface* primary, int screenWidth, int screenHeight,
                                IDirectDrawSurface* source) {
    DDSURFACEDESC desc = {};
    desc.dwSize = sizeof(desc);
    RECT empty = {5, 2, 5, 4};
    RECT past = {30, 0, 41, 5};
    RECT inside = {30, 20, 40, 30};
    ASSERT_EQ(source->Lock(&empty, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    source->Unlock(nullptr);
    EXPECT_EQ(source->Lock(&past, &desc, DDLOCK_WAIT, nullptr), DDERR_INVALIDRECT);
    ASSERT_EQ(source->Lock(&inside, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    source->Unlock(nullptr);

    const auto at = [](int coordinate) { return static_cast<DWORD>(coordinate); };
    const int right = screenWidth - 40;
    const int bottom = screenHeight - 30;
    const DWORD copy = DDBLTFAST_WAIT | DDBLTFAST_NOCOLORKEY;
    EXPECT_EQ(primary->BltFast(at(right), at(bottom), source, nullptr, copy), DD_OK);
    EXPECT_EQ(primary->BltFast(at(right + 1), at(bottom), source, nullptr, copy),
              DDERR_INVALIDRECT);
    EXPECT_EQ(primary->BltFast(at(right), at(bottom + 1), source, nullptr, copy),
              DDERR_INVALIDRECT);
    EXPECT_EQ(primary->BltFast(at(-1), 0, source, nullptr, copy), DDERR_INVALIDRECT);
    EXPECT_EQ(primary->BltFast(0, at(-1), source, nullptr, copy), DDERR_INVALIDRECT);
    // The part of a window still on the screen fits where the whole would not.
    EXPECT_EQ(primary->BltFast(at(right + 30), at(bottom + 20), source, &inside, copy), DD_OK);
    EXPECT_EQ(primary->BltFast(0, 0, source, &empty, copy), DDERR_INVALIDRECT);
}

}  // namespace ddrawcheck
