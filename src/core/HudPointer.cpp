#include "core/HudPointer.h"

#include "hud/HudLayout.h"

#include <utility>

HudPointer::HudPointer(HudLayout& hud, std::function<bool(int32_t& x, int32_t& y)> cursor,
                       std::function<bool()> enabled, MessageDispatcher& dispatcher)
    : MessageReciever(dispatcher), hud_(hud), cursor_(std::move(cursor)), enabled_(std::move(enabled)) {
    Subscribe(MouseButtonPressed);
    Subscribe(KeyPressed);
}

void HudPointer::ProcessMessages() {
    const bool enabled = enabled_ && enabled_();
    int32_t x = 0;
    int32_t y = 0;
    const bool inside = cursor_ && cursor_(x, y);
    auto colourUnderCursor = [&]() -> int32_t {
        if (!inside) {
            return 0;
        }
        if (pickColour) {
            return pickColour(x, y);
        }
        const HudButton* button = ButtonAt(hud_, x, y);
        return button != nullptr ? int32_t(button->pickColour) : 0;
    };
    if (enabled) {
        hud_.MouseOver(colourUnderCursor());
    }
    DrainInbox([&](const Message& message) {
        if (!enabled_ || !enabled_()) {
            return;
        }
        if (message.type == KeyPressed && message.value == TabKey) {
            hud_.ToggleEditor();
            return;
        }
        if (message.type != MouseButtonPressed || message.value != 0) {
            return;
        }
        // A click may change the screen and its layout; later clicks of this frame see the new one.
        const int32_t colour = colourUnderCursor();
        if (colour != 0) {
            hud_.LeftClick(colour);
        }
    });
}

HudButton* ButtonAt(HudLayout& hud, int32_t x, int32_t y) {
    std::vector<HudButton>& buttons = hud.buttons();
    for (auto it = buttons.rbegin(); it != buttons.rend(); ++it) {
        const int64_t left = it->xPos;
        const int64_t top = it->yPos;
        if (x >= left && y >= top && x < left + int64_t(it->xSize) && y < top + int64_t(it->ySize)) {
            return &*it;
        }
    }
    return nullptr;
}
