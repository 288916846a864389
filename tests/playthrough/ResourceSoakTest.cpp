#include "combat/CombatScreen.h"
#include "combat/gl/CombatState.h"
#include "core/GameContext.h"
#include "core/GameState.h"
#include "driver/GameDriver.h"
#include "hud/HudLayout.h"
#include "hud/MessageDispatcher.h"
#include "render/ModelNode.h"
#include "screens/BuildScreen.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

// The game left running for a long session: cores swapped again and again on the build screen and battle
// after battle fought and left. The display lists and pick colours in use must stay as many as the game
// shows, not grow with every swap, battle or layout.

namespace {

constexpr int32_t SendMessage = int32_t(ButtonFunction::Message);

struct Gauges {
    int64_t displayLists = 0;
    size_t pickColours = 0;
};

Gauges Read(GameContext& game) {
    return {LiveDisplayListCount(), game.pickColours.size()};
}

// Sends one build-screen button value as its button would and runs a frame.
void Press(GameDriver& driver, int32_t value) {
    Message message;
    message.type = HudMessage;
    message.value = value;
    MessageDispatcher::Instance().Send(message);
    driver.Frame();
}

// The rows of the first page holding a core the inventory has.
std::vector<int32_t> CoreRows(GameContext& game) {
    std::vector<int32_t> rows;
    const std::vector<InventoryRow> shown =
        SquadBuildMessage::Get().builder.Rows(game.campaign->army().inventory);
    for (size_t row = 0; row < shown.size(); ++row) {
        if (PartKindOf(shown[row].partNumber).category == CORE && shown[row].count > 0) {
            rows.push_back(int32_t(row));
        }
    }
    return rows;
}

} // namespace

TEST(ResourceSoak, CoreSwapsAndBattlesLeaveTheDisplayListsAndPickColoursInUseFlat) {
    if (!GameDriver::FirstInProcess()) {
        GTEST_SKIP() << "the game boots once a process; run each play-through on its own";
    }
    GameDriver driver("soak");
    GameContext& game = driver.game();
    ASSERT_TRUE(driver.ToMainMenu());
    game.ChangeState(kWorldMapState);
    driver.Frame();
    ASSERT_TRUE(driver.ClickButton(int32_t(ButtonFunction::ChangeState), kBuildState));
    ASSERT_EQ(game.currentState(), kBuildState);

    // [SECTION] 200 core swaps on the build screen.
    Press(driver, BuildValue::FirstSlot);
    const std::vector<int32_t> rows = CoreRows(game);
    ASSERT_GE(rows.size(), 2u) << "the starting inventory holds two kinds of core";
    Press(driver, BuildValue::FirstRow + rows[0]);
    const Unit& mech = *game.campaign->army().squad[0];
    ASSERT_NE(mech.core, nullptr);
    const Gauges built = Read(game);
    for (int swap = 0; swap < 200; ++swap) {
        // Each swap puts the other core on; the one taken off goes back to the inventory.
        const std::vector<int32_t> now = CoreRows(game);
        ASSERT_FALSE(now.empty());
        Press(driver, BuildValue::FirstRow + now[size_t(swap) % now.size()]);
    }
    ASSERT_NE(mech.core, nullptr);
    EXPECT_NE(mech.core->displayList, 0u) << "the mech still has its picture";
    const Gauges swapped = Read(game);
    EXPECT_EQ(swapped.displayLists, built.displayLists) << "each swap deletes the old core's list";
    EXPECT_EQ(swapped.pickColours, built.pickColours) << "each swap hands the old core's colour back";

    // [SECTION] 50 battles of the first mission, each entered from the world map and left again.
    ASSERT_TRUE(driver.ClickButton(int32_t(ButtonFunction::ChangeState), kWorldMapState));
    ASSERT_EQ(game.currentState(), kWorldMapState);
    const int32_t mission = driver.MissionIndex("01_Outskirts.xml");
    ASSERT_GE(mission, 0);
    auto fightAndLeave = [&] {
        ASSERT_TRUE(driver.ClickButton(SendMessage, mission));
        ASSERT_EQ(game.currentState(), kCombatState);
        driver.Frames(3);
        EXPECT_GT(GetCombatScreen().turnQueue.size(), 1u);
        game.ChangeState(kWorldMapState);
        driver.Frame();
    };
    // The first battle loads what every battle shares (its map's tiles stay until the next map).
    fightAndLeave();
    const Gauges afterOne = Read(game);
    for (int battle = 0; battle < 50 && !testing::Test::HasFatalFailure(); ++battle) {
        fightAndLeave();
    }
    const Gauges afterFifty = Read(game);
    EXPECT_EQ(afterFifty.displayLists, afterOne.displayLists)
        << "units leaving a battle delete their lists";
    EXPECT_EQ(afterFifty.pickColours, afterOne.pickColours)
        << "units leaving and layouts reloaded hand their colours back";
    EXPECT_NE(mech.core->displayList, 0u) << "the squad's own mech keeps its picture";
    EXPECT_TRUE(game.pickColours.Contains(int32_t(mech.core->pickColour)))
        << "and its colour, which no battle copy handed back";
}
