#include "combat/CombatScreen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

const char* const HitSound = "Sound Assets\\SFX\\Misc_Weapon\\Machine_PileDriver_Hit03.wav";
const char* const DestroyedSound = "Sound Assets\\SFX\\Hit\\Lift_MetalGrind_LargeHit2.wav";

ProjectileKind EffectKindOf(std::string_view name) {
    if (name.find("Double") != std::string_view::npos) {
        return ProjectileKind::Double;
    }
    if (name.find("Red") != std::string_view::npos) {
        return ProjectileKind::Red;
    }
    if (name.find("Green") != std::string_view::npos) {
        return ProjectileKind::Green;
    }
    if (name.find("Blue") != std::string_view::npos) {
        return ProjectileKind::Blue;
    }
    if (name.find("Plasma") != std::string_view::npos) {
        return ProjectileKind::Plasma;
    }
    return ProjectileKind::None;
}

int32_t ShotDamage(int32_t damage, int32_t accuracy, int32_t defense, RandomSource& random) {
    double factor = (static_cast<double>(accuracy) - static_cast<double>(defense)) / 100.0;
    double full = static_cast<double>(damage) + std::trunc(static_cast<double>(damage) * factor);
    // Bounded so that absurd module values cannot overflow the hit points.
    int32_t d = static_cast<int32_t>(std::clamp(full, -1.0, 1.0e8));
    if (d <= 0) {
        // Too inaccurate against this armour to do any harm (and no remainder by zero).
        return 0;
    }
    return random.Rand() % d + static_cast<int32_t>(d * 0.25);
}

namespace {

// Whether cell (cx, cy) rises above the sight line from S to T.
bool Blocks(const LevelMap& map, int32_t sx, int32_t sy, int32_t cx, int32_t cy, int32_t tx, int32_t ty) {
    const MapTile* s = map.TileAt(sx, sy);
    const MapTile* c = map.TileAt(cx, cy);
    const MapTile* t = map.TileAt(tx, ty);
    if (s == nullptr || c == nullptr || t == nullptr) {
        return false;
    }
    float ux = static_cast<float>(cx - sx);
    float uy = static_cast<float>(cy - sy);
    float vx = static_cast<float>(tx - sx);
    float vy = static_cast<float>(ty - sy);
    float length = std::sqrt(vx * vx + vy * vy);
    float frac = std::fabs((ux * vx + uy * vy) / length) / length;
    frac = std::max(0.0f, std::min(frac, 1.0f));
    float height = static_cast<float>(s->elevation) +
                   (static_cast<float>(t->elevation) - static_cast<float>(s->elevation)) * frac;
    // Rounded by adding 0.5 and cutting toward zero; kept in floating point so no elevation can overflow.
    return static_cast<double>(std::trunc(height + 0.5f)) < static_cast<double>(c->elevation);
}

} // namespace

bool HasLineOfSight(const LevelMap& map, int32_t sx, int32_t sy, int32_t tx, int32_t ty) {
    if (sx == tx && sy == ty) {
        return true;
    }
    int32_t dx = std::abs(tx - sx);
    int32_t dy = std::abs(ty - sy);
    int32_t stepX = tx < sx ? -1 : 1;
    int32_t stepY = ty < sy ? -1 : 1;
    int32_t x = sx;
    int32_t y = sy;
    int32_t cells = std::max(dx, dy) - 1;
    if (dy >= dx) {
        int32_t e = 2 * dx - dy;
        for (int32_t i = 0; i < cells; ++i) {
            if (e >= 0) {
                x += stepX;
                e += 2 * dx - 2 * dy;
            } else {
                e += 2 * dx;
            }
            y += stepY;
            if (Blocks(map, sx, sy, x, y, tx, ty)) {
                return false;
            }
        }
    } else {
        int32_t e = 2 * dy - dx;
        for (int32_t i = 0; i < cells; ++i) {
            x += stepX;
            if (e >= 0) {
                y += stepY;
                e += 2 * dy - 2 * dx;
            } else {
                e += 2 * dy;
            }
            if (Blocks(map, sx, sy, x, y, tx, ty)) {
                return false;
            }
        }
    }
    return true;
}

bool CombatScreen::hasLineOfSight(int32_t x, int32_t y) const {
    if (activeUnit == nullptr) {
        return false;
    }
    return HasLineOfSight(map, activeUnit->tileX, activeUnit->tileY, x, y);
}

void CombatScreen::markAttackable() {
    if (activeUnit == nullptr || activeUnit->weapon == nullptr) {
        return;
    }
    map.ClearMarkers();
    const Component& weapon = *activeUnit->weapon;
    const int32_t x = activeUnit->tileX;
    const int32_t y = activeUnit->tileY;
    for (int32_t i = x - weapon.maxRange; i <= x + weapon.maxRange; ++i) {
        for (int32_t j = y - weapon.maxRange; j <= y + weapon.maxRange; ++j) {
            MapTile* tile = map.TileAt(i, j);
            if (tile == nullptr) {
                continue;
            }
            const Unit* there = UnitAtTile(i, j);
            if ((there == nullptr || there->owner.player != activeUnit->owner.player) &&
                hasLineOfSight(i, j)) {
                tile->marker = TileMarker::Target;
            }
        }
    }
    for (int32_t i = x - weapon.minRange; i <= x + weapon.minRange; ++i) {
        for (int32_t j = y - weapon.minRange; j <= y + weapon.minRange; ++j) {
            MapTile* tile = map.TileAt(i, j);
            if (tile != nullptr && tile->passable != 0.0f) {
                tile->marker = TileMarker::None;
            }
        }
    }
}

bool CombatScreen::resolveAttack(Unit& target) {
    markersDirty = true;
    Unit* attacker = activeUnit;
    if (attacker == nullptr || attacker->weapon == nullptr) {
        return false;
    }
    const Component& weapon = *attacker->weapon;
    if (target.owner.player == attacker->owner.player || attacker->turnDone || attacker->timeUsed >= 100 ||
        static_cast<int64_t>(attacker->timeUsed) + weapon.timeCost > 100 || shotsThisTurn >= weapon.shots) {
        return false;
    }
    ++shotsThisTurn;
    const int32_t damage = ShotDamage(weapon.damage, weapon.accuracy, target.defense, random);
    target.hp -= damage;
    record.Hit(*attacker, target, damage);
    attacker->timeUsed += weapon.timeCost;
    ProjectileKind kind = EffectKindOf(weapon.name);
    if (kind != ProjectileKind::None) {
        hooks.SpawnProjectile(kind, UnitWorldPosition(*attacker), UnitWorldPosition(target));
    }
    if (target.hp > 0) {
        hooks.PlaySound(HitSound, false, false);
    } else {
        hooks.PlaySound(DestroyedSound, false, false);
        record.Destroyed(target);
        destroyUnit(&target);
    }
    undo = UndoRecord{};
    return true;
}
