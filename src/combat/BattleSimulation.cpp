#include "combat/BattleSimulation.h"

#include <cstdio>
#include <map>

namespace {

// What the trace last saw of a unit (kept by value: a destroyed unit's record is gone).
struct Seen {
    std::string name;
    int32_t player = 0;
    int32_t hp = 0;
    int32_t x = 0;
    int32_t y = 0;
};

// Prints what changed since the last frame: a new activation, a unit's move, hits and losses.
class BattleTrace {
public:
    void Frame(const CombatScreen& screen) {
        std::map<const Unit*, Seen> now;
        for (const Unit* unit : screen.turnQueue) {
            now[unit] = Seen{unit->name, unit->owner.player, unit->hp, unit->tileX, unit->tileY};
        }
        for (const auto& [unit, was] : seen_) {
            auto it = now.find(unit);
            if (it == now.end()) {
                std::printf("      P%d %s destroyed\n", was.player, was.name.c_str());
            } else if (it->second.hp != was.hp) {
                std::printf("      P%d %s hit: %d -> %d hp\n", was.player, was.name.c_str(), was.hp,
                            it->second.hp);
            }
        }
        if (screen.activeUnit != nullptr &&
            (screen.activeUnit != active_ || screen.activations != activation_)) {
            active_ = screen.activeUnit;
            activation_ = screen.activations;
            const Unit& u = *screen.activeUnit;
            std::printf("#%lld P%d %s at (%d, %d), %d hp, time %d\n", static_cast<long long>(activation_),
                        u.owner.player, u.name.c_str(), u.tileX, u.tileY, u.hp, u.timeUsed);
        }
        for (const auto& [unit, is] : now) {
            auto it = seen_.find(unit);
            if (it != seen_.end() && unit == screen.activeUnit && unit->movementQueue.empty() &&
                (it->second.x != is.x || it->second.y != is.y || moving_)) {
                moving_ = false;
            }
            if (unit == screen.activeUnit && !unit->movementQueue.empty() && !moving_) {
                moving_ = true;
                const PathStep& end = unit->movementQueue.back();
                std::printf("   moves to (%d, %d), time %d\n", end.x, end.y, unit->timeUsed);
            }
        }
        if (screen.activeUnit != nullptr && screen.shotsThisTurn != shots_) {
            if (screen.shotsThisTurn > shots_) {
                std::printf("   fires (shot %d), time %d\n", screen.shotsThisTurn,
                            screen.activeUnit->timeUsed);
            }
            shots_ = screen.shotsThisTurn;
        }
        seen_ = std::move(now);
    }

private:
    std::map<const Unit*, Seen> seen_;
    const Unit* active_ = nullptr;
    int64_t activation_ = -1;
    int32_t shots_ = 0;
    bool moving_ = false;
};

} // namespace

void HeadlessHooks::DrawBattle(CombatScreen& screen) {
    screen.camera.keys.ClearFlags();
    screen.camera.UpdateCamera(true);
}

const std::vector<UnitRecipe>& StarterSquad() {
    static const std::vector<UnitRecipe> squad = {
        {"Gold Wolf",
         "XMLFiles\\Mecha\\Modules\\Cores\\WolfCore.xml",
         {"XMLFiles\\Mecha\\Modules\\Heads\\WolfHead.xml", "XMLFiles\\Mecha\\Modules\\Tails\\Forcefield.xml",
          "XMLFiles\\Mecha\\Modules\\Weapons\\TriLaserRed.xml"}},
        {"Gold Ant",
         "XMLFiles\\Mecha\\Modules\\Cores\\AntCore.xml",
         {"XMLFiles\\Mecha\\Modules\\Heads\\AntHead.xml", "XMLFiles\\Mecha\\Modules\\Tails\\Forcefield.xml",
          "XMLFiles\\Mecha\\Modules\\Weapons\\DoubleCannonAP.xml"}},
        {"Gold Spider",
         "XMLFiles\\Mecha\\Modules\\Cores\\SpiderCore.xml",
         {"XMLFiles\\Mecha\\Modules\\Heads\\SensorHead.xml",
          "XMLFiles\\Mecha\\Modules\\Tails\\SensorTail.xml",
          "XMLFiles\\Mecha\\Modules\\Weapons\\TriLaserBlue.xml"}},
        {"Gold Turtle",
         "XMLFiles\\Mecha\\Modules\\Cores\\TurtleCore.xml",
         {"XMLFiles\\Mecha\\Modules\\Heads\\TurtleHead.xml",
          "XMLFiles\\Mecha\\Modules\\Tails\\EngineOptimizer.xml",
          "XMLFiles\\Mecha\\Modules\\Weapons\\DoubleCannonDU.xml"}},
        {"Gold Rat",
         "XMLFiles\\Mecha\\Modules\\Cores\\RatCore.xml",
         {"XMLFiles\\Mecha\\Modules\\Heads\\RatHead.xml",
          "XMLFiles\\Mecha\\Modules\\Tails\\EngineOptimizer.xml",
          "XMLFiles\\Mecha\\Modules\\Weapons\\TriLaserGreen.xml"}},
        {"Gold Frog",
         "XMLFiles\\Mecha\\Modules\\Cores\\FrogCore.xml",
         {"XMLFiles\\Mecha\\Modules\\Heads\\FrogHead.xml", "XMLFiles\\Mecha\\Modules\\Tails\\Blaster.xml",
          "XMLFiles\\Mecha\\Modules\\Weapons\\DoubleCannonAA.xml"}},
    };
    return squad;
}

bool AssembleUnit(const UnitRecipe& recipe, Unit& unit) {
    auto core = std::make_unique<Component>();
    if (!LoadComponent(std::string_view(recipe.core), *core)) {
        return false;
    }
    for (const std::string& file : recipe.modules) {
        auto module = std::make_unique<Component>();
        if (!LoadComponent(std::string_view(file), *module)) {
            return false;
        }
        core->children.push_back(std::move(module));
    }
    unit.core = std::move(core);
    unit.name = recipe.name;
    RecomputeStats(unit);
    return true;
}

bool BuildSquad(Army& army, const std::vector<std::string>& unitFiles) {
    size_t count = unitFiles.empty() ? StarterSquad().size() : unitFiles.size();
    for (size_t i = 0; i < count && i < army.squad.size(); ++i) {
        auto unit = std::make_unique<Unit>();
        bool ok = unitFiles.empty()
                      ? AssembleUnit(StarterSquad()[i], *unit)
                      : LoadUnit(std::string_view(unitFiles[i]), *unit) && unit->core != nullptr;
        if (!ok) {
            return false;
        }
        army.squad[i] = std::move(unit);
    }
    return true;
}

BattleOutcome SimulateBattle(const BattleSettings& settings) {
    BattleOutcome outcome;
    LevelMap map;
    Pathfinder pathfinder;
    Camera camera(1.0f, 1000.0f);
    HeadlessHooks hooks;
    SeededRandom random(settings.seed);
    SimulatedClock clock;
    CombatScreen screen(map, pathfinder, camera, hooks, random, clock);
    Army army;
    if (!BuildSquad(army, settings.squadFiles) || !screen.LoadMission(settings.mission, &army)) {
        return outcome;
    }
    outcome.loaded = true;
    for (Unit* unit : screen.turnQueue) {
        unit->owner.isComputer = true;
    }
    screen.opponentRules = settings.rules;
    screen.Enter();
    // Enough frames for every activation's moves, shots and camera glides.
    const int64_t maxFrames = settings.maxActivations * 2000 + 1000;
    CombatInput input;
    BattleTrace trace;
    // Units whose enemies are all out of reach wait for ever; three quiet rounds end the battle undecided.
    // The fingerprint ignores the order of the turn queue, which changes every activation.
    int64_t lastChange = 0;
    uint64_t lastState = ~0ull;
    while (!screen.player1Won && !screen.player2Won && screen.activations <= settings.maxActivations &&
           outcome.frames < maxFrames) {
        clock.Advance(settings.frameMilliseconds);
        screen.Update(input);
        ++outcome.frames;
        if (settings.trace) {
            trace.Frame(screen);
        }
        uint64_t state = 0;
        for (const Unit* unit : screen.turnQueue) {
            state += static_cast<uint64_t>(unit->hp) * 1000003u + static_cast<uint64_t>(unit->tileX) * 1009u +
                     static_cast<uint64_t>(unit->tileY);
        }
        if (state != lastState) {
            lastState = state;
            lastChange = screen.activations;
        } else if (screen.activations - lastChange > 3 * static_cast<int64_t>(screen.turnQueue.size())) {
            outcome.stalled = true;
            break;
        }
    }
    outcome.activations = screen.activations;
    if (screen.player1Won != screen.player2Won) {
        outcome.winner = screen.player1Won ? 1 : 2;
    }
    for (const Unit* unit : screen.turnQueue) {
        outcome.survivors.push_back(
            Survivor{unit->name, unit->owner.player, unit->hp, unit->fullHp, unit->tileX, unit->tileY});
    }
    screen.Exit(nullptr);
    return outcome;
}
