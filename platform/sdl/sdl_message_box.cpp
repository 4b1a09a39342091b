#include <cstdio>
#include <string>

#include "platform/common/charset.h"
#include "platform/sdl/sdl_windows.h"

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    const std::string body = charset::Utf8FromCodes(text);
    const std::string title = charset::Utf8FromCodes(caption);
    const Uint32 flags =
        (type & MB_ICONERROR) != 0 ? SDL_MESSAGEBOX_ERROR : SDL_MESSAGEBOX_INFORMATION;
    SDL_Window* parent = platform::IsLive(owner) ? owner->sdlWindow : nullptr;
    // The box is modal: SDL returns once it is dismissed.
    if (SDL_ShowSimpleMessageBox(flags, title.c_str(), body.c_str(), parent) == 0) return IDOK;
    // No box can be shown (no display): the report still reaches the user.
    if (title.empty())
        std::fprintf(stderr, "%s\n", body.c_str());
    else
        std::fprintf(stderr, "%s: %s\n", title.c_str(), body.c_str());
    return IDOK;
}
