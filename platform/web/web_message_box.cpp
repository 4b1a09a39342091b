#include "platform/api/platform.h"
#include "platform/common/charset.h"
#include "platform/web/web_page.h"

// The page's modal box, which returns when the player presses OK.
int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT) {
    web::ShowBox(charset::Utf8FromCodes(caption), charset::Utf8FromCodes(text));
    return IDOK;
}
