#pragma once

#include "hud/MessageReciever.h"

#include <cstdint>

// Callbacks of the front-end screens in the state table, and what they draw with.

// Boot loading: opens the window, loads the logo's picture and switches to the logo screen, whose frames
// load the rest.
void BootUpdate();

// Logo screens: the start-up sound; each leaves 2 seconds after its enter (after its first frame when the
// boot loaded on in between), or at a key press or click, and never before the boot has loaded everything.
void LogoEnter();
void LogoUpdate();
void TeamLogoUpdate();

// How-to-play pages 1 to 3.
void HowToPlay1Enter();
void HowToPlay1Update();
void HowToPlay2Enter();
void HowToPlay2Update();
void HowToPlay3Enter();
void HowToPlay3Update();

// Main menu.
void MenuEnter();
void MenuUpdate();
void MenuExit();

// Options: volume and full screen.
void OptionsEnter();
void OptionsUpdate();
void OptionsExit();

// Credits.
void CreditsEnter();
void CreditsUpdate();
void CreditsExit();

// Quit: releases the level's models and ends the main loop.
void QuitUpdate();

// How the front-end screens draw; the game draws with the renderer, tests put in a recorder.
class FrontEndPainter {
public:
    virtual ~FrontEndPainter() = default;
    // Clears the frame and sets up camera and lights.
    virtual void BeginFrame() = 0;
    // Draws a screen-texture slot over the whole 800 x 600 frame.
    virtual void DrawPicture(int32_t slot, bool blend) = 0;
    // Draws the current button layout.
    virtual void DrawHud() = 0;
    // Draws, where the next full-frame picture covers it, what the main menu draws first, so that a software
    // renderer compiles its programs while a logo shows rather than on the menu's first frame.
    virtual void WarmUp() {}
    // Prints the volume level (0 to 10) on the options screen.
    virtual void DrawVolume(int32_t level) = 0;
    // Prints a choice's current value centred at (x, y) (its baseline) in the 800 x 600 frame.
    virtual void DrawChoice(int32_t x, int32_t y, const char* text) {
        (void)x;
        (void)y;
        (void)text;
    }
};

// Replaces the painter (null: the renderer's again); returns the previous one.
FrontEndPainter* SetFrontEndPainter(FrontEndPainter* painter);

// The options screen's receiver: while active, the HUD messages of its buttons turn the volume up (0)
// or down (1), toggle full screen (2), switch the computer's speed between normal and fast (5) and its rule
// between Classic and Veteran (6).
class OptionsMessage final : public MessageReciever {
public:
    // The game's receiver, made on first use.
    static OptionsMessage& Get();

    OptionsMessage();
    ~OptionsMessage() = default;
    void ProcessMessages() override;

    bool active = false;
};

// Option button values beyond the volume and full screen.
constexpr int32_t kComputerSpeedValue = 5;
constexpr int32_t kOpponentRuleValue = 6;

// The main menu's receiver: while active, CONTINUE (0) takes up the saved campaign and START (1) begins a
// new one, asking first when a saved campaign would be replaced.
class MenuMessage final : public MessageReciever {
public:
    // The game's receiver, made on first use.
    static MenuMessage& Get();

    MenuMessage();
    ~MenuMessage() = default;
    void ProcessMessages() override;
    // Acts on the button pressed in this frame; the menu's update calls it once every receiver has had
    // the frame's messages, so the next screen's receiver never takes the same click.
    void RunPending();

    bool active = false;
    // The button value waiting for the menu's update; -1 for none.
    int32_t pending = -1;
};

// Menu button values.
constexpr int32_t kContinueValue = 0;
constexpr int32_t kStartValue = 1;
// The question START asks when a campaign is saved.
constexpr const char* kReplaceCampaignQuestion =
    "Start a new campaign? The saved campaign will be replaced when you reach the world map.";

// The master volume one step up (255 at most) or down (0 at least); a step is 26.
uint8_t VolumeUp(uint8_t volume);
uint8_t VolumeDown(uint8_t volume);
// The volume shown on the options screen, 0 to 10.
int32_t VolumeLevel(uint8_t volume);

// Screen-texture slots the front end draws.
constexpr int32_t kLogoScreenSlot = 0;
constexpr int32_t kTitleScreenSlot = 1;
constexpr int32_t kOptionsScreenSlot = 8;
constexpr int32_t kCreditsScreenSlot = 9;
constexpr int32_t kHowToPlay1Slot = 19;
constexpr int32_t kHowToPlay2Slot = 20;
constexpr int32_t kHowToPlay3Slot = 21;
constexpr int32_t kTeamLogoScreenSlot = 52;
