#pragma once

// The world map's row of the state table.

// Loads the map layout with one marker per mission and switches its receiver on.
void WorldMapEnter();
// Draws the map, the faction standings and the markers.
void WorldMapUpdate();
// Switches the receiver off.
void WorldMapExit();
