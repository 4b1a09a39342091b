// The engine object: window, display surfaces, software frame buffer, input and
// sound. One instance exists, the global Corvane; the game reaches every engine
// service through it.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "display/frame_pacing.h"
#include "platform/api/platform.h"
#include "shell/status_codes.h"

class Image;
class SoundX;

// Slot 0 plots one pixel (x, y, red, green, blue); slots 1..4 draw an image
// prepared for purpose 1..4 with its top-left pixel at (x, y). 1 done, 0 refused.
using DrawPixelRoutine = int (*)(int x, int y, int red, int green, int blue);
using DrawImageRoutine = int (*)(int x, int y, Image* image);

struct DrawTable {
    DrawPixelRoutine DrawPixel = nullptr;
    DrawImageRoutine DrawPlain = nullptr;
    DrawImageRoutine DrawMasked = nullptr;
    DrawImageRoutine DrawAlpha = nullptr;
    DrawImageRoutine DrawAdditive = nullptr;
};

// Rows covered by the row-offset table before it has to grow for a taller surface.
constexpr int ROW_OFFSET_ROWS = 1024;
constexpr int KEY_BUFFER_SIZE = 1000;

class WinDX {
public:
    WinDX();
    ~WinDX();
    WinDX(const WinDX&) = delete;
    WinDX& operator=(const WinDX&) = delete;

    // Status and error report.
    int GetStatus() const { return status; }
    // Stores code in status and shows its report; the result carries nothing.
    int RaiseError(int code);
    // Shows the report for the current status in a modal box and logs its title.
    void ReportError();

    // Entry point support and shutdown.
    void SetInstance(HINSTANCE instance, int show);
    void Quit();
    bool CleanUp();
    bool ReleaseDirectDraw();

    // Window.
    bool InitWindow();
    bool RegisterWindowClass();
    bool CreateMainWindow();
    bool ShowMainWindow();
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void SetActive(int flag) { active = flag; }
    void SetClientOrigin(int x, int y) {
        originX = x;
        originY = y;
    }
    HWND GetWindow() const { return window; }

    // Input, fed by the window procedure.
    void KeyDown(std::uint8_t key) { keyState[key] = 1; }
    void KeyUp(std::uint8_t key) { keyState[key] = 0; }
    void PushKey(char ch);
    void MouseMove(int x, int y);
    void MouseDown(int button) {
        mouseDown = 1;
        mouseButton = button;
    }
    void MouseUp() {
        mouseDown = 0;
        mouseButton = 0;
    }
    // Input, polled by the game. Key codes are virtual-key codes 0..255.
    char IsKeyDown(int key) const { return static_cast<char>(keyState[key & 0xFF]); }
    // The most recently typed character still held (the buffer is a stack), or 0.
    char GetKey();
    int GetMouseX() const { return mouseX; }
    int GetMouseY() const { return mouseY; }
    int GetMouseButton() const { return mouseButton; }
    float GetMouseDY() const { return static_cast<float>((mouseY - prevMouseY) / 1.0); }

    // Start-up.
    bool Initialize(int fullscreenMode, int xres, int yres);
    bool InitDisplay();
    bool StartDirectDraw();
    bool CreateSurface();
    bool InitSound();
    bool StartDirectSound();

    // Frame buffer access and presentation.
    bool LockSurface();
    int UnlockSurface();
    int ViewUpdate();
    void ClearScreen();
    void FillBox(int left, int top, int right, int bottom, int red, int green, int blue);
    void SetClip(int left, int top, int right, int bottom);
    int DrawImage(int x, int y, Image* image);
    int DrawTiled(int x, int y, Image* image);
    void BuildAddTable();
    // Frames a second the game runs at, whatever the display refreshes at (60
    // unless a game chooses another); 0 runs one frame per display refresh.
    // False, and the rate kept, outside 0 to 1000.
    bool SetFrameRate(int framesPerSecond) { return framePacer.SetGameRate(framesPerSecond); }
    int GetFrameRate() const { return framePacer.GameRate(); }
    int GetWidth() const { return width; }
    int GetHeight() const { return height; }
    int GetPitch() const { return pitch; }
    std::uint16_t* GetBackBuffer() const { return backBuffer; }

    // Thin calls through the draw table; each does nothing and answers 0 while the
    // table is empty (before the surfaces exist).
    int DrawPixel(int x, int y, int red, int green, int blue);
    int DrawPlain(int x, int y, Image* image);
    int DrawMasked(int x, int y, Image* image);
    int DrawAlpha(int x, int y, Image* image);
    int DrawAdditive(int x, int y, Image* image);

    // Text.
    void SetTextRGB(int red, int green, int blue);
    int DrawText(int x, int y, const char* text);

    // Writes the log line for a DirectDraw result; unknown codes write nothing.
    int LogDXError(std::int32_t result);

    // Sound playback.
    int AddSound(SoundX* sound);
    void UploadSound(SoundX* sound);
    void PlaySound(SoundX* sound, int resume);
    void PlaySoundEx(SoundX* sound, int resume, float volume, float pan);
    void RewindSound(SoundX* sound);
    void StopSound(SoundX* sound);

    // Fields, in the engine's declared order. All start at zero but those the
    // constructor sets.
    std::uint16_t* backBuffer = nullptr;
    // Byte offset of each back-buffer row; ROW_OFFSET_ROWS entries, more for a
    // surface taller than that.
    std::vector<std::int32_t> rowOffset;
    std::int32_t height = 0;
    std::int32_t width = 0;
    std::int32_t pitch = 0;
    DrawTable drawTable;
    HINSTANCE hInstance = nullptr;
    std::int32_t showCommand = 0;
    std::int32_t status = 0;
    std::int32_t fullscreenRequested = 0;
    std::int32_t requestedWidth = 0;
    std::int32_t requestedHeight = 0;
    std::int32_t fullscreen = 0;
    std::int32_t screenWidth = 0;
    std::int32_t screenHeight = 0;
    std::int32_t screenBits = 0;
    std::int32_t clipLeft = 0;
    std::int32_t clipTop = 0;
    std::int32_t clipRight = 0;
    std::int32_t clipBottom = 0;
    std::int32_t bufferSize = 0;
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    RECT clientRect = {0, 0, 0, 0};
    std::int32_t active = 0;
    HWND window = nullptr;
    std::int32_t textRed = 0;
    std::int32_t textGreen = 0;
    std::int32_t textBlue = 0;
    std::uint32_t textColor = 0;
    std::int32_t keyCount = 0;
    char keyBuffer[KEY_BUFFER_SIZE] = {};
    std::uint8_t keyState[256] = {};
    std::int32_t mouseX = 0;
    std::int32_t mouseY = 0;
    std::int32_t prevMouseX = 0;
    std::int32_t prevMouseY = 0;
    std::int32_t mouseDown = 0;
    std::int32_t mouseButton = 0;
    std::int32_t mouseMoved = 0;
    // The 32 x 32 saturating-add table, null until BuildAddTable.
    std::unique_ptr<std::int16_t[]> addTable;
    IDirectDraw* directDraw = nullptr;
    IDirectDrawSurface* primarySurface = nullptr;
    IDirectDrawSurface* backSurface = nullptr;
    IDirectSound* directSound = nullptr;
    std::int32_t soundRate = 0;
    std::int32_t soundBits = 0;
    std::int32_t soundChannels = 0;
    std::int32_t soundCount = 0;
    std::int32_t soundCapacity = 0;
    // The registered sounds (not owned) and their buffers, by slot. The buffers
    // are never released: they live as long as the process.
    std::unique_ptr<SoundX*[]> sounds;
    std::unique_ptr<IDirectSoundBuffer*[]> soundBuffers;

    // Beyond the engine's declared fields: how fast frames come (every frame
    // passes through ViewUpdate, which waits here before showing a picture or
    // instead of it, and learns here whether to show it).
    FramePacer framePacer;
    // The primary surface's size in pixels (the screen in windowed mode), read
    // at start-up: a windowed copy is clipped to it.
    std::int32_t primaryWidth = 0;
    std::int32_t primaryHeight = 0;
    // True while the "Surface Lost" box is up: closing it gives the window the
    // focus back, which presents again, and that frame must not open a second box.
    bool surfaceLostShowing = false;
};

extern WinDX Corvane;

// The game's hooks: set-up once, then one call per frame.
void initialize();
int run();
