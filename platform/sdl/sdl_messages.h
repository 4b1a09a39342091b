// SDL's events as the shared message queue's input (platform/common/message_queue.h).
#pragma once

#include "platform/common/message_queue.h"

namespace sdl {

// Turns the SDL events that arrived into messages while the queue is empty.
void PumpEvents(platform::MessageQueue& queue);
// Waits up to `milliseconds` for an SDL event that stands for a message the wake
// mask names: window and application events stand for posted and sent
// messages, the rest for input. True when one came.
bool WaitForEvents(DWORD milliseconds, DWORD wakeMask);
// The control character Control+letter types (Control+A is 1), which SDL types
// no text for; 0 for any other key.
unsigned ControlCharacter(unsigned key);

}  // namespace sdl
