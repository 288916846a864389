#pragma once

// The build screen's and the squad screen's rows of the state table.

// Loads the build layout and switches its receiver on.
void BuildEnter();
// Draws the part list, the mech being built and its statistics.
void BuildUpdate();
// Switches the receiver off.
void BuildExit();

// Loads the squad layout.
void SquadEnter();
// Draws the squad.
void SquadUpdate();
// Leaves the squad screen.
void SquadExit();
