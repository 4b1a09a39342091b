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
