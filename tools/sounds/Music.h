#pragma once

#include "Synth.h"

#include <string>
#include <vector>

// One piece of music the game plays, as a seamless loop.
struct MusicPiece {
    std::string gamePath;
    Samples samples;
};

// Sample rate of the music files.
inline constexpr int musicRate = 22050;

// Composes every piece of music the game names: menu, options, credits, combat, world map and build screen.
std::vector<MusicPiece> ComposeMusic();
