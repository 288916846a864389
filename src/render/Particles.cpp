#include "render/Particles.h"

namespace {

constexpr ParticleStyle beamStyle{1, 0, 0, 0.5f, 0.75f, 0.5f, 0.75f, 0.25};
constexpr ParticleStyle styles[] = {
    {1, 0, 0, 0.5f, 0.75f, 0.5f, 0.75f, 0.25},
    {0, 0, 1, 0.5f, 0.75f, 0.5f, 0.75f, 0.25},
    {0, 1, 0, 0.5f, 0.75f, 0.5f, 0.75f, 0.25},
    {0, 0, 0, 0.55f, 0.7f, 0.55f, 0.7f, 0.25},
    {1, 0.17777778f, 0.6533333f, 0.6f, 0.65f, 0.6f, 0.65f, 0.15},
};

// Raised so beams leave from the weapon rather than the ground.
const Vector3 muzzleHeight{0, 2, 0};

} // namespace

const ParticleStyle& StyleOfParticle(int32_t kind) {
    if (kind >= ParticleRed && kind <= ParticlePlasma) {
        return styles[kind - ParticleRed];
    }
    return beamStyle;
}

ParticlePool::ParticlePool() : particles_(capacity), next_(capacity) {
    for (int i = 0; i < capacity; ++i) {
        next_[static_cast<size_t>(i)] = i + 1 < capacity ? i + 1 : -1;
    }
    freeHead_ = 0;
    activeHead_ = -1;
}

ParticlePool::~ParticlePool() {
    ReleaseAllParticles();
}

void ParticlePool::Emit(int count, const Vector3& start, const Vector3& target, int32_t kind,
                        double lifeStep) {
    // A particle that never ages would hold its record for ever: it lives one frame instead.
    if (!(lifeStep > 0.0)) {
        lifeStep = 1.0;
    }
    for (int n = 0; n < count; ++n) {
        if (freeHead_ < 0) {
            return;
        }
        int index = freeHead_;
        freeHead_ = next_[static_cast<size_t>(index)];
        next_[static_cast<size_t>(index)] = activeHead_;
        activeHead_ = index;

        Particle& particle = particles_[static_cast<size_t>(index)];
        particle.start = start;
        particle.head = target;
        particle.velocity = {};
        particle.kind = kind;
        particle.age = 0.0;
        particle.lifeStep = lifeStep;
    }
}

void ParticlePool::EmitEffect(int32_t effect, const Vector3& start, const Vector3& end) {
    int32_t kind = 0;
    switch (effect) {
    case EffectRed:
        kind = ParticleRed;
        break;
    case EffectGreen:
        kind = ParticleGreen;
        break;
    case EffectBlue:
        kind = ParticleBlue;
        break;
    case EffectDouble:
        kind = ParticleDouble;
        break;
    case EffectPlasma:
        kind = ParticlePlasma;
        break;
    default:
        return;
    }
    Emit(1, start + muzzleHeight, end + muzzleHeight, kind, StyleOfParticle(kind).lifeStep);
}

void ParticlePool::Update() {
    int previous = -1;
    int index = activeHead_;
    while (index >= 0) {
        Particle& particle = particles_[static_cast<size_t>(index)];
        int following = next_[static_cast<size_t>(index)];
        if (particle.age >= 1.0) {
            if (previous < 0) {
                activeHead_ = following;
            } else {
                next_[static_cast<size_t>(previous)] = following;
            }
            next_[static_cast<size_t>(index)] = freeHead_;
            freeHead_ = index;
        } else {
            if (particle.age == 0.0) {
                // The head still holds the target: the beam covers one life step of the way per frame.
                particle.velocity = (particle.head - particle.start) * static_cast<float>(particle.lifeStep);
                particle.head = particle.start + particle.velocity;
            } else {
                particle.head += particle.velocity;
                if (particle.kind == ParticleDouble) {
                    particle.start += particle.velocity;
                }
            }
            particle.age += particle.lifeStep;
            previous = index;
        }
        index = following;
    }
}

void ParticlePool::ReleaseAllParticles() {
    while (activeHead_ >= 0) {
        int index = activeHead_;
        activeHead_ = next_[static_cast<size_t>(index)];
        next_[static_cast<size_t>(index)] = freeHead_;
        freeHead_ = index;
    }
}

int ParticlePool::ActiveCount() const {
    int count = 0;
    for (int index = activeHead_; index >= 0; index = next_[static_cast<size_t>(index)]) {
        ++count;
    }
    return count;
}

void ParticlePool::ForEachActive(const std::function<void(const Particle&)>& fn) const {
    for (int index = activeHead_; index >= 0; index = next_[static_cast<size_t>(index)]) {
        fn(particles_[static_cast<size_t>(index)]);
    }
}
