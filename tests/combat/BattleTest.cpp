#include "BattleFixture.h"
#include "combat/UnitMovement.h"
#include "platform/Paths.h"

#include <gtest/gtest.h>

// The player moves up, switches to attack mode, fires and ends each activation; the computer answers.
TEST(Battle, ScriptedBattleEndsWithTheWinnerAndTheStakes) {
    Battle b(12, 8);
    WeaponSpec gun;
    gun.damage = 60;
    gun.accuracy = 80;
    gun.maxRange = 3;
    gun.timeCost = 20;
    Unit* hero = b.add(MakeUnit(1, 1, 3, 4, 10, gun));
    WeaponSpec pop;
    pop.damage = 8;
    pop.maxRange = 2;
    b.add(MakeUnit(2, 9, 3, 2, 10, pop));
    b.add(MakeUnit(2, 10, 5, 2, 10, pop));
    b.screen.mission.fac1 = 6;
    b.screen.Enter();

    int playerTurns = 0;
    for (int guard = 0; guard < 200 && !b.screen.player1Won && !b.screen.player2Won; ++guard) {
        b.runUntil([&] {
            return b.screen.player1Won || b.screen.player2Won ||
                   (b.screen.activeUnit == hero && !IsWalking(*hero) && !b.camera.busy() && !hero->turnDone);
        });
        if (b.screen.player1Won || b.screen.player2Won) {
            break;
        }
        ++playerTurns;
        b.frame();
        Unit* enemy = b.screen.NearestEnemy(hero->tileX, hero->tileY);
        ASSERT_NE(enemy, nullptr);
        int32_t gap = std::max(std::abs(enemy->tileX - hero->tileX), std::abs(enemy->tileY - hero->tileY));
        if (gap > gun.maxRange) {
            // Hover the reachable tile nearest the enemy, then click it.
            int32_t bx = hero->tileX, by = hero->tileY, best = gap;
            for (int32_t x = 0; x < 12; ++x) {
                for (int32_t y = 0; y < 8; ++y) {
                    int32_t d = std::max(std::abs(enemy->tileX - x), std::abs(enemy->tileY - y));
                    if (b.map.TileAt(x, y)->marker == TileMarker::Reachable && d < best) {
                        bx = x, by = y, best = d;
                    }
                }
            }
            b.screen.HoverTile(bx, by);
            b.clickTile(bx, by);
            b.runUntil([&] { return !IsWalking(*hero) && !b.camera.busy(); });
        }
        b.screen.KeyPressed(CombatKey::LeftShift);
        b.frame();
        while (b.map.TileAt(enemy->tileX, enemy->tileY)->marker == TileMarker::Target &&
               b.screen.shotsThisTurn < gun.shots && hero->timeUsed + gun.timeCost <= 100) {
            size_t before = b.screen.turnQueue.size();
            b.clickUnit(enemy);
            if (b.screen.turnQueue.size() != before) {
                break;
            }
            b.frame();
        }
        b.screen.KeyPressed(CombatKey::Space);
        b.frame();
    }
    EXPECT_TRUE(b.screen.player1Won);
    EXPECT_FALSE(b.screen.player2Won);
    EXPECT_GE(playerTurns, 2);
    // The summary page comes first; Space goes on to the victory picture and its layout.
    EXPECT_EQ(b.hooks.layouts.back(), "XMLFiles\\GUI\\summary.xml");
    EXPECT_TRUE(b.screen.SummaryShown());
    EXPECT_EQ(b.screen.record.side(2).unitsLost, 2);
    EXPECT_EQ(b.screen.record.side(1).unitsLost, 0);
    EXPECT_GE(b.screen.record.side(1).damageDealt, 2);
    EXPECT_EQ(b.screen.record.side(2).damageTaken, b.screen.record.side(1).damageDealt);
    EXPECT_EQ(b.screen.record.side(1).damageTaken, b.screen.record.side(2).damageDealt);
    ASSERT_EQ(b.screen.record.log().size(), 2u);
    for (const std::string& line : b.screen.record.log()) {
        EXPECT_TRUE(line == "P2@9,3 destroyed" || line == "P2@10,5 destroyed") << line;
    }
    for (int i = 0; i < 5; ++i) {
        b.frame();
    }
    b.screen.KeyPressed(CombatKey::Return);
    EXPECT_FALSE(b.screen.SummaryShown());
    EXPECT_EQ(b.hooks.layouts.back(), "XMLFiles\\GUI\\win.xml");
    Campaign campaign;
    b.screen.Exit(&campaign);
    EXPECT_EQ(campaign.standings[0], 44) << "winning spends the stake";
    EXPECT_EQ(campaign.standings[1], 50);
}

// Every shipped mission loads, and the simulated battles end; the first is easy and the last can be won.
TEST(Battle, ShippedMissionsEndAndKeepTheirDifficulty) {
    std::vector<std::string> missions;
    ListFiles("XMLFiles\\Missions", missions);
    ASSERT_GE(missions.size(), 6u);
    for (const std::string& mission : missions) {
        int wins = 0;
        const int seeds = 4;
        for (int seed = 1; seed <= seeds; ++seed) {
            BattleSettings settings;
            settings.mission = mission;
            settings.seed = static_cast<uint32_t>(seed);
            settings.maxActivations = 400;
            BattleOutcome outcome = SimulateBattle(settings);
            ASSERT_TRUE(outcome.loaded) << mission;
            EXPECT_TRUE(outcome.winner != 0 || outcome.stalled) << mission << " seed " << seed;
            EXPECT_LT(outcome.activations, 400) << mission;
            wins += outcome.winner == 1 ? 1 : 0;
        }
        if (mission == missions.front()) {
            EXPECT_GE(wins, 3) << mission;
        }
    }
    int lastWins = 0;
    for (int seed = 1; seed <= 10; ++seed) {
        BattleSettings settings;
        settings.mission = missions.back();
        settings.seed = static_cast<uint32_t>(seed);
        lastWins += SimulateBattle(settings).winner == 1 ? 1 : 0;
    }
    EXPECT_GE(lastWins, 1) << missions.back();
}
