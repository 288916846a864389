#include "combat/CombatScreen.h"
#include "core/GameContext.h"
#include "hud/MessageDispatcher.h"
#include "platform/Paths.h"
#include "screens/BuildScreen.h"
#include "screens/MissionChoice.h"
#include "screens/MissionMarkers.h"
#include "screens/WorldMap.h"

#include <gtest/gtest.h>

namespace {

int combatEntered = 0;

// The game context with a new campaign and the shipped data lists, and a combat row that only counts.
class CampaignScreensTest : public ::testing::Test {
protected:
    void SetUp() override {
        GameContext& game = GameContext::Get();
        game.missionFiles.clear();
        ListFiles("XMLFiles\\Missions", game.missionFiles);
        game.moduleFiles.clear();
        ListModuleFiles(game.moduleFiles);
        game.campaign = std::make_unique<Campaign>();
        savedCombatRow_ = game.stateTable.Row(kCombatState);
        game.stateTable.SetRow(kCombatState, {[] { ++combatEntered; }, nullptr, nullptr});
        combatEntered = 0;
    }
    void TearDown() override {
        GameContext& game = GameContext::Get();
        game.ChangeState(kBootState);
        game.stateTable.SetRow(kCombatState, savedCombatRow_);
        MessageDispatcher::Instance().Update();
    }

    static void SendHudMessage(int32_t value) {
        Message message;
        message.type = HudMessage;
        message.value = value;
        MessageDispatcher::Instance().Send(message);
        MessageDispatcher::Instance().Update();
    }
    static int32_t Count(int32_t category, int32_t index) {
        return GameContext::Get().campaign->army().inventory.CountOf(category, index);
    }

    StateEntry savedCombatRow_;
};

} // namespace

TEST_F(CampaignScreensTest, WorldMapShowsOneMarkerPerMissionAndAClickStartsThatBattle) {
    GameContext& game = GameContext::Get();
    game.ChangeState(kWorldMapState);
    ASSERT_EQ(game.currentState(), kWorldMapState);
    EXPECT_TRUE(MapMessage::Get().active);

    std::vector<const HudButton*> markers;
    for (const HudButton& button : game.hud.buttons()) {
        if (button.function == int32_t(ButtonFunction::Message)) {
            markers.push_back(&button);
        }
    }
    ASSERT_EQ(markers.size(), game.missionFiles.size());
    ASSERT_EQ(game.hud.buttons().size(), 2 + markers.size()) << "markers follow the buttons of map.xml";
    for (size_t i = 0; i < markers.size(); ++i) {
        int32_t x = -1, y = -1;
        ASSERT_TRUE(ReadMissionPosition(game.missionFiles[i], x, y));
        EXPECT_EQ(markers[i]->data, int32_t(i));
        EXPECT_EQ(markers[i]->xPos, uint32_t(x));
        EXPECT_EQ(markers[i]->yPos, uint32_t(y));
        EXPECT_EQ(markers[i]->xSize, 24u);
        EXPECT_EQ(markers[i]->tex, 17u);
        EXPECT_EQ(markers[i]->MOtex, 18u);
        EXPECT_NE(markers[i]->pickColour, 0u);
    }

    // A stray value names no mission and changes nothing.
    SendHudMessage(int32_t(game.missionFiles.size()));
    EXPECT_EQ(game.currentState(), kWorldMapState);

    ASSERT_TRUE(game.hud.LeftClick(int32_t(markers[1]->pickColour)));
    MessageDispatcher::Instance().Update();
    EXPECT_EQ(combatEntered, 1);
    EXPECT_EQ(game.currentState(), kCombatState);
    EXPECT_EQ(ChosenMission(), game.missionFiles[1]);
    EXPECT_FALSE(MapMessage::Get().active);
}

TEST_F(CampaignScreensTest, BuildScreenButtonsEquipAndTakeOffAWeaponWithTheRightCounts) {
    GameContext& game = GameContext::Get();
    game.ChangeState(kBuildState);
    ASSERT_TRUE(SquadBuildMessage::Get().active);
    ASSERT_EQ(game.hud.buttons().size(), 22u);

    SendHudMessage(BuildValue::FirstSlot + 1);
    SendHudMessage(1); // Frog Core
    Unit& unit = *game.campaign->army().squad[1];
    ASSERT_TRUE(unit.core);
    EXPECT_EQ(Count(CORE, 1), 1);
    // Changing the core hands its pick colour back; the new core's colour is taken.
    const uint32_t firstColour = unit.core->pickColour;
    SendHudMessage(2); // Rat Core
    EXPECT_EQ(Count(CORE, 1), 2);
    EXPECT_EQ(Count(CORE, 2), 1);
    if (firstColour != 0) {
        EXPECT_FALSE(game.pickColours.Contains(int32_t(firstColour)));
        EXPECT_TRUE(game.pickColours.Contains(int32_t(unit.core->pickColour)));
    }

    while (SquadBuildMessage::Get().builder.page() < 2) {
        SendHudMessage(BuildValue::NextPage);
    }
    SendHudMessage(3); // Plasma Concentrated
    ASSERT_NE(unit.weapon, nullptr);
    EXPECT_EQ(unit.weapon->name, "Plasma Concentrated_Weapon");
    EXPECT_EQ(Count(WEAPON, 3), 1);
    SendHudMessage(4); // Plasma Overcharged replaces it
    EXPECT_EQ(Count(WEAPON, 3), 2);
    EXPECT_EQ(Count(WEAPON, 4), 1);
    SendHudMessage(BuildValue::TakeOffWeapon);
    EXPECT_EQ(unit.weapon, nullptr);
    EXPECT_EQ(Count(WEAPON, 4), 2);
    SendHudMessage(BuildValue::TakeOffWeapon);
    EXPECT_EQ(Count(WEAPON, 4), 2);

    // Leaving and coming back selects slot 0 again; the page stays.
    game.ChangeState(kSquadState);
    SendHudMessage(0);
    EXPECT_EQ(Count(WEAPON, 0), 2) << "the build receiver is off on the squad screen";
    game.ChangeState(kBuildState);
    EXPECT_EQ(SquadBuildMessage::Get().builder.currentSlot(), 0);
    EXPECT_EQ(SquadBuildMessage::Get().builder.page(), 2);
}

TEST_F(CampaignScreensTest, NewGameBuildsAMechAndFieldsItInTheFirstMission) {
    GameContext& game = GameContext::Get();
    game.ChangeState(kBuildState);
    SendHudMessage(BuildValue::PreviousPage); // the page stays from earlier visits
    SendHudMessage(BuildValue::PreviousPage);
    SendHudMessage(0); // Ant Core into slot 0
    SendHudMessage(BuildValue::NextPage);
    SendHudMessage(BuildValue::NextPage);
    SendHudMessage(8); // Tri Laser Red
    const Unit& built = *game.campaign->army().squad[0];
    ASSERT_TRUE(built.core);
    ASSERT_NE(built.weapon, nullptr);

    game.ChangeState(kWorldMapState);
    SendHudMessage(0);
    EXPECT_EQ(game.currentState(), kCombatState);
    ASSERT_EQ(ChosenMission(), game.missionFiles[0]);

    // The chosen mission fields the mech built here as player 1's only unit.
    CombatHooks hooks;
    SeededRandom random(1);
    SimulatedClock clock;
    CombatScreen battle(game.level, game.pathfinder, game.renderer.camera, hooks, random, clock);
    ASSERT_TRUE(battle.LoadMission(ChosenMission(), &game.campaign->army()));
    int playerUnits = 0;
    for (const Unit* unit : battle.turnQueue) {
        if (unit->owner.player == 1) {
            ++playerUnits;
            ASSERT_TRUE(unit->core);
            EXPECT_EQ(unit->core->name, "Ant_Core");
        }
    }
    EXPECT_EQ(playerUnits, 1);
    battle.Exit(nullptr);
}
