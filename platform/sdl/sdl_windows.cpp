// The SDL desktop: the shared windows and message queue of platform/common,
// shown in SDL windows, fed by SDL's events.
#include "platform/sdl/sdl_windows.h"

#include <memory>

#include "platform/common/program_file.h"
#include "platform/sdl/sdl_display.h"
#include "platform/sdl/sdl_messages.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/sdl_window_label.h"

namespace sdl {
namespace {

HWND__& Own(platform::Window& window) {
    return static_cast<HWND__&>(window);
}

class SdlDesktop final : public platform::Desktop {
public:
    std::unique_ptr<platform::Window> NewWindow() override {
        return platform::NewWindowOf<HWND__>();
    }
    // A window is useless without a display to show it on.
    bool CanMakeWindows() override { return VideoReady(); }
    RECT ClientOnScreen(const platform::Window& window) override {
        const POINT origin = ClientOrigin(static_cast<HWND>(window.handle));
        return {origin.x, origin.y, origin.x + (window.outer.right - window.outer.left),
                origin.y + (window.outer.bottom - window.outer.top)};
    }
    // Focus and activation arrive later, as the desktop grants them.
    bool PutOnScreen(platform::Window& window) override { return OpenScreen(&Own(window)); }
    void TakeOffScreen(platform::Window& window) override {
        if (Own(window).sdlWindow != nullptr) SDL_HideWindow(Own(window).sdlWindow);
    }
    // A window that could not be put on the screen cannot be painted.
    bool Paintable(const platform::Window& window) override { return window.visible; }
    bool HasFocus(const platform::Window& window) override { return sdl::HasFocus(window.handle); }
    void Destroyed(platform::Window& window) override { CloseScreen(&Own(window)); }
    void Retitled(platform::Window& window) override { ShowTitle(&Own(window)); }

    void Pump(platform::MessageQueue& queue) override { PumpEvents(queue); }
    DWORD Now() override { return SDL_GetTicks(); }
    unsigned TypedCharacter(unsigned key) override { return ControlCharacter(key); }
    bool WaitForMessages(DWORD milliseconds, DWORD wakeMask) override {
        return WaitForEvents(milliseconds, wakeMask);
    }

    platform::ScreenSize DesktopSize() override {
        SDL_DisplayMode mode;
        if (!VideoReady() || SDL_GetCurrentDisplayMode(0, &mode) != 0) return {};
        return {mode.w, mode.h};
    }
    // The engine always draws 16-bit pictures, which the backend converts for the
    // real display, so the desktop is reported at 16 bits per pixel.
    int DesktopBits() override { return 16; }
    int RefreshRate() override { return sdl::RefreshRate(); }
    std::string ProgramFile() override { return programfile::RunningProgram(); }
};

}  // namespace

HWND WindowFromId(Uint32 windowId) {
    for (const auto& owned : platform::AllWindows()) {
        HWND window = owned->handle;
        if (!window->destroyed && window->sdlWindow != nullptr &&
            SDL_GetWindowID(window->sdlWindow) == windowId)
            return window;
    }
    return nullptr;
}

HWND MainWindow() {
    HWND shown = platform::LastShownWindow();
    return platform::IsLive(shown) ? shown : nullptr;
}

void NoteMoved(HWND window, int clientX, int clientY) {
    const int width = window->outer.right - window->outer.left;
    const int height = window->outer.bottom - window->outer.top;
    window->outer = {clientX, clientY, clientX + width, clientY + height};
}

void CloseAllScreens() {
    for (const auto& owned : platform::AllWindows()) CloseScreen(owned->handle);
}

}  // namespace sdl

platform::Desktop& platform::TheDesktop() {
    static sdl::SdlDesktop desktop;
    return desktop;
}

HWND WINAPI GetForegroundWindow() {
    for (const auto& owned : platform::AllWindows())
        if (!owned->destroyed && sdl::HasFocus(owned->handle)) return owned->handle;
    return nullptr;
}
