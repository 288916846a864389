#pragma once

#include "combat/BattleReadout.h"

#include <cstdint>
#include <string>
#include <vector>

class CombatScreen;
class Renderer;

// The battle's read-outs in the window: the route cost and the shot forecast beside the pointer, damage
// numbers rising over hit units, the message log at the left edge, and the summary page after a battle.
// Places are in pixels of the 800 x 600 layout, origin top left.

// A rectangle of the layout.
struct ReadoutBox {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Width of one character of the game's font, in pixels.
constexpr int32_t kGlyphWidth = 7;
// Height of one line of read-out text.
constexpr int32_t kReadoutLineHeight = 14;

// Where a read-out of those lines goes for the pointer at (x, y): right of and below the pointer, moved
// inside the layout when it would leave it.
ReadoutBox ReadoutBoxAt(int32_t x, int32_t y, const std::vector<std::string>& lines);
// Where the message log's line i (0 the oldest shown) is printed: its box at the left edge under the icons.
ReadoutBox LogLineBox(size_t line, const std::string& text);
// The panel of the summary page.
ReadoutBox SummaryPanel();

// Draws the route and shot read-outs at the pointer, the rising numbers and the message log; called at the
// end of each battle frame, with the camera's view still applicable.
void DrawBattleReadouts(Renderer& renderer, const CombatScreen& screen);
// Draws the summary page (over the background picture, if any) without the layout.
void DrawBattleSummary(Renderer& renderer, uint32_t background, const CombatScreen& screen);
