#include "platform/sdl/sdl_window_surface.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <cstring>

#include "platform/sdl/sdl_frame_scaler.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/sdl_video.h"

namespace sdl {
namespace {

// A part of the last picture and where it lies on the canvas.
struct PicturePart {
    Frame565 frame;
    int x = 0;
    int y = 0;
};

// The last picture cut to the canvas columns [left, right) and rows [top,
// bottom) and to the canvas itself; false when nothing of it lies there.
bool PictureWithin(HWND window, int left, int top, int right, int bottom, PicturePart& part) {
    const SDL_Rect& at = window->lastFrame;
    if (window->shown.empty() || at.w <= 0 || at.h <= 0) return false;
    const int x0 = std::max({left, at.x, 0});
    const int y0 = std::max({top, at.y, 0});
    const int x1 = std::min({right, at.x + at.w, window->canvasWidth});
    const int y1 = std::min({bottom, at.y + at.h, window->canvasHeight});
    if (x0 >= x1 || y0 >= y1) return false;
    const std::size_t first = static_cast<std::size_t>(y0 - at.y) * at.w + (x0 - at.x);
    part.frame = {window->shown.data() + first, x1 - x0, y1 - y0, at.w * 2};
    part.x = x0;
    part.y = y0;
    return true;
}

// Paints the surface black outside `drawn` (window pixels).
void FillAround(SDL_Surface* surface, const SDL_Rect& drawn) {
    const Uint32 black = SDL_MapRGB(surface->format, 0, 0, 0);
    const int right = drawn.x + drawn.w;
    const int bottom = drawn.y + drawn.h;
    const SDL_Rect bands[4] = {{0, 0, surface->w, drawn.y},
                               {0, bottom, surface->w, surface->h - bottom},
                               {0, drawn.y, drawn.x, drawn.h},
                               {right, drawn.y, surface->w - right, drawn.h}};
    for (const SDL_Rect& band : bands)
        if (band.w > 0 && band.h > 0) SDL_FillRect(surface, &band, black);
}

// A whole-number enlargement straight into the surface, in whole blocks: a
// window narrower than its canvas (enlarged once) shows the columns that fit.
SDL_Rect ScaleOnto(SDL_Surface* surface, HWND window, const PicturePlace& place) {
    const int scale = place.wholeScale;
    const auto ceilDiv = [](int value, int by) { return value > 0 ? (value + by - 1) / by : 0; };
    PicturePart part;
    if (!PictureWithin(window, ceilDiv(-place.x, scale), ceilDiv(-place.y, scale),
                       (surface->w - place.x) / scale, (surface->h - place.y) / scale, part))
        return {0, 0, 0, 0};
    const SDL_Rect drawn = {place.x + part.x * scale, place.y + part.y * scale,
                            part.frame.width * scale, part.frame.height * scale};
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return {0, 0, 0, 0};
    ScaleFrameInto(surface, part.frame, scale, drawn.x, drawn.y);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    return drawn;
}

// Any other enlargement, or a surface the scaler cannot write: the canvas at
// its own size in a 32-bit format the scaler writes, then stretched (nearest
// pixel) and converted onto the surface by SDL.
SDL_Rect StretchOnto(SDL_Surface* surface, HWND window, const PicturePlace& place) {
    const Uint32 format = CanScaleInto(surface->format->format)
                              ? surface->format->format
                              : static_cast<Uint32>(SDL_PIXELFORMAT_RGB888);
    SDL_Surface* canvas = window->canvas.get();
    if (canvas == nullptr || canvas->w != window->canvasWidth ||
        canvas->h != window->canvasHeight || canvas->format->format != format) {
        window->canvas.reset(SDL_CreateRGBSurfaceWithFormat(0, window->canvasWidth,
                                                            window->canvasHeight, 32, format));
        canvas = window->canvas.get();
        if (canvas == nullptr) return {0, 0, 0, 0};
    }
    SDL_FillRect(canvas, nullptr, SDL_MapRGB(canvas->format, 0, 0, 0));
    PicturePart part;
    if (PictureWithin(window, 0, 0, window->canvasWidth, window->canvasHeight, part))
        ScaleFrameInto(canvas, part.frame, 1, part.x, part.y);
    SDL_Rect drawn = {place.x, place.y, place.width, place.height};
    SDL_BlitScaled(canvas, nullptr, surface, &drawn);
    return drawn;
}

}  // namespace

bool NamesSoftwareRasteriser(const char* glRenderer) {
    if (glRenderer == nullptr) return false;
    for (const char* name : {"llvmpipe", "softpipe", "swrast"})
        if (std::strstr(glRenderer, name) != nullptr) return true;
    return false;
}

bool RendersInSoftware(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (renderer == nullptr || SDL_GetRendererInfo(renderer, &info) != 0) return false;
    if ((info.flags & SDL_RENDERER_SOFTWARE) != 0 || std::strcmp(info.name, "software") == 0)
        return true;
    // An OpenGL renderer leaves its context current; its renderer string names
    // what draws.
    if (std::strncmp(info.name, "opengl", 6) != 0 || SDL_GL_GetCurrentContext() == nullptr)
        return false;
    using GetString = const GLubyte*(APIENTRY*)(GLenum);
    const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    return getString != nullptr &&
           NamesSoftwareRasteriser(reinterpret_cast<const char*>(getString(GL_RENDERER)));
}

bool DrawOnWindowSurface(HWND window) {
    SDL_Surface* surface = SDL_GetWindowSurface(window->sdlWindow);
    if (surface == nullptr) {
        if (!window->surfaceFailed) ReportSdlError("cannot show the picture");
        window->surfaceFailed = true;
        return false;
    }
    const PicturePlace place = CanvasPlace(window, surface->w, surface->h);
    SDL_Rect drawn = {0, 0, 0, 0};
    if (place.wholeScale > 0 && CanScaleInto(surface->format->format))
        drawn = ScaleOnto(surface, window, place);
    else if (place.width > 0)
        drawn = StretchOnto(surface, window, place);
    FillAround(surface, drawn);
    return SDL_UpdateWindowSurface(window->sdlWindow) == 0;
}

}  // namespace sdl
