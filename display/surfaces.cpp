#include <cstring>

#include "display/pixel_format.h"
#include "image/draw_routines.h"
#include "shell/debugger.h"
#include "shell/release_interface.h"
#include "shell/windx.h"

namespace {

// The log line for a refused full-screen primary; null for codes without one.
const char* PrimaryFailureText(HRESULT result) {
    switch (result) {
        case DDERR_INCOMPATIBLEPRIMARY:
            return "<WinDX::CreateSurface> Incompatible Primary\n";
        case DDERR_INVALIDCAPS:
            return "<WinDX::CreateSurface> Invalid Caps\n";
        case DDERR_INVALIDOBJECT:
            return "<WinDX::CreateSurface> Invalid Object\n";
        case DDERR_INVALIDPIXELFORMAT:
            return "<WinDX::CreateSurface> Invalid Pixel Format\n";
        case DDERR_NOALPHAHW:
            return "<WinDX::CreateSurface> No Alpha HW\n";
        case DDERR_NOCOOPERATIVELEVELSET:
            return "<WinDX::CreateSurface> No Cooperate Level Set\n";
        case DDERR_NOEXCLUSIVEMODE:
            return "<WinDX::CreateSurface> No Exclusive Mode\n";
        case DDERR_NOFLIPHW:
            return "<WinDX::CreateSurface> No Flip HW\n";
        case DDERR_NOZBUFFERHW:
            return "<WinDX::CreateSurface> No Z-Buffer HW\n";
        case DDERR_OUTOFVIDEOMEMORY:
            return "<WinDX::CreateSurface> Out Of Video Memory\n";
        case DDERR_NODIRECTDRAWHW:
            return "<WinDX::CreateSurface> No Direct Draw HW\n";
        case DDERR_PRIMARYSURFACEALREADYEXISTS:
            return "<WinDX::CreateSurface> Primary Surface Already Exists\n";
        case DDERR_NOEMULATION:
            return "<WinDX::CreateSurface> No Emulation\n";
        case E_OUTOFMEMORY:
            return "<WinDX::CreateSurface> Out of Memory\n";
        case E_INVALIDARG:
            return "<WinDX::CreateSurface> Invalid Params\n";
        default:
            return nullptr;
    }
}

// Creates a surface; a refused request is tried once more without
// DDSCAPS_VIDEOMEMORY. Only the full-screen primary logs why it was refused.
bool CreateWithRetry(IDirectDraw* directDraw, DDSURFACEDESC& desc, IDirectDrawSurface** surface,
                     bool logFailure) {
    HRESULT result = directDraw->CreateSurface(&desc, surface, nullptr);
    if (SUCCEEDED(result)) return true;
    if (logFailure) {
        const char* text = PrimaryFailureText(result);
        if (text != nullptr) Debug.Write(text, "");
    }
    desc.ddsCaps.dwCaps &= ~static_cast<DWORD>(DDSCAPS_VIDEOMEMORY);
    result = directDraw->CreateSurface(&desc, surface, nullptr);
    return SUCCEEDED(result);
}

// Full screen: the display mode, then a flipping primary and its back buffer.
bool CreateFlippingChain(WinDX& dx, DDSURFACEDESC& desc) {
    if (FAILED(dx.directDraw->SetDisplayMode(static_cast<DWORD>(dx.width),
                                             static_cast<DWORD>(dx.height),
                                             static_cast<DWORD>(dx.screenBits)))) {
        dx.status = SETMODE_FAILED;
        return false;
    }
    dx.status = SETMODE_OK;

    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX;
    if (!CreateWithRetry(dx.directDraw, desc, &dx.primarySurface, true)) {
        dx.status = FRONTSURFACE_FAILED;
        return false;
    }
    dx.status = FRONTSURFACE_OK;

    DDSCAPS backCaps = {DDSCAPS_BACKBUFFER};
    if (FAILED(dx.primarySurface->GetAttachedSurface(&backCaps, &dx.backSurface))) {
        dx.status = BACKSURFACE_FAILED;
        return false;
    }
    dx.status = BACKSURFACE_OK;
    return true;
}

// Windowed: the screen's primary and an off-screen back surface of the window's size.
bool CreateWindowedSurfaces(WinDX& dx, DDSURFACEDESC& desc) {
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_VIDEOMEMORY;
    if (!CreateWithRetry(dx.directDraw, desc, &dx.primarySurface, false)) {
        dx.status = FRONTSURFACE_FAILED;
        return false;
    }
    dx.status = FRONTSURFACE_OK;

    // No clipper: the presentation copies to the client area's screen position.
    desc.dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
    desc.dwWidth = static_cast<DWORD>(dx.width);
    desc.dwHeight = static_cast<DWORD>(dx.height);
    if (!CreateWithRetry(dx.directDraw, desc, &dx.backSurface, false)) {
        dx.status = BACKSURFACE_FAILED;
        return false;
    }
    dx.status = BACKSURFACE_OK;
    return true;
}

// Reads the primary's size and logs where both surfaces live; desc is left
// describing the back surface.
void DescribeSurfaces(WinDX& dx, DDSURFACEDESC& desc) {
    desc.dwFlags = DDSD_HEIGHT | DDSD_WIDTH | DDSD_PITCH | DDSD_PIXELFORMAT;
    const bool primaryDescribed = SUCCEEDED(dx.primarySurface->GetSurfaceDesc(&desc));
    dx.primaryWidth = primaryDescribed ? static_cast<std::int32_t>(desc.dwWidth) : dx.screenWidth;
    dx.primaryHeight =
        primaryDescribed ? static_cast<std::int32_t>(desc.dwHeight) : dx.screenHeight;
    Debug.Write((desc.ddsCaps.dwCaps & DDSCAPS_VIDEOMEMORY)
                    ? "WinDX:: Front Buffer is in video memory.\n"
                    : "WinDX:: Front Buffer NOT IN VIDEO MEMORY.\n",
                "");

    dx.backSurface->GetSurfaceDesc(&desc);
    Debug.Write((desc.ddsCaps.dwCaps & DDSCAPS_VIDEOMEMORY)
                    ? "WinDX:: Back Buffer is in video memory.\n"
                    : "WinDX:: Back Buffer NOT IN VIDEO MEMORY.\n",
                "");
    Debug.Write((desc.ddsCaps.dwCaps & DDSCAPS_BACKBUFFER)
                    ? "WinDX:: Back Buffer is a valid flip (back) buffer.\n"
                    : "WinDX:: Back Buffer NOT A FLIP (BACK) BUFFER.\n",
                "");
}

// The back surface's rows and pixel format, and the routines that draw on it.
void AdoptBackSurface(WinDX& dx, const DDSURFACEDESC& desc) {
    dx.pitch = desc.lPitch;
    dx.height = static_cast<std::int32_t>(desc.dwHeight);

    // 16 bits per pixel is the only depth that gets this far.
    dx.width = dx.pitch / 2;
    dx.drawTable.DrawPixel = DrawPixel16;
    dx.drawTable.DrawPlain = DrawPlain16;
    dx.drawTable.DrawMasked = DrawMasked16;
    dx.drawTable.DrawAlpha = DrawAlpha16;
    dx.drawTable.DrawAdditive = DrawAdditive16;
    SetPixelFormat(desc.ddpfPixelFormat.dwRBitMask, desc.ddpfPixelFormat.dwGBitMask,
                   desc.ddpfPixelFormat.dwBBitMask);

    // One entry per row and one just past the bottom row; a surface taller than
    // the table grows it.
    if (static_cast<size_t>(dx.height) + 1 > dx.rowOffset.size())
        dx.rowOffset.resize(static_cast<size_t>(dx.height) + 1);
    for (std::int32_t row = 0; row <= dx.height; ++row) dx.rowOffset[row] = row * dx.pitch;

    dx.bufferSize = dx.width * dx.height * 2;
}

// The client area in screen coordinates, where a windowed frame is copied to.
void FindClientArea(WinDX& dx) {
    POINT origin = {0, 0};
    GetClientRect(dx.window, &dx.clientRect);
    ClientToScreen(dx.window, &origin);
    OffsetRect(&dx.clientRect, origin.x, origin.y);
    dx.originX = origin.x;
    dx.originY = origin.y;
}

}  // namespace

bool WinDX::StartDirectDraw() {
    if (FAILED(DirectDrawCreate(nullptr, &directDraw, nullptr))) {
        status = DDSTART_FAILED;
        return false;
    }
    status = DDSTART_OK;

    const DWORD level = fullscreen == 1 ? DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE : DDSCL_NORMAL;
    if (FAILED(directDraw->SetCooperativeLevel(window, level))) {
        status = DDSETLEVEL_FAILED;
        return false;
    }
    status = DDSETLEVEL_OK;
    return true;
}

bool WinDX::CreateSurface() {
    // A second call rebuilds both surfaces.
    ReleaseInterface(backSurface);
    ReleaseInterface(primarySurface);

    DDSURFACEDESC desc;
    std::memset(&desc, 0, sizeof(desc));
    desc.dwSize = sizeof(desc);
    const bool created =
        fullscreen == 1 ? CreateFlippingChain(*this, desc) : CreateWindowedSurfaces(*this, desc);
    if (!created) return false;

    DescribeSurfaces(*this, desc);
    AdoptBackSurface(*this, desc);
    FindClientArea(*this);
    active = 1;
    status = INIT_OK;
    return true;
}
