#include "platform/common/message_queue.h"

#include "platform/common/desktop.h"
#include "platform/common/window_system.h"

namespace platform {

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    MSG msg = {};
    msg.hwnd = window;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    msg.time = TheDesktop().Now();
    return msg;
}

MessageQueue& Messages() {
    static MessageQueue queue;
    return queue;
}

void ResetMessages() {
    Messages() = MessageQueue();
}

bool Wakes(const MSG& msg, DWORD wakeMask) {
    const bool input = (msg.message >= WM_KEYDOWN && msg.message <= WM_SYSKEYUP) ||
                       (msg.message >= WM_MOUSEMOVE && msg.message <= WM_MBUTTONUP);
    const DWORD posted = QS_POSTMESSAGE | QS_SENDMESSAGE;
    return (wakeMask & (input ? ~posted : posted)) != 0;
}

}  // namespace platform

using platform::Messages;

BOOL WINAPI PeekMessageA(LPMSG msg, HWND, UINT, UINT, UINT removeMsg) {
    platform::MessageQueue& queue = Messages();
    platform::TheDesktop().Pump(queue);
    if (!queue.messages.empty()) {
        MSG next = queue.messages.front();
        if (next.hwnd == nullptr) next.hwnd = platform::TheDesktop().DefaultWindow();
        if (removeMsg & PM_REMOVE) queue.messages.pop_front();
        if (msg != nullptr) *msg = next;
        return TRUE;
    }
    if (queue.quitPosted) {
        if (msg != nullptr)
            *msg = platform::MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0);
        if (removeMsg & PM_REMOVE) queue.quitPosted = false;
        return TRUE;
    }
    platform::TheDesktop().NothingWaiting();
    return FALSE;
}

BOOL WINAPI TranslateMessage(const MSG* msg) {
    if (msg == nullptr || msg->message != WM_KEYDOWN) return FALSE;
    const unsigned key = static_cast<unsigned>(msg->wParam & 0xFF);
    unsigned ch = 0;
    if (key == VK_BACK || key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE)
        ch = key;
    else
        ch = platform::TheDesktop().TypedCharacter(key);
    if (ch == 0) return FALSE;
    // The character is the next message taken, right after its key.
    Messages().messages.push_front(platform::MakeMessage(msg->hwnd, WM_CHAR, ch, msg->lParam));
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg) {
    if (msg == nullptr) return 0;
    return platform::Send(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

void WINAPI PostQuitMessage(int exitCode) {
    Messages().quitPosted = true;
    Messages().quitCode = exitCode;
}

DWORD WINAPI MsgWaitForMultipleObjects(DWORD count, const HANDLE*, BOOL, DWORD milliseconds,
                                       DWORD wakeMask) {
    // There are no kernel objects to wait for, only messages and time.
    if (count != 0) return WAIT_FAILED;
    const platform::MessageQueue& queue = Messages();
    bool waiting = queue.quitPosted && (wakeMask & QS_POSTMESSAGE) != 0;
    for (const MSG& msg : queue.messages) waiting = waiting || platform::Wakes(msg, wakeMask);
    if (waiting) return WAIT_OBJECT_0;
    return platform::TheDesktop().WaitForMessages(milliseconds, wakeMask) ? WAIT_OBJECT_0
                                                                          : WAIT_TIMEOUT;
}
