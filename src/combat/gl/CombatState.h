#pragma once

// The combat screen's rows of the state table.

// Starts the battle music and sets up the battle of the chosen mission.
void CombatEnter();
// Runs one frame of the battle and draws it.
void CombatUpdate();
// Leaves the battle: stakes, clean-up, receivers off.
void CombatExit();
