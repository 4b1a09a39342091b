// The headless DirectDraw objects and the state they share; private to the backend.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/common/device_context.h"
#include "platform/headless/display_control.h"

namespace headless::detail {

class HeadlessDirectDraw;

// A surface in memory. Objects stay allocated until the backend is reset, so a
// call through a released pointer answers DDERR_INVALIDOBJECT instead of
// touching freed memory; their pixels go when the last reference does.
class HeadlessSurface final : public IDirectDrawSurface {
public:
    HeadlessSurface(HeadlessDirectDraw* owner, const char* kind, int width, int height, DWORD caps);

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

    void AddRef() { ++refs_; }
    // Drops one reference; at none the surface and the back buffers it owns die.
    ULONG DropReference();
    // Frees the pixels and makes every later call answer DDERR_INVALIDOBJECT.
    void Kill();
    bool alive() const { return alive_; }
    bool busy() const { return locked_ || dcOut_; }
    // Marks the surface lost; a flipping chain is lost as a whole.
    void MarkLost();
    long long bytes() const { return static_cast<long long>(pitch_) * height_; }
    DWORD caps() const { return caps_; }
    const std::string& kind() const { return kind_; }
    HeadlessDirectDraw* owner() const { return owner_; }

    // A flipping chain: the front holds its back buffers (which hold one reference
    // each for the chain), each back buffer knows its front.
    std::vector<HeadlessSurface*> backBuffers;
    HeadlessSurface* front = nullptr;

    // Copies width x height pixels from (x, y) of this surface into a frame.
    Frame Capture(int x, int y, int width, int height) const;
    // The same picture written into frame, reusing its storage.
    void CaptureInto(Frame& frame, int x, int y, int width, int height) const;
    // Shows part of this surface to the user: it becomes the last presented frame.
    void PresentPart(int x, int y, int width, int height) const;

private:
    void FillDescription(DDSURFACEDESC& desc) const;
    bool ChainLost() const;

    HeadlessDirectDraw* owner_;
    std::string kind_;
    int width_;
    int height_;
    int pitch_;  // bytes
    DWORD caps_;
    std::uint32_t masks_[3];
    std::vector<std::uint16_t> pixels_;
    ULONG refs_ = 1;
    bool alive_ = true;
    bool lost_ = false;
    bool locked_ = false;
    bool dcOut_ = false;
    HDC__ dc_;
};

class HeadlessDirectDraw final : public IDirectDraw {
public:
    ULONG Release() override;
    HRESULT CreateSurface(LPDDSURFACEDESC desc, IDirectDrawSurface** surface,
                          IUnknown* outer) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel) override;
    // Moves the headless clock on to the next vertical blank (see clock_control.h).
    HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event) override;

    bool alive() const { return alive_; }
    DWORD cooperativeFlags() const { return cooperativeFlags_; }
    HWND cooperativeWindow() const { return cooperativeWindow_; }

private:
    HRESULT CheckRequest(const DDSURFACEDESC& desc, DWORD caps) const;
    bool HasLivePrimary() const;

    ULONG refs_ = 1;
    bool alive_ = true;
    bool setMode_ = false;
    DWORD cooperativeFlags_ = 0;
    HWND cooperativeWindow_ = nullptr;
};

struct DisplaySettings {
    SurfaceFormat format = SurfaceFormat::Rgb565;
    int extraPitch = 0;
    long long videoMemory = 32ll * 1024 * 1024;
};

struct DisplayState {
    DisplaySettings settings;
    std::vector<std::unique_ptr<HeadlessDirectDraw>> directDraws;
    std::vector<std::unique_ptr<HeadlessSurface>> surfaces;
    long long videoMemoryInUse = 0;
    DisplayMode mode;
    int presentCount = 0;
    bool keepAllFrames = false;
    // The last presented picture is taken from its surface only when someone
    // looks at it or the surface is about to change, so presenting a frame costs
    // one copy, as on a real display.
    Frame lastFrame;
    const HeadlessSurface* pendingSurface = nullptr;
    RECT pendingPart = {0, 0, 0, 0};
    std::vector<Frame> frames;
};

DisplayState& Display();
// The backend's surface behind an interface pointer; null for anything else.
HeadlessSurface* FindSurface(IDirectDrawSurface* surface);
// Counts a presentation of part of a surface, which becomes the last presented
// picture (kept at once when every frame is kept).
void PresentFrom(const HeadlessSurface& surface, int x, int y, int width, int height);
// Takes the last presented picture from its surface now if it still lives there;
// called before that surface's pixels change (null: whatever surface it is).
void SettlePresentedFrame(const HeadlessSurface* surface);

}  // namespace headless::detail
