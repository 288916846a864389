#include "BattleFixture.h"
#include "combat/UnitMovement.h"
#include "platform/Dialog.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

// Mission and map files in a folder of their own; unit files come from the game's data.
class MissionFiles {
public:
    MissionFiles() {
        dir_ = std::filesystem::temp_directory_path() /
               ("vantor-missions-" +
                std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::create_directories(dir_);
        write("field.xml", "<mapdata><width>6</width><height>4</height>"
                           "<elevation><row>1 1 1 1 1 1</row><row>1 1 1 1 1 1</row><row>1 1 1 1 1 1</row>"
                           "<row>1 1 1 1 1 3</row></elevation>"
                           "<passable><row>1 1 1 1 1 1</row><row>1 1 1 1 1 1</row><row>1 1 1 1 1 1</row>"
                           "<row>1 1 1 1 1 1</row></passable>"
                           "<texture><row>0 0 0 0 0 0</row><row>0 0 0 0 0 0</row><row>0 0 0 0 0 0</row>"
                           "<row>0 0 0 0 0 0</row></texture></mapdata>");
    }
    ~MissionFiles() { std::filesystem::remove_all(dir_); }
    std::string write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name) << text;
        return (dir_ / name).string();
    }
    std::string folder() const { return dir_.string() + "/"; }

private:
    std::filesystem::path dir_;
};

const char* const Rat = "XMLFiles\\Units\\ScoutRat.xml";

} // namespace

TEST(Mission, LoadsStakesMapAndUnitsInFileOrder) {
    MissionFiles files;
    std::string path = files.write(
        "m.xml",
        std::string("<mission fac1=\"3\" fac3=\"-2\"><goal type=\"1\"/><timeLimit limit=\"40\"/>"
                    "<map>field.xml</map>"
                    "<unit player=\"1\" xPos=\"0\" yPos=\"1\" orient=\"3\"/>"
                    "<unit player=\"2\" xPos=\"5\" yPos=\"3\" target=\"1\" orient=\"9\">") +
            Rat +
            "</unit><unit player=\"1\" xPos=\"0\" yPos=\"2\"/><unit player=\"1\" xPos=\"1\" yPos=\"1\"/>"
            "<unit player=\"2\" xPos=\"40\" yPos=\"1\">" +
            Rat + "</unit></mission>");
    Battle b;
    b.map.SetFolder(files.folder());
    b.screen.mission.fac2 = 7;
    Army army;
    ASSERT_TRUE(AssembleUnit(StarterSquad()[0], *army.squad[0]));
    ASSERT_TRUE(AssembleUnit(StarterSquad()[1], *army.squad[2]));
    ASSERT_TRUE(b.screen.LoadMission(path, &army));
    EXPECT_EQ(b.screen.mission.fac1, 3);
    EXPECT_EQ(b.screen.mission.fac2, 7) << "an absent stake keeps its value";
    EXPECT_EQ(b.screen.mission.fac3, -2);
    EXPECT_EQ(b.screen.mission.goalType, 1);
    EXPECT_EQ(b.screen.mission.timeLimit, 40.0f);
    EXPECT_EQ(b.map.width(), 6u);
    // Slot 1 is empty, so the second player-1 element is skipped; slot 2 fills the third.
    ASSERT_EQ(b.screen.turnQueue.size(), 4u);
    const Unit& wolf = *b.screen.turnQueue[0];
    EXPECT_EQ(wolf.name, StarterSquad()[0].name);
    EXPECT_NE(&wolf, army.squad[0].get()) << "the battle fights with copies";
    EXPECT_NEAR(FacingOf(wolf).z, 1.0f, 1e-4f);
    const Unit& rat = *b.screen.turnQueue[1];
    EXPECT_TRUE(rat.owner.isComputer);
    EXPECT_EQ(rat.owner.player, 2);
    EXPECT_NEAR(rat.core->transform.position.y, 1.5f + rat.heightOffset, 1e-4f);
    EXPECT_EQ(b.screen.mission.targets, (std::vector<Unit*>{b.screen.turnQueue[1]}));
    EXPECT_EQ(b.screen.turnQueue[2]->tileX, 1);
    EXPECT_EQ(b.screen.turnQueue[3]->tileX, 40) << "off the map: kept but not placed";
    EXPECT_EQ(b.screen.UnitAtTile(5, 3), b.screen.turnQueue[1]);
}

TEST(Mission, MissingPiecesStopLoadingCleanly) {
    MissionFiles files;
    Battle b;
    b.map.SetFolder(files.folder());
    Army army;
    DialogRecorder recorder;
    EXPECT_FALSE(b.screen.LoadMission(files.folder() + "absent.xml", &army));
    EXPECT_TRUE(recorder.sawText("Could not find mission file"));
    std::string noMap =
        files.write("nomap.xml", "<mission><goal/><timeLimit/><unit player=\"2\">x</unit></mission>");
    EXPECT_FALSE(b.screen.LoadMission(noMap, &army));
    EXPECT_TRUE(recorder.sawText("Missing \"map\" Tag"));
    std::string badMap =
        files.write("badmap.xml", "<mission><goal/><timeLimit/><map>nothing.xml</map></mission>");
    EXPECT_FALSE(b.screen.LoadMission(badMap, &army));
    EXPECT_TRUE(b.screen.turnQueue.empty()) << "no half-loaded battle";
    // One unreadable unit file costs that unit only: a box names it and the other units fight.
    std::string badUnit = files.write(
        "badunit.xml", std::string("<mission><map>field.xml</map><unit player=\"2\">") + Rat +
                           "</unit><unit player=\"2\" xPos=\"2\">XMLFiles\\Units\\Nobody.xml</unit>"
                           "<unit player=\"2\" xPos=\"3\"/><unit player=\"2\" xPos=\"4\">" +
                           Rat + "</unit></mission>");
    EXPECT_TRUE(b.screen.LoadMission(badUnit, &army));
    EXPECT_TRUE(recorder.sawText("Missing \"goal\" Tag"));
    EXPECT_TRUE(recorder.sawText("Could not open file for reading: XMLFiles\\Units\\Nobody.xml"));
    ASSERT_EQ(b.screen.turnQueue.size(), 2u) << "the element without a file is skipped too";
    EXPECT_EQ(b.screen.turnQueue[0]->tileX, 0);
    EXPECT_EQ(b.screen.turnQueue[1]->tileX, 4);
    EXPECT_FALSE(b.screen.LoadMission(badMap, &army));
    EXPECT_TRUE(b.screen.turnQueue.empty()) << "a mission whose map fails is not fought";
    // The frame procedure copes with the empty battle.
    b.screen.Enter();
    b.frame();
    b.frame();
    EXPECT_TRUE(b.screen.player1Won);
}
