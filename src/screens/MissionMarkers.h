#pragma once

#include "screens/SquadBuilder.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The world map without a window: one marker per mission file at the mission's x and y, the three faction
// standing bars, and which mission a marker's message names.

// Side of a mission marker in layout pixels.
constexpr int32_t kMarkerSize = 24;
// Texture slot of a marker, and of a marker under the mouse.
constexpr int32_t kMarkerTexture = 17;
constexpr int32_t kMarkerMouseOverTexture = 18;

// What the world map tells of a mission while the pointer rests on its marker.
struct MissionInfo {
    std::string name;
    // Size of its level map in tiles; 0 x 0 when the map cannot be read.
    int32_t mapWidth = 0;
    int32_t mapHeight = 0;
    // Units of the computer's side.
    int32_t enemies = 0;
    // The faction values at stake (fac1 to fac3).
    int32_t stakes[3] = {0, 0, 0};
};

// Where a mission's marker stands on the map.
struct MissionMarker {
    int32_t missionIndex = 0;
    int32_t x = 0;
    int32_t y = 0;
    MissionInfo info;
};

// Reads x and y of the root "mission" of a mission file (an absent one is 0); false when the file cannot
// be read or has no "mission" root.
bool ReadMissionPosition(const std::string& missionFile, int32_t& x, int32_t& y);

// One marker per readable mission file, in list order. An unreadable file shows the assertion box "Could not
// find mission file" (naming the file) and gets no marker.
std::vector<MissionMarker> MissionMarkers(const std::vector<std::string>& missionFiles);

// The name a mission file gives itself (its root's "name"), else its file name without the leading number,
// the "_" and ".xml" ("01_Outskirts.xml" is "Outskirts").
std::string MissionNameOf(const std::string& missionFile, const char* nameAttribute);

// Reads a mission file's name, map size, enemy count and stakes; false when it cannot be read.
bool ReadMissionInfo(const std::string& missionFile, MissionInfo& info);

// The lines of a marker's label: the name (with " - won" once won), "12 x 12 tiles, 2 enemies", and the
// stakes ("Stakes: 4 / 2 / 0").
std::vector<std::string> MissionLabelLines(const MissionInfo& info, bool won);

// The label printed beside a marker, one text a line, kept inside the 800 x 600 frame.
std::vector<ScreenText> MarkerLabel(const MissionMarker& marker, bool won);
// The shaded box behind a label's lines.
struct MarkerLabelBox {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
};
MarkerLabelBox LabelBoxOf(const std::vector<ScreenText>& label);

// The mission index a marker's message value names, or -1 when the list has no such mission.
int32_t MissionIndexOf(int32_t value, size_t missionCount);

// Where one faction standing is drawn: the fill grows up from the bottom of a 100-pixel frame, the icon
// sits below it.
struct StandingBar {
    int32_t x = 0;
    int32_t fillY = 0;
    int32_t fillHeight = 0; // 0 draws no fill
    int32_t frameY = 435;
    int32_t iconY = 545;
    int32_t width = 30;
    int32_t frameHeight = 100;
    const char* icon = "";
};

// The bar of standing k (0 to 2) at value v; values outside 0 to 100 are drawn as the nearer end.
StandingBar StandingBarOf(int k, int32_t value);

// Pictures of the world map.
constexpr const char* kWorldMapPicture = "Art Assets\\Screens\\WorldMap.png";
constexpr const char* kStandingFill = "Art Assets\\Textures\\Life_Bar.png";
constexpr const char* kStandingFrame = "Art Assets\\Textures\\Empty_Bar.png";
// Music of the world map.
constexpr const char* kWorldMapMusic = "Sound Assets\\BGM\\29 - Gridiron.mp3";
