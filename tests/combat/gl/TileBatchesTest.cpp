// The tile blocks as the batches draw them: where their corners lie, which sides are left out, and when the
// corners are made again.

#include "combat/gl/TileBatches.h"
#include "render/ModelNode.h"
#include "render/ModelSlots.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

void FillBlock(ModelNode& block) {
    block.FillProceduralMesh(ProceduralTileBlock);
    block.PrepareForDrawing();
}

// How many of the corners look along the axis direction (a side) or up (the top).
int CountFacing(const std::vector<TileBatches::Corner>& corners, float nx, float ny, float nz) {
    return static_cast<int>(std::count_if(corners.begin(), corners.end(), [&](const TileBatches::Corner& c) {
        const float length = std::sqrt(c.normal[0] * c.normal[0] + c.normal[1] * c.normal[1] + c.normal[2] * c.normal[2]);
        return length > 0 && std::abs(c.normal[0] / length - nx) < 1e-4f && std::abs(c.normal[1] / length - ny) < 1e-4f &&
               std::abs(c.normal[2] / length - nz) < 1e-4f;
    }));
}

} // namespace

TEST(TileBatches, BlocksLieWhereTheirTilesAreAndSidesAgainstHigherNeighboursAreLeftOut) {
    ModelNode block;
    FillBlock(block);
    LevelMap map;
    map.Resize(3, 2);
    // Row 0: 2 1 0; row 1: 1 1 3.
    const int32_t heights[6] = {2, 1, 0, 1, 1, 3};
    for (size_t i = 0; i < 6; ++i) {
        map.tiles()[i].elevation = heights[i];
        map.tiles()[i].texture = int32_t(i % 2);
    }
    map.textures[0] = 0;
    map.textures[1] = 77;
    TileBatches batches;
    batches.Update(map, block, 5);

    // A flat tile is not batched; the others are.
    EXPECT_FALSE(batches.Batched(2));
    EXPECT_TRUE(batches.Batched(0));
    EXPECT_TRUE(batches.Batched(5));
    EXPECT_TRUE(batches.CornersOf(2).empty());

    // Tile (0, 0), elevation 2, at world x 0 and z 0: its top is at 1.0 and it spans 4 units.
    const std::vector<TileBatches::Corner> first = batches.CornersOf(0);
    float top = -1.0f;
    float lowX = 1e9f;
    float highX = -1e9f;
    for (const TileBatches::Corner& c : first) {
        top = std::max(top, c.position[1]);
        lowX = std::min(lowX, c.position[0]);
        highX = std::max(highX, c.position[0]);
    }
    EXPECT_FLOAT_EQ(top, 1.0f);
    EXPECT_FLOAT_EQ(lowX, -2.0f);
    EXPECT_FLOAT_EQ(highX, 2.0f);
    // Its top faces up; every side but the one against (0, 1) (lower) and (1, 0) (lower) is at the border.
    EXPECT_EQ(CountFacing(first, 0, 1, 0), 6);
    EXPECT_EQ(first.size(), 30u);

    // Tile (1, 0), elevation 1: its -x side leans on the higher (0, 0), its +z side on (1, 1) of the same
    // height; its +x side faces the flat (2, 0) and stays.
    const std::vector<TileBatches::Corner> second = batches.CornersOf(1);
    EXPECT_EQ(second.size(), 18u);
    EXPECT_EQ(CountFacing(second, -1, 0, 0), 0);
    EXPECT_EQ(CountFacing(second, 0, 0, 1), 0);
    EXPECT_EQ(CountFacing(second, 1, 0, 0), 6);
    for (const TileBatches::Corner& c : second) {
        EXPECT_GE(c.position[0], 2.0f);
        EXPECT_LE(c.position[0], 6.0f);
    }

    // A normal comes out as the block's scale turns it: sides stay level, whatever the height.
    EXPECT_EQ(CountFacing(batches.CornersOf(5), 0, 0, -1), 6);

    // Raising the flat tile makes the corners again: it gets a block, and (1, 0) loses its +x side too.
    map.tiles()[2].elevation = 4;
    batches.Update(map, block, 5);
    EXPECT_TRUE(batches.Batched(2));
    EXPECT_EQ(batches.CornersOf(1).size(), 12u);
}
