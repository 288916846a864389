#include "BattleFixture.h"
#include "combat/UnitMovement.h"

#include <gtest/gtest.h>

TEST(ComputerOpponent, ChoosesTheEarlierOfTwoEquidistantEnemies) {
    Battle b;
    Unit* ai = b.add(MakeUnit(2, 5, 5));
    Unit* left = b.add(MakeUnit(1, 2, 5));
    b.add(MakeUnit(1, 8, 8));
    b.add(MakeUnit(2, 5, 6));
    b.screen.activeUnit = ai;
    EXPECT_EQ(b.screen.NearestEnemy(5, 5), left);
}

TEST(ComputerOpponent, RefusedFirstShotEndsTheActivation) {
    Battle b;
    Unit* ai = b.add(MakeUnit(2, 5, 5));
    b.add(MakeUnit(1, 7, 5));
    b.screen.Enter();
    b.frame();
    ASSERT_EQ(b.screen.activeUnit, ai);
    ai->timeUsed = 95;
    b.runUntil([&] { return b.screen.activeUnit != ai; }, 100);
    EXPECT_NE(b.screen.activeUnit, ai) << "a shot it cannot afford must not be retried for ever";
    EXPECT_EQ(b.screen.shotsThisTurn, 0);
}

TEST(ComputerOpponent, WaitsASecondThenShootsAndEndsWhenTimeRunsOut) {
    Battle b;
    WeaponSpec gun;
    gun.timeCost = 40;
    gun.shots = 5;
    Unit* ai = b.add(MakeUnit(2, 5, 5, 3, 10, gun));
    Unit* enemy = b.add(MakeUnit(1, 7, 5));
    enemy->hp = 1000;
    b.screen.Enter();
    b.frame();
    b.runUntil([&] { return b.screen.shotsThisTurn == 1; });
    int64_t first = b.clock.Elapsed();
    int32_t shots = 1;
    int64_t second = 0;
    b.runUntil([&] {
        if (b.screen.shotsThisTurn == 2 && second == 0) {
            second = b.clock.Elapsed();
        }
        shots = std::max(shots, b.screen.shotsThisTurn);
        return ai->turnDone || b.screen.activeUnit != ai;
    });
    if (second != 0) {
        EXPECT_GE(second - first, 1000) << "one action a second";
    }
    EXPECT_LE(shots, 3) << "never past 90 % of the time";
    EXPECT_EQ(ai->tileX, 5);
}

TEST(ComputerOpponent, FarTargetEndsTheActivationWithoutMoving) {
    Battle b(24, 24);
    Unit* ai = b.add(MakeUnit(2, 1, 1, 4, 15));
    b.add(MakeUnit(1, 20, 20));
    b.screen.Enter();
    b.frame();
    ASSERT_EQ(b.screen.activeUnit, ai);
    b.runUntil([&] { return ai->turnDone || b.screen.activeUnit != ai; });
    EXPECT_EQ(ai->tileX, 1);
    EXPECT_EQ(ai->tileY, 1);
}

TEST(ComputerOpponent, WalksUpToAnEnemyItCannotSee) {
    // A ridge hides the enemy, which stands within the unit's reach.
    Battle b(12, 5);
    for (int32_t y = 0; y < 5; ++y) {
        b.map.TileAt(5, y)->elevation = 6;
    }
    Unit* ai = b.add(MakeUnit(2, 3, 2, 6, 10));
    Unit* hidden = b.add(MakeUnit(1, 7, 2));
    b.screen.Enter();
    b.frame();
    ASSERT_EQ(b.screen.activeUnit, ai);
    b.runUntil([&] { return ai->turnDone || b.screen.activeUnit != ai; });
    EXPECT_EQ(ai->tileX, 6) << "stops next to its target";
    EXPECT_LT(hidden->hp, 100) << "and fires once it sees it";
}
