#include "core/GameContext.h"
#include "core/GameState.h"
#include "core/Screens.h"
#include "core/Settings.h"
#include "data/CampaignFile.h"
#include "driver/GameDriver.h"
#include "hud/HudLayout.h"
#include "screens/BuildScreen.h"
#include "screens/MissionMarkers.h"
#include "screens/WorldMap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

// What the player sets and builds outlives the game: a first run turns the volume up, makes the computer
// fast, builds a mech and quits from the menu; a second run, started afresh, finds the volume and the speed
// kept and continues the campaign with the mech. The first run plays in a child process, since the game
// boots once a process.

namespace {

constexpr int32_t ChangeState = int32_t(ButtonFunction::ChangeState);
constexpr int32_t SendMessage = int32_t(ButtonFunction::Message);
// Where the options screen prints the volume level.
constexpr PixelRect VolumeBox{626, 170, 20, 20};

// Points the player's folders at a folder of this play-through's own, emptied.
std::string FreshPlayerHome() {
    const std::string home = std::string(VANTOR_PICTURE_DIR) + "/kept_home";
    std::error_code error;
    std::filesystem::remove_all(home, error);
    std::filesystem::create_directories(home, error);
    ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    return home;
}

// The first run: options, a mech, back to the map, quit from the menu.
void FirstRun() {
    GameDriver driver("kept_first_run");
    GameContext& game = driver.game();
    ASSERT_TRUE(driver.ToMainMenu());
    driver.Frame();
    EXPECT_EQ(driver.FindButton(SendMessage, kContinueValue), nullptr)
        << "a first start has nothing to continue";
    ASSERT_TRUE(driver.ClickButton(ChangeState, kOptionsState));
    ASSERT_EQ(game.currentState(), kOptionsState);
    driver.Frame();
    const Picture before = driver.Shot("options_at_start");
    EXPECT_EQ(game.sound.masterVolume(), 128);
    ASSERT_TRUE(driver.ClickButton(SendMessage, 0));
    ASSERT_TRUE(driver.ClickButton(SendMessage, 0));
    ASSERT_TRUE(driver.ClickButton(SendMessage, kComputerSpeedValue));
    EXPECT_EQ(game.sound.masterVolume(), 180);
    EXPECT_EQ(game.settings.computerSpeed, ComputerSpeed::Fast);
    driver.MoveMouse(400, 590);
    const Picture louder = driver.Shot("options_volume_up_fast");
    EXPECT_GT(DifferingShare(before, louder, VolumeBox), 0.05) << "the printed volume changes";
    const HudButton* speed = driver.FindButton(SendMessage, kComputerSpeedValue);
    ASSERT_NE(speed, nullptr);
    EXPECT_GT(DifferingShare(before, louder,
                             {int(speed->xPos), int(speed->yPos), int(speed->xSize), int(speed->ySize)}),
              0.01)
        << "the speed button shows Fast instead of Normal";
    const SettingsRead written = ReadSettingsFile(SettingsFilePath());
    EXPECT_EQ(written.state, PlayerFileState::Read) << "the change is written at once";
    EXPECT_EQ(written.settings.volume, 180);

    ASSERT_TRUE(driver.ClickButton(ChangeState, kMainMenuState));
    ASSERT_TRUE(driver.ClickButton(SendMessage, kStartValue));
    ASSERT_EQ(game.currentState(), kWorldMapState);
    ASSERT_TRUE(driver.ClickButton(ChangeState, kBuildState));
    ASSERT_TRUE(driver.ClickButton(SendMessage, BuildValue::FirstRow)) << "row 1 of page 1: the Ant core";
    ASSERT_NE(game.campaign->army().squad[0]->core, nullptr);
    driver.Frame();
    driver.Shot("build_ant_core");
    ASSERT_TRUE(driver.ClickButton(ChangeState, kWorldMapState));
    ASSERT_TRUE(driver.ClickButton(ChangeState, kMainMenuState));
    driver.Frame();
    driver.Shot("menu_with_continue");
    EXPECT_NE(driver.FindButton(SendMessage, kContinueValue), nullptr)
        << "now there is a campaign to continue";
    ASSERT_TRUE(driver.ClickButton(ChangeState, kQuitState));
    bool ended = false;
    for (int frame = 0; frame < 5 && !ended; ++frame) {
        ended = !driver.Frame();
    }
    EXPECT_TRUE(ended) << "QUIT ends the game";
    for (const DialogRequest& box : driver.dialogs().shown()) {
        ADD_FAILURE() << "a message box was shown: " << box.caption << ": " << box.text;
    }
}

} // namespace

TEST(KeptAcrossRunsPlaythrough, TheVolumeTheSpeedAndTheCampaignOutliveTheGame) {
    if (!GameDriver::FirstInProcess()) {
        GTEST_SKIP() << "the game boots once a process; run each play-through on its own";
    }
    FreshPlayerHome();
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FirstRun();
        std::fflush(nullptr);
        ::_exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the first run failed (see above)";
    ASSERT_TRUE(std::filesystem::exists(SettingsFilePath()));
    ASSERT_TRUE(std::filesystem::exists(CampaignFilePath()));

    // [SECTION] The second run: a game started anew.
    GameDriver driver("kept_second_run");
    GameContext& game = driver.game();
    ASSERT_TRUE(driver.ToMainMenu());
    EXPECT_EQ(game.sound.masterVolume(), 180) << "the volume set in the first run";
    EXPECT_EQ(game.settings.computerSpeed, ComputerSpeed::Fast);
    EXPECT_EQ(GetAiActionMilliseconds(), 250) << "the battles play at the kept speed";
    driver.Frame();
    const Picture menu = driver.Shot("menu_continue_offered");
    const HudButton* continueButton = driver.FindButton(SendMessage, kContinueValue);
    ASSERT_NE(continueButton, nullptr) << "the menu offers CONTINUE";
    const PixelRect continueArea{int(continueButton->xPos), int(continueButton->yPos),
                                 int(continueButton->xSize), int(continueButton->ySize)};
    const std::optional<Picture> title = LoadGamePicture("Art Assets\\Screens\\TitleScreen.png");
    ASSERT_TRUE(title.has_value());
    EXPECT_GT(DifferingShare(*title, menu, continueArea), 0.1) << "CONTINUE is drawn over the title picture";

    ASSERT_TRUE(driver.ClickButton(ChangeState, kOptionsState));
    driver.Frame();
    driver.Shot("options_kept");
    ASSERT_TRUE(driver.ClickButton(ChangeState, kMainMenuState));

    ASSERT_TRUE(driver.ClickButton(SendMessage, kContinueValue));
    ASSERT_EQ(game.currentState(), kWorldMapState) << "CONTINUE opens the world map";
    const Unit& mech = *game.campaign->army().squad[0];
    ASSERT_NE(mech.core, nullptr) << "the mech built in the first run";
    EXPECT_EQ(mech.core->name, "Ant_Core");
    EXPECT_GT(mech.fullHp, 0);
    EXPECT_EQ(game.campaign->army().inventory.CountOf(CORE, 0), 1)
        << "one of the two Ant cores is on the mech";
    EXPECT_EQ(SquadBuildMessage::Get().builder.equipped(CORE, 0).index, 0);

    // The pointer on a marker names its mission.
    const int32_t mission = driver.MissionIndex("03_OldTown.xml");
    const HudButton* marker = driver.FindButton(SendMessage, mission);
    ASSERT_NE(marker, nullptr);
    driver.MoveMouse(20, 20);
    driver.Frame();
    const Picture plain = driver.Screen();
    const PixelPoint middle = GameDriver::Middle(*marker);
    driver.MoveMouse(middle.x, middle.y);
    driver.Frame();
    const Picture named = driver.Shot("world_map_marker_named");
    const std::vector<ScreenText> lines = MarkerTexts(*game.campaign, game.missionFiles, true);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "Old Town");
    EXPECT_EQ(lines[2].text, "Stakes: 8 / 4 / 3");
    const MarkerLabelBox box = LabelBoxOf(lines);
    EXPECT_GT(DifferingShare(plain, named, {box.x, box.y, box.width, box.height}), 0.2)
        << "the label is drawn";

    // The build screen goes on with the continued mech.
    ASSERT_TRUE(driver.ClickButton(ChangeState, kBuildState));
    driver.Frame();
    driver.Shot("build_continued");
    for (const DialogRequest& box : driver.dialogs().shown()) {
        ADD_FAILURE() << "a message box was shown: " << box.caption << ": " << box.text;
    }
}
