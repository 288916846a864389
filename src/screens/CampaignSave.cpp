#include "screens/CampaignSave.h"

#include "core/GameContext.h"
#include "platform/Dialog.h"
#include "platform/DurableSave.h"
#include "platform/Paths.h"
#include "screens/BuildScreen.h"

namespace {

// The place (category) a module of a core fills, by the points it gives.
int32_t PlaceOf(const Component& module) {
    if (module.headPoints != 0) {
        return HEAD;
    }
    if (module.tailPoints != 0) {
        return TAIL;
    }
    return WEAPON;
}

// The part number of a module: the entry of its file in the module list, else the one its name names.
int PartNumberOf(const Component& module, int32_t category, const std::vector<std::string>& moduleFiles) {
    for (size_t n = 0; n < moduleFiles.size() && n < size_t(kPartCount); ++n) {
        if (!module.fileName.empty() && moduleFiles[n] == module.fileName) {
            return int(n);
        }
    }
    return PartNumber(category, PartIndexFromName(category, module.name));
}

} // namespace

CampaignRecord RecordOf(const Campaign& campaign, const SquadBuilder& builder,
                        const std::vector<std::string>& moduleFiles) {
    CampaignRecord record;
    record.standings = campaign.standings;
    const Army& army = campaign.army();
    for (int number = 0; number < kPartCount; ++number) {
        const PartKind kind = PartKindOf(number);
        record.counts[size_t(number)] = std::max(0, army.inventory.CountOf(kind.category, kind.index));
    }
    for (size_t s = 0; s < army.squad.size() && s < record.squad.size(); ++s) {
        SavedSlot& saved = record.squad[s];
        const Unit& unit = *army.squad[s];
        if (unit.core && !unit.core->name.empty()) {
            saved.modules.push_back(PartNumberOf(*unit.core, CORE, moduleFiles));
            for (const auto& child : unit.core->children) {
                const int number = PartNumberOf(*child, PlaceOf(*child), moduleFiles);
                if (number >= 0) {
                    saved.modules.push_back(number);
                }
            }
            if (saved.modules.front() < 0) {
                saved.modules.clear();
            }
        }
        for (int32_t place = CORE; place <= WEAPON; ++place) {
            saved.records[size_t(place - CORE)] = builder.equipped(place, int32_t(s));
        }
    }
    record.wonMissions = campaign.wonMissions;
    return record;
}

bool RestoreCampaign(const CampaignRecord& record, Campaign& campaign, SquadBuilder& builder,
                     const std::vector<std::string>& moduleFiles) {
    StartNewCampaign(campaign, builder);
    Army& army = campaign.army();
    bool whole = true;
    for (int s = 0; s < kSquadSize; ++s) {
        builder.SelectSlot(s);
        for (int number : record.squad[size_t(s)].modules) {
            const PartKind kind = PartKindOf(number);
            // The parts on the mechs are not in the saved counts: lend one for the equipping.
            army.inventory.SetCount(kind.category, kind.index, kMaxPartCount);
            if (!builder.Equip(kind, army, moduleFiles)) {
                whole = false;
            }
        }
    }
    for (int number = 0; number < kPartCount; ++number) {
        const PartKind kind = PartKindOf(number);
        army.inventory.SetCount(kind.category, kind.index, uint32_t(record.counts[size_t(number)]));
    }
    for (int s = 0; s < kSquadSize; ++s) {
        for (int32_t place = CORE; place <= WEAPON; ++place) {
            builder.SetEquipped(place, s, record.squad[size_t(s)].records[size_t(place - CORE)]);
        }
    }
    builder.SelectSlot(0);
    campaign.standings = record.standings;
    campaign.wonMissions = record.wonMissions;
    return whole;
}

void StartNewCampaign(Campaign& campaign, SquadBuilder& builder) {
    campaign.RecreateArmy();
    campaign.standings = {50, 50, 50};
    campaign.wonMissions.clear();
    builder.Reset();
}

// [SECTION] The running game

bool SaveCampaign(GameContext& game) {
    if (!game.campaign) {
        return false;
    }
    const CampaignRecord record =
        RecordOf(*game.campaign, SquadBuildMessage::Get().builder, game.moduleFiles);
    const std::string path = CampaignFilePath();
    std::string error;
    if (!WriteCampaignFile(path, record, error)) {
        ShowErrorBox(SaveFailedText(path, error));
        return false;
    }
    return true;
}

bool ContinueCampaign(GameContext& game) {
    if (!game.campaign) {
        return false;
    }
    const CampaignRead read = ReadCampaignFile(CampaignFilePath());
    if (read.state != PlayerFileState::Read) {
        if (!read.message.empty()) {
            ShowErrorBox(read.message);
        }
        return false;
    }
    RestoreCampaign(read.record, *game.campaign, SquadBuildMessage::Get().builder, game.moduleFiles);
    return true;
}

bool CampaignSaved() {
    return CampaignFileExists(CampaignFilePath());
}
