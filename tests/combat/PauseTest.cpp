#include "BattleFixture.h"

#include <gtest/gtest.h>

namespace {

class OptionsHooks : public RecordingHooks {
public:
    void ShowOptions(bool shown) override { optionsOn = shown; }
    bool optionsOn = false;
};

} // namespace

TEST(Pause, PagesCycleOptionsToggleAndEscapeRestoresTheBattleLayout) {
    Battle battle;
    battle.add(MakeUnit(1, 1, 1));
    battle.add(MakeUnit(2, 5, 5));
    battle.screen.Enter();
    battle.frame();
    battle.hooks.layouts.clear();

    battle.screen.PauseButton(3);
    EXPECT_FALSE(battle.screen.paused) << "buttons of the pause overlay do nothing in battle";
    EXPECT_TRUE(battle.hooks.layouts.empty());

    battle.screen.TogglePause();
    ASSERT_TRUE(battle.screen.paused);
    EXPECT_EQ(battle.screen.pausePage, 0);
    EXPECT_EQ(battle.hooks.layouts.back(), "XMLFiles\\GUI\\pause.xml");
    battle.screen.PauseButton(3);
    EXPECT_EQ(battle.hooks.layouts.back(), "XMLFiles\\GUI\\howtoplay1.xml");
    battle.screen.PauseButton(3);
    EXPECT_EQ(battle.hooks.layouts.back(), "XMLFiles\\GUI\\howtoplay2.xml");
    battle.screen.PauseButton(3);
    EXPECT_EQ(battle.screen.pausePage, 0);
    EXPECT_EQ(battle.hooks.layouts.back(), "XMLFiles\\GUI\\pause.xml");
    EXPECT_EQ(battle.hooks.sounds.back(), "Sound Assets\\SFX\\Start_Up\\Machine_Generator_Start02.wav");
    battle.screen.PauseButton(7);
    EXPECT_EQ(battle.hooks.layouts.size(), 4u) << "other values are ignored";

    // While paused nothing moves: the active unit keeps its time whatever the frames bring.
    Unit* active = battle.screen.activeUnit;
    ASSERT_NE(active, nullptr);
    const int32_t time = active->timeUsed;
    battle.screen.KeyPressed(CombatKey::Space);
    for (int i = 0; i < 5; ++i) {
        battle.frame();
    }
    EXPECT_EQ(battle.screen.activeUnit, active);
    EXPECT_EQ(active->timeUsed, time);
    active->turnDone = false;

    battle.screen.TogglePause();
    battle.screen.TogglePause();
    battle.screen.PauseButton(4);
    ASSERT_TRUE(battle.screen.optionsShown);
    EXPECT_EQ(battle.hooks.layouts.back(), "XMLFiles\\GUI\\options_p.xml");
    battle.screen.TogglePause();
    EXPECT_FALSE(battle.screen.paused);
    EXPECT_FALSE(battle.screen.optionsShown);
    EXPECT_EQ(battle.hooks.layouts.back(), "XMLFiles\\GUI\\combat.xml");
}

TEST(Pause, OptionsReceiverFollowsTheOverlayAndAWonBattleIsNotPaused) {
    LevelMap map;
    map.Resize(8, 8);
    Pathfinder pathfinder;
    Camera camera;
    OptionsHooks hooks;
    SeededRandom random(3);
    SimulatedClock clock;
    CombatScreen screen(map, pathfinder, camera, hooks, random, clock);
    screen.AddUnit(MakeUnit(1, 1, 1));
    screen.AddUnit(MakeUnit(2, 4, 4));
    screen.Enter();
    screen.TogglePause();
    screen.PauseButton(4);
    EXPECT_TRUE(hooks.optionsOn);
    screen.PauseButton(4);
    EXPECT_FALSE(hooks.optionsOn);
    EXPECT_EQ(hooks.layouts.back(), "XMLFiles\\GUI\\pause.xml");
    screen.PauseButton(4);
    screen.TogglePause();
    EXPECT_FALSE(hooks.optionsOn) << "resuming switches the options receiver off";
    screen.Exit(nullptr);

    screen.AddUnit(MakeUnit(1, 1, 1));
    screen.Enter();
    screen.Update(CombatInput());
    ASSERT_TRUE(screen.player1Won || screen.player2Won);
    hooks.layouts.clear();
    screen.TogglePause();
    EXPECT_FALSE(screen.paused);
    EXPECT_TRUE(hooks.layouts.empty()) << "the victory layout stays";
}
