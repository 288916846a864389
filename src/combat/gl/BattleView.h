#pragma once

#include "combat/CombatHooks.h"
#include "combat/CombatScreen.h"
#include "combat/gl/GroundLayer.h"
#include "combat/gl/TileBatches.h"
#include "render/Maths.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class HudLayout;
class ParticlePool;
class Renderer;
struct ModelNode;

// Pictures of the battle screen, loaded once.
struct BattleImages {
    uint32_t background = 0;
    uint32_t victory[2] = {0, 0};
    uint32_t emptyBar = 0;
    uint32_t lifeBar = 0;
    uint32_t timeBar = 0;
    uint32_t deadBar = 0;
    uint32_t statCard = 0;
    uint32_t statCardMirror = 0;
    uint32_t statusSet[3] = {0, 0, 0};
    uint32_t statusClear[3] = {0, 0, 0};
    uint32_t pauseBlack = 0;
    uint32_t pauseTop = 0;
    uint32_t howToPlay[2] = {0, 0};
};

// The battle in the window: draws the battlefield, the victory and pause screens, runs the pick pass, and
// passes sound, layouts and key posts to the functions the game installs.
class BattleView : public CombatHooks {
public:
    BattleView(Renderer& renderer, ParticlePool& particles);
    ~BattleView() override;
    BattleView(const BattleView&) = delete;
    BattleView& operator=(const BattleView&) = delete;

    // Loads the screen's pictures (first call only), the tile textures the map lacks, and builds the tile
    // block, tile marker and active-unit marker models when nobody has yet.
    void Prepare(LevelMap& map);
    // Gives every unit whose core has no drawing yet its model in its skin through the core preparation
    // hook.
    void PrepareUnits(CombatScreen& screen);
    // The battle whose pause overlay DrawPause draws.
    void SetScreen(CombatScreen* screen) { screen_ = screen; }

    // [SECTION] CombatHooks
    void PlaySound(const std::string& path, bool stream, bool looping) override;
    void StopSound(const std::string& path) override;
    void SpawnProjectile(ProjectileKind kind, const Vector3& from, const Vector3& to) override;
    void ClearParticles() override;
    void LoadHud(const std::string& path) override;
    void PostKeyDown(int32_t keyCode) override;
    void DrawBattle(CombatScreen& screen) override;
    void DrawVictory(int32_t player) override;
    void DrawSummary(const CombatScreen& screen) override;
    void DrawPause() override;
    void AddBattleLight() override;
    void RemoveBattleLight() override;
    void ShowOptions(bool shown) override;

    // [SECTION] Picking
    // Draws the tiles, units and layout in their pick colours over a cleared frame (camera not advanced).
    void DrawPickPass(CombatScreen& screen);
    // The pick id of the pixel (x, y) of the last pass, x from the left and y from the top of the window.
    int32_t ReadPickId(int32_t x, int32_t y) const;
    // Runs the pick pass and finds the unit or tile at (x, y); the raw id is written when asked for.
    PickResult PickAt(CombatScreen& screen, int32_t x, int32_t y, int32_t* id = nullptr);

    // [SECTION] Parts drawn by the frame
    // The tiles with their markers (depth test on), or their pick colours.
    void DrawTiles(CombatScreen& screen, bool pickPass);
    // The tiles and the backdrop as the last still frame left them when nothing that shapes them changed,
    // drawn otherwise; then the marker plates over them. clearColour is what the frame was cleared to.
    void DrawGround(CombatScreen& screen, const float* clearColour);
    // The kept copy of the tiles and backdrop.
    const GroundLayer& groundLayer() const { return ground_; }
    // The ground, the mechs (not their bars or the active-unit marker) and the marker plates as the last
    // still frame left them when nothing that shapes them changed; when only the markers changed, the ground
    // and mechs so and the plates drawn over them; all drawn otherwise.
    void DrawField(CombatScreen& screen, const float* clearColour);
    // The kept copy of the ground, mechs and plates.
    const GroundLayer& fieldLayer() const { return field_; }
    // The kept copy of the ground and mechs, without the plates.
    const GroundLayer& mechLayer() const { return mechs_; }
    // The marker plates of the marked tiles in sight, lifted by lift, in one draw (blending set by the
    // caller).
    void DrawMarkerPlates(const LevelMap& map, const ModelNode& plate, float lift);
    // The screen-filling backdrop behind everything drawn so far: only pixels no tile covers show it.
    void DrawBackdrop(uint32_t texture);
    // Every unit of the turn queue, with bars and the active-unit marker outside the pick pass.
    void DrawUnits(CombatScreen& screen, bool pickPass);
    // The mechs of the turn queue alone, lit and textured or in their pick colours.
    void DrawMechs(CombatScreen& screen, bool pickPass);
    // The units' bars and the active-unit marker, over the mechs.
    void DrawUnitMarks(CombatScreen& screen);
    // The two stat cards, when they are on.
    void DrawStatCards(CombatScreen& screen);
    // The stat, move and attack icons.
    void DrawStatusIcons(CombatScreen& screen);

    // Where the bob of the active-unit marker has carried it, relative to its place over the unit.
    const Transform& activeMarkerPose() const { return markerPose_; }

    // Draws every button of the layout as a plate of its pick colour (the battle's pick pass).
    void DrawLayoutPickPlates(const HudLayout& layout);

    // What the game plugs in; each may stay empty.
    std::function<void(bool pickPass)> drawHud;
    std::function<void(const std::string& path)> loadHud;
    std::function<void(int32_t keyCode)> postKeyDown;
    std::function<void(const std::string& path, bool stream, bool looping)> playSound;
    std::function<void(const std::string& path)> stopSound;
    std::function<void(bool shown)> showOptions;
    // Draws the options screen as its own state does (the pause menu's options page).
    std::function<void()> drawOptions;

    Renderer& renderer;
    ParticlePool& particles;
    BattleImages images;

private:
    void drawBars(const Unit& unit);
    void drawScene(CombatScreen& screen, bool advanceCamera);
    // Which tiles are in sight, nearest first, and whether they fill the view.
    void FindShownTiles(const LevelMap& map);
    // The blocks of the tiles in sight, textured and lit or in their pick colours.
    void DrawTileBlocks(LevelMap& map, bool pickPass);
    // The marker plates of the marked tiles in sight, blended over the tiles.
    void DrawTilePlates(CombatScreen& screen);
    // Everything the tiles and the backdrop are drawn from, camera and lights included.
    GroundLayer::Key GroundKey(const LevelMap& map, const float* clearColour) const;
    // The ground's key, then everything the mechs are drawn from.
    GroundLayer::Key MechKey(const CombatScreen& screen, GroundLayer::Key groundKey) const;
    // The mechs' key, then everything the plates are drawn from.
    GroundLayer::Key FieldKey(const CombatScreen& screen, GroundLayer::Key mechKey) const;
    // The tiles and backdrop, copied or drawn, over the tiles FindShownTiles found; no plates.
    void DrawGroundFor(CombatScreen& screen, const GroundLayer::Key& key);
    // Lit, the given specular material, texturing on with no texture bound, white: the state the tiles
    // (0.1, which the plates are drawn in) and the mechs (1) leave behind.
    void LeaveLitState(float specular);
    // The mechs' animations step on in a frame that copies the mechs rather than draws them.
    void StepMechAnimations(CombatScreen& screen);

    CombatScreen* screen_ = nullptr;
    bool imagesLoaded_ = false;
    bool lightAdded_ = false;
    std::unique_ptr<ModelNode> tileBlock_;
    std::unique_ptr<ModelNode> tileMarker_;
    std::unique_ptr<ModelNode> activeMarker_;
    // The active-unit marker's drawn copy: its own transform and frame counter.
    Transform markerPose_;
    int32_t markerFrame_ = 0;
    // Which tiles the last DrawTiles found in sight, and the order it drew them in.
    std::vector<bool> shownTiles_;
    struct TileInOrder {
        float distance;
        uint32_t x;
        uint32_t y;
    };
    std::vector<TileInOrder> drawOrder_;
    // Whether the last DrawTiles covered every pixel of the view, so that no backdrop can show.
    bool tilesFillView_ = false;
    // Whether a tile in sight has a marker.
    bool anyMarkerShown_ = false;
    // The tiles and backdrop of the last still frames.
    GroundLayer ground_;
    // The ground and mechs of the last still frames.
    GroundLayer mechs_;
    // The ground, mechs and plates of the last still frames.
    GroundLayer field_;
    // The tile blocks, drawn a texture at a time.
    TileBatches batches_;
    // The marker plates of the last frame, corners in world coordinates.
    struct MarkerRgba {
        float rgba[4];
    };
    static MarkerRgba MarkerColourOf(TileMarker marker);
    struct PlateCorner {
        float position[3];
        MarkerRgba colour;
    };
    std::vector<PlateCorner> plateCorners_;
    // While a one-pixel pick pass runs: the pixel's window in normalised device coordinates.
    struct PickWindow {
        float lowX;
        float highX;
        float lowY;
        float highY;
    };
    std::optional<PickWindow> pickWindow_;
};
