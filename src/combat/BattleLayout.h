#pragma once

#include "data/Unit.h"

#include <cstdint>
#include <string>
#include <vector>

// Where the battle screen's floating bars, stat card lines and status icons go, in window pixels of the
// 800 x 600 layout with the origin at the top left. Drawing them is the window layer's.

// A bar's rectangle; not visible when its point lies outside the depth range (behind the camera).
struct BarPlacement {
    bool visible = false;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// The bars' scale at a camera distance: 1.95 at distance 10, falling by 1 per 75 units.
float BarScale(float cameraDistance);
// Places a bar of the given scale at a projected point (window y upward, depth 0..1 in front of the camera).
BarPlacement PlaceBar(double windowX, double windowY, double windowZ, int32_t windowHeight, float scale);
// The filled width of a bar: the fraction clamped to 0..1 of the width, truncated.
int32_t BarFill(float fraction, int32_t width);

// One line of text on a stat card.
struct StatLine {
    std::string text;
    int32_t x = 0;
    int32_t y = 0;
};

// The lines of a unit's stat card with the first column at x1 and the second at x2; the weapon column only
// when the unit has a weapon. No unit: "No Unit Detected" when a placeholder is wanted, otherwise nothing.
// With timeLeft (the active unit's card) the first column ends with "Time left: " and the time it has left
// of this activation.
std::vector<StatLine> StatCardLines(const Unit* unit, int32_t x1, int32_t x2, bool placeholder,
                                    bool timeLeft = false);

// A status icon: the picture shown while its flag is set and while it is not.
struct StatusIcon {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    const char* whenSet = "";
    const char* whenClear = "";
};

// The three icons over the battle: stat cards, move mode, attack mode (the last two follow move mode).
extern const StatusIcon StatusIcons[3];
