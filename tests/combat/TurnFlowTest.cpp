#include "BattleFixture.h"
#include "combat/UnitMovement.h"
#include "platform/Dialog.h"

#include <gtest/gtest.h>

namespace {

// Lets the active unit walk its route and the camera come to rest.
void Settle(Battle& b) {
    b.frame();
    b.runUntil([&] {
        return (b.screen.activeUnit == nullptr || !IsWalking(*b.screen.activeUnit)) && !b.camera.busy();
    });
}

// Previews a route to (x, y) by hovering, then clicks its end.
void MoveTo(Battle& b, int32_t x, int32_t y) {
    b.frame();
    b.screen.HoverTile(x, y);
    ASSERT_EQ(b.map.TileAt(x, y)->marker, TileMarker::PathEnd);
    b.clickTile(x, y);
    Settle(b);
}

} // namespace

TEST(TurnFlow, RequeueOnEqualTimePutsTheUnitBehind) {
    Battle b;
    Unit* a = b.add(MakeUnit(1, 0, 0));
    Unit* c = b.add(MakeUnit(2, 1, 0));
    Unit* d = b.add(MakeUnit(2, 2, 0));
    a->timeUsed = 40;
    c->timeUsed = 40;
    d->timeUsed = 55;
    b.screen.Requeue();
    ASSERT_EQ(b.screen.turnQueue, (std::vector<Unit*>{c, a, d}));
    EXPECT_EQ(c->timeUsed, 0);
    EXPECT_EQ(a->timeUsed, 0);
    EXPECT_EQ(d->timeUsed, 15);
    // A player-2 unit goes before a player-3 unit of equal time, never before a player-1 one.
    Unit* e = b.add(MakeUnit(3, 3, 0));
    e->timeUsed = 0;
    b.screen.turnQueue = {c, a, e, d};
    b.screen.Requeue();
    EXPECT_EQ(b.screen.turnQueue, (std::vector<Unit*>{a, c, e, d}));
}

TEST(TurnFlow, EmptyQueueIsReportedNotCrashed) {
    Battle b;
    DialogRecorder recorder;
    b.screen.Requeue();
    EXPECT_TRUE(recorder.sawText("THIS IS EMPTY WHAT THE HELL\n"));
    b.screen.Enter();
    b.frame();
    EXPECT_TRUE(b.screen.player1Won) << "with no units at all both flags are set";
    EXPECT_TRUE(b.screen.player2Won);
}

TEST(TurnFlow, FirstActivationAddsOneToTenAndMovesAreChargedAndUndone) {
    Battle b;
    b.random.values = {3};
    Unit* mover = b.add(MakeUnit(1, 2, 2, 4, 10));
    b.add(MakeUnit(2, 10, 10));
    b.screen.Enter();
    b.frame();
    ASSERT_EQ(b.screen.activeUnit, mover);
    EXPECT_EQ(mover->timeUsed, 4);
    Settle(b);
    MoveTo(b, 4, 2);
    EXPECT_EQ(mover->tileX, 4);
    EXPECT_EQ(mover->timeUsed, 24);
    EXPECT_EQ(mover->distanceUsed, 2);
    MoveTo(b, 5, 2);
    EXPECT_EQ(mover->timeUsed, 34);
    EXPECT_EQ(b.screen.undo.time, 30);
    b.screen.KeyPressed(CombatKey::Backspace);
    Settle(b);
    EXPECT_EQ(mover->tileX, 2) << "one undo takes both moves back";
    EXPECT_EQ(mover->timeUsed, 4);
    EXPECT_EQ(mover->distanceUsed, 0);
    b.screen.KeyPressed(CombatKey::Backspace);
    Settle(b);
    EXPECT_EQ(mover->tileX, 2);
    EXPECT_EQ(mover->timeUsed, 4);
}

TEST(TurnFlow, UndoInTheNextBattleRefundsNothingOfTheLastOne) {
    Battle b;
    b.add(MakeUnit(1, 2, 2, 4, 10));
    b.add(MakeUnit(2, 10, 10));
    b.screen.Enter();
    b.frame();
    Settle(b);
    MoveTo(b, 4, 2);
    ASSERT_NE(b.screen.undo.time, 0);
    b.screen.Exit(nullptr);
    EXPECT_EQ(b.screen.undo.time, 0) << "leaving the battle forgets its moves";

    // Even a record left behind is forgotten when the next battle is set up.
    b.screen.undo = UndoRecord{4, 2, 20, 2};
    Unit* next = b.add(MakeUnit(1, 6, 6, 4, 10));
    b.add(MakeUnit(2, 10, 10));
    b.screen.Enter();
    b.frame();
    Settle(b);
    ASSERT_EQ(b.screen.activeUnit, next);
    const int32_t time = next->timeUsed;
    b.screen.KeyPressed(CombatKey::Backspace);
    Settle(b);
    EXPECT_EQ(next->tileX, 6);
    EXPECT_EQ(next->tileY, 6);
    EXPECT_EQ(next->timeUsed, time);
}

TEST(TurnFlow, ClicksOnTheRouteWhileWalkingChargeNothingAndQueueNothing) {
    Battle b;
    Unit* mover = b.add(MakeUnit(1, 2, 2, 5, 10));
    b.add(MakeUnit(2, 10, 10));
    b.screen.Enter();
    b.frame();
    Settle(b);
    b.frame();
    b.screen.HoverTile(6, 2);
    ASSERT_EQ(b.map.TileAt(6, 2)->marker, TileMarker::PathEnd);
    b.clickTile(6, 2);
    ASSERT_TRUE(IsWalking(*mover));
    const int32_t time = mover->timeUsed;
    const int32_t tiles = mover->distanceUsed;
    const UndoRecord undo = b.screen.undo;
    const std::deque<PathStep> route = mover->movementQueue;
    // The destination, a tile of the route and the tile after it, clicked while the unit walks.
    for (int32_t x : {6, 4, 5, 6}) {
        const TileMarker marker = b.map.TileAt(x, 2)->marker;
        b.clickTile(x, 2);
        EXPECT_EQ(mover->timeUsed, time) << "click on " << x << " marked " << int(marker);
        EXPECT_EQ(mover->distanceUsed, tiles);
        EXPECT_EQ(b.screen.undo.time, undo.time);
        for (const PathStep& step : mover->movementQueue) {
            EXPECT_EQ(step.y, 2) << "every queued step lies on the route";
        }
        EXPECT_LE(mover->movementQueue.size(), route.size());
    }
    Settle(b);
    EXPECT_EQ(mover->tileX, 6);
    EXPECT_EQ(mover->timeUsed, time);
}

TEST(TurnFlow, UndoAfterAShotDoesNothing) {
    Battle b;
    Unit* mover = b.add(MakeUnit(1, 2, 2, 4, 10));
    Unit* enemy = b.add(MakeUnit(2, 7, 2));
    enemy->hp = 1000;
    b.screen.Enter();
    b.frame();
    Settle(b);
    MoveTo(b, 4, 2);
    b.screen.KeyPressed(CombatKey::LeftShift);
    b.frame();
    ASSERT_EQ(b.map.TileAt(7, 2)->marker, TileMarker::Target);
    b.clickUnit(enemy);
    EXPECT_EQ(b.screen.shotsThisTurn, 1);
    b.screen.KeyPressed(CombatKey::Backspace);
    Settle(b);
    EXPECT_EQ(mover->tileX, 4);
}

TEST(TurnFlow, CommitOntoAnOccupiedTileStopsShortButChargesTheRoute) {
    Battle b;
    Unit* mover = b.add(MakeUnit(1, 2, 2, 4, 10));
    b.add(MakeUnit(2, 10, 10));
    b.screen.Enter();
    b.frame();
    Settle(b);
    int32_t before = mover->timeUsed;
    b.frame();
    b.screen.HoverTile(5, 2);
    // A friend steps onto the end tile after the preview.
    b.add(MakeUnit(1, 5, 2));
    b.clickTile(5, 2);
    Settle(b);
    EXPECT_EQ(mover->tileX, 4);
    EXPECT_EQ(mover->timeUsed, before + 30);
    EXPECT_EQ(mover->distanceUsed, 3);
}

TEST(TurnFlow, EndingTheActivationHandsOverAndLeavingAppliesTheStakes) {
    Battle b;
    b.random.values = {0, 0};
    Unit* first = b.add(MakeUnit(1, 2, 2));
    Unit* second = b.add(MakeUnit(1, 3, 2));
    b.add(MakeUnit(2, 10, 10));
    b.screen.mission.fac1 = 5;
    b.screen.mission.fac2 = -5;
    b.screen.mission.fac3 = 200;
    b.screen.Enter();
    b.frame();
    Settle(b);
    ASSERT_EQ(b.screen.activeUnit, first);
    b.screen.KeyPressed(CombatKey::Space);
    b.runUntil([&] { return b.screen.activeUnit == second; });
    EXPECT_EQ(b.screen.activeUnit, second);
    Campaign campaign;
    b.screen.Exit(&campaign);
    EXPECT_EQ(campaign.standings[0], 52) << "not won: half the stake, toward zero";
    EXPECT_EQ(campaign.standings[1], 48);
    EXPECT_EQ(campaign.standings[2], 100);
    EXPECT_TRUE(b.screen.turnQueue.empty());
    EXPECT_FALSE(b.screen.active);
}
