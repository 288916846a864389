#include "combat/gl/BattleParticles.h"

#include "render/Particles.h"
#include "render/gl/ParticleDrawing.h"

void EmitWeaponEffect(ParticlePool& pool, int32_t effect, const Vector3& from, const Vector3& to) {
    pool.EmitEffect(effect, from, to);
}

void ClearBattleParticles(ParticlePool& pool) {
    pool.ReleaseAllParticles();
}

void DrawBattleParticles(ParticlePool& pool, Renderer& renderer) {
    UpdateAndDrawParticles(pool, renderer);
}
