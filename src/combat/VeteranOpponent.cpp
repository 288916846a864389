#include "combat/VeteranOpponent.h"

#include "combat/Pathfinder.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

constexpr float Unreached = std::numeric_limits<float>::infinity();
// Time units an activation may already have used when it starts (the start costs 1 to 10).
constexpr int32_t LeastStartTime = 1;
constexpr int32_t MostStartTime = 10;
// Activations to come that an enemy's damage is counted for when its hit points are weighed.
constexpr double FutureActivations = 2.0;
// An enemy that acts after self's next activation counts this much: self moves again before it does.
constexpr double LaterEnemyWeight = 0.0;
// How much a hit point of self's weighs against one dealt, worth for worth (the two sides' squads are
// rarely even, and a rule that fears every hit never fires).
constexpr double RiskWeight = 0.5;
// Worth of a kill beyond the hit points it takes: the damage the enemy would deal before dying anyway.
constexpr double KillBonus = 10.0;
// Worth of a time unit left unspent (a quicker activation comes round sooner).
constexpr double TimeWorth = 0.01;

const int32_t StepX[8] = {1, 0, -1, 0, 1, 1, -1, -1};
const int32_t StepY[8] = {0, -1, 0, 1, 1, -1, -1, 1};

int32_t Chebyshev(int32_t ax, int32_t ay, int32_t bx, int32_t by) {
    return std::max(std::abs(ax - bx), std::abs(ay - by));
}

bool Passable(const LevelMap& map, int32_t x, int32_t y) {
    const MapTile* tile = map.TileAt(x, y);
    return tile != nullptr && tile->passable != 0.0f;
}

// Shots of the weapon that fit in the time left, at most shotsLeft.
int32_t AffordableShots(const Component& weapon, int32_t timeUsed, int32_t shotsLeft) {
    if (timeUsed >= Pathfinder::TimeBudget || shotsLeft <= 0) {
        return 0;
    }
    if (weapon.timeCost <= 0) {
        return shotsLeft;
    }
    return std::min<int32_t>(shotsLeft, (Pathfinder::TimeBudget - timeUsed) / weapon.timeCost);
}

// Orders the heap of (cost, tile) pairs so that the cheapest is on top.
bool Costlier(const std::pair<float, int32_t>& a, const std::pair<float, int32_t>& b) {
    return a.first > b.first;
}

} // namespace

double MeanShotDamage(int32_t damage, int32_t accuracy, int32_t defense) {
    double factor = (static_cast<double>(accuracy) - static_cast<double>(defense)) / 100.0;
    double full = static_cast<double>(damage) + std::trunc(static_cast<double>(damage) * factor);
    int32_t d = static_cast<int32_t>(std::clamp(full, -1.0, 1.0e8));
    if (d <= 0) {
        return 0.0;
    }
    return static_cast<double>(d - 1) / 2.0 + static_cast<double>(static_cast<int32_t>(d * 0.25));
}

bool VeteranPlanner::enterable(int32_t x, int32_t y, int32_t player) const {
    if (!inside(x, y) || map_->TileAt(x, y)->passable == 0.0f) {
        return false;
    }
    int32_t there = occupant_[static_cast<size_t>(index(x, y))];
    return there == 0 || there == player;
}

void VeteranPlanner::prepare(const LevelMap& map, const std::vector<Unit*>& units, const Unit& self) {
    map_ = &map;
    self_ = &self;
    width_ = static_cast<int32_t>(map.width());
    height_ = static_cast<int32_t>(map.height());
    sight_.Prepare(map);
    size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    occupant_.assign(count, 0);
    size_t enemyCount = 0;
    for (Unit* unit : units) {
        if (unit == &self || unit->hp <= 0) {
            continue;
        }
        if (inside(unit->tileX, unit->tileY) &&
            occupant_[static_cast<size_t>(index(unit->tileX, unit->tileY))] == 0) {
            occupant_[static_cast<size_t>(index(unit->tileX, unit->tileY))] = unit->owner.player;
        }
        if (unit->owner.player == self.owner.player) {
            continue;
        }
        if (enemies_.size() <= enemyCount) {
            enemies_.emplace_back();
        }
        Enemy& enemy = enemies_[enemyCount++];
        enemy.unit = unit;
        enemy.flooded = false;
        enemy.meanDamage = self.weapon != nullptr
                               ? MeanShotDamage(self.weapon->damage, self.weapon->accuracy, unit->defense)
                               : 0.0;
        const Component* gun = unit->weapon;
        enemy.armed = gun != nullptr && gun->shots > 0 &&
                      gun->timeCost + LeastStartTime <= Pathfinder::TimeBudget &&
                      gun->maxRange > gun->minRange;
        enemy.threat = 0.0;
        if (enemy.armed) {
            int32_t shots = AffordableShots(*gun, MostStartTime, gun->shots);
            enemy.shotMean = MeanShotDamage(gun->damage, gun->accuracy, self.defense);
            enemy.threat = enemy.shotMean * shots;
        }
        enemy.worth = 1.0 + FutureActivations * enemy.threat / static_cast<double>(std::max(unit->hp, 1));
        enemy.damageAt.assign(count, -1.0f);
    }
    enemies_.resize(enemyCount);
    // Self is worth what it would deal the enemy it harms most.
    double selfThreat = 0.0;
    if (self.weapon != nullptr) {
        int32_t shots = AffordableShots(*self.weapon, MostStartTime, self.weapon->shots);
        for (const Enemy& enemy : enemies_) {
            selfThreat = std::max(selfThreat, enemy.meanDamage * shots);
        }
    }
    selfWorth_ = 1.0 + FutureActivations * selfThreat / static_cast<double>(std::max(self.hp, 1));
}

void VeteranPlanner::flood(Reach& reach, const Unit& mover, int32_t timeUsed, int32_t distanceUsed,
                           int32_t timeReserve) {
    size_t count = occupant_.size();
    if (reach.stamp.size() != count) {
        reach.cost.assign(count, 0.0f);
        reach.steps.assign(count, 0);
        reach.stamp.assign(count, 0);
        reach.current = 0;
    }
    if (++reach.current == 0) {
        std::fill(reach.stamp.begin(), reach.stamp.end(), 0);
        reach.current = 1;
    }
    if (!inside(mover.tileX, mover.tileY)) {
        return;
    }
    // A tile is final once its stamp matches.
    std::vector<float>& best = scratchCost_;
    std::vector<int32_t>& bestSteps = scratchSteps_;
    best.assign(count, Unreached);
    bestSteps.assign(count, 0);
    const float ratio = static_cast<float>(mover.moveRatio);
    const int32_t player = mover.owner.player;
    heap_.clear();
    int32_t start = index(mover.tileX, mover.tileY);
    best[static_cast<size_t>(start)] = 0.0f;
    heap_.emplace_back(0.0f, start);
    while (!heap_.empty()) {
        std::pop_heap(heap_.begin(), heap_.end(), Costlier);
        auto [g, at] = heap_.back();
        heap_.pop_back();
        size_t i = static_cast<size_t>(at);
        if (reach.stamp[i] == reach.current || g != best[i]) {
            continue;
        }
        int32_t steps = bestSteps[i];
        if (static_cast<int64_t>(g) + timeUsed + timeReserve > Pathfinder::TimeBudget ||
            mover.moveDist < steps + distanceUsed) {
            // Not accepted; a later route with fewer steps may still reach it.
            best[i] = Unreached;
            continue;
        }
        reach.stamp[i] = reach.current;
        reach.cost[i] = g;
        reach.steps[i] = steps;
        int32_t x = at % width_;
        int32_t y = at / width_;
        for (int k = 0; k < 8; ++k) {
            int32_t nx = x + StepX[k];
            int32_t ny = y + StepY[k];
            if (!enterable(nx, ny, player)) {
                continue;
            }
            bool diagonal = k >= 4;
            if (diagonal && (!Passable(*map_, nx, y) || !Passable(*map_, x, ny))) {
                continue;
            }
            size_t n = static_cast<size_t>(index(nx, ny));
            float passable = map_->TileAt(nx, ny)->passable;
            float next = g + (diagonal ? ratio * (passable + Pathfinder::DiagonalTerm) : ratio * passable);
            if (reach.stamp[n] != reach.current && next < best[n]) {
                best[n] = next;
                bestSteps[n] = steps + 1;
                heap_.emplace_back(next, static_cast<int32_t>(n));
                std::push_heap(heap_.begin(), heap_.end(), Costlier);
            }
        }
    }
}

bool VeteranPlanner::canShoot(const Unit& shooter, int32_t fromX, int32_t fromY, const Unit& target) {
    const Component* gun = shooter.weapon;
    if (gun == nullptr) {
        return false;
    }
    int32_t d = Chebyshev(fromX, fromY, target.tileX, target.tileY);
    return d > gun->minRange && d <= gun->maxRange && sight_.Sees(fromX, fromY, target.tileX, target.tileY);
}

double VeteranPlanner::enemyDamageAt(Enemy& enemy, int32_t x, int32_t y) {
    float& memo = enemy.damageAt[static_cast<size_t>(index(x, y))];
    if (memo >= 0.0f) {
        return memo;
    }
    memo = 0.0f;
    const Unit& e = *enemy.unit;
    if (!enemy.armed || enemy.threat <= 0.0) {
        return memo;
    }
    const Component& gun = *e.weapon;
    if (Chebyshev(e.tileX, e.tileY, x, y) > e.moveDist + gun.maxRange) {
        return memo;
    }
    if (!enemy.flooded) {
        flood(enemy.reach, e, LeastStartTime, 0, gun.timeCost);
        enemy.flooded = true;
    }
    int32_t x0 = std::max({0, x - gun.maxRange, e.tileX - e.moveDist});
    int32_t x1 = std::min({width_ - 1, x + gun.maxRange, e.tileX + e.moveDist});
    int32_t y0 = std::max({0, y - gun.maxRange, e.tileY - e.moveDist});
    int32_t y1 = std::min({height_ - 1, y + gun.maxRange, e.tileY + e.moveDist});
    // The most shots it could fire at the tile after walking to where it sees it.
    const int32_t mostShots = AffordableShots(gun, LeastStartTime, gun.shots);
    int32_t bestShots = 0;
    for (int32_t qy = y0; qy <= y1 && bestShots < mostShots; ++qy) {
        for (int32_t qx = x0; qx <= x1 && bestShots < mostShots; ++qx) {
            int32_t q = index(qx, qy);
            if (!enemy.reach.has(q) || Chebyshev(qx, qy, x, y) <= gun.minRange) {
                continue;
            }
            bool own = qx == e.tileX && qy == e.tileY;
            if (!own && occupant_[static_cast<size_t>(q)] != 0) {
                continue;
            }
            int32_t shots = AffordableShots(
                gun, LeastStartTime + static_cast<int32_t>(enemy.reach.cost[static_cast<size_t>(q)]),
                gun.shots);
            if (shots > bestShots && sight_.Sees(qx, qy, x, y)) {
                bestShots = shots;
            }
        }
    }
    memo = static_cast<float>(enemy.shotMean * bestShots);
    return memo;
}

double VeteranPlanner::Incoming(int32_t x, int32_t y) {
    if (!inside(x, y) || self_ == nullptr) {
        return 0.0;
    }
    double sum = 0.0;
    for (Enemy& enemy : enemies_) {
        sum += enemyDamageAt(enemy, x, y);
    }
    return sum;
}

double VeteranPlanner::exposure(int32_t x, int32_t y, int32_t endTime) {
    double sum = 0.0;
    for (Enemy& enemy : enemies_) {
        // Re-queued behind every unit whose time is not more than its own, self acts after those.
        double weight = enemy.unit->timeUsed <= endTime ? 1.0 : LaterEnemyWeight;
        if (weight > 0.0) {
            sum += weight * enemyDamageAt(enemy, x, y);
        }
    }
    return sum;
}

double VeteranPlanner::lossCost(double damage) const {
    double hp = static_cast<double>(std::max(self_->hp, 1));
    if (damage >= hp) {
        return hp * selfWorth_ + KillBonus;
    }
    return damage * selfWorth_;
}

void VeteranPlanner::shootingField() {
    size_t count = occupant_.size();
    field_.assign(count, Unreached);
    fieldSteps_.assign(count, 0);
    heap_.clear();
    const Unit& self = *self_;
    if (self.weapon == nullptr) {
        return;
    }
    const int32_t player = self.owner.player;
    const int32_t range = self.weapon->maxRange;
    for (const Enemy& enemy : enemies_) {
        const Unit& e = *enemy.unit;
        if (enemy.meanDamage <= 0.0) {
            continue;
        }
        for (int32_t qy = std::max(0, e.tileY - range); qy <= std::min(height_ - 1, e.tileY + range); ++qy) {
            for (int32_t qx = std::max(0, e.tileX - range); qx <= std::min(width_ - 1, e.tileX + range);
                 ++qx) {
                size_t q = static_cast<size_t>(index(qx, qy));
                if (field_[q] == 0.0f || !Passable(*map_, qx, qy) ||
                    (occupant_[q] != 0 && !(qx == self.tileX && qy == self.tileY))) {
                    continue;
                }
                if (canShoot(self, qx, qy, e)) {
                    field_[q] = 0.0f;
                    heap_.emplace_back(0.0f, static_cast<int32_t>(q));
                }
            }
        }
    }
    std::make_heap(heap_.begin(), heap_.end(), Costlier);
    const float ratio = static_cast<float>(self.moveRatio);
    // Walks the moves backwards: a step from u into v costs what entering v costs.
    while (!heap_.empty()) {
        std::pop_heap(heap_.begin(), heap_.end(), Costlier);
        auto [d, at] = heap_.back();
        heap_.pop_back();
        if (d != field_[static_cast<size_t>(at)]) {
            continue;
        }
        int32_t vx = at % width_;
        int32_t vy = at / width_;
        float passable = map_->TileAt(vx, vy)->passable;
        for (int k = 0; k < 8; ++k) {
            int32_t ux = vx + StepX[k];
            int32_t uy = vy + StepY[k];
            if (!enterable(ux, uy, player) && !(ux == self.tileX && uy == self.tileY)) {
                continue;
            }
            bool diagonal = k >= 4;
            if (diagonal && (!Passable(*map_, ux, vy) || !Passable(*map_, vx, uy))) {
                continue;
            }
            size_t u = static_cast<size_t>(index(ux, uy));
            float next = d + (diagonal ? ratio * (passable + Pathfinder::DiagonalTerm) : ratio * passable);
            if (next < field_[u]) {
                field_[u] = next;
                fieldSteps_[u] = fieldSteps_[static_cast<size_t>(at)] + 1;
                heap_.emplace_back(next, static_cast<int32_t>(u));
                std::push_heap(heap_.begin(), heap_.end(), Costlier);
            }
        }
    }
}

double VeteranPlanner::shotValue(const Enemy& enemy, int32_t shots) const {
    if (enemy.meanDamage <= 0.0 || shots <= 0) {
        return 0.0;
    }
    double hp = static_cast<double>(std::max(enemy.unit->hp, 1));
    double dealt = enemy.meanDamage * shots;
    if (dealt >= hp) {
        // A kill: its hit points and the damage it would have dealt in its next activation.
        return hp * enemy.worth + enemy.threat + KillBonus;
    }
    return dealt * enemy.worth;
}

VeteranChoice VeteranPlanner::chooseFiringPlan(int32_t shotsLeft, double& score) {
    const Unit& self = *self_;
    const Component& gun = *self.weapon;
    VeteranChoice choice;
    score = -std::numeric_limits<double>::infinity();
    const int32_t t0 = self.timeUsed;
    // Fire from here, then wait on the least exposed tile the time left reaches.
    const int32_t here = AffordableShots(gun, t0, shotsLeft);
    for (int32_t k = 1; k <= here; ++k) {
        int32_t fired = t0 + k * std::max(gun.timeCost, 0);
        double leastRisk = std::numeric_limits<double>::infinity();
        for (const Candidate& tile : candidates_) {
            if (fired + tile.cost <= Pathfinder::TimeBudget) {
                leastRisk = std::min(leastRisk, lossCost(exposure(tile.x, tile.y, fired + tile.cost)));
            }
        }
        for (const Enemy& enemy : enemies_) {
            if (!canShoot(self, self.tileX, self.tileY, *enemy.unit)) {
                continue;
            }
            double value = shotValue(enemy, k);
            if (value <= 0.0) {
                continue;
            }
            double s = value - RiskWeight * leastRisk - TimeWorth * fired;
            if (s > score) {
                score = s;
                choice.kind = VeteranChoice::Kind::Shoot;
                choice.target = enemy.unit;
            }
        }
    }
    // Walk to another tile and fire from there.
    for (const Candidate& tile : candidates_) {
        if (tile.x == self.tileX && tile.y == self.tileY) {
            continue;
        }
        int32_t arrived = t0 + tile.cost;
        int32_t shots = AffordableShots(gun, arrived, shotsLeft);
        if (shots <= 0) {
            continue;
        }
        for (const Enemy& enemy : enemies_) {
            if (enemy.meanDamage <= 0.0 || !canShoot(self, tile.x, tile.y, *enemy.unit)) {
                continue;
            }
            for (int32_t k = 1; k <= shots; ++k) {
                int32_t fired = arrived + k * std::max(gun.timeCost, 0);
                double s = shotValue(enemy, k) - RiskWeight * lossCost(exposure(tile.x, tile.y, fired)) -
                           TimeWorth * fired;
                if (s > score) {
                    score = s;
                    choice.kind = VeteranChoice::Kind::Move;
                    choice.target = nullptr;
                    choice.x = tile.x;
                    choice.y = tile.y;
                }
            }
        }
    }
    return choice;
}

VeteranChoice VeteranPlanner::chooseWaitingTile() {
    const Unit& self = *self_;
    VeteranChoice stay;
    if (enemies_.empty()) {
        return stay;
    }
    shootingField();
    const int32_t shotCost = self.weapon != nullptr ? self.weapon->timeCost : Pathfinder::TimeBudget;
    auto field = [&](const Candidate& tile) { return field_[static_cast<size_t>(index(tile.x, tile.y))]; };
    // Whether the unit could walk from the tile and fire in its next activation, however it starts.
    auto nextTime = [&](const Candidate& tile) {
        size_t i = static_cast<size_t>(index(tile.x, tile.y));
        return field_[i] < 1.0e9f &&
               static_cast<int64_t>(field_[i]) + MostStartTime + shotCost <= Pathfinder::TimeBudget &&
               fieldSteps_[i] <= self.moveDist;
    };
    // Tile a is better than b: a shot next time, then closer to one, then cheaper.
    auto better = [&](const Candidate& a, const Candidate& b) {
        bool na = nextTime(a);
        bool nb = nextTime(b);
        if (na != nb) {
            return na;
        }
        if (field(a) != field(b)) {
            return field(a) < field(b);
        }
        return a.cost < b.cost;
    };
    // Where every tile is in reach of some enemy: the least damage to expect, then as above.
    auto lessExposed = [&](const Candidate& a, const Candidate& b) {
        double ia = Incoming(a.x, a.y);
        double ib = Incoming(b.x, b.y);
        return ia != ib ? ia < ib : better(a, b);
    };
    const Candidate* here = nullptr;
    const Candidate* bestSafe = nullptr;
    const Candidate* bestAny = nullptr;
    const Candidate* leastExposed = nullptr;
    for (const Candidate& tile : candidates_) {
        if (tile.x == self.tileX && tile.y == self.tileY) {
            here = &tile;
        }
        if (bestAny == nullptr || better(tile, *bestAny)) {
            bestAny = &tile;
        }
        if (leastExposed == nullptr || lessExposed(tile, *leastExposed)) {
            leastExposed = &tile;
        }
        if (!Threatened(tile.x, tile.y) && (bestSafe == nullptr || better(tile, *bestSafe))) {
            bestSafe = &tile;
        }
    }
    const Candidate* chosen = leastExposed;
    if (bestSafe != nullptr) {
        bool hereSafe = here != nullptr && !Threatened(here->x, here->y);
        bool progress = here == nullptr || field(*bestSafe) < field(*here);
        // Out of every enemy's reach and unable to get closer without entering it: rather than wait for
        // ever, it walks in to where it can fire next time.
        bool stuck = hereSafe && !nextTime(*bestSafe) && !progress;
        chosen = stuck ? bestAny : bestSafe;
    }
    if (impatient_) {
        chosen = bestAny;
    }
    if (chosen == nullptr || chosen == here) {
        return stay;
    }
    if (here != nullptr) {
        bool gain = chosen == leastExposed && bestSafe == nullptr && !impatient_ ? lessExposed(*chosen, *here)
                                                                                 : better(*chosen, *here);
        bool retreat = chosen == bestSafe && Threatened(here->x, here->y);
        if (!gain && !retreat) {
            return stay;
        }
    }
    VeteranChoice move;
    move.kind = VeteranChoice::Kind::Move;
    move.x = chosen->x;
    move.y = chosen->y;
    return move;
}

VeteranChoice VeteranPlanner::Decide(const LevelMap& map, const std::vector<Unit*>& units, const Unit& self,
                                     int32_t shotsThisTurn, int64_t activation,
                                     const std::vector<PathStep>& refused) {
    if (activation != activation_) {
        activation_ = activation;
        moves_ = 0;
    }
    prepare(map, units, self);
    int64_t hpSum = 0;
    for (const Unit* unit : units) {
        hpSum += std::max(unit->hp, 0);
    }
    if (hpSum != hpSum_) {
        hpSum_ = hpSum;
        lastChange_ = activation;
    }
    impatient_ = activation - lastChange_ > PatientActivationsPerUnit * static_cast<int64_t>(units.size());
    VeteranChoice end;
    if (!inside(self.tileX, self.tileY) || self.timeUsed >= Pathfinder::TimeBudget) {
        return end;
    }
    candidates_.clear();
    candidates_.push_back(Candidate{self.tileX, self.tileY, 0});
    if (moves_ < MovesPerActivation) {
        flood(own_, self, self.timeUsed, self.distanceUsed, 0);
        for (int32_t y = std::max(0, self.tileY - self.moveDist);
             y <= std::min(height_ - 1, self.tileY + self.moveDist); ++y) {
            for (int32_t x = std::max(0, self.tileX - self.moveDist);
                 x <= std::min(width_ - 1, self.tileX + self.moveDist); ++x) {
                int32_t i = index(x, y);
                if (!own_.has(i) || occupant_[static_cast<size_t>(i)] != 0 ||
                    (x == self.tileX && y == self.tileY)) {
                    continue;
                }
                bool refusedTile = std::any_of(refused.begin(), refused.end(),
                                               [&](const PathStep& s) { return s.x == x && s.y == y; });
                int32_t cost = static_cast<int32_t>(own_.cost[static_cast<size_t>(i)]);
                if (!refusedTile && cost > 0) {
                    candidates_.push_back(Candidate{x, y, cost});
                }
            }
        }
    }
    int32_t shotsLeft = self.weapon != nullptr ? self.weapon->shots - shotsThisTurn : 0;
    VeteranChoice waiting = chooseWaitingTile();
    if (shotsLeft <= 0) {
        return waiting;
    }
    double firingScore = 0.0;
    VeteranChoice firing = chooseFiringPlan(shotsLeft, firingScore);
    if (firing.kind == VeteranChoice::Kind::End) {
        return waiting;
    }
    // Waiting is worth only the damage it avoids.
    int32_t waitX = self.tileX;
    int32_t waitY = self.tileY;
    int32_t waitTime = self.timeUsed;
    if (waiting.kind == VeteranChoice::Kind::Move) {
        waitX = waiting.x;
        waitY = waiting.y;
        waitTime += static_cast<int32_t>(own_.cost[static_cast<size_t>(index(waitX, waitY))]);
    }
    double waitingScore = -RiskWeight * lossCost(exposure(waitX, waitY, waitTime)) - TimeWorth * waitTime;
    return firingScore > waitingScore || impatient_ ? firing : waiting;
}

void VeteranPlanner::MoveMade(int64_t activation) {
    if (activation != activation_) {
        activation_ = activation;
        moves_ = 0;
    }
    ++moves_;
}
