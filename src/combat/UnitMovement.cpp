#include "combat/UnitMovement.h"

#include <algorithm>
#include <cmath>

const char* const WalkSound = "Sound Assets\\SFX\\Walking_Concrete\\Spider_Walk_Fast.mp3";

namespace {

constexpr float NoTurn = 0.0001f;
constexpr float HalfTurn = 3.1415926f;

Quat OrientationOf(const Unit& unit) {
    return unit.core ? unit.core->transform.rotation : Quat::Identity();
}

void SetOrientation(Unit& unit, const Quat& q) {
    if (unit.core) {
        unit.core->transform.rotation = q;
    }
}

Vector3 ModelPosition(const Unit& unit, const LevelMap& map, int32_t x, int32_t y) {
    const MapTile* tile = map.TileAt(x, y);
    return TileWorldPosition(x, y, tile != nullptr ? tile->elevation : 0, unit.heightOffset);
}

} // namespace

Vector3 FacingOf(const Unit& unit) {
    Vector3 facing = TimesVector(ToMatrix(OrientationOf(unit)), ModelForward);
    facing.y = 0.0f;
    facing.Normalise();
    return facing;
}

void FaceDirection(Unit& unit, const Vector3& direction) {
    Vector3 d{direction.x, 0.0f, direction.z};
    d.Normalise();
    if (d.x == 0.0f && d.z == 0.0f) {
        return;
    }
    // Rotation about y that takes the model's forward (1, 0, 0) to d.
    float angle = std::atan2(-d.z, d.x);
    SetOrientation(unit, Quat::FromAxisAngle(angle, Vector3{0.0f, 1.0f, 0.0f}));
}

void PlaceUnit(Unit& unit, const LevelMap& map, int32_t x, int32_t y) {
    const MapTile* tile = map.TileAt(x, y);
    PlaceOnTile(unit, x, y, tile != nullptr ? tile->elevation : 0);
}

Vector3 TileCentre(const LevelMap& map, int32_t x, int32_t y) {
    const MapTile* tile = map.TileAt(x, y);
    return Vector3{static_cast<float>(x) * 4.0f,
                   static_cast<float>(tile != nullptr ? tile->elevation : 0) * 0.5f,
                   static_cast<float>(y) * 4.0f};
}

Quat Slerp(const Quat& a, const Quat& b, float t) {
    float cosine = std::clamp(Dot(a, b), -1.0f, 1.0f);
    float theta = std::acos(cosine);
    float sine = std::sin(theta);
    if (std::fabs(sine) < 1e-6f) {
        return t < 0.5f ? a : b;
    }
    return a * (std::sin((1.0f - t) * theta) / sine) + b * (std::sin(t * theta) / sine);
}

void TickWalk(Unit& unit, const LevelMap& map, CombatHooks& hooks) {
    if (unit.movementQueue.empty()) {
        return;
    }
    const PathStep next = unit.movementQueue.front();
    Vector3 p = ModelPosition(unit, map, unit.tileX, unit.tileY);
    Vector3 q = ModelPosition(unit, map, next.x, next.y);

    if (!unit.turning && !unit.moving) {
        hooks.PlaySound(WalkSound, false, false);
        unit.turning = true;
        Vector3 facing = FacingOf(unit);
        Vector3 direction{q.x - p.x, 0.0f, q.z - p.z};
        direction.Normalise();
        float angle = std::acos(std::clamp(Dot(facing, direction), -1.0f, 1.0f));
        unit.turnAngle = angle;
        if (angle < NoTurn) {
            unit.turning = false;
            unit.moving = true;
            unit.tickCounter = 0;
            return;
        }
        Vector3 axis = Cross(facing, direction);
        if (std::fabs(angle - HalfTurn) < NoTurn) {
            axis = Vector3{0.0f, 1.0f, 0.0f};
            unit.turnAngle = -angle;
        }
        axis.Normalise();
        unit.startOrientation = OrientationOf(unit);
        unit.targetOrientation = Quat::FromAxisAngle(unit.turnAngle, axis) * unit.startOrientation;
        unit.turnTicks = static_cast<int32_t>(angle / TurnSpeed);
        unit.tickCounter = unit.turnTicks;
        return;
    }
    if (unit.turning) {
        --unit.tickCounter;
        if (unit.tickCounter < 0 || unit.turnTicks <= 0) {
            SetOrientation(unit, unit.targetOrientation);
            unit.tickCounter = 0;
            unit.turning = false;
            unit.moving = true;
            return;
        }
        float t = static_cast<float>(unit.turnTicks - unit.tickCounter) / static_cast<float>(unit.turnTicks);
        SetOrientation(unit, Slerp(unit.startOrientation, unit.targetOrientation, t));
        return;
    }
    ++unit.tickCounter;
    if (unit.tickCounter < SlideTicks + 1) {
        if (unit.core) {
            unit.core->transform.position += (q - p) / static_cast<float>(SlideTicks);
        }
        return;
    }
    unit.tickCounter = 0;
    unit.moving = false;
    unit.tileX = next.x;
    unit.tileY = next.y;
    unit.movementQueue.pop_front();
    hooks.StopSound(WalkSound);
}
