/// @file
/// The engine object: window, display surfaces, software frame buffer, input and
/// sound. One instance exists, the global Corvane; the game reaches every engine
/// service through it. The calls a game makes come first; the engine's own calls
/// and its state follow in a section of their own.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "display/colour.h"
#include "display/frame_pacing.h"
#include "platform/api/platform.h"
#include "shell/status_codes.h"

class Image;
class SoundX;

/// The size a string takes on the screen, in pixels.
struct TextSize {
    int width = 0;   ///< from the left of the first character to the right of the last
    int height = 0;  ///< the height of a line
};

/// @cond ENGINE_INTERNALS
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
/// @endcond

/// The engine: one object, Corvane, through which a game reaches everything.
class WinDX {
public:
    WinDX();
    ~WinDX();
    WinDX(const WinDX&) = delete;
    WinDX& operator=(const WinDX&) = delete;

    /// @name Starting
    ///@{

    /// Opens the window (windowed: a client area of xres x yres pixels; full
    /// screen, fullscreenMode 1: that display mode), the 16-bit frame buffer and,
    /// unless the game asked for none, the sound device. True when ready (status
    /// INIT_OK); otherwise the status names the failure, reported after initialize.
    bool Initialize(int fullscreenMode, int xres, int yres);
    /// Whether Initialize starts the sound device: true unless the game says
    /// otherwise. A game without sound starts where no sound device exists, and
    /// its sounds play nothing. Call before Initialize; false, with nothing
    /// changed, once Initialize has begun.
    bool UseSound(bool on);
    /// The game's name ("Corvane" until set): the window's title unless
    /// SetTitle gives another, and the caption and first line
    /// (`"Unable to start <name>."`) of its error boxes. Copied; null or ""
    /// gives "Corvane" back.
    void SetName(const char* name);
    /// The game's name as SetName left it.
    const char* GetName() const { return gameName.c_str(); }
    /// The window's title, shown at once or as the window is made; the game's
    /// name when the game set one and no title. Copied; null is "".
    void SetTitle(const char* title);
    /// The engine's status code (see status_codes.h); INIT_OK, 19, when ready.
    int GetStatus() const { return status; }
    /// Frames a second the game runs at, whatever the display refreshes at (60
    /// unless a game chooses another); 0 runs one frame per display refresh.
    /// False, and the rate kept, outside 0 to 1000.
    bool SetFrameRate(int framesPerSecond) { return framePacer.SetGameRate(framesPerSecond); }
    /// The game rate in force, in frames a second (0: one per display refresh).
    int GetFrameRate() const { return framePacer.GameRate(); }
    ///@}

    /// @name The frame
    ///@{

    /// Locks the frame buffer for drawing; false (after a report) when it cannot.
    bool LockSurface();
    /// Ends drawing for this frame; always 1.
    int UnlockSurface();
    /// Shows the frame once its time has come; 1, or 0 when a windowed copy must be retried.
    int ViewUpdate();
    /// Ends the game once the frame being run is over: the window closes as its
    /// close box closes it, and the program ends with exit code 0. From
    /// initialize, the game ends before its first frame.
    void EndGame();
    /// Posts the quit message: the frame loop ends at its next pass, exit code 0.
    void Quit();
    /// The time one frame stands for at the game rate, in seconds (1/60 by
    /// default; at rate 0 the display's refresh, taken as 60 Hz until known).
    double GetFrameTime() const { return framePacer.FrameSeconds(); }
    /// Frames run since the game started: 0 during the first call of run.
    std::int64_t GetFrameCount() const { return frameCount; }
    ///@}

    /// @name Drawing in a colour
    /// Into the locked frame, clipped to the clip rectangle; nothing while the
    /// frame is not locked.
    ///@{

    /// One pixel.
    void DrawPixel(int x, int y, Colour colour);
    /// A line from (x0, y0) to (x1, y1), both ends included.
    void DrawLine(int x0, int y0, int x1, int y1, Colour colour);
    /// A filled rectangle of rectWidth x rectHeight pixels, its top-left pixel at (x, y).
    void FillRect(int x, int y, int rectWidth, int rectHeight, Colour colour);
    /// The one-pixel outline of the rectangle FillRect would fill.
    void DrawRect(int x, int y, int rectWidth, int rectHeight, Colour colour);
    /// Makes the whole frame black, row padding included.
    void ClearScreen();
    /// Sets the clip rectangle, bounds included (the whole frame after Initialize).
    void SetClip(int left, int top, int right, int bottom);
    ///@}

    /// @name Drawing pictures
    /// With the picture's top-left pixel at (x, y), clipped to the clip rectangle.
    /// A picture drawn by another routine than its purpose is refused and
    /// reported (IMAGEUSE_FAILED, answer 0); otherwise 1.
    ///@{

    /// A DRAW_PLAIN picture, copied as it is.
    int DrawImage(int x, int y, Image* image);
    /// The whole frame covered with copies of a DRAW_PLAIN picture, scrolled by (x, y).
    int DrawTiled(int x, int y, Image* image);
    /// A DRAW_PLAIN picture (as DrawImage).
    int DrawPlain(int x, int y, Image* image);
    /// A DRAW_MASKED picture: its transparent pixels left out.
    int DrawMasked(int x, int y, Image* image);
    /// A DRAW_ALPHA picture, blended by its alpha.
    int DrawAlpha(int x, int y, Image* image);
    /// A DRAW_ADDITIVE picture, added to the frame with each channel stopping at full.
    int DrawAdditive(int x, int y, Image* image);
    ///@}

    /// @name The frame buffer
    ///@{

    /// The frame's row length in pixels, which may exceed the width asked for.
    int GetWidth() const { return width; }
    /// The frame's height in pixels.
    int GetHeight() const { return height; }
    /// Bytes from one row of the frame to the next.
    int GetPitch() const { return pitch; }
    /// The frame's first pixel while it is locked, else null; owned by the engine.
    std::uint16_t* GetBackBuffer() const { return backBuffer; }
    /// Stores the word (red << 10) + (green << 5) + blue at (x, y): a 5:5:5
    /// pixel whatever the display's format, kept to the frame, not to the clip.
    /// 1; 0 before the display is open. Games draw with DrawPixel(x, y, Colour).
    int DrawPixel(int x, int y, int red, int green, int blue);
    /// Fills left..right x top..bottom with a 5:5:5 word of 0-255 components,
    /// kept to the frame, not to the clip. Games draw with FillRect.
    void FillBox(int left, int top, int right, int bottom, int red, int green, int blue);
    ///@}

    /// @name Text
    /// Drawn over the finished frame, after UnlockSurface and before ViewUpdate.
    ///@{

    /// The colour of the text drawn from now on (black until set).
    void SetTextColour(Colour colour);
    /// The same with three 0-255 components (each taken by its low byte).
    void SetTextRGB(int red, int green, int blue);
    /// Draws text with the top-left of its first character at (x, y), nothing
    /// behind the letters; 1, or 0 when the platform will not lend the frame.
    int DrawText(int x, int y, const char* text);
    /// The size text takes in the font DrawText draws with (8 x 16 pixels a
    /// character on every backend but Windows, whose font the system chooses).
    /// A null text is "".
    TextSize MeasureText(const char* text) const;
    ///@}

    /// @name Input
    /// A frame runs from one call of run to the next: what arrives in between
    /// belongs to the next frame. Key codes are virtual-key codes 0 to 255
    /// (VK_LEFT, 'A' to 'Z', '0' to '9', ...); a gamepad's arrows and buttons
    /// come as the keys they stand for.
    ///@{

    /// 1 while the key is held, else 0.
    char IsKeyDown(int key) const { return static_cast<char>(keyState[key & 0xFF]); }
    /// True when the key went down since the frame before this one: once per
    /// press, however long it is held.
    bool IsKeyPressed(int key) const { return keyPressed[key & 0xFF] != 0; }
    /// True when the key was let go since the frame before this one.
    bool IsKeyReleased(int key) const { return keyReleased[key & 0xFF] != 0; }
    /// The most recently typed character still held (the buffer is a stack), or
    /// 0. Keys that type nothing (the arrows, F1, ...) give no character.
    char GetKey();
    /// The mouse's last horizontal position inside the window, in pixels.
    int GetMouseX() const { return mouseX; }
    /// The mouse's last vertical position inside the window, in pixels.
    int GetMouseY() const { return mouseY; }
    /// The button last pressed: 1 left, 2 right, 16 middle; 0 after any release.
    int GetMouseButton() const { return mouseButton; }
    /// The vertical step of the last mouse move, in pixels (negative upwards).
    float GetMouseDY() const { return static_cast<float>((mouseY - prevMouseY) / 1.0); }
    ///@}

    /// @name Sound
    /// A sound is loaded by SoundX::Load and stays owned by the game.
    ///@{

    /// Plays a sound from its start (resume 0) or from where it is (resume 1).
    void PlaySound(SoundX* sound, int resume);
    /// The same with a volume (0 to 1, 1 full) and a pan (-1 left to 1 right),
    /// kept for the sound's later plays.
    void PlaySoundEx(SoundX* sound, int resume, float volume, float pan);
    /// Puts a sound back to its start.
    void RewindSound(SoundX* sound);
    /// Stops a sound.
    void StopSound(SoundX* sound);
    ///@}

    /// @name The window and the log
    ///@{

    /// The main window; null before Initialize has made it.
    HWND GetWindow() const { return window; }
    /// Stores code in the status and shows its report; the result carries nothing.
    int RaiseError(int code);
    /// Shows the report for the current status in a modal box and logs its title.
    void ReportError();
    /// Writes the log line for a DirectDraw result; unknown codes write nothing.
    int LogDXError(std::int32_t result);
    ///@}

    /// @cond ENGINE_INTERNALS
    // The engine's own calls and state. They serve the engine's parts (the
    // frame loop, the window procedure, start-up, the draw routines), its tools
    // and its tests; a game needs none of them.

    // Entry point support and shutdown.
    void SetInstance(HINSTANCE instance, int show);
    bool CleanUp();
    bool ReleaseDirectDraw();
    // The frame loop, after each call of run: the frame is over (its pressed
    // and released keys are forgotten, it is counted).
    void FrameDone();
    // The frame loop, when it would run a frame: true once EndGame was called,
    // and then closes the window (or, without one, posts the quit message).
    bool EndIfRequested();

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

    // Input, fed by the window procedure. A key counts as pressed or released
    // only when its state changes, so a key's repeats press nothing.
    void KeyDown(std::uint8_t key) {
        if (keyState[key] == 0) keyPressed[key] = 1;
        keyState[key] = 1;
    }
    void KeyUp(std::uint8_t key) {
        if (keyState[key] != 0) keyReleased[key] = 1;
        keyState[key] = 0;
    }
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

    // Start-up steps.
    bool InitDisplay();
    bool StartDirectDraw();
    bool CreateSurface();
    bool InitSound();
    bool StartDirectSound();
    void BuildAddTable();

    // Sound registration.
    int AddSound(SoundX* sound);
    void UploadSound(SoundX* sound);

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
    // Keys that went down, and that went up, since the last frame ended.
    std::uint8_t keyPressed[256] = {};
    std::uint8_t keyReleased[256] = {};
    std::int64_t frameCount = 0;
    bool endRequested = false;
    // False for a game that asked for no sound: no device is started.
    bool soundWanted = true;
    std::string gameName = "Corvane";
    bool nameChosen = false;
    // The title the game chose, and whether it chose one.
    std::string windowTitle;
    bool titleChosen = false;
    /// @endcond
};

/// The engine object.
extern WinDX Corvane;

/// The game's set-up hook: called once, it must call Corvane.Initialize.
void initialize();
/// The game's frame hook: called once a frame; its result is not used.
int run();
