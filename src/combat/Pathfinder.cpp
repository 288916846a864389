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

bool Enterable(const LevelMap& map, int32_t x, int32_t y) {
    const MapTile* tile = map.TileAt(x, y);
    return tile != nullptr && tile->passable != 0.0f;
}

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
        stamp_ = 0;
    }
    if (++stamp_ == 0) {
        std::fill(nodes_.begin(), nodes_.end(), Node{});
        stamp_ = 1;
    }
    width_ = map.width();
    heap_.clear();
    nodesExpanded = 0;
}

Pathfinder::Node& Pathfinder::node(int32_t index) {
    Node& n = nodes_[static_cast<size_t>(index)];
    if (n.stamp != stamp_) {
        n = Node{};
        n.stamp = stamp_;
    }
    return n;
}

void Pathfinder::siftUp(int32_t position) {
    while (position > 0) {
        int32_t parent = (position - 1) / 2;
        Node& child = nodes_[static_cast<size_t>(heap_[static_cast<size_t>(position)])];
        Node& above = nodes_[static_cast<size_t>(heap_[static_cast<size_t>(parent)])];
        if (!(child.f < above.f)) {
            break;
        }
        std::swap(heap_[static_cast<size_t>(position)], heap_[static_cast<size_t>(parent)]);
        child.heapIndex = parent;
        above.heapIndex = position;
        position = parent;
    }
}

void Pathfinder::siftDown(int32_t position) {
    int32_t count = static_cast<int32_t>(heap_.size());
    while (true) {
        int32_t left = 2 * position + 1;
        int32_t right = left + 1;
        if (left >= count) {
            break;
        }
        int32_t child = left;
        if (right < count && nodes_[static_cast<size_t>(heap_[static_cast<size_t>(right)])].f <=
                                 nodes_[static_cast<size_t>(heap_[static_cast<size_t>(left)])].f) {
            child = right;
        }
        Node& lower = nodes_[static_cast<size_t>(heap_[static_cast<size_t>(child)])];
        Node& here = nodes_[static_cast<size_t>(heap_[static_cast<size_t>(position)])];
        if (!(lower.f < here.f)) {
            break;
        }
        std::swap(heap_[static_cast<size_t>(position)], heap_[static_cast<size_t>(child)]);
        lower.heapIndex = position;
        here.heapIndex = child;
        position = child;
    }
}

void Pathfinder::push(int32_t index) {
    Node& n = node(index);
    n.state = NodeState::Open;
    n.heapIndex = static_cast<int32_t>(heap_.size());
    heap_.push_back(index);
    siftUp(n.heapIndex);
}

int32_t Pathfinder::pop() {
    int32_t top = heap_.front();
    nodes_[static_cast<size_t>(top)].heapIndex = -1;
    int32_t last = heap_.back();
    heap_.pop_back();
    if (!heap_.empty()) {
        heap_[0] = last;
        nodes_[static_cast<size_t>(last)].heapIndex = 0;
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
    const Node& parent = nodes_[static_cast<size_t>(from)];
    float g = parent.g + cost;
    float f = g + h;
    int32_t steps = parent.steps + 1;
    Node& n = node(index);
    if (n.state == NodeState::Closed) {
        return;
    }
    if (n.state == NodeState::Open) {
        if (f < n.f) {
            n.g = g;
            n.f = f;
            n.parent = from;
            n.steps = steps;
            siftUp(n.heapIndex);
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
            p.state = NodeState::Closed;
            end = current;
            break;
        }
        bool within = static_cast<float>(mover.timeUsed) + p.g < static_cast<float>(TimeBudget) &&
                      mover.distanceUsed + p.steps < mover.moveDist;
        if (!within && limited) {
            goalX = x;
            goalY = y;
            p.state = NodeState::Closed;
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
        nodes_[static_cast<size_t>(current)].state = NodeState::Closed;
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
    map.ClearMarkers();
    if (map.TileAt(mover.x, mover.y) == nullptr) {
        return;
    }
    begin(map);
    const int32_t w = static_cast<int32_t>(width_);
    const float ratio = static_cast<float>(mover.moveRatio);
    const float h = static_cast<float>(Chebyshev(FloodGoal, FloodGoal, mover.x, mover.y) * mover.moveRatio);
    int32_t start = mover.x + mover.y * w;
    Node& first = node(start);
    first.parent = -1;
    first.steps = 0;
    first.g = 0.0f;
    first.f = h;
    push(start);

    while (!heap_.empty()) {
        int32_t current = pop();
        Node& p = nodes_[static_cast<size_t>(current)];
        if (Truncated(p.g) + static_cast<int64_t>(mover.timeUsed) > TimeBudget ||
            mover.moveDist < p.steps + mover.distanceUsed) {
            // Dropped, not closed: a later route with fewer steps may still reach this tile.
            p.state = NodeState::Unseen;
            continue;
        }
        int32_t x = current % w;
        int32_t y = current / w;
        MapTile& tile = *map.TileAt(x, y);
        int32_t player = 0;
        if (units.UnitAt(x, y, player)) {
            if (player != mover.player) {
                tile.marker = TileMarker::Target;
            }
        } else if (tile.passable != 0.0f) {
            tile.marker = TileMarker::Reachable;
        }
        for (int i = 0; i < 4; ++i) {
            int32_t nx = x + StraightX[i];
            int32_t ny = y + StraightY[i];
            const MapTile* next = map.TileAt(nx, ny);
            if (next != nullptr) {
                relax(map, current, nx, ny, ratio * next->passable, h);
            }
        }
        for (int i = 0; i < 4; ++i) {
            int32_t nx = x + DiagonalX[i];
            int32_t ny = y + DiagonalY[i];
            if (!Enterable(map, nx, ny) || !Enterable(map, nx, y) || !Enterable(map, x, ny)) {
                continue;
            }
            const MapTile* next = map.TileAt(nx, ny);
            relax(map, current, nx, ny, ratio * (next->passable + DiagonalTerm), h);
        }
        nodes_[static_cast<size_t>(current)].state = NodeState::Closed;
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
