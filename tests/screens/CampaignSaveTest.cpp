#include "screens/CampaignSave.h"

#include "data/TempFiles.h"

#include <gtest/gtest.h>

namespace {

constexpr int kWolfCore = 5, kTurtleHead = 12, kBlaster = 14, kTriLaserGreen = 25, kAntCore = 0,
              kCannonAA = 18, kSensorHead = 10;

class CampaignSaveTest : public ::testing::Test {
protected:
    void SetUp() override {
        ListModuleFiles(moduleFiles);
        ASSERT_EQ(moduleFiles.size(), size_t(kPartCount)) << "run from the game folder";
    }
    bool equip(SquadBuilder& builder, Campaign& campaign, int number) {
        return builder.Equip(PartKindOf(number), campaign.army(), moduleFiles);
    }

    std::vector<std::string> moduleFiles;
};

} // namespace

TEST_F(CampaignSaveTest, ABuiltSquadComesBackModuleForModuleWithItsCountsAndRecords) {
    Campaign played;
    SquadBuilder builder;
    builder.SelectSlot(0);
    for (int part : {kWolfCore, kTurtleHead, kBlaster, kTriLaserGreen}) {
        ASSERT_TRUE(equip(builder, played, part));
    }
    builder.SelectSlot(3);
    ASSERT_TRUE(equip(builder, played, kAntCore));
    ASSERT_TRUE(equip(builder, played, kSensorHead));
    ASSERT_TRUE(equip(builder, played, kCannonAA));
    ASSERT_TRUE(builder.TakeOff(HEAD, played.army()));
    played.ChangeStanding(0, -12);
    played.ChangeStanding(2, 30);
    played.MarkWon("XMLFiles\\Missions\\01_Outskirts.xml");

    const CampaignRecord record = RecordOf(played, builder, moduleFiles);
    EXPECT_EQ(record.squad[0].modules, (std::vector<int>{kWolfCore, kTurtleHead, kBlaster, kTriLaserGreen}));
    EXPECT_EQ(record.squad[3].modules, (std::vector<int>{kAntCore, kCannonAA}));
    EXPECT_TRUE(record.squad[1].modules.empty());
    EXPECT_EQ(record.counts[size_t(kWolfCore)], 1);
    EXPECT_EQ(record.counts[size_t(kSensorHead)], 2) << "the head taken off went back";
    EXPECT_EQ(record.squad[3].records[1].category, -1) << "taking off cleared the head's record";

    // Through the file and into a campaign that had other things built.
    TempFolder folder;
    std::string error;
    ASSERT_TRUE(WriteCampaignFile(folder.file("campaign.xml"), record, error)) << error;
    const CampaignRead read = ReadCampaignFile(folder.file("campaign.xml"));
    ASSERT_EQ(read.state, PlayerFileState::Read) << read.message;

    Campaign continued;
    SquadBuilder otherBuilder;
    otherBuilder.SelectSlot(1);
    ASSERT_TRUE(equip(otherBuilder, continued, kAntCore));
    ASSERT_TRUE(RestoreCampaign(read.record, continued, otherBuilder, moduleFiles));

    EXPECT_TRUE(RecordOf(continued, otherBuilder, moduleFiles) == record);
    EXPECT_EQ(continued.standings, played.standings);
    EXPECT_TRUE(continued.Won("XMLFiles\\Missions\\01_Outskirts.xml"));
    EXPECT_EQ(otherBuilder.currentSlot(), 0);
    for (int slot = 0; slot < kSquadSize; ++slot) {
        const Unit& before = *played.army().squad[size_t(slot)];
        const Unit& after = *continued.army().squad[size_t(slot)];
        ASSERT_EQ(bool(before.core), bool(after.core)) << "slot " << slot;
        if (!before.core) {
            continue;
        }
        EXPECT_EQ(after.core->name, before.core->name);
        EXPECT_EQ(after.fullHp, before.fullHp) << "slot " << slot;
        EXPECT_EQ(after.hp, before.hp);
        EXPECT_EQ(after.moveDist, before.moveDist);
        EXPECT_EQ(after.accuracy, before.accuracy);
        ASSERT_EQ(bool(after.weapon), bool(before.weapon));
        if (after.weapon) {
            EXPECT_EQ(after.weapon->name, before.weapon->name);
        }
    }
    for (int number = 0; number < kPartCount; ++number) {
        const PartKind kind = PartKindOf(number);
        EXPECT_EQ(continued.army().inventory.CountOf(kind.category, kind.index),
                  played.army().inventory.CountOf(kind.category, kind.index))
            << PartDisplayName(number);
    }
    // The build screen goes on from the records: replacing the restored weapon returns it once.
    otherBuilder.SelectSlot(0);
    ASSERT_TRUE(equip(otherBuilder, continued, kCannonAA));
    EXPECT_EQ(continued.army().inventory.CountOf(WEAPON, kTriLaserGreen - 18),
              record.counts[kTriLaserGreen] + 1);
}

TEST_F(CampaignSaveTest, ANewCampaignForgetsEverything) {
    Campaign campaign;
    SquadBuilder builder;
    builder.SelectSlot(2);
    ASSERT_TRUE(equip(builder, campaign, kWolfCore));
    builder.NextPage();
    campaign.ChangeStanding(1, -40);
    campaign.MarkWon("XMLFiles\\Missions\\02_Riverside.xml");
    StartNewCampaign(campaign, builder);
    EXPECT_EQ(campaign.standings, (std::array<int32_t, 3>{50, 50, 50}));
    EXPECT_TRUE(campaign.wonMissions.empty());
    EXPECT_FALSE(campaign.army().squad[2]->core);
    EXPECT_EQ(campaign.army().inventory.CountOf(CORE, kWolfCore), 2);
    EXPECT_EQ(builder.equipped(CORE, 2).category, -1);
    EXPECT_EQ(builder.currentSlot(), 0);
    EXPECT_EQ(builder.page(), 0);
    EXPECT_EQ(campaign.player.army, &campaign.army());
}
