#include "render/ModelNode.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

AnimationKey Key(uint32_t frame, Vector3 position = {}, Quat rotation = {}, float scale = 1.0f) {
    AnimationKey key;
    key.frame = frame;
    key.transform.position = position;
    key.transform.rotation = rotation;
    key.transform.scale = scale;
    return key;
}

} // namespace

TEST(ModelNodeTest, TheActiveMarkerBobsThroughItsKeysAndLoops) {
    ModelNode marker;
    marker.FillProceduralMesh(ProceduralActiveMarker);
    ASSERT_TRUE(marker.animated);
    ASSERT_EQ(marker.tracks.size(), 1u);
    EXPECT_EQ(marker.tracks[0].length, 90u);
    EXPECT_EQ(marker.vertices.size(), 6u);
    EXPECT_EQ(marker.faces.size(), 8u);

    Transform copy = marker.transform;
    int32_t counter = 0;
    for (int frame = 1; frame <= 44; ++frame) {
        StepAnimation(marker, 0, counter, copy);
    }
    EXPECT_EQ(counter, 44);
    EXPECT_NEAR(copy.position.y, -44.0f / 45.0f, 1e-5);
    StepAnimation(marker, 0, counter, copy);
    EXPECT_EQ(copy.position.y, -1.0f) << "frame 45 copies its key exactly";
    for (int frame = 46; frame <= 89; ++frame) {
        StepAnimation(marker, 0, counter, copy);
    }
    EXPECT_NEAR(copy.position.y, -1.0f / 45.0f, 1e-5);
    StepAnimation(marker, 0, counter, copy);
    EXPECT_EQ(counter, 0) << "frame 90 is never reached: the counter wraps to 0";
    EXPECT_EQ(copy.position.y, 0.0f);
}

TEST(ModelNodeTest, StepsTurnScaleAndHoldAfterTheLastKey) {
    ModelNode node;
    node.animated = true;
    AnimationTrack track;
    Quat quarterTurn = Quat::FromAxisAngle(1.5707963f, {0, 1, 0});
    track.keys = {Key(0), Key(10, {5, 0, 0}, quarterTurn, 4.0f)};
    track.length = 20;
    node.tracks.push_back(track);
    node.PrepareForDrawing();

    Transform copy;
    int32_t counter = 0;
    for (int frame = 1; frame <= 9; ++frame) {
        StepAnimation(node, 0, counter, copy);
    }
    EXPECT_NEAR(copy.position.x, 4.5f, 1e-4);
    EXPECT_NEAR(copy.scale, std::pow(4.0f, 0.9f), 1e-4);
    Quat nineTenths = Quat::FromAxisAngle(1.5707963f * 0.9f, {0, 1, 0});
    EXPECT_NEAR(copy.rotation.w, nineTenths.w, 1e-5);
    EXPECT_NEAR(copy.rotation.y, nineTenths.y, 1e-5);

    StepAnimation(node, 0, counter, copy);
    Transform atKey = copy;
    for (int frame = 11; frame <= 19; ++frame) {
        StepAnimation(node, 0, counter, copy);
        EXPECT_EQ(copy.position.x, atKey.position.x) << "past the last key nothing changes";
    }
    StepAnimation(node, 0, counter, copy);
    EXPECT_EQ(counter, 0);
    EXPECT_EQ(copy.position.x, 0.0f);

    // A missing track leaves everything alone.
    StepAnimation(node, 3, counter, copy);
    EXPECT_EQ(counter, 0);
}

TEST(ModelNodeTest, EqualRotationsGiveTheIdentityStep) {
    AnimationTrack track;
    Quat turned = Quat::FromAxisAngle(0.7f, {0, 0, 1});
    Quat scaledCopy = turned * 2.0f;
    track.keys = {Key(0, {}, turned), Key(5, {}, scaledCopy), Key(5, {}, scaledCopy)};
    track.ComputeSteps();
    ASSERT_EQ(track.steps.size(), 2u);
    for (const FrameStep& step : track.steps) {
        EXPECT_EQ(step.rotation.w, 1.0f);
        EXPECT_EQ(step.rotation.x, 0.0f);
        EXPECT_EQ(step.rotation.z, 0.0f);
        EXPECT_TRUE(std::isfinite(step.position.x)) << "two keys on one frame must not divide by zero";
        EXPECT_TRUE(std::isfinite(step.scale));
    }
}

TEST(ModelNodeTest, NormalsFollowTheFacesAndTheTileBlockFacesUp) {
    ModelNode block;
    block.FillProceduralMesh(ProceduralTileBlock);
    EXPECT_TRUE(block.textured);
    EXPECT_EQ(block.vertices.size(), 8u);
    EXPECT_EQ(block.faces.size(), 10u);
    EXPECT_EQ(block.texVertices.size(), 12u);
    block.PrepareForDrawing();
    for (const ModelVertex& vertex : block.vertices) {
        EXPECT_EQ(vertex.normal.y, 1.0f);
    }
    // The top triangle (4, 5, 6) points up and keeps its length: twice its area.
    EXPECT_FLOAT_EQ(block.faces[0].normal.y, 16.0f);

    ModelNode plate;
    plate.FillProceduralMesh(ProceduralTileMarker);
    plate.PrepareForDrawing();
    ASSERT_EQ(plate.faces.size(), 2u);
    EXPECT_GT(plate.faces[0].normal.y, 0.0f);
    EXPECT_NEAR(plate.vertices[0].normal.y, 1.0f, 1e-6);
    EXPECT_FLOAT_EQ(plate.vertices[0].colour.a, 0.85f);

    ModelNode empty;
    empty.vertices.resize(2);
    empty.PrepareForDrawing();
    EXPECT_EQ(empty.vertices[0].normal.x, 0.0f);
}

TEST(ModelNodeTest, TexturesReachTheWholeTreeOnlyWhenRecursive) {
    ModelNode root;
    root.children.push_back(std::make_unique<ModelNode>());
    root.children[0]->name = "Turret";
    root.SetNodeTexture(7, false);
    EXPECT_TRUE(root.textured);
    EXPECT_FALSE(root.children[0]->textured);
    root.SetNodeTexture(9, true);
    EXPECT_EQ(root.children[0]->texture, 9u);
    EXPECT_EQ(root.FindNode("TURRET"), root.children[0].get());
    EXPECT_EQ(root.CountNodes(), 2);
}
