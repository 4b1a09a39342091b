#include "platform/sdl/sdl_window_label.h"

#include "platform/common/charset.h"
#include "platform/sdl/sdl_program.h"

namespace sdl {

std::string TitleShown(HWND window) {
    if (window->title.empty()) return CurrentWindowLabel().title;
    return charset::Utf8FromCodes(window->title.c_str());
}

void ShowTitle(HWND window) {
    if (window->sdlWindow != nullptr)
        SDL_SetWindowTitle(window->sdlWindow, TitleShown(window).c_str());
}

void ShowIcon(HWND window) {
    const WindowLabel& label = CurrentWindowLabel();
    const std::size_t bytes = static_cast<std::size_t>(label.iconWidth) * label.iconHeight * 4;
    if (window->sdlWindow == nullptr || label.iconWidth <= 0 || label.iconHeight <= 0 ||
        label.iconPixels.size() != bytes)
        return;
    // SDL copies the icon: the surface only borrows the label's pixels.
    OwnedSurface icon(SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint8_t*>(label.iconPixels.data()), label.iconWidth, label.iconHeight, 32,
        label.iconWidth * 4, SDL_PIXELFORMAT_RGBA32));
    if (icon != nullptr) SDL_SetWindowIcon(window->sdlWindow, icon.get());
}

}  // namespace sdl
