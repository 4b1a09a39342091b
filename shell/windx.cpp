#include "shell/windx.h"

#include <algorithm>
#include <iterator>

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

bool WinDX::UseSound(bool on) {
    // The device is started (or not) during Initialize; afterwards it stays as it is.
    if (status != NO_INIT) return false;
    soundWanted = on;
    return true;
}

void WinDX::SetName(const char* name) {
    nameChosen = name != nullptr && name[0] != '\0';
    gameName = nameChosen ? name : "Corvane";
    if (!titleChosen && window != nullptr) SetWindowTextA(window, nameChosen ? name : "");
}

void WinDX::SetTitle(const char* title) {
    windowTitle = title != nullptr ? title : "";
    titleChosen = true;
    if (window != nullptr) SetWindowTextA(window, windowTitle.c_str());
}

void WinDX::EndGame() {
    endRequested = true;
}

void WinDX::FrameDone() {
    std::fill(std::begin(keyPressed), std::end(keyPressed), std::uint8_t{0});
    std::fill(std::begin(keyReleased), std::end(keyReleased), std::uint8_t{0});
    ++frameCount;
}

bool WinDX::EndIfRequested() {
    if (!endRequested) return false;
    endRequested = false;
    // Destroying the window posts the quit message, as its close box does.
    if (window == nullptr || !DestroyWindow(window)) PostQuitMessage(0);
    return true;
}
