#pragma once

#include <cstdint>

// The game's one window, as the main loop and the screens see it. The SDL window (GLWindow) implements
// it; tests use a fake one. Window events arrive as records carrying the Win32 message numbers the game
// was written against.

// Window message numbers.
constexpr uint32_t WM_ACTIVATE = 6;
constexpr uint32_t WM_CLOSE = 16;
constexpr uint32_t WM_QUIT = 18;
constexpr uint32_t WM_KEYDOWN = 256;
constexpr uint32_t WM_SYSCOMMAND = 274;
constexpr uint32_t WM_LBUTTONDOWN = 513;
// System commands carried in wParam of WM_SYSCOMMAND.
constexpr uint64_t SC_MINIMIZE = 61472;
constexpr uint64_t SC_MAXIMIZE = 61488;
constexpr uint64_t SC_SCREENSAVE = 61760;
constexpr uint64_t SC_MONITORPOWER = 61808;

// The client area every screen draws in, whatever the window's real size.
constexpr int kFrameWidth = 800;
constexpr int kFrameHeight = 600;

// One window event. WM_KEYDOWN: wParam is the virtual-key code. WM_LBUTTONDOWN: lParam holds x in the low
// and y in the high 16 bits, in the 800 x 600 frame. WM_ACTIVATE: wParam 1 when activated, 0 when not.
struct WindowMessage {
    uint32_t message = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
};

class GameWindow {
public:
    virtual ~GameWindow() = default;

    // Opens the window with an 800 x 600 client area, windowed, and sets the projection; false on failure.
    virtual bool Open() = 0;
    // True once Open succeeded.
    virtual bool IsOpen() const = 0;
    // Sets the 60-degree perspective projection for the client area.
    virtual void SetProjection() = 0;
    // Shows the frame drawn since the last swap.
    virtual void Swap() = 0;
    // Switches between the window and full screen (the frame scaled to fit, aspect kept).
    virtual void ToggleFullScreen() = 0;
    // True while in full screen.
    virtual bool IsFullScreen() const = 0;
    // Takes the oldest waiting record into message; false (message untouched) when none waits.
    virtual bool PeekMessage(WindowMessage& message) = 0;
    // Queues a WM_QUIT record.
    virtual void PostQuitMessage() = 0;
    // Maps a position in window pixels to the 800 x 600 frame.
    virtual void MapToFrame(int windowX, int windowY, int& frameX, int& frameY) const = 0;

    // Starts a frame of the debug bars; called after the window message, before the screen's update.
    virtual void BeginOverlayFrame() = 0;
    // Draws the debug bars over the screen.
    virtual void DrawOverlay() = 0;
    // Ends the debug-bar library; called once when the main loop returns.
    virtual void ShutdownOverlay() = 0;
    // True while the debug bars own the mouse (it is over one of them), so the game ignores it.
    virtual bool OverlayWantsMouse() const = 0;
    // True while the debug bars own the keyboard (typing into a field), so the game ignores it.
    virtual bool OverlayWantsKeyboard() const = 0;
};
