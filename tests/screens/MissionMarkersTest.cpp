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

TEST(MissionMarkersTest, EachShippedMissionTellsItsNameMapSizeEnemiesAndStakes) {
    MissionInfo info;
    ASSERT_TRUE(ReadMissionInfo("XMLFiles\\Missions\\01_Outskirts.xml", info));
    EXPECT_EQ(info.name, "Outskirts");
    EXPECT_EQ(info.mapWidth, 12);
    EXPECT_EQ(info.mapHeight, 12);
    EXPECT_EQ(info.enemies, 2);
    EXPECT_EQ(info.stakes[0], 4);
    EXPECT_EQ(info.stakes[1], 2);
    EXPECT_EQ(info.stakes[2], 0);
    EXPECT_EQ(MissionLabelLines(info, false),
              (std::vector<std::string>{"Outskirts", "12 x 12 tiles, 2 enemies", "Stakes: 4 / 2 / 0"}));
    EXPECT_EQ(MissionLabelLines(info, true)[0], "Outskirts - won");

    std::vector<std::string> missions;
    ListFiles("XMLFiles\\Missions", missions);
    for (const MissionMarker& marker : MissionMarkers(missions)) {
        EXPECT_FALSE(marker.info.name.empty()) << missions[size_t(marker.missionIndex)];
        EXPECT_GT(marker.info.mapWidth, 0) << marker.info.name;
        EXPECT_GT(marker.info.enemies, 0) << marker.info.name;
        // The label stays inside the frame wherever the marker stands.
        const MarkerLabelBox box = LabelBoxOf(MarkerLabel(marker, true));
        EXPECT_GE(box.x, 0) << marker.info.name;
        EXPECT_GE(box.y, 0) << marker.info.name;
        EXPECT_LE(box.x + box.width, 800) << marker.info.name;
        EXPECT_LE(box.y + box.height, 600) << marker.info.name;
        EXPECT_TRUE(box.x >= marker.x + kMarkerSize || box.x + box.width <= marker.x)
            << marker.info.name << "'s label covers its marker";
    }
}

TEST(MissionMarkersTest, AMissionWithoutNameIsNamedByItsFileAndAnUnreadableMapSaysSo) {
    EXPECT_EQ(MissionNameOf("XMLFiles\\Missions\\07_Dry_Lake.xml", nullptr), "Dry_Lake");
    EXPECT_EQ(MissionNameOf("XMLFiles\\Missions\\Bridge.xml", ""), "Bridge");
    EXPECT_EQ(MissionNameOf("XMLFiles\\Missions\\12.xml", nullptr), "12");
    EXPECT_EQ(MissionNameOf("any", "Given Name"), "Given Name");

    const auto folder = std::filesystem::temp_directory_path() / ("vantor_info_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string file = (folder / "09_Nowhere.xml").string();
    std::ofstream(file)
        << "<mission fac1=\"3\"><map>NoSuchMap.xml</map><unit player=\"2\"/><unit player=\"1\"/>"
           "<unit player=\"2\"/></mission>";
    MissionInfo info;
    const bool read = ReadMissionInfo(file, info);
    std::filesystem::remove_all(folder);
    ASSERT_TRUE(read);
    EXPECT_EQ(info.name, "Nowhere");
    EXPECT_EQ(info.enemies, 2);
    EXPECT_EQ(MissionLabelLines(info, false)[1], "map unreadable, 2 enemies");
}
