#include "render/Camera.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

void Hold(Camera& camera, std::initializer_list<int32_t> codes) {
    camera.keys.ClearFlags();
    for (int32_t code : codes) {
        camera.keys.KeyDown(code);
    }
    camera.UpdateCamera(true);
}

} // namespace

TEST(Camera, HeldZoomKeyStepsEveryTwentySixFramesAndStopsAtTheLimit) {
    Camera camera(1.0f, 1000.0f);
    camera.SetViewDistance(60.0f);
    camera.zoomLevel = 1;
    std::vector<int> starts;
    for (int frame = 0; frame < 80; ++frame) {
        int before = camera.zoomLevel;
        Hold(camera, {17});
        if (camera.zoomLevel != before) {
            starts.push_back(frame);
        }
    }
    ASSERT_EQ(starts.size(), 2u);
    EXPECT_EQ(starts[1] - starts[0], 26);
    EXPECT_NEAR(camera.distance, 10.0f, 1e-3f);
    EXPECT_EQ(camera.zoomLevel, 3);
}

TEST(Camera, FirstApplicableKeyWinsAndOthersWait) {
    Camera camera;
    Hold(camera, {17, 30});
    EXPECT_EQ(camera.motion, CameraMotion::TurningLeft) << "zoom level 3 cannot zoom in, so the turn starts";
    Camera other;
    other.zoomLevel = 1;
    Hold(other, {17, 30});
    EXPECT_EQ(other.motion, CameraMotion::ZoomingIn);
    // While it moves, a glide request is ignored unless it is immediate.
    other.MoveCameraTo(Vector3{8, 0, 8}, false);
    EXPECT_EQ(other.motion, CameraMotion::ZoomingIn);
    other.MoveCameraTo(Vector3{8, 0, 8}, true);
    EXPECT_EQ(other.target, (Vector3{8, 0, 8}));
}

TEST(Camera, PanStepsFollowTheViewDirection) {
    Camera camera;
    Vector3 start = camera.target;
    Hold(camera, {200});
    for (int i = 0; i < 15; ++i) {
        Hold(camera, {});
    }
    EXPECT_NEAR(camera.target.x - start.x, 1.0f, 1e-4f);
    EXPECT_NEAR(camera.target.z - start.z, 0.0f, 1e-4f);
    while (camera.busy()) {
        Hold(camera, {});
    }
    // One left turn: the view is diagonal and each axis moves by a whole unit.
    Hold(camera, {30});
    while (camera.busy()) {
        Hold(camera, {});
    }
    start = camera.target;
    Hold(camera, {200});
    while (camera.busy()) {
        Hold(camera, {});
    }
    EXPECT_NEAR(std::fabs(camera.target.x - start.x), 1.0f, 1e-3f);
    EXPECT_NEAR(std::fabs(camera.target.z - start.z), 1.0f, 1e-3f);
}

TEST(Camera, EightTurnsComeBackAndGlideTakesThirtyFrames) {
    Camera camera;
    float yaw = camera.yaw;
    for (int turn = 0; turn < 8; ++turn) {
        Hold(camera, {30});
        while (camera.busy()) {
            Hold(camera, {});
        }
        EXPECT_LE(std::fabs(camera.yaw), 3.1415926f);
    }
    EXPECT_NEAR(std::cos(camera.yaw), std::cos(yaw), 1e-4f);
    EXPECT_NEAR(std::sin(camera.yaw), std::sin(yaw), 1e-4f);
    camera.MoveCameraTo(Vector3{30, 1, 60}, false);
    for (int i = 0; i < 29; ++i) {
        Hold(camera, {});
    }
    EXPECT_GT(std::fabs(camera.target.x - 30.0f), 0.1f);
    Hold(camera, {});
    EXPECT_NEAR(camera.target.x, 30.0f, 1e-3f);
    EXPECT_NEAR(camera.target.z, 60.0f, 1e-3f);
    EXPECT_TRUE(camera.busy()) << "settling";
    for (int i = 0; i < 5; ++i) {
        Hold(camera, {});
    }
    EXPECT_FALSE(camera.busy());
    // Eye sits behind the target along the view direction.
    Vector3 back = camera.target - camera.eye;
    EXPECT_NEAR(Length(back), camera.distance, 1e-2f);
}
