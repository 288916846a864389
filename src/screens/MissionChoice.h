#pragma once

#include <string>

// The mission the world map chose for the next battle. The world map sets it just before it switches to
// the combat screen; the combat screen's enter reads it and loads that mission file.

// Remembers the mission file (its path under "XMLFiles\Missions") the next battle is fought on.
void ChooseMission(const std::string& missionFile);
// The mission file chosen last; empty before any was chosen.
const std::string& ChosenMission();
