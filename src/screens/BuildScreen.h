#pragma once

#include "hud/MessageReciever.h"
#include "screens/SquadBuilder.h"

// The build screen's and the squad screen's rows of the state table, and the build screen's receiver.

// Starts the music, loads the build layout, switches its receiver on and selects squad slot 0.
void BuildEnter();
// Draws the part list, the mech being built and its statistics.
void BuildUpdate();
// Switches the receiver off and stops the music.
void BuildExit();

// Starts the music and loads the squad layout.
void SquadEnter();
// Draws the squad screen and its layout.
void SquadUpdate();
// Stops the music.
void SquadExit();

// The build screen's receiver and the screen's state: while active, the HUD messages 0 to 19 of its
// buttons equip parts, turn pages, select squad slots and take modules off (see SquadBuilder). The
// records of what was equipped and the page last as long as the program.
class SquadBuildMessage final : public MessageReciever {
public:
    // The game's receiver, made on first use.
    static SquadBuildMessage& Get();

    SquadBuildMessage();
    ~SquadBuildMessage() = default;
    void ProcessMessages() override;

    bool active = false;
    SquadBuilder builder;
};

// Layout files of the build and squad screens.
constexpr const char* kBuildLayout = "XMLFiles\\GUI\\buildScreen.xml";
constexpr const char* kSquadLayout = "XMLFiles\\GUI\\squadScreen.xml";
// Music of both screens.
constexpr const char* kBuildMusic = "Sound Assets\\BGM\\49 - Tecnotica.mp3";
