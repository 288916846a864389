#pragma once

#include "core/GameState.h"
#include "platform/GameWindow.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Campaign;
class CombatBoard;

// The one object that owns every long-lived part of the game, reached through GameContext::Get(). Its
// members are built in declaration order and destroyed in reverse; the message dispatcher is created
// before it and so outlives it. Members that are still empty are filled in by the subsystems that own
// them (renderer, sound, modules, level, HUD, picking, paths, particles).
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
    void UseWindow(std::unique_ptr<GameWindow> window) { window_ = std::move(window); }

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
    // Timer reading taken when a logo screen was entered.
    int64_t logoStartTime = 0;
    // True when the renderer could build the lighting shader.
    bool shadersAvailable = false;
    // The player's campaign (army, squad, inventory, faction standings); created at boot.
    Campaign* campaign = nullptr;
    // Mission files found in "XMLFiles\Missions".
    std::vector<std::string> missionFiles;
    // Module files found in the four module folders, sorted.
    std::vector<std::string> moduleFiles;

private:
    // Fills the table with the fourteen screens, in this order.
    void FillStateTable();
};
