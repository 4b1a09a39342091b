#include "shell/windx.h"

#include "shell/debugger.h"

WinDX Corvane;

WinDX::WinDX() : rowOffset(ROW_OFFSET_ROWS, 0) {
    requestedWidth = -1;
    requestedHeight = -1;
    status = NO_INIT;
    soundCount = 0;
    soundCapacity = 0;
}

// The add table goes with its unique_ptr. DirectDraw objects are released by
// CleanUp at the end of the frame loop; DirectSound objects live as long as the
// process.
WinDX::~WinDX() = default;

void WinDX::SetInstance(HINSTANCE instance, int show) {
    hInstance = instance;
    showCommand = show;
}

void WinDX::Quit() {
    PostQuitMessage(0);
}

void WinDX::PushKey(char ch) {
    if (keyCount < KEY_BUFFER_SIZE) {
        keyBuffer[keyCount] = ch;
        ++keyCount;
        return;
    }
    Debug.Write("WinDX: Keyboard buffer overflow.\n", "");
}

char WinDX::GetKey() {
    // The key buffer is a stack: the newest character comes out first.
    if (keyCount < 1) return 0;
    --keyCount;
    return keyBuffer[keyCount];
}

void WinDX::MouseMove(int x, int y) {
    prevMouseX = mouseX;
    prevMouseY = mouseY;
    mouseX = x;
    mouseY = y;
    mouseMoved = 1;
}

int WinDX::DrawPixel(int x, int y, int red, int green, int blue) {
    return drawTable.DrawPixel ? drawTable.DrawPixel(x, y, red, green, blue) : 0;
}

int WinDX::DrawPlain(int x, int y, Image* image) {
    return drawTable.DrawPlain ? drawTable.DrawPlain(x, y, image) : 0;
}

int WinDX::DrawMasked(int x, int y, Image* image) {
    return drawTable.DrawMasked ? drawTable.DrawMasked(x, y, image) : 0;
}

int WinDX::DrawAlpha(int x, int y, Image* image) {
    return drawTable.DrawAlpha ? drawTable.DrawAlpha(x, y, image) : 0;
}

int WinDX::DrawAdditive(int x, int y, Image* image) {
    return drawTable.DrawAdditive ? drawTable.DrawAdditive(x, y, image) : 0;
}
