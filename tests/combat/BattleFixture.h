#pragma once

// A battle without files or a window: a flat map, units made in code, a fixed random sequence and a clock
// the test moves by hand.

#include "combat/BattleSimulation.h"
#include "combat/CombatScreen.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

// Plays back a fixed list of values, then zeros.
class ScriptedRandom : public RandomSource {
public:
    int32_t Rand() override {
        if (values.empty()) {
            return 0;
        }
        int32_t v = values.front();
        values.pop_front();
        return v;
    }
    std::deque<int32_t> values;
};

// Records what the battle asked of drawing and sound.
class RecordingHooks : public HeadlessHooks {
public:
    void PlaySound(const std::string& path, bool, bool) override { sounds.push_back(path); }
    void StopSound(const std::string& path) override { stopped.push_back(path); }
    void SpawnProjectile(ProjectileKind kind, const Vector3&, const Vector3&) override {
        effects.push_back(kind);
    }
    void LoadHud(const std::string& path) override { layouts.push_back(path); }
    std::vector<std::string> sounds;
    std::vector<std::string> stopped;
    std::vector<ProjectileKind> effects;
    std::vector<std::string> layouts;
};

// The weapon values a test unit carries.
struct WeaponSpec {
    std::string name = "Test Gun";
    int32_t damage = 20;
    int32_t accuracy = 60;
    int32_t maxRange = 5;
    int32_t minRange = 0;
    int32_t timeCost = 10;
    int32_t shots = 2;
};

// Builds a unit with a core and, unless weapon is false, one weapon module.
inline std::unique_ptr<Unit> MakeUnit(int32_t player, int32_t x, int32_t y, int32_t moveDist = 3,
                                      int32_t moveRatio = 10, const WeaponSpec& spec = WeaponSpec(),
                                      bool armed = true) {
    auto unit = std::make_unique<Unit>();
    unit->core = std::make_unique<Component>();
    unit->owner.player = player;
    unit->owner.isComputer = player == 2;
    unit->tileX = x;
    unit->tileY = y;
    unit->moveDist = moveDist;
    unit->moveRatio = moveRatio;
    unit->hp = unit->fullHp = 100;
    unit->defense = 40;
    unit->name = "P" + std::to_string(player) + "@" + std::to_string(x) + "," + std::to_string(y);
    if (armed) {
        auto weapon = std::make_unique<Component>();
        weapon->isWeapon = true;
        weapon->name = spec.name;
        weapon->damage = spec.damage;
        weapon->accuracy = spec.accuracy;
        weapon->maxRange = spec.maxRange;
        weapon->minRange = spec.minRange;
        weapon->timeCost = spec.timeCost;
        weapon->shots = spec.shots;
        unit->weapon = weapon.get();
        unit->core->children.push_back(std::move(weapon));
    }
    unit->core->transform.position = TileWorldPosition(x, y, 1, 0.0f);
    return unit;
}

// A battle on an open map of the given size.
struct Battle {
    explicit Battle(uint32_t width = 12, uint32_t height = 12)
        : screen(map, pathfinder, camera, hooks, random, clock) {
        map.Resize(width, height);
    }
    // Adds a unit to the end of the queue.
    Unit* add(std::unique_ptr<Unit> unit) { return screen.AddUnit(std::move(unit)); }
    // Runs frames (100 ms apart) until the condition holds or the limit passes; true when it held.
    template <typename Condition> bool runUntil(Condition condition, int limit = 5000) {
        for (int i = 0; i < limit; ++i) {
            if (condition()) {
                return true;
            }
            frame();
        }
        return condition();
    }
    // One frame with the given input.
    void frame(const CombatInput& input = CombatInput()) {
        clock.Advance(100);
        screen.Update(input);
    }
    // A frame in which the left button was pressed on a tile.
    void clickTile(int32_t x, int32_t y) {
        CombatInput input;
        input.leftClick = true;
        input.pick.kind = PickKind::MapTile;
        input.pick.tile = map.TileAt(x, y);
        frame(input);
    }
    // A frame in which the left button was pressed on a unit.
    void clickUnit(Unit* unit) {
        CombatInput input;
        input.leftClick = true;
        input.pick.kind = PickKind::Unit;
        input.pick.unit = unit;
        frame(input);
    }

    LevelMap map;
    Pathfinder pathfinder;
    Camera camera{1.0f, 1000.0f};
    RecordingHooks hooks;
    ScriptedRandom random;
    SimulatedClock clock;
    CombatScreen screen;
};
