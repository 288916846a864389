#pragma once

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

// Where a mission's marker stands on the map.
struct MissionMarker {
    int32_t missionIndex = 0;
    int32_t x = 0;
    int32_t y = 0;
};

// Reads x and y of the root "mission" of a mission file (an absent one is 0); false when the file cannot
// be read or has no "mission" root.
bool ReadMissionPosition(const std::string& missionFile, int32_t& x, int32_t& y);

// One marker per readable mission file, in list order. An unreadable file shows the assertion box "Could not
// find mission file" (naming the file) and gets no marker.
std::vector<MissionMarker> MissionMarkers(const std::vector<std::string>& missionFiles);

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
