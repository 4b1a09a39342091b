#include "platform/sdl/sdl_screen.h"

#include <cstring>

#include "platform/sdl/sdl_frame_scaler.h"
#include "platform/sdl/sdl_picture_layout.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/sdl_window_label.h"
#include "platform/sdl/sdl_window_surface.h"

namespace sdl {
namespace {

bool IsPopup(HWND window) {
    return (window->style & WS_POPUP) != 0;
}

int ClientWidth(HWND window) {
    return window->outer.right - window->outer.left;
}
int ClientHeight(HWND window) {
    return window->outer.bottom - window->outer.top;
}

// The largest whole-number enlargement whose window fits in about 85 % of the
// usable desktop, so the window leaves room around it on any screen.
int FittingScale(int width, int height) {
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
    int scale = 1;
    while ((scale + 1) * width * 100 <= usable.w * 85 &&
           (scale + 1) * height * 100 <= usable.h * 85)
        ++scale;
    return scale;
}

bool InFullScreenView(HWND window) {
    return (SDL_GetWindowFlags(window->sdlWindow) & SDL_WINDOW_FULLSCREEN) != 0;
}

// A window shows its picture by whole pixels; the full-screen view fills as much
// of the screen as the aspect ratio allows.
bool WholeNumbersOnly(HWND window) {
    return !IsPopup(window) && !InFullScreenView(window);
}

void ChooseScaling(HWND window) {
    if (window->renderer == nullptr) return;
    SDL_RenderSetIntegerScale(window->renderer, WholeNumbersOnly(window) ? SDL_TRUE : SDL_FALSE);
}

void Draw(HWND window) {
    if (window->renderer == nullptr) {
        DrawOnWindowSurface(window);
        return;
    }
    SDL_SetRenderDrawColor(window->renderer, 0, 0, 0, 255);
    SDL_RenderClear(window->renderer);
    if (window->texture != nullptr && window->lastFrame.w > 0)
        SDL_RenderCopy(window->renderer, window->texture, nullptr, &window->lastFrame);
    SDL_RenderPresent(window->renderer);
}

// Hidden until its presentation is chosen: an OpenGL renderer may make SDL
// replace the window with one of its own, which would flash on the screen.
SDL_Window* MakeSdlWindow(HWND window, int width, int height) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    int x = window->outer.left;
    int y = window->outer.top;
    int scale = 1;
    if (IsPopup(window)) {
        flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        x = SDL_WINDOWPOS_UNDEFINED;
        y = SDL_WINDOWPOS_UNDEFINED;
    } else {
        const DisplayOptions& options = CurrentDisplayOptions();
        scale = options.scale > 0 ? options.scale : FittingScale(width, height);
        // The enlarged window keeps the centre the engine chose.
        x -= width * (scale - 1) / 2;
        y -= height * (scale - 1) / 2;
        if (options.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    }
    return SDL_CreateWindow(TitleShown(window).c_str(), x, y, width * scale, height * scale, flags);
}

// The renderer, with vertical sync where it can; where it would draw in
// software, none: the window's own surface shows the pictures, unless the
// scaler cannot write the window's pixels.
bool ChoosePresentation(HWND window) {
    window->renderer = SDL_CreateRenderer(window->sdlWindow, -1, SDL_RENDERER_PRESENTVSYNC);
    if (window->renderer == nullptr)
        window->renderer = SDL_CreateRenderer(window->sdlWindow, -1, SDL_RENDERER_SOFTWARE);
    if (window->renderer == nullptr) return false;
    if (RendersInSoftware(window->renderer) &&
        CanScaleInto(SDL_GetWindowPixelFormat(window->sdlWindow))) {
        SDL_DestroyRenderer(window->renderer);
        window->renderer = nullptr;
    }
    return true;
}

// The renderer's texture, made for pictures of this size.
bool TextureFor(HWND window, int width, int height) {
    if (window->texture == nullptr || window->textureWidth != width ||
        window->textureHeight != height) {
        if (window->texture != nullptr) SDL_DestroyTexture(window->texture);
        window->texture = SDL_CreateTexture(window->renderer, SDL_PIXELFORMAT_RGB565,
                                            SDL_TEXTUREACCESS_STREAMING, width, height);
        if (window->texture == nullptr) {
            ReportSdlError("cannot show the picture");
            window->textureWidth = 0;
            window->textureHeight = 0;
            return false;
        }
        window->textureWidth = width;
        window->textureHeight = height;
    }
    return true;
}

}  // namespace

bool OpenScreen(HWND window) {
    if (window->sdlWindow != nullptr) {
        SDL_ShowWindow(window->sdlWindow);
        return true;
    }
    if (!VideoReady()) return false;
    const int width = ClientWidth(window) > 0 ? ClientWidth(window) : 1;
    const int height = ClientHeight(window) > 0 ? ClientHeight(window) : 1;
    window->sdlWindow = MakeSdlWindow(window, width, height);
    if (window->sdlWindow == nullptr) {
        ReportSdlError("cannot open a window");
        return false;
    }
    ShowIcon(window);
    if (!ChoosePresentation(window)) {
        ReportSdlError("cannot draw into the window");
        SDL_DestroyWindow(window->sdlWindow);
        window->sdlWindow = nullptr;
        return false;
    }
    // The engine's pictures are laid out in the window's own size, whatever the
    // real window's; they are scaled, with black bars beside where the aspect
    // ratio differs, and mouse positions are mapped back into that size.
    SetCanvasSize(window, width, height);
    SDL_ShowWindow(window->sdlWindow);
    SDL_RaiseWindow(window->sdlWindow);
    Draw(window);
    if (!IsPopup(window)) {
        int screenX = 0;
        int screenY = 0;
        SDL_GetWindowPosition(window->sdlWindow, &screenX, &screenY);
        NoteMoved(window, screenX, screenY);
    }
    return true;
}

void SetCanvasSize(HWND window, int width, int height) {
    window->canvasWidth = width;
    window->canvasHeight = height;
    if (window->renderer != nullptr) SDL_RenderSetLogicalSize(window->renderer, width, height);
    ChooseScaling(window);
}

PicturePlace CanvasPlace(HWND window, int windowWidth, int windowHeight) {
    return PlacePicture(window->canvasWidth, window->canvasHeight, windowWidth, windowHeight,
                        WholeNumbersOnly(window));
}

void CloseScreen(HWND window) {
    if (window->texture != nullptr) SDL_DestroyTexture(window->texture);
    if (window->renderer != nullptr) SDL_DestroyRenderer(window->renderer);
    if (window->sdlWindow != nullptr) SDL_DestroyWindow(window->sdlWindow);
    window->texture = nullptr;
    window->renderer = nullptr;
    window->sdlWindow = nullptr;
    window->textureWidth = 0;
    window->textureHeight = 0;
    window->canvasWidth = 0;
    window->canvasHeight = 0;
    window->canvas.reset();
    window->surfaceFailed = false;
    window->lastFrame = {0, 0, 0, 0};
    window->shown.clear();
    window->focused = false;
}

bool ToggleFullScreen(HWND window) {
    if (window == nullptr || window->sdlWindow == nullptr || IsPopup(window)) return false;
    const Uint32 next = InFullScreenView(window) ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP;
    if (SDL_SetWindowFullscreen(window->sdlWindow, next) != 0)
        ReportSdlError("cannot switch between window and full screen");
    ChooseScaling(window);
    Draw(window);
    return true;
}

ShownPicture LastPicture(HWND window) {
    ShownPicture picture;
    if (window == nullptr || window->shown.empty()) return picture;
    picture.width = window->lastFrame.w;
    picture.height = window->lastFrame.h;
    picture.pixels = window->shown.data();
    return picture;
}

bool PresentFrame(HWND window, const std::uint16_t* pixels, int width, int height, int pitchBytes,
                  int x, int y) {
    if (window == nullptr || window->sdlWindow == nullptr || pixels == nullptr || width <= 0 ||
        height <= 0)
        return false;
    if (window->renderer != nullptr) {
        if (!TextureFor(window, width, height)) return false;
        SDL_UpdateTexture(window->texture, nullptr, pixels, pitchBytes);
    }
    window->lastFrame = {x, y, width, height};
    window->shown.resize(static_cast<std::size_t>(width) * height);
    for (int row = 0; row < height; ++row) {
        const auto* from = reinterpret_cast<const std::uint8_t*>(pixels) +
                           static_cast<std::size_t>(row) * pitchBytes;
        std::memcpy(window->shown.data() + static_cast<std::size_t>(row) * width, from,
                    static_cast<std::size_t>(width) * 2);
    }
    if (window->renderer != nullptr) {
        Draw(window);
        return true;
    }
    return DrawOnWindowSurface(window);
}

void RepaintScreen(HWND window) {
    if (window != nullptr && window->sdlWindow != nullptr) Draw(window);
}

int PictureScale(HWND window) {
    if (window == nullptr || window->sdlWindow == nullptr || IsPopup(window) ||
        InFullScreenView(window))
        return 1;
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window->sdlWindow, &width, &height);
    const int pictureWidth = ClientWidth(window);
    return pictureWidth > 0 && width >= pictureWidth ? width / pictureWidth : 1;
}

bool ClientPoint(HWND window, int& x, int& y) {
    // SDL's renderer maps mouse positions into its logical size itself.
    if (window->renderer == nullptr && window->sdlWindow != nullptr) {
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(window->sdlWindow, &width, &height);
        const PicturePlace place = CanvasPlace(window, width, height);
        if (!CanvasPoint(place, window->canvasWidth, window->canvasHeight, x, y)) return false;
    }
    return x >= 0 && y >= 0 && x < ClientWidth(window) && y < ClientHeight(window);
}

POINT EngineScreenPoint(HWND window, int x, int y) {
    // Rounded down, so a window just past the screen's edge is past it.
    const int scale = PictureScale(window);
    const auto down = [scale](int value) {
        return value >= 0 ? value / scale : -((scale - 1 - value) / scale);
    };
    return {down(x), down(y)};
}

POINT ClientOrigin(HWND window) {
    POINT origin = {window->outer.left, window->outer.top};
    if (window->sdlWindow != nullptr && !IsPopup(window)) {
        SDL_GetWindowPosition(window->sdlWindow, &origin.x, &origin.y);
        origin = EngineScreenPoint(window, origin.x, origin.y);
    }
    return origin;
}

bool HasFocus(HWND window) {
    return window != nullptr && window->sdlWindow != nullptr && window->focused;
}

}  // namespace sdl
