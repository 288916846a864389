#include "combat/gl/BattleView.h"
#include "combat/gl/BattleReadouts.h"

#include "combat/BattleLayout.h"
#include "combat/UnitMovement.h"
#include "combat/gl/BattleParticles.h"
#include "combat/gl/GroundLayer.h"
#include "combat/gl/TileBatches.h"
#include "data/Component.h"
#include "hud/HudLayout.h"
#include "platform/sdl/Texture.h"
#include "render/ModelNode.h"
#include "render/ModelSlots.h"
#include "render/gl/ModelDrawing.h"
#include "render/gl/Renderer.h"

#include <GL/glew.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr float MarkerAlpha = 0.65f;

void PickColour(int32_t id) {
    glColor3ub(static_cast<GLubyte>(id / 1000000), static_cast<GLubyte>((id / 1000) % 1000),
               static_cast<GLubyte>(id % 1000));
}

} // namespace

BattleView::MarkerRgba BattleView::MarkerColourOf(TileMarker marker) {
    switch (marker) {
    case TileMarker::Reachable:
    case TileMarker::WasReachable:
        return {{0, 0, 1, MarkerAlpha}};
    case TileMarker::Target:
        return {{1, 0, 0, MarkerAlpha}};
    case TileMarker::Path:
        return {{1, 0.65f, 0, MarkerAlpha}};
    case TileMarker::PathEnd:
        return {{0, 1, 0, MarkerAlpha}};
    default:
        return {{1, 1, 1, MarkerAlpha}};
    }
}

namespace {

// The clip-space planes of the current projection and model-view: a box wholly outside one of them is out
// of sight.
class ViewVolume {
public:
    // The whole view, or only the part of it inside the window rectangle [low, high] of normalised device
    // coordinates (x and y from -1 to 1).
    explicit ViewVolume(float lowX = -1.0f, float highX = 1.0f, float lowY = -1.0f, float highY = 1.0f)
        : low_{lowX, lowY}, high_{highX, highY} {
        GLfloat modelView[16];
        GLfloat projection[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, modelView);
        glGetFloatv(GL_PROJECTION_MATRIX, projection);
        // Column-major: clip = projection * modelView * point.
        for (int column = 0; column < 4; ++column) {
            for (int row = 0; row < 4; ++row) {
                float sum = 0.0f;
                for (int k = 0; k < 4; ++k) {
                    sum += projection[k * 4 + row] * modelView[column * 4 + k];
                }
                clip_[column * 4 + row] = sum;
            }
        }
    }

    // Whether any part of the box [low, high] may be seen.
    bool MayShow(const Vector3& low, const Vector3& high) const {
        float corners[8][4];
        for (int i = 0; i < 8; ++i) {
            const float p[3] = {(i & 1) ? high.x : low.x, (i & 2) ? high.y : low.y, (i & 4) ? high.z : low.z};
            for (int row = 0; row < 4; ++row) {
                corners[i][row] = clip_[row] * p[0] + clip_[4 + row] * p[1] + clip_[8 + row] * p[2] + clip_[12 + row];
            }
        }
        // low w <= x, y <= high w and -w <= z <= w: six planes, each an axis and a side.
        for (int axis = 0; axis < 3; ++axis) {
            const float low = axis < 2 ? low_[axis] : -1.0f;
            const float high = axis < 2 ? high_[axis] : 1.0f;
            bool allBelow = true;
            bool allAbove = true;
            for (int i = 0; i < 8 && (allBelow || allAbove); ++i) {
                allBelow = allBelow && corners[i][axis] < low * corners[i][3];
                allAbove = allAbove && corners[i][axis] > high * corners[i][3];
            }
            if (allBelow || allAbove) {
                return false;
            }
        }
        return true;
    }

private:
    float clip_[16] = {};
    float low_[2];
    float high_[2];
};

// The whole view, or only the window of a one-pixel pick pass.
template <typename Window> ViewVolume VolumeFor(const std::optional<Window>& window) {
    return window.has_value() ? ViewVolume(window->lowX, window->highX, window->lowY, window->highY) : ViewVolume();
}

// The box a tile's block fills: 4 units square around its centre, from the ground to half its elevation.
bool TileMayShow(const ViewVolume& volume, uint32_t x, uint32_t y, const MapTile& tile) {
    const float top = static_cast<float>(tile.elevation) * 0.5f;
    const float centreX = static_cast<float>(x) * 4.0f;
    const float centreZ = static_cast<float>(y) * 4.0f;
    // The marker plate sits a little above the top.
    return volume.MayShow({centreX - 2.0f, std::min(0.0f, top) - 0.1f, centreZ - 2.0f},
                          {centreX + 2.0f, std::max(0.0f, top) + 0.1f, centreZ + 2.0f});
}

// The current model-view, projection and viewport, as GLU's projections take them.
struct Projection {
    GLdouble modelView[16];
    GLdouble projection[16];
    GLint viewport[4];
};

Projection CurrentProjection() {
    Projection current{};
    glGetDoublev(GL_MODELVIEW_MATRIX, current.modelView);
    glGetDoublev(GL_PROJECTION_MATRIX, current.projection);
    glGetIntegerv(GL_VIEWPORT, current.viewport);
    return current;
}

// Whether every pixel of the view looks down onto the map's blocks, so that nothing behind them shows. Each
// corner's ray has to meet the ground inside the map, short of the far plane; the view's rays meet the ground
// in the quadrilateral those four points span, and over that ground stands a block at least as high. The
// view has to start above the highest block: from inside one, its faces turned away would let the rays through.
bool GroundFillsView(const LevelMap& map, double highestTop) {
    const Projection view = CurrentProjection();
    const GLdouble* modelView = view.modelView;
    const GLdouble* projection = view.projection;
    const GLint* viewport = view.viewport;
    // The blocks of the map span [-2, 4 w - 2] x [-2, 4 h - 2]; a little inside, against rounding.
    constexpr double margin = 0.05;
    const double lowX = -2.0 + margin;
    const double lowZ = -2.0 + margin;
    const double highX = static_cast<double>(map.width()) * 4.0 - 2.0 - margin;
    const double highZ = static_cast<double>(map.height()) * 4.0 - 2.0 - margin;
    for (int corner = 0; corner < 4; ++corner) {
        const double windowX = viewport[0] + ((corner & 1) ? viewport[2] : 0);
        const double windowY = viewport[1] + ((corner & 2) ? viewport[3] : 0);
        GLdouble nearPoint[3];
        GLdouble farPoint[3];
        if (gluUnProject(windowX, windowY, 0.0, modelView, projection, viewport, &nearPoint[0], &nearPoint[1],
                         &nearPoint[2]) != GL_TRUE ||
            gluUnProject(windowX, windowY, 1.0, modelView, projection, viewport, &farPoint[0], &farPoint[1],
                         &farPoint[2]) != GL_TRUE) {
            return false;
        }
        const double fall = nearPoint[1] - farPoint[1];
        // The ray has to start above every block and reach the ground before the far plane.
        if (!(nearPoint[1] > highestTop) || !(fall >= nearPoint[1])) {
            return false;
        }
        const double along = nearPoint[1] / fall;
        const double x = nearPoint[0] + (farPoint[0] - nearPoint[0]) * along;
        const double z = nearPoint[2] + (farPoint[2] - nearPoint[2]) * along;
        if (!(x > lowX && x < highX && z > lowZ && z < highZ)) {
            return false;
        }
    }
    return true;
}

// The cube around a mech's position that holds everything drawn for it.
bool UnitMayShow(const ViewVolume& volume, const Component& core) {
    const float reach = ComponentReach(core);
    if (!std::isfinite(reach)) {
        return true;
    }
    const Vector3& at = core.transform.position;
    return volume.MayShow({at.x - reach, at.y - reach, at.z - reach}, {at.x + reach, at.y + reach, at.z + reach});
}

// A mech's node as its lists draw it: the model its core's list was made from, and where every node of it
// stands.
void AppendNodeToKey(GroundLayer::Key& key, const Component& node) {
    const uint32_t look[3] = {static_cast<uint32_t>(node.modelSlot), node.displayList,
                              static_cast<uint32_t>(node.children.size())};
    AppendToKey(key, look, sizeof(look));
    AppendToKey(key, &node.model, sizeof(node.model));
    AppendToKey(key, &node.transform.position, sizeof(node.transform.position));
    AppendToKey(key, &node.transform.rotation, sizeof(node.transform.rotation));
    AppendToKey(key, &node.transform.scale, sizeof(node.transform.scale));
    for (const auto& child : node.children) {
        AppendNodeToKey(key, *child);
    }
}

// A model of the renderer's table when it has one, otherwise one of our own built on first use.
ModelNode* BuiltIn(std::unique_ptr<ModelNode>& own, int32_t type) {
    if (own == nullptr) {
        own = std::make_unique<ModelNode>();
        own->BuildProceduralModel(type);
    }
    return own.get();
}

} // namespace

BattleView::BattleView(Renderer& render, ParticlePool& pool) : renderer(render), particles(pool) {}

BattleView::~BattleView() = default;

void BattleView::Prepare(LevelMap& map) {
    for (int32_t i = 0; i < LevelMap::TextureCount; ++i) {
        if (map.textures[i] == 0) {
            map.textures[i] = LoadTexture(LevelMap::TextureFiles[i]);
        }
    }
    BuiltIn(tileBlock_, ProceduralTileBlock);
    BuiltIn(tileMarker_, ProceduralTileMarker);
    if (renderer.model(activeMarkerSlot) == nullptr) {
        BuiltIn(activeMarker_, ProceduralActiveMarker);
    }
    if (imagesLoaded_) {
        return;
    }
    imagesLoaded_ = true;
    images.background = LoadTexture("Art Assets\\Textures\\bg.png");
    images.victory[0] = LoadTexture("Art Assets\\Screens\\Player1Victory.png");
    images.victory[1] = LoadTexture("Art Assets\\Screens\\Player2Victory.png");
    images.emptyBar = LoadTexture("Art Assets\\Textures\\Empty_Bar.png");
    images.lifeBar = LoadTexture("Art Assets\\Textures\\Life_Bar.png");
    images.timeBar = LoadTexture("Art Assets\\Textures\\Time_Bar.png");
    images.deadBar = LoadTexture("Art Assets\\Textures\\Dead_Bar.png");
    images.statCard = LoadTexture("Art Assets\\Textures\\statcard.png");
    images.statCardMirror = LoadTexture("Art Assets\\Textures\\statcardMirror.png");
    for (int i = 0; i < 3; ++i) {
        images.statusSet[i] = LoadTexture(StatusIcons[i].whenSet);
        images.statusClear[i] = LoadTexture(StatusIcons[i].whenClear);
    }
    images.pauseBlack = LoadTexture("Art Assets\\Screens\\pauseBlack.png");
    images.pauseTop = LoadTexture("Art Assets\\Buttons\\Pause\\pauseTop1.png");
    images.howToPlay[0] = LoadTexture("Art Assets\\Screens\\HowTo_Units.png");
    images.howToPlay[1] = LoadTexture("Art Assets\\Screens\\HowTo_Controls.png");
}

void BattleView::PrepareUnits(CombatScreen& screen) {
    for (Unit* unit : screen.turnQueue) {
        if (unit->core == nullptr || unit->core->displayList != 0) {
            continue;
        }
        PrepareCoreVisual(*unit->core, unit->skin);
    }
}

// [SECTION] CombatHooks

void BattleView::PlaySound(const std::string& path, bool stream, bool looping) {
    if (playSound) {
        playSound(path, stream, looping);
    }
}

void BattleView::StopSound(const std::string& path) {
    if (stopSound) {
        stopSound(path);
    }
}

void BattleView::SpawnProjectile(ProjectileKind kind, const Vector3& from, const Vector3& to) {
    if (kind != ProjectileKind::None) {
        EmitWeaponEffect(particles, static_cast<int32_t>(kind), from, to);
    }
}

void BattleView::ClearParticles() {
    ClearBattleParticles(particles);
}

void BattleView::LoadHud(const std::string& path) {
    if (loadHud) {
        loadHud(path);
    }
}

void BattleView::PostKeyDown(int32_t keyCode) {
    if (postKeyDown) {
        postKeyDown(keyCode);
    }
}

void BattleView::AddBattleLight() {
    if (!lightAdded_) {
        renderer.AddLight({0.5f, 0.5f, 0.5f}, {0.2f, 0.2f, 0.2f}, {0.7f, 0.7f, 0.7f}, {0, 10, 0},
                          {0, -1.0f, 0}, 3);
        lightAdded_ = true;
    }
}

void BattleView::RemoveBattleLight() {
    if (lightAdded_) {
        renderer.RemoveLastLight();
        lightAdded_ = false;
    }
}

void BattleView::ShowOptions(bool shown) {
    if (showOptions) {
        showOptions(shown);
    }
}

void BattleView::drawScene(CombatScreen& screen, bool advanceCamera) {
    // The colour the frame is cleared to shows where nothing covers it, so the ground layer depends on it.
    float clearColour[4] = {};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clearColour);
    if (advanceCamera) {
        renderer.BeginScene();
    } else {
        renderer.ClearFrame();
        renderer.ApplyCamera();
    }
    if (screen.renderPickingColours) {
        DrawTiles(screen, true);
        if (!tilesFillView_) {
            DrawBackdrop(images.background);
        }
        DrawUnits(screen, true);
        return;
    }
    DrawField(screen, clearColour);
    DrawUnitMarks(screen);
    glFlush();
}

void BattleView::DrawBattle(CombatScreen& screen) {
    screen_ = &screen;
    drawScene(screen, true);
    if (drawHud) {
        drawHud(screen.renderPickingColours);
    }
    DrawBattleParticles(particles, renderer);
    DrawStatCards(screen);
    DrawStatusIcons(screen);
    DrawBattleReadouts(renderer, screen);
}

void BattleView::DrawSummary(const CombatScreen& screen) {
    DrawBattleSummary(renderer, images.background, screen);
    if (drawHud) {
        drawHud(false);
    }
}

void BattleView::DrawVictory(int32_t player) {
    renderer.ClearFrame();
    DrawTexturedRect(images.victory[player == 1 ? 0 : 1], 0, 0, 800, 600, false);
    if (drawHud) {
        drawHud(false);
    }
}

void BattleView::DrawPause() {
    if (screen_ == nullptr) {
        return;
    }
    CombatScreen& screen = *screen_;
    if (screen.optionsShown) {
        if (drawOptions) {
            drawOptions();
        } else if (drawHud) {
            renderer.ClearFrame();
            drawHud(false);
        }
        return;
    }
    if (screen.pausePage == 0) {
        drawScene(screen, false);
        DrawBattleParticles(particles, renderer);
        DrawStatusIcons(screen);
        DrawTexturedRect(images.pauseBlack, 0, 0, 800, 600, true);
        DrawTexturedRect(images.pauseTop, 300, 150, 200, 50, true);
    } else {
        renderer.ClearFrame();
        DrawTexturedRect(images.howToPlay[screen.pausePage == 1 ? 0 : 1], 0, 0, 800, 600, false);
    }
    if (drawHud) {
        drawHud(false);
    }
}

// [SECTION] Drawing

void BattleView::FindShownTiles(const LevelMap& map) {
    // Tiles out of sight are not sent at all; a pick pass of one pixel sends only the tiles around it.
    const ViewVolume volume = VolumeFor(pickWindow_);
    shownTiles_.assign(map.tiles().size(), false);
    anyMarkerShown_ = false;
    // Nearest first: the depth test then spares the pixels of tiles hidden behind nearer ones.
    const Vector3 eye = renderer.camera.eye;
    drawOrder_.clear();
    // A block below the ground is drawn inside out; with one in the map the backdrop is always drawn.
    bool anySunken = false;
    float highestTop = 0.0f;
    for (uint32_t x = 0; x < map.width(); ++x) {
        for (uint32_t y = 0; y < map.height(); ++y) {
            const MapTile* tile = map.TileAt(static_cast<int32_t>(x), static_cast<int32_t>(y));
            anySunken = anySunken || tile->elevation < 0;
            highestTop = std::max(highestTop, static_cast<float>(tile->elevation) * 0.5f);
            if (!TileMayShow(volume, x, y, *tile)) {
                continue;
            }
            shownTiles_[x + static_cast<size_t>(y) * map.width()] = true;
            anyMarkerShown_ = anyMarkerShown_ || tile->marker != TileMarker::None;
            const float dx = static_cast<float>(x) * 4.0f - eye.x;
            const float dy = static_cast<float>(tile->elevation) * 0.5f - eye.y;
            const float dz = static_cast<float>(y) * 4.0f - eye.z;
            drawOrder_.push_back({dx * dx + dy * dy + dz * dz, x, y});
        }
    }
    tilesFillView_ = !anySunken && map.width() > 0 && map.height() > 0 && GroundFillsView(map, highestTop);
    std::sort(drawOrder_.begin(), drawOrder_.end(),
              [](const TileInOrder& a, const TileInOrder& b) { return a.distance < b.distance; });
}

void BattleView::DrawTiles(CombatScreen& screen, bool pickPass) {
    LevelMap& map = screen.map;
    glEnable(GL_DEPTH_TEST);
    FindShownTiles(map);
    DrawTileBlocks(map, pickPass);
    if (!pickPass) {
        DrawTilePlates(screen);
    }
}

void BattleView::DrawTileBlocks(LevelMap& map, bool pickPass) {
    ModelNode* block = BuiltIn(tileBlock_, ProceduralTileBlock);
    if (pickPass) {
        renderer.SetLightingMode(Flat);
        glDisable(GL_LIGHTING);
        glDisable(GL_BLEND);
        UnbindTexture();
    } else {
        renderer.SetLightingMode(Lit);
        renderer.SetMaterial(0.1f, 0.1f, 0.1f, 1.0f);
        glColor4f(1, 1, 1, 1);
        glEnable(GL_TEXTURE_2D);
        batches_.Update(map, *block, WhiteTexture());
        batches_.Begin();
    }
    for (const TileInOrder& shown : drawOrder_) {
        const uint32_t x = shown.x;
        const uint32_t y = shown.y;
        const MapTile* tile = map.TileAt(static_cast<int32_t>(x), static_cast<int32_t>(y));
        const float elevation = static_cast<float>(tile->elevation);
        if (pickPass) {
            if (tile->pickId == 0) {
                continue;
            }
            glPushMatrix();
            glTranslatef(static_cast<float>(x) * 4.0f, 0.0f, static_cast<float>(y) * 4.0f);
            glScalef(1.0f, elevation, 1.0f);
            PickColour(tile->pickId);
            glCallList(block->plainList);
            glPopMatrix();
            continue;
        }
        const size_t index = x + static_cast<size_t>(y) * map.width();
        if (batches_.Batched(index)) {
            batches_.Add(index);
            continue;
        }
        glPushMatrix();
        glTranslatef(static_cast<float>(x) * 4.0f, 0.0f, static_cast<float>(y) * 4.0f);
        glScalef(1.0f, elevation, 1.0f);
        const uint32_t texture = map.TextureHandleOf(*tile);
        glBindTexture(GL_TEXTURE_2D, texture != 0 ? texture : WhiteTexture());
        glCallList(block->fullList);
        glPopMatrix();
    }
    if (!pickPass) {
        batches_.Draw();
    }
    UnbindTexture();
    glColor4f(1, 1, 1, 1);
    if (pickPass) {
        glEnable(GL_LIGHTING);
        renderer.SetLightingMode(Lit);
    }
}

void BattleView::DrawTilePlates(CombatScreen& screen) {
    // The marker plates, in one draw over the finished tiles: each sits just above its tile's top, so the
    // depth test still hides it behind nearer tiles.
    if (!anyMarkerShown_) {
        return;
    }
    ModelNode* plate = BuiltIn(tileMarker_, ProceduralTileMarker);
    const float lift = static_cast<float>(3 - screen.camera.zoomLevel) * 0.0015f;
    renderer.SetLightingMode(Unlit);
    UnbindTexture();
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    DrawMarkerPlates(screen.map, *plate, lift);
    glDisable(GL_BLEND);
    renderer.SetLightingMode(Lit);
    glColor4f(1, 1, 1, 1);
}

GroundLayer::Key BattleView::MechKey(const CombatScreen& screen, GroundLayer::Key key) const {
    const auto units = static_cast<uint32_t>(screen.turnQueue.size());
    AppendToKey(key, &units, sizeof(units));
    // The skin picks the texture of the core's list.
    for (const Unit* unit : screen.turnQueue) {
        const uint32_t skin[2] = {static_cast<uint32_t>(unit->skin), unit->core != nullptr ? 1u : 0u};
        AppendToKey(key, skin, sizeof(skin));
        if (unit->core != nullptr) {
            AppendNodeToKey(key, *unit->core);
        }
    }
    return key;
}

GroundLayer::Key BattleView::FieldKey(const CombatScreen& screen, GroundLayer::Key key) const {
    // The plates' lift follows the zoom step.
    const int32_t zoom = screen.camera.zoomLevel;
    AppendToKey(key, &zoom, sizeof(zoom));
    for (const MapTile& tile : screen.map.tiles()) {
        const auto marker = static_cast<uint32_t>(tile.marker);
        AppendToKey(key, &marker, sizeof(marker));
    }
    return key;
}

GroundLayer::Key BattleView::GroundKey(const LevelMap& map, const float* clearColour) const {
    GroundLayer::Key key;
    key.reserve(map.tiles().size() * 2 + 128);
    const Projection view = CurrentProjection();
    AppendToKey(key, view.modelView, sizeof(view.modelView));
    AppendToKey(key, view.projection, sizeof(view.projection));
    AppendToKey(key, clearColour, 4 * sizeof(float));
    const uint32_t size[3] = {map.width(), map.height(), images.background};
    AppendToKey(key, size, sizeof(size));
    for (const MapTile& tile : map.tiles()) {
        const uint32_t look[2] = {static_cast<uint32_t>(tile.elevation), map.TextureHandleOf(tile)};
        AppendToKey(key, look, sizeof(look));
    }
    for (const Light& light : renderer.lights()) {
        AppendToKey(key, &light.ambient, sizeof(light.ambient));
        AppendToKey(key, &light.diffuse, sizeof(light.diffuse));
        AppendToKey(key, &light.specular, sizeof(light.specular));
        AppendToKey(key, light.position, sizeof(light.position));
        AppendToKey(key, &light.spotDirection, sizeof(light.spotDirection));
        AppendToKey(key, &light.type, sizeof(light.type));
    }
    return key;
}

void BattleView::DrawField(CombatScreen& screen, const float* clearColour) {
    glEnable(GL_DEPTH_TEST);
    const GroundLayer::Key groundKey = GroundKey(screen.map, clearColour);
    const GroundLayer::Key mechKey = MechKey(screen, groundKey);
    const GroundLayer::Key fieldKey = FieldKey(screen, mechKey);
    if (field_.Restore(fieldKey)) {
        StepMechAnimations(screen);
    } else {
        // The plates go over the mechs, so that a frame in which only the markers changed (the pointer moving
        // over the tiles) draws the plates alone over the copied ground and mechs. The depth test leaves each
        // plate behind the mechs and tiles in front of it.
        FindShownTiles(screen.map);
        const bool mechsStill = mechs_.Restore(mechKey);
        if (mechsStill) {
            StepMechAnimations(screen);
        } else {
            DrawGroundFor(screen, groundKey);
            // A software renderer starts filling the tiles' pixels now, while the mechs are still being sent.
            glFlush();
            DrawMechs(screen, false);
            mechs_.Offer(mechKey);
        }
        LeaveLitState(0.1f);
        DrawTilePlates(screen);
        // Over still ground and mechs only the markers changed: they stay so until the pointer reaches another
        // tile, so the field is kept from this frame on.
        field_.Offer(fieldKey, mechsStill);
    }
    // The state the mechs leave behind, whether they were drawn or copied.
    LeaveLitState(1.0f);
}

void BattleView::StepMechAnimations(CombatScreen& screen) {
    // The mechs' animations go on as drawing them would have moved them.
    for (Unit* unit : screen.turnQueue) {
        if (unit->core != nullptr) {
            StepComponentAnimations(*unit->core);
        }
    }
}

void BattleView::LeaveLitState(float specular) {
    renderer.SetLightingMode(Lit);
    renderer.SetMaterial(specular, specular, specular, 1.0f);
    glEnable(GL_TEXTURE_2D);
    UnbindTexture();
    glColor4f(1, 1, 1, 1);
}

void BattleView::DrawGround(CombatScreen& screen, const float* clearColour) {
    FindShownTiles(screen.map);
    DrawGroundFor(screen, GroundKey(screen.map, clearColour));
    DrawTilePlates(screen);
}

void BattleView::DrawGroundFor(CombatScreen& screen, const GroundLayer::Key& key) {
    LevelMap& map = screen.map;
    glEnable(GL_DEPTH_TEST);
    if (!ground_.Restore(key)) {
        DrawTileBlocks(map, false);
        // Behind the tiles: only the pixels they left empty are shaded, and none at all when they fill the
        // view.
        if (!tilesFillView_) {
            DrawBackdrop(images.background);
        }
        ground_.Offer(key);
    }
    // The state the tiles leave behind, whether they were drawn or copied.
    LeaveLitState(0.1f);
}

void BattleView::DrawMarkerPlates(const LevelMap& map, const ModelNode& plate, float lift) {
    // The plate's corners as its plain list sends them, moved onto each marked tile in sight, x outer and y
    // inner, each in its marker's colour.
    const size_t vertexCount = plate.vertices.size();
    plateCorners_.clear();
    for (uint32_t x = 0; x < map.width(); ++x) {
        for (uint32_t y = 0; y < map.height(); ++y) {
            const MapTile* tile = map.TileAt(static_cast<int32_t>(x), static_cast<int32_t>(y));
            if (tile->marker == TileMarker::None || !shownTiles_[x + static_cast<size_t>(y) * map.width()]) {
                continue;
            }
            const float at[3] = {static_cast<float>(x) * 4.0f,
                                 (static_cast<float>(tile->elevation) - 1.0f) * 0.5f + lift,
                                 static_cast<float>(y) * 4.0f};
            const MarkerRgba colour = MarkerColourOf(tile->marker);
            for (const ModelFace& face : plate.faces) {
                if (face.vertices[0] >= vertexCount || face.vertices[1] >= vertexCount ||
                    face.vertices[2] >= vertexCount) {
                    continue;
                }
                for (const uint32_t index : face.vertices) {
                    const Vector3& p = plate.vertices[index].position;
                    plateCorners_.push_back({{p.x + at[0], p.y + at[1], p.z + at[2]}, colour});
                }
            }
        }
    }
    if (plateCorners_.empty()) {
        return;
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(3, GL_FLOAT, sizeof(PlateCorner), &plateCorners_[0].position);
    glColorPointer(4, GL_FLOAT, sizeof(PlateCorner), &plateCorners_[0].colour);
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(plateCorners_.size()));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    const MarkerRgba last = plateCorners_.back().colour;
    glColor4f(last.rgba[0], last.rgba[1], last.rgba[2], last.rgba[3]);
}

void BattleView::DrawBackdrop(uint32_t texture) {
    // Every depth of the backdrop is the far plane's; it shows only where the depth buffer is still clear.
    glDepthRange(1.0, 1.0);
    glDepthMask(GL_FALSE);
    glDepthFunc(GL_LEQUAL);
    renderer.Begin2D();
    glEnable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glDisable(GL_BLEND);
    renderer.SetLightingMode(Unlit);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture != 0 ? texture : WhiteTexture());
    glColor3f(1, 1, 1);
    const auto right = static_cast<float>(renderer.width);
    const auto bottom = static_cast<float>(renderer.height);
    glBegin(GL_QUADS);
    glTexCoord2f(0, 1);
    glVertex2f(0, 0);
    glTexCoord2f(0, 0);
    glVertex2f(0, bottom);
    glTexCoord2f(1, 0);
    glVertex2f(right, bottom);
    glTexCoord2f(1, 1);
    glVertex2f(right, 0);
    glEnd();
    renderer.SetLightingMode(Lit);
    UnbindTexture();
    glEnable(GL_CULL_FACE);
    renderer.End2D();
    glDepthMask(GL_TRUE);
    glDepthRange(0.0, 1.0);
}

void BattleView::DrawUnits(CombatScreen& screen, bool pickPass) {
    DrawMechs(screen, pickPass);
    if (!pickPass) {
        DrawUnitMarks(screen);
    }
}

void BattleView::DrawMechs(CombatScreen& screen, bool pickPass) {
    if (pickPass) {
        renderer.SetLightingMode(Flat);
        glDisable(GL_LIGHTING);
        UnbindTexture();
    } else {
        renderer.SetLightingMode(Lit);
        renderer.SetMaterial(1.0f, 1.0f, 1.0f, 1.0f);
        glColor4f(1, 1, 1, 1);
    }
    // A mech out of sight is not sent, nor one away from a one-pixel pick pass's pixel.
    const ViewVolume volume = VolumeFor(pickWindow_);
    for (Unit* unit : screen.turnQueue) {
        if (unit->core == nullptr) {
            continue;
        }
        if (!UnitMayShow(volume, *unit->core)) {
            if (!pickPass) {
                StepComponentAnimations(*unit->core);
            }
            continue;
        }
        if (pickPass) {
            PickColour(static_cast<int32_t>(unit->core->pickColour));
        }
        DrawComponent(*unit->core, pickPass);
    }
    if (pickPass) {
        glEnable(GL_LIGHTING);
        renderer.SetLightingMode(Lit);
        glColor4f(1, 1, 1, 1);
    }
}

void BattleView::DrawUnitMarks(CombatScreen& screen) {
    for (Unit* unit : screen.turnQueue) {
        drawBars(*unit);
    }
    if (screen.activeUnit != nullptr) {
        ModelNode* marker = renderer.model(activeMarkerSlot);
        if (marker == nullptr) {
            marker = BuiltIn(activeMarker_, ProceduralActiveMarker);
        }
        renderer.SetMaterial(0.1f, 0.1f, 0.1f, 1.0f);
        glColor3f(0.0f, 0.0f, 0.9f);
        const Vector3 at = UnitWorldPosition(*screen.activeUnit);
        glPushMatrix();
        glTranslatef(at.x, at.y + 2.0f, at.z);
        ApplyTransform(markerPose_);
        glCallList(marker->fullList);
        glPopMatrix();
        glColor4f(1, 1, 1, 1);
        // The marker is a drawn copy of its model: it bobs one frame further each time it is drawn.
        if (marker->animated) {
            StepAnimation(*marker, 0, markerFrame_, markerPose_);
        }
    }
}

void BattleView::drawBars(const Unit& unit) {
    const Projection view = CurrentProjection();
    const GLdouble* modelView = view.modelView;
    const GLdouble* projection = view.projection;
    const GLint* viewport = view.viewport;
    const float scale = BarScale(renderer.camera.distance);
    const float k = 1.25f / scale;
    const Vector3 at = UnitWorldPosition(unit);
    struct Bar {
        float height;
        uint32_t fill;
        float fraction;
    };
    const float life = unit.fullHp > 0 ? static_cast<float>(unit.hp) / static_cast<float>(unit.fullHp) : 0.0f;
    const Bar bars[2] = {{4.6f, images.lifeBar, life},
                         {3.5f, images.timeBar, static_cast<float>(unit.timeUsed) / 100.0f}};
    for (const Bar& bar : bars) {
        GLdouble wx = 0;
        GLdouble wy = 0;
        GLdouble wz = -1;
        if (gluProject(at.x, at.y + bar.height * k, at.z, modelView, projection, viewport, &wx, &wy, &wz) !=
            GL_TRUE) {
            continue;
        }
        // The layout's pixels, whatever the window's size.
        const double sx = 800.0 / std::max(1, viewport[2]);
        const double sy = 600.0 / std::max(1, viewport[3]);
        const BarPlacement place = PlaceBar((wx - viewport[0]) * sx, (wy - viewport[1]) * sy, wz, 600, scale);
        if (!place.visible || place.x < -200 || place.x > 1000 || place.y < -200 || place.y > 800 ||
            place.width <= 0 || place.height <= 0) {
            continue;
        }
        const auto x = static_cast<uint32_t>(std::max(0, place.x));
        const auto y = static_cast<uint32_t>(std::max(0, place.y));
        const auto w = static_cast<uint32_t>(place.width);
        const auto h = static_cast<uint32_t>(place.height);
        DrawTexturedRect(images.deadBar, x, y, w, h, true);
        const int32_t fill = BarFill(bar.fraction, place.width);
        if (fill > 0) {
            DrawTexturedRect(bar.fill, x, y, static_cast<uint32_t>(fill), h, true);
        }
        DrawTexturedRect(images.emptyBar, x, y, w, h, true);
    }
}

void BattleView::DrawStatCards(CombatScreen& screen) {
    if (!screen.showStatCards) {
        return;
    }
    DrawTexturedRect(images.statCardMirror, 0, 455, 252, 144, true);
    DrawTexturedRect(images.statCard, 548, 455, 252, 144, true);
    std::vector<StatLine> lines = StatCardLines(screen.hoveredUnit, 578, 698, true);
    std::vector<StatLine> left = StatCardLines(screen.activeUnit, 30, 150, false, true);
    lines.insert(lines.end(), left.begin(), left.end());
    renderer.Begin2D();
    UnbindTexture();
    glColor3f(1.0f, 1.0f, 1.0f);
    for (const StatLine& line : lines) {
        glRasterPos2i(line.x, line.y);
        renderer.font.Print("%s", line.text.c_str());
    }
    renderer.End2D();
}

void BattleView::DrawStatusIcons(CombatScreen& screen) {
    const bool flags[3] = {screen.showStatCards, screen.moveMode, screen.moveMode};
    for (int i = 0; i < 3; ++i) {
        const StatusIcon& icon = StatusIcons[i];
        DrawTexturedRect(flags[i] ? images.statusSet[i] : images.statusClear[i],
                         static_cast<uint32_t>(icon.x), static_cast<uint32_t>(icon.y),
                         static_cast<uint32_t>(icon.width), static_cast<uint32_t>(icon.height), true);
    }
}

// [SECTION] Picking

void BattleView::DrawPickPass(CombatScreen& screen) {
    renderer.ClearFrame();
    glClearColor(0, 0, 0, 0);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.5f, 0.5f, 0.5f, 0.0f);
    renderer.ApplyCamera();
    glDisable(GL_DITHER);
    DrawTiles(screen, true);
    DrawUnits(screen, true);
    if (drawHud) {
        drawHud(true);
    }
    glEnable(GL_DITHER);
}

int32_t BattleView::ReadPickId(int32_t x, int32_t y) const {
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    if (x < 0 || y < 0 || x >= viewport[2] || y >= viewport[3]) {
        return 0;
    }
    GLubyte rgb[3] = {0, 0, 0};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(viewport[0] + x, viewport[1] + viewport[3] - 1 - y, 1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
    return rgb[0] * 1000000 + rgb[1] * 1000 + rgb[2];
}

PickResult BattleView::PickAt(CombatScreen& screen, int32_t x, int32_t y, int32_t* id) {
    // Only the pixel under the cursor is read back, so only that pixel is cleared and drawn.
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const bool inside = x >= 0 && y >= 0 && x < viewport[2] && y < viewport[3];
    if (inside) {
        glEnable(GL_SCISSOR_TEST);
        glScissor(viewport[0] + x, viewport[1] + viewport[3] - 1 - y, 1, 1);
        // The pixel's part of the view, a pixel wider on every side.
        const float w = static_cast<float>(viewport[2]);
        const float h = static_cast<float>(viewport[3]);
        const float row = static_cast<float>(viewport[3] - 1 - y);
        pickWindow_ = PickWindow{2.0f * (static_cast<float>(x) - 1.0f) / w - 1.0f,
                                 2.0f * (static_cast<float>(x) + 2.0f) / w - 1.0f, 2.0f * (row - 1.0f) / h - 1.0f,
                                 2.0f * (row + 2.0f) / h - 1.0f};
    }
    DrawPickPass(screen);
    pickWindow_.reset();
    glDisable(GL_SCISSOR_TEST);
    const int32_t found = ReadPickId(x, y);
    if (id != nullptr) {
        *id = found;
    }
    PickResult result;
    if (found == 0) {
        return result;
    }
    for (Unit* unit : screen.turnQueue) {
        if (unit->core != nullptr && static_cast<int32_t>(unit->core->pickColour) == found) {
            result.kind = PickKind::Unit;
            result.unit = unit;
            return result;
        }
    }
    if (MapTile* tile = screen.map.TileByPickId(found)) {
        result.kind = PickKind::MapTile;
        result.tile = tile;
    }
    return result;
}

void BattleView::DrawLayoutPickPlates(const HudLayout& layout) {
    renderer.Begin2D();
    renderer.SetLightingMode(Flat);
    glDisable(GL_LIGHTING);
    glDisable(GL_BLEND);
    UnbindTexture();
    glBegin(GL_QUADS);
    for (const HudButton& button : layout.buttons()) {
        if (button.pickColour == 0) {
            continue;
        }
        PickColour(static_cast<int32_t>(button.pickColour));
        const auto x0 = static_cast<float>(button.xPos);
        const auto y0 = static_cast<float>(button.yPos);
        const auto x1 = x0 + static_cast<float>(button.xSize);
        const auto y1 = y0 + static_cast<float>(button.ySize);
        glVertex2f(x0, y0);
        glVertex2f(x0, y1);
        glVertex2f(x1, y1);
        glVertex2f(x1, y0);
    }
    glEnd();
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_LIGHTING);
    renderer.SetLightingMode(Lit);
    renderer.End2D();
}
