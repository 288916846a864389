#include "data/Component.h"
#include "data/Unit.h"
#include "platform/sdl/Texture.h"
#include "render/gl/GlTestContext.h"
#include "render/gl/ModelDrawing.h"
#include "render/gl/ParticleDrawing.h"
#include "render/gl/Renderer.h"

#include <FreeImage.h>
#include <GL/glu.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <sstream>

namespace {

// A textured box of half-size 1 in the file's z-up space, every triangle facing outwards.
std::string BoxAse() {
    std::ostringstream ase;
    ase << "*SCENE {\n*SCENE_TICKSPERFRAME 160\n}\n*GEOMOBJECT {\n*NODE_NAME \"Box\"\n";
    auto corner = [](int x, int y, int z) { return (x > 0 ? 1 : 0) + (y > 0 ? 2 : 0) + (z > 0 ? 4 : 0); };
    for (int i = 0; i < 8; ++i) {
        ase << "*MESH_VERTEX " << i << " " << ((i & 1) ? 1 : -1) << " " << ((i & 2) ? 1 : -1) << " "
            << ((i & 4) ? 1 : -1) << "\n";
    }
    int face = 0;
    std::ostringstream tfaces;
    for (int axis = 0; axis < 3; ++axis) {
        for (int sign : {-1, 1}) {
            const int cycle[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
            int quad[4];
            for (int k = 0; k < 4; ++k) {
                int c[3];
                c[axis] = sign;
                c[(axis + 1) % 3] = cycle[k][0];
                c[(axis + 2) % 3] = cycle[k][1];
                quad[k] = corner(c[0], c[1], c[2]);
            }
            // Counter-clockwise seen from outside when the face normal is +axis; reversed for -axis.
            if (sign < 0) {
                std::swap(quad[1], quad[3]);
            }
            for (int half = 0; half < 2; ++half) {
                int b = half == 0 ? 1 : 2, c = half == 0 ? 2 : 3;
                ase << "*MESH_FACE " << face << ": A: " << quad[0] << " B: " << quad[b] << " C: " << quad[c]
                    << "\n";
                tfaces << "*MESH_TFACE " << face << " 0 " << b << " " << c << "\n";
                ++face;
            }
        }
    }
    ase << "*MESH_TVERT 0 0 0 0\n*MESH_TVERT 1 1 0 0\n*MESH_TVERT 2 1 1 0\n*MESH_TVERT 3 0 1 0\n"
        << tfaces.str();
    ase << "*MATERIAL_REF 0\n}\n";
    return ase.str();
}

std::string Temp(const std::string& name) {
    return testing::TempDir() + "vantor_scene_" + name;
}

// A checker picture of two colours in 4 x 4 blocks, saved as PNG and loaded as a texture.
uint32_t CheckerTexture(const std::string& name, RGBQUAD a, RGBQUAD b) {
    FIBITMAP* bitmap = FreeImage_Allocate(16, 16, 24);
    for (unsigned y = 0; y < 16; ++y) {
        for (unsigned x = 0; x < 16; ++x) {
            RGBQUAD c = ((x / 4) + (y / 4)) % 2 == 0 ? a : b;
            FreeImage_SetPixelColor(bitmap, x, y, &c);
        }
    }
    std::string path = Temp(name);
    FreeImage_Save(FIF_PNG, bitmap, path.c_str(), 0);
    FreeImage_Unload(bitmap);
    uint32_t texture = LoadTexture(path);
    std::remove(path.c_str());
    return texture;
}

// Window pixel (x from the left, y from the top) of a world point under the current matrices.
void Project(const Vector3& point, int& x, int& y) {
    GLdouble modelview[16], projection[16], wx = 0, wy = 0, wz = 0;
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(point.x, point.y, point.z, modelview, projection, viewport, &wx, &wy, &wz);
    x = static_cast<int>(wx);
    y = gltest::height - 1 - static_cast<int>(wy);
}

void SaveFrame(const std::string& path) {
    std::vector<uint8_t> pixels(static_cast<size_t>(gltest::width) * gltest::height * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, gltest::width, gltest::height, GL_BGR, GL_UNSIGNED_BYTE, pixels.data());
    FIBITMAP* frame =
        FreeImage_ConvertFromRawBits(pixels.data(), gltest::width, gltest::height, gltest::width * 3, 24,
                                     FI_RGBA_RED_MASK, FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    FreeImage_Save(FIF_PNG, frame, path.c_str(), 0);
    FreeImage_Unload(frame);
}

struct MarkerColour {
    int x, y;
    float r, g, b;
    const char* name;
};

// Marker plates and their colours on the 4 x 4 grid; other tiles carry none.
const MarkerColour markers[] = {
    {0, 0, 0, 0, 1, "blue"},  {1, 1, 1, 0, 0, "red"},  {2, 2, 1, 0.65f, 0, "orange"},
    {3, 3, 0, 1, 0, "green"}, {3, 0, 0, 0, 1, "blue"}, {0, 3, 1, 0, 0, "red"},
};

bool Dominates(const std::vector<uint8_t>& p, const MarkerColour& m) {
    const int r = p[0], g = p[1], b = p[2];
    if (m.b > 0.5f) {
        return b > r + 40 && b > g + 40;
    }
    if (m.g > 0.9f) {
        return g > r + 40 && g > b + 40;
    }
    if (m.g > 0.5f) {
        return r > b + 40 && g > b + 40 && r > g;
    }
    return r > g + 40 && r > b + 40;
}

class SceneTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(gltest::MakeCurrent()) << "no OpenGL display; run under xvfb-run";
        ASSERT_TRUE(renderer.BuildLightingShader());
        renderer.shader.ActivateShader();
        renderer.SetupGLState();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(60.0, 800.0 / 600.0, 0.1, 10000.0);
        glMatrixMode(GL_MODELVIEW);

        renderer.camera.target = {10, 0, 6};
        renderer.camera.yaw = 0.0f;
        renderer.camera.pitch = 0.8f;
        renderer.camera.SetViewDistance(40.0f);
        renderer.camera.UpdateCamera(false);

        block.BuildProceduralModel(ProceduralTileBlock);
        plate.BuildProceduralModel(ProceduralTileMarker);
        std::string path = Temp("box.ase");
        std::ofstream(path) << BoxAse();
        box = LoadAse(loader, path);
        std::remove(path.c_str());
        ASSERT_NE(box, nullptr);
        ASSERT_EQ(box->faces.size(), 12u);
    }
    void TearDown() override { glUseProgram(0); }

    void PlaceBox() {
        Transform placement;
        placement.position = boxPosition;
        placement.scale = 2.5f;
        placement.rotation = Quat::FromAxisAngle(0.7f, {0.6f, 0.8f, 0.0f});
        ApplyTransform(placement);
    }

    Renderer renderer;
    AseLoader loader;
    ModelNode block;
    ModelNode plate;
    std::unique_ptr<ModelNode> box;
    const Vector3 boxPosition{23, 3, 4};
};

} // namespace

TEST_F(SceneTest, FlatModeReadsBackExactIds) {
    glClearColor(0, 0, 0, 1);
    renderer.ClearFrame();
    renderer.ApplyCamera();
    glEnable(GL_DEPTH_TEST);
    renderer.SetLightingMode(Flat);
    glDisable(GL_DITHER);

    glPushMatrix();
    glTranslatef(4, 0, 4);
    glColor3ub(1, 0, 7);
    glCallList(block.plainList);
    glPopMatrix();
    glPushMatrix();
    PlaceBox();
    glColor3ub(200, 3, 99);
    glCallList(box->plainList);
    glPopMatrix();
    glEnable(GL_DITHER);

    int x = 0, y = 0;
    Project({4, 0.5f, 4}, x, y);
    EXPECT_EQ(gltest::IdAt(x, y), 1000007);
    Project(boxPosition, x, y);
    EXPECT_EQ(gltest::IdAt(x, y), 200003099);
    Project({12, 0.5f, 12}, x, y);
    EXPECT_EQ(gltest::IdAt(x, y), 0) << "where nothing was drawn the pass stays black";
    renderer.SetLightingMode(Lit);
}

TEST_F(SceneTest, ALitTexturedModelBesideAGridOfMarkedTiles) {
    const uint32_t ground = CheckerTexture("ground.png", {150, 150, 150, 0}, {110, 110, 110, 0});
    const uint32_t paint = CheckerTexture("paint.png", {40, 140, 230, 0}, {230, 230, 230, 0});
    box->SetNodeTexture(paint, true);
    box->BuildDisplayLists();

    renderer.AddLight({0.2f, 0.2f, 0.2f}, {0.7f, 0.7f, 0.7f}, {0.6f, 0.6f, 0.6f}, {0, 10, 0},
                      {-0.4f, -1.0f, -0.6f}, 3);
    renderer.AddLight({0, 0, 0}, {0.5f, 0.4f, 0.3f}, {0.3f, 0.3f, 0.3f}, {28, 8, 10}, {0, -1, 0}, 1);
    renderer.BeginScene();
    renderer.SetMaterial(0.1f, 0.1f, 0.1f, 1.0f);

    for (int x = 0; x < 4; ++x) {
        for (int y = 0; y < 4; ++y) {
            glPushMatrix();
            glTranslatef(static_cast<float>(x) * 4, 0, static_cast<float>(y) * 4);
            // The block has no texture of its own: each tile binds its own before drawing it.
            glBindTexture(GL_TEXTURE_2D, ground);
            glCallList(block.fullList);
            glPopMatrix();
        }
    }
    for (const MarkerColour& m : markers) {
        glPushMatrix();
        renderer.SetLightingMode(Unlit);
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        glTranslatef(static_cast<float>(m.x) * 4, 0.003f, static_cast<float>(m.y) * 4);
        glColor4f(m.r, m.g, m.b, 0.65f);
        glCallList(plate.plainList);
        glDisable(GL_BLEND);
        renderer.SetLightingMode(Lit);
        glPopMatrix();
    }
    renderer.SetMaterial(1, 1, 1, 8);
    glPushMatrix();
    PlaceBox();
    glCallList(box->fullList);
    glPopMatrix();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));

    SaveFrame(std::string(VANTOR_RUN_DIR) + "/../tests/lit_scene.png");

    for (const MarkerColour& m : markers) {
        int x = 0, y = 0;
        Project({static_cast<float>(m.x) * 4 + 0.7f, 0.5f, static_cast<float>(m.y) * 4 + 0.7f}, x, y);
        std::vector<uint8_t> p = gltest::PixelAt(x, y);
        EXPECT_TRUE(Dominates(p, m)) << m.name << " marker on tile (" << m.x << ", " << m.y << ") reads "
                                     << int(p[0]) << ", " << int(p[1]) << ", " << int(p[2]);
    }
    int x = 0, y = 0;
    Project({4 + 0.7f, 0.5f, 8 + 0.7f}, x, y);
    std::vector<uint8_t> bare = gltest::PixelAt(x, y);
    EXPECT_LT(std::abs(bare[0] - bare[2]), 12) << "an unmarked tile stays grey";
    EXPECT_GT(bare[0], 20);

    // The lit box: neither black nor one flat colour.
    Project(boxPosition, x, y);
    std::set<int> shades;
    int brightest = 0;
    for (int dy = -30; dy <= 30; dy += 3) {
        for (int dx = -30; dx <= 30; dx += 3) {
            std::vector<uint8_t> p = gltest::PixelAt(x + dx, y + dy);
            shades.insert(p[0] * 65536 + p[1] * 256 + p[2]);
            brightest = std::max({brightest, int(p[0]), int(p[1]), int(p[2])});
        }
    }
    EXPECT_GT(brightest, 80);
    EXPECT_GT(shades.size(), 8u);
}

TEST_F(SceneTest, ComponentTreesDrawTheirCoreAndAnimateOnlyInTheVisiblePass) {
    renderer.models[1] = std::move(box);
    renderer.models[1]->animated = true;
    AnimationTrack spin;
    spin.keys.resize(2);
    spin.keys[1].frame = 10;
    spin.keys[1].transform.position = boxPosition + Vector3{10, 0, 0};
    spin.keys[0].transform.position = boxPosition;
    spin.length = 20;
    spin.ComputeSteps();
    renderer.models[1]->tracks.push_back(spin);

    Component core;
    core.modelSlot = 1;
    core.transform.position = boxPosition;
    core.transform.scale = 2.5f;
    PrepareCoreModel(core, 0, renderer);
    ASSERT_EQ(core.model, renderer.model(1));
    ASSERT_NE(core.displayList, 0u);
    auto undrawn = std::make_unique<Component>();
    undrawn->modelSlot = 0;
    undrawn->displayList = renderer.model(1)->MakeTexturedList(0);
    undrawn->transform.position = {-30, 0, 0};
    core.children.push_back(std::move(undrawn));

    glClearColor(0, 0, 0, 1);
    renderer.ClearFrame();
    renderer.ApplyCamera();
    renderer.SetLightingMode(Flat);
    glColor3ub(9, 8, 7);
    DrawComponent(core, true);
    int x = 0, y = 0;
    Project(boxPosition, x, y);
    EXPECT_EQ(gltest::IdAt(x, y), 9008007);
    EXPECT_EQ(core.animationFrame, 0) << "the pick pass does not advance the animation";

    renderer.SetLightingMode(Lit);
    DrawComponent(core, false);
    EXPECT_EQ(core.animationFrame, 1);
    EXPECT_FLOAT_EQ(core.transform.position.x, boxPosition.x + 1.0f);
    glUseProgram(0);
}

TEST_F(SceneTest, AComponentTreesReachHoldsEveryCornerItDrawsAndHiddenTreesKeepAnimating) {
    renderer.models[1] = std::move(box);
    ModelNode* model = renderer.model(1);
    model->animated = true;
    AnimationTrack slide;
    slide.keys.resize(2);
    slide.keys[1].frame = 10;
    slide.keys[1].transform.position = Vector3{10, 0, 0};
    slide.length = 20;
    slide.ComputeSteps();
    model->tracks.push_back(slide);

    Component core;
    core.modelSlot = 1;
    core.transform.scale = 2.0f;
    core.transform.rotation = Quat{0.8f, 0.0f, 0.6f, 0.0f};
    PrepareCoreModel(core, 0, renderer);
    auto arm = std::make_unique<Component>();
    arm->modelSlot = 1;
    arm->model = model;
    arm->transform.position = {3, 1, -2};
    arm->transform.scale = 0.5f;
    Component* armNode = arm.get();
    core.children.push_back(std::move(arm));

    // Every corner of both meshes, carried into the core's parent space, lies within the reach.
    const float reach = ComponentReach(core);
    float farthest = 0.0f;
    for (const ModelVertex& vertex : model->vertices) {
        farthest = std::max(farthest, Length(core.transform.Apply(vertex.position)));
        farthest = std::max(farthest, Length(core.transform.Apply(armNode->transform.Apply(vertex.position))));
    }
    EXPECT_GE(reach, farthest - 1e-4f);
    EXPECT_LT(reach, 4.0f * farthest) << "a reach far beyond the mesh would keep hidden mechs drawn";

    // Out of sight, the mech's animation goes on at the pace of a drawn one.
    StepComponentAnimations(core);
    EXPECT_EQ(core.animationFrame, 1);
    EXPECT_FLOAT_EQ(core.transform.position.x, 1.0f);

    // A list of no known model could reach anywhere.
    armNode->model = nullptr;
    armNode->displayList = core.displayList;
    EXPECT_TRUE(std::isinf(ComponentReach(core)));
    armNode->displayList = 0;
}

TEST_F(SceneTest, ParticlesDrawAsOneBatchFacingTheCamera) {
    ParticlePool pool;
    pool.EmitEffect(EffectRed, {0, 0, 6}, {16, 0, 6});
    for (int frame = 0; frame < 4; ++frame) {
        renderer.BeginScene();
        UpdateAndDrawParticles(pool, renderer);
    }
    int x = 0, y = 0;
    Project({12, 2, 6}, x, y);
    std::vector<uint8_t> beam = gltest::PixelAt(x, y);
    EXPECT_GT(beam[0], 200);
    EXPECT_LT(beam[1], 60);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    GLint mode = -1;
    glGetUniformiv(renderer.shader.program, renderer.uniformLocation(0), &mode);
    EXPECT_EQ(mode, Lit);

    renderer.BeginScene();
    UpdateAndDrawParticles(pool, renderer);
    EXPECT_EQ(pool.ActiveCount(), 0);
    EXPECT_EQ(gltest::PixelAt(x, y)[1], gltest::PixelAt(x, y)[0]) << "the spent beam is gone";
}

TEST_F(SceneTest, CoresWearThePictureOfTheirSkinNotTheScreenInTheSameSlot) {
    renderer.models[1] = std::move(box);
    // Slot 0 is the logo screen; the skins live elsewhere (0 ArmyPlayer in 33, 1 Army1 in 4, 11 Ace in 34).
    // (Colours are given blue, green, red.)
    renderer.textures[0] = CheckerTexture("logo.png", {255, 0, 0, 0}, {255, 0, 0, 0});
    renderer.textures[33] = CheckerTexture("player.png", {0, 255, 0, 0}, {0, 255, 0, 0});
    renderer.textures[4] = CheckerTexture("army1.png", {0, 0, 255, 0}, {0, 0, 255, 0});
    renderer.textures[34] = CheckerTexture("ace.png", {255, 255, 255, 0}, {255, 255, 255, 0});
    struct Case {
        int32_t skin;
        uint8_t r, g, b;
    };
    const Case cases[] = {
        {0, 0, 255, 0}, {1, 255, 0, 0}, {11, 255, 255, 255}, {12, 0, 255, 0}, {-1, 0, 255, 0}};
    for (const Case& c : cases) {
        Component core;
        core.modelSlot = 1;
        PrepareCoreModel(core, c.skin, renderer);
        ASSERT_NE(core.displayList, 0u);
        glClearColor(0, 0, 0, 1);
        renderer.ClearFrame();
        renderer.ApplyCamera();
        renderer.SetLightingMode(Unlit);
        glPushMatrix();
        PlaceBox();
        glCallList(core.displayList);
        glPopMatrix();
        int x = 0, y = 0;
        Project(boxPosition, x, y);
        const std::vector<uint8_t> p = gltest::PixelAt(x, y);
        EXPECT_NEAR(p[0], c.r, 2) << "skin " << c.skin;
        EXPECT_NEAR(p[1], c.g, 2) << "skin " << c.skin;
        EXPECT_NEAR(p[2], c.b, 2) << "skin " << c.skin;
    }
    EXPECT_EQ(SkinTextureSlot(5), 35);
    EXPECT_EQ(SkinTextureSlot(10), 40);
    EXPECT_EQ(SkinTextureSlot(2), 5);
    EXPECT_EQ(SkinTextureSlot(3), 32);
    EXPECT_EQ(SkinTextureSlot(4), 22);
}

TEST_F(SceneTest, AMechUnderTheBattleLightKeepsTheColourOfItsPaint) {
    // A red skin, as the first enemy army wears, under the battle's light and the units' material.
    const uint32_t paint = CheckerTexture("red.png", {37, 43, 156, 0}, {37, 43, 156, 0});
    box->SetNodeTexture(paint, true);
    box->BuildDisplayLists();
    renderer.AddLight({0.5f, 0.5f, 0.5f}, {0.2f, 0.2f, 0.2f}, {0.7f, 0.7f, 0.7f}, {0, 10, 0}, {0, -1, 0}, 3);
    renderer.BeginScene();
    renderer.SetLightingMode(Lit);
    renderer.SetMaterial(1, 1, 1, 1);
    glPushMatrix();
    PlaceBox();
    glCallList(box->fullList);
    glPopMatrix();

    int x = 0, y = 0;
    Project(boxPosition, x, y);
    int sampled = 0;
    for (int dy = -20; dy <= 20; dy += 4) {
        for (int dx = -20; dx <= 20; dx += 4) {
            const std::vector<uint8_t> p = gltest::PixelAt(x + dx, y + dy);
            if (p[0] < 40) {
                continue;
            }
            ++sampled;
            // The highlight brightens the paint without bleaching it toward white.
            EXPECT_GT(p[0], 2 * p[1])
                << "at " << dx << ", " << dy << ": " << int(p[0]) << ", " << int(p[1]) << ", " << int(p[2]);
            EXPECT_GT(p[0], 2 * p[2]);
        }
    }
    EXPECT_GT(sampled, 40) << "the box covers the middle of its place";
}

TEST_F(SceneTest, ACoreOwnsOneDisplayListThroughSwapsAndCopiesAndDeletesItWhenItGoes) {
    renderer.models[1] = std::move(box);
    const int64_t live = LiveDisplayListCount();
    {
        auto core = std::make_unique<Component>();
        core->modelSlot = 1;
        for (int swap = 0; swap < 200; ++swap) {
            PrepareCoreModel(*core, swap % kSkinCount, renderer);
        }
        EXPECT_EQ(LiveDisplayListCount(), live + 1) << "each new skin's list replaces the old one";
        ASSERT_TRUE(glIsList(core->displayList));

        // A copy draws the same model but must compile its own list; it never shares the original's.
        std::unique_ptr<Component> copy = CloneComponent(*core);
        EXPECT_EQ(copy->model, core->model);
        EXPECT_EQ(copy->displayList, 0u);
        PrepareCoreModel(*copy, 1, renderer);
        EXPECT_NE(copy->displayList, core->displayList);
        EXPECT_EQ(LiveDisplayListCount(), live + 2);
        const uint32_t kept = core->displayList;
        copy.reset();
        EXPECT_EQ(LiveDisplayListCount(), live + 1);
        EXPECT_TRUE(glIsList(kept)) << "destroying the copy leaves the original's list alone";
        core.reset();
        EXPECT_FALSE(glIsList(kept));
    }
    EXPECT_EQ(LiveDisplayListCount(), live);
}
