// Whole-number enlargement of the engine's 16-bit frames into a window
// surface's own pixels, for showing them without SDL's renderer. Nearest
// neighbour: each pixel becomes a factor x factor block, in the colours SDL's
// renderer shows for an RGB565 texture, so the picture is the same either way.
#pragma once

#include <cstdint>

struct SDL_Surface;

namespace sdl {

// The largest enlargement a frame is shown at.
constexpr int kLargestScale = 16;

// A 5:6:5 picture: width x height pixels, rows pitchBytes apart (an even
// number, at least 2 x width). Not owned.
struct Frame565 {
    const std::uint16_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitchBytes = 0;
};

// Memory the scaler writes, as a locked SDL surface holds it: width x height
// pixels of an SDL pixel format, rows pitchBytes apart. Not owned.
struct SurfacePixels {
    void* pixels = nullptr;
    int width = 0;
    int height = 0;
    int pitchBytes = 0;
    std::uint32_t format = 0;
};

// Whether frames can be scaled into surfaces of this SDL pixel format:
// SDL_PIXELFORMAT_RGB888 (XRGB8888, what X11 gives at depth 24), ARGB8888, and
// RGB565 (a 16-bit X server).
bool CanScaleInto(std::uint32_t format);

// Writes the frame enlarged factor times with its top-left corner at pixel
// (x, y) of the surface. 32-bit pixels get each channel widened as SDL's
// renderer widens it and an opaque top byte; RGB565 pixels are copied. Writes
// nothing and answers false when the format is not one CanScaleInto takes, the
// factor lies outside 1 to kLargestScale, or the enlarged frame does not lie
// wholly inside the surface.
bool ScaleFrame(const Frame565& frame, int factor, const SurfacePixels& surface, int x, int y);
// The same, one pixel at a time: the plain loop ScaleFrame gives the same
// bytes as.
bool ScaleFrameReference(const Frame565& frame, int factor, const SurfacePixels& surface, int x,
                         int y);
// ScaleFrame into an SDL surface, locked by the caller where SDL_MUSTLOCK says
// so; false for a null surface.
bool ScaleFrameInto(SDL_Surface* surface, const Frame565& frame, int factor, int x, int y);

}  // namespace sdl
