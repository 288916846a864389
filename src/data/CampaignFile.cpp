#include "data/CampaignFile.h"

#include "platform/DurableSave.h"
#include "platform/Paths.h"

#include <sys/stat.h>

namespace {

bool Between(int32_t value, int32_t low, int32_t high) {
    return value >= low && value <= high;
}

bool ReadPart(const tinyxml2::XMLElement* element, PartKind& part) {
    if (element->QueryIntAttribute("category", &part.category) != tinyxml2::XML_SUCCESS ||
        element->QueryIntAttribute("index", &part.index) != tinyxml2::XML_SUCCESS) {
        return false;
    }
    return (part.category == -1 && part.index == -1) || PartNumber(part.category, part.index) >= 0;
}

// Reads the document into the record; false with the reason at the first value that does not fit.
bool RecordOf(const tinyxml2::XMLElement* root, CampaignRecord& record, std::string& reason) {
    const tinyxml2::XMLElement* standings = root->FirstChildElement("standings");
    if (standings == nullptr) {
        reason = "it has no standings";
        return false;
    }
    for (int k = 0; k < kFactionCount; ++k) {
        const std::string name = "faction" + std::to_string(k + 1);
        int32_t value = 0;
        if (standings->QueryIntAttribute(name.c_str(), &value) != tinyxml2::XML_SUCCESS ||
            !Between(value, 0, 100)) {
            reason = "the standing " + name + " is missing or outside 0 to 100";
            return false;
        }
        record.standings[size_t(k)] = value;
    }
    const tinyxml2::XMLElement* inventory = root->FirstChildElement("inventory");
    if (inventory == nullptr) {
        reason = "it has no inventory";
        return false;
    }
    std::array<bool, kPartCount> seen{};
    for (const tinyxml2::XMLElement* part = inventory->FirstChildElement("part"); part != nullptr;
         part = part->NextSiblingElement("part")) {
        PartKind kind;
        int32_t count = 0;
        if (!ReadPart(part, kind) || kind.category < 0 ||
            part->QueryIntAttribute("count", &count) != tinyxml2::XML_SUCCESS ||
            !Between(count, 0, int32_t(kMaxPartCount))) {
            reason = "an inventory entry names no part or a count outside 0 to 99";
            return false;
        }
        const int number = PartNumber(kind.category, kind.index);
        record.counts[size_t(number)] = count;
        seen[size_t(number)] = true;
    }
    for (bool there : seen) {
        if (!there) {
            reason = "the inventory lacks a part kind";
            return false;
        }
    }
    const tinyxml2::XMLElement* squad = root->FirstChildElement("squad");
    if (squad == nullptr) {
        reason = "it has no squad";
        return false;
    }
    for (const tinyxml2::XMLElement* slot = squad->FirstChildElement("slot"); slot != nullptr;
         slot = slot->NextSiblingElement("slot")) {
        int32_t number = -1;
        if (slot->QueryIntAttribute("number", &number) != tinyxml2::XML_SUCCESS ||
            !Between(number, 1, kSquadSize)) {
            reason = "a squad slot has no number from 1 to 6";
            return false;
        }
        SavedSlot& saved = record.squad[size_t(number - 1)];
        for (const tinyxml2::XMLElement* module = slot->FirstChildElement("module"); module != nullptr;
             module = module->NextSiblingElement("module")) {
            PartKind kind;
            if (!ReadPart(module, kind) || kind.category < 0 ||
                (saved.modules.empty() != (kind.category == CORE))) {
                reason = "slot " + std::to_string(number) + " has a module that is no part, or no core first";
                return false;
            }
            saved.modules.push_back(PartNumber(kind.category, kind.index));
        }
        for (const tinyxml2::XMLElement* recorded = slot->FirstChildElement("record"); recorded != nullptr;
             recorded = recorded->NextSiblingElement("record")) {
            PartKind kind;
            int32_t place = 0;
            if (!ReadPart(recorded, kind) ||
                recorded->QueryIntAttribute("place", &place) != tinyxml2::XML_SUCCESS ||
                !Between(place, CORE, WEAPON)) {
                reason = "slot " + std::to_string(number) + " has a record that names no part or place";
                return false;
            }
            saved.records[size_t(place - CORE)] = kind;
        }
    }
    if (const tinyxml2::XMLElement* won = root->FirstChildElement("won")) {
        for (const tinyxml2::XMLElement* mission = won->FirstChildElement("mission"); mission != nullptr;
             mission = mission->NextSiblingElement("mission")) {
            const char* name = mission->GetText();
            if (name != nullptr && *name != '\0') {
                record.wonMissions.emplace_back(name);
            }
        }
    }
    return true;
}

void AddPart(tinyxml2::XMLElement* element, PartKind kind) {
    element->SetAttribute("category", kind.category);
    element->SetAttribute("index", kind.index);
}

} // namespace

bool CampaignRecord::operator==(const CampaignRecord& other) const {
    if (standings != other.standings || counts != other.counts || wonMissions != other.wonMissions) {
        return false;
    }
    for (size_t s = 0; s < squad.size(); ++s) {
        if (squad[s].modules != other.squad[s].modules) {
            return false;
        }
        for (size_t p = 0; p < squad[s].records.size(); ++p) {
            if (squad[s].records[p].category != other.squad[s].records[p].category ||
                squad[s].records[p].index != other.squad[s].records[p].index) {
                return false;
            }
        }
    }
    return true;
}

std::string CampaignFilePath() {
    return DataFolder() + "/campaign.xml";
}

std::string CampaignText(const CampaignRecord& record) {
    tinyxml2::XMLDocument document;
    document.InsertEndChild(document.NewDeclaration());
    tinyxml2::XMLElement* root = document.NewElement("campaign");
    document.InsertEndChild(root);
    tinyxml2::XMLElement* standings = root->InsertNewChildElement("standings");
    for (int k = 0; k < kFactionCount; ++k) {
        standings->SetAttribute(("faction" + std::to_string(k + 1)).c_str(), record.standings[size_t(k)]);
    }
    tinyxml2::XMLElement* inventory = root->InsertNewChildElement("inventory");
    for (int number = 0; number < kPartCount; ++number) {
        tinyxml2::XMLElement* part = inventory->InsertNewChildElement("part");
        AddPart(part, PartKindOf(number));
        part->SetAttribute("count", record.counts[size_t(number)]);
        part->SetAttribute("name", std::string(PartDisplayName(number)).c_str());
    }
    tinyxml2::XMLElement* squad = root->InsertNewChildElement("squad");
    for (int s = 0; s < kSquadSize; ++s) {
        const SavedSlot& saved = record.squad[size_t(s)];
        tinyxml2::XMLElement* slot = squad->InsertNewChildElement("slot");
        slot->SetAttribute("number", s + 1);
        for (int number : saved.modules) {
            tinyxml2::XMLElement* module = slot->InsertNewChildElement("module");
            AddPart(module, PartKindOf(number));
            module->SetAttribute("name", std::string(PartDisplayName(number)).c_str());
        }
        for (int place = CORE; place <= WEAPON; ++place) {
            tinyxml2::XMLElement* recorded = slot->InsertNewChildElement("record");
            recorded->SetAttribute("place", place);
            AddPart(recorded, saved.records[size_t(place - CORE)]);
        }
    }
    tinyxml2::XMLElement* won = root->InsertNewChildElement("won");
    for (const std::string& mission : record.wonMissions) {
        won->InsertNewChildElement("mission")->SetText(mission.c_str());
    }
    return DocumentText(document);
}

CampaignRead ReadCampaignFile(const std::string& path) {
    CampaignRead read;
    tinyxml2::XMLDocument document;
    std::string reason;
    read.state = LoadPlayerFile(path, "campaign", document, reason);
    if (read.state == PlayerFileState::Read && !RecordOf(document.RootElement(), read.record, reason)) {
        read.state = PlayerFileState::Broken;
        read.record = CampaignRecord{};
    }
    if (read.state == PlayerFileState::Broken) {
        const std::string aside = KeepAside(path);
        read.message = "The saved campaign in " + path + " could not be read: " + reason + "." +
                       (aside.empty() ? std::string() : " It was kept as " + aside + ".");
    }
    return read;
}

bool CampaignFileExists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

bool WriteCampaignFile(const std::string& path, const CampaignRecord& record, std::string& error) {
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeFolders(path.substr(0, slash), error)) {
        return false;
    }
    return SaveFileDurably(path, CampaignText(record), error);
}
