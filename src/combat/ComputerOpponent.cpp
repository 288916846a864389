#include "combat/CombatScreen.h"
#include "combat/UnitMovement.h"

#include <cmath>
#include <cstdlib>
#include <limits>

Unit* CombatScreen::NearestEnemy(int32_t x, int32_t y) const {
    if (activeUnit == nullptr) {
        return nullptr;
    }
    Unit* nearest = nullptr;
    int32_t best = std::numeric_limits<int32_t>::max();
    for (Unit* unit : turnQueue) {
        if (unit->owner.player == activeUnit->owner.player) {
            continue;
        }
        int32_t d = std::max(std::abs(unit->tileX - x), std::abs(unit->tileY - y));
        if (d < best) {
            best = d;
            nearest = unit;
        }
    }
    return nearest;
}

OpponentRule CombatScreen::RuleOf(const Unit& unit) const {
    int32_t player = unit.owner.player;
    return player == 1 || player == 2 ? opponentRules[static_cast<size_t>(player - 1)]
                                      : OpponentRule::Classic;
}

void CombatScreen::veteranStep(Unit& unit) {
    auto endActivation = [&] {
        aiTarget = nullptr;
        unit.turnDone = true;
    };
    std::vector<PathStep> refused;
    // A tile the planner chose but no route of the player's rules reaches is refused and the next best
    // taken; after a few refusals the activation ends.
    for (int attempt = 0; attempt < 4; ++attempt) {
        VeteranChoice choice = veteran.Decide(map, turnQueue, unit, shotsThisTurn, activations, refused);
        if (choice.kind == VeteranChoice::Kind::End) {
            break;
        }
        if (choice.kind == VeteranChoice::Kind::Shoot) {
            // The same attack markers a player fires by; a target off them is never shot at.
            markAttackable();
            moveMode = false;
            const MapTile* tile = map.TileAt(choice.target->tileX, choice.target->tileY);
            aiTarget = choice.target;
            if (tile == nullptr || tile->marker != TileMarker::Target || !resolveAttack(*choice.target)) {
                break;
            }
            return;
        }
        PathStep target{choice.x, choice.y};
        moveMode = true;
        pathfinder.MovePreview(map, *this, MoverOf(unit), &target, false);
        const std::vector<PathStep>& path = pathfinder.path;
        if (!path.empty() && path.front().x == target.x && path.front().y == target.y &&
            pathfinder.pathCost > 0) {
            veteran.MoveMade(activations);
            CommitMove(target.x, target.y);
            return;
        }
        refused.push_back(target);
    }
    endActivation();
}

void CombatScreen::AiStep() {
    if (activeUnit == nullptr) {
        return;
    }
    Unit& unit = *activeUnit;
    auto endActivation = [&] {
        aiTarget = nullptr;
        unit.turnDone = true;
    };
    if (IsWalking(unit)) {
        lastAiActionTime = clock.Elapsed();
    }
    int64_t elapsed = clock.Elapsed() - lastAiActionTime;
    if (elapsed * 1000 / clock.Frequency() < aiActionMilliseconds || camera.busy()) {
        return;
    }
    if (RuleOf(unit) == OpponentRule::Veteran) {
        veteranStep(unit);
        lastAiActionTime = clock.Elapsed();
        return;
    }
    if (aiTarget == nullptr) {
        aiTarget = NearestEnemy(unit.tileX, unit.tileY);
    }
    if (moveMode) {
        markAttackable();
        moveMode = false;
    }
    if (aiTarget == nullptr) {
        endActivation();
        lastAiActionTime = clock.Elapsed();
        return;
    }
    const MapTile* targetTile = map.TileAt(aiTarget->tileX, aiTarget->tileY);
    int32_t shots = unit.weapon != nullptr ? unit.weapon->shots : 0;
    if (targetTile != nullptr && targetTile->marker == TileMarker::Target && shotsThisTurn < shots) {
        float frac = std::fabs(static_cast<float>(unit.timeUsed) / 100.0f);
        int32_t r = random.Rand() % 100;
        if (shotsThisTurn > 0 && (frac > 0.9f || (0.9f - frac) * 100.0f / 0.9f < static_cast<float>(r))) {
            endActivation();
        } else if (!resolveAttack(*aiTarget)) {
            // A shot it cannot afford would otherwise be tried again every second.
            endActivation();
        }
    } else if (unit.timeUsed >= 100) {
        endActivation();
    } else if (unit.distanceUsed < unit.moveDist) {
        moveMode = true;
        PathStep target{aiTarget->tileX, aiTarget->tileY};
        // The target's own tile is marked Target by the flood; the route may end on it so that the unit
        // walks up to an enemy it can reach but not see (the commit then stops it one tile short).
        pathfinder.MovePreview(map, *this, MoverOf(unit), &target, true, true);
        bool standsStill = pathfinder.path.empty() && pathfinder.pathCost <= 0;
        CommitMove(target.x, target.y);
        if (standsStill) {
            // Nothing was charged, so the same move would be tried again for ever.
            endActivation();
        }
    } else {
        endActivation();
    }
    lastAiActionTime = clock.Elapsed();
}
