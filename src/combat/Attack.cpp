#include "combat/CombatScreen.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

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

// The highest elevation of every rectangle of the square that has one corner on (x, y). No cell of a sight
// line from (x, y) leaves the rectangle its ends span, so when that rectangle rises nowhere above the lower
// end, no cell can block the line: on open ground the long walks are skipped.
class RectangleHeights {
public:
    RectangleHeights(const LevelMap& map, const TileSquare& square, int32_t x, int32_t y)
        : square_(square), width_(square.x1 - square.x0 + 1) {
        const size_t height = static_cast<size_t>(square.y1 - square.y0 + 1);
        highest_.resize(static_cast<size_t>(width_) * height);
        for (int32_t j : Outward(y, square.y0, square.y1)) {
            for (int32_t i : Outward(x, square.x0, square.x1)) {
                int32_t value = map.TileAt(i, j)->elevation;
                if (i != x) {
                    value = std::max(value, at(i < x ? i + 1 : i - 1, j));
                }
                if (j != y) {
                    value = std::max(value, at(i, j < y ? j + 1 : j - 1));
                }
                at(i, j) = value;
            }
        }
    }
    // The highest elevation of the rectangle spanned by (x, y) and (i, j), a tile of the square.
    int32_t HighestTo(int32_t i, int32_t j) const {
        return highest_[static_cast<size_t>(i - square_.x0) +
                        static_cast<size_t>(j - square_.y0) * static_cast<size_t>(width_)];
    }

private:
    // from, from + 1, ..., last, from - 1, ..., first: each value after its neighbour toward from.
    static std::vector<int32_t> Outward(int32_t from, int32_t first, int32_t last) {
        std::vector<int32_t> order;
        order.reserve(static_cast<size_t>(last - first + 1));
        for (int32_t v = from; v <= last; ++v) {
            order.push_back(v);
        }
        for (int32_t v = from - 1; v >= first; --v) {
            order.push_back(v);
        }
        return order;
    }
    int32_t& at(int32_t i, int32_t j) {
        return highest_[static_cast<size_t>(i - square_.x0) +
                        static_cast<size_t>(j - square_.y0) * static_cast<size_t>(width_)];
    }

    TileSquare square_;
    int32_t width_;
    std::vector<int32_t> highest_;
};

// Elevations this close to zero are exact in the single-precision arithmetic of Blocks.
constexpr int32_t exactElevation = 1 << 22;

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
    const TileSquare reach = map.ClipSquare(x, y, weapon.maxRange);
    // A unit off the grid has nothing between it and any tile (as HasLineOfSight answers for it).
    const MapTile* own = map.TileAt(x, y);
    std::optional<RectangleHeights> heights;
    if (own != nullptr && !reach.empty()) {
        heights.emplace(map, reach, x, y);
    }
    for (int32_t i = reach.x0; i <= reach.x1; ++i) {
        for (int32_t j = reach.y0; j <= reach.y1; ++j) {
            MapTile* tile = map.TileAt(i, j);
            const Unit* there = UnitAtTile(i, j);
            if (there != nullptr && there->owner.player == activeUnit->owner.player) {
                continue;
            }
            bool open = own == nullptr;
            if (heights) {
                const int32_t lower = std::min(own->elevation, tile->elevation);
                const int32_t highest = heights->HighestTo(i, j);
                open = lower >= -exactElevation && highest <= exactElevation && highest <= lower;
            }
            if (open || hasLineOfSight(i, j)) {
                tile->marker = TileMarker::Target;
            }
        }
    }
    const TileSquare tooNear = map.ClipSquare(x, y, weapon.minRange);
    for (int32_t i = tooNear.x0; i <= tooNear.x1; ++i) {
        for (int32_t j = tooNear.y0; j <= tooNear.y1; ++j) {
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
