// A battle from a shipped mission, drawn in a window: what the player sees, what the mouse picks, and the
// orders the mouse and keys give.

#include "combat/gl/BattleView.h"
#include "combat/BattleSimulation.h"
#include "combat/LevelEditor.h"
#include "combat/UnitMovement.h"
#include "combat/gl/CombatState.h"
#include "combat/gl/PickingMessage.h"
#include "data/Component.h"
#include "hud/HudLayout.h"
#include "hud/gl/HudEditor.h"
#include "platform/Dialog.h"
#include "platform/sdl/Texture.h"
#include "render/Particles.h"
#include "render/gl/ModelDrawing.h"
#include "render/gl/Renderer.h"

#include <FreeImage.h>
#include <GL/glew.h>
#include <GL/glu.h>
#include <gtest/gtest.h>
#include <imgui.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

// The battle of the first mission with the starter squad, drawn by a renderer with its own window.
struct WindowBattle {
    WindowBattle()
        : renderer(SharedRenderer()), view(renderer, particles),
          screen(map, pathfinder, renderer.camera, view, random, clock) {
        renderer.camera = Camera(1.0f, 1000.0f);
        renderer.camera.SetViewDistance(60.0f);
        previousHook = SetCoreVisualHook([this](Component& core, int32_t skin) {
            PrepareCoreModel(core, skin, renderer);
            core.pickColour = static_cast<uint32_t>(200000000 + nextColour++);
        });
        view.SetScreen(&screen);
        view.loadHud = [this](const std::string& path) { layouts.push_back(path); };
        BuildSquad(squad, {});
        loaded = screen.LoadMission("XMLFiles\\Missions\\01_Outskirts.xml", &squad);
        view.Prepare(map);
        view.PrepareUnits(screen);
        screen.Enter();
        picking.screen = &screen;
        picking.view = &view;
        picking.cursor = [this](int32_t& x, int32_t& y) {
            x = cursorX;
            y = cursorY;
            return true;
        };
        picking.setPauseReceiver = [this](bool on) { pauseReceiver.active = on; };
        pauseReceiver.screen = &screen;
    }
    ~WindowBattle() {
        screen.Exit(nullptr);
        SetCoreVisualHook(previousHook);
    }

    // Frames until the first unit is active and the camera has settled on it.
    void settle() {
        for (int i = 0; i < 200 && (screen.activeUnit == nullptr || renderer.camera.busy()); ++i) {
            frame();
        }
    }
    void frame() { screen.Update(picking.FrameInput()); }
    void send(int32_t type, int32_t value) {
        Message message;
        message.type = type;
        message.value = value;
        dispatcher.Send(message);
        dispatcher.Update();
    }
    // The window point (from the top left) where a world point appears under the current camera.
    bool project(const Vector3& at, int32_t& x, int32_t& y) {
        renderer.ClearFrame();
        renderer.ApplyCamera();
        GLdouble modelView[16];
        GLdouble projection[16];
        GLint viewport[4];
        glGetDoublev(GL_MODELVIEW_MATRIX, modelView);
        glGetDoublev(GL_PROJECTION_MATRIX, projection);
        glGetIntegerv(GL_VIEWPORT, viewport);
        GLdouble wx = 0, wy = 0, wz = 0;
        gluProject(at.x, at.y, at.z, modelView, projection, viewport, &wx, &wy, &wz);
        x = static_cast<int32_t>(wx);
        y = viewport[3] - 1 - static_cast<int32_t>(wy);
        return wz > 0 && wz < 1 && x >= 0 && x < 800 && y >= 0 && y < 600;
    }

    // One window for every test: windows live until the process ends.
    static Renderer& SharedRenderer() {
        static Renderer* shared = [] {
            auto* made = new Renderer();
            made->InitRenderer(800, 600);
            return made;
        }();
        return *shared;
    }

    DialogRecorder boxes;
    Renderer& renderer;
    ParticlePool particles;
    LevelMap map;
    Pathfinder pathfinder;
    SeededRandom random{7};
    SimulatedClock clock;
    BattleView view;
    CombatScreen screen;
    MessageDispatcher dispatcher;
    PickingMessage picking{dispatcher};
    PauseMessage pauseReceiver{dispatcher};
    Army squad;
    CoreVisualHook previousHook;
    int32_t nextColour = 1;
    int32_t cursorX = 0;
    int32_t cursorY = 0;
    bool loaded = false;
    std::vector<std::string> layouts;
};

// A reachable tile next to the active unit that no unit stands on.
bool ReachableTile(WindowBattle& battle, int32_t& x, int32_t& y) {
    const Unit& unit = *battle.screen.activeUnit;
    for (int32_t d = 2; d >= 1; --d) {
        for (const auto& offset : {std::pair{d, 0}, std::pair{0, d}, std::pair{0, -d}, std::pair{-d, 0}}) {
            x = unit.tileX + offset.first;
            y = unit.tileY + offset.second;
            const MapTile* tile = battle.map.TileAt(x, y);
            if (tile != nullptr && tile->marker == TileMarker::Reachable &&
                battle.screen.UnitAtTile(x, y) == nullptr) {
                return true;
            }
        }
    }
    return false;
}

// The colour and depth of the whole view as they stand.
struct Ground {
    std::vector<uint8_t> colour = std::vector<uint8_t>(800 * 600 * 4);
    std::vector<uint32_t> depth = std::vector<uint32_t>(800 * 600);
    bool operator==(const Ground&) const = default;
    // The same colours, and depths that differ by no more than the window's own depth layout makes of a
    // copy (llvmpipe keeps the window's stencil bits first, so the copy converts through floats).
    bool sameAs(const Ground& other) const {
        for (size_t i = 0; i < depth.size(); ++i) {
            const int64_t d = (int64_t(depth[i]) >> 8) - (int64_t(other.depth[i]) >> 8);
            if (d < -4 || d > 4) {
                return false;
            }
        }
        return colour == other.colour;
    }
};

Ground ReadView() {
    Ground seen;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, seen.colour.data());
    glReadPixels(0, 0, 800, 600, GL_DEPTH_COMPONENT, GL_UNSIGNED_INT, seen.depth.data());
    return seen;
}

} // namespace

TEST(BattleView, AShippedMissionIsDrawnAndItsTilesAndUnitsArePickedBack) {
    WindowBattle battle;
    ASSERT_TRUE(battle.loaded) << (battle.boxes.shown().empty() ? "" : battle.boxes.shown()[0].text);
    ASSERT_GE(battle.screen.turnQueue.size(), 2u);
    battle.settle();
    ASSERT_NE(battle.screen.activeUnit, nullptr);
    ASSERT_FALSE(battle.renderer.camera.busy());

    // A tile near the active unit and the unit itself, each found by its pick colour.
    Unit& active = *battle.screen.activeUnit;
    const int32_t tx = active.tileX + 1;
    const int32_t ty = active.tileY + 1;
    int32_t px = 0;
    int32_t py = 0;
    ASSERT_TRUE(battle.project(TileCentre(battle.map, tx, ty), px, py));
    int32_t id = 0;
    PickResult tile = battle.view.PickAt(battle.screen, px, py, &id);
    EXPECT_EQ(tile.kind, PickKind::MapTile);
    EXPECT_EQ(tile.tile, battle.map.TileAt(tx, ty));
    EXPECT_EQ(id, battle.map.TileAt(tx, ty)->pickId);

    Vector3 body = UnitWorldPosition(active);
    body.y += 1.0f;
    ASSERT_TRUE(battle.project(body, px, py));
    PickResult unit = battle.view.PickAt(battle.screen, px, py, &id);
    EXPECT_EQ(unit.kind, PickKind::Unit);
    EXPECT_EQ(unit.unit, &active);
    EXPECT_EQ(battle.view.PickAt(battle.screen, 2, 2).kind, PickKind::Nothing) << "the sky is nothing";

    // One frame as the player sees it, kept beside the tests for people to look at.
    battle.frame();
    std::vector<uint8_t> pixels(800 * 600 * 3);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, 800, 600, GL_BGR, GL_UNSIGNED_BYTE, pixels.data());
    int blue = 0;
    for (size_t i = 0; i < pixels.size(); i += 3) {
        blue += (pixels[i] > 150 && pixels[i + 1] < 100 && pixels[i + 2] < 100) ? 1 : 0;
    }
    EXPECT_GT(blue, 500) << "reachable tiles are marked blue";
    FIBITMAP* image = FreeImage_ConvertFromRawBits(pixels.data(), 800, 600, 800 * 3, 24, FI_RGBA_RED_MASK,
                                                   FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    FreeImage_Save(FIF_PNG, image, (std::string(VANTOR_RUN_DIR) + "/../tests/battle_frame.png").c_str(), 0);
    FreeImage_Unload(image);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// The backdrop is left out only when the tiles fill the view: from over the middle of the map and from over its
// corners and edges, near and far, turned every way, no pixel keeps the colour the frame was cleared with.
TEST(BattleView, NoViewShowsAPixelThatNeitherTheTilesNorTheBackdropCovered) {
    WindowBattle battle;
    ASSERT_TRUE(battle.loaded);
    battle.settle();
    ASSERT_FALSE(battle.renderer.camera.busy());
    Camera& camera = battle.renderer.camera;
    const float right = static_cast<float>(battle.map.width()) * 4.0f - 2.0f;
    const float far = static_cast<float>(battle.map.height()) * 4.0f - 2.0f;
    const float middleX = right / 2.0f;
    const float middleZ = far / 2.0f;
    // Draws a frame whose clear uses a colour no tile, mech or backdrop has, and counts the pixels that kept it.
    auto uncoveredPixels = [&battle] {
        std::vector<uint8_t> pixels(800 * 600 * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        // The frame's clear uses the colour set before it.
        glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
        battle.view.DrawBattle(battle.screen);
        glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        int uncovered = 0;
        for (size_t i = 0; i < pixels.size(); i += 3) {
            uncovered += (pixels[i] == 255 && pixels[i + 1] == 0 && pixels[i + 2] == 255) ? 1 : 0;
        }
        return uncovered;
    };
    int views = 0;
    for (const auto& [x, z] : {std::pair{middleX, middleZ}, std::pair{-2.0f, -2.0f}, std::pair{right, far},
                               std::pair{middleX, -2.0f}, std::pair{right, middleZ}, std::pair{middleX, far - 6.0f}}) {
        for (const float distance : {8.0f, 20.0f, 60.0f}) {
            for (const float yaw : {0.0f, 1.2f, 3.14159f, 4.712389f}) {
                camera.target = Vector3{x, 1.0f, z};
                camera.distance = distance;
                camera.yaw = yaw;
                EXPECT_EQ(uncoveredPixels(), 0) << "over (" << x << ", " << z << ") from " << distance << " turned " << yaw;
                ++views;
            }
        }
    }
    EXPECT_EQ(views, 72);

    // From inside the highest block, whose faces all turn away, the rays pass through it.
    int32_t highX = 0;
    int32_t highY = 0;
    for (int32_t x = 0; x < static_cast<int32_t>(battle.map.width()); ++x) {
        for (int32_t y = 0; y < static_cast<int32_t>(battle.map.height()); ++y) {
            if (battle.map.TileAt(x, y)->elevation > battle.map.TileAt(highX, highY)->elevation) {
                highX = x;
                highY = y;
            }
        }
    }
    const float top = static_cast<float>(battle.map.TileAt(highX, highY)->elevation) * 0.5f;
    ASSERT_GT(top, 1.0f) << "the map has a block tall enough to stand inside";
    camera.target = Vector3{static_cast<float>(highX) * 4.0f, top * 0.5f, static_cast<float>(highY) * 4.0f};
    camera.distance = 0.2f;
    camera.yaw = 0.0f;
    EXPECT_EQ(uncoveredPixels(), 0) << "from inside the block at (" << highX << ", " << highY << ")";
}

TEST(BattleView, HoverThenClickOnAReachableTileCommitsTheMove) {
    WindowBattle battle;
    ASSERT_TRUE(battle.loaded);
    battle.settle();
    ASSERT_NE(battle.screen.activeUnit, nullptr);
    Unit& active = *battle.screen.activeUnit;
    ASSERT_FALSE(active.owner.isComputer) << "the mission's first unit is the player's";
    battle.frame();
    int32_t x = 0;
    int32_t y = 0;
    ASSERT_TRUE(ReachableTile(battle, x, y));
    ASSERT_TRUE(battle.project(TileCentre(battle.map, x, y), battle.cursorX, battle.cursorY));

    battle.send(MouseMoved, 3);
    EXPECT_EQ(battle.map.TileAt(x, y)->marker, TileMarker::PathEnd) << "hovering previews the route";
    const int32_t timeBefore = active.timeUsed;
    battle.send(MouseButtonPressed, 0);
    EXPECT_TRUE(battle.picking.leftClickPending);
    battle.frame();
    EXPECT_FALSE(active.movementQueue.empty()) << "the click committed the move";
    EXPECT_GT(active.timeUsed, timeBefore);
    for (int i = 0; i < 200 && IsWalking(active); ++i) {
        battle.frame();
    }
    EXPECT_EQ(active.tileX, x);
    EXPECT_EQ(active.tileY, y);

    // A click on an unmarked tile only turns the camera there.
    battle.frame();
    battle.map.ClearMarkers();
    ASSERT_TRUE(battle.project(TileCentre(battle.map, active.tileX - 1, active.tileY), battle.cursorX,
                               battle.cursorY));
    for (int i = 0; i < 100 && battle.renderer.camera.busy(); ++i) {
        battle.frame();
    }
    battle.send(MouseButtonPressed, 0);
    EXPECT_TRUE(battle.renderer.camera.busy());
    const int32_t timeAfter = active.timeUsed;
    battle.frame();
    EXPECT_EQ(active.timeUsed, timeAfter);
}

TEST(BattleView, EscapeTogglesThePauseLayoutAndTheOverlayIsDrawn) {
    WindowBattle battle;
    ASSERT_TRUE(battle.loaded);
    battle.settle();
    battle.layouts.clear();
    battle.send(KeyPressed, CombatKey::Escape);
    ASSERT_TRUE(battle.screen.paused);
    EXPECT_TRUE(battle.pauseReceiver.active);
    EXPECT_EQ(battle.layouts.back(), "XMLFiles\\GUI\\pause.xml");

    battle.send(KeyPressed, CombatKey::Space);
    battle.send(HudMessage, 3);
    EXPECT_EQ(battle.screen.pausePage, 1);
    battle.frame();
    battle.send(HudMessage, 3);
    battle.send(HudMessage, 3);
    EXPECT_EQ(battle.layouts.back(), "XMLFiles\\GUI\\pause.xml");
    battle.frame();
    EXPECT_FALSE(battle.screen.activeUnit->turnDone) << "orders are refused while paused";

    battle.send(KeyPressed, CombatKey::Escape);
    EXPECT_FALSE(battle.screen.paused);
    EXPECT_FALSE(battle.pauseReceiver.active);
    EXPECT_EQ(battle.layouts.back(), "XMLFiles\\GUI\\combat.xml");
    battle.send(HudMessage, 3);
    EXPECT_EQ(battle.screen.pausePage, 0) << "the inactive receiver drops layout messages";
}

TEST(BattleView, ChangeScreenButtonsOfTheHowToPlayPagesTurnThePageInBattle) {
    WindowBattle battle;
    ASSERT_TRUE(battle.loaded);
    battle.settle();
    HudLayout layout;
    MessageDispatcher& dispatcher = battle.dispatcher;
    layout.SetDispatcher(&dispatcher);
    int32_t changedTo = -1;
    layout.hooks().changeState = [&changedTo](int32_t state) { changedTo = state; };
    HudButton menu;
    menu.xPos = 30;
    menu.yPos = 530;
    menu.xSize = 180;
    menu.ySize = 50;
    menu.function = static_cast<int32_t>(ButtonFunction::ChangeState);
    menu.data = 2;
    layout.AddButton(menu);
    battle.picking.hud = &layout;
    battle.view.drawHud = [&battle, &layout](bool pickPass) {
        if (pickPass) {
            battle.view.DrawLayoutPickPlates(layout);
        }
    };
    battle.cursorX = 100;
    battle.cursorY = 550;

    battle.send(KeyPressed, CombatKey::Escape);
    battle.send(HudMessage, 3);
    ASSERT_EQ(battle.screen.pausePage, 1);
    battle.send(MouseButtonPressed, 0);
    EXPECT_EQ(changedTo, -1) << "the battle is not left from a how-to-play page";
    EXPECT_EQ(battle.screen.pausePage, 2);
    EXPECT_FALSE(battle.picking.leftClickPending);
    battle.send(MouseButtonPressed, 0);
    EXPECT_EQ(battle.screen.pausePage, 0);
    battle.send(MouseButtonPressed, 0);
    EXPECT_EQ(changedTo, 2) << "on the pause menu itself the button does what it says";
}

TEST(BattleView, DuringTheComputersTurnOnlyEscapeGetsThrough) {
    WindowBattle battle;
    ASSERT_TRUE(battle.loaded);
    battle.settle();
    Unit& active = *battle.screen.activeUnit;
    active.owner.isComputer = true;
    battle.send(KeyPressed, CombatKey::Space);
    battle.send(MouseButtonPressed, 1);
    battle.send(MouseWheel, 2);
    EXPECT_FALSE(active.turnDone);
    EXPECT_TRUE(battle.screen.moveMode) << "the right button is ignored";
    EXPECT_EQ(battle.picking.FrameInput().wheelDelta, 0) << "so is the wheel";
    battle.send(KeyPressed, CombatKey::Escape);
    EXPECT_TRUE(battle.screen.paused);
    battle.send(KeyPressed, CombatKey::Escape);
    EXPECT_FALSE(battle.screen.paused);
    active.owner.isComputer = false;
}

TEST(BattleView, TheActiveUnitMarkerBobsOneFrameEachTimeItIsDrawn) {
    WindowBattle battle;
    ASSERT_TRUE(battle.loaded);
    battle.settle();
    ASSERT_NE(battle.screen.activeUnit, nullptr);
    float lowest = 10.0f;
    float highest = -10.0f;
    for (int i = 0; i < 90; ++i) {
        const Transform drawnAt = battle.view.activeMarkerPose();
        // Every 30 frames: the marker is drawn where its bob has carried it, the middle of its body green.
        const bool look = i % 30 == 0;
        int32_t x = 0;
        int32_t y = 0;
        if (look) {
            Vector3 middle = UnitWorldPosition(*battle.screen.activeUnit);
            middle.y += 2.0f + drawnAt.position.y + 5.5f;
            ASSERT_TRUE(battle.project(middle, x, y));
        }
        battle.renderer.ClearFrame();
        battle.renderer.ApplyCamera();
        battle.view.DrawUnits(battle.screen, false);
        lowest = std::min(lowest, drawnAt.position.y);
        highest = std::max(highest, drawnAt.position.y);
        if (look) {
            std::vector<uint8_t> p(3);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(x, 599 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, p.data());
            EXPECT_GT(p[1], p[0] + 40) << "frame " << i;
            EXPECT_GT(p[1], p[2] + 40) << "frame " << i;
        }
    }
    EXPECT_NEAR(lowest, -1.0f, 0.05f) << "the bob goes one unit down";
    EXPECT_NEAR(highest, 0.0f, 0.05f) << "and back up";
}

TEST(BattleView, AShotFliesTwoUnitsAboveTheMechsNotFour) {
    WindowBattle battle;
    ASSERT_TRUE(battle.loaded);
    battle.settle();
    Unit& shooter = *battle.screen.activeUnit;
    Unit* enemy = nullptr;
    for (Unit* unit : battle.screen.turnQueue) {
        if (unit->owner.player != shooter.owner.player) {
            enemy = unit;
        }
    }
    ASSERT_NE(enemy, nullptr);
    ASSERT_NE(shooter.weapon, nullptr);
    shooter.weapon->name = "Red Test Laser";
    shooter.weapon->timeCost = 0;
    shooter.weapon->shots = 5;
    enemy->hp = 100000;
    const Vector3 from = UnitWorldPosition(shooter);
    const Vector3 to = UnitWorldPosition(*enemy);
    ASSERT_TRUE(battle.screen.resolveAttack(*enemy));
    ASSERT_EQ(battle.particles.ActiveCount(), 1);
    battle.particles.ForEachActive([&](const Particle& shot) {
        EXPECT_FLOAT_EQ(shot.start.y, from.y + 2.0f);
        EXPECT_FLOAT_EQ(shot.head.y, to.y + 2.0f) << "the head holds the target until the first update";
        EXPECT_FLOAT_EQ(shot.start.x, from.x);
        EXPECT_FLOAT_EQ(shot.head.z, to.z);
    });
}

TEST(BattleView, TheBarsAndTheLayoutEditorDrawInTheColoursOfTheirStyleOverALitBattle) {
    WindowBattle battle;
    ASSERT_TRUE(battle.loaded);
    battle.settle();
    LevelEditor& editor = GetLevelEditor();
    editor.debugBarShown = true;
    editor.screen.editMode = true;
    HudLayout layout;
    layout.ToggleEditor();
    GameWindow& window = *battle.renderer.window;

    // Where each window shows its plain background (inside its left padding) and the colour it should be,
    // blended over a black frame.
    struct Probe {
        const char* window;
        int32_t x, y;
        ImVec4 colour;
    };
    const ImVec4 dark = ImGui::GetStyle().Colors[ImGuiCol_WindowBg];
    const Probe probes[] = {
        {"Tweak Bar", 13, 120, dark},
        {"Level Editor", 538, 200, ImGui::ColorConvertU32ToFloat4(IM_COL32(139, 137, 137, 230))},
        {"HUD Editor", 103, 50, ImVec4(dark.x, dark.y, dark.z, 0.9f)},
    };
    std::vector<uint8_t> seen[3];
    for (int frame = 0; frame < 3; ++frame) {
        // A battle frame leaves the lighting program bound and lit, as the main loop finds it.
        battle.frame();
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        window.BeginOverlayFrame();
        DrawCombatBars();
        DrawHudEditor(layout);
        battle.renderer.SetLightingMode(Lit);
        window.DrawOverlay();
        for (int i = 0; i < 3; ++i) {
            seen[i].assign(3, 0);
            glPixelStorei(GL_PACK_ALIGNMENT, 1);
            glReadPixels(probes[i].x, 599 - probes[i].y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, seen[i].data());
        }
        window.Swap();
    }
    for (int i = 0; i < 3; ++i) {
        const Probe& probe = probes[i];
        const float expected[3] = {probe.colour.x * probe.colour.w * 255.0f,
                                   probe.colour.y * probe.colour.w * 255.0f,
                                   probe.colour.z * probe.colour.w * 255.0f};
        for (int c = 0; c < 3; ++c) {
            EXPECT_NEAR(seen[i][c], expected[c], 1.0f) << probe.window << " channel " << c;
        }
    }
    GLint program = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &program);
    EXPECT_EQ(static_cast<uint32_t>(program), battle.renderer.shader.program) << "the game's program is back";
    editor.CloseAll();
    editor.screen.editMode = false;
}

// A still view copies its tiles and backdrop from the layer it kept instead of drawing them again. The copy has to
// be the drawn ground to the last bit of colour and depth (mechs are depth-tested against it), and anything that
// changes how the ground looks has to make the next frame draw it again.
TEST(BattleView, TheGroundOfAStillViewIsCopiedExactlyAndDrawnAgainWhenWhatItShowsChanges) {
    WindowBattle battle;
    ASSERT_TRUE(battle.loaded);
    battle.settle();
    Camera& camera = battle.renderer.camera;
    ASSERT_NE(battle.screen.activeUnit, nullptr);
    const int32_t nextX = battle.screen.activeUnit->tileX + 1;
    const int32_t nextY = battle.screen.activeUnit->tileY;
    // A view the settling frames have not shown.
    camera.distance = 30.0f;
    const GroundLayer& layer = battle.view.groundLayer();
    ASSERT_TRUE(layer.available());

    // One frame's ground from a clear to the given colour, and whether it was copied rather than drawn.
    const float grey[4] = {0.5f, 0.5f, 0.5f, 0.0f};
    auto ground = [&battle, &layer](const float* clear, bool& copied) {
        const uint64_t before = layer.restores();
        glClearColor(clear[0], clear[1], clear[2], clear[3]);
        battle.renderer.BeginScene();
        battle.view.DrawGround(battle.screen, clear);
        copied = layer.restores() != before;
        return ReadView();
    };
    bool copied = false;
    const Ground drawn = ground(grey, copied);
    EXPECT_FALSE(copied) << "a new view is drawn";
    EXPECT_EQ(ground(grey, copied), drawn);
    EXPECT_FALSE(copied) << "the second frame of a view is drawn and kept";
    // The mechs and the markers drawn over a copied ground look as over a drawn one. The active unit's marker
    // moves each time it is drawn, so it is left out here.
    Unit* const active = battle.screen.activeUnit;
    battle.screen.activeUnit = nullptr;
    auto withUnits = [&battle] {
        battle.view.DrawUnits(battle.screen, false);
        std::vector<uint8_t> colour(800 * 600 * 4);
        glReadPixels(0, 0, 800, 600, GL_RGBA, GL_UNSIGNED_BYTE, colour.data());
        return colour;
    };
    const std::vector<uint8_t> unitsOverDrawn = withUnits();
    const Ground restored = ground(grey, copied);
    EXPECT_TRUE(copied) << "the third frame of a still view is copied";
    EXPECT_TRUE(withUnits() == unitsOverDrawn) << "mechs over the copy look as over the drawn ground";
    battle.screen.activeUnit = active;
    EXPECT_TRUE(restored.sameAs(drawn)) << "the copy is the drawn ground, colour and depth";
    const size_t nearPixels = static_cast<size_t>(std::count_if(restored.depth.begin(), restored.depth.end(),
                                                                [](uint32_t d) { return d < 0xffffff00u; }));
    EXPECT_GT(nearPixels, 50000u) << "the copy holds the tiles' depth, not a cleared buffer";

    // Each change is drawn at once, over a still view whose ground is being copied.
    auto changedAndDrawn = [&](const char* what, const std::function<void()>& change,
                               const std::function<void()>& undo) {
        ground(grey, copied);
        ground(grey, copied);
        const Ground still = ground(grey, copied);
        ASSERT_TRUE(copied) << what << ": the view before it is still";
        change();
        const Ground first = ground(grey, copied);
        EXPECT_FALSE(copied) << what << ": the first frame after it is drawn";
        EXPECT_FALSE(first.sameAs(still)) << what << ": the frame shows the change";
        undo();
    };
    ASSERT_NE(battle.map.TileAt(nextX, nextY), nullptr);
    MapTile& tile = *battle.map.TileAt(nextX, nextY);
    const MapTile kept = tile;
    changedAndDrawn("a tile's texture", [&] { tile.texture = (kept.texture + 3) % 20; }, [&] { tile = kept; });
    changedAndDrawn("a tile's elevation", [&] { tile.elevation = kept.elevation + 4; }, [&] { tile = kept; });
    changedAndDrawn("the camera", [&] { camera.yaw += 0.3f; }, [&] { camera.yaw -= 0.3f; });
    changedAndDrawn(
        "a light",
        [&] { battle.renderer.AddLight({0.9f, 0.0f, 0.0f}, {0.9f, 0.0f, 0.0f}, {0, 0, 0}, {0, 10, 0}, {0, -1, 0}, 3); },
        [&] { battle.renderer.RemoveLastLight(); });
    changedAndDrawn("a smaller view", [] { glViewport(0, 0, 400, 300); }, [] { glViewport(0, 0, 800, 600); });
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// With the markers and the mechs still as well, the whole field (ground, plates and mechs) is copied. Each
// thing a mech's look or place depends on, and each marker, has to make the next frame draw it again.
TEST(BattleView, AStillFieldIsCopiedWithItsMechsAndDrawnAgainWhenAMarkerOrAMechChanges) {
    WindowBattle battle;
    ASSERT_TRUE(battle.loaded);
    battle.settle();
    CombatScreen& screen = battle.screen;
    ASSERT_NE(screen.activeUnit, nullptr);
    ASSERT_GE(screen.turnQueue.size(), 2u);
    // A view the settling frames have not shown, and no active-unit marker: it bobs each time it is drawn.
    battle.renderer.camera.distance = 30.0f;
    Unit* const active = screen.activeUnit;
    screen.activeUnit = nullptr;
    const GroundLayer& layer = battle.view.fieldLayer();
    ASSERT_TRUE(layer.available());

    const float grey[4] = {0.5f, 0.5f, 0.5f, 0.0f};
    bool copied = false;
    auto field = [&](bool& wasCopied) {
        const uint64_t before = layer.restores();
        glClearColor(grey[0], grey[1], grey[2], grey[3]);
        battle.renderer.BeginScene();
        battle.view.DrawField(screen, grey);
        wasCopied = layer.restores() != before;
        return ReadView();
    };
    auto withBars = [&] {
        battle.view.DrawUnitMarks(screen);
        return ReadView().colour;
    };
    const Ground drawn = field(copied);
    EXPECT_FALSE(copied) << "a new view is drawn";
    EXPECT_EQ(field(copied), drawn);
    EXPECT_FALSE(copied) << "the second frame of a view is drawn and kept";
    const std::vector<uint8_t> barsOverDrawn = withBars();
    const Ground restored = field(copied);
    EXPECT_TRUE(copied) << "the third frame of a still field is copied";
    EXPECT_TRUE(restored.sameAs(drawn)) << "the copy is the drawn field, colour and depth";
    EXPECT_TRUE(withBars() == barsOverDrawn) << "the bars over the copy look as over the drawn field";

    // A change of markers alone draws the plates over the copied ground and mechs, and that frame is kept
    // for the next; any other change draws the mechs as well.
    const GroundLayer& mechLayer = battle.view.mechLayer();
    auto changedAndDrawn = [&](const char* what, const std::function<void()>& change,
                               const std::function<void()>& undo, bool markersOnly = false) {
        field(copied);
        field(copied);
        const Ground still = field(copied);
        ASSERT_TRUE(copied) << what << ": the field before it is still";
        change();
        const uint64_t mechsBefore = mechLayer.restores();
        const Ground first = field(copied);
        EXPECT_FALSE(copied) << what << ": the first frame after it is drawn";
        EXPECT_FALSE(first.sameAs(still)) << what << ": the frame shows the change";
        EXPECT_EQ(mechLayer.restores() != mechsBefore, markersOnly) << what << ": the mechs copied";
        if (markersOnly) {
            EXPECT_TRUE(field(copied).sameAs(first)) << what << ": the frame after it is the same";
            EXPECT_TRUE(copied) << what << ": the frame after it is copied";
        }
        undo();
    };
    Unit& mech = *active;
    ASSERT_NE(battle.map.TileAt(mech.tileX + 1, mech.tileY), nullptr);
    MapTile& beside = *battle.map.TileAt(mech.tileX + 1, mech.tileY);
    const TileMarker marker = beside.marker;
    const auto putBack = [&] { beside.marker = marker; };
    changedAndDrawn("a tile's marker", [&] { beside.marker = TileMarker::Path; }, putBack, true);
    changedAndDrawn("a tile's marker going", [&] { beside.marker = TileMarker::None; }, putBack, true);
    const Transform placed = mech.core->transform;
    const auto placeBack = [&] { mech.core->transform = placed; };
    changedAndDrawn("a mech moving", [&] { mech.core->transform.position.x += 1.0f; }, placeBack);
    changedAndDrawn("a mech turning", [&] { mech.core->transform.rotation = Quat{0.7071f, 0.0f, 0.7071f, 0.0f}; },
                    placeBack);
    const int32_t skin = mech.skin;
    const int32_t otherSkin = skin == 0 ? 1 : 0;
    // The skins' pictures, which this battle's renderer has not loaded.
    uint32_t& otherPicture = battle.renderer.textures[static_cast<size_t>(SkinTextureSlot(otherSkin))];
    const uint32_t otherBefore = otherPicture;
    otherPicture = LoadTexture("Art Assets\\Textures\\Army1.png");
    ASSERT_NE(otherPicture, 0u);
    changedAndDrawn(
        "a mech's skin",
        [&] {
            mech.skin = otherSkin;
            PrepareCoreVisual(*mech.core, otherSkin);
        },
        [&] {
            mech.skin = skin;
            PrepareCoreVisual(*mech.core, skin);
        });
    otherPicture = otherBefore;
    const std::vector<Unit*> queue = screen.turnQueue;
    changedAndDrawn("a mech leaving the battle", [&] { screen.turnQueue.erase(screen.turnQueue.begin()); },
                    [&] { screen.turnQueue = queue; });
    Camera& camera = battle.renderer.camera;
    changedAndDrawn("the camera", [&] { camera.yaw += 0.3f; }, [&] { camera.yaw -= 0.3f; });
    screen.activeUnit = active;
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
