// The message queue of the backends without Win32, shared by all of them:
// PeekMessageA, TranslateMessage, DispatchMessageA, PostQuitMessage and
// MsgWaitForMultipleObjects are defined here, over the backend's desktop
// (desktop.h), which turns its events into messages.
#pragma once

#include <deque>

#include "platform/api/platform.h"

namespace platform {

// A message for a window, stamped with the desktop's time.
MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

class MessageQueue {
public:
    // Queued messages, the next one first; a null window means the desktop's
    // default window at the time the message is taken.
    std::deque<MSG> messages;
    // The quit message comes only once every other message has been taken.
    bool quitPosted = false;
    int quitCode = 0;

    void Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        messages.push_back(MakeMessage(window, message, wParam, lParam));
    }
};

MessageQueue& Messages();
// Empties the queue: a new machine has none.
void ResetMessages();

// Whether a message wakes a wait with this mask: input messages answer to the
// input bits, the rest to QS_POSTMESSAGE and QS_SENDMESSAGE.
bool Wakes(const MSG& msg, DWORD wakeMask);

}  // namespace platform
