#include "core/Boot.h"
#include "core/GameContext.h"
#include "core/ScreenHud.h"
#include "core/Screens.h"
#include "hud/gl/HudDrawing.h"
#include "platform/Dialog.h"
#include "platform/HighResTimer.h"
#include "platform/sdl/Texture.h"
#include "screens/BuildScreen.h"
#include "screens/CampaignSave.h"

#include <GL/gl.h>

#include <cstring>
#include <utility>

namespace {

constexpr const char* startupSoundFile = "Sound Assets\\SFX\\Start_Up\\Machine_Generator_Start02.wav";
constexpr const char* menuMusicFile = "Sound Assets\\BGM\\05 - Rock And A Hard Place.mp3";
constexpr const char* optionsMusicFile = "Sound Assets\\BGM\\09 - Spaghetti Guitar In Space.mp3";
constexpr const char* creditsMusicFile = "Sound Assets\\BGM\\33 - Floor It.mp3";
// How long a logo stays when nothing is pressed.
constexpr double logoMilliseconds = 2000.0;
constexpr uint8_t volumeStep = 26;

// Draws with the game's renderer.
class RendererPainter final : public FrontEndPainter {
public:
    void BeginFrame() override { GameContext::Get().renderer.BeginScene(); }
    void DrawPicture(int32_t slot, bool blend) override {
        DrawTexturedRect(GameContext::Get().renderer.textures[size_t(slot)], 0, 0, 800, 600, blend);
    }
    void DrawHud() override { DrawScreenHud(); }
    void WarmUp() override {
        GameContext& game = GameContext::Get();
        Renderer& renderer = game.renderer;
        // A picture drawn rather than copied, as buttons are, and the menu's own picture copied once.
        DrawTexturedRect(renderer.textures[kTitleScreenSlot], 0, 0, 2, 2, true);
        DrawTexturedRect(renderer.textures[kTitleScreenSlot], 0, 0, 800, 600, true);
        // One pick pass of the pointer's, which makes the pass's own target and has a software renderer compile
        // its one-pixel clear; otherwise the menu's first frame under the pointer waits for both.
        PickObject(renderer, game.hud, PickScene{}, 400, 300);
    }
    void DrawVolume(int32_t level) override {
        Renderer& renderer = GameContext::Get().renderer;
        glColor3f(0.0f, 0.0f, 0.0f);
        renderer.Begin2D();
        glRasterPos2i(630, 185);
        renderer.font.Print("%d", level);
        renderer.End2D();
        glColor3f(1.0f, 1.0f, 1.0f);
    }
    void DrawChoice(int32_t x, int32_t y, const char* text) override {
        Renderer& renderer = GameContext::Get().renderer;
        glColor3f(0.96f, 0.84f, 0.45f);
        renderer.Begin2D();
        glRasterPos2i(x - int32_t(std::strlen(text)) * kGlyphWidth / 2, y);
        renderer.font.Print("%s", text);
        renderer.End2D();
        glColor3f(1.0f, 1.0f, 1.0f);
    }

private:
    // Advance of one glyph of the font, in frame pixels.
    static constexpr int32_t kGlyphWidth = 7;
};

RendererPainter rendererPainter;
FrontEndPainter* painter = &rendererPainter;

// Loads a sound into its id field the first time and plays it (again).
void PlayOnce(GameContext& game, const char* file, bool music, int32_t& id) {
    if (id < 0) {
        id = game.sound.LoadSound(file, music, music);
    }
    game.sound.PlaySound(id);
}

// Plays the start-up sound once through.
void PlayStartupSound(GameContext& game) {
    PlayOnce(game, startupSoundFile, false, game.startupSound);
}

// Plays a looping music stream.
void StartMusic(GameContext& game, const char* file, int32_t& id) {
    PlayOnce(game, file, true, id);
}

// Frame of a screen that shows one picture under its buttons.
void DrawScreen(int32_t slot, bool blend) {
    painter->BeginFrame();
    painter->DrawPicture(slot, blend);
    painter->DrawHud();
}

// Leaves a logo screen for the next after its time or at a key press or click.
void UpdateLogo(int32_t slot, GameState next) {
    GameContext& game = GameContext::Get();
    painter->BeginFrame();
    if (slot == kTeamLogoScreenSlot && game.logoOnScreen && !game.frontEndWarmedUp) {
        // The boot has loaded everything by the second logo's second frame.
        painter->WarmUp();
        game.frontEndWarmedUp = true;
    }
    painter->DrawPicture(slot, true);
    HighResTimer& timer = HighResTimer::Get();
    if (!game.logoOnScreen) {
        game.logoOnScreen = true;
        // When the boot went on loading after the enter, the logo's time counts from its first frame, so
        // that a slow load does not use it up; that frame only shows it.
        if (BootLoading(game)) {
            game.logoStartTime = timer.Elapsed();
        }
    } else {
        // The boot loads the rest over the first logo's frames.
        ContinueBoot(game);
    }
    const double ms = double(timer.Elapsed() - game.logoStartTime) * 1000.0 / double(timer.Frequency);
    const uint32_t last = game.lastMessage.message;
    const bool pressed = last == WM_KEYDOWN || last == WM_LBUTTONDOWN;
    if (pressed) {
        // The press is this logo's: the next logo waits for a press of its own.
        game.lastMessage = WindowMessage{};
    }
    if (pressed || ms > logoMilliseconds) {
        // No screen after the logo is shown with anything of the boot still to load.
        FinishBoot(game);
        game.ChangeState(next);
    }
}

void EnterHowToPlay(const char* layout) {
    PlayStartupSound(GameContext::Get());
    LoadScreenLayout(layout);
}

} // namespace

FrontEndPainter* SetFrontEndPainter(FrontEndPainter* newPainter) {
    FrontEndPainter* previous = painter == &rendererPainter ? nullptr : painter;
    painter = newPainter != nullptr ? newPainter : &rendererPainter;
    return previous;
}

void LogoEnter() {
    GameContext& game = GameContext::Get();
    PlayStartupSound(game);
    game.logoOnScreen = false;
    game.logoStartTime = HighResTimer::Get().Elapsed();
}

void LogoUpdate() {
    UpdateLogo(kLogoScreenSlot, kTeamLogoState);
}

void TeamLogoUpdate() {
    UpdateLogo(kTeamLogoScreenSlot, kMainMenuState);
}

void HowToPlay1Enter() {
    EnterHowToPlay("XMLFiles\\GUI\\howtoplay1.xml");
}
void HowToPlay1Update() {
    DrawScreen(kHowToPlay1Slot, true);
}
void HowToPlay2Enter() {
    EnterHowToPlay("XMLFiles\\GUI\\howtoplay2.xml");
}
void HowToPlay2Update() {
    DrawScreen(kHowToPlay2Slot, false);
}
void HowToPlay3Enter() {
    EnterHowToPlay("XMLFiles\\GUI\\howtoplay3.xml");
}
void HowToPlay3Update() {
    DrawScreen(kHowToPlay3Slot, false);
}

// Loads the menu's buttons; CONTINUE only while a campaign is saved.
void LoadMenuLayout(GameContext& game) {
    LoadScreenLayout("XMLFiles\\GUI\\menu.xml");
    if (CampaignSaved()) {
        return;
    }
    for (const HudButton& button : game.hud.buttons()) {
        if (button.function == int32_t(ButtonFunction::Message) && button.data == kContinueValue) {
            game.hud.RemoveButton(button.id);
            break;
        }
    }
}

void MenuEnter() {
    GameContext& game = GameContext::Get();
    StartMusic(game, menuMusicFile, game.menuMusic);
    LoadMenuLayout(game);
    MenuMessage::Get().active = true;
}
void MenuUpdate() {
    DrawScreen(kTitleScreenSlot, true);
    // After the frame's messages: the world map's receiver must not take this click for a marker's.
    MenuMessage::Get().RunPending();
}
void MenuExit() {
    GameContext& game = GameContext::Get();
    MenuMessage::Get().active = false;
    MenuMessage::Get().pending = -1;
    game.sound.StopSound(game.menuMusic);
}

void OptionsEnter() {
    GameContext& game = GameContext::Get();
    StartMusic(game, optionsMusicFile, game.optionsMusic);
    LoadScreenLayout("XMLFiles\\GUI\\options.xml");
    OptionsMessage::Get().active = true;
}
void OptionsUpdate() {
    GameContext& game = GameContext::Get();
    DrawScreen(kOptionsScreenSlot, true);
    painter->DrawVolume(VolumeLevel(game.sound.masterVolume()));
    // The choices' values sit on their buttons.
    for (const HudButton& button : game.hud.buttons()) {
        if (button.function != int32_t(ButtonFunction::Message)) {
            continue;
        }
        const int32_t x = int32_t(button.xPos + button.xSize / 2);
        const int32_t y = int32_t(button.yPos + button.ySize / 2 + 5);
        if (button.data == kComputerSpeedValue) {
            painter->DrawChoice(x, y, SpeedName(game.settings.computerSpeed));
        } else if (button.data == kOpponentRuleValue) {
            painter->DrawChoice(x, y, OpponentName(game.settings.opponent));
        }
    }
}
void OptionsExit() {
    GameContext& game = GameContext::Get();
    game.sound.StopSound(game.optionsMusic);
    OptionsMessage::Get().active = false;
}

void CreditsEnter() {
    GameContext& game = GameContext::Get();
    StartMusic(game, creditsMusicFile, game.creditsMusic);
    LoadScreenLayout("XMLFiles\\GUI\\credits.xml");
}
void CreditsUpdate() {
    DrawScreen(kCreditsScreenSlot, true);
}
void CreditsExit() {
    GameContext& game = GameContext::Get();
    game.sound.StopSound(game.creditsMusic);
}

void QuitUpdate() {
    GameContext& game = GameContext::Get();
    const bool hadModels = game.levelBlockModel != nullptr;
    game.levelBlockModel.reset();
    game.levelMarkerModel.reset();
    if (hadModels) {
        game.level.Clear();
    }
    game.window().PostQuitMessage();
}

uint8_t VolumeUp(uint8_t volume) {
    return volume > 255 - volumeStep - 1 ? 255 : uint8_t(volume + volumeStep);
}

uint8_t VolumeDown(uint8_t volume) {
    return volume > volumeStep ? uint8_t(volume - volumeStep) : 0;
}

int32_t VolumeLevel(uint8_t volume) {
    return int32_t(double(volume) / 255.0 * 10.0);
}

OptionsMessage& OptionsMessage::Get() {
    static OptionsMessage receiver;
    return receiver;
}

OptionsMessage::OptionsMessage() {
    Subscribe(HudMessage);
}

void OptionsMessage::ProcessMessages() {
    DrainInbox([this](const Message& message) {
        if (!active || message.type != HudMessage) {
            return;
        }
        GameContext& game = GameContext::Get();
        switch (message.value) {
        case 0:
            game.sound.SetMasterVolume(VolumeUp(game.sound.masterVolume()));
            break;
        case 1:
            game.sound.SetMasterVolume(VolumeDown(game.sound.masterVolume()));
            break;
        case 2:
            game.window().ToggleFullScreen();
            break;
        case kComputerSpeedValue:
            game.settings.computerSpeed = game.settings.computerSpeed == ComputerSpeed::Fast
                                              ? ComputerSpeed::Normal
                                              : ComputerSpeed::Fast;
            UseOpponentSettings(game.settings);
            break;
        case kOpponentRuleValue:
            game.settings.opponent = game.settings.opponent == OpponentRule::Veteran ? OpponentRule::Classic
                                                                                     : OpponentRule::Veteran;
            UseOpponentSettings(game.settings);
            break;
        default:
            break;
        }
    });
}

MenuMessage& MenuMessage::Get() {
    static MenuMessage receiver;
    return receiver;
}

MenuMessage::MenuMessage() {
    Subscribe(HudMessage);
}

void MenuMessage::ProcessMessages() {
    DrainInbox([this](const Message& message) {
        if (active && message.type == HudMessage &&
            (message.value == kContinueValue || message.value == kStartValue)) {
            pending = message.value;
        }
    });
}

void MenuMessage::RunPending() {
    const int32_t value = std::exchange(pending, -1);
    GameContext& game = GameContext::Get();
    if (value < 0 || !game.campaign) {
        return;
    }
    if (value == kContinueValue) {
        if (ContinueCampaign(game)) {
            game.ChangeState(kWorldMapState);
        } else {
            // A broken save was moved aside: the menu no longer offers it.
            LoadMenuLayout(game);
        }
    } else if (value == kStartValue) {
        if (CampaignSaved() && !AskYesNo("New campaign", kReplaceCampaignQuestion)) {
            return;
        }
        StartNewCampaign(*game.campaign, SquadBuildMessage::Get().builder);
        game.ChangeState(kWorldMapState);
    }
}
