#include "screens/WorldMap.h"

void WorldMapEnter() {}

void WorldMapUpdate() {}

void WorldMapExit() {}
