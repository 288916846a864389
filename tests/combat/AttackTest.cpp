#include "BattleFixture.h"

#include <gtest/gtest.h>

TEST(Attack, DamageFollowsAccuracyAgainstDefenseForAFixedSequence) {
    ScriptedRandom random;
    random.values = {0, 23, 24, 32767};
    // Accuracy 60 against defense 40 with damage 20: D = 24, so 6 to 29.
    EXPECT_EQ(ShotDamage(20, 60, 40, random), 6);
    EXPECT_EQ(ShotDamage(20, 60, 40, random), 29);
    EXPECT_EQ(ShotDamage(20, 60, 40, random), 6);
    EXPECT_EQ(ShotDamage(20, 60, 40, random), 13);
    // Equal accuracy and defense: damage / 4 plus 0 to damage - 1.
    random.values = {19};
    EXPECT_EQ(ShotDamage(20, 50, 50, random), 24);
    // Hopelessly inaccurate or harmless weapons do nothing and draw no random value.
    random.values = {7};
    EXPECT_EQ(ShotDamage(20, 0, 120, random), 0);
    EXPECT_EQ(ShotDamage(0, 50, 50, random), 0);
    EXPECT_EQ(random.values.size(), 1u);
}

TEST(Attack, ShotsTimeAndUndoLimits) {
    Battle b;
    WeaponSpec gun;
    gun.timeCost = 10;
    gun.shots = 2;
    gun.name = "Tri Laser Blue";
    Unit* shooter = b.add(MakeUnit(1, 2, 2, 3, 10, gun));
    Unit* target = b.add(MakeUnit(2, 4, 2));
    target->hp = 1000;
    b.screen.activeUnit = shooter;
    b.screen.undo = UndoRecord{1, 1, 20, 2};
    EXPECT_TRUE(b.screen.resolveAttack(*target));
    EXPECT_EQ(b.screen.undo.time, 0) << "a shot makes earlier moves final";
    shooter->timeUsed = 90;
    EXPECT_TRUE(b.screen.resolveAttack(*target)) << "the shots-th shot at exactly 100 time is allowed";
    EXPECT_EQ(shooter->timeUsed, 100);
    b.screen.shotsThisTurn = 1;
    EXPECT_FALSE(b.screen.resolveAttack(*target)) << "no time left";
    shooter->timeUsed = 0;
    b.screen.shotsThisTurn = 2;
    b.screen.markersDirty = false;
    EXPECT_FALSE(b.screen.resolveAttack(*target)) << "no shots left";
    EXPECT_TRUE(b.screen.markersDirty);
    b.screen.shotsThisTurn = 0;
    shooter->timeUsed = 90;
    shooter->weapon->timeCost = 11;
    EXPECT_FALSE(b.screen.resolveAttack(*target));
    Unit* friendUnit = b.add(MakeUnit(1, 3, 3));
    shooter->timeUsed = 0;
    EXPECT_FALSE(b.screen.resolveAttack(*friendUnit));
    ASSERT_EQ(b.hooks.effects.size(), 2u);
    EXPECT_EQ(b.hooks.effects[0], ProjectileKind::Blue);
}

TEST(Attack, EffectKindsFollowTheNameInOrder) {
    EXPECT_EQ(EffectKindOf("Double Cannon Red"), ProjectileKind::Double);
    EXPECT_EQ(EffectKindOf("Tri Laser Red"), ProjectileKind::Red);
    EXPECT_EQ(EffectKindOf("Tri Laser Green"), ProjectileKind::Green);
    EXPECT_EQ(EffectKindOf("Plasma Splash"), ProjectileKind::Plasma);
    EXPECT_EQ(EffectKindOf("Blaster"), ProjectileKind::None);
}

TEST(Attack, DestroyedTargetLeavesTheBattleAndEveryReference) {
    Battle b;
    WeaponSpec gun;
    gun.damage = 400;
    Unit* shooter = b.add(MakeUnit(1, 2, 2, 3, 10, gun));
    Unit* target = b.add(MakeUnit(2, 3, 2));
    b.screen.mission.targets.push_back(target);
    b.screen.activeUnit = shooter;
    b.screen.aiTarget = target;
    b.screen.hoveredUnit = target;
    EXPECT_TRUE(b.screen.resolveAttack(*target));
    EXPECT_EQ(b.screen.turnQueue.size(), 1u);
    EXPECT_EQ(b.screen.aiTarget, nullptr);
    EXPECT_EQ(b.screen.hoveredUnit, nullptr);
    EXPECT_TRUE(b.screen.mission.targets.empty());
    EXPECT_EQ(b.hooks.sounds.back(), DestroyedSound);
    EXPECT_TRUE(b.screen.EliminationCheck());
    EXPECT_TRUE(b.screen.player1Won);
}

TEST(Attack, LineOfSightOverElevations) {
    LevelMap map;
    map.Resize(10, 3);
    map.TileAt(3, 1)->elevation = 3;
    EXPECT_FALSE(HasLineOfSight(map, 0, 1, 6, 1)) << "a ridge between two low tiles hides the target";
    map.TileAt(6, 1)->elevation = 5;
    EXPECT_TRUE(HasLineOfSight(map, 0, 1, 6, 1)) << "the line to a high target passes over the ridge";
    map.TileAt(6, 1)->elevation = 1;
    map.TileAt(0, 1)->elevation = 5;
    EXPECT_TRUE(HasLineOfSight(map, 0, 1, 6, 1)) << "seen from a high tile";
    map.TileAt(0, 1)->elevation = 1;
    map.TileAt(1, 1)->elevation = 9;
    EXPECT_TRUE(HasLineOfSight(map, 0, 1, 1, 1)) << "neighbours always see each other";
    EXPECT_FALSE(HasLineOfSight(map, 0, 1, 4, 2)) << "the walk crosses the tall tile first";
    EXPECT_TRUE(HasLineOfSight(map, 0, 1, 0, 1));
}

TEST(Attack, MarkedRangeSkipsFriendsAndTheInnerRing) {
    Battle b;
    WeaponSpec gun;
    gun.maxRange = 2;
    gun.minRange = 1;
    Unit* shooter = b.add(MakeUnit(1, 5, 5, 3, 10, gun));
    b.add(MakeUnit(1, 7, 5));
    b.add(MakeUnit(2, 5, 7));
    b.map.TileAt(4, 4)->passable = 0.0f;
    b.screen.activeUnit = shooter;
    b.screen.markAttackable();
    EXPECT_EQ(b.map.TileAt(6, 5)->marker, TileMarker::None) << "inside the minimum range";
    EXPECT_EQ(b.map.TileAt(4, 4)->marker, TileMarker::Target) << "impassable tiles keep their mark";
    EXPECT_EQ(b.map.TileAt(7, 5)->marker, TileMarker::None) << "a friend";
    EXPECT_EQ(b.map.TileAt(5, 7)->marker, TileMarker::Target) << "an enemy";
    EXPECT_EQ(b.map.TileAt(3, 3)->marker, TileMarker::Target);
    EXPECT_EQ(b.map.TileAt(2, 5)->marker, TileMarker::None) << "out of range";
}

// Marks computed with the shortcut over open ground agree with walking every sight line, on hills and
// valleys of every height, from the middle and from a corner.
TEST(Attack, MarkedRangeMatchesEverySightLineOverRoughGround) {
    for (auto [sx, sy] : {std::pair{9, 7}, {0, 0}, {19, 14}}) {
        Battle b(20, 15);
        uint32_t seed = 12345;
        for (MapTile& tile : b.map.tiles()) {
            seed = seed * 1103515245u + 12345u;
            const int32_t roll = static_cast<int32_t>((seed >> 16) % 10);
            tile.elevation = roll < 6 ? 1 : roll < 8 ? roll - 4 : -roll;
        }
        WeaponSpec gun;
        gun.maxRange = 30;
        Unit* shooter = b.add(MakeUnit(1, sx, sy, 3, 10, gun));
        b.screen.activeUnit = shooter;
        b.screen.markAttackable();
        for (int32_t x = 0; x < 20; ++x) {
            for (int32_t y = 0; y < 15; ++y) {
                const bool seen = HasLineOfSight(b.map, sx, sy, x, y);
                const bool friendly = x == sx && y == sy;
                EXPECT_EQ(b.map.TileAt(x, y)->marker == TileMarker::Target, seen && !friendly)
                    << "from (" << sx << ", " << sy << ") to (" << x << ", " << y << ")";
            }
        }
    }
}

// The widest map, a unit in its far corner and reaches of a million tiles: the range loops visit the grid
// only, and on open ground the sight lines are not walked one by one.
TEST(Attack, HugeReachesFromTheWidestMapsCornerStayOnTheGrid) {
    Battle b(LevelMap::MaxSide, LevelMap::MaxSide);
    WeaponSpec gun;
    gun.maxRange = 1000000;
    gun.minRange = 1000000;
    const int32_t corner = static_cast<int32_t>(LevelMap::MaxSide) - 1;
    Unit* shooter = b.add(MakeUnit(1, corner, corner, 1000000, 10, gun));
    b.add(MakeUnit(2, 0, 0));
    b.map.TileAt(5, 5)->passable = 0.0f;
    b.screen.activeUnit = shooter;
    b.screen.markAttackable();
    EXPECT_EQ(b.map.TileAt(0, 0)->marker, TileMarker::None) << "inside the huge minimum range";
    EXPECT_EQ(b.map.TileAt(5, 5)->marker, TileMarker::Target) << "impassable tiles keep their mark";

    shooter->weapon->minRange = 0;
    b.screen.markAttackable();
    EXPECT_EQ(b.map.TileAt(0, 0)->marker, TileMarker::Target) << "the enemy in the opposite corner";

    // A route's reach markers are cleared over the whole grid when the move is committed.
    for (MapTile& tile : b.map.tiles()) {
        tile.marker = TileMarker::Reachable;
    }
    b.screen.CommitMove(corner, corner);
    EXPECT_EQ(b.map.TileAt(0, 0)->marker, TileMarker::WasReachable);
    EXPECT_EQ(b.map.TileAt(corner, 0)->marker, TileMarker::WasReachable);

    // The flood from the corner ends where the time budget does.
    Mover mover = MoverOf(*shooter);
    b.pathfinder.markReachable(b.map, b.screen, mover);
    EXPECT_EQ(b.map.TileAt(corner - 9, corner)->marker, TileMarker::Reachable);
    EXPECT_EQ(b.map.TileAt(corner - 11, corner)->marker, TileMarker::None);
}
