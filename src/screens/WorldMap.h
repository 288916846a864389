#pragma once

#include "hud/MessageReciever.h"
#include "screens/SquadBuilder.h"

#include <cstdint>
#include <string>
#include <vector>

// The world map's row of the state table and its receiver.

// Loads the map layout with one marker per mission and switches its receiver on.
void WorldMapEnter();
// Draws the map, the faction standings and the markers.
void WorldMapUpdate();
// Switches the receiver off.
void WorldMapExit();

// What the map prints over its markers: with hoveredLabel, the label of the marker under the pointer (none
// when the pointer rests on no marker); otherwise "WON" under each won mission's marker.
std::vector<ScreenText> MarkerTexts(const Campaign& campaign, const std::vector<std::string>& missionFiles,
                                    bool hoveredLabel);

// The world map's receiver: while active, every HUD message names a mission by its index in the mission
// list; that mission is chosen and the battle starts. Values outside the list are ignored.
class MapMessage final : public MessageReciever {
public:
    // The game's receiver, made on first use.
    static MapMessage& Get();

    MapMessage();
    ~MapMessage() = default;
    void ProcessMessages() override;

    bool active = false;
};

// Layout file of the world map.
constexpr const char* kWorldMapLayout = "XMLFiles\\GUI\\map.xml";
