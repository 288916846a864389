#pragma once

#include "render/Maths.h"

#include <cstdint>
#include <cstdlib>
#include <string>

// What the battle rules need from the rest of the game, as small interfaces: the clock, the random
// generator, and the drawing, sound, particle and layout calls that the window layer fills in. A test or the
// battle simulator drives a whole battle through them without a window.

class CombatScreen;

// Projectile looks, chosen by the weapon's name (the particle pool numbers its effects the same way).
enum class ProjectileKind : int32_t { None = -1, Red = 0, Green = 1, Blue = 2, Double = 3, Plasma = 4 };

// The particle style that draws a projectile kind (Red 3, Blue 4, Green 5, Double 6, Plasma 7); 0 for none.
inline int32_t ParticleStyleOf(ProjectileKind kind) {
    switch (kind) {
    case ProjectileKind::Red:
        return 3;
    case ProjectileKind::Blue:
        return 4;
    case ProjectileKind::Green:
        return 5;
    case ProjectileKind::Double:
        return 6;
    case ProjectileKind::Plasma:
        return 7;
    default:
        return 0;
    }
}

// The particle size of a projectile kind: 0.15 for plasma, 0.25 for the others.
inline float ParticleSizeOf(ProjectileKind kind) {
    return kind == ProjectileKind::Plasma ? 0.15f : 0.25f;
}

// The high-resolution timer as the battle sees it.
class CombatClock {
public:
    virtual ~CombatClock() = default;
    // Ticks since the timer's first use.
    virtual int64_t Elapsed() const = 0;
    // Ticks per second.
    virtual int64_t Frequency() const = 0;
};

// A clock that only moves when told to; one tick is one millisecond.
class SimulatedClock : public CombatClock {
public:
    int64_t Elapsed() const override { return now_; }
    int64_t Frequency() const override { return 1000; }
    // Moves the clock forward by the given milliseconds.
    void Advance(int64_t milliseconds) { now_ += milliseconds; }

private:
    int64_t now_ = 0;
};

// The random generator: values 0 to 32767, used as value mod n.
class RandomSource {
public:
    virtual ~RandomSource() = default;
    // The next value, 0 to 32767.
    virtual int32_t Rand() = 0;
};

// The C library generator, seeded once at start by the game.
class CRandom : public RandomSource {
public:
    int32_t Rand() override { return std::rand() & 0x7fff; }
};

// A small generator of its own, for reproducible battles (same sequence on every platform).
class SeededRandom : public RandomSource {
public:
    explicit SeededRandom(uint32_t seed) : state_(seed) {}
    int32_t Rand() override {
        state_ = state_ * 1103515245u + 12345u;
        return static_cast<int32_t>((state_ / 65536u) % 32768u);
    }

private:
    uint32_t state_;
};

// Drawing, sound, particles and layouts of a battle. Every call does nothing by default.
class CombatHooks {
public:
    virtual ~CombatHooks() = default;
    // Plays a sound file once (or looping, or streamed, for music).
    virtual void PlaySound(const std::string& path, bool stream, bool looping) {
        (void)path, (void)stream, (void)looping;
    }
    // Stops a sound file started with PlaySound.
    virtual void StopSound(const std::string& path) { (void)path; }
    // Launches the projectile of a shot between the world positions of two units (the particles fly two
    // units above them).
    virtual void SpawnProjectile(ProjectileKind kind, const Vector3& from, const Vector3& to) {
        (void)kind, (void)from, (void)to;
    }
    // Removes every particle (leaving the battle).
    virtual void ClearParticles() {}
    // Loads a button layout ("XMLFiles\GUI\combat.xml", "win.xml").
    virtual void LoadHud(const std::string& path) { (void)path; }
    // Posts a key-down message with the scan code, as if the key were held this frame.
    virtual void PostKeyDown(int32_t keyCode) { (void)keyCode; }
    // Draws one frame of the battlefield (the camera is advanced and applied here).
    virtual void DrawBattle(CombatScreen& screen) { (void)screen; }
    // Draws the victory picture of the given player and the layout.
    virtual void DrawVictory(int32_t player) { (void)player; }
    // Draws the summary page of the battle just won or lost, and the layout.
    virtual void DrawSummary(const CombatScreen& screen) { (void)screen; }
    // Draws the pause overlay.
    virtual void DrawPause() {}
    // Adds the battle's light when the battle starts; removes it when it ends.
    virtual void AddBattleLight() {}
    // Removes the light added by AddBattleLight.
    virtual void RemoveBattleLight() {}
    // Switches the options overlay's receiver on or off (the pause menu's options page).
    virtual void ShowOptions(bool shown) { (void)shown; }
};
