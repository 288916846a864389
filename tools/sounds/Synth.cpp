#include "Synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float pi = 3.14159265f;

// Removes the step of a naive saw at its wrap (polynomial band-limited step).
float PolyBlep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

float BlepSaw(float phase, float dt) {
    return 2.0f * phase - 1.0f - PolyBlep(phase, dt);
}

int SampleCount(float seconds, int rate) {
    return std::max(1, static_cast<int>(seconds * static_cast<float>(rate)));
}

} // namespace

float Rng::Uniform() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<float>(state_ >> 8) / 16777216.0f;
}

int Rng::Below(int n) {
    return n > 0 ? static_cast<int>(Uniform() * static_cast<float>(n)) % n : 0;
}

float NoteFrequency(float midiNote) {
    return 440.0f * std::pow(2.0f, (midiNote - 69.0f) / 12.0f);
}

void StateVariableFilter::Set(float cutoff, float q, float rate) {
    cutoff = std::clamp(cutoff, 20.0f, rate * 0.45f);
    const float g = std::tan(pi * cutoff / rate);
    k_ = 1.0f / std::max(q, 0.1f);
    a1_ = 1.0f / (1.0f + g * (g + k_));
    a2_ = g * a1_;
    a3_ = g * a2_;
}

void StateVariableFilter::Process(float in) {
    const float v3 = in - ic2_;
    const float v1 = a1_ * ic1_ + a2_ * v3;
    const float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0f * v1 - ic1_;
    ic2_ = 2.0f * v2 - ic2_;
    low = v2;
    band = v1;
    high = in - k_ * v1 - v2;
}

float Envelope::At(float t, float held) const {
    float level;
    if (t < attack) {
        level = t / attack;
    } else if (t < attack + decay) {
        level = 1.0f - (1.0f - sustain) * (t - attack) / decay;
    } else {
        level = sustain;
    }
    if (t > held) {
        const float released = 1.0f - (t - held) / std::max(release, 1e-4f);
        level = std::min(level, sustain) * std::max(0.0f, released);
    }
    return level;
}

Samples Pluck(float freq, float seconds, float brightness, int rate, Rng& rng) {
    // The loop's delay is the line, half a sample of averaging and a fractional all-pass that tunes it.
    const float period = static_cast<float>(rate) / freq;
    const int length = std::max(2, static_cast<int>(period - 0.6f));
    const float fraction = std::clamp(period - 0.5f - static_cast<float>(length), 0.1f, 1.1f);
    const float tuning = (1.0f - fraction) / (1.0f + fraction);
    Samples line(static_cast<size_t>(length));
    for (float& s : line) {
        s = rng.Signed();
    }
    // Soften the initial burst for darker strings.
    for (int pass = 0; pass < static_cast<int>((1.0f - brightness) * 4.0f); ++pass) {
        for (int i = 1; i < length; ++i) {
            line[i] = 0.5f * (line[i] + line[i - 1]);
        }
    }
    Samples out(static_cast<size_t>(SampleCount(seconds, rate)));
    const float damping = 0.996f;
    int at = 0;
    float previous = 0.0f, allPassIn = 0.0f, allPassOut = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        const float current = line[at];
        const float averaged = 0.5f * (current + previous) * damping;
        previous = current;
        allPassOut = tuning * averaged + allPassIn - tuning * allPassOut;
        allPassIn = averaged;
        line[at] = allPassOut;
        out[i] = current;
        at = (at + 1) % length;
    }
    // A short fade at the end so the note never stops on a click.
    const size_t fade = std::min<size_t>(out.size(), static_cast<size_t>(rate / 50));
    for (size_t i = 0; i < fade; ++i) {
        out[out.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(fade);
    }
    return out;
}

Samples FilteredSaw(float freq, float held, const Envelope& env, float cutoff0, float cutoff1, float q,
                    int voices, int rate) {
    const float seconds = held + env.release;
    Samples out(static_cast<size_t>(SampleCount(seconds, rate)));
    std::vector<float> phases(static_cast<size_t>(voices), 0.0f);
    for (int v = 0; v < voices; ++v) {
        phases[v] = static_cast<float>(v) / static_cast<float>(voices);
    }
    StateVariableFilter filter;
    const float fs = static_cast<float>(rate);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / fs;
        if (i % 32 == 0) {
            const float sweep = std::min(1.0f, t / std::max(held, 0.01f));
            filter.Set(cutoff0 + (cutoff1 - cutoff0) * sweep, q, fs);
        }
        float sum = 0.0f;
        for (int v = 0; v < voices; ++v) {
            const float detune =
                voices > 1 ? 1.0f + 0.006f * (static_cast<float>(v) / (voices - 1) - 0.5f) : 1.0f;
            const float dt = freq * detune / fs;
            sum += BlepSaw(phases[v], dt);
            phases[v] += dt;
            if (phases[v] >= 1.0f) {
                phases[v] -= 1.0f;
            }
        }
        filter.Process(sum / static_cast<float>(voices));
        out[i] = filter.low * env.At(t, held);
    }
    return out;
}

Samples PowerChord(float freq, float held, float drive, int rate) {
    Envelope env{0.004f, 0.15f, 0.75f, 0.06f};
    Samples root = FilteredSaw(freq, held, env, 3200.0f, 1800.0f, 0.8f, 2, rate);
    const Samples fifth = FilteredSaw(freq * 1.4983f, held, env, 3200.0f, 1800.0f, 0.8f, 2, rate);
    const Samples octave = FilteredSaw(freq * 2.0f, held, env, 3000.0f, 1600.0f, 0.8f, 1, rate);
    const float norm = std::tanh(drive);
    for (size_t i = 0; i < root.size(); ++i) {
        const float mixed = root[i] + 0.8f * fifth[std::min(i, fifth.size() - 1)] +
                            0.4f * octave[std::min(i, octave.size() - 1)];
        root[i] = std::tanh(mixed * drive) / norm * 0.6f;
    }
    // Take the fizz off the top of the distortion.
    StateVariableFilter tone;
    tone.Set(2600.0f, 0.7f, static_cast<float>(rate));
    for (float& s : root) {
        tone.Process(s);
        s = tone.low;
    }
    return root;
}

Samples Bell(float freq, float seconds, float ratio, float index, int rate) {
    Samples out(static_cast<size_t>(SampleCount(seconds, rate)));
    const float fs = static_cast<float>(rate);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / fs;
        const float decay = std::exp(-t * 3.0f / seconds);
        const float modulator = std::sin(2.0f * pi * freq * ratio * t) * index * decay;
        const float attack = std::min(1.0f, t * 400.0f);
        out[i] = std::sin(2.0f * pi * freq * t + modulator) * decay * attack;
    }
    return out;
}

Samples Lead(float freq, float held, const Envelope& env, float cutoff, int rate) {
    const float seconds = held + env.release;
    Samples out(static_cast<size_t>(SampleCount(seconds, rate)));
    const float fs = static_cast<float>(rate);
    StateVariableFilter filter;
    filter.Set(cutoff, 0.9f, fs);
    float phase = 0.0f, phase2 = 0.5f;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / fs;
        const float vibrato = 1.0f + 0.004f * std::sin(2.0f * pi * 5.5f * t) * std::min(1.0f, t * 3.0f);
        const float dt = freq * vibrato / fs;
        // A square as the difference of two saws half a period apart.
        const float square = BlepSaw(phase, dt) - BlepSaw(phase2, dt);
        phase += dt;
        phase2 += dt;
        phase -= std::floor(phase);
        phase2 -= std::floor(phase2);
        filter.Process(square * 0.5f);
        out[i] = filter.low * env.At(t, held);
    }
    return out;
}

Samples Kick(float seconds, float startFreq, float endFreq, int rate) {
    Samples out(static_cast<size_t>(SampleCount(seconds, rate)));
    const float fs = static_cast<float>(rate);
    float phase = 0.0f;
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / fs;
        const float freq = endFreq + (startFreq - endFreq) * std::exp(-t * 30.0f);
        phase += 2.0f * pi * freq / fs;
        const float amp = std::exp(-t * 5.0f / seconds) * std::min(1.0f, t * 2000.0f);
        out[i] = std::sin(phase) * amp;
    }
    return out;
}

Samples Snare(float seconds, float tone, int rate, Rng& rng) {
    Samples out(static_cast<size_t>(SampleCount(seconds, rate)));
    const float fs = static_cast<float>(rate);
    StateVariableFilter filter;
    filter.Set(3000.0f, 0.7f, fs);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / fs;
        filter.Process(rng.Signed());
        const float noise = filter.band * 1.6f * std::exp(-t * 4.5f / seconds);
        const float body = std::sin(2.0f * pi * tone * t) * std::exp(-t * 30.0f) * 0.7f;
        out[i] = (noise + body) * std::min(1.0f, t * 3000.0f);
    }
    return out;
}

Samples HiHat(float seconds, int rate, Rng& rng) {
    Samples out(static_cast<size_t>(SampleCount(seconds, rate)));
    const float fs = static_cast<float>(rate);
    StateVariableFilter filter;
    filter.Set(fs * 0.3f, 0.8f, fs);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / fs;
        filter.Process(rng.Signed());
        out[i] = filter.high * std::exp(-t * 5.0f / seconds);
    }
    return out;
}

void LoopBuffer::Add(long at, const Samples& block, float gain) {
    const long length = static_cast<long>(samples_.size());
    if (length == 0) {
        return;
    }
    long pos = ((at % length) + length) % length;
    for (float s : block) {
        samples_[static_cast<size_t>(pos)] += s * gain;
        if (++pos == length) {
            pos = 0;
        }
    }
}

void LoopBuffer::Echo(float delaySeconds, float feedback, float mix) {
    const size_t length = samples_.size();
    const size_t delay = std::max<size_t>(1, static_cast<size_t>(delaySeconds * static_cast<float>(rate_)));
    if (length == 0) {
        return;
    }
    Samples line(delay, 0.0f);
    Samples wet(length, 0.0f);
    size_t at = 0;
    // The second time round the echoes of the loop's end have reached its start.
    for (int pass = 0; pass < 2; ++pass) {
        for (size_t i = 0; i < length; ++i) {
            const float delayed = line[at];
            line[at] = samples_[i] + delayed * feedback;
            at = (at + 1) % delay;
            wet[i] = delayed;
        }
    }
    for (size_t i = 0; i < length; ++i) {
        samples_[i] += wet[i] * mix;
    }
}

void Normalise(Samples& samples, float peak) {
    float loudest = 0.0f;
    for (float s : samples) {
        loudest = std::max(loudest, std::fabs(s));
    }
    if (loudest <= 0.0f) {
        return;
    }
    const float gain = peak / loudest;
    for (float& s : samples) {
        s *= gain;
    }
}
