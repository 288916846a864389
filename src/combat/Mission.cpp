#include "combat/CombatScreen.h"
#include "combat/UnitMovement.h"
#include "data/DataXml.h"
#include "platform/Dialog.h"
#include "platform/Paths.h"

#include <tinyxml2.h>

namespace {

// The integer attribute, or fallback when it is absent (numbers read as the data files read them, so a
// huge one cannot overflow).
int32_t IntAttribute(const tinyxml2::XMLElement& element, const char* name, int32_t fallback) {
    const char* text = element.Attribute(name);
    return text != nullptr ? ParseDataInt(text) : fallback;
}

} // namespace

bool CombatScreen::LoadMission(std::optional<std::string_view> path, const Army* squad) {
    if (path) {
        mission.fileName = std::string(*path);
    }
    clearUnits();
    tinyxml2::XMLDocument doc;
    if (doc.LoadFile(NativePath(mission.fileName).c_str()) != tinyxml2::XML_SUCCESS) {
        ShowAssertionBox("Could not find mission file");
        return false;
    }
    const tinyxml2::XMLElement* root = doc.FirstChildElement("mission");
    if (root == nullptr) {
        ShowAssertionBox("Missing \"mission\" Tag");
        return false;
    }
    mission.fac1 = IntAttribute(*root, "fac1", mission.fac1);
    mission.fac2 = IntAttribute(*root, "fac2", mission.fac2);
    mission.fac3 = IntAttribute(*root, "fac3", mission.fac3);
    if (const tinyxml2::XMLElement* goal = root->FirstChildElement("goal")) {
        mission.goalType = IntAttribute(*goal, "type", 0);
    } else {
        ShowAssertionBox("Missing \"goal\" Tag");
    }
    if (const tinyxml2::XMLElement* limit = root->FirstChildElement("timeLimit")) {
        mission.timeLimit = static_cast<float>(IntAttribute(*limit, "limit", 0));
    } else {
        ShowAssertionBox("Missing \"timeLimit\" Tag");
    }
    const tinyxml2::XMLElement* mapElement = root->FirstChildElement("map");
    if (mapElement == nullptr) {
        ShowAssertionBox("Missing \"map\" Tag");
        return false;
    }
    const char* mapName = mapElement->GetText();
    if (mapName == nullptr || !map.Load(mapName)) {
        return false;
    }

    size_t squadSlot = 0;
    for (const tinyxml2::XMLElement* element = root->FirstChildElement("unit"); element != nullptr;
         element = element->NextSiblingElement("unit")) {
        int32_t player = IntAttribute(*element, "player", 0);
        std::unique_ptr<Unit> unit;
        if (player == 1) {
            const Unit* slot = nullptr;
            if (squad != nullptr && squadSlot < squad->squad.size()) {
                slot = squad->squad[squadSlot].get();
            }
            ++squadSlot;
            if (slot == nullptr || !slot->core) {
                continue;
            }
            unit = CloneUnit(*slot);
        } else {
            unit = std::make_unique<Unit>();
        }
        unit->owner.player = player;
        unit->owner.isComputer = player == 2;
        if (player != 1) {
            // A unit whose file cannot be read stays out of the battle (the loader has said why); the rest
            // of the mission is still fought.
            const char* file = element->GetText();
            if (file == nullptr) {
                ShowErrorBox("Could not open file for reading: ");
                continue;
            }
            if (!LoadUnit(std::string_view(file), *unit)) {
                continue;
            }
        }
        unit->tileX = IntAttribute(*element, "xPos", unit->tileX);
        unit->tileY = IntAttribute(*element, "yPos", unit->tileY);
        if (map.TileAt(unit->tileX, unit->tileY) != nullptr) {
            PlaceUnit(*unit, map, unit->tileX, unit->tileY);
        }
        int32_t orient = IntAttribute(*element, "orient", 0);
        if (orient >= 1 && orient <= 8) {
            FaceDirection(*unit, OrientationDirection(orient));
        }
        Unit* added = AddUnit(std::move(unit));
        if (IntAttribute(*element, "target", 0) != 0) {
            mission.targets.push_back(added);
        }
    }
    return true;
}
