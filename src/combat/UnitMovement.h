#pragma once

#include "combat/CombatHooks.h"
#include "combat/LevelMap.h"
#include "data/Unit.h"

// Walking a committed route: each tile of the movement queue is reached by turning on the spot toward it
// at a fixed angular speed, then sliding there in ten equal ticks; the tile position changes at the end.

// Sound played while a step is walked.
extern const char* const WalkSound;
// Slide ticks per tile.
constexpr int32_t SlideTicks = 10;
// Radians turned per tick (6 degrees).
constexpr float TurnSpeed = 0.10471975f;
// The direction a model faces before it is rotated, in its own space.
constexpr Vector3 ModelForward{1.0f, 0.0f, 0.0f};

// True while the unit has tiles left to walk.
inline bool IsWalking(const Unit& unit) {
    return !unit.movementQueue.empty();
}

// Advances the unit's walk by one tick; does nothing when its movement queue is empty.
void TickWalk(Unit& unit, const LevelMap& map, CombatHooks& hooks);

// The horizontal direction the unit's model faces.
Vector3 FacingOf(const Unit& unit);

// Turns the unit's model at once to face along the direction in the x-z plane (zero: nothing changes).
void FaceDirection(Unit& unit, const Vector3& direction);

// Puts the unit on tile (x, y) of the map at once, at the tile's height (elevation 0 outside the map).
void PlaceUnit(Unit& unit, const LevelMap& map, int32_t x, int32_t y);

// The world point of a tile's top, where the camera looks: (x * 4, elevation * 0.5, y * 4).
Vector3 TileCentre(const LevelMap& map, int32_t x, int32_t y);

// Spherical interpolation from a to b at fraction t.
Quat Slerp(const Quat& a, const Quat& b, float t);
