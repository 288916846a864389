#pragma once

#include "render/Maths.h"

#include <cstdint>
#include <functional>
#include <vector>

// Weapon fire is shown as short-lived beams and bolts. The pool holds a fixed number of particles made
// once; emitting takes a record from the free list, expiry gives it back, and nothing is allocated later.

// What a particle looks like and how it moves; only the weapon kinds 3 to 7 are emitted.
enum ParticleKind : int32_t {
    ParticleRed = 3,
    ParticleBlue = 4,
    ParticleGreen = 5,
    ParticleDouble = 6,
    ParticlePlasma = 7,
};

// The weapon effects an attack asks for.
enum WeaponEffectKind : int32_t {
    EffectRed = 0,
    EffectGreen = 1,
    EffectBlue = 2,
    EffectDouble = 3,
    EffectPlasma = 4,
};

struct Particle {
    Vector3 start;
    Vector3 head;
    Vector3 velocity;
    double age = 0.0;
    double lifeStep = 0.0;
    int32_t kind = 0;
};

// Colour, texture rectangle and life of a particle kind.
struct ParticleStyle {
    float r, g, b;
    float u0, u1, v0, v1;
    double lifeStep;
};

// The style of a kind; kinds without a style of their own draw like a red beam.
const ParticleStyle& StyleOfParticle(int32_t kind);

class ParticlePool {
public:
    static constexpr int capacity = 2000;

    // Makes all records, every one free.
    ParticlePool();
    // Gives every active record back first.
    ~ParticlePool();
    ParticlePool(const ParticlePool&) = delete;
    ParticlePool& operator=(const ParticlePool&) = delete;

    // Starts up to count particles from start toward target; stops quietly when the pool is exhausted.
    void Emit(int count, const Vector3& start, const Vector3& target, int32_t kind, double lifeStep);
    // Starts the one particle of a weapon effect, two units above the given points; other effects start
    // nothing.
    void EmitEffect(int32_t effect, const Vector3& start, const Vector3& end);
    // Moves every live particle one frame and frees those whose age reached 1.
    void Update();
    // Gives every active record back to the free list.
    void ReleaseAllParticles();

    // Number of active particles.
    int ActiveCount() const;
    // Calls fn for every active particle, newest first.
    void ForEachActive(const std::function<void(const Particle&)>& fn) const;

private:
    std::vector<Particle> particles_;
    std::vector<int> next_;
    int freeHead_ = -1;
    int activeHead_ = -1;
};
