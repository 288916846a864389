#pragma once

#include "render/Particles.h"

class Renderer;

// Texture slot of the particle atlas.
constexpr int particleTextureSlot = 15;

// Moves every particle one frame, then draws all live ones as camera-facing quads in one unlit, blended
// batch with the particle atlas; afterwards blending and texturing are off and the shader lit again.
void UpdateAndDrawParticles(ParticlePool& pool, Renderer& renderer);
