#pragma once

#include "Synth.h"

#include <string>
#include <vector>

// One sound effect the game plays, with the sample rate it is written at.
struct EffectSound {
    std::string gamePath;
    Samples samples;
    int rate = 0;
};

// Sample rate of the effects.
inline constexpr int effectRate = 44100;

// Synthesises every effect the game names: menu click, start-up, hover zoom, hit, destruction and steps.
std::vector<EffectSound> MakeEffects();
