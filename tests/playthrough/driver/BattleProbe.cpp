#include "driver/BattleProbe.h"

#include "combat/CombatScreen.h"
#include "combat/gl/BattleView.h"
#include "combat/gl/CombatState.h"
#include "data/Component.h"
#include "driver/GameDriver.h"
#include "platform/GameWindow.h"

#include <GL/glew.h>

#include <cstdlib>
#include <limits>

PickView PickView::Capture() {
    PickView view;
    GetBattleView().DrawPickPass(GetCombatScreen());
    const Picture pass = ReadFrameBuffer(kFrameWidth, kFrameHeight);
    view.width_ = pass.width();
    view.height_ = pass.height();
    view.ids_.resize(size_t(view.width_) * size_t(view.height_));
    for (int y = 0; y < view.height_; ++y) {
        for (int x = 0; x < view.width_; ++x) {
            const Rgb c = pass.at(x, y);
            view.ids_[size_t(y) * size_t(view.width_) + size_t(x)] = c.r * 1000000 + c.g * 1000 + c.b;
        }
    }
    return view;
}

int32_t PickView::IdAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    return ids_[size_t(y) * size_t(width_) + size_t(x)];
}

std::vector<PixelPoint> PickView::PixelsOf(int32_t id, int margin) const {
    std::vector<PixelPoint> pixels;
    if (id == 0) {
        return pixels;
    }
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            if (IdAt(x, y) != id) {
                continue;
            }
            bool inside = true;
            for (int dy = -margin; dy <= margin && inside; ++dy) {
                for (int dx = -margin; dx <= margin && inside; ++dx) {
                    inside = IdAt(x + dx, y + dy) == id;
                }
            }
            if (inside) {
                pixels.push_back({x, y});
            }
        }
    }
    return pixels;
}

std::optional<PixelPoint> PickView::ClickPoint(int32_t id) const {
    for (int margin : {3, 1, 0}) {
        std::vector<PixelPoint> pixels = PixelsOf(id, margin);
        std::erase_if(pixels, [](const PixelPoint& p) { return DrawnOverBattlefield(p.x, p.y); });
        if (pixels.empty()) {
            continue;
        }
        int64_t sx = 0;
        int64_t sy = 0;
        for (const PixelPoint& p : pixels) {
            sx += p.x;
            sy += p.y;
        }
        const auto n = int64_t(pixels.size());
        const PixelPoint centre{int(sx / n), int(sy / n)};
        PixelPoint best = pixels.front();
        int64_t bestDistance = std::numeric_limits<int64_t>::max();
        for (const PixelPoint& p : pixels) {
            const int64_t d =
                int64_t(p.x - centre.x) * (p.x - centre.x) + int64_t(p.y - centre.y) * (p.y - centre.y);
            if (d < bestDistance) {
                bestDistance = d;
                best = p;
            }
        }
        return best;
    }
    return std::nullopt;
}

int32_t PickIdOf(const Unit& unit) {
    return unit.core != nullptr ? int32_t(unit.core->pickColour) : 0;
}

int32_t TilePickId(const CombatScreen& screen, int32_t x, int32_t y) {
    const MapTile* tile = screen.map.TileAt(x, y);
    return tile != nullptr ? tile->pickId : 0;
}

bool DrawnOverBattlefield(int x, int y) {
    const bool statCards = y >= 455 && (x < 252 || x >= 548);
    return statCards || GameDriver::BarAt(x, y);
}
