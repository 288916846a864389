#include "render/Particles.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<Particle> Active(const ParticlePool& pool) {
    std::vector<Particle> particles;
    pool.ForEachActive([&](const Particle& p) { particles.push_back(p); });
    return particles;
}

} // namespace

TEST(ParticlesTest, ARedShotGrowsToItsTargetInFourFrames) {
    ParticlePool pool;
    pool.EmitEffect(EffectRed, {0, 0, 0}, {8, 0, 0});
    for (int frame = 1; frame <= 4; ++frame) {
        pool.Update();
        auto particles = Active(pool);
        ASSERT_EQ(particles.size(), 1u);
        EXPECT_FLOAT_EQ(particles[0].head.x, 2.0f * static_cast<float>(frame));
        EXPECT_FLOAT_EQ(particles[0].head.y, 2.0f);
        EXPECT_FLOAT_EQ(particles[0].start.x, 0.0f);
        EXPECT_FLOAT_EQ(particles[0].start.y, 2.0f);
        EXPECT_EQ(particles[0].kind, ParticleRed);
    }
    pool.Update();
    EXPECT_EQ(pool.ActiveCount(), 0);
}

TEST(ParticlesTest, BoltsTravelAndPlasmaLivesEightFrames) {
    ParticlePool pool;
    pool.EmitEffect(EffectDouble, {0, 0, 0}, {0, 0, 8});
    pool.Update();
    pool.Update();
    auto bolt = Active(pool);
    ASSERT_EQ(bolt.size(), 1u);
    EXPECT_FLOAT_EQ(bolt[0].start.z, 2.0f);
    EXPECT_FLOAT_EQ(bolt[0].head.z, 4.0f);
    pool.ReleaseAllParticles();

    pool.EmitEffect(EffectPlasma, {0, 0, 0}, {1, 0, 0});
    int updates = 0;
    while (pool.ActiveCount() > 0 && updates < 100) {
        pool.Update();
        ++updates;
    }
    EXPECT_EQ(updates, 8);

    pool.EmitEffect(5, {0, 0, 0}, {1, 0, 0});
    pool.EmitEffect(-1, {0, 0, 0}, {1, 0, 0});
    EXPECT_EQ(pool.ActiveCount(), 0);
}

TEST(ParticlesTest, ThePoolDropsEmissionsBeyondItsCapacity) {
    ParticlePool pool;
    for (int i = 0; i < 2001; ++i) {
        pool.EmitEffect(EffectBlue, {0, 0, 0}, {static_cast<float>(i), 0, 0});
    }
    EXPECT_EQ(pool.ActiveCount(), ParticlePool::capacity);
    auto particles = Active(pool);
    EXPECT_FLOAT_EQ(particles.front().head.x, 1999.0f) << "the newest particle comes first";

    pool.ReleaseAllParticles();
    EXPECT_EQ(pool.ActiveCount(), 0);
    pool.Emit(ParticlePool::capacity + 5, {}, {1, 0, 0}, ParticleGreen, 0.25);
    EXPECT_EQ(pool.ActiveCount(), ParticlePool::capacity);
    for (int frame = 0; frame < 5; ++frame) {
        pool.Update();
    }
    EXPECT_EQ(pool.ActiveCount(), 0);
}
