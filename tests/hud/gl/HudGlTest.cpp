// The button layout in a window: drawn from the texture slots, picked back by exact colour, and edited.

#include "data/Component.h"
#include "data/TempFiles.h"
#include "data/Unit.h"
#include "hud/HudLayout.h"
#include "hud/gl/HudDrawing.h"
#include "hud/gl/HudEditor.h"
#include "platform/Dialog.h"
#include "platform/sdl/Texture.h"
#include "render/gl/GlTestContext.h"
#include "render/gl/Renderer.h"

#include <imgui.h>

#include <memory>
#include <string>
#include <vector>

namespace {

const char* const TwoButtons = R"(<?xml version="1.0"?>
<hud>
    <button xPos="0" yPos="0" xSize="200" ySize="100" tex="5" MOtex="6"/>
    <button xPos="100" yPos="50" xSize="200" ySize="100" tex="300" MOtex="300" function="4" data="2">
        <text x="4" y="20" r="255" g="255" b="0">Go</text>
    </button>
</hud>
)";

// A renderer without a window of its own, drawing into the shared test context.
struct HudScene {
    HudScene() {
        layout.SetPickColours(&registry);
        InstallHudTextureHooks(layout);
        renderer.font.Create();
        white = WhiteTexture();
        renderer.textures[5] = white;
        renderer.textures[6] = red = CreateBlankTexture(4, 4);
    }
    TempFolder folder;
    PickColourRegistry registry;
    HudLayout layout;
    Renderer renderer;
    uint32_t white = 0;
    uint32_t red = 0;
};

TEST(HudGl, LayoutIsDrawnAndButtonsArePickedByTheirExactColour) {
    REQUIRE_GL();
    HudScene s;
    ASSERT_TRUE(s.layout.LoadHud(s.folder.write("two.xml", TwoButtons)));
    ASSERT_EQ(s.layout.buttons().size(), 2u);
    for (const HudButton& button : s.layout.buttons()) {
        ASSERT_NE(button.pickTexture, 0) << "the silhouette picture should load from the run folder";
    }

    DrawHud(s.layout, s.renderer, false);
    // The first button shows its white picture; the second names a slot outside the table and shows nothing.
    EXPECT_EQ(gltest::PixelAt(50, 20), (std::vector<uint8_t>{255, 255, 255}));
    EXPECT_EQ(gltest::PixelAt(250, 120), (std::vector<uint8_t>{0, 0, 0}));

    PickScene none;
    const HudButton& first = s.layout.buttons()[0];
    const HudButton& second = s.layout.buttons()[1];
    PickedObject picked = PickObject(s.renderer, s.layout, none, 50, 0);
    EXPECT_EQ(picked.kind, PickKind::HudButton);
    EXPECT_EQ(picked.button, &first);
    EXPECT_EQ(picked.id, static_cast<int32_t>(first.pickColour));
    // Where the buttons overlap the later one is on top.
    picked = PickObject(s.renderer, s.layout, none, 150, 75);
    EXPECT_EQ(picked.button, &second);
    EXPECT_EQ(picked.id, static_cast<int32_t>(second.pickColour));
    // Below the last window row and outside every button there is nothing.
    EXPECT_EQ(PickObject(s.renderer, s.layout, none, 400, 599).kind, PickKind::Nothing);
    EXPECT_EQ(PickObject(s.renderer, s.layout, none, 50, 600).kind, PickKind::Nothing);
    EXPECT_EQ(PickObject(s.renderer, s.layout, none, -1, 10).kind, PickKind::Nothing);
    // The visible frame is untouched by the passes.
    EXPECT_EQ(gltest::PixelAt(50, 20), (std::vector<uint8_t>{255, 255, 255}));

    // Loading again frees the old silhouettes and makes new ones.
    const GLuint oldSilhouette = static_cast<GLuint>(first.pickTexture);
    ASSERT_TRUE(glIsTexture(oldSilhouette));
    ASSERT_TRUE(s.layout.LoadHud());
    EXPECT_FALSE(glIsTexture(oldSilhouette));
    EXPECT_TRUE(glIsTexture(static_cast<GLuint>(s.layout.buttons()[0].pickTexture)));

    // The mouse-over picture replaces the normal one while the mouse is over the button.
    s.layout.MouseOver(static_cast<int32_t>(s.layout.buttons()[0].pickColour));
    glClear(GL_COLOR_BUFFER_BIT);
    DrawHud(s.layout, s.renderer, false);
    EXPECT_EQ(gltest::PixelAt(50, 20), (std::vector<uint8_t>{0, 0, 0}));
}

TEST(HudGl, ButtonsCoverUnitsAndUnitsCoverTiles) {
    REQUIRE_GL();
    HudScene s;
    ASSERT_TRUE(s.layout.LoadHud(s.folder.write("two.xml", TwoButtons)));
    Unit unit;
    unit.core = std::make_unique<Component>();
    unit.core->pickColour = 1000007; // a middle group of 0
    std::vector<Unit*> units = {&unit};
    PickScene scene;
    scene.units = &units;
    scene.drawWorld = [] {
        // The unit fills the whole frame, whatever its depth.
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glDisable(GL_CULL_FACE);
        glColor3ub(1, 0, 7);
        glBegin(GL_QUADS);
        glVertex3f(-1, -1, 0.9f);
        glVertex3f(1, -1, 0.9f);
        glVertex3f(1, 1, 0.9f);
        glVertex3f(-1, 1, 0.9f);
        glEnd();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
    };
    PickedObject picked = PickObject(s.renderer, s.layout, scene, 500, 400);
    EXPECT_EQ(picked.kind, PickKind::Unit);
    EXPECT_EQ(picked.unit, &unit);
    picked = PickObject(s.renderer, s.layout, scene, 20, 20);
    EXPECT_EQ(picked.kind, PickKind::HudButton);
    EXPECT_EQ(picked.button, &s.layout.buttons()[0]);
    // A colour that belongs to nothing is nothing.
    unit.core->pickColour = 5;
    EXPECT_EQ(PickObject(s.renderer, s.layout, scene, 500, 400).kind, PickKind::Nothing);
}

TEST(HudGl, EditorSavesReloadsAndDrawsInAnImGuiFrame) {
    REQUIRE_GL();
    HudScene s;
    const std::string path = s.folder.write("two.xml", TwoButtons);
    ASSERT_TRUE(s.layout.LoadHud(path));
    s.layout.ToggleEditor();
    ASSERT_TRUE(RunHudEditorCommand(s.layout, HudEditorCommand::AddButton));
    HudButton* added = s.layout.Selected();
    ASSERT_NE(added, nullptr);
    added->xPos = 600;
    added->text = "New";
    ASSERT_TRUE(RunHudEditorCommand(s.layout, HudEditorCommand::Save));

    // A broken file named in the editor keeps the edited layout.
    DialogRecorder rec;
    EXPECT_FALSE(
        RunHudEditorCommand(s.layout, HudEditorCommand::LoadFile, s.folder.write("bad.xml", "<hud>")));
    EXPECT_EQ(s.layout.buttons().size(), 3u);
    EXPECT_EQ(s.layout.fileName(), path);

    ASSERT_TRUE(RunHudEditorCommand(s.layout, HudEditorCommand::Reload));
    ASSERT_EQ(s.layout.buttons().size(), 3u);
    EXPECT_EQ(s.layout.buttons()[2].xPos, 600u);
    EXPECT_EQ(s.layout.buttons()[2].xSize, 100u);
    EXPECT_EQ(s.layout.buttons()[2].text, "New");
    EXPECT_EQ(s.layout.Selected(), nullptr);
    EXPECT_TRUE(s.layout.editorOpen());

    // The window draws with and without a selection; outside a frame it does nothing.
    ImGui::CreateContext();
    ImGuiIO& io = ImGui::GetIO();
    io.IniFilename = nullptr;
    io.DisplaySize = ImVec2(800, 600);
    unsigned char* pixels = nullptr;
    int w = 0;
    int h = 0;
    io.Fonts->GetTexDataAsRGBA32(&pixels, &w, &h);
    DrawHudEditor(s.layout);
    for (int selection = 0; selection < 2; ++selection) {
        ImGui::NewFrame();
        if (selection == 1) {
            s.layout.Select(s.layout.buttons()[1].id);
        }
        DrawHudEditor(s.layout);
        ImGui::Render();
    }
    ImGui::DestroyContext();
}

} // namespace
