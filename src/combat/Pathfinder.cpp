#include "combat/Pathfinder.h"

#include <algorithm>
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
    HeapEntry moving = heap_[static_cast<size_t>(position)];
    while (position > 0) {
        int32_t parent = (position - 1) / 2;
        const HeapEntry& above = heap_[static_cast<size_t>(parent)];
        if (!(moving.f < above.f)) {
            break;
        }
        heap_[static_cast<size_t>(position)] = above;
        heapIndex_[static_cast<size_t>(above.index)] = position;
        position = parent;
    }
    heap_[static_cast<size_t>(position)] = moving;
    heapIndex_[static_cast<size_t>(moving.index)] = position;
}

void Pathfinder::siftDown(int32_t position) {
    // The hole goes down along the smaller children to a leaf, then the moving entry climbs back while the
    // entry above it is not smaller: the same places as sinking it level by level, with one comparison a
    // level on the way down.
    const int32_t count = static_cast<int32_t>(heap_.size());
    HeapEntry* heap = heap_.data();
    const HeapEntry moving = heap[position];
    const int32_t start = position;
    while (true) {
        const int32_t left = 2 * position + 1;
        if (left >= count) {
            break;
        }
        const int32_t right = left + 1;
        // The right child when there is one and its key is not larger.
        const int32_t child = right < count && heap[right].f <= heap[left].f ? right : left;
        heap[position] = heap[child];
        heapIndex_[static_cast<size_t>(heap[position].index)] = position;
        position = child;
    }
    while (position > start) {
        const int32_t parent = (position - 1) / 2;
        if (heap[parent].f < moving.f) {
            break;
        }
        heap[position] = heap[parent];
        heapIndex_[static_cast<size_t>(heap[position].index)] = position;
        position = parent;
    }
    heap[position] = moving;
    heapIndex_[static_cast<size_t>(moving.index)] = position;
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

// Inlined into the flood's loop: it runs eight times for every tile the flood takes. A flood node's f is
// always its g plus the one constant h, so only g is kept and f is worked out again the same way.
[[gnu::always_inline]] inline void Pathfinder::relaxFlood(const FloodNode& from, int32_t to, float cost, float h) {
    const NodeState state = state_[static_cast<size_t>(to)];
    if (state == NodeState::Closed) {
        return;
    }
    const float g = from.g + cost;
    const float f = g + h;
    FloodNode& n = flood_[static_cast<size_t>(to)];
    if (state == NodeState::Open) {
        if (f < n.g + h) {
            n.g = g;
            n.steps = from.steps + 1;
            const int32_t position = heapIndex_[static_cast<size_t>(to)];
            heap_[static_cast<size_t>(position)].f = f;
            siftUp(position);
        }
        return;
    }
    n.g = g;
    n.steps = from.steps + 1;
    state_[static_cast<size_t>(to)] = NodeState::Open;
    const auto position = static_cast<int32_t>(heap_.size());
    heap_.push_back(HeapEntry{f, to});
    siftUp(position);
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

void Pathfinder::markReachable(LevelMap& map, const UnitOccupancy& units, const Mover& mover) {
    pathCost = 0;
    goalX = FloodGoal;
    goalY = FloodGoal;
    if (map.TileAt(mover.x, mover.y) == nullptr) {
        map.ClearMarkers();
        return;
    }
    begin(map);
    const int32_t w = static_cast<int32_t>(width_);
    const float ratio = static_cast<float>(mover.moveRatio);
    const float h = static_cast<float>(Chebyshev(FloodGoal, FloodGoal, mover.x, mover.y) * mover.moveRatio);
    int32_t start = mover.x + mover.y * w;
    flood_.resize(nodes_.size());
    flood_[static_cast<size_t>(start)] = FloodNode{0.0f, 0};
    state_[static_cast<size_t>(start)] = NodeState::Open;
    heap_.push_back(HeapEntry{0.0f + h, start});
    heapIndex_[static_cast<size_t>(start)] = 0;

    // Pass costs on a grid with a border of impassable tiles, so neighbours need no bounds test. The flood
    // never enters a tile marked Target by relaxing: it marks a tile only as it expands and closes it.
    const int32_t padded = w + 2;
    const int32_t h2 = static_cast<int32_t>(map.height()) + 2;
    passable_.assign(static_cast<size_t>(padded) * static_cast<size_t>(h2), 0.0f);
    const std::vector<MapTile>& tiles = map.tiles();
    for (int32_t y = 0; y < static_cast<int32_t>(map.height()); ++y) {
        const MapTile* row = &tiles[static_cast<size_t>(y) * static_cast<size_t>(w)];
        float* into = &passable_[static_cast<size_t>(y + 1) * static_cast<size_t>(padded) + 1];
        for (int32_t x = 0; x < w; ++x) {
            into[x] = row[x].passable;
        }
    }
    const float* pass = passable_.data();
    const double perRow = 1.0 / static_cast<double>(w);
    // The markers are gathered here and written to the map at the end, every tile's at once.
    markers_.assign(tiles.size(), TileMarker::None);

    while (!heap_.empty()) {
        int32_t current = pop();
        const FloodNode p = flood_[static_cast<size_t>(current)];
        if (Truncated(p.g) + static_cast<int64_t>(mover.timeUsed) > TimeBudget ||
            mover.moveDist < p.steps + mover.distanceUsed) {
            // Dropped, not closed: a later route with fewer steps may still reach this tile.
            state_[static_cast<size_t>(current)] = NodeState::Unseen;
            continue;
        }
        // current / w without a division instruction: exact, the quotient's fraction stays at least
        // 0.5 / w away from a whole number.
        const auto y = static_cast<int32_t>((static_cast<double>(current) + 0.5) * perRow);
        const int32_t x = current - y * w;
        const int32_t at = (x + 1) + (y + 1) * padded;
        TileMarker& marker = markers_[static_cast<size_t>(current)];
        int32_t player = 0;
        if (units.UnitAt(x, y, player)) {
            if (player != mover.player) {
                marker = TileMarker::Target;
            }
        } else if (pass[at] != 0.0f) {
            marker = TileMarker::Reachable;
        }
        for (int i = 0; i < 4; ++i) {
            const float cost = pass[at + StraightX[i] + StraightY[i] * padded];
            if (cost != 0.0f) {
                relaxFlood(p, current + StraightX[i] + StraightY[i] * w, ratio * cost, h);
            }
        }
        for (int i = 0; i < 4; ++i) {
            const float cost = pass[at + DiagonalX[i] + DiagonalY[i] * padded];
            if (cost == 0.0f || pass[at + DiagonalX[i]] == 0.0f || pass[at + DiagonalY[i] * padded] == 0.0f) {
                continue;
            }
            relaxFlood(p, current + DiagonalX[i] + DiagonalY[i] * w, ratio * (cost + DiagonalTerm), h);
        }
        state_[static_cast<size_t>(current)] = NodeState::Closed;
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
