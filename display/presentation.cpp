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

int WinDX::ViewUpdate() {
    // A frame that shows nothing still takes its time, so a window that is
    // inactive, behind another or not yet ready does not spin.
    if (active != 1 || GetForegroundWindow() != window || primarySurface == nullptr ||
        backSurface == nullptr) {
        framePacer.WaitWithoutPresent();
        return 1;
    }

    if (fullscreen == 1) {
        framePacer.WaitBeforePresent(directDraw, false);
        primarySurface->Flip(nullptr, DDFLIP_WAIT);
        // A lost chain is restored silently; the next frame draws into it again.
        if (primarySurface->IsLost() == DDERR_SURFACELOST) primarySurface->Restore();
        return 1;
    }

    // The copy is not clipped to the window; the foreground test keeps that rare.
    framePacer.WaitBeforePresent(directDraw, true);
    const HRESULT result =
        primarySurface->BltFast(static_cast<DWORD>(originX), static_cast<DWORD>(originY),
                                backSurface, nullptr, DDBLTFAST_WAIT | DDBLTFAST_NOCOLORKEY);
    if (result == DD_OK) return 1;
    if (result == DDERR_WASSTILLDRAWING) return 0;
    if (result == DDERR_SURFACELOST) {
        MessageBoxA(window, "<WinDX::ViewUpdate> Error: Surface Lost", "", MB_OK);
        if (FAILED(primarySurface->Restore())) return 0;
        if (FAILED(backSurface->Restore())) return 0;
        return 1;
    }
    return 1;
}
