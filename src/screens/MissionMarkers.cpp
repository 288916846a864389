#include "screens/MissionMarkers.h"

#include "data/DataXml.h"
#include "platform/Dialog.h"
#include "platform/Paths.h"

#include <algorithm>
#include <tinyxml2.h>

bool ReadMissionPosition(const std::string& missionFile, int32_t& x, int32_t& y) {
    tinyxml2::XMLDocument document;
    if (document.LoadFile(NativePath(missionFile).c_str()) != tinyxml2::XML_SUCCESS) {
        return false;
    }
    const tinyxml2::XMLElement* mission = document.FirstChildElement("mission");
    if (mission == nullptr) {
        return false;
    }
    x = AttributeInt(mission, "x");
    y = AttributeInt(mission, "y");
    return true;
}

std::vector<MissionMarker> MissionMarkers(const std::vector<std::string>& missionFiles) {
    std::vector<MissionMarker> markers;
    for (size_t i = 0; i < missionFiles.size(); ++i) {
        MissionMarker marker;
        marker.missionIndex = int32_t(i);
        if (!ReadMissionPosition(missionFiles[i], marker.x, marker.y)) {
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
