#include "combat/BattleSimulation.h"

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
    // Units whose enemies are all out of reach wait for ever; three quiet rounds end the battle undecided.
    // The fingerprint ignores the order of the turn queue, which changes every activation.
    int64_t lastChange = 0;
    uint64_t lastState = ~0ull;
    while (!screen.player1Won && !screen.player2Won && screen.activations <= settings.maxActivations &&
           outcome.frames < maxFrames) {
        clock.Advance(settings.frameMilliseconds);
        screen.Update(input);
        ++outcome.frames;
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
