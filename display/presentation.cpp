#include <cstdint>
#include <cstring>

#include "shell/windx.h"

bool WinDX::LockSurface() {
    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    if (backSurface == nullptr || FAILED(backSurface->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr))) {
        // No stale pointer survives a failed lock: drawing does nothing this frame.
        backBuffer = nullptr;
        status = LOCK_FAILED;
        ReportError();
        return false;
    }
    // The layout found at start-up holds for every lock; the pitch is not read again.
    backBuffer = static_cast<std::uint16_t*>(desc.lpSurface);
    return true;
}

int WinDX::UnlockSurface() {
    if (backSurface != nullptr) backSurface->Unlock(nullptr);
    backBuffer = nullptr;
    return 1;
}

namespace {

// WM_MOVE hands the client origin over as two 16-bit words; a window left of or
// above the screen has a negative origin, which only the signed reading gives.
int ScreenCoordinate(std::int32_t word) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(word));
}

// The part of a width x height client area at (left, top) that lies on a
// screenWidth x screenHeight screen, in client coordinates; empty when none.
RECT VisiblePart(int left, int top, int width, int height, int screenWidth, int screenHeight) {
    RECT part = {0, 0, width, height};
    if (left < 0) part.left = -left;
    if (top < 0) part.top = -top;
    if (left + width > screenWidth) part.right = screenWidth - left;
    if (top + height > screenHeight) part.bottom = screenHeight - top;
    return part;
}

}  // namespace

int WinDX::ViewUpdate() {
    // A frame that shows nothing still takes its time, so a window that is
    // inactive, behind another or not yet ready does not spin.
    if (active != 1 || GetForegroundWindow() != window || primarySurface == nullptr ||
        backSurface == nullptr) {
        framePacer.WaitWithoutPresent();
        return 1;
    }

    // A display slower than the game rate shows some frames not at all.
    if (fullscreen == 1) {
        if (!framePacer.WaitBeforePresent(directDraw, false)) return 1;
        primarySurface->Flip(nullptr, DDFLIP_WAIT);
        framePacer.PresentDone();
        // A lost chain is restored silently; the next frame draws into it again.
        if (primarySurface->IsLost() == DDERR_SURFACELOST) primarySurface->Restore();
        return 1;
    }

    // The copy is not clipped to the window: whatever covers the client area is
    // painted over (the foreground test keeps that rare). BltFast refuses a copy
    // that reaches past the screen, so a window partly off it gets its visible part.
    const int left = ScreenCoordinate(originX);
    const int top = ScreenCoordinate(originY);
    const int clientWidth = clientRect.right - clientRect.left;
    const int clientHeight = clientRect.bottom - clientRect.top;
    RECT part = VisiblePart(left, top, clientWidth, clientHeight, primaryWidth, primaryHeight);
    if (part.left >= part.right || part.top >= part.bottom) {
        framePacer.WaitWithoutPresent();
        return 1;
    }
    const bool whole =
        part.left == 0 && part.top == 0 && part.right == clientWidth && part.bottom == clientHeight;

    if (!framePacer.WaitBeforePresent(directDraw, true)) return 1;
    const HRESULT result = primarySurface->BltFast(
        static_cast<DWORD>(left + part.left), static_cast<DWORD>(top + part.top), backSurface,
        whole ? nullptr : &part, DDBLTFAST_WAIT | DDBLTFAST_NOCOLORKEY);
    framePacer.PresentDone();
    if (result == DD_OK) return 1;
    if (result == DDERR_WASSTILLDRAWING) return 0;
    if (result == DDERR_SURFACELOST) {
        if (!surfaceLostShowing) {
            surfaceLostShowing = true;
            MessageBoxA(window, "<WinDX::ViewUpdate> Error: Surface Lost", "", MB_OK);
            surfaceLostShowing = false;
        }
        if (FAILED(primarySurface->Restore())) return 0;
        if (FAILED(backSurface->Restore())) return 0;
        return 1;
    }
    return 1;
}
