#include "hud/PickColourRegistry.h"

#include <algorithm>
#include <cstdlib>

namespace {

int CRand() {
    return std::rand();
}

// Every colour but black.
constexpr size_t ColourCount = 256u * 256u * 256u - 1u;

// Random draws tried before falling back to the first free colour.
constexpr int MaxDraws = 100000;

} // namespace

int32_t EncodePickColour(uint8_t r, uint8_t g, uint8_t b) {
    return static_cast<int32_t>(r) * 1000000 + static_cast<int32_t>(g) * 1000 + static_cast<int32_t>(b);
}

PickRgb DecodePickColour(int32_t id) {
    PickRgb colour;
    colour.r = static_cast<uint8_t>(id / 1000000);
    colour.g = static_cast<uint8_t>((id / 1000) % 1000);
    colour.b = static_cast<uint8_t>(id % 1000);
    return colour;
}

PickColourRegistry::PickColourRegistry() : random_(CRand) {}

PickColourRegistry::PickColourRegistry(RandomFunction random) : random_(random ? random : CRand) {}

int32_t PickColourRegistry::NewPickColour() {
    if (ids_.size() >= ColourCount) {
        return 0;
    }
    // A generator that keeps missing free colours must not hang the game: after many draws the first free
    // colour in order is taken instead.
    for (int attempt = 0; attempt < MaxDraws; ++attempt) {
        const int r = random_() % 256;
        const int g = random_() % 256;
        const int b = random_() % 256;
        if (r == 0 && g == 0 && b == 0) {
            continue;
        }
        const int32_t id =
            EncodePickColour(static_cast<uint8_t>(r), static_cast<uint8_t>(g), static_cast<uint8_t>(b));
        if (taken_.insert(id).second) {
            ids_.push_back(id);
            return id;
        }
    }
    for (int32_t r = 0; r < 256; ++r) {
        for (int32_t g = 0; g < 256; ++g) {
            for (int32_t b = (r == 0 && g == 0) ? 1 : 0; b < 256; ++b) {
                const int32_t id = r * 1000000 + g * 1000 + b;
                if (taken_.insert(id).second) {
                    ids_.push_back(id);
                    return id;
                }
            }
        }
    }
    return 0;
}

void PickColourRegistry::ReleasePickColour(int32_t id) {
    if (taken_.erase(id) == 0) {
        return;
    }
    ids_.erase(std::find(ids_.begin(), ids_.end(), id));
}
