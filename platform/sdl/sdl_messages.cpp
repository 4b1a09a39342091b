#include <deque>

#include "platform/sdl/sdl_events.h"
#include "platform/sdl/sdl_video.h"
#include "platform/sdl/sdl_windows.h"

namespace {

struct MessageQueue {
    std::deque<MSG> messages;
    bool quitPosted = false;
    int quitCode = 0;
};

MessageQueue& Queue() {
    static MessageQueue queue;
    return queue;
}

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg = {};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = SDL_GetTicks();
    return msg;
}

bool IsControlKeyDown() {
    return (SDL_GetModState() & KMOD_CTRL) != 0;
}

}  // namespace

BOOL WINAPI PeekMessageA(LPMSG msg, HWND, UINT, UINT, UINT removeMsg) {
    MessageQueue& queue = Queue();
    if (queue.messages.empty() && sdl::VideoStarted()) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) sdl::TranslateEvent(event, queue.messages);
    }
    if (!queue.messages.empty()) {
        if (msg != nullptr) *msg = queue.messages.front();
        if (removeMsg & PM_REMOVE) queue.messages.pop_front();
        return TRUE;
    }
    // The quit message comes only once every other message has been taken.
    if (queue.quitPosted) {
        if (msg != nullptr)
            *msg = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0);
        if (removeMsg & PM_REMOVE) queue.quitPosted = false;
        return TRUE;
    }
    return FALSE;
}

namespace {

// Whether a wait with this wake mask ends for the SDL events now waiting:
// window and application events stand for posted and sent messages, the rest
// for input.
bool WakesFor(DWORD wakeMask) {
    if ((wakeMask & ~static_cast<DWORD>(QS_POSTMESSAGE | QS_SENDMESSAGE)) != 0) return true;
    SDL_PumpEvents();
    return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_QUIT, SDL_SYSWMEVENT) > 0;
}

}  // namespace

DWORD WINAPI MsgWaitForMultipleObjects(DWORD count, const HANDLE*, BOOL, DWORD milliseconds,
                                       DWORD wakeMask) {
    // There are no kernel objects to wait for, only events and time.
    if (count != 0) return WAIT_FAILED;
    if (!Queue().messages.empty() || Queue().quitPosted) return WAIT_OBJECT_0;
    if (!sdl::VideoStarted()) {
        SDL_Delay(milliseconds);
        return WAIT_TIMEOUT;
    }
    const Uint32 start = SDL_GetTicks();
    if (SDL_WaitEventTimeout(nullptr, static_cast<int>(milliseconds)) == 0) return WAIT_TIMEOUT;
    if (WakesFor(wakeMask)) return WAIT_OBJECT_0;
    // Only input came, which this wait leaves for later: the rest of the time passes.
    const Uint32 spent = SDL_GetTicks() - start;
    if (spent < milliseconds) SDL_Delay(milliseconds - spent);
    return WAIT_TIMEOUT;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (msg == nullptr || msg->message != WM_KEYDOWN) return FALSE;
    // SDL types no text for these keys; Windows makes characters of them.
    const unsigned key = static_cast<unsigned>(msg->wParam & 0xFF);
    unsigned ch = 0;
    if (key == VK_BACK || key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE)
        ch = key;
    else if (key >= 'A' && key <= 'Z' && IsControlKeyDown())
        ch = key - 'A' + 1;
    if (ch == 0) return FALSE;
    // The character is the next message taken, right after its key.
    Queue().messages.push_front(MakeMessage(msg->hwnd, WM_CHAR, ch, msg->lParam));
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (msg == nullptr) return 0;
    return sdl::Send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void WINAPI PostQuitMessage(int exitCode) {
    Queue().quitPosted = true;
    Queue().quitCode = exitCode;
}
