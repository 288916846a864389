#pragma once

#include "combat/LevelMap.h"
#include "combat/Pathfinder.h"
#include "core/CameraMsg.h"
#include "core/GameState.h"
#include "core/HudPointer.h"
#include "core/Settings.h"
#include "data/Army.h"
#include "hud/HudLayout.h"
#include "hud/PickColourRegistry.h"
#include "platform/GameWindow.h"
#include "platform/sdl/Sound.h"
#include "render/ModelNode.h"
#include "render/Particles.h"
#include "render/gl/Renderer.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class BootLoader;
class CombatBoard;
class InputDevices;

// Lets a level map take its tiles' pick colours from the game's registry.
class RegistryPickIds final : public PickIdSource {
public:
    explicit RegistryPickIds(PickColourRegistry& registry) : registry_(registry) {}
    int32_t NewPickColour() override { return registry_.NewPickColour(); }
    void ReleasePickColour(int32_t id) override { registry_.ReleasePickColour(id); }

private:
    PickColourRegistry& registry_;
};

// The one object that owns every long-lived part of the game, reached through GameContext::Get(). Its
// members are built in declaration order and destroyed in reverse; the message dispatcher is created
// before it and so outlives it.
class GameContext {
    // First member: the renderer's window is built before everything else and destroyed last.
    std::unique_ptr<GameWindow> window_;

public:
    // The game's context, built on the first call (the first frame of the main loop).
    static GameContext& Get();

    GameContext();
    ~GameContext();
    GameContext(const GameContext&) = delete;
    GameContext& operator=(const GameContext&) = delete;

    // Moves to another screen: the current screen's exit, the new screen's enter, then the new one is
    // current.
    void ChangeState(GameState newState) { stateTable.ChangeState(newState); }
    // The screen whose update runs each frame.
    GameState currentState() const { return stateTable.current(); }

    // The game window (an SDL window unless a test put in another one).
    GameWindow& window() { return *window_; }
    // Replaces the game window; for tests that run frames without a display.
    void UseWindow(std::unique_ptr<GameWindow> window) {
        window_ = std::move(window);
        renderer.UseWindow(window_.get());
    }

    // Window, shader, camera, font, lights, the screen-texture slots and the model table. Its window is the
    // context's; the boot opens it at 800 x 600 and fills its slots and models over the first logo.
    Renderer renderer;
    // Turns this frame's key-down messages into the camera's key flags.
    CameraMsg cameraReceiver{renderer.camera.keys};
    // Pick colours of buttons, units and tiles.
    PickColourRegistry pickColours;
    // Hands the registry's colours to the level's tiles.
    RegistryPickIds levelPickIds{pickColours};
    // Music and effects.
    SoundManager sound;
    // The current battle grid; its tiles take their pick colours from pickColours.
    LevelMap level;
    // The level's built-in tile block (first) and tile marker (second) models, made at boot.
    std::unique_ptr<ModelNode> levelBlockModel;
    std::unique_ptr<ModelNode> levelMarkerModel;
    // The current button layout, drawn over every screen; its buttons take colours from pickColours.
    HudLayout hud;
    // Highlights and runs the layout's buttons under the mouse on every screen but the battle.
    HudPointer hudPointer;
    // Route and reach searches of the battle.
    Pathfinder pathfinder;

    // Sound ids returned by the sound manager, in load order; -1 until loaded.
    int32_t menuMusic = -1;
    int32_t combatMusic = -1;
    int32_t interfaceSound = -1;
    int32_t walkSound = -1;
    int32_t hitSound1 = -1;
    int32_t hitSound2 = -1;
    int32_t optionsMusic = -1;
    int32_t creditsMusic = -1;
    int32_t worldMapMusic = -1;
    int32_t buildMusic = -1;
    int32_t startupSound = -1;

    // The combat board of a running battle; null outside combat.
    CombatBoard* board = nullptr;
    // The last window message taken by the main loop; it stays until the next one is taken.
    WindowMessage lastMessage;
    // The screens and which one is current.
    StateTable stateTable;
    // Timer reading taken when the current logo was entered, or at its first frame on screen when the boot
    // went on loading in between.
    int64_t logoStartTime = 0;
    // False from entering a logo screen until its first frame is drawn.
    bool logoOnScreen = false;
    // True once the second logo has had the renderer draw what the main menu needs first (see WarmUp).
    bool frontEndWarmedUp = false;
    // True when the renderer could build the lighting shader.
    bool shadersAvailable = false;
    // The player's campaign (army, squad, inventory, faction standings); created at boot.
    std::unique_ptr<Campaign> campaign;
    // The player's settings that live nowhere else (computer speed and rule); see CurrentSettings.
    Settings settings;
    // Mission files found in "XMLFiles\Missions".
    std::vector<std::string> missionFiles;
    // Module files found in the four module folders, sorted.
    std::vector<std::string> moduleFiles;
    // What the boot has still to load while the first logo shows; null once everything is loaded.
    std::unique_ptr<BootLoader> bootLoader;

    // Weapon-fire particles (2000 records made once).
    ParticlePool& particles() { return *particles_; }
    // The keyboard and mouse; null until the boot creates them.
    InputDevices* input() { return input_.get(); }
    // Creates the keyboard and mouse readers (the boot does this once).
    InputDevices& CreateInput();

private:
    // Fills the table with the fourteen screens, in this order.
    void FillStateTable();

    std::unique_ptr<ParticlePool> particles_;
    std::unique_ptr<InputDevices> input_;
};

// Lets the main loop read the context's keyboard and mouse each frame and switch them with the window's
// activation.
void InstallGameInput();
