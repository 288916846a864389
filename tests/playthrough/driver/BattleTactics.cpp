#include "driver/BattleTactics.h"

#include "combat/CombatScreen.h"
#include "combat/UnitMovement.h"
#include "combat/gl/CombatState.h"
#include "data/Component.h"
#include "driver/GameDriver.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

int32_t Chebyshev(int32_t ax, int32_t ay, int32_t bx, int32_t by) {
    return std::max(std::abs(ax - bx), std::abs(ay - by));
}

TileMarker MarkerAt(const CombatScreen& screen, int32_t x, int32_t y) {
    const MapTile* tile = screen.map.TileAt(x, y);
    return tile != nullptr ? tile->marker : TileMarker::None;
}

} // namespace

BattleTactics::BattleTactics(GameDriver& driver) : screen(GetCombatScreen()), driver_(driver) {}

bool BattleTactics::Won() const {
    return screen.player1Won || screen.player2Won;
}

bool BattleTactics::Settled() const {
    const Unit* unit = screen.activeUnit;
    return unit != nullptr && !unit->owner.isComputer && !unit->turnDone && !IsWalking(*unit) &&
           !screen.camera.busy() && !screen.markersDirty && !screen.paused;
}

bool BattleTactics::AwaitOrder(int maxFrames) {
    return driver_.RunUntil([this] { return Won() || Settled(); }, maxFrames) && !Won();
}

std::optional<PixelPoint> BattleTactics::Find(int32_t pickId) {
    for (int notch = 0; notch < 4; ++notch) {
        if (std::optional<PixelPoint> point = PickView::Capture().ClickPoint(pickId)) {
            return point;
        }
        // Out of view: a notch of the wheel zooms out, and the camera takes a few frames to get there.
        driver_.Wheel(-1);
        driver_.RunUntil([this] { return !screen.camera.busy(); }, 60);
        driver_.Frames(2);
    }
    return std::nullopt;
}

bool BattleTactics::Hover(int32_t x, int32_t y) {
    const std::optional<PixelPoint> point = Find(TilePickId(screen, x, y));
    if (!point) {
        return false;
    }
    driver_.MoveMouse(point->x, point->y);
    return true;
}

bool BattleTactics::HoverUnit(const Unit& unit) {
    const std::optional<PixelPoint> point = Find(PickIdOf(unit));
    if (!point) {
        return false;
    }
    driver_.MoveMouse(point->x, point->y);
    return true;
}

std::optional<PathStep> BattleTactics::StepTowardEnemy() const {
    const Unit* unit = screen.activeUnit;
    if (unit == nullptr) {
        return std::nullopt;
    }
    const Unit* enemy = screen.NearestEnemy(unit->tileX, unit->tileY);
    if (enemy == nullptr) {
        return std::nullopt;
    }
    std::optional<PathStep> best;
    int64_t bestScore = std::numeric_limits<int64_t>::max();
    for (int32_t dy = -1; dy <= 1; ++dy) {
        for (int32_t dx = -1; dx <= 1; ++dx) {
            const int32_t x = unit->tileX + dx;
            const int32_t y = unit->tileY + dy;
            if ((dx == 0 && dy == 0) || MarkerAt(screen, x, y) != TileMarker::Reachable ||
                screen.UnitAtTile(x, y) != nullptr) {
                continue;
            }
            // Nearest by steps first, then by straight distance.
            const int64_t ex = enemy->tileX - x;
            const int64_t ey = enemy->tileY - y;
            const int64_t score =
                int64_t(Chebyshev(x, y, enemy->tileX, enemy->tileY)) * 100000 + ex * ex + ey * ey;
            if (score < bestScore) {
                bestScore = score;
                best = PathStep{x, y};
            }
        }
    }
    return best;
}

std::optional<PathStep> BattleTactics::FarthestReachable() const {
    const Unit* unit = screen.activeUnit;
    if (unit == nullptr) {
        return std::nullopt;
    }
    std::optional<PathStep> best;
    int32_t bestDistance = 0;
    for (int32_t y = 0; y < int32_t(screen.map.height()); ++y) {
        for (int32_t x = 0; x < int32_t(screen.map.width()); ++x) {
            const int32_t distance = Chebyshev(x, y, unit->tileX, unit->tileY);
            if (MarkerAt(screen, x, y) == TileMarker::Reachable && distance > bestDistance &&
                screen.UnitAtTile(x, y) == nullptr) {
                bestDistance = distance;
                best = PathStep{x, y};
            }
        }
    }
    return best;
}

bool BattleTactics::MoveTo(int32_t x, int32_t y) {
    Unit* unit = screen.activeUnit;
    if (unit == nullptr || !Hover(x, y) || MarkerAt(screen, x, y) != TileMarker::PathEnd) {
        return false;
    }
    const PixelPoint at = driver_.pointer();
    driver_.Click(at.x, at.y);
    driver_.RunUntil([&] { return !IsWalking(*unit) && !screen.camera.busy() && !screen.markersDirty; }, 600);
    return unit->tileX == x && unit->tileY == y;
}

void BattleTactics::ToggleMode() {
    driver_.PressKey(SDL_SCANCODE_LSHIFT);
    driver_.RunUntil([this] { return !screen.markersDirty; }, 30);
}

Unit* BattleTactics::Target() const {
    const Unit* unit = screen.activeUnit;
    if (unit == nullptr || unit->weapon == nullptr || screen.moveMode) {
        return nullptr;
    }
    const Component& weapon = *unit->weapon;
    if (unit->timeUsed + weapon.timeCost > 100 || screen.shotsThisTurn >= weapon.shots) {
        return nullptr;
    }
    Unit* weakest = nullptr;
    for (Unit* other : screen.turnQueue) {
        if (other->owner.player != unit->owner.player &&
            MarkerAt(screen, other->tileX, other->tileY) == TileMarker::Target &&
            (weakest == nullptr || other->hp < weakest->hp)) {
            weakest = other;
        }
    }
    return weakest;
}

bool BattleTactics::FireAt(Unit& target) {
    const int32_t shots = screen.shotsThisTurn;
    const std::optional<PixelPoint> point = Find(PickIdOf(target));
    if (!point) {
        return false;
    }
    driver_.Click(point->x, point->y);
    // The shot is taken in the frame of the click, and the markers are refreshed in the next.
    driver_.RunUntil([this] { return !screen.markersDirty; }, 30);
    return screen.shotsThisTurn > shots;
}

void BattleTactics::EndActivation() {
    const Unit* acting = screen.activeUnit;
    const int64_t activations = screen.activations;
    driver_.PressKey(SDL_SCANCODE_SPACE);
    driver_.RunUntil(
        [&] { return Won() || screen.activations != activations || screen.activeUnit != acting; }, 600);
}

void BattleTactics::PlayActivation(const std::function<void(const char* step)>& onStep) {
    auto report = [&onStep](const char* step) {
        if (onStep) {
            onStep(step);
        }
    };
    if (std::optional<PathStep> step = StepTowardEnemy()) {
        if (MoveTo(step->x, step->y)) {
            report("moved");
        }
    }
    ToggleMode();
    report("attack mode");
    while (Unit* target = Target()) {
        if (!FireAt(*target)) {
            break;
        }
        report("fired");
        if (Won()) {
            return;
        }
    }
    EndActivation();
}
