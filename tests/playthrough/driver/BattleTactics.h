#pragma once

#include "data/Unit.h"
#include "driver/BattleProbe.h"

#include <cstdint>
#include <functional>
#include <optional>

class CombatScreen;
class GameDriver;
struct Unit;

// A simple player of battles, acting only through the driver's events: it waits for its turn, hovers a
// reachable tile and clicks it once the preview ends there, switches to attack mode with Left Shift, clicks
// enemies standing on marked tiles while the weapon has shots and time left, and ends the activation with
// Space. Each step reads the battle only to decide where to click.
class BattleTactics {
public:
    explicit BattleTactics(GameDriver& driver);

    // Runs frames until a human unit may take orders (it stands still, the camera rests, the markers are
    // fresh) or the battle is won; false when maxFrames ran out first.
    bool AwaitOrder(int maxFrames = 1500);
    // The battle has a winner.
    bool Won() const;

    // Moves the pointer over tile (x, y) where the player sees it; false when the tile is not in view.
    bool Hover(int32_t x, int32_t y);
    // Moves the pointer over the unit where the player sees it; false when it is not in view.
    bool HoverUnit(const Unit& unit);
    // The reachable free tile next to the active unit that brings it nearest its nearest enemy.
    std::optional<PathStep> StepTowardEnemy() const;
    // The reachable tile farthest from the active unit (the longest preview there is).
    std::optional<PathStep> FarthestReachable() const;
    // Hovers tile (x, y), clicks it when the preview ends there and waits until the unit has walked and the
    // camera rests; false when the tile could not be previewed or the unit did not move.
    bool MoveTo(int32_t x, int32_t y);

    // Switches between move and attack markers with Left Shift and waits for the new markers.
    void ToggleMode();
    // An enemy the active unit can fire at now (its tile marked Target, shots and time left), the weakest
    // first; null when there is none.
    Unit* Target() const;
    // Clicks the unit where the player sees it and waits for the shot; false when no shot was fired.
    bool FireAt(Unit& target);
    // Ends the active unit's activation with Space and waits until another unit acts or the battle is won.
    void EndActivation();

    // One activation of the active human unit: a step toward the enemy, then every shot it can fire.
    // onStep, when given, is called after each step with its name ("moved", "attack mode", "fired").
    void PlayActivation(const std::function<void(const char* step)>& onStep = nullptr);

    CombatScreen& screen;

private:
    // Where the player sees a pick id, zooming out a notch at a time when it is out of view.
    std::optional<PixelPoint> Find(int32_t pickId);
    bool Settled() const;

    GameDriver& driver_;
};
