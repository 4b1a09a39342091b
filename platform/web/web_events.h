// The page's events as the window messages of a Windows window procedure.
#pragma once

#include <deque>

#include "platform/api/platform.h"
#include "platform/web/web_page.h"

namespace web {

// Appends the messages a page event stands for, for `window`: a key as
// WM_KEYDOWN/WM_KEYUP with its virtual-key code (the system key messages while
// Alt is held) followed, when it types one, by its 8-bit character as WM_CHAR;
// the mouse in the picture's pixels; the page's focus as activation and focus.
void TranslatePageEvent(HWND window, const PageEvent& event, std::deque<MSG>& out);
// Whether the window has the keyboard focus (the page has it and shows it).
bool HasFocus(HWND window);
// The window is being shown on a page that has the focus: it takes it now, as
// Windows gives it to a window shown in front.
void GiveFocus(HWND window);
// The focused window went: nothing has the focus.
void DropFocus(HWND window);

}  // namespace web
