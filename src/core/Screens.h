#pragma once

#include "hud/MessageReciever.h"

#include <cstdint>

// Callbacks of the front-end screens in the state table, and what they draw with.

// Boot loading: loads everything, switching to the logo screen half-way.
void BootUpdate();

// Logo screens: the start-up sound; each leaves after 2 seconds, a key press or a click.
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
    // Prints the volume level (0 to 10) on the options screen.
    virtual void DrawVolume(int32_t level) = 0;
};

// Replaces the painter (null: the renderer's again); returns the previous one.
FrontEndPainter* SetFrontEndPainter(FrontEndPainter* painter);

// The options screen's receiver: while active, the HUD messages of its buttons turn the volume up (0)
// or down (1) or toggle full screen (2).
class OptionsMessage final : public MessageReciever {
public:
    // The game's receiver, made on first use.
    static OptionsMessage& Get();

    OptionsMessage();
    ~OptionsMessage() = default;
    void ProcessMessages() override;

    bool active = false;
};

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
