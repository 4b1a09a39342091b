// Showing pictures without SDL's renderer. Where the renderer draws in
// software (SDL's own, or OpenGL drawn by Mesa's llvmpipe, softpipe or swrast
// where there is no graphics card), scaling the picture into the window's own
// surface and handing that to the window system (shared memory on X11) costs a
// fraction of the processor time. The window surface does not wait for the
// vertical blank: the engine paces the frames itself.
#pragma once

#include <SDL.h>

#include "platform/sdl/sdl_windows.h"

namespace sdl {

// Whether the renderer draws its pictures in software.
bool RendersInSoftware(SDL_Renderer* renderer);
// Whether an OpenGL renderer string names a software rasteriser.
bool NamesSoftwareRasteriser(const char* glRenderer);

// Shows the window's last picture (black before the first) on its own surface,
// laid out as the renderer would lay it out. False, with SDL's reason on
// standard error, when the window has no surface.
bool DrawOnWindowSurface(HWND window);

}  // namespace sdl
