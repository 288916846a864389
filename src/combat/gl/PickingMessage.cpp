#include "combat/gl/PickingMessage.h"

#include "combat/LevelEditor.h"
#include "combat/UnitMovement.h"
#include "combat/gl/BattleView.h"
#include "hud/HudLayout.h"

namespace {

constexpr int32_t LeftButton = 0;
constexpr int32_t RightButton = 1;
constexpr int32_t GraveKey = 41;
constexpr int32_t TabKey = 15;

} // namespace

PickingMessage::PickingMessage(MessageDispatcher& dispatcher) : MessageReciever(dispatcher) {
    Subscribe(KeyPressed);
    Subscribe(MouseMoved);
    Subscribe(MouseWheel);
    Subscribe(MouseButtonHeld);
    Subscribe(MouseButtonPressed);
}

void PickingMessage::ProcessMessages() {
    wheelNotches = 0;
    leftClickPending = false;
    clickPick = PickResult();
    const bool running = screen != nullptr && view != nullptr && screen->active;
    DrainInbox([this, running](const Message& message) {
        if (!running) {
            return;
        }
        // During the computer's activation only Escape gets through.
        const Unit* active = screen->activeUnit;
        if (!screen->paused && active != nullptr && active->owner.isComputer &&
            !(message.type == KeyPressed && message.value == CombatKey::Escape)) {
            return;
        }
        handle(message);
    });
}

CombatInput PickingMessage::FrameInput() const {
    CombatInput input;
    input.wheelDelta = wheelNotches;
    input.leftClick = leftClickPending;
    input.pick = clickPick;
    return input;
}

PickResult PickingMessage::PickUnderCursor(int32_t* id) {
    int32_t x = 0;
    int32_t y = 0;
    if (id != nullptr) {
        *id = 0;
    }
    if (!cursor || !cursor(x, y)) {
        return PickResult();
    }
    return view->PickAt(*screen, x, y, id);
}

void PickingMessage::handle(const Message& message) {
    switch (message.type) {
    case KeyPressed:
        keyPressed(message.value);
        break;
    case MouseMoved:
        mouseMoved(message.value);
        break;
    case MouseWheel:
        wheelNotches = message.value;
        break;
    case MouseButtonHeld:
        if (message.value == LeftButton) {
            leftHeld();
        }
        break;
    case MouseButtonPressed:
        if (message.value == LeftButton) {
            leftPressed();
        } else if (message.value == RightButton && !screen->paused) {
            screen->ToggleMoveMode();
        }
        break;
    default:
        break;
    }
}

void PickingMessage::keyPressed(int32_t code) {
    if (code == CombatKey::Escape) {
        screen->TogglePause();
        if (setPauseReceiver) {
            setPauseReceiver(screen->paused);
        }
        return;
    }
    // While paused the battle takes no orders; only the overlay's buttons and Escape act.
    if (screen->paused) {
        return;
    }
    if (code == GraveKey) {
        if (editor != nullptr) {
            editor->ToggleDebugBar();
        }
    } else if (code == TabKey) {
        if (hud != nullptr) {
            hud->ToggleEditor();
        }
    } else {
        screen->KeyPressed(code);
    }
}

void PickingMessage::leftPressed() {
    leftClickPending = true;
    int32_t id = 0;
    clickPick = PickUnderCursor(&id);
    const bool editing = screen->editMode;
    MapTile* tile = clickPick.kind == PickKind::MapTile ? clickPick.tile : nullptr;
    int32_t x = 0;
    int32_t y = 0;
    if (tile != nullptr && !screen->map.CoordinatesOf(tile, x, y)) {
        tile = nullptr;
    }
    if (screen->paused) {
        // Only the overlay's buttons answer while paused.
        leftClickPending = false;
        tile = nullptr;
    }
    if (editing && tile != nullptr) {
        leftClickPending = false;
        if (!screen->paintMode && editor != nullptr) {
            editor->SelectTile(x, y);
        }
        return;
    }
    if (tile != nullptr && !screen->paintMode && tile->marker == TileMarker::None) {
        if (!screen->camera.busy()) {
            screen->camera.MoveCameraTo(TileCentre(screen->map, x, y), false);
        }
        return;
    }
    HudButton* button = hud != nullptr && id != 0 ? hud->FindByPickColour(id) : nullptr;
    if (button != nullptr && !editing) {
        leftClickPending = false;
        if (hud->editorOpen()) {
            hud->Select(button->id);
            return;
        }
        // The how-to-play pages of the pause overlay reuse the front end's layouts: their change-screen
        // buttons turn the page instead of leaving the battle.
        if (screen->paused && screen->pausePage != 0 &&
            button->function == static_cast<int32_t>(ButtonFunction::ChangeState)) {
            screen->PauseButton(3);
            return;
        }
        const HudButton copy = *button;
        hud->ClickButton(copy);
    }
}

void PickingMessage::leftHeld() {
    if (!screen->editMode || !screen->paintMode || screen->paused) {
        return;
    }
    const PickResult pick = PickUnderCursor();
    if (pick.kind == PickKind::MapTile && pick.tile != nullptr && editor != nullptr) {
        editor->Paint(*pick.tile);
    }
}

void PickingMessage::mouseMoved(int32_t value) {
    mouseMoveX = value;
    int32_t id = 0;
    const PickResult pick = PickUnderCursor(&id);
    if (hud != nullptr) {
        hud->MouseOver(id);
    }
    int32_t cursorX = 0;
    int32_t cursorY = 0;
    if (cursor && cursor(cursorX, cursorY)) {
        screen->PointAt(cursorX, cursorY, pick);
    }
    if (screen->paused) {
        return;
    }
    if (pick.kind == PickKind::MapTile && pick.tile != nullptr) {
        int32_t x = 0;
        int32_t y = 0;
        if (!screen->map.CoordinatesOf(pick.tile, x, y)) {
            return;
        }
        if (screen->editMode && screen->paintMode) {
            screen->map.ClearMarkers();
            pick.tile->marker = TileMarker::Target;
        } else {
            screen->HoverTile(x, y);
        }
    } else if (pick.kind == PickKind::Unit) {
        screen->hoveredUnit = pick.unit;
    }
}

PauseMessage::PauseMessage(MessageDispatcher& dispatcher) : MessageReciever(dispatcher) {
    Subscribe(HudMessage);
}

void PauseMessage::ProcessMessages() {
    DrainInbox([this](const Message& message) {
        if (active && screen != nullptr && message.type == HudMessage) {
            screen->PauseButton(message.value);
        }
    });
}
