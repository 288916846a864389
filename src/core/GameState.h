#pragma once

#include <cstddef>
#include <cstdint>
#include <map>

// Screen identifiers: every screen of the game is one row of the state table.
using GameState = int32_t;

constexpr GameState kBootState = 0;
constexpr GameState kLogoState = 1;
constexpr GameState kMainMenuState = 2;
constexpr GameState kOptionsState = 3;
constexpr GameState kWorldMapState = 5;
constexpr GameState kCombatState = 6;
constexpr GameState kSquadState = 7;
constexpr GameState kBuildState = 8;
constexpr GameState kCreditsState = 11;
constexpr GameState kQuitState = 12;
constexpr GameState kHowToPlay1State = 13;
constexpr GameState kHowToPlay2State = 14;
constexpr GameState kHowToPlay3State = 15;
constexpr GameState kTeamLogoState = 22;

// A screen callback; takes nothing, returns nothing.
using StateCallback = void (*)();

// The enter, update and exit callbacks of one screen; any may be empty and is then skipped.
struct StateEntry {
    StateCallback enter = nullptr;
    StateCallback update = nullptr;
    StateCallback exit = nullptr;
};

// The table of screens and the one that is current (boot at first).
class StateTable {
public:
    // Adds or replaces the row of a state.
    void SetRow(GameState state, StateEntry entry) { rows_[state] = entry; }
    // The row of a state; a state without a row gets three empty callbacks.
    StateEntry& Row(GameState state) { return rows_[state]; }
    // True when the state has a row.
    bool HasRow(GameState state) const { return rows_.count(state) != 0; }
    // Number of rows.
    size_t RowCount() const { return rows_.size(); }

    // Runs the current state's exit, then the new state's enter, then makes the new state current. While
    // the enter runs, the current state is still the old one.
    void ChangeState(GameState newState);
    // Runs the current state's update, if it has one.
    void UpdateCurrent();

    GameState current() const { return current_; }

private:
    std::map<GameState, StateEntry> rows_;
    GameState current_ = kBootState;
};
