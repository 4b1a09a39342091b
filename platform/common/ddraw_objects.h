// DirectDraw's objects, shared by every backend without the system's
// DirectDraw: the display object, surfaces and flipping chains with the checks
// and answers of DirectDraw itself. Each call passes through the backend's
// watcher (platform_call.h); what the pictures become is the backend's
// (display.h).
//
// Objects stay allocated until ResetDirectDraw, so a call through a released
// pointer answers DDERR_INVALIDOBJECT instead of touching freed memory; a
// surface's pixels go with its last reference.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/common/device_context.h"
#include "platform/common/display.h"

namespace platform {

class Surface final : public IDirectDrawSurface {
public:
    // kind names it in call records: "primary", "offscreen" or "backbuffer".
    // Without pixels it stands for a screen it cannot read back.
    Surface(DirectDrawObject* owner, const char* kind, int width, int height, DWORD caps,
            bool withPixels);

    ULONG Release() override;
    HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface* source, LPRECT sourceRect,
                    DWORD transfer) override;
    HRESULT Flip(IDirectDrawSurface* targetOverride, DWORD flags) override;
    HRESULT GetAttachedSurface(LPDDSCAPS caps, IDirectDrawSurface** attached) override;
    HRESULT GetDC(HDC* dc) override;
    HRESULT GetSurfaceDesc(LPDDSURFACEDESC desc) override;
    HRESULT IsLost() override;
    HRESULT Lock(LPRECT rect, LPDDSURFACEDESC desc, DWORD flags, HANDLE event) override;
    HRESULT ReleaseDC(HDC dc) override;
    HRESULT Restore() override;
    HRESULT Unlock(LPVOID rect) override;

    const DirectDrawObject& Owner() const { return *owner_; }
    const char* Kind() const { return kind_; }
    DWORD Caps() const { return caps_; }
    bool IsPrimary() const { return (caps_ & DDSCAPS_PRIMARYSURFACE) != 0; }
    bool Alive() const { return alive_; }
    bool Lost() const { return lost_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Pitch() const { return pitch_; }  // bytes
    const SurfaceLayout& Layout() const { return layout_; }
    // The pixel at (x, y), rows Pitch() bytes apart; null without pixels.
    const std::uint16_t* PixelAt(int x, int y) const;
    long long Bytes() const { return static_cast<long long>(pitch_) * height_; }
    // The pitch in bytes of a new surface this wide, in the display's layout.
    static int PitchFor(int width);

    // A flipping chain: the front holds its back buffers (one reference each),
    // and each back buffer knows its front.
    void Attach(Surface* back);
    const Surface* Front() const { return front_; }

    // Marks the surface lost; a flipping chain is lost as a whole.
    void MarkLost();
    // Frees the pixels; every later call answers DDERR_INVALIDOBJECT.
    void Kill();

private:
    HRESULT LockSurface(const RECT* rect, LPDDSURFACEDESC desc);
    HRESULT BltFastChecked(DWORD x, DWORD y, Surface* from, const RECT* sourceRect, DWORD transfer);
    HRESULT FlipChecked(IDirectDrawSurface* targetOverride);
    HRESULT Attached(const DDSCAPS& caps, IDirectDrawSurface** attached);
    HRESULT LendContext(HDC* dc);
    HRESULT RestoreChain();
    ULONG DropReference();
    void CopyFrom(const Surface& from, const RECT& part, int x, int y);
    void Describe(DDSURFACEDESC& desc) const;
    bool ChainLost() const;
    bool Busy() const { return locked_ || dcOut_; }
    bool ChainBusy() const;

    DirectDrawObject* owner_;
    const char* kind_;
    int width_;
    int height_;
    int pitch_;
    DWORD caps_;
    SurfaceLayout layout_;
    std::vector<std::uint16_t> pixels_;
    std::vector<Surface*> backBuffers_;
    Surface* front_ = nullptr;
    ULONG refs_ = 1;
    bool alive_ = true;
    bool lost_ = false;
    bool locked_ = false;
    bool dcOut_ = false;
    HDC__ dc_;
};

class DirectDrawObject final : public IDirectDraw {
public:
    ULONG Release() override;
    HRESULT CreateSurface(LPDDSURFACEDESC desc, IDirectDrawSurface** surface,
                          IUnknown* outer) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) override;
    HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event) override;

    bool Alive() const { return alive_; }
    DWORD CooperativeFlags() const { return cooperativeFlags_; }
    bool Exclusive() const { return (cooperativeFlags_ & DDSCL_EXCLUSIVE) != 0; }
    HWND CooperativeWindow() const { return cooperativeWindow_; }
    // The mode this object set; all zero while it set none.
    DWORD ModeWidth() const { return modeWidth_; }
    DWORD ModeHeight() const { return modeHeight_; }

private:
    HRESULT CreateChecked(const DDSURFACEDESC& desc, IDirectDrawSurface** surface);
    Surface* Make(const char* kind, int width, int height, DWORD caps, bool withPixels);
    bool HasLivePrimary() const;

    ULONG refs_ = 1;
    bool alive_ = true;
    DWORD cooperativeFlags_ = 0;
    HWND cooperativeWindow_ = nullptr;
    DWORD modeWidth_ = 0;
    DWORD modeHeight_ = 0;
};

// The screen a full-screen flipping chain stands for (Display::PrimarySize):
// the mode its owner set, or without one its cooperative window's size.
ScreenSize FlippingChainSize(const DirectDrawObject& owner);

// Every object made since the last reset, oldest first, released ones included.
const std::vector<std::unique_ptr<DirectDrawObject>>& DirectDrawObjects();
const std::vector<std::unique_ptr<Surface>>& Surfaces();
// The shared surface behind an interface pointer; null for anything else.
Surface* FindSurface(IDirectDrawSurface* surface);
// Bytes of video memory the live surfaces take.
long long VideoMemoryInUse();
// Ends every object: a new machine has none.
void ResetDirectDraw();

}  // namespace platform
