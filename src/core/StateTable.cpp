#include "core/GameState.h"

void StateTable::ChangeState(GameState newState) {
    if (StateCallback exit = Row(current_).exit) {
        exit();
    }
    if (StateCallback enter = Row(newState).enter) {
        enter();
    }
    current_ = newState;
}

void StateTable::UpdateCurrent() {
    if (StateCallback update = Row(current_).update) {
        update();
    }
}
