#pragma once

#include "driver/Picture.h"

#include <cstdint>
#include <optional>
#include <vector>

class CombatScreen;
struct Unit;

// Where the battle shows what: the battle's own pick pass (the one its clicks are picked with) drawn and
// read back whole, so that a play-through finds the pixels of a unit or a tile as the player sees them.
class PickView {
public:
    // Draws the pick pass of the running battle now and reads it back. It is drawn into the back buffer,
    // which the next frame clears and draws anew, so the player never sees it.
    static PickView Capture();

    // The pick id at window pixel (x, y); 0 for nothing.
    int32_t IdAt(int x, int y) const;
    // The pixels showing that id whose neighbours within margin pixels show it too (the inside of its shape).
    std::vector<PixelPoint> PixelsOf(int32_t id, int margin = 0) const;
    // A pixel well inside the shape of that id, near its middle, where nothing is drawn over the battlefield
    // (see DrawnOverBattlefield); none when the id is not shown there.
    std::optional<PixelPoint> ClickPoint(int32_t id) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<int32_t> ids_;
};

// The pick id of a unit (its core's), 0 for a unit without core.
int32_t PickIdOf(const Unit& unit);
// The pick id of tile (x, y) of the battle's map, 0 outside it.
int32_t TilePickId(const CombatScreen& screen, int32_t x, int32_t y);

// Whether something the pick pass does not know of is drawn over the battlefield at window pixel (x, y): the
// two stat cards or a debug bar.
bool DrawnOverBattlefield(int x, int y);
