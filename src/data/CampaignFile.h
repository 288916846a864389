#pragma once

#include "data/Army.h"
#include "data/Component.h"
#include "data/SaveFiles.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// The saved campaign, "campaign.xml" of the player's data folder: the standings, the inventory's counts,
// every squad slot's modules and the build screen's records of it, and the missions won. It is written
// whenever the player comes back to the world map and read when the player continues.

// One squad slot: its modules as part numbers (core first, then the core's modules in order; none for an
// empty slot) and the build screen's record of the part last taken for each place (core, head, tail,
// weapon; (-1, -1) for none).
struct SavedSlot {
    std::vector<int> modules;
    std::array<PartKind, 4> records{};
};

struct CampaignRecord {
    std::array<int32_t, kFactionCount> standings{50, 50, 50};
    // Count of every part kind, by part number.
    std::array<int32_t, kPartCount> counts{};
    std::array<SavedSlot, kSquadSize> squad;
    // File names (without folder) of the missions won, in the order they were first won.
    std::vector<std::string> wonMissions;

    bool operator==(const CampaignRecord& other) const;
};

// The saved campaign's file: DataFolder()/campaign.xml.
std::string CampaignFilePath();

// The file's text for the record.
std::string CampaignText(const CampaignRecord& record);

// What reading the file gave; for a broken file the message for the player, the file then kept aside as
// "campaign.xml.bad". A file is broken when it is not XML, has no "campaign" root, or names parts, counts,
// slots or standings outside their ranges.
struct CampaignRead {
    CampaignRecord record;
    PlayerFileState state = PlayerFileState::Missing;
    std::string message;
};
CampaignRead ReadCampaignFile(const std::string& path);

// Whether a campaign file is there (sound or not).
bool CampaignFileExists(const std::string& path);

// Saves the record durably (making the folder); false with the reason when it could not.
bool WriteCampaignFile(const std::string& path, const CampaignRecord& record, std::string& error);
