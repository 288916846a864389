#pragma once

#include "data/CampaignFile.h"
#include "screens/SquadBuilder.h"

#include <string>
#include <vector>

class GameContext;

// Saving and continuing the campaign: what the player built and won, taken from the running game into a
// CampaignRecord and rebuilt from one through the build screen's own equipping.

// The campaign as a record: standings, counts, each slot's modules and the builder's records, the wins.
CampaignRecord RecordOf(const Campaign& campaign, const SquadBuilder& builder,
                        const std::vector<std::string>& moduleFiles);

// Replaces the campaign's army with the record's squad, built module by module as the build screen does,
// then sets the counts, the records, the standings and the wins. A module whose file cannot be read is left
// off (its loader says so); false when that happened.
bool RestoreCampaign(const CampaignRecord& record, Campaign& campaign, SquadBuilder& builder,
                     const std::vector<std::string>& moduleFiles);

// A new campaign: a fresh army with the starting inventory, every standing at 50, nothing won, the build
// screen's records forgotten.
void StartNewCampaign(Campaign& campaign, SquadBuilder& builder);

// [SECTION] The running game

// Writes the game's campaign to its file; a failed save shows which file and why, and keeps the old one.
bool SaveCampaign(GameContext& game);
// Reads the saved campaign into the game; a broken file shows its message, is kept aside, and false is
// returned (the campaign in memory is left as it was).
bool ContinueCampaign(GameContext& game);
// Whether the main menu offers to continue: a campaign file is there.
bool CampaignSaved();
