#include "platform/sdl/sdl_messages.h"

#include "platform/common/input_messages.h"
#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_video.h"

namespace sdl {
namespace {

// Whether a wait with this wake mask ends for the SDL events now waiting.
bool WakesFor(DWORD wakeMask) {
    if ((wakeMask & ~static_cast<DWORD>(QS_POSTMESSAGE | QS_SENDMESSAGE)) != 0) return true;
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_SYSWMEVENT) > 0;
}

}  // namespace

void PumpEvents(platform::MessageQueue& queue) {
    if (!queue.messages.empty() || !VideoStarted()) return;
    SDL_Event event;
    while (SDL_PollEvent(&event)) TranslateEvent(event, queue.messages);
}

bool WaitForEvents(DWORD milliseconds, DWORD wakeMask) {
    if (!VideoStarted()) {
        SDL_Delay(milliseconds);
        return false;
    }
    const Uint32 start = SDL_GetTicks();
    if (SDL_WaitEventTimeout(nullptr, static_cast<int>(milliseconds)) == 0) return false;
    if (WakesFor(wakeMask)) return true;
    // Only input came, which this wait leaves for later: the rest of the time passes.
    const Uint32 spent = SDL_GetTicks() - start;
    if (spent < milliseconds) SDL_Delay(milliseconds - spent);
    return false;
}

unsigned ControlCharacter(unsigned key) {
    return (SDL_GetModState() & KMOD_CTRL) != 0 ? platform::ControlCharacter(key) : 0;
}

}  // namespace sdl
