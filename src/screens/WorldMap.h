#pragma once

#include "hud/MessageReciever.h"

#include <cstdint>

// The world map's row of the state table and its receiver.

// Loads the map layout with one marker per mission and switches its receiver on.
void WorldMapEnter();
// Draws the map, the faction standings and the markers.
void WorldMapUpdate();
// Switches the receiver off.
void WorldMapExit();

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
