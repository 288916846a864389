#include "BattleFixture.h"
#include "combat/UnitMovement.h"

#include <gtest/gtest.h>

namespace {

// Ticks until the unit's tile changes.
int TicksToArrive(Unit& unit, const LevelMap& map, CombatHooks& hooks) {
    int32_t x = unit.tileX;
    int32_t y = unit.tileY;
    int ticks = 0;
    while (unit.tileX == x && unit.tileY == y && ticks < 200) {
        TickWalk(unit, map, hooks);
        ++ticks;
    }
    return ticks;
}

} // namespace

TEST(Movement, StraightStepSlidesElevenTicksAfterItsFirst) {
    LevelMap map;
    map.Resize(5, 5);
    map.TileAt(3, 2)->elevation = 3;
    RecordingHooks hooks;
    auto unit = MakeUnit(1, 2, 2);
    FaceDirection(*unit, Vector3{1, 0, 0});
    unit->movementQueue.push_back(PathStep{3, 2});
    EXPECT_TRUE(IsWalking(*unit));
    EXPECT_EQ(TicksToArrive(*unit, map, hooks), 12);
    EXPECT_EQ(unit->turnTicks, 0);
    EXPECT_FALSE(IsWalking(*unit));
    EXPECT_NEAR(unit->core->transform.position.x, 12.0f, 1e-4f);
    EXPECT_NEAR(unit->core->transform.position.y, 1.5f, 1e-4f) << "raised 0.5 per level";
    EXPECT_EQ(hooks.sounds.size(), 1u);
    EXPECT_EQ(hooks.stopped.size(), 1u);
}

TEST(Movement, HalfTurnTakesThirtyTicks) {
    LevelMap map;
    map.Resize(5, 5);
    RecordingHooks hooks;
    auto unit = MakeUnit(1, 2, 2);
    FaceDirection(*unit, Vector3{1, 0, 0});
    unit->movementQueue.push_back(PathStep{1, 2});
    TickWalk(*unit, map, hooks);
    EXPECT_TRUE(unit->turning);
    EXPECT_EQ(unit->turnTicks, 30);
    // The first tick starts the turn, 30 turn, one ends it, then 11 slide.
    EXPECT_EQ(1 + TicksToArrive(*unit, map, hooks), 1 + 30 + 1 + 11);
    Vector3 facing = FacingOf(*unit);
    EXPECT_NEAR(facing.x, -1.0f, 1e-3f);
    // A quarter turn to the next tile.
    unit->movementQueue.push_back(PathStep{1, 3});
    TickWalk(*unit, map, hooks);
    EXPECT_EQ(unit->turnTicks, 15);
    TicksToArrive(*unit, map, hooks);
    facing = FacingOf(*unit);
    EXPECT_NEAR(facing.z, 1.0f, 1e-3f);
}
