#pragma once

#include "combat/LevelMap.h"
#include "combat/SightCache.h"
#include "data/Unit.h"

#include <cstdint>
#include <vector>

// The "Veteran" computer rule: it closes in on enemies out of reach, chooses its shots (a kill first, else
// the most damage per time unit, weighted toward the enemy nearest to destruction), keeps out of a minimum
// range, and, when it cannot fire, waits where no enemy can reach it and shoot. Each way of firing (from
// here and then walking off, or from another tile) is weighed against the damage it risks on the tile it
// ends on from the enemies that act before it does again (the turn order shows who). When nobody has been
// hit for a while it walks in and fires regardless. It sees only what a player sees: the map, the turn
// order and every unit's position, hit points and statistics; never the random generator or the other
// side's rule.

// What the rule does next.
struct VeteranChoice {
    enum class Kind { Shoot, Move, End };
    Kind kind = Kind::End;
    Unit* target = nullptr; // Shoot: the enemy to fire at
    int32_t x = 0;          // Move: the tile to walk to
    int32_t y = 0;
};

// The mean hit points one shot takes (the mean of ShotDamage); 0 when the shot cannot harm the target.
double MeanShotDamage(int32_t damage, int32_t accuracy, int32_t defense);

class VeteranPlanner {
public:
    // Moves one activation may make before the rule only shoots or ends it (no endless shuffling).
    static constexpr int32_t MovesPerActivation = 3;
    // Activations per unit of the battle without a hit after which the rule walks in and fires whatever
    // it risks, so that two sides waiting out of each other's reach still meet.
    static constexpr int32_t PatientActivationsPerUnit = 2;

    // Chooses the next action of unit self, whose activation number is activation, with shotsThisTurn shots
    // fired in it. units are the battle's units in turn order; tiles in refused are never chosen as a
    // move's end (the caller found no route there).
    VeteranChoice Decide(const LevelMap& map, const std::vector<Unit*>& units, const Unit& self,
                         int32_t shotsThisTurn, int64_t activation,
                         const std::vector<PathStep>& refused = std::vector<PathStep>());
    // Counts a committed move of the activation.
    void MoveMade(int64_t activation);

    // Whether an enemy of self could walk and shoot at tile (x, y) in its next activation (valid after
    // Decide, for the same battle state).
    bool Threatened(int32_t x, int32_t y) { return Incoming(x, y) > 0.0; }
    // The mean damage self would take on tile (x, y) if every enemy that can walk and shoot at it there in
    // its next activation did so with the shots its time allows after the walk (valid after Decide, for
    // the same battle state).
    double Incoming(int32_t x, int32_t y);

private:
    // A uniform-cost flood's result for one mover.
    struct Reach {
        std::vector<float> cost;
        std::vector<int32_t> steps;
        std::vector<uint32_t> stamp;
        uint32_t current = 0;
        bool has(int32_t index) const { return stamp[static_cast<size_t>(index)] == current; }
    };
    // One enemy as the rule sees it.
    struct Enemy {
        Unit* unit = nullptr;
        double meanDamage = 0.0; // of self's shot at it
        double threat = 0.0;     // mean damage it deals self in one activation
        double shotMean = 0.0;   // mean damage of one of its shots at self
        double worth = 0.0;      // what its hit points are worth: its damage to come, per hit point, plus one
        bool armed = false;
        bool flooded = false;
        Reach reach;
        std::vector<float> damageAt; // mean damage it can deal self on each tile next time; negative: unknown
    };
    struct Candidate {
        int32_t x = 0;
        int32_t y = 0;
        int32_t cost = 0;
    };

    void prepare(const LevelMap& map, const std::vector<Unit*>& units, const Unit& self);
    void flood(Reach& reach, const Unit& mover, int32_t timeUsed, int32_t distanceUsed, int32_t timeReserve);
    bool canShoot(const Unit& shooter, int32_t fromX, int32_t fromY, const Unit& target);
    void shootingField();
    double shotValue(const Enemy& enemy, int32_t shots) const;
    double enemyDamageAt(Enemy& enemy, int32_t x, int32_t y);
    double exposure(int32_t x, int32_t y, int32_t endTime);
    double lossCost(double damage) const;
    VeteranChoice chooseFiringPlan(int32_t shotsLeft, double& score);
    VeteranChoice chooseWaitingTile();
    int32_t index(int32_t x, int32_t y) const { return x + y * width_; }
    bool inside(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    bool enterable(int32_t x, int32_t y, int32_t player) const;

    const LevelMap* map_ = nullptr;
    const Unit* self_ = nullptr;
    int32_t width_ = 0;
    int32_t height_ = 0;
    SightCache sight_;
    std::vector<int32_t> occupant_; // player of the unit on each tile (self left out), 0 for none
    std::vector<Enemy> enemies_;
    std::vector<Candidate> candidates_;
    Reach own_;
    double selfWorth_ = 1.0; // what self's hit points are worth, as Enemy::worth
    // Time from each tile to the nearest tile self can shoot from, and the steps of that route.
    std::vector<float> field_;
    std::vector<int32_t> fieldSteps_;
    // A flood's working values: best known cost of each tile and its steps.
    std::vector<float> scratchCost_;
    std::vector<int32_t> scratchSteps_;
    std::vector<std::pair<float, int32_t>> heap_;
    int64_t activation_ = -1;
    int32_t moves_ = 0;
    // Patience: the battle's hit points at the last decision, the activation they last changed in, and
    // whether they have stood still so long that the rule stops keeping its distance.
    int64_t hpSum_ = -1;
    int64_t lastChange_ = 0;
    bool impatient_ = false;
};
