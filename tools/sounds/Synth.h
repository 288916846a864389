#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The sound generator's instruments: each renders one note or hit into a block of mono float samples.

// A small deterministic random generator, so every build writes the same sounds.
class Rng {
public:
    explicit Rng(uint32_t seed) : state_(seed ? seed : 1u) {}
    // Next value in [0, 1).
    float Uniform();
    // Next value in [-1, 1).
    float Signed() { return 2.0f * Uniform() - 1.0f; }
    // Next integer in [0, n).
    int Below(int n);

private:
    uint32_t state_;
};

// Frequency of a MIDI note number (69 = A 440 Hz).
float NoteFrequency(float midiNote);

// A two-pole state-variable filter (low, band and high outputs at once).
class StateVariableFilter {
public:
    // Sets the cutoff in Hz and the resonance (0.5 = gentle, 5 = sharp).
    void Set(float cutoff, float q, float rate);
    // Filters one sample; the three outputs are then available.
    void Process(float in);
    float low = 0.0f, band = 0.0f, high = 0.0f;

private:
    float a1_ = 0.0f, a2_ = 0.0f, a3_ = 0.0f, k_ = 1.0f, ic1_ = 0.0f, ic2_ = 0.0f;
};

// Attack, decay, sustain and release of a note, in seconds and a level.
struct Envelope {
    float attack = 0.005f, decay = 0.1f, sustain = 0.7f, release = 0.1f;
    // Level at time t of a note held for the given length.
    float At(float t, float held) const;
};

using Samples = std::vector<float>;

// A plucked string (guitar-like), ringing for the given time.
Samples Pluck(float freq, float seconds, float brightness, int rate, Rng& rng);
// Saw-wave voices (detuned when several) through a swept low-pass filter.
Samples FilteredSaw(float freq, float held, const Envelope& env, float cutoff0, float cutoff1, float q,
                    int voices, int rate);
// A distorted power chord (root, fifth, octave).
Samples PowerChord(float freq, float held, float drive, int rate);
// A bell from two-operator frequency modulation.
Samples Bell(float freq, float seconds, float ratio, float index, int rate);
// A soft square-ish lead with vibrato.
Samples Lead(float freq, float held, const Envelope& env, float cutoff, int rate);
// Drums.
Samples Kick(float seconds, float startFreq, float endFreq, int rate);
Samples Snare(float seconds, float tone, int rate, Rng& rng);
Samples HiHat(float seconds, int rate, Rng& rng);

// A loop of mono samples: anything added past the end continues from the start, so the file loops cleanly.
class LoopBuffer {
public:
    LoopBuffer(int rate, int length) : rate_(rate), samples_(static_cast<size_t>(length), 0.0f) {}
    // Adds a block at a sample position, scaled by gain.
    void Add(long at, const Samples& block, float gain);
    // Adds a feedback echo of the whole loop (delay in seconds), as it sounds once the loop has run a while.
    void Echo(float delaySeconds, float feedback, float mix);
    int rate() const { return rate_; }
    const Samples& samples() const { return samples_; }
    Samples& samples() { return samples_; }

private:
    int rate_;
    Samples samples_;
};

// Scales the samples so the loudest one reaches the given peak.
void Normalise(Samples& samples, float peak);
