#pragma once

#include "render/Maths.h"

#include <cstdint>

// The particle calls of a battle, kept apart because the particle pool and the battle rules each name their
// own weapon effect kinds.

class ParticlePool;
class Renderer;

// Launches the projectile of a weapon effect (0 red, 1 green, 2 blue, 3 double, 4 plasma) between two points.
void EmitWeaponEffect(ParticlePool& pool, int32_t effect, const Vector3& from, const Vector3& to);
// Removes every particle.
void ClearBattleParticles(ParticlePool& pool);
// Moves the particles one frame and draws them unlit with the particle atlas.
void DrawBattleParticles(ParticlePool& pool, Renderer& renderer);
