#include "Effects.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float pi = 3.14159265f;
constexpr int rate = effectRate;
constexpr float effectPeak = 0.8f;

Samples Silence(float seconds) {
    return Samples(static_cast<size_t>(seconds * rate), 0.0f);
}

void Mix(Samples& into, const Samples& block, float at, float gain) {
    const size_t start = static_cast<size_t>(at * rate);
    if (into.size() < start + block.size()) {
        into.resize(start + block.size(), 0.0f);
    }
    for (size_t i = 0; i < block.size(); ++i) {
        into[start + i] += block[i] * gain;
    }
}

// Inharmonic partials of struck metal.
Samples MetalRing(float base, float seconds, int partials) {
    const float ratios[6] = {1.0f, 2.76f, 5.40f, 8.93f, 1.52f, 3.91f};
    Samples out = Silence(seconds);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / rate;
        float s = 0.0f;
        for (int p = 0; p < std::min(partials, 6); ++p) {
            s += std::sin(2.0f * pi * base * ratios[p] * t) * std::exp(-t * (4.0f + 3.0f * p) / seconds) /
                 static_cast<float>(p + 1);
        }
        out[i] = s * std::min(1.0f, t * 3000.0f);
    }
    return out;
}

// Filtered noise with an exponential decay.
Samples NoiseBurst(float seconds, float cutoff, float q, bool bandPass, Rng& rng) {
    Samples out = Silence(seconds);
    StateVariableFilter filter;
    filter.Set(cutoff, q, rate);
    for (size_t i = 0; i < out.size(); ++i) {
        const float t = static_cast<float>(i) / rate;
        filter.Process(rng.Signed());
        out[i] = (bandPass ? filter.band : filter.low) * std::exp(-t * 5.0f / seconds) *
                 std::min(1.0f, t * 2000.0f);
    }
    return out;
}

// Fades both ends so the effect starts and stops without a click.
void Fade(Samples& s, float inSeconds, float outSeconds) {
    const size_t in = std::min(s.size(), static_cast<size_t>(inSeconds * rate));
    const size_t out = std::min(s.size(), static_cast<size_t>(outSeconds * rate));
    for (size_t i = 0; i < in; ++i) {
        s[i] *= static_cast<float>(i) / static_cast<float>(in);
    }
    for (size_t i = 0; i < out; ++i) {
        s[s.size() - 1 - i] *= static_cast<float>(i) / static_cast<float>(out);
    }
}

Samples Finish(Samples s) {
    Fade(s, 0.001f, 0.02f);
    Normalise(s, effectPeak);
    return s;
}

// A menu button: a latch clicking shut on a small spring.
Samples MenuClick() {
    Rng rng(101);
    Samples s = Silence(0.3f);
    Mix(s, NoiseBurst(0.02f, 5000.0f, 1.5f, true, rng), 0.0f, 0.9f);
    Mix(s, MetalRing(1250.0f, 0.18f, 4), 0.0f, 0.35f);
    Mix(s, Kick(0.08f, 300.0f, 120.0f, rate), 0.0f, 0.5f);
    Mix(s, NoiseBurst(0.015f, 4000.0f, 1.5f, true, rng), 0.06f, 0.6f);
    Mix(s, MetalRing(1700.0f, 0.12f, 3), 0.06f, 0.2f);
    return Finish(s);
}

// A generator starting: the starter whines up, the engine catches and settles into a hum.
Samples GeneratorStart() {
    Rng rng(102);
    const float seconds = 2.2f;
    Samples s = Silence(seconds);
    StateVariableFilter body;
    body.Set(900.0f, 1.2f, rate);
    float phase = 0.0f, hum = 0.0f;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) / rate;
        const float spin = std::min(1.0f, t / 1.2f);
        const float freq = 40.0f + 180.0f * spin * spin;
        phase += freq / rate;
        phase -= std::floor(phase);
        const float saw = 2.0f * phase - 1.0f;
        hum += 2.0f * pi * 50.0f / rate;
        const float chug = 0.6f + 0.4f * std::sin(2.0f * pi * (6.0f + 20.0f * spin) * t);
        body.Process(saw * chug + rng.Signed() * 0.15f);
        const float whine = std::sin(2.0f * pi * (300.0f + 900.0f * spin) * t) * 0.12f * spin;
        const float settle = t > 1.4f ? 0.6f + 0.4f * std::exp(-(t - 1.4f) * 3.0f) : 1.0f;
        s[i] = (body.low + whine + std::sin(hum) * 0.3f * spin) * std::min(1.0f, t * 4.0f) * settle;
    }
    Mix(s, MetalRing(220.0f, 0.5f, 3), 1.2f, 0.3f); // the engine catching
    Fade(s, 0.002f, 0.5f);
    // The starter relay clacks shut before anything turns.
    Mix(s, Kick(0.12f, 260.0f, 90.0f, rate), 0.0f, 0.8f);
    Mix(s, NoiseBurst(0.04f, 2500.0f, 1.0f, true, rng), 0.0f, 0.8f);
    Mix(s, MetalRing(640.0f, 0.15f, 4), 0.0f, 0.25f);
    Normalise(s, effectPeak);
    return s;
}

// A scope motor whirring to a new zoom and a short beep as it locks on.
Samples ServoZoom() {
    const float seconds = 0.42f;
    Samples s = Silence(seconds);
    StateVariableFilter filter;
    filter.Set(2500.0f, 2.0f, rate);
    float phase = 0.0f;
    for (size_t i = 0; i < s.size(); ++i) {
        const float t = static_cast<float>(i) / rate;
        const float freq = 700.0f + 700.0f * std::min(1.0f, t / 0.3f);
        phase += freq / rate;
        phase -= std::floor(phase);
        const float buzz = phase < 0.5f ? 1.0f : -1.0f;
        filter.Process(buzz * (0.7f + 0.3f * std::sin(2.0f * pi * 60.0f * t)));
        const float envelope =
            t < 0.3f ? std::min(1.0f, t * 60.0f) : std::max(0.0f, 1.0f - (t - 0.3f) * 12.0f);
        s[i] = filter.band * envelope * 0.6f;
    }
    Samples beep = Silence(0.09f);
    for (size_t i = 0; i < beep.size(); ++i) {
        const float t = static_cast<float>(i) / rate;
        beep[i] = std::sin(2.0f * pi * 2200.0f * t) * std::min(1.0f, t * 500.0f) * std::exp(-t * 25.0f);
    }
    Mix(s, beep, 0.31f, 0.5f);
    return Finish(s);
}

// A pile driver striking armour: deep thump, crack and ringing plate.
Samples PileDriverHit() {
    Rng rng(104);
    Samples s = Silence(0.8f);
    Mix(s, Kick(0.5f, 140.0f, 38.0f, rate), 0.0f, 1.0f);
    Mix(s, NoiseBurst(0.12f, 2500.0f, 0.8f, true, rng), 0.0f, 1.0f);
    Mix(s, MetalRing(310.0f, 0.7f, 6), 0.005f, 0.5f);
    Mix(s, NoiseBurst(0.3f, 600.0f, 0.7f, false, rng), 0.0f, 0.6f);
    for (float& x : s) {
        x = std::tanh(x * 1.5f);
    }
    return Finish(s);
}

// A mech destroyed: a huge hit, tearing metal grinding down and debris settling.
Samples MetalGrindHit() {
    Rng rng(105);
    const float seconds = 2.4f;
    Samples s = Silence(seconds);
    Mix(s, Kick(0.9f, 120.0f, 30.0f, rate), 0.0f, 1.0f);
    Mix(s, NoiseBurst(0.5f, 1500.0f, 0.6f, true, rng), 0.0f, 1.0f);
    Mix(s, MetalRing(180.0f, 1.5f, 6), 0.0f, 0.5f);
    // Grinding: noise through two resonances that wander, with a scraping rhythm.
    StateVariableFilter a, b;
    Samples grind = Silence(1.8f);
    for (size_t i = 0; i < grind.size(); ++i) {
        const float t = static_cast<float>(i) / rate;
        if (i % 64 == 0) {
            a.Set(900.0f + 400.0f * std::sin(2.0f * pi * 1.3f * t), 8.0f, rate);
            b.Set(2300.0f + 700.0f * std::sin(2.0f * pi * 0.7f * t + 1.0f), 10.0f, rate);
        }
        const float n = rng.Signed();
        a.Process(n);
        b.Process(n);
        const float scrape = 0.5f + 0.5f * std::sin(2.0f * pi * (14.0f - 6.0f * t) * t);
        grind[i] = (a.band + b.band) * scrape * std::exp(-t * 1.6f) * std::min(1.0f, t * 20.0f);
    }
    Mix(s, grind, 0.15f, 0.8f);
    for (int k = 0; k < 14; ++k) {
        const float at = 0.4f + 1.6f * rng.Uniform();
        Mix(s, MetalRing(600.0f + 1800.0f * rng.Uniform(), 0.12f, 3), at, 0.15f * (1.0f - at / seconds));
    }
    for (float& x : s) {
        x = std::tanh(x * 1.3f);
    }
    return Finish(s);
}

// Fast mechanical spider steps: three quick foot clanks with hydraulic hiss.
Samples SpiderSteps() {
    Rng rng(106);
    Samples s = Silence(0.55f);
    for (int step = 0; step < 3; ++step) {
        const float at = 0.02f + 0.16f * static_cast<float>(step);
        Mix(s, Kick(0.08f, 220.0f, 90.0f, rate), at, 0.7f);
        Mix(s, NoiseBurst(0.03f, 3500.0f, 1.2f, true, rng), at, 0.6f);
        Mix(s, MetalRing(900.0f + 150.0f * static_cast<float>(step), 0.1f, 4), at + 0.004f, 0.25f);
        Mix(s, NoiseBurst(0.09f, 6000.0f, 0.7f, true, rng), at + 0.05f, 0.18f);
    }
    return Finish(s);
}

} // namespace

std::vector<EffectSound> MakeEffects() {
    return {
        {"Sound Assets\\SFX\\Menu_Sounds\\Menu_Mechanical03.wav", MenuClick(), rate},
        {"Sound Assets\\SFX\\Start_Up\\Machine_Generator_Start02.wav", GeneratorStart(), rate},
        {"Sound Assets\\SFX\\Zoom\\Servo_Zoom_ScopeOn.wav", ServoZoom(), rate},
        {"Sound Assets\\SFX\\Misc_Weapon\\Machine_PileDriver_Hit03.wav", PileDriverHit(), rate},
        {"Sound Assets\\SFX\\Hit\\Lift_MetalGrind_LargeHit2.wav", MetalGrindHit(), rate},
        {"Sound Assets\\SFX\\Walking_Concrete\\Spider_Walk_Fast.mp3", SpiderSteps(), rate},
    };
}
