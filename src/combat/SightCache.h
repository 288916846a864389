#pragma once

#include "combat/LevelMap.h"

#include <cstdint>
#include <vector>

// Line of sight for many queries over one map: every answer is HasLineOfSight's, worked out once and kept
// until the map's size or elevations change. Answers are kept for targets within Radius tiles of the
// viewer (farther ones are worked out every time); memory grows only with the tiles that are asked from.
class SightCache {
public:
    // Largest Chebyshev distance whose answers are kept.
    static constexpr int32_t Radius = 16;

    // Starts a round of queries on the map; forgets every answer when its size or elevations changed.
    void Prepare(const LevelMap& map);
    // Whether tile (tx, ty) can be seen from (sx, sy); both must lie on the prepared map.
    bool Sees(int32_t sx, int32_t sy, int32_t tx, int32_t ty);

private:
    static constexpr int32_t Side = 2 * Radius + 1;

    const LevelMap* map_ = nullptr;
    uint32_t width_ = 0;
    uint32_t height_ = 0;
    uint64_t fingerprint_ = 0;
    uint32_t stamp_ = 1;
    // Per viewer tile: the stamp its row was filled under, and its row of answers (0 unknown, 1 yes, 2 no).
    std::vector<uint32_t> rowStamps_;
    std::vector<std::vector<uint8_t>> rows_;
};
