#pragma once

#include "combat/LevelMap.h"

#include <cstdint>
#include <vector>

struct ModelNode;

// The battlefield's tile blocks as a few draws, one per texture: every block's corners are kept in world
// coordinates in one vertex buffer, made again only when a tile's elevation or texture changes. A frame
// then names the tiles it shows, in the order it wants them drawn.
class TileBatches {
public:
    TileBatches() = default;
    ~TileBatches();
    TileBatches(const TileBatches&) = delete;
    TileBatches& operator=(const TileBatches&) = delete;

    // Makes the corners again when the map's tiles or textures changed since the last call. Tiles of
    // elevation 0 have no block of their own here (their scale flattens the block; see Batched).
    void Update(const LevelMap& map, const ModelNode& block, uint32_t whiteTexture);
    // True when the tile at index is one of the batched blocks.
    bool Batched(size_t index) const { return index < first_.size() && first_[index] >= 0; }
    // Starts a frame's list of tiles.
    void Begin();
    // Adds the tile at index (batched) to this frame's draws.
    void Add(size_t index);
    // Draws the tiles added since Begin, textured and lit by the current state: one draw per texture.
    void Draw();

    // One corner of a block as it is drawn: world position, the normal its block's matrix would give, and
    // the texture coordinate.
    struct Corner {
        float position[3];
        float normal[3];
        float uv[2];
    };
    // The corners the tile at index is drawn with (none for a tile not batched).
    std::vector<Corner> CornersOf(size_t index) const {
        if (!Batched(index)) {
            return {};
        }
        const auto first = corners_.begin() + first_[index];
        return {first, first + count_[index]};
    }

private:
    struct Key {
        int32_t elevation;
        uint32_t texture;
        bool operator==(const Key&) const = default;
    };

    std::vector<Key> keys_;
    uint32_t width_ = 0;
    std::vector<Corner> corners_;
    // Where each tile's corners start, -1 for a tile not batched.
    std::vector<int32_t> first_;
    std::vector<uint32_t> textureOf_;
    // How many corners each tile has (its sides against higher neighbours are left out).
    std::vector<uint32_t> count_;
    uint32_t buffer_ = 0;
    bool uploaded_ = false;
    // This frame's indices, one list per texture in the order textures first came up.
    std::vector<uint32_t> textures_;
    std::vector<std::vector<uint32_t>> indices_;
};
