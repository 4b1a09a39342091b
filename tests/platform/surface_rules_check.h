// DirectDraw's rectangle rules, checked alike through each backend's own
// surfaces (the rules live once, in platform/common/surface_rules.h).
#pragma once

#include <gtest/gtest.h>

#include "platform/api/platform.h"

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
