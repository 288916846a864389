#pragma once

#include "driver/Picture.h"
#include "platform/Dialog.h"
#include "platform/sdl/GLWindow.h"

#include <SDL.h>

#include <cstdint>
#include <functional>
#include <string>

class GameContext;
struct HudButton;

// The game's SDL window, keeping a copy of each frame as it is shown.
class RecordingWindow final : public GLWindow {
public:
    void Swap() override;
    // The last frame shown.
    const Picture& lastFrame() const { return frame_; }

private:
    Picture frame_;
};

// Plays the real game as a player does: runs frames of the main loop in the game's own SDL window (the first
// frame boots it with every generated asset) and gives it only the SDL events a keyboard and a mouse would
// give: key presses, pointer motion, button presses at window pixels. It reads the game's state only to find
// out where to click; every action goes through events. Message boxes are answered at once and recorded.
class GameDriver {
public:
    // Seeds the game's random numbers as the game's entry point does with the clock, and connects the input;
    // pictures go to a folder of that name under the pictures folder, emptied first.
    explicit GameDriver(const std::string& pictureSet, unsigned seed = 1);
    ~GameDriver();
    GameDriver(const GameDriver&) = delete;
    GameDriver& operator=(const GameDriver&) = delete;

    // Whether no driver has played in this process yet: the game boots once a process, so every play-through
    // needs a process of its own (ctest runs each test so).
    static bool FirstInProcess();

    // [SECTION] Frames
    // Runs one frame of the main loop; false once the game has ended.
    bool Frame();
    // Runs that many frames; false when the game ended first.
    bool Frames(int count);
    // Runs frames until done() holds, testing before each frame; false when maxFrames ran out first.
    bool RunUntil(const std::function<bool()>& done, int maxFrames);
    // Frames run so far.
    int64_t framesRun() const { return frames_; }

    // Boots the game and leaves the logos with key presses; false when the main menu did not come.
    bool ToMainMenu();

    // [SECTION] Keyboard and mouse
    // Each puts one event into the window's queue; the next frame reads it.
    void KeyDown(SDL_Scancode key) { KeyEvent(key, true); }
    void KeyUp(SDL_Scancode key) { KeyEvent(key, false); }
    void ButtonDown(int sdlButton = SDL_BUTTON_LEFT) { ButtonEvent(sdlButton, true); }
    void ButtonUp(int sdlButton = SDL_BUTTON_LEFT) { ButtonEvent(sdlButton, false); }
    void Wheel(int notches);
    // Presses and releases a key, running a frame after each.
    void PressKey(SDL_Scancode key);
    // Moves the pointer to window pixel (x, y), with the buttons held so far, and runs a frame.
    void MoveMouse(int x, int y);
    // Moves there and runs a frame, then presses and releases a button quickly and runs a frame.
    void Click(int x, int y, int sdlButton = SDL_BUTTON_LEFT);
    // Where the pointer was last moved.
    PixelPoint pointer() const { return pointer_; }

    // [SECTION] Finding what to click
    // The middle of a button of the current layout.
    static PixelPoint Middle(const HudButton& button);
    // The first button of the current layout with that function and data; null when there is none.
    const HudButton* FindButton(int32_t function, int32_t data) const;
    // Clicks the middle of that layout button; false when the layout has none.
    bool ClickButton(int32_t function, int32_t data);
    // The index of a mission file (by its name) in the game's list, which the world map's marker of that
    // mission sends; -1 when the game has no such mission.
    int32_t MissionIndex(const std::string& fileName) const;
    // Whether a window of the debug bars was drawn in the last frame.
    static bool BarShown(const std::string& window);
    // Whether a window of the debug bars drawn in the last frame covers window pixel (x, y).
    static bool BarAt(int x, int y);
    // Hovers down a debug-bar window until the bar reports the pointer on the labelled button, then clicks
    // it; false when the window or the button is not shown.
    bool ClickBarButton(const std::string& window, const std::string& label);

    // [SECTION] Pictures
    // What the window shows now: the last frame.
    const Picture& Screen() const { return window_->lastFrame(); }
    // Saves what the window shows as "NN_name.png" (NN counting up) in this driver's folder; returns it.
    Picture Shot(const std::string& name);
    // The folder this driver saves its pictures in.
    const std::string& pictureFolder() const { return folder_; }

    GameContext& game();
    const DialogRecorder& dialogs() const { return dialogs_; }

private:
    uint32_t windowId() const;
    void Push(SDL_Event& event);
    void KeyEvent(SDL_Scancode key, bool down);
    void ButtonEvent(int sdlButton, bool down);

    DialogRecorder dialogs_;
    RecordingWindow* window_ = nullptr;
    std::string folder_;
    int shots_ = 0;
    int64_t frames_ = 0;
    PixelPoint pointer_{400, 300};
    uint32_t heldButtons_ = 0;
};

// Clicks through the build screen's pages until its part list shows the part with one left in store, then
// clicks that row; false when no page shows it.
bool EquipPart(GameDriver& driver, const std::string& part);
