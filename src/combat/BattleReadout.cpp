#include "combat/BattleReadout.h"

#include "combat/CombatScreen.h"
#include "data/Component.h"

#include <algorithm>
#include <cmath>

// [SECTION] Route cost

RouteReadout ReadRoute(int32_t cost, int32_t timeUsed) {
    RouteReadout readout;
    readout.shown = true;
    readout.cost = cost;
    readout.left = std::max(kActivationTime - timeUsed - cost, 0);
    readout.text = std::to_string(cost) + " TU / " + std::to_string(readout.left) + " left";
    return readout;
}

RouteReadout CombatScreen::RouteUnderPointer() const {
    if (!pointer.onTile || !moveMode || editMode || paused || activeUnit == nullptr ||
        activeUnit->owner.isComputer || !activeUnit->movementQueue.empty() || pathfinder.path.empty()) {
        return {};
    }
    const MapTile* tile = map.TileAt(pointer.tileX, pointer.tileY);
    const PathStep& end = pathfinder.path.front();
    if (tile == nullptr || tile->marker != TileMarker::PathEnd || end.x != pointer.tileX ||
        end.y != pointer.tileY) {
        return {};
    }
    return ReadRoute(pathfinder.pathCost, activeUnit->timeUsed);
}

// [SECTION] Shots

DamageRange ShotDamageRange(int32_t damage, int32_t accuracy, int32_t defense) {
    // The same arithmetic as ShotDamage, at the smallest and largest random remainder.
    const double factor = (static_cast<double>(accuracy) - static_cast<double>(defense)) / 100.0;
    const double full = static_cast<double>(damage) + std::trunc(static_cast<double>(damage) * factor);
    const int32_t d = static_cast<int32_t>(std::clamp(full, -1.0, 1.0e8));
    if (d <= 0) {
        return {};
    }
    const int32_t base = static_cast<int32_t>(d * 0.25);
    return {base, d - 1 + base};
}

int32_t ShotsThatFit(const Unit& attacker, int32_t shotsThisTurn) {
    if (attacker.weapon == nullptr || attacker.turnDone) {
        return 0;
    }
    const Component& weapon = *attacker.weapon;
    int32_t fit = 0;
    int64_t time = attacker.timeUsed;
    for (int32_t shot = shotsThisTurn; shot < weapon.shots; ++shot) {
        if (time >= kActivationTime || time + weapon.timeCost > kActivationTime) {
            break;
        }
        time += weapon.timeCost;
        ++fit;
    }
    return fit;
}

Outcome OutcomeOf(int64_t lowest, int64_t highest, int32_t hp) {
    if (lowest >= hp) {
        return Outcome::Destroyed;
    }
    return highest >= hp ? Outcome::MayBeDestroyed : Outcome::Survives;
}

namespace {

std::string OutcomeText(const ShotReadout& readout) {
    if (readout.shots == 0) {
        return "No shot left";
    }
    switch (readout.oneShot) {
    case Outcome::Destroyed:
        return "One shot destroys it";
    case Outcome::MayBeDestroyed:
        return "One shot may destroy it";
    case Outcome::Survives:
        break;
    }
    const std::string shots = std::to_string(readout.shots) + " shots";
    switch (readout.allShots) {
    case Outcome::Destroyed:
        return shots + " destroy it";
    case Outcome::MayBeDestroyed:
        return shots + " may destroy it";
    case Outcome::Survives:
        break;
    }
    return "It survives";
}

} // namespace

ShotReadout ReadShot(const Unit& attacker, const Unit& target, int32_t shotsThisTurn) {
    ShotReadout readout;
    if (attacker.weapon == nullptr) {
        return readout;
    }
    const Component& weapon = *attacker.weapon;
    readout.shown = true;
    readout.damage = ShotDamageRange(weapon.damage, weapon.accuracy, target.defense);
    readout.shots = ShotsThatFit(attacker, shotsThisTurn);
    readout.oneShot = readout.shots > 0 ? OutcomeOf(readout.damage.lowest, readout.damage.highest, target.hp)
                                        : Outcome::Survives;
    readout.allShots = OutcomeOf(int64_t(readout.damage.lowest) * readout.shots,
                                 int64_t(readout.damage.highest) * readout.shots, target.hp);
    readout.lines.push_back("Damage " + std::to_string(readout.damage.lowest) + "-" +
                            std::to_string(readout.damage.highest) + " (HP " + std::to_string(target.hp) +
                            ")");
    const int32_t timeLeft = std::max(kActivationTime - attacker.timeUsed, 0);
    readout.lines.push_back(std::to_string(readout.shots) + (readout.shots == 1 ? " shot fits" : " shots fit") +
                            " in " + std::to_string(timeLeft) + " TU");
    readout.lines.push_back(OutcomeText(readout));
    return readout;
}

ShotReadout CombatScreen::ShotUnderPointer() const {
    const Unit* target = pointer.unit;
    if (target == nullptr || moveMode || editMode || paused || activeUnit == nullptr ||
        activeUnit->owner.isComputer || target->owner.player == activeUnit->owner.player) {
        return {};
    }
    const MapTile* tile = map.TileAt(target->tileX, target->tileY);
    if (tile == nullptr || tile->marker != TileMarker::Target) {
        return {};
    }
    return ReadShot(*activeUnit, *target, shotsThisTurn);
}

// [SECTION] What happened

std::string UnitDisplayName(const Unit& unit) {
    if (!unit.name.empty() && unit.name != "MECH_NAME") {
        return unit.name;
    }
    if (unit.core && !unit.core->name.empty()) {
        std::string animal(NamePrefix(unit.core->name));
        const size_t space = animal.find(' ');
        if (space != std::string::npos) {
            animal.resize(space);
        }
        return "Your " + animal;
    }
    return "A mech";
}

void BattleRecord::Reset() {
    numbers_.clear();
    log_.clear();
    sides_ = {};
    frame_ = 0;
    hasStandings = false;
    standingsBefore = {0, 0, 0};
}

void BattleRecord::Hit(const Unit& attacker, const Unit& target, int32_t damage) {
    numbers_.push_back({UnitWorldPosition(target), damage, frame_});
    sides_[attacker.owner.player == 2 ? 1 : 0].damageDealt += damage;
    sides_[target.owner.player == 2 ? 1 : 0].damageTaken += damage;
}

void BattleRecord::Destroyed(const Unit& target) {
    ++sides_[target.owner.player == 2 ? 1 : 0].unitsLost;
    log_.push_back(UnitDisplayName(target) + " destroyed");
    while (log_.size() > kLogLines) {
        log_.pop_front();
    }
}

double BattleRecord::RiseOf(const FloatingNumber& number) const {
    return std::clamp(static_cast<double>(frame_ - number.start) / static_cast<double>(kRiseFrames), 0.0, 1.0);
}

void BattleRecord::Tick() {
    ++frame_;
    std::erase_if(numbers_, [this](const FloatingNumber& number) { return frame_ - number.start >= kRiseFrames; });
}

// [SECTION] Summary page

int32_t StakeChange(int32_t stake, bool player1Won) {
    return player1Won ? -stake : stake / 2;
}

std::array<int32_t, 3> StandingsAfter(const std::array<int32_t, 3>& before, const MissionData& mission,
                                      bool player1Won) {
    const int32_t stakes[3] = {mission.fac1, mission.fac2, mission.fac3};
    std::array<int32_t, 3> after{};
    for (size_t i = 0; i < 3; ++i) {
        const int64_t moved = int64_t(before[i]) + StakeChange(stakes[i], player1Won);
        after[i] = static_cast<int32_t>(std::clamp<int64_t>(moved, 0, 100));
    }
    return after;
}

std::vector<std::string> SummaryLines(const BattleRecord& record, const MissionData& mission, bool player1Won) {
    const SideTotals& mine = record.side(1);
    const SideTotals& theirs = record.side(2);
    std::vector<std::string> lines;
    lines.push_back(player1Won ? "VICTORY" : "DEFEAT");
    lines.push_back("Units lost: yours " + std::to_string(mine.unitsLost) + ", the enemy's " +
                    std::to_string(theirs.unitsLost));
    lines.push_back("Damage dealt: " + std::to_string(mine.damageDealt));
    lines.push_back("Damage taken: " + std::to_string(mine.damageTaken));
    if (record.hasStandings) {
        const std::array<int32_t, 3> after = StandingsAfter(record.standingsBefore, mission, player1Won);
        for (size_t i = 0; i < 3; ++i) {
            lines.push_back("Faction " + std::to_string(i + 1) + " standing: " +
                            std::to_string(record.standingsBefore[i]) + " -> " + std::to_string(after[i]));
        }
    }
    return lines;
}
