#include "screens/MissionMarkers.h"

#include "platform/Dialog.h"
#include "platform/Paths.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

TEST(MissionMarkersTest, OneMarkerPerShippedMissionAtItsPosition) {
    std::vector<std::string> missions;
    ListFiles("XMLFiles\\Missions", missions);
    ASSERT_GE(missions.size(), 6u);
    const auto markers = MissionMarkers(missions);
    ASSERT_EQ(markers.size(), missions.size());
    EXPECT_EQ(markers[0].missionIndex, 0);
    EXPECT_EQ(markers[0].x, 160); // 01_Outskirts
    EXPECT_EQ(markers[0].y, 430);
    EXPECT_EQ(markers[5].missionIndex, 5);
    EXPECT_EQ(markers[5].x, 690); // 06_Harbour
    EXPECT_EQ(markers[5].y, 120);
}

TEST(MissionMarkersTest, MissingPositionsReadZeroAndUnreadableFilesAreSkipped) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("vantor_markers_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string noX = (folder / "a.xml").string();
    const std::string broken = (folder / "b.xml").string();
    const std::string noRoot = (folder / "c.xml").string();
    std::ofstream(noX) << "<mission y=\"77\"><goal/></mission>";
    std::ofstream(broken) << "<mission x=\"1\"";
    std::ofstream(noRoot) << "<hud/>";

    DialogRecorder dialogs;
    const auto markers = MissionMarkers({noX, broken, (folder / "none.xml").string(), noRoot, noX});
    std::filesystem::remove_all(folder);

    ASSERT_EQ(markers.size(), 2u);
    EXPECT_EQ(markers[0].x, 0);
    EXPECT_EQ(markers[0].y, 77);
    EXPECT_EQ(markers[1].missionIndex, 4); // indices stay those of the list
    EXPECT_EQ(dialogs.count(DialogKind::Assertion), 3);
    EXPECT_TRUE(dialogs.sawText("Could not find mission file: " + broken));
}

TEST(MissionMarkersTest, StandingBarsAndMessageValues) {
    const StandingBar empty = StandingBarOf(0, 0);
    EXPECT_EQ(empty.x, 25);
    EXPECT_EQ(empty.fillHeight, 0);
    const StandingBar full = StandingBarOf(1, 100);
    EXPECT_EQ(full.x, 65);
    EXPECT_EQ(full.fillY, 435);
    EXPECT_EQ(full.fillHeight, 100);
    EXPECT_STREQ(full.icon, "Art Assets\\Textures\\FactionIcon1.png");
    const StandingBar half = StandingBarOf(2, 50);
    EXPECT_EQ(half.x, 105);
    EXPECT_EQ(half.fillY, 485);
    EXPECT_STREQ(half.icon, "Art Assets\\Textures\\FactionIcon3.png");
    EXPECT_EQ(StandingBarOf(0, 250).fillHeight, 100);
    EXPECT_STREQ(StandingBarOf(0, 50).icon, "Art Assets\\Textures\\FactionIcon2.png");

    EXPECT_EQ(MissionIndexOf(0, 6), 0);
    EXPECT_EQ(MissionIndexOf(5, 6), 5);
    EXPECT_EQ(MissionIndexOf(6, 6), -1);
    EXPECT_EQ(MissionIndexOf(-1, 6), -1);
    EXPECT_EQ(MissionIndexOf(0, 0), -1);
}
