#pragma once

#include "hud/MessageReciever.h"

#include <cstdint>
#include <functional>

class HudLayout;
struct HudButton;

// Key code that opens and closes the layout editor.
constexpr int32_t TabKey = 15;

// The mouse on the screens outside battle (menus, how-to-play pages, world map, build and squad screens):
// each frame the button under the cursor is highlighted, and a left click runs it (selects it while the
// layout editor is open); Tab opens and closes the editor. The battle's own receiver takes over in combat.

class HudPointer final : public MessageReciever {
public:
    // Points at the layout's buttons, asking cursor() where the mouse is in the 800 x 600 frame and
    // enabled() whether the current screen wants it.
    HudPointer(HudLayout& hud, std::function<bool(int32_t& x, int32_t& y)> cursor,
               std::function<bool()> enabled, MessageDispatcher& dispatcher = MessageDispatcher::Instance());
    ~HudPointer() = default;

    void ProcessMessages() override;

    // Finds the pick colour of the button at a frame point (0: none); without one the topmost button
    // whose rectangle holds the point is taken.
    std::function<int32_t(int32_t x, int32_t y)> pickColour;

private:
    HudLayout& hud_;
    std::function<bool(int32_t& x, int32_t& y)> cursor_;
    std::function<bool()> enabled_;
};

// The topmost button whose rectangle holds the point, or null.
HudButton* ButtonAt(HudLayout& hud, int32_t x, int32_t y);
