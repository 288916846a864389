#include "combat/Pathfinder.h"

#include <algorithm>
#include <cfloat>
#include <cstring>
#include <cstdlib>

namespace {

// The flood has no real goal; its pseudo-goal only makes every node's f equal g plus one constant.
constexpr int32_t FloodGoal = 9999;

const int32_t StraightX[4] = {1, 0, -1, 0};
const int32_t StraightY[4] = {0, -1, 0, 1};
const int32_t DiagonalX[4] = {1, 1, -1, -1};
const int32_t DiagonalY[4] = {1, -1, -1, 1};

// A cost cut toward zero; costs beyond any budget stay far beyond it instead of overflowing.
int32_t Truncated(float cost) {
    if (!(cost < 1.0e9f)) {
        return 1000000000;
    }
    return static_cast<int32_t>(cost);
}

int32_t Chebyshev(int32_t ax, int32_t ay, int32_t bx, int32_t by) {
    return std::max(std::abs(ax - bx), std::abs(ay - by));
}

// The queue of both searches is a binary min-heap of entries {f, index}. place(index, position) is told
// where every entry it moves ends up. Which of two equal keys leaves first decides which route a tile keeps
// when routes tie, so the sifting rules below are part of what the searches return.

// Lifts the entry at position while its key is strictly smaller than its parent's.
template <typename Entry, typename Place> inline void SiftUp(Entry* heap, int32_t position, Place place) {
    const Entry moving = heap[position];
    while (position > 0) {
        const int32_t parent = (position - 1) / 2;
        if (!(moving.f < heap[parent].f)) {
            break;
        }
        heap[position] = heap[parent];
        place(heap[position].index, position);
        position = parent;
    }
    heap[position] = moving;
    place(moving.index, position);
}

// Sinks the entry at position below every child with a smaller key, taking the right child when both
// children's keys are equal. The hole goes down along the smaller children to a leaf, then the entry climbs
// back while the key above it is not smaller: the same places as sinking it level by level, with one
// comparison a level on the way down.
template <typename Entry, typename Place>
inline void SiftDown(Entry* heap, int32_t count, int32_t position, Place place) {
    const Entry moving = heap[position];
    const int32_t start = position;
    // Two levels a turn while both are complete: the grandchildren's keys are read and compared together
    // with the children's, so each turn waits for one read of keys instead of two.
    while (4 * position + 6 < count) {
        const int32_t left = 2 * position + 1;
        const int32_t grand = 4 * position + 3;
        // Picked with masks rather than branches: which child wins is as good as random.
        const int32_t right = static_cast<int32_t>(heap[left + 1].f <= heap[left].f);
        const int32_t underLeft = grand + static_cast<int32_t>(heap[grand + 1].f <= heap[grand].f);
        const int32_t underRight = grand + 2 + static_cast<int32_t>(heap[grand + 3].f <= heap[grand + 2].f);
        const int32_t child = left + right;
        const int32_t next = underLeft ^ ((underLeft ^ underRight) & -right);
        heap[position] = heap[child];
        place(heap[position].index, position);
        heap[child] = heap[next];
        place(heap[child].index, child);
        position = next;
    }
    while (true) {
        const int32_t left = 2 * position + 1;
        if (left >= count) {
            break;
        }
        const int32_t right = left + 1;
        const int32_t child = right < count && heap[right].f <= heap[left].f ? right : left;
        heap[position] = heap[child];
        place(heap[position].index, position);
        position = child;
    }
    while (position > start) {
        const int32_t parent = (position - 1) / 2;
        if (heap[parent].f < moving.f) {
            break;
        }
        heap[position] = heap[parent];
        place(heap[position].index, position);
        position = parent;
    }
    heap[position] = moving;
    place(moving.index, position);
}

} // namespace

void Pathfinder::begin(const LevelMap& map) {
    size_t count = static_cast<size_t>(map.width()) * map.height();
    if (nodes_.size() != count) {
        nodes_.assign(count, Node{});
        heapIndex_.assign(count, -1);
        state_.assign(count, NodeState::Unseen);
    } else {
        std::fill(state_.begin(), state_.end(), NodeState::Unseen);
    }
    width_ = map.width();
    heap_.clear();
    nodesExpanded = 0;
}

Pathfinder::Node& Pathfinder::node(int32_t index) {
    return nodes_[static_cast<size_t>(index)];
}

void Pathfinder::siftUp(int32_t position) {
    SiftUp(heap_.data(), position, [this](int32_t index, int32_t at) { heapIndex_[static_cast<size_t>(index)] = at; });
}

void Pathfinder::siftDown(int32_t position) {
    SiftDown(heap_.data(), static_cast<int32_t>(heap_.size()), position,
             [this](int32_t index, int32_t at) { heapIndex_[static_cast<size_t>(index)] = at; });
}

void Pathfinder::push(int32_t index) {
    Node& n = node(index);
    state_[static_cast<size_t>(index)] = NodeState::Open;
    const auto position = static_cast<int32_t>(heap_.size());
    heap_.push_back(HeapEntry{n.f, index});
    siftUp(position);
}

int32_t Pathfinder::pop() {
    int32_t top = heap_.front().index;
    heapIndex_[static_cast<size_t>(top)] = -1;
    HeapEntry last = heap_.back();
    heap_.pop_back();
    if (!heap_.empty()) {
        heap_[0] = last;
        heapIndex_[static_cast<size_t>(last.index)] = 0;
        siftDown(0);
    }
    ++nodesExpanded;
    return top;
}

void Pathfinder::relax(const LevelMap& map, int32_t from, int32_t nx, int32_t ny, float cost, float h) {
    const MapTile* tile = map.TileAt(nx, ny);
    int32_t index = nx + ny * static_cast<int32_t>(width_);
    if (tile == nullptr || tile->passable == 0.0f ||
        (tile->marker == TileMarker::Target && index != enterableTarget_)) {
        return;
    }
    const NodeState state = state_[static_cast<size_t>(index)];
    if (state == NodeState::Closed) {
        return;
    }
    const Node& parent = nodes_[static_cast<size_t>(from)];
    float g = parent.g + cost;
    float f = g + h;
    int32_t steps = parent.steps + 1;
    Node& n = node(index);
    if (state == NodeState::Open) {
        if (f < n.f) {
            n.g = g;
            n.f = f;
            n.parent = from;
            n.steps = steps;
            const int32_t position = heapIndex_[static_cast<size_t>(index)];
            heap_[static_cast<size_t>(position)].f = f;
            siftUp(position);
        }
        return;
    }
    n.g = g;
    n.f = f;
    n.parent = from;
    n.steps = steps;
    push(index);
}

bool Pathfinder::findPath(const LevelMap& map, const Mover& mover, int32_t targetX, int32_t targetY,
                          bool limited, bool enterTarget) {
    pathCost = 0;
    pathSteps = 0;
    if (map.TileAt(mover.x, mover.y) == nullptr) {
        return false;
    }
    begin(map);
    const int32_t w = static_cast<int32_t>(width_);
    const float ratio = static_cast<float>(mover.moveRatio);
    auto heuristic = [&](int32_t x, int32_t y) {
        return static_cast<float>(Chebyshev(targetX, targetY, x, y) * mover.moveRatio);
    };
    int32_t start = mover.x + mover.y * w;
    enterableTarget_ = enterTarget && map.TileAt(targetX, targetY) != nullptr ? targetX + targetY * w : -1;
    Node& first = node(start);
    first.parent = -1;
    first.steps = 0;
    first.g = 0.0f;
    first.f = heuristic(mover.x, mover.y);
    push(start);
    goalX = targetX;
    goalY = targetY;

    int32_t end = -1;
    while (!heap_.empty()) {
        int32_t current = pop();
        Node& p = nodes_[static_cast<size_t>(current)];
        int32_t x = current % w;
        int32_t y = current / w;
        if (x == goalX && y == goalY) {
            state_[static_cast<size_t>(current)] = NodeState::Closed;
            end = current;
            break;
        }
        bool within = static_cast<float>(mover.timeUsed) + p.g < static_cast<float>(TimeBudget) &&
                      mover.distanceUsed + p.steps < mover.moveDist;
        if (!within && limited) {
            goalX = x;
            goalY = y;
            state_[static_cast<size_t>(current)] = NodeState::Closed;
            end = current;
            break;
        }
        for (int i = 0; i < 4; ++i) {
            int32_t nx = x + StraightX[i];
            int32_t ny = y + StraightY[i];
            const MapTile* tile = map.TileAt(nx, ny);
            if (tile != nullptr) {
                relax(map, current, nx, ny, ratio * tile->passable, heuristic(nx, ny));
            }
        }
        for (int i = 0; i < 4; ++i) {
            int32_t nx = x + DiagonalX[i];
            int32_t ny = y + DiagonalY[i];
            const MapTile* tile = map.TileAt(nx, ny);
            if (tile != nullptr) {
                relax(map, current, nx, ny, ratio * tile->passable + DiagonalTerm, heuristic(nx, ny));
            }
        }
        state_[static_cast<size_t>(current)] = NodeState::Closed;
    }
    heap_.clear();
    enterableTarget_ = -1;
    if (end < 0) {
        return false;
    }
    const Node& last = nodes_[static_cast<size_t>(end)];
    pathCost = Truncated(last.f);
    pathSteps = last.steps;
    for (int32_t at = end; at >= 0; at = nodes_[static_cast<size_t>(at)].parent) {
        path.push_back(PathStep{at % w, at / w});
    }
    return true;
}

// [SECTION] The reachable-area flood

bool Pathfinder::beginFlood(const LevelMap& map) {
    const size_t count = static_cast<size_t>(map.width() + 2) * (map.height() + 2);
    if (floodTiles_.size() != count || floodOpen_ > UINT32_MAX - 4) {
        floodTiles_.assign(count, FloodTile{});
        floodOpen_ = 0;
    }
    // Marks left by earlier floods mean nothing to this one: it knows its own by their value.
    floodOpen_ += 2;
    padded_ = static_cast<int32_t>(map.width()) + 2;
    nodesExpanded = 0;
    // Pass costs on a grid with a border of impassable tiles, so neighbours need no bounds test. The flood
    // never enters a tile marked Target by relaxing: it marks a tile only as it expands and closes it.
    const int32_t w = static_cast<int32_t>(map.width());
    passable_.assign(count, 0.0f);
    const std::vector<MapTile>& tiles = map.tiles();
    bool plain = true;
    for (int32_t y = 0; y < static_cast<int32_t>(map.height()); ++y) {
        const MapTile* row = &tiles[static_cast<size_t>(y) * static_cast<size_t>(w)];
        float* into = &passable_[static_cast<size_t>(y + 1) * static_cast<size_t>(padded_) + 1];
        for (int32_t x = 0; x < w; ++x) {
            into[x] = row[x].passable;
            plain = plain && row[x].passable >= 0.0f && row[x].passable <= FLT_MAX;
        }
    }
    // The markers are gathered here and written to the map at the end, every tile's at once.
    markers_.assign(tiles.size(), TileMarker::None);
    return plain;
}

bool Pathfinder::FloodLimits::over(float g, int32_t steps) const {
    return Truncated(g) + static_cast<int64_t>(timeUsed) > TimeBudget ||
           static_cast<int64_t>(moveDist) < static_cast<int64_t>(steps) + distanceUsed;
}

// Inlined into the flood's loop: it runs eight times for every tile the flood takes. A flood node's f is
// always its g plus the one constant h, so only g is kept and f is worked out again the same way.
template <typename Entry>
[[gnu::always_inline]] inline void Pathfinder::relaxFlood(std::vector<Entry>& heap, const FloodTile& from,
                                                         int32_t to, float cost, FloodLimits& limits) {
    FloodTile& n = floodTiles_[static_cast<size_t>(to)];
    const uint32_t closed = floodOpen_ + 1;
    if (n.mark == closed) {
        return;
    }
    const float g = from.g + cost;
    const float f = g + limits.h;
    const int32_t steps = from.steps + 1;
    FloodTile* tiles = floodTiles_.data();
    auto place = [tiles](int32_t index, int32_t at) { tiles[index].heapPos = at; };
    if (n.mark == floodOpen_) {
        if (f < n.g + limits.h) {
            limits.live += static_cast<int32_t>(limits.over(n.g, n.steps)) - static_cast<int32_t>(limits.over(g, steps));
            n.g = g;
            n.steps = steps;
            heap[static_cast<size_t>(n.heapPos)].f = Entry::Key(f);
            SiftUp(heap.data(), n.heapPos, place);
        }
        return;
    }
    n.g = g;
    n.steps = steps;
    n.mark = floodOpen_;
    limits.live += limits.over(g, steps) ? 0 : 1;
    const auto position = static_cast<int32_t>(heap.size());
    heap.push_back(Entry{Entry::Key(f), to});
    SiftUp(heap.data(), position, place);
}

template <typename Entry>
void Pathfinder::floodWith(std::vector<Entry>& heap, const LevelMap& map, const UnitOccupancy& units,
                           const Mover& mover, FloodLimits& limits) {
    const int32_t w = static_cast<int32_t>(map.width());
    const int32_t padded = padded_;
    const float ratio = static_cast<float>(mover.moveRatio);
    FloodTile* tiles = floodTiles_.data();
    const int32_t start = (mover.x + 1) + (mover.y + 1) * padded;
    tiles[start].g = 0.0f;
    tiles[start].steps = 0;
    tiles[start].mark = floodOpen_;
    tiles[start].heapPos = 0;
    heap.clear();
    heap.push_back(Entry{Entry::Key(0.0f + limits.h), start});
    limits.live = limits.over(0.0f, 0) ? 0 : 1;

    const float* pass = passable_.data();
    const uint32_t closed = floodOpen_ + 1;
    const int32_t straight[4] = {1, -padded, -1, padded};
    // current / padded without a division instruction: exact, the quotient's fraction stays at least
    // 0.5 / padded away from a whole number.
    const double perRow = 1.0 / static_cast<double>(padded);
    auto place = [tiles](int32_t index, int32_t at) { tiles[index].heapPos = at; };

    // Entries over a limit are only dropped when they leave the queue; once the queue holds nothing else,
    // nothing it holds can change a marker and the flood is over.
    while (limits.live > 0) {
        const int32_t current = heap.front().index;
        const Entry last = heap.back();
        heap.pop_back();
        if (!heap.empty()) {
            heap[0] = last;
            SiftDown(heap.data(), static_cast<int32_t>(heap.size()), 0, place);
        }
        ++nodesExpanded;
        // The next tile to expand is known now: fetch its rows while this one is expanded.
        if (!heap.empty()) {
            const FloodTile* next = tiles + heap.front().index;
            __builtin_prefetch(next - padded - 1);
            __builtin_prefetch(next - padded + 1);
            __builtin_prefetch(next - 1);
            __builtin_prefetch(next + 1);
            __builtin_prefetch(next + padded - 1);
            __builtin_prefetch(next + padded + 1);
        }
        FloodTile& p = tiles[current];
        if (limits.over(p.g, p.steps)) {
            // Dropped, not closed: a later route with fewer steps may still reach this tile.
            p.mark = 0;
            continue;
        }
        --limits.live;
        const auto row = static_cast<int32_t>((static_cast<double>(current) + 0.5) * perRow);
        const int32_t x = current - row * padded - 1;
        const int32_t y = row - 1;
        TileMarker& marker = markers_[static_cast<size_t>(x + y * w)];
        int32_t player = 0;
        if (units.UnitAt(x, y, player)) {
            if (player != mover.player) {
                marker = TileMarker::Target;
            }
        } else if (pass[current] != 0.0f) {
            marker = TileMarker::Reachable;
        }
        const FloodTile from = p;
        for (int i = 0; i < 4; ++i) {
            const float cost = pass[current + straight[i]];
            if (cost != 0.0f) {
                relaxFlood(heap, from, current + straight[i], ratio * cost, limits);
            }
        }
        for (int i = 0; i < 4; ++i) {
            const int32_t across = DiagonalX[i];
            const int32_t along = DiagonalY[i] * padded;
            const float cost = pass[current + across + along];
            if (cost == 0.0f || pass[current + across] == 0.0f || pass[current + along] == 0.0f) {
                continue;
            }
            relaxFlood(heap, from, current + across + along, ratio * (cost + DiagonalTerm), limits);
        }
        p.mark = closed;
    }
    heap.clear();
}

void Pathfinder::markReachable(LevelMap& map, const UnitOccupancy& units, const Mover& mover) {
    pathCost = 0;
    goalX = FloodGoal;
    goalY = FloodGoal;
    if (map.TileAt(mover.x, mover.y) == nullptr) {
        map.ClearMarkers();
        return;
    }
    const bool plainCosts = beginFlood(map) && mover.moveRatio >= 0;
    FloodLimits limits;
    limits.h = static_cast<float>(static_cast<int64_t>(Chebyshev(FloodGoal, FloodGoal, mover.x, mover.y)) *
                                  mover.moveRatio);
    limits.timeUsed = mover.timeUsed;
    limits.moveDist = mover.moveDist;
    limits.distanceUsed = mover.distanceUsed;
    // With no negative or undefined costs every key is a float of at least +0, whose bits order like the
    // floats themselves, and whole numbers compare faster.
    if (plainCosts) {
        floodWith(bitsHeap_, map, units, mover, limits);
    } else {
        floodWith(heap_, map, units, mover, limits);
    }
    std::vector<MapTile>& marked = map.tiles();
    for (size_t i = 0; i < marked.size(); ++i) {
        marked[i].marker = markers_[i];
    }
}

void Pathfinder::MovePreview(LevelMap& map, const UnitOccupancy& units, const Mover& mover,
                             const PathStep* target, bool limited, bool enterTarget) {
    path.clear();
    markReachable(map, units, mover);
    if (target == nullptr || mover.timeUsed >= TimeBudget) {
        return;
    }
    findPath(map, mover, target->x, target->y, limited, enterTarget);
    if (pathCost + mover.timeUsed > TimeBudget || pathCost <= 0) {
        path.clear();
        return;
    }
    for (const PathStep& step : path) {
        if (MapTile* tile = map.TileAt(step.x, step.y)) {
            tile->marker = TileMarker::Path;
        }
    }
    if (MapTile* tile = map.TileAt(path.front().x, path.front().y)) {
        tile->marker = TileMarker::PathEnd;
    }
}
