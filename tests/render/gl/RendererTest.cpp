#include "render/gl/Renderer.h"

#include "platform/Dialog.h"
#include "platform/sdl/Texture.h"
#include "render/gl/GlTestContext.h"
#include "render/gl/ModelDrawing.h"

#include <gtest/gtest.h>

#include <FreeImage.h>
#include <GL/glu.h>

#include <cstdio>
#include <fstream>

namespace {

void DrawTree(const ModelNode& node) {
    glPushMatrix();
    ApplyTransform(node.transform);
    glCallList(node.fullList);
    for (const auto& child : node.children) {
        DrawTree(*child);
    }
    glPopMatrix();
}

std::string WriteTemp(const std::string& name, const std::string& text) {
    std::string path = testing::TempDir() + "vantor_renderer_" + name;
    std::ofstream(path) << text;
    return path;
}

} // namespace

TEST(RendererTest, ANinthLightIsRefusedWhileTheIdAdvances) {
    Renderer renderer;
    for (int32_t i = 1; i <= 9; ++i) {
        EXPECT_EQ(renderer.AddLight({0.5f, 0.5f, 0.5f}, {0.2f, 0.2f, 0.2f}, {0.7f, 0.7f, 0.7f}, {0, 10, 0},
                                    {0, -1, 0}, 3),
                  i);
    }
    EXPECT_EQ(renderer.lights().size(), 8u);
    EXPECT_EQ(renderer.lights().back().id, 8);
    EXPECT_EQ(renderer.lights().front().position[3], 1.0f);
    for (int i = 0; i < 10; ++i) {
        renderer.RemoveLastLight();
    }
    EXPECT_TRUE(renderer.lights().empty());
    EXPECT_EQ(renderer.AddLight({}, {}, {}, {}, {}, 7), 10) << "removing lights keeps the counter";
    EXPECT_EQ(renderer.lights().back().type, 0) << "only types 1 to 3 are kept";
}

TEST(RendererTest, TheLoadingBarStopsShortOfItsFrame) {
    EXPECT_EQ(LoadingBarPixels(800, 0.1f), 70);
    EXPECT_EQ(LoadingBarPixels(800, 0.6f), 420);
    EXPECT_LT(LoadingBarPixels(800, 0.6f + 0.4f * 47.0f / 48.0f), 700);
}

TEST(RendererTest, Begin2DAndEnd2DLeaveBothMatricesAsTheyWere) {
    REQUIRE_GL();
    Renderer renderer;
    glMatrixMode(GL_PROJECTION);
    gluPerspective(60, 800.0 / 600.0, 0.1, 100);
    glMatrixMode(GL_MODELVIEW);
    glRotatef(30, 0, 1, 0);
    GLfloat projection[16], modelview[16], after[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);

    renderer.Begin2D();
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    glTranslatef(5, 5, 0);
    renderer.End2D();

    GLint mode = 0;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    EXPECT_EQ(mode, GL_MODELVIEW);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    glGetFloatv(GL_PROJECTION_MATRIX, after);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(after[i], projection[i]);
    }
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(after[i], modelview[i]);
    }
}

TEST(RendererTest, AShaderThatDoesNotCompileShowsTheAssertionBox) {
    REQUIRE_GL();
    DialogRecorder recorder;
    LightingShader shader;
    shader.vertexPath = WriteTemp("broken.vert", "#version 120\nvoid main() { gl_Position = nonsense; }\n");
    shader.fragmentPath = "Graphics\\shader\\lighting.frag";
    testing::internal::CaptureStdout();
    EXPECT_FALSE(shader.BuildShader());
    std::string console = testing::internal::GetCapturedStdout();
    EXPECT_NE(console.find("Vertex shader compile error!"), std::string::npos);
    EXPECT_EQ(recorder.count(DialogKind::Assertion), 1);
    ASSERT_FALSE(recorder.shown().empty());
    EXPECT_EQ(recorder.shown()[0].caption, "ASSERTION FAILURE");
    EXPECT_EQ(shader.program, 0u) << "drawing falls back to fixed function";

    recorder.clear();
    shader.vertexPath = testing::TempDir() + "no_such_shader.vert";
    testing::internal::CaptureStdout();
    EXPECT_FALSE(shader.BuildShader());
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(recorder.sawText("Could not read shader file: " + shader.vertexPath));
    std::remove(WriteTemp("broken.vert", "").c_str());
}

TEST(RendererTest, BeginSceneSwitchesOnEightLightsAndSendsTheirTypes) {
    REQUIRE_GL();
    Renderer renderer;
    ASSERT_TRUE(renderer.BuildLightingShader());
    for (size_t i = 0; i < shaderUniformNames.size(); ++i) {
        EXPECT_GE(renderer.uniformLocation(i), 0) << shaderUniformNames[i];
    }
    renderer.shader.ActivateShader();
    renderer.BeginScene();
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT7));
    GLint count = -1;
    glGetUniformiv(renderer.shader.program, renderer.uniformLocation(1), &count);
    EXPECT_EQ(count, 0);

    renderer.AddLight({0.5f, 0.5f, 0.5f}, {0.2f, 0.2f, 0.2f}, {0.7f, 0.7f, 0.7f}, {0, 10, 0}, {0, -1, 0}, 3);
    renderer.AddLight({}, {1, 1, 1}, {}, {4, 4, 4}, {0, -1, 0}, 2);
    renderer.BeginScene();
    glGetUniformiv(renderer.shader.program, renderer.uniformLocation(1), &count);
    EXPECT_EQ(count, 2);
    GLfloat types[9] = {};
    glGetUniformfv(renderer.shader.program, renderer.uniformLocation(2), types);
    EXPECT_EQ(types[0], 3.0f);
    EXPECT_EQ(types[1], 2.0f);
    EXPECT_EQ(types[8], 0.0f);
    GLfloat ambient = 0;
    glGetUniformfv(renderer.shader.program, renderer.uniformLocation(3), &ambient);
    EXPECT_FLOAT_EQ(ambient, 0.3f);

    renderer.SetLightingMode(Flat);
    GLint mode = -1;
    glGetUniformiv(renderer.shader.program, renderer.uniformLocation(0), &mode);
    EXPECT_EQ(mode, 2);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    glUseProgram(0);
}

TEST(RendererTest, TheCatalogueFillsNamedSlotsAndReportsBadFiles) {
    REQUIRE_GL();
    Renderer renderer;
    std::string model =
        WriteTemp("block.ase", "*GEOMOBJECT {\n*NODE_NAME \"Block\"\n"
                               "*MESH_VERTEX 0 0 0 0\n*MESH_VERTEX 1 1 0 0\n*MESH_VERTEX 2 0 1 0\n"
                               "*MESH_FACE 0: A: 0 B: 1 C: 2\n*MATERIAL_REF 0\n}\n");
    std::string catalogue = WriteTemp(
        "models.xml", "<models><TEST_MODEL>" + model + "</TEST_MODEL><BUILDING03>" + testing::TempDir() +
                          "missing.ase</BUILDING03><Unknown>x</Unknown></models>");
    renderer.LoadModels(catalogue);
    ASSERT_NE(renderer.model(0), nullptr);
    EXPECT_NE(renderer.model(0)->fullList, 0u);
    EXPECT_TRUE(glIsList(renderer.model(0)->plainList));
    EXPECT_EQ(renderer.model(46), nullptr);
    EXPECT_EQ(renderer.model(48), nullptr);

    DialogRecorder recorder;
    renderer.LoadModels(testing::TempDir() + "no_catalogue.xml");
    EXPECT_TRUE(
        recorder.sawText("Could not open file for reading: " + testing::TempDir() + "no_catalogue.xml"));
    renderer.LoadModels(WriteTemp("wrong.xml", "<catalogue/>"));
    EXPECT_TRUE(recorder.sawText("Missing \"models\" Tag"));
}

TEST(RendererTest, DisplayListsAreReplacedNotPiledUp) {
    REQUIRE_GL();
    const int64_t live = LiveDisplayListCount();
    auto block_ = std::make_unique<ModelNode>();
    ModelNode& block = *block_;
    block.BuildProceduralModel(ProceduralTileBlock);
    EXPECT_EQ(LiveDisplayListCount(), live + 2);
    uint32_t firstFull = block.fullList;
    block.BuildDisplayLists();
    EXPECT_EQ(LiveDisplayListCount(), live + 2) << "compiling again deletes the old lists";
    EXPECT_FALSE(glIsList(firstFull) && firstFull != block.fullList && firstFull != block.plainList);
    EXPECT_TRUE(glIsList(block.fullList));
    EXPECT_TRUE(glIsList(block.plainList));

    ModelNode empty;
    empty.BuildDisplayLists();
    EXPECT_TRUE(glIsList(empty.fullList)) << "a node without faces still gets its lists";

    block.children.push_back(std::make_unique<ModelNode>());
    uint32_t own = block.MakeTexturedList(WhiteTexture());
    EXPECT_TRUE(glIsList(own));
    EXPECT_EQ(block.children[0]->texture, WhiteTexture());
    ReleaseDisplayList(own);
    EXPECT_EQ(LiveDisplayListCount(), live + 2 + 2) << "the block's and the empty node's; the own list is gone";
    block_->BuildDisplayLists();
    EXPECT_EQ(LiveDisplayListCount(), live + 2 + 2 + 2) << "now the child has its two as well";
    block_.reset();
    EXPECT_EQ(LiveDisplayListCount(), live + 2) << "a destroyed node deletes its lists and its children's";
}

TEST(RendererTest, InitRendererOpensTheWindowAndLoadsTheWholeCatalogue) {
    Renderer renderer;
    DialogRecorder recorder;
    renderer.InitRenderer(800, 600);
    ASSERT_NE(renderer.window, nullptr);
    ASSERT_TRUE(renderer.window->IsOpen());
    EXPECT_NE(renderer.shader.program, 0u);
    EXPECT_EQ(renderer.lightIdCounter(), 0);
    EXPECT_EQ(recorder.shown().size(), 0u) << (recorder.shown().empty() ? "" : recorder.shown()[0].text);
    for (int slot = 0; slot < 47; ++slot) {
        ASSERT_NE(renderer.model(slot), nullptr) << "slot " << slot << " " << modelSlotNames[slot];
        EXPECT_TRUE(glIsList(renderer.model(slot)->fullList));
    }
    EXPECT_EQ(renderer.model(activeMarkerSlot), nullptr) << "the boot screen fills the marker slot later";
    // The loading picture stays in its slot, where the third how-to-play page finds its backdrop.
    const uint32_t loading = renderer.textures[loadingScreenSlot];
    ASSERT_NE(loading, 0u);
    const std::optional<LoadedBitmap> picture = LoadBitmap("Art Assets\\Screens\\Loading.png");
    ASSERT_TRUE(picture.has_value());
    GLint loadedWidth = 0;
    glBindTexture(GL_TEXTURE_2D, loading);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &loadedWidth);
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(loadedWidth, picture->width);
    GLint mode = -1;
    glGetUniformiv(renderer.shader.program, renderer.uniformLocation(0), &mode);
    EXPECT_EQ(mode, Lit) << "the loading screen leaves the shader lit";
    EXPECT_FLOAT_EQ(renderer.camera.distance, 60.0f);
    EXPECT_EQ(renderer.camera.zoomLevel, 1);
    EXPECT_NE(renderer.font.texture(), 0u);

    // The six mechs in a row under the battle light, saved for people to look at.
    const uint32_t skin = LoadTexture("Art Assets\\Textures\\ArmyPlayer.png");
    renderer.AddLight({0.5f, 0.5f, 0.5f}, {0.2f, 0.2f, 0.2f}, {0.7f, 0.7f, 0.7f}, {0, 10, 0}, {0, -1, 0}, 3);
    renderer.camera.target = {0, 1, 0};
    renderer.camera.yaw = 0.5f;
    renderer.camera.pitch = 0.35f;
    renderer.camera.SetViewDistance(22.0f);
    renderer.camera.UpdateCamera(false);
    renderer.BeginScene();
    renderer.SetMaterial(1, 1, 1, 1);
    for (int slot = 1; slot <= 6; ++slot) {
        ModelNode& mech = *renderer.models[static_cast<size_t>(slot)];
        mech.SetNodeTexture(skin, true);
        mech.BuildDisplayLists();
        glPushMatrix();
        glTranslatef(static_cast<float>(slot - 3.5f) * 5.0f, 0, 0);
        DrawTree(mech);
        glPopMatrix();
    }
    std::vector<uint8_t> pixels(800 * 600 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_BGR, GL_UNSIGNED_BYTE, pixels.data());
    int drawn = 0;
    for (size_t i = 0; i < pixels.size(); i += 3) {
        drawn += (pixels[i] != 127 && pixels[i] != 128) ? 1 : 0;
    }
    EXPECT_GT(drawn, 5000) << "the mechs cover part of the frame";
    FIBITMAP* frame = FreeImage_ConvertFromRawBits(pixels.data(), 800, 600, 800 * 3, 24, FI_RGBA_RED_MASK,
                                                   FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    FreeImage_Save(FIF_PNG, frame, (std::string(VANTOR_RUN_DIR) + "/../tests/catalogue_mechs.png").c_str(),
                   0);
    FreeImage_Unload(frame);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
