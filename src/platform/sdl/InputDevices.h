#pragma once

#include <array>
#include <cstdint>
#include <functional>

class GameWindow;

// Keyboard and mouse, read once a frame. Key codes are the classic PC scan codes the game's data and
// debug bars use (1 Escape, 14 Backspace, 29 Left Ctrl, 42 Left Shift, 57 Space, 200 Up, ...), whatever
// the keyboard layout; mouse buttons are numbered 0 left, 1 right, 2 middle, 3 and 4 the side buttons.

// Number of key codes.
constexpr int32_t keyCodeCount = 256;
// Number of mouse buttons.
constexpr int32_t mouseButtonCount = 8;
// Wheel motion of one notch, in device units.
constexpr int32_t wheelNotch = 120;

// The key code of an SDL scancode; 0 for keys the game has no code for.
int32_t KeyCodeOfScancode(int32_t sdlScancode);
// The SDL scancode of a key code; 0 (unknown) for codes without a key.
int32_t ScancodeOfKeyCode(int32_t keyCode);
// The mouse button number of an SDL button (1 left, 2 middle, 3 right, 4 and 5 side); -1 for others.
int32_t MouseButtonOfSdlButton(int32_t sdlButton);
// The key code of a letter, digit or punctuation character (either case); 0 when there is none.
int32_t KeyCodeOfCharacter(char character);
// The upper-case character printed on the key of a code; '\0' when the key has no single character.
char CharacterOfKeyCode(int32_t keyCode);

// The state of both devices at one read.
struct InputSnapshot {
    // Non-zero while the key of that code is down.
    std::array<uint8_t, keyCodeCount> keys{};
    // Non-zero while the button is down.
    std::array<uint8_t, mouseButtonCount> buttons{};
    // Motion since the previous read: horizontal, vertical (frame pixels) and wheel (device units).
    int32_t motionX = 0;
    int32_t motionY = 0;
    int32_t motionZ = 0;
};

// Sends one input message (a type of hud/Message.h with its value) to the game.
using InputSender = std::function<void(int32_t type, int32_t value)>;

// Sends the messages of one read, in this order: for each key code ascending KeyDown then KeyPressed or
// KeyHeld while down, KeyReleased when just let go; the same for each mouse button; MouseWheel with whole
// notches when the wheel moved; MouseMoved with the horizontal motion when the mouse moved.
void SendInputChanges(const InputSnapshot& previous, const InputSnapshot& current, const InputSender& send);

// What the window's events told since the devices started watching them.
struct InputEvents {
    // Wheel motion, and keys and buttons that went down, since the last read: a quick tap between two
    // reads still counts as down in the next one.
    InputSnapshot latched;
    // Keys and buttons whose last event was a press; cleared when the window loses the focus.
    InputSnapshot held;
    // A pointer event told where the pointer is (window pixels), and whether it is over the window.
    bool havePointer = false;
    bool pointerInside = false;
    int pointerX = 0;
    int pointerY = 0;
};

// The game's keyboard and mouse. Reads nothing until created by the boot and while the window is
// inactive; while the debug bars own the keyboard or the mouse, that device reads as idle.
class InputDevices {
public:
    // Devices that send through the given function and ask the window about the debug bars and the frame.
    InputDevices(InputSender send, GameWindow* window);
    ~InputDevices();
    InputDevices(const InputDevices&) = delete;
    InputDevices& operator=(const InputDevices&) = delete;

    // Starts watching the keyboard; false when the keyboard cannot be read.
    bool CreateKeyboard();
    // Starts watching the mouse and its wheel; false when it cannot be read.
    bool CreateMouse();

    // Reads both devices and sends the changes since the last read (nothing before creation or while
    // inactive; the previous state is then kept).
    void Update();
    // Handles an already made read (tests, or a caller with its own devices).
    void Process(const InputSnapshot& current);

    // The window became active (true) or inactive.
    void SetActive(bool isActive) { active = isActive; }

    // The mouse cursor in the 800 x 600 frame; false when it is outside the window. Once a pointer event
    // arrived, its position is the cursor's, so events that an input tool or a test pushes move it too.
    bool CursorPosition(int& x, int& y) const;

    // The current and the previous read.
    const InputSnapshot& current() const { return current_; }
    const InputSnapshot& previous() const { return previous_; }

    bool active = false;
    bool initialised = false;

private:
    InputSnapshot ReadDevices();
    // The pointer in window pixels; false when it is outside the window.
    bool PointerInWindow(int& windowX, int& windowY) const;
    // Window pixels to the 800 x 600 frame.
    void ToFrame(int windowX, int windowY, int& x, int& y) const;

    InputSender send_;
    GameWindow* window_ = nullptr;
    InputSnapshot current_;
    InputSnapshot previous_;
    void Watch();

    bool keyboard_ = false;
    bool mouse_ = false;
    bool watching_ = false;
    bool havePosition_ = false;
    int lastX_ = 0;
    int lastY_ = 0;
    InputEvents events_;
};
