#pragma once

// The movement searches written the plain way: one heap-allocated node per relaxation, open and closed
// searched linearly. Kept only to measure the game's Pathfinder against and to check that both agree.

#include "combat/Pathfinder.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

class ReferencePathfinder {
public:
    std::vector<PathStep> path;
    int32_t pathCost = 0;
    int32_t pathSteps = 0;
    int32_t goalX = 0;
    int32_t goalY = 0;

    // Same contract as Pathfinder::findPath.
    bool findPath(const LevelMap& map, const Mover& mover, int32_t tx, int32_t ty, bool limited) {
        pathCost = 0;
        pathSteps = 0;
        open_.clear();
        closed_.clear();
        const float ratio = static_cast<float>(mover.moveRatio);
        auto h = [&](int32_t x, int32_t y) {
            return static_cast<float>(std::max(std::abs(tx - x), std::abs(ty - y)) * mover.moveRatio);
        };
        auto start = std::make_unique<RefNode>();
        start->x = mover.x;
        start->y = mover.y;
        start->f = h(mover.x, mover.y);
        push(std::move(start));
        goalX = tx;
        goalY = ty;
        RefNode* end = nullptr;
        while (!open_.empty()) {
            std::unique_ptr<RefNode> p = pop();
            if (p->x == goalX && p->y == goalY) {
                end = p.get();
                closed_.push_back(std::move(p));
                break;
            }
            bool within = static_cast<float>(mover.timeUsed) + p->g < 100.0f &&
                          mover.distanceUsed + p->steps < mover.moveDist;
            if (!within && limited) {
                goalX = p->x;
                goalY = p->y;
                end = p.get();
                closed_.push_back(std::move(p));
                break;
            }
            static const int32_t sx[4] = {1, 0, -1, 0}, sy[4] = {0, -1, 0, 1};
            static const int32_t dx[4] = {1, 1, -1, -1}, dy[4] = {1, -1, -1, 1};
            for (int i = 0; i < 4; ++i) {
                const MapTile* t = map.TileAt(p->x + sx[i], p->y + sy[i]);
                if (t != nullptr) {
                    relax(map, *p, p->x + sx[i], p->y + sy[i], ratio * t->passable,
                          h(p->x + sx[i], p->y + sy[i]));
                }
            }
            for (int i = 0; i < 4; ++i) {
                const MapTile* t = map.TileAt(p->x + dx[i], p->y + dy[i]);
                if (t != nullptr) {
                    relax(map, *p, p->x + dx[i], p->y + dy[i], ratio * t->passable + 0.00001f,
                          h(p->x + dx[i], p->y + dy[i]));
                }
            }
            closed_.push_back(std::move(p));
        }
        if (end != nullptr) {
            pathCost = end->f < 1.0e9f ? static_cast<int32_t>(end->f) : 1000000000;
            pathSteps = end->steps;
            const RefNode* at = end;
            while (at != nullptr) {
                path.push_back(PathStep{at->x, at->y});
                if (at->px == -1 && at->py == -1) {
                    break;
                }
                at = find(closed_, at->px, at->py);
            }
        }
        open_.clear();
        closed_.clear();
        return end != nullptr;
    }

    // Same contract as Pathfinder::markReachable.
    void markReachable(LevelMap& map, const UnitOccupancy& units, const Mover& mover) {
        open_.clear();
        closed_.clear();
        pathCost = 0;
        goalX = 9999;
        goalY = 9999;
        map.ClearMarkers();
        if (map.TileAt(mover.x, mover.y) == nullptr) {
            return;
        }
        const float ratio = static_cast<float>(mover.moveRatio);
        const float h = static_cast<float>(std::max(std::abs(9999 - mover.x), std::abs(9999 - mover.y)) *
                                           mover.moveRatio);
        auto start = std::make_unique<RefNode>();
        start->x = mover.x;
        start->y = mover.y;
        start->f = h;
        push(std::move(start));
        auto enterable = [&](int32_t x, int32_t y) {
            const MapTile* t = map.TileAt(x, y);
            return t != nullptr && t->passable != 0.0f;
        };
        while (!open_.empty()) {
            std::unique_ptr<RefNode> p = pop();
            int32_t whole = p->g < 1.0e9f ? static_cast<int32_t>(p->g) : 1000000000;
            if (whole + static_cast<int64_t>(mover.timeUsed) > 100 ||
                mover.moveDist < p->steps + mover.distanceUsed) {
                continue;
            }
            MapTile& tile = *map.TileAt(p->x, p->y);
            int32_t player = 0;
            if (units.UnitAt(p->x, p->y, player)) {
                if (player != mover.player) {
                    tile.marker = TileMarker::Target;
                }
            } else if (tile.passable != 0.0f) {
                tile.marker = TileMarker::Reachable;
            }
            static const int32_t sx[4] = {1, 0, -1, 0}, sy[4] = {0, -1, 0, 1};
            static const int32_t dx[4] = {1, 1, -1, -1}, dy[4] = {1, -1, -1, 1};
            for (int i = 0; i < 4; ++i) {
                const MapTile* t = map.TileAt(p->x + sx[i], p->y + sy[i]);
                if (t != nullptr) {
                    relax(map, *p, p->x + sx[i], p->y + sy[i], ratio * t->passable, h);
                }
            }
            for (int i = 0; i < 4; ++i) {
                int32_t nx = p->x + dx[i], ny = p->y + dy[i];
                if (enterable(nx, ny) && enterable(nx, p->y) && enterable(p->x, ny)) {
                    relax(map, *p, nx, ny, ratio * (map.TileAt(nx, ny)->passable + 0.00001f), h);
                }
            }
            closed_.push_back(std::move(p));
        }
        closed_.clear();
    }

private:
    struct RefNode {
        int32_t px = -1, py = -1, y = 0, x = 0, steps = 0;
        float g = 0.0f, f = 0.0f;
    };

    static RefNode* find(std::vector<std::unique_ptr<RefNode>>& list, int32_t x, int32_t y) {
        for (auto& n : list) {
            if (n->x == x && n->y == y) {
                return n.get();
            }
        }
        return nullptr;
    }

    void siftUp(size_t i) {
        while (i > 0 && open_[i]->f < open_[(i - 1) / 2]->f) {
            std::swap(open_[i], open_[(i - 1) / 2]);
            i = (i - 1) / 2;
        }
    }

    void push(std::unique_ptr<RefNode> n) {
        open_.push_back(std::move(n));
        siftUp(open_.size() - 1);
    }

    std::unique_ptr<RefNode> pop() {
        std::unique_ptr<RefNode> top = std::move(open_.front());
        open_.front() = std::move(open_.back());
        open_.pop_back();
        size_t i = 0;
        while (!open_.empty()) {
            size_t l = 2 * i + 1, r = l + 1;
            if (l >= open_.size()) {
                break;
            }
            size_t c = (r < open_.size() && open_[r]->f <= open_[l]->f) ? r : l;
            if (!(open_[c]->f < open_[i]->f)) {
                break;
            }
            std::swap(open_[c], open_[i]);
            i = c;
        }
        return top;
    }

    void relax(const LevelMap& map, const RefNode& p, int32_t nx, int32_t ny, float cost, float h) {
        const MapTile* t = map.TileAt(nx, ny);
        if (t == nullptr || t->passable == 0.0f || t->marker == TileMarker::Target) {
            return;
        }
        auto n = std::make_unique<RefNode>();
        n->px = p.x;
        n->py = p.y;
        n->x = nx;
        n->y = ny;
        n->steps = p.steps + 1;
        n->g = p.g + cost;
        n->f = n->g + h;
        if (find(closed_, nx, ny) != nullptr) {
            return;
        }
        for (size_t i = 0; i < open_.size(); ++i) {
            if (open_[i]->x == nx && open_[i]->y == ny) {
                if (n->f < open_[i]->f) {
                    open_[i]->g = n->g;
                    open_[i]->f = n->f;
                    open_[i]->px = n->px;
                    open_[i]->py = n->py;
                    open_[i]->steps = n->steps;
                    siftUp(i);
                }
                return;
            }
        }
        push(std::move(n));
    }

    std::vector<std::unique_ptr<RefNode>> open_;
    std::vector<std::unique_ptr<RefNode>> closed_;
};
