#include "combat/VeteranOpponent.h"
#include "BattleFixture.h"
#include "combat/SightCache.h"
#include "combat/UnitMovement.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>

namespace {

int32_t Chebyshev(const Unit& a, const Unit& b) {
    return std::max(std::abs(a.tileX - b.tileX), std::abs(a.tileY - b.tileY));
}

// A battle whose player 2 is played by the Veteran rule; the first unit added acts first.
struct VeteranBattle : Battle {
    explicit VeteranBattle(uint32_t width = 12, uint32_t height = 12) : Battle(width, height) {
        screen.opponentRules[1] = OpponentRule::Veteran;
    }
    // Starts the battle and plays the first unit's activation to its end.
    void playFirstActivation(Unit* unit) {
        screen.Enter();
        frame();
        ASSERT_EQ(screen.activeUnit, unit);
        runUntil([&] { return (unit->turnDone && !IsWalking(*unit)) || screen.activeUnit != unit; });
    }
    VeteranChoice decide(const Unit& unit, int32_t shots = 0) {
        return screen.veteran.Decide(map, screen.turnQueue, unit, shots, ++activation);
    }
    int64_t activation = 0;
};

WeaponSpec Gun(int32_t maxRange, int32_t minRange = 0, int32_t timeCost = 10, int32_t shots = 2) {
    WeaponSpec gun;
    gun.maxRange = maxRange;
    gun.minRange = minRange;
    gun.timeCost = timeCost;
    gun.shots = shots;
    return gun;
}

} // namespace

TEST(VeteranOpponent, WalksTowardAFarTargetAndEndsWhereItCanShootNextTime) {
    // The target is out of reach this activation: four tiles of walking and five of range fall short.
    VeteranBattle b(24, 12);
    Unit* ai = b.add(MakeUnit(2, 1, 5, 4, 10, Gun(5)));
    Unit* target = b.add(MakeUnit(1, 14, 5, 3, 10, WeaponSpec(), false));
    b.playFirstActivation(ai);
    EXPECT_GT(ai->tileX, 1) << "Classic would stand still here";
    EXPECT_LE(Chebyshev(*ai, *target), 4 + 5) << "ends where four steps and a shot reach the target";
    EXPECT_EQ(target->hp, 100);

    // Farther still: it walks as far as its time and distance allow.
    VeteranBattle far(30, 12);
    Unit* walker = far.add(MakeUnit(2, 1, 5, 4, 10, Gun(5)));
    far.add(MakeUnit(1, 26, 5, 3, 10, WeaponSpec(), false));
    far.playFirstActivation(walker);
    EXPECT_EQ(walker->tileX, 5) << "four tiles, the unit's whole move";
}

TEST(VeteranOpponent, FiresAtWhatItCanDestroyElseWhereItDoesMostDamagePerTimeUnit) {
    VeteranBattle b;
    Unit* ai = b.add(MakeUnit(2, 5, 5, 3, 10, Gun(5)));
    Unit* soft = b.add(MakeUnit(1, 7, 5));
    soft->defense = 10; // 20 damage at accuracy 60: D = 30 against it
    Unit* hard = b.add(MakeUnit(1, 5, 7));
    hard->defense = 60; // D = 20
    Unit* middle = b.add(MakeUnit(1, 3, 3));
    middle->defense = 40;
    hard->hp = 12; // one shot of D = 20 takes 14.5 on average
    b.screen.activeUnit = ai;
    VeteranChoice choice = b.decide(*ai);
    ASSERT_EQ(choice.kind, VeteranChoice::Kind::Shoot);
    EXPECT_EQ(choice.target, hard) << "the one it can destroy";

    hard->hp = 100;
    choice = b.decide(*ai);
    ASSERT_EQ(choice.kind, VeteranChoice::Kind::Shoot);
    EXPECT_EQ(choice.target, soft) << "no kill in reach: the most damage per time unit";

    // A kill that takes both shots is still a kill; one that would take three is not.
    middle->hp = 29;
    EXPECT_EQ(b.decide(*ai).target, middle);
    middle->hp = 100;
    soft->hp = 61;
    EXPECT_EQ(b.decide(*ai).target, soft);
}

TEST(VeteranOpponent, NeverTriesAShotItCannotAfford) {
    VeteranBattle b;
    Unit* ai = b.add(MakeUnit(2, 5, 5, 3, 10, Gun(5, 0, 40, 3)));
    b.add(MakeUnit(1, 6, 5, 3, 10, WeaponSpec(), false));
    b.screen.activeUnit = ai;
    ai->timeUsed = 61;
    EXPECT_NE(b.decide(*ai).kind, VeteranChoice::Kind::Shoot) << "61 + 40 is past the activation's 100";
    ai->timeUsed = 20;
    EXPECT_EQ(b.decide(*ai, 2).kind, VeteranChoice::Kind::Shoot) << "one more of three shots fits";
    EXPECT_NE(b.decide(*ai, 3).kind, VeteranChoice::Kind::Shoot) << "all three are spent";

    // Played out: with time for two shots of three it fires two and no refused third.
    VeteranBattle played;
    Unit* gunner = played.add(MakeUnit(2, 5, 5, 3, 10, Gun(5, 0, 40, 3)));
    Unit* target = played.add(MakeUnit(1, 6, 5, 3, 10, WeaponSpec(), false));
    target->hp = 1000;
    played.playFirstActivation(gunner);
    EXPECT_EQ(std::count(played.hooks.sounds.begin(), played.hooks.sounds.end(), std::string(HitSound)), 2);
    EXPECT_LE(gunner->timeUsed, 100);
}

TEST(VeteranOpponent, StepsBackOutOfItsMinimumRangeAndFires) {
    VeteranBattle b;
    Unit* ai = b.add(MakeUnit(2, 5, 5, 3, 10, Gun(7, 2)));
    Unit* close = b.add(MakeUnit(1, 6, 5, 3, 10, WeaponSpec(), false));
    b.screen.activeUnit = ai;
    VeteranChoice choice = b.decide(*ai);
    ASSERT_EQ(choice.kind, VeteranChoice::Kind::Move) << "too close to fire from here";
    EXPECT_GT(std::max(std::abs(choice.x - close->tileX), std::abs(choice.y - close->tileY)), 2);

    b.screen.activeUnit = nullptr;
    b.playFirstActivation(ai);
    EXPECT_GT(Chebyshev(*ai, *close), 2);
    EXPECT_LT(close->hp, 100) << "and then fires";
}

TEST(VeteranOpponent, ThatCannotFireWaitsWhereNoEnemyCanReachAndShoot) {
    // The enemy walks two tiles and shoots three: everything within five of it is in its reach.
    VeteranBattle b(24, 12);
    Unit* ai = b.add(MakeUnit(2, 10, 5, 6, 5, Gun(5)));
    Unit* enemy = b.add(MakeUnit(1, 7, 5, 2, 10, Gun(3)));
    b.screen.activeUnit = ai;
    VeteranChoice choice = b.decide(*ai, 2); // both shots spent
    EXPECT_TRUE(b.screen.veteran.Threatened(ai->tileX, ai->tileY));
    ASSERT_EQ(choice.kind, VeteranChoice::Kind::Move);
    EXPECT_FALSE(b.screen.veteran.Threatened(choice.x, choice.y));
    EXPECT_GT(std::max(std::abs(choice.x - enemy->tileX), std::abs(choice.y - enemy->tileY)), 5);

    // Closing in from afar it stops out of that reach, yet where it can shoot next time.
    VeteranBattle approach(30, 12);
    Unit* walker = approach.add(MakeUnit(2, 8, 5, 4, 10, Gun(5)));
    Unit* waiting = approach.add(MakeUnit(1, 20, 5, 2, 10, Gun(3)));
    approach.playFirstActivation(walker);
    int32_t d = Chebyshev(*walker, *waiting);
    EXPECT_GT(d, 5) << "out of the enemy's reach";
    EXPECT_LE(d, 4 + 5) << "and within its own next time";

    // A hill hides it: the tile behind it is safe though close.
    VeteranBattle hill(12, 12);
    for (int32_t y = 0; y < 12; ++y) {
        hill.map.TileAt(6, y)->elevation = 9;
        hill.map.TileAt(6, y)->passable = 0.0f;
    }
    Unit* hider = hill.add(MakeUnit(2, 5, 5, 1, 10, Gun(5)));
    hill.add(MakeUnit(1, 8, 5, 0, 10, Gun(6)));
    hill.screen.activeUnit = hider;
    EXPECT_FALSE(hill.screen.veteran.Decide(hill.map, hill.screen.turnQueue, *hider, 2, 1).kind ==
                 VeteranChoice::Kind::Shoot);
    EXPECT_FALSE(hill.screen.veteran.Threatened(5, 5)) << "the ridge blocks the enemy's sight";
}

TEST(VeteranOpponent, WeighsWhatAShotGainsAgainstWhatItRisksAndWhoActsFirst) {
    // A weak shot from a frail unit: firing leaves too little time to get out of the enemy's reach, while
    // a plain walk reaches a tile it cannot shoot at (nine tiles off: three steps and a range of five).
    WeaponSpec weak = Gun(5, 0, 60, 1);
    weak.damage = 8;
    auto setUp = [&](VeteranBattle& b) {
        Unit* ai = b.add(MakeUnit(2, 5, 5, 5, 10, weak));
        ai->hp = 10;
        Unit* enemy = b.add(MakeUnit(1, 9, 5, 3, 10, Gun(5)));
        b.screen.activeUnit = ai;
        return std::pair{ai, enemy};
    };
    VeteranBattle b(24, 12);
    auto [ai, enemy] = setUp(b);
    VeteranChoice choice = b.decide(*ai);
    ASSERT_EQ(choice.kind, VeteranChoice::Kind::Move) << "a scratch is not worth its life";
    EXPECT_FALSE(b.screen.veteran.Threatened(choice.x, choice.y));

    enemy->hp = 5;
    choice = b.decide(*ai);
    ASSERT_EQ(choice.kind, VeteranChoice::Kind::Shoot) << "a kill is";
    EXPECT_EQ(choice.target, enemy);

    // The enemy acts only after the unit's next activation: it fires now and gets away then.
    enemy->hp = 100;
    enemy->timeUsed = 150;
    EXPECT_EQ(b.decide(*ai).kind, VeteranChoice::Kind::Shoot);

    // With time to fire and still walk out of reach, even the frail unit fires first.
    VeteranBattle quick(24, 12);
    weak.timeCost = 10;
    auto [scout, foe] = setUp(quick);
    choice = quick.decide(*scout);
    ASSERT_EQ(choice.kind, VeteranChoice::Kind::Shoot);
    EXPECT_EQ(choice.target, foe);
}

TEST(VeteranOpponent, FocusesOnTheEnemyNearestToDestruction) {
    // Neither dies to two shots (17.5 hit points each on average); the wounded one's shots end sooner.
    VeteranBattle b;
    Unit* ai = b.add(MakeUnit(2, 5, 5, 3, 10, Gun(5)));
    Unit* healthy = b.add(MakeUnit(1, 7, 5));
    Unit* wounded = b.add(MakeUnit(1, 5, 7));
    wounded->hp = 40;
    b.screen.activeUnit = ai;
    VeteranChoice choice = b.decide(*ai);
    ASSERT_EQ(choice.kind, VeteranChoice::Kind::Shoot);
    EXPECT_EQ(choice.target, wounded);

    // An unarmed enemy deals nothing to come: the armed one is worth more hit point for hit point.
    b.screen.turnQueue.erase(std::find(b.screen.turnQueue.begin(), b.screen.turnQueue.end(), wounded));
    Unit* harmless = b.add(MakeUnit(1, 3, 5, 3, 10, WeaponSpec(), false));
    harmless->hp = 60;
    EXPECT_EQ(b.decide(*ai).target, healthy);
}

TEST(VeteranOpponent, LosesPatienceWhenNoOneHasBeenHitForAWhile) {
    // The frail unit waits out of reach (the enemy walks two and shoots three) at a tile it could fire
    // from next time; firing would cost more than it gains.
    VeteranBattle b(30, 12);
    WeaponSpec weak = Gun(5);
    weak.damage = 8;
    Unit* ai = b.add(MakeUnit(2, 14, 5, 4, 10, weak));
    ai->hp = 10;
    Unit* enemy = b.add(MakeUnit(1, 20, 5, 2, 10, Gun(3)));
    enemy->hp = 200;
    b.screen.activeUnit = ai;
    const int64_t patience = VeteranPlanner::PatientActivationsPerUnit * 2;
    auto decide = [&](int64_t activation) {
        return b.screen.veteran.Decide(b.map, b.screen.turnQueue, *ai, 0, activation);
    };
    EXPECT_EQ(decide(1).kind, VeteranChoice::Kind::End);
    EXPECT_EQ(decide(1 + patience).kind, VeteranChoice::Kind::End);

    VeteranChoice choice = decide(2 + patience);
    ASSERT_EQ(choice.kind, VeteranChoice::Kind::Move) << "nobody hit for " << patience + 1 << " activations";
    EXPECT_LE(std::max(std::abs(choice.x - enemy->tileX), std::abs(choice.y - enemy->tileY)), 5)
        << "walks in to fire";

    // A hit anywhere makes it patient again.
    enemy->hp = 190;
    EXPECT_EQ(decide(3 + patience).kind, VeteranChoice::Kind::End);
}

TEST(VeteranOpponent, ActsAtTheChosenPaceAsClassicDoes) {
    for (OpponentRule rule : {OpponentRule::Classic, OpponentRule::Veteran}) {
        for (int64_t pause : {DefaultAiActionMilliseconds, FastAiActionMilliseconds}) {
            Battle b;
            b.screen.opponentRules[1] = rule;
            b.screen.aiActionMilliseconds = pause;
            Unit* ai = b.add(MakeUnit(2, 5, 5, 3, 10, Gun(5, 0, 10, 3)));
            Unit* enemy = b.add(MakeUnit(1, 7, 5, 3, 10, WeaponSpec(), false));
            enemy->hp = 1000;
            b.random.values.assign(50, 0); // Classic takes every further shot
            b.screen.Enter();
            b.frame();
            std::vector<int64_t> times;
            b.runUntil([&] {
                if (b.screen.shotsThisTurn > static_cast<int32_t>(times.size())) {
                    times.push_back(b.clock.Elapsed());
                }
                return times.size() == 3 || b.screen.activeUnit != ai || ai->turnDone;
            });
            ASSERT_EQ(times.size(), 3u) << OpponentRuleName(rule) << " at " << pause << " ms";
            for (size_t i = 1; i < times.size(); ++i) {
                EXPECT_GE(times[i] - times[i - 1], pause) << OpponentRuleName(rule);
                EXPECT_LT(times[i] - times[i - 1], pause + 200) << OpponentRuleName(rule);
            }
        }
    }
}

TEST(VeteranOpponent, MeanShotDamageIsTheAverageOfTheShot) {
    for (auto [damage, accuracy, defense] :
         {std::array<int32_t, 3>{20, 60, 40}, {8, 95, 50}, {45, 65, 80}, {1, 50, 50}, {10, 0, 150}}) {
        ScriptedRandom random;
        double sum = 0.0;
        int32_t d = damage + static_cast<int32_t>(damage * ((accuracy - defense) / 100.0));
        int32_t draws = std::max(d, 1);
        for (int32_t r = 0; r < draws; ++r) {
            random.values.push_back(r);
            sum += ShotDamage(damage, accuracy, defense, random);
        }
        EXPECT_DOUBLE_EQ(MeanShotDamage(damage, accuracy, defense), d > 0 ? sum / draws : 0.0)
            << damage << " damage, accuracy " << accuracy << " against defense " << defense;
    }
}

TEST(SightCache, AnswersAsLineOfSightDoesAndForgetsWhenTheGroundChanges) {
    LevelMap map;
    map.Resize(40, 24);
    uint32_t seed = 5;
    for (MapTile& tile : map.tiles()) {
        seed = seed * 1103515245u + 12345u;
        tile.elevation = static_cast<int32_t>((seed >> 16) % 4);
    }
    SightCache cache;
    auto compare = [&] {
        cache.Prepare(map);
        int mismatches = 0;
        for (int32_t sy = 0; sy < 24; sy += 3) {
            for (int32_t sx = 0; sx < 40; sx += 3) {
                for (int32_t ty = 0; ty < 24; ++ty) {
                    for (int32_t tx = 0; tx < 40; ++tx) {
                        // Asked twice: once worked out, once remembered.
                        for (int twice = 0; twice < 2; ++twice) {
                            mismatches += cache.Sees(sx, sy, tx, ty) != HasLineOfSight(map, sx, sy, tx, ty);
                        }
                    }
                }
            }
        }
        return mismatches;
    };
    EXPECT_EQ(compare(), 0);
    for (int32_t y = 0; y < 24; ++y) {
        map.TileAt(20, y)->elevation = 9;
    }
    EXPECT_EQ(compare(), 0) << "a wall raised in the editor must block at once";
    map.Resize(30, 24);
    EXPECT_EQ(compare(), 0) << "a resized map";
}
