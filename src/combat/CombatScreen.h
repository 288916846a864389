#pragma once

#include "combat/BattleReadout.h"
#include "combat/CombatHooks.h"
#include "combat/LevelMap.h"
#include "combat/OpponentRule.h"
#include "combat/Pathfinder.h"
#include "combat/VeteranOpponent.h"
#include "data/Army.h"
#include "data/Unit.h"
#include "render/Camera.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One battle between the player's squad (player 1) and the computer (player 2): the mission that set it up,
// the turn queue ordered by time used, moves, shots, undo, the computer opponent and the end of the battle.
// It reads its input as plain records and calls drawing, sound and particles through CombatHooks.

// What a battle is fought for, read from the mission file.
struct MissionData {
    int32_t fac1 = 0;
    int32_t fac2 = 0;
    int32_t fac3 = 0;
    std::string fileName;
    int32_t goalType = 0;
    float timeLimit = 0.0f;
    std::vector<Unit*> targets;
};

// What the moves since the last reset cost, and where they began.
struct UndoRecord {
    int32_t startX = 0;
    int32_t startY = 0;
    int32_t time = 0;
    int32_t tiles = 0;
};

// What lies under the cursor.
enum class PickKind : int32_t { Nothing = 0, Unit = 1, MapTile = 2, HudButton = 3 };

// The result of picking a screen point: a unit or a tile (buttons are handled by the layout).
struct PickResult {
    PickKind kind = PickKind::Nothing;
    Unit* unit = nullptr;
    MapTile* tile = nullptr;
};

// Where the pointer was at its last move over the battle, and what it was on.
struct PointerState {
    bool known = false;
    int32_t x = 0; // window pixels from the top left
    int32_t y = 0;
    Unit* unit = nullptr; // the unit under it, if any
    bool onTile = false;  // a tile under it (tileX, tileY)
    int32_t tileX = 0;
    int32_t tileY = 0;
};

// The input of one battle frame.
struct CombatInput {
    int32_t wheelDelta = 0;
    bool leftClick = false; // a left click no button or editor took
    PickResult pick;        // what lies under the cursor
};

// Key codes the battle understands.
namespace CombatKey {
constexpr int32_t Escape = 1;
constexpr int32_t Backspace = 14;
constexpr int32_t Return = 28;
constexpr int32_t LeftCtrl = 29;
constexpr int32_t LeftShift = 42;
constexpr int32_t Space = 57;
} // namespace CombatKey

// Sound of a hit that leaves the target standing.
extern const char* const HitSound;
// Sound of a hit that destroys the target.
extern const char* const DestroyedSound;
// The battle's music.
extern const char* const BattleMusic;
// The layout of the summary page shown when a battle is over, and of the victory picture after it.
extern const char* const SummaryLayout;
extern const char* const WinLayout;

// The projectile look of a weapon name ("Double", then "Red", "Green", "Blue", "Plasma").
ProjectileKind EffectKindOf(std::string_view weaponName);
// The hit points a shot takes: (rand mod D) + D / 4 with D = damage + damage * (accuracy - defense) / 100;
// nothing when D is 0 or less. Draws one random value only when D > 0.
int32_t ShotDamage(int32_t damage, int32_t accuracy, int32_t defense, RandomSource& random);
// Whether the tile (tx, ty) can be seen from (sx, sy) over the elevations between them.
bool HasLineOfSight(const LevelMap& map, int32_t sx, int32_t sy, int32_t tx, int32_t ty);
// The search inputs of a unit.
Mover MoverOf(const Unit& unit);

class CombatScreen : public UnitOccupancy {
public:
    CombatScreen(LevelMap& map, Pathfinder& pathfinder, Camera& camera, CombatHooks& hooks,
                 RandomSource& random, CombatClock& clock);
    ~CombatScreen() override;
    CombatScreen(const CombatScreen&) = delete;
    CombatScreen& operator=(const CombatScreen&) = delete;

    // [SECTION] Mission
    // Loads a mission file (none: the stored one again): its stakes, level map and units, player 1's taken
    // as copies of the squad's slots in order. Returns false, with a box shown and no units, when the file
    // or its map cannot be read; a unit whose file cannot be read is left out (with a box).
    bool LoadMission(std::optional<std::string_view> path, const Army* squad);
    // Adds a unit to the end of the turn queue; the battle owns it.
    Unit* AddUnit(std::unique_ptr<Unit> unit);
    // The first unit in turn order standing on (x, y), or null.
    Unit* UnitAtTile(int32_t x, int32_t y) const;
    bool UnitAt(int32_t x, int32_t y, int32_t& player) const override;

    // [SECTION] Turn flow
    // Starts the battle (once until Exit): flags, layout, music, light, markers.
    void Enter();
    // One battle frame.
    void Update(const CombatInput& input);
    // Applies the faction stakes to the campaign (if any) and tears the battle down.
    void Exit(Campaign* campaign);
    // Ends the active unit's activation.
    void EndActivation();
    // Asks to take back the active unit's moves since its last shot.
    void RequestUndo();
    // Moves the unit at the front of the queue behind the units that go before it, and starts the next one.
    void Requeue();
    // Commits the last previewed route; the camera glides to the end tile (x, y).
    void CommitMove(int32_t x, int32_t y);
    // Sets the win flags; true when a player has won.
    bool EliminationCheck();
    // Switches between move and attack markers.
    void ToggleMoveMode();

    // [SECTION] Orders
    // A key press of the battle (Space, Backspace, Left Shift, Left Ctrl).
    void KeyPressed(int32_t keyCode);
    // The cursor moved over a tile: previews the route there when it is Reachable or on the path.
    void HoverTile(int32_t x, int32_t y);
    // The pointer moved to window pixel (x, y) over what was picked there (the read-outs follow it).
    void PointAt(int32_t x, int32_t y, const PickResult& pick);
    // A left click that no button took, on what was picked.
    void HandleClick(const PickResult& pick);

    // [SECTION] Pause
    // Escape: pauses on page 0 with the pause layout, or resumes with the battle layout. A won battle is not
    // paused, so its victory layout stays.
    void TogglePause();
    // A layout button of the pause overlay: 3 turns to the next page (menu, two how-to-play pages), 4 shows
    // or hides the options; other values do nothing.
    void PauseButton(int32_t data);

    // [SECTION] Read-outs
    // The cost of the route previewed to the tile under the pointer (shown while a human unit moves).
    RouteReadout RouteUnderPointer() const;
    // What the active unit's shots would do to the enemy under the pointer (attack mode, marked enemy).
    ShotReadout ShotUnderPointer() const;
    // The battle is over and its summary page is up (Space, Return or its button goes on to the victory).
    bool SummaryShown() const { return (player1Won || player2Won) && !summaryDone; }
    // Leaves the summary page for the victory picture and its layout, once it has been up half a second.
    void CloseSummary();

    // [SECTION] Attacks
    // Marks the tiles the active unit's weapon reaches and sees Target.
    void markAttackable();
    // Whether the active unit sees tile (x, y).
    bool hasLineOfSight(int32_t x, int32_t y) const;
    // One shot of the active unit at the target; false when the shot was refused.
    bool resolveAttack(Unit& target);

    // [SECTION] Computer opponent
    // One step of the computer's rule for the active unit.
    void AiStep();
    // The enemy of the active unit nearest to (x, y), the earlier in turn order on ties; null if none.
    Unit* NearestEnemy(int32_t x, int32_t y) const;
    // The rule that plays the unit's side.
    OpponentRule RuleOf(const Unit& unit) const;

    // [SECTION] State
    LevelMap& map;
    Pathfinder& pathfinder;
    Camera& camera;
    CombatHooks& hooks;
    RandomSource& random;
    CombatClock& clock;

    MissionData mission;
    std::vector<Unit*> turnQueue;
    Unit* activeUnit = nullptr;
    bool markersDirty = false;
    bool paused = false;
    int32_t pausePage = 0;
    bool optionsShown = false;
    bool renderPickingColours = false;
    bool moveMode = true;
    bool showStatCards = true;
    bool editMode = false;
    bool paintMode = false;
    bool active = false;
    bool player1Won = false;
    bool player2Won = false;
    MapTile* selectedTile = nullptr;
    // The level editor's brush height: in paint mode the wheel changes it instead of a tile (null: none).
    int32_t* brushHeight = nullptr;
    Unit* hoveredUnit = nullptr;
    Unit* aiTarget = nullptr;
    int64_t lastAiActionTime = 0;
    // The rule that plays player 1's and player 2's computer units, in that order.
    std::array<OpponentRule, 2> opponentRules{OpponentRule::Classic, OpponentRule::Classic};
    // The pause between two actions of a computer unit.
    int64_t aiActionMilliseconds = DefaultAiActionMilliseconds;
    // The Veteran rule's planner and its reusable search space.
    VeteranPlanner veteran;
    UndoRecord undo;
    int32_t shotsThisTurn = 0;
    // The pointer's last place; hits, losses and totals of this battle.
    PointerState pointer;
    BattleRecord record;
    bool summaryDone = false;
    int64_t summaryStart = 0; // clock reading when the summary page came up
    // Activations started since the battle was loaded.
    int64_t activations = 0;

private:
    void destroyUnit(Unit* unit);
    void clearUnits();
    void startNextActivation();
    void veteranStep(Unit& unit);
    void applyUndo();
    Vector3 tileCentre(int32_t x, int32_t y) const;

    std::vector<std::unique_ptr<Unit>> units_;
};
