#include "data/CampaignFile.h"

#include "data/TempFiles.h"
#include "platform/SaveFaults.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

CampaignRecord SampleRecord() {
    CampaignRecord record;
    record.standings = {0, 37, 100};
    for (int number = 0; number < kPartCount; ++number) {
        record.counts[size_t(number)] = number % 4;
    }
    record.counts[3] = 99;
    record.squad[0].modules = {5, 12, 14, 26};
    record.squad[0].records = {PartKind{CORE, 5}, PartKind{HEAD, 6}, PartKind{TAIL, 0}, PartKind{WEAPON, 8}};
    record.squad[4].modules = {0, 20};
    record.squad[4].records[0] = PartKind{CORE, 0};
    record.wonMissions = {"01_Outskirts.xml", "03_OldTown.xml"};
    return record;
}

std::string ReadAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

} // namespace

TEST(CampaignFile, EverythingSavedComesBack) {
    TempFolder folder;
    const std::string path = folder.file("vantor/campaign.xml");
    EXPECT_FALSE(CampaignFileExists(path));
    EXPECT_EQ(ReadCampaignFile(path).state, PlayerFileState::Missing);

    const CampaignRecord record = SampleRecord();
    std::string error;
    ASSERT_TRUE(WriteCampaignFile(path, record, error)) << error;
    EXPECT_TRUE(CampaignFileExists(path));
    const CampaignRead read = ReadCampaignFile(path);
    ASSERT_EQ(read.state, PlayerFileState::Read) << read.message;
    EXPECT_TRUE(read.record == record);
    EXPECT_EQ(read.record.squad[0].modules, (std::vector<int>{5, 12, 14, 26}));
    EXPECT_EQ(read.record.squad[0].records[3].index, 8);
    EXPECT_TRUE(read.record.squad[1].modules.empty());
    EXPECT_EQ(read.record.squad[1].records[0].category, -1);
    EXPECT_EQ(read.record.wonMissions, record.wonMissions);

    // The file says what it holds in words too, for a player who opens it.
    const std::string text = ReadAll(path);
    EXPECT_NE(text.find("Wolf Core"), std::string::npos);
    EXPECT_NE(text.find("01_Outskirts.xml"), std::string::npos);
}

TEST(CampaignFile, ABrokenSaveIsReportedAndKeptAsideNeverHalfRead) {
    TempFolder good;
    std::string error;
    ASSERT_TRUE(WriteCampaignFile(good.file("campaign.xml"), SampleRecord(), error));
    const std::string sound = ReadAll(good.file("campaign.xml"));
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = sound;
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    const std::string brokenFiles[] = {
        sound.substr(0, sound.size() / 2),               // cut off half-way
        "<?xml version=\"1.0\"?><settings/>",            // another file
        replaced("faction2=\"37\"", "faction2=\"137\""), // standing out of range
        replaced("count=\"99\"", "count=\"100\""),       // count out of range
        replaced("category=\"1\" index=\"5\" name=\"Wolf Core\"",
                 "category=\"1\" index=\"9\""),                                              // no such part
        replaced("<slot number=\"5\"", "<slot number=\"7\""),                                // no such slot
        replaced("<part category=\"1\" index=\"0\"", "<skipped category=\"1\" index=\"0\""), // a kind missing
    };
    for (const std::string& broken : brokenFiles) {
        TempFolder folder;
        const std::string path = folder.write("campaign.xml", broken);
        const CampaignRead read = ReadCampaignFile(path);
        EXPECT_EQ(read.state, PlayerFileState::Broken) << broken;
        EXPECT_TRUE(read.record == CampaignRecord{}) << "nothing of a broken save is used";
        EXPECT_NE(read.message.find(path), std::string::npos) << read.message;
        EXPECT_NE(read.message.find("campaign.xml.bad"), std::string::npos) << read.message;
        EXPECT_FALSE(CampaignFileExists(path));
        EXPECT_EQ(ReadAll(path + ".bad"), broken);
    }
}

TEST(CampaignFile, AFailedSaveLeavesTheOldSaveWhole) {
    for (SaveFault fault : kEverySaveFault) {
        TempFolder folder;
        const std::string path = folder.file("campaign.xml");
        std::string error;
        ASSERT_TRUE(WriteCampaignFile(path, SampleRecord(), error));
        const std::string before = ReadAll(path);
        const FaultedSave result = SaveUnderFault(fault, folder.path().string(), [&] {
            std::string childError;
            return WriteCampaignFile(path, CampaignRecord{}, childError);
        });
        EXPECT_FALSE(result.saved) << SaveFaultName(fault);
        EXPECT_EQ(ReadAll(path), before) << SaveFaultName(fault);
        EXPECT_EQ(ReadCampaignFile(path).state, PlayerFileState::Read) << SaveFaultName(fault);
    }
}

TEST(CampaignFile, CampaignKeepsEachWonMissionOnceByItsFileName) {
    Campaign campaign;
    EXPECT_FALSE(campaign.Won("XMLFiles\\Missions\\01_Outskirts.xml"));
    campaign.MarkWon("XMLFiles\\Missions\\01_Outskirts.xml");
    campaign.MarkWon("XMLFiles/Missions/01_Outskirts.xml");
    EXPECT_EQ(campaign.wonMissions, (std::vector<std::string>{"01_Outskirts.xml"}));
    EXPECT_TRUE(campaign.Won("XMLFiles\\Missions\\01_Outskirts.xml"));
    EXPECT_FALSE(campaign.Won("XMLFiles\\Missions\\02_Riverside.xml"));
}
