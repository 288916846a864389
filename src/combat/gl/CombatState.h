#pragma once

#include "combat/CombatScreen.h"

// The combat screen's rows of the state table.

class BattleView;
class LevelEditor;
class PickingMessage;
class PauseMessage;

// The battle, built on first use over the game context's level, path finder and camera. The world map loads
// the chosen mission into it before switching to the combat screen.
CombatScreen& GetCombatScreen();
// The battle's drawing.
BattleView& GetBattleView();
// The battle's level editor and debug bar.
LevelEditor& GetLevelEditor();
// The battle's order receiver.
PickingMessage& GetPickingMessage();
// The pause overlay's receiver.
PauseMessage& GetPauseMessage();

// Starts the battle music and sets up the battle of the chosen mission.
void CombatEnter();
// Runs one frame of the battle and draws it.
void CombatUpdate();
// Leaves the battle: stakes, clean-up, receivers off.
void CombatExit();
// Leaves the pause overlay (its layout's "Pause" button): the battle and the pause receiver resume.
void LeaveCombatPause();
// Draws the debug bar and, when open, the level editor bar (inside the frame's overlay).
void DrawCombatBars();
