#include "BattleFixture.h"
#include "combat/BattleLayout.h"
#include "combat/BattleReadout.h"
#include "combat/UnitMovement.h"

#include <gtest/gtest.h>

namespace {

PickResult OnTile(LevelMap& map, int32_t x, int32_t y) {
    PickResult pick;
    pick.kind = PickKind::MapTile;
    pick.tile = map.TileAt(x, y);
    return pick;
}

PickResult OnUnit(Unit* unit) {
    PickResult pick;
    pick.kind = PickKind::Unit;
    pick.unit = unit;
    return pick;
}

// A battle with the player's unit active on an open field and one enemy in reach.
struct ReadoutBattle {
    ReadoutBattle() {
        hero = battle.add(MakeUnit(1, 2, 2, 4, 10));
        friendUnit = battle.add(MakeUnit(1, 2, 3, 4, 10));
        enemy = battle.add(MakeUnit(2, 5, 2, 4, 10));
        battle.screen.Enter();
        battle.runUntil([&] { return battle.screen.activeUnit == hero && !battle.camera.busy(); });
        battle.frame();
    }
    Battle battle{10, 6};
    Unit* hero = nullptr;
    Unit* friendUnit = nullptr;
    Unit* enemy = nullptr;
};

} // namespace

TEST(BattleReadout, DamageRangeFollowsTheDamageRuleAtItsExtremes) {
    EXPECT_EQ(ShotDamageRange(20, 60, 40).lowest, 6);
    EXPECT_EQ(ShotDamageRange(20, 60, 40).highest, 29);
    EXPECT_EQ(ShotDamageRange(20, 50, 50).lowest, 5) << "accuracy equal to defense: damage / 4";
    EXPECT_EQ(ShotDamageRange(20, 50, 50).highest, 24);
    EXPECT_EQ(ShotDamageRange(20, 0, 200).highest, 0) << "no harm at all when D is 0 or less";
    EXPECT_EQ(ShotDamageRange(0, 50, 0).lowest, 0);
    // The rule itself at its smallest and largest random remainders.
    for (int32_t damage : {1, 7, 20, 55}) {
        for (int32_t defense : {0, 35, 90}) {
            const DamageRange range = ShotDamageRange(damage, 60, defense);
            ScriptedRandom low;
            low.values = {0};
            EXPECT_EQ(ShotDamage(damage, 60, defense, low), range.lowest) << damage << " vs " << defense;
            const int32_t d = range.highest - range.lowest + 1;
            ScriptedRandom high;
            high.values = {d - 1};
            EXPECT_EQ(ShotDamage(damage, 60, defense, high), range.highest) << damage << " vs " << defense;
        }
    }
}

TEST(BattleReadout, ShotsThatFitCountTheShotsAndTheTimeLeft) {
    WeaponSpec spec;
    spec.timeCost = 10;
    spec.shots = 3;
    std::unique_ptr<Unit> unit = MakeUnit(1, 0, 0, 3, 10, spec);
    unit->timeUsed = 90;
    EXPECT_EQ(ShotsThatFit(*unit, 0), 1) << "90 + 10 is exactly the budget";
    unit->weapon->timeCost = 11;
    EXPECT_EQ(ShotsThatFit(*unit, 0), 0);
    unit->weapon->timeCost = 20;
    unit->timeUsed = 35;
    EXPECT_EQ(ShotsThatFit(*unit, 0), 3);
    EXPECT_EQ(ShotsThatFit(*unit, 2), 1) << "two of the three shots are spent";
    unit->timeUsed = 50;
    EXPECT_EQ(ShotsThatFit(*unit, 0), 2) << "time for two";
    unit->weapon->timeCost = 0;
    unit->timeUsed = 100;
    EXPECT_EQ(ShotsThatFit(*unit, 0), 0) << "a spent budget fires nothing, even for free";
    unit->timeUsed = 0;
    unit->turnDone = true;
    EXPECT_EQ(ShotsThatFit(*unit, 0), 0);
    std::unique_ptr<Unit> unarmed = MakeUnit(1, 0, 0, 3, 10, spec, false);
    EXPECT_EQ(ShotsThatFit(*unarmed, 0), 0);
}

TEST(BattleReadout, TheShotForecastSaysWhetherTheTargetWouldBeDestroyed) {
    std::unique_ptr<Unit> attacker = MakeUnit(1, 0, 0); // damage 20, accuracy 60, 2 shots of 10
    std::unique_ptr<Unit> target = MakeUnit(2, 1, 0);   // defense 40: 6 to 29 a shot
    struct Case {
        int32_t hp;
        Outcome oneShot;
        Outcome allShots;
        const char* verdict;
    };
    const Case cases[] = {
        {5, Outcome::Destroyed, Outcome::Destroyed, "One shot destroys it"},
        {25, Outcome::MayBeDestroyed, Outcome::MayBeDestroyed, "One shot may destroy it"},
        {40, Outcome::Survives, Outcome::MayBeDestroyed, "2 shots may destroy it"},
        {12, Outcome::MayBeDestroyed, Outcome::Destroyed, "One shot may destroy it"},
        {100, Outcome::Survives, Outcome::Survives, "It survives"},
    };
    for (const Case& c : cases) {
        target->hp = c.hp;
        const ShotReadout shot = ReadShot(*attacker, *target, 0);
        ASSERT_TRUE(shot.shown);
        EXPECT_EQ(shot.damage.lowest, 6);
        EXPECT_EQ(shot.damage.highest, 29);
        EXPECT_EQ(shot.shots, 2);
        EXPECT_EQ(shot.oneShot, c.oneShot) << c.hp;
        EXPECT_EQ(shot.allShots, c.allShots) << c.hp;
        ASSERT_EQ(shot.lines.size(), 3u);
        EXPECT_EQ(shot.lines[0], "Damage 6-29 (HP " + std::to_string(c.hp) + ")");
        EXPECT_EQ(shot.lines[1], "2 shots fit in 100 TU");
        EXPECT_EQ(shot.lines[2], c.verdict);
    }
    attacker->timeUsed = 95;
    target->hp = 5;
    const ShotReadout late = ReadShot(*attacker, *target, 0);
    EXPECT_EQ(late.shots, 0);
    EXPECT_EQ(late.oneShot, Outcome::Survives) << "a shot that cannot be fired destroys nothing";
    EXPECT_EQ(late.lines[1], "0 shots fit in 5 TU");
    EXPECT_EQ(late.lines[2], "No shot left");
    std::unique_ptr<Unit> unarmed = MakeUnit(1, 0, 0, 3, 10, WeaponSpec(), false);
    EXPECT_FALSE(ReadShot(*unarmed, *target, 0).shown);
}

TEST(BattleReadout, TheRouteCostFollowsThePointerOverThePreviewedEnd) {
    ReadoutBattle r;
    CombatScreen& screen = r.battle.screen;
    EXPECT_EQ(ReadRoute(12, 10).text, "12 TU / 78 left");
    EXPECT_EQ(ReadRoute(30, 90).left, 0) << "never below nothing";
    EXPECT_FALSE(screen.RouteUnderPointer().shown) << "the pointer has not moved yet";

    ASSERT_EQ(r.battle.map.TileAt(4, 4)->marker, TileMarker::Reachable);
    screen.HoverTile(4, 4);
    screen.PointAt(300, 200, OnTile(r.battle.map, 4, 4));
    const RouteReadout route = screen.RouteUnderPointer();
    ASSERT_TRUE(route.shown);
    EXPECT_GT(route.cost, 0);
    EXPECT_EQ(route.cost, screen.pathfinder.pathCost);
    EXPECT_EQ(route.left, 100 - r.hero->timeUsed - route.cost);
    EXPECT_EQ(route.text, std::to_string(route.cost) + " TU / " + std::to_string(route.left) + " left");

    screen.PointAt(310, 200, OnTile(r.battle.map, 0, 0));
    EXPECT_FALSE(screen.RouteUnderPointer().shown) << "off the route's end, no cost";
    screen.PointAt(300, 200, OnTile(r.battle.map, 4, 4));
    screen.ToggleMoveMode();
    EXPECT_FALSE(screen.RouteUnderPointer().shown) << "not in attack mode";
    screen.ToggleMoveMode();
    r.battle.frame();
    screen.HoverTile(4, 4);
    r.battle.clickTile(4, 4);
    EXPECT_FALSE(screen.RouteUnderPointer().shown) << "not once the unit walks";
}

TEST(BattleReadout, TheShotForecastShowsOnlyOverAMarkedEnemyInAttackMode) {
    ReadoutBattle r;
    CombatScreen& screen = r.battle.screen;
    screen.PointAt(400, 300, OnUnit(r.enemy));
    EXPECT_FALSE(screen.ShotUnderPointer().shown) << "move mode shows routes, not shots";
    screen.ToggleMoveMode();
    r.battle.frame();
    ASSERT_EQ(r.battle.map.TileAt(5, 2)->marker, TileMarker::Target);
    const ShotReadout shot = screen.ShotUnderPointer();
    ASSERT_TRUE(shot.shown);
    EXPECT_EQ(shot.damage.lowest, 6);
    EXPECT_EQ(shot.shots, 2);
    screen.PointAt(400, 300, OnUnit(r.friendUnit));
    EXPECT_FALSE(screen.ShotUnderPointer().shown) << "never over a friend";
    screen.PointAt(400, 300, OnTile(r.battle.map, 5, 2));
    EXPECT_FALSE(screen.ShotUnderPointer().shown) << "only over the unit itself";

    // A destroyed unit leaves the pointer, the log and the rising numbers right.
    screen.PointAt(400, 300, OnUnit(r.enemy));
    r.enemy->hp = 1;
    r.enemy->name = "Raider Wolf";
    r.battle.random.values = {3};
    const int64_t shotAt = screen.record.frame();
    ASSERT_TRUE(screen.resolveAttack(*r.enemy));
    EXPECT_EQ(screen.pointer.unit, nullptr);
    EXPECT_FALSE(screen.ShotUnderPointer().shown);
    ASSERT_EQ(screen.record.log().size(), 1u);
    EXPECT_EQ(screen.record.log().front(), "Raider Wolf destroyed");
    ASSERT_EQ(screen.record.numbers().size(), 1u);
    EXPECT_EQ(screen.record.numbers()[0].value, 9) << "3 + 24 / 4";
    EXPECT_EQ(screen.record.numbers()[0].start, shotAt);
    EXPECT_EQ(screen.record.side(1).damageDealt, 9);
    EXPECT_EQ(screen.record.side(2).unitsLost, 1);
}

TEST(BattleReadout, NumbersRiseForASecondOfFramesAndTheLogKeepsItsLastLines) {
    BattleRecord record;
    std::unique_ptr<Unit> shooter = MakeUnit(1, 0, 0);
    std::unique_ptr<Unit> target = MakeUnit(2, 3, 1);
    record.Tick();
    record.Hit(*shooter, *target, 12);
    ASSERT_EQ(record.numbers().size(), 1u);
    EXPECT_EQ(record.numbers()[0].at.x, 12.0f) << "over the target";
    EXPECT_EQ(record.numbers()[0].start, 1);
    for (int frame = 0; frame < 30; ++frame) {
        record.Tick();
    }
    EXPECT_DOUBLE_EQ(record.RiseOf(record.numbers()[0]), 0.5);
    for (int frame = 0; frame < 29; ++frame) {
        record.Tick();
    }
    EXPECT_EQ(record.numbers().size(), 1u);
    record.Tick();
    EXPECT_TRUE(record.numbers().empty()) << "gone after a second of frames";
    for (int i = 0; i < 7; ++i) {
        target->name = "Unit " + std::to_string(i);
        record.Destroyed(*target);
    }
    ASSERT_EQ(record.log().size(), BattleRecord::kLogLines);
    EXPECT_EQ(record.log().front(), "Unit 2 destroyed");
    EXPECT_EQ(record.log().back(), "Unit 6 destroyed");
    EXPECT_EQ(record.side(2).unitsLost, 7);
    std::unique_ptr<Unit> built = MakeUnit(1, 0, 0);
    built->name = "MECH_NAME";
    built->core->name = "Wolf_Core";
    EXPECT_EQ(UnitDisplayName(*built), "Your Wolf");
    record.Reset();
    EXPECT_TRUE(record.log().empty());
    EXPECT_EQ(record.side(2).unitsLost, 0);
}

TEST(BattleReadout, TheSummaryShowsLossesDamageAndTheStandingsBeforeAndAfter) {
    MissionData mission;
    mission.fac1 = 6;
    mission.fac2 = 5;
    mission.fac3 = -3;
    EXPECT_EQ(StandingsAfter({50, 2, 99}, mission, true), (std::array<int32_t, 3>{44, 0, 100}));
    EXPECT_EQ(StandingsAfter({50, 2, 99}, mission, false), (std::array<int32_t, 3>{53, 4, 98}))
        << "a lost battle raises each by half its stake, toward zero";

    BattleRecord record;
    std::unique_ptr<Unit> mine = MakeUnit(1, 0, 0);
    std::unique_ptr<Unit> theirs = MakeUnit(2, 1, 0);
    record.Hit(*mine, *theirs, 30);
    record.Hit(*theirs, *mine, 8);
    record.Destroyed(*theirs);
    EXPECT_EQ(SummaryLines(record, mission, true),
              (std::vector<std::string>{"VICTORY", "Units lost: yours 0, the enemy's 1", "Damage dealt: 30",
                                        "Damage taken: 8"}))
        << "no standings in a battle without a campaign";
    record.hasStandings = true;
    record.standingsBefore = {50, 2, 99};
    const std::vector<std::string> lines = SummaryLines(record, mission, false);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "DEFEAT");
    EXPECT_EQ(lines[4], "Faction 1 standing: 50 -> 53");
    EXPECT_EQ(lines[6], "Faction 3 standing: 99 -> 98");

    // Leaving the battle moves the campaign's standings exactly as the page said.
    Battle battle;
    battle.screen.mission = mission;
    Campaign campaign;
    campaign.standings = {50, 2, 99};
    battle.screen.player1Won = true;
    battle.screen.Exit(&campaign);
    EXPECT_EQ(campaign.standings, StandingsAfter({50, 2, 99}, mission, true));
}

TEST(BattleReadout, TheSummaryPageComesBeforeTheVictoryAndTheActiveCardShowsTheTimeLeft) {
    Battle battle(6, 4);
    battle.add(MakeUnit(1, 1, 1));
    Unit* enemy = battle.add(MakeUnit(2, 3, 1));
    battle.screen.Enter();
    battle.runUntil([&] { return battle.screen.activeUnit != nullptr && !battle.camera.busy(); });
    EXPECT_FALSE(battle.screen.SummaryShown());
    battle.screen.KeyPressed(CombatKey::LeftShift);
    battle.frame();
    enemy->hp = 1;
    battle.random.values = {0};
    ASSERT_TRUE(battle.screen.resolveAttack(*enemy));
    battle.frame();
    ASSERT_TRUE(battle.screen.player1Won);
    EXPECT_TRUE(battle.screen.SummaryShown());
    EXPECT_EQ(battle.hooks.layouts.back(), SummaryLayout);
    battle.screen.KeyPressed(CombatKey::Space);
    EXPECT_TRUE(battle.screen.SummaryShown()) << "a key pressed as the battle ends does not skip the page";
    battle.frame();
    battle.frame();
    battle.frame();
    battle.frame();
    battle.frame();
    battle.screen.KeyPressed(CombatKey::Backspace);
    EXPECT_TRUE(battle.screen.SummaryShown()) << "other keys leave the page up";
    battle.screen.KeyPressed(CombatKey::Space);
    EXPECT_FALSE(battle.screen.SummaryShown());
    EXPECT_EQ(battle.hooks.layouts.back(), WinLayout);
    battle.screen.KeyPressed(CombatKey::Space);
    EXPECT_EQ(battle.hooks.layouts.back(), WinLayout) << "closed once";

    std::unique_ptr<Unit> active = MakeUnit(1, 0, 0);
    active->timeUsed = 22;
    const std::vector<StatLine> card = StatCardLines(active.get(), 30, 150, false, true);
    ASSERT_FALSE(card.empty());
    EXPECT_EQ(card.back().text, "Time left: 78");
    EXPECT_EQ(card.back().x, 30);
    EXPECT_EQ(card.back().y, 575);
    for (const StatLine& line : StatCardLines(active.get(), 578, 698, true)) {
        EXPECT_EQ(line.text.find("Time left"), std::string::npos) << "the hovered unit's card is unchanged";
    }
}
