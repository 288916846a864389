#pragma once

#include "combat/CombatScreen.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Battles without a window: the computer's rule plays both sides on a simulated clock, so level designers
// can measure how a mission plays and tests can drive whole battles.

// Hooks that draw nothing but advance the camera every frame, as the renderer would.
class HeadlessHooks : public CombatHooks {
public:
    void DrawBattle(CombatScreen& screen) override;
};

// A unit left standing at the end of a battle.
struct Survivor {
    std::string name;
    int32_t player = 0;
    int32_t hp = 0;
    int32_t fullHp = 0;
    int32_t x = 0;
    int32_t y = 0;
};

// How one simulated battle went.
struct BattleOutcome {
    bool loaded = false;  // the mission and squad could be read
    int32_t winner = 0;   // 1 or 2; 0 when the battle stalled or reached the activation limit
    bool stalled = false; // every unit acted several times without a shot landing or a tile changing
    int64_t activations = 0;
    int64_t frames = 0;
    std::vector<Survivor> survivors;
};

// What to simulate.
struct BattleSettings {
    std::string mission;                 // mission file, e.g. "XMLFiles\Missions\01_Outskirts.xml"
    std::vector<std::string> squadFiles; // unit files for player 1; empty: the starter squad
    uint32_t seed = 1;
    int64_t maxActivations = 1000;
    int64_t frameMilliseconds = 50; // simulated time per frame
    // The rule that plays player 1 and player 2.
    std::array<OpponentRule, 2> rules{OpponentRule::Classic, OpponentRule::Classic};
    // Prints every activation, move, hit and loss to standard output as the battle goes.
    bool trace = false;
};

// Unit files are assembled from module files: a core, then heads, tails and weapons as the core allows.
struct UnitRecipe {
    std::string name;
    std::string core;
    std::vector<std::string> modules;
};

// The starter squad: six mechs a player can build from the starting inventory (two of every part).
const std::vector<UnitRecipe>& StarterSquad();
// Builds a unit from module files as the build screen does; false when a file cannot be read.
bool AssembleUnit(const UnitRecipe& recipe, Unit& unit);
// Fills the army's slots in order from unit files (none: the starter squad); false when one cannot be read.
bool BuildSquad(Army& army, const std::vector<std::string>& unitFiles);
// Plays one battle to its end or to the activation limit.
BattleOutcome SimulateBattle(const BattleSettings& settings);
