#include "combat/SightCache.h"

#include "combat/CombatScreen.h"

#include <algorithm>
#include <cstdlib>

namespace {

uint64_t Fingerprint(const LevelMap& map) {
    uint64_t hash = 1469598103934665603ull ^ (static_cast<uint64_t>(map.width()) << 32 | map.height());
    for (const MapTile& tile : map.tiles()) {
        hash = (hash ^ static_cast<uint32_t>(tile.elevation)) * 1099511628211ull;
    }
    return hash;
}

} // namespace

void SightCache::Prepare(const LevelMap& map) {
    uint64_t fingerprint = Fingerprint(map);
    size_t count = static_cast<size_t>(map.width()) * map.height();
    if (&map == map_ && fingerprint == fingerprint_ && rows_.size() == count && width_ == map.width()) {
        return;
    }
    map_ = &map;
    width_ = map.width();
    height_ = map.height();
    fingerprint_ = fingerprint;
    if (rows_.size() != count) {
        rows_.assign(count, std::vector<uint8_t>());
        rowStamps_.assign(count, 0);
    }
    if (++stamp_ == 0) {
        std::fill(rowStamps_.begin(), rowStamps_.end(), 0);
        stamp_ = 1;
    }
}

bool SightCache::Sees(int32_t sx, int32_t sy, int32_t tx, int32_t ty) {
    int32_t ox = tx - sx;
    int32_t oy = ty - sy;
    if (map_ == nullptr || std::abs(ox) > Radius || std::abs(oy) > Radius || sx < 0 || sy < 0 ||
        static_cast<uint32_t>(sx) >= width_ || static_cast<uint32_t>(sy) >= height_) {
        return map_ != nullptr && HasLineOfSight(*map_, sx, sy, tx, ty);
    }
    size_t viewer = static_cast<size_t>(sx) + static_cast<size_t>(sy) * width_;
    std::vector<uint8_t>& row = rows_[viewer];
    if (rowStamps_[viewer] != stamp_) {
        row.assign(static_cast<size_t>(Side) * Side, 0);
        rowStamps_[viewer] = stamp_;
    }
    uint8_t& answer = row[static_cast<size_t>(ox + Radius) + static_cast<size_t>(oy + Radius) * Side];
    if (answer == 0) {
        answer = HasLineOfSight(*map_, sx, sy, tx, ty) ? 1 : 2;
    }
    return answer == 1;
}
