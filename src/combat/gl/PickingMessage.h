#pragma once

#include "combat/CombatScreen.h"
#include "hud/MessageReciever.h"

#include <cstdint>
#include <functional>

class BattleView;
class HudLayout;
class LevelEditor;

// The battle's orders by mouse and keys: picks what lies under the cursor and turns this frame's input
// messages into previews, moves, mode switches, pause and editor actions. The left click that no button or
// editor took is kept for the frame procedure, which hands it to the battle's click handler.
class PickingMessage final : public MessageReciever {
public:
    explicit PickingMessage(MessageDispatcher& dispatcher = MessageDispatcher::Instance());
    ~PickingMessage() = default;

    // Handles the inbox, front first; drops it while no battle is running.
    void ProcessMessages() override;
    // This frame's input for the battle's frame procedure.
    CombatInput FrameInput() const;
    // What lies under the cursor now (the pick pass is drawn into the back buffer).
    PickResult PickUnderCursor(int32_t* id = nullptr);

    // The battle, its drawing, the current layout and the editor; set by the combat screen.
    CombatScreen* screen = nullptr;
    BattleView* view = nullptr;
    HudLayout* hud = nullptr;
    LevelEditor* editor = nullptr;
    // The cursor in the 800 x 600 frame; false when it is outside the window.
    std::function<bool(int32_t& x, int32_t& y)> cursor;
    // Switches the pause overlay's receiver on or off.
    std::function<void(bool on)> setPauseReceiver;
    // Plays the sound of a button coming under the mouse (through the layout when empty).
    std::function<void()> hoverSound;

    int32_t mouseMoveX = 0;
    int32_t wheelNotches = 0;
    bool leftClickPending = false;
    PickResult clickPick;

private:
    void handle(const Message& message);
    void keyPressed(int32_t code);
    void leftPressed();
    void leftHeld();
    void mouseMoved(int32_t value);
};

// The pause overlay's receiver: layout button messages page through the overlay while it is active.
class PauseMessage final : public MessageReciever {
public:
    explicit PauseMessage(MessageDispatcher& dispatcher = MessageDispatcher::Instance());
    ~PauseMessage() = default;

    // Handles the inbox when active; otherwise empties it unread.
    void ProcessMessages() override;

    CombatScreen* screen = nullptr;
    bool active = false;
};
