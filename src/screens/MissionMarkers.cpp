#include "screens/MissionMarkers.h"

#include "data/DataXml.h"
#include "platform/Dialog.h"
#include "platform/Paths.h"

#include <algorithm>
#include <tinyxml2.h>

namespace {

const char* const kLevelFolder = "XMLFiles\\Missions\\Levels\\";

// The <mission> element of a mission file, or null when the file cannot be read or has none.
const tinyxml2::XMLElement* LoadMissionElement(tinyxml2::XMLDocument& document, const std::string& missionFile) {
    if (document.LoadFile(NativePath(missionFile).c_str()) != tinyxml2::XML_SUCCESS) {
        return nullptr;
    }
    return document.FirstChildElement("mission");
}

} // namespace

bool ReadMissionPosition(const std::string& missionFile, int32_t& x, int32_t& y) {
    tinyxml2::XMLDocument document;
    const tinyxml2::XMLElement* mission = LoadMissionElement(document, missionFile);
    if (mission == nullptr) {
        return false;
    }
    x = AttributeInt(mission, "x");
    y = AttributeInt(mission, "y");
    return true;
}

std::string MissionNameOf(const std::string& missionFile, const char* nameAttribute) {
    if (nameAttribute != nullptr && *nameAttribute != '\0') {
        return nameAttribute;
    }
    std::string name = missionFile.substr(missionFile.find_last_of("\\/") + 1);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".xml") == 0) {
        name.resize(name.size() - 4);
    }
    const size_t digits = name.find_first_not_of("0123456789");
    if (digits != std::string::npos && digits > 0 && name[digits] == '_' && digits + 1 < name.size()) {
        name = name.substr(digits + 1);
    }
    return name;
}

bool ReadMissionInfo(const std::string& missionFile, MissionInfo& info) {
    tinyxml2::XMLDocument document;
    const tinyxml2::XMLElement* mission = LoadMissionElement(document, missionFile);
    if (mission == nullptr) {
        return false;
    }
    info = MissionInfo{};
    info.name = MissionNameOf(missionFile, mission->Attribute("name"));
    info.stakes[0] = AttributeInt(mission, "fac1");
    info.stakes[1] = AttributeInt(mission, "fac2");
    info.stakes[2] = AttributeInt(mission, "fac3");
    for (const tinyxml2::XMLElement* unit = mission->FirstChildElement("unit"); unit != nullptr;
         unit = unit->NextSiblingElement("unit")) {
        if (AttributeInt(unit, "player") == 2) {
            ++info.enemies;
        }
    }
    const std::string_view map = ElementText(mission->FirstChildElement("map"));
    tinyxml2::XMLDocument level;
    if (!map.empty() && level.LoadFile(NativePath(std::string(kLevelFolder) + std::string(map)).c_str()) ==
                            tinyxml2::XML_SUCCESS) {
        if (const tinyxml2::XMLElement* root = level.FirstChildElement("mapdata")) {
            info.mapWidth = std::max(0, ParseDataInt(ElementText(root->FirstChildElement("width"))));
            info.mapHeight = std::max(0, ParseDataInt(ElementText(root->FirstChildElement("height"))));
        }
    }
    return true;
}

std::vector<std::string> MissionLabelLines(const MissionInfo& info, bool won) {
    std::vector<std::string> lines;
    lines.push_back(info.name + (won ? " - won" : ""));
    std::string size = info.mapWidth > 0 && info.mapHeight > 0
                           ? std::to_string(info.mapWidth) + " x " + std::to_string(info.mapHeight) + " tiles"
                           : std::string("map unreadable");
    lines.push_back(size + ", " + std::to_string(info.enemies) + (info.enemies == 1 ? " enemy" : " enemies"));
    lines.push_back("Stakes: " + std::to_string(info.stakes[0]) + " / " + std::to_string(info.stakes[1]) +
                    " / " + std::to_string(info.stakes[2]));
    return lines;
}

std::vector<MissionMarker> MissionMarkers(const std::vector<std::string>& missionFiles) {
    std::vector<MissionMarker> markers;
    for (size_t i = 0; i < missionFiles.size(); ++i) {
        MissionMarker marker;
        marker.missionIndex = int32_t(i);
        if (!ReadMissionPosition(missionFiles[i], marker.x, marker.y) ||
            !ReadMissionInfo(missionFiles[i], marker.info)) {
            ShowAssertionBox("Could not find mission file: " + missionFiles[i]);
            continue;
        }
        markers.push_back(marker);
    }
    return markers;
}

int32_t MissionIndexOf(int32_t value, size_t missionCount) {
    if (value < 0 || size_t(value) >= missionCount) {
        return -1;
    }
    return value;
}

StandingBar StandingBarOf(int k, int32_t value) {
    static constexpr const char* icons[] = {"Art Assets\\Textures\\FactionIcon2.png",
                                            "Art Assets\\Textures\\FactionIcon1.png",
                                            "Art Assets\\Textures\\FactionIcon3.png"};
    StandingBar bar;
    const int index = std::clamp(k, 0, 2);
    bar.x = 25 + 40 * index;
    bar.fillHeight = std::clamp(value, 0, bar.frameHeight);
    bar.fillY = bar.frameY + bar.frameHeight - bar.fillHeight;
    bar.icon = icons[index];
    return bar;
}

namespace {

constexpr int32_t kLabelLineHeight = 16;
constexpr int32_t kLabelGlyphWidth = 7;
constexpr int32_t kLabelPadding = 6;

} // namespace

std::vector<ScreenText> MarkerLabel(const MissionMarker& marker, bool won) {
    const std::vector<std::string> lines = MissionLabelLines(marker.info, won);
    size_t longest = 0;
    for (const std::string& line : lines) {
        longest = std::max(longest, line.size());
    }
    const int32_t width = int32_t(longest) * kLabelGlyphWidth;
    const int32_t height = int32_t(lines.size()) * kLabelLineHeight;
    // Right of the marker, or left of it when there is no room; below its top, or above near the bottom.
    int32_t x = marker.x + kMarkerSize + kLabelPadding * 2;
    if (x + width + kLabelPadding > 800) {
        x = marker.x - kLabelPadding * 2 - width;
    }
    x = std::clamp(x, kLabelPadding, std::max(kLabelPadding, 800 - kLabelPadding - width));
    int32_t y = std::clamp(marker.y, kLabelPadding, std::max(kLabelPadding, 600 - kLabelPadding - height));
    std::vector<ScreenText> texts;
    for (size_t i = 0; i < lines.size(); ++i) {
        texts.push_back({x, y + 12 + int32_t(i) * kLabelLineHeight, lines[i]});
    }
    return texts;
}

MarkerLabelBox LabelBoxOf(const std::vector<ScreenText>& label) {
    MarkerLabelBox box;
    if (label.empty()) {
        return box;
    }
    size_t longest = 0;
    for (const ScreenText& text : label) {
        longest = std::max(longest, text.text.size());
    }
    box.x = label.front().x - kLabelPadding;
    box.y = label.front().y - 12 - kLabelPadding;
    box.width = int32_t(longest) * kLabelGlyphWidth + 2 * kLabelPadding;
    box.height = int32_t(label.size()) * kLabelLineHeight + 2 * kLabelPadding - 2;
    return box;
}
