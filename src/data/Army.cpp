#include "data/Army.h"

#include "data/DataXml.h"
#include "platform/Dialog.h"

#include <algorithm>

// [SECTION] Inventory

Inventory Inventory::Default(uint32_t count) {
    Inventory inventory;
    for (int32_t category = CORE; category <= WEAPON; ++category) {
        for (int32_t index = 0; index < PartCountOf(category); ++index) {
            inventory.AddEntry(category, index, count);
        }
    }
    return inventory;
}

void Inventory::AddEntry(int32_t category, int32_t index, uint32_t count) {
    categories_[category].push_back({index, std::min(count, kMaxPartCount)});
}

InventoryEntry* Inventory::find(int32_t category, int32_t index) {
    auto found = categories_.find(category);
    if (found == categories_.end()) {
        return nullptr;
    }
    for (InventoryEntry& entry : found->second) {
        if (entry.index == index) {
            return &entry;
        }
    }
    return nullptr;
}

bool Inventory::AddPart(int32_t category, int32_t index) {
    InventoryEntry* entry = find(category, index);
    if (entry == nullptr) {
        return false;
    }
    if (entry->count < kMaxPartCount) {
        ++entry->count;
    }
    return true;
}

bool Inventory::RemovePart(int32_t category, int32_t index) {
    InventoryEntry* entry = find(category, index);
    if (entry == nullptr) {
        return false;
    }
    if (entry->count > 0) {
        --entry->count;
    }
    return true;
}

bool Inventory::SetCount(int32_t category, int32_t index, uint32_t count) {
    InventoryEntry* entry = find(category, index);
    if (entry == nullptr) {
        return false;
    }
    entry->count = std::min(count, kMaxPartCount);
    return true;
}

int32_t Inventory::CountOf(int32_t category, int32_t index) const {
    auto found = categories_.find(category);
    if (found == categories_.end()) {
        ShowAssertionBox("Part doesn't exist in the inventory.");
        return -1;
    }
    for (const InventoryEntry& entry : found->second) {
        if (entry.index == index) {
            return int32_t(entry.count);
        }
    }
    return -1;
}

// [SECTION] Army and campaign

Army::Army() : inventory(Inventory::Default()) {
    squad.reserve(kSquadSize);
    for (int slot = 0; slot < kSquadSize; ++slot) {
        squad.push_back(std::make_unique<Unit>());
    }
}

Campaign::Campaign() {
    player.name = "Vantor Gold";
    RecreateArmy();
}

void Campaign::RecreateArmy() {
    army_ = std::make_unique<Army>();
    player.army = army_.get();
}

void Campaign::ChangeStanding(int k, int32_t amount) {
    if (k < 0 || k >= kFactionCount) {
        return;
    }
    standings[size_t(k)] = std::clamp(SaturatingAdd(standings[size_t(k)], amount), 0, 100);
}

namespace {

// The file name of a mission file path in the game's spelling or the system's.
std::string MissionName(const std::string& missionFile) {
    const size_t cut = missionFile.find_last_of("\\/");
    return cut == std::string::npos ? missionFile : missionFile.substr(cut + 1);
}

} // namespace

void Campaign::MarkWon(const std::string& missionFile) {
    if (!Won(missionFile)) {
        wonMissions.push_back(MissionName(missionFile));
    }
}

bool Campaign::Won(const std::string& missionFile) const {
    return std::find(wonMissions.begin(), wonMissions.end(), MissionName(missionFile)) != wonMissions.end();
}
