#pragma once

#include "data/Component.h"
#include "render/Maths.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// A mech: a core module with heads, tails and weapons attached, the stats derived from them, and its
// place and state on the battlefield.

struct Army;

// One tile of a route.
struct PathStep {
    int32_t x = 0;
    int32_t y = 0;
};

// Whose unit it is.
struct UnitOwner {
    int32_t player = 0;
    bool isComputer = false;
    std::string name = "NOT_SET";
    Army* army = nullptr; // the player's army; none for a unit's own owner record
};

// Largest range, area of effect or move distance a unit keeps: no level map is wider than this many tiles,
// so a longer reach finds nothing more, and loops over a reach stay within the grid.
constexpr int32_t kMaxTileReach = 1024;
// Most shots a weapon keeps per activation: more than an activation's time budget (100) could ever use.
constexpr int32_t kMaxShots = 100;

// Skins a unit file may name: 0 is the player's, 1 to 10 the enemies' and customs', 11 the ace's.
constexpr int kSkinCount = 12;

// The screen-texture slot that holds the picture of a skin (0 ArmyPlayer, 1 to 3 Army1 to Army3,
// 4 Building10, 5 to 10 Custom1 to Custom6, 11 Ace); a skin outside 0 to 11 gets the player's picture.
int32_t SkinTextureSlot(int32_t skin);

struct Unit {
    int32_t tileX = 0;
    int32_t tileY = 0;
    std::deque<PathStep> movementQueue; // tiles still to walk, next first

    // Walking state.
    bool turning = false;
    bool moving = false;
    int32_t tickCounter = 0;
    int32_t turnTicks = 0;
    float turnAngle = 0.0f;
    Quat startOrientation;
    Quat targetOrientation;

    std::unique_ptr<Component> core; // its children are the attached modules
    Component* weapon = nullptr;     // the first child of the core that is a weapon; points into the core

    bool isWeapon = false;
    int32_t hp = 0;     // current hit points; attacks reduce it
    int32_t fullHp = 0; // hit points after the last recomputation
    int32_t moveDist = 0;
    int32_t moveRatio = 0;
    int32_t defense = 0;
    int32_t accuracy = 0;
    int16_t headPoints = 0;
    int16_t tailPoints = 0;
    int16_t weaponPoints = 0;
    int16_t mobility = 0;
    // Copies of the core's weapon values; combat uses the weapon component's values instead.
    int32_t damage = 0;
    int32_t maxRange = 0;
    int32_t minRange = 0;
    int32_t AoE = 0;
    int32_t timeCost = 0;
    int32_t reload = 0;
    int32_t shots = 0;
    int32_t type = 0;
    std::string coreName;
    int32_t weightClass = 0;

    float heightOffset = 0.0f; // added to the tile height when the model is placed
    int32_t skin = 0;          // skin (0 to 11) the core's model was compiled with
    UnitOwner owner;
    std::string name = "MECH_NAME";
    std::string fileName;

    int32_t timeUsed = 0;     // time units spent; orders the turn queue
    int32_t distanceUsed = 0; // tiles moved in the current activation
    bool turnDone = false;
    bool undoRequested = false;
    int32_t orderValue = 0; // tie-break of the turn order among player 1's units
};

// Reads a unit file into the unit (without a path, the stored file name again) and recomputes its stats.
// Returns true when the file was read to its end; otherwise a box was shown and the unit keeps what it had.
bool LoadUnit(std::optional<std::string_view> path, Unit& unit);

// Derives the unit's stats from its core and modules, reloading the core and the weapon from their files
// first; does nothing for a unit without core. Resets hp to the full value. Reaches are held to
// kMaxTileReach and shots to kMaxShots.
void RecomputeStats(Unit& unit);

// Gives a new unit with deep copies of the unit's modules; its weapon points into its own core.
std::unique_ptr<Unit> CloneUnit(const Unit& unit);

// [SECTION] Drawing set-up, done by the renderer

// Prepares a newly loaded core for drawing: its model, a display list in the given skin, a new pick colour.
using CoreVisualHook = std::function<void(Component& core, int32_t skin)>;

// Installs the hook that prepares cores for drawing and returns the previous one; without one cores stay
// undrawn.
CoreVisualHook SetCoreVisualHook(CoreVisualHook hook);

// Runs the installed hook on the core, if there is one.
void PrepareCoreVisual(Component& core, int32_t skin);

// [SECTION] Facing and placement

// The normalised horizontal direction of a facing code: 1 (1,0,0), 3 (0,0,1), 5 (-1,0,0), 7 (0,0,-1), the
// even codes the diagonals between their neighbours, (1,0,1) for 2 and (1,0,-1) for 8; any other code gives
// zero.
Vector3 OrientationDirection(int code);

// The world position of a model on tile (x, y) at the given elevation: (4x, 0.5 elevation + heightOffset,
// 4y).
Vector3 TileWorldPosition(int32_t x, int32_t y, int32_t elevation, float heightOffset);

// Puts the unit on tile (x, y) at once: sets its tile and moves its core to the tile's world position.
void PlaceOnTile(Unit& unit, int32_t x, int32_t y, int32_t elevation);

// The unit's world position: its core's position, or that of its tile at elevation 0 when it has no core.
Vector3 UnitWorldPosition(const Unit& unit);

// The first unit of a sequence of unit pointers that stands on tile (x, y), or none.
template <typename UnitPointers> Unit* FindUnitOnTile(const UnitPointers& units, int32_t x, int32_t y) {
    for (const auto& unit : units) {
        if (unit != nullptr && unit->tileX == x && unit->tileY == y) {
            return &*unit;
        }
    }
    return nullptr;
}
