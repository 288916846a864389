#pragma once

#include "combat/LevelMap.h"
#include "data/Unit.h"

#include <cstdint>
#include <cstring>
#include <vector>

// Movement planning on the level map: a uniform-cost flood that marks what the acting unit can reach this
// activation, and an A* search that plans the route to one tile. Both keep their nodes in per-tile arrays
// reused between searches, so a search allocates nothing per step and every queue operation is O(log n).

// Answers which player's unit, if any, stands on a tile.
class UnitOccupancy {
public:
    virtual ~UnitOccupancy() = default;
    // True when a unit stands on (x, y); its player is written to player.
    virtual bool UnitAt(int32_t x, int32_t y, int32_t& player) const = 0;
};

// An occupancy with no units at all.
class NoUnits : public UnitOccupancy {
public:
    bool UnitAt(int32_t, int32_t, int32_t&) const override { return false; }
};

// What a search needs to know about the unit that moves.
struct Mover {
    int32_t x = 0;
    int32_t y = 0;
    int32_t player = 1;
    int32_t moveRatio = 10;
    int32_t moveDist = 0;
    int32_t timeUsed = 0;
    int32_t distanceUsed = 0;
};

class Pathfinder {
public:
    // Time budget of one activation.
    static constexpr int32_t TimeBudget = 100;
    // Extra cost of a diagonal step, so that routes with fewer diagonals win ties.
    static constexpr float DiagonalTerm = 0.00001f;

    // A* from the mover's tile to (targetX, targetY). Appends the route, end tile first and start tile last,
    // to path (callers clear it first); sets pathCost and pathSteps, both 0 when there is no route. A limited
    // search ends the route at the first node that reaches the mover's time or distance limit. With
    // enterTarget, the target tile may be entered even when it is marked Target (an enemy stands there).
    bool findPath(const LevelMap& map, const Mover& mover, int32_t targetX, int32_t targetY, bool limited,
                  bool enterTarget = false);
    // Clears every marker, then marks the tiles the mover can enter this activation Reachable and the
    // enemies it can reach Target.
    void markReachable(LevelMap& map, const UnitOccupancy& units, const Mover& mover);
    // Floods from the mover, then plans the route to the target (none: flood only) and marks it Path, its
    // end PathEnd. The route is dropped when it costs nothing or more than the time left. enterTarget as
    // for findPath.
    void MovePreview(LevelMap& map, const UnitOccupancy& units, const Mover& mover, const PathStep* target,
                     bool limited, bool enterTarget = false);

    // Result of the last findPath: end tile first, start tile last.
    std::vector<PathStep> path;
    int32_t pathCost = 0;
    int32_t pathSteps = 0;
    int32_t goalX = 0;
    int32_t goalY = 0;
    // Nodes taken from the queue by the last search (for measurements).
    int64_t nodesExpanded = 0;

private:
    enum class NodeState : uint8_t { Unseen, Open, Closed };

    struct Node {
        float g = 0.0f;
        float f = 0.0f;
        int32_t steps = 0;
        int32_t parent = -1; // tile index, -1 for the start
    };

    void begin(const LevelMap& map);
    Node& node(int32_t index);
    void push(int32_t index);
    int32_t pop();
    void siftUp(int32_t position);
    void siftDown(int32_t position);
    void relax(const LevelMap& map, int32_t from, int32_t nx, int32_t ny, float cost, float h);
    // A tile of the flood's bordered grid. mark equals floodOpen_ while the tile is in the queue and
    // floodOpen_ + 1 once it is expanded; any other value means not reached by this flood. Only the
    // flood touches these, so floods need not clear them.
    struct FloodTile {
        float g = 0.0f;
        int32_t steps = 0;
        int32_t heapPos = -1;
        uint32_t mark = 0;
    };
    // The limits of one flood, and how many queue entries are still within them.
    struct FloodLimits {
        float h = 0.0f;
        int32_t timeUsed = 0;
        int32_t moveDist = 0;
        int32_t distanceUsed = 0;
        int32_t live = 0;
        // True when a node of cost g and steps is past the time or the distance left.
        bool over(float g, int32_t steps) const;
    };
    // Sets up the flood's grid for the map; true when every pass cost is finite and not negative.
    bool beginFlood(const LevelMap& map);
    // The flood from the mover with the queue heap, whose entries give the order of their keys.
    template <typename Entry>
    void floodWith(std::vector<Entry>& heap, const LevelMap& map, const UnitOccupancy& units, const Mover& mover,
                   FloodLimits& limits);
    // Relaxes bordered-grid tile to from the flood tile from at the cost (no marker test: the caller has
    // checked the tile is enterable).
    template <typename Entry>
    void relaxFlood(std::vector<Entry>& heap, const FloodTile& from, int32_t to, float cost, FloodLimits& limits);

    // One entry of the open queue: its key beside the node, so sifting reads no node.
    struct HeapEntry {
        float f;
        int32_t index;
        static float Key(float f) { return f; }
    };
    // An entry whose key is the bits of a float of at least +0 (no NaN): they order like the floats.
    struct BitsEntry {
        uint32_t f;
        int32_t index;
        static uint32_t Key(float f) {
            uint32_t bits;
            std::memcpy(&bits, &f, sizeof bits);
            return bits;
        }
    };

    // Tile index that relax may enter despite a Target marker; -1 for none.
    int32_t enterableTarget_ = -1;

    // A node's fields mean something only while its state is not Unseen; the states are reset per search.
    std::vector<Node> nodes_;
    std::vector<NodeState> state_;
    std::vector<FloodTile> floodTiles_;
    uint32_t floodOpen_ = 0;
    int32_t padded_ = 0;
    // Where each open node stands in the queue (apart from the nodes: sifting touches only these).
    std::vector<int32_t> heapIndex_;
    std::vector<HeapEntry> heap_;
    std::vector<BitsEntry> bitsHeap_;
    // The flood's view of the map: pass costs with a border of impassable tiles around the grid.
    std::vector<float> passable_;
    // The flood's markers, one per tile, until they are written to the map.
    std::vector<TileMarker> markers_;
    uint32_t width_ = 0;
};
